// The iteration steps on hand-made tableaux: thresholds, tie-breaks, the pivot, and the guard
// against cycling.

#include "solver_fixture.h"

#include "problem/number_text.h"
#include "solver/simplex_tableau.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace vexo;
using vexo::test::tableauOf;

TEST(SimplexSteps, PricingRoundsEveryProductToEightDecimals)
{
    // Two rows of cost 1/3 with entry 1: each product rounds to 0.33333333 and the sum is not
    // rounded again.
    SimplexTableau t = tableauOf({{1, 1, 0}, {1, 0, 1}}, {1, 1}, {1, 2}, {0, 1.0 / 3, 1.0 / 3});
    t.KRITER();
    EXPECT_EQ(t.zj[0], 0.66666666);
    EXPECT_EQ(t.zjcj[0], 0.66666666);
    EXPECT_EQ(t.zjcj[1], 0.0);
    EXPECT_EQ(round8(0.123456785), MROUND2(0.123456785, 8));
    EXPECT_EQ(round8(-2.5e-8), -3e-8);
}

TEST(SimplexSteps, ImprovementThresholdAndEarliestColumn)
{
    SimplexTableau t = tableauOf({{1, 1, 1, 1}}, {1}, {3}, {0, 0, 0, 0});
    t.zjcj = {1e-8, 0, -1, 0};
    EXPECT_TRUE(t.HEPSI());
    EXPECT_FALSE(t.GVEKTOR());

    t.zjcj = {0.5, 0.5 + 5e-9, 0, 0};
    EXPECT_FALSE(t.HEPSI());
    ASSERT_TRUE(t.GVEKTOR());
    EXPECT_EQ(t.entering, 0);

    t.zjcj = {0.5, 0.5 + 2e-8, 0, 0};
    ASSERT_TRUE(t.GVEKTOR());
    EXPECT_EQ(t.entering, 1);
}

TEST(SimplexSteps, ImprovingColumnWithoutPositiveEntryIsUnbounded)
{
    SimplexTableau t = tableauOf({{-1, 1, 0}, {5e-9, 0, 1}}, {1, 1}, {1, 2}, {0, 0, 0});
    t.zjcj = {3, 0, 0};
    EXPECT_FALSE(t.GVEKTOR());
}

TEST(SimplexSteps, RatioTiesGoToTheSmallestBasicColumn)
{
    // Rows 0 and 1 tie within 1e-9; the basic column of row 1 is the smaller.
    SimplexTableau t = tableauOf({{1, 0, 0, 0, 0, 0, 0, 0}, {1, 0, 0, 0, 0, 0, 0, 0}, {1, 0, 0, 0, 0, 0, 0, 0}},
                            {2, 2 + 5e-10, 3}, {7, 4, 5}, std::vector<double>(8, 0.0));
    t.entering = 0;
    ASSERT_TRUE(t.HESTETA());
    EXPECT_EQ(t.leaving, 1);
    // Without a tie the first smallest row leaves.
    t.rhs = {2, 2.1, 3};
    ASSERT_TRUE(t.HESTETA());
    EXPECT_EQ(t.leaving, 0);
    // A right-hand side of 0 leaves first: a degenerate pivot.
    t.rhs = {2, 0, 3};
    ASSERT_TRUE(t.HESTETA());
    EXPECT_EQ(t.leaving, 1);
    EXPECT_TRUE(t.lastPivotDegenerate);
    // Entries of 1e-9 and below take no part.
    t.set(0, 0, 1e-9);
    t.set(1, 0, -1);
    t.set(2, 0, 0);
    EXPECT_FALSE(t.HESTETA());
    EXPECT_EQ(t.leaving, -1);
}

TEST(SimplexSteps, PivotOnEntryOneAndCleaning)
{
    SimplexTableau t = tableauOf({{1, 0.3, 1, 0}, {2, 0.6 + 4e-11, 0, 1}}, {0.25, 0.5}, {2, 3}, {1, 0, 0, 0});
    t.entering = 0;
    t.leaving = 0;
    t.TABLODEGIS();
    // The pivot row is not divided.
    EXPECT_EQ(t.at(0, 1), 0.3);
    EXPECT_EQ(t.rhs[0], 0.25);
    // 0.6 + 4e-11 - 2 * 0.3 is below 1e-10: exactly 0.
    EXPECT_EQ(t.at(1, 1), 0.0);
    EXPECT_EQ(t.at(1, 0), 0.0);
    EXPECT_EQ(t.at(1, 2), -2.0);
    EXPECT_EQ(t.rhs[1], 0.0);
    EXPECT_EQ(t.basis[0], 0);
    EXPECT_EQ(t.cb[0], 1.0);
    // A later pricing sees the new row.
    t.cost = {1, 0, 0, 5};
    t.cb = {1, 5};
    t.KRITER();
    EXPECT_EQ(t.zj[2], 1.0 - 10.0);
}

namespace {

// Beale's example, which cycles under the largest-coefficient rule: columns 0 to 2 are the slacks,
// 3 to 6 the variables, so the smallest column number is also the smallest subscript.
SimplexTableau beale()
{
    return tableauOf({{1, 0, 0, 0.25, -60, -0.04, 9}, {0, 1, 0, 0.5, -90, -0.02, 3}, {0, 0, 1, 0, 0, 1, 0}},
                {0, 0, 1}, {0, 1, 2}, {0, 0, 0, -0.75, 150, -0.02, 6});
}

// Runs the loop as the solver does; answers whether it reached the optimum within `cap` passes.
bool run(SimplexTableau &t, long runBeforeBland, long cap, long *passes)
{
    for (*passes = 1; *passes <= cap; ++*passes) {
        t.KRITER();
        if (t.HEPSI())
            return true;
        if (!t.GVEKTOR() || !t.HESTETA())
            return false;
        t.TABLODEGIS();
        t.noteDegeneracy(runBeforeBland);
    }
    return false;
}

} // namespace

TEST(SimplexSteps, DegenerateCyclingIsBrokenBySmallestColumnRule)
{
    long passes = 0;
    SimplexTableau cycling = beale();
    EXPECT_FALSE(run(cycling, 1L << 40, 1000, &passes)) << "the example no longer cycles";

    SimplexTableau guarded = beale();
    ASSERT_TRUE(run(guarded, 20, 1000, &passes));
    EXPECT_LT(passes, 100);
    double cost = 0.0;
    for (int i = 0; i < guarded.rows(); ++i)
        cost += guarded.cost[std::size_t(guarded.basis[std::size_t(i)])] * guarded.rhs[std::size_t(i)];
    EXPECT_NEAR(cost, -0.05, 1e-9);
}
