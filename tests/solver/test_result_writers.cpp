// Results into the problem's lists: texts, marks, shadow and entry prices, the dry-matter column,
// previous and saved results.

#include "solver_fixture.h"

#include "problem/open_problem.h"
#include "scripted_messages.h"

#include <gtest/gtest.h>

using namespace vexo;
using namespace vexo::test;

namespace {

const QString kBlank(11, u' ');

IngredientSpec ing(const char *name, double price, Opt min = {}, Opt max = {}, Opt fix = {})
{
    return IngredientSpec{QString::fromUtf8(name), price, fix, min, max};
}

NutrientSpec weight()
{
    return NutrientSpec{"AĞIRLIK", 1.0, {}, {}, "Kg/Kg"};
}

} // namespace

TEST(Results, BrokenIngredientMinimumIsMarked)
{
    // B alone can meet N; A's minimum of 5 per cent would cost a shortfall ten times larger in N,
    // so the closest result leaves A out.
    ScriptedMessages messages;
    FeedProblem fp;
    fp.ingredients = {ing("A", 10, 5.0), ing("B", 20)};
    fp.nutrients = {weight(), NutrientSpec{"N", {}, 10.0, {}}};
    fp.content = {{1, 1}, {0, 10}};
    fp.install();
    KY_OPTIMIZER s(nullptr, true);
    EXPECT_EQ(s.RESULT(), 1);
    EXPECT_FALSE(s.LOPTI_);
    EXPECT_EQ(s.outcome(), SolveOutcome::Infeasible);
    EXPECT_EQ(s.AAUTOYM_[0][0], "          *");
    EXPECT_EQ(s.AAUTOYM_[1][0], "    100.000");
    const OpenProblem &p = openProblem();
    EXPECT_EQ(p.AYMLIST[0][YMACOZUM], "     *     ");
    EXPECT_EQ(p.AYMLIST[1][YMACOZUM], "    100.000");
    // Met limits carry no mark.
    EXPECT_EQ(p.ABMLIST[1][BMACOZUM], "    10.0000");
    EXPECT_EQ(s.ISARETVARMI(4, 0.0, 0.05, 5), "      *");
    EXPECT_EQ(s.ISARETVARMI(4, 0.05, 0.05, 5), "       ");
}

TEST(Results, TwoIngredientsFixedAtSixtyPerCentCannotBeMet)
{
    ScriptedMessages messages;
    FeedProblem fp;
    fp.ingredients = {ing("A", 10, {}, {}, 60.0), ing("B", 20, {}, {}, 60.0)};
    fp.nutrients = {weight()};
    fp.content = {{1, 1}};
    fp.install();
    KY_OPTIMIZER s(nullptr, true);
    EXPECT_EQ(s.RESULT(), 1);
    EXPECT_FALSE(s.LOPTI_);
    EXPECT_EQ(s.outcome(), SolveOutcome::Infeasible);
    int marks = 0;
    for (const QStringList &e : s.AAUTOYM_)
        marks += int(e[0].count(u'*'));
    for (const QStringList &e : s.AAUTOBM_)
        marks += int(e[0].count(u'*'));
    EXPECT_GE(marks, 1);
}

TEST(Results, OptimalResultCarriesNoMark)
{
    ScriptedMessages messages;
    FeedProblem fp;
    fp.ingredients = {ing("A", 10, 5.0), ing("B", 20)};
    fp.nutrients = {weight(), NutrientSpec{"N", {}, 5.0, {}}};
    fp.content = {{1, 1}, {0, 10}};
    fp.install();
    KY_OPTIMIZER s(nullptr, true);
    EXPECT_TRUE(s.LOPTI_);
    EXPECT_EQ(s.ISARETVARMI(4, 0.0, 0.05, 5), "       ");
    for (const QStringList &e : s.AAUTOYM_ + s.AAUTOBM_)
        EXPECT_FALSE(e[0].contains(u'*'));
}

TEST(Results, EntryPricesShadowPricesAndDryMatter)
{
    ScriptedMessages messages;
    FeedProblem fp;
    fp.ingredients = {ing("A", 10), ing("B", 20), ing("C", 0), ing("D", 3)};
    fp.nutrients = {weight(), NutrientSpec{"N", {}, {}, 2.0}, NutrientSpec{"KM", {}, 80.0, {}},
                    NutrientSpec{"X", {}, {}, {}}};
    fp.content = {{1, 1, 1, 1}, {1, 1, 5, 9}, {90, 85, 80, 50}, {1, 2, 3, 4}};
    fp.install();
    KY_OPTIMIZER s(nullptr, true);
    ASSERT_TRUE(s.LOPTI_);
    const OpenProblem &p = openProblem();
    // 75 % A and 25 % C; B enters at 20 - 10, D's reduced cost is above its price.
    EXPECT_EQ(p.AYMLIST[0][YMACOZUM], "     75.000");
    EXPECT_EQ(p.AYMLIST[1][YMAZFIAT], "     10.000");
    EXPECT_EQ(p.AYMLIST[2][YMACOZUM], "     25.000");
    EXPECT_EQ(p.AYMLIST[3][YMAZFIAT], "    < 0.000");
    EXPECT_EQ(p.NMALIYET, 7.5);
    // Binding fixed weight: positive; binding maximum: below zero; a minimum that does not bind: 0.
    EXPECT_EQ(p.ABMLIST[0][BMSPRICE], "    12.5000");
    EXPECT_EQ(p.ABMLIST[1][BMSPRICE], "   < 0.0000");
    EXPECT_EQ(p.ABMLIST[2][BMSPRICE], "     0.0000");
    // A nutrient without a limit: its value and no shadow price.
    EXPECT_EQ(p.ABMLIST[3][BMACOZUM], "     1.5000");
    EXPECT_EQ(p.ABMLIST[3][BMSPRICE], kBlank);
    // In the dry matter: the weight row 1, KM its own value, the others scaled.
    EXPECT_EQ(p.ABMLIST[0][BMKMYYUZ], "     1.0000");
    EXPECT_EQ(p.ABMLIST[1][BMKMYYUZ], "     2.2857");
    EXPECT_EQ(p.ABMLIST[2][BMKMYYUZ], "    87.5000");
    EXPECT_EQ(p.ABMLIST[3][BMKMYYUZ], "     1.7143");
}

TEST(Results, DryMatterWithoutKm)
{
    ScriptedMessages messages;
    FeedProblem fp;
    fp.ingredients = {ing("A", 10), ing("B", 20)};
    fp.nutrients = {weight(), NutrientSpec{"N", {}, 2.0, {}}};
    fp.content = {{1, 1}, {1, 3}};
    fp.install();
    KY_OPTIMIZER s(nullptr, true);
    for (const Row &r : openProblem().ABMLIST)
        EXPECT_EQ(r[BMKMYYUZ], "     0.0000");
}

TEST(Results, TwoSidedLimitShowsTheRowThatBinds)
{
    ScriptedMessages messages;
    FeedProblem fp;
    fp.ingredients = {ing("A", 10), ing("B", 20)};
    fp.nutrients = {weight(), NutrientSpec{"N", {}, 1.0, 3.0}};
    fp.content = {{1, 1}, {5, 1}};
    fp.install();
    KY_OPTIMIZER s(nullptr, true);
    ASSERT_TRUE(s.LOPTI_);
    // The list row and the editor's element show the binding maximum; the copy row follows.
    ASSERT_EQ(s.AAUTOBM_.size(), 3);
    EXPECT_EQ(s.AAUTOBM_[1], (QStringList{"     3.0000", "   < 0.0000"}));
    EXPECT_EQ(s.AAUTOBM_[2], (QStringList{"     3.0000", "   < 0.0000"}));
    EXPECT_EQ(openProblem().ABMLIST[1][BMSPRICE], "   < 0.0000");
    ASSERT_EQ(s.rowMarks().size(), s.ASATIRADI().size());
}

TEST(Results, BrokenMaximumOfATwoSidedLimitIsMarked)
{
    // A balance between -10 and -5 that no mix can bring below 0: its maximum is broken.
    ScriptedMessages messages;
    FeedProblem fp;
    fp.ingredients = {ing("A", 10), ing("B", 20)};
    fp.nutrients = {weight(), NutrientSpec{"KAB", {}, -10.0, -5.0}};
    fp.content = {{1, 1}, {2, 3}};
    fp.install();
    KY_OPTIMIZER s(nullptr, true);
    EXPECT_FALSE(s.LOPTI_);
    EXPECT_EQ(s.outcome(), SolveOutcome::Infeasible);
    EXPECT_TRUE(s.AAUTOBM_[1][0].contains(u'*'));
    EXPECT_TRUE(openProblem().ABMLIST[1][BMACOZUM].contains(u'*'));
}

TEST(Results, NegativeLimitsGiveTheRightOptimum)
{
    // A cation-anion balance of at least -5 and at most -1: B is cheap but positive, A negative.
    ScriptedMessages messages;
    FeedProblem fp;
    fp.ingredients = {ing("A", 20), ing("B", 10)};
    fp.nutrients = {weight(), NutrientSpec{"KAB", {}, -5.0, -1.0}};
    fp.content = {{1, 1}, {-10, 4}};
    fp.install();
    KY_OPTIMIZER s(nullptr, true);
    ASSERT_TRUE(s.LOPTI_);
    // -10 a + 4 (1 - a) = -1 at the cheapest: a = 5/14.
    EXPECT_NEAR(s.shares()[0], 5.0 / 14.0, 1e-9);
    EXPECT_EQ(openProblem().ABMLIST[1][BMACOZUM], "    -1.0000");
    // The maximum binds and raising it lowers the cost: a shadow price below zero.
    EXPECT_EQ(openProblem().ABMLIST[1][BMSPRICE], "   < 0.0000");
    ASSERT_TRUE(s.shadowPrices()[2]);
    EXPECT_NEAR(*s.shadowPrices()[2], -10.0 / 14.0, 1e-7);
}

TEST(Results, TinyRequirementIsMetAfterAll)
{
    // Meeting 0.0001 of N takes half B and costs 5 per unit of mix, more than the shortfall at the
    // big cost (2): the Big-M run stops short, phase one shows that the limit can be met, and the
    // optimum follows.
    ScriptedMessages messages;
    FeedProblem fp;
    fp.ingredients = {ing("A", 10), ing("B", 20)};
    fp.nutrients = {weight(), NutrientSpec{"N", {}, 0.0001, {}}};
    fp.content = {{1, 1}, {0, 0.0002}};
    fp.install();
    KY_OPTIMIZER s(nullptr, true);
    EXPECT_TRUE(s.LOPTI_);
    EXPECT_EQ(s.outcome(), SolveOutcome::Optimum);
    EXPECT_NEAR(s.shares()[1], 0.5, 1e-9);
    EXPECT_EQ(openProblem().NMALIYET, 15.0);
    EXPECT_EQ(s.AAUTOBM_[1], (QStringList{"     0.0001", " 50000.0000"}));
    // Below 0.001 the list shows no value.
    EXPECT_EQ(openProblem().ABMLIST[1][BMACOZUM], kBlank);
}

TEST(Results, ArtificialVariableAtZeroDoesNotSpoilTheOptimum)
{
    ScriptedMessages messages;
    FeedProblem fp;
    fp.ingredients = {ing("A", 10), ing("B", 20, {}, {}, 0.0)};
    fp.nutrients = {weight(), NutrientSpec{"N", {}, 1.0, {}}};
    fp.content = {{1, 1}, {1, 5}};
    fp.install();
    KY_OPTIMIZER s(nullptr, true);
    EXPECT_TRUE(s.LOPTI_);
    EXPECT_EQ(s.shares()[1], 0.0);
    EXPECT_EQ(openProblem().NMALIYET, 10.0);
}

TEST(Results, SecondSolveFillsPreviousAndDifferenceColumns)
{
    ScriptedMessages messages;
    FeedProblem fp;
    fp.ingredients = {ing("A", 10), ing("B", 20), ing("C", 30), ing("D", 100)};
    fp.nutrients = {weight(), NutrientSpec{"N", {}, 2.0, {}}};
    fp.content = {{1, 1, 1, 1}, {1, 3, 2, 0}};
    fp.ratios = {RatioSpec{"N", "AĞIRLIK", {}, 1.0, {}}};
    fp.groups = {GroupSpec{"G", {}, {}, 100.0}};
    fp.membership = {{1, 1, 0, 0}};
    fp.install();
    OpenProblem &p = openProblem();
    const Row before = p.AYMLIST[0];
    { KY_OPTIMIZER s(nullptr, true); }
    EXPECT_EQ(p.AYMLIST[0][YMACOZUM], "     50.000");
    EXPECT_EQ(p.AYMLIST[1][YMACOZUM], "     50.000");
    EXPECT_EQ(p.AYMLIST[0][YMOCOZUM], before[YMOCOZUM]);
    EXPECT_EQ(p.AYMLIST[0][YMCFARKI], before[YMCFARKI]);
    EXPECT_EQ(p.NMALIYET, 15.0);
    EXPECT_EQ(p.NONCEKIMALIYET, 0.0);
    EXPECT_EQ(p.AYMGLIST[0][YMGACOZUM], "    100.000");

    // The second solve: B much dearer, C takes the place of A and B.
    p.AYMLIST[1][YMPRICE] = "     60.000";
    { KY_OPTIMIZER s(nullptr, true); }
    EXPECT_EQ(p.NCOZUMSAYISI, 2);
    EXPECT_EQ(p.NMALIYET, 30.0);
    EXPECT_EQ(p.NONCEKIMALIYET, 15.0);
    EXPECT_EQ(p.AYMLIST[1][YMOCOZUM], "     50.000");
    EXPECT_EQ(p.AYMLIST[1][YMACOZUM], kBlank);
    EXPECT_EQ(p.AYMLIST[1][YMCFARKI], "    -50.000");
    EXPECT_EQ(p.AYMLIST[2][YMACOZUM], "    100.000");
    EXPECT_EQ(p.AYMLIST[2][YMCFARKI], "    100.000");
    // Both results below 0.001: blank, not "0.000".
    EXPECT_EQ(p.AYMLIST[3][YMOCOZUM], kBlank);
    EXPECT_EQ(p.AYMLIST[3][YMACOZUM], kBlank);
    EXPECT_EQ(p.AYMLIST[3][YMCFARKI], kBlank);
    // Equal results give "0.000".
    EXPECT_EQ(p.ABMLIST[1][BMOCOZUM], "     2.0000");
    EXPECT_EQ(p.ABMLIST[1][BMCFARKI], "      0.000");
    EXPECT_EQ(p.ABMOLIST[0][BMOOCOZUM], "     2.0000");
    EXPECT_EQ(p.ABMOLIST[0][BMOCFARKI], "      0.000");
    EXPECT_EQ(p.AYMGLIST[0][YMGOCOZUM], "    100.000");
    EXPECT_EQ(p.AYMGLIST[0][YMGACOZUM], kBlank);
    EXPECT_EQ(p.AYMGLIST[0][YMGCFARKI], "   -100.000");
}

TEST(Results, ZeroCostIsNotCarriedIntoThePreviousCost)
{
    ScriptedMessages messages;
    FeedProblem fp;
    fp.ingredients = {ing("A", 0), ing("B", 20)};
    fp.nutrients = {weight()};
    fp.content = {{1, 1}};
    fp.install();
    OpenProblem &p = openProblem();
    p.NONCEKIMALIYET = 4.0;
    { KY_OPTIMIZER s(nullptr, true); }
    EXPECT_EQ(p.NMALIYET, 0.0);
    EXPECT_EQ(p.NONCEKIMALIYET, 4.0);
    { KY_OPTIMIZER s(nullptr, true); }
    EXPECT_EQ(p.NONCEKIMALIYET, 4.0);
}

TEST(Results, SavedSolutionDifferences)
{
    ScriptedMessages messages;
    FeedProblem fp;
    fp.ingredients = {ing("A", 10), ing("B", 20)};
    fp.nutrients = {weight(), NutrientSpec{"N", {}, 2.0, {}}};
    fp.content = {{1, 1}, {1, 3}};
    fp.install();
    OpenProblem &p = openProblem();
    p.AYMLIST[0][YMKCOZUM] = "     40.000";
    p.AYMLIST[1][YMKCOZUM] = "  *  0.0004";
    p.LYMKCOZUMVAR = true;
    { KY_OPTIMIZER s(nullptr, true); }
    EXPECT_EQ(p.AYMLIST[0][YMKCFARKI], "     10.000");
    EXPECT_EQ(p.AYMLIST[1][YMKCFARKI], "     50.000");
    // Lists without the flag keep their second difference column.
    EXPECT_EQ(p.ABMLIST[1][BMKCFARKI], kBlank);
}

TEST(Results, RatioAndGroupRowsThatTakeNoPart)
{
    ScriptedMessages messages;
    FeedProblem fp;
    fp.ingredients = {ing("A", 10), ing("B", 20)};
    fp.nutrients = {weight(), NutrientSpec{"N", {}, 2.0, {}}};
    fp.content = {{1, 1}, {1, 3}};
    fp.ratios = {RatioSpec{"N", "YOK", {}, 1.0, {}}, RatioSpec{"N", "AĞIRLIK", {}, {}, 3.0}};
    fp.groups = {GroupSpec{"G", {}, 30.0, {}}};
    fp.membership = {{0, 1}};
    fp.install();
    OpenProblem &p = openProblem();
    p.ABMOLIST[0][BMOACOZUM] = "     9.9999";
    p.ABMOLIST.append(Row(BMO_COLUMNS, kBlank));
    p.ABMOLIST.last()[BMONAME1] = "N";
    p.ABMOLIST.last()[BMOACOZUM] = "     1.0000";
    KY_OPTIMIZER s(nullptr, true);
    ASSERT_EQ(s.AAUTOBMO_.size(), 1);
    EXPECT_EQ(p.ABMOLIST[0][BMOACOZUM], "     9.9999"); // a name not found: untouched
    EXPECT_EQ(p.ABMOLIST[1][BMOACOZUM], "     2.0000");
    EXPECT_EQ(p.ABMOLIST[1][BMOSPRICE], "     0.0000");
    EXPECT_EQ(p.ABMOLIST[2][BMOACOZUM], kBlank); // a name empty: blank
    EXPECT_EQ(p.AYMGLIST[0][YMGACOZUM], "     50.000");
    EXPECT_EQ(p.AYMGLIST[0][YMGGFIAT], "     0.0000");
}

TEST(Results, EntryPriceForms)
{
    // A and B are twins; C would enter at its price less its reduced cost: 50 - 40, and at exactly
    // 0 when the twins cost nothing. The twin that the final tableau holds as basic at level 0 is
    // left out and would enter at its own price (which is 0 when the twins cost nothing).
    ScriptedMessages messages;
    const QString expected[2] = {"     10.000", "      0.000"};
    const double prices[2] = {10.0, 0.0};
    for (int k = 0; k < 2; ++k) {
        FeedProblem fp;
        fp.ingredients = {ing("A", prices[k]), ing("B", prices[k]), ing("C", 50)};
        fp.nutrients = {weight(), NutrientSpec{"N", {}, 2.0, {}}};
        fp.content = {{1, 1, 1}, {3, 3, 1}};
        fp.install();
        KY_OPTIMIZER s(nullptr, true);
        ASSERT_TRUE(s.LOPTI_);
        EXPECT_EQ(s.AAUTOYM_[2], (QStringList{kBlank, expected[k]}));
        EXPECT_EQ(s.AAUTOYM_[1], (QStringList{"      0.000", expected[k]}));
        const OpenProblem &p = openProblem();
        EXPECT_EQ(p.AYMLIST[1][YMACOZUM], kBlank);
        EXPECT_EQ(p.AYMLIST[1][YMAZFIAT], expected[k]);
        EXPECT_EQ(p.AYMLIST[2][YMAZFIAT], expected[k]);
    }
}

TEST(Results, ShareTooSmallToShowHasItsEntryPrice)
{
    // B meets a tiny minimum of N alone: 0.0004 per cent of it, which the list shows blank. Its
    // entry price is then shown beside the blank amount: its own price, as for any ingredient in the
    // formula.
    ScriptedMessages messages;
    FeedProblem fp;
    fp.ingredients = {ing("A", 10), ing("B", 20)};
    fp.nutrients = {weight(), NutrientSpec{"N", {}, 0.004, {}}};
    fp.content = {{1, 1}, {0, 1000}};
    fp.install();
    KY_OPTIMIZER s(nullptr, true);
    ASSERT_TRUE(s.LOPTI_);
    ASSERT_NEAR(s.shares()[1], 4e-6, 1e-12);
    EXPECT_EQ(s.AAUTOYM_[1], (QStringList{"      0.000", "     20.000"}));
    EXPECT_EQ(s.AAUTOYM_[0][1], kBlank); // shown in the formula: no entry price
    const OpenProblem &p = openProblem();
    EXPECT_EQ(p.AYMLIST[1][YMACOZUM], kBlank);
    EXPECT_EQ(p.AYMLIST[1][YMAZFIAT], "     20.000");
}
