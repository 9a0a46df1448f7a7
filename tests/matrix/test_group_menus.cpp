// The group window's menu, keys, tool bar and context menu against their golden copies.
#include "matrix/group_menus.h"

#include "menu_table_text.h"
#include "source_tree.h"

#include <QFile>

#include <gtest/gtest.h>

using namespace vexo;

TEST(GroupMenus, TablesMatchTheirGoldenCopies)
{
    const struct
    {
        MenuTable (*table)();
        const char *file;
    } golden[] = {{ymGrubuMenu, "ym_grubu_menu.txt"}, {ymgContMenu, "ymg_cont_menu.txt"}};
    for (const auto &g : golden) {
        const QString path = test::sourceTree() + QStringLiteral("/tests/matrix/golden/") + QLatin1String(g.file);
        const QString dump = test::menuTableText(g.table());
        // VEXO_WRITE_GOLDEN=1 writes a changed table's copy for review instead of failing.
        if (qEnvironmentVariableIntValue("VEXO_WRITE_GOLDEN") == 1) {
            QFile f(path);
            ASSERT_TRUE(f.open(QIODevice::WriteOnly));
            f.write(dump.toUtf8());
            continue;
        }
        EXPECT_EQ(dump.toStdString(), test::goldenText(path).toStdString()) << g.file;
    }
}

TEST(GroupMenus, EveryKeyAndButtonGivesAnItemOfTheMenu)
{
    const MenuTable t = ymGrubuMenu();
    for (const KeyRow &k : t.keys)
        EXPECT_NE(t.row(k.id), nullptr) << k.id;
    for (const ToolRow &b : t.tools) {
        if (!b.isSeparator()) {
            EXPECT_NE(t.row(b.id), nullptr) << b.id;
        }
    }
    ASSERT_NE(t.row(kGroupSolveItem), nullptr);
    EXPECT_TRUE(t.row(kGroupSolveItem)->state & MenuState::Disabled);
}
