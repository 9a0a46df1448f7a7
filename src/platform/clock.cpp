#include "platform/clock.h"

#include <QElapsedTimer>
#include <QThread>

namespace vexo {

namespace {
Clock *g_clock = nullptr;
}

QDateTime Clock::now() const
{
    return QDateTime::currentDateTime();
}

qint64 Clock::monotonicMs() const
{
    static QElapsedTimer timer = [] {
        QElapsedTimer t;
        t.start();
        return t;
    }();
    return timer.elapsed();
}

void Clock::sleepMs(int ms)
{
    if (ms > 0)
        QThread::msleep(static_cast<unsigned long>(ms));
}

Clock &clock()
{
    static Clock systemClock;
    return g_clock ? *g_clock : systemClock;
}

void setClock(Clock *c)
{
    g_clock = c;
}

QString dateText(const QDate &date)
{
    return date.toString(QStringLiteral("dd/MM/yyyy"));
}

QString timeText(const QTime &time)
{
    return time.toString(QStringLiteral("hh:mm:ss"));
}

QString todayText()
{
    return dateText(clock().now().date());
}

QString nowTimeText()
{
    return timeText(clock().now().time());
}

} // namespace vexo
