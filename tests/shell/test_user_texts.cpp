// What a user reads in the menus and the help: Turkish texts only, and the folders the program really
// uses on this system, written as this system writes them.
#include "platform/special_folders.h"
#include "problem/app_globals.h"
#include "refdb/reference_backup.h"
#include "reports/pdf_summary.h"
#include "reports/text_reports.h"
#include "shell/help_topics.h"
#include "shell/startup.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSet>
#include <QTextDocumentFragment>

#include <gtest/gtest.h>

using namespace vexo;

namespace {

// English words a description or a help page could carry over from another program; none of them is
// a Turkish word.
const QSet<QString> &englishWords()
{
    static const QSet<QString> words = [] {
        QSet<QString> set;
        for (const char *w : {"the", "and", "of", "to", "for", "with", "from", "this", "that", "is", "are",
                              "your", "you", "edit", "information", "arrange", "child", "children",
                              "window", "windows", "file", "files", "open", "save", "close", "help", "cut",
                              "copy", "paste", "delete", "print", "exit", "new", "undo", "redo", "select",
                              "all", "find", "replace", "about", "contents", "tile", "cascade", "insert",
                              "view", "tools", "settings", "options", "show", "hide", "current",
                              "selected", "clear", "page", "next", "previous", "cancel", "yes", "error",
                              "warning", "folder", "please", "value", "values", "list", "add", "remove",
                              "update", "download", "connect"})
            set.insert(QString::fromLatin1(w));
        return set;
    }();
    return words;
}

QStringList englishWordsIn(const QString &text)
{
    QStringList found;
    static const QRegularExpression word(QStringLiteral("\\w+"), QRegularExpression::UseUnicodePropertiesOption);
    for (auto m = word.globalMatch(text); m.hasNext();) {
        const QString w = m.next().captured();
        if (englishWords().contains(w.toLower()))
            found << w;
    }
    return found;
}

// A path written the Windows way: a drive ("C:\", "c:/"), a backslash between names, or the
// Windows names of the user's folders.
bool looksLikeWindowsPath(const QString &text)
{
    static const QRegularExpression windowsPath(
        QStringLiteral("\\b[A-Za-z]:[\\\\/]|\\w\\\\\\w|\\\\\\w|Belgeler\\\\|My Documents|Program Files"),
        QRegularExpression::UseUnicodePropertiesOption);
    return windowsPath.match(text).hasMatch();
}

QStringList helpFiles()
{
    return QDir(QStringLiteral(":/help")).entryList({QStringLiteral("*.html")}, QDir::Files);
}

QString helpSource(const QString &file)
{
    QFile f(QStringLiteral(":/help/") + file);
    return f.open(QIODevice::ReadOnly) ? QString::fromUtf8(f.readAll()) : QString();
}

// What the help window shows of a page: its text without the markup.
QString helpText(const QString &file)
{
    return QTextDocumentFragment::fromHtml(helpSource(file)).toPlainText();
}

} // namespace

TEST(UserTexts, TheScanFindsEnglishWordsAndWindowsPaths)
{
    // The scanners themselves, on texts the program once showed and on sound ones.
    EXPECT_EQ(englishWordsIn(QStringLiteral("Edit information")), QStringList({"Edit", "information"}));
    EXPECT_EQ(englishWordsIn(QStringLiteral("Arrange child windows")).size(), 3);
    EXPECT_TRUE(englishWordsIn(QStringLiteral("Besin maddesi verileri yazımı")).isEmpty());
    EXPECT_TRUE(englishWordsIn(QStringLiteral("Rapor Editörü; İçindekiler listesi")).isEmpty());
    EXPECT_TRUE(looksLikeWindowsPath(QStringLiteral("Belgeler\\VEXO_Rir26 Veriler\\Data")));
    EXPECT_TRUE(looksLikeWindowsPath(QStringLiteral("VEXO_KData\\RMD_Yed")));
    EXPECT_TRUE(looksLikeWindowsPath(QStringLiteral("C:\\PDF_Out")));
    EXPECT_FALSE(looksLikeWindowsPath(QStringLiteral("~/Documents/VEXO_Rir26 Veriler/VEXO_KData/RMD_Yed")));
    EXPECT_FALSE(looksLikeWindowsPath(QStringLiteral("Saat: 12:30, oran 1:2")));
}

// Every description shown in the status bar, every tool button's tip and every menu text of every
// menu table is Turkish and names no Windows path.
TEST(UserTexts, MenuDescriptionsAndToolTipsAreTurkish)
{
    int texts = 0;
    for (const MenuTable &table : programMenuTables()) {
        QStringList shown;
        for (const MenuRow &row : table.rows)
            shown << row.text << row.status;
        for (const ToolRow &tool : table.tools)
            shown << tool.tip;
        for (const QString &text : std::as_const(shown)) {
            if (text.trimmed().isEmpty())
                continue;
            ++texts;
            EXPECT_EQ(englishWordsIn(text), QStringList())
                << table.name.toStdString() << ": \"" << text.toStdString() << '"';
            EXPECT_FALSE(looksLikeWindowsPath(text)) << table.name.toStdString() << ": \"" << text.toStdString() << '"';
        }
    }
    EXPECT_GT(texts, 300);
}

TEST(UserTexts, HelpPagesAreTurkishAndGiveNoWindowsPath)
{
    const QStringList files = helpFiles();
    ASSERT_GT(files.size(), 10);
    for (const QString &file : files) {
        const QString text = helpText(file);
        ASSERT_FALSE(text.trimmed().isEmpty()) << file.toStdString();
        EXPECT_EQ(englishWordsIn(text), QStringList()) << file.toStdString();
        for (const QString &line : text.split(u'\n')) {
            EXPECT_FALSE(looksLikeWindowsPath(line)) << file.toStdString() << ": " << line.toStdString();
        }
    }
}

// Every folder and file the help names in the data folder is one the program writes or reads there,
// with the data folder in the documents folder as start-up puts it.
TEST(UserTexts, HelpPathsAreThePathsTheProgramUses)
{
    const QString documents = documentsFolder();
    ASSERT_FALSE(documents.isEmpty());
    ASSERT_EQ(documents, QDir::homePath() + QStringLiteral("/Documents"));
    const QString root = QDir(documents).filePath(kDataRootName);
    const QString savedRoot = appGlobals().CVERIKOK;
    appGlobals().CVERIKOK = root;

    QSet<QString> used = {root, proposedBackupFolder(), activeMatrixReportPath(), priceListReportPath(),
                          QFileInfo(summaryPdfPath()).path()};
    for (const QString &sub : dataFolderNames())
        used.insert(QDir(root).filePath(sub));
    appGlobals().CVERIKOK = savedRoot;

    const QRegularExpression named(QStringLiteral("~/[^<\"]+"));
    QSet<QString> seen;
    for (const QString &file : helpFiles()) {
        for (auto m = named.globalMatch(helpSource(file)); m.hasNext();) {
            const QString written = m.next().captured().trimmed();
            const QString path = QDir::cleanPath(QDir::homePath() + written.mid(1));
            seen.insert(path);
            EXPECT_TRUE(used.contains(path) || path == QDir::homePath() + QStringLiteral("/Belgeler"))
                << file.toStdString() << " names " << written.toStdString()
                << ", which is no folder or file the program uses";
        }
    }
    // The pages name the data folder, its problem folder, the backups, the PDF and the data reports.
    EXPECT_TRUE(seen.contains(root));
    EXPECT_TRUE(seen.contains(QDir(root).filePath(QStringLiteral("Data"))));
    EXPECT_TRUE(seen.contains(QDir(root).filePath(QStringLiteral("PDF_Out"))));
    EXPECT_TRUE(seen.contains(QDir(root).filePath(QStringLiteral("VEXO_KData/RMD_Yed"))));
}
