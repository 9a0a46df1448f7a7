#include "solver/result_write_back.h"

#include "problem/number_text.h"

#include <cmath>

namespace vexo {

namespace {

constexpr double kZero = 0.001;

QString blank11()
{
    return QString(kNumberTextWidth, u' ');
}

QString padded(const QString &s)
{
    return s.rightJustified(kNumberTextWidth, u' ');
}

// A result cell read as a number: marks and leading blanks removed; empty and anything below 0.001
// count as 0.
double resultNumber(const QString &text)
{
    const QString t = withoutViolationMark(text).trimmed();
    if (t.isEmpty())
        return 0.0;
    const double v = Val(t);
    return std::fabs(v) < kZero ? 0.0 : v;
}

struct Columns
{
    int columns, current, second, previous, saved, diffPrevious, diffSaved;
};

Columns columnsOf(ResultRows which)
{
    switch (which) {
    case ResultRows::Ingredients:
        return {YM_COLUMNS, YMACOZUM, YMAZFIAT, YMOCOZUM, YMKCOZUM, YMCFARKI, YMKCFARKI};
    case ResultRows::Nutrients:
        return {BM_COLUMNS, BMACOZUM, BMSPRICE, BMOCOZUM, BMKCOZUM, BMCFARKI, BMKCFARKI};
    case ResultRows::Ratios:
        return {BMO_COLUMNS, BMOACOZUM, BMOSPRICE, BMOOCOZUM, BMOKCOZUM, BMOCFARKI, BMOKCFARKI};
    case ResultRows::Groups:
        break;
    }
    return {YMG_COLUMNS, YMGACOZUM, YMGGFIAT, YMGOCOZUM, YMGKCOZUM, YMGCFARKI, YMGKCFARKI};
}

Participation participation(ResultRows which, const Row &row, int n, const WriteBackInput &in)
{
    switch (which) {
    case ResultRows::Ingredients:
        return ingredientParticipation(row, in.stock.value(n, true));
    case ResultRows::Nutrients:
        return nutrientParticipation(row);
    case ResultRows::Ratios:
        return ratioParticipation(row, in.nutrientNames);
    case ResultRows::Groups:
        break;
    }
    return groupParticipation(row);
}

QString difference(double now, double before)
{
    return now == 0.0 && before == 0.0 ? blank11() : Str(now - before, 11, 3);
}

} // namespace

Participation ingredientParticipation(const Row &row, bool inStock)
{
    const bool takes = !isBlank(row.value(YMNAME)) && !isBlank(row.value(YMPRICE)) && inStock;
    return takes ? Participation::Takes : Participation::Blank;
}

Participation nutrientParticipation(const Row &row)
{
    return isBlank(row.value(BMNAME)) ? Participation::Blank : Participation::Takes;
}

Participation ratioParticipation(const Row &row, const QStringList &nutrientNames)
{
    const QString a = row.value(BMONAME1).trimmed();
    const QString b = row.value(BMONAME2).trimmed();
    if (a.isEmpty() || b.isEmpty())
        return Participation::Blank;
    return nutrientNames.contains(a) && nutrientNames.contains(b) ? Participation::Takes : Participation::Leave;
}

Participation groupParticipation(const Row &row)
{
    return isBlank(row.value(YMGNAME)) ? Participation::Blank : Participation::Takes;
}

QString resultMismatchText()
{
    return QStringLiteral("Çözüm sonuçları satırlarla uyuşmuyor, sonuçlar yazılmadı...");
}

WriteBackResult writeBackResults(ResultRows which, RowList &rows, const ResultTable &results,
                                 const WriteBackInput &in)
{
    WriteBackResult out;
    const Columns c = columnsOf(which);

    QList<Participation> parts;
    parts.reserve(rows.size());
    qsizetype taking = 0;
    double dryMatter = 0.0;
    for (int n = 0; n < rows.size(); ++n) {
        parts.append(participation(which, rows.at(n), n, in));
        if (parts.last() != Participation::Takes)
            continue;
        if (which == ResultRows::Nutrients && rows.at(n).value(BMNAME).trimmed() == kDryMatterNutrient
            && dryMatter == 0.0 && taking < results.size())
            dryMatter = Val(withoutViolationMark(results.at(taking).value(0)));
        ++taking;
    }
    if (taking != results.size()) {
        out.ok = false;
        return out;
    }

    qsizetype k = 0;
    for (int n = 0; n < rows.size(); ++n) {
        if (parts.at(n) == Participation::Leave)
            continue;
        Row &row = rows[n];
        while (row.size() < c.columns)
            row.append(blank11());
        if (parts.at(n) == Participation::Blank) {
            row[c.current] = blank11();
            row[c.second] = blank11();
            if (which == ResultRows::Nutrients)
                row[BMKMYYUZ] = blank11();
            continue;
        }
        const QStringList &result = results.at(k++);
        const QString value = result.value(0);
        if (in.counter >= 2)
            row[c.previous] = row[c.current];
        const double now = (in.savedFlag || in.counter >= 2) ? resultNumber(value) : 0.0;
        if (in.counter >= 2)
            row[c.diffPrevious] = difference(now, resultNumber(row[c.previous]));
        if (in.savedFlag)
            row[c.diffSaved] = difference(now, resultNumber(row[c.saved]));

        const bool marked = value.contains(u'*');
        if (std::fabs(Val(withoutViolationMark(value).trimmed())) < kZero)
            row[c.current] = marked ? QStringLiteral("     *     ") : blank11();
        else
            row[c.current] = value;

        const QString second = result.value(1);
        if (second.isEmpty()) {
            // No price has a meaning here (the solve found no optimum).
            row[c.second] = blank11();
        } else if (which == ResultRows::Ingredients) {
            row[c.second] = Val(second.trimmed()) < 0.0 ? padded(QStringLiteral("< 0.000")) : second;
            // An ingredient in the basis at level zero has neither an amount nor an entry price.
            if (isBlank(row[YMACOZUM]) && isBlank(row[YMAZFIAT]))
                row[YMAZFIAT] = padded(QStringLiteral("0.000"));
        } else {
            row[c.second] = second;
        }

        if (which == ResultRows::Nutrients) {
            const QString name = row[BMNAME].trimmed();
            const double level = Val(withoutViolationMark(value).trimmed());
            double v = 0.0;
            if (dryMatter != 0.0) {
                if (name == kDryMatterNutrient)
                    v = level;
                else if (name == kWeightNutrient)
                    v = 1.0;
                else
                    v = MROUND(level / dryMatter * 100.0, 4);
            }
            row[BMKMYYUZ] = Str(v, 11, 4);
        }
    }
    if (which == ResultRows::Nutrients && dryMatter == 0.0 && taking > 0)
        out.statusTexts << QStringLiteral("BM girişinde KM yok, 'KM deki miktarlar' hesaplanamaz!");
    return out;
}

} // namespace vexo
