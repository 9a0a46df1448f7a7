#pragma once

#include "controls/outlook_bar_rect.h"

#include <QList>
#include <QSize>
#include <QString>
#include <QStringList>

#include <functional>
#include <optional>

namespace vexo {

// The bar's three looks. Values outside these three are refused by the bar's STYLE assign.
enum class OutlookBarStyle { STDSTYLE = 0, JOVSTYLE = 1, NEWSTYLE = 2 };

// Wraps a caption at the given width and answers the wrapped text's width and height; a single word
// wider than the width answers the wider width.
using CaptionMeasure = std::function<QSize(const QString &caption, int wrapWidth)>;

// Everything the bar's layout depends on: the client rectangle (right and bottom are the width and
// height), the spacings, the icon and arrow-button sizes, the headers and the open header's items
// with its scroll position.
struct OutlookBarLayoutInput
{
    WRECT client;
    OutlookBarStyle style = OutlookBarStyle::STDSTYLE;
    int headerHeight = 22;
    int itemTopSpace = 5;
    int labelSpacing = 3;
    int itemSpacing = 6;
    int imageWidth = 0;
    int imageHeight = 0;
    int arrowWidth = 16;
    int arrowHeight = 16;

    int headerCount = 0;
    int openHeader = -1; // position (from 0) of the open header; -1 when none is open

    // The open header's items and the state the layout starts from; the last three are kept when no
    // item is laid out.
    QStringList captions;
    int firstVisibleItem = -1;
    int lastVisibleItem = -1;
    bool isUpArrow = false;
    bool isDownArrow = false;
};

struct OutlookBarItemPlace
{
    int position = 0; // from 1, as the header counts its items
    WRECT area;       // the icon
    std::optional<WRECT> label; // none for an empty caption
};

struct OutlookBarLayout
{
    QList<WRECT> headerAreas;

    bool hasOpenHeader = false;
    WRECT insideRect;        // the open header's item area (only when hasOpenHeader)
    int lowerHeaderStop = 0; // top of the first header stacked at the bottom

    QList<OutlookBarItemPlace> items; // the laid-out items, from the first visible one on
    int lastVisibleItem = -1;
    bool isUpArrow = false;
    bool isDownArrow = false;
    WRECT upArrow;   // empty when the arrow does not show
    WRECT downArrow;
};

// Places the headers, the open header's items with their captions and the two scroll arrows. The
// items are laid out from the first visible one until one passes the bottom of the item area; that
// one is still placed, cut by the area.
OutlookBarLayout layoutOutlookBar(const OutlookBarLayoutInput &in, const CaptionMeasure &measure);

// x / 2 rounded towards minus infinity, as the centring rules ask.
constexpr int halfDown(int x)
{
    return x >= 0 ? x / 2 : -((-x + 1) / 2);
}

} // namespace vexo
