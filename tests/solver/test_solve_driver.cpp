// End to end: problems written to a data file, solved by the headless driver, and compared with
// the same file solved in this process and by GLPK.

#include "glpk_oracle.h"
#include "solver_fixture.h"

#include "problem/open_problem.h"
#include "problem/problem_file.h"
#include "problem/problem_loader.h"
#include "problem/problem_saver.h"
#include "scripted_messages.h"

#include <gtest/gtest.h>

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>

#include <cmath>

using namespace vexo;
using namespace vexo::test;

namespace {

void saveAs(const FeedProblem &fp, const QString &path)
{
    fp.install();
    ASSERT_TRUE(DATAFILECREATE(nullptr, path));
    ASSERT_TRUE(DATAFOPEN(nullptr, path));
    OpenProblem &p = openProblem();
    p.setAllDirty(true);
    QString error;
    ASSERT_TRUE(PROBDBFUPDATE(&error)) << error.toStdString();
    p.reset();
}

QJsonObject runDriver(const QString &path, int *exitCode)
{
    QProcess process;
    process.start(QStringLiteral(VEXO_SOLVE_DRIVER), {path});
    process.waitForFinished(60000);
    *exitCode = process.exitCode();
    return QJsonDocument::fromJson(process.readAllStandardOutput()).object();
}

FeedProblem workedExample()
{
    FeedProblem fp;
    fp.ingredients = {IngredientSpec{"ARPA", 10.0, {}, {}, {}}, IngredientSpec{"SOYA", 30.0, {}, {}, {}}};
    fp.nutrients = {NutrientSpec{"HP", {}, 20.0, {}}};
    fp.content = {{8.0, 44.0}};
    return fp;
}

} // namespace

TEST(SolveDriver, WorkedExampleAsJson)
{
    ScriptedMessages messages;
    QTemporaryDir dir;
    const QString path = dir.filePath("ORNEK.VKD");
    saveAs(workedExample(), path);
    int code = -1;
    const QJsonObject out = runDriver(path, &code);
    EXPECT_EQ(code, 0);
    EXPECT_EQ(out["outcome"].toString(), "optimum");
    EXPECT_EQ(out["result"].toInt(), 1);
    EXPECT_TRUE(out["optimum"].toBool());
    EXPECT_EQ(out["iterations"].toInt(), 4);
    EXPECT_EQ(out["cost"].toDouble(), 13.636);
    EXPECT_EQ(out["status"].toString(), "E");
    const QJsonArray ym = out["ingredients"].toArray();
    ASSERT_EQ(ym.size(), 2);
    EXPECT_EQ(ym[1].toObject()["YMACOZUM"].toString(), "     45.455");
    EXPECT_EQ(ym[0].toObject()["YMAZFIAT"].toString(), "      0.000");
    const QJsonArray bm = out["nutrients"].toArray();
    ASSERT_EQ(bm.size(), 1);
    EXPECT_EQ(bm[0].toObject()["BMACOZUM"].toString(), "    20.0000");
    EXPECT_EQ(bm[0].toObject()["BMSPRICE"].toString(), "     0.6818");
    EXPECT_TRUE(out["messages"].toArray().isEmpty());
}

TEST(SolveDriver, RandomProblemsMatchTheInProcessSolveAndGlpk)
{
    QTemporaryDir dir;
    int optimum = 0, infeasible = 0;
    for (unsigned seed = 501; seed <= 512; ++seed) {
        ScriptedMessages messages;
        const QString path = dir.filePath(QStringLiteral("P%1.VKD").arg(seed));
        RandomShape shape{10 + int(seed % 40), 5 + int(seed % 20), true};
        saveAs(randomProblem(seed, shape), path);
        int code = -1;
        const QJsonObject out = runDriver(path, &code);

        // The same file, loaded and solved here.
        ASSERT_TRUE(DATAFOPEN(nullptr, path));
        ASSERT_TRUE(AKTPRODIZOLUSTUR(nullptr));
        const OracleResult o = glpkOracle();
        KY_OPTIMIZER s(nullptr, true);
        const OpenProblem &p = openProblem();
        EXPECT_EQ(code, s.RESULT() == 1 ? 0 : 1) << seed;
        EXPECT_EQ(out["optimum"].toBool(), s.LOPTI_) << seed;
        EXPECT_EQ(out["optimum"].toBool(), o.optimum) << seed;
        EXPECT_EQ(out["cost"].toDouble(), p.NMALIYET) << seed;
        if (o.optimum) {
            ++optimum;
            EXPECT_NEAR(out["costSum"].toDouble(), o.cost, 1e-6 * std::max(1.0, std::fabs(o.cost))) << seed;
        } else {
            ++infeasible;
        }
        const QJsonArray ym = out["ingredients"].toArray();
        ASSERT_EQ(ym.size(), p.AYMLIST.size());
        for (int n = 0; n < ym.size(); ++n) {
            EXPECT_EQ(ym[n].toObject()["YMACOZUM"].toString(), p.AYMLIST[n][YMACOZUM]) << seed;
            EXPECT_EQ(ym[n].toObject()["YMAZFIAT"].toString(), p.AYMLIST[n][YMAZFIAT]) << seed;
        }
        const QJsonArray bm = out["nutrients"].toArray();
        ASSERT_EQ(bm.size(), p.ABMLIST.size());
        for (int n = 0; n < bm.size(); ++n) {
            EXPECT_EQ(bm[n].toObject()["BMACOZUM"].toString(), p.ABMLIST[n][BMACOZUM]) << seed;
            EXPECT_EQ(bm[n].toObject()["BMSPRICE"].toString(), p.ABMLIST[n][BMSPRICE]) << seed;
        }
        const QJsonArray g = out["groups"].toArray();
        ASSERT_EQ(g.size(), p.AYMGLIST.size());
        for (int n = 0; n < g.size(); ++n)
            EXPECT_EQ(g[n].toObject()["YMGACOZUM"].toString(), p.AYMGLIST[n][YMGACOZUM]) << seed;
        openProblem().reset();
    }
    EXPECT_GT(optimum, 5);
}

TEST(SolveDriver, RefusedProblemPrintsTheMessage)
{
    ScriptedMessages messages;
    QTemporaryDir dir;
    const QString path = dir.filePath("TEK.VKD");
    FeedProblem fp = workedExample();
    fp.ingredients[1].stock = false;
    saveAs(fp, path);
    int code = -1;
    const QJsonObject out = runDriver(path, &code);
    EXPECT_EQ(code, 1);
    EXPECT_EQ(out["result"].toInt(), 0);
    EXPECT_EQ(out["outcome"].toString(), "refused");
    EXPECT_EQ(out["status"].toString(), "H");
    ASSERT_EQ(out["messages"].toArray().size(), 1);
    EXPECT_EQ(out["messages"].toArray()[0].toObject()["text"].toString(),
              "Çözüm için en az iki yem maddesi stokta bulunmalı...");
    EXPECT_EQ(out["solves"].toInt(), 0);
}
