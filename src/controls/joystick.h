#pragma once

#include <QString>
#include <QWidget>

#include <functional>
#include <memory>
#include <optional>

namespace vexo {

// What a joystick reports of itself.
struct JoystickCaps
{
    QString productName;
    quint32 buttons = 0;
    quint32 axes = 0;
    quint32 maxAxes = 0;
    quint32 maxButtons = 0;
};

// Raw positions run from 0 to 65,535; button flags 1, 2, 4, 8 are buttons 1 to 4.
struct JoystickState
{
    quint32 x = 0, y = 0, z = 0;
    quint32 buttons = 0;
};

// One report of a captured joystick.
struct JoystickMessage
{
    enum Kind { ButtonDown, ButtonUp, Move, ZMove };
    Kind kind = Move;
    JoystickState state;
};

// The device behind a joystick control; tests feed one of their own.
class JoystickReader
{
public:
    virtual ~JoystickReader() = default;
    // How many joysticks the system offers; 0 means no driver.
    virtual int deviceCount() = 0;
    // The present state of joystick `id`; none when it is not plugged in or cannot be read.
    virtual std::optional<JoystickState> state(int id) = 0;
    virtual std::optional<JoystickCaps> caps(int id) = 0;
    // Starts sending the joystick's reports to `sink`; false when it cannot.
    virtual bool capture(int id, std::function<void(const JoystickMessage &)> sink) = 0;
    virtual void release(int id) = 0;
};

// The joysticks of the Linux joystick interface (js0, js1 in /dev/input), read through their axis,
// button and name queries, and watched while captured. Axes 0 and 1 are X and Y, axis 2 is Z.
std::unique_ptr<JoystickReader> makeSystemJoystickReader(const QString &folder = QStringLiteral("/dev/input"));

// A Linux axis value (-32767..32767; -32768 is taken as -32767) as a raw position 0..65535.
quint32 joystickRawFromAxis(qint16 value);

struct JoystickRange
{
    qint32 min = 0;
    qint32 max = 65535;
};

// A raw position r in 0..65535 scaled into a range: r / 65535 * (max - min - 1) + min, cut toward zero.
qint64 scaleJoystickPosition(quint32 raw, JoystickRange range);

// A report handed to the owner: scaled positions, -1 for an axis the report does not carry.
class JOVJOYSTICKEVENT
{
public:
    JOVJOYSTICKEVENT(const JoystickMessage &message, JoystickRange x, JoystickRange y, JoystickRange z);
    JoystickMessage::Kind kind() const { return m_kind; }
    qint32 PosX() const { return m_x; }
    qint32 PosY() const { return m_y; }
    qint32 PosZ() const { return m_z; }
    bool IsButton1Down() const { return m_buttons & 1; }
    bool IsButton2Down() const { return m_buttons & 2; }
    bool IsButton3Down() const { return m_buttons & 4; }
    bool IsButton4Down() const { return m_buttons & 8; }

private:
    JoystickMessage::Kind m_kind;
    qint32 m_x, m_y, m_z;
    quint32 m_buttons;
};

// A window that takes the reports of its joystick controls; unset handlers get nothing.
class JoystickOwner
{
public:
    virtual ~JoystickOwner() = default;
    std::function<void(const JOVJOYSTICKEVENT &)> ONJOVJOYBUTTONDOWN;
    std::function<void(const JOVJOYSTICKEVENT &)> ONJOVJOYBUTTONUP;
    std::function<void(const JOVJOYSTICKEVENT &)> ONJOVJOYMOVE;
    std::function<void(const JOVJOYSTICKEVENT &)> ONJOVJOYZMOVE;
};

// An invisible control that answers questions about joystick 0 or 1 and, while open (captured),
// hands its reports to the owner. Without a device every answer is neutral (false, 0, empty).
// A move is reported only when an axis moved by more than `Interval` since the last move reported.
class JOVJOYSTICKCTRL : public QWidget
{
    Q_OBJECT
public:
    explicit JOVJOYSTICKCTRL(QWidget *owner = nullptr, std::unique_ptr<JoystickReader> reader = nullptr);
    ~JOVJOYSTICKCTRL() override;

    bool IsDriver() const { return m_deviceCount != 0; }
    bool IsPlugged() const;
    bool IsOpen() const { return m_open; }

    int Identifier() const { return m_id; }
    // Only 0 or 1, and only while closed; the movement threshold carries over. Returns the one held.
    int setIdentifier(int id);
    // The movement threshold of the identified joystick; 0 when none is plugged in.
    quint32 Interval() const;
    quint32 setInterval(quint32 threshold);

    quint32 AxesCount() const;
    quint32 ButtonsCount() const;
    quint32 MaxAxes() const;
    quint32 MaxButtons() const;
    QString ProductName() const;
    bool IsButton1Down() const { return buttonDown(1); }
    bool IsButton2Down() const { return buttonDown(2); }
    bool IsButton3Down() const { return buttonDown(4); }
    bool IsButton4Down() const { return buttonDown(8); }
    quint32 PosX() const;
    quint32 PosY() const;
    quint32 PosZ() const;

    JoystickRange XRange() const { return m_x; }
    JoystickRange YRange() const { return m_y; }
    JoystickRange ZRange() const { return m_z; }
    void setXRange(JoystickRange r) { m_x = r; }
    void setYRange(JoystickRange r) { m_y = r; }
    void setZRange(JoystickRange r) { m_z = r; }

    // Opens the present joystick, or `id` (closing the present one first when it differs).
    bool Open(std::optional<int> id = std::nullopt);
    JOVJOYSTICKCTRL &Close();

    // A report as the device sends it while captured; public so that a fed reader's reports and the
    // tests reach the same path.
    void deliver(const JoystickMessage &message);

private:
    bool buttonDown(quint32 flag) const;
    std::optional<JoystickCaps> caps() const;

    std::unique_ptr<JoystickReader> m_reader;
    int m_deviceCount = 0;
    int m_id = 0;
    bool m_open = false;
    quint32 m_threshold[2] = {0, 0};
    std::optional<JoystickState> m_lastMove;
    JoystickRange m_x, m_y, m_z;
};

} // namespace vexo
