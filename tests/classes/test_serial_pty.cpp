// The serial port on a real terminal device: a pseudo-terminal pair joined by socat. The port object
// opens one end by its link; the test reads and writes the other end directly.
#include "classes/serial_port.h"
#include "serial_test_devices.h"

#include "process_helpers.h"
#include "scripted_messages.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <chrono>
#include <thread>

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <unistd.h>

using namespace vexo;
using vexo::test::waitFor;

namespace {

class CountingOwner : public QObject
{
public:
    int received = 0;

protected:
    void customEvent(QEvent *e) override
    {
        if (e->type() == SerialNotifyEvent::eventType() && static_cast<SerialNotifyEvent *>(e)->message() == 0x44
            && static_cast<SerialNotifyEvent *>(e)->wParam() == 1)
            ++received;
    }
};

class SerialPty : public ::testing::Test
{
protected:
    void SetUp() override
    {
        if (QStandardPaths::findExecutable(QStringLiteral("socat")).isEmpty())
            GTEST_SKIP() << "socat is not installed (tools/deps.sh)";
        ASSERT_TRUE(m_dir.isValid());
        // Lock files are named after the device's file name: a name of this process's own.
        const QString tag = QString::number(QCoreApplication::applicationPid());
        m_near = m_dir.filePath(QStringLiteral("near") + tag);
        m_far = m_dir.filePath(QStringLiteral("far") + tag);
        m_socat.setProcessChannelMode(QProcess::ForwardedOutputChannel);
        m_socat.start(QStringLiteral("socat"), {QStringLiteral("pty,raw,echo=0,link=") + m_near,
                                                QStringLiteral("pty,raw,echo=0,link=") + m_far});
        ASSERT_TRUE(m_socat.waitForStarted(5000));
        m_pid = m_socat.processId();
        ASSERT_TRUE(waitFor([&] { return QFileInfo::exists(m_near) && QFileInfo::exists(m_far); }, 5000))
            << "socat made no pair";
        m_farFd = ::open(QFile::encodeName(m_far).constData(), O_RDWR | O_NOCTTY | O_NONBLOCK);
        ASSERT_GE(m_farFd, 0);
    }

    void TearDown() override
    {
        if (m_farFd >= 0)
            ::close(m_farFd);
        if (m_pid > 0) {
            ::kill(pid_t(m_pid), SIGTERM);
            if (!m_socat.waitForFinished(5000)) {
                ::kill(pid_t(m_pid), SIGKILL);
                m_socat.waitForFinished(5000);
            }
        }
    }

    void sendFromFar(const QByteArray &bytes)
    {
        ASSERT_EQ(::write(m_farFd, bytes.constData(), size_t(bytes.size())), bytes.size());
    }

    // What the far end receives within the time, up to `count` bytes.
    QByteArray receiveAtFar(qsizetype count, int ms = 3000)
    {
        QByteArray got;
        QDeadlineTimer deadline(ms);
        while (got.size() < count && !deadline.hasExpired()) {
            pollfd p{m_farFd, POLLIN, 0};
            if (::poll(&p, 1, int(std::max<qint64>(1, deadline.remainingTime()))) <= 0)
                continue;
            char buf[4096];
            const ssize_t n = ::read(m_farFd, buf, sizeof buf);
            if (n > 0)
                got.append(buf, n);
        }
        return got;
    }

    // The port object on the near end, opened.
    std::unique_ptr<SERIAL> openNear(QObject *owner = nullptr)
    {
        auto s = std::make_unique<SERIAL>(owner);
        EXPECT_TRUE(s->OPEN(m_near)) << s->ERRORDESC().toStdString();
        return s;
    }

    QTemporaryDir m_dir;
    QString m_near;
    QString m_far;
    QProcess m_socat;
    qint64 m_pid = 0;
    int m_farFd = -1;
};

} // namespace

TEST_F(SerialPty, OpenSetsTheDefaultTimeoutsAndLine)
{
    auto s = openNear();
    ASSERT_TRUE(s->ISOPEN());
    // Read back from the port, not from what OPEN put in the properties.
    s->setREADINTERVALTIMEOUT(1);
    s->setREADTIMEOUTMULTIPLIER(1);
    s->setREADTIMEOUTCONSTANT(1);
    s->setWRITETIMEOUTMULTIPLIER(1);
    s->setWRITETIMEOUTCONSTANT(1);
    s->setBAUD(110);
    s->setBYTESIZE(7);
    s->setPARITY(4);
    s->setSTOPBITS(2);
    ASSERT_TRUE(s->GETTIMEOUT());
    ASSERT_TRUE(s->GETPROTOCOL());
    EXPECT_EQ(s->READINTERVALTIMEOUT(), 4294967295u);
    EXPECT_EQ(s->READTIMEOUTMULTIPLIER(), 500u);
    EXPECT_EQ(s->READTIMEOUTCONSTANT(), 1000u);
    EXPECT_EQ(s->WRITETIMEOUTMULTIPLIER(), 0u);
    EXPECT_EQ(s->WRITETIMEOUTCONSTANT(), 1000u);
    EXPECT_EQ(s->BAUD(), 9600u);
    EXPECT_EQ(s->BYTESIZE(), 8);
    EXPECT_EQ(s->PARITY(), 0);
    EXPECT_EQ(s->STOPBITS(), 0);
    EXPECT_TRUE(s->ERRORDESC().isEmpty());
}

TEST_F(SerialPty, TheLineProtocolReachesThePortAndComesBack)
{
    auto s = openNear();
    // A pseudo-terminal holds eight data bits without parity only; rates and stop bits it keeps.
    const LineProtocol cases[] = {
        {19200, 8, 0, 0}, {56000, 8, 0, 2}, {256000, 8, 0, 0}, {110, 8, 0, 2}, {14400, 8, 0, 2}, {128000, 8, 0, 0},
    };
    for (const LineProtocol &c : cases) {
        SCOPED_TRACE(c.baudRate);
        s->setBAUD(c.baudRate);
        s->setBYTESIZE(c.byteSize);
        s->setPARITY(c.parity);
        s->setSTOPBITS(c.stopBits);
        ASSERT_TRUE(s->SETPROTOCOL()) << s->ERRORDESC().toStdString();
        s->setBAUD(300);
        s->setBYTESIZE(7);
        s->setPARITY(3);
        s->setSTOPBITS(c.stopBits == 2 ? 0 : 2);
        ASSERT_TRUE(s->GETPROTOCOL());
        EXPECT_EQ((LineProtocol{s->BAUD(), s->BYTESIZE(), s->PARITY(), s->STOPBITS()}), c);
    }
}

TEST_F(SerialPty, WhatThePortCannotHoldIsRefusedAndTheLineStaysAsItWas)
{
    auto s = openNear();
    const struct
    {
        const char *name;
        int byteSize;
        int parity;
    } cases[] = {{"seven data bits", 7, 0}, {"even parity", 8, 2}, {"mark parity", 8, 3}};
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        s->setBAUD(38400);
        s->setBYTESIZE(c.byteSize);
        s->setPARITY(c.parity);
        s->setSTOPBITS(2);
        EXPECT_FALSE(s->SETPROTOCOL());
        EXPECT_EQ(s->ERRORDESC(), QStringLiteral("SetCommState failed in SetProtocol."));
        ASSERT_TRUE(s->GETPROTOCOL());
        EXPECT_EQ((LineProtocol{s->BAUD(), s->BYTESIZE(), s->PARITY(), s->STOPBITS()}),
                  (LineProtocol{9600, 8, 0, 0}))
            << "not half changed";
    }
}

TEST_F(SerialPty, OneAndAHalfStopBitsAreRefusedNotReplaced)
{
    auto s = openNear();
    ASSERT_EQ(s->setSTOPBITS(1), 1);
    EXPECT_FALSE(s->SETPROTOCOL());
    EXPECT_EQ(s->ERRORDESC(), QStringLiteral("SetCommState failed in SetProtocol."));
    ASSERT_TRUE(s->GETPROTOCOL());
    EXPECT_EQ(s->STOPBITS(), 0) << "the port keeps one stop bit";
}

TEST_F(SerialPty, WrittenBytesReachTheOtherEnd)
{
    auto s = openNear();
    const QByteArray bytes("Merhaba\r\n\0\x01\xfd\xff", 13);
    EXPECT_EQ(s->WRITE(bytes), bytes.size());
    EXPECT_EQ(receiveAtFar(bytes.size()), bytes);
    EXPECT_TRUE(s->ERRORDESC().isEmpty());
    EXPECT_EQ(s->WRITE({}), 0);
    EXPECT_TRUE(s->ERRORDESC().isEmpty());
}

TEST_F(SerialPty, BytesFromTheOtherEndComeBackFromRead)
{
    test::ScriptedMessages messages;
    auto s = openNear();
    sendFromFar(QByteArray("xyz\0\xfe", 5));
    ASSERT_TRUE(waitFor([&] { return s->RECEIVERPENDING() == 5; }, 3000)) << s->RECEIVERPENDING();
    EXPECT_EQ(s->READ(), QByteArray("x"));
    EXPECT_EQ(s->RECEIVERPENDING(), 4);
    EXPECT_EQ(s->READ(4), QByteArray("yz\0\xfe", 4));
    EXPECT_EQ(s->RECEIVERPENDING(), 0);

    // Bytes that come while READ waits are taken too.
    // READ blocks this thread, so another one writes.
    std::thread late([fd = m_farFd] {
        std::this_thread::sleep_for(std::chrono::milliseconds(150));
        (void)!::write(fd, "late", 4);
    });
    QElapsedTimer t;
    t.start();
    EXPECT_EQ(s->READ(4), QByteArray("late"));
    late.join();
    EXPECT_LT(t.elapsed(), 2500) << "a complete read does not wait out its time";
    EXPECT_TRUE(messages.shown().isEmpty());
}

TEST_F(SerialPty, AShortReadReturnsAfterItsTimeWithoutABox)
{
    test::ScriptedMessages messages;
    auto s = openNear();
    s->setREADTIMEOUTCONSTANT(300);
    s->setREADTIMEOUTMULTIPLIER(20);
    ASSERT_TRUE(s->SETTIMEOUT());
    sendFromFar("ab");
    QElapsedTimer t;
    t.start();
    EXPECT_EQ(s->READ(5), QByteArray("ab"));
    const qint64 ms = t.elapsed();
    EXPECT_GE(ms, 350) << "300 + 20 x 5 ms";
    EXPECT_LT(ms, 3000);
    EXPECT_TRUE(messages.shown().isEmpty());
    EXPECT_TRUE(s->ERRORDESC().isEmpty());

    t.restart();
    EXPECT_TRUE(s->READ(2).isEmpty());
    EXPECT_GE(t.elapsed(), 300);
    EXPECT_TRUE(messages.shown().isEmpty());
}

TEST_F(SerialPty, TheOwnerHearsOfArrivalsOnlyWhileEventsAreEnabled)
{
    CountingOwner owner;
    auto s = openNear(&owner);
    ASSERT_TRUE(s->ENABLEEVENTS(EV_RXCHAR));
    EXPECT_FALSE(s->ENABLEEVENTS(EV_RXCHAR));
    sendFromFar("ping");
    ASSERT_TRUE(waitFor([&] { return owner.received > 0; }, 5000)) << "no notification";
    EXPECT_EQ(s->READ(4), QByteArray("ping"));

    ASSERT_TRUE(s->DISABLEEVENTS());
    EXPECT_TRUE(s->DISABLEEVENTS());
    owner.received = 0;
    sendFromFar("pong");
    waitFor([] { return false; }, 400);
    EXPECT_EQ(owner.received, 0);
    EXPECT_EQ(s->READ(4), QByteArray("pong")) << "the bytes wait for READ all the same";

    // Closing a watched port ends the watch; the next port starts without one.
    ASSERT_TRUE(s->ENABLEEVENTS(EV_RXCHAR));
    ASSERT_TRUE(s->CLOSE());
    EXPECT_FALSE(s->EVENTSENABLED());
    ASSERT_TRUE(s->OPEN(m_near));
    owner.received = 0;
    sendFromFar("!");
    waitFor([] { return false; }, 300);
    EXPECT_EQ(owner.received, 0);
}

TEST_F(SerialPty, CloseThenOpenAgainAndTheOpenIsExclusive)
{
    auto s = openNear();
    SERIAL other;
    EXPECT_FALSE(other.OPEN(m_near));
    EXPECT_EQ(other.ERRORDESC(), QStringLiteral("CreateFile failed in Open."));
    EXPECT_FALSE(other.ISOPEN());

    EXPECT_TRUE(s->CLOSE());
    EXPECT_FALSE(s->ISOPEN());
    EXPECT_FALSE(s->CLOSE());
    EXPECT_TRUE(s->OPEN(m_near));
    EXPECT_TRUE(s->ISOPEN());
    EXPECT_EQ(s->WRITE("again"), 5);
    EXPECT_EQ(receiveAtFar(5), QByteArray("again"));
    EXPECT_TRUE(s->CLOSE());
    EXPECT_TRUE(other.OPEN(m_near)) << "the port is free once closed";
}

TEST_F(SerialPty, AMissingDevice)
{
    SERIAL s;
    EXPECT_FALSE(s.OPEN(m_dir.filePath(QStringLiteral("nosuch"))));
    EXPECT_EQ(s.ERRORDESC(), QStringLiteral("CreateFile failed in Open."));
    EXPECT_NE(s.ERRORCODE(), QStringLiteral("0"));
    EXPECT_FALSE(s.ISOPEN());
    EXPECT_FALSE(s.holdsPort());
    EXPECT_FALSE(s.CLOSE());
    // A Windows port name is no device here either.
    EXPECT_FALSE(s.OPEN(QStringLiteral("COM1")));
    EXPECT_EQ(s.ERRORDESC(), QStringLiteral("CreateFile failed in Open."));
}

TEST_F(SerialPty, AFailedSetUpStepClosesThePortAgain)
{
    const struct
    {
        const char *step;
        const char *text;
    } cases[] = {
        {"purge", "PurgeComm failed."},
        {"setTimeouts", "SetCommTimeouts failed in SetTimeOut."},
        {"getProtocol", "GetCommState failed in GetProtocol."},
        {"setProtocol", "SetCommState failed in SetProtocol."},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.step);
        SERIAL s(nullptr, std::make_unique<test::FailingStepDevice>(makeQtSerialDevice(), QString::fromLatin1(c.step)));
        EXPECT_FALSE(s.OPEN(m_near));
        EXPECT_FALSE(s.ISOPEN());
        EXPECT_FALSE(s.holdsPort());
        EXPECT_EQ(s.ERRORDESC(), QString::fromLatin1(c.text));
        EXPECT_EQ(s.ERRORCODE(), QString::number(test::FailingStepDevice::kCode));
        EXPECT_FALSE(s.CLOSE());
        SERIAL other;
        EXPECT_TRUE(other.OPEN(m_near)) << "the port was let go";
    }
}

TEST_F(SerialPty, AFailedQueueSetUpHoldsThePortUntilClose)
{
    SERIAL s(nullptr, std::make_unique<test::FailingStepDevice>(makeQtSerialDevice(), QStringLiteral("setQueueSizes")));
    EXPECT_FALSE(s.OPEN(m_near));
    EXPECT_EQ(s.ERRORDESC(), QStringLiteral("SetupComm failed in Open."));
    EXPECT_FALSE(s.ISOPEN());
    SERIAL other;
    EXPECT_FALSE(other.OPEN(m_near));
    EXPECT_TRUE(s.CLOSE());
    EXPECT_TRUE(other.OPEN(m_near));
}

TEST_F(SerialPty, AWriteNobodyTakesEndsByTheWriteTimeouts)
{
    auto s = openNear();
    s->setWRITETIMEOUTCONSTANT(300);
    ASSERT_TRUE(s->SETTIMEOUT());
    // Far more than the terminals and socat buffer while nobody reads the far end.
    const QByteArray bytes(8 * 1024 * 1024, 'x');
    QElapsedTimer t;
    t.start();
    const qint64 written = s->WRITE(bytes);
    EXPECT_LT(t.elapsed(), 5000);
    EXPECT_GE(t.elapsed(), 250);
    EXPECT_LT(written, bytes.size());
    EXPECT_GE(written, 0);
    EXPECT_EQ(s->ERRORDESC(), QStringLiteral("Error writing to device."));
    EXPECT_TRUE(s->FLUSH());
}
