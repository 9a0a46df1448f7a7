#include "controls/hyperlink.h"
#include "controls/named_owner.h"
#include "platform/shell_open.h"

#include <QImage>
#include <QMouseEvent>
#include <QApplication>

#include <gtest/gtest.h>

using namespace vexo;

namespace {

struct RecordingOpener : ShellOpener
{
    bool open(QWidget *, const QString &target) override
    {
        opened << target;
        return false; // a failed open changes nothing for the link
    }
    QStringList opened;
};

struct LinkOwner : QWidget, NamedCommandOwner
{
};

class Hyperlink : public ::testing::Test
{
protected:
    void SetUp() override { setShellOpener(&opener); }
    void TearDown() override { setShellOpener(nullptr); }
    RecordingOpener opener;
    LinkOwner owner;
};

TEST_F(Hyperlink, ClickPrecedence)
{
    using R = JOVHYPERLINK::ClickResult;
    const struct { const char *action; bool ownerHandler; R want; const char *opened; } cases[] = {
        {"https://example.invalid/a", true, R::OpenedAction, "https://example.invalid/a"},
        {"https://example.invalid/a", false, R::OpenedAction, "https://example.invalid/a"},
        {"", true, R::CalledOwner, nullptr},
        {"", false, R::OpenedCaption, "www.example.invalid"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.action);
        opener.opened.clear();
        int calls = 0;
        owner.namedCommands().remove(QStringLiteral("LNKWEB"));
        if (c.ownerHandler)
            owner.namedCommands().add(QStringLiteral("LNKWEB"), [&calls] { ++calls; });
        JOVHYPERLINK link(&owner, QStringLiteral("www.example.invalid"));
        link.setObjectName(QStringLiteral("LNKWEB"));
        link.setAction(QString::fromLatin1(c.action));
        EXPECT_EQ(link.click(), c.want);
        EXPECT_EQ(calls, c.want == R::CalledOwner ? 1 : 0);
        EXPECT_EQ(opener.opened, c.opened ? QStringList{QString::fromLatin1(c.opened)} : QStringList{});
    }
}

TEST_F(Hyperlink, LeftReleaseOverTheLinkClicks)
{
    JOVHYPERLINK link(&owner, QStringLiteral("mailto:destek@example.invalid"));
    link.resize(100, 16);
    const auto release = [&](QPoint at, Qt::MouseButton button) {
        QMouseEvent e(QEvent::MouseButtonRelease, QPointF(at), link.mapToGlobal(QPointF(at)), button, Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(&link, &e);
    };
    release(QPoint(5, 5), Qt::RightButton);
    release(QPoint(150, 5), Qt::LeftButton);
    EXPECT_TRUE(opener.opened.isEmpty());
    release(QPoint(5, 5), Qt::LeftButton); // no press needed before
    EXPECT_EQ(opener.opened, QStringList{QStringLiteral("mailto:destek@example.invalid")});
}

TEST_F(Hyperlink, LooksAndTheOwnersFontStaysAsItWas)
{
    QFont ownFont = owner.font();
    ownFont.setPointSize(ownFont.pointSize() + 3);
    owner.setFont(ownFont);
    JOVHYPERLINK link(&owner, QStringLiteral("Yardım"));
    EXPECT_TRUE(link.font().underline());
    EXPECT_FALSE(owner.font().underline());
    EXPECT_EQ(link.font().pointSize(), ownFont.pointSize());
    EXPECT_EQ(link.TextColor(), QColor(0, 0, 255));
    EXPECT_EQ(link.cursor().hotSpot(), QPoint(12, 1));
    EXPECT_TRUE(link.AutoSize());
    EXPECT_FALSE(link.Transparent());
}

TEST_F(Hyperlink, AutoSizeFollowsTheTextAtThePaint)
{
    JOVHYPERLINK link(&owner, QStringLiteral("Yardım konuları"));
    link.move(7, 9);
    link.resize(5, 5);
    link.grab();
    EXPECT_EQ(link.size(), link.textExtent());
    EXPECT_EQ(link.pos(), QPoint(7, 9));
    EXPECT_EQ(link.sizeHint(), link.textExtent()); // so a layout shows it before its first paint

    link.setAutoSize(false);
    link.resize(20, 8);
    link.grab();
    EXPECT_EQ(link.size(), QSize(20, 8)); // cut at its edge
    link.setAutoSize(true);
    EXPECT_EQ(link.size(), QSize(20, 8)); // nothing until the next paint
}

TEST_F(Hyperlink, TransparentPaintsOnlyTheText)
{
    JOVHYPERLINK link(&owner, QStringLiteral("ab"));
    link.setBackground(QBrush(QColor(0, 255, 0)));
    const auto paintOverRed = [&] {
        QImage image(link.textExtent(), QImage::Format_ARGB32);
        image.fill(QColor(255, 0, 0));
        link.render(&image, QPoint(), QRegion(), QWidget::DrawChildren);
        return image;
    };
    link.grab(); // sized to the text
    const QImage opaque = paintOverRed();
    EXPECT_EQ(opaque.pixelColor(opaque.width() - 1, 0), QColor(0, 255, 0));
    link.setTransparent(true);
    const QImage clear = paintOverRed();
    EXPECT_EQ(clear.pixelColor(clear.width() - 1, 0), QColor(255, 0, 0));
    int blue = 0;
    for (int y = 0; y < clear.height(); ++y)
        for (int x = 0; x < clear.width(); ++x)
            blue += clear.pixelColor(x, y).blue() > 128;
    EXPECT_GT(blue, 3); // the text itself
}

} // namespace
