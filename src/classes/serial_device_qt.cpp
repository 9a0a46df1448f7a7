// The serial device over QSerialPort. QSerialPort opens the device exclusively (a lock file and
// TIOCEXCL) and reads in the background of the event loop; its readyRead stands where a watcher
// thread would wait for received characters. The time-outs have no place in the kernel's line
// settings, so the device keeps them and the port object applies them to its reads and writes.
#include "classes/serial_line_settings.h"
#include "classes/serial_port.h"

#include <QSerialPort>

#include <sys/ioctl.h>

#include <cmath>
#include <limits>

namespace vexo {

namespace {

class QtSerialDevice final : public SerialDevice
{
public:
    QtSerialDevice() = default;
    ~QtSerialDevice() override
    {
        stopWatching();
        if (m_port.isOpen())
            m_port.close();
    }

    bool open(const QString &name) override
    {
        if (m_port.isOpen())
            return failWith(QSerialPort::OpenError);
        m_port.setPortName(name);
        if (!m_port.open(QIODevice::ReadWrite))
            return failWithPort();
        m_timeouts = {};
        m_mask = 0;
        return true;
    }

    bool setQueueSizes(quint32 receive, quint32 transmit) override
    {
        // The transmit side has no queue of its own size: QSerialPort hands writes on as they come.
        Q_UNUSED(transmit);
        if (!m_port.isOpen())
            return failWith(QSerialPort::NotOpenError);
        m_port.setReadBufferSize(qint64(receive));
        return true;
    }

    bool purge() override { return m_port.clear(QSerialPort::AllDirections) || failWithPort(); }

    bool getTimeouts(CommTimeouts &timeouts) override
    {
        if (!m_port.isOpen())
            return failWith(QSerialPort::NotOpenError);
        timeouts = m_timeouts;
        return true;
    }

    bool setTimeouts(const CommTimeouts &timeouts) override
    {
        if (!m_port.isOpen())
            return failWith(QSerialPort::NotOpenError);
        m_timeouts = timeouts;
        return true;
    }

    CommTimeouts activeTimeouts() const override { return m_timeouts; }

    bool getProtocol(LineProtocol &protocol) override
    {
        if (!m_port.isOpen())
            return failWith(QSerialPort::NotOpenError);
        unsigned rate = 0;
        LineProtocol p;
        if (!detail::readLineSettings(int(m_port.handle()), rate, p.byteSize, p.parity, p.stopBits))
            return failWith(QSerialPort::UnknownError);
        p.baudRate = rate;
        protocol = p;
        return true;
    }

    bool setProtocol(const LineProtocol &p) override
    {
        if (!m_port.isOpen())
            return failWith(QSerialPort::NotOpenError);
        // The kernel's line settings know one or two stop bits only.
        if (p.stopBits != 0 && p.stopBits != 2)
            return failWith(QSerialPort::UnsupportedOperationError);
        if (p.byteSize < 5 || p.byteSize > 8 || p.parity < 0 || p.parity > 4 || p.baudRate == 0
            || p.baudRate > quint32(std::numeric_limits<qint32>::max()))
            return failWith(QSerialPort::UnsupportedOperationError);
        // The settings go one by one and some drivers drop what they cannot hold without a word, so
        // the line is read back. A refused setting puts back those already changed: the line is
        // either wholly the new one or still the old.
        LineProtocol before;
        const bool known = getProtocol(before);
        LineProtocol now;
        if (apply(p) && getProtocol(now) && holds(now, p))
            return true;
        const int error = m_port.error() != QSerialPort::NoError ? int(m_port.error())
                                                                  : int(QSerialPort::UnsupportedOperationError);
        m_port.clearError();
        if (known)
            apply(before);
        m_port.clearError();
        return failWith(QSerialPort::SerialPortError(error));
    }

    bool close() override
    {
        if (!m_port.isOpen())
            return failWith(QSerialPort::NotOpenError);
        m_port.close();
        m_mask = 0;
        return true;
    }

    qint64 pending() override
    {
        if (!m_port.isOpen()) {
            failWith(QSerialPort::NotOpenError);
            return -1;
        }
        // What QSerialPort has taken in already and what still waits in the kernel's queue.
        int queued = 0;
        if (::ioctl(int(m_port.handle()), FIONREAD, &queued) != 0)
            queued = 0;
        m_port.clearError();
        return m_port.bytesAvailable() + queued;
    }

    qint64 read(char *into, qint64 maxBytes) override
    {
        const qint64 n = m_port.read(into, maxBytes);
        if (n < 0)
            failWithPort();
        return n;
    }

    int waitReadable(int ms) override
    {
        if (!m_port.isOpen()) {
            failWith(QSerialPort::NotOpenError);
            return -1;
        }
        if (m_port.waitForReadyRead(ms))
            return 1;
        return endOfWait();
    }

    qint64 write(const QByteArray &bytes) override
    {
        const qint64 n = m_port.write(bytes);
        if (n < 0)
            failWithPort();
        return n;
    }

    int waitWritten(int ms) override
    {
        if (!m_port.isOpen()) {
            failWith(QSerialPort::NotOpenError);
            return -1;
        }
        if (m_port.waitForBytesWritten(ms))
            return 1;
        return endOfWait();
    }

    qint64 unsent() const override { return m_port.bytesToWrite(); }

    void dropUnsent() override
    {
        m_port.clear(QSerialPort::Output);
        m_port.clearError();
    }

    bool startWatching() override
    {
        if (!m_watch)
            m_watch = QObject::connect(&m_port, &QSerialPort::readyRead, [this] {
                if (m_handler && (m_mask & EV_RXCHAR))
                    m_handler();
            });
        return true;
    }

    bool setEventMask(quint32 mask) override
    {
        if (!m_port.isOpen())
            return failWith(QSerialPort::NotOpenError);
        m_mask = mask;
        return true;
    }

    void stopWatching() override
    {
        if (m_watch)
            QObject::disconnect(m_watch);
        m_watch = {};
    }

    void setArrivalHandler(std::function<void()> handler) override { m_handler = std::move(handler); }

    int lastError() const override { return m_lastError; }

private:
    bool failWith(QSerialPort::SerialPortError error)
    {
        m_lastError = int(error);
        return false;
    }

    bool failWithPort()
    {
        m_lastError = int(m_port.error());
        m_port.clearError();
        return false;
    }

    // Whether the line holds what was asked: a rate the driver rounds may be off by 3 percent, as
    // much as a line tolerates; the rest must match.
    static bool holds(const LineProtocol &now, const LineProtocol &asked)
    {
        const double off = std::abs(double(now.baudRate) - double(asked.baudRate));
        return off <= double(asked.baudRate) * 0.03 && now.byteSize == asked.byteSize && now.parity == asked.parity
               && now.stopBits == asked.stopBits;
    }

    bool apply(const LineProtocol &p)
    {
        static constexpr QSerialPort::Parity parities[] = {QSerialPort::NoParity, QSerialPort::OddParity,
                                                           QSerialPort::EvenParity, QSerialPort::MarkParity,
                                                           QSerialPort::SpaceParity};
        return m_port.setBaudRate(qint32(p.baudRate)) && m_port.setDataBits(QSerialPort::DataBits(p.byteSize))
               && m_port.setParity(parities[p.parity])
               && m_port.setStopBits(p.stopBits == 2 ? QSerialPort::TwoStop : QSerialPort::OneStop);
    }

    // A wait that ended without bytes: 0 when it merely ran out of time, -1 when the port failed.
    int endOfWait()
    {
        const QSerialPort::SerialPortError error = m_port.error();
        if (error == QSerialPort::NoError || error == QSerialPort::TimeoutError) {
            m_port.clearError();
            return 0;
        }
        failWithPort();
        return -1;
    }

    QSerialPort m_port;
    CommTimeouts m_timeouts;
    quint32 m_mask = 0;
    std::function<void()> m_handler;
    QMetaObject::Connection m_watch;
    int m_lastError = 0;
};

} // namespace

std::unique_ptr<SerialDevice> makeQtSerialDevice()
{
    return std::make_unique<QtSerialDevice>();
}

} // namespace vexo
