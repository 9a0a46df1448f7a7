// The bar's layout as a pure function: header stacking, item places, caption wrapping and arrows.
#include "controls/outlook_bar_layout.h"

#include <gtest/gtest.h>

#include <algorithm>

using namespace vexo;

namespace {

constexpr int LineHeight = 13;
constexpr int CharWidth = 6;

// A font of fixed 6-pixel characters and 13-pixel lines that wraps at spaces.
QSize fakeMeasure(const QString &caption, int wrapWidth)
{
    int widest = 0;
    int lines = 0;
    int line = 0;
    for (const QString &word : caption.split(QLatin1Char(' '))) {
        const int w = int(word.size()) * CharWidth;
        const int joined = line == 0 ? w : line + CharWidth + w;
        if (line != 0 && joined > wrapWidth) {
            widest = std::max(widest, line);
            ++lines;
            line = w;
        } else {
            line = joined;
        }
    }
    widest = std::max(widest, line);
    ++lines;
    return {widest, lines * LineHeight};
}

// The application's bar: 160 pixels wide, 32x32 icons, three headers of 36 rows.
OutlookBarLayoutInput appBar(int height = 400, int open = 0)
{
    OutlookBarLayoutInput in;
    in.client = WRECT(0, 0, 160, height);
    in.style = OutlookBarStyle::JOVSTYLE;
    in.headerHeight = 36;
    in.imageWidth = 32;
    in.imageHeight = 32;
    in.headerCount = 3;
    in.openHeader = open;
    return in;
}

void openItems(OutlookBarLayoutInput &in, const QStringList &captions, int first = 1)
{
    in.captions = captions;
    in.firstVisibleItem = captions.isEmpty() ? -1 : first;
}

// Five one-line captions: every item takes 32 + 3 + 13 rows, plus the spacing after it.
const QStringList FiveItems = {QStringLiteral("Yeni"), QStringLiteral("Aç"), QStringLiteral("Kaydet"),
                               QStringLiteral("Yazdır"), QStringLiteral("Çıkış")};

} // namespace

TEST(OutlookBarLayout, HeadersStackAroundTheOpenOne)
{
    struct Case
    {
        int open;
        WRECT h1, h2, h3, inside;
        int lowerStop;
    };
    const Case cases[] = {
        {0, {0, 0, 159, 35}, {0, 328, 159, 363}, {0, 364, 159, 399}, {0, 36, 159, 327}, 328},
        {1, {0, 0, 159, 35}, {0, 36, 159, 71}, {0, 364, 159, 399}, {0, 72, 159, 363}, 364},
        // The last header open: all stack from the top and the item area reaches the bottom edge.
        {2, {0, 0, 159, 35}, {0, 36, 159, 71}, {0, 72, 159, 107}, {0, 108, 159, 399}, 400},
    };
    for (const Case &c : cases) {
        const OutlookBarLayout out = layoutOutlookBar(appBar(400, c.open), fakeMeasure);
        ASSERT_EQ(out.headerAreas.size(), 3);
        EXPECT_EQ(out.headerAreas[0], c.h1) << c.open;
        EXPECT_EQ(out.headerAreas[1], c.h2) << c.open;
        EXPECT_EQ(out.headerAreas[2], c.h3) << c.open;
        EXPECT_TRUE(out.hasOpenHeader);
        EXPECT_EQ(out.insideRect, c.inside) << c.open;
        EXPECT_EQ(out.lowerHeaderStop, c.lowerStop) << c.open;
    }
}

TEST(OutlookBarLayout, OneOpenHeaderGivesTheRestOfTheClientArea)
{
    OutlookBarLayoutInput in = appBar(250);
    in.headerCount = 1;
    const OutlookBarLayout out = layoutOutlookBar(in, fakeMeasure);
    EXPECT_EQ(out.headerAreas[0], WRECT(0, 0, 159, 35));
    EXPECT_EQ(out.insideRect, WRECT(0, 36, 159, 249));
    EXPECT_EQ(out.lowerHeaderStop, 250);
}

TEST(OutlookBarLayout, NoOpenHeaderStacksEverythingFromTheTop)
{
    OutlookBarLayoutInput in = appBar();
    in.openHeader = -1;
    in.lastVisibleItem = 4;
    in.isDownArrow = true;
    const OutlookBarLayout out = layoutOutlookBar(in, fakeMeasure);
    EXPECT_EQ(out.headerAreas[1], WRECT(0, 36, 159, 71));
    EXPECT_EQ(out.headerAreas[2], WRECT(0, 72, 159, 107));
    EXPECT_FALSE(out.hasOpenHeader);
    EXPECT_TRUE(out.items.isEmpty());
    EXPECT_EQ(out.lastVisibleItem, 4); // the header's own state stays
    EXPECT_TRUE(out.isDownArrow);

    in.headerCount = 0;
    in.openHeader = 0;
    EXPECT_TRUE(layoutOutlookBar(in, fakeMeasure).headerAreas.isEmpty());
}

TEST(OutlookBarLayout, ItemsAreCentredWithTheirCaptionsUnderThem)
{
    OutlookBarLayoutInput in = appBar();
    openItems(in, FiveItems);
    const OutlookBarLayout out = layoutOutlookBar(in, fakeMeasure);
    ASSERT_EQ(out.items.size(), 5);
    const OutlookBarItemPlace &first = out.items[0];
    EXPECT_EQ(first.position, 1);
    EXPECT_EQ(first.area, WRECT(63, 41, 95, 73));
    ASSERT_TRUE(first.label.has_value());
    // "Yeni" is 24 pixels wide: left 0 + (159 - 24) / 2 rounded down.
    EXPECT_EQ(*first.label, WRECT(67, 76, 91, 89));
    // The next icon follows the caption, the label spacing and the item spacing.
    EXPECT_EQ(out.items[1].area, WRECT(63, 95, 95, 127));
    EXPECT_EQ(out.items[1].label->TOP, 130);
    EXPECT_EQ(out.items[4].area.TOP, 41 + 4 * 54);
    EXPECT_EQ(out.lastVisibleItem, 5);
    EXPECT_FALSE(out.isUpArrow);
    EXPECT_FALSE(out.isDownArrow);
    EXPECT_EQ(out.upArrow, WRECT());
    EXPECT_EQ(out.downArrow, WRECT());
}

TEST(OutlookBarLayout, LongCaptionsWrapAndPushTheNextItemDown)
{
    OutlookBarLayoutInput in = appBar();
    // 3 lines at 159 pixels with 6-pixel characters.
    const QString three = QStringLiteral("Hammadde fiyatlarını güncelle ve formülü yeniden hesapla şimdi");
    openItems(in, {three, QStringLiteral("Aç")});
    const OutlookBarLayout out = layoutOutlookBar(in, fakeMeasure);
    ASSERT_EQ(fakeMeasure(three, 159).height(), 3 * LineHeight);
    EXPECT_EQ(out.items[0].label->HEIGHT(), 39);
    EXPECT_LE(out.items[0].label->WIDTH(), 159);
    EXPECT_EQ(out.items[1].area.TOP, 41 + 32 + 3 + 39 + 6);

    // A single word wider than the area widens the label past both sides.
    const QString word(40, QLatin1Char('W')); // 240 pixels
    openItems(in, {word});
    const WRECT label = *layoutOutlookBar(in, fakeMeasure).items[0].label;
    EXPECT_EQ(label.WIDTH(), 240);
    EXPECT_EQ(label.LEFT, -41); // (159 - 240) / 2 rounded down
    EXPECT_EQ(label.HEIGHT(), LineHeight);
}

TEST(OutlookBarLayout, EmptyCaptionTakesOnlyTheIcon)
{
    OutlookBarLayoutInput in = appBar();
    openItems(in, {QString(), QStringLiteral("Aç")});
    const OutlookBarLayout out = layoutOutlookBar(in, fakeMeasure);
    EXPECT_FALSE(out.items[0].label.has_value());
    EXPECT_EQ(out.items[1].area.TOP, 41 + 32 + 6);
}

TEST(OutlookBarLayout, NewStylePutsTheCaptionBesideTheIcon)
{
    OutlookBarLayoutInput in = appBar();
    in.style = OutlookBarStyle::NEWSTYLE;
    in.itemSpacing = 0;
    openItems(in, FiveItems);
    const OutlookBarLayout out = layoutOutlookBar(in, fakeMeasure);
    EXPECT_EQ(out.items[0].area, WRECT(5, 41, 154, 73));
    EXPECT_EQ(*out.items[0].label, WRECT(47, 41, 154, 73));
    EXPECT_EQ(out.items[1].area.TOP, 41 + 32 + 3); // one row per item
}

TEST(OutlookBarLayout, DownArrowOnlyWhenTheLastItemEndsBelowTheArea)
{
    // Five items end at 41 + 5 * 48 + 4 * 6 = 305.
    struct Case
    {
        int insideBottom;
        bool down;
    };
    for (const Case c : {Case{305, false}, Case{304, true}, Case{306, false}}) {
        OutlookBarLayoutInput in = appBar();
        in.headerCount = 1;
        in.client = WRECT(0, 0, 160, c.insideBottom + 1);
        openItems(in, FiveItems);
        const OutlookBarLayout out = layoutOutlookBar(in, fakeMeasure);
        EXPECT_EQ(out.insideRect.BOTTOM, c.insideBottom);
        EXPECT_EQ(out.lastVisibleItem, 5) << "all items laid out at " << c.insideBottom;
        EXPECT_EQ(out.isDownArrow, c.down) << c.insideBottom;
        EXPECT_FALSE(out.isUpArrow);
    }
}

TEST(OutlookBarLayout, LayoutStopsAtTheFirstItemPastTheBottom)
{
    OutlookBarLayoutInput in = appBar();
    in.headerCount = 1;
    in.client = WRECT(0, 0, 160, 150); // inside 36..149
    openItems(in, FiveItems);
    OutlookBarLayout out = layoutOutlookBar(in, fakeMeasure);
    // Item 2 runs from 95 to 143 and its spacing to 149: still inside; item 3 starts at 149 and is cut.
    EXPECT_EQ(out.lastVisibleItem, 3);
    EXPECT_EQ(out.items.size(), 3);
    EXPECT_TRUE(out.isDownArrow);
    EXPECT_FALSE(out.isUpArrow);
    // Arrows sit 5 pixels in from the right and from the top or bottom, a scroll-bar arrow in size.
    EXPECT_EQ(out.downArrow, WRECT(159 - 16 - 5, 149 - 16 - 5, 154, 144));
    EXPECT_EQ(out.upArrow, WRECT());

    // Scrolled down by one: the up arrow shows, the layout starts at item 2.
    in.firstVisibleItem = 2;
    out = layoutOutlookBar(in, fakeMeasure);
    EXPECT_EQ(out.items.first().position, 2);
    EXPECT_EQ(out.items.first().area.TOP, 41);
    EXPECT_TRUE(out.isUpArrow);
    EXPECT_EQ(out.upArrow, WRECT(138, 41, 154, 57));
}

TEST(OutlookBarLayout, AreaLowerThanOneItem)
{
    OutlookBarLayoutInput in = appBar();
    in.headerCount = 1;
    in.client = WRECT(0, 0, 160, 60);
    openItems(in, FiveItems, 5);
    OutlookBarLayout out = layoutOutlookBar(in, fakeMeasure);
    EXPECT_EQ(out.lastVisibleItem, 5);
    EXPECT_TRUE(out.isDownArrow); // the last item alone, cut

    // Scrolled past the last item: nothing is laid out, the up arrow stays.
    in.firstVisibleItem = 6;
    in.lastVisibleItem = 5;
    out = layoutOutlookBar(in, fakeMeasure);
    EXPECT_TRUE(out.items.isEmpty());
    EXPECT_EQ(out.lastVisibleItem, 5);
    EXPECT_TRUE(out.isUpArrow);
    EXPECT_FALSE(out.isDownArrow);
}

TEST(OutlookBarLayout, HeaderWithoutItemsLaysOutNothing)
{
    OutlookBarLayoutInput in = appBar();
    openItems(in, {});
    const OutlookBarLayout out = layoutOutlookBar(in, fakeMeasure);
    EXPECT_TRUE(out.hasOpenHeader);
    EXPECT_TRUE(out.items.isEmpty());
    EXPECT_FALSE(out.isUpArrow);
    EXPECT_FALSE(out.isDownArrow);
    EXPECT_EQ(out.upArrow, WRECT());
}

TEST(OutlookBarLayout, TooSmallClientOverlapsHeaders)
{
    OutlookBarLayoutInput in = appBar(80);
    openItems(in, FiveItems);
    const OutlookBarLayout out = layoutOutlookBar(in, fakeMeasure);
    EXPECT_EQ(out.headerAreas[1].TOP, 8);
    EXPECT_LT(out.insideRect.BOTTOM, out.insideRect.TOP);
}

TEST(OutlookBarLayout, HalvingRoundsDown)
{
    EXPECT_EQ(halfDown(127), 63);
    EXPECT_EQ(halfDown(-81), -41);
    EXPECT_EQ(halfDown(-2), -1);
    EXPECT_EQ(halfDown(0), 0);
}
