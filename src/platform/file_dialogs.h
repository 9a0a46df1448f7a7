#pragma once

#include <QString>
#include <QStringList>
#include <QWidget>

namespace vexo {

// File and folder choosers pass through one seam like the message boxes, so that tests answer them.
// An empty result means the user cancelled.
class FileDialogs
{
public:
    virtual ~FileDialogs() = default;
    virtual QString openFile(QWidget *owner, const QString &caption, const QString &folder,
                             const QString &filter);
    virtual QString saveFile(QWidget *owner, const QString &caption, const QString &path,
                             const QString &filter);
    virtual QString folder(QWidget *owner, const QString &caption, const QString &start);
    // A save chooser offering several filters; `chosen` (from 1) holds the filter shown first when
    // called and the filter the user left selected on return. It does not ask about an existing
    // file: the caller does.
    virtual QString saveFileWithFilter(QWidget *owner, const QString &caption, const QString &path,
                                       const QStringList &filters, int &chosen);
};

// The word the choosers show as the kind of a file of no known type.
QString unknownFileKind();

FileDialogs &fileDialogs();
// Installs a chooser (not owned); nullptr puts the Qt dialogs back.
void setFileDialogs(FileDialogs *dialogs);

} // namespace vexo
