// Solving from the ingredient-group window with the real solver: the grid's group shares agree with
// GLPK's values of the group rows.
#include "controls/barray_server.h"
#include "controls/grid_subclasses.h"
#include "glpk_oracle.h"
#include "matrix/group_window.h"
#include "problem/number_text.h"
#include "problem/open_problem.h"
#include "scripted_messages.h"
#include "solver_fixture.h"

#include <gtest/gtest.h>

using namespace vexo;
using namespace vexo::test;

TEST(GroupWindowSolve, GroupSharesAgreeWithGlpk)
{
    ProgressScope progress;
    int compared = 0;
    for (unsigned seed = 1; seed <= 2000 && compared < 10; ++seed) {
        const FeedProblem problem = randomProblem(seed, RandomShape{6, 4, true});
        if (problem.groups.isEmpty())
            continue;
        problem.install();
        OpenProblem &p = openProblem();
        p.LAMATHAZIR = true;
        const OracleResult o = glpkOracle();
        // Only a single optimum says which shares GLPK and the solver must both reach: every
        // ingredient priced, no two at one price, and a non-degenerate basis.
        QList<double> prices;
        for (const IngredientSpec &i : problem.ingredients) {
            if (i.price && *i.price > 0 && !prices.contains(*i.price))
                prices << *i.price;
        }
        if (!o.optimum || !o.nonDegenerate || prices.size() != problem.ingredients.size())
            continue;
        ScriptedMessages messages;
        const RowList membership = p.AGMAT;
        BYM_GRUBU_WIN w;
        w.PBCOZUM();
        ASSERT_EQ(p.CCOZUMDURUMU, QStringLiteral("E")) << "seed " << seed;
        ASSERT_EQ(w.server()->LASTREC(), membership.size());
        for (int g = 0; g < membership.size(); ++g) {
            double share = 0.0;
            for (std::size_t c = 0; c < o.columnOf.size(); ++c) {
                if (membership[g].value(o.columnOf[c]).trimmed().toDouble() == 1.0)
                    share += o.x[c] * 100.0;
            }
            const QString cellText = w.server()->textAt(g + 1, YMGACOZUM + 1);
            EXPECT_NEAR(Val(withoutViolationMark(cellText).trimmed()), share, 0.0015)
                << "seed " << seed << " group " << g << " cell '" << cellText.toStdString() << "'";
            // The window shows what the solver wrote into the group list.
            EXPECT_EQ(cellText, p.AYMGLIST.at(g).at(YMGACOZUM));
        }
        ++compared;
    }
    EXPECT_GE(compared, 5);
}

// A group whose name is cut in the window (Ctrl+X on its name cell) takes no part in the solve: the
// next group keeps its own members, and the results stand on the rows they belong to.
TEST(GroupWindowSolve, AGroupWhoseNameWasCutTakesNoPart)
{
    ProgressScope progress;
    ScriptedMessages messages;
    threeGroupProblem().install();
    OpenProblem &p = openProblem();
    p.LAMATHAZIR = true;
    BYM_GRUBU_WIN w;
    w.server()->GOTO(2);
    w.BROWSER()->setCURRENTCOLUMN(1);
    w.CUT();
    w.PBCOZUM();
    ASSERT_EQ(p.CCOZUMDURUMU, QStringLiteral("E"));
    EXPECT_NEAR(p.NMALIYET, 0.4975, 0.00051);
    EXPECT_EQ(p.AYMGADLARI, QStringList({"TAHIL", "", "KARMA"}));
    const QString shares[] = {QStringLiteral("     65.000"), QString(11, u' '), QStringLiteral("     75.000")};
    for (int r = 1; r <= 3; ++r) {
        EXPECT_EQ(w.server()->textAt(r, YMGACOZUM + 1), shares[r - 1]) << "row " << r;
        EXPECT_EQ(p.AYMGLIST.at(r - 1).at(YMGACOZUM), shares[r - 1]) << "row " << r;
    }
    EXPECT_EQ(w.server()->textAt(2, YMGGFIAT + 1), QString(11, u' '));
    EXPECT_TRUE(messages.shown().isEmpty());
}
