// The two-ingredient example that every step of the solver is checked against: one nutrient with a
// minimum of 20, contents 8 and 44, prices 10 and 30.

#include "solver_fixture.h"

#include "problem/open_problem.h"
#include "scripted_messages.h"

#include <gtest/gtest.h>

#include <vector>

using namespace vexo;
using namespace vexo::test;

namespace {

FeedProblem example()
{
    FeedProblem fp;
    fp.ingredients = {IngredientSpec{QStringLiteral("ARPA"), 10.0, {}, {}, {}},
                      IngredientSpec{QStringLiteral("SOYA"), 30.0, {}, {}, {}}};
    fp.nutrients = {NutrientSpec{QStringLiteral("HP"), {}, 20.0, {}}};
    fp.content = {{8.0, 44.0}};
    return fp;
}

struct Step
{
    std::vector<double> zjcj;
    int entering = 0; // from 1
    std::vector<std::pair<int, double>> ratios;
    int leaving = 0;
    int leavingBasic = 0;
    double pivot = 0.0;
};

class WorkedExample : public ::testing::Test
{
protected:
    void SetUp() override
    {
        example().install();
        KY_OPTIMIZER::setObserver([this](const SimplexTableau &t, SolveEvent e) {
            if (e == SolveEvent::Built) {
                start = t;
            } else if (e == SolveEvent::BeforePivot) {
                Step s;
                s.zjcj = t.zjcj;
                s.entering = t.entering + 1;
                for (int i = 0; i < t.rows(); ++i) {
                    if (t.at(i, t.entering) > 1e-9)
                        s.ratios.emplace_back(i + 1, t.rhs[std::size_t(i)] / t.at(i, t.entering));
                }
                s.leaving = t.leaving + 1;
                s.leavingBasic = t.basis[std::size_t(t.leaving)] + 1;
                s.pivot = t.at(t.leaving, t.entering);
                steps.push_back(s);
            } else {
                last = t;
            }
        });
    }
    void TearDown() override { KY_OPTIMIZER::setObserver(nullptr); }

    ScriptedMessages messages;
    ProgressScope progress;
    SimplexTableau start, last;
    std::vector<Step> steps;
};

void expectRow(const std::vector<double> &got, const std::vector<double> &want, double tol = 1e-8)
{
    ASSERT_EQ(got.size(), want.size());
    for (std::size_t j = 0; j < got.size(); ++j)
        EXPECT_NEAR(got[j], want[j], tol) << "column " << j + 1;
}

} // namespace

TEST_F(WorkedExample, StartingTableau)
{
    KY_OPTIMIZER s(nullptr, true);
    ASSERT_EQ(start.rows(), 3);
    ASSERT_EQ(start.columns(), 8);
    const double want[3][8] = {{8, 44, -1, 0, 0, 1, 0, 0}, {1, 0, 0, -1, 0, 0, 1, 0}, {0, 1, 0, 0, -1, 0, 0, 1}};
    for (int i = 0; i < 3; ++i)
        for (int j = 0; j < 8; ++j)
            EXPECT_EQ(start.at(i, j), want[i][j]) << i << "," << j;
    EXPECT_EQ(start.rhs, (std::vector<double>{20, 0, 0}));
    EXPECT_EQ(start.basis, (std::vector<int>{5, 6, 7}));
    EXPECT_EQ(start.cb, (std::vector<double>{30000, 30000, 30000}));
    EXPECT_EQ(start.cost, (std::vector<double>{10, 30, 0, 0, 0, 30000, 30000, 30000}));
    EXPECT_EQ(s.UBUYUKM(), 30000.0);
    EXPECT_EQ(s.ASATIRADI(), (QStringList{"HP", "ARPA", "SOYA"}));
    EXPECT_EQ(s.ASATIRTIPI(), (QStringList{"Alt", "Alt", "Alt"}));
}

TEST_F(WorkedExample, FourIterations)
{
    KY_OPTIMIZER s(nullptr, true);
    ASSERT_EQ(steps.size(), 3u);
    expectRow(steps[0].zjcj, {269990, 1349970, -30000, -30000, -30000, 0, 0, 0});
    EXPECT_EQ(steps[0].entering, 2);
    ASSERT_EQ(steps[0].ratios.size(), 2u);
    EXPECT_EQ(steps[0].ratios[0].first, 1);
    EXPECT_NEAR(steps[0].ratios[0].second, 0.45454545, 1e-8);
    EXPECT_EQ(steps[0].ratios[1], (std::pair<int, double>{3, 0.0}));
    EXPECT_EQ(steps[0].leaving, 3);
    EXPECT_EQ(steps[0].leavingBasic, 8);
    EXPECT_EQ(steps[0].pivot, 1.0);

    expectRow(steps[1].zjcj, {269990, 0, -30000, -30000, 1319970, 0, 0, -1349970});
    EXPECT_EQ(steps[1].entering, 5);
    ASSERT_EQ(steps[1].ratios.size(), 1u);
    EXPECT_EQ(steps[1].ratios[0].first, 1);
    EXPECT_EQ(steps[1].leaving, 1);
    EXPECT_EQ(steps[1].leavingBasic, 6);
    EXPECT_EQ(steps[1].pivot, 44.0);

    expectRow(steps[2].zjcj, {29995.45454545, 0, -0.68181818, -30000, 0, -29999.31818182, 0, -30000});
    EXPECT_EQ(steps[2].entering, 1);
    ASSERT_EQ(steps[2].ratios.size(), 3u);
    EXPECT_NEAR(steps[2].ratios[0].second, 2.5, 1e-8);
    EXPECT_EQ(steps[2].ratios[1], (std::pair<int, double>{2, 0.0}));
    EXPECT_NEAR(steps[2].ratios[2].second, 2.5, 1e-8);
    EXPECT_EQ(steps[2].leaving, 2);
    EXPECT_EQ(steps[2].leavingBasic, 7);
    EXPECT_EQ(steps[2].pivot, 1.0);

    // The fourth pricing finds no improving column.
    expectRow(last.zjcj, {0, 0, -0.68181818, -4.54545455, 0, -29999.31818182, -29995.45454545, -30000});
    EXPECT_EQ(last.basis, (std::vector<int>{4, 0, 1}));
    expectRow(last.rhs, {0.45454545, 0, 0.45454545});
    EXPECT_EQ(s.iterations(), 4);
}

TEST_F(WorkedExample, SharesCostShadowPriceAndListTexts)
{
    KY_OPTIMIZER s(nullptr, true);
    EXPECT_EQ(s.RESULT(), 1);
    EXPECT_TRUE(s.LOPTI_);
    EXPECT_EQ(s.outcome(), SolveOutcome::Optimum);
    ASSERT_EQ(s.shares().size(), 2u);
    EXPECT_EQ(s.shares()[0], 0.0);
    EXPECT_NEAR(s.shares()[1], 0.45454545, 1e-8);
    EXPECT_NEAR(s.costSum(), 30 * 0.45454545, 1e-6);
    EXPECT_NEAR(last.zj[5], 0.68181818, 1e-12);
    ASSERT_TRUE(s.shadowPrices()[0]);
    EXPECT_NEAR(*s.shadowPrices()[0], 0.68181818, 1e-12);

    // ARPA is left out at level 0 and would enter below 8 times the shadow price of HP.
    EXPECT_EQ(s.AAUTOYM_, (ResultTable{{"      0.000", "      5.455"}, {"     45.455", "           "}}));
    EXPECT_EQ(s.AAUTOBM_, (ResultTable{{"    20.0000", "     0.6818"}}));
    EXPECT_TRUE(s.AAUTOBMO_.isEmpty());
    EXPECT_TRUE(s.AAUTOYMG_.isEmpty());
    EXPECT_EQ(s.NRTIPI_, 0);
    EXPECT_EQ(s.NFORMAT_, 0);

    const OpenProblem &p = openProblem();
    EXPECT_EQ(p.NMALIYET, 13.636);
    EXPECT_EQ(p.NONCEKIMALIYET, 0.0);
    EXPECT_EQ(p.NCOZUMSAYISI, 1);
    EXPECT_TRUE(p.LPRMDEG && p.LYMDEG && p.LBMDEG);
    EXPECT_FALSE(p.LBMODEG || p.LYMGDEG);
    // A basic ingredient at level 0 shows no amount and its entry price.
    EXPECT_EQ(p.AYMLIST[0][YMACOZUM], "           ");
    EXPECT_EQ(p.AYMLIST[0][YMAZFIAT], "      5.455");
    EXPECT_EQ(p.AYMLIST[1][YMACOZUM], "     45.455");
    EXPECT_EQ(p.AYMLIST[1][YMAZFIAT], "           ");
    EXPECT_EQ(p.ABMLIST[0][BMACOZUM], "    20.0000");
    EXPECT_EQ(p.ABMLIST[0][BMSPRICE], "     0.6818");
    EXPECT_EQ(p.ABMLIST[0][BMKMYYUZ], "     0.0000");
    // The first solve fills no previous-result column.
    EXPECT_EQ(p.AYMLIST[1][YMOCOZUM], "           ");
    EXPECT_EQ(p.AYMLIST[1][YMCFARKI], "           ");
    EXPECT_TRUE(messages.shown().isEmpty());
    EXPECT_EQ(progress.log.opened, 1);
    EXPECT_EQ(progress.log.closed, 1);
}
