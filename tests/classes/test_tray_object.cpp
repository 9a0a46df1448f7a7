// The tray object's record and the commands it sends, through a recording backend.
#include "classes/tray_object.h"

#include <QPixmap>
#include <QSystemTrayIcon>

#include <gtest/gtest.h>

using namespace vexo;

namespace {

struct RecordingTray : TrayBackend
{
    RecordingTray() { setTrayBackend(this); }
    ~RecordingTray() override { setTrayBackend(nullptr); }
    bool notify(TrayCommand command, const NotifyIconRecord &record) override
    {
        commands << command;
        records << record;
        return false; // a refusal changes nothing for the object
    }
    QList<TrayCommand> commands;
    QList<NotifyIconRecord> records;
};

QIcon solidIcon(QColor c)
{
    QPixmap pm(16, 16);
    pm.fill(c);
    return QIcon(pm);
}

class TrayObject : public ::testing::Test
{
protected:
    void SetUp() override
    {
        window.setWindowTitle(QStringLiteral("Yem Rasyonu"));
        window.setWindowIcon(solidIcon(Qt::red));
    }
    RecordingTray tray;
    QWidget window;
};

using C = TrayCommand;

TEST_F(TrayObject, InitFillsTheRecord)
{
    JOVTRAYOBJECT25 t(&window, QVariant::fromValue(solidIcon(Qt::blue)), QStringLiteral("İpucu"), 0x8010);
    const NotifyIconRecord *r = t.record();
    ASSERT_TRUE(r);
    EXPECT_EQ(r->cbSize, 504u);
    EXPECT_EQ(r->uFlags, 7u);
    EXPECT_EQ(r->hWnd, &window);
    EXPECT_EQ(r->uID, 0u);
    EXPECT_EQ(r->uCallbackMessage, 0x8010u);
    EXPECT_EQ(r->tip(), QStringLiteral("İpucu"));
    EXPECT_EQ(r->szTip.left(6), QByteArray("\xDDpucu\0", 6)); // Windows-1254 bytes
    EXPECT_FALSE(t.ISVISIBLE());
    EXPECT_TRUE(tray.commands.isEmpty()); // nothing shows before SHOW
}

TEST_F(TrayObject, MissingArgumentsComeFromTheWindow)
{
    JOVTRAYOBJECT25 t(&window);
    ASSERT_TRUE(t.ICON());
    EXPECT_EQ(t.ICON()->pixmap(16, 16).toImage().pixelColor(8, 8), QColor(Qt::red));
    EXPECT_EQ(t.TOOLTIP(), QStringLiteral("Yem Rasyonu"));
    EXPECT_EQ(t.record()->tip(), QStringLiteral("Yem Rasyonu"));
    EXPECT_EQ(t.MESSAGE(), 32770u);

    // No window at all: no icon, no tool-tip, both flags off.
    JOVTRAYOBJECT25 bare(nullptr);
    EXPECT_FALSE(bare.ICON());
    EXPECT_EQ(bare.record()->uFlags, NotifyIconRecord::NIF_MESSAGE);
    EXPECT_EQ(bare.record()->szTip.at(0), '\0');
}

TEST_F(TrayObject, ToolTipKeepsSixtyThreeCharacters)
{
    JOVTRAYOBJECT25 t(&window);
    const QString longTip = QString(100, QLatin1Char('x')).replace(62, 2, QStringLiteral("AB"));
    EXPECT_EQ(t.setTOOLTIP(longTip), longTip); // the object keeps it whole
    const QByteArray &tip = t.record()->szTip;
    EXPECT_EQ(tip.left(63), longTip.left(63).toLatin1());
    EXPECT_EQ(tip.at(62), 'A');
    EXPECT_EQ(tip.at(63), '\0');
    EXPECT_EQ(t.record()->tip().size(), 63);

    t.setTOOLTIP(QVariant(12)); // not a string: cleared
    EXPECT_EQ(t.TOOLTIP(), QString());
    EXPECT_EQ(tip.at(0), '\0');
    EXPECT_EQ(t.record()->uFlags & NotifyIconRecord::NIF_TIP, 0u);
    t.setTOOLTIP(QStringLiteral("ab"));
    EXPECT_EQ(t.record()->tip(), QStringLiteral("ab"));
    EXPECT_NE(t.record()->uFlags & NotifyIconRecord::NIF_TIP, 0u);
}

TEST_F(TrayObject, MessageTakesNumbersOnly)
{
    JOVTRAYOBJECT25 t(&window, {}, {}, QStringLiteral("0x8005"));
    EXPECT_EQ(t.MESSAGE(), 32770u);
    const struct { QVariant value; quint32 want; } cases[] = {
        {QVariant(0x8005), 0x8005u},
        {QVariant(QStringLiteral("abc")), 32770u},
        {QVariant(), 32770u},
        {QVariant(-1), 0xFFFFFFFFu}, // kept as an unsigned 32-bit value
        {QVariant(1024.0), 1024u},
    };
    for (const auto &c : cases) {
        EXPECT_EQ(t.setMESSAGE(c.value), c.want) << c.value.toString().toStdString();
        EXPECT_EQ(t.record()->uCallbackMessage, c.want);
    }
}

TEST_F(TrayObject, ShowTwiceAddsThenModifies)
{
    JOVTRAYOBJECT25 t(&window);
    t.SHOW();
    EXPECT_TRUE(t.ISVISIBLE()); // even though the backend refused
    t.SHOW();
    t.REFRESH();
    EXPECT_EQ(tray.commands, (QList<C>{C::Add, C::Modify, C::Modify}));
    t.HIDE();
    t.HIDE(); // hidden already: nothing
    t.REFRESH();
    EXPECT_EQ(tray.commands, (QList<C>{C::Add, C::Modify, C::Modify, C::Delete}));
    EXPECT_FALSE(t.ISVISIBLE());
    t.SHOW();
    EXPECT_EQ(tray.commands.last(), C::Add);
}

TEST_F(TrayObject, EveryChangeFollowsAtOnceWhileShown)
{
    JOVTRAYOBJECT25 t(&window);
    t.setTOOLTIP(QStringLiteral("hidden")); // not shown: no command
    EXPECT_TRUE(tray.commands.isEmpty());
    t.SHOW();
    t.setTOOLTIP(QStringLiteral("yeni"));
    t.setICON(QVariant::fromValue(solidIcon(Qt::green)));
    t.setMESSAGE(0x9000);
    t.setICON(QVariant()); // cleared: the flag goes, the record keeps the old handle
    EXPECT_EQ(tray.commands, (QList<C>{C::Add, C::Modify, C::Modify, C::Modify, C::Modify}));
    EXPECT_EQ(tray.records.at(1).tip(), QStringLiteral("yeni"));
    EXPECT_EQ(tray.records.at(3).uCallbackMessage, 0x9000u);
    const NotifyIconRecord &last = tray.records.last();
    EXPECT_EQ(last.uFlags & NotifyIconRecord::NIF_ICON, 0u);
    EXPECT_EQ(last.hIcon.pixmap(16, 16).toImage().pixelColor(8, 8), QColor(Qt::green));
    EXPECT_FALSE(t.ICON());
}

TEST_F(TrayObject, ClearingTheWindowRemovesTheIcon)
{
    JOVTRAYOBJECT25 t(&window);
    t.SHOW();
    EXPECT_EQ(t.setWINDOW(nullptr), nullptr);
    EXPECT_EQ(tray.commands, (QList<C>{C::Add, C::Delete}));
    EXPECT_EQ(tray.records.last().hWnd, &window); // deleted under the window it was added for
    EXPECT_FALSE(t.ISVISIBLE());
    EXPECT_EQ(t.record()->hWnd, nullptr);
    QWidget other;
    t.setOWNER(&other); // a new window while hidden shows nothing
    EXPECT_EQ(tray.commands.size(), 2);
    EXPECT_EQ(t.WINDOW(), &other);
}

TEST_F(TrayObject, DestroyHidesAndReleasesTheRecord)
{
    {
        JOVTRAYOBJECT25 t(&window);
        t.SHOW();
        t.DESTROY();
        EXPECT_EQ(t.record(), nullptr);
        EXPECT_FALSE(t.ISVISIBLE());
        // A destroyed object does nothing any more.
        t.SHOW();
        t.HIDE();
        t.DESTROY();
        t.setTOOLTIP(QStringLiteral("x"));
        EXPECT_EQ(tray.commands, (QList<C>{C::Add, C::Delete}));
    }
    // Going out of scope while shown takes the icon away.
    tray.commands.clear();
    {
        JOVTRAYOBJECT25 t(&window);
        t.SHOW();
    }
    EXPECT_EQ(tray.commands, (QList<C>{C::Add, C::Delete}));
}

TEST(TrayMouseMessages, ActivationsAsMouseMessages)
{
    EXPECT_EQ(trayMouseMessage(QSystemTrayIcon::Trigger), 0x202u);
    EXPECT_EQ(trayMouseMessage(QSystemTrayIcon::DoubleClick), 0x203u);
    EXPECT_EQ(trayMouseMessage(QSystemTrayIcon::Context), 0x205u);
    EXPECT_EQ(trayMouseMessage(QSystemTrayIcon::MiddleClick), 0x208u);
    EXPECT_EQ(trayMouseMessage(QSystemTrayIcon::Unknown), 0u);
}

} // namespace
