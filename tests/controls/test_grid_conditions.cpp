// The ready-made colour conditions of the grid, tested on a server without a window.
#include "controls/bdata_column.h"

#include <gtest/gtest.h>

using namespace vexo;

namespace {

BARRAYSERVER solutions()
{
    return BARRAYSERVER({{QStringLiteral("YMNAME"), u'C', 5, 0}, {QStringLiteral("YMACOZUM"), u'C', 11, 0}},
                        QList<QStringList>{{"e", "     *1.500"},
                                           {"c", "      1.500"},
                                           {"a", "     1.500*"},
                                           {"d", "*"},
                                           {"b", "           "}});
}

} // namespace

TEST(GridConditions, StarTestLooksPastLeadingBlanksOnly)
{
    const BARRAYSERVER s = solutions();
    const auto star = BCOLORCONDITION::startsWithStar(QStringLiteral("ymacozum"));
    const bool expected[] = {true, false, false, true, false};
    for (int rec = 1; rec <= 5; ++rec)
        EXPECT_EQ(star(s, rec), expected[rec - 1]) << "record " << rec;
    EXPECT_FALSE(star(s, 6)); // past the rows
    EXPECT_FALSE(BCOLORCONDITION::startsWithStar(QStringLiteral("NOPE"))(s, 1));
}

TEST(GridConditions, OddRowsByRecordNumberOrByPositionInTheOrder)
{
    BARRAYSERVER s = solutions();
    const auto byRecNo = BCOLORCONDITION::oddRecNo();
    const auto byPosition = BCOLORCONDITION::oddOrderPosition();
    s.SETORDER([](const ServerRow &r) { return r[0].toString(); }); // a b c d e = records 3 5 2 4 1
    const struct
    {
        int rec;
        bool oddRecNo;
        bool oddPosition;
    } rows[] = {{3, true, true}, {5, true, false}, {2, false, true}, {4, false, false}, {1, true, true}};
    for (const auto &r : rows) {
        EXPECT_EQ(byRecNo(s, r.rec), r.oddRecNo) << "record " << r.rec;
        EXPECT_EQ(byPosition(s, r.rec), r.oddPosition) << "record " << r.rec;
    }
}

TEST(GridConditions, StockTestReadsTheOwnersListAsItIsNow)
{
    QList<bool> stock{true, false};
    const auto out = flagIsFalse(&stock);
    const auto cond = BCOLORCONDITION::byRecord(out);
    const BARRAYSERVER s = solutions();
    EXPECT_FALSE(out(1));
    EXPECT_TRUE(out(2));
    EXPECT_FALSE(out(3)); // beyond the list: not out of stock
    EXPECT_FALSE(out(0));
    EXPECT_TRUE(cond(s, 2));
    stock[0] = false;
    stock.append(false);
    EXPECT_TRUE(out(1));
    EXPECT_TRUE(cond(s, 3));
    EXPECT_FALSE(flagIsFalse(nullptr)(1));
}
