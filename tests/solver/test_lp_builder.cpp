// Building the linear programme: the rows, kinds, limits and coefficients the lists give.

#include "solver_fixture.h"

#include "problem/open_problem.h"
#include "scripted_messages.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace vexo;
using namespace vexo::test;

namespace {

class Builder : public ::testing::Test
{
protected:
    void SetUp() override
    {
        KY_OPTIMIZER::setObserver([this](const SimplexTableau &t, SolveEvent e) {
            if (e == SolveEvent::Built)
                start = t;
        });
    }
    void TearDown() override { KY_OPTIMIZER::setObserver(nullptr); }

    std::vector<double> startRow(int i) const
    {
        std::vector<double> r;
        for (int j = 0; j < start.columns(); ++j)
            r.push_back(start.at(i, j));
        return r;
    }

    ScriptedMessages messages;
    SimplexTableau start;
};

FeedProblem base()
{
    FeedProblem fp;
    fp.ingredients = {IngredientSpec{"ARPA", 10.0, {}, {}, {}}, IngredientSpec{"SOYA", 30.0, {}, {}, {}}};
    fp.nutrients = {NutrientSpec{"AĞIRLIK", 1.0, {}, {}, "Kg/Kg"}, NutrientSpec{"P", {}, 3.0, {}},
                    NutrientSpec{"Q", {}, {}, {}}};
    fp.content = {{1, 1}, {2, 6}, {4, 1}};
    return fp;
}

Limit fixOf(const LimitTriple &t, int k) { return t.fix[std::size_t(k)]; }
Limit minOf(const LimitTriple &t, int k) { return t.min[std::size_t(k)]; }
Limit maxOf(const LimitTriple &t, int k) { return t.max[std::size_t(k)]; }

} // namespace

TEST_F(Builder, FixedValueWinsOverLimitsBesideIt)
{
    FeedProblem fp = base();
    fp.ingredients[0].fix = 40.0;
    fp.ingredients[0].min = 10.0;
    fp.ingredients[0].max = 90.0;
    fp.nutrients[1].fix = 4.0; // P: fixed beside its minimum
    fp.nutrients[1].max = 5.0;
    fp.ratios = {RatioSpec{"P", "Q", 1.0, 0.5, 2.0}};
    fp.groups = {GroupSpec{"G", 30.0, 10.0, 50.0}};
    fp.membership = {{1, 0}};
    fp.install();
    KY_OPTIMIZER s(nullptr, true);
    EXPECT_EQ(s.ASATIRADI(), (QStringList{"AĞIRLIK", "P", "Q", "P/Q", "ARPA", "SOYA", "G"}));
    EXPECT_EQ(s.ASATIRTIPI(), (QStringList{"Sabit", "Sabit", "Yok", "Sabit", "Sabit", "Alt", "Sabit"}));
    const LimitTriple &l = s.AILKSINIR();
    EXPECT_EQ(fixOf(l, 1), 4.0);
    EXPECT_FALSE(minOf(l, 1) || maxOf(l, 1));
    EXPECT_EQ(fixOf(l, 3), 1.0); // the ratio itself
    EXPECT_EQ(fixOf(l, 4), 0.4); // per cent as a fraction
    EXPECT_FALSE(minOf(l, 4) || maxOf(l, 4));
    EXPECT_EQ(minOf(l, 5), 0.0); // no limit: a minimum of 0
    EXPECT_EQ(fixOf(l, 6), 0.3);
}

TEST_F(Builder, TwoSidedNutrientBecomesTwoRows)
{
    FeedProblem fp = base();
    fp.nutrients[1].min = 3.0;
    fp.nutrients[1].max = 5.0;
    fp.install();
    KY_OPTIMIZER s(nullptr, true);
    EXPECT_EQ(s.NBMSAYISI(), 4u);
    EXPECT_EQ(s.ASATIRADI().mid(0, 4), (QStringList{"AĞIRLIK", "P", "Q", "P"}));
    EXPECT_EQ(s.ASATIRTIPI().mid(0, 4), (QStringList{"Sabit", "Alt", "Yok", "Üst"}));
    EXPECT_EQ(minOf(s.AILKSINIR(), 1), 3.0);
    EXPECT_FALSE(maxOf(s.AILKSINIR(), 1));
    EXPECT_EQ(maxOf(s.AILKSINIR(), 3), 5.0);
    // Rows of the tableau: weight, P min, P max (Q has no limit), then the two ingredient rows.
    ASSERT_EQ(start.rows(), 5);
    EXPECT_EQ(startRow(1)[0], 2.0);
    EXPECT_EQ(startRow(2)[0], 2.0);
    EXPECT_EQ(startRow(2)[1], 6.0);
    EXPECT_EQ(start.rhs, (std::vector<double>{1.0, 3.0, 5.0, 0.0, 0.0}));
    // Columns: 2 ingredients, surplus of P min and of the two ingredient rows, one own column per row.
    EXPECT_EQ(start.columns(), 2 + 3 + 5);
    EXPECT_EQ(start.cost, (std::vector<double>{10, 30, 0, 0, 0, 30000, 30000, 0, 30000, 30000}));
    EXPECT_EQ(start.basis, (std::vector<int>{5, 6, 7, 8, 9}));
}

TEST_F(Builder, RatioRowsCoefficientsNamesAndLookup)
{
    FeedProblem fp = base();
    fp.ratios = {RatioSpec{"P", "Q", {}, 1.5, {}},    // built
                 RatioSpec{"P", "Q", {}, {}, {}},     // named, no row
                 RatioSpec{"p", "Q", {}, 1.0, {}},    // other case: dropped
                 RatioSpec{"P", "Q2", {}, 1.0, {}}};  // unknown nutrient: dropped
    fp.install();
    KY_OPTIMIZER s(nullptr, true);
    EXPECT_EQ(s.ratioRowCount(), 2u);
    EXPECT_EQ(s.ASATIRADI().mid(3, 2), (QStringList{"P/Q", "P/Q"}));
    EXPECT_EQ(s.ASATIRTIPI().mid(3, 2), (QStringList{"Alt", "Yok"}));
    EXPECT_EQ(minOf(s.AILKSINIR(), 3), 1.5);
    // Tableau rows: weight, P, the ratio, two ingredients.
    ASSERT_EQ(start.rows(), 5);
    EXPECT_EQ(startRow(2)[0], 2 - 1.5 * 4);
    EXPECT_EQ(startRow(2)[1], 6 - 1.5 * 1);
    EXPECT_EQ(start.rhs[2], 0.0);
    EXPECT_EQ(s.AAUTOBMO_.size(), 2);
    EXPECT_EQ(s.AAUTOBMO_[1][1], "           ");
}

TEST_F(Builder, RatioCoefficientsBelowTheBoundAreZero)
{
    FeedProblem fp = base();
    fp.content[2] = {0.5, 3.0}; // Q
    fp.ratios = {RatioSpec{"P", "Q", {}, 4.0, {}}};
    fp.install();
    KY_OPTIMIZER s(nullptr, true);
    EXPECT_EQ(startRow(2)[0], 0.0); // 2 - 4 * 0.5
    EXPECT_EQ(startRow(2)[1], -6.0);
}

TEST(RatioNames, LongNamesAreCut)
{
    const QString ten = "ABCDEFGHIJ";
    const QString twenty = "ABCDEFGHIJKLMNOPQRST";
    EXPECT_EQ(KY_OPTIMIZER::GETNTRUNCATED(ten, ten), ten + "/" + ten);
    EXPECT_EQ(KY_OPTIMIZER::GETNTRUNCATED(ten, ten).size(), 21);
    EXPECT_EQ(KY_OPTIMIZER::GETNTRUNCATED(twenty, ten), "ABCDEFGHIJKL/" + ten);
    EXPECT_EQ(KY_OPTIMIZER::GETNTRUNCATED(twenty, ten).size(), 23);
    EXPECT_EQ(KY_OPTIMIZER::GETNTRUNCATED(twenty, "ABCDEF"), "ABCDEFGHIJKL/ABCDEF");
    EXPECT_EQ(KY_OPTIMIZER::GETNTRUNCATED(twenty, "ABCDEF").size(), 19);
    EXPECT_EQ(KY_OPTIMIZER::GETNTRUNCATED(twenty, twenty).size(), 25);
}

TEST_F(Builder, IngredientRowsInKindOrderAndPercentages)
{
    FeedProblem fp = base();
    fp.ingredients.append(IngredientSpec{"MISIR", 12.0, {}, {}, {}});
    for (auto &r : fp.content)
        r.push_back(1.0);
    fp.ingredients[0].min = 12.5;
    fp.ingredients[0].max = 60.0;
    fp.ingredients[1].fix = 20.0;
    fp.ingredients[2].max = 70.0;
    fp.nutrients[1].min = 12.5; // a nutrient limit is not scaled
    fp.install();
    KY_OPTIMIZER s(nullptr, true);
    // Fixed rows of all ingredients, then minimum rows, then maximum rows.
    EXPECT_EQ(s.ASATIRADI().mid(3), (QStringList{"SOYA", "ARPA", "MISIR", "ARPA", "MISIR"}));
    EXPECT_EQ(s.ASATIRTIPI().mid(3), (QStringList{"Sabit", "Alt", "Alt", "Üst", "Üst"}));
    EXPECT_EQ(minOf(s.AILKSINIR(), 1), 12.5);
    EXPECT_EQ(start.rhs, (std::vector<double>{1.0, 12.5, 0.2, 0.125, 0.0, 0.6, 0.7}));
    // Three ingredient columns, three surplus columns (P and the two minimum rows), then own columns.
    EXPECT_EQ(startRow(2), (std::vector<double>{0, 1, 0, 0, 0, 0, 0, 0, 1, 0, 0, 0, 0}));
}

TEST_F(Builder, GroupRowsSplitAndPaddedMembership)
{
    FeedProblem fp = base();
    fp.ingredients.append(IngredientSpec{"MISIR", 12.0, {}, {}, {}});
    for (auto &r : fp.content)
        r.push_back(1.0);
    fp.groups = {GroupSpec{"TAHIL", {}, 20.0, 60.0}, GroupSpec{"BOS", {}, {}, {}}, GroupSpec{"KISA", {}, {}, 50.0}};
    fp.membership = {{1, 0, 1}, {0, 0, 0}, {0, 1}}; // the last row is short
    fp.install();
    KY_OPTIMIZER s(nullptr, true);
    EXPECT_EQ(s.ASATIRADI().mid(6), (QStringList{"TAHIL", "BOS", "KISA", "TAHIL"}));
    EXPECT_EQ(s.ASATIRTIPI().mid(6), (QStringList{"Alt", "Yok", "Üst", "Üst"}));
    EXPECT_EQ(maxOf(s.AILKSINIR(), 9), 0.6);
    // Tableau rows: weight, P, three ingredients, TAHIL min, KISA max, TAHIL max.
    ASSERT_EQ(start.rows(), 8);
    EXPECT_EQ(start.rhs[5], 0.2);
    EXPECT_EQ(start.rhs[6], 0.5);
    EXPECT_EQ(start.rhs[7], 0.6);
    EXPECT_EQ(startRow(6)[0], 0.0);
    EXPECT_EQ(startRow(6)[1], 1.0);
    EXPECT_EQ(startRow(6)[2], 0.0); // padded
    EXPECT_EQ(startRow(7)[2], 1.0);
    EXPECT_EQ(s.AAUTOYMG_.size(), 4);
    EXPECT_EQ(s.AAUTOYMG_[1][1], "           "); // no limit, no shadow price
}

TEST_F(Builder, AllPricesZeroStillHaveABigCost)
{
    FeedProblem fp = base();
    fp.ingredients[0].price = 0.0;
    fp.ingredients[1].price = 0.0;
    fp.install();
    KY_OPTIMIZER s(nullptr, true);
    EXPECT_EQ(s.UBUYUKM(), 1000.0);
    EXPECT_TRUE(s.LOPTI_);
    EXPECT_EQ(s.outcome(), SolveOutcome::Optimum);
    EXPECT_NEAR(s.shares()[0] + s.shares()[1], 1.0, 1e-12);
    EXPECT_GE(2 * s.shares()[0] + 6 * s.shares()[1], 3.0 - 1e-9);
}

// Number texts another program wrote into the problem: a decimal comma is the point, and a text
// that is no number stops the solve with its place named, never read as the digits it begins with.
TEST_F(Builder, DecimalCommasAreReadAndTextsThatAreNoNumberStopTheSolve)
{
    FeedProblem fp = base();
    fp.install();
    OpenProblem &p = openProblem();
    p.AYMLIST[0][YMPRICE] = QStringLiteral("10,5       ");
    p.AAMAT[1] = QStringList{QStringLiteral("2,5"), QStringLiteral("    6,5    ")};
    {
        KY_OPTIMIZER s(nullptr, true);
        ASSERT_EQ(s.outcome(), SolveOutcome::Optimum);
        EXPECT_NEAR(s.shares()[0], 0.875, 1e-9);
        EXPECT_NEAR(s.shares()[1], 0.125, 1e-9);
        EXPECT_TRUE(messages.shown().isEmpty());
    }
    p.AAMAT[1][1] = QStringLiteral("    6abc   ");
    p.AYMLIST[1][YMLLIMIT] = QStringLiteral("1.234,5");
    KY_OPTIMIZER s(nullptr, true);
    EXPECT_NE(s.outcome(), SolveOutcome::Optimum);
    EXPECT_FALSE(s.LOPTI_);
    ASSERT_EQ(messages.shown().size(), 1);
    EXPECT_EQ(messages.shown()[0].text, QStringLiteral("Sayı olmayan değerler var; hesaplama yapılmadı:\n"
                                                       "SOYA - Alt Sınır: \"1.234,5\"\nSOYA - P: \"6abc\""));
}
