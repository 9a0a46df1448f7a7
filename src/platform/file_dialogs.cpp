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

QString FileDialogs::saveFileWithFilter(QWidget *owner, const QString &caption, const QString &path,
                                        const QStringList &filters, int &chosen)
{
    QString selected = filters.value(chosen - 1);
    // The callers ask about an existing file in their own words (and refuse some targets first),
    // so the chooser itself does not ask as well.
    const QString result = QFileDialog::getSaveFileName(owner, caption, path, filters.join(QStringLiteral(";;")),
                                                        &selected, QFileDialog::DontConfirmOverwrite);
    const qsizetype at = filters.indexOf(selected);
    chosen = at < 0 ? 1 : int(at) + 1;
    return result;
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
