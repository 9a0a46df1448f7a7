// The summary and the detailed report from hand-made solve states: the edge cases of their layout.

#include "platform/cp1254_codec.h"
#include "problem/number_text.h"
#include "problem/open_problem.h"
#include "problem/app_globals.h"
#include "reports/last_report.h"
#include "reports/report_file.h"
#include "scripted_messages.h"
#include "solver/report_detailed.h"
#include "solver/report_input.h"
#include "solver/report_summary.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <optional>

using namespace vexo;

// Failures show the texts, not their characters' codes.
#define EXPECT_TEXT(a, b) EXPECT_EQ(QString(a).toStdString(), QString(b).toStdString())

namespace {

const QDateTime kNow(QDate(2026, 3, 14), QTime(9, 26, 53));

// A column whose entry price is its own price unless one is given.
ReportInput::Column column(const QString &name, double price, double x, bool basic,
                           std::optional<double> entry = std::nullopt)
{
    return ReportInput::Column{name, price, x, basic, entry.value_or(price)};
}

ReportInput baseInput()
{
    ReportInput in;
    in.optimum = true;
    in.mixer = QStringLiteral("1000.00");
    in.currency = QStringLiteral("TL");
    in.weightUnit = QStringLiteral("Kg");
    in.company = QStringLiteral("Firma   ");
    in.feedName = QStringLiteral("Yem");
    in.preparer = QStringLiteral("Ali");
    in.fileName = QStringLiteral("P");
    in.fileDir = QStringLiteral("/d");
    return in;
}

QStringList linesOf(const QString &text)
{
    QStringList lines = text.split(QStringLiteral("\r\n"));
    EXPECT_TRUE(lines.last().isEmpty()); // the text ends with CR LF
    lines.removeLast();
    for (const QString &l : lines) {
        EXPECT_EQ(l.size(), 100) << l.toStdString();
        EXPECT_FALSE(l.contains(u'\n') || l.contains(u'\r'));
    }
    return lines;
}

QString rtrim(const QString &s)
{
    qsizetype n = s.size();
    while (n > 0 && s.at(n - 1) == u' ')
        --n;
    return s.left(n);
}

QStringList trimmedLines(const QString &text)
{
    QStringList out;
    for (const QString &l : linesOf(text))
        out << rtrim(l);
    return out;
}

TEST(ReportLayout, CentringAndLines)
{
    EXPECT_EQ(centred(QStringLiteral("Yem Maddesi"), 25), QString(7, u' ') + "Yem Maddesi" + QString(7, u' '));
    EXPECT_EQ(centred(QStringLiteral("ab"), 5), QStringLiteral(" ab  ")); // the odd blank goes right
    EXPECT_EQ(centred(QStringLiteral("abcdef"), 4), QStringLiteral("abcd"));
    EXPECT_EQ(reportLine(QString(120, u'x')), QString(100, u'x') + QStringLiteral("\r\n"));
    EXPECT_EQ(blankReportLine(), QString(100, u' ') + QStringLiteral("\r\n"));
}

TEST(SummaryReport, RowsTotalsAndEdgeCases)
{
    ReportInput in = baseInput();
    in.mixer = QStringLiteral("   1000.00");
    in.columns = {column(QStringLiteral("ZERO"), 1, 0.0, true),
                  column(QStringLiteral("TINY"), 1, 0.000004, true),
                  column(QStringLiteral("ARPA"), 1, 0.625, true),
                  column(QStringLiteral("EŞİT BİR"), 1, 0.1874980, true),
                  column(QStringLiteral("EŞİT İKİ"), 1, 0.1874980, true),
                  column(QStringLiteral("ÇOK UZUN BİR YEM MADDESİ ADI"), 1, 0.000002, true)};
    const SummaryTexts t = summaryTexts(in, kNow);
    const QStringList lines = trimmedLines(t.text);
    const QString ind(7, u' ');
    const QStringList want = {
        QString(43, u' ') + "VEXO_Zud S 2.6",
        "",
        QString(47, u' ') + "Firma",
        QString(33, u' ') + "Tarih: 14/03/2026 - Saat: 09:26:53",
        "",
        ind + "KARMA YEM ADI: Yem",
        ind + "HAZIRLAYAN: Ali",
        "",
        ind + QString(7, u' ') + "Yem Maddesi" + QString(7, u' ') + "    Çözüm      Mikser",
        ind + QString(11, u' ') + "Adı" + QString(11, u' ') + "      %        Girişi",
        ind + QString(25, u'-') + " " + QString(11, u'-') + " " + QString(10, u'-'),
        ind + "ARPA                     " + "      62.500" + "     625.00",
        // Equal amounts keep the column order.
        ind + "EŞİT BİR                 " + "      18.750" + "     187.50",
        ind + "EŞİT İKİ                 " + "      18.750" + "     187.50",
        ind + "TINY                     " + "       0.000" + "       0.00",
        ind + "ÇOK UZUN BİR YEM MADDESİ " + "       0.000" + "       0.00",
        ind + QString(25, u'-') + " " + QString(11, u'-') + " " + QString(10, u'-'),
        // The total from the unrounded sum.
        ind + "TOPLAM:                  " + "     100.000" + "    1000.00",
        "",
        QString(49, u' ') + "<>",
    };
    EXPECT_EQ(lines, want);
    EXPECT_EQ(t.company, QStringLiteral("Firma"));
    EXPECT_EQ(t.dateLine, QStringLiteral("Tarih: 14/03/2026 - Saat: 09:26:53"));

    // The PDF body: the same lines without the title block and the separating blank lines.
    QStringList body = want;
    body.remove(18);
    body.remove(7);
    body = body.mid(5);
    EXPECT_EQ(trimmedLines(t.pdfBody), body);
    EXPECT_TRUE(t.pdfBody.startsWith(ind + "KARMA YEM ADI: "));
}

TEST(SummaryReport, MixerThatIsNoNumberGivesZeroQuantities)
{
    for (const QString &mixer : {QString(), QStringLiteral("abc"), QString(11, u' ')}) {
        ReportInput in = baseInput();
        in.mixer = mixer;
        in.columns = {column(QStringLiteral("A"), 1, 0.4, true), column(QStringLiteral("B"), 1, 0.6, true)};
        const QStringList lines = trimmedLines(summaryTexts(in, kNow).text);
        EXPECT_TRUE(lines.at(11).endsWith(QStringLiteral("60.000       0.00")));
        EXPECT_TRUE(lines.at(12).endsWith(QStringLiteral("40.000       0.00")));
        EXPECT_TRUE(lines.at(14).endsWith(QStringLiteral("100.000       0.00")));
    }
}

// A solve without an optimum leaves no formula. Its summary says so in the detailed report's words,
// where the table would start, and shows nothing a batch could be weighed out by: no shares, no
// mixer quantities, no total.
TEST(SummaryReport, WithoutAnOptimumSaysSoAndListsNothingToMix)
{
    ReportInput in = baseInput();
    in.optimum = false;
    // The mix a Big-M run ends on: shares that add up to a whole batch.
    in.columns = {column(QStringLiteral("ARPA"), 10, 0.7, true), column(QStringLiteral("SOYA"), 30, 0.3, true)};
    const SummaryTexts t = summaryTexts(in, kNow);
    const QString ind(7, u' ');
    const QStringList head = {
        QString(43, u' ') + "VEXO_Zud S 2.6",
        "",
        QString(47, u' ') + "Firma",
        QString(33, u' ') + "Tarih: 14/03/2026 - Saat: 09:26:53",
        "",
        ind + "KARMA YEM ADI: Yem",
        ind + "HAZIRLAYAN: Ali",
        "",
    };
    const QStringList status = {
        ind + "ÇÖZÜM DURUMU: Optimum Çözüm Bulunamadı.",
        ind + "Sınırlık ve imkanlari kontrol ediniz...",
    };
    EXPECT_EQ(trimmedLines(t.text), (head + status + QStringList{"", QString(49, u' ') + "<>"}));
    // The PDF body carries the same words right under the names.
    EXPECT_EQ(trimmedLines(t.pdfBody), (head.mid(5, 2) + status + QStringList{QString(49, u' ') + "<>"}));
    // The words are the detailed report's own.
    const QString detailed = detailedReportText(in, kNow);
    EXPECT_TRUE(detailed.contains(QStringLiteral("Optimum Çözüm Bulunamadı.")));
    EXPECT_TRUE(detailed.contains(QStringLiteral("Sınırlık ve imkanlari kontrol ediniz...")));
    for (const QString *text : {&t.text, &t.pdfBody}) {
        for (const char *word : {"TOPLAM", "Mikser", "Girişi", "ARPA", "SOYA", "70.000", "700.00", "---"})
            EXPECT_FALSE(text->contains(QString::fromUtf8(word))) << word;
    }
    EXPECT_EQ(t.company, QStringLiteral("Firma"));
    EXPECT_EQ(t.dateLine, QStringLiteral("Tarih: 14/03/2026 - Saat: 09:26:53"));

    // The same mix from an optimum is the sheet it always was.
    in.optimum = true;
    const QString optimal = summaryTexts(in, kNow).text;
    EXPECT_FALSE(optimal.contains(QStringLiteral("ÇÖZÜM DURUMU")));
    EXPECT_TRUE(optimal.contains(ind + QStringLiteral("ARPA                     ") + QStringLiteral("      70.000")
                                 + QStringLiteral("     700.00")));
}

TEST(SummaryReport, FilesAndAozetrapor)
{
    QTemporaryDir root;
    appGlobals().CVERIKOK = root.path();
    test::ScriptedMessages messages;
    test::ManualClock clock;
    ReportInput in = baseInput();
    in.columns = {column(QStringLiteral("A"), 1, 1.0, true)};
    in.format = 1;
    // The folder is made when missing.
    ASSERT_TRUE(SONUCOZET(nullptr, in));
    const QString body = QDir(root.path()).filePath(QStringLiteral("PDF_Out/pdfteks1.txt"));
    QFile f(body);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(Cp1254Codec::decode(f.readAll()), summaryTexts(in, kNow.addSecs(0)).pdfBody);
    EXPECT_EQ(AOZETRAPOR().bodyFile, body);
    EXPECT_EQ(AOZETRAPOR().chapterTitle, QStringLiteral("ÇÖZÜM SONUÇLARI :"));
    // The body file is no report of the pad's.
    EXPECT_TRUE(lastReport().CSONRAPOR().isEmpty());
    appGlobals().CVERIKOK.clear();
}

ReportInput detailedInput()
{
    ReportInput in = baseInput();
    in.cost = 12.34567;
    in.columns = {column(QStringLiteral("ARPA"), 10, 0.7, true),
                  column(QStringLiteral("SIFIR"), 20, 0.0, true, 12.0),  // basic at level 0
                  column(QStringLiteral("SOYA"), 30, 0.3, true),
                  column(QStringLiteral("PAHALI"), 90, 0.0, false, -5.5), // maximum price below 0
                  column(QStringLiteral("UCUZ"), 15, 0.0, false, 12.75),
                  column(QStringLiteral("BEDAVA"), 0, 0.0, false, 0.0),
                  // kept out by its own limit of 0 although worth more than its price
                  column(QStringLiteral("KAPALI"), 20, 0.0, false, 30.0),
                  // no price lets it in
                  column(QStringLiteral("HİÇ"), 5, 0.0, false, -std::numeric_limits<double>::infinity())};
    using G = ReportInput::RowGroup;
    const QString noMark(7, u' ');
    in.rows = {
        {G::Nutrient, QStringLiteral("HP,%"), QStringLiteral("Alt"), 20.0, QStringLiteral("    20.0000"), noMark, 0.5},
        {G::Nutrient, QStringLiteral("LİF,%"), QStringLiteral("Yok"), std::nullopt, QStringLiteral("     3.1000"), noMark,
         std::nullopt},
        {G::Nutrient, QStringLiteral("UZUNCA BİR BESİN MADDESİ,BİRİM"), QStringLiteral("Üst"), 5.0,
         QStringLiteral("     5.0000"), noMark, -1.0},
        {G::Ingredient, QStringLiteral("SOYA"), QStringLiteral("Üst"), 0.3, QStringLiteral("     30.000"), noMark, -3.0},
    };
    return in;
}

TEST(DetailedReport, LeftOutPartZeroLevelAndDashes)
{
    const QStringList lines = trimmedLines(detailedReportText(detailedInput(), kNow));
    const QString ind(10, u' ');
    auto at = [&](const QString &start) {
        for (const QString &l : lines) {
            if (l.startsWith(start))
                return l;
        }
        return QStringLiteral("<missing: ") + start + ">";
    };
    EXPECT_TEXT(lines.at(2), QString(33, u' ') + "Tarih: 14/03/2026  Saat: 09:26:53");
    EXPECT_TEXT(at("     § MALİYET"), QStringLiteral("     § MALİYET DURUMU: Birim Maliyet = 12.346 TL/Kg"));
    EXPECT_TEXT(at(ind + "ARPA"), ind + "ARPA                           10.000      70.000     700.00");
    EXPECT_TEXT(at(ind + "TOPLAM:"), ind + "TOPLAM:                          -        100.000    1000.00");
    // Part b): every column at 0, the one held basic at level 0 too, by maximum price, highest first.
    const qsizetype b = lines.indexOf(QStringLiteral("       b) Seçilmeyen Yem Maddeleri:"));
    ASSERT_GT(b, 0);
    EXPECT_TEXT(lines.at(b + 1), ind + "       Yem Maddesi          Fiyat,                    Azami**");
    EXPECT_TEXT(lines.at(b + 2), ind + "           Adı               TL/Kg       GİMFD*        Fiyat");
    // GİMFD is how far the price must fall before the ingredient enters (the price less the maximum
    // price); below 0 for one worth more than its price.
    EXPECT_TEXT(lines.at(b + 4), ind + "KAPALI                         20.000      -10.0000      30.000");
    EXPECT_TEXT(lines.at(b + 5), ind + "UCUZ                           15.000        2.2500      12.750");
    EXPECT_TEXT(lines.at(b + 6), ind + "SIFIR                          20.000        8.0000      12.000");
    EXPECT_TEXT(lines.at(b + 7), ind + "BEDAVA                          0.000        0.0000       0.000");
    EXPECT_TEXT(lines.at(b + 8), ind + "PAHALI                         90.000       95.5000     < 0.000");
    EXPECT_TEXT(lines.at(b + 9), ind + "HİÇ                             5.000 *************     < 0.000");
    // A row without a limit: "Yok" and dashes; the next limited row keeps its own shadow price; a
    // long name is cut at 25.
    EXPECT_TEXT(at("       LİF"), QStringLiteral("       LİF,%                       Yok          -          3.1000       -"));
    EXPECT_TEXT(at("       HP,%"), QStringLiteral("       HP,%                        Alt        20.0000     20.0000      0.5000"));
    EXPECT_TEXT(at("       UZUNCA"), QStringLiteral("       UZUNCA BİR BESİN MADDESİ,   Üst         5.0000      5.0000    < 0.0000"));
    EXPECT_TEXT(at("       SOYA"), QStringLiteral("       SOYA                        Üst         30.000      30.000    < 0.0000"));
    // No ratio or group rows: no headings; the notes of part b) are there.
    EXPECT_FALSE(lines.contains(QStringLiteral("       Besin Maddesi Oranı:")));
    EXPECT_FALSE(lines.contains(QStringLiteral("       Yem Maddesi Grubu (%):")));
    EXPECT_TRUE(lines.contains(QStringLiteral("       *Giriş İçin Marjinal Fiyat Değişikliği.")));
    // Optimal: no mark in the constraint table.
    for (qsizetype i = lines.indexOf(QStringLiteral("     § SINIRLIKLAR:")); i < lines.size(); ++i)
        EXPECT_NE(lines.at(i).left(7), QStringLiteral("      *"));
}

TEST(DetailedReport, NoColumnLeftOutLeavesOutPartBAndItsNotes)
{
    ReportInput in = detailedInput();
    in.columns.resize(3); // ARPA, SIFIR (basic at level 0), SOYA
    // A column at level 0 is left out, basic or not.
    EXPECT_TRUE(trimmedLines(detailedReportText(in, kNow)).contains(QStringLiteral("       b) Seçilmeyen Yem Maddeleri:")));
    in.columns.erase(in.columns.begin() + 1);
    in.optimum = false;
    in.rows[0].mark = QStringLiteral("      *");
    in.rows[1].mark = QStringLiteral("      *"); // a row without a limit never carries a mark
    const QStringList lines = trimmedLines(detailedReportText(in, kNow));
    EXPECT_FALSE(lines.contains(QStringLiteral("       b) Seçilmeyen Yem Maddeleri:")));
    EXPECT_FALSE(lines.contains(QStringLiteral("       *Giriş İçin Marjinal Fiyat Değişikliği.")));
    EXPECT_TRUE(lines.contains(QStringLiteral("     § ÇÖZÜM DURUMU: Optimum Çözüm Bulunamadı.")));
    EXPECT_TRUE(lines.contains(QStringLiteral("       Sınırlık ve imkanlari kontrol ediniz...")));
    // Without an optimum the shadow prices are those of a penalty basis: no column for them, one line
    // that says why.
    EXPECT_TRUE(lines.contains(QStringLiteral("      *HP,%                        Alt        20.0000     20.0000")));
    EXPECT_TRUE(lines.contains(QStringLiteral("       LİF,%                       Yok          -          3.1000")));
    const qsizetype last = lines.size();
    EXPECT_TEXT(lines.at(last - 4), QStringLiteral(""));
    EXPECT_TEXT(lines.at(last - 3),
                QStringLiteral("       Optimum çözüm bulunamadığından gölge ve azami fiyatların anlamı yoktur."));
    EXPECT_TEXT(lines.at(last - 1), QString(49, u' ') + "<>");
    EXPECT_FALSE(lines.join(u'\n').contains(QStringLiteral("0.5000")));
}

// A solve without an optimum keeps its mix, its cost and the marks of the broken limits, and shows
// no shadow price, entry price or price difference of the penalty basis it ended on.
TEST(DetailedReport, WithoutAnOptimumShowsNoPrices)
{
    ReportInput in = detailedInput();
    ASSERT_GE(in.columns.size(), 4u);
    in.optimum = false;
    in.rows[0].mark = QStringLiteral("      *");
    for (auto &r : in.rows)
        r.shadow = 35000.0;
    for (auto &c : in.columns)
        c.entryPrice = c.x > 0.0 ? c.price : -1066795.3621;
    const QString text = detailedReportText(in, kNow);
    const QStringList lines = trimmedLines(text);
    EXPECT_TRUE(lines.contains(QStringLiteral("       b) Seçilmeyen Yem Maddeleri:")));
    for (const char *word : {"35000", "1066795", "GİMFD", "Azami", "Gölge", "< 0.000", "*Giriş İçin"})
        EXPECT_FALSE(text.contains(QString::fromUtf8(word))) << word;
    EXPECT_TRUE(lines.contains(QStringLiteral("      *HP,%                        Alt        20.0000     20.0000")));
    // Every left-out ingredient is listed by name and price only.
    for (const auto &c : in.columns) {
        if (c.x > 0.0)
            continue;
        const QString line = QString(10, u' ') + c.name.leftJustified(25) + u' ' + Str(c.price, 11, 3);
        EXPECT_TRUE(lines.contains(line)) << line.toStdString();
    }
}

TEST(DetailedReport, GroupRowWithoutLimitShowsItsDashes)
{
    ReportInput in = detailedInput();
    in.rows.push_back({ReportInput::RowGroup::Group, QStringLiteral("TAHIL"), QStringLiteral("Yok"), std::nullopt,
                       QStringLiteral("     70.000"), QString(7, u' '), std::nullopt});
    const QStringList lines = trimmedLines(detailedReportText(in, kNow));
    const qsizetype h = lines.indexOf(QStringLiteral("       Yem Maddesi Grubu (%):"));
    ASSERT_GT(h, 0);
    EXPECT_TEXT(lines.at(h - 1), QString());
    EXPECT_TEXT(lines.at(h + 1), QStringLiteral("       TAHIL                       Yok         -           70.000       -"));
}

TEST(ReportFile, WritesBytesAndKeepsTheLastReportOnFailure)
{
    QTemporaryDir dir;
    test::ScriptedMessages messages;
    lastReport().clear();
    const QString path = QDir(dir.path()).filePath(QStringLiteral("alt/R.TXT"));
    ASSERT_TRUE(RFILEANDTEXT(nullptr, path, QStringLiteral("Çğ\r\n")));
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(f.readAll(), QByteArray("\xC7\xF0\r\n"));
    EXPECT_EQ(lastReport().CSONRAPOR(), path);
    EXPECT_EQ(lastReport().CSONRAPORMETNI(), QStringLiteral("Çğ\r\n"));

    // An empty report is an empty file and becomes the last report.
    const QString empty = QDir(dir.path()).filePath(QStringLiteral("E.TXT"));
    ASSERT_TRUE(RFILEANDTEXT(nullptr, empty, QString()));
    EXPECT_EQ(QFileInfo(empty).size(), 0);
    EXPECT_EQ(lastReport().CSONRAPOR(), empty);
    EXPECT_TRUE(lastReport().CSONRAPORMETNI().isEmpty());

    // A failed write is told; both globals stay.
    ASSERT_TRUE(QDir().mkpath(QDir(dir.path()).filePath(QStringLiteral("KLASOR.TXT"))));
    EXPECT_FALSE(RFILEANDTEXT(nullptr, QDir(dir.path()).filePath(QStringLiteral("KLASOR.TXT")), QStringLiteral("x")));
    ASSERT_EQ(messages.shown().size(), 1);
    EXPECT_EQ(messages.shown().at(0).caption, QStringLiteral("Hata..."));
    EXPECT_EQ(messages.shown().at(0).style, unsigned(MB_OK | MB_ICONSTOP));
    EXPECT_EQ(lastReport().CSONRAPOR(), empty);
    EXPECT_TRUE(lastReport().CSONRAPORMETNI().isEmpty());

    // A document changes only the path; the text stays with its own record.
    lastReport().recordText(path, QStringLiteral("metin"));
    lastReport().recordDocument(QStringLiteral("/x/VEXO_Zud_Cozum_Sonuclari.pdf"));
    EXPECT_EQ(lastReport().CSONRAPOR(), QStringLiteral("/x/VEXO_Zud_Cozum_Sonuclari.pdf"));
    EXPECT_EQ(lastReport().CSONRAPORMETNI(), QStringLiteral("metin"));
    lastReport().clear();
}

} // namespace

#include "solver/ky_optimizer.h"
#include "solver/progress_sink.h"
#include "solver_fixture.h"

namespace {

// Without the final tableau the report reads the basic flags of the columns in the formula back
// from the results; they must agree with the tableau's own. The reduced costs are the solver's either
// way, and its entry prices say the same to three decimals.
TEST(ReportInputFromSolver, EntryPricesGiveTheTableausColumns)
{
    test::ScriptedMessages messages;
    for (unsigned seed : {3u, 11u, 19u}) {
        SCOPED_TRACE(seed);
        test::randomProblem(seed, test::RandomShape{12, 8, false}).install();
        ColumnSnapshot fromTableau;
        KY_OPTIMIZER::setObserver([&](const SimplexTableau &t, SolveEvent e) {
            if (e == SolveEvent::LoopEnded)
                fromTableau = snapshotColumns(t, unsigned(t.columns()));
        });
        KY_OPTIMIZER solver(nullptr, true);
        KY_OPTIMIZER::setObserver(nullptr);
        if (solver.RESULT() != 1)
            continue;
        const ReportInput exact = reportInputFrom(solver, &fromTableau);
        const ReportInput derived = reportInputFrom(solver);
        ASSERT_EQ(exact.columns.size(), derived.columns.size());
        for (std::size_t j = 0; j < exact.columns.size(); ++j) {
            const QString entry = solver.AAUTOYM_[qsizetype(j)][1];
            if (exact.columns[j].x != 0.0) {
                EXPECT_EQ(exact.columns[j].basic, derived.columns[j].basic) << j;
            }
            EXPECT_EQ(exact.columns[j].entryPrice, derived.columns[j].entryPrice) << j;
            const double m = exact.columns[j].entryPrice;
            if (exact.columns[j].x == 0.0 && m > 0.0005) {
                EXPECT_NEAR(Val(entry), m, 5e-4) << j;
            }
        }
        EXPECT_EQ(exact.rows.size(), derived.rows.size());
    }
    openProblem().reset();
}

} // namespace

namespace {

// Three ingredients, two with share limits (every ingredient has a minimum row, 0 when none is
// given), and one group with a limit: with its membership row, or named without one (a problem
// file may hold the names and no membership rows).
void installGroupedProblem(bool withMembership)
{
    using test::Opt;
    test::FeedProblem fp;
    fp.ingredients = {{QStringLiteral("ARPA"), 10.0, {}, Opt(20.0), {}},
                      {QStringLiteral("MISIR"), 12.0, {}, {}, Opt(60.0)},
                      {QStringLiteral("SOYA"), 30.0, {}, {}, {}}};
    fp.nutrients = {{QStringLiteral("AĞIRLIK"), 1.0, {}, {}, QStringLiteral("Kg/Kg")},
                    {QStringLiteral("HP"), {}, 15.0, {}}};
    fp.content = {{1.0, 1.0, 1.0}, {10.0, 8.0, 44.0}};
    fp.groups = {{QStringLiteral("TAHIL"), {}, {}, 90.0}};
    fp.membership = {{1.0, 1.0, 0.0}};
    fp.install();
    if (!withMembership)
        openProblem().AGMAT.clear();
}

} // namespace

TEST(ReportInputFromSolver, GroupRowsAreTheRowsBuiltNotTheGroupNames)
{
    struct Case
    {
        bool membership;
        std::vector<ReportInput::RowGroup> limitRows; // after the nutrients, in order
    };
    using G = ReportInput::RowGroup;
    const Case cases[] = {
        {true, {G::Ingredient, G::Ingredient, G::Ingredient, G::Ingredient, G::Group}},
        {false, {G::Ingredient, G::Ingredient, G::Ingredient, G::Ingredient}},
    };
    test::ScriptedMessages messages;
    for (const Case &c : cases) {
        SCOPED_TRACE(c.membership);
        installGroupedProblem(c.membership);
        KY_OPTIMIZER solver(nullptr, true);
        ASSERT_EQ(solver.RESULT(), 1);
        const ReportInput in = reportInputFrom(solver);
        std::vector<G> groups;
        QStringList names;
        for (const ReportInput::LimitRow &r : in.rows) {
            if (r.group != G::Nutrient) {
                groups.push_back(r.group);
                names << r.name;
            }
        }
        EXPECT_EQ(groups, c.limitRows) << names.join(u',').toStdString();
        EXPECT_EQ(names.mid(0, 4), (QStringList{QStringLiteral("ARPA"), QStringLiteral("MISIR"), QStringLiteral("SOYA"),
                                                QStringLiteral("MISIR")}));
        // The report prints the ingredient limits under their own heading, and a group heading only
        // over a group row.
        const QStringList lines = trimmedLines(detailedReportText(in, kNow));
        const qsizetype ingredients = lines.indexOf(QStringLiteral("       Yem Maddesi (%):"));
        ASSERT_GT(ingredients, 0);
        EXPECT_TRUE(lines.at(ingredients + 1).startsWith(QStringLiteral("       ARPA ")));
        EXPECT_TRUE(lines.at(ingredients + 2).startsWith(QStringLiteral("       MISIR ")));
        const qsizetype group = lines.indexOf(QStringLiteral("       Yem Maddesi Grubu (%):"));
        EXPECT_EQ(group > 0, c.membership);
        if (group > 0) {
            EXPECT_TRUE(lines.at(group + 1).startsWith(QStringLiteral("       TAHIL ")));
        }
    }
    openProblem().reset();
}
