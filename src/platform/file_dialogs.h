#pragma once

#include <QString>
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
};

FileDialogs &fileDialogs();
// Installs a chooser (not owned); nullptr puts the Qt dialogs back.
void setFileDialogs(FileDialogs *dialogs);

} // namespace vexo
