#pragma once

#include "problem/open_problem.h"

#include <QList>
#include <QString>
#include <QStringList>

namespace vexo {

// One result of a list row: the value text and the shadow (or entry) price text; an empty price text
// (a solve without an optimum) leaves the price cell blank.
using ResultTable = QList<QStringList>;

// Whether a list row took part in a solve. The solver builds its result tables from exactly the rows
// that take part, in list order; the k-th such row owns the k-th result. A row that does not take
// part either has its result cells blanked or is left as it is.
enum class Participation { Takes, Blank, Leave };

// An ingredient takes part when it has a name and a price and is in stock.
Participation ingredientParticipation(const Row &row, bool inStock);
// A nutrient takes part when it has a name.
Participation nutrientParticipation(const Row &row);
// A ratio takes part when both its names are nutrients of the problem; a ratio with a blank name has
// its results blanked; one naming a nutrient that is gone keeps its old results.
Participation ratioParticipation(const Row &row, const QStringList &nutrientNames);
// A group takes part when it has a name.
Participation groupParticipation(const Row &row);

enum class ResultRows { Ingredients, Nutrients, Ratios, Groups };

struct WriteBackInput
{
    int counter = 0;         // the solve counter after this solve
    bool savedFlag = false;  // the list holds a saved solution
    QList<bool> stock;       // ingredient stock flags by list row (absent counts as in stock)
    QStringList nutrientNames; // the problem's nutrient names, for the ratios
};

struct WriteBackResult
{
    // False when the rows that take part do not match the result table in number; the rows are then
    // left untouched, for a shifted result would put one row's numbers beside another's name.
    bool ok = true;
    QStringList statusTexts; // texts for the status bar
};

// Writes a solve's results into the result columns of the rows: current solution, second result,
// the previous solution and both differences, and for nutrients the amounts on a dry-matter basis.
WriteBackResult writeBackResults(ResultRows which, RowList &rows, const ResultTable &results,
                                 const WriteBackInput &input);

// The message shown when a result table does not fit the rows.
QString resultMismatchText();

} // namespace vexo
