// The pad menu with its keys and tool bar, and the context menu of the pad's text, against golden
// copies; every key and button names an item of its own table.
#include "controls/menu_builder.h"
#include "menu_table_text.h"
#include "reports/pad_menus.h"
#include "source_tree.h"

#include <QAction>
#include <QMenu>
#include <QToolBar>

#include <gtest/gtest.h>

using namespace vexo;
using namespace vexo::test;

namespace {

QString golden(const char *name)
{
    return goldenText(sourceTree() + QStringLiteral("/tests/reports/golden/") + QLatin1String(name));
}

} // namespace

TEST(PadMenus, TablesMatchTheirGoldenCopies)
{
    EXPECT_EQ(menuTableText(standardPadMenu()).toStdString(), golden("standard_pad_menu.txt").toStdString());
    EXPECT_EQ(menuTableText(edContMenu()).toStdString(), golden("ed_cont_menu.txt").toStdString());
}

TEST(PadMenus, EveryKeyAndButtonGivesAnItemOfItsTable)
{
    for (const MenuTable &t : {standardPadMenu(), edContMenu()}) {
        SCOPED_TRACE(t.name.toStdString());
        for (const KeyRow &k : t.keys) {
            const MenuRow *row = t.row(k.id);
            ASSERT_NE(row, nullptr) << k.id;
            EXPECT_EQ(row->kind, MenuRowKind::Item);
            EXPECT_TRUE(row->text.endsWith(QLatin1Char('\t') + k.key.toString(QKeySequence::PortableText)))
                << row->text.toStdString();
        }
        for (const ToolRow &b : t.tools)
            EXPECT_TRUE(b.isSeparator() || (t.row(b.id) && t.row(b.id)->kind == MenuRowKind::Item)) << b.id;
    }
}

TEST(PadMenus, BuiltPadMenuStartsWithSaveOffAndButtonsFollowingTheirItems)
{
    QStringList given;
    BuiltMenu menu(standardPadMenu(), [&](const QString &command) { given << command; });
    QStringList titles;
    for (QMenu *m : menu.menus())
        titles << m->title();
    EXPECT_EQ(titles, (QStringList{QStringLiteral("&Dosya"), QStringLiteral("&Yazım"), QStringLiteral("&Pencere"),
                                   QStringLiteral("&Araçlar"), QStringLiteral("&Yardım")}));
    EXPECT_FALSE(menu.isEnabled(kPadSaveItem));
    ASSERT_NE(menu.toolAction(kPadSaveItem), nullptr);
    EXPECT_FALSE(menu.toolAction(kPadSaveItem)->isEnabled());
    menu.enable(kPadSaveItem);
    EXPECT_TRUE(menu.toolAction(kPadSaveItem)->isEnabled());
    ASSERT_NE(menu.toolBar(), nullptr);
    EXPECT_EQ(menu.toolBar()->actions().size(), 18); // 14 buttons and 4 separators
    EXPECT_EQ(menu.idForKey(QKeyCombination(Qt::CTRL, Qt::Key_X)), 29015);
    EXPECT_EQ(menu.idForKey(QKeyCombination(Qt::Key_F3)), 29029);
    menu.toolAction(29012)->trigger();
    EXPECT_TRUE(menu.handleKey(QKeyCombination(Qt::Key_F4)));
    EXPECT_EQ(given, (QStringList{QStringLiteral("YAZıM_DÜZENLE_ORTA"), QStringLiteral("OHAKKINDA")}));

    BuiltMenu context(edContMenu(), {});
    ASSERT_NE(context.popup(), nullptr);
    EXPECT_EQ(context.popup()->title(), QStringLiteral("&Yazım"));
    EXPECT_EQ(context.idForKey(QKeyCombination(Qt::CTRL, Qt::Key_V)), 29010);
}
