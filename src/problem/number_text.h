#pragma once

#include <QList>
#include <QString>
#include <QStringList>
#include <QVariant>

#include <functional>
#include <iterator>
#include <optional>

namespace vexo {

// Every number of a problem is held and stored as a number text: eleven characters, right-aligned,
// "." as the decimal point, a minus only in front. An empty value is eleven blanks.
constexpr int kNumberTextWidth = 11;
QString emptyNumberText();

// Turn what the user typed into a number text with the given decimals. "," counts as the decimal
// point, letters and units are dropped, and only the first separator counts.
//
// A value whose text would be wider than eleven characters keeps all its integer digits and loses
// decimals instead; when even no decimals fit, *ok is set to false and the result is eleven blanks,
// so a caller that checks refuses the entry and one that does not stores an empty value rather than
// a wrong one. Blank input is an empty value, not a failure (*ok true).
//
// SDAYA only rewrites characters (no rounding, a typed minus stays, "-05" stays "-05").
QString SDAYA(const QString &text, unsigned decimals, bool *ok = nullptr);
// SDAYA2 never gives a negative number; SDAYA3 keeps the sign. Both cut the typed text to `decimals`,
// round with MROUND to min(decimals, shown) and write `shown` decimals.
QString SDAYA2(const QString &text, unsigned decimals, unsigned shown = 4, bool *ok = nullptr);
QString SDAYA3(const QString &text, unsigned decimals, unsigned shown = 4, bool *ok = nullptr);

// The characters of the trimmed text that may belong to a number, in their order (not padded).
QString CHGALPHA1(const QString &text); // "-.,0123456789"
QString CHGALPHA2(const QString &text); // ".,0123456789", no minus
// Whether a typed text (outer blanks aside) reads wholly as one number: digits with at most one
// decimal point or comma, and a leading minus where `sign` allows one. "12,5", ",5" and "7." are
// numbers; "", ".", "1.2.3" and "1-2" are not.
bool isTypedNumber(const QString &text, bool sign);

// Reads a number text as it is stored in a table, whichever program wrote it: outer blanks aside, an
// optional leading minus and digits with at most one "." or "," as the decimal point ("77,5" is 77.5).
// A blank text is no value and no fault (nothing, *ok true); any other text that is not wholly one
// such number ("12abc", "1.234,5", "1-2") is no value either, and *ok is false.
std::optional<double> readNumberText(const QString &text, bool *ok = nullptr);
// A number text read from a table, brought into the program's own form: a text already in it (a
// number right-aligned in eleven characters with "." as the point) comes back byte for byte; any
// other number becomes what typing it would give (SDAYA with three decimals for a price, SDAYA3 with
// the nutrient's decimals and four shown for a content); a blank text is eleven blanks. Nothing
// when the text is not a number, or the number does not fit.
std::optional<QString> tablePriceText(const QString &stored);
// The same with the column's own rule: `typed` gives what typing the (trimmed) text into the column
// gives, and sets its flag false when the number does not fit.
std::optional<QString> tableNumberText(const QString &stored,
                                       const std::function<QString(const QString &, bool *)> &typed);
std::optional<QString> tableContentText(const QString &stored, int decimals);

// A message naming cells that hold no number: `intro` on its own line, then one line per cell (the
// first twelve of many, with how many more).
QString noNumberCellsText(const QString &intro, const QStringList &cells);

// Rounds a scaled fraction of one half or more (with a tolerance of 1e-10 below it) up and cuts any
// other, so negative values are always cut toward zero: MROUND(-2.5, 0) == -2, MROUND(1.005, 2) == 1.01.
double MROUND(double x, int decimals);
// Half away from zero without tolerance: MROUND2(-2.5, 0) == -3, MROUND2(1.005, 2) == 1.00.
double MROUND2(double x, int decimals);

// True when x and y agree to n decimals.
bool FLOATEQUAL(double x, double y, int decimals);
// True when |x - y| < 10^(1 / LOG10(n + 1)). With n == 0 the bound is infinite, so every finite
// difference compares as close.
bool FLOATCOMPARE(double x, double y, unsigned char n);
double LOG10(double x);
// A number rebuilt from the integer part of x and its fraction scaled by 10^n, written without
// leading zeros: GROFZEROS(1.05, 2) == 1.5, GROFZEROS(1.25, 2) == 1.25.
double GROFZEROS(double x, int decimals);

// The value right-aligned in `width` characters with exactly `decimals` decimals, "." as the point,
// rounded half away from zero. A value that needs more room is written in full (never cut, never
// starred), so the text is always the value; callers with a fixed column check size() > width.
// Infinity and NaN have no number text and give `width` asterisks (at least one), which Val reads as 0.
QString Str(double value, int width, int decimals);
// Reads the leading number of the text: blanks skipped, an optional sign, digits, "." and digits.
// A text that does not begin with a number reads 0; *ok says whether a finite number was read.
double Val(const QString &text, bool *ok = nullptr);

// True when the value holds a number of any width (int, unsigned, long, float, double).
bool isNumberValue(const QVariant &v);

// Arrays are QVariantLists (a QStringList counts too), nested for tables.
// The sizes of the dimensions, following the first element of each level: 3 rows of 5 give {3, 5},
// {} gives {}, {{}} gives {1, 0}. A value that is not an array gives {}.
QList<int> ADIMENS(const QVariant &array);

// The 1-based position of the first largest (AMAX) or smallest (AMIN) element, 0 when empty.
template <typename Range>
int AMAX(const Range &values)
{
    int best = 0;
    int pos = 0;
    auto bestIt = std::begin(values);
    for (auto it = std::begin(values); it != std::end(values); ++it) {
        ++pos;
        if (best == 0 || *bestIt < *it) {
            best = pos;
            bestIt = it;
        }
    }
    return best;
}

template <typename Range>
int AMIN(const Range &values)
{
    int best = 0;
    int pos = 0;
    auto bestIt = std::begin(values);
    for (auto it = std::begin(values); it != std::end(values); ++it) {
        ++pos;
        if (best == 0 || *it < *bestIt) {
            best = pos;
            bestIt = it;
        }
    }
    return best;
}

// The same over dynamic values: a value that is not an array gives 0; elements compare as QVariant
// compares them (values that do not compare never replace the current choice).
int AMAX(const QVariantList &values);
int AMIN(const QVariantList &values);
int AMAX(const QVariant &array);
int AMIN(const QVariant &array);

} // namespace vexo
