#include "controls/joystick.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

#include <map>
#include <tuple>

#include <fcntl.h>
#include <linux/joystick.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace vexo;

namespace {

// A joystick driver whose devices and reports the test sets; it records captures and releases.
struct FakeReader : JoystickReader
{
    int devices = 2;
    std::map<int, JoystickState> plugged;
    std::map<int, std::function<void(const JoystickMessage &)>> sinks;
    QStringList log;

    int deviceCount() override { return devices; }
    std::optional<JoystickState> state(int id) override
    {
        const auto it = plugged.find(id);
        return it == plugged.end() ? std::nullopt : std::optional(it->second);
    }
    std::optional<JoystickCaps> caps(int id) override
    {
        if (!plugged.count(id))
            return std::nullopt;
        return JoystickCaps{QStringLiteral("Kumanda %1").arg(id), 4, 3, 6, 32};
    }
    bool capture(int id, std::function<void(const JoystickMessage &)> sink) override
    {
        log << QStringLiteral("capture %1").arg(id);
        sinks[id] = std::move(sink);
        return true;
    }
    void release(int id) override
    {
        log << QStringLiteral("release %1").arg(id);
        sinks.erase(id);
    }
    void send(int id, JoystickMessage::Kind kind, JoystickState s) { sinks.at(id)(JoystickMessage{kind, s}); }
};

struct PadOwner : QWidget, JoystickOwner
{
    PadOwner()
    {
        ONJOVJOYBUTTONDOWN = [this](const JOVJOYSTICKEVENT &e) { log << "down"; last.emplace(e); };
        ONJOVJOYBUTTONUP = [this](const JOVJOYSTICKEVENT &e) { log << "up"; last.emplace(e); };
        ONJOVJOYMOVE = [this](const JOVJOYSTICKEVENT &e) { log << "move"; last.emplace(e); };
        ONJOVJOYZMOVE = [this](const JOVJOYSTICKEVENT &e) { log << "zmove"; last.emplace(e); };
    }
    QStringList log;
    std::optional<JOVJOYSTICKEVENT> last;
};

TEST(Joystick, Scaling)
{
    const struct { quint32 raw; JoystickRange range; qint64 want; } cases[] = {
        {0, {0, 65535}, 0},
        {65535, {0, 65535}, 65534},
        {65535, {0, 100}, 99},
        {0, {0, 100}, 0},
        {32768, {0, 100}, 49},
        {0, {-50, 50}, -50},
        {65535, {-50, 50}, 49},
    };
    for (const auto &c : cases)
        EXPECT_EQ(scaleJoystickPosition(c.raw, c.range), c.want) << c.raw << " " << c.range.min << ".." << c.range.max;
}

TEST(Joystick, LinuxAxisValuesSpanTheRawRange)
{
    const struct { qint16 axis; quint32 raw; } cases[] = {
        {-32768, 0}, {-32767, 0}, {-1, 32766}, {0, 32768}, {32767, 65535},
    };
    for (const auto &c : cases)
        EXPECT_EQ(joystickRawFromAxis(c.axis), c.raw) << c.axis;
}

TEST(Joystick, NeutralWithoutADevice)
{
    for (int devices : {0, 2}) { // no driver; a driver without a joystick plugged in
        auto reader = std::make_unique<FakeReader>();
        reader->devices = devices;
        FakeReader *fake = reader.get();
        PadOwner owner;
        JOVJOYSTICKCTRL pad(&owner, std::move(reader));
        EXPECT_EQ(pad.IsDriver(), devices != 0);
        EXPECT_FALSE(pad.IsPlugged());
        EXPECT_EQ(pad.AxesCount() + pad.ButtonsCount() + pad.MaxAxes() + pad.MaxButtons(), 0u);
        EXPECT_EQ(pad.ProductName(), QString());
        EXPECT_FALSE(pad.IsButton1Down() || pad.IsButton2Down() || pad.IsButton3Down() || pad.IsButton4Down());
        EXPECT_EQ(pad.PosX() + pad.PosY() + pad.PosZ(), 0u);
        EXPECT_EQ(pad.Interval(), 0u);
        EXPECT_EQ(pad.setInterval(40), 0u);
        EXPECT_FALSE(pad.Open());
        EXPECT_TRUE(fake->log.isEmpty()); // nothing captured
    }
}

TEST(Joystick, PollingAPluggedJoystick)
{
    auto reader = std::make_unique<FakeReader>();
    reader->plugged[0] = JoystickState{65535, 0, 32768, 0b0101};
    PadOwner owner;
    JOVJOYSTICKCTRL pad(&owner, std::move(reader));
    EXPECT_TRUE(pad.IsPlugged());
    EXPECT_EQ(pad.ProductName(), QStringLiteral("Kumanda 0"));
    EXPECT_EQ(pad.ButtonsCount(), 4u);
    EXPECT_EQ(pad.AxesCount(), 3u);
    EXPECT_TRUE(pad.IsButton1Down());
    EXPECT_FALSE(pad.IsButton2Down());
    EXPECT_TRUE(pad.IsButton3Down());
    EXPECT_FALSE(pad.IsButton4Down());
    EXPECT_EQ(pad.PosX(), 65534u);
    EXPECT_EQ(pad.PosY(), 0u);
    pad.setXRange({0, 100});
    EXPECT_EQ(pad.PosX(), 99u);
}

TEST(Joystick, IdentifierRules)
{
    auto reader = std::make_unique<FakeReader>();
    reader->plugged[0] = {};
    reader->plugged[1] = {};
    FakeReader *fake = reader.get();
    PadOwner owner;
    JOVJOYSTICKCTRL pad(&owner, std::move(reader));
    EXPECT_EQ(pad.Identifier(), 0);
    EXPECT_EQ(pad.setIdentifier(2), 0);
    EXPECT_EQ(pad.setIdentifier(-1), 0);
    EXPECT_EQ(pad.setInterval(300), 300u);
    EXPECT_EQ(pad.setIdentifier(1), 1);
    EXPECT_EQ(pad.Interval(), 300u); // the threshold carries over
    EXPECT_EQ(pad.setIdentifier(0), 0);

    ASSERT_TRUE(pad.Open());
    EXPECT_TRUE(pad.Open()); // a second open of the same joystick stays open
    EXPECT_EQ(pad.setIdentifier(1), 0); // not while open
    EXPECT_TRUE(pad.Open(1));           // another joystick: the first is let go
    EXPECT_EQ(pad.Identifier(), 1);
    EXPECT_EQ(fake->log, (QStringList{"capture 0", "release 0", "capture 1"}));
    pad.Close();
    EXPECT_FALSE(pad.IsOpen());
    EXPECT_EQ(fake->log.last(), QStringLiteral("release 1"));
}

TEST(Joystick, CapturedReportsReachTheOwner)
{
    auto reader = std::make_unique<FakeReader>();
    reader->plugged[0] = {};
    FakeReader *fake = reader.get();
    PadOwner owner;
    JOVJOYSTICKCTRL pad(&owner, std::move(reader));
    pad.setXRange({0, 100});
    ASSERT_TRUE(pad.Open());

    fake->send(0, JoystickMessage::ButtonDown, JoystickState{10, 20, 30, 0b0101});
    ASSERT_TRUE(owner.last);
    EXPECT_TRUE(owner.last->IsButton1Down());
    EXPECT_FALSE(owner.last->IsButton2Down());
    EXPECT_TRUE(owner.last->IsButton3Down());
    EXPECT_FALSE(owner.last->IsButton4Down());

    fake->send(0, JoystickMessage::Move, JoystickState{65535, 0, 30, 0});
    EXPECT_EQ(owner.last->PosX(), 99);
    EXPECT_EQ(owner.last->PosY(), 0);
    EXPECT_EQ(owner.last->PosZ(), -1);

    fake->send(0, JoystickMessage::ZMove, JoystickState{65535, 0, 65535, 0});
    EXPECT_EQ(owner.last->PosX(), -1);
    EXPECT_EQ(owner.last->PosY(), -1);
    EXPECT_EQ(owner.last->PosZ(), 65534);

    fake->send(0, JoystickMessage::ButtonUp, JoystickState{});
    EXPECT_EQ(owner.log, (QStringList{"down", "move", "zmove", "up"}));
}

TEST(Joystick, MovesWithinTheThresholdAreNotReported)
{
    auto reader = std::make_unique<FakeReader>();
    reader->plugged[0] = {};
    FakeReader *fake = reader.get();
    PadOwner owner;
    JOVJOYSTICKCTRL pad(&owner, std::move(reader));
    pad.setInterval(100);
    ASSERT_TRUE(pad.Open());
    fake->send(0, JoystickMessage::Move, JoystickState{1000, 1000, 0, 0}); // the first always counts
    fake->send(0, JoystickMessage::Move, JoystickState{1100, 950, 0, 0});  // 100: not beyond
    fake->send(0, JoystickMessage::Move, JoystickState{1000, 1101, 0, 0}); // 101 on Y
    fake->send(0, JoystickMessage::Move, JoystickState{1050, 1101, 0, 0});
    EXPECT_EQ(owner.log, (QStringList{"move", "move"}));
}

TEST(Joystick, OwnerWithoutHandlersGetsNothing)
{
    auto reader = std::make_unique<FakeReader>();
    reader->plugged[0] = {};
    FakeReader *fake = reader.get();
    QWidget owner;
    JOVJOYSTICKCTRL pad(&owner, std::move(reader));
    ASSERT_TRUE(pad.Open());
    fake->send(0, JoystickMessage::ButtonDown, JoystickState{0, 0, 0, 1}); // no crash, nothing to call
    PadOwner partial;
    partial.ONJOVJOYMOVE = nullptr;
    pad.setParent(&partial);
    fake->send(0, JoystickMessage::Move, JoystickState{5, 5, 0, 0});
    EXPECT_TRUE(partial.log.isEmpty());
    pad.setParent(nullptr); // the pad outlives `partial`
}

// The Linux reader on a pipe standing in for /dev/input/js0: the device's events in, the owner's
// calls out.
TEST(Joystick, LinuxReaderTranslatesDeviceEvents)
{
    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    const QByteArray device = QFile::encodeName(folder.filePath(QStringLiteral("js0")));
    ASSERT_EQ(mkfifo(device.constData(), 0600), 0);

    PadOwner owner;
    JOVJOYSTICKCTRL pad(&owner, makeSystemJoystickReader(folder.path()));
    EXPECT_TRUE(pad.IsDriver());
    ASSERT_TRUE(pad.IsPlugged());
    const int writer = ::open(device.constData(), O_WRONLY | O_NONBLOCK);
    ASSERT_GE(writer, 0);
    const auto send = [writer](quint8 type, quint8 number, qint16 value) {
        js_event e{};
        e.type = type;
        e.number = number;
        e.value = value;
        ASSERT_EQ(::write(writer, &e, sizeof e), ssize_t(sizeof e));
    };

    send(JS_EVENT_BUTTON | JS_EVENT_INIT, 2, 1); // the present state: button 3 held
    EXPECT_TRUE(pad.IsButton3Down());
    EXPECT_FALSE(pad.IsButton1Down());

    pad.setXRange({0, 100});
    ASSERT_TRUE(pad.Open());
    send(JS_EVENT_BUTTON, 0, 1);
    send(JS_EVENT_AXIS, 0, 32767);
    send(JS_EVENT_AXIS, 2, 32767);
    send(JS_EVENT_AXIS, 5, 100); // an axis the control does not report
    send(JS_EVENT_BUTTON, 0, 0);
    ASSERT_TRUE(QTest::qWaitFor([&] { return owner.log.size() >= 4; }, 5000));
    EXPECT_EQ(owner.log, (QStringList{"down", "move", "zmove", "up"}));
    ASSERT_TRUE(owner.last);
    EXPECT_FALSE(owner.last->IsButton1Down());
    EXPECT_TRUE(owner.last->IsButton3Down());
    EXPECT_EQ(pad.PosX(), 99u);
    EXPECT_EQ(pad.PosZ(), 65534u);

    pad.Close();
    ::close(writer);
}

// The owner deletes the control from its handler, with more reports waiting behind the one handled:
// whether the reports came through the capture or through a poll, nothing more reaches the owner
// and nothing of the deleted control or its reader is touched (the controls_joystick_asan test
// runs this under AddressSanitizer).
TEST(Joystick, AnOwnerMayDeleteTheControlFromItsHandler)
{
    struct DeletingOwner : QWidget, JoystickOwner
    {
        DeletingOwner()
        {
            ONJOVJOYBUTTONDOWN = [this](const JOVJOYSTICKEVENT &) {
                log << "down";
                delete pad;
                pad = nullptr;
            };
            ONJOVJOYBUTTONUP = [this](const JOVJOYSTICKEVENT &) { log << "up"; };
            ONJOVJOYMOVE = [this](const JOVJOYSTICKEVENT &) { log << "move"; };
        }
        JOVJOYSTICKCTRL *pad = nullptr;
        QStringList log;
    };
    for (bool byPoll : {false, true}) {
        SCOPED_TRACE(byPoll ? "read by a poll" : "read by the capture");
        QTemporaryDir folder;
        ASSERT_TRUE(folder.isValid());
        const QByteArray device = QFile::encodeName(folder.filePath(QStringLiteral("js0")));
        ASSERT_EQ(mkfifo(device.constData(), 0600), 0);
        DeletingOwner owner;
        owner.pad = new JOVJOYSTICKCTRL(&owner, makeSystemJoystickReader(folder.path()));
        ASSERT_TRUE(owner.pad->Open());
        const int writer = ::open(device.constData(), O_WRONLY | O_NONBLOCK);
        ASSERT_GE(writer, 0);
        for (const auto &[type, number, value] : {std::tuple{JS_EVENT_BUTTON, 0, 1}, std::tuple{JS_EVENT_AXIS, 0, 9000},
                                                   std::tuple{JS_EVENT_BUTTON, 0, 0}}) {
            js_event e{};
            e.type = quint8(type);
            e.number = quint8(number);
            e.value = qint16(value);
            ASSERT_EQ(::write(writer, &e, sizeof e), ssize_t(sizeof e));
        }
        if (byPoll) { // the poll reads all three (pressed and let go); the owner hears of them later
            EXPECT_FALSE(owner.pad->IsButton1Down());
        }
        EXPECT_TRUE(QTest::qWaitFor([&] { return owner.pad == nullptr; }, 5000));
        QTest::qWait(50);
        EXPECT_EQ(owner.log, QStringList{"down"});
        ::close(writer);
    }
}

TEST(Joystick, SystemReaderAnswersConsistently)
{
    // The build machines have no joystick (neutral answers); one plugged in opens.
    JOVJOYSTICKCTRL pad;
    const bool plugged = pad.IsPlugged();
    EXPECT_EQ(pad.Open(), plugged);
    if (!plugged) {
        EXPECT_EQ(pad.ProductName(), QString());
    }
    pad.Close();
    EXPECT_FALSE(pad.IsOpen());
}

} // namespace
