// Results into the problem's lists: the final basis becomes the texts of the four result tables,
// the unit cost and the solve counter, and the tables are written into the lists.

#include "solver/entry_prices.h"
#include "solver/ky_optimizer.h"
#include "solver/result_write_back.h"

#include "problem/messages.h"
#include "problem/number_text.h"
#include "problem/open_problem.h"

#include <algorithm>
#include <cmath>

namespace vexo {

namespace {

constexpr double kEqual = 1e-15;
// A share at or below this is at 0 for the entry prices (as entryThresholds takes a basic variable).
constexpr double kLevelZero = 1e-7;

const QString kNoMark = QString(7, u' ');
const QString kMark = QStringLiteral("      *");
// The value of a ratio whose divisor is 0 in the mix.
const QString kUndefined = QStringLiteral("      -    ");

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
    // The entry prices need the shadow prices and follow in step 8.
    for (std::size_t j = 0; j < NYMSAYISI_; ++j) {
        const int n = rowOfColumn[j];
        QString amount = blank11();
        if (n >= 0) {
            const double x = m_t.rhs[std::size_t(n)];
            m_x[j] = x;
            amount = padded(Str(MROUND(x * 100.0, 3), 11, 3));
            costSum += m_t.cb[std::size_t(n)] * x;
        }
        AAUTOYM_.append(QStringList{amount, LOPTI_ ? blank11() : QString()});
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
    std::vector<int> tableauRow(rows, -1);
    auto shared = [&](std::size_t r, double v, int decimals) {
        const Limit limit = ACTSINVALUE(unsigned(r + 1));
        if (!limit)
            return;
        tableauRow[r] = int(k);
        ++k;
        double s = m_t.zj[std::size_t(AILKBAZ_[k - 1])];
        if (m_flipped[k - 1])
            s = -s;
        m_shadow[r] = s == 0.0 ? 0.0 : s;
        marks[r] = ISARETVARMI(unsigned(r + 1), v, *limit, decimals);
    };
    // What each ingredient column is worth at the shadow prices of the nutrient, ratio and group rows.
    std::vector<double> worth(NYMSAYISI_, 0.0);
    auto addWorth = [&](std::size_t r, const std::vector<double> &coefficients) {
        const double s = m_shadow[r].value_or(0.0);
        if (s == 0.0)
            return;
        for (std::size_t j = 0; j < NYMSAYISI_ && j < coefficients.size(); ++j)
            worth[j] += coefficients[j] * s;
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
        addWorth(r, AILKTABLO_[r]);
    }
    // 5. Ratio rows.
    const std::size_t ratioFirst = NBMSAYISI_;
    const std::size_t ratios = ABMOSATIR_num_.size();
    for (std::size_t q = 0; q < ratios; ++q) {
        const double num = contentSum(AILKTABLO_[std::size_t(ABMOSATIR_num_[q])]);
        const double den = contentSum(AILKTABLO_[std::size_t(ABMOSATIR_den_[q])]);
        // A divisor without content in the mix leaves the ratio undefined: a dash, never a number
        // that would break its limit, and no mark.
        if (den == 0.0) {
            values[ratioFirst + q] = kUndefined;
            shared(ratioFirst + q, 0.0, 4);
            marks[ratioFirst + q] = kNoMark;
        } else {
            const double ratio = num / den;
            values[ratioFirst + q] = Str(MROUND(ratio, 4), 11, 4);
            shared(ratioFirst + q, ratio, 4);
        }
        if (const Limit limit = ACTSINVALUE(unsigned(ratioFirst + q + 1)))
            addWorth(ratioFirst + q, ratioCoefficients(AILKTABLO_[std::size_t(ABMOSATIR_num_[q])],
                                                       AILKTABLO_[std::size_t(ABMOSATIR_den_[q])], *limit));
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
        if (g < AYMGMATRIS_.size())
            addWorth(r, AYMGMATRIS_[g]);
    }
    m_rowValues = values;
    m_rowMarks = marks;

    // 8. Entry prices of the ingredients left out (whose amount shows blank in the list). Of an
    // optimum, an ingredient at 0 enters below the least it is worth over every optimal set of shadow
    // prices, its own limit rows left out (entryThresholds); otherwise, and for a share too small to
    // show, the price less the magnitude of the reduced cost. The sums are cut to the eight decimals
    // of the shadow prices, so that a price that is 0 reads 0.
    m_reducedCost.assign(NYMSAYISI_, 0.0);
    m_entryPrice.assign(NYMSAYISI_, 0.0);
    std::vector<EntryColumn> atZero;
    for (std::size_t j = 0; j < NYMSAYISI_; ++j) {
        m_reducedCost[j] = round8(worth[j] - AMALIYET_[j]) + 0.0;
        m_entryPrice[j] = round8(AMALIYET_[j] - std::fabs(m_reducedCost[j])) + 0.0;
        if (LOPTI_ && std::fabs(m_x[j]) <= kLevelZero)
            atZero.push_back(EntryColumn{int(j), worth[j], {}});
    }
    for (std::size_t q = 0; q < m_ingredientRowColumn.size() && !atZero.empty(); ++q) {
        const int t = tableauRow[ingredientFirst + q];
        const int j = m_ingredientRowColumn[q];
        const auto c = std::find_if(atZero.begin(), atZero.end(), [&](const EntryColumn &e) { return e.column == j; });
        if (t >= 0 && c != atZero.end())
            c->ownRows.emplace_back(AILKBAZ_[std::size_t(t)], m_flipped[std::size_t(t)] ? -1.0 : 1.0);
    }
    const std::vector<double> thresholds = entryThresholds(m_t, atZero);
    for (std::size_t n = 0; n < atZero.size(); ++n) {
        const double m = thresholds[n];
        m_entryPrice[std::size_t(atZero[n].column)] = std::isfinite(m) ? round8(m) + 0.0 : m;
    }
    for (std::size_t j = 0; j < NYMSAYISI_ && LOPTI_; ++j) {
        if (std::fabs(MROUND(m_x[j] * 100.0, 3)) >= 0.001)
            continue;
        const double m = m_entryPrice[j];
        QString &entryPrice = AAUTOYM_[qsizetype(j)][1];
        if (std::isnan(m))
            entryPrice = QString(); // not settled: no number at all
        else if (m > kEqual)
            entryPrice = padded(Str(m, 11, 3));
        else if (m < -kEqual)
            entryPrice = padded(QStringLiteral("< 0.000"));
        else
            entryPrice = padded(QStringLiteral("0.000"));
    }
    // The shadow price of an ingredient's own limit is what moving that limit costs: the reduced cost
    // with its sign turned, on the limit the share sits on (the first one), 0 on the others. The final
    // tableau may carry it in the ingredient's column instead (a column at 0 that is not basic) and
    // then prices a limit that binds at 0.
    if (LOPTI_) {
        std::vector<char> sitting(NYMSAYISI_, 0);
        for (std::size_t q = 0; q < m_ingredientRowColumn.size(); ++q) {
            const std::size_t r = ingredientFirst + q;
            const auto j = std::size_t(m_ingredientRowColumn[q]);
            const Limit limit = ACTSINVALUE(unsigned(r + 1));
            if (!m_shadow[r] || !limit)
                continue;
            const bool sits = !sitting[j] && std::fabs(m_x[j] - *limit) < 1e-9;
            sitting[j] = sitting[j] || sits;
            m_shadow[r] = sits ? MROUND2(-m_reducedCost[j], 6) + 0.0 : 0.0;
        }
    }

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
    // Without an optimum the shadow prices and entry prices are those of a penalty basis and mean
    // nothing: the second text is left empty (not blanks), which the lists take as no price at all.
    auto element = [&](std::size_t r) {
        if (!LOPTI_)
            return QStringList{markedText(shownMarks[r], values[r]), QString()};
        return QStringList{markedText(shownMarks[r], values[r]),
                           shownShadow[r] ? shadowText(*shownShadow[r]) : blank11()};
    };
    for (auto &copies : m_copyRows)
        copies = 0;
    for (const auto &[copy, own] : m_splitRows) {
        const auto c = std::size_t(copy);
        ++m_copyRows[c < ratioFirst ? 0 : c < ingredientFirst ? 1 : 2];
    }
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

ResultTable KY_OPTIMIZER::ownResults(ResultRows which) const
{
    switch (which) {
    case ResultRows::Ingredients:
        return AAUTOYM_;
    case ResultRows::Nutrients:
        return AAUTOBM_.mid(0, AAUTOBM_.size() - m_copyRows[0]);
    case ResultRows::Ratios:
        return AAUTOBMO_.mid(0, AAUTOBMO_.size() - m_copyRows[1]);
    case ResultRows::Groups:
        break;
    }
    return AAUTOYMG_.mid(0, AAUTOYMG_.size() - m_copyRows[2]);
}

namespace {

// The solver's own write-back into the open problem's lists; a table that does not fit its list is
// told to the user and written nowhere.
void writeList(ResultRows which, RowList &list, const ResultTable &table, bool savedFlag, bool &dirty)
{
    if (table.isEmpty())
        return;
    const OpenProblem &p = openProblem();
    const WriteBackInput input{p.NCOZUMSAYISI, savedFlag, p.AYMSTOK, p.ABMADLARI};
    if (!writeBackResults(which, list, table, input).ok) {
        ERRMESS(nullptr, QString(), resultMismatchText());
        return;
    }
    dirty = true;
}

} // namespace

void KY_OPTIMIZER::ADDRESULTS1()
{
    OpenProblem &p = openProblem();
    writeList(ResultRows::Ingredients, p.AYMLIST, ownResults(ResultRows::Ingredients), p.LYMKCOZUMVAR, p.LYMDEG);
}

void KY_OPTIMIZER::ADDRESULTS2()
{
    OpenProblem &p = openProblem();
    writeList(ResultRows::Nutrients, p.ABMLIST, ownResults(ResultRows::Nutrients), p.LBMKCOZUMVAR, p.LBMDEG);
}

void KY_OPTIMIZER::ADDRESULTS3()
{
    OpenProblem &p = openProblem();
    writeList(ResultRows::Ratios, p.ABMOLIST, ownResults(ResultRows::Ratios), p.LBMOKCOZUMVAR, p.LBMODEG);
}

void KY_OPTIMIZER::ADDRESULTS4()
{
    OpenProblem &p = openProblem();
    writeList(ResultRows::Groups, p.AYMGLIST, ownResults(ResultRows::Groups), p.LYMGKCOZUMVAR, p.LYMGDEG);
}

} // namespace vexo
