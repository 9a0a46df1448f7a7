// Figures of the ingredient editor at its largest (85 ingredients): the time from the key presses of
// a typed price to the repainted cell, and the time of a solve's write-back into the grid (results
// into the rows, the grid's server brought in step, the grid repainted). Medians of many runs; run by
// hand from a Release build:  QT_QPA_PLATFORM=offscreen build/rel/tests/editors/bench_editor
#include "editors/constraint_edit_window.h"

#include "controls/grid_subclasses.h"
#include "problem/open_problem.h"
#include "solver/ky_optimizer.h"
#include "solver_fixture.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QTest>

#include <algorithm>
#include <cstdio>
#include <vector>

using namespace vexo;

namespace {

double median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v.empty() ? 0.0 : v[v.size() / 2];
}

} // namespace

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    test::RandomShape shape;
    shape.ingredients = kMaxIngredients;
    shape.nutrients = 20;
    shape.extras = false;
    test::randomProblem(7, shape).install();
    openProblem().LAMATHAZIR = true;

    ConstraintEditWindow w(EditorKind::Ingredient);
    w.resize(1200, 900);
    w.show();
    if (!QTest::qWaitForWindowExposed(&w))
        return 1;
    QWidget *viewport = w.BROWSER()->viewport();

    std::vector<double> edits;
    for (int i = 0; i < 60; ++i) {
        w.server()->GOTO(1 + i % kMaxIngredients);
        w.BROWSER()->setCURRENTCOLUMN(2);
        w.BROWSER()->setFocus();
        QElapsedTimer t;
        t.start();
        QTest::keyClicks(w.BROWSER(), QString::number(10 + i % 7) + QStringLiteral(",5"));
        if (QLineEdit *editor = w.BROWSER()->currentEditor())
            QTest::keyClick(editor, Qt::Key_Return);
        viewport->repaint();
        edits.push_back(double(t.nsecsElapsed()) / 1e6);
    }

    std::vector<double> writeBacks;
    {
        KY_OPTIMIZER solver(nullptr, true);
        if (solver.RESULT() == 0) {
            std::fprintf(stderr, "the benchmark problem did not solve\n");
            return 1;
        }
        const ResultTable results = solver.ownResults(ResultRows::Ingredients);
        const OpenProblem &p = openProblem();
        for (int i = 0; i < 60; ++i) {
            QElapsedTimer t;
            t.start();
            writeBackResults(ResultRows::Ingredients, w.model().rows(), results,
                             WriteBackInput{2, true, p.AYMSTOK, p.ABMADLARI});
            emit w.model().rowsReset();
            viewport->repaint();
            writeBacks.push_back(double(t.nsecsElapsed()) / 1e6);
        }
    }
    std::printf("85-row ingredient editor: edit, key press to repainted cell: median %.2f ms\n", median(edits));
    std::printf("85-row ingredient editor: solve write-back into the grid and repaint: median %.2f ms\n",
                median(writeBacks));
    w.CLOSE();
    return 0;
}
