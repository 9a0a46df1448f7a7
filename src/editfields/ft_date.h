#pragma once

#include "problem/date_text.h"

#include <QDate>
#include <QString>
#include <QVariant>
#include <QVariantList>

#include <optional>

namespace vexo {

// A period: its label (a text such as "2024", "202405", "2024366"; the day's date for DAYOFYR with a
// day number) and its first and last day.
struct FtPeriod
{
    QVariant label;
    QDate start;
    QDate end;
    bool operator==(const FtPeriod &) const = default;
};

// Fiscal-calendar arithmetic: which fiscal year, quarter, month and week a date falls in, the same
// for accounting periods whose bounds move to the nearest start of a week, day numbers, days since the
// start of the week and month steps. The fiscal year starts on a configurable day (1 January by
// default) and weeks on a configurable weekday (1 Sunday ... 7 Saturday, Sunday by default).
//
// Every argument is optional and may be of any type, as the callers pass dynamic values: a missing or
// mistyped date is today (from the program's clock), a number in place of the date is the period
// number (with today as the date), and out-of-range period numbers are taken as the last one.
// `dateFormat` is the format CNFG reads its start-day text in.
class FT_DATE
{
public:
    explicit FT_DATE(const QString &dateFormat = QLatin1String(kDateFormat));

    // {fiscal-year start as "yyyy.mm.dd", first day of the week}
    QVariantList ACONFIG() const { return {m_start, m_firstDay}; }

    QDate ACCTADJ(const QVariant &date = {}, const QVariant &isEnd = {}) const;
    FtPeriod ACCTMONTH(const QVariant &date = {}, const QVariant &month = {}) const;
    FtPeriod ACCTQTR(const QVariant &dateOrQuarter = {}, const QVariant &quarter = {}) const;
    FtPeriod ACCTWEEK(const QVariant &dateOrWeek = {}, const QVariant &week = {}) const;
    FtPeriod ACCTYEAR(const QVariant &date = {}) const;
    // Changes the start (a date text in the format above; 29 February becomes 28 February, a text
    // that is no date is ignored) and the first day (1 to 7, others ignored); returns a copy of ACONFIG.
    QVariantList CNFG(const QVariant &start = {}, const QVariant &firstDay = {});
    FtPeriod DAYOFYR(const QVariant &dateOrDayOrAcct = {}, const QVariant &day = {}, const QVariant &isAcct = {}) const;
    int DAYTOBOW(const QVariant &date = {}) const;
    FtPeriod MONTH(const QVariant &date = {}, const QVariant &month = {}) const;
    FtPeriod QTR(const QVariant &dateOrQuarter = {}, const QVariant &quarter = {}) const;
    FtPeriod YEAR(const QVariant &date = {}) const;
    QDate MADD(const QVariant &date = {}, const QVariant &months = {}, const QVariant &makeEndOfMonth = {}) const;
    FtPeriod WEEK(const QVariant &dateOrWeek = {}, const QVariant &week = {}) const;

private:
    int dayToBow(const QDate &d) const;
    QDate accountingBound(const QDate &d, bool isEnd) const;
    FtPeriod year(const QDate &d) const;
    FtPeriod month(const QDate &d, int m) const;
    FtPeriod quarter(const QDate &d, std::optional<int> q) const;
    FtPeriod accountingYear(const QDate &d) const;
    void adjust(FtPeriod &p) const;

    QString m_start = QStringLiteral("1980.01.01");
    int m_firstDay = 1;
    QString m_dateFormat;
};

} // namespace vexo
