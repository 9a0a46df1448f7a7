#pragma once

#include "controls/grid_rules.h"
#include "editors/editor_traits.h"

#include <QList>
#include <QString>

#include <optional>

class QWidget;

namespace vexo {

// A message box an edit rule asks for; the window shows it through the message seam.
struct Notice
{
    QString caption;
    QString text;
    unsigned style = 0;
    bool operator==(const Notice &) const = default;
};

// What an edit rule did to a row. The window applies it: tone first, then the boxes, then the row.
struct EditOutcome
{
    Row row;
    bool changed = false;      // the grid's rows now differ from the list (GIRDEG)
    bool priceChanged = false; // a price was typed (LFIATDEG)
    bool tone = false;         // the error tone sounds before the boxes
    QList<Notice> notices;
    // Why a typed entry was refused or blanked, for the status bar (empty when there is nothing to say).
    QString status;
    // The clipboard after the operation (copy, cut and paste only).
    std::optional<QString> clipboard;
};

// Sounds the tone and shows the boxes of an outcome, in that order.
void deliver(QWidget *owner, const EditOutcome &outcome);

// The typing filter: only the characters of a number stay (the minus is refused at the end of the edit).
QString filterTyping(const QString &text);

// Whether a cell edit may begin. The ingredient editor refuses every cell of an ingredient out of
// stock (silently); the nutrient editor refuses the fixed cell of the weight row with a box.
struct BeginEdit
{
    bool allowed = true;
    QList<Notice> notices;
};
BeginEdit beginCellEdit(EditorKind kind, const Row &row, int column, bool inStock);

// A typed value that changed a cell (column from 1): the fixed-value and limit rules, then the
// value normalised to its stored form. `decimals` is the nutrient row's decimals. `filtered` tells
// that the typing filter took characters out during this edit: a blank it left is no emptying by
// the user, so the cell keeps its value. No cell takes a negative. A text that is no number, a
// negative, and a limit on the wrong side of the other limit are refused: the row stays as it was
// and `status` says why.
EditOutcome endCellEdit(EditorKind kind, const Row &row, int column, const QString &typed, int decimals = 4,
                        bool filtered = false);

// The one-cell clipboard on the current cell. Outside the editable columns nothing happens at all.
EditOutcome copyCell(EditorKind kind, const Row &row, int column, const std::optional<QString> &clipboard);
EditOutcome cutCell(EditorKind kind, const Row &row, int column, const std::optional<QString> &clipboard);
EditOutcome clearCell(EditorKind kind, const Row &row, int column);
EditOutcome pasteCell(EditorKind kind, const Row &row, int column, const std::optional<QString> &clipboard);

// Texts of the rules' boxes. The status-bar texts of refused entries are the grids' own (grid_rules.h).
QString fixedFirstText();
QString mismatchText();
// The name of an editable cell in the status bar's words ("Fiyat", "Alt sınır", ...).
QString cellName(int column);

} // namespace vexo
