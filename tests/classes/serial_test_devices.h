#pragma once

#include "classes/serial_port.h"

#include <QByteArrayList>
#include <QSet>
#include <QStringList>

#include <memory>

namespace vexo::test {

// The state of a FakeSerialDevice, kept apart so that the test still sees it once the port object
// owns the device.
struct FakeSerialLine
{
    QStringList calls;          // every step asked for, in order
    QSet<QString> failing;      // steps that fail
    int errorCode = 87;         // the code a failing step leaves
    bool open = false;
    quint32 receiveSize = 0;
    quint32 transmitSize = 0;
    LineProtocol driver{38400, 7, 2, 2};  // what the "driver" holds
    CommTimeouts timeouts;
    QByteArray received;        // taken in, not yet read
    QByteArrayList arrivals;    // each wait for bytes brings the next of these
    QList<int> readWaits;       // the ms each wait for bytes was given
    QList<int> writeWaits;
    QByteArray sent;            // bytes that left
    qint64 queued = 0;          // handed, not yet gone
    QByteArray queuedBytes;
    qint64 acceptPerWait = -1;  // bytes one write wait lets go (-1: all)
    qint64 acceptBudget = -1;   // bytes the port takes at all (-1: no end)
    qint64 pendingAnswer = 0;
    quint32 mask = 0;
    bool watching = false;
    std::function<void()> handler;

    // Characters arrive while watched: what the device's signal would do.
    void arrive() const
    {
        if (watching && handler)
            handler();
    }
};

// A device that only records: each step is named in `calls`, fails when named in `failing`, and
// otherwise behaves as a port would (the closed port fails its steps).
class FakeSerialDevice : public SerialDevice
{
public:
    explicit FakeSerialDevice(std::shared_ptr<FakeSerialLine> line) : m(std::move(line)) {}

    bool open(const QString &) override { return step("open") && (m->open = true); }
    bool setQueueSizes(quint32 receive, quint32 transmit) override
    {
        m->receiveSize = receive;
        m->transmitSize = transmit;
        return openStep("setQueueSizes");
    }
    bool purge() override
    {
        if (!openStep("purge"))
            return false;
        m->received.clear();
        m->queued = 0;
        m->queuedBytes.clear();
        return true;
    }
    bool getTimeouts(CommTimeouts &t) override { return openStep("getTimeouts") && (t = m->timeouts, true); }
    bool setTimeouts(const CommTimeouts &t) override { return openStep("setTimeouts") && (m->timeouts = t, true); }
    CommTimeouts activeTimeouts() const override { return m->timeouts; }
    bool getProtocol(LineProtocol &p) override { return openStep("getProtocol") && (p = m->driver, true); }
    bool setProtocol(const LineProtocol &p) override { return openStep("setProtocol") && (m->driver = p, true); }
    bool close() override
    {
        if (!openStep("close"))
            return false;
        m->open = false;
        return true;
    }
    qint64 pending() override { return openStep("pending") ? m->pendingAnswer : -1; }
    qint64 read(char *into, qint64 maxBytes) override
    {
        if (!openStep("read"))
            return -1;
        const qint64 n = std::min<qint64>(maxBytes, m->received.size());
        std::copy_n(m->received.constData(), n, into);
        m->received.remove(0, n);
        return n;
    }
    int waitReadable(int ms) override
    {
        m->readWaits << ms;
        if (!openStep("waitReadable"))
            return -1;
        if (m->arrivals.isEmpty())
            return 0;
        m->received += m->arrivals.takeFirst();
        return 1;
    }
    qint64 write(const QByteArray &bytes) override
    {
        if (!openStep("write"))
            return -1;
        m->queued += bytes.size();
        m->queuedBytes += bytes;
        return bytes.size();
    }
    int waitWritten(int ms) override
    {
        m->writeWaits << ms;
        if (!openStep("waitWritten"))
            return -1;
        qint64 n = m->acceptPerWait < 0 ? m->queued : std::min(m->acceptPerWait, m->queued);
        if (m->acceptBudget >= 0) {
            n = std::min(n, m->acceptBudget);
            m->acceptBudget -= n;
        }
        m->sent += m->queuedBytes.left(n);
        m->queuedBytes.remove(0, n);
        m->queued -= n;
        return n > 0 ? 1 : 0;
    }
    qint64 unsent() const override { return m->queued; }
    void dropUnsent() override
    {
        m->calls << QStringLiteral("dropUnsent");
        m->queued = 0;
        m->queuedBytes.clear();
    }
    bool startWatching() override { return step("startWatching") && (m->watching = true); }
    bool setEventMask(quint32 mask) override { return openStep("setEventMask") && (m->mask = mask, true); }
    void stopWatching() override
    {
        m->calls << QStringLiteral("stopWatching");
        m->watching = false;
    }
    void setArrivalHandler(std::function<void()> handler) override { m->handler = std::move(handler); }
    int lastError() const override { return m->errorCode; }

private:
    bool step(const char *name)
    {
        m->calls << QString::fromLatin1(name);
        return !m->failing.contains(QString::fromLatin1(name));
    }
    bool openStep(const char *name) { return step(name) && m->open; }

    std::shared_ptr<FakeSerialLine> m;
};

// Passes every step to a real device except the one named, which fails with code 1450.
class FailingStepDevice : public SerialDevice
{
public:
    static constexpr int kCode = 1450;
    FailingStepDevice(std::unique_ptr<SerialDevice> inner, QString failing)
        : d(std::move(inner)), f(std::move(failing))
    {
    }

    bool open(const QString &name) override { return ok("open") && d->open(name); }
    bool setQueueSizes(quint32 r, quint32 t) override { return ok("setQueueSizes") && d->setQueueSizes(r, t); }
    bool purge() override { return ok("purge") && d->purge(); }
    bool getTimeouts(CommTimeouts &t) override { return ok("getTimeouts") && d->getTimeouts(t); }
    bool setTimeouts(const CommTimeouts &t) override { return ok("setTimeouts") && d->setTimeouts(t); }
    CommTimeouts activeTimeouts() const override { return d->activeTimeouts(); }
    bool getProtocol(LineProtocol &p) override { return ok("getProtocol") && d->getProtocol(p); }
    bool setProtocol(const LineProtocol &p) override { return ok("setProtocol") && d->setProtocol(p); }
    bool close() override { return ok("close") && d->close(); }
    qint64 pending() override { return ok("pending") ? d->pending() : -1; }
    qint64 read(char *into, qint64 max) override { return ok("read") ? d->read(into, max) : -1; }
    int waitReadable(int ms) override { return ok("waitReadable") ? d->waitReadable(ms) : -1; }
    qint64 write(const QByteArray &b) override { return ok("write") ? d->write(b) : -1; }
    int waitWritten(int ms) override { return ok("waitWritten") ? d->waitWritten(ms) : -1; }
    qint64 unsent() const override { return d->unsent(); }
    void dropUnsent() override { d->dropUnsent(); }
    bool startWatching() override { return ok("startWatching") && d->startWatching(); }
    bool setEventMask(quint32 mask) override { return ok("setEventMask") && d->setEventMask(mask); }
    void stopWatching() override { d->stopWatching(); }
    void setArrivalHandler(std::function<void()> h) override { d->setArrivalHandler(std::move(h)); }
    int lastError() const override { return failed ? kCode : d->lastError(); }

private:
    bool ok(const char *step)
    {
        failed = f == QLatin1String(step);
        return !failed;
    }
    std::unique_ptr<SerialDevice> d;
    QString f;
    bool failed = false;
};

} // namespace vexo::test
