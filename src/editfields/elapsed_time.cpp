#include "editfields/elapsed_time.h"

#include "problem/number_text.h"

namespace vexo {

void ElapsedTime::start(qint64 nowMs)
{
    if (m_running)
        return;
    m_running = true;
    m_startMs = nowMs;
}

void ElapsedTime::stop(qint64 nowMs)
{
    if (!m_running)
        return;
    m_accumulatedSeconds += runMs(nowMs) / 1000;
    m_running = false;
}

void ElapsedTime::reset()
{
    m_running = false;
    m_startMs = 0;
    m_accumulatedSeconds = 0;
}

QVariant ElapsedTime::value(int style, qint64 nowMs, const QString &clockTime) const
{
    const qint64 seconds = m_accumulatedSeconds + runMs(nowMs) / 1000;
    switch (style) {
    case 0: return clockTime;
    case 1: return seconds;
    case 2: return seconds / 60;
    case 3: return MROUND2((double(m_accumulatedSeconds) + double(runMs(nowMs)) / 1000.0) / 60.0, 2);
    default: return {};
    }
}

} // namespace vexo
