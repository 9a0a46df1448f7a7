#pragma once

#include <QPoint>
#include <QString>

#include <functional>

class QKeyEvent;
class QLineEdit;
class QMouseEvent;

namespace vexo {

class BBROWSER;
class BDATACOLUMN;

// Moments of a cell edit the owner hears through CELLEDIT.
enum class CellEditMode {
    Begin = 1,  // an edit begins: answering false refuses it
    Typed = 3,  // the edit ends with a typed value: TEXTVALUE may be replaced, other cells written
    Stored = 7, // the value was stored in the row
};

// The edit field of a cell, as an owner sees it in CELLEDIT and EDITCHANGE.
struct BCellEditEvent
{
    BBROWSER *grid = nullptr;
    CellEditMode mode = CellEditMode::Begin;
    int column = 0;                // open column number from 1
    BDATACOLUMN *columnObject = nullptr;
    int recNo = 0;                 // the row being edited
    QString originalText;          // the cell's text when the edit began, without outer blanks
    QString TEXTVALUE;             // the edit field's text; in Typed the owner may replace it
    QLineEdit *editor = nullptr;   // the live edit field (EDITCHANGE; Begin and Typed where open)

    // Whether the text differs (blanks aside) from the cell's text when the edit began.
    bool VALUECHANGED() const;
};

// A cell under the pointer; COLUMN and ROW count from 1 and are 0 outside the data.
struct BCELL
{
    int COLUMN = 0;
    int ROW = 0;
};

// A mouse press as the grid classes see it. `platform` runs the grid's own handling of the press (the
// clicked row becomes current); without it the grid moves to the cell under `pos` itself.
struct BMouseEvent
{
    int BUTTONID = 0;  // 0 none, 1 left, 2 right, 3 middle
    QPoint pos;        // in the grid's data-area (viewport) coordinates
    std::function<void()> platform;

    bool ISLEFTBUTTON() const { return BUTTONID == 1; }
};

// What a grid's owner may offer. Every hook is optional: an unset hook is ignored, and the grid then
// does what it would do without an owner. One owner may serve several grids; events carry the grid.
//
// The edit road: CELLEDIT Begin (false refuses) -> typing, EDITCHANGE on every change of the text ->
// CELLEDIT Typed (the owner may rewrite TEXTVALUE and write other cells of the row through the
// server) -> when the final text differs from the cell's (blanks aside), the grid stores it at the
// field's width (the server sends its field notification) -> CELLEDIT Stored. An edit that leaves the
// text as it was stores nothing and raises nothing.
struct BrowserOwner
{
    virtual ~BrowserOwner() = default;

    std::function<bool(BCellEditEvent &)> CELLEDIT;
    std::function<void(BCellEditEvent &)> EDITCHANGE;
    std::function<void(BBROWSER &, BCELL)> CELLDOUBLECLICK;
    std::function<void(BBROWSER &, int column)> CAPTIONCLICK; // needs ENABLECAPTIONCLICK
    std::function<void(BBROWSER &, QKeyEvent &)> KEYDOWN;     // after the grid's own key handling
    std::function<void(const QString &)> STATUSMESSAGE;

    // Change flags the grid classes set to true (each class sets the one its owner keeps).
    std::function<void(bool)> GIRDEG;
    std::function<void(bool)> RMCHANGE;
    std::function<void(bool)> BMCHANGE;
    std::function<void(bool)> ALAN3DEG;
    std::function<void(bool)> YYCHANGE;
    std::function<void(bool)> CHKDEG;
    // The owner's keyboard-navigation mode (Enter moves to the next field); RYY_BBROWSER turns it off.
    std::function<void(bool)> KEYBOARDNAVIGATION;
};

} // namespace vexo
