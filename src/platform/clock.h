#pragma once

#include <QDateTime>
#include <QString>

namespace vexo {

// Wall-clock time for the dates and times the program writes, and a monotonic clock with a sleeper
// for its waits. Tests install a clock they set by hand.
class Clock
{
public:
    virtual ~Clock() = default;
    virtual QDateTime now() const;
    virtual qint64 monotonicMs() const;
    virtual void sleepMs(int ms);
};

Clock &clock();
// Installs a clock (not owned); nullptr puts the system clock back.
void setClock(Clock *c);

// Dates are day/month/year with the century, times hours:minutes:seconds.
QString dateText(const QDate &date);
QString timeText(const QTime &time);
QString todayText();
QString nowTimeText();

} // namespace vexo
