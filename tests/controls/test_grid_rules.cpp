// The rules of the thirteen grid classes: which notifications set which owner flag, and what a mouse
// press does after the grid made the clicked row current.
#include "controls/barray_server.h"
#include "controls/grid_rules.h"

#include <gtest/gtest.h>

#include <vector>

using namespace vexo;

namespace {

const QList<int> kAllCodes = {-1, 0, 2, 3, 4, 5, 6, 7, 10};

struct ClassRow
{
    GridClass cls;
    const char *name;
    OwnerFlag flag;
    QList<int> flagCodes; // the codes that set the flag
};

const ClassRow kClasses[] = {
    {GridClass::YM, "YM", OwnerFlag::GIRDEG, {-1, 6, 7, 10}},
    {GridClass::BM, "BM", OwnerFlag::GIRDEG, {-1, 6, 7, 10}},
    {GridClass::BMO, "BMO", OwnerFlag::GIRDEG, {-1, 6, 7, 10}},
    {GridClass::YMG, "YMG", OwnerFlag::GIRDEG, {-1, 6, 7, 10}},
    {GridClass::AMAT, "AMAT", OwnerFlag::GIRDEG, {-1, 6, 7, 10}},
    {GridClass::RMAT, "RMAT", OwnerFlag::RMCHANGE, {-1, 6, 10}},
    {GridClass::BMS, "BMS", OwnerFlag::BMCHANGE, {-1, 6, 7, 10}},
    {GridClass::RYY, "RYY", OwnerFlag::YYCHANGE, {-1, 6, 7, 10}},
    {GridClass::SSEARCH, "SSEARCH", OwnerFlag::CHKDEG, {-1, 6, 7, 10}},
    {GridClass::BMEKLE, "BMEKLE", OwnerFlag::CHKDEG, {-1, 6, 7, 10}},
    {GridClass::GRPBELIRLE, "GRPBELIRLE", OwnerFlag::CHKDEG, {-1, 6, 7, 10}},
    {GridClass::MTBOT, "MTBOT", OwnerFlag::None, {}},
    {GridClass::CHOICE, "CHOICE", OwnerFlag::None, {}},
};

} // namespace

TEST(GridRules, CodesSetTheOwnersFlagInEveryClass)
{
    for (const ClassRow &row : kClasses) {
        EXPECT_EQ(ownerFlagOf(row.cls), row.flag) << row.name;
        for (int code : kAllCodes)
            for (int column : {1, 3, 4})
                EXPECT_EQ(notifyEffect(row.cls, code, column).setFlag, row.flagCodes.contains(code))
                    << row.name << " code " << code << " column " << column;
    }
}

TEST(GridRules, TheNutrientDefinitionsStructureFlag)
{
    // code, current column, structure flag expected
    const struct
    {
        int code;
        int column;
        bool structure;
    } cases[] = {
        {6, 1, true}, {6, 3, true}, {-1, 3, true}, {-1, 2, false}, {-1, 4, false}, {10, 3, true},
        {10, 1, false}, {7, 3, false}, {7, 1, false}, {0, 3, false}, {2, 3, false}, {5, 3, false},
    };
    for (const auto &c : cases) {
        EXPECT_EQ(notifyEffect(GridClass::BMS, c.code, c.column).setStructure, c.structure)
            << "code " << c.code << " column " << c.column;
        for (const ClassRow &row : kClasses) {
            if (row.cls != GridClass::BMS) {
                EXPECT_FALSE(notifyEffect(row.cls, c.code, c.column).setStructure) << row.name;
            }
        }
    }
}

TEST(GridRules, ClickHandlers)
{
    struct Case
    {
        GridClass cls;
        int button;
        BCELL cell;
        int rowNo;
        bool active;
        bool outOfStock;
        ClickEffect expected;
        const char *what;
    };
    const ClickEffect none;
    ClickEffect warn;
    warn.stockWarning = true;
    ClickEffect keyOff;
    keyOff.keyboardModeOff = true;
    ClickEffect tick;
    tick.toggleField = true;
    ClickEffect tickAndName = tick;
    tickAndName.nameColumnAndFocus = true;
    ClickEffect nameOnly;
    nameOnly.nameColumnAndFocus = true;
    ClickEffect choose;
    choose.singleChoice = true;
    const Case cases[] = {
        {GridClass::YM, 1, {2, 3}, 3, true, true, warn, "left click out of stock"},
        {GridClass::YM, 2, {2, 3}, 3, true, true, none, "right click out of stock"},
        {GridClass::YM, 1, {2, 3}, 3, true, false, none, "left click in stock"},
        {GridClass::BM, 1, {2, 3}, 3, true, true, none, "nutrient grid has no stock"},
        {GridClass::RYY, 1, {1, 1}, 1, true, false, keyOff, "form grid active"},
        {GridClass::RYY, 2, {0, 0}, 1, true, false, keyOff, "any button while active"},
        {GridClass::RYY, 1, {1, 1}, 1, false, false, none, "form grid not active"},
        {GridClass::SSEARCH, 1, {2, 4}, 4, true, false, tickAndName, "left on a data cell"},
        {GridClass::SSEARCH, 1, {2, 0}, 4, true, false, tickAndName, "left on a column whatever the row"},
        {GridClass::SSEARCH, 1, {0, 4}, 4, true, false, nameOnly, "left outside the columns"},
        {GridClass::SSEARCH, 1, {2, 4}, 0, true, false, none, "left with no current row"},
        {GridClass::SSEARCH, 2, {2, 4}, 0, true, false, nameOnly, "right with no current row"},
        {GridClass::SSEARCH, 2, {2, 4}, 4, true, false, nameOnly, "right on a data cell"},
        {GridClass::BMEKLE, 1, {1, 1}, 1, true, false, tick, "left on a data cell"},
        {GridClass::BMEKLE, 1, {0, 1}, 1, true, false, none, "column 0"},
        {GridClass::GRPBELIRLE, 1, {1, 0}, 1, true, false, none, "row 0"},
        {GridClass::GRPBELIRLE, 2, {1, 1}, 1, true, false, none, "right button"},
        {GridClass::MTBOT, 1, {3, 2}, 2, true, false, tick, "left on a data cell"},
        {GridClass::MTBOT, 3, {3, 2}, 2, true, false, none, "middle button"},
        {GridClass::CHOICE, 1, {2, 2}, 2, true, false, choose, "left on a data cell"},
        {GridClass::CHOICE, 1, {0, 2}, 2, true, false, none, "column 0"},
        {GridClass::CHOICE, 2, {2, 2}, 2, true, false, none, "right button"},
        {GridClass::AMAT, 1, {2, 2}, 2, true, true, none, "no mouse handling of its own"},
    };
    for (const Case &c : cases)
        EXPECT_EQ(clickEffect(c.cls, c.button, c.cell, c.rowNo, c.active, c.outOfStock), c.expected) << c.what;
}

TEST(GridRules, SingleChoiceKeepsAtMostOneMark)
{
    QList<int> ticked;
    const struct
    {
        int click;
        QList<int> after;
    } steps[] = {{2, {2}}, {5, {5}}, {5, {}}, {3, {3}}, {3, {}}};
    // Compared as vectors: Qt's list comparison hands memcmp a null pointer for an empty list.
    const auto values = [](const QList<int> &list) { return std::vector<int>(list.cbegin(), list.cend()); };
    for (const auto &s : steps) {
        ticked = singleChoice(ticked, s.click);
        EXPECT_EQ(values(ticked), values(s.after)) << "click on " << s.click;
    }
}

TEST(GridRules, TickFieldOfEachClass)
{
    BARRAYSERVER dialog({{QStringLiteral("NUM"), u'C', 3, 0}, {QStringLiteral("CHK"), u'L', 1, 0}}, ServerRows{});
    EXPECT_EQ(tickFieldPos(GridClass::SSEARCH, dialog), 1);
    EXPECT_EQ(tickFieldPos(GridClass::BMEKLE, dialog), 2);
    EXPECT_EQ(tickFieldPos(GridClass::GRPBELIRLE, dialog), 2);
    EXPECT_EQ(tickFieldPos(GridClass::MTBOT, dialog), 2);
    EXPECT_EQ(tickFieldPos(GridClass::CHOICE, dialog), 0);
    EXPECT_EQ(tickFieldPos(GridClass::YM, dialog), 0);
}
