// Results into the problem's lists: the final basis becomes the texts of the four result tables,
// the unit cost and the solve counter, and the tables are written into the lists.

#include "solver/ky_optimizer.h"

#include "problem/number_text.h"
#include "problem/open_problem.h"

#include <cmath>
#include <functional>

namespace vexo {

namespace {

constexpr double kEqual = 1e-15;

const QString kNoMark = QString(7, u' ');
const QString kMark = QStringLiteral("      *");

QString blank11()
{
    return QString(kNumberTextWidth, u' ');
}

QString leftTrimmed(const QString &s)
{
    qsizetype i = 0;
    while (i < s.size() && s.at(i) == u' ')
        ++i;
    return s.mid(i);
}

QString padded(const QString &s)
{
    return s.rightJustified(kNumberTextWidth, u' ');
}

QString shadowText(double s)
{
    if (s < -kEqual)
        return padded(QStringLiteral("< 0.0000"));
    if (std::fabs(s) < kEqual)
        return padded(QStringLiteral("0.0000"));
    return padded(Str(s, 11, 4));
}

QString markedText(const QString &mark, const QString &value)
{
    return padded(leftTrimmed(mark) + leftTrimmed(value));
}

// A result column read as a number: marks removed, an empty text and anything below 0.001 count 0.
double resultNumber(const QString &text)
{
    QString t = text;
    t.remove(u'*');
    t = t.trimmed();
    if (t.isEmpty())
        return 0.0;
    const double v = Val(t);
    return std::fabs(v) < 0.001 ? 0.0 : v;
}

void ensureWidth(Row &row, int columns)
{
    while (row.size() < columns)
        row.append(blank11());
}

enum class Part { Takes, Blank, Leave };

struct ListColumns
{
    int columns, current, price, previous, saved, diffPrevious, diffSaved;
};

// Writes the elements into the rows that take part, in order (the k-th such row gets element k).
// `after` finishes a row that took part; `blankRow` empties the result of a row that does not.
void writeResults(RowList &list, const ResultTable &elements, const ListColumns &c, bool savedFlag, int counter,
                  const std::function<Part(int)> &part, const std::function<void(Row &, int)> &after,
                  const std::function<void(Row &)> &blankRow)
{
    qsizetype k = 0;
    for (int n = 0; n < list.size(); ++n) {
        Row &row = list[n];
        const Part which = part(n);
        if (which == Part::Leave)
            continue;
        ensureWidth(row, c.columns);
        if (which == Part::Blank) {
            blankRow(row);
            continue;
        }
        if (k >= elements.size())
            continue;
        const QStringList &e = elements.at(k);
        if (counter >= 2)
            row[c.previous] = row[c.current];
        const QString &value = e.value(0);
        const bool star = value.contains(u'*');
        QString plain = value;
        plain.replace(u'*', u' ');
        if (std::fabs(Val(plain)) < 0.001)
            row[c.current] = star ? QStringLiteral("     *     ") : blank11();
        else
            row[c.current] = value;
        row[c.price] = e.value(1);
        double current = 0.0;
        if (savedFlag || counter >= 2)
            current = resultNumber(row[c.current]);
        if (counter >= 2) {
            const double previous = resultNumber(row[c.previous]);
            row[c.diffPrevious] = current == 0.0 && previous == 0.0 ? blank11() : Str(current - previous, 11, 3);
        }
        if (savedFlag) {
            const double saved = resultNumber(row[c.saved]);
            row[c.diffSaved] = current == 0.0 && saved == 0.0 ? blank11() : Str(current - saved, 11, 3);
        }
        after(row, int(k));
        ++k;
    }
}

} // namespace

QString KY_OPTIMIZER::ISARETVARMI(unsigned row, double calculated, double limit, int decimals) const
{
    const double a = MROUND(calculated, decimals);
    const double b = MROUND(limit, decimals);
    if (LOPTI_ || row < 1 || row > AILKSINIR_.size())
        return kNoMark;
    const std::size_t k = row - 1;
    bool broken = false;
    if (AILKSINIR_.fix[k])
        broken = std::fabs(a - b) >= kEqual;
    else if (AILKSINIR_.min[k])
        broken = a < b - kEqual;
    else if (AILKSINIR_.max[k])
        broken = a > b + kEqual;
    return broken ? kMark : kNoMark;
}

bool KY_OPTIMIZER::AUTOSOLUTION()
{
    AAUTOYM_.clear();
    AAUTOYMG_.clear();
    AAUTOBM_.clear();
    AAUTOBMO_.clear();
    OpenProblem &p = openProblem();

    // 1. Ingredient columns.
    std::vector<int> rowOfColumn(std::size_t(m_t.columns()), -1);
    for (int i = 0; i < m_t.rows(); ++i)
        rowOfColumn[std::size_t(m_t.basis[std::size_t(i)])] = i;
    m_x.assign(NYMSAYISI_, 0.0);
    double costSum = 0.0;
    for (std::size_t j = 0; j < NYMSAYISI_; ++j) {
        const int n = rowOfColumn[j];
        QString amount;
        QString entryPrice;
        if (n >= 0) {
            const double x = m_t.rhs[std::size_t(n)];
            m_x[j] = x;
            amount = padded(Str(MROUND(x * 100.0, 3), 11, 3));
            costSum += m_t.cb[std::size_t(n)] * x;
            entryPrice = blank11();
        } else {
            amount = blank11();
            const double m = AMALIYET_[j] - std::fabs(m_t.zjcj[j]);
            if (m > kEqual)
                entryPrice = padded(Str(m, 11, 3));
            else if (m < -kEqual)
                entryPrice = padded(QStringLiteral("< 0.000"));
            else
                entryPrice = padded(QStringLiteral("0.000"));
        }
        AAUTOYM_.append(QStringList{amount, entryPrice});
    }
    m_costSum = costSum;

    // 2. Costs and the counter.
    if (p.NMALIYET != 0.0)
        p.NONCEKIMALIYET = p.NMALIYET;
    p.NMALIYET = MROUND(costSum, 3);
    ++p.NCOZUMSAYISI;
    p.LPRMDEG = true;

    // 3. The rows of the full row list, each with its value, mark and shadow price.
    const std::size_t rows = std::size_t(ASATIRADI_.size());
    m_shadow.assign(rows, std::nullopt);
    std::vector<QString> values(rows), marks(rows, kNoMark);
    std::size_t k = 0;
    auto shared = [&](std::size_t r, double v, int decimals) {
        const Limit limit = ACTSINVALUE(unsigned(r + 1));
        if (!limit)
            return;
        ++k;
        double s = m_t.zj[std::size_t(AILKBAZ_[k - 1])];
        if (m_flipped[k - 1])
            s = -s;
        m_shadow[r] = s == 0.0 ? 0.0 : s;
        marks[r] = ISARETVARMI(unsigned(r + 1), v, *limit, decimals);
    };
    auto contentSum = [&](const std::vector<double> &content) {
        double v = 0.0;
        for (std::size_t j = 0; j < NYMSAYISI_ && j < content.size(); ++j) {
            if (content[j] != 0.0 && m_x[j] != 0.0)
                v += MROUND(content[j] * m_x[j], 14);
        }
        return v;
    };

    // 4. Nutrient rows.
    for (std::size_t r = 0; r < NBMSAYISI_; ++r) {
        const double v = contentSum(AILKTABLO_[r]);
        values[r] = Str(MROUND(v, 4), 11, 4);
        shared(r, v, 4);
    }
    // 5. Ratio rows.
    const std::size_t ratioFirst = NBMSAYISI_;
    const std::size_t ratios = ABMOSATIR_num_.size();
    for (std::size_t q = 0; q < ratios; ++q) {
        const double num = contentSum(AILKTABLO_[std::size_t(ABMOSATIR_num_[q])]);
        const double den = contentSum(AILKTABLO_[std::size_t(ABMOSATIR_den_[q])]);
        const double ratio = den == 0.0 ? 0.0 : num / den;
        values[ratioFirst + q] = Str(MROUND(ratio, 4), 11, 4);
        shared(ratioFirst + q, ratio, 4);
    }
    // 6. Ingredient-limit rows; a broken limit puts one more mark in front of the amount.
    const std::size_t ingredientFirst = ratioFirst + ratios;
    for (std::size_t q = 0; q < m_ingredientRowColumn.size(); ++q) {
        const std::size_t r = ingredientFirst + q;
        const std::size_t j = std::size_t(m_ingredientRowColumn[q]);
        shared(r, m_x[j], 5);
        values[r] = Str(MROUND(m_x[j] * 100.0, 3), 11, 3);
        if (marks[r].contains(u'*'))
            AAUTOYM_[qsizetype(j)][0] = markedText(marks[r], AAUTOYM_[qsizetype(j)][0]);
    }
    // 7. Group rows.
    const std::size_t groupFirst = ingredientFirst + m_ingredientRowColumn.size();
    for (std::size_t r = groupFirst; r < rows; ++r) {
        const std::size_t g = r - groupFirst;
        const double s = g < AYMGMATRIS_.size() ? contentSum(AYMGMATRIS_[g]) : 0.0;
        values[r] = Str(MROUND(s * 100.0, 3), 11, 3);
        shared(r, s, 5);
    }
    m_rowValues = values;
    m_rowMarks = marks;

    // A two-sided limit shows in its own row whichever of its two rows is broken or binds.
    std::vector<QString> shownMarks = marks;
    std::vector<Limit> shownShadow = m_shadow;
    for (const auto &[copy, own] : m_splitRows) {
        const auto c = std::size_t(copy);
        const auto o = std::size_t(own);
        if (marks[c].contains(u'*'))
            shownMarks[o] = marks[c];
        if (shownShadow[o] && shownShadow[c] && *shownShadow[o] == 0.0)
            shownShadow[o] = shownShadow[c];
    }
    auto element = [&](std::size_t r) {
        return QStringList{markedText(shownMarks[r], values[r]),
                           shownShadow[r] ? shadowText(*shownShadow[r]) : blank11()};
    };
    for (std::size_t r = 0; r < NBMSAYISI_; ++r)
        AAUTOBM_.append(element(r));
    for (std::size_t r = ratioFirst; r < ingredientFirst; ++r)
        AAUTOBMO_.append(element(r));
    for (std::size_t r = groupFirst; r < rows; ++r)
        AAUTOYMG_.append(element(r));

    ADDRESULTS2();
    ADDRESULTS3();
    ADDRESULTS1();
    ADDRESULTS4();
    return true;
}

void KY_OPTIMIZER::ADDRESULTS1()
{
    if (AAUTOYM_.isEmpty())
        return;
    OpenProblem &p = openProblem();
    const ListColumns c{YM_COLUMNS, YMACOZUM, YMAZFIAT, YMOCOZUM, YMKCOZUM, YMCFARKI, YMKCFARKI};
    writeResults(
        p.AYMLIST, AAUTOYM_, c, p.LYMKCOZUMVAR, p.NCOZUMSAYISI,
        [&](int n) {
            const Row &row = p.AYMLIST.at(n);
            const bool takes = !isBlank(row.value(YMNAME)) && !isBlank(row.value(YMPRICE)) && p.AYMSTOK.value(n, true);
            return takes ? Part::Takes : Part::Blank;
        },
        [](Row &row, int) {
            // A basic ingredient at level 0 has neither an amount nor an entry price.
            if (isBlank(row[YMACOZUM]) && isBlank(row[YMAZFIAT]))
                row[YMAZFIAT] = padded(QStringLiteral("0.000"));
        },
        [](Row &row) {
            row[YMACOZUM] = blank11();
            row[YMAZFIAT] = blank11();
        });
    p.LYMDEG = true;
}

void KY_OPTIMIZER::ADDRESULTS2()
{
    if (AAUTOBM_.isEmpty())
        return;
    OpenProblem &p = openProblem();
    double reference = 0.0;
    const qsizetype km = p.ABMADLARI.indexOf(kDryMatterNutrient);
    if (km >= 0 && km < AAUTOBM_.size())
        reference = Val(withoutViolationMark(AAUTOBM_.at(km).value(0)));
    const ListColumns c{BM_COLUMNS, BMACOZUM, BMSPRICE, BMOCOZUM, BMKCOZUM, BMCFARKI, BMKCFARKI};
    writeResults(
        p.ABMLIST, AAUTOBM_, c, p.LBMKCOZUMVAR, p.NCOZUMSAYISI,
        [&](int n) { return isBlank(p.ABMLIST.at(n).value(BMNAME)) ? Part::Blank : Part::Takes; },
        [&](Row &row, int k) {
            const double value = Val(withoutViolationMark(AAUTOBM_.at(k).value(0)));
            const QString name = row[BMNAME].trimmed();
            double dry = 0.0;
            if (reference != 0.0) {
                if (name == kDryMatterNutrient)
                    dry = value;
                else if (name == kWeightNutrient)
                    dry = 1.0;
                else
                    dry = MROUND(value / reference * 100.0, 4);
            }
            row[BMKMYYUZ] = Str(dry, 11, 4);
        },
        [](Row &row) {
            row[BMACOZUM] = blank11();
            row[BMSPRICE] = blank11();
            row[BMKMYYUZ] = blank11();
        });
    p.LBMDEG = true;
}

void KY_OPTIMIZER::ADDRESULTS3()
{
    if (AAUTOBMO_.isEmpty())
        return;
    OpenProblem &p = openProblem();
    const ListColumns c{BMO_COLUMNS, BMOACOZUM, BMOSPRICE, BMOOCOZUM, BMOKCOZUM, BMOCFARKI, BMOKCFARKI};
    writeResults(
        p.ABMOLIST, AAUTOBMO_, c, p.LBMOKCOZUMVAR, p.NCOZUMSAYISI,
        [&](int n) {
            const Row &row = p.ABMOLIST.at(n);
            const QString a = row.value(BMONAME1).trimmed();
            const QString b = row.value(BMONAME2).trimmed();
            if (a.isEmpty() || b.isEmpty())
                return Part::Blank;
            return p.ABMADLARI.contains(a) && p.ABMADLARI.contains(b) ? Part::Takes : Part::Leave;
        },
        [](Row &, int) {},
        [](Row &row) {
            row[BMOACOZUM] = blank11();
            row[BMOSPRICE] = blank11();
        });
    p.LBMODEG = true;
}

void KY_OPTIMIZER::ADDRESULTS4()
{
    if (AAUTOYMG_.isEmpty())
        return;
    OpenProblem &p = openProblem();
    const ListColumns c{YMG_COLUMNS, YMGACOZUM, YMGGFIAT, YMGOCOZUM, YMGKCOZUM, YMGCFARKI, YMGKCFARKI};
    writeResults(
        p.AYMGLIST, AAUTOYMG_, c, p.LYMGKCOZUMVAR, p.NCOZUMSAYISI,
        [&](int n) { return isBlank(p.AYMGLIST.at(n).value(YMGNAME)) ? Part::Blank : Part::Takes; },
        [](Row &, int) {},
        [](Row &row) {
            row[YMGACOZUM] = blank11();
            row[YMGGFIAT] = blank11();
        });
    p.LYMGDEG = true;
}

} // namespace vexo
