// Shows the benchmark's grid (60 rows, a frozen name column and 86 number columns) in a window of
// 1280 x 900, for looking at it under a display: grid_show [rows] [cells].

#include "grid_demo.h"

#include <QApplication>

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    const QStringList args = app.arguments();
    const int rows = args.size() > 1 ? args.at(1).toInt() : 60;
    const int cells = args.size() > 2 ? args.at(2).toInt() : 86;
    auto d = vexo::test::makeDemoGrid(rows, cells);
    d->grid->setWindowTitle(QStringLiteral("Izgara"));
    d->grid->resize(1280, 900);
    d->grid->move(0, 0);
    d->grid->show();
    d->grid->SETFOCUS();
    return app.exec();
}
