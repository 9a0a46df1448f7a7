#pragma once

#include "controls/icon_push_button.h"

#include <QDate>
#include <QPoint>
#include <QRect>
#include <QSize>

#include <optional>

namespace vexo {

// The month calendar's rules, apart from its drawing. Weekdays are numbered 1 (Sunday) to 7
// (Saturday); the first day of the week uses the same numbers. Week rows run 1 to 6, columns 1 to 7.

// The years the calendar's year spinner offers.
inline constexpr int kCalendarFirstYear = 1752;
inline constexpr int kCalendarLastYear = 2999;

int DoW(const QDate &date);
QDate FIRSTDAYOFMONTH(const QDate &date);
QDate LASTDAYOFMONTH(const QDate &date);
QDate DATEDEC(const QDate &date, quint16 days);
// Edges belong to the rectangle.
bool POINTINSIDE(const EdgeRect &rect, int x, int y);
// The month of a month-menu command 3001 to 3012.
int GETMONTH(int commandId);
bool ISLEAPYEAR(int year);

// A first day of the week from 1 to 7 is kept; any other value (a locale whose week starts on another
// day leaves 0) counts as Sunday.
int calendarFirstDay(quint32 firstDay);
Qt::DayOfWeek qtDayOfWeek(int weekday);

int CASTDATE2COLUMN(const QDate &date, quint32 firstDay);
// The week row of a date in its month.
int CURRENTROWNUMBER(const QDate &date, quint32 firstDay);
// The date of a cell of the month of `current`; neither row nor column is capped.
QDate CASTROWCOL2DATE(const QDate &current, int row, int column, quint32 firstDay);
// How many week rows the month of the date uses.
int weekRowsOfMonth(const QDate &date, quint32 firstDay);

// The three steps. A day that the target month lacks falls back to the month's last day; a step that
// crosses the year's end lands in December before or January after, whatever its size; a year step
// from 29 February lands on 28 February of a common year. A step that leaves the calendar's years
// keeps the date.
QDate MOVEMONTHS(const QDate &date, int months);
QDate MOVEDAYS(const QDate &date, int days);
QDate MOVEYEARS(const QDate &date, int years);
bool isInMonthMove(const QDate &from, const QDate &to);

// The date a navigation key selects: arrows by a day or a week, Page Up and Down by a month, Home and
// End the first and last day of the month; nothing for any other key.
std::optional<QDate> calendarKeyStep(const QDate &current, int virtualKey);

// Qt's month view also shows days of the neighbouring months around the month's own. The month of a
// cell from its week row (0 for the first row of days) and its day number: -1 the month before,
// 0 the shown month, 1 the month after.
int cellMonthOffset(int weekRow, int day);

// Where the calendar dialog opens, in screen coordinates with the origin at the top left: its top on
// the field's bottom edge, its left on the field's left edge (or its right edge when not aligned
// left), moved back onto the screen when it would leave it.
QPoint calendarDialogTopLeft(const QRect &field, const QSize &dialog, bool alignLeft, const QRect &screen);

} // namespace vexo
