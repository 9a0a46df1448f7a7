#include "solver/simplex_tableau.h"

#include <algorithm>
#include <bit>
#include <cmath>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace vexo {

namespace {

// Values closer than this compare equal, as the solver's comparisons always have.
constexpr double kEqual = 1e-15;

constexpr double kImproves = 1e-8;  // a z minus cost at or below it does not lower the cost
constexpr double kRatioRow = 1e-9;  // rows of the ratio test, zero ratios and ties
constexpr double kClean = 1e-10;    // pivot results below it become exactly 0

bool isZero(double x)
{
    return std::fabs(x) < kEqual;
}

// x times 10^8 rounded half away from zero, without a branch (a mispredicted branch per term costs
// more than the whole term): round the magnitude to the nearest integer with the 2^52 trick, move a
// half that went to the even neighbour up, and put the sign back. Magnitudes of 2^52 and more are
// whole numbers already.
inline double scaledRound8(double x)
{
    const double y = x * 1e8;
    const double big = 4503599627370496.0; // 2^52
    const double ay = std::fabs(y);
    double n = (ay + big) - big;
    n += (ay - n == 0.5) ? 1.0 : 0.0;
    n = ay < big ? n : ay;
    return std::copysign(n, y);
}

inline double round8Inline(double x)
{
    return scaledRound8(x) / 1e8 + 0.0; // + 0.0: no negative zero
}

// The pivot loops are cloned for AVX2 where the processor has it; the arithmetic is the same in
// every clone (no contraction into fused multiply-adds), only wider.
#if defined(__GNUC__) && !defined(__clang__) && defined(__x86_64__)
#define VEXO_KERNEL __attribute__((target_clones("avx2", "default")))
#else
#define VEXO_KERNEL
#endif

// One row's products for the pricing: entry by entry where the row has few entries, in vector
// steps over 64 columns where it has many (a zero entry adds zero).
#if defined(__GNUC__) && !defined(__clang__) && defined(__x86_64__)
__attribute__((target_clones("arch=haswell", "default")))
#endif
void accumulateRow(double *__restrict z, const double *__restrict a, const unsigned long long *marks,
                   std::size_t words, double c, int active)
{
    for (std::size_t w = 0; w < words; ++w) {
        unsigned long long bits = marks[w];
        if (bits == 0)
            continue;
        const int from = int(w * 64);
        if (std::popcount(bits) >= 12) {
            const int n = std::min(64, active - from);
            for (int j = 0; j < n; ++j)
                z[from + j] += scaledRound8(c * a[from + j]);
            continue;
        }
        while (bits) {
            const int j = from + std::countr_zero(bits);
            bits &= bits - 1;
            z[j] += scaledRound8(c * a[j]);
        }
    }
}

VEXO_KERNEL void divideRow(double *__restrict a, double p, int n)
{
    for (int j = 0; j < n; ++j) {
        const double v = a[j] / p;
        a[j] = std::fabs(v) < kClean ? 0.0 : v;
    }
}

VEXO_KERNEL void eliminateRow(double *__restrict a, const double *__restrict pivotRow, double f, int n)
{
    for (int j = 0; j < n; ++j) {
        const double v = a[j] - pivotRow[j] * f;
        a[j] = std::fabs(v) < kClean ? 0.0 : v;
    }
}

double clean(double v)
{
    return std::fabs(v) < kClean ? 0.0 : v;
}

} // namespace

SimplexLimits &simplexLimits()
{
    static SimplexLimits limits;
    return limits;
}

double round8(double x)
{
    if (x == 0)
        return 0.0;
    const double r = std::round(x * 1e8) / 1e8;
    return r == 0 ? 0.0 : r;
}

SimplexTableau::SimplexTableau(int rows, int columns, const std::vector<int> &mirrorOf)
    : rhs(std::size_t(rows), 0.0)
    , basis(std::size_t(rows), -1)
    , cb(std::size_t(rows), 0.0)
    , cost(std::size_t(columns), 0.0)
    , zj(std::size_t(columns), 0.0)
    , zjcj(std::size_t(columns), 0.0)
    , artificial(std::size_t(columns), 0)
    , barred(std::size_t(columns), 0)
    , m_mirrorOf(mirrorOf)
    , m_rows(rows)
    , m_cols(columns)
    // Rows start on 64-byte boundaries of the vector's storage, which keeps the vector loops aligned.
    , m_stride((std::size_t(columns) + 7) / 8 * 8)
    , m_a(std::size_t(rows) * m_stride, 0.0)
{
    if (!m_mirrorOf.empty() && m_mirrorOf.size() != std::size_t(columns))
        m_mirrorOf.clear();
    m_phys.assign(std::size_t(columns), 0);
    for (int pass = 0; pass < 2; ++pass) {
        for (int j = 0; j < columns; ++j) {
            const bool mirror = !m_mirrorOf.empty() && m_mirrorOf[std::size_t(j)] >= 0;
            if (mirror == (pass == 1)) {
                m_phys[std::size_t(j)] = int(m_logical.size());
                m_logical.push_back(j);
            }
        }
        if (pass == 0)
            m_active = int(m_logical.size());
    }
    m_zs.assign(std::size_t(m_active), 0.0);
}

int SimplexTableau::storedColumn(int j, double *sign) const
{
    const int m = m_mirrorOf.empty() ? -1 : m_mirrorOf[std::size_t(j)];
    *sign = m >= 0 ? -1.0 : 1.0;
    return m_phys[std::size_t(m >= 0 ? m : j)];
}

void SimplexTableau::KRITER()
{
    std::fill(m_zs.begin(), m_zs.end(), 0.0);
    double *z = m_zs.data();
    for (int i = 0; i < m_rows; ++i) {
        const double c = cb[std::size_t(i)];
        if (isZero(c))
            continue;
        accumulateRow(z, row(i), m_marks.data() + std::size_t(i) * m_words, m_words, c, m_active);
    }
    // Each product was rounded to a whole number of 10^-8; their sums are exact in units of 10^-8
    // and are scaled back once per column. A mirror column's products are the negated ones.
    for (int j = 0; j < m_cols; ++j) {
        double sign = 1.0;
        const int p = storedColumn(j, &sign);
        const double v = sign * z[p] / 1e8 + 0.0;
        zj[std::size_t(j)] = v;
        zjcj[std::size_t(j)] = round8Inline(v - cost[std::size_t(j)]);
    }
}

bool SimplexTableau::HEPSI() const
{
    for (int j = 0; j < m_cols; ++j) {
        if (!barred[std::size_t(j)] && zjcj[std::size_t(j)] > kImproves)
            return false;
    }
    return true;
}

bool SimplexTableau::GVEKTOR()
{
    double best = 0.0;
    int column = -1;
    for (int j = 0; j < m_cols; ++j) {
        if (barred[std::size_t(j)])
            continue;
        const double d = zjcj[std::size_t(j)];
        if (blandMode) {
            if (d > kImproves) {
                column = j;
                break;
            }
        } else if (d > best + kImproves) {
            best = d;
            column = j;
        }
    }
    if (column < 0)
        return false;
    double sign = 1.0;
    const int p = storedColumn(column, &sign);
    bool bounded = false;
    for (int i = 0; i < m_rows && !bounded; ++i)
        bounded = sign * row(i)[p] > kImproves;
    if (!bounded)
        return false;
    entering = column;
    return true;
}

bool SimplexTableau::HESTETA()
{
    double sign = 1.0;
    const int pe = storedColumn(entering, &sign);
    auto entry = [&](int i) { return sign * row(i)[pe]; };
    int first = -1;
    double smallest = 0.0;
    // The ratios are kept only implicitly: a first pass finds the first smallest, a second the ties.
    auto ratioOf = [&](int i) {
        const double r = rhs[std::size_t(i)];
        if (std::fabs(r) < kRatioRow)
            return 0.0;
        double q = r / entry(i);
        if (std::fabs(q) < kRatioRow)
            q = 0.0;
        return round8Inline(q);
    };
    for (int i = 0; i < m_rows; ++i) {
        if (!(entry(i) > kRatioRow))
            continue;
        const double q = ratioOf(i);
        if (first < 0 || q < smallest - kEqual) {
            first = i;
            smallest = q;
        }
    }
    if (first < 0) {
        leaving = -1;
        return false;
    }
    int chosen = first;
    int ties = 0;
    for (int i = 0; i < m_rows; ++i) {
        if (!(entry(i) > kRatioRow))
            continue;
        if (std::fabs(ratioOf(i) - smallest) < kRatioRow) {
            ++ties;
            if (basis[std::size_t(i)] < basis[std::size_t(chosen)])
                chosen = i;
        }
    }
    if (ties <= 1)
        chosen = first;
    leaving = chosen;
    lastPivotDegenerate = smallest == 0.0;
    return true;
}

void SimplexTableau::noteDegeneracy(long runBeforeBland)
{
    if (lastPivotDegenerate) {
        if (++degenerateRun >= runBeforeBland)
            blandMode = true;
    } else {
        degenerateRun = 0;
        blandMode = false;
    }
}

void SimplexTableau::TABLODEGIS()
{
    pivot(leaving, entering);
}

void SimplexTableau::indexRows()
{
    // Nothing the pivot computes stays below the cleaning bound; start the same way.
    for (int i = 0; i < m_rows; ++i) {
        double *a = row(i);
        for (int j = 0; j < m_active; ++j)
            a[j] = clean(a[j]);
    }
    m_words = (std::size_t(m_active) + 63) / 64;
    markRows();
}

void SimplexTableau::markRows()
{
    m_pivotsSinceMarking = 0;
    m_marks.assign(std::size_t(m_rows) * m_words, 0);
    for (int i = 0; i < m_rows; ++i) {
        const double *a = row(i);
        unsigned long long *marks = m_marks.data() + std::size_t(i) * m_words;
        int j = 0;
#if defined(__SSE2__)
        const __m128d zero = _mm_setzero_pd();
        for (; j + 2 <= m_active; j += 2) {
            const unsigned long long two = unsigned(_mm_movemask_pd(_mm_cmpneq_pd(_mm_loadu_pd(a + j), zero)));
            marks[std::size_t(j) / 64] |= two << (j % 64);
        }
#endif
        for (; j < m_active; ++j)
            marks[std::size_t(j) / 64] |= (a[j] != 0.0 ? 1ULL : 0ULL) << (j % 64);
    }
}

void SimplexTableau::pivot(int r, int e)
{
    double sign = 1.0;
    const int pe = storedColumn(e, &sign);
    double *pr = row(r);
    const double p = sign * pr[pe];
    if (std::fabs(p - 1.0) >= kEqual) {
        divideRow(pr, p, m_active);
        rhs[std::size_t(r)] = clean(rhs[std::size_t(r)] / p);
    }
    const double rr = rhs[std::size_t(r)];
    const unsigned long long *pivotMarks = m_marks.data() + std::size_t(r) * m_words;
    for (int i = 0; i < m_rows; ++i) {
        if (i == r)
            continue;
        double *ai = row(i);
        const double f = sign * ai[pe];
        if (isZero(f))
            continue;
        eliminateRow(ai, pr, f, m_active);
        rhs[std::size_t(i)] = clean(rhs[std::size_t(i)] - rr * f);
        unsigned long long *marks = m_marks.data() + std::size_t(i) * m_words;
        for (std::size_t w = 0; w < m_words; ++w)
            marks[w] |= pivotMarks[w];
    }
    cb[std::size_t(r)] = cost[std::size_t(e)];
    basis[std::size_t(r)] = e;
    // Marks of entries that cancelled to zero accumulate; drop them now and then.
    if (++m_pivotsSinceMarking >= 16)
        markRows();
}

} // namespace vexo
