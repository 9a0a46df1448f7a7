#pragma once

#include "problem/open_problem.h"

#include <QList>
#include <QPoint>
#include <QSize>
#include <QString>
#include <QStringList>

namespace vexo {

// The three editors of the open problem share one window; these are the values that tell them apart.
enum class EditorKind { Ingredient, Nutrient, Ratio };

// One grid column: its field, width in characters, two-line caption and how it is shown.
struct EditorColumn
{
    QString field;
    int width = kCellWidth;
    QString caption;
    bool leftAligned = false; // names and units; numbers are right-aligned
    bool editable = false;
    bool starred = false; // a solution column: a cell beginning with "*" is drawn in red
};

struct EditorTraits
{
    EditorKind kind;
    QString className;     // also the window's label, by which the main window finds it
    QString resourceName;
    QString caption;
    QString command;       // the main window's command that opens it
    QString gridClass;
    QString mainMenu;
    QString contextMenu;
    QString icon;
    int solveItem = 0;
    QString helpKeyword;
    QString aboutCommand;
    int firstColumn = 1;   // the current column after set-up
    int freeWidth = 0;     // width left beside the grid
    QString notEnoughData; // status-bar text of a solve without a ready matrix
    int columnCount = 0;
};

const EditorTraits &editorTraits(EditorKind kind);

// The problem's list an editor copies into its grid, and the dirty flag its commit sets.
RowList &editorList(OpenProblem &p, EditorKind kind);
bool &editorDirtyFlag(OpenProblem &p, EditorKind kind);

// The unit of the ingredient price captions: currency "/" weight unit, each trimmed.
QString priceUnitText(const QStringList &parameters);

// The grid's columns in field order; `unit` is the price unit (ingredient window only).
QList<EditorColumn> editorColumns(EditorKind kind, const QString &unit = QString());
// A cell as a column of `width` characters shows it: a number text wider than the column (the file
// keeps the ingredient limits and saved shares in 12 characters) loses blanks, trailing ones first,
// never digits. The row keeps the cell as it is.
QString shownCell(const QString &cell, int width);

// The columns the user may type into, counted from 1: the price (ingredients) and the fixed value
// and both limits.
bool isEditableColumn(EditorKind kind, int column);
// Column positions (from 1) of the fixed value and the limits, the same in every list.
constexpr int kFixedColumn = 3;
constexpr int kLowerColumn = 4;
constexpr int kUpperColumn = 5;
constexpr int kPriceColumn = 2;

// Where the resize rule puts the controls for a client area of the given size.
struct EditorLayout
{
    QSize grid;
    QPoint currentCost, previousCost, currentDifference, status, savedCost, savedDifference;
};
EditorLayout editorLayout(EditorKind kind, QSize client);

} // namespace vexo
