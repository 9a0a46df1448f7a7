#include "controls/custom_text_control.h"

#include <QApplication>
#include <QFontDatabase>
#include <QImage>
#include <QPainter>

#include <gtest/gtest.h>

using namespace vexo;

namespace {

TEST(CustomTextControl, CaptionIsTheWindowText)
{
    QWidget owner;
    JOVCUSTOMTEXTCNTRL control(&owner);
    EXPECT_EQ(control.__GetText(), QString());
    EXPECT_EQ(control.setCaption(QStringLiteral("Tamam ")), QStringLiteral("Tamam "));
    EXPECT_EQ(control.__GetText(), QStringLiteral("Tamam "));
    EXPECT_EQ(control.TextValue(), QStringLiteral("Tamam "));
    control.setTextValue(QStringLiteral("İptal"));
    EXPECT_EQ(control.Caption(), QStringLiteral("İptal"));
    EXPECT_EQ(control.__GetText(), QStringLiteral("İptal"));
}

TEST(CustomTextControl, FontReadFallsBackToOwnerThenWindow)
{
    QWidget plainOwner;
    JOVCUSTOMTEXTCNTRL control(&plainOwner);
    const QFont first = control.Font();
    EXPECT_EQ(first, control.font());
    ASSERT_TRUE(control.heldFont().has_value()); // kept as the control's from now on
    EXPECT_EQ(control.Font(), first);

    QWidget fontOwner;
    QFont big = fontOwner.font();
    big.setPointSize(big.pointSize() + 7);
    fontOwner.setFont(big);
    JOVCUSTOMTEXTCNTRL borrowing(&fontOwner);
    EXPECT_EQ(borrowing.Font(), big);
    EXPECT_FALSE(borrowing.heldFont().has_value());
}

TEST(CustomTextControl, FontOperationAndWrite)
{
    QWidget owner;
    JOVCUSTOMTEXTCNTRL control(&owner);
    QFont bold = QApplication::font();
    bold.setBold(true);
    EXPECT_FALSE(control.FontOp(bold).has_value()); // nothing held before
    EXPECT_TRUE(control.font().bold());
    const auto before = control.FontOp(); // cleared: the application's font
    ASSERT_TRUE(before.has_value());
    EXPECT_TRUE(before->bold());
    EXPECT_FALSE(control.heldFont().has_value());
    EXPECT_EQ(control.font(), QApplication::font());

    EXPECT_FALSE(control.setFont(std::nullopt).has_value());
    EXPECT_EQ(control.font(), QFontDatabase::systemFont(QFontDatabase::GeneralFont));
    EXPECT_EQ(control.setFont(bold), bold);
}

TEST(CustomTextControl, ColoursAndOneDrawPerPaint)
{
    QWidget owner;
    JOVCUSTOMTEXTCNTRL control(&owner);
    control.resize(30, 10);
    QImage image(30, 10, QImage::Format_ARGB32);
    {
        QPainter p(&image);
        EXPECT_EQ(control.__SetColors(p).color(), control.palette().color(QPalette::Button));
        EXPECT_EQ(p.pen().color(), control.palette().color(QPalette::WindowText));
    }
    control.setTextColor(QColor(255, 0, 0));
    control.setBackground(QBrush(QColor(0, 0, 255)));
    {
        QPainter p(&image);
        EXPECT_EQ(control.__SetColors(p).color(), QColor(0, 0, 255));
        EXPECT_EQ(p.pen().color(), QColor(255, 0, 0));
        EXPECT_EQ(p.background().color(), QColor(0, 0, 255));
    }
    const int before = control.drawCount();
    control.render(&image);
    EXPECT_EQ(control.drawCount(), before + 1);
}

} // namespace
