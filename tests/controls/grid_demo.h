#pragma once

#include "controls/grid_subclasses.h"

#include <QList>

#include <memory>

namespace vexo::test {

// An ingredient-editor-like grid for the benchmark and the screenshot harness: a frozen name column
// and `cells` 11-character number columns over `rows` rows, odd rows shaded, the "*" condition on
// the solution columns, out-of-stock rows in cyan, editable input columns in blue, two-line captions,
// and an owner that normalises typed numbers to three decimals.
struct DemoGrid
{
    BrowserOwner owner;
    QList<bool> stock;
    std::shared_ptr<BARRAYSERVER> server;
    std::unique_ptr<YM_BBROWSER> grid;
    bool changed = false;
};

std::unique_ptr<DemoGrid> makeDemoGrid(int rows, int cells, QWidget *parent = nullptr);

// The rows alone (for loading figures): a name and `cells` number texts per row.
QList<QStringList> demoRows(int rows, int cells);

} // namespace vexo::test
