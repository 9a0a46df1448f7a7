// The driver: refusals, the stop button, the report step, the progress counter, the guards.

#include "solver_fixture.h"

#include "problem/open_problem.h"
#include "scripted_messages.h"
#include "solver/report_step.h"

#include <gtest/gtest.h>

#include <cstdlib>

#include <sys/resource.h>

using namespace vexo;
using namespace vexo::test;

namespace {

// Three ingredients, weight fixed at 1, one protein minimum: a few iterations.
FeedProblem smallFeed()
{
    FeedProblem fp;
    fp.ingredients = {IngredientSpec{"ARPA", 10.0, {}, {}, {}}, IngredientSpec{"MISIR", 12.0, {}, {}, {}},
                      IngredientSpec{"SOYA", 30.0, {}, {}, {}}};
    fp.nutrients = {NutrientSpec{"AĞIRLIK", 1.0, {}, {}, "Kg/Kg"}, NutrientSpec{"HP", {}, 18.0, {}}};
    fp.content = {{1, 1, 1}, {11, 9, 44}};
    return fp;
}

struct ListsSnapshot
{
    RowList ym, bm, bmo, ymg;
    double cost;
    int solves;
    explicit ListsSnapshot(const OpenProblem &p)
        : ym(p.AYMLIST), bm(p.ABMLIST), bmo(p.ABMOLIST), ymg(p.AYMGLIST), cost(p.NMALIYET), solves(p.NCOZUMSAYISI)
    {
    }
    bool operator==(const ListsSnapshot &o) const
    {
        return ym == o.ym && bm == o.bm && bmo == o.bmo && ymg == o.ymg && cost == o.cost && solves == o.solves;
    }
};

class RecordingReport : public ReportStep
{
public:
    bool confirm = true;
    unsigned short type = 1;
    bool written = true;
    int asked = 0, summaries = 0, details = 0;
    bool PARMGIR(KY_OPTIMIZER &s) override
    {
        ++asked;
        if (confirm) {
            s.NRTIPI_ = type;
            s.NFORMAT_ = 2;
        }
        return confirm;
    }
    bool SONUCOZET(KY_OPTIMIZER &) override { return ++summaries, written; }
    bool SONUCDOSYA(KY_OPTIMIZER &) override { return ++details, written; }
};

} // namespace

TEST(SolverDriver, StopButtonLeavesTheListsUntouched)
{
    ScriptedMessages messages;
    ProgressScope progress;
    progress.log.stopAfterCounts = 1;
    smallFeed().install();
    openProblem().CCOZUMDURUMU = "E";
    const ListsSnapshot before(openProblem());
    KY_OPTIMIZER s(nullptr, true);
    EXPECT_EQ(s.RESULT(), 0);
    EXPECT_FALSE(s.LOPTI_);
    EXPECT_EQ(s.outcome(), SolveOutcome::Stopped);
    EXPECT_EQ(openProblem().CCOZUMDURUMU, "H");
    EXPECT_TRUE(ListsSnapshot(openProblem()) == before);
    EXPECT_TRUE(s.AAUTOYM_.isEmpty());
    EXPECT_EQ(progress.log.opened, 1);
    EXPECT_EQ(progress.log.closed, 1);
    EXPECT_TRUE(messages.shown().isEmpty());
}

TEST(SolverDriver, ProgressCountsEverySecondIterationAcrossSolves)
{
    ScriptedMessages messages;
    ProgressScope progress;
    // The worked example runs four passes; with one more nutrient limit that never binds, an odd
    // number makes the process-wide counter carry over into the next solve.
    FeedProblem fp;
    fp.ingredients = {IngredientSpec{"ARPA", 10.0, {}, {}, {}}, IngredientSpec{"SOYA", 30.0, {}, {}, {}}};
    fp.nutrients = {NutrientSpec{"HP", {}, 20.0, {}}};
    fp.content = {{8.0, 44.0}};
    fp.install();
    long passes = 0;
    int counts[2] = {0, 0};
    for (int round = 0; round < 2; ++round) {
        const int before = progress.log.counted;
        KY_OPTIMIZER s(nullptr, true);
        passes += s.iterations();
        counts[round] = progress.log.counted - before;
    }
    EXPECT_EQ(counts[0] + counts[1], int(passes / 2));
    // With the weight fixed as well the problem takes five passes. A solve of an odd number of
    // passes leaves the counter half-way, whatever it started from: the next solve of the same
    // problem shows one count more or one less, and the two together count every second pass. A
    // counter that started afresh with every solve would show the same count twice, one short.
    fp.nutrients.append(NutrientSpec{"AĞIRLIK", 1.0, {}, {}, "Kg/Kg"});
    fp.content.push_back({1.0, 1.0});
    fp.install();
    int odd[2] = {0, 0};
    long oddPasses[2] = {0, 0};
    for (int round = 0; round < 2; ++round) {
        const int before = progress.log.counted;
        KY_OPTIMIZER s(nullptr, true);
        oddPasses[round] = s.iterations();
        odd[round] = progress.log.counted - before;
    }
    ASSERT_EQ(oddPasses[0], 5);
    ASSERT_EQ(oddPasses[1], 5);
    EXPECT_EQ(std::abs(odd[0] - odd[1]), 1);
    EXPECT_EQ(odd[0] + odd[1], 5);
}

TEST(SolverDriver, RefusesFewerThanTwoIngredientsInStock)
{
    ScriptedMessages messages;
    FeedProblem fp = smallFeed();
    fp.ingredients[0].stock = false;
    fp.ingredients[1].stock = false;
    fp.install();
    const ListsSnapshot before(openProblem());
    KY_OPTIMIZER s(nullptr, true);
    EXPECT_EQ(s.RESULT(), 0);
    EXPECT_FALSE(s.LOPTI_);
    EXPECT_EQ(s.outcome(), SolveOutcome::Refused);
    EXPECT_EQ(openProblem().CCOZUMDURUMU, "H");
    EXPECT_TRUE(ListsSnapshot(openProblem()) == before);
    ASSERT_EQ(messages.shown().size(), 1);
    EXPECT_EQ(messages.shown()[0].text, "Çözüm için en az iki yem maddesi stokta bulunmalı...");
    EXPECT_EQ(messages.shown()[0].caption, "Hata...");
    EXPECT_EQ(messages.shown()[0].owner, nullptr);
    ASSERT_EQ(messages.toneLog().size(), 1);
}

TEST(SolverDriver, RefusesFewerThanTwoPricedIngredients)
{
    ScriptedMessages messages;
    FeedProblem fp = smallFeed();
    fp.ingredients[1].price.reset();
    fp.ingredients[2].price.reset();
    fp.install();
    KY_OPTIMIZER s(nullptr, true);
    EXPECT_EQ(s.RESULT(), 0);
    ASSERT_EQ(messages.shown().size(), 1);
    EXPECT_EQ(messages.shown()[0].text,
              "Yem maddelerine fiyat verilmedi...\n\n"
              "NOT: VEXO_Zud 2.6 çözümleri En Düşük Maliyetli olarak yürütmektedir.\n"
              "Bir çözüm elde edebilmek için, en az iki yem maddesine fiyat verilmelidir.\n"
              "Fiyat verilmeyen diğer yem maddeleri ise hesaplamaya girmez ve sonuç\n"
              "raporunda yer almazlar.");
    EXPECT_EQ(messages.shown()[0].caption, "Hata...");
    EXPECT_EQ(messages.toneLog().size(), 1);
    EXPECT_EQ(openProblem().CCOZUMDURUMU, "H");
}

TEST(SolverDriver, OutOfStockAndUnpricedIngredientsAreLeftOutQuietly)
{
    ScriptedMessages messages;
    FeedProblem fp = smallFeed();
    fp.ingredients.append(IngredientSpec{"KEPEK", 1.0, {}, {}, {}, false});
    fp.ingredients.append(IngredientSpec{"MELAS", {}, {}, {}, {}});
    fp.ingredients.append(IngredientSpec{"BEDAVA", 0.0, {}, {}, {}}); // a price of 0 keeps it
    for (auto &row : fp.content)
        row.insert(row.end(), {row[0], row[0], 1.0});
    fp.content[1][3] = 80; // the cheap one would be chosen if it took part
    fp.content[1][4] = 80;
    fp.install();
    KY_OPTIMIZER s(nullptr, true);
    EXPECT_EQ(s.RESULT(), 1);
    EXPECT_TRUE(messages.shown().isEmpty());
    EXPECT_EQ(s.AYMADI(), (QStringList{"ARPA", "MISIR", "SOYA", "BEDAVA"}));
    EXPECT_EQ(s.AAUTOYM_.size(), 4);
    const OpenProblem &p = openProblem();
    EXPECT_EQ(p.AYMLIST[3][YMACOZUM], "           ");
    EXPECT_EQ(p.AYMLIST[3][YMAZFIAT], "           ");
    EXPECT_EQ(p.AYMLIST[4][YMACOZUM], "           ");
}

TEST(SolverDriver, RefusesAProblemWithoutAnyNutrientLimit)
{
    ScriptedMessages messages;
    FeedProblem fp = smallFeed();
    fp.nutrients[0].fix.reset();
    fp.nutrients[1].min.reset();
    fp.install();
    KY_OPTIMIZER s(nullptr, true);
    EXPECT_EQ(s.RESULT(), 0);
    EXPECT_EQ(s.outcome(), SolveOutcome::Refused);
    ASSERT_EQ(messages.shown().size(), 1);
    EXPECT_TRUE(messages.shown()[0].text.startsWith("Hiç besin maddesi sınırı verilmedi...\n\nNOT: Bir hesap"));
    EXPECT_TRUE(messages.shown()[0].text.endsWith("hesaplamada dikkate alınmazlar."));
    EXPECT_EQ(messages.toneLog().size(), 1);

    // A problem without any nutrient at all is refused the same way.
    messages.clear();
    fp.nutrients.clear();
    fp.content.clear();
    fp.install();
    KY_OPTIMIZER none(nullptr, true);
    EXPECT_EQ(none.RESULT(), 0);
    EXPECT_EQ(none.outcome(), SolveOutcome::Refused);
    ASSERT_EQ(messages.shown().size(), 1);
    EXPECT_TRUE(messages.shown()[0].text.startsWith("Hiç besin maddesi sınırı verilmedi..."));
}

TEST(SolverDriver, InteractiveModeHandsOverToTheReportStep)
{
    ScriptedMessages messages;
    RecordingReport report;
    setReportStep(&report);
    smallFeed().install();
    {
        // Cancelled report data: nothing delivered, the lists keep what they had, status untouched.
        report.confirm = false;
        openProblem().CCOZUMDURUMU = "E";
        const ListsSnapshot before(openProblem());
        KY_OPTIMIZER s(nullptr, false);
        EXPECT_EQ(s.RESULT(), 0);
        EXPECT_TRUE(s.LOPTI_);
        EXPECT_TRUE(ListsSnapshot(openProblem()) == before);
        EXPECT_EQ(openProblem().CCOZUMDURUMU, "E");
    }
    {
        report.confirm = true;
        report.type = 1;
        KY_OPTIMIZER s(nullptr, false);
        EXPECT_EQ(s.RESULT(), 1);
        EXPECT_EQ(report.summaries, 1);
        EXPECT_EQ(openProblem().NCOZUMSAYISI, 1);
    }
    {
        // The report cannot be written: RESULT 0, although the lists hold the results.
        report.type = 2;
        report.written = false;
        KY_OPTIMIZER s(nullptr, false);
        EXPECT_EQ(s.RESULT(), 0);
        EXPECT_EQ(report.details, 1);
        EXPECT_EQ(openProblem().NCOZUMSAYISI, 2);
    }
    setReportStep(nullptr);
    {
        // Without a report step an interactive solve delivers nothing.
        KY_OPTIMIZER s(nullptr, false);
        EXPECT_EQ(s.RESULT(), 0);
        EXPECT_EQ(openProblem().NCOZUMSAYISI, 2);
    }
}

TEST(SolverDriver, IterationCapEndsTheSolveWithAMessage)
{
    ScriptedMessages messages;
    smallFeed().install();
    const ListsSnapshot before(openProblem());
    const SimplexLimits saved = simplexLimits();
    simplexLimits().iterationCap = 2;
    KY_OPTIMIZER s(nullptr, true);
    simplexLimits() = saved;
    EXPECT_EQ(s.RESULT(), 0);
    EXPECT_EQ(s.outcome(), SolveOutcome::IterationCap);
    EXPECT_EQ(openProblem().CCOZUMDURUMU, "H");
    EXPECT_TRUE(ListsSnapshot(openProblem()) == before);
    ASSERT_EQ(messages.shown().size(), 1);
    EXPECT_EQ(messages.shown()[0].text,
              "Hesaplama 2 iterasyonda sonuçlanmadı...\n\nSınırları gözden geçirip hesabı tekrar yürütünüz.");
}

TEST(SolverDriver, TableauAboveTheMemoryCapIsRefusedWithAMessage)
{
    ScriptedMessages messages;
    smallFeed().install();
    // The size of the tableau the solver builds for this problem, every column of every row.
    unsigned long long built = 0;
    KY_OPTIMIZER::setObserver([&](const SimplexTableau &t, SolveEvent e) {
        if (e == SolveEvent::Built)
            built = static_cast<unsigned long long>(t.rows()) * static_cast<unsigned long long>(t.columns()) * 8;
    });
    {
        KY_OPTIMIZER s(nullptr, true);
        ASSERT_EQ(s.RESULT(), 1);
    }
    KY_OPTIMIZER::setObserver(nullptr);
    ASSERT_GT(built, 0u);
    const SimplexLimits saved = simplexLimits();
    struct Case
    {
        unsigned long long cap;
        bool solved;
    };
    for (const Case c : {Case{built, true}, Case{built - 1, false}}) {
        SCOPED_TRACE(c.cap);
        smallFeed().install();
        const ListsSnapshot before(openProblem());
        simplexLimits().tableauBytesCap = c.cap;
        ScriptedMessages shown;
        ProgressScope progress;
        KY_OPTIMIZER s(nullptr, true);
        EXPECT_EQ(s.RESULT(), c.solved ? 1 : 0);
        EXPECT_EQ(progress.log.opened, c.solved ? 1 : 0);
        ASSERT_EQ(shown.shown().size(), c.solved ? 0 : 1);
        if (!c.solved) {
            EXPECT_TRUE(shown.shown()[0].text.startsWith("Problem çözülemeyecek kadar büyük..."));
            EXPECT_EQ(s.outcome(), SolveOutcome::Refused);
            EXPECT_EQ(openProblem().CCOZUMDURUMU, "H");
            EXPECT_TRUE(ListsSnapshot(openProblem()) == before);
        }
    }
    simplexLimits() = saved;
}

TEST(SolverDriver, ProblemNeedingMoreThanAGigabyteIsRefusedBeforeItIsBuilt)
{
    // 9,000 minimum rows over two ingredients: about 9,000 rows of 18,000 columns, 1.3 GB.
    ScriptedMessages messages;
    FeedProblem fp;
    fp.ingredients = {IngredientSpec{"ARPA", 10.0, {}, {}, {}}, IngredientSpec{"SOYA", 30.0, {}, {}, {}}};
    for (int k = 0; k < 9000; ++k) {
        fp.nutrients.append(NutrientSpec{QStringLiteral("B%1").arg(k), {}, 1.0, {}});
        fp.content.push_back({2.0, 3.0});
    }
    fp.install();
    rusage before{};
    getrusage(RUSAGE_SELF, &before);
    KY_OPTIMIZER s(nullptr, true);
    rusage after{};
    getrusage(RUSAGE_SELF, &after);
    EXPECT_EQ(s.RESULT(), 0);
    ASSERT_EQ(messages.shown().size(), 1);
    EXPECT_TRUE(messages.shown()[0].text.contains("9002 satır ve 18006 sütundan oluşacak ve 1237 MB"))
        << messages.shown()[0].text.toStdString();
    // Nothing near the tableau's size was taken (the peak would have grown by a gigabyte).
    EXPECT_LT(after.ru_maxrss - before.ru_maxrss, 256L * 1024);
    openProblem().reset();
}

TEST(SolverDriver, UnboundedCostIsNotReportedAsAnOptimum)
{
    // A negative price and nothing that bounds the mix: the cost can fall without end.
    ScriptedMessages messages;
    FeedProblem fp;
    fp.ingredients = {IngredientSpec{"A", -5.0, {}, {}, {}}, IngredientSpec{"B", 10.0, {}, {}, {}}};
    fp.nutrients = {NutrientSpec{"N", {}, 1.0, {}}};
    fp.content = {{1, 1}};
    fp.install();
    KY_OPTIMIZER s(nullptr, true);
    EXPECT_EQ(s.RESULT(), 1);
    EXPECT_FALSE(s.LOPTI_);
    EXPECT_EQ(s.outcome(), SolveOutcome::Unbounded);
}
