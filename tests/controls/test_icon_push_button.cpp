#include "controls/icon_push_button.h"
#include "resources/resource_library.h"

#include <QImage>
#include <QPainter>

#include <gtest/gtest.h>

using namespace vexo;

namespace {

QIcon picture(const char *name)
{
    return ResourceLibrary::icon(QString::fromLatin1(name));
}

// A 25-pixel-high button, 100 wide, with an up icon: icon 21 x 21 at (4, 2).
TEST(IconPushButtonGeometry, CaptionRectanglesInTheThreeStates)
{
    const QSize size(100, 25);
    const IconButtonGeometry normal = iconButtonGeometry(size, false, false, true);
    EXPECT_EQ(normal.caption, (EdgeRect{25, 2, 97, 23}));
    EXPECT_EQ(normal.frame, (EdgeRect{0, 0, 101, 26})); // one pixel beyond the button
    EXPECT_FALSE(normal.outline);
    EXPECT_EQ(normal.icon, QRect(4, 2, 21, 21));

    const IconButtonGeometry focused = iconButtonGeometry(size, false, true, true);
    EXPECT_EQ(focused.caption, (EdgeRect{26, 3, 96, 22}));
    EXPECT_EQ(focused.frame, (EdgeRect{1, 1, 100, 25}));
    EXPECT_TRUE(focused.outline);

    const IconButtonGeometry pressed = iconButtonGeometry(size, true, false, true);
    EXPECT_EQ(pressed.caption, (EdgeRect{27, 4, 96, 22}));
    EXPECT_EQ(pressed.icon, normal.icon); // the icon does not move when pressed
    EXPECT_TRUE(pressed.outline);
    EXPECT_EQ(iconButtonGeometry(size, true, true, true).caption, pressed.caption);
}

TEST(IconPushButtonGeometry, NoUpIconNoRoom)
{
    const IconButtonGeometry g = iconButtonGeometry(QSize(80, 30), false, false, false);
    EXPECT_EQ(g.caption, (EdgeRect{4, 2, 77, 28}));
    EXPECT_TRUE(g.icon.isEmpty());
    // The icon border moves only the icon.
    const IconButtonGeometry shifted = iconButtonGeometry(QSize(80, 30), false, false, true, 10);
    EXPECT_EQ(shifted.icon, QRect(10, 2, 26, 26));
    EXPECT_EQ(shifted.caption.left, 30);
}

TEST(IconPushButton, FreshButtonDefaults)
{
    ICONPUSHBUTTON button(nullptr, QStringLiteral("Tamam"));
    EXPECT_FALSE(button.iconUp().has_value());
    EXPECT_FALSE(button.iconDown().has_value());
    EXPECT_FALSE(button.iconDisabled().has_value());
    EXPECT_EQ(button.leftIconBorder(), 4u);
    EXPECT_EQ(button.buttonTextColor(), 0u);
    EXPECT_FALSE(button.painted());
    EXPECT_FALSE(button.currentIcon().has_value());
}

TEST(IconPushButton, UpAndDownFillEachOther)
{
    ICONPUSHBUTTON onlyDown;
    onlyDown.setICONDOWN(picture("ICOOKDOWN"));
    ASSERT_TRUE(onlyDown.iconUp().has_value());
    EXPECT_EQ(onlyDown.iconUp()->cacheKey(), onlyDown.iconDown()->cacheKey());
    EXPECT_EQ(onlyDown.currentIcon()->cacheKey(), onlyDown.iconDown()->cacheKey());
    onlyDown.setDown(true);
    EXPECT_EQ(onlyDown.currentIcon()->cacheKey(), onlyDown.iconDown()->cacheKey());

    ICONPUSHBUTTON both;
    both.setICONUP(picture("ICOOKUP"));
    const qint64 up = both.iconUp()->cacheKey();
    both.setICONDOWN(picture("ICOOKDOWN")); // replaces the copy, leaves up alone
    EXPECT_EQ(both.iconUp()->cacheKey(), up);
    EXPECT_NE(both.iconDown()->cacheKey(), up);
}

TEST(IconPushButton, IconByState)
{
    ICONPUSHBUTTON button;
    button.setICONUP(picture("ICOOKUP"));
    button.setICONDOWN(picture("ICOOKDOWN"));
    const qint64 up = button.iconUp()->cacheKey();
    const qint64 down = button.iconDown()->cacheKey();
    EXPECT_EQ(button.currentIcon()->cacheKey(), up);
    button.setDown(true);
    EXPECT_EQ(button.currentIcon()->cacheKey(), down);
    button.setDown(false);
    button.DISABLE(); // no disabled icon: the up icon
    EXPECT_EQ(button.currentIcon()->cacheKey(), up);
    button.setICONDISABLED(picture("ICOOKDISABLED"));
    EXPECT_EQ(button.currentIcon()->cacheKey(), button.iconDisabled()->cacheKey());

    // A disabled icon alone draws nothing: without an up icon there is no icon at all.
    ICONPUSHBUTTON onlyDisabled;
    onlyDisabled.setICONDISABLED(picture("ICOOKDISABLED"));
    onlyDisabled.DISABLE();
    EXPECT_FALSE(onlyDisabled.currentIcon().has_value());
}

TEST(IconPushButton, RepaintsOnlyAfterTheFirstPaintAndOnlyForTheShownState)
{
    ICONPUSHBUTTON button(nullptr, QStringLiteral("Ekle"));
    button.resize(100, 25);
    button.setICONUP(picture("ICOOKUP"));
    button.setICONDOWN(picture("ICOOKDOWN"));
    button.setICONDISABLED(picture("ICOOKDISABLED"));
    EXPECT_EQ(button.repaintRequests(), 0);

    button.grab(); // first paint
    ASSERT_TRUE(button.painted());
    button.setICONUP(picture("ICOOKUP"));
    EXPECT_EQ(button.repaintRequests(), 1);
    button.setICONDOWN(picture("ICOOKDOWN"));     // not pressed: not shown
    button.setICONDISABLED(picture("ICOOKDOWN")); // enabled: not shown
    EXPECT_EQ(button.repaintRequests(), 1);
    button.setDown(true);
    button.setICONDOWN(picture("ICOOKDOWN"));
    EXPECT_EQ(button.repaintRequests(), 2);
    button.setDown(false);

    button.DISABLE();
    button.DISABLE(); // twice: one repaint
    EXPECT_EQ(button.repaintRequests(), 3);
    EXPECT_FALSE(button.isEnabled());
    button.setICONUP(picture("ICOOKUP")); // disabled: not shown
    EXPECT_EQ(button.repaintRequests(), 3);
    button.setICONDISABLED(picture("ICOOKDISABLED"));
    EXPECT_EQ(button.repaintRequests(), 4);
    button.ENABLE();
    button.ENABLE();
    EXPECT_EQ(button.repaintRequests(), 5);
    EXPECT_TRUE(button.isEnabled());
}

TEST(IconPushButton, SizeHintLeavesRoomForTheIcon)
{
    ICONPUSHBUTTON plain(nullptr, QStringLiteral("Hepsini seç"));
    ICONPUSHBUTTON withIcon(nullptr, QStringLiteral("Hepsini seç"));
    withIcon.setICONUP(picture("HepSecUp"));
    EXPECT_EQ(withIcon.sizeHint().width(), plain.sizeHint().width() + plain.sizeHint().height());
}

TEST(IconPushButton, CaptionColour)
{
    ICONPUSHBUTTON button;
    EXPECT_EQ(button.captionColor(), button.palette().color(QPalette::Active, QPalette::ButtonText));
    button.setBUTTONTEXTCOLOR(0x000000FF); // 0x00BBGGRR
    EXPECT_EQ(button.captionColor(), QColor(255, 0, 0));
    button.setBUTTONTEXTCOLOR(0x00FF8000);
    EXPECT_EQ(button.captionColor(), QColor(0, 0x80, 0xFF));
}

// The pixels a caption changes, as one bounding rectangle.
QRect captionPixels(ICONPUSHBUTTON &button, const QString &caption)
{
    button.setText(QString());
    const QImage empty = button.grab().toImage();
    button.setText(caption);
    const QImage full = button.grab().toImage();
    QRect changed;
    for (int y = 0; y < full.height(); ++y)
        for (int x = 0; x < full.width(); ++x)
            if (full.pixel(x, y) != empty.pixel(x, y))
                changed |= QRect(x, y, 1, 1);
    return changed;
}

TEST(IconPushButton, CaptionIsPaintedInsideItsRectangle)
{
    ICONPUSHBUTTON button;
    button.resize(140, 25);
    button.setICONUP(picture("OKCVar"));
    const QString caption = QStringLiteral("Kaydet");

    const QRect normal = captionPixels(button, caption);
    ASSERT_FALSE(normal.isEmpty());
    EXPECT_TRUE(QRect(QPoint(25, 2), QPoint(140 - 3 - 1, 25 - 2 - 1)).contains(normal));

    button.setDown(true);
    const QRect pressed = captionPixels(button, caption);
    EXPECT_TRUE(QRect(QPoint(27, 4), QPoint(140 - 4 - 1, 25 - 3 - 1)).contains(pressed));
    EXPECT_FALSE(pressed.isEmpty());
    button.setDown(false);

    // Disabled: a light copy one pixel right and down under the grey caption.
    button.DISABLE();
    const QRect embossed = captionPixels(button, caption);
    EXPECT_EQ(embossed.topLeft(), normal.topLeft());
    EXPECT_EQ(embossed.bottomRight(), normal.bottomRight() + QPoint(1, 1));
}

TEST(IconPushButton, PaintsTheIconOfTheState)
{
    ICONPUSHBUTTON button;
    button.resize(100, 25);
    button.setICONUP(picture("OKCVar")); // blue disc
    button.setICONDOWN(picture("EXIS")); // red octagon
    const QColor up = button.grab().toImage().pixelColor(6, 12);
    EXPECT_GT(up.blue(), up.red());
    button.setDown(true);
    const QColor down = button.grab().toImage().pixelColor(6, 12);
    EXPECT_GT(down.red(), down.blue());
}

TEST(IconPushButton, AnIconWithoutPictureKeepsItsRoom)
{
    ICONPUSHBUTTON button;
    button.resize(100, 25);
    button.setICONUP(ResourceLibrary::icon(QStringLiteral("YMEkle"))); // not among the pictures
    ASSERT_TRUE(button.iconUp().has_value());
    EXPECT_TRUE(button.iconUp()->isNull());
    const QImage image = button.grab().toImage();
    EXPECT_EQ(image.pixelColor(14, 12), button.palette().color(QPalette::Button)); // nothing drawn
    EXPECT_GE(captionPixels(button, QStringLiteral("Ekle")).left(), 25);
}

} // namespace
