// The entry price of an ingredient left out of an optimal formula ("Azami Fiyat", and the detailed
// report's GİMFD beside it) is the price below which it enters: on a degenerate optimum, the least
// it is worth over every optimal set of shadow prices, whatever basis the solve ends on. GLPK finds
// that least worth its own way, over the optimal face of the dual, and re-solving with the price
// moved a little either side shows the ingredient entering below it and staying out above it.

#include "degenerate_problems.h"
#include "glpk_oracle.h"
#include "solver_fixture.h"

#include "problem/number_text.h"
#include "problem/open_problem.h"
#include "scripted_messages.h"
#include "solver/report_detailed.h"
#include "solver/report_input.h"

#include <gtest/gtest.h>

#include <QDateTime>

#include <cmath>
#include <limits>
#include <string>
#include <utility>

using namespace vexo;
using namespace vexo::test;

namespace {

const QString kBlank(11, u' ');

IngredientSpec ing(const char *name, double price, Opt max = {}, Opt fix = {})
{
    return IngredientSpec{QString::fromUtf8(name), price, fix, {}, max};
}

NutrientSpec weight()
{
    return NutrientSpec{"AĞIRLIK", 1.0, {}, {}, "Kg/Kg"};
}

// The text the list shows for an entry price.
QString entryText(double m)
{
    if (m >= 0.0005)
        return Str(m, 11, 3);
    if (m <= -0.0005)
        return QStringLiteral("    < 0.000");
    return QStringLiteral("      0.000");
}

// The detailed report's line of a left-out ingredient (its name, price, GİMFD and maximum price).
QString leftOutLine(const KY_OPTIMIZER &s, const QString &name)
{
    const QString text = detailedReportText(reportInputFrom(s), QDateTime(QDate(2026, 3, 14), QTime(9, 0)));
    const QString start = QString(10, u' ') + name.leftJustified(25) + u' ';
    const QString b = QStringLiteral("b) Seçilmeyen Yem Maddeleri:");
    for (const QString &line : text.mid(text.indexOf(b)).split(QStringLiteral("\r\n"))) {
        if (line.startsWith(start))
            return line.trimmed();
    }
    return QStringLiteral("<missing>");
}

// Re-solved by GLPK with the ingredient's price just below and just above `threshold`: below it the
// ingredient enters (and the cost does not rise); above it no formula costs less than the optimum
// (the ingredient in it or not: where the price barely pays GLPK may stop a hair above the optimum
// with some of it in).
void expectEntersBelowOnly(int column, double threshold, double cost, bool dropOwnLimits, const std::string &what)
{
    const double step = 1e-3 * (1.0 + std::fabs(threshold));
    const auto below = glpkRepriced(column, threshold - step, dropOwnLimits);
    const auto above = glpkRepriced(column, threshold + step, dropOwnLimits);
    ASSERT_TRUE(below && above) << what;
    EXPECT_GT(below->share, 1e-7) << what << ": stays out below " << threshold;
    EXPECT_LE(below->cost, cost + 1e-9 * (1.0 + std::fabs(cost))) << what;
    EXPECT_NEAR(above->cost, cost, 1e-7 * (1.0 + std::fabs(cost))) << what << ": cheaper above " << threshold;
}

// The final tableau holds a basic variable a hair above 0 (see GLPK's nearlyOnABound).
bool nearlyOnABound(const KY_OPTIMIZER &s)
{
    for (double v : s.tableau().rhs) {
        if (std::fabs(v) > 1e-9 && std::fabs(v) < 1e-6)
            return true;
    }
    return false;
}

// The problem of the first test below: A, C, F, D under the weight, P at least 5 and Q at most 5.
FeedProblem degenerateFourIngredients()
{
    FeedProblem fp;
    fp.ingredients = {ing("A", 10), ing("C", 0), ing("F", 20), ing("D", 8)};
    fp.nutrients = {weight(), NutrientSpec{"P", {}, 5.0, {}}, NutrientSpec{"Q", {}, {}, 5.0}};
    fp.content = {{1, 1, 1, 1}, {10, 0, 10, 5}, {10, 0, 5, 10}};
    return fp;
}

} // namespace

// A and C meet P at least 5 and Q at most 5 together, and the weight row makes three binding rows
// for two ingredients: the optimum is degenerate. Its shadow prices are P 1 + t and Q -t for any t
// from 0 to 2 (the weight's is 0): F (P 10, Q 5) is worth 10 + 5t, D (P 5, Q 10) 5 - 5t. Whichever
// basis the solve ends on, one of them was shown at the far end of that range: F entering at 20
// though it enters only below 10, or D at 5 though it stays out down to -5.
TEST(EntryPrices, DegenerateOptimumShowsTheLeastWorthNotTheBasis)
{
    ScriptedMessages messages;
    degenerateFourIngredients().install();
    const OracleResult o = glpkOracle();
    ASSERT_TRUE(o.optimum);
    ASSERT_FALSE(o.nonDegenerate);
    KY_OPTIMIZER s(nullptr, true);
    ASSERT_TRUE(s.LOPTI_);
    EXPECT_NEAR(s.costSum(), 5.0, 1e-9);
    EXPECT_EQ(s.entryPrices()[2], 10.0);
    EXPECT_EQ(s.entryPrices()[3], -5.0);
    const OpenProblem &p = openProblem();
    EXPECT_EQ(p.AYMLIST[2][YMAZFIAT], "     10.000");
    EXPECT_EQ(p.AYMLIST[3][YMAZFIAT], "    < 0.000");
    // GİMFD: how far the price must fall.
    EXPECT_EQ(leftOutLine(s, "F"), "F                              20.000       10.0000      10.000");
    EXPECT_EQ(leftOutLine(s, "D"), "D                               8.000       13.0000     < 0.000");

    const auto exact = glpkEntryThresholds({2, 3});
    ASSERT_TRUE(exact[0] && exact[1]);
    EXPECT_NEAR(*exact[0], 10.0, 1e-9);
    EXPECT_NEAR(*exact[1], -5.0, 1e-9);
    expectEntersBelowOnly(2, 10.0, 5.0, false, "F");
    expectEntersBelowOnly(3, -5.0, 5.0, false, "D");
    // Where the final basis may have put them, they stay out.
    for (const auto &[column, price] : {std::pair{2, 19.9}, std::pair{2, 10.1}, std::pair{3, 4.9}, std::pair{3, -4.9}}) {
        const auto r = glpkRepriced(column, price, false);
        ASSERT_TRUE(r);
        EXPECT_EQ(r->share, 0.0) << column << " at " << price;
        EXPECT_NEAR(r->cost, 5.0, 1e-12) << column << " at " << price;
    }
    openProblem().reset();
}

// The same problem with the entry-price programme allowed no pass: an entry price it would have to
// settle is no number at all (blank in the list, no GİMFD or maximum price in the report), never the
// final basis's guess.
TEST(EntryPrices, AnEntryPriceNotSettledWithinThePassesShowsNoNumber)
{
    ScriptedMessages messages;
    degenerateFourIngredients().install();
    const SimplexLimits saved = simplexLimits();
    simplexLimits().entryPricePassCap = 0;
    KY_OPTIMIZER s(nullptr, true);
    simplexLimits() = saved;
    ASSERT_TRUE(s.LOPTI_);
    const OpenProblem &p = openProblem();
    int unsettled = 0;
    for (int c : {2, 3}) {
        const QString name = c == 2 ? QStringLiteral("F") : QStringLiteral("D");
        if (!std::isnan(s.entryPrices()[std::size_t(c)]))
            continue;
        ++unsettled;
        EXPECT_EQ(p.AYMLIST[c][YMAZFIAT], kBlank) << c;
        EXPECT_EQ(leftOutLine(s, name), name.leftJustified(25) + u' ' + Str(c == 2 ? 20.0 : 8.0, 11, 3));
    }
    EXPECT_GE(unsettled, 1);
    openProblem().reset();
}

// An ingredient kept out only by its own limit of 0 (a maximum of 0, or fixed at 0) shows the price
// up to which it would pay if its limit let it in: what it is worth at the other rows' shadow prices.
// K is worth 30 (P at 1 a unit) at a price of 20, or 45 at 10; a price less the reduced cost's
// magnitude made that 10 and "< 0.000".
TEST(EntryPrices, OwnLimitOfZeroShowsWhatTheIngredientIsWorth)
{
    ScriptedMessages messages;
    const struct
    {
        const char *what;
        double price, content;
        Opt max, fix;
        const char *list;
        const char *line;
    } cases[] = {
        {"maximum 0", 20.0, 30.0, 0.0, {}, "     30.000", "K                              20.000      -10.0000      30.000"},
        {"fixed 0", 20.0, 30.0, {}, 0.0, "     30.000", "K                              20.000      -10.0000      30.000"},
        {"worth over twice its price", 10.0, 45.0, 0.0, {}, "     45.000",
         "K                              10.000      -35.0000      45.000"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.what);
        FeedProblem fp;
        fp.ingredients = {ing("A", 10), ing("C", 0), ing("K", c.price, c.max, c.fix)};
        fp.nutrients = {weight(), NutrientSpec{"P", {}, 5.0, {}}};
        fp.content = {{1, 1, 1}, {10, 0, c.content}};
        fp.install();
        KY_OPTIMIZER s(nullptr, true);
        ASSERT_TRUE(s.LOPTI_);
        EXPECT_NEAR(s.costSum(), 5.0, 1e-9);
        ASSERT_EQ(s.shares()[2], 0.0);
        EXPECT_EQ(s.AAUTOYM_[2][1], QString::fromUtf8(c.list));
        EXPECT_EQ(openProblem().AYMLIST[2][YMAZFIAT], QString::fromUtf8(c.list));
        EXPECT_EQ(leftOutLine(s, "K"), QString::fromUtf8(c.line));
        const auto exact = glpkEntryThresholds({2});
        ASSERT_TRUE(exact[0]);
        EXPECT_NEAR(*exact[0], c.content, 1e-9);
        // With the limit gone, it enters below its worth and not above.
        expectEntersBelowOnly(2, c.content, 5.0, true, c.what);
        const auto above = glpkRepriced(2, c.content + 0.1, true);
        ASSERT_TRUE(above);
        EXPECT_EQ(above->share, 0.0);
    }
    openProblem().reset();
}

// An ingredient that no price lets in: it carries the only Q, and Q may not be above 0.
TEST(EntryPrices, NoPriceLetsItIn)
{
    ScriptedMessages messages;
    FeedProblem fp;
    fp.ingredients = {ing("A", 10), ing("C", 0), ing("Z", 3)};
    fp.nutrients = {weight(), NutrientSpec{"P", {}, 5.0, {}}, NutrientSpec{"Q", {}, {}, 0.0}};
    fp.content = {{1, 1, 1}, {10, 0, 10}, {0, 0, 1}};
    fp.install();
    KY_OPTIMIZER s(nullptr, true);
    ASSERT_TRUE(s.LOPTI_);
    EXPECT_EQ(s.entryPrices()[2], -std::numeric_limits<double>::infinity());
    EXPECT_EQ(openProblem().AYMLIST[2][YMAZFIAT], "    < 0.000");
    EXPECT_EQ(leftOutLine(s, "Z"), "Z                               3.000 *************     < 0.000");
    const auto exact = glpkEntryThresholds({2});
    ASSERT_TRUE(exact[0]);
    EXPECT_EQ(*exact[0], -std::numeric_limits<double>::infinity());
    const auto cheap = glpkRepriced(2, -1e6, false);
    ASSERT_TRUE(cheap);
    EXPECT_LT(cheap->share, 1e-9);
    openProblem().reset();
}

// Seeded degenerate problems of every size up to the file format's 85 x 60 (twins, blends, own
// limits of 0, a group maximum equal to its member's, rows tight at the optimum): every entry price
// of every left-out ingredient is GLPK's least worth over the optimal face, and the list says so.
// Many of them differ from what the final basis alone gives.
TEST(EntryPrices, SeededDegenerateProblemsMatchTheLeastWorthOverTheOptimalFace)
{
    ScriptedMessages messages;
    int problems = 0, unclear = 0, compared = 0, basisAbove = 0, farAbove = 0, neverEnter = 0, worthAbovePrice = 0,
        repriced = 0;
    for (unsigned seed = 1; seed <= 400; ++seed) {
        RandomShape shape;
        shape.ingredients = 6 + int((seed * 37) % 80);
        shape.nutrients = 4 + int((seed * 13) % 57);
        const FeedProblem fp = degenerateProblem(seed, shape);
        ASSERT_LE(fp.ingredients.size(), 85) << seed;
        ASSERT_LE(fp.nutrients.size(), 60) << seed;
        fp.install();
        const OracleResult o = glpkOracle();
        KY_OPTIMIZER s(nullptr, true);
        ASSERT_EQ(s.RESULT(), 1) << seed;
        ASSERT_EQ(s.LOPTI_, o.optimum) << seed;
        if (!o.optimum)
            continue;
        ASSERT_NEAR(s.costSum(), o.cost, 1e-6 * (1.0 + std::fabs(o.cost))) << seed;
        // A formula with a value a hair off a bound: whether it is on it (and with it the optimal
        // face) depends on the tolerance, which differs between the two solvers.
        if (o.nearlyOnABound || nearlyOnABound(s)) {
            ++unclear;
            continue;
        }
        ++problems;
        std::vector<int> leftOut;
        for (std::size_t c = 0; c < s.shares().size(); ++c) {
            if (s.shares()[c] == 0.0)
                leftOut.push_back(int(c));
        }
        const auto exact = glpkEntryThresholds(leftOut);
        int checkedHere = 0;
        for (std::size_t k = 0; k < leftOut.size(); ++k) {
            const auto c = std::size_t(leftOut[k]);
            const std::string what = "seed " + std::to_string(seed) + " column " + std::to_string(c);
            ASSERT_TRUE(exact[k]) << what;
            const double want = *exact[k];
            const double ours = s.entryPrices()[c];
            const double price = s.AMALIYET()[c];
            ++compared;
            if (std::isinf(want)) {
                EXPECT_EQ(ours, want) << what;
                ++neverEnter;
            } else {
                // The shadow prices are sums of products rounded to 8 decimals: the tolerance of the
                // reduced costs against GLPK's.
                EXPECT_NEAR(ours, want, 1e-5 * (1.0 + std::fabs(price))) << what;
            }
            worthAbovePrice += want > price + 1e-6 ? 1 : 0;
            // What the final basis alone gave.
            const double basis = price - std::fabs(s.reducedCosts()[c]);
            basisAbove += basis > want + 1e-3 * (1.0 + std::fabs(want)) ? 1 : 0;
            farAbove += basis > want + 1.0 ? 1 : 0;
            const QString text = s.AAUTOYM_[qsizetype(c)][1];
            // The text, unless the number lies too near 0 or a rounding boundary to tell.
            const double thousandths = std::fabs(want * 1000.0);
            if (std::isinf(want) || (std::fabs(want) > 1e-4 && std::fabs(thousandths - std::floor(thousandths) - 0.5) > 0.05)) {
                EXPECT_EQ(text, entryText(want)) << what;
            }
            // A few re-solved with the price moved either side.
            if (std::isfinite(want) && checkedHere < 2 && basis > want + 1e-3 * (1.0 + std::fabs(want))) {
                const QString &name = s.AYMADI()[qsizetype(c)];
                bool ownZero = false;
                for (const IngredientSpec &i : fp.ingredients) {
                    if (i.name == name)
                        ownZero = (i.max && *i.max == 0.0) || (i.fix && *i.fix == 0.0);
                }
                expectEntersBelowOnly(int(c), want, o.cost, ownZero, what);
                ++checkedHere;
                ++repriced;
            }
        }
        if (::testing::Test::HasFatalFailure())
            return;
    }
    std::printf("problems %d (a value a hair off a bound: %d more), entry prices compared %d, the basis's above "
                "the least %d (by more than 1: %d), no price lets in %d, worth above the price %d, re-solved %d\n",
                problems, unclear, compared, basisAbove, farAbove, neverEnter, worthAbovePrice, repriced);
    EXPECT_GT(problems, 100);
    EXPECT_LT(unclear, problems / 10);
    EXPECT_GT(basisAbove, 100);
    EXPECT_GT(farAbove, 20);
    EXPECT_GT(worthAbovePrice, 5);
    EXPECT_GT(repriced, 50);
    openProblem().reset();
}
