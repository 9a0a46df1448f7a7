#include "editfields/ft_date.h"

#include "scripted_messages.h"

#include <gtest/gtest.h>

using namespace vexo;

namespace {

QDate D(int y, int m, int d)
{
    return QDate(y, m, d);
}

FtPeriod P(const char *label, QDate start, QDate end)
{
    return {QString::fromLatin1(label), start, end};
}

std::string show(const FtPeriod &p)
{
    return (p.label.toString() + u' ' + p.start.toString(Qt::ISODate) + u' ' + p.end.toString(Qt::ISODate)).toStdString();
}

struct PeriodCase
{
    const char *what;
    FtPeriod got;
    FtPeriod expected;
};

class FtDate : public testing::Test
{
protected:
    void SetUp() override { clock.setNow(QDateTime(D(2024, 5, 15), QTime(10, 0))); }
    test::ManualClock clock;
};

} // namespace

TEST_F(FtDate, CalendarYearSundayFirst)
{
    const FT_DATE f;
    const QDate may15 = D(2024, 5, 15);
    const PeriodCase cases[] = {
        {"YEAR", f.YEAR(may15), P("2024", D(2024, 1, 1), D(2024, 12, 31))},
        {"MONTH", f.MONTH(may15), P("202405", D(2024, 5, 1), D(2024, 5, 31))},
        {"QTR", f.QTR(may15), P("202402", D(2024, 4, 1), D(2024, 6, 30))},
        {"QTR 4", f.QTR(may15, 4), P("202404", D(2024, 10, 1), D(2024, 12, 31))},
        {"QTR 9 is the last", f.QTR(may15, 9), P("202404", D(2024, 10, 1), D(2024, 12, 31))},
        {"WEEK of 1 January is cut at the year's start", f.WEEK(D(2024, 1, 1)), P("202401", D(2024, 1, 1), D(2024, 1, 6))},
        {"WEEK 53", f.WEEK(may15, 53), P("202453", D(2024, 12, 29), D(2024, 12, 31))},
        {"WEEK 60 is the last", f.WEEK(may15, 60), P("202453", D(2024, 12, 29), D(2024, 12, 31))},
        {"ACCTYEAR", f.ACCTYEAR(may15), P("2024", D(2023, 12, 31), D(2024, 12, 28))},
        {"ACCTYEAR at the year's end", f.ACCTYEAR(D(2024, 12, 30)), P("2025", D(2024, 12, 29), D(2026, 1, 3))},
        {"ACCTWEEK", f.ACCTWEEK(may15), P("202420", D(2024, 5, 12), D(2024, 5, 18))},
        {"ACCTWEEK 1", f.ACCTWEEK(may15, 1), P("202401", D(2023, 12, 31), D(2024, 1, 6))},
        {"ACCTWEEK 99 is the last", f.ACCTWEEK(may15, 99), P("202452", D(2024, 12, 22), D(2024, 12, 28))},
        {"ACCTMONTH 5", f.ACCTMONTH(may15, 5), P("202405", D(2024, 4, 28), D(2024, 6, 1))},
        {"ACCTMONTH takes today's month", f.ACCTMONTH(D(2024, 2, 10)), P("202405", D(2024, 4, 28), D(2024, 6, 1))},
        {"ACCTQTR", f.ACCTQTR(may15), P("202402", D(2024, 3, 31), D(2024, 6, 29))},
        {"a number first is the period, with today", f.QTR(1), P("202401", D(2024, 1, 1), D(2024, 3, 31))},
        {"a text first counts as today", f.MONTH(QStringLiteral("x")), P("202405", D(2024, 5, 1), D(2024, 5, 31))},
    };
    for (const PeriodCase &c : cases)
        EXPECT_EQ(show(c.got), show(c.expected)) << c.what;

    EXPECT_EQ(f.DAYOFYR(D(2024, 12, 31)).label.toString().toStdString(), "2024366");
    EXPECT_EQ(f.DAYOFYR(D(2024, 12, 31), 400).label.toDate(), D(2024, 12, 31));
    EXPECT_EQ(f.DAYOFYR(D(2024, 12, 31), 32).label.toDate(), D(2024, 2, 1));
    EXPECT_EQ(f.DAYOFYR(32).label.toDate(), D(2024, 2, 1)); // the day number first, today's year
    EXPECT_EQ(f.DAYOFYR(true).label.toString().toStdString(), "2024137"); // accounting year from 31 Dec

    struct Bound
    {
        QDate date;
        bool isEnd;
        QDate expected;
    };
    const Bound bounds[] = {
        {D(2024, 1, 1), false, D(2023, 12, 31)},
        {D(2024, 1, 4), false, D(2024, 1, 7)},
        {D(2024, 12, 31), true, D(2024, 12, 28)},
    };
    for (const Bound &b : bounds)
        EXPECT_EQ(f.ACCTADJ(b.date, b.isEnd), b.expected) << b.date.toString().toStdString();
}

TEST_F(FtDate, AddingMonths)
{
    const FT_DATE f;
    struct Case
    {
        QDate from;
        int months;
        bool endOfMonth;
        QDate expected;
    };
    const Case cases[] = {
        {D(2024, 1, 31), 1, false, D(2024, 2, 29)},  {D(2024, 4, 30), 1, false, D(2024, 5, 30)},
        {D(2024, 4, 30), 1, true, D(2024, 5, 31)},   {D(2024, 3, 15), -1, false, D(2024, 2, 15)},
        {D(2023, 3, 31), -1, false, D(2023, 2, 28)}, {D(2024, 1, 1), 12, false, D(2025, 1, 1)},
        {D(2024, 4, 29), 1, true, D(2024, 5, 29)}, // not the month's last day: no end-of-month
        {D(2024, 5, 20), 0, false, D(2024, 5, 20)},
    };
    for (const Case &c : cases)
        EXPECT_EQ(f.MADD(c.from, c.months, c.endOfMonth), c.expected) << c.from.toString().toStdString() << " " << c.months;
    EXPECT_EQ(f.MADD(QVariant(), 1), D(2024, 6, 15));                  // no date: today
    EXPECT_EQ(f.MADD(D(2024, 3, 15), QStringLiteral("x")), D(2024, 3, 15)); // no number: 0
}

TEST_F(FtDate, FiscalYearFromAprilMondayFirst)
{
    FT_DATE f;
    const QVariantList config = f.CNFG(QStringLiteral("01/04/2024"), 2);
    EXPECT_EQ(config, (QVariantList{QStringLiteral("2024.04.01"), 2}));
    const QDate may15 = D(2024, 5, 15);
    const PeriodCase cases[] = {
        {"YEAR", f.YEAR(may15), P("2025", D(2024, 4, 1), D(2025, 3, 31))},
        {"month 10", f.MONTH(may15, 10), P("202510", D(2025, 1, 1), D(2025, 1, 31))},
        {"MONTH takes the calendar month's number", f.MONTH(may15), P("202505", D(2024, 8, 1), D(2024, 8, 31))},
        {"QTR of 10 January", f.QTR(D(2025, 1, 10)), P("202504", D(2025, 1, 1), D(2025, 3, 31))},
        {"QTR of 31 March", f.QTR(D(2025, 3, 31)), P("202504", D(2025, 1, 1), D(2025, 3, 31))},
        {"YEAR of 31 March", f.YEAR(D(2025, 3, 31)), P("2025", D(2024, 4, 1), D(2025, 3, 31))},
    };
    for (const PeriodCase &c : cases)
        EXPECT_EQ(show(c.got), show(c.expected)) << c.what;
    EXPECT_EQ(f.DAYTOBOW(D(2024, 5, 19)), 6); // a Sunday
    EXPECT_EQ(f.DAYTOBOW(D(2024, 5, 20)), 0); // a Monday
}

TEST_F(FtDate, AStartInTheMiddleOfAMonthHoldsTheDate)
{
    FT_DATE f;
    f.CNFG(QStringLiteral("15/04/2024"));
    EXPECT_EQ(show(f.YEAR(D(2024, 4, 10))), show(P("2024", D(2023, 4, 15), D(2024, 4, 14))));
    EXPECT_EQ(show(f.YEAR(D(2024, 4, 15))), show(P("2025", D(2024, 4, 15), D(2025, 4, 14))));
    EXPECT_EQ(show(f.QTR(D(2024, 4, 10))), show(P("202404", D(2024, 1, 15), D(2024, 4, 14))));
}

TEST_F(FtDate, Configuration)
{
    FT_DATE f;
    EXPECT_EQ(f.ACONFIG(), (QVariantList{QStringLiteral("1980.01.01"), 1}));
    EXPECT_EQ(f.CNFG(QStringLiteral("29/02/2024")), (QVariantList{QStringLiteral("2024.02.28"), 1}));
    EXPECT_EQ(f.CNFG(QStringLiteral("no date"), 8), (QVariantList{QStringLiteral("2024.02.28"), 1}));
    EXPECT_EQ(f.CNFG(QVariant(), 7), (QVariantList{QStringLiteral("2024.02.28"), 7}));
    QVariantList copy = f.CNFG();
    copy[1] = 3;
    EXPECT_EQ(f.ACONFIG().at(1).toInt(), 7); // the result is a copy
    FT_DATE g(QStringLiteral("yyyy.mm.dd"));
    EXPECT_EQ(g.CNFG(QStringLiteral("1999.07.01")).at(0).toString(), QStringLiteral("1999.07.01"));
}
