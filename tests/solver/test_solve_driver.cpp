// End to end: problems written to a data file, solved by the headless driver, and compared with
// the same file solved in this process and by GLPK.

#include "glpk_oracle.h"
#include "solver_fixture.h"

#include "problem/number_text.h"
#include "problem/open_problem.h"
#include "problem/problem_file.h"
#include "problem/problem_loader.h"
#include "problem/problem_saver.h"
#include "scripted_messages.h"

#include <gtest/gtest.h>

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>

#include <cmath>

using namespace vexo;
using namespace vexo::test;

namespace {

QJsonObject runDriver(const QString &path, int *exitCode, const QStringList &options = {})
{
    QProcess process;
    process.start(QStringLiteral(VEXO_SOLVE_DRIVER), options + QStringList{path});
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
    workedExample().saveTo(path);
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
    EXPECT_EQ(ym[0].toObject()["YMAZFIAT"].toString(), "      5.455");
    const QJsonArray bm = out["nutrients"].toArray();
    ASSERT_EQ(bm.size(), 1);
    EXPECT_EQ(bm[0].toObject()["BMACOZUM"].toString(), "    20.0000");
    EXPECT_EQ(bm[0].toObject()["BMSPRICE"].toString(), "     0.6818");
    EXPECT_TRUE(out["messages"].toArray().isEmpty());
}

TEST(SolveDriver, LeftOutGrainHasItsEntryPriceInTheListAndTheReport)
{
    // BUGDAY ends basic at level 0. It would enter below what it is worth at the shadow prices of
    // AĞIRLIK and HP (its own minimum-0 row is no limit of the formula), which GLPK prices alike.
    ScriptedMessages messages;
    fourGrainProblem().install();
    const OracleResult o = glpkOracle();
    ASSERT_TRUE(o.optimum);
    ASSERT_TRUE(o.nonDegenerate);
    ASSERT_EQ(o.rows.size(), 3u); // AĞIRLIK, HP, HY
    const double glpkEntry = 11.0 - o.reducedCost[3];
    EXPECT_NEAR(glpkEntry, 10.361, 0.0005);
    openProblem().reset();

    QTemporaryDir dir;
    const QString path = dir.filePath("DORT.VKD");
    fourGrainProblem().saveTo(path);
    int code = -1;
    const QJsonObject out = runDriver(path, &code);
    EXPECT_EQ(code, 0);
    EXPECT_EQ(out["outcome"].toString(), "optimum");
    EXPECT_NEAR(out["costSum"].toDouble(), o.cost, 1e-6);
    EXPECT_EQ(out["cost"].toDouble(), 10.361);
    const QJsonArray ym = out["ingredients"].toArray();
    ASSERT_EQ(ym.size(), 4);
    EXPECT_EQ(ym[3].toObject()["YMACOZUM"].toString(), "           ");
    EXPECT_EQ(ym[3].toObject()["YMAZFIAT"].toString(), Str(glpkEntry, 11, 3));
    EXPECT_EQ(ym[3].toObject()["YMAZFIAT"].toString(), "     10.361");
    // The shadow prices shown are GLPK's: AĞIRLIK, HP (binding) and HY (not binding).
    const QJsonArray bm = out["nutrients"].toArray();
    ASSERT_EQ(bm.size(), 4);
    const int shown[3] = {0, 2, 3};
    for (int k = 0; k < 3; ++k) {
        EXPECT_EQ(bm[shown[k]].toObject()["BMSPRICE"].toString(),
                  std::fabs(o.rows[std::size_t(k)].dual) < 1e-9 ? "     0.0000" : Str(o.rows[std::size_t(k)].dual, 11, 4))
            << k;
    }
    EXPECT_EQ(bm[0].toObject()["BMSPRICE"].toString(), "     4.5897");
    EXPECT_EQ(bm[2].toObject()["BMSPRICE"].toString(), "     0.4809");
    EXPECT_EQ(bm[1].toObject()["BMSPRICE"].toString(), "           ");

    // The detailed report lists it among the ingredients left out with GLPK's reduced cost: how far
    // its price must fall before it enters.
    const QJsonObject detailed = runDriver(path, &code, {QStringLiteral("--detailed")});
    EXPECT_EQ(code, 0);
    EXPECT_EQ(detailed["result"].toInt(), 1);
    const QStringList lines = detailed["report"].toString().split(QStringLiteral("\r\n"));
    const qsizetype b = lines.indexOf(QString(7, u' ') + QStringLiteral("b) Seçilmeyen Yem Maddeleri:").leftJustified(93));
    ASSERT_GT(b, 0) << detailed["report"].toString().toStdString();
    const QString want = QString(10, u' ') + QStringLiteral("BUGDAY").leftJustified(25) + u' ' + QStringLiteral("     11.000")
                         + u' ' + Str(o.reducedCost[3], 13, 4) + u' ' + QStringLiteral("     10.361");
    EXPECT_EQ(lines.value(b + 4), want.leftJustified(100));
    EXPECT_EQ(Str(o.reducedCost[3], 13, 4), QStringLiteral("       0.6393"));
    // MISIR, left out and not basic, follows: the lines go by maximum price, highest first.
    const QString misir = QString(10, u' ') + QStringLiteral("MISIR").leftJustified(25) + u' '
                          + QStringLiteral("     12.500") + u' ' + Str(o.reducedCost[1], 13, 4) + u' '
                          + Str(12.5 - o.reducedCost[1], 11, 3);
    EXPECT_EQ(lines.value(b + 5), misir.leftJustified(100));
    EXPECT_EQ(lines.value(b + 6).trimmed(), QString());
    EXPECT_EQ(ym[1].toObject()["YMAZFIAT"].toString(), Str(12.5 - o.reducedCost[1], 11, 3));
    // Their minimum-0 limits bind: raising one costs what GLPK's dual of the share's bound says,
    // whether the tableau ended with the column basic (BUGDAY) or not (MISIR).
    for (int j : {1, 3}) {
        const QString name = j == 1 ? QStringLiteral("MISIR") : QStringLiteral("BUGDAY");
        const QString row = QString(7, u' ') + name.leftJustified(25) + u' ' + QStringLiteral("  Alt   ") + u' '
                            + QStringLiteral("      0.000") + u' ' + QStringLiteral("      0.000") + u' '
                            + Str(o.reducedCost[std::size_t(j)], 11, 4);
        EXPECT_TRUE(lines.contains(row.leftJustified(100))) << name.toStdString();
    }
}

TEST(SolveDriver, RandomProblemsMatchTheInProcessSolveAndGlpk)
{
    QTemporaryDir dir;
    int optimum = 0, infeasible = 0;
    for (unsigned seed = 501; seed <= 512; ++seed) {
        ScriptedMessages messages;
        const QString path = dir.filePath(QStringLiteral("P%1.VKD").arg(seed));
        RandomShape shape{10 + int(seed % 40), 5 + int(seed % 20), true};
        randomProblem(seed, shape).saveTo(path);
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

// The summary's road without a window: the same solve, the summary in its text form beside the
// problem file. With an optimum it is the mixing sheet; without one it says so and lists nothing.
TEST(SolveDriver, SummaryTakesTheReportRoadInTextForm)
{
    ScriptedMessages messages;
    QTemporaryDir dir;
    const QString ind(7, u' ');
    const struct
    {
        const char *file;
        bool optimum;
    } cases[] = {{"ORNEK.VKD", true}, {"OLMAZ.VKD", false}};
    for (const auto &c : cases) {
        SCOPED_TRACE(c.file);
        // The worked example weighed out to a whole batch; 60 % protein is more than either holds.
        FeedProblem fp = workedExample();
        fp.nutrients = {NutrientSpec{QStringLiteral("AĞIRLIK"), 1.0, {}, {}, QStringLiteral("Kg")},
                        NutrientSpec{QStringLiteral("HP"), {}, c.optimum ? 20.0 : 60.0, {}}};
        fp.content = {{1.0, 1.0}, {8.0, 44.0}};
        const QString path = dir.filePath(QString::fromLatin1(c.file));
        fp.saveTo(path);
        int code = -1;
        const QJsonObject out = runDriver(path, &code, {QStringLiteral("--summary")});
        EXPECT_EQ(code, 0);
        EXPECT_EQ(out["result"].toInt(), 1);
        EXPECT_EQ(out["optimum"].toBool(), c.optimum);
        EXPECT_EQ(out["status"].toString(), c.optimum ? "E" : "H");
        const QString report = out["report"].toString();
        // The report is the text summary written beside the problem file.
        QFile written(QFileInfo(path).path() + u'/' + QFileInfo(path).completeBaseName() + QStringLiteral(".TXT"));
        ASSERT_TRUE(written.open(QIODevice::ReadOnly));
        EXPECT_EQ(written.readAll().size(), report.size());
        const QStringList lines = report.split(QStringLiteral("\r\n"));
        EXPECT_TRUE(lines.contains((ind + QStringLiteral("KARMA YEM ADI: ")).leftJustified(100)));
        EXPECT_FALSE(report.contains(QStringLiteral("§ MEVCUT ÇÖZÜM:"))); // not the detailed report
        const QString notFound = (ind + QStringLiteral("ÇÖZÜM DURUMU: Optimum Çözüm Bulunamadı.")).leftJustified(100);
        const QString check = (ind + QStringLiteral("Sınırlık ve imkanlari kontrol ediniz...")).leftJustified(100);
        if (c.optimum) {
            EXPECT_FALSE(report.contains(QStringLiteral("ÇÖZÜM DURUMU")));
            // ARPA 66.667 %, SOYA 33.333 %, in the mixer of 1000 the saved problem offers.
            EXPECT_TRUE(lines.contains((ind + QStringLiteral("ARPA").leftJustified(25) + QStringLiteral("      66.667")
                                        + QStringLiteral("     666.67"))
                                           .leftJustified(100)))
                << report.toStdString();
            EXPECT_TRUE(lines.contains((ind + QStringLiteral("TOPLAM:").leftJustified(25) + QStringLiteral("     100.000")
                                        + QStringLiteral("    1000.00"))
                                           .leftJustified(100)));
        } else {
            const qsizetype at = lines.indexOf(notFound);
            ASSERT_GT(at, 0) << report.toStdString();
            EXPECT_EQ(lines.value(at + 1), check);
            for (const char *word : {"TOPLAM", "Mikser", "ARPA", "SOYA"})
                EXPECT_FALSE(report.contains(QString::fromUtf8(word))) << word;
        }
    }

    // An option the driver does not know is refused with its usage.
    int code = -1;
    runDriver(dir.filePath(QStringLiteral("ORNEK.VKD")), &code, {QStringLiteral("--ozet")});
    EXPECT_EQ(code, 2);
}

// An infeasible problem: the detailed report and the lists keep the mix the solve ended on and mark
// the broken limit, and show no shadow price, entry price or price difference of the penalty basis.
// A ratio whose divisor has no content in an optimal mix shows no number that breaks its minimum.
TEST(SolveDriver, DetailedReportShowsNoMeaninglessNumbers)
{
    ScriptedMessages messages;
    QTemporaryDir dir;
    const QString ind(7, u' ');
    for (const bool feasible : {false, true}) {
        SCOPED_TRACE(feasible ? "zero divisor" : "infeasible");
        FeedProblem fp;
        fp.ingredients = {IngredientSpec{"ARPA", 10.0, {}, {}, {}}, IngredientSpec{"SOYA", 30.0, {}, {}, {}},
                          IngredientSpec{"MISIR", 12.0, {}, {}, {}}, IngredientSpec{"PREMIX", 500.0, {}, {}, {}}};
        fp.nutrients = {NutrientSpec{QStringLiteral("AĞIRLIK"), 1.0, {}, {}, QStringLiteral("Kg")},
                        NutrientSpec{QStringLiteral("HP"), {}, feasible ? 20.0 : 60.0, {}},
                        NutrientSpec{QStringLiteral("HL"), {}, {}, {}}};
        fp.content = {{1.0, 1.0, 1.0, 1.0}, {8.0, 44.0, 9.0, 0.0}, {0.0, 0.0, 0.0, 5.0}};
        fp.ratios = {RatioSpec{QStringLiteral("HP"), QStringLiteral("HL"), {}, 2.0, {}}};
        const QString path = dir.filePath(feasible ? QStringLiteral("ORAN.VKD") : QStringLiteral("OLMAZ.VKD"));
        fp.saveTo(path);
        int code = -1;
        const QJsonObject out = runDriver(path, &code, {QStringLiteral("--detailed")});
        EXPECT_EQ(code, 0);
        ASSERT_EQ(out["result"].toInt(), 1);
        EXPECT_EQ(out["optimum"].toBool(), feasible);
        const QString report = out["report"].toString();
        const QStringList lines = report.split(QStringLiteral("\r\n"));
        // The ratio's line: under its heading, HP/HL at least 2, its value undefined.
        const qsizetype heading = lines.indexOf((ind + QStringLiteral("Besin Maddesi Oranı:")).leftJustified(100));
        ASSERT_GT(heading, 0) << report.toStdString();
        const QString ratioLine = lines.value(heading + 1);
        EXPECT_TRUE(ratioLine.startsWith(ind + QStringLiteral("HP/HL"))) << ratioLine.toStdString();
        // Mark, name, kind, wanted value, then the value.
        EXPECT_EQ(ratioLine.mid(7 + 25 + 1 + 8 + 1, 23), QStringLiteral("     2.0000       -    ")) << ratioLine.toStdString();
        EXPECT_FALSE(ratioLine.startsWith(QStringLiteral("      *")));
        EXPECT_EQ(out["ratios"].toArray()[0].toObject()["BMOACOZUM"].toString(), QString(11, u' '));
        if (feasible) {
            EXPECT_TRUE(report.contains(QStringLiteral("GİMFD*")));
            continue;
        }
        // SOYA alone comes nearest: HP 44 of the 60 wanted, marked.
        EXPECT_EQ(lines.filter(QStringLiteral("      *HP,%")).size(), 1);
        EXPECT_TRUE(lines.filter(QStringLiteral("      *HP,%")).value(0).contains(QStringLiteral("44.0000")));
        for (const char *word : {"GİMFD", "Azami", "Gölge", "< 0.000", "35000", "*Giriş"})
            EXPECT_FALSE(report.contains(QString::fromUtf8(word))) << word << "\n" << report.toStdString();
        for (const QJsonValue v : out["ingredients"].toArray())
            EXPECT_EQ(v.toObject()["YMAZFIAT"].toString(), QString(11, u' ')) << v.toObject()["YMNAME"].toString().toStdString();
        for (const QJsonValue v : out["nutrients"].toArray())
            EXPECT_EQ(v.toObject()["BMSPRICE"].toString(), QString(11, u' ')) << v.toObject()["BMNAME"].toString().toStdString();
        for (const QJsonValue v : out["ratios"].toArray())
            EXPECT_EQ(v.toObject()["BMOSPRICE"].toString(), QString(11, u' '));
        EXPECT_EQ(out["ingredients"].toArray()[1].toObject()["YMACOZUM"].toString(), QStringLiteral("    100.000"));
    }
}

TEST(SolveDriver, RefusedProblemPrintsTheMessage)
{
    ScriptedMessages messages;
    QTemporaryDir dir;
    const QString path = dir.filePath("TEK.VKD");
    FeedProblem fp = workedExample();
    fp.ingredients[1].stock = false;
    fp.saveTo(path);
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
