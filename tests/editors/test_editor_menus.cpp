// The editors' menus, context menus, keys and tool bars against their golden copies, and their use.
#include "editors/editor_menus.h"

#include "controls/menu_builder.h"
#include "menu_table_text.h"
#include "source_tree.h"

#include <QAction>
#include <QProcessEnvironment>

#include <gtest/gtest.h>

using namespace vexo;

namespace {

struct Golden
{
    MenuTable (*table)();
    const char *file;
};

const Golden kGolden[] = {
    {ymGirMenu, "ym_girmenu.txt"},   {bmGirMenu, "bm_girmenu.txt"},     {bmoGirMenu, "bmo_girmenu.txt"},
    {ymConMenu, "ym_con_menu.txt"},  {bmContMenu, "bm_cont_menu.txt"}, {bmoConMenu, "bmo_con_menu.txt"},
};

TEST(EditorMenus, TablesMatchTheirGoldenCopies)
{
    for (const Golden &g : kGolden) {
        const QString dump = test::menuTableText(g.table());
        // VEXO_WRITE_GOLDEN=1 writes a changed table's copy for review instead of failing.
        if (qEnvironmentVariableIntValue("VEXO_WRITE_GOLDEN") == 1) {
            QFile f(test::sourceTree() + QStringLiteral("/tests/editors/golden/") + QLatin1String(g.file));
            ASSERT_TRUE(f.open(QIODevice::WriteOnly));
            f.write(dump.toUtf8());
            continue;
        }
        EXPECT_EQ(dump.toStdString(),
                  test::goldenText(test::sourceTree() + QStringLiteral("/tests/editors/golden/") + QLatin1String(g.file)).toStdString())
            << g.file;
    }
}

TEST(EditorMenus, KeysAndButtonsGiveItemsOfTheirBar)
{
    for (EditorKind kind : {EditorKind::Ingredient, EditorKind::Nutrient, EditorKind::Ratio}) {
        const MenuTable t = editorMenu(kind);
        ASSERT_EQ(t.keys.size(), 7u);
        for (const KeyRow &k : t.keys) {
            ASSERT_NE(t.row(k.id), nullptr) << k.id;
            EXPECT_TRUE(t.row(k.id)->text.endsWith(QLatin1Char('\t') + k.key.toString(QKeySequence::PortableText)));
        }
        ASSERT_EQ(t.tools.size(), 13u);
        for (const ToolRow &b : t.tools)
            EXPECT_TRUE(b.isSeparator() || t.row(b.id)) << b.id;
        EXPECT_EQ(t.row(editorTraits(kind).solveItem)->command, QStringLiteral("PBCOZUM"));
        EXPECT_EQ(t.row(t.keys.back().id)->command, editorTraits(kind).aboutCommand) << "F4 gives the about command";
        // The context menu's commands are all on the bar.
        for (const MenuRow &r : editorContextMenu(kind).rows) {
            if (r.kind != MenuRowKind::Item)
                continue;
            const bool onBar = std::any_of(t.rows.cbegin(), t.rows.cend(), [&](const MenuRow &b) {
                return b.command == r.command;
            });
            EXPECT_TRUE(onBar) << r.command.toStdString();
        }
    }
}

TEST(EditorMenus, PriceSavingStartsEnabledOnTheBarAndDisabledInTheContextMenu)
{
    QStringList dispatched;
    BuiltMenu bar(ymGirMenu(), [&](const QString &c) { dispatched << c; });
    BuiltMenu context(ymConMenu(), [&](const QString &c) { dispatched << c; });
    EXPECT_TRUE(bar.isEnabled(kPriceSaveItem));
    EXPECT_FALSE(context.isEnabled(kPriceSaveContextItem));
    EXPECT_FALSE(context.trigger(kPriceSaveContextItem));
    EXPECT_TRUE(bar.trigger(kPriceSaveItem));
    EXPECT_TRUE(bar.handleKey(QKeyCombination(Qt::CTRL, Qt::Key_V)));
    EXPECT_EQ(dispatched, (QStringList{"YMFIAKAYDISOR", "PASTE"}));
}

} // namespace
