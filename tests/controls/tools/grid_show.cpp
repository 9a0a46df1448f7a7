// Shows the benchmark's grid (60 rows, a frozen name column and 86 number columns) in a window of
// 1280 x 900, for looking at it under a display: grid_show [rows] [cells] [--stored FILE]. With
// --stored, every stored edit appends "record field text" to FILE, for scripts that drive the grid;
// once shown it prints "geometry CAPTION ROW FROZEN" (pixel heights of the caption row and of a row,
// and the width of the frozen columns).

#include "grid_demo.h"

#include <QApplication>
#include <QFile>
#include <QHeaderView>
#include <QTextStream>

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    QStringList args = app.arguments();
    QString storedPath;
    if (const qsizetype at = args.indexOf(QStringLiteral("--stored")); at > 0 && at + 1 < args.size()) {
        storedPath = args.at(at + 1);
        args.remove(at, 2);
    }
    const int rows = args.size() > 1 ? args.at(1).toInt() : 60;
    const int cells = args.size() > 2 ? args.at(2).toInt() : 86;
    auto d = vexo::test::makeDemoGrid(rows, cells);
    if (!storedPath.isEmpty()) {
        auto normalise = d->owner.CELLEDIT;
        d->owner.CELLEDIT = [normalise, storedPath](vexo::BCellEditEvent &e) {
            const bool answer = normalise(e);
            if (e.mode == vexo::CellEditMode::Stored) {
                QFile f(storedPath);
                if (f.open(QIODevice::Append | QIODevice::Text))
                    QTextStream(&f) << e.recNo << ' ' << e.column << ' ' << e.TEXTVALUE.trimmed() << '\n';
            }
            return answer;
        };
    }
    d->grid->setWindowTitle(QStringLiteral("Izgara"));
    d->grid->resize(1280, 900);
    d->grid->move(0, 0);
    d->grid->show();
    d->grid->SETFOCUS();
    // Where scripts find the cells: the caption row's height, a row's height, the frozen width.
    QTextStream(stdout) << "geometry " << d->grid->horizontalHeader()->height() << ' ' << d->grid->ROWHEIGHT()
                        << ' ' << d->grid->frozenWidth() << Qt::endl;
    return app.exec();
}
