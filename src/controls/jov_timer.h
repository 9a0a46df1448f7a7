#pragma once

#include <QPointer>
#include <QWidget>

#include <functional>
#include <memory>
#include <optional>

class QTimer;

namespace vexo {

// A periodic tick on an owner object, under an identifier unique among the timers alive in this run
// (2032, 2033, ...). Ticks go to `onTick` with the timer itself, so a reused identifier can never
// send a tick to the wrong timer. The tick dies with the owner.
class JOVTIMER
{
public:
    explicit JOVTIMER(QObject *owner = nullptr, quint16 interval = 1000);
    ~JOVTIMER();
    JOVTIMER(const JOVTIMER &) = delete;
    JOVTIMER &operator=(const JOVTIMER &) = delete;

    quint16 ID() const { return m_id; }
    quint16 Interval() const { return m_interval; }
    // A running timer restarts with the new period.
    quint16 setInterval(quint16 ms);
    QObject *Owner() const { return m_owner; }
    // A running timer moves to the new owner.
    QObject *setOwner(QObject *owner);
    bool Running() const { return m_running; }
    // False when already running or without an owner.
    bool Start();
    JOVTIMER &Stop();

    std::function<void(JOVTIMER &)> onTick;

    // The identifier counter: the last identifier handed out. After 65,535 it goes back to 2032.
    static quint16 lastIdentifier();
    static void setLastIdentifier(quint16 id);

private:
    QPointer<QObject> m_owner;
    quint16 m_id;
    quint16 m_interval;
    bool m_running = false;
    QPointer<QTimer> m_timer;
};

class JOVTIMERCONTROL;

// A window that takes the ticks of its timer controls. Its answer steers the timer: false stops it
// (a one-shot), true or none lets it go on. Unset, the ticks are dropped and the timer runs on.
class TimerOwner
{
public:
    virtual ~TimerOwner() = default;
    std::function<std::optional<bool>(JOVTIMERCONTROL &)> ONJOVTIMER;
};

// An invisible control hosting one timer (100 ms, not started) whose ticks call the owner's
// ONJOVTIMER with the timer stopped during the call, so the next period counts from its end.
class JOVTIMERCONTROL : public QWidget
{
    Q_OBJECT
public:
    explicit JOVTIMERCONTROL(QWidget *owner = nullptr);
    ~JOVTIMERCONTROL() override;

    JOVTIMER &Timer() { return *m_timer; }
    bool Running() const { return m_timer->Running(); }
    void Start() { m_timer->Start(); }
    void Stop() { m_timer->Stop(); }

private:
    void tick();

    std::unique_ptr<JOVTIMER> m_timer;
};

} // namespace vexo
