#pragma once

#include "controls/browser_owner.h"

#include <QList>

namespace vexo {

// The thirteen grid classes of the program's windows and dialogs.
enum class GridClass {
    YM,         // ingredient editor
    BM,         // nutrient editor
    BMO,        // ratio editor
    YMG,        // ingredient-group window
    AMAT,       // active-matrix editor
    RMAT,       // reference-matrix editor
    BMS,        // nutrient-definition editor
    RYY,        // form of one reference ingredient
    SSEARCH,    // add-ingredients dialog
    BMEKLE,     // add-nutrients dialog
    GRPBELIRLE, // group-membership dialog
    MTBOT,      // multiple-choice dialog
    CHOICE,     // single-choice dialog
};

// The owner flag a class sets on change notifications.
enum class OwnerFlag { None, GIRDEG, RMCHANGE, BMCHANGE, YYCHANGE, CHKDEG };
OwnerFlag ownerFlagOf(GridClass cls);

// What a notification does to the owner: set its change flag, and (nutrient definitions) the
// structure flag ALAN3DEG. Codes -1, 6, 7 and 10 set the flag (the reference matrix leaves out 7);
// the structure flag follows 6 always and -1 or 10 only while column 3 is current.
struct NotifyEffect
{
    bool setFlag = false;
    bool setStructure = false;
    bool operator==(const NotifyEffect &) const = default;
};
NotifyEffect notifyEffect(GridClass cls, int code, int currentColumn);

// What a mouse press does after the grid's own handling. `rowNo` is the grid's current row number
// after the press (0 none), `cell` the cell under the pointer, `active` whether the grid has focus,
// `outOfStock` the owner's stock test of the current record.
struct ClickEffect
{
    bool stockWarning = false;    // "Yem maddesi stokda yok!" to the owner's status bar
    bool keyboardModeOff = false; // the owner's keyboard navigation off
    bool toggleField = false;     // negate the tick field of the current record, then notify -1
    bool nameColumnAndFocus = false; // column 3 current and focus (add-ingredients dialog)
    bool singleChoice = false;    // CELLCLICKED
    bool operator==(const ClickEffect &) const = default;
};
ClickEffect clickEffect(GridClass cls, int button, BCELL cell, int rowNo, bool active, bool outOfStock);

class BARRAYSERVER;
// Position of the field a ticking class negates: field 1 in the add-ingredients dialog, the field
// named CHK in the other ticking dialogs; 0 for classes that tick no field.
int tickFieldPos(GridClass cls, const BARRAYSERVER &server);

// The single-choice rule over the ticked records: a ticked record is unticked; otherwise every tick
// goes and the record is ticked. At most one record is ticked afterwards.
QList<int> singleChoice(const QList<int> &ticked, int recNo);

inline const QString kOutOfStockWarning = QStringLiteral("Yem maddesi stokda yok!");

// --- number cells of the problem's grids (editors and groups) ----------------------------------------

// The typing filter of a number cell: digits, point, comma and minus stay, letters and blanks go as
// they are typed. A minus stays in sight so that the end of the edit can refuse it in words.
QString filterNumberTyping(const QString &text);

// What a text typed into a number cell that takes no negative amounts to. `filtered`: the typing filter
// took characters out during the edit, so a blank it left is no emptying by the user.
enum class TypedCell {
    Number,     // a number of zero or more
    Emptied,    // the user emptied the cell: no value given
    NotANumber, // letters the filter took out, or a text like "." or "1.2.3"
    Negative,   // a number below zero
};
TypedCell readTypedCell(const QString &typed, bool filtered);

// Status-bar texts of a refused entry; the cell keeps the value it had. `cell` names the cell
// ("Fiyat", "Alt sınır", ...); the limits are shown as their cells show them.
QString numbersOnlyText();
QString notANumberText();
QString noNegativeText(const QString &cell);
QString lowerAboveUpperText(const QString &lower, const QString &upper);
QString upperBelowLowerText(const QString &upper, const QString &lower);

} // namespace vexo
