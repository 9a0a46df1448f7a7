#include "controls/jov_timer.h"

#include "controls/named_owner.h"

#include <QTimer>

namespace vexo {

namespace {

constexpr quint16 kFirstIdentifier = 2032;
quint16 g_lastIdentifier = kFirstIdentifier - 1;

quint16 nextIdentifier()
{
    // Past the top of the 16-bit range the numbers start again rather than ending the program.
    g_lastIdentifier = g_lastIdentifier == 0xFFFF ? kFirstIdentifier : quint16(g_lastIdentifier + 1);
    return g_lastIdentifier;
}

} // namespace

JOVTIMER::JOVTIMER(QObject *owner, quint16 interval) : m_owner(owner), m_id(nextIdentifier()), m_interval(interval)
{
}

JOVTIMER::~JOVTIMER()
{
    Stop();
}

quint16 JOVTIMER::lastIdentifier()
{
    return g_lastIdentifier;
}

void JOVTIMER::setLastIdentifier(quint16 id)
{
    g_lastIdentifier = id;
}

quint16 JOVTIMER::setInterval(quint16 ms)
{
    const bool was = m_running;
    Stop();
    m_interval = ms;
    if (was)
        Start();
    return m_interval;
}

QObject *JOVTIMER::setOwner(QObject *owner)
{
    const bool was = m_running;
    Stop();
    m_owner = owner;
    if (was)
        Start();
    return m_owner;
}

bool JOVTIMER::Start()
{
    if (m_running || !m_owner)
        return false;
    // The tick lives on the owner, as a timer set on its window does: it ends with the owner.
    m_timer = new QTimer(m_owner);
    m_timer->setInterval(m_interval);
    QObject::connect(m_timer, &QTimer::timeout, m_timer, [this] {
        if (onTick)
            onTick(*this);
    });
    QObject::connect(m_timer, &QObject::destroyed, m_timer, [this] { m_running = false; });
    m_timer->start();
    m_running = true;
    return true;
}

JOVTIMER &JOVTIMER::Stop()
{
    if (m_running) {
        m_running = false;
        if (QTimer *timer = m_timer.data()) {
            // Stop may run inside the tick itself: the timer goes once its signal has returned.
            timer->stop();
            QObject::disconnect(timer, nullptr, nullptr, nullptr);
            timer->deleteLater();
        }
        m_timer = nullptr;
    }
    return *this;
}

JOVTIMERCONTROL::JOVTIMERCONTROL(QWidget *owner) : QWidget(owner), m_timer(std::make_unique<JOVTIMER>(this, 100))
{
    m_timer->onTick = [this](JOVTIMER &) { tick(); };
    hide();
}

JOVTIMERCONTROL::~JOVTIMERCONTROL()
{
    m_timer->Stop();
}

void JOVTIMERCONTROL::tick()
{
    TimerOwner *owner = findControlOwner<TimerOwner>(this);
    if (!owner || !owner->ONJOVTIMER)
        return; // dropped; the timer runs on
    QPointer<JOVTIMERCONTROL> self(this);
    m_timer->Stop();
    const std::optional<bool> goOn = owner->ONJOVTIMER(*this);
    if (self && goOn.value_or(true))
        m_timer->Start();
}

} // namespace vexo
