// A final basis is called an optimum only when it stands against the programme as built: the ratio
// test keeps to pivots that mean something and to right-hand sides at or above 0, the final basis is
// checked against the original rows, a tableau that fails is rebuilt from them, and a basis that still
// fails is no optimum. The generated problems are compared with GLPK; among them the ones on which the
// solver once pivoted on a remnant of rounding and called a formula that broke its limits optimal.

#include "degenerate_problems.h"
#include "glpk_oracle.h"
#include "solver_fixture.h"

#include "problem/number_text.h"
#include "problem/open_problem.h"
#include "scripted_messages.h"
#include "solver/simplex_tableau.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

using namespace vexo;
using namespace vexo::test;

namespace {

// Solves the installed problem with both solvers: the same verdict, the same cost, and a formula
// called optimal meets every limit.
void expectAgreesWithGlpk(const std::string &what)
{
    ScriptedMessages messages;
    const OracleResult o = glpkOracle();
    KY_OPTIMIZER s(nullptr, true);
    ASSERT_EQ(s.RESULT(), 1) << what;
    EXPECT_EQ(s.LOPTI_, o.optimum) << what << ", outcome " << int(s.outcome()) << ", cost " << s.costSum()
                                   << " against " << o.cost;
    if (s.LOPTI_) {
        EXPECT_EQ(s.outcome(), SolveOutcome::Optimum) << what;
        ASSERT_EQ(s.shares().size(), o.columnOf.size()) << what;
        EXPECT_LE(limitBreak(s.shares(), o.columnOf), 1e-7) << what;
    }
    if (s.LOPTI_ && o.optimum) {
        EXPECT_NEAR(s.costSum(), o.cost, 1e-6 * std::max(1.0, std::fabs(o.cost))) << what;
    }
}

} // namespace

TEST(SimplexSoundness, DegenerateProblemWhoseTableauOnceFellApart)
{
    // The ratio test once pivoted on entries of 1e-9 beside entries in the hundreds (remnants of
    // rounding in rows at 0), the right-hand sides went down to -924, and the run ended "optimal" at
    // a cost of 22.153 with about 20 limits broken.
    degenerateProblem(1424, RandomShape{54, 48, true}).install();
    ScriptedMessages messages;
    const OracleResult o = glpkOracle();
    ASSERT_TRUE(o.optimum);
    EXPECT_NEAR(o.cost, 17.057097, 1e-6);
    KY_OPTIMIZER s(nullptr, true);
    ASSERT_EQ(s.RESULT(), 1);
    EXPECT_TRUE(s.LOPTI_);
    EXPECT_EQ(s.outcome(), SolveOutcome::Optimum);
    EXPECT_NEAR(s.costSum(), o.cost, 1e-6 * o.cost);
    EXPECT_LE(limitBreak(s.shares(), o.columnOf), 1e-7);
    for (double v : s.tableau().rhs)
        EXPECT_GE(v, 0.0);
}

TEST(SimplexSoundness, GeneratedProblemsAgreeWithGlpk)
{
    // The problems on which the verdict or the cost once differed from GLPK's (a wrong "optimum", a
    // limit called unmeetable, a cost above the optimum), then runs of seeds of every generator.
    struct Case
    {
        unsigned seed;
        RandomShape shape;
    };
    const Case once[] = {{1385, {54, 48, true}}, {1424, {54, 48, true}}, {5441, {54, 48, true}},
                         {5752, {54, 48, true}}, {8566, {54, 48, true}}, {153, {85, 60, true}},
                         {1476, {85, 60, true}}, {9492, {85, 60, true}}};
    for (const Case &c : once) {
        degenerateProblem(c.seed, c.shape).install();
        expectAgreesWithGlpk("degenerate " + std::to_string(c.shape.ingredients) + " x "
                             + std::to_string(c.shape.nutrients) + " seed " + std::to_string(c.seed));
    }
    for (unsigned seed = 20001; seed <= 20100; ++seed) {
        degenerateProblem(seed, RandomShape{85, 60, true}).install();
        expectAgreesWithGlpk("degenerate 85 x 60 seed " + std::to_string(seed));
    }
    for (unsigned seed = 20001; seed <= 20150; ++seed) {
        degenerateProblem(seed, RandomShape{54, 48, true}).install();
        expectAgreesWithGlpk("degenerate 54 x 48 seed " + std::to_string(seed));
    }
    for (unsigned seed = 20001; seed <= 20200; ++seed) {
        RandomShape shape{6 + int((seed * 37) % 80), 4 + int((seed * 13) % 57), true};
        degenerateProblem(seed, shape).install();
        expectAgreesWithGlpk("degenerate seed " + std::to_string(seed));
    }
    for (unsigned seed = 20001; seed <= 20200; ++seed) {
        RandomShape shape{2 + int((seed * 37) % 84), 1 + int((seed * 13) % 60), seed % 2 == 0};
        randomProblem(seed, shape).install();
        expectAgreesWithGlpk("plain seed " + std::to_string(seed));
    }
    openProblem().reset();
}

namespace {

// The tableau row whose starting right-hand side is `limit`.
int rowWithLimit(const SimplexTableau &t, double limit)
{
    for (int i = 0; i < t.rows(); ++i)
        if (t.rhs[std::size_t(i)] == limit)
            return i;
    return -1;
}

// The four grains with the protein minimum the tableau starts from changed to `protein` (the kept
// programme still says 12): the run solves another problem than the one it is checked against.
struct DriftedRun
{
    bool optimum = false;
    SolveOutcome outcome = SolveOutcome::Refused;
    double cost = 0.0;
    int rebuilds = 0;
    QString proteinMark;
};

DriftedRun runWithProteinMinimum(double protein)
{
    fourGrainProblem().install();
    ScriptedMessages messages;
    DriftedRun out;
    KY_OPTIMIZER::setObserver([&](const SimplexTableau &t, SolveEvent e) {
        if (e == SolveEvent::Built) {
            // The solver's own tableau, changed behind its back as rounding errors would.
            auto &drifting = const_cast<SimplexTableau &>(t);
            const int row = rowWithLimit(t, 12.0);
            ASSERT_GE(row, 0);
            drifting.rhs[std::size_t(row)] = protein;
        } else if (e == SolveEvent::Rebuilt) {
            ++out.rebuilds;
        }
    });
    KY_OPTIMIZER s(nullptr, true);
    KY_OPTIMIZER::setObserver(nullptr);
    EXPECT_EQ(s.RESULT(), 1);
    out.optimum = s.LOPTI_;
    out.outcome = s.outcome();
    out.cost = s.costSum();
    out.proteinMark = s.rowMarks().at(2);
    return out;
}

} // namespace

TEST(SimplexSoundness, ATableauThatDriftedIsRebuiltAndGoesOnToTheOptimum)
{
    // Protein 12.5 instead of 12: the final basis of that problem is feasible for the real one too;
    // the check finds the values wrong, the rebuilt tableau holds the real ones and the run goes on
    // to the real optimum.
    const DriftedRun run = runWithProteinMinimum(12.5);
    EXPECT_GE(run.rebuilds, 1);
    EXPECT_TRUE(run.optimum);
    EXPECT_EQ(run.outcome, SolveOutcome::Optimum);
    EXPECT_NEAR(run.cost, 10.361, 5e-4);
    EXPECT_FALSE(run.proteinMark.contains(u'*'));
    openProblem().reset();
}

TEST(SimplexSoundness, ABasisThatCannotBeConfirmedIsNoOptimumAndTheRunStartsOver)
{
    // Protein 6 instead of 12: the run ends on all barley, whose protein (11.25) is below the real
    // minimum. Rebuilt from the programme, the basis holds a value below 0: it is no optimum, and it
    // proves nothing either, so the run starts over from the programme and reaches the real optimum.
    const DriftedRun run = runWithProteinMinimum(6.0);
    EXPECT_GE(run.rebuilds, 1);
    EXPECT_TRUE(run.optimum);
    EXPECT_EQ(run.outcome, SolveOutcome::Optimum);
    EXPECT_NEAR(run.cost, 10.361, 5e-4);
    EXPECT_FALSE(run.proteinMark.contains(u'*'));
    openProblem().reset();
}

TEST(SimplexSoundness, RatioTestLeavesOutEntriesThatAreRemnantsOfRounding)
{
    // Row 0's entry is 5e-9 beside -500 in the same column: it takes no part, although its ratio is
    // 0. Row 1 leaves; row 0 moves by 5e-10, which is no fall below 0.
    SimplexTableau t = tableauOf({{5e-9, 1, 0, 0}, {300, 0, 1, 0}, {-500, 0, 0, 1}}, {0, 30, 1}, {1, 2, 3}, {-1, 0, 0, 0});
    t.entering = 0;
    ASSERT_TRUE(t.HESTETA());
    EXPECT_EQ(t.leaving, 1);
    t.TABLODEGIS();
    EXPECT_EQ(t.rhs[0], 0.0);
    EXPECT_EQ(t.rhs[1], 0.1);
    // Beside entries of about 1 the same entry takes part, and its ratio of 0 wins.
    SimplexTableau u = tableauOf({{5e-9, 1, 0}, {1, 0, 1}}, {0, 30}, {1, 2}, {-1, 0, 0});
    u.entering = 0;
    ASSERT_TRUE(u.HESTETA());
    EXPECT_EQ(u.leaving, 0);
}

TEST(SimplexSoundness, RatioTestBoundsTheStepOfARightHandSideNearZero)
{
    // Row 0's right-hand side is below 1e-9 and counts as a ratio of 0, but the step it would take is
    // 5e-10 / 2e-8 = 0.025, past row 1's 0.01: row 1 would fall to -0.015. Row 1 leaves instead, and
    // row 0 stays at or above 0.
    SimplexTableau t = tableauOf({{2e-8, 1, 0}, {1, 0, 1}}, {5e-10, 0.01}, {1, 2}, {-1, 0, 0});
    t.entering = 0;
    ASSERT_TRUE(t.HESTETA());
    EXPECT_EQ(t.leaving, 1);
    EXPECT_FALSE(t.lastPivotDegenerate);
    t.TABLODEGIS();
    for (double v : t.rhs)
        EXPECT_GE(v, 0.0);
}

TEST(SimplexSoundness, PivotTurnsAHairBelowZeroIntoZeroAndKeepsWhatIsMore)
{
    // Row 1: 0.3 - 0.3000000005 = -5e-10 becomes 0; row 2: 0.3 - 0.3000000005 * 1.00000001 = -3.5e-9
    // stays, so the check of the final basis sees it.
    SimplexTableau t = tableauOf({{1, 1, 0, 0}, {1, 0, 1, 0}, {1.00000001, 0, 0, 1}}, {0.3000000005, 0.3, 0.3},
                            {1, 2, 3}, {0, 0, 0, 0});
    t.pivot(0, 0);
    EXPECT_EQ(t.rhs[1], 0.0);
    EXPECT_LT(t.rhs[2], -1e-9);
}

namespace {

// min -x - y with x + 2y <= 4, 3x + y <= 6 (slacks 2 and 3): the optimum is x = 1.6, y = 1.2.
SimplexTableau smallProgramme()
{
    SimplexTableau t = tableauOf({{1, 2, 1, 0}, {3, 1, 0, 1}}, {4, 6}, {2, 3}, {-1, -1, 0, 0});
    t.keepOriginal();
    return t;
}

void runToOptimum(SimplexTableau &t)
{
    for (int pass = 0; pass < 20; ++pass) {
        t.KRITER();
        if (t.HEPSI())
            return;
        ASSERT_TRUE(t.GVEKTOR());
        ASSERT_TRUE(t.HESTETA());
        t.TABLODEGIS();
    }
    FAIL() << "no optimum";
}

} // namespace

TEST(SimplexSoundness, CheckAgainstTheOriginalRowsAndRebuild)
{
    SimplexTableau t = smallProgramme();
    runToOptimum(t);
    ASSERT_FALSE(::testing::Test::HasFatalFailure());
    SimplexTableau::Soundness s = t.soundness();
    EXPECT_TRUE(s.accurate());
    EXPECT_TRUE(s.optimal());
    const SimplexTableau good = t;

    // A value that drifted: the rows are no longer met.
    t.rhs[0] += 0.01;
    s = t.soundness();
    EXPECT_GT(s.residual, 1e-3);
    EXPECT_FALSE(s.accurate());
    // An entry of the basis inverse that drifted: the shadow prices no longer price the basic
    // columns out.
    t.rhs = good.rhs;
    const int slackRow0 = 2;
    t.set(0, slackRow0, t.at(0, slackRow0) + 0.05);
    t.indexRows();
    t.KRITER();
    EXPECT_GT(t.soundness().basicCost, 1e-3);
    EXPECT_FALSE(t.soundness().optimal());

    ASSERT_TRUE(t.rebuild());
    t.KRITER();
    EXPECT_TRUE(t.soundness().optimal());
    std::vector<int> before = good.basis, after = t.basis;
    std::sort(before.begin(), before.end());
    std::sort(after.begin(), after.end());
    EXPECT_EQ(after, before);
    for (int i = 0; i < t.rows(); ++i) {
        const int b = t.basis[std::size_t(i)];
        const auto k = std::size_t(std::find(good.basis.begin(), good.basis.end(), b) - good.basis.begin());
        EXPECT_NEAR(t.rhs[std::size_t(i)], good.rhs[k], 1e-12);
        for (int j = 0; j < t.columns(); ++j)
            EXPECT_NEAR(t.at(i, j), good.at(int(k), j), 1e-12);
    }
    // An improving column left: not optimal, though accurate.
    SimplexTableau start = smallProgramme();
    start.KRITER();
    EXPECT_TRUE(start.soundness().accurate());
    EXPECT_FALSE(start.soundness().optimal());
}

TEST(SimplexSoundness, RebuildLeavesOutADependentColumnAndTellsAValueBelowZero)
{
    // Columns 0 and 1 are the same column: a basis of both cannot be rebuilt; one is left out and its
    // row keeps its starting slack.
    SimplexTableau t = tableauOf({{1, 1, 1, 0}, {2, 2, 0, 1}}, {4, 6}, {2, 3}, {-1, -1, 0, 0});
    t.keepOriginal();
    t.basis = {0, 1};
    const bool feasible = t.rebuild();
    int slacks = 0;
    for (int b : t.basis)
        slacks += b >= 2 ? 1 : 0;
    EXPECT_EQ(slacks, 1);
    // The basis {column 0, slack of row 0}: x = 3 and the slack 4 - 3 = 1, at or above 0.
    EXPECT_TRUE(feasible);
    EXPECT_TRUE(t.soundness().accurate());

    // x + 2y <= 4 and 3x + y <= 6 with y and the first slack basic: y = 6 from the second row, and
    // the first slack 4 - 12 = -8.
    SimplexTableau u = tableauOf({{1, 2, 1, 0}, {3, 1, 0, 1}}, {4, 6}, {2, 3}, {-1, -1, 0, 0});
    u.keepOriginal();
    u.basis = {1, 2};
    EXPECT_FALSE(u.rebuild());
    EXPECT_TRUE(u.soundness().residual < 1e-12);
    EXPECT_NEAR(*std::min_element(u.rhs.begin(), u.rhs.end()), -8.0, 1e-12);
}
