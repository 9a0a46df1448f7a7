// The painted shell window's rules: gradient rows, bitmap placement, the title's size search, the
// text lines and the key-indicator texts.
#include "classes/painted_shell_window.h"

#include <gtest/gtest.h>

using namespace vexo;

namespace {

TEST(ShellPaintRules, GradientFromCyanToBlack)
{
    const auto rows = gradientRowColours(QColor(0, 255, 255), QColor(0, 0, 0), 100);
    ASSERT_EQ(rows.size(), 100);
    // step 2.55: the first row is the top colour less one step with its fraction dropped.
    EXPECT_EQ(rows.first(), QColor(0, 253, 253));
    EXPECT_EQ(rows.at(1), QColor(0, 250, 250)); // 255 - trunc(5.1)
    EXPECT_EQ(rows.at(49), QColor(0, 128, 128)); // 255 - trunc(127.5)
    EXPECT_EQ(rows.last(), QColor(0, 0, 0));
}

TEST(ShellPaintRules, GradientEdges)
{
    // Equal colours: all steps 0, a solid fill.
    for (const QColor &c : gradientRowColours(QColor(10, 20, 30), QColor(10, 20, 30), 7))
        EXPECT_EQ(c, QColor(10, 20, 30));
    EXPECT_TRUE(gradientRowColours(Qt::cyan, Qt::black, 0).isEmpty());
    // A rising component and a falling one in the same gradient; the last row is the bottom colour.
    const auto rows = gradientRowColours(QColor(0, 200, 7), QColor(255, 0, 7), 3);
    ASSERT_EQ(rows.size(), 3);
    EXPECT_EQ(rows.at(0), QColor(85, 134, 7)); // 0 - trunc(-85), 200 - trunc(66.67)
    EXPECT_EQ(rows.at(2), QColor(255, 0, 7));
    // One row: exactly the bottom colour.
    EXPECT_EQ(gradientRowColours(Qt::white, QColor(1, 2, 3), 1), QList<QColor>{QColor(1, 2, 3)});
}

TEST(ShellPaintRules, CentredBitmapPlacement)
{
    const QSize client(400, 300);
    const struct {
        unsigned style; QSize bitmap; std::optional<QPoint> pos; BitmapPlacement want; const char *what;
    } cases[] = {
        {2, {100, 50}, {}, {false, {150, 125}}, "centred"},
        {2, {101, 51}, {}, {false, {149, 124}}, "halved arithmetically"},
        {2, {500, 100}, {}, {true, {}}, "wider but lower: stretched"},
        {2, {100, 400}, {}, {true, {}}, "lower client: stretched"},
        {2, {400, 300}, {}, {false, {0, 0}}, "same size: at the origin, not stretched"},
        {3, {10, 10}, {}, {true, {}}, "style 3 always stretches"},
        {4, {100, 50}, QPoint(0, 0), {false, {0, 250}}, "lower-left corner"},
        {4, {100, 50}, QPoint(20, 30), {false, {20, 220}}, "moved right and up"},
        {5, {100, 50}, {}, {false, {0, 250}}, "no position counts as (0, 0)"},
        {4, {500, 400}, QPoint(20, 30), {false, {0, 0}}, "too big: at the origin, never stretched"},
    };
    for (const auto &c : cases)
        EXPECT_EQ(centreBitmapPlacement(c.style, client, c.bitmap, c.pos), c.want) << c.what;
}

TEST(ShellPaintRules, TilesCoverTheClientWithOneMoreColumnAndRow)
{
    const auto tiles = tileOrigins(QSize(100, 50), QSize(40, 20));
    // 100 / 40 = 2 and 50 / 20 = 2: columns 0..2, rows 0..2.
    EXPECT_EQ(tiles.size(), 9);
    EXPECT_TRUE(tiles.contains(QPoint(80, 40)));
    EXPECT_FALSE(tiles.contains(QPoint(120, 0)));
    EXPECT_TRUE(tileOrigins(QSize(100, 50), QSize()).isEmpty());
}

TEST(ShellPaintRules, PaintPlan)
{
    const QString none;
    const QString t = QStringLiteral("T");
    const struct { bool grad; unsigned style; bool bmp; QString title, l1, l2; ShellPaintPlan want; } cases[] = {
        {true, 0, false, none, none, none, {true, false, false, false, false}}, // the defaults
        {true, 1, true, none, none, none, {false, true, false, false, false}},  // tiles, no gradient
        {true, 3, true, none, none, none, {false, false, true, false, false}},  // stretched, no gradient
        {true, 2, true, t, none, t, {true, false, true, true, true}},
        {true, 4, false, none, t, none, {true, false, false, false, true}},    // no bitmap at all
        {false, 0, false, t, none, none, {false, false, false, true, false}},
    };
    for (const auto &c : cases) {
        const auto p = shellPaintPlan(c.grad, c.style, c.bmp, c.title, c.l1, c.l2);
        EXPECT_EQ(p.gradient, c.want.gradient) << c.style;
        EXPECT_EQ(p.tiledBitmap, c.want.tiledBitmap) << c.style;
        EXPECT_EQ(p.centredBitmap, c.want.centredBitmap) << c.style;
        EXPECT_EQ(p.title, c.want.title) << c.style;
        EXPECT_EQ(p.copyText, c.want.copyText) << c.style;
    }
}

TEST(ShellPaintRules, FontHeights)
{
    EXPECT_EQ(titleFontHeight(500, 250, 96), -64); // client height 499
    EXPECT_EQ(titleFontHeight(500, 312.5, 96), -51); // factor 1.6: 51.2
    EXPECT_EQ(titleFontHeight(333, 250, 96), -42); // factor 1.33: 42.56
    EXPECT_EQ(titleFontHeight(500, 250, 120), -80);
    EXPECT_EQ(titleFontHeight(0, 250, 96), 0);
    EXPECT_EQ(copyTextFontHeight(96), -10);
    EXPECT_EQ(copyTextFontHeight(120), -13);
}

TEST(ShellPaintRules, AutoFitTriesAtMostSevenSizes)
{
    QList<int> heights;
    const TitleMeasure tooWide = [&](int px, const QString &, bool, int) {
        heights << px;
        return QSize(100000, px);
    };
    const TitleFit fit = autoFitTitle(QStringLiteral("VEXO"), 800, 500, 96, tooWide);
    EXPECT_EQ(fit.tries, 7);
    EXPECT_DOUBLE_EQ(fit.divisor, 953.67431640625);
    ASSERT_EQ(heights.size(), 7);
    EXPECT_EQ(heights.first(), 64);
    EXPECT_EQ(fit.fontHeight, titleFontHeight(500, 953.67431640625, 96));

    // Width proportional to the font height: fits once 10 px per height unit is within 600.
    heights.clear();
    const TitleMeasure proportional = [&](int px, const QString &, bool, int) {
        heights << px;
        return QSize(px * 10, px);
    };
    const TitleFit second = autoFitTitle(QStringLiteral("VEXO"), 800, 500, 96, proportional);
    EXPECT_EQ(heights, (QList<int>{64, 51}));
    EXPECT_EQ(second.fontHeight, -51);
    EXPECT_EQ(second.tries, 2);
}

TEST(ShellPaintRules, AutoFitMeasuresSeveralLinesAsABlock)
{
    bool sawMultiLine = false;
    int sawMaxWidth = 0;
    const TitleMeasure measure = [&](int px, const QString &, bool multiLine, int maxWidth) {
        sawMultiLine = multiLine;
        sawMaxWidth = maxWidth;
        return QSize(599, px * 2); // the block's own width
    };
    const TitleFit fit = autoFitTitle(QStringLiteral("VEXO\r\nZud"), 800, 500, 96, measure);
    EXPECT_TRUE(sawMultiLine);
    EXPECT_EQ(sawMaxWidth, 600);
    EXPECT_EQ(fit.measured, QSize(600, 128)); // one added to the block's width: it still fits
    EXPECT_EQ(fit.tries, 1);
    const TitleMeasure justOver = [](int px, const QString &, bool, int) { return QSize(600, px); };
    EXPECT_EQ(autoFitTitle(QStringLiteral("A\rB"), 800, 500, 96, justOver).tries, 7);
    EXPECT_EQ(autoFitTitle(QStringLiteral("AB"), 800, 500, 96, justOver).tries, 1);
}

TEST(ShellPaintRules, TextLinesSitAtTheBottomCorners)
{
    const QRect r = copyTextRect(QRect(0, 0, 400, 300), 12);
    EXPECT_EQ(r.left(), 5);
    EXPECT_EQ(r.right(), 394);
    EXPECT_EQ(r.bottom(), 297);
    EXPECT_EQ(r.height(), 12);
}

TEST(ShellPaintRules, KeyIndicatorTexts)
{
    const struct { StatusBarArea area; const char *text; } cases[] = {
        {StatusBarArea::Ins, "INS"}, {StatusBarArea::CapsLock, "CAPS"}, {StatusBarArea::NumLock, "NUM"},
        {StatusBarArea::ScrollLock, "SCROLL"}, {StatusBarArea::Message, ""}, {StatusBarArea::Time, ""},
    };
    for (const auto &c : cases)
        EXPECT_EQ(keyIndicatorText(c.area), QString::fromLatin1(c.text));
}

TEST(ShellWindowProperties, BitmapPropertiesAndStyles)
{
    ACF_SHELLWINDOW w;
    EXPECT_EQ(w.bitmapStyle(), 0u);
    w.setBITMAP(QStringLiteral("/nonexistent/picture.bmp")); // does not load: nothing changes
    EXPECT_EQ(w.bitmapStyle(), 0u);
    EXPECT_FALSE(w.hasFileBitmap());
    w.setBITMAP(QPixmap()); // not a bitmap: nothing
    EXPECT_EQ(w.bitmapStyle(), 0u);
    QPixmap pm(10, 10);
    pm.fill(Qt::red);
    w.setBITMAPSTYLE(1);
    w.setBITMAP(pm); // only a style of 0 becomes 2
    EXPECT_EQ(w.bitmapStyle(), 1u);
    w.setBITMAPTOLOWERLEFT(false);
    EXPECT_EQ(w.bitmapStyle(), 1u);
    EXPECT_FALSE(w.bitmapPosition());
    w.setBITMAPTOLOWERLEFT(true);
    EXPECT_EQ(w.bitmapStyle(), 4u);
    EXPECT_EQ(w.bitmapPosition(), QPoint(0, 0));
    w.setBITMAPPOSITION(QPoint(7, 9));
    EXPECT_EQ(w.bitmapPosition(), QPoint(7, 9));
    w.setBITMAPSTYLE(0);
    w.setBITMAP(pm);
    EXPECT_EQ(w.bitmapStyle(), 2u);
}

} // namespace
