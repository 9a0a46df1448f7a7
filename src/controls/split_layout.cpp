#include "controls/split_layout.h"

namespace vexo {

namespace {

// The fields take any integer; do the per-cent arithmetic wide so that no value overflows.
int percentOf(int percent, int extent)
{
    return static_cast<int>(static_cast<qint64>(percent) * extent / 100);
}

bool acceptSize(qint64 size, int extent)
{
    return size > 0 && size <= extent;
}

} // namespace

int effectiveLeftSize(const SplitPaneSettings &s, QSize client)
{
    return s.POSTYPE == PaneSizing::PERCENT ? percentOf(s.LEFTSIZEPERCENT, client.width()) : s.LEFTSIZEPIXEL;
}

int effectiveBottomSize(const SplitPaneSettings &s, QSize client)
{
    return s.POSTYPE == PaneSizing::PERCENT ? percentOf(s.BOTTOMSIZEPERCENT, client.height()) : s.BOTTOMSIZEPIXEL;
}

SplitLayout computeSplitLayout(const SplitLayoutInput &in)
{
    const SplitPaneSettings &s = in.settings;
    int L = 0, V = 0, B = 0, H2 = 0;
    if (s.SHOWLEFTPANE) {
        L = effectiveLeftSize(s, in.client.size());
        if (s.CANRESIZELEFTPANE)
            V = splitBarThickness(in.frameMetricY);
    }
    if (s.SHOWBOTTOMPANE) {
        B = effectiveBottomSize(s, in.client.size());
        if (s.CANRESIZEBOTTOMPANE)
            H2 = splitBarThickness(in.frameMetricX);
    }

    // Edges as the window system counts them: right and bottom one past the last pixel.
    int left = in.client.x();
    int top = in.client.y();
    int right = in.client.x() + in.client.width();
    int bottom = in.client.y() + in.client.height();
    for (const DockedBar *bar : {&in.statusBar, &in.toolBar}) {
        if (!bar->visible)
            continue;
        if (bar->topAligned)
            top += bar->height;
        else
            bottom -= bar->height;
    }
    const int W = right - left;
    const int H = bottom - top;
    const int paneHeight = H - B - H2;

    SplitLayout out;
    out.placeLeftPane = s.hasLeftPane;
    out.placeBottomPane = s.hasBottomPane;
    out.leftPane = QRect(left, top, L, paneHeight);
    out.bottomPane = QRect(left, bottom - B, W, B);
    out.vertBar = QRect(left + L, top, V, paneHeight);
    out.horzBar = QRect(left, bottom - B - H2, W, H2);
    out.mdiClient = QRect(left + L + V, top, W - L - V, paneHeight + 1);
    return out;
}

bool applyVertSplitBarMove(SplitPaneSettings &s, QSize client, int distance)
{
    const qint64 size = qint64(effectiveLeftSize(s, client)) + distance;
    if (!acceptSize(size, client.width()))
        return false;
    s.LEFTSIZEPIXEL = static_cast<int>(size);
    s.LEFTSIZEPERCENT = static_cast<int>(size * 100 / client.width());
    return true;
}

bool applyHorzSplitBarMove(SplitPaneSettings &s, QSize client, int distance)
{
    const qint64 size = qint64(effectiveBottomSize(s, client)) - distance;
    if (!acceptSize(size, client.height()))
        return false;
    s.BOTTOMSIZEPIXEL = static_cast<int>(size);
    s.BOTTOMSIZEPERCENT = static_cast<int>(size * 100 / client.height());
    return true;
}

} // namespace vexo
