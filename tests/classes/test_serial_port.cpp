// The serial port's rules over a recording device: properties, the opening sequence and its failures,
// reads and writes by the time-outs, and the characters-arrived notification.
#include "classes/serial_port.h"
#include "serial_test_devices.h"

#include "scripted_messages.h"

#include <QCoreApplication>

#include <gtest/gtest.h>

using namespace vexo;
using vexo::test::FakeSerialDevice;
using vexo::test::FakeSerialLine;

namespace {

// Counts the notifications it receives and keeps the last one.
class NotifiedOwner : public QObject
{
public:
    int received = 0;
    quint32 message = 0;
    quintptr wParam = 0;
    qintptr lParam = -1;

protected:
    void customEvent(QEvent *e) override
    {
        if (e->type() != SerialNotifyEvent::eventType())
            return;
        auto *n = static_cast<SerialNotifyEvent *>(e);
        ++received;
        message = n->message();
        wParam = n->wParam();
        lParam = n->lParam();
    }
};

struct Rig
{
    std::shared_ptr<FakeSerialLine> line = std::make_shared<FakeSerialLine>();
    std::unique_ptr<SERIAL> port;

    explicit Rig(QObject *owner = nullptr)
        : port(std::make_unique<SERIAL>(owner, std::make_unique<FakeSerialDevice>(line)))
    {
    }
    // Opens and forgets the calls the opening made.
    Rig &opened()
    {
        EXPECT_TRUE(port->OPEN(QStringLiteral("COM1")));
        line->calls.clear();
        return *this;
    }
};

} // namespace

TEST(SerialProperties, BaudTakesTheThirteenRatesOnly)
{
    Rig rig;
    SERIAL &s = *rig.port;
    for (quint32 rate : {110u, 300u, 600u, 1200u, 2400u, 4800u, 9600u, 14400u, 19200u, 38400u, 56000u, 128000u,
                         256000u})
        EXPECT_EQ(s.setBAUD(rate), rate);
    for (quint32 refused : {57600u, 115200u, 9601u, 0u, 1u}) {
        EXPECT_EQ(s.setBAUD(refused), 256000u) << refused;
        EXPECT_EQ(s.BAUD(), 256000u);
    }
}

TEST(SerialProperties, LineValuesOutsideTheirListsChangeNothing)
{
    struct Case
    {
        const char *name;
        int (SERIAL::*set)(int);
        int (SERIAL::*get)() const;
        std::vector<int> accepted;
        std::vector<int> refused;
    };
    const Case cases[] = {
        {"BYTESIZE", &SERIAL::setBYTESIZE, &SERIAL::BYTESIZE, {7, 8}, {5, 6, 9, 0, -1}},
        {"PARITY", &SERIAL::setPARITY, &SERIAL::PARITY, {0, 1, 2, 3, 4}, {5, -1}},
        {"STOPBITS", &SERIAL::setSTOPBITS, &SERIAL::STOPBITS, {0, 1, 2}, {3, -1}},
    };
    for (const Case &c : cases) {
        Rig rig;
        SERIAL &s = *rig.port;
        for (int v : c.accepted)
            EXPECT_EQ((s.*c.set)(v), v) << c.name << " " << v;
        const int held = (s.*c.get)();
        for (int v : c.refused) {
            EXPECT_EQ((s.*c.set)(v), held) << c.name << " " << v;
            EXPECT_EQ((s.*c.get)(), held) << c.name;
        }
    }
}

TEST(SerialProperties, TimeoutsAndQueueSizesTakeAnyWord)
{
    Rig rig;
    SERIAL &s = *rig.port;
    EXPECT_EQ(s.TRANSMITBUFFERSIZE(), 4096u);
    EXPECT_EQ(s.RECEIVEBUFFERSIZE(), 4096u);
    EXPECT_FALSE(s.ISOPEN());
    for (quint32 v : {0u, 1u, 0x7FFFFFFFu, 0x80000000u, SERIAL::kMaxDword}) {
        EXPECT_EQ(s.setREADINTERVALTIMEOUT(v), v);
        EXPECT_EQ(s.setREADTIMEOUTMULTIPLIER(v), v);
        EXPECT_EQ(s.setREADTIMEOUTCONSTANT(v), v);
        EXPECT_EQ(s.setWRITETIMEOUTMULTIPLIER(v), v);
        EXPECT_EQ(s.setWRITETIMEOUTCONSTANT(v), v);
        EXPECT_EQ(s.setTRANSMITBUFFERSIZE(v), v);
        EXPECT_EQ(s.setRECEIVEBUFFERSIZE(v), v);
    }
    // Assigning touches the object only: nothing reaches a device.
    EXPECT_TRUE(rig.line->calls.isEmpty());
}

TEST(SerialClosed, CallsThatNeedAPortAnswerWithoutTouchingTheDevice)
{
    Rig rig;
    SERIAL &s = *rig.port;
    EXPECT_FALSE(s.CLOSE());
    EXPECT_TRUE(rig.line->calls.isEmpty()) << "CLOSE calls nothing without a port";

    // FLUSH does not look for a port: the device refuses and the text says so.
    EXPECT_FALSE(s.FLUSH());
    EXPECT_EQ(s.ERRORDESC(), QStringLiteral("PurgeComm failed."));
    EXPECT_EQ(s.ERRORCODE(), QStringLiteral("87"));
    rig.line->calls.clear();

    EXPECT_FALSE(s.GETPROTOCOL());
    EXPECT_FALSE(s.SETPROTOCOL());
    EXPECT_FALSE(s.GETTIMEOUT());
    EXPECT_FALSE(s.SETTIMEOUT());
    EXPECT_EQ(s.RECEIVERPENDING(), 0);
    EXPECT_TRUE(s.READ(0).isEmpty());
    EXPECT_TRUE(rig.line->calls.isEmpty());
    EXPECT_EQ(s.ERRORDESC(), QStringLiteral("PurgeComm failed.")) << "no new error";
}

TEST(SerialClosed, TheRealDeviceWithoutAPort)
{
    test::ScriptedMessages messages;
    SERIAL s;
    EXPECT_FALSE(s.CLOSE());
    EXPECT_TRUE(s.ERRORDESC().isEmpty());
    EXPECT_EQ(s.ERRORCODE(), QStringLiteral("0"));
    EXPECT_FALSE(s.FLUSH());
    EXPECT_EQ(s.ERRORDESC(), QStringLiteral("PurgeComm failed."));
    bool number = false;
    EXPECT_NE(s.ERRORCODE().toInt(&number), 0);
    EXPECT_TRUE(number) << "the code is a number's text";
    EXPECT_FALSE(s.GETPROTOCOL());
    EXPECT_FALSE(s.SETPROTOCOL());
    EXPECT_FALSE(s.GETTIMEOUT());
    EXPECT_FALSE(s.SETTIMEOUT());
    EXPECT_EQ(s.ERRORDESC(), QStringLiteral("PurgeComm failed."));
    EXPECT_TRUE(s.READ(0).isEmpty());
    EXPECT_EQ(s.RECEIVERPENDING(), 0);
    EXPECT_TRUE(s.READ().isEmpty());
    EXPECT_EQ(s.ERRORDESC(), QStringLiteral("ReadFile failed in Serial:ReadCommBlock(2)."));
    EXPECT_EQ(s.WRITE("x"), 0);
    EXPECT_EQ(s.ERRORDESC(), QStringLiteral("WriteFile failed in Serial:Write."));
    EXPECT_TRUE(messages.shown().isEmpty());
}

TEST(SerialOpen, RunsItsStepsInOrderAndSetsTheDefaults)
{
    Rig rig;
    SERIAL &s = *rig.port;
    s.setRECEIVEBUFFERSIZE(1024);
    s.setTRANSMITBUFFERSIZE(512);
    s.setBAUD(19200);
    ASSERT_TRUE(s.OPEN(QStringLiteral("COM1")));
    EXPECT_EQ(rig.line->calls, QStringList({"open", "setQueueSizes", "purge", "setTimeouts", "getProtocol",
                                            "setProtocol"}));
    EXPECT_EQ(rig.line->receiveSize, 1024u);
    EXPECT_EQ(rig.line->transmitSize, 512u);
    EXPECT_EQ(rig.line->timeouts, (CommTimeouts{SERIAL::kMaxDword, 500, 1000, 0, 1000}));
    EXPECT_EQ(rig.line->driver, (LineProtocol{9600, 8, 0, 0}));
    EXPECT_TRUE(s.ISOPEN());
    EXPECT_EQ(s.READINTERVALTIMEOUT(), 4294967295u);
    EXPECT_EQ(s.READTIMEOUTMULTIPLIER(), 500u);
    EXPECT_EQ(s.READTIMEOUTCONSTANT(), 1000u);
    EXPECT_EQ(s.WRITETIMEOUTMULTIPLIER(), 0u);
    EXPECT_EQ(s.WRITETIMEOUTCONSTANT(), 1000u);
    EXPECT_EQ(s.BAUD(), 9600u);
    EXPECT_EQ(s.BYTESIZE(), 8);
    EXPECT_EQ(s.PARITY(), 0);
    EXPECT_EQ(s.STOPBITS(), 0);
    EXPECT_TRUE(s.ERRORDESC().isEmpty());
}

TEST(SerialOpen, AFailedStepLeavesThePortClosedAndNamesTheStep)
{
    struct Case
    {
        const char *step;
        const char *text;
        bool held;  // the object still holds the device afterwards
        QStringList calls;
    };
    const QStringList all{"open", "setQueueSizes", "purge", "setTimeouts", "getProtocol", "setProtocol"};
    const Case cases[] = {
        {"open", "CreateFile failed in Open.", false, all.mid(0, 1)},
        {"setQueueSizes", "SetupComm failed in Open.", true, all.mid(0, 2)},
        {"purge", "PurgeComm failed.", false, all.mid(0, 3) << "close"},
        {"setTimeouts", "SetCommTimeouts failed in SetTimeOut.", false, all.mid(0, 4) << "close"},
        {"getProtocol", "GetCommState failed in GetProtocol.", false, all.mid(0, 5) << "close"},
        {"setProtocol", "SetCommState failed in SetProtocol.", false, all.mid(0, 6) << "close"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.step);
        Rig rig;
        SERIAL &s = *rig.port;
        rig.line->failing = {QString::fromLatin1(c.step)};
        rig.line->errorCode = 31;
        EXPECT_FALSE(s.OPEN(QStringLiteral("COM1")));
        EXPECT_FALSE(s.ISOPEN());
        EXPECT_EQ(s.ERRORDESC(), QString::fromLatin1(c.text));
        EXPECT_EQ(s.ERRORCODE(), QStringLiteral("31"));
        EXPECT_EQ(rig.line->calls, c.calls);
        EXPECT_EQ(s.holdsPort(), c.held);
        EXPECT_EQ(rig.line->open, c.held);
        // Only a port still held can be closed; a failed queue set-up keeps it until then.
        rig.line->failing.clear();
        EXPECT_EQ(s.CLOSE(), c.held);
        EXPECT_FALSE(rig.line->open);
        EXPECT_EQ(s.ERRORDESC(), QString::fromLatin1(c.text));
        // And the next OPEN works.
        EXPECT_TRUE(s.OPEN(QStringLiteral("COM1")));
        EXPECT_TRUE(s.ISOPEN());
    }
}

TEST(SerialOpen, ASecondOpenLetsTheFirstPortGo)
{
    Rig rig;
    rig.opened();
    EXPECT_TRUE(rig.port->OPEN(QStringLiteral("COM2")));
    EXPECT_EQ(rig.line->calls.mid(0, 3), QStringList({"purge", "close", "open"}));
}

TEST(SerialClose, PurgesClosesAndClearsTheFlag)
{
    Rig rig;
    rig.opened();
    rig.line->received = "left over";
    EXPECT_TRUE(rig.port->CLOSE());
    EXPECT_EQ(rig.line->calls, QStringList({"purge", "close"}));
    EXPECT_TRUE(rig.line->received.isEmpty());
    EXPECT_FALSE(rig.port->ISOPEN());
    EXPECT_FALSE(rig.port->CLOSE()) << "a second CLOSE has no port";
}

TEST(SerialClose, AFailedCloseKeepsThePort)
{
    Rig rig;
    rig.opened();
    rig.line->failing = {"close"};
    EXPECT_FALSE(rig.port->CLOSE());
    EXPECT_EQ(rig.port->ERRORDESC(), QStringLiteral("CloseHandle failed."));
    EXPECT_TRUE(rig.port->ISOPEN());
    EXPECT_TRUE(rig.port->holdsPort());
    rig.line->failing.clear();
    EXPECT_TRUE(rig.port->CLOSE());
    EXPECT_FALSE(rig.port->ISOPEN());
}

TEST(SerialClose, ReleasingTheObjectClosesItsPort)
{
    Rig rig;
    rig.opened();
    rig.port.reset();
    EXPECT_FALSE(rig.line->open);
    EXPECT_TRUE(rig.line->calls.contains("close"));
}

TEST(SerialRead, WaitsByTheReadTimeoutsAndAShortReadIsNoFault)
{
    test::ScriptedMessages messages;
    Rig rig;
    rig.opened();
    SERIAL &s = *rig.port;
    rig.line->arrivals = {"ab"};
    EXPECT_EQ(s.READ(5), QByteArray("ab"));
    ASSERT_FALSE(rig.line->readWaits.isEmpty());
    // 1000 + 500 x 5 ms for the whole read.
    EXPECT_LE(rig.line->readWaits.first(), 3500);
    EXPECT_GE(rig.line->readWaits.first(), 3400);
    EXPECT_TRUE(messages.shown().isEmpty()) << "no box on a short read";
    EXPECT_TRUE(s.ERRORDESC().isEmpty());

    // Nothing at all within the time: empty, still no fault.
    rig.line->readWaits.clear();
    EXPECT_TRUE(s.READ(2).isEmpty());
    EXPECT_EQ(rig.line->readWaits.size(), 1);
    EXPECT_TRUE(messages.shown().isEmpty());
    EXPECT_TRUE(s.ERRORDESC().isEmpty());
}

TEST(SerialRead, GathersTheCountFromSeveralArrivals)
{
    Rig rig;
    rig.opened();
    rig.line->arrivals = {"ab", "c", "defg"};
    EXPECT_EQ(rig.port->READ(5), QByteArray("abcde"));
    EXPECT_EQ(rig.port->READ(), QByteArray("f")) << "READ reads one byte by default";
    rig.line->received += QByteArray("\0\xff", 2);
    EXPECT_EQ(rig.port->READ(2), QByteArray("g\0", 2)) << "bytes pass unchanged";
    EXPECT_EQ(rig.port->READ(1), QByteArray("\xff"));
}

TEST(SerialRead, BytesAlreadyThereNeedNoWait)
{
    Rig rig;
    rig.opened();
    rig.line->received = "xyz";
    EXPECT_EQ(rig.port->READ(3), QByteArray("xyz"));
    EXPECT_TRUE(rig.line->readWaits.isEmpty());
    EXPECT_TRUE(rig.port->READ(0).isEmpty());
    EXPECT_FALSE(rig.line->calls.contains("waitReadable"));
}

TEST(SerialRead, TheWaitFollowsThePortsTimeoutsNotTheUnsentProperties)
{
    Rig rig;
    rig.opened();
    SERIAL &s = *rig.port;
    s.setREADTIMEOUTCONSTANT(20);
    s.setREADTIMEOUTMULTIPLIER(10);
    EXPECT_TRUE(s.READ(3).isEmpty());
    EXPECT_GE(rig.line->readWaits.last(), 2400) << "still the port's 1000 + 500 x 3";
    ASSERT_TRUE(s.SETTIMEOUT());
    EXPECT_TRUE(s.READ(3).isEmpty());
    EXPECT_LE(rig.line->readWaits.last(), 50);
    EXPECT_GE(rig.line->readWaits.last(), 40);
    // Without total time-outs a read takes what is there and does not wait.
    s.setREADTIMEOUTCONSTANT(0);
    s.setREADTIMEOUTMULTIPLIER(0);
    ASSERT_TRUE(s.SETTIMEOUT());
    rig.line->arrivals = {"q"};
    EXPECT_EQ(s.READ(4), QByteArray("q"));
    EXPECT_EQ(rig.line->readWaits.last(), 0);
}

TEST(SerialRead, FailuresSetTheirTexts)
{
    {
        Rig rig;
        rig.opened();
        rig.line->failing = {"read"};
        EXPECT_TRUE(rig.port->READ(4).isEmpty());
        EXPECT_EQ(rig.port->ERRORDESC(), QStringLiteral("ReadFile failed in Serial:ReadCommBlock(2)."));
        EXPECT_TRUE(rig.line->calls.contains("pending")) << "the port's error state is cleared";
    }
    {
        // A wait that fails keeps what came before it.
        Rig rig;
        rig.opened();
        rig.line->received = "ab";
        rig.line->failing = {"waitReadable"};
        EXPECT_EQ(rig.port->READ(4), QByteArray("ab"));
        EXPECT_EQ(rig.port->ERRORDESC(), QStringLiteral("ReadFile failed in Serial:ReadCommBlock(1)."));
        EXPECT_EQ(rig.line->calls.last(), QStringLiteral("pending"));
    }
}

TEST(SerialWrite, WritesAllWithinTheTime)
{
    Rig rig;
    rig.opened();
    EXPECT_EQ(rig.port->WRITE(QByteArray("AT\r\n\0\xfe", 6)), 6);
    EXPECT_EQ(rig.line->sent, QByteArray("AT\r\n\0\xfe", 6));
    EXPECT_TRUE(rig.port->ERRORDESC().isEmpty());
    // Several waits when the port takes the bytes in parts.
    rig.line->acceptPerWait = 2;
    rig.line->sent.clear();
    EXPECT_EQ(rig.port->WRITE("12345"), 5);
    EXPECT_EQ(rig.line->sent, QByteArray("12345"));
    EXPECT_TRUE(rig.port->ERRORDESC().isEmpty());
}

TEST(SerialWrite, AnEmptyTextWritesNothingAndSetsNoError)
{
    Rig rig;
    rig.opened();
    EXPECT_EQ(rig.port->WRITE({}), 0);
    EXPECT_TRUE(rig.line->calls.isEmpty());
    EXPECT_TRUE(rig.port->ERRORDESC().isEmpty());
}

TEST(SerialWrite, APendingWriteIsWithdrawnWhenItsTimeIsUp)
{
    Rig rig;
    rig.opened();
    SERIAL &s = *rig.port;
    s.setWRITETIMEOUTMULTIPLIER(10);
    s.setWRITETIMEOUTCONSTANT(200);
    ASSERT_TRUE(s.SETTIMEOUT());
    rig.line->acceptPerWait = 0;
    rig.line->errorCode = 997;
    EXPECT_EQ(s.WRITE("hello"), 0);
    EXPECT_EQ(s.ERRORDESC(), QStringLiteral("Error writing to device."));
    EXPECT_EQ(s.ERRORCODE(), QStringLiteral("997"));
    ASSERT_FALSE(rig.line->writeWaits.isEmpty());
    EXPECT_LE(rig.line->writeWaits.first(), 250);  // 200 + 10 x 5
    EXPECT_GE(rig.line->writeWaits.first(), 240);
    EXPECT_TRUE(rig.line->calls.contains("dropUnsent"));
    EXPECT_EQ(s.WRITE({}), 0);
    EXPECT_EQ(s.ERRORDESC(), QStringLiteral("Error writing to device.")) << "errors are not cleared";
}

TEST(SerialWrite, AShortWriteCountsWhatWent)
{
    Rig rig;
    rig.opened();
    rig.line->acceptPerWait = 2;
    rig.line->acceptBudget = 3;
    // Without write time-outs the port is given what it takes at once: two, then one, then nothing.
    rig.port->setWRITETIMEOUTCONSTANT(0);
    ASSERT_TRUE(rig.port->SETTIMEOUT());
    EXPECT_EQ(rig.port->WRITE("abcdef"), 3);
    EXPECT_EQ(rig.line->sent, QByteArray("abc"));
    EXPECT_EQ(rig.port->ERRORDESC(), QStringLiteral("Error writing to device."));
}

TEST(SerialWrite, AFailedHandOver)
{
    Rig rig;
    rig.opened();
    rig.line->failing = {"write"};
    EXPECT_EQ(rig.port->WRITE("abc"), 0);
    EXPECT_EQ(rig.port->ERRORDESC(), QStringLiteral("WriteFile failed in Serial:Write."));
}

TEST(SerialPending, CountsTheReceiveQueue)
{
    Rig rig;
    rig.opened();
    rig.line->pendingAnswer = 7;
    EXPECT_EQ(rig.port->RECEIVERPENDING(), 7);
    rig.line->failing = {"pending"};
    EXPECT_EQ(rig.port->RECEIVERPENDING(), 0);
}

TEST(SerialEvents, TheOwnerIsNotifiedThroughItsEventQueue)
{
    NotifiedOwner owner;
    Rig rig(&owner);
    rig.opened();
    SERIAL &s = *rig.port;
    ASSERT_TRUE(s.ENABLEEVENTS(EV_RXCHAR));
    EXPECT_TRUE(s.EVENTSENABLED());
    EXPECT_EQ(rig.line->mask, EV_RXCHAR);

    rig.line->arrive();
    EXPECT_EQ(owner.received, 0) << "posted, not sent";
    QCoreApplication::processEvents();
    EXPECT_EQ(owner.received, 1);
    EXPECT_EQ(owner.message, 0x44u);
    EXPECT_EQ(owner.wParam, 1u);
    EXPECT_EQ(owner.lParam, 0);
    // One notification per wake-up.
    rig.line->arrive();
    rig.line->arrive();
    QCoreApplication::processEvents();
    EXPECT_EQ(owner.received, 3);

    EXPECT_TRUE(s.DISABLEEVENTS());
    EXPECT_FALSE(s.EVENTSENABLED());
    EXPECT_EQ(rig.line->mask, 0u);
    rig.line->watching = true;  // even if the device still called back
    rig.line->arrive();
    QCoreApplication::processEvents();
    EXPECT_EQ(owner.received, 3);
}

TEST(SerialEvents, ASecondEnableAnswersFalseAndADisableWithoutWatcherTrue)
{
    Rig rig;
    SERIAL &s = *rig.port;
    EXPECT_TRUE(s.DISABLEEVENTS());
    EXPECT_TRUE(rig.line->calls.isEmpty());
    rig.opened();
    ASSERT_TRUE(s.ENABLEEVENTS(EV_RXCHAR));
    EXPECT_FALSE(s.ENABLEEVENTS(EV_RXCHAR));
    EXPECT_EQ(rig.line->calls.count("startWatching"), 1) << "nothing more started";
    EXPECT_TRUE(s.DISABLEEVENTS());
    EXPECT_TRUE(s.DISABLEEVENTS());
    EXPECT_EQ(rig.line->calls.count("setEventMask"), 2);
    EXPECT_TRUE(s.ENABLEEVENTS(EV_RXCHAR)) << "enabled again after the disable";
}

TEST(SerialEvents, OtherEventsWakeNoOneAndAGoneOwnerIsPassedOver)
{
    auto owner = std::make_unique<NotifiedOwner>();
    Rig rig(owner.get());
    rig.opened();
    ASSERT_TRUE(rig.port->ENABLEEVENTS(0x0004));  // not the characters-arrived bit
    rig.line->arrive();
    QCoreApplication::processEvents();
    EXPECT_EQ(owner->received, 0);
    ASSERT_TRUE(rig.port->DISABLEEVENTS());
    ASSERT_TRUE(rig.port->ENABLEEVENTS(EV_RXCHAR | 0x0004));
    owner.reset();
    rig.line->arrive();
    QCoreApplication::processEvents();  // nothing to deliver, nothing to crash
    SUCCEED();
}

TEST(SerialEvents, WatcherFailures)
{
    test::ScriptedMessages messages;
    {
        Rig rig;
        rig.opened();
        rig.line->failing = {"startWatching"};
        EXPECT_FALSE(rig.port->ENABLEEVENTS(EV_RXCHAR));
        EXPECT_EQ(rig.port->ERRORDESC(), QStringLiteral("CreateThread failed in EnableEvent."));
        EXPECT_FALSE(rig.port->EVENTSENABLED());
        rig.line->failing.clear();
        EXPECT_TRUE(rig.port->ENABLEEVENTS(EV_RXCHAR));
    }
    EXPECT_TRUE(messages.shown().isEmpty());
    {
        // The watcher cannot set its mask: it tells the user and ends; enabling still succeeded and
        // the disable has no watcher to wake.
        NotifiedOwner owner;
        Rig rig(&owner);
        rig.opened();
        rig.line->failing = {"setEventMask"};
        EXPECT_TRUE(rig.port->ENABLEEVENTS(EV_RXCHAR));
        ASSERT_EQ(messages.shown().size(), 1);
        EXPECT_EQ(messages.shown()[0].caption, QStringLiteral("CommWatchProc Error"));
        EXPECT_EQ(messages.shown()[0].text, QStringLiteral("SetCommMask failed!"));
        EXPECT_EQ(messages.shown()[0].style, 0u);
        EXPECT_TRUE(messages.shown()[0].owner.isNull());
        EXPECT_FALSE(rig.line->watching);
        rig.line->arrive();
        QCoreApplication::processEvents();
        EXPECT_EQ(owner.received, 0);
        EXPECT_TRUE(rig.port->DISABLEEVENTS());
        EXPECT_FALSE(rig.port->EVENTSENABLED());
        rig.line->failing.clear();
        EXPECT_TRUE(rig.port->ENABLEEVENTS(EV_RXCHAR));
    }
    {
        // The disable cannot clear the mask: events stay on; CLOSE still ends the watch with the port.
        Rig rig;
        rig.opened();
        ASSERT_TRUE(rig.port->ENABLEEVENTS(EV_RXCHAR));
        rig.line->failing = {"setEventMask"};
        EXPECT_FALSE(rig.port->DISABLEEVENTS());
        EXPECT_EQ(rig.port->ERRORDESC(), QStringLiteral("SetCommMask failed in DisableEvents."));
        EXPECT_TRUE(rig.port->EVENTSENABLED());
        EXPECT_TRUE(rig.port->CLOSE());
        EXPECT_FALSE(rig.port->EVENTSENABLED());
        EXPECT_FALSE(rig.line->watching);
        rig.line->failing.clear();
        ASSERT_TRUE(rig.port->OPEN(QStringLiteral("COM1")));
        EXPECT_TRUE(rig.port->ENABLEEVENTS(EV_RXCHAR));
    }
}

TEST(SerialEvents, CloseStopsTheWatcherFirst)
{
    Rig rig;
    rig.opened();
    ASSERT_TRUE(rig.port->ENABLEEVENTS(EV_RXCHAR));
    rig.line->calls.clear();
    EXPECT_TRUE(rig.port->CLOSE());
    EXPECT_EQ(rig.line->calls, QStringList({"setEventMask", "stopWatching", "purge", "close"}));
    EXPECT_FALSE(rig.port->EVENTSENABLED());
}
