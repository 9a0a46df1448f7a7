#pragma once

#include "controls/barray_server.h"
#include "problem/open_problem.h"
#include "problem/reference_tables.h"

#include <QList>
#include <QStringList>

#include <optional>

namespace vexo {

// The active-matrix editor's rows, without windows.

// Column 1: the trimmed name, then ", " and the trimmed unit when the nutrient has a non-empty unit.
QString matrixNameCell(const QStringList &names, const QStringList &units, int index0);
// An ingredient column's caption: the words (cut at " .,;:") split in two lines, the first half of
// them on the first; a name of one word stands alone on the second line.
QString ingredientCaption(const QString &name);
// MATFNAMEUNIT, then MATYMNAME1..n for the ingredients.
ServerFields matrixFields(int ingredients);
// The matrix with the name cell in front of each row.
QList<QStringList> matrixRows(const RowList &matrix, const QStringList &names, const QStringList &units);
// The copy without the element at the 1-based position; the list must not be empty.
QStringList AKILL(const QStringList &list, int position);
// The grid's rows back as a matrix: the name cell of every row dropped.
RowList committedMatrix(const QList<QStringList> &rows);
// The decimals each nutrient's typed values are rounded to: 4, or the decimals of the last definition
// whose abbreviation equals the first nutrient of that exact name.
QList<int> rowDecimals(const QStringList &names, const QList<NutrientDecimals> &definitions);
// What a paste writes: the clipboard value normalised to the row's decimals when it is a number text
// of at most 11 characters (a blank value stays blank); nothing for anything else.
std::optional<QString> pastedCell(const QString &clipboard, int decimals);

// Macro-nutrient linking.
// The nutrients offered as macro: the names without the first that is exactly "AĞIRLIK".
QStringList macroCandidates(const QStringList &names);
// A linked cell scaled by new/old (0 when old is 0), rounded half away from zero to 4 decimals and
// written in 11 characters; nothing when the value does not fit.
std::optional<QString> scaledLinkedCell(const QString &linked, double oldValue, double newValue);

// The column of one ingredient after a linking: cells by nutrient row (0-based), the macro row and
// the linked rows. Empty when a scaled value does not fit, so nothing is written.
struct LinkResult
{
    QList<QPair<int, QString>> writes; // row (0-based), new text; the macro row last
};
std::optional<LinkResult> linkColumn(const QStringList &column, const QStringList &names, const QString &macro,
                                     const QString &newText, const QStringList &linked);

} // namespace vexo
