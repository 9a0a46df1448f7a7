#pragma once

#include <QCursor>
#include <QIcon>
#include <QPixmap>
#include <QSize>
#include <QString>
#include <QStringList>

namespace vexo {

// Registers the program's compiled-in pictures. The library calls it itself on first use; calling it
// again does nothing.
void initResources();

// The program's pictures (icons, bitmaps, cursors), found by name without regard to case: "HepSecUp",
// "HEPSECUP" and "hepsecup" are the same picture. A name the program does not carry gives a null
// QIcon / QPixmap, never an error, so a window built on a missing picture simply shows none.
//
// Every call builds a new object; nothing is shared between callers beyond Qt's implicit sharing.
class ResourceLibrary
{
public:
    // True when a picture of that name exists.
    static bool contains(const QString &name);
    // The size the picture is drawn for (32x32 for most icons); an invalid size when missing.
    static QSize nativeSize(const QString &name);
    // An icon that renders sharply at any size; null when missing.
    static QIcon icon(const QString &name);
    // The picture at its native size; null when missing.
    static QPixmap pixmap(const QString &name);
    // A mouse pointer with its hot spot; the standard arrow when the name is not a cursor picture.
    static QCursor cursor(const QString &name);
    // Every picture name the library holds, in upper case.
    static QStringList names();
};

} // namespace vexo
