#include "editfields/calendar_model.h"
#include "editfields/virtual_keys.h"

#include <gtest/gtest.h>

using namespace vexo;

namespace {

std::string text(const QDate &d)
{
    return d.toString(QStringLiteral("yyyy-MM-dd")).toStdString();
}

} // namespace

TEST(CalendarModel, WeekRowsAndColumns)
{
    struct Case
    {
        QDate month;
        quint32 firstDay;
        int rows;
    };
    const Case cases[] = {
        {QDate(2024, 3, 1), 1, 6}, // 31 days from column 6 (a Friday)
        {QDate(2025, 3, 1), 1, 6}, // 31 days from column 7 (a Saturday)
        {QDate(2015, 2, 1), 1, 4}, // a common February from column 1 fills four rows
        {QDate(2021, 2, 1), 2, 4}, // the same with Monday first
        {QDate(2021, 2, 1), 1, 5},
        {QDate(2024, 2, 1), 1, 5},
    };
    for (const Case &c : cases)
        EXPECT_EQ(weekRowsOfMonth(c.month, c.firstDay), c.rows) << text(c.month) << " first " << c.firstDay;

    const QDate monday(2024, 5, 13);
    const QDate sunday(2024, 5, 19);
    EXPECT_EQ(CASTDATE2COLUMN(sunday, 1), 1);
    EXPECT_EQ(CASTDATE2COLUMN(monday, 1), 2);
    EXPECT_EQ(CASTDATE2COLUMN(monday, 2), 1);
    EXPECT_EQ(CASTDATE2COLUMN(sunday, 2), 7);
    EXPECT_EQ(CASTDATE2COLUMN(sunday, 0), 1); // another locale's week counts from Sunday
    EXPECT_EQ(CASTDATE2COLUMN(monday, 9), 2);

    // May 2024 starts on a Wednesday: column 4 with Sunday first.
    EXPECT_EQ(CURRENTROWNUMBER(QDate(2024, 5, 1), 1), 1);
    EXPECT_EQ(CURRENTROWNUMBER(QDate(2024, 5, 4), 1), 1);
    EXPECT_EQ(CURRENTROWNUMBER(QDate(2024, 5, 5), 1), 2);
    EXPECT_EQ(CASTROWCOL2DATE(QDate(2024, 5, 20), 1, 4, 1), QDate(2024, 5, 1));
    EXPECT_EQ(CASTROWCOL2DATE(QDate(2024, 5, 20), 1, 1, 1), QDate(2024, 4, 28)); // an empty cell's date
    EXPECT_EQ(CASTROWCOL2DATE(QDate(2024, 5, 20), 2, 8, 1), QDate(2024, 5, 12)); // column 8: next row
    EXPECT_EQ(CASTROWCOL2DATE(QDate(2024, 5, 20), 3, 1, 1), QDate(2024, 5, 12));
}

TEST(CalendarModel, MonthYearAndDaySteps)
{
    struct Case
    {
        const char *what;
        QDate from;
        QDate got;
        QDate expected;
    };
    const QDate jan31(2024, 1, 31);
    const Case cases[] = {
        {"31 Jan + 1 month, leap", jan31, MOVEMONTHS(jan31, 1), QDate(2024, 2, 29)},
        {"31 Jan + 1 month, common", QDate(2023, 1, 31), MOVEMONTHS(QDate(2023, 1, 31), 1), QDate(2023, 2, 28)},
        {"31 Mar - 1 month, leap", QDate(2024, 3, 31), MOVEMONTHS(QDate(2024, 3, 31), -1), QDate(2024, 2, 29)},
        {"31 Mar - 1 month, common", QDate(2023, 3, 31), MOVEMONTHS(QDate(2023, 3, 31), -1), QDate(2023, 2, 28)},
        {"January back to December", QDate(2024, 1, 15), MOVEMONTHS(QDate(2024, 1, 15), -1), QDate(2023, 12, 15)},
        {"December on to January", QDate(2023, 12, 31), MOVEMONTHS(QDate(2023, 12, 31), 1), QDate(2024, 1, 31)},
        {"a large step over the year end lands in December", QDate(2024, 2, 10), MOVEMONTHS(QDate(2024, 2, 10), -5), QDate(2023, 12, 10)},
        {"a menu step within the year", QDate(2024, 8, 31), MOVEMONTHS(QDate(2024, 8, 31), GETMONTH(3006) - 8), QDate(2024, 6, 30)},
        {"29 Feb + 1 year", QDate(2024, 2, 29), MOVEYEARS(QDate(2024, 2, 29), 1), QDate(2025, 2, 28)},
        {"29 Feb + 4 years", QDate(2024, 2, 29), MOVEYEARS(QDate(2024, 2, 29), 4), QDate(2028, 2, 29)},
        {"28 Feb - 1 year", QDate(2025, 2, 28), MOVEYEARS(QDate(2025, 2, 28), -1), QDate(2024, 2, 28)},
        {"a year beyond the calendar's keeps the date", QDate(2999, 5, 1), MOVEYEARS(QDate(2999, 5, 1), 1), QDate(2999, 5, 1)},
        {"year 0 keeps the date", QDate(2024, 5, 1), MOVEYEARS(QDate(2024, 5, 1), -2024), QDate(2024, 5, 1)},
        {"a day past the last year keeps the date", QDate(2999, 12, 31), MOVEDAYS(QDate(2999, 12, 31), 1), QDate(2999, 12, 31)},
        {"a week on", QDate(2024, 5, 29), MOVEDAYS(QDate(2024, 5, 29), 7), QDate(2024, 6, 5)},
    };
    for (const Case &c : cases)
        EXPECT_EQ(text(c.got), text(c.expected)) << c.what;

    EXPECT_TRUE(isInMonthMove(QDate(2024, 5, 1), QDate(2024, 5, 31)));
    EXPECT_FALSE(isInMonthMove(QDate(2024, 5, 31), QDate(2024, 6, 1)));
    EXPECT_FALSE(isInMonthMove(QDate(2023, 5, 1), QDate(2024, 5, 1)));
}

TEST(CalendarModel, KeysLeapYearsAndSmallFunctions)
{
    const QDate d(2024, 5, 15);
    struct Case
    {
        int key;
        QDate expected;
    };
    const Case cases[] = {
        {VK_RIGHT, QDate(2024, 5, 16)}, {VK_LEFT, QDate(2024, 5, 14)},  {VK_UP, QDate(2024, 5, 8)},
        {VK_DOWN, QDate(2024, 5, 22)},  {VK_PRIOR, QDate(2024, 4, 15)}, {VK_NEXT, QDate(2024, 6, 15)},
        {VK_HOME, QDate(2024, 5, 1)},   {VK_END, QDate(2024, 5, 31)},
    };
    for (const Case &c : cases)
        EXPECT_EQ(calendarKeyStep(d, c.key), c.expected) << c.key;
    EXPECT_FALSE(calendarKeyStep(d, VK_TAB).has_value());
    EXPECT_FALSE(calendarKeyStep(d, 'A').has_value());

    for (const int year : {2000, 2024, 2400, 1752})
        EXPECT_TRUE(ISLEAPYEAR(year)) << year;
    for (const int year : {1900, 2100, 2023, 2999})
        EXPECT_FALSE(ISLEAPYEAR(year)) << year;

    EXPECT_EQ(LASTDAYOFMONTH(QDate(2023, 12, 5)), QDate(2023, 12, 31));
    EXPECT_EQ(LASTDAYOFMONTH(QDate(2024, 2, 5)), QDate(2024, 2, 29));
    EXPECT_EQ(FIRSTDAYOFMONTH(QDate(2024, 2, 29)), QDate(2024, 2, 1));
    EXPECT_EQ(DATEDEC(QDate(2024, 3, 1), 1), QDate(2024, 2, 29));
    EXPECT_EQ(GETMONTH(3001), 1);
    EXPECT_EQ(GETMONTH(3012), 12);
    const EdgeRect r{10, 20, 30, 40};
    EXPECT_TRUE(POINTINSIDE(r, 10, 20));
    EXPECT_TRUE(POINTINSIDE(r, 30, 40));
    EXPECT_FALSE(POINTINSIDE(r, 31, 40));
    EXPECT_FALSE(POINTINSIDE(r, 9, 25));
    EXPECT_EQ(DoW(QDate(1996, 10, 20)), 1); // a Sunday
    EXPECT_EQ(DoW(QDate(2024, 5, 18)), 7);  // a Saturday
    EXPECT_EQ(qtDayOfWeek(1), Qt::Sunday);
    EXPECT_EQ(qtDayOfWeek(2), Qt::Monday);
}

TEST(CalendarModel, CellsOfTheNeighbouringMonths)
{
    EXPECT_EQ(cellMonthOffset(0, 28), -1);
    EXPECT_EQ(cellMonthOffset(1, 30), -1);
    EXPECT_EQ(cellMonthOffset(0, 1), 0);
    EXPECT_EQ(cellMonthOffset(2, 15), 0);
    EXPECT_EQ(cellMonthOffset(4, 31), 0);
    EXPECT_EQ(cellMonthOffset(4, 2), 1);
    EXPECT_EQ(cellMonthOffset(5, 8), 1);
}

TEST(CalendarDialogPlacement, BelowTheFieldAndOnTheScreen)
{
    const QRect screen(0, 0, 1280, 1024);
    const QSize dialog(280, 180);
    struct Case
    {
        const char *what;
        QRect field;
        bool alignLeft;
        QPoint expected;
    };
    const Case cases[] = {
        {"flush with the field's left edge", QRect(100, 200, 150, 24), true, QPoint(100, 224)},
        {"at the field's right edge", QRect(100, 200, 150, 24), false, QPoint(250, 224)},
        {"kept inside the right edge", QRect(1100, 200, 150, 24), false, QPoint(1000, 224)},
        {"kept inside the bottom edge", QRect(100, 900, 150, 24), true, QPoint(100, 844)},
        {"kept inside the left edge", QRect(-50, 200, 150, 24), true, QPoint(0, 224)},
    };
    for (const Case &c : cases)
        EXPECT_EQ(calendarDialogTopLeft(c.field, dialog, c.alignLeft, screen), c.expected) << c.what;
    EXPECT_EQ(calendarDialogTopLeft(QRect(1100, 900, 150, 24), dialog, false, QRect()), QPoint(1250, 924));
}
