#include "controls/outlook_bar_layout.h"

namespace vexo {

namespace {

void layoutItems(const OutlookBarLayoutInput &in, const CaptionMeasure &measure, OutlookBarLayout &out)
{
    const int n = int(in.captions.size());
    if (in.firstVisibleItem <= 0)
        return; // a header without items

    const WRECT r = out.insideRect;
    const bool isNew = in.style == OutlookBarStyle::NEWSTYLE;
    const int step = in.imageHeight + in.itemSpacing;
    const int x = isNew ? 5 : halfDown(r.RIGHT - r.LEFT - in.imageWidth);
    int y = r.TOP + in.itemTopSpace;

    for (int i = in.firstVisibleItem; i <= n; ++i) {
        OutlookBarItemPlace place;
        place.position = i;
        place.area = isNew ? WRECT(x, y, r.RIGHT - 5, y + in.imageHeight)
                           : WRECT(x, y, x + in.imageWidth, y + in.imageHeight);
        const QString &caption = in.captions.at(i - 1);
        if (!caption.isEmpty()) {
            if (isNew) {
                // The caption sits beside the icon on the same row.
                WRECT label = place.area;
                label.LEFT = in.imageWidth + 15;
                place.label = label;
                y += in.labelSpacing;
            } else {
                const int top = y + in.imageHeight + in.labelSpacing;
                const QSize size = measure ? measure(caption, r.RIGHT - r.LEFT) : QSize();
                WRECT label(r.LEFT, top, r.LEFT + size.width(), top + size.height());
                const int dx = halfDown(r.RIGHT - label.RIGHT);
                label.LEFT += dx;
                label.RIGHT += dx;
                place.label = label;
                y += label.HEIGHT() + in.labelSpacing;
            }
        }
        y += step;
        out.items.append(place);
        out.lastVisibleItem = i;
        if (y > r.BOTTOM)
            break;
    }

    y -= in.itemSpacing; // the bottom of the last laid-out item
    out.isDownArrow = out.lastVisibleItem < n || (out.lastVisibleItem == n && y > r.BOTTOM);
    out.isUpArrow = in.firstVisibleItem > 1;
}

void placeArrows(const OutlookBarLayoutInput &in, OutlookBarLayout &out)
{
    const WRECT r = out.insideRect;
    const int cx = in.arrowWidth;
    const int cy = in.arrowHeight;
    out.upArrow = out.isUpArrow ? WRECT(r.RIGHT - cx - 5, r.TOP + 5, r.RIGHT - 5, r.TOP + 5 + cy) : WRECT();
    out.downArrow = out.isDownArrow ? WRECT(r.RIGHT - cx - 5, r.BOTTOM - cy - 5, r.RIGHT - 5, r.BOTTOM - 5)
                                    : WRECT();
}

} // namespace

OutlookBarLayout layoutOutlookBar(const OutlookBarLayoutInput &in, const CaptionMeasure &measure)
{
    OutlookBarLayout out;
    out.lastVisibleItem = in.lastVisibleItem;
    out.isUpArrow = in.isUpArrow;
    out.isDownArrow = in.isDownArrow;

    const int n = in.headerCount;
    const int h = in.headerHeight;
    const WRECT &rc = in.client;
    bool found = false;
    for (int i = 1; i <= n; ++i) {
        // Headers up to the open one stack from the top, the others from the bottom edge.
        const int top = found ? rc.BOTTOM - (n + 1 - i) * h : (i - 1) * h;
        out.headerAreas.append(WRECT(0, top, rc.RIGHT - 1, top + h - 1));
        if (!found && i - 1 == in.openHeader) {
            found = true;
            out.hasOpenHeader = true;
            out.lowerHeaderStop = rc.BOTTOM - (n - i) * h;
            out.insideRect = WRECT(rc.LEFT, top + h, rc.RIGHT - 1, out.lowerHeaderStop - 1);
            layoutItems(in, measure, out);
            placeArrows(in, out);
        }
    }
    return out;
}

} // namespace vexo
