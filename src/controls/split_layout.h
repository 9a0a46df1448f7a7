#pragma once

#include <QRect>
#include <QSize>

namespace vexo {

// Which pair of size fields the split shell reads for both panes.
enum class PaneSizing { PERCENT, PIXEL };

// The split shell's own fields that its layout reads; names as the shell's properties.
struct SplitPaneSettings
{
    bool hasLeftPane = false;   // a left-pane window is set
    bool hasBottomPane = false; // a bottom-pane window is set
    int LEFTSIZEPERCENT = 20;
    int BOTTOMSIZEPERCENT = 20;
    int LEFTSIZEPIXEL = 0;
    int BOTTOMSIZEPIXEL = 0;
    bool SHOWLEFTPANE = false;
    bool SHOWBOTTOMPANE = false;
    PaneSizing POSTYPE = PaneSizing::PERCENT;
    bool CANRESIZELEFTPANE = true;
    bool CANRESIZEBOTTOMPANE = true;
};

// A bar docked at the top or bottom of the client area (tool bar, status bar).
struct DockedBar
{
    bool visible = false;
    int height = 0;
    bool topAligned = true;
};

// The thickness the frame metric gives a split bar: 3 + 2 pixels.
constexpr int kFixedFrameMetric = 3;
constexpr int splitBarThickness(int frameMetric = kFixedFrameMetric) { return frameMetric + 2; }

struct SplitLayoutInput
{
    QRect client; // the whole client area, tool bar and status bar included
    DockedBar statusBar;
    DockedBar toolBar;
    SplitPaneSettings settings;
    int frameMetricX = kFixedFrameMetric; // gives the horizontal bar's height
    int frameMetricY = kFixedFrameMetric; // gives the vertical bar's width
};

// Rectangles in the client area's coordinates. A pane is placed only when its window is set.
struct SplitLayout
{
    bool placeLeftPane = false;
    bool placeBottomPane = false;
    QRect leftPane;
    QRect bottomPane;
    QRect vertBar;
    QRect horzBar;
    QRect mdiClient;
};

// The effective pane sizes in pixels for a client area of that size (per cent of the whole client
// area, cut toward zero, or the pixel field).
int effectiveLeftSize(const SplitPaneSettings &s, QSize client);
int effectiveBottomSize(const SplitPaneSettings &s, QSize client);

// Lays out the panes, the bars and the MDI client. The status bar comes off the area first, then the
// tool bar; the MDI client is one pixel taller than the left pane.
SplitLayout computeSplitLayout(const SplitLayoutInput &in);

// The end of a drag of the vertical bar by `distance` pixels to the right (or of the horizontal bar by
// `distance` pixels down). A pane that would end at 0 pixels or less, or larger than the whole client
// area, is left as it was (false). Otherwise both the pixel and the per-cent field are written.
bool applyVertSplitBarMove(SplitPaneSettings &s, QSize client, int distance);
bool applyHorzSplitBarMove(SplitPaneSettings &s, QSize client, int distance);

} // namespace vexo
