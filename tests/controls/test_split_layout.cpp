#include "controls/split_layout.h"

#include <gtest/gtest.h>

using namespace vexo;

namespace {

// An 800 x 600 client area with a 30-pixel tool bar at the top and a 20-pixel status bar at the bottom.
SplitLayoutInput frame800x600()
{
    SplitLayoutInput in;
    in.client = QRect(0, 0, 800, 600);
    in.toolBar = DockedBar{true, 30, true};
    in.statusBar = DockedBar{true, 20, false};
    return in;
}

// The main window's set-up: a navigation pane of 170 pixels.
SplitPaneSettings mainWindowSettings()
{
    SplitPaneSettings s;
    s.hasLeftPane = true;
    s.LEFTSIZEPIXEL = 170;
    s.POSTYPE = PaneSizing::PIXEL;
    s.CANRESIZELEFTPANE = true;
    s.SHOWLEFTPANE = true;
    return s;
}

TEST(SplitLayout, FreshShellGivesTheMdiClientEverythingOnePixelTaller)
{
    const SplitLayout l = computeSplitLayout(frame800x600());
    EXPECT_EQ(l.mdiClient, QRect(0, 30, 800, 551));
    EXPECT_EQ(l.vertBar, QRect(0, 30, 0, 550));
    EXPECT_EQ(l.horzBar, QRect(0, 580, 800, 0));
    EXPECT_FALSE(l.placeLeftPane);
    EXPECT_FALSE(l.placeBottomPane);
}

TEST(SplitLayout, MainWindowNavigationPane)
{
    SplitLayoutInput in = frame800x600();
    in.settings = mainWindowSettings();
    const SplitLayout l = computeSplitLayout(in);
    EXPECT_TRUE(l.placeLeftPane);
    EXPECT_EQ(l.leftPane, QRect(0, 30, 170, 550));
    EXPECT_EQ(l.vertBar, QRect(170, 30, 5, 550)); // metric 3 + 2
    EXPECT_EQ(l.mdiClient, QRect(175, 30, 625, 551));
    EXPECT_EQ(l.horzBar.height(), 0);

    // Before the pane is shown (per-cent sizing, show flag off) it is placed with width 0.
    in.settings.SHOWLEFTPANE = false;
    in.settings.POSTYPE = PaneSizing::PERCENT;
    const SplitLayout hidden = computeSplitLayout(in);
    EXPECT_EQ(hidden.leftPane, QRect(0, 30, 0, 550));
    EXPECT_EQ(hidden.mdiClient, QRect(0, 30, 800, 551));
}

TEST(SplitLayout, BarThicknessFollowsTheFrameMetrics)
{
    SplitLayoutInput in = frame800x600();
    in.settings = mainWindowSettings();
    in.frameMetricY = 4; // the vertical bar's width comes from the vertical metric
    in.frameMetricX = 1;
    in.settings.hasBottomPane = true;
    in.settings.SHOWBOTTOMPANE = true;
    in.settings.BOTTOMSIZEPIXEL = 100;
    const SplitLayout l = computeSplitLayout(in);
    EXPECT_EQ(l.vertBar.width(), 6);
    EXPECT_EQ(l.horzBar.height(), 3);
}

TEST(SplitLayout, PercentPanesOfTheWholeClientArea)
{
    // 30 % and 25 % of the whole client area (tool and status bar included): 300 and 200 pixels.
    SplitLayoutInput in = frame800x600();
    in.client = QRect(0, 0, 1000, 800);
    in.settings.LEFTSIZEPERCENT = 30;
    in.settings.BOTTOMSIZEPERCENT = 25;
    in.settings.hasLeftPane = in.settings.hasBottomPane = true;
    in.settings.SHOWLEFTPANE = in.settings.SHOWBOTTOMPANE = true;
    EXPECT_EQ(effectiveLeftSize(in.settings, in.client.size()), 300);
    EXPECT_EQ(effectiveBottomSize(in.settings, in.client.size()), 200);

    const SplitLayout l = computeSplitLayout(in);
    // The reduced area runs from y 30 to 780: height 750.
    EXPECT_EQ(l.leftPane, QRect(0, 30, 300, 750 - 200 - 5));
    EXPECT_EQ(l.vertBar, QRect(300, 30, 5, 545));
    EXPECT_EQ(l.bottomPane, QRect(0, 580, 1000, 200));
    EXPECT_EQ(l.horzBar, QRect(0, 575, 1000, 5));
    EXPECT_EQ(l.mdiClient, QRect(305, 30, 695, 546));
}

TEST(SplitLayout, PercentCutsTowardZero)
{
    SplitPaneSettings s;
    s.LEFTSIZEPERCENT = 33;
    s.BOTTOMSIZEPERCENT = -15;
    EXPECT_EQ(effectiveLeftSize(s, QSize(1010, 0)), 333);     // 333.3
    EXPECT_EQ(effectiveBottomSize(s, QSize(0, 1010)), -151);  // -151.5
    s.POSTYPE = PaneSizing::PIXEL;
    s.LEFTSIZEPIXEL = 77;
    EXPECT_EQ(effectiveLeftSize(s, QSize(1010, 0)), 77);
}

TEST(SplitLayout, BarsComeOffInOrderAndByAlignment)
{
    SplitLayoutInput in;
    in.client = QRect(0, 0, 400, 300);
    in.statusBar = DockedBar{true, 20, true};  // a status bar docked at the top
    in.toolBar = DockedBar{true, 25, false};   // a tool bar docked at the bottom
    EXPECT_EQ(computeSplitLayout(in).mdiClient, QRect(0, 20, 400, 256));

    in.statusBar.visible = false; // an invisible bar takes nothing
    EXPECT_EQ(computeSplitLayout(in).mdiClient, QRect(0, 0, 400, 276));
    in.toolBar.visible = false;
    EXPECT_EQ(computeSplitLayout(in).mdiClient, QRect(0, 0, 400, 301));
}

TEST(SplitLayout, PaneShownButNotResizableGetsNoBar)
{
    SplitLayoutInput in = frame800x600();
    in.settings = mainWindowSettings();
    in.settings.CANRESIZELEFTPANE = false;
    const SplitLayout l = computeSplitLayout(in);
    EXPECT_EQ(l.leftPane.width(), 170);
    EXPECT_EQ(l.vertBar.width(), 0);
    EXPECT_EQ(l.mdiClient.left(), 170);
}

TEST(SplitLayout, RemovedPaneStillKeepsItsRoomWhileShown)
{
    SplitLayoutInput in = frame800x600();
    in.settings = mainWindowSettings();
    in.settings.hasLeftPane = false; // pane forgotten, show flag left as it was
    const SplitLayout l = computeSplitLayout(in);
    EXPECT_FALSE(l.placeLeftPane);
    EXPECT_EQ(l.mdiClient.left(), 175);
}

TEST(SplitLayout, VerticalDrags)
{
    struct Case
    {
        int distance;
        bool accepted;
        int pixels;
        int percent;
    };
    // 170 pixels in a client area 800 wide; per cent starts at its default 20.
    const Case cases[] = {
        {40, true, 210, 26},    // 26.25 cut
        {0, true, 170, 21},     // a drag of nothing keeps the size (and writes the per cent)
        {-169, true, 1, 0},
        {-170, false, 170, 20}, // to zero: ignored
        {-500, false, 170, 20},
        {630, true, 800, 100},  // exactly the client width
        {631, false, 170, 20},  // past the client: ignored
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.distance);
        SplitPaneSettings s = mainWindowSettings();
        EXPECT_EQ(applyVertSplitBarMove(s, QSize(800, 600), c.distance), c.accepted);
        EXPECT_EQ(s.LEFTSIZEPIXEL, c.pixels);
        EXPECT_EQ(s.LEFTSIZEPERCENT, c.percent);
    }
}

TEST(SplitLayout, DragOfFortyOnAHundredSeventyGivesTwoHundredTen)
{
    SplitLayoutInput in = frame800x600();
    in.client = QRect(0, 0, 1000, 700);
    in.settings = mainWindowSettings();
    ASSERT_TRUE(applyVertSplitBarMove(in.settings, in.client.size(), 40));
    EXPECT_EQ(in.settings.LEFTSIZEPIXEL, 210);
    EXPECT_EQ(in.settings.LEFTSIZEPERCENT, 21);
    EXPECT_EQ(computeSplitLayout(in).leftPane.width(), 210);
    EXPECT_EQ(computeSplitLayout(in).mdiClient.left(), 215);
}

TEST(SplitLayout, PercentDragComesOutUpToOnePercentNarrower)
{
    SplitPaneSettings s; // per cent, 20 % of 800 = 160
    s.hasLeftPane = s.SHOWLEFTPANE = true;
    ASSERT_TRUE(applyVertSplitBarMove(s, QSize(800, 600), 45)); // released at 205
    EXPECT_EQ(s.LEFTSIZEPIXEL, 205);
    EXPECT_EQ(s.LEFTSIZEPERCENT, 25);
    EXPECT_EQ(effectiveLeftSize(s, QSize(800, 600)), 200);
    // Switching to pixels afterwards keeps the released size.
    s.POSTYPE = PaneSizing::PIXEL;
    EXPECT_EQ(effectiveLeftSize(s, QSize(800, 600)), 205);
}

TEST(SplitLayout, HorizontalDrags)
{
    SplitPaneSettings s;
    s.POSTYPE = PaneSizing::PIXEL;
    s.BOTTOMSIZEPIXEL = 100;
    EXPECT_TRUE(applyHorzSplitBarMove(s, QSize(800, 600), -30)); // up 30: 30 taller
    EXPECT_EQ(s.BOTTOMSIZEPIXEL, 130);
    EXPECT_EQ(s.BOTTOMSIZEPERCENT, 21); // 21.67 cut
    EXPECT_TRUE(applyHorzSplitBarMove(s, QSize(800, 600), 25)); // down 25: smaller
    EXPECT_EQ(s.BOTTOMSIZEPIXEL, 105);
    EXPECT_FALSE(applyHorzSplitBarMove(s, QSize(800, 600), 105));   // to zero
    EXPECT_FALSE(applyHorzSplitBarMove(s, QSize(800, 600), -496));  // taller than the client
    EXPECT_EQ(s.BOTTOMSIZEPIXEL, 105);
    EXPECT_FALSE(applyHorzSplitBarMove(s, QSize(800, 0), 0));       // no client area at all
}

TEST(SplitLayout, HugeFieldsDoNotOverflow)
{
    SplitPaneSettings s;
    s.LEFTSIZEPERCENT = 2'000'000'000;
    EXPECT_GT(qint64(effectiveLeftSize(s, QSize(1, 0))), 0);
    s.POSTYPE = PaneSizing::PIXEL;
    s.LEFTSIZEPIXEL = 2'147'483'000;
    EXPECT_FALSE(applyVertSplitBarMove(s, QSize(800, 600), 2'000'000));
    EXPECT_EQ(s.LEFTSIZEPIXEL, 2'147'483'000);
}

} // namespace
