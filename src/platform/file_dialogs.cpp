#include "platform/file_dialogs.h"

#include <QFileDialog>

namespace vexo {

namespace {
FileDialogs *g_dialogs = nullptr;
}

QString FileDialogs::openFile(QWidget *owner, const QString &caption, const QString &folder,
                              const QString &filter)
{
    return QFileDialog::getOpenFileName(owner, caption, folder, filter);
}

QString FileDialogs::saveFile(QWidget *owner, const QString &caption, const QString &path,
                              const QString &filter)
{
    return QFileDialog::getSaveFileName(owner, caption, path, filter);
}

QString FileDialogs::folder(QWidget *owner, const QString &caption, const QString &start)
{
    return QFileDialog::getExistingDirectory(owner, caption, start);
}

FileDialogs &fileDialogs()
{
    static FileDialogs qtDialogs;
    return g_dialogs ? *g_dialogs : qtDialogs;
}

void setFileDialogs(FileDialogs *dialogs)
{
    g_dialogs = dialogs;
}

} // namespace vexo
