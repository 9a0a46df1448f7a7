#pragma once

#include <QString>

namespace vexo {

// The status button's three states.
enum class SolutionStatus { NotSolved, Optimal, NoSolution };

// Icon name and tool tip of a state.
QString statusIcon(SolutionStatus status);
QString statusTip(SolutionStatus status);
// The state the outcome of the last solve shows ("E" optimum, "H" none); any other outcome leaves
// the button as it is.
SolutionStatus statusAfterSolve(const QString &outcome, SolutionStatus shown);

// The five read-only cost fields below the grid.
struct CostTexts
{
    QString current, previous, currentDifference, saved, savedDifference;
    bool operator==(const CostTexts &) const = default;
};

// Refreshes the fields from the current, previous and saved unit cost. A zero cost is no cost, and a
// field whose costs are missing keeps the text it had.
CostTexts costTexts(const CostTexts &shown, double current, double previous, double saved);

} // namespace vexo
