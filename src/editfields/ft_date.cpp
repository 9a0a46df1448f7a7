#include "editfields/ft_date.h"

#include "editfields/calendar_model.h"
#include "platform/clock.h"
#include "problem/number_text.h"

#include <algorithm>
#include <optional>

namespace vexo {

namespace {

const QString kStartFormat = QStringLiteral("yyyy.mm.dd");

bool isNumber(const QVariant &v)
{
    return isNumberValue(v);
}

bool isDate(const QVariant &v)
{
    return v.typeId() == QMetaType::QDate && v.toDate().isValid();
}

QDate today()
{
    return clock().now().date();
}

QDate dateOr(const QVariant &v)
{
    return isDate(v) ? v.toDate() : today();
}

std::optional<int> numberOf(const QVariant &v)
{
    if (!isNumber(v))
        return std::nullopt;
    return int(v.toDouble());
}

QString year4(int y)
{
    return Str(y, 4, 0);
}

QString zero2(int n, int width = 2)
{
    return QString::number(n).rightJustified(width, u'0');
}

QDate madd(const QDate &d, int n, bool makeEndOfMonth)
{
    const int adj = d.day() - 1;
    const QDate first = d.addDays(-adj);
    auto lastOf = [](const QDate &t) { return t.addDays(31 - t.addDays(31).day()); };
    makeEndOfMonth = makeEndOfMonth && d == lastOf(first);
    QDate t = first;
    for (int i = 0; i < std::abs(n); ++i) {
        t = t.addDays(n > 0 ? 31 : -1);
        t = t.addDays(1 - t.day());
    }
    const QDate last = lastOf(t);
    return makeEndOfMonth ? last : std::min(t.addDays(adj), last);
}

// Whole months from the start of a period to the date (the day of the month counts).
int monthsFrom(const QDate &start, const QDate &d)
{
    int months = (d.year() - start.year()) * 12 + d.month() - start.month();
    if (d.day() < start.day())
        --months;
    return months;
}

int labelPart(const FtPeriod &p, int from, int length)
{
    return int(Val(p.label.toString().mid(from, length)));
}

} // namespace

FT_DATE::FT_DATE(const QString &dateFormat)
    : m_dateFormat(dateFormat)
{
}

int FT_DATE::dayToBow(const QDate &d) const
{
    int n = DoW(d) - m_firstDay;
    if (n < 0)
        n += 7;
    return n;
}

int FT_DATE::DAYTOBOW(const QVariant &date) const
{
    return dayToBow(dateOr(date));
}

QDate FT_DATE::MADD(const QVariant &date, const QVariant &months, const QVariant &makeEndOfMonth) const
{
    return madd(dateOr(date), numberOf(months).value_or(0), makeEndOfMonth.toBool());
}

FtPeriod FT_DATE::year(const QDate &d) const
{
    const int startMonth = m_start.mid(5, 2).toInt();
    const int startDay = m_start.mid(8, 2).toInt();
    // A date before the start day of its calendar year belongs to the fiscal year that began the year
    // before, so the period always holds the date.
    int y = d.year();
    if (d.month() < startMonth || (d.month() == startMonth && d.day() < startDay))
        --y;
    const QDate start = CToD(year4(y) + m_start.mid(4, 6), kStartFormat);
    const QDate end = madd(start, 12, false).addDays(-1);
    return {year4(end.year()), start, end};
}

FtPeriod FT_DATE::YEAR(const QVariant &date) const
{
    return year(dateOr(date));
}

FtPeriod FT_DATE::month(const QDate &d, int m) const
{
    if (m < 1 || m > 12)
        m = 12;
    const FtPeriod fy = year(d);
    const QDate s = madd(fy.start, m - 1, false);
    int k = s.month() - fy.start.month();
    k = k >= 0 ? k + 1 : k + 13;
    const QDate start = madd(fy.start, k - 1, false);
    return {fy.label.toString() + zero2(k), start, madd(start, 1, false).addDays(-1)};
}

FtPeriod FT_DATE::MONTH(const QVariant &date, const QVariant &m) const
{
    const QDate d = dateOr(date);
    return month(d, numberOf(m).value_or(d.month()));
}

FtPeriod FT_DATE::quarter(const QDate &date, std::optional<int> q) const
{
    const FtPeriod fy = year(date);
    QDate d = date;
    if (q) {
        if (*q < 1 || *q > 4)
            q = 4;
        d = madd(fy.start, 3 * (*q - 1), false);
    }
    const int k = std::clamp(monthsFrom(fy.start, d), 0, 11) / 3;
    const QDate start = madd(fy.start, 3 * k, false);
    return {fy.label.toString() + zero2(k + 1), start, madd(start, 3, false).addDays(-1)};
}

FtPeriod FT_DATE::QTR(const QVariant &dateOrQuarter, const QVariant &q) const
{
    if (isNumber(dateOrQuarter))
        return quarter(today(), numberOf(dateOrQuarter));
    return quarter(dateOr(dateOrQuarter), numberOf(q));
}

FtPeriod FT_DATE::WEEK(const QVariant &dateOrWeek, const QVariant &week) const
{
    QDate d = isNumber(dateOrWeek) ? today() : dateOr(dateOrWeek);
    std::optional<int> w = isNumber(dateOrWeek) ? numberOf(dateOrWeek) : numberOf(week);
    const FtPeriod fy = year(d);
    const QDate w0 = fy.start.addDays(-dayToBow(fy.start));
    if (w) {
        const int last = int(w0.daysTo(fy.end) / 7) + 1;
        if (*w < 1 || *w > last)
            w = last;
        d = w0.addDays(7 * (*w - 1));
    }
    d = d.addDays(6 - dayToBow(d));
    const QString label = fy.label.toString() + zero2(int(w0.daysTo(d) / 7) + 1);
    return {label, std::max(d.addDays(-6), fy.start), std::min(d, fy.end)};
}

QDate FT_DATE::accountingBound(const QDate &date, bool isEnd) const
{
    const int t = dayToBow(date);
    QDate d = t > (isEnd ? 2 : 3) ? date.addDays(7 - t) : date.addDays(-t);
    return isEnd ? d.addDays(-1) : d;
}

QDate FT_DATE::ACCTADJ(const QVariant &date, const QVariant &isEnd) const
{
    return accountingBound(dateOr(date), isEnd.toBool());
}

void FT_DATE::adjust(FtPeriod &p) const
{
    p.start = accountingBound(p.start, false);
    p.end = accountingBound(p.end, true);
}

FtPeriod FT_DATE::accountingYear(const QDate &d) const
{
    FtPeriod a = year(d);
    int y = labelPart(a, 0, 4);
    adjust(a);
    if (d < a.start) {
        a = year(madd(d, -1, false));
        --y;
        adjust(a);
    } else if (d > a.end) {
        a = year(madd(d, 1, false));
        ++y;
        adjust(a);
    }
    a.label = year4(y);
    return a;
}

FtPeriod FT_DATE::ACCTYEAR(const QVariant &date) const
{
    return accountingYear(dateOr(date));
}

FtPeriod FT_DATE::ACCTMONTH(const QVariant &date, const QVariant &m) const
{
    QDate d = dateOr(date);
    const int wanted = numberOf(m).value_or(today().month());
    FtPeriod a = month(d, d.month());
    adjust(a);
    // Settle which fiscal year the date belongs to; the month asked for is then taken from it.
    if (d < a.start)
        d = madd(d, -1, false);
    else if (d > a.end)
        d = madd(d, 1, false);
    a = month(d, wanted);
    adjust(a);
    a.label = year4(labelPart(a, 0, 4)) + zero2(labelPart(a, 4, 2));
    return a;
}

FtPeriod FT_DATE::ACCTQTR(const QVariant &dateOrQuarter, const QVariant &q) const
{
    QDate d = isNumber(dateOrQuarter) ? today() : dateOr(dateOrQuarter);
    const std::optional<int> wanted = isNumber(dateOrQuarter) ? numberOf(dateOrQuarter) : numberOf(q);
    FtPeriod a = quarter(d, std::nullopt);
    int y = labelPart(a, 0, 4);
    int k = labelPart(a, 4, 2);
    adjust(a);
    if (d < a.start) {
        d = madd(d, -1, false);
        a = quarter(d, std::nullopt);
        if (--k == 0) {
            k = 4;
            --y;
        }
        adjust(a);
    } else if (d > a.end) {
        d = madd(d, 1, false);
        a = quarter(d, std::nullopt);
        if (++k == 5) {
            k = 1;
            ++y;
        }
        adjust(a);
    }
    if (wanted) {
        a = quarter(d, wanted);
        y = labelPart(a, 0, 4);
        k = labelPart(a, 4, 2);
        adjust(a);
    }
    a.label = year4(y) + zero2(k);
    return a;
}

FtPeriod FT_DATE::ACCTWEEK(const QVariant &dateOrWeek, const QVariant &week) const
{
    QDate d = isNumber(dateOrWeek) ? today() : dateOr(dateOrWeek);
    std::optional<int> w = isNumber(dateOrWeek) ? numberOf(dateOrWeek) : numberOf(week);
    const FtPeriod a = accountingYear(d);
    if (w) {
        const int last = int(a.start.daysTo(a.end) / 7) + 1;
        if (*w < 1 || *w > last)
            w = last;
        d = a.start.addDays(7 * (*w - 1));
    }
    const QString label = a.label.toString() + zero2(int(a.start.daysTo(d) / 7) + 1);
    d = d.addDays(6 - dayToBow(d));
    return {label, d.addDays(-6), d};
}

FtPeriod FT_DATE::DAYOFYR(const QVariant &first, const QVariant &second, const QVariant &third) const
{
    QDate d;
    std::optional<int> day;
    bool isAcct = false;
    if (isNumber(first)) {
        d = today();
        day = numberOf(first);
        isAcct = second.toBool();
    } else if (first.typeId() == QMetaType::Bool) {
        d = today();
        isAcct = first.toBool();
    } else {
        d = dateOr(first);
        day = numberOf(second);
        isAcct = third.toBool();
    }
    FtPeriod a = isAcct ? accountingYear(d) : year(d);
    if (day) {
        const int last = int(a.start.daysTo(a.end)) + 1;
        const int n = *day < 1 || *day > last ? last : *day;
        a.label = a.start.addDays(n - 1);
    } else {
        a.label = a.label.toString() + zero2(int(a.start.daysTo(d)) + 1, 3);
    }
    return a;
}

QVariantList FT_DATE::CNFG(const QVariant &start, const QVariant &firstDay)
{
    if (start.typeId() == QMetaType::QString) {
        QDate dd = CToD(start.toString(), m_dateFormat);
        if (dd.isValid()) {
            if (dd.month() == 2 && dd.day() == 29)
                dd = QDate(dd.year(), 2, 28);
            m_start = DToC(dd, kStartFormat);
        }
    }
    if (const auto n = numberOf(firstDay); n && *n >= 1 && *n <= 7)
        m_firstDay = *n;
    return ACONFIG();
}

} // namespace vexo
