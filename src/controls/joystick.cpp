#include "controls/joystick.h"

#include "controls/named_owner.h"

#include <QFile>
#include <QList>
#include <QMetaObject>
#include <QPointer>
#include <QSocketNotifier>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <map>
#include <memory>

#include <fcntl.h>
#include <linux/joystick.h>
#include <sys/ioctl.h>
#include <unistd.h>

namespace vexo {

qint64 scaleJoystickPosition(quint32 raw, JoystickRange range)
{
    const double span = double(range.max) - double(range.min) - 1.0;
    return qint64(std::trunc(double(raw) / 65535.0 * span + double(range.min)));
}

quint32 joystickRawFromAxis(qint16 value)
{
    const qint64 v = std::max<qint64>(value, -32767) + 32767; // 0..65534
    return quint32((v * 65535 + 32767) / 65534);
}

JOVJOYSTICKEVENT::JOVJOYSTICKEVENT(const JoystickMessage &message, JoystickRange x, JoystickRange y, JoystickRange z)
    : m_kind(message.kind), m_x(-1), m_y(-1), m_z(-1), m_buttons(message.state.buttons)
{
    if (message.kind == JoystickMessage::ZMove) {
        m_z = qint32(scaleJoystickPosition(message.state.z, z));
    } else {
        m_x = qint32(scaleJoystickPosition(message.state.x, x));
        m_y = qint32(scaleJoystickPosition(message.state.y, y));
    }
}

namespace {

// The Linux joystick interface: a device file per joystick that sends an event for each axis and
// button change (first the present state, marked as such, when opened).
class LinuxJoystickReader : public JoystickReader
{
public:
    explicit LinuxJoystickReader(const QString &folder) : m_folder(folder) {}
    ~LinuxJoystickReader() override
    {
        for (auto &[id, device] : m_devices)
            closeDevice(device);
    }

    int deviceCount() override
    {
        int count = 0;
        while (count < 16 && QFile::exists(path(count)))
            ++count;
        return count;
    }

    std::optional<JoystickState> state(int id) override
    {
        Device *device = openDevice(id);
        if (!device)
            return std::nullopt;
        // While captured, what the read finds still goes to the owner, but from the event loop: a
        // handler that deletes the control must not run inside the control's own call.
        drain(*device, Deferred);
        if (!device->pending.isEmpty() && device->notifier) {
            const std::weak_ptr<int> life = m_life;
            QMetaObject::invokeMethod(
                device->notifier,
                [this, life, device] {
                    if (!life.expired())
                        deliverPending(*device);
                },
                Qt::QueuedConnection);
        }
        if (device->fd < 0)
            return std::nullopt; // unplugged meanwhile
        return device->state;
    }

    std::optional<JoystickCaps> caps(int id) override
    {
        Device *device = openDevice(id);
        if (!device)
            return std::nullopt;
        JoystickCaps caps;
        char axes = 0, buttons = 0;
        char name[128] = {};
        if (ioctl(device->fd, JSIOCGAXES, &axes) < 0 || ioctl(device->fd, JSIOCGBUTTONS, &buttons) < 0)
            return std::nullopt;
        if (ioctl(device->fd, JSIOCGNAME(sizeof name - 1), name) >= 0)
            caps.productName = QString::fromLocal8Bit(name);
        caps.axes = quint8(axes);
        caps.buttons = quint8(buttons);
        caps.maxAxes = quint8(axes);
        caps.maxButtons = quint8(buttons);
        return caps;
    }

    bool capture(int id, std::function<void(const JoystickMessage &)> sink) override
    {
        Device *device = openDevice(id);
        if (!device)
            return false;
        dropNotifier(*device);
        device->notifier = new QSocketNotifier(device->fd, QSocketNotifier::Read);
        device->sink = std::move(sink);
        QObject::connect(device->notifier, &QSocketNotifier::activated, device->notifier,
                         [this, device] { drain(*device, Direct); });
        return true;
    }

    void release(int id) override
    {
        const auto it = m_devices.find(id);
        if (it == m_devices.end())
            return;
        dropNotifier(it->second);
        it->second.sink = nullptr;
        it->second.pending.clear();
    }

private:
    struct Device
    {
        int fd = -1;
        JoystickState state;
        QSocketNotifier *notifier = nullptr;
        std::function<void(const JoystickMessage &)> sink;
        QList<JoystickMessage> pending; // read by a poll, waiting for the event loop
    };
    enum Delivery { Direct, Deferred };

    QString path(int id) const { return m_folder + QStringLiteral("/js%1").arg(id); }

    // May run inside the notifier's own signal (an owner closing the control from a handler): the
    // notifier goes once that has returned.
    static void dropNotifier(Device &device)
    {
        if (device.notifier) {
            device.notifier->setEnabled(false);
            QObject::disconnect(device.notifier, nullptr, nullptr, nullptr);
            device.notifier->deleteLater();
        }
        device.notifier = nullptr;
    }

    static void closeDevice(Device &device)
    {
        dropNotifier(device);
        if (device.fd >= 0)
            ::close(device.fd);
        device.fd = -1;
    }

    Device *openDevice(int id)
    {
        if (id < 0 || id > 1)
            return nullptr;
        auto it = m_devices.find(id);
        if (it != m_devices.end() && it->second.fd >= 0)
            return &it->second;
        const int fd = ::open(QFile::encodeName(path(id)).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
        if (fd < 0)
            return nullptr;
        Device &device = m_devices[id];
        device.fd = fd;
        return &device;
    }

    // Hands the captured device's messages to the owner, one by one. The owner's handler may delete
    // the control, and this reader with it: then nothing more is touched. False when that happened.
    bool deliver(Device &device, const JoystickMessage &message)
    {
        if (!device.sink)
            return true;
        const std::weak_ptr<int> life = m_life;
        const auto sink = device.sink; // the owner may close the control from its handler
        sink(message);
        return !life.expired();
    }

    bool deliverPending(Device &device)
    {
        while (!device.pending.isEmpty() && device.sink) {
            if (!deliver(device, device.pending.takeFirst()))
                return false;
        }
        device.pending.clear();
        return true;
    }

    // Reads every waiting event into the state. While the device is captured each change goes to
    // the owner: at once, or queued for the event loop when a poll read it. A failed read other than
    // "nothing waiting" closes the device (it was unplugged).
    void drain(Device &device, Delivery delivery)
    {
        if (delivery == Direct) {
            // What a poll read comes first.
            if (!deliverPending(device) || device.fd < 0)
                return;
        }
        js_event event{};
        for (;;) {
            const ssize_t got = ::read(device.fd, &event, sizeof event);
            if (got != ssize_t(sizeof event)) {
                if (got < 0 && errno != EAGAIN)
                    closeDevice(device);
                return;
            }
            const bool initial = event.type & JS_EVENT_INIT;
            JoystickMessage message;
            if ((event.type & ~JS_EVENT_INIT) == JS_EVENT_BUTTON) {
                if (event.number >= 32)
                    continue;
                const quint32 flag = 1u << event.number;
                device.state.buttons = event.value ? device.state.buttons | flag : device.state.buttons & ~flag;
                message.kind = event.value ? JoystickMessage::ButtonDown : JoystickMessage::ButtonUp;
            } else if ((event.type & ~JS_EVENT_INIT) == JS_EVENT_AXIS) {
                const quint32 raw = joystickRawFromAxis(event.value);
                if (event.number == 0)
                    device.state.x = raw, message.kind = JoystickMessage::Move;
                else if (event.number == 1)
                    device.state.y = raw, message.kind = JoystickMessage::Move;
                else if (event.number == 2)
                    device.state.z = raw, message.kind = JoystickMessage::ZMove;
                else
                    continue;
            } else {
                continue;
            }
            message.state = device.state;
            if (!device.sink || initial)
                continue;
            if (delivery == Deferred) {
                device.pending << message;
                continue;
            }
            if (!deliver(device, message) || device.fd < 0)
                return; // the reader is gone, or the handler closed the device
        }
    }

    QString m_folder;
    std::shared_ptr<int> m_life = std::make_shared<int>(0); // expires with the reader
    std::map<int, Device> m_devices;
};

} // namespace

std::unique_ptr<JoystickReader> makeSystemJoystickReader(const QString &folder)
{
    return std::make_unique<LinuxJoystickReader>(folder);
}

JOVJOYSTICKCTRL::JOVJOYSTICKCTRL(QWidget *owner, std::unique_ptr<JoystickReader> reader)
    : QWidget(owner), m_reader(reader ? std::move(reader) : makeSystemJoystickReader())
{
    hide();
    m_deviceCount = m_reader->deviceCount();
    setInterval(0);
}

JOVJOYSTICKCTRL::~JOVJOYSTICKCTRL()
{
    Close();
}

bool JOVJOYSTICKCTRL::IsPlugged() const
{
    return IsDriver() && m_reader->state(m_id).has_value();
}

int JOVJOYSTICKCTRL::setIdentifier(int id)
{
    if (m_open || (id != 0 && id != 1))
        return m_id;
    const quint32 threshold = Interval();
    m_id = id;
    setInterval(threshold);
    return m_id;
}

quint32 JOVJOYSTICKCTRL::Interval() const
{
    return IsPlugged() ? m_threshold[m_id] : 0;
}

quint32 JOVJOYSTICKCTRL::setInterval(quint32 threshold)
{
    if (!IsPlugged())
        return 0;
    m_threshold[m_id] = threshold;
    return threshold;
}

std::optional<JoystickCaps> JOVJOYSTICKCTRL::caps() const
{
    return IsPlugged() ? m_reader->caps(m_id) : std::nullopt;
}

quint32 JOVJOYSTICKCTRL::AxesCount() const { return caps() ? caps()->axes : 0; }
quint32 JOVJOYSTICKCTRL::ButtonsCount() const { return caps() ? caps()->buttons : 0; }
quint32 JOVJOYSTICKCTRL::MaxAxes() const { return caps() ? caps()->maxAxes : 0; }
quint32 JOVJOYSTICKCTRL::MaxButtons() const { return caps() ? caps()->maxButtons : 0; }
QString JOVJOYSTICKCTRL::ProductName() const { return caps() ? caps()->productName : QString(); }

bool JOVJOYSTICKCTRL::buttonDown(quint32 flag) const
{
    const auto s = IsDriver() ? m_reader->state(m_id) : std::nullopt;
    return s && (s->buttons & flag);
}

quint32 JOVJOYSTICKCTRL::PosX() const
{
    const auto s = IsDriver() ? m_reader->state(m_id) : std::nullopt;
    return s ? quint32(scaleJoystickPosition(s->x, m_x)) : 0;
}

quint32 JOVJOYSTICKCTRL::PosY() const
{
    const auto s = IsDriver() ? m_reader->state(m_id) : std::nullopt;
    return s ? quint32(scaleJoystickPosition(s->y, m_y)) : 0;
}

quint32 JOVJOYSTICKCTRL::PosZ() const
{
    const auto s = IsDriver() ? m_reader->state(m_id) : std::nullopt;
    return s ? quint32(scaleJoystickPosition(s->z, m_z)) : 0;
}

bool JOVJOYSTICKCTRL::Open(std::optional<int> id)
{
    const int wanted = id.value_or(m_id);
    if (wanted != m_id) {
        Close();
        setIdentifier(wanted);
    }
    if (!m_open && IsPlugged()) {
        QPointer<JOVJOYSTICKCTRL> self(this);
        m_lastMove.reset();
        m_open = m_reader->capture(m_id, [self](const JoystickMessage &message) {
            if (self)
                self->deliver(message);
        });
    }
    return m_open;
}

JOVJOYSTICKCTRL &JOVJOYSTICKCTRL::Close()
{
    if (m_open) {
        m_reader->release(m_id);
        m_open = false;
    }
    return *this;
}

void JOVJOYSTICKCTRL::deliver(const JoystickMessage &message)
{
    if (message.kind == JoystickMessage::Move || message.kind == JoystickMessage::ZMove) {
        // Only a move beyond the threshold since the last one reported counts.
        const quint32 threshold = m_threshold[m_id];
        const auto moved = [threshold](quint32 a, quint32 b) { return quint32(std::abs(qint64(a) - qint64(b))) > threshold; };
        if (m_lastMove) {
            const bool beyond = message.kind == JoystickMessage::ZMove
                                    ? moved(message.state.z, m_lastMove->z)
                                    : moved(message.state.x, m_lastMove->x) || moved(message.state.y, m_lastMove->y);
            if (!beyond)
                return;
        }
        m_lastMove = message.state;
    }
    const JOVJOYSTICKEVENT event(message, m_x, m_y, m_z);
    JoystickOwner *owner = findControlOwner<JoystickOwner>(this);
    if (!owner)
        return;
    const std::function<void(const JOVJOYSTICKEVENT &)> *handler = nullptr;
    switch (message.kind) {
    case JoystickMessage::ButtonDown: handler = &owner->ONJOVJOYBUTTONDOWN; break;
    case JoystickMessage::ButtonUp: handler = &owner->ONJOVJOYBUTTONUP; break;
    case JoystickMessage::Move: handler = &owner->ONJOVJOYMOVE; break;
    case JoystickMessage::ZMove: handler = &owner->ONJOVJOYZMOVE; break;
    }
    if (*handler)
        (*handler)(event);
}

} // namespace vexo
