#pragma once

#include "controls/icon_push_button.h"
#include "controls/outlook_bar_layout.h" // halfDown

#include <QSize>
#include <QString>

#include <optional>

namespace vexo {

// Where a bitmap button's caption stands relative to its image.
enum class CaptionPos { TOP, LEFT, BOTTOM, RIGHT, CENTER };

// The position named by a symbol (TOP, LEFT, BOTTOM, RIGHT, CENTER, any case); none for another text.
std::optional<CaptionPos> captionPosFromSymbol(const QString &symbol);
QString captionPosSymbol(CaptionPos pos);

// The layout area runs from 0,0 to `area` (right W, bottom H). `shifted` (pressed or disabled) moves
// the result 2 pixels down.
EdgeRect bitmapImageRect(CaptionPos pos, QSize area, QSize image, bool shifted);
// `text` is the caption's measured extent; an empty caption gets the area shrunk by 6, not shifted.
EdgeRect bitmapTextRect(CaptionPos pos, QSize area, QSize text, bool emptyCaption, bool shifted);
// The dotted focus rectangle: the caption's rectangle grown by 2 when the button has an image list,
// else the area shrunk by 4.
EdgeRect bitmapFocusRect(QSize area, const EdgeRect &textRect, bool hasImageList);

// Which image a button shows: the index to draw, or `disabledLook` when image 0 is to be drawn in the
// system's disabled look; none when the list is empty. Images: 0 normal, 1 pressed, 2 hot,
// 3 disabled.
struct BitmapImageChoice
{
    int index = 0;
    bool disabledLook = false;
    bool operator==(const BitmapImageChoice &) const = default;
};
std::optional<BitmapImageChoice> bitmapImageChoice(int count, bool pressed, bool hot, bool enabled);

// The rows of the drop-down arrow and the two separator columns for a client area of `size`.
struct DropDownMarks
{
    int arrowLeft = 0;  // first pixel of the 5-pixel top row
    int arrowTop = 0;   // the top row; the 3- and 1-pixel rows follow below, each 1 further right
    int shadowX = 0;    // the shadow-coloured separator column
    int lightX = 0;     // the white separator column
    int lineTop = 4;    // the separator's first row
    int lineBottom = 0; // one past its last row
    bool operator==(const DropDownMarks &) const = default;
};
DropDownMarks dropDownMarks(QSize size, bool pressed, bool focused);
// The layout area of a drop-down button: the client area less the arrow's 14 pixels at the right.
QSize dropDownLayoutArea(QSize size);

} // namespace vexo
