// Problem files whose stored rows are shaped otherwise than a save of this program leaves them (rows
// wider than the ingredients, an ingredient record after the last one without its name but with its
// column, membership rows of different widths) open, solve, save and solve again as the same problem,
// and GLPK finds the same least cost for what was loaded.
#include "glpk_oracle.h"
#include "solver_fixture.h"

#include "platform/dbf_table.h"
#include "problem/open_problem.h"
#include "problem/problem_file.h"
#include "problem/problem_loader.h"
#include "problem/problem_saver.h"
#include "scripted_messages.h"
#include "solver/ky_optimizer.h"

#include <gtest/gtest.h>

#include <QTemporaryDir>

#include <functional>

using namespace vexo;
using namespace vexo::test;

namespace {

// Changes the file's records in place: `change` gets each record's number (from 1) and its table.
void editRecords(const QString &path, const std::function<void(int, DbfTable &)> &change)
{
    DbfTable t;
    ASSERT_TRUE(t.open(path, false, false));
    for (t.goTop(); !t.eof(); t.skip())
        change(int(t.recNo()), t);
    t.close();
}

// The stored cells of matrix row `record` changed.
void editRow(DbfTable &t, const std::function<void(QStringList &)> &change)
{
    QStringList cells = decodeYmbmat(t.fieldGet(QStringLiteral("YMBMAT")).toString());
    change(cells);
    t.fieldPut(QStringLiteral("YMBMAT"), encodeYmbmat(cells, cells.size()));
}

struct Solved
{
    double cost = 0.0;
    double glpkCost = 0.0;
    QStringList ingredients;
    RowList members; // per group, one cell per ingredient
};

// Opens the file, solves it with the program's solver and with GLPK.
Solved openAndSolve(const QString &path)
{
    Solved out;
    openProblem().reset();
    EXPECT_TRUE(DATAFOPEN(nullptr, path));
    EXPECT_TRUE(AKTPRODIZOLUSTUR(nullptr));
    OpenProblem &p = openProblem();
    out.ingredients = p.AYMADLARI;
    for (const Row &row : p.AGMAT) {
        Row members;
        for (qsizetype i = 0; i < p.AYMADLARI.size(); ++i)
            members << QString::number(row.value(i).trimmed().toDouble());
        out.members << members;
    }
    p.LAMATHAZIR = true;
    const OracleResult o = glpkOracle();
    EXPECT_TRUE(o.optimum);
    out.glpkCost = o.cost;
    KY_OPTIMIZER solver(nullptr, true);
    EXPECT_TRUE(solver.LOPTI_);
    out.cost = p.NMALIYET;
    return out;
}

} // namespace

TEST(StoredRowShapes, OpenSaveAndSolveAsTheProblemTheyHold)
{
    ScriptedMessages messages;
    QTemporaryDir dir;
    const QString plain = dir.filePath(QStringLiteral("DUZ.VKD"));
    threeGroupProblem().saveTo(plain);
    const Solved expected = openAndSolve(plain);
    ASSERT_EQ(expected.ingredients, QStringList({"MISIR", "SOYA", "ARPA"}));
    EXPECT_NEAR(expected.cost, expected.glpkCost, 1e-3);

    // The same problem with a fourth ingredient whose name is gone from its record afterwards.
    FeedProblem withKepek = threeGroupProblem();
    withKepek.ingredients << IngredientSpec{"KEPEK", 0.05, {}, {}, {}};
    for (std::size_t j = 0; j < withKepek.content.size(); ++j)
        withKepek.content[j].push_back(j == 0 ? 1.0 : 15.0);
    for (std::vector<double> &row : withKepek.membership)
        row.push_back(1.0);

    // The records of the three-ingredient file: active rows 1-2, markers and parameters 3-5,
    // membership rows 6-8.
    const struct
    {
        const char *what;
        const FeedProblem *problem;
        std::function<void(int, DbfTable &)> change;
    } cases[] = {
        {"every matrix row a cell wider than the ingredients", nullptr,
         [](int r, DbfTable &t) {
             if (r <= 2 || r >= 6)
                 editRow(t, [](QStringList &cells) { cells << QStringLiteral("7.0"); });
         }},
        {"the last ingredient record nameless, its column stored", &withKepek,
         [](int r, DbfTable &t) {
             if (r == 4)
                 t.fieldPut(QStringLiteral("YMADI"), QString());
         }},
        {"membership rows of different widths", nullptr,
         [](int r, DbfTable &t) {
             if (r == 8) // KARMA: MISIR and SOYA
                 editRow(t, [](QStringList &cells) { cells = cells.mid(0, 2); });
         }},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.what);
        const QString path = dir.filePath(QStringLiteral("BICIM.VKD"));
        QFile::remove(path);
        (c.problem ? *c.problem : threeGroupProblem()).saveTo(path);
        editRecords(path, c.change);

        const Solved opened = openAndSolve(path);
        EXPECT_TRUE(messages.shown().isEmpty());
        EXPECT_EQ(opened.ingredients, expected.ingredients);
        EXPECT_EQ(opened.members, expected.members);
        EXPECT_NEAR(opened.cost, expected.cost, 1e-9);
        EXPECT_NEAR(opened.glpkCost, expected.glpkCost, 1e-9);

        // A whole save, and the file opened again.
        openProblem().setAllDirty(true);
        QString error;
        EXPECT_TRUE(PROBDBFUPDATE(&error)) << error.toStdString();
        const Solved reopened = openAndSolve(path);
        EXPECT_EQ(reopened.ingredients, expected.ingredients);
        EXPECT_EQ(reopened.members, expected.members);
        EXPECT_NEAR(reopened.cost, expected.cost, 1e-9);
        EXPECT_NEAR(reopened.glpkCost, expected.glpkCost, 1e-9);
        openProblem().reset();
    }
}
