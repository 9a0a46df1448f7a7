#include "editfields/calendar_model.h"

#include "editfields/virtual_keys.h"

#include <algorithm>
#include <cstdlib>

namespace vexo {

namespace {

bool inCalendarYears(const QDate &d)
{
    return d.isValid() && d.year() >= kCalendarFirstYear && d.year() <= kCalendarLastYear;
}

} // namespace

int DoW(const QDate &date)
{
    return date.dayOfWeek() % 7 + 1; // Qt counts Monday 1 ... Sunday 7
}

QDate FIRSTDAYOFMONTH(const QDate &date)
{
    return QDate(date.year(), date.month(), 1);
}

QDate LASTDAYOFMONTH(const QDate &date)
{
    int y = date.year();
    int m = date.month() + 1;
    if (m == 13) {
        m = 1;
        ++y;
    }
    return DATEDEC(QDate(y, m, 1), 1);
}

QDate DATEDEC(const QDate &date, quint16 days)
{
    return date.addDays(-qint64(days));
}

bool POINTINSIDE(const EdgeRect &rect, int x, int y)
{
    return rect.left <= x && x <= rect.right && rect.top <= y && y <= rect.bottom;
}

int GETMONTH(int commandId)
{
    return commandId - 3000;
}

bool ISLEAPYEAR(int year)
{
    return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
}

int calendarFirstDay(quint32 firstDay)
{
    return firstDay >= 1 && firstDay <= 7 ? int(firstDay) : 1;
}

Qt::DayOfWeek qtDayOfWeek(int weekday)
{
    return weekday == 1 ? Qt::Sunday : Qt::DayOfWeek(weekday - 1);
}

int CASTDATE2COLUMN(const QDate &date, quint32 firstDay)
{
    int c = DoW(date) - (calendarFirstDay(firstDay) - 1);
    if (c < 1)
        c += 7;
    return c;
}

int CURRENTROWNUMBER(const QDate &date, quint32 firstDay)
{
    return (date.day() + CASTDATE2COLUMN(FIRSTDAYOFMONTH(date), firstDay) - 2) / 7 + 1;
}

QDate CASTROWCOL2DATE(const QDate &current, int row, int column, quint32 firstDay)
{
    const QDate first = FIRSTDAYOFMONTH(current);
    return first.addDays((row - 1) * 7 + (column - CASTDATE2COLUMN(first, firstDay)));
}

int weekRowsOfMonth(const QDate &date, quint32 firstDay)
{
    return CURRENTROWNUMBER(LASTDAYOFMONTH(date), firstDay);
}

QDate MOVEMONTHS(const QDate &date, int months)
{
    const int Y = date.year();
    const int M = date.month();
    const int D = date.day();
    const int m = M + months;
    QDate d;
    if (m < 1) {
        d = QDate(Y - 1, 12, D);
        if (!d.isValid())
            d = QDate(Y - 1, 12, 31);
    } else if (m > 12) {
        d = QDate(Y + 1, 1, D);
        if (!d.isValid())
            d = QDate(Y + 1, 1, 31);
    } else {
        d = QDate(Y, m, D);
        if (!d.isValid())
            d = LASTDAYOFMONTH(QDate(Y, m, 1));
    }
    return inCalendarYears(d) ? d : date;
}

QDate MOVEDAYS(const QDate &date, int days)
{
    const QDate d = date.addDays(days);
    return inCalendarYears(d) ? d : date;
}

QDate MOVEYEARS(const QDate &date, int years)
{
    const int y = date.year() + years;
    QDate d;
    if (!ISLEAPYEAR(y) && date.month() == 2 && date.day() == 29)
        d = QDate(y, 2, 28);
    else
        d = QDate(y, date.month(), date.day());
    return inCalendarYears(d) ? d : date;
}

bool isInMonthMove(const QDate &from, const QDate &to)
{
    return from.year() == to.year() && from.month() == to.month();
}

std::optional<QDate> calendarKeyStep(const QDate &current, int virtualKey)
{
    switch (virtualKey) {
    case VK_RIGHT: return MOVEDAYS(current, 1);
    case VK_LEFT: return MOVEDAYS(current, -1);
    case VK_UP: return MOVEDAYS(current, -7);
    case VK_DOWN: return MOVEDAYS(current, 7);
    case VK_PRIOR: return MOVEMONTHS(current, -1);
    case VK_NEXT: return MOVEMONTHS(current, 1);
    case VK_HOME: return FIRSTDAYOFMONTH(current);
    case VK_END: return LASTDAYOFMONTH(current);
    default: return std::nullopt;
    }
}

int cellMonthOffset(int weekRow, int day)
{
    if (weekRow <= 1 && day > 14)
        return -1;
    if (weekRow >= 4 && day < 15)
        return 1;
    return 0;
}

QPoint calendarDialogTopLeft(const QRect &field, const QSize &dialog, bool alignLeft, const QRect &screen)
{
    int x = alignLeft ? field.left() : field.left() + field.width();
    int y = field.top() + field.height();
    if (screen.isValid()) {
        x = std::max(std::min(x, screen.left() + screen.width() - dialog.width()), screen.left());
        y = std::max(std::min(y, screen.top() + screen.height() - dialog.height()), screen.top());
    }
    return {x, y};
}

} // namespace vexo
