#include "controls/bitmap_layout.h"

#include <gtest/gtest.h>

using namespace vexo;

namespace {

TEST(BitmapLayout, HalvingGoesTowardTheLowerNumber)
{
    const struct { int in, out; } cases[] = {{0, 0}, {5, 2}, {4, 2}, {-1, -1}, {-3, -2}, {-4, -2}, {-5, -3}};
    for (const auto &c : cases)
        EXPECT_EQ(halfDown(c.in), c.out) << c.in;
}

TEST(BitmapLayout, ImagePlaceForEachCaptionPosition)
{
    const QSize area(100, 24), image(16, 16);
    const struct { CaptionPos pos; bool shifted; EdgeRect want; } cases[] = {
        {CaptionPos::RIGHT, false, {8, 4, 24, 20}},
        {CaptionPos::RIGHT, true, {8, 6, 24, 22}},
        {CaptionPos::LEFT, false, {76, 4, 92, 20}},
        {CaptionPos::BOTTOM, false, {42, 8, 58, 24}},
        {CaptionPos::TOP, false, {42, 0, 58, 16}},
        {CaptionPos::CENTER, false, {42, 4, 58, 20}},
        {CaptionPos::CENTER, true, {42, 6, 58, 22}},
    };
    for (const auto &c : cases)
        EXPECT_EQ(bitmapImageRect(c.pos, area, image, c.shifted), c.want) << captionPosSymbol(c.pos).toStdString();
}

TEST(BitmapLayout, CaptionPlaceForEachCaptionPosition)
{
    const QSize area(100, 60), text(40, 13);
    const struct { CaptionPos pos; bool shifted; EdgeRect want; } cases[] = {
        {CaptionPos::TOP, false, {30, 8, 70, 21}},
        {CaptionPos::BOTTOM, false, {30, 39, 70, 52}}, // bottom 8 above the button's
        {CaptionPos::LEFT, false, {8, 23, 48, 36}},
        {CaptionPos::RIGHT, false, {52, 23, 92, 36}}, // ends 8 from the right edge
        {CaptionPos::RIGHT, true, {52, 25, 92, 38}},
        {CaptionPos::CENTER, false, {30, 23, 70, 36}},
    };
    for (const auto &c : cases)
        EXPECT_EQ(bitmapTextRect(c.pos, area, text, false, c.shifted), c.want) << captionPosSymbol(c.pos).toStdString();
    // A caption wider than the button starts left of it; the window's edge cuts it.
    EXPECT_EQ(bitmapTextRect(CaptionPos::CENTER, QSize(20, 24), QSize(25, 13), false, false).left, -3);
}

TEST(BitmapLayout, EmptyCaptionAndFocusRectangles)
{
    const QSize area(100, 24);
    const EdgeRect empty = bitmapTextRect(CaptionPos::RIGHT, area, QSize(), true, true);
    EXPECT_EQ(empty, (EdgeRect{6, 6, 94, 18})); // shrunk by 6 and never moved down
    EXPECT_EQ(bitmapFocusRect(area, empty, true), (EdgeRect{4, 4, 96, 20}));
    EXPECT_EQ(bitmapFocusRect(area, EdgeRect{52, 5, 92, 18}, true), (EdgeRect{50, 3, 94, 20}));
    EXPECT_EQ(bitmapFocusRect(area, EdgeRect{52, 5, 92, 18}, false), (EdgeRect{4, 4, 96, 20}));
}

TEST(BitmapLayout, ImageChoiceByCountAndState)
{
    using C = BitmapImageChoice;
    const struct { int count; bool pressed, hot, enabled; std::optional<C> want; } cases[] = {
        {0, false, false, true, std::nullopt},
        {0, false, false, false, std::nullopt},
        {1, false, false, true, C{0, false}},
        {1, true, false, true, C{0, false}},
        {1, false, true, true, C{0, false}},
        {1, false, false, false, C{0, true}},
        {2, true, false, true, C{1, false}},
        {2, false, true, true, C{1, false}}, // hot asks for 2, limited to the last image
        {2, false, false, false, C{0, true}},
        {4, false, true, true, C{2, false}},
        {4, true, true, true, C{1, false}}, // pressed wins over hot
        {4, false, false, false, C{3, false}},
        {4, true, false, false, C{3, false}},
    };
    for (const auto &c : cases)
        EXPECT_EQ(bitmapImageChoice(c.count, c.pressed, c.hot, c.enabled), c.want)
            << c.count << c.pressed << c.hot << c.enabled;
}

TEST(BitmapLayout, CaptionPositionSymbols)
{
    EXPECT_EQ(captionPosFromSymbol(QStringLiteral("right")), CaptionPos::RIGHT);
    EXPECT_EQ(captionPosFromSymbol(QStringLiteral("CENTER")), CaptionPos::CENTER);
    EXPECT_EQ(captionPosFromSymbol(QStringLiteral("MIDDLE")), std::nullopt);
    EXPECT_EQ(captionPosFromSymbol(QString()), std::nullopt);
}

TEST(BitmapLayout, DropDownArrowAndSeparator)
{
    const QSize size(100, 24);
    EXPECT_EQ(dropDownLayoutArea(size), QSize(86, 24));
    const struct { bool pressed, focused; DropDownMarks want; } cases[] = {
        {false, false, {89, 10, 85, 86, 4, 20}},
        {true, false, {89, 11, 85, 86, 4, 20}},
        {false, true, {88, 10, 84, 85, 4, 20}},
        {true, true, {88, 11, 84, 85, 4, 20}},
    };
    for (const auto &c : cases)
        EXPECT_EQ(dropDownMarks(size, c.pressed, c.focused), c.want) << c.pressed << c.focused;
    EXPECT_EQ(dropDownMarks(QSize(40, 25), false, false).arrowTop, 10);
}

} // namespace
