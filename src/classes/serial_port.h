#pragma once

#include <QByteArray>
#include <QEvent>
#include <QObject>
#include <QPointer>
#include <QString>

#include <functional>
#include <memory>

namespace vexo {

// The port's time-outs in milliseconds. A read of n bytes waits at most
// readTotalConstant + readTotalMultiplier * n, a write of n bytes writeTotalConstant +
// writeTotalMultiplier * n.
struct CommTimeouts
{
    quint32 readInterval = 0;
    quint32 readTotalMultiplier = 0;
    quint32 readTotalConstant = 0;
    quint32 writeTotalMultiplier = 0;
    quint32 writeTotalConstant = 0;
    bool operator==(const CommTimeouts &) const = default;
};

// The line protocol: rate, data bits, parity (0 none, 1 odd, 2 even, 3 mark, 4 space) and stop bits
// (0 one, 1 one and a half, 2 two).
struct LineProtocol
{
    quint32 baudRate = 0;
    int byteSize = 0;
    int parity = 0;
    int stopBits = 0;
    bool operator==(const LineProtocol &) const = default;
};

// Event-mask bit of received characters.
constexpr quint32 EV_RXCHAR = 0x0001;

// The steps the port object takes on a device, each of which can fail on its own. The program uses
// the device over QSerialPort (makeQtSerialDevice); tests put a device in between that fails the step
// they name. lastError() is the device's code of its latest failure.
class SerialDevice
{
public:
    virtual ~SerialDevice() = default;

    // Exclusive read/write open of the named device.
    virtual bool open(const QString &name) = 0;
    virtual bool setQueueSizes(quint32 receive, quint32 transmit) = 0;
    // Ends pending transfers and empties both queues.
    virtual bool purge() = 0;
    virtual bool getTimeouts(CommTimeouts &timeouts) = 0;
    virtual bool setTimeouts(const CommTimeouts &timeouts) = 0;
    // The time-outs the port works with (those of the last successful setTimeouts).
    virtual CommTimeouts activeTimeouts() const = 0;
    virtual bool getProtocol(LineProtocol &protocol) = 0;
    virtual bool setProtocol(const LineProtocol &protocol) = 0;
    virtual bool close() = 0;

    // Bytes waiting to be read; clears the port's error state. -1 on failure.
    virtual qint64 pending() = 0;
    // Takes what has come, at most maxBytes, without waiting; -1 on failure.
    virtual qint64 read(char *into, qint64 maxBytes) = 0;
    // Waits at most ms for more bytes: 1 when some came, 0 after the time, -1 on failure.
    virtual int waitReadable(int ms) = 0;
    // Hands the bytes to the port; -1 on failure.
    virtual qint64 write(const QByteArray &bytes) = 0;
    // Waits at most ms for handed bytes to leave: 1 when some left, 0 after the time, -1 on failure.
    virtual int waitWritten(int ms) = 0;
    // Handed bytes that have not yet left; dropUnsent() discards them.
    virtual qint64 unsent() const = 0;
    virtual void dropUnsent() = 0;

    // The watcher: startWatching() hooks the characters-arrived signal, setEventMask() chooses the
    // events that wake it (0 ends the watch), stopWatching() unhooks it.
    virtual bool startWatching() = 0;
    virtual bool setEventMask(quint32 mask) = 0;
    virtual void stopWatching() = 0;
    // Called on the caller's thread each time characters arrive while watched.
    virtual void setArrivalHandler(std::function<void()> handler) = 0;

    virtual int lastError() const = 0;
};

std::unique_ptr<SerialDevice> makeQtSerialDevice();

// The notification the owner of a watched port receives through its event queue whenever characters
// arrive: message 0x44 with wParam 1 and lParam 0, one per wake-up however many characters came.
class SerialNotifyEvent : public QEvent
{
public:
    static constexpr quint32 kMessage = 0x0044;
    SerialNotifyEvent() : QEvent(eventType()) {}
    static QEvent::Type eventType();
    quint32 message() const { return kMessage; }
    quintptr wParam() const { return 1; }
    qintptr lParam() const { return 0; }
};

// One serial communications port. Failures are never raised: each operation answers its own result
// and leaves the code and text of the last failure in the object (ERRORCODE, ERRORDESC); later
// successes do not clear them. Properties work on the object's own records; a change reaches the port
// at the next SETPROTOCOL, SETTIMEOUT or OPEN, and GETPROTOCOL and GETTIMEOUT refresh the records
// from the port. Each assign answers the value now held; a value outside its list changes nothing.
class SERIAL
{
public:
    static constexpr quint32 kMaxDword = 0xFFFFFFFFu;
    static constexpr quint32 kDefaultQueueSize = 4096;

    // The owner receives SerialNotifyEvent while events are enabled; without a device the port is a
    // QSerialPort.
    explicit SERIAL(QObject *owner = nullptr, std::unique_ptr<SerialDevice> device = {});
    ~SERIAL();
    SERIAL(const SERIAL &) = delete;
    SERIAL &operator=(const SERIAL &) = delete;

    bool OPEN(const QString &portName);
    bool CLOSE();
    // At most byteCount bytes: waits until that many came or the read time-outs pass, and answers what
    // came, also when it is fewer.
    QByteArray READ(int byteCount = 1);
    // The bytes written; waits for them at most by the write time-outs.
    qint64 WRITE(const QByteArray &bytes);
    bool FLUSH();
    bool GETPROTOCOL();
    bool SETPROTOCOL();
    bool GETTIMEOUT();
    bool SETTIMEOUT();
    bool ENABLEEVENTS(quint32 eventMask);
    bool DISABLEEVENTS();

    quint32 BAUD() const { return m_protocol.baudRate; }
    quint32 setBAUD(quint32 rate);
    int BYTESIZE() const { return m_protocol.byteSize; }
    int setBYTESIZE(int bits);
    int PARITY() const { return m_protocol.parity; }
    int setPARITY(int parity);
    int STOPBITS() const { return m_protocol.stopBits; }
    int setSTOPBITS(int stopBits);
    quint32 READINTERVALTIMEOUT() const { return m_timeouts.readInterval; }
    quint32 setREADINTERVALTIMEOUT(quint32 ms) { return m_timeouts.readInterval = ms; }
    quint32 READTIMEOUTMULTIPLIER() const { return m_timeouts.readTotalMultiplier; }
    quint32 setREADTIMEOUTMULTIPLIER(quint32 ms) { return m_timeouts.readTotalMultiplier = ms; }
    quint32 READTIMEOUTCONSTANT() const { return m_timeouts.readTotalConstant; }
    quint32 setREADTIMEOUTCONSTANT(quint32 ms) { return m_timeouts.readTotalConstant = ms; }
    quint32 WRITETIMEOUTMULTIPLIER() const { return m_timeouts.writeTotalMultiplier; }
    quint32 setWRITETIMEOUTMULTIPLIER(quint32 ms) { return m_timeouts.writeTotalMultiplier = ms; }
    quint32 WRITETIMEOUTCONSTANT() const { return m_timeouts.writeTotalConstant; }
    quint32 setWRITETIMEOUTCONSTANT(quint32 ms) { return m_timeouts.writeTotalConstant = ms; }
    quint32 TRANSMITBUFFERSIZE() const { return m_transmitSize; }
    quint32 setTRANSMITBUFFERSIZE(quint32 size) { return m_transmitSize = size; }
    quint32 RECEIVEBUFFERSIZE() const { return m_receiveSize; }
    quint32 setRECEIVEBUFFERSIZE(quint32 size) { return m_receiveSize = size; }
    bool ISOPEN() const { return m_open; }
    QString ERRORCODE() const { return QString::number(m_errorCode); }
    QString ERRORDESC() const { return m_errorText; }
    qint64 RECEIVERPENDING();

    // Whether the object holds the device (also after a failed queue set-up, until CLOSE).
    bool holdsPort() const { return m_held; }
    bool EVENTSENABLED() const { return m_eventsEnabled; }

private:
    void fail(const QString &text);
    void charactersArrived();

    std::unique_ptr<SerialDevice> m_device;
    QPointer<QObject> m_owner;
    bool m_held = false;
    bool m_open = false;
    bool m_eventsEnabled = false;
    bool m_watching = false;  // the watcher runs: its mask was set
    quint32 m_eventMask = 0;
    LineProtocol m_protocol;
    CommTimeouts m_timeouts;
    int m_errorCode = 0;
    QString m_errorText;
    quint32 m_transmitSize = kDefaultQueueSize;
    quint32 m_receiveSize = kDefaultQueueSize;
};

} // namespace vexo
