#include "classes/serial_port.h"

#include "platform/message_sink.h"

#include <QCoreApplication>
#include <QDeadlineTimer>

#include <algorithm>
#include <climits>

namespace vexo {

namespace {

// A wait of a time-out that may exceed what one wait call takes: the call's share in ms, and whether
// the time is cut to fit it (then a wait that ends empty-handed is not yet the end).
struct WaitSlice
{
    int ms = 0;
    bool cut = false;
};

WaitSlice nextSlice(const QDeadlineTimer &deadline)
{
    if (deadline.isForever())
        return {INT_MAX, true};
    const qint64 left = std::max<qint64>(0, deadline.remainingTime());
    if (left > INT_MAX)
        return {INT_MAX, true};
    return {int(left), false};
}

// constant + multiplier * count ms, as a deadline from now. Each word is below 2^32, so the sum of a
// product of two such words and another such word stays below 2^64.
QDeadlineTimer totalDeadline(quint32 constant, quint32 multiplier, quint64 count)
{
    const quint64 product = count > 0xFFFFFFFFull ? ~0ull : quint64(multiplier) * count;
    const quint64 total = product > ~0ull - constant ? ~0ull : product + constant;
    if (total > quint64(std::numeric_limits<qint64>::max() / 2))
        return QDeadlineTimer(QDeadlineTimer::Forever, Qt::PreciseTimer);
    return QDeadlineTimer(qint64(total), Qt::PreciseTimer);
}

} // namespace

QEvent::Type SerialNotifyEvent::eventType()
{
    static const QEvent::Type type = QEvent::Type(QEvent::registerEventType());
    return type;
}

SERIAL::SERIAL(QObject *owner, std::unique_ptr<SerialDevice> device)
    : m_device(device ? std::move(device) : makeQtSerialDevice()), m_owner(owner)
{
    m_device->setArrivalHandler([this] { charactersArrived(); });
}

SERIAL::~SERIAL()
{
    // The port is not left behind: closing also ends the watch.
    if (m_held)
        CLOSE();
    m_device->stopWatching();
    m_device->setArrivalHandler({});
}

void SERIAL::fail(const QString &text)
{
    m_errorCode = m_device->lastError();
    m_errorText = text;
}

bool SERIAL::OPEN(const QString &portName)
{
    // A second OPEN lets the first port go rather than losing hold of it.
    if (m_held)
        CLOSE();
    m_open = false;
    if (!m_device->open(portName)) {
        fail(QStringLiteral("CreateFile failed in Open."));
        return false;
    }
    m_held = true;
    if (!m_device->setQueueSizes(m_receiveSize, m_transmitSize)) {
        // The port stays held; CLOSE lets it go.
        fail(QStringLiteral("SetupComm failed in Open."));
        return false;
    }
    bool ok = FLUSH();
    if (ok) {
        setREADINTERVALTIMEOUT(kMaxDword);
        setREADTIMEOUTMULTIPLIER(500);
        setREADTIMEOUTCONSTANT(1000);
        setWRITETIMEOUTMULTIPLIER(0);
        setWRITETIMEOUTCONSTANT(1000);
        ok = SETTIMEOUT();
    }
    // The driver's own settings first, so that what is not set below keeps the driver's value.
    if (ok)
        ok = GETPROTOCOL();
    if (ok) {
        setBAUD(9600);
        setPARITY(0);
        setBYTESIZE(8);
        setSTOPBITS(0);
        ok = SETPROTOCOL();
    }
    if (!ok) {
        // A port that is not set up is not open: let it go, keeping the failed step's error.
        m_device->close();
        m_held = false;
        return false;
    }
    m_open = true;
    return true;
}

bool SERIAL::CLOSE()
{
    if (!m_held)
        return false;
    if (m_eventsEnabled)
        DISABLEEVENTS();
    FLUSH();
    if (!m_device->close()) {
        fail(QStringLiteral("CloseHandle failed."));
        return false;
    }
    m_held = false;
    m_open = false;
    // No watch outlives its port, also when it could not be stopped above.
    if (m_eventsEnabled) {
        m_device->stopWatching();
        m_watching = false;
        m_eventsEnabled = false;
    }
    return true;
}

QByteArray SERIAL::READ(int byteCount)
{
    if (byteCount <= 0)
        return {};
    QByteArray buffer(byteCount, '\0');
    qint64 got = m_device->read(buffer.data(), byteCount);
    if (got < 0) {
        fail(QStringLiteral("ReadFile failed in Serial:ReadCommBlock(2)."));
        m_device->pending();
        return {};
    }
    const CommTimeouts t = m_device->activeTimeouts();
    const QDeadlineTimer deadline = totalDeadline(t.readTotalConstant, t.readTotalMultiplier, quint64(byteCount));
    while (got < byteCount) {
        const WaitSlice slice = nextSlice(deadline);
        const int woke = m_device->waitReadable(slice.ms);
        const qint64 n = woke > 0 ? m_device->read(buffer.data() + got, byteCount - got) : 0;
        if (woke < 0 || n < 0) {
            // What came before the failure is the caller's all the same.
            fail(QStringLiteral("ReadFile failed in Serial:ReadCommBlock(1)."));
            m_device->pending();
            break;
        }
        got += n;
        // Time up with fewer bytes than asked: an ordinary answer, not a failure.
        if (n == 0 && (!slice.cut || deadline.hasExpired()))
            break;
    }
    buffer.truncate(int(got));
    return buffer;
}

qint64 SERIAL::WRITE(const QByteArray &bytes)
{
    if (bytes.isEmpty())
        return 0;
    const qint64 handed = m_device->write(bytes);
    if (handed < 0) {
        fail(QStringLiteral("WriteFile failed in Serial:Write."));
        return 0;
    }
    const CommTimeouts t = m_device->activeTimeouts();
    const QDeadlineTimer deadline = totalDeadline(t.writeTotalConstant, t.writeTotalMultiplier, quint64(bytes.size()));
    qint64 before = m_device->unsent();
    while (before > 0) {
        const WaitSlice slice = nextSlice(deadline);
        const int went = m_device->waitWritten(slice.ms);
        const qint64 now = m_device->unsent();
        if (went < 0 || (now >= before && (!slice.cut || deadline.hasExpired())))
            break;
        before = now;
    }
    // Bytes still waiting when the time is up are withdrawn, so that the count tells what went.
    const qint64 left = m_device->unsent();
    if (left > 0)
        m_device->dropUnsent();
    const qint64 written = std::max<qint64>(0, handed - left);
    if (written != bytes.size())
        fail(QStringLiteral("Error writing to device."));
    return written;
}

bool SERIAL::FLUSH()
{
    if (m_device->purge())
        return true;
    fail(QStringLiteral("PurgeComm failed."));
    return false;
}

bool SERIAL::GETPROTOCOL()
{
    if (!m_held)
        return false;
    LineProtocol p;
    if (!m_device->getProtocol(p)) {
        fail(QStringLiteral("GetCommState failed in GetProtocol."));
        return false;
    }
    m_protocol = p;
    return true;
}

bool SERIAL::SETPROTOCOL()
{
    if (!m_held)
        return false;
    if (!m_device->setProtocol(m_protocol)) {
        fail(QStringLiteral("SetCommState failed in SetProtocol."));
        return false;
    }
    return true;
}

bool SERIAL::GETTIMEOUT()
{
    if (!m_held)
        return false;
    CommTimeouts t;
    if (!m_device->getTimeouts(t)) {
        fail(QStringLiteral("GetCommTimeouts failed in GetTimeOut."));
        return false;
    }
    m_timeouts = t;
    return true;
}

bool SERIAL::SETTIMEOUT()
{
    if (!m_held)
        return false;
    if (!m_device->setTimeouts(m_timeouts)) {
        fail(QStringLiteral("SetCommTimeouts failed in SetTimeOut."));
        return false;
    }
    return true;
}

bool SERIAL::ENABLEEVENTS(quint32 eventMask)
{
    if (m_eventsEnabled)
        return false;
    m_eventMask = eventMask;
    if (!m_device->startWatching()) {
        fail(QStringLiteral("CreateThread failed in EnableEvent."));
        return false;
    }
    m_eventsEnabled = true;
    if (m_device->setEventMask(eventMask)) {
        m_watching = true;
    } else {
        // The watcher cannot wait without its mask and ends at once.
        m_device->stopWatching();
        m_watching = false;
        showMessage(nullptr, QStringLiteral("CommWatchProc Error"), QStringLiteral("SetCommMask failed!"), MB_OK);
    }
    return true;
}

bool SERIAL::DISABLEEVENTS()
{
    if (!m_eventsEnabled)
        return true;
    // A watcher that already ended has nothing left to wake.
    if (m_watching) {
        if (!m_device->setEventMask(0)) {
            fail(QStringLiteral("SetCommMask failed in DisableEvents."));
            return false;
        }
        m_device->stopWatching();
        m_watching = false;
    }
    m_eventsEnabled = false;
    return true;
}

qint64 SERIAL::RECEIVERPENDING()
{
    if (!m_held)
        return 0;
    return std::max<qint64>(0, m_device->pending());
}

quint32 SERIAL::setBAUD(quint32 rate)
{
    static constexpr quint32 rates[] = {110,   300,   600,   1200,  2400,   4800,  9600,
                                        14400, 19200, 38400, 56000, 128000, 256000};
    if (std::find(std::begin(rates), std::end(rates), rate) != std::end(rates))
        m_protocol.baudRate = rate;
    return m_protocol.baudRate;
}

int SERIAL::setBYTESIZE(int bits)
{
    if (bits == 7 || bits == 8)
        m_protocol.byteSize = bits;
    return m_protocol.byteSize;
}

int SERIAL::setPARITY(int parity)
{
    if (parity >= 0 && parity <= 4)
        m_protocol.parity = parity;
    return m_protocol.parity;
}

int SERIAL::setSTOPBITS(int stopBits)
{
    if (stopBits >= 0 && stopBits <= 2)
        m_protocol.stopBits = stopBits;
    return m_protocol.stopBits;
}

void SERIAL::charactersArrived()
{
    if (m_watching && (m_eventMask & EV_RXCHAR) && m_owner)
        QCoreApplication::postEvent(m_owner, new SerialNotifyEvent);
}

} // namespace vexo
