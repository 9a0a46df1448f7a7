// A problem's group memberships survive a save and an opening unchanged, whatever the widths of
// their rows in the file: the least cost GLPK finds for the problem is the same before and after.
#include "glpk_oracle.h"
#include "problem/open_problem.h"
#include "problem/problem_file.h"
#include "problem/problem_loader.h"
#include "problem/problem_saver.h"
#include "scripted_messages.h"
#include "solver_fixture.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace vexo;
using namespace vexo::test;

namespace {

// Each group's members, as numbers, one per ingredient.
std::vector<std::vector<double>> members()
{
    const OpenProblem &p = openProblem();
    std::vector<std::vector<double>> out;
    for (const Row &row : p.AGMAT) {
        std::vector<double> m;
        for (qsizetype i = 0; i < p.AYMLIST.size(); ++i)
            m.push_back(row.value(i).trimmed().toDouble());
        out.push_back(m);
    }
    return out;
}

bool reopen(const QString &path)
{
    openProblem().reset();
    return DATAFOPEN(nullptr, path) && AKTPRODIZOLUSTUR(nullptr);
}

} // namespace

// The three groups over MISIR, SOYA and ARPA, with the first membership row stored one cell short
// (ARPA, the last ingredient, is no member of KARMA), as files written by other versions hold them.
// A save cut every row to the first row's width: ARPA dropped out of TAHIL and PROTEIN, and the next
// solve ignored their limits on it while the save said saved.
TEST(MembershipSave, RowsOfDifferentWidthsSurviveSaveAndOpen)
{
    ScriptedMessages messages;
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString path = dir.filePath(QStringLiteral("GRUPLAR.VKD"));
    FeedProblem problem = threeGroupProblem();
    std::rotate(problem.groups.begin(), problem.groups.begin() + 2, problem.groups.end());
    std::rotate(problem.membership.begin(), problem.membership.begin() + 2, problem.membership.end());
    problem.install();
    OpenProblem &p = openProblem();
    ASSERT_EQ(p.AYMGADLARI.value(0), QStringLiteral("KARMA"));
    p.AGMAT[0] = p.AGMAT[0].mid(0, 2);
    const std::vector<std::vector<double>> before = members();
    const OracleResult solved = glpkOracle();
    ASSERT_TRUE(solved.optimum);

    ASSERT_TRUE(DATAFILECREATE(nullptr, path));
    ASSERT_TRUE(DATAFOPEN(nullptr, path));
    p.setAllDirty(true);
    QString why;
    ASSERT_TRUE(PROBDBFUPDATE(&why)) << why.toStdString();
    for (int round = 0; round < 2; ++round) {
        ASSERT_TRUE(reopen(path)) << "round " << round;
        EXPECT_EQ(members(), before) << "round " << round;
        const OracleResult again = glpkOracle();
        ASSERT_TRUE(again.optimum) << "round " << round;
        EXPECT_NEAR(again.cost, solved.cost, 1e-9) << "round " << round;
        // Saved again as it was opened: the memberships stay.
        p.setAllDirty(true);
        ASSERT_TRUE(PROBDBFUPDATE(&why)) << why.toStdString();
    }
    openProblem().reset();
}
