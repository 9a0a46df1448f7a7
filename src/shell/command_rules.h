#pragma once

#include <QString>

#include <vector>

namespace vexo {

class OpenProblem;

// What the enabling rules read of the open problem.
struct ProblemShape
{
    bool open = false;
    int ingredients = 0;      // AYMADLARI
    int nutrients = 0;        // ABMADLARI
    int matrixRows = 0;       // AAMAT
    int firstRowCells = 0;    // cells of AAMAT's first row

    static ProblemShape of(const OpenProblem &problem);
    // At least two ingredient names and two nutrient names.
    bool namesReady() const { return ingredients >= 2 && nutrients >= 2; }
    // At least two matrix rows and two cells in the first.
    bool matrixReady() const { return matrixRows >= 2 && firstRowCells >= 2; }
};

struct ItemState
{
    int id = 0;
    bool enabled = false;
    bool operator==(const ItemState &) const = default;
};

struct PaneItemState
{
    QString header;
    QString item;
    bool enabled = false;
    bool operator==(const PaneItemState &) const = default;
};

// The main menu's problem items (and their buttons) for a problem shape, in the order they are set.
std::vector<ItemState> menuItemStates(const ProblemShape &shape);
// The navigation pane's items for a problem shape.
std::vector<PaneItemState> paneItemStates(const ProblemShape &shape);
// LAMATHAZIR after the rules ran.
inline bool matrixReadyFlag(const ProblemShape &shape) { return shape.open && shape.matrixReady(); }

// The start-up options and the data source as the main menu's marks show them.
struct StartupMarks
{
    bool tipAtStart = false;    // LACILISTUYO
    bool logoAtStart = false;   // LACILISLOGO
    bool logonAtStart = false;  // LACILISGIRIS
    bool readReference = true;  // LRMDENOKU
};

enum class MarkAction { Check, Uncheck, Disable };
struct MarkStep
{
    MarkAction action = MarkAction::Check;
    int id = 0;
    bool operator==(const MarkStep &) const = default;
};

// What POSTMENUEXDUZEN does to a freshly built main menu, in order.
std::vector<MarkStep> startupMarkSteps(const StartupMarks &marks);

} // namespace vexo
