// What a user feels of the grid, offscreen: attaching and the first paint, a full repaint, a page
// scroll, one cell edit from the key press to the repainted cell (the event loop paints what
// became dirty, as on screen), and a thousand rows loaded and
// painted. Each benchmark also reports the median and the 95th percentile of its iterations.

#include "grid_demo.h"

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QImage>
#include <QLineEdit>
#include <QPainter>
#include <QScrollBar>
#include <QtTest>

#include <algorithm>
#include <chrono>
#include <vector>

using namespace vexo;
using namespace vexo::test;

namespace {

constexpr int kWidth = 1280;
constexpr int kHeight = 900;

// Times each iteration of `body` and reports the median and the 95th percentile in milliseconds.
template <typename Body>
void timed(benchmark::State &state, Body body)
{
    std::vector<double> ms;
    for (auto _ : state) {
        const auto start = std::chrono::steady_clock::now();
        body(state);
        ms.push_back(std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count());
    }
    std::sort(ms.begin(), ms.end());
    if (!ms.empty()) {
        state.counters["median_ms"] = ms[ms.size() / 2];
        state.counters["p95_ms"] = ms[std::min(ms.size() - 1, ms.size() * 95 / 100)];
    }
}

// Paints the whole grid (captions, frozen strip, cells) the way the screen gets it.
void paint(QWidget &w, QImage &into)
{
    QPainter p(&into);
    w.render(&p);
}

std::unique_ptr<DemoGrid> shownGrid(int rows, int cells)
{
    auto d = makeDemoGrid(rows, cells);
    d->grid->resize(kWidth, kHeight);
    d->grid->show();
    d->grid->activateWindow();
    d->grid->SETFOCUS();
    QCoreApplication::processEvents();
    return d;
}

void BM_AttachAndFirstPaint(benchmark::State &state)
{
    QImage image(kWidth, kHeight, QImage::Format_ARGB32_Premultiplied);
    timed(state, [&](benchmark::State &) {
        auto d = makeDemoGrid(60, 86);
        d->grid->resize(kWidth, kHeight);
        paint(*d->grid, image);
    });
}

void BM_FullRepaint(benchmark::State &state)
{
    auto d = shownGrid(60, 86);
    QImage image(kWidth, kHeight, QImage::Format_ARGB32_Premultiplied);
    paint(*d->grid, image);
    timed(state, [&](benchmark::State &) { paint(*d->grid, image); });
}

void BM_PageScrollRightAndDown(benchmark::State &state)
{
    auto d = shownGrid(60, 86);
    QImage image(kWidth, kHeight, QImage::Format_ARGB32_Premultiplied);
    QScrollBar *h = d->grid->horizontalScrollBar();
    QScrollBar *v = d->grid->verticalScrollBar();
    timed(state, [&](benchmark::State &) {
        h->setValue(h->value() >= h->maximum() ? 0 : h->value() + h->pageStep());
        v->setValue(v->value() >= v->maximum() ? 0 : v->value() + v->pageStep());
        paint(*d->grid, image);
    });
}

void BM_CellEditKeyToRepaint(benchmark::State &state)
{
    auto d = shownGrid(60, 86);
    int n = 0;
    timed(state, [&](benchmark::State &s) {
        d->server->GOTO(1 + n % 4); // rows 1-4: row 5 is out of stock
        d->grid->setCURRENTCOLUMN(2 + n % 4);
        ++n;
        QTest::keyClick(d->grid.get(), Qt::Key(Qt::Key_1 + n % 9));
        if (!d->grid->currentEditor()) {
            s.SkipWithError("no edit field opened");
            return;
        }
        QTest::keyClick(d->grid->currentEditor(), Qt::Key_Return);
        // The event loop stores the value and paints what became dirty; then the cell is painted
        // for certain.
        QCoreApplication::processEvents();
        d->grid->viewport()->repaint(d->grid->visualRect(d->grid->currentIndex()));
    });
    if (!d->changed)
        state.SkipWithError("no edit was stored");
}

void BM_ThousandRowsLoadAndPaint(benchmark::State &state)
{
    QImage image(kWidth, kHeight, QImage::Format_ARGB32_Premultiplied);
    timed(state, [&](benchmark::State &) {
        auto d = makeDemoGrid(1000, 60);
        d->grid->resize(kWidth, kHeight);
        paint(*d->grid, image);
    });
}

} // namespace

BENCHMARK(BM_AttachAndFirstPaint)->Unit(benchmark::kMillisecond)->Iterations(30);
BENCHMARK(BM_FullRepaint)->Unit(benchmark::kMillisecond)->Iterations(100);
BENCHMARK(BM_PageScrollRightAndDown)->Unit(benchmark::kMillisecond)->Iterations(100);
BENCHMARK(BM_CellEditKeyToRepaint)->Unit(benchmark::kMillisecond)->Iterations(100);
BENCHMARK(BM_ThousandRowsLoadAndPaint)->Unit(benchmark::kMillisecond)->Iterations(20);

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
