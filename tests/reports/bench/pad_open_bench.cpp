// How long the detailed report of an 85 x 60 problem takes to open in a report pad: the pad is
// built, the file read, the text laid out at the 10-inch page and painted once. Run by hand from a
// Release build; under Xvfb (DISPLAY set) it paints on a real X screen, otherwise offscreen.

#include "reports/pad_document.h"
#include "reports/pad_rich_edit.h"
#include "reports/pad_window.h"
#include "reports/report_file.h"
#include "solver/report_detailed.h"

#include <benchmark/benchmark.h>

#include <QAbstractTextDocumentLayout>
#include <QApplication>
#include <QTemporaryDir>

using namespace vexo;

namespace {

// A solved problem of 85 ingredients and 60 nutrients as the detailed report prints it: about a
// third of the ingredients in the formula, every nutrient and ingredient with a limit.
ReportInput largeReport()
{
    ReportInput in;
    in.optimum = true;
    in.cost = 14.727;
    in.mixer = QStringLiteral("1000");
    in.currency = QStringLiteral("TL");
    in.weightUnit = QStringLiteral("Kg");
    in.company = QStringLiteral("Örnek Yem Sanayi");
    in.feedName = QStringLiteral("Besi Yemi");
    in.preparer = QStringLiteral("Şükrü Çağlar");
    in.fileName = QStringLiteral("BUYUK");
    in.fileDir = QStringLiteral("/veri");
    for (int j = 0; j < 85; ++j) {
        ReportInput::Column c;
        c.name = QStringLiteral("YEM MADDESİ %1").arg(j + 1);
        c.price = 1.0 + j * 0.37;
        c.basic = j % 3 == 0;
        c.x = c.basic ? 1.0 / 29 : 0.0;
        c.entryPrice = c.basic ? c.price : c.price - (0.5 + j * 0.01);
        in.columns.push_back(c);
    }
    for (int i = 0; i < 60; ++i) {
        ReportInput::LimitRow r;
        r.name = QStringLiteral("BESİN %1,%").arg(i + 1);
        r.kind = i % 2 ? QStringLiteral("Alt") : QStringLiteral("Üst");
        r.limit = 1.0 + i;
        r.value = QStringLiteral("%1").arg(1.5 + i, 11, 'f', 4);
        r.mark = QString(7, u' ');
        r.shadow = 0.01 * i;
        in.rows.push_back(r);
    }
    for (int j = 0; j < 85; ++j) {
        ReportInput::LimitRow r;
        r.group = ReportInput::RowGroup::Ingredient;
        r.name = in.columns[std::size_t(j)].name;
        r.kind = QStringLiteral("Alt");
        r.limit = 0.0;
        r.value = QStringLiteral("%1").arg(in.columns[std::size_t(j)].x * 100, 11, 'f', 3);
        r.mark = QString(7, u' ');
        r.shadow = 0.0;
        in.rows.push_back(r);
    }
    return in;
}

void openDetailedReport(benchmark::State &state)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("BUYUK.TXT"));
    const QString text = detailedReportText(largeReport(), QDateTime(QDate(2026, 3, 14), QTime(9, 26, 53)));
    writeReportFile(path, text);
    state.counters["characters"] = double(text.size());
    for (auto _ : state) {
        PADWIN pad;
        pad.resize(1100, 800);
        pad.setCFNAME(QStringLiteral("BUYUK.TXT"));
        pad.loadFile(path);
        pad.show();
        pad.ODCRICHEDIT()->document()->documentLayout()->documentSize();
        pad.repaint();
        QCoreApplication::processEvents();
        benchmark::DoNotOptimize(pad.plainText().size());
    }
}
BENCHMARK(openDetailedReport)->Unit(benchmark::kMillisecond)->MinTime(2.0);

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("DISPLAY"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
