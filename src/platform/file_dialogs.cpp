#include "platform/file_dialogs.h"

#include <QFileDialog>
#include <QIdentityProxyModel>
#include <QMimeDatabase>

namespace vexo {

namespace {
FileDialogs *g_dialogs = nullptr;

// The "Tür" column of the choosers: Qt names a kind from the system's type database in the program's
// own locale, which is C for the number texts, so a file of no known kind read "unknown".
class FileKinds : public QIdentityProxyModel
{
public:
    QVariant data(const QModelIndex &index, int role) const override
    {
        QVariant value = QIdentityProxyModel::data(index, role);
        if (index.column() == kKindColumn && role == Qt::DisplayRole && value.toString() == m_unknown)
            return unknownFileKind();
        return value;
    }

private:
    static constexpr int kKindColumn = 2; // the file model's name, size, kind and date
    const QString m_unknown = QMimeDatabase().mimeTypeForName(QStringLiteral("application/octet-stream")).comment();
};

// A chooser with the kinds in Turkish; the dialog owns the kinds' model.
struct Chooser
{
    Chooser(QWidget *owner, const QString &caption, const QString &path, const QString &filter = {})
        : dialog(owner, caption, path, filter)
    {
        dialog.setProxyModel(new FileKinds);
    }
    // The first file chosen; empty when cancelled.
    QString run() { return dialog.exec() == QDialog::Accepted ? dialog.selectedFiles().value(0) : QString(); }

    QFileDialog dialog;
};
} // namespace

QString unknownFileKind()
{
    // Short enough for the column's width, where "bilinmeyen" showed cut short.
    return QStringLiteral("Dosya");
}

QString FileDialogs::openFile(QWidget *owner, const QString &caption, const QString &folder,
                              const QString &filter)
{
    Chooser c(owner, caption, folder, filter);
    c.dialog.setFileMode(QFileDialog::ExistingFile);
    return c.run();
}

QString FileDialogs::saveFile(QWidget *owner, const QString &caption, const QString &path,
                              const QString &filter)
{
    Chooser c(owner, caption, path, filter);
    c.dialog.setAcceptMode(QFileDialog::AcceptSave);
    return c.run();
}

QString FileDialogs::folder(QWidget *owner, const QString &caption, const QString &start)
{
    Chooser c(owner, caption, start);
    c.dialog.setFileMode(QFileDialog::Directory);
    c.dialog.setOption(QFileDialog::ShowDirsOnly);
    return c.run();
}

QString FileDialogs::saveFileWithFilter(QWidget *owner, const QString &caption, const QString &path,
                                        const QStringList &filters, int &chosen)
{
    Chooser c(owner, caption, path, filters.join(QStringLiteral(";;")));
    c.dialog.setAcceptMode(QFileDialog::AcceptSave);
    c.dialog.selectNameFilter(filters.value(chosen - 1));
    // The callers ask about an existing file in their own words (and refuse some targets first),
    // so the chooser itself does not ask as well.
    c.dialog.setOption(QFileDialog::DontConfirmOverwrite);
    const QString result = c.run();
    const qsizetype at = filters.indexOf(c.dialog.selectedNameFilter());
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
