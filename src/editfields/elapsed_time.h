#pragma once

#include <QString>
#include <QVariant>

namespace vexo {

// What a timer field shows, counted on a monotonic clock in milliseconds (so no run is cut at
// midnight or wraps): runs add up their whole seconds (cut, not rounded) until reset.
class ElapsedTime
{
public:
    bool running() const { return m_running; }
    // A second start or stop changes nothing.
    void start(qint64 nowMs);
    void stop(qint64 nowMs);
    void reset();

    // Style 0 the clock time text, 1 elapsed whole seconds, 2 elapsed whole minutes, 3 elapsed minutes
    // rounded to two decimals; any other style gives nothing (the field keeps what it shows).
    QVariant value(int style, qint64 nowMs, const QString &clockTime) const;

private:
    qint64 runMs(qint64 nowMs) const { return m_running ? nowMs - m_startMs : 0; }

    bool m_running = false;
    qint64 m_startMs = 0;
    qint64 m_accumulatedSeconds = 0;
};

} // namespace vexo
