#include "editfields/timer_sle.h"

#include "platform/clock.h"

namespace vexo {

TIMERSLE::TIMERSLE(QWidget *owner, const QRect &geometry)
    : RIGHTSLE(owner, geometry)
{
    setObjectName(QStringLiteral("TIMERSLE"));
    connect(&m_timer, &QTimer::timeout, this, &TIMERSLE::TIMER);
}

void TIMERSLE::START()
{
    if (m_timer.isActive())
        return;
    m_timer.start(m_interval);
    m_elapsed.start(clock().monotonicMs());
    TIMER();
}

void TIMERSLE::STOP()
{
    if (!m_timer.isActive())
        return;
    m_timer.stop();
    m_elapsed.stop(clock().monotonicMs());
}

void TIMERSLE::RESET()
{
    STOP();
    m_elapsed.reset();
    setValue(0);
}

void TIMERSLE::TIMER()
{
    const QVariant value = m_elapsed.value(m_style, clock().monotonicMs(), nowTimeText());
    if (value.isValid())
        setValue(value);
}

} // namespace vexo
