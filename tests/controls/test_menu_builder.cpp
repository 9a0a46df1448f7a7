#include "controls/command_registry.h"
#include "controls/menu_builder.h"
#include "controls/shell_host.h"
#include "controls/shell_menus.h"

#include "resources/resource_library.h"
#include "menu_table_text.h"
#include "source_tree.h"

#include <QAction>
#include <QFile>
#include <QMainWindow>
#include <QMenu>
#include <QTest>
#include <QToolBar>

#include <gtest/gtest.h>

namespace vexo {
namespace {

using test::menuTableText;

QString golden(const char *name)
{
    QFile f(test::sourceTree() + QStringLiteral("/tests/controls/golden/") + QLatin1String(name));
    EXPECT_TRUE(f.open(QIODevice::ReadOnly));
    return QString::fromUtf8(f.readAll());
}

TEST(ShellMenus, TablesMatchTheirGoldenCopies)
{
    EXPECT_EQ(menuTableText(emptyShellMenu()).toStdString(), golden("empty_shell_menu.txt").toStdString());
    EXPECT_EQ(menuTableText(standardShellMenu()).toStdString(), golden("standard_shell_menu.txt").toStdString());
}

TEST(ShellMenus, EveryKeyAndButtonGivesAnItemOfItsTable)
{
    for (const MenuTable &t : {emptyShellMenu(), standardShellMenu()}) {
        for (const KeyRow &k : t.keys) {
            ASSERT_NE(t.row(k.id), nullptr) << k.id;
            EXPECT_EQ(t.row(k.id)->kind, MenuRowKind::Item);
            // The key named in the caption is the key of the table.
            EXPECT_TRUE(t.row(k.id)->text.endsWith(QLatin1Char('\t') + k.key.toString(QKeySequence::PortableText)))
                << t.row(k.id)->text.toStdString();
        }
        for (const ToolRow &b : t.tools) {
            EXPECT_TRUE(b.isSeparator() || t.row(b.id)) << b.id;
            EXPECT_TRUE(b.isSeparator() || ResourceLibrary::contains(toolBarPictureName(b.picture))) << b.picture;
        }
    }
}

struct Built
{
    QStringList dispatched;
    BuiltMenu menu{emptyShellMenu(), [this](const QString &c) { dispatched << c; }};
};

TEST(BuiltMenu, BarHoldsTheSubmenusInOrderWithNestedStartupMenuSecond)
{
    Built b;
    QStringList titles;
    for (QMenu *m : b.menu.menus())
        titles << m->title();
    EXPECT_EQ(titles, (QStringList{QStringLiteral("&Dosya"), QStringLiteral("Aktif Problem &Girişleri"),
                                   QStringLiteral("&Rapor"), QStringLiteral("&Sonuçlar"),
                                   QStringLiteral("Referans &Matris"), QStringLiteral("&Veri Kaynağı"),
                                   QStringLiteral("&Yardım")}));
    const QList<QAction *> help = b.menu.menus().back()->actions();
    ASSERT_GE(help.size(), 2);
    EXPECT_EQ(help[1], b.menu.action(28433));
    ASSERT_NE(help[1]->menu(), nullptr);
    EXPECT_EQ(help[1]->menu()->actions().size(), 4); // two toggles, a separator, the third toggle
}

TEST(BuiltMenu, ConstructionStateLeavesTheReferenceCommandsReachable)
{
    Built b;
    for (int id : {28399, 28401, 28402, 28406, 28407, 28408, 28410, 28411, 28413, 28415})
        EXPECT_FALSE(b.menu.isEnabled(id)) << id;
    for (int id : {28396, 28398, 28404, 28417, 28419, 28420, 28421, 28422, 28424, 28425, 28427, 28429, 28430, 28432})
        EXPECT_TRUE(b.menu.isEnabled(id)) << id;
    EXPECT_TRUE(b.menu.ISCHECKED(28429));
    EXPECT_FALSE(b.menu.ISCHECKED(28430));
}

TEST(BuiltMenu, ButtonsFollowTheirItemsAndDispatchTheItemsCommand)
{
    Built b;
    QAction *close = b.menu.toolAction(28399);
    ASSERT_NE(close, nullptr);
    EXPECT_FALSE(close->isEnabled());
    EXPECT_EQ(close->toolTip(), QStringLiteral("Açık veri dosyasını kapat"));
    b.menu.enable(28399);
    EXPECT_TRUE(close->isEnabled());
    close->trigger();
    b.menu.action(28398)->trigger();
    EXPECT_EQ(b.dispatched, (QStringList{QStringLiteral("FILECLOSE"), QStringLiteral("FILEOPEN")}));
    b.menu.disable(28399);
    EXPECT_FALSE(close->isEnabled());
    EXPECT_EQ(b.menu.toolBar()->actions().size(), int(emptyShellMenu().tools.size()));
}

TEST(BuiltMenu, KeysGiveEnabledItemsOnlyAndUnknownKeysPassBy)
{
    Built b;
    EXPECT_TRUE(b.menu.handleKey(QKeyCombination(Qt::CTRL, Qt::Key_X)));
    EXPECT_TRUE(b.menu.handleKey(QKeyCombination(Qt::CTRL, Qt::Key_V))); // ingredient editor, disabled
    EXPECT_FALSE(b.menu.handleKey(QKeyCombination(Qt::CTRL, Qt::Key_Q)));
    EXPECT_EQ(b.dispatched, QStringList{QStringLiteral("FILEEXIT")});
    b.menu.enable(28406);
    b.menu.handleKey(QKeyCombination(Qt::CTRL, Qt::Key_V));
    EXPECT_EQ(b.dispatched.last(), QStringLiteral("YM_GIRIS"));
}

TEST(BuiltMenu, CheckMarksBelongToTheCommandNotToTheClick)
{
    Built b;
    b.menu.action(28430)->trigger();
    b.menu.action(28429)->trigger();
    EXPECT_TRUE(b.menu.ISCHECKED(28429));
    EXPECT_FALSE(b.menu.ISCHECKED(28430));
    EXPECT_FALSE(b.menu.action(28430)->isChecked());
    EXPECT_EQ(b.dispatched, (QStringList{QStringLiteral("ACTMATMUHTEVASI"), QStringLiteral("ACTMATMUHTEVASI")}));
    b.menu.uncheck(28429);
    b.menu.check(28430);
    EXPECT_TRUE(b.menu.action(28430)->isChecked());
    EXPECT_FALSE(b.menu.ISCHECKED(28429));
    EXPECT_FALSE(b.menu.ISCHECKED(99999));
}

TEST(MenuKeyRouter, KeysInsideTheWindowGoToTheShownTableAheadOfTheFocusWidget)
{
    Built b;
    QMainWindow window;
    auto *edit = new QWidget(&window);
    edit->setFocusPolicy(Qt::StrongFocus);
    window.setCentralWidget(edit);
    BuiltMenu *shown = &b.menu;
    new MenuKeyRouter(&window, [&] { return shown; });
    window.show();
    QTest::keyClick(edit, Qt::Key_X, Qt::ControlModifier);
    EXPECT_EQ(b.dispatched, QStringList{QStringLiteral("FILEEXIT")});
    shown = nullptr;
    QTest::keyClick(edit, Qt::Key_X, Qt::ControlModifier);
    EXPECT_EQ(b.dispatched.size(), 1);
    QWidget other;
    other.show();
    shown = &b.menu;
    QTest::keyClick(&other, Qt::Key_X, Qt::ControlModifier);
    EXPECT_EQ(b.dispatched.size(), 1);
}

TEST(CommandRegistry, RunsRegisteredHandlersAndIgnoresUnknownNames)
{
    CommandRegistry r;
    int runs = 0;
    r.add(QStringLiteral("COZUM"), [&] { ++runs; });
    EXPECT_TRUE(r.run(QStringLiteral("COZUM")));
    EXPECT_FALSE(r.run(QStringLiteral("NOSUCH")));
    r.add(QStringLiteral("COZUM"), {});
    EXPECT_FALSE(r.has(QStringLiteral("COZUM")));
    // A handler that removes itself while it runs.
    r.add(QStringLiteral("ONCE"), [&] { r.remove(QStringLiteral("ONCE")); ++runs; });
    EXPECT_TRUE(r.run(QStringLiteral("ONCE")));
    EXPECT_EQ(runs, 2);
    EXPECT_TRUE(r.names().isEmpty());
}

} // namespace
} // namespace vexo

namespace vexo {
namespace {

struct FakeChild : ShellChild
{
    CommandRegistry commands;
    BuiltMenu *childMenu() override { return nullptr; }
    CommandRegistry &childCommands() override { return commands; }
};

TEST(ShellChild, CommandsTheChildLacksGoOnToTheMainWindow)
{
    FakeChild child;
    QStringList ran;
    child.commands.add(QStringLiteral("CUT"), [&] { ran << QStringLiteral("child CUT"); });
    shellCommands().add(QStringLiteral("CUT"), [&] { ran << QStringLiteral("main CUT"); });
    shellCommands().add(QStringLiteral("WINDOWTILE"), [&] { ran << QStringLiteral("main WINDOWTILE"); });
    EXPECT_TRUE(runChildCommand(child, QStringLiteral("CUT")));
    EXPECT_TRUE(runChildCommand(child, QStringLiteral("WINDOWTILE")));
    EXPECT_FALSE(runChildCommand(child, QStringLiteral("NOSUCH")));
    EXPECT_EQ(ran, (QStringList{QStringLiteral("child CUT"), QStringLiteral("main WINDOWTILE")}));
    shellCommands().remove(QStringLiteral("CUT"));
    shellCommands().remove(QStringLiteral("WINDOWTILE"));
}

} // namespace
} // namespace vexo
