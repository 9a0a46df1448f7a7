#include "problem/number_text.h"


#include <algorithm>
#include <charconv>
#include <functional>
#include <cmath>
#include <string>
#include <utility>

namespace vexo {

namespace {

// More decimals than this can never fit in a number text; clamping keeps absurd arguments from
// allocating huge texts without changing any result.
constexpr unsigned kMaxDecimals = 20;

// Above this magnitude every double is already a whole number, and scaling could overflow.
constexpr double kWholeNumbersFrom = 4503599627370496.0; // 2^52

bool isAsciiDigit(QChar c)
{
    return c >= u'0' && c <= u'9';
}

// A typed number after cleaning: sign, integer digits and exactly the asked-for decimals.
struct NumberParts
{
    bool negative = false;
    QString integer; // never empty
    QString fraction;

    qsizetype width() const
    {
        return (negative ? 1 : 0) + integer.size() + (fraction.isEmpty() ? 0 : 1 + fraction.size());
    }
    QString text() const
    {
        QString t = negative ? QStringLiteral("-") : QString();
        t += integer;
        if (!fraction.isEmpty())
            t += u'.' + fraction;
        return t;
    }
};

// Cleans what the user typed. Returns false for an empty value (nothing that belongs to a number).
bool normalise(const QString &typed, unsigned decimals, bool keepSign, NumberParts *parts)
{
    QString t = typed.trimmed();
    if (t.isEmpty())
        return false;
    t.replace(u',', u'.');

    // Only a minus in front makes the number negative; one typed anywhere else is a slip and dropped.
    bool negative = false;
    if (keepSign) {
        negative = t.indexOf(u'-') == 0;
        t.remove(u'-');
    }

    QString kept;
    for (const QChar c : std::as_const(t)) {
        if (isAsciiDigit(c) || c == u'.')
            kept += c;
    }
    if (kept.isEmpty() && !negative)
        return false;

    // Leading zeros go, but only before a minus-less number: "-05" keeps its zero.
    if (!negative) {
        qsizetype zeros = 0;
        while (zeros < kept.size() && kept.at(zeros) == u'0')
            ++zeros;
        kept.remove(0, zeros);
        if (kept.isEmpty())
            kept = QStringLiteral("0");
    }

    const qsizetype point = kept.indexOf(u'.');
    parts->negative = negative;
    parts->integer = point < 0 ? kept : kept.left(point);
    if (parts->integer.isEmpty())
        parts->integer = QStringLiteral("0");
    parts->fraction.clear();
    // With no decimals the fraction is dropped at the first separator, never joined to the integer.
    if (decimals > 0) {
        QString fraction = point < 0 ? QString() : kept.mid(point + 1);
        fraction.remove(u'.');
        parts->fraction = fraction.left(decimals).leftJustified(decimals, u'0');
    }
    return true;
}

QString fail(bool *ok)
{
    if (ok)
        *ok = false;
    return emptyNumberText();
}

QString succeed(const QString &text, bool *ok)
{
    if (ok)
        *ok = true;
    return text.rightJustified(kNumberTextWidth, u' ');
}

// SDAYA2 and SDAYA3: the cleaned text read as a value, rounded and written with the shown decimals.
QString roundedNumberText(const QString &typed, unsigned decimals, unsigned shown, bool keepSign, bool *ok)
{
    decimals = std::min(decimals, kMaxDecimals);
    shown = std::min(shown, kMaxDecimals);
    NumberParts parts;
    if (!normalise(typed, decimals, keepSign, &parts))
        return succeed(QString(), ok);

    QString significant = parts.integer;
    while (significant.size() > 1 && significant.startsWith(u'0'))
        significant.remove(0, 1);
    if (significant.size() > kNumberTextWidth)
        return fail(ok);

    const int rounding = int(std::min(decimals, shown));
    const double value = Val(parts.text());
    // Too wide with the shown decimals: show fewer rather than lose integer digits.
    for (int d = int(shown); d >= 0; --d) {
        const QString text = Str(MROUND(value, std::min(rounding, d)), kNumberTextWidth, d).trimmed();
        if (text.size() <= kNumberTextWidth)
            return succeed(text, ok);
    }
    return fail(ok);
}

QString keepCharacters(const QString &text, QStringView allowed)
{
    QString result;
    const QString trimmed = text.trimmed();
    for (const QChar c : trimmed) {
        if (allowed.contains(c))
            result += c;
    }
    return result;
}

bool isArray(const QVariant &v)
{
    const int id = v.typeId();
    return id == QMetaType::QVariantList || id == QMetaType::QStringList;
}

// Position of the first element that no later one beats in the given direction.
int variantExtreme(const QVariantList &values, QPartialOrdering beats)
{
    if (values.isEmpty())
        return 0;
    int best = 0;
    for (int i = 1; i < values.size(); ++i) {
        if (QVariant::compare(values.at(i), values.at(best)) == beats)
            best = i;
    }
    return best + 1;
}

} // namespace

QString emptyNumberText()
{
    return QString(kNumberTextWidth, u' ');
}

QString SDAYA(const QString &text, unsigned decimals, bool *ok)
{
    decimals = std::min(decimals, kMaxDecimals);
    NumberParts parts;
    if (!normalise(text, decimals, true, &parts))
        return succeed(QString(), ok);

    // Too wide: first drop zeros that only pad the integer after a minus, then decimals from the
    // right (cut, as always here), then the point. Significant integer digits are never dropped.
    while (parts.width() > kNumberTextWidth && parts.integer.size() > 1 && parts.integer.startsWith(u'0'))
        parts.integer.remove(0, 1);
    const qsizetype excess = parts.width() - kNumberTextWidth;
    if (excess > 0 && !parts.fraction.isEmpty()) {
        if (excess < parts.fraction.size())
            parts.fraction.chop(excess);
        else
            parts.fraction.clear();
    }
    if (parts.width() > kNumberTextWidth)
        return fail(ok);
    return succeed(parts.text(), ok);
}

QString SDAYA2(const QString &text, unsigned decimals, unsigned shown, bool *ok)
{
    return roundedNumberText(text, decimals, shown, false, ok);
}

QString SDAYA3(const QString &text, unsigned decimals, unsigned shown, bool *ok)
{
    return roundedNumberText(text, decimals, shown, true, ok);
}

QString CHGALPHA1(const QString &text)
{
    return keepCharacters(text, u"-.,0123456789");
}

QString CHGALPHA2(const QString &text)
{
    return keepCharacters(text, u".,0123456789");
}

bool isTypedNumber(const QString &text, bool sign)
{
    const QString t = text.trimmed();
    qsizetype i = sign && t.startsWith(u'-') ? 1 : 0;
    int digits = 0;
    int separators = 0;
    for (; i < t.size(); ++i) {
        const QChar c = t.at(i);
        if (isAsciiDigit(c))
            ++digits;
        else if ((c == u'.' || c == u',') && ++separators == 1)
            continue;
        else
            return false;
    }
    return digits > 0;
}

std::optional<double> readNumberText(const QString &text, bool *ok)
{
    const QString t = text.trimmed();
    const bool number = isTypedNumber(t, true);
    if (ok)
        *ok = t.isEmpty() || number;
    if (!number)
        return std::nullopt;
    return Val(QString(t).replace(u',', u'.'));
}

namespace {

bool isOwnNumberText(const QString &stored)
{
    return stored.size() == kNumberTextWidth && !stored.endsWith(u' ') && !stored.contains(u',')
        && isTypedNumber(stored, true);
}

} // namespace

std::optional<QString> tableNumberText(const QString &stored, const std::function<QString(const QString &, bool *)> &typed)
{
    if (stored.trimmed().isEmpty())
        return emptyNumberText();
    if (isOwnNumberText(stored))
        return stored;
    bool ok = false;
    if (!readNumberText(stored, &ok))
        return std::nullopt;
    const QString text = typed(stored.trimmed(), &ok);
    if (!ok)
        return std::nullopt;
    return text;
}

std::optional<QString> tablePriceText(const QString &stored)
{
    return tableNumberText(stored, [](const QString &t, bool *ok) { return SDAYA(t, 3, ok); });
}

std::optional<QString> tableContentText(const QString &stored, int decimals)
{
    return tableNumberText(stored, [decimals](const QString &t, bool *ok) {
        return SDAYA3(t, unsigned(std::max(decimals, 0)), 4, ok);
    });
}

QString noNumberCellsText(const QString &intro, const QStringList &cells)
{
    constexpr qsizetype kShown = 12;
    QStringList lines = {intro};
    lines += cells.mid(0, kShown);
    if (cells.size() > kShown)
        lines.append(QStringLiteral("... ve %1 değer daha").arg(cells.size() - kShown));
    return lines.join(u'\n');
}

double MROUND(double x, int decimals)
{
    if (x == 0)
        return 0.0;
    const double f = std::pow(10.0, decimals);
    double y = x * f;
    const double r = y - std::trunc(y);
    y -= r;
    const double d = r - 0.5;
    // The tolerance lets a half that the multiplication left just below 0.5 still round up.
    if (d > 0 || std::fabs(d) < 1e-10)
        y += 1;
    const double result = y / f;
    return result == 0 ? 0.0 : result; // no negative zero
}

double MROUND2(double x, int decimals)
{
    if (x == 0)
        return 0.0;
    const double f = std::pow(10.0, decimals);
    // std::round is exactly floor(y + 0.5) for y >= 0 and ceil(y - 0.5) below, without the error
    // that adding 0.5 in floating point can bring.
    const double result = std::round(x * f) / f;
    return result == 0 ? 0.0 : result;
}

bool FLOATEQUAL(double x, double y, int decimals)
{
    const double e = MROUND2(1.0 / std::pow(10.0, decimals), decimals);
    const double d = MROUND2(std::fabs(x - y), decimals);
    return d < e;
}

bool FLOATCOMPARE(double x, double y, unsigned char n)
{
    const double bound = std::pow(10.0, 1.0 / LOG10(double(n) + 1.0));
    return std::fabs(x - y) < bound;
}

double LOG10(double x)
{
    return std::log(x) / std::log(10.0);
}

double GROFZEROS(double x, int decimals)
{
    const double r = x - std::trunc(x);
    const double i = x - r;
    const double scaled = r * std::pow(10.0, decimals);
    const QString fraction = Str(scaled, decimals, 0).trimmed();
    const QString integer = Str(i, 1, 0).trimmed();
    return Val(integer + u'.' + fraction);
}

QString Str(double value, int width, int decimals)
{
    decimals = std::clamp(decimals, 0, int(kMaxDecimals) * 5);
    if (!std::isfinite(value))
        return QString(std::max(width, 1), u'*');

    double rounded = value;
    const double f = std::pow(10.0, decimals);
    const double scaled = value * f;
    if (std::fabs(scaled) < kWholeNumbersFrom)
        rounded = std::round(scaled) / f;
    QString text = QString::number(rounded, 'f', decimals);
    // A value that rounds to zero is written without a sign.
    if (text.startsWith(u'-') && std::none_of(text.cbegin(), text.cend(), [](QChar c) { return c >= u'1' && c <= u'9'; }))
        text.remove(0, 1);
    return text.rightJustified(width, u' ');
}

double Val(const QString &text, bool *ok)
{
    qsizetype i = 0;
    while (i < text.size() && (text.at(i) == u' ' || text.at(i) == u'\t'))
        ++i;

    std::string number;
    if (i < text.size() && (text.at(i) == u'-' || text.at(i) == u'+')) {
        if (text.at(i) == u'-')
            number += '-';
        ++i;
    }
    bool digits = false;
    while (i < text.size() && isAsciiDigit(text.at(i))) {
        number += char(text.at(i).unicode());
        digits = true;
        ++i;
    }
    if (i < text.size() && text.at(i) == u'.') {
        number += '.';
        ++i;
        while (i < text.size() && isAsciiDigit(text.at(i))) {
            number += char(text.at(i).unicode());
            digits = true;
            ++i;
        }
    }

    double value = 0;
    bool read = false;
    if (digits) {
        // from_chars ignores the process locale, whose decimal separator may be ",".
        const auto [end, ec] = std::from_chars(number.data(), number.data() + number.size(), value);
        read = ec == std::errc() && end == number.data() + number.size() && std::isfinite(value);
    }
    if (ok)
        *ok = read;
    if (!read)
        return 0.0;
    return value == 0 ? 0.0 : value;
}

QList<int> ADIMENS(const QVariant &array)
{
    QList<int> dims;
    if (!isArray(array) || array.toList().isEmpty())
        return dims;
    QVariant level = array;
    while (isArray(level)) {
        const QVariantList list = level.toList();
        dims.append(int(list.size()));
        if (list.isEmpty())
            break;
        level = list.first();
    }
    return dims;
}

int AMAX(const QVariantList &values)
{
    return variantExtreme(values, QPartialOrdering::Greater);
}

int AMIN(const QVariantList &values)
{
    return variantExtreme(values, QPartialOrdering::Less);
}

int AMAX(const QVariant &array)
{
    return isArray(array) ? AMAX(array.toList()) : 0;
}

int AMIN(const QVariant &array)
{
    return isArray(array) ? AMIN(array.toList()) : 0;
}

bool isNumberValue(const QVariant &v)
{
    switch (v.typeId()) {
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
    case QMetaType::Double:
    case QMetaType::Float:
        return true;
    default:
        return false;
    }
}

} // namespace vexo
