// The bar's parts without the mouse: rectangles, elements, headers, items, properties and styles.
#include "controls/outlook_bar.h"

#include <QPixmap>
#include <QStyle>
#include <QStyleFactory>

#include <gtest/gtest.h>

#include <memory>

using namespace vexo;

namespace {

OutlookBarImageList plainIcons(int size, int count = 12)
{
    QPixmap pm(size, size);
    pm.fill(Qt::darkCyan);
    return OutlookBarImageList(QSize(size, size), QList<QIcon>(count, QIcon(pm)));
}

std::unique_ptr<OUTLOOKBARHEADER> makeHeader(const QString &name, int imageIndex = 0, int items = 0)
{
    auto h = std::make_unique<OUTLOOKBARHEADER>(name, name.toUpper(), QVariant(), imageIndex);
    for (int i = 1; i <= items; ++i)
        h->ADDITEM(std::make_unique<OUTLOOKBARITEM>(name + QString::number(i), QStringLiteral("Öğe %1").arg(i), i));
    return h;
}

// Counts the repaint requests that reach a header from its items.
class CountingHeader : public OUTLOOKBARHEADER
{
public:
    using OUTLOOKBARHEADER::OUTLOOKBARHEADER;
    void UPDATE() override { ++updates; }
    int updates = 0;
};

} // namespace

TEST(OutlookBarRect, EdgesCountAsInside)
{
    const WRECT r(10, 20, 30, 40);
    EXPECT_TRUE(r.POINTINSIDE({10, 20}));
    EXPECT_TRUE(r.POINTINSIDE({30, 40}));
    EXPECT_FALSE(r.POINTINSIDE({31, 40}));
    EXPECT_FALSE(r.POINTINSIDE({30, 41}));
    EXPECT_FALSE(r.POINTINSIDE({9, 20}));

    const WRECT tall(10, 20, 30, 60);
    EXPECT_EQ(tall.WIDTH(), 20);
    EXPECT_EQ(tall.HEIGHT(), 40);
}

TEST(OutlookBarRect, OriginCloneAndBoundingBox)
{
    WRECT r(10, 20, 30, 40);
    r.setORIGIN({5, 5});
    EXPECT_EQ(r, WRECT(5, 5, 30, 40));

    WRECT copy = r.CLONE();
    copy.RIGHT = 99;
    EXPECT_EQ(copy.RIGHT, 99);
    EXPECT_EQ(r.RIGHT, 30);

    WRECT fresh;
    fresh.setBOUNDINGBOX(r.BOUNDINGBOX());
    EXPECT_EQ(fresh, r);
    EXPECT_TRUE(fresh.SETEMPTY());
    EXPECT_EQ(fresh, WRECT());
}

TEST(OutlookBarElement, NewElementAndEnableRepaints)
{
    CountingHeader header(QStringLiteral("H"), QStringLiteral("Başlık"));
    OUTLOOKBARITEM *item = header.ADDITEM(std::make_unique<OUTLOOKBARITEM>(QStringLiteral("A"), QString(), 1));
    EXPECT_TRUE(item->ISENABLED());
    EXPECT_FALSE(item->ISPRESSED());
    EXPECT_EQ(item->AREA(), WRECT());
    EXPECT_EQ(item->HEADER(), &header);

    const OUTLOOKBARARROW &arrow = header.UPARROW();
    EXPECT_TRUE(arrow.HITTEST({0, 0}));
    EXPECT_FALSE(arrow.HITTEST({1, 0}));
    EXPECT_EQ(header.DOWNARROW().NAMESYM(), DOWN_ARROW);

    item->ENABLE(); // already enabled: still a repaint request
    item->DISABLE();
    EXPECT_FALSE(item->ISENABLED());
    EXPECT_EQ(header.updates, 2);

    // A value of 0 or false is kept; no value stays empty.
    OUTLOOKBARITEM zero(QStringLiteral("Z"), QString(), 0, 0);
    EXPECT_TRUE(zero.VALUE().isValid());
    EXPECT_EQ(zero.VALUE().toInt(), 0);
    EXPECT_FALSE(OUTLOOKBARITEM(QStringLiteral("N"), QString(), 0).VALUE().isValid());
}

TEST(OutlookBarElement, PressChangesOnlyOnce)
{
    OUTLOOKBAR bar;
    bar.ADDHEADER(makeHeader(QStringLiteral("H"), 0, 1));
    OUTLOOKBARARROW &arrow = bar.header(0)->UPARROW();
    EXPECT_TRUE(arrow.PRESS(true));
    EXPECT_FALSE(arrow.PRESS(true)); // no second redraw
    EXPECT_TRUE(arrow.ISPRESSED());
    EXPECT_TRUE(arrow.PRESS(false));
    EXPECT_FALSE(arrow.PRESS(false));
    EXPECT_FALSE(arrow.ISPRESSED());
}

TEST(OutlookBarHeader, ItemsScrollPositionAndLookups)
{
    OUTLOOKBARHEADER h(QStringLiteral("H"), QStringLiteral("Dosya"), 100, 10);
    EXPECT_EQ(h.ITEMCOUNT(), 0);
    EXPECT_EQ(h.FIRSTVISIBLEITEM(), -1);
    EXPECT_EQ(h.LASTVISIBLEITEM(), -1);
    EXPECT_EQ(h.GETITEM(1), nullptr);
    EXPECT_FALSE(h.SCROLLUP());
    EXPECT_EQ(h.IMAGEINDEX(), 10);
    EXPECT_EQ(h.GRADIENTCOLOR(), QColor(247, 194, 95));

    OUTLOOKBARITEM *a = h.ADDITEM(std::make_unique<OUTLOOKBARITEM>(QStringLiteral("A"), QStringLiteral("bir"), 1));
    EXPECT_EQ(h.FIRSTVISIBLEITEM(), 1);
    OUTLOOKBARITEM *a2 = h.ADDITEM(std::make_unique<OUTLOOKBARITEM>(QStringLiteral("A"), QStringLiteral("iki"), 2));
    h.ADDITEM(std::make_unique<OUTLOOKBARITEM>(QStringLiteral("C"), QStringLiteral("üç"), 3));
    EXPECT_EQ(h.ITEMCOUNT(), 3);
    EXPECT_EQ(h.GETITEMFROMSYMBOL(QStringLiteral("A")), a); // the first of two with one name
    EXPECT_EQ(h.GETITEM(2), a2);
    EXPECT_EQ(h.GETITEM(0), nullptr);
    EXPECT_EQ(h.GETITEM(4), nullptr);

    // Found under the name it was added with, not under a later one.
    a->setNAMESYM(QStringLiteral("X"));
    EXPECT_EQ(h.GETITEMFROMSYMBOL(QStringLiteral("A")), a);
    EXPECT_EQ(h.GETITEMFROMSYMBOL(QStringLiteral("X")), nullptr);

    h.setFIRSTVISIBLEITEM(3);
    h.ADDITEM(std::make_unique<OUTLOOKBARITEM>(QStringLiteral("D"), QString(), 4));
    EXPECT_EQ(h.FIRSTVISIBLEITEM(), 3);

    h.setFIRSTVISIBLEITEM(2);
    EXPECT_TRUE(h.SCROLLUP());
    EXPECT_EQ(h.FIRSTVISIBLEITEM(), 1);
    EXPECT_FALSE(h.SCROLLUP());
    EXPECT_EQ(h.FIRSTVISIBLEITEM(), 1);

    h.ITEMSGRADIENTCOLOR__(Qt::white);
    EXPECT_EQ(h.GETITEM(3)->GRADIENTCOLOR(), QColor(Qt::white));
}

TEST(OutlookBar, FreshBarDefaults)
{
    OUTLOOKBAR bar;
    EXPECT_EQ(bar.STYLE(), OutlookBarStyle::STDSTYLE);
    EXPECT_EQ(bar.BACKGROUNDCOLOR(), QColor(127, 127, 127));
    EXPECT_EQ(bar.HILITEBACKGROUNDCOLOR(), bar.palette().color(QPalette::Button));
    EXPECT_FALSE(bar.ITEMSBACKGROUNDCOLOR().has_value());
    EXPECT_EQ(bar.HEADERHEIGHT(), 22);
    EXPECT_EQ(bar.ITEMTOPSPACE(), 5);
    EXPECT_EQ(bar.LABELSPACING(), 3);
    EXPECT_EQ(bar.ITEMSPACING(), 6);
    EXPECT_FALSE(bar.ISITEMSBOXED());
    EXPECT_TRUE(bar.ACTIVEHEADER().isEmpty());
    EXPECT_EQ(bar.IMAGEWIDTH(), 0);
    EXPECT_EQ(bar.VERTICALITEMSPACE(), 6);
}

TEST(OutlookBar, StylesSetTheirColours)
{
    OUTLOOKBAR bar;
    bar.ADDHEADER(makeHeader(QStringLiteral("H"), 0, 2));
    const QColor face = bar.palette().color(QPalette::Button);

    bar.setBACKGROUNDCOLOR(Qt::red);
    EXPECT_EQ(bar.setSTYLE(OutlookBarStyle::JOVSTYLE), OutlookBarStyle::JOVSTYLE);
    EXPECT_EQ(bar.BACKGROUNDCOLOR(), face);
    EXPECT_EQ(bar.HILITEBACKGROUNDCOLOR(), face);

    bar.header(0)->setGRADIENTCOLOR(Qt::blue);
    bar.setSTYLE(OutlookBarStyle::NEWSTYLE);
    EXPECT_EQ(bar.ITEMSPACING(), 0);
    EXPECT_TRUE(bar.ISITEMSBOXED());
    EXPECT_EQ(bar.HILITEBACKGROUNDCOLOR(), QColor(238, 149, 21));
    EXPECT_EQ(bar.ITEMSBACKGROUNDCOLOR(), lightenedItemsColor(bar.palette().color(QPalette::Highlight)));
    EXPECT_EQ(bar.BACKGROUNDCOLOR(), *bar.ITEMSBACKGROUNDCOLOR());
    EXPECT_EQ(bar.header(0)->GRADIENTCOLOR(), QColor(247, 194, 95));
    EXPECT_EQ(bar.header(0)->GETITEM(2)->GRADIENTCOLOR(), QColor(255, 255, 255));

    // Back to the standard style: spacing, boxing and gradients stay as the new style left them.
    bar.setSTYLE(OutlookBarStyle::STDSTYLE);
    EXPECT_EQ(bar.BACKGROUNDCOLOR(), QColor(127, 127, 127));
    EXPECT_EQ(bar.ITEMSPACING(), 0);
    EXPECT_TRUE(bar.ISITEMSBOXED());
    EXPECT_EQ(bar.header(0)->GRADIENTCOLOR(), QColor(247, 194, 95));

    // Not one of the three styles: nothing changes.
    bar.setBACKGROUNDCOLOR(Qt::green);
    EXPECT_EQ(bar.setSTYLE(static_cast<OutlookBarStyle>(7)), OutlookBarStyle::STDSTYLE);
    EXPECT_EQ(bar.STYLE(), OutlookBarStyle::STDSTYLE);
    EXPECT_EQ(bar.BACKGROUNDCOLOR(), QColor(Qt::green));
}

TEST(OutlookBar, NewStyleWithoutVisualStyles)
{
    std::unique_ptr<QStyle> classic(QStyleFactory::create(QStringLiteral("Windows")));
    ASSERT_TRUE(classic);
    OUTLOOKBAR bar;
    bar.setStyle(classic.get());
    ASSERT_FALSE(visualStylesActive(&bar));
    bar.setSTYLE(OutlookBarStyle::NEWSTYLE);
    EXPECT_EQ(bar.ITEMSBACKGROUNDCOLOR(), QColor(125, 165, 224));
    EXPECT_EQ(bar.BACKGROUNDCOLOR(), QColor(125, 165, 224));
    EXPECT_EQ(bar.HILITEBACKGROUNDCOLOR(), QColor(238, 149, 21));
}

TEST(OutlookBar, ItemsColourGrowsByAFifth)
{
    EXPECT_EQ(lightenedItemsColor(QColor(0, 100, 200)), QColor(20, 120, 240));
    EXPECT_EQ(lightenedItemsColor(QColor(220, 255, 1)), QColor(255, 255, 1)); // 1 + 0 stays 1
    EXPECT_EQ(lightenedItemsColor(QColor(51, 153, 255)), QColor(61, 183, 255));
}

TEST(OutlookBar, HeaderHeightGrowsToFitIcons)
{
    OUTLOOKBAR bar;
    bar.setIMAGELIST(plainIcons(32));
    bar.ADDHEADER(makeHeader(QStringLiteral("A"), 0));
    EXPECT_EQ(bar.HEADERHEIGHT(), 22);
    bar.ADDHEADER(makeHeader(QStringLiteral("B"), 10));
    EXPECT_EQ(bar.HEADERHEIGHT(), 36);

    OUTLOOKBAR small;
    small.setIMAGELIST(plainIcons(32));
    small.setSMALLIMAGELIST(plainIcons(16));
    small.ADDHEADER(makeHeader(QStringLiteral("A"), 1));
    EXPECT_EQ(small.HEADERHEIGHT(), 22);

    OUTLOOKBAR bare; // no icons: an icon header needs only 4 rows
    bare.ADDHEADER(makeHeader(QStringLiteral("A"), 1));
    EXPECT_EQ(bare.HEADERHEIGHT(), 22);

    bar.setHEADERHEIGHT(-1);
    EXPECT_EQ(bar.HEADERHEIGHT(), 36);
    bar.setHEADERHEIGHT(0);
    EXPECT_EQ(bar.HEADERHEIGHT(), 0);
}

TEST(OutlookBar, InsertingAndFindingHeaders)
{
    OUTLOOKBAR bar;
    const auto order = [&bar] {
        QStringList names;
        for (int i = 0; i < bar.headerCount(); ++i)
            names << bar.header(i)->NAMESYM();
        return names.join(QLatin1Char(','));
    };
    bar.ADDHEADER(makeHeader(QStringLiteral("A")));
    bar.ADDHEADER(makeHeader(QStringLiteral("B")));
    bar.INSERTHEADER(makeHeader(QStringLiteral("C")), QStringLiteral("B"));
    bar.INSERTHEADER(makeHeader(QStringLiteral("D")), QStringLiteral("none"));
    EXPECT_EQ(order(), QStringLiteral("A,C,B,D"));
    bar.ADDHEADER(makeHeader(QStringLiteral("LAST")));
    bar.ADDHEADER(makeHeader(QStringLiteral("E"))); // lands before the header named LAST
    EXPECT_EQ(order(), QStringLiteral("A,C,B,D,E,LAST"));

    auto twin = makeHeader(QStringLiteral("A"));
    const OUTLOOKBARHEADER *second = twin.get();
    bar.ADDHEADER(std::move(twin));
    EXPECT_EQ(bar.GETHEADERFROMSYMBOL(QStringLiteral("A")), bar.header(0));
    EXPECT_NE(bar.GETHEADERFROMSYMBOL(QStringLiteral("A")), second);
    EXPECT_EQ(bar.GETHEADERFROMSYMBOL(QStringLiteral("Z")), nullptr);
    EXPECT_EQ(bar.header(0)->CONTROL(), &bar);
}

TEST(OutlookBar, ItemLookupsAndCaptions)
{
    OUTLOOKBAR bar;
    bar.ADDHEADER(makeHeader(QStringLiteral("H"), 0, 2));
    bar.ADDHEADER(makeHeader(QStringLiteral("K"), 0, 2));
    EXPECT_EQ(bar.GETITEMFROMSYMBOL(QStringLiteral("H1")), nullptr); // no header open
    bar.setACTIVEHEADER(QStringLiteral("H"));
    EXPECT_EQ(bar.GETITEMFROMSYMBOL(QStringLiteral("H1")), bar.header(0)->GETITEM(1));
    EXPECT_EQ(bar.GETITEMFROMSYMBOL(QStringLiteral("K1")), nullptr); // not in the open header

    bar.SETITEMCAPTION(QStringLiteral("K2"), QStringLiteral("Yeni ad"));
    EXPECT_EQ(bar.header(1)->GETITEM(2)->CAPTION(), QStringLiteral("Yeni ad"));
    bar.SETITEMCAPTION(QStringLiteral("nope"), QStringLiteral("x")); // nothing to change
}

TEST(OutlookBar, ItemHeightAndHitRegion)
{
    OUTLOOKBAR bar;
    bar.resize(160, 400);
    bar.setIMAGELIST(plainIcons(32));
    bar.ADDHEADER(makeHeader(QStringLiteral("H"), 10, 1));
    bar.setACTIVEHEADER(QStringLiteral("H"));
    OUTLOOKBARITEM *item = bar.header(0)->GETITEM(1);
    ASSERT_EQ(bar.GETINSIDERECT(), WRECT(0, 36, 159, 399));

    // Icon 32 high, label spacing 3, label 13 high.
    item->setAREA(WRECT(63, 41, 95, 73));
    item->setLabelRect(WRECT(60, 76, 98, 89));
    EXPECT_EQ(item->TOTALHEIGHT(), 48);
    EXPECT_TRUE(item->HITTEST({70, 50}));  // on the icon
    EXPECT_TRUE(item->HITTEST({70, 75}));  // between the icon and the label, in the icon's columns
    EXPECT_FALSE(item->HITTEST({97, 75})); // the same row beside the icon, outside the label
    EXPECT_TRUE(item->HITTEST({97, 80}));  // on the label
    EXPECT_FALSE(item->HITTEST({99, 80}));

    // The part scrolled out of the item area is never hit.
    item->setAREA(WRECT(63, 20, 95, 52));
    EXPECT_FALSE(item->HITTEST({70, 30}));
    EXPECT_TRUE(item->HITTEST({70, 40}));

    item->setCAPTION(QString());
    EXPECT_EQ(item->TOTALHEIGHT(), 32);
    EXPECT_FALSE(item->HITTEST({70, 60})); // without a caption only the icon counts
}

// The bar's own layout with the real font: an exact fit shows no down arrow and refuses to scroll; one
// row less shows it and scrolls by one, after which the up arrow shows.
TEST(OutlookBar, ExactFitAndScrolling)
{
    OUTLOOKBAR bar;
    bar.setIMAGELIST(plainIcons(32));
    bar.ADDHEADER(makeHeader(QStringLiteral("H"), 10, 5));
    bar.setSTYLE(OutlookBarStyle::JOVSTYLE);
    bar.setACTIVEHEADER(QStringLiteral("H"));
    const int label = bar.captionMeasure()(QStringLiteral("Öğe 1"), 159).height();
    ASSERT_GT(label, 0);
    const int itemsBottom = 36 + 5 + 5 * (32 + 3 + label) + 4 * 6;
    OUTLOOKBARHEADER *h = bar.header(0);

    bar.resize(160, itemsBottom + 1);
    bar.RECALC();
    EXPECT_EQ(bar.GETINSIDERECT().BOTTOM, itemsBottom);
    EXPECT_EQ(h->LASTVISIBLEITEM(), 5);
    EXPECT_FALSE(h->ISDOWNARROW());
    EXPECT_EQ(h->GETITEM(5)->AREA().TOP + h->GETITEM(5)->TOTALHEIGHT(), itemsBottom);
    EXPECT_FALSE(bar.SCROLLDOWN());
    EXPECT_EQ(h->FIRSTVISIBLEITEM(), 1);

    bar.resize(160, itemsBottom);
    bar.RECALC();
    EXPECT_EQ(h->LASTVISIBLEITEM(), 5);
    EXPECT_TRUE(h->ISDOWNARROW());
    EXPECT_FALSE(h->ISUPARROW());
    EXPECT_TRUE(bar.SCROLLDOWN());
    EXPECT_EQ(h->FIRSTVISIBLEITEM(), 2);
    EXPECT_TRUE(h->ISUPARROW());
    EXPECT_FALSE(h->ISDOWNARROW());
    EXPECT_FALSE(bar.SCROLLDOWN());
    EXPECT_TRUE(bar.SCROLLUP());
    EXPECT_EQ(h->FIRSTVISIBLEITEM(), 1);
    EXPECT_FALSE(h->ISUPARROW());
}

TEST(OutlookBar, ScrollingPastAnItemLargerThanTheArea)
{
    OUTLOOKBAR bar;
    bar.setIMAGELIST(plainIcons(32));
    bar.ADDHEADER(makeHeader(QStringLiteral("H"), 10, 2));
    bar.setACTIVEHEADER(QStringLiteral("H"));
    bar.resize(160, 36 + 30);
    bar.RECALC();
    OUTLOOKBARHEADER *h = bar.header(0);
    EXPECT_TRUE(bar.SCROLLDOWN());
    EXPECT_EQ(h->FIRSTVISIBLEITEM(), 2);
    EXPECT_TRUE(bar.SCROLLDOWN()); // the last item alone and cut: one step more shows nothing
    EXPECT_EQ(h->FIRSTVISIBLEITEM(), 3);
    EXPECT_EQ(bar.GETITEMFROMPOINT({75, 50}), nullptr);
    EXPECT_TRUE(h->ISUPARROW());
    EXPECT_TRUE(bar.SCROLLUP());
    EXPECT_EQ(h->FIRSTVISIBLEITEM(), 2);
}

TEST(OutlookBar, ActiveHeaderAssignLaysOutAgain)
{
    OUTLOOKBAR bar;
    bar.resize(160, 400);
    bar.setIMAGELIST(plainIcons(32));
    for (const char *name : {"A", "B", "C"})
        bar.ADDHEADER(makeHeader(QString::fromLatin1(name), 10, 2));
    bar.setACTIVEHEADER(QStringLiteral("A"));
    EXPECT_EQ(bar.GETINSIDERECT(), WRECT(0, 36, 159, 327));
    EXPECT_EQ(bar.LOWERHEADERSTOP(), 328);
    bar.setACTIVEHEADER(QStringLiteral("B"));
    EXPECT_EQ(bar.GETINSIDERECT(), WRECT(0, 72, 159, 363));
    EXPECT_EQ(bar.header(1)->AREA(), WRECT(0, 36, 159, 71));
    EXPECT_EQ(bar.header(2)->AREA(), WRECT(0, 364, 159, 399));
    EXPECT_EQ(bar.header(1)->GETITEM(1)->AREA(), WRECT(63, 77, 95, 109));

    bar.setACTIVEHEADER(QStringLiteral("nope")); // no header open: the item area stays
    EXPECT_EQ(bar.GETINSIDERECT(), WRECT(0, 72, 159, 363));
    EXPECT_EQ(bar.header(2)->AREA(), WRECT(0, 72, 159, 107));
}

// In the new style the caption sits beside the icon on the same row; the whole icon must still hit.
TEST(OutlookBar, NewStyleIconIsHit)
{
    OUTLOOKBAR bar;
    bar.resize(160, 400);
    bar.setIMAGELIST(plainIcons(32));
    bar.ADDHEADER(makeHeader(QStringLiteral("H"), 10, 3));
    bar.setSTYLE(OutlookBarStyle::NEWSTYLE);
    bar.setACTIVEHEADER(QStringLiteral("H"));
    const OUTLOOKBARITEM *first = bar.header(0)->GETITEM(1);
    ASSERT_EQ(first->AREA(), WRECT(5, 41, 154, 73));
    ASSERT_EQ(first->labelRect(), WRECT(47, 41, 154, 73));
    EXPECT_EQ(bar.GETITEMFROMPOINT({21, 57}), first); // the icon's centre
    EXPECT_EQ(bar.GETITEMFROMPOINT({100, 57}), first); // the caption
    EXPECT_EQ(bar.GETITEMFROMPOINT({21, 76}), bar.header(0)->GETITEM(2)); // the next row
}
