// Solving from the ingredient-group window with the real solver: the grid's group shares agree with
// GLPK's values of the group rows.
#include "controls/barray_server.h"
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
