#pragma once

#include <utility>
#include <vector>

namespace vexo {

class SimplexTableau;

// An ingredient column left out of an optimal formula, whose entry price is wanted.
struct EntryColumn
{
    int column = -1;    // its tableau column
    double worth = 0.0; // what it is worth at the final basis's shadow prices, its own limit rows left out
    // Its own limit rows: for each, the column that was basic in the row at the start (a unit column
    // there, so the final tableau holds the row's part of the basis inverse in it) and the
    // ingredient's coefficient in the row.
    std::vector<std::pair<int, double>> ownRows;
};

// The entry prices of columns left out of the optimum the tableau holds: for each, the least it is
// worth over every optimal set of shadow prices, its own limit rows left out (so an ingredient kept
// out only by its own limit of 0 shows what it would pay for if that limit let it in). Below that
// price the ingredient enters the formula at a positive level; at or above it the formula stays.
//
// The final basis's shadow prices are one optimal set. Where no basic variable sits at 0 they are
// the only one and the entry price is the worth at them. Otherwise the other optimal sets are reached
// by lowering the price parametrically: the column (without its own limit rows) enters, degenerate
// pivots change the basis at no change of the formula, and the price at which a pivot first moves
// the formula is the entry price. This is a dual simplex over the rows whose basic variable sits at
// 0, warm-started from the final tableau, on the reduced costs of the columns that may move.
//
// -infinity where no price makes the column enter (the other limits keep it at 0); NaN where the
// programme did not settle within its passes (simplexLimits().entryPricePassCap).
std::vector<double> entryThresholds(const SimplexTableau &t, const std::vector<EntryColumn> &columns);

} // namespace vexo
