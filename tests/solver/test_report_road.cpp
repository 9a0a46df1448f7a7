// The interactive solve road from the solve to the report file, with the report-data dialog scripted
// and the clock fixed; the report files are compared byte for byte with the golden files.

#include "solver_fixture.h"
#include "../reports/pdf_test_support.h"

#include "platform/cp1254_codec.h"
#include "problem/app_globals.h"
#include "problem/number_text.h"
#include "problem/open_problem.h"
#include "problem/problem_file.h"
#include "reports/last_report.h"
#include "reports/pdf_summary.h"
#include "reports/report_file.h"
#include "scripted_messages.h"
#include "solver/ky_optimizer.h"
#include "solver/progress_sink.h"
#include "solver/report_data_form.h"
#include "solver/report_road.h"
#include "solver/report_summary.h"
#include "source_tree.h"
#include "recording_pdf_viewer.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <functional>

using namespace vexo;
using namespace vexo::test;

namespace {

// The feed problems of the golden reports.
FeedProblem optimumProblem()
{
    FeedProblem fp;
    fp.ingredients = {IngredientSpec{QStringLiteral("ARPA"), 10.0, {}, {}, {}},
                      IngredientSpec{QStringLiteral("SOYA KÜSPESİ"), 30.0, {}, {}, {}},
                      IngredientSpec{QStringLiteral("BALIK UNU"), 80.0, {}, {}, {}},
                      IngredientSpec{QStringLiteral("MERMER TOZU"), 2.0, {}, {}, {}}};
    fp.nutrients = {NutrientSpec{QStringLiteral("AĞIRLIK"), 1.0, {}, {}, QStringLiteral("Kg")},
                    NutrientSpec{QStringLiteral("HP"), {}, 20.0, {}, QStringLiteral("%")},
                    NutrientSpec{QStringLiteral("KALSİYUM"), {}, 1.0, {}, QStringLiteral("%")},
                    NutrientSpec{QStringLiteral("LİF"), {}, {}, {}, QStringLiteral("%")}};
    fp.content = {{1, 1, 1, 1}, {11, 44, 60, 0}, {0.05, 0.3, 5, 38}, {5, 7, 1, 0}};
    return fp;
}

FeedProblem infeasibleProblem()
{
    FeedProblem fp = optimumProblem();
    fp.nutrients[1].min = 70.0; // no ingredient has that much protein
    return fp;
}

FeedProblem twoSidedProblem()
{
    FeedProblem fp = optimumProblem();
    fp.nutrients[1].min = 18.0;
    fp.nutrients[1].max = 22.0;
    fp.nutrients[3].max = 6.0;
    fp.ingredients[0].min = 10.0;
    fp.ingredients[0].max = 60.0;
    fp.ingredients[1].max = 30.0;
    return fp;
}

FeedProblem ratiosAndGroupsProblem()
{
    FeedProblem fp = optimumProblem();
    fp.ingredients.append(IngredientSpec{QStringLiteral("MISIR"), 12.0, {}, {}, {}});
    fp.content = {{1, 1, 1, 1, 1}, {11, 44, 60, 0, 9}, {0.05, 0.3, 5, 38, 0.02}, {5, 7, 1, 0, 2.5}};
    fp.nutrients.append(NutrientSpec{QStringLiteral("FOSFOR"), {}, 0.5, {}, QStringLiteral("%")});
    fp.content.push_back({0.35, 0.6, 3, 0, 0.28});
    fp.ratios = {RatioSpec{QStringLiteral("KALSİYUM"), QStringLiteral("FOSFOR"), {}, 1.5, 2.0}};
    fp.groups = {GroupSpec{QStringLiteral("TAHILLAR"), {}, {}, 60.0}, GroupSpec{QStringLiteral("HAYVANSAL"), {}, 2.0, {}}};
    fp.membership = {{1, 0, 0, 0, 1}, {0, 0, 1, 0, 0}};
    return fp;
}

struct Choice
{
    bool ozet = false;
    bool pdf = false;
};

class ReportRoad : public ::testing::Test
{
protected:
    void SetUp() override
    {
        appGlobals().CVERIKOK = root.path();
        lastReport().clear();
        installSolverDialogs();
        setProgressFactory({}); // no window in these tests
    }
    void TearDown() override
    {
        setReportDataAsker({});
        setReportStep(nullptr);
        openProblem().reset();
        appGlobals().CVERIKOK.clear();
        lastReport().clear();
    }

    // Installs the problem and opens a problem file for it in the test folder.
    void open(const FeedProblem &fp, const QString &name = QStringLiteral("ORNEK.VKD"))
    {
        fp.install();
        OpenProblem &p = openProblem();
        p.APARMLIST = QStringList{QStringLiteral("K"),       QStringLiteral("    1000.00"), QStringLiteral("TL"),
                                  QStringLiteral("Kg"),      QStringLiteral("Örnek Yem Sanayi"),
                                  QStringLiteral("Besi Yemi"), QStringLiteral("Şükrü Çağlar"), QString(11, u' ')};
        problemPath = QDir(root.path()).filePath(name);
        ASSERT_TRUE(DATAFILECREATE(nullptr, problemPath));
        ASSERT_TRUE(DATAFOPEN(nullptr, problemPath));
    }

    // The dialog answered OK with the choice, or Cancel.
    void script(Choice c, bool ok = true, std::function<void(ReportDataForm &)> typing = {})
    {
        setReportDataAsker([=](QWidget *, ReportDataForm &form) {
            if (typing)
                typing(form);
            if (c.ozet)
                form.clickOzet();
            if (c.pdf)
                form.clickPdf();
            if (!ok) {
                form.cancel();
                return false;
            }
            form.accept();
            return true;
        });
    }

    QString reportPath() const { return QDir(root.path()).filePath(QStringLiteral("ORNEK.TXT")); }

    // The written report with the folder line made independent of the test folder.
    QByteArray writtenReport() const
    {
        QFile f(reportPath());
        EXPECT_TRUE(f.open(QIODevice::ReadOnly));
        QString text = Cp1254Codec::decode(f.readAll());
        const QString dirLine = reportLine(QString(14, u' ') + QStringLiteral("Veri/Rapor Dosyası Dizini: ")
                                           + QFileInfo(problemPath).path());
        text.replace(dirLine, reportLine(QString(14, u' ') + QStringLiteral("Veri/Rapor Dosyası Dizini: /veri")));
        return Cp1254Codec::encode(text);
    }

    void expectGolden(const QByteArray &bytes, const QString &name)
    {
        // Every line is 100 characters and CR LF.
        const QList<QByteArray> lines = bytes.split('\n');
        ASSERT_TRUE(bytes.endsWith("\r\n"));
        for (qsizetype i = 0; i + 1 < lines.size(); ++i)
            EXPECT_EQ(lines.at(i).size(), 101) << "line " << i + 1;
        const QString golden = sourceTree() + QStringLiteral("/tests/solver/golden/") + name;
        if (qEnvironmentVariableIsSet("VEXO_UPDATE_GOLDEN")) {
            QFile out(golden);
            ASSERT_TRUE(out.open(QIODevice::WriteOnly));
            out.write(bytes);
        }
        QFile f(golden);
        ASSERT_TRUE(f.open(QIODevice::ReadOnly)) << golden.toStdString();
        const QByteArray want = f.readAll();
        EXPECT_EQ(bytes, want) << name.toStdString() << "\n" << bytes.toStdString();
    }

    QTemporaryDir root;
    QString problemPath;
    ScriptedMessages messages;
    ManualClock clock;
    RecordingViewer viewer;
};

TEST_F(ReportRoad, GoldenDetailedReports)
{
    const struct
    {
        const char *golden;
        std::function<FeedProblem()> problem;
        bool optimum;
    } cases[] = {
        {"optimum_detay.TXT", optimumProblem, true},
        {"infeasible_detay.TXT", infeasibleProblem, false},
        {"two_sided_detay.TXT", twoSidedProblem, true},
        {"ratios_groups_detay.TXT", ratiosAndGroupsProblem, true},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.golden);
        open(c.problem());
        script(Choice{});
        const SolveRoadResult r = runInteractiveSolve(nullptr);
        ASSERT_EQ(r.result, 1);
        EXPECT_EQ(r.optimum, c.optimum);
        EXPECT_EQ(r.status, c.optimum ? QStringLiteral("E") : QStringLiteral("H"));
        EXPECT_EQ(r.NRTIPI, 2);
        EXPECT_EQ(r.NFORMAT, 2);
        EXPECT_EQ(r.show, SolveRoadResult::Show::Pad);
        EXPECT_EQ(r.report, reportPath());
        EXPECT_EQ(lastReport().CSONRAPOR(), reportPath());
        expectGolden(writtenReport(), QString::fromLatin1(c.golden));
        EXPECT_EQ(Cp1254Codec::encode(lastReport().CSONRAPORMETNI()).size(), QFileInfo(reportPath()).size());
        EXPECT_TRUE(messages.shown().isEmpty());
        openProblem().reset();
    }
}

TEST_F(ReportRoad, GoldenTextSummaryAndPdfBody)
{
    open(ratiosAndGroupsProblem());
    script(Choice{true, false});
    SolveRoadResult r = runInteractiveSolve(nullptr);
    ASSERT_EQ(r.result, 1);
    EXPECT_EQ(r.NRTIPI, 1);
    EXPECT_EQ(r.NFORMAT, 2);
    EXPECT_EQ(r.show, SolveRoadResult::Show::Pad);
    expectGolden(writtenReport(), QStringLiteral("ratios_groups_ozet.TXT"));
    const QString textReport = lastReport().CSONRAPORMETNI();

    // The PDF form: the body in PDF_Out (created when missing), AOZETRAPOR complete, the document
    // opened and recorded as the last report while the text of the last text report stays.
    ASSERT_FALSE(QFileInfo::exists(QDir(root.path()).filePath(QStringLiteral("PDF_Out"))));
    open(ratiosAndGroupsProblem());
    script(Choice{true, true});
    r = runInteractiveSolve(nullptr);
    ASSERT_EQ(r.result, 1);
    EXPECT_EQ(r.NFORMAT, 1);
    EXPECT_EQ(r.show, SolveRoadResult::Show::Pdf);
    const QString body = QDir(root.path()).filePath(QStringLiteral("PDF_Out/pdfteks1.txt"));
    QFile f(body);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    expectGolden(f.readAll(), QStringLiteral("ratios_groups_pdfteks1.txt"));
    EXPECT_EQ(AOZETRAPOR().company, QStringLiteral("Örnek Yem Sanayi"));
    EXPECT_EQ(AOZETRAPOR().dateLine, QStringLiteral("Tarih: 14/03/2026 - Saat: 09:26:53"));
    EXPECT_EQ(AOZETRAPOR().chapterTitle, QStringLiteral("ÇÖZÜM SONUÇLARI :"));
    EXPECT_EQ(AOZETRAPOR().bodyFile, body);
    EXPECT_EQ(r.report, summaryPdfPath());
    EXPECT_EQ(viewer.opened, QStringList{summaryPdfPath()});
    EXPECT_EQ(lastReport().CSONRAPOR(), summaryPdfPath());
    EXPECT_EQ(lastReport().CSONRAPORMETNI(), textReport);
}

// The summary of every golden problem in both forms. The optimal ones are the sheets the mill mixes
// by, byte for byte; the one without an optimum says so where the table would start and lists
// nothing to mix.
TEST_F(ReportRoad, GoldenSummariesInBothForms)
{
    const struct
    {
        const char *name;
        std::function<FeedProblem()> problem;
        bool optimum;
    } cases[] = {
        {"optimum", optimumProblem, true},
        {"two_sided", twoSidedProblem, true},
        {"infeasible", infeasibleProblem, false},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        open(c.problem());
        script(Choice{true, false});
        SolveRoadResult r = runInteractiveSolve(nullptr);
        ASSERT_EQ(r.result, 1);
        EXPECT_EQ(r.optimum, c.optimum);
        EXPECT_EQ(r.show, SolveRoadResult::Show::Pad);
        expectGolden(writtenReport(), QString::fromLatin1(c.name) + QStringLiteral("_ozet.TXT"));

        open(c.problem());
        script(Choice{true, true});
        r = runInteractiveSolve(nullptr);
        ASSERT_EQ(r.result, 1);
        EXPECT_EQ(r.show, SolveRoadResult::Show::Pdf);
        QFile body(QDir(root.path()).filePath(QStringLiteral("PDF_Out/pdfteks1.txt")));
        ASSERT_TRUE(body.open(QIODevice::ReadOnly));
        expectGolden(body.readAll(), QString::fromLatin1(c.name) + QStringLiteral("_pdfteks1.txt"));
        EXPECT_TRUE(messages.shown().isEmpty());

        // The document as a reader sees it: sound, and saying what the sheet says.
        const ToolResult check = runTool(QStringLiteral("qpdf"), {QStringLiteral("--check"), r.report});
        ASSERT_TRUE(check.found) << "qpdf is not installed (tools/deps.sh installs it)";
        EXPECT_EQ(check.exitCode, 0) << check.out.constData() << check.err.constData();
        const ToolResult text = runTool(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), r.report, QStringLiteral("-")});
        ASSERT_TRUE(text.found) << "pdftotext is not installed (tools/deps.sh installs it)";
        ASSERT_EQ(text.exitCode, 0) << text.err.constData();
        const QString plain = QString::fromUtf8(text.out).simplified();
        EXPECT_TRUE(plain.contains(QStringLiteral("KARMA YEM ADI: Besi Yemi"))) << plain.toStdString();
        EXPECT_EQ(plain.contains(QStringLiteral("COZUM DURUMU: Optimum Cozum Bulunamadi.")), !c.optimum);
        EXPECT_EQ(plain.contains(QStringLiteral("Sinirlik ve imkanlari kontrol ediniz...")), !c.optimum);
        for (const char *table : {"Yem Maddesi", "Mikser", "TOPLAM: 100.000 1000.00"})
            EXPECT_EQ(plain.contains(QLatin1String(table)), c.optimum) << table << "\n" << plain.toStdString();
        openProblem().reset();
    }
}

TEST_F(ReportRoad, CancelLeavesListsFlagsAndStatusAsTheyWere)
{
    open(optimumProblem());
    OpenProblem &p = openProblem();
    p.CCOZUMDURUMU = QStringLiteral("E");
    p.NMALIYET = 12.5;
    p.LPRMDEG = true; // a change made before the dialog opened must survive the Cancel
    const RowList ym = p.AYMLIST, bm = p.ABMLIST;
    const QStringList parm = p.APARMLIST;
    script(Choice{}, false, [](ReportDataForm &form) { form.edit(ReportDataForm::SLE_SKADI, QStringLiteral("Yeni, Ad")); });
    const SolveRoadResult r = runInteractiveSolve(nullptr);
    EXPECT_EQ(r.result, 0);
    EXPECT_FALSE(r.resultsWritten);
    EXPECT_TRUE(r.status.isEmpty());
    EXPECT_EQ(r.show, SolveRoadResult::Show::Nothing);
    EXPECT_EQ(p.AYMLIST, ym);
    EXPECT_EQ(p.ABMLIST, bm);
    EXPECT_EQ(p.APARMLIST, parm);
    EXPECT_EQ(p.CCOZUMDURUMU, QStringLiteral("E"));
    EXPECT_EQ(p.NMALIYET, 12.5);
    EXPECT_EQ(p.NCOZUMSAYISI, 0);
    EXPECT_TRUE(p.LPRMDEG);
    EXPECT_FALSE(p.LYMDEG || p.LBMDEG);
    EXPECT_FALSE(QFileInfo::exists(reportPath()));
    EXPECT_TRUE(lastReport().CSONRAPOR().isEmpty());
    EXPECT_TRUE(messages.shown().isEmpty());

    // Typing sets the flag; Cancel takes back only that mark.
    p.LPRMDEG = false;
    runInteractiveSolve(nullptr);
    EXPECT_FALSE(p.LPRMDEG);
}

TEST_F(ReportRoad, OkWritesResultsAndTheParametersWithoutCommas)
{
    open(optimumProblem());
    setReportStep(nullptr); // the road brings its own report step
    setProgressFactory({});
    script(Choice{}, true, [](ReportDataForm &form) {
        form.edit(ReportDataForm::SLE_SKADI, QStringLiteral("Yem, Gıda"));
        form.edit(ReportDataForm::PARABIRIM, QStringLiteral("T,L"));
        form.edit(ReportDataForm::MIXCAPA, QStringLiteral("2500,5"));
    });
    const SolveRoadResult r = runInteractiveSolve(nullptr);
    ASSERT_EQ(r.result, 1);
    const OpenProblem &p = openProblem();
    EXPECT_EQ(p.NCOZUMSAYISI, 1);
    EXPECT_TRUE(p.LYMDEG);
    EXPECT_FALSE(isBlank(p.AYMLIST.at(1).at(YMACOZUM))); // SOYA KÜSPESİ is chosen
    EXPECT_EQ(p.APARMLIST.at(PARM_COMPANY), QStringLiteral("Yem  Gıda"));
    EXPECT_EQ(p.APARMLIST.at(PARM_CURRENCY), QStringLiteral("T L"));
    EXPECT_EQ(p.APARMLIST.at(PARM_CAPACITY), QStringLiteral("2500.50"));
    for (const QString &v : p.APARMLIST)
        EXPECT_FALSE(v.contains(u',')) << v.toStdString();
    const QString text = lastReport().CSONRAPORMETNI();
    EXPECT_TRUE(text.contains(QStringLiteral("§ ŞİRKET ADI: Yem  Gıda")));
    EXPECT_TRUE(text.contains(QStringLiteral("T L/Kg")));
}

TEST_F(ReportRoad, UnwritableReportIsToldAndTheStatusStillRecorded)
{
    open(optimumProblem());
    // A folder in the report's place cannot be replaced by a file.
    ASSERT_TRUE(QDir().mkpath(reportPath()));
    lastReport().recordText(QStringLiteral("/earlier/OLD.TXT"), QStringLiteral("old"));
    script(Choice{});
    const SolveRoadResult r = runInteractiveSolve(nullptr);
    EXPECT_EQ(r.result, 0);
    EXPECT_TRUE(r.resultsWritten);
    EXPECT_EQ(r.status, QStringLiteral("E"));
    EXPECT_EQ(r.show, SolveRoadResult::Show::Nothing);
    ASSERT_EQ(messages.shown().size(), 1);
    EXPECT_EQ(messages.shown().at(0).caption, QStringLiteral("Hata..."));
    EXPECT_EQ(messages.shown().at(0).text,
              QStringLiteral("Rapor dosyası oluşturma başarısız!\r\n\r\nSonra tekrar deneyiniz.."));
    EXPECT_EQ(lastReport().CSONRAPOR(), QStringLiteral("/earlier/OLD.TXT"));
    EXPECT_EQ(lastReport().CSONRAPORMETNI(), QStringLiteral("old"));

    // The PDF body likewise: a blocked PDF_Out is told, not passed over in silence.
    messages.clear();
    QFile blocker(QDir(root.path()).filePath(QStringLiteral("PDF_Out")));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    open(optimumProblem(), QStringLiteral("IKINCI.VKD"));
    script(Choice{true, true});
    const SolveRoadResult pdf = runInteractiveSolve(nullptr);
    EXPECT_EQ(pdf.result, 0);
    EXPECT_EQ(pdf.status, QStringLiteral("E"));
    EXPECT_EQ(messages.shown().size(), 1);
    EXPECT_TRUE(viewer.opened.isEmpty());
    EXPECT_TRUE(AOZETRAPOR().chapterTitle.isEmpty());
    EXPECT_TRUE(AOZETRAPOR().bodyFile.isEmpty());
    EXPECT_EQ(AOZETRAPOR().company, QStringLiteral("Örnek Yem Sanayi"));
}

TEST_F(ReportRoad, StopButtonEndsTheSolveWithoutResults)
{
    open(ratiosAndGroupsProblem());
    ProgressScope progress;
    progress.log.stopAfterCounts = 0; // pressed before the first pass
    script(Choice{});
    const RowList ym = openProblem().AYMLIST;
    const SolveRoadResult r = runInteractiveSolve(nullptr);
    EXPECT_EQ(r.result, 0);
    EXPECT_FALSE(r.resultsWritten);
    EXPECT_EQ(openProblem().AYMLIST, ym);
    EXPECT_EQ(progress.log.closed, 1);
}

} // namespace

namespace {

// The main window may construct the solver itself once the solver's windows are installed; the
// report is the same as the road's.
TEST_F(ReportRoad, DirectInteractiveSolveWritesTheSameReport)
{
    open(optimumProblem());
    installSolverDialogs();
    setProgressFactory({});
    script(Choice{});
    KY_OPTIMIZER solver(nullptr, false);
    ASSERT_EQ(solver.RESULT(), 1);
    expectGolden(writtenReport(), QStringLiteral("optimum_detay.TXT"));
}

} // namespace
