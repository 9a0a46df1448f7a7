#include "shell/command_rules.h"

#include <gtest/gtest.h>

#include <map>

namespace vexo {
namespace {

std::map<int, bool> byId(const std::vector<ItemState> &states)
{
    std::map<int, bool> out;
    for (const ItemState &s : states)
        out[s.id] = s.enabled;
    return out;
}

std::map<QString, bool> byItem(const std::vector<PaneItemState> &states)
{
    std::map<QString, bool> out;
    for (const PaneItemState &s : states)
        out[s.item] = s.enabled;
    return out;
}

struct Case
{
    const char *name;
    ProblemShape shape;
    // expected: close/save/save-as/ingredients/nutrients, matrix+ratios (menu), groups+solve+matrix report
    bool fileItems;
    bool namesItems;
    bool matrixItems;
    bool paneGroups;
    bool readyFlag;
};

const Case kCases[] = {
    {"no problem", {false, 5, 5, 5, 5}, false, false, false, false, false},
    {"one ingredient, many nutrients", {true, 1, 6, 6, 1}, true, false, false, false, false},
    {"names ready, matrix rows of one cell", {true, 2, 2, 2, 1}, true, true, false, true, false},
    {"names ready, one matrix row", {true, 3, 3, 1, 3}, true, true, false, true, false},
    {"matrix ready", {true, 2, 2, 2, 2}, true, true, true, true, true},
    {"matrix ready without names", {true, 0, 0, 2, 2}, true, false, true, false, true},
};

TEST(CommandRules, MenuAndPaneFollowTheProblemShape)
{
    for (const Case &c : kCases) {
        SCOPED_TRACE(c.name);
        const std::map<int, bool> menu = byId(menuItemStates(c.shape));
        for (int id : {28399, 28401, 28402, 28406, 28407})
            EXPECT_EQ(menu.at(id), c.fileItems) << id;
        for (int id : {28408, 28410})
            EXPECT_EQ(menu.at(id), c.namesItems) << id;
        // The group editor follows the matrix rule in the menu...
        for (int id : {28411, 28413, 28415})
            EXPECT_EQ(menu.at(id), c.matrixItems) << id;
        EXPECT_EQ(menu.size(), 10u);
        EXPECT_EQ(matrixReadyFlag(c.shape), c.readyFlag);

        const std::map<QString, bool> pane = byItem(paneItemStates(c.shape));
        EXPECT_EQ(pane.at(QStringLiteral("YM_GIRIS")), c.fileItems);
        EXPECT_EQ(pane.at(QStringLiteral("BM_GIRIS")), c.fileItems);
        EXPECT_EQ(pane.at(QStringLiteral("AMAT_GIRIS")), c.namesItems);
        EXPECT_EQ(pane.at(QStringLiteral("BMO_GIRIS")), c.namesItems);
        // ...and the names rule in the pane.
        EXPECT_EQ(pane.at(QStringLiteral("YMGRUBU")), c.paneGroups);
        EXPECT_EQ(pane.at(QStringLiteral("COZUM")), c.matrixItems);
        EXPECT_EQ(pane.at(QStringLiteral("AMATREPORT")), c.matrixItems);
        EXPECT_TRUE(pane.at(QStringLiteral("HMFIATLIST")));
    }
}

TEST(CommandRules, NeitherRuleTouchesTheAlwaysAvailableItems)
{
    for (const Case &c : kCases)
        for (const ItemState &s : menuItemStates(c.shape))
            EXPECT_TRUE(s.id != 28417 && s.id != 28419 && s.id != 28420) << s.id;
}

TEST(CommandRules, StartupMarksCheckOptionsAndGateUserCommands)
{
    struct MarkCase
    {
        StartupMarks marks;
        std::vector<MarkStep> steps;
    };
    const MarkCase cases[] = {
        {{false, false, false, true}, {{MarkAction::Disable, 28441}, {MarkAction::Disable, 28442}}},
        {{true, true, true, true}, {{MarkAction::Check, 28434}, {MarkAction::Check, 28435}, {MarkAction::Check, 28437}}},
        {{false, true, true, false},
         {{MarkAction::Check, 28435}, {MarkAction::Check, 28437}, {MarkAction::Check, 28430}, {MarkAction::Uncheck, 28429}}},
    };
    for (const MarkCase &c : cases)
        EXPECT_EQ(startupMarkSteps(c.marks), c.steps);
}

} // namespace
} // namespace vexo
