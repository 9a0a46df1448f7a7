// Figures of the reference-matrix editor on a generated matrix of 999 ingredients and 56 fields: open
// to a ready grid, save, column arithmetic over every row, insert at row 1, a move, one keystroke of
// the search and a repaint while scrolling. Medians of several runs; run by hand from a Release build:
//   QT_QPA_PLATFORM=offscreen build/rel/tests/refdb/bench_rm_editor
#include "controls/grid_subclasses.h"
#include "platform/dbf_filespec.h"
#include "platform/dbf_table.h"
#include "platform/message_sink.h"
#include "problem/app_globals.h"
#include "problem/reference_tables.h"
#include "refdb/rm_edit_window.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTest>

#include <algorithm>
#include <cstdio>
#include <vector>

using namespace vexo;

namespace {

constexpr int kRows = 999;

// Every question answered Yes, every box passed by: the benchmark times the work, not the user.
struct YesMessages : MessageSink
{
    MessageAnswer show(const MessageRequest &r) override
    {
        return r.buttons() == MB_YESNO ? MessageAnswer::Yes : MessageAnswer::Ok;
    }
    void tones(const QList<Tone> &) override {}
};

double median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v.empty() ? 0.0 : v[v.size() / 2];
}

double msSince(const QElapsedTimer &t)
{
    return double(t.nsecsElapsed()) / 1e6;
}

bool writeTables(const QString &root)
{
    const DbfStructure layout = HKM_STRCREATE();
    const QString defs = QDir(root).filePath(kNutrientDefinitionFile);
    if (!DbfFileSpec(defs).create(nutrientDefinitionStructure()))
        return false;
    {
        DbfTable t(defs, false, false);
        for (int i = 4; i < layout.size(); ++i) {
            if (!t.append())
                return false;
            t.fieldPut(QStringLiteral("NUM"), double(i - 3));
            t.fieldPut(QStringLiteral("NAME"), QStringLiteral("Besin maddesi %1").arg(i - 3));
            t.fieldPut(QStringLiteral("ABRRE"), layout[i].name);
            t.fieldPut(QStringLiteral("UNIT"), QStringLiteral("%"));
            t.fieldPut(QStringLiteral("DECIM"), 4.0);
        }
        if (!t.commit())
            return false;
    }
    const QString matrix = QDir(root).filePath(kReferenceMatrixFile);
    if (!DbfFileSpec(matrix).create(layout))
        return false;
    DbfTable t(matrix, false, false);
    for (int r = 1; r <= kRows; ++r) {
        if (!t.append())
            return false;
        t.fieldPut(1, double(r));
        t.fieldPut(2, QStringLiteral("YEM MADDESİ %1").arg(r, 4, 10, QChar(u'0')));
        t.fieldPut(3, QStringLiteral("%1.500").arg(r % 90).rightJustified(11));
        t.fieldPut(4, QStringLiteral("GRUP %1").arg(r % 7));
        for (int c = 5; c <= layout.size(); ++c)
            t.fieldPut(c, QStringLiteral("%1.%2").arg((r * c) % 97).arg(c % 10, 4, 10, QChar(u'0')).rightJustified(11));
    }
    return t.commit();
}

} // namespace

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    YesMessages yes;
    setMessageSink(&yes);
    QTemporaryDir dir;
    appGlobals().CVERIKOK = dir.path();
    RM_EDIT_WINDOW::setColumnMathDialog([](QWidget *, const BARRAYSERVER *) {
        return std::optional<ColumnMathRequest>(ColumnMathRequest{QStringLiteral("*"), QStringLiteral("N"), QStringLiteral("1.0100")});
    });

    std::vector<double> opens, saves, maths, inserts, moves, searches, repaints;
    for (int run = 0; run < 7; ++run) {
        if (!writeTables(dir.path())) {
            std::fprintf(stderr, "could not write the benchmark tables\n");
            return 1;
        }
        QElapsedTimer t;
        t.start();
        auto *w = new RM_EDIT_WINDOW;
        w->resize(1280, 900);
        w->show();
        if (!w->loaded() || !QTest::qWaitForWindowExposed(w))
            return 1;
        w->BROWSER()->viewport()->repaint();
        opens.push_back(msSince(t));
        ReferenceMatrixRows &rows = *w->rows();
        BARRAYSERVER &s = *rows.server();

        s.GOTO(1);
        w->BROWSER()->setCURRENTCOLUMN(10);
        t.restart();
        w->COLMATHBM();
        w->BROWSER()->viewport()->repaint();
        maths.push_back(msSince(t));

        s.GOTO(1);
        t.restart();
        w->INSBLNKYM();
        w->BROWSER()->viewport()->repaint();
        inserts.push_back(msSince(t));

        s.GOTO(900);
        w->YMSEC();
        s.GOTO(3);
        t.restart();
        w->YMKAYDIR();
        w->BROWSER()->viewport()->repaint();
        moves.push_back(msSince(t));

        w->SLE_ARA()->setText(QStringLiteral("YEM MADDESİ 098"));
        w->SLE_ARA()->setFocus();
        t.restart();
        QTest::keyClick(w->SLE_ARA(), Qt::Key_7);
        w->BROWSER()->viewport()->repaint();
        searches.push_back(msSince(t));

        QScrollBar *bar = w->BROWSER()->verticalScrollBar();
        for (int step = 0; step < 40; ++step) {
            bar->setValue((bar->maximum() * step) / 40);
            t.restart();
            w->BROWSER()->viewport()->repaint();
            repaints.push_back(msSince(t));
        }

        rows.changed = true;
        t.restart();
        if (!rows.RMATRIXKAYDI())
            return 1;
        saves.push_back(msSince(t));

        rows.changed = false;
        w->CLOSE();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
    std::printf("reference matrix editor, %d ingredients x %d fields (medians, ms):\n", kRows,
                int(HKM_STRCREATE().size()));
    std::printf("  open to a ready grid         %8.2f\n", median(opens));
    std::printf("  save                         %8.2f\n", median(saves));
    std::printf("  column arithmetic, all rows  %8.2f\n", median(maths));
    std::printf("  insert at row 1              %8.2f\n", median(inserts));
    std::printf("  move row 900 to row 3        %8.2f\n", median(moves));
    std::printf("  one search keystroke         %8.2f\n", median(searches));
    std::printf("  repaint while scrolling      %8.2f (max %.2f)\n", median(repaints),
                *std::max_element(repaints.begin(), repaints.end()));
    setMessageSink(nullptr);
    return 0;
}
