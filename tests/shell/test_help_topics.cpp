// The help's pages against the topics the program names: every window keyword and every menu row's
// help context opens a page of its own, and every link of a page leads to a page.
#include "controls/grid_rules.h"
#include "shell/help_topics.h"
#include "shell/help_window.h"
#include "source_tree.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QRegularExpression>
#include <QSet>

#include <gtest/gtest.h>

using namespace vexo;

namespace {

QString pageText(const QString &file)
{
    QFile f(QStringLiteral(":/help/") + file);
    if (!f.open(QIODevice::ReadOnly))
        return {};
    return QString::fromUtf8(f.readAll());
}

// The text of every source file of the program, by its path under src/.
QMap<QString, QString> programSources()
{
    QMap<QString, QString> sources;
    const QDir src(test::sourceTree() + QStringLiteral("/src"));
    QDirIterator it(src.path(), {QStringLiteral("*.cpp"), QStringLiteral("*.h")}, QDir::Files,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        QFile f(it.next());
        if (f.open(QIODevice::ReadOnly))
            sources.insert(src.relativeFilePath(f.fileName()), QString::fromUtf8(f.readAll()));
    }
    return sources;
}

} // namespace

TEST(HelpTopics, EveryTopicTheProgramNamesOpensAPageOfItsOwn)
{
    const QStringList topics = programHelpTopics();
    // The windows' keywords and a sample of the menus' help contexts are among them.
    for (const char *named : {"Yem Maddesi Verileri", "Besin Maddesi Verileri", "Besin Maddesi Oranları",
                              "Yem Maddesi Grupları", "Aktif Matris Yazımı", "Referans Matris", "Rapor Editörü",
                              "HelpIndex", "HelpContents", "Help_ContextHelp", "Cut", "WindowTile", "File_Print"})
        EXPECT_TRUE(topics.contains(QString::fromUtf8(named))) << named;
    for (const QString &topic : topics) {
        const QString page = HelpWindow::pageOf(topic);
        EXPECT_FALSE(page.isEmpty()) << "no page for the help topic \"" << topic.toStdString() << '"';
        if (topic != kHelpIndexTopic && !topic.trimmed().isEmpty() && topic != QStringLiteral("Help_Index")) {
            EXPECT_NE(page, HelpWindow::pageOf(kHelpIndexTopic)) << topic.toStdString() << " opens only the index";
        }
    }
}

TEST(HelpTopics, TopicsAreMatchedWithoutCaseAndTheBlankTopicIsTheIndex)
{
    struct Case
    {
        const char *topic;
        const char *page;
    } const cases[] = {
        {"Rapor Editörü", "rapor_editoru.html"},
        {"  rapor editörü ", "rapor_editoru.html"},
        {"CUT", "yazim.html"},
        {" ", "helpindex.html"},
        {"", "helpindex.html"},
        {"Böyle bir konu yok", ""},
    };
    for (const Case &c : cases)
        EXPECT_EQ(helpPageFile(QString::fromUtf8(c.topic)), QString::fromUtf8(c.page)) << c.topic;
}

// Every page is in the table, each table entry has its page, each page has a title and its links
// lead to pages of the help; the contents list every page.
TEST(HelpTopics, EveryPageIsReachableAndEveryLinkLeadsToAPage)
{
    HelpWindow::pageOf(kHelpIndexTopic); // registers the pages
    QSet<QString> listed;
    for (const HelpPage &page : helpPages())
        listed.insert(page.file);
    QSet<QString> present;
    for (const QString &file : QDir(QStringLiteral(":/help")).entryList(QDir::Files))
        present.insert(file);
    EXPECT_EQ(listed, present);

    const QRegularExpression link(QStringLiteral("href=\"([^\"#]*)(#[^\"]*)?\""));
    const QRegularExpression title(QStringLiteral("<title>([^<]+)</title>"));
    const QString contents = pageText(helpPageFile(kHelpContentsTopic));
    for (const QString &file : present) {
        const QString text = pageText(file);
        EXPECT_TRUE(title.match(text).hasMatch()) << file.toStdString() << " has no title";
        for (auto m = link.globalMatch(text); m.hasNext();) {
            const QString target = m.next().captured(1);
            if (!target.isEmpty()) {
                EXPECT_TRUE(present.contains(target)) << file.toStdString() << " links to " << target.toStdString();
            }
        }
        if (file != helpPageFile(kHelpContentsTopic)) {
            EXPECT_TRUE(contents.contains(QStringLiteral("href=\"") + file)) << file.toStdString() << " is not in the contents";
        }
    }
}

// The topics are gathered from the code's own tables: every menu table defined in the program is
// among programMenuTables(), and no window asks for help by a literal that could escape the list.
TEST(HelpTopics, TheGatheredTopicsSeeEveryMenuTableAndEveryHelpCall)
{
    QSet<QString> gathered;
    for (const MenuTable &table : programMenuTables())
        gathered.insert(table.name);
    const QRegularExpression tableName(QStringLiteral("\\bt\\.name = u\"(\\w+)\"_s;"));
    const QRegularExpression literalHelp(QStringLiteral("showHelp\\(\\s*(u\"|QStringLiteral|QString|\")"));
    const QMap<QString, QString> sources = programSources();
    ASSERT_GT(sources.size(), 50);
    int tables = 0;
    for (auto it = sources.cbegin(); it != sources.cend(); ++it) {
        for (auto m = tableName.globalMatch(it.value()); m.hasNext();) {
            const QString name = m.next().captured(1);
            ++tables;
            EXPECT_TRUE(gathered.contains(name)) << "the menu table " << name.toStdString() << " of "
                                                 << it.key().toStdString() << " is not in programMenuTables()";
        }
        EXPECT_FALSE(literalHelp.match(it.value()).hasMatch())
            << it.key().toStdString() << " asks for help by a literal topic; give its window a helpKeyword()";
    }
    EXPECT_EQ(tables, int(gathered.size()));
}

// The page on typing values says what the program does: a ratio follows its divisor's unit the other
// way, and a refused entry is told in the words the status bar shows and keeps the old value.
TEST(HelpTopics, TheValuesPageSaysWhatTheProgramDoes)
{
    const QString page = pageText(QStringLiteral("sayilar.html")).simplified();
    ASSERT_FALSE(page.isEmpty());
    EXPECT_FALSE(page.contains(QStringLiteral("mesajsız")));
    EXPECT_FALSE(page.contains(QStringLiteral("oranları birlikte 1000'e bölünür")));
    EXPECT_TRUE(page.contains(QStringLiteral("1000 ile çarpılır")));
    for (const QString &said : {notANumberText(), noNegativeText(QStringLiteral("Fiyat")),
                                lowerAboveUpperText(QStringLiteral("45.000"), QStringLiteral("40.000"))})
        EXPECT_TRUE(page.contains(said)) << said.toStdString();
}
