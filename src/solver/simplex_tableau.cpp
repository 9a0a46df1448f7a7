#include "solver/simplex_tableau.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace vexo {

namespace {

// Values closer than this compare equal, as the solver's comparisons always have.
constexpr double kEqual = 1e-15;

constexpr double kImproves = 1e-8;  // a z minus cost at or below it does not lower the cost
constexpr double kRatioRow = 1e-9;  // rows of the ratio test, zero ratios and ties
constexpr double kClean = 1e-10;    // pivot results below it become exactly 0
// A basic value within this of 0 is at 0: no pivot may drive a right-hand side further below 0, and
// one that lands a hair below 0 becomes 0.
constexpr double kFeasible = 1e-9;
// A pivot entry is above this fraction of the largest entry of its column (HESTETA).
constexpr double kRelativePivot = 1e-9;
// The check of a final basis against the programme as built: a row of the original rows may miss
// its right-hand side by this much of the size of its terms (1 + the limit + the magnitudes of the
// products), a basic value lie this far below 0; a reduced cost, relative to the size of its terms,
// may lie this far from 0 for a basic column and this far below 0 for another. Sound runs stay some
// 20 times within them, a tableau that fell apart misses them by orders of magnitude.
constexpr double kSoundPrimal = 1e-7;
constexpr double kSoundDual = 1e-6;

bool isZero(double x)
{
    return std::fabs(x) < kEqual;
}

// x times 10^8 rounded half away from zero, without a branch (a mispredicted branch per term costs
// more than the whole term): the whole part of the magnitude, plus one when the fraction (exact)
// is a half or more, with the sign put back. Magnitudes of 2^52 and more are whole numbers already
// and come back unchanged.
inline double scaledRound8(double x)
{
    const double y = x * 1e8;
    const double ay = std::fabs(y);
    const double t = std::trunc(ay);
    const double n = t + (ay - t >= 0.5 ? 1.0 : 0.0);
    return std::copysign(n, y);
}

// The loops over rows and columns are cloned for AVX-512 and AVX2 where the processor has them; the
// arithmetic is the same in every clone (no contraction into fused multiply-adds), only wider.
#if defined(__GNUC__) && !defined(__clang__) && defined(__x86_64__)
#define VEXO_KERNEL __attribute__((target_clones("avx512f", "avx2", "default")))
#else
#define VEXO_KERNEL
#endif

// Sums of whole numbers whose magnitudes add up to at most 2^53 are exact in any order (every
// partial sum is a whole number within 2^53). The bound is one less: a computed sum of magnitudes
// at or below it was computed exactly, and a true one above 2^53 can never be computed as 2^53.
constexpr double kExactSum = 9007199254740991.0; // 2^53 - 1
constexpr double kInf = std::numeric_limits<double>::infinity();

// The pricing kernels below keep z (units of 10^-8) and the sum of magnitudes of each column. A
// sum of magnitudes that leaves the exact range becomes infinite and stays so (infinity minus and
// plus finite numbers), which marks the column's z for a fresh sum in row order.

// Takes one row's products out (before the row changes).
VEXO_KERNEL void unpriceRow(double *__restrict z, double *__restrict zabs, const double *__restrict a, double c,
                            int n)
{
    for (int j = 0; j < n; ++j) {
        const double t = scaledRound8(c * a[j]);
        z[j] -= t;
        zabs[j] -= std::fabs(t);
    }
}

// Puts one row's products in.
VEXO_KERNEL void priceRow(double *__restrict z, double *__restrict zabs, const double *__restrict a, double c,
                          int n)
{
    for (int j = 0; j < n; ++j) {
        const double t = scaledRound8(c * a[j]);
        z[j] += t;
        const double s = zabs[j] + std::fabs(t);
        zabs[j] = s <= kExactSum ? s : kInf;
    }
}

// Sums some columns afresh, each down the rows in order: the rows listed, row i at a + i * stride
// with its cost cr[u] (the u-th listed row's), the column at stored position at[t]; `scratch` holds
// two numbers per listed row. The products come first, all at once; the sum of magnitudes in any
// order (a sum of magnitudes within the exact range is exact, and one that leaves it does so in
// every order), z in row order (it may be rounded).
VEXO_KERNEL void recountColumns(double *z, double *zabs, const double *a, std::size_t stride, const int *rows,
                                int nrows, const double *__restrict cr, const int *at, int k,
                                double *__restrict scratch)
{
    double *__restrict entries = scratch;
    double *__restrict products = scratch + nrows;
    for (int t = 0; t < k; ++t) {
        const int j = at[t];
        for (int u = 0; u < nrows; ++u)
            entries[u] = a[std::size_t(rows[u]) * stride + std::size_t(j)];
        double mag = 0.0;
        for (int u = 0; u < nrows; ++u) {
            const double v = scaledRound8(cr[u] * entries[u]);
            products[u] = v;
            mag += std::fabs(v);
        }
        double sum = 0.0;
        for (int u = 0; u < nrows; ++u)
            sum += products[u];
        z[j] = sum;
        zabs[j] = mag <= kExactSum ? mag : kInf;
    }
}

// z and z minus cost of every column from the sums in units of 10^-8.
VEXO_KERNEL void scaleBack(const double *__restrict z, const int *__restrict at, const double *__restrict sign,
                           const double *__restrict cost, double *__restrict zj, double *__restrict zjcj, int n)
{
    for (int j = 0; j < n; ++j) {
        const double v = sign[j] * z[at[j]] / 1e8 + 0.0; // + 0.0: no negative zero
        zj[j] = v;
        zjcj[j] = scaledRound8(v - cost[j]) / 1e8 + 0.0;
    }
}

// The ratio test's ratio of every row: 0 for a right-hand side near 0, otherwise the quotient,
// 0 when near 0, rounded to 8 decimals.
VEXO_KERNEL void ratios(const double *__restrict column, const double *__restrict rhs, double *__restrict q, int n)
{
    for (int i = 0; i < n; ++i) {
        const double r = rhs[i];
        double v = r / column[i];
        v = std::fabs(v) < kRatioRow ? 0.0 : v;
        v = scaledRound8(v) / 1e8 + 0.0;
        q[i] = std::fabs(r) < kRatioRow ? 0.0 : v;
    }
}

// The largest magnitude of n numbers, in eight lanes (a running maximum alone waits on itself).
VEXO_KERNEL double largestMagnitude(const double *__restrict a, int n)
{
    double lane[8] = {0, 0, 0, 0, 0, 0, 0, 0};
    int i = 0;
    for (; i + 8 <= n; i += 8) {
        for (int u = 0; u < 8; ++u)
            lane[u] = std::max(lane[u], std::fabs(a[i + u]));
    }
    for (; i < n; ++i)
        lane[0] = std::max(lane[0], std::fabs(a[i]));
    double m = 0.0;
    for (double v : lane)
        m = std::max(m, v);
    return m;
}

// Whether a step of `step` along the entries drives one of the values (those below 0 taken as 0)
// further than `by` below 0.
VEXO_KERNEL bool stepFalls(const double *__restrict entries, const double *__restrict values, double step, double by,
                           int n)
{
    int falls = 0;
    for (int t = 0; t < n; ++t)
        falls |= int(step * entries[t] - std::max(values[t], 0.0) > by);
    return falls != 0;
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

// One entry eliminated and its product at cost c swapped in the pricing sums.
inline void eliminatePriced(double &entry, double pivotEntry, double f, double c, double &z, double &zabs)
{
    const double old = entry;
    double v = old - pivotEntry * f;
    v = std::fabs(v) < kClean ? 0.0 : v;
    entry = v;
    const double to = scaledRound8(c * old);
    const double tn = scaledRound8(c * v);
    z = (z - to) + tn;
    const double s = (zabs - std::fabs(to)) + std::fabs(tn);
    zabs = s <= kExactSum ? s : kInf;
}

// The elimination of one row, with its products swapped in the pricing sums as it goes.
VEXO_KERNEL void eliminatePricedRow(double *__restrict a, const double *__restrict pivotRow, double f, int n,
                                    double c, double *__restrict z, double *__restrict zabs)
{
    for (int j = 0; j < n; ++j)
        eliminatePriced(a[j], pivotRow[j], f, c, z[j], zabs[j]);
}

// The elimination of many rows at once over the columns [from, to), both multiples of eight, the
// rows and the pivot row starting on 64-byte boundaries: row i lies at a + i * stride and takes
// `factor[i]` times the pivot row. With `cbs`, each row's products (at its cost cbs[i]) are swapped
// in the pricing sums as it goes. One call per pivot, in blocks of eight that fill a vector.
VEXO_KERNEL void eliminateRows(double *__restrict a, std::size_t stride, const int *__restrict rows, int count,
                               const double *__restrict factor, const double *__restrict pivotRow, int from, int to,
                               const double *__restrict cbs, double *__restrict z, double *__restrict zabs)
{
    const double *pr = static_cast<const double *>(__builtin_assume_aligned(pivotRow, 64));
    for (int t = 0; t < count; ++t) {
        const int i = rows[t];
        const double f = factor[i];
        double *ai = static_cast<double *>(__builtin_assume_aligned(a + std::size_t(i) * stride, 64));
        if (cbs) {
            const double c = cbs[i];
            double *zz = static_cast<double *>(__builtin_assume_aligned(z, 64));
            double *za = static_cast<double *>(__builtin_assume_aligned(zabs, 64));
            for (int j = from; j < to; j += 8) {
                for (int k = j; k < j + 8; ++k)
                    eliminatePriced(ai[k], pr[k], f, c, zz[k], za[k]);
            }
        } else {
            for (int j = from; j < to; j += 8) {
                for (int k = j; k < j + 8; ++k) {
                    const double v = ai[k] - pr[k] * f;
                    ai[k] = std::fabs(v) < kClean ? 0.0 : v;
                }
            }
        }
    }
}

double clean(double v)
{
    return std::fabs(v) < kClean ? 0.0 : v;
}

// A right-hand side as a pivot leaves it: cleaned, and 0 when it landed a hair below 0.
double settle(double v)
{
    v = clean(v);
    return v < 0.0 && v > -kFeasible ? 0.0 : v;
}

struct ChangingRows
{
    int priced = 0, plain = 0, wide = 0;
};

// The rows a pivot on row r changes (factor not near 0), each with its right-hand side updated:
// listed in `priced` when they have products in the pricing sums (zcb given and their cost not near
// 0), else in `plain`, and in `wide` instead when they change over the whole row (the factor is not
// finite, or the span cannot be used). Picked without a branch.
ChangingRows sortChangingRows(int n, int r, const double *__restrict column, const double *__restrict zcb,
                              bool blocks, double rr, double *__restrict rhs, int *__restrict priced,
                              int *__restrict plain, int *__restrict wide)
{
    constexpr double kFinite = std::numeric_limits<double>::max();
    const int narrowAllowed = blocks ? 1 : 0;
    int np = 0;
    int nq = 0;
    int nw = 0;
    for (int i = 0; i < n; ++i) {
        const double f = column[i];
        const double af = std::fabs(f);
        const int change = int(i != r) & int(!(af < kEqual));
        const double v = rhs[i] - rr * f;
        rhs[i] = change ? settle(v) : rhs[i];
        const int narrow = change & narrowAllowed & int(af <= kFinite);
        const int withSums = zcb ? narrow & int(!isZero(zcb[i])) : 0;
        priced[np] = i;
        np += withSums;
        plain[nq] = i;
        nq += narrow & (withSums ^ 1);
        wide[nw] = i;
        nw += change & (narrow ^ 1);
    }
    return {np, nq, nw};
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
    // Only the stored columns take room. Rows start on 64-byte boundaries of the vector's storage,
    // which keeps the vector loops aligned.
    m_stride = (std::size_t(m_active) + 7) / 8 * 8;
    m_a.assign(std::size_t(rows) * m_stride, 0.0);
    m_zs.assign(m_stride, 0.0);
    m_zabs.assign(m_stride, 0.0);
    m_touched.assign(m_stride, 0);
    m_mirrors.assign(std::size_t(columns), {});
    for (int j = 0; j < columns && !m_mirrorOf.empty(); ++j) {
        const int m = m_mirrorOf[std::size_t(j)];
        if (m >= 0)
            m_mirrors[std::size_t(m)].push_back(j);
    }
    m_basicFrom = m_active;
    m_readAt.assign(std::size_t(columns), 0);
    m_readSign.assign(std::size_t(columns), 1.0);
    for (int j = 0; j < columns; ++j) {
        double sign = 1.0;
        m_readAt[std::size_t(j)] = storedColumn(j, &sign);
        m_readSign[std::size_t(j)] = sign;
    }
}

int SimplexTableau::storedColumn(int j, double *sign) const
{
    const int m = m_mirrorOf.empty() ? -1 : m_mirrorOf[std::size_t(j)];
    *sign = m >= 0 ? -1.0 : 1.0;
    return m_phys[std::size_t(m >= 0 ? m : j)];
}

void SimplexTableau::priceAll()
{
    // Row by row, as the sums were always made; a zero entry adds a zero.
    std::fill(m_zs.begin(), m_zs.end(), 0.0);
    std::fill(m_zabs.begin(), m_zabs.end(), 0.0);
    for (int i = 0; i < m_rows; ++i) {
        const double c = cb[std::size_t(i)];
        if (!isZero(c))
            priceRow(m_zs.data(), m_zabs.data(), row(i), c, m_active);
    }
    m_zcb = cb;
    m_zValid = true;
    std::fill(m_touched.begin(), m_touched.end(), char(0));
}

void SimplexTableau::KRITER()
{
    if (!m_zValid || m_zcb != cb) {
        priceAll();
    } else {
        // A column whose sum may have been rounded is summed afresh, in row order as above, when
        // one of its entries changed since it was last summed (a sum of the same terms in the same
        // order is the same number).
        m_recount.resize(std::size_t(m_active));
        const double *zabs = m_zabs.data();
        char *touched = m_touched.data();
        int k = 0;
        for (int p = 0; p < m_active; ++p) {
            m_recount[std::size_t(k)] = p;
            k += int(!(zabs[p] <= kExactSum)) & int(touched[p] != 0);
        }
        std::fill(m_touched.begin(), m_touched.end(), char(0));
        if (k > 0) {
            m_pricedRows.resize(std::size_t(m_rows));
            m_scratch.resize(std::size_t(m_rows) * 3);
            int n = 0;
            for (int i = 0; i < m_rows; ++i) {
                m_pricedRows[std::size_t(n)] = i;
                m_scratch[std::size_t(n)] = cb[std::size_t(i)];
                n += int(!isZero(cb[std::size_t(i)]));
            }
            recountColumns(m_zs.data(), m_zabs.data(), m_a.data(), m_stride, m_pricedRows.data(), n, m_scratch.data(),
                           m_recount.data(), k, m_scratch.data() + m_rows);
        }
    }
    // Each product was rounded to a whole number of 10^-8; their sums are exact in units of 10^-8
    // and are scaled back once per column. A mirror column's products are the negated ones.
    zj.resize(std::size_t(m_cols));
    zjcj.resize(std::size_t(m_cols));
    scaleBack(m_zs.data(), m_readAt.data(), m_readSign.data(), cost.data(), zj.data(), zjcj.data(), m_cols);
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
    // Only a column above the improvement bound can ever replace the best (the best is never below
    // 0), so those are picked out first without a branch, then followed in order.
    m_candidates.resize(std::size_t(m_cols));
    int k = 0;
    for (int j = 0; j < m_cols; ++j) {
        m_candidates[std::size_t(k)] = j;
        k += int(barred[std::size_t(j)] == 0) & int(zjcj[std::size_t(j)] > kImproves);
    }
    double best = 0.0;
    int column = -1;
    if (blandMode) {
        column = k > 0 ? m_candidates[0] : -1;
    } else {
        for (int t = 0; t < k; ++t) {
            const int j = m_candidates[std::size_t(t)];
            const double d = zjcj[std::size_t(j)];
            if (d > best + kImproves) {
                best = d;
                column = j;
            }
        }
    }
    if (column < 0)
        return false;
    // The column's entries, kept for the ratio test and the pivot.
    const double sign = m_readSign[std::size_t(column)];
    const int p = m_readAt[std::size_t(column)];
    m_column.resize(std::size_t(m_rows));
    bool bounded = false;
    for (int i = 0; i < m_rows; ++i) {
        const double a = sign * row(i)[p];
        m_column[std::size_t(i)] = a;
        bounded = bounded || a > kImproves;
    }
    m_columnOf = column;
    if (!bounded)
        return false;
    entering = column;
    return true;
}

bool SimplexTableau::HESTETA()
{
    if (m_columnOf != entering) {
        const double sign = m_readSign[std::size_t(entering)];
        const int pe = m_readAt[std::size_t(entering)];
        m_column.resize(std::size_t(m_rows));
        for (int i = 0; i < m_rows; ++i)
            m_column[std::size_t(i)] = sign * row(i)[pe];
        m_columnOf = entering;
    }
    // The rows that take part, in order (picked without a branch, as are the choices below: which
    // way they go cannot be foreseen), with their entries and right-hand sides side by side; then
    // the ratios of all of them at once, the first smallest and the ties in row order.
    // An entry takes part when it is above kRatioRow and above kRelativePivot times the column's
    // largest entry in magnitude: a smaller one is mostly what rounding left where the entry should be
    // 0, and pivoting on it fills the tableau with numbers of no meaning. A row left out so falls by
    // next to nothing; should it fall below 0, its value shows it (the check of the final basis
    // bounds it).
    const double largest = largestMagnitude(m_column.data(), m_rows);
    const double takesPart = std::max(kRatioRow, kRelativePivot * largest);
    m_candidates.resize(std::size_t(m_rows));
    m_scratch.resize(std::size_t(m_rows) * 3);
    double *entries = m_scratch.data();
    double *values = entries + m_rows;
    int k = 0;
    for (int i = 0; i < m_rows; ++i) {
        m_candidates[std::size_t(k)] = i;
        entries[k] = m_column[std::size_t(i)];
        values[k] = rhs[std::size_t(i)];
        k += m_column[std::size_t(i)] > takesPart ? 1 : 0;
    }
    if (k == 0) {
        leaving = -1;
        return false;
    }
    m_ratio.resize(std::size_t(m_rows));
    ratios(entries, values, m_ratio.data(), k);
    const int *rows = m_candidates.data();
    const double *q = m_ratio.data(); // per candidate
    int first = rows[0];
    double smallest = q[0];
    for (int t = 1; t < k; ++t) {
        const bool smaller = q[t] < smallest - kEqual;
        first = smaller ? rows[t] : first;
        smallest = smaller ? q[t] : smallest;
    }
    int chosen = first;
    int chosenBasis = basis[std::size_t(first)];
    int ties = 0;
    for (int t = 0; t < k; ++t) {
        const int i = rows[t];
        const bool tie = std::fabs(q[t] - smallest) < kRatioRow;
        ties += tie ? 1 : 0;
        const bool better = tie && basis[std::size_t(i)] < chosenBasis;
        chosen = better ? i : chosen;
        chosenBasis = better ? basis[std::size_t(i)] : chosenBasis;
    }
    if (ties <= 1)
        chosen = first;
    lastPivotDegenerate = smallest == 0.0;
    // That choice may take a step that drives another row below 0: the ratios are rounded, and
    // near-ties and right-hand sides near 0 count as equal, so a tiny entry beside a tiny right-hand
    // side may claim a ratio of 0 for a long step. Then the row leaves that has the largest entry
    // among the rows whose step keeps every row within kFeasible of 0 (the two passes of Harris's
    // ratio test: the bound on the step first, then the choice under it). Whether the step falls
    // short of a row needs no division.
    const double chosenStep = std::max(rhs[std::size_t(chosen)], 0.0) / m_column[std::size_t(chosen)];
    if (stepFalls(entries, values, chosenStep, kFeasible, k)) {
        double bound = kInf;
        for (int t = 0; t < k; ++t)
            bound = std::min(bound, (std::max(values[t], 0.0) + kFeasible) / entries[t]);
        double bestEntry = 0.0;
        double bestStep = 0.0;
        for (int t = 0; t < k; ++t) {
            const double step = std::max(values[t], 0.0) / entries[t];
            if (step <= bound && entries[t] > bestEntry) {
                chosen = rows[t];
                bestEntry = entries[t];
                bestStep = step;
            }
        }
        lastPivotDegenerate = round8(bestStep) == 0.0;
    }
    leaving = chosen;
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

void SimplexTableau::setRow(int i, const double *values)
{
    double *a = row(i);
    for (int j = 0; j < m_cols; ++j) {
        if (m_mirrorOf.empty() || m_mirrorOf[std::size_t(j)] < 0)
            a[m_phys[std::size_t(j)]] = values[j];
    }
    m_zValid = false;
    m_cleanZeros = false;
    m_columnOf = -1;
}

void SimplexTableau::indexRows()
{
    // Nothing the pivot computes stays below the cleaning bound; start the same way.
    for (int i = 0; i < m_rows; ++i) {
        double *a = row(i);
        for (int j = 0; j < m_active; ++j)
            a[j] = clean(a[j]);
    }
    m_cleanZeros = true;
}

void SimplexTableau::swapStored(int p, int q)
{
    if (p == q)
        return;
    for (int i = 0; i < m_rows; ++i) {
        double *a = row(i);
        std::swap(a[p], a[q]);
    }
    std::swap(m_zs[std::size_t(p)], m_zs[std::size_t(q)]);
    std::swap(m_zabs[std::size_t(p)], m_zabs[std::size_t(q)]);
    std::swap(m_touched[std::size_t(p)], m_touched[std::size_t(q)]);
    const int lp = m_logical[std::size_t(p)];
    const int lq = m_logical[std::size_t(q)];
    m_logical[std::size_t(p)] = lq;
    m_logical[std::size_t(q)] = lp;
    m_phys[std::size_t(lp)] = q;
    m_phys[std::size_t(lq)] = p;
    m_readAt[std::size_t(lp)] = q;
    m_readAt[std::size_t(lq)] = p;
    for (int j : m_mirrors[std::size_t(lp)])
        m_readAt[std::size_t(j)] = q;
    for (int j : m_mirrors[std::size_t(lq)])
        m_readAt[std::size_t(j)] = p;
}

void SimplexTableau::placeStored(int p, bool basic)
{
    if (basic && p < m_basicFrom) {
        --m_basicFrom;
        swapStored(p, m_basicFrom);
    } else if (!basic && p >= m_basicFrom) {
        swapStored(p, m_basicFrom);
        ++m_basicFrom;
    }
}

void SimplexTableau::partitionByBasis()
{
    m_partitioned = true;
    std::vector<char> basic(std::size_t(m_active), 0);
    for (int b : basis) {
        if (b >= 0 && b < m_cols)
            basic[std::size_t(m_readAt[std::size_t(b)])] = 1;
    }
    // From the end down: a position is moved only once it was looked at.
    m_basicFrom = m_active;
    for (int p = m_active - 1; p >= 0; --p) {
        if (basic[std::size_t(p)])
            placeStored(p, true);
    }
}

void SimplexTableau::pivot(int r, int e)
{
    if (!m_partitioned)
        partitionByBasis();
    // The leaving column joins the block of the others before the pivot, so that the pivot row's
    // non-zero entries all lie in that block.
    {
        const int leavingColumn = basis[std::size_t(r)];
        if (leavingColumn >= 0 && leavingColumn < m_cols && leavingColumn != e
            && m_readAt[std::size_t(leavingColumn)] != m_readAt[std::size_t(e)])
            placeStored(m_readAt[std::size_t(leavingColumn)], false);
    }
    const double sign = m_readSign[std::size_t(e)];
    const int pe = m_readAt[std::size_t(e)];
    double *pr = row(r);
    const double p = sign * pr[pe];
    // Where the pivot row holds 0, the other rows keep their entries (an entry minus 0 times a
    // finite factor is the entry, and the cleaning keeps it, every entry being 0.0 or at least the
    // cleaning bound), their products in the pricing sums stay (a whole number taken out and put
    // back), and the pivot row keeps its 0.0. So only the span from the row's first to its last
    // non-zero entry is visited, widened to whole blocks of eight (the padding past the stored
    // columns holds zeros in every row); a division can only add zeros to the row.
    int lo = 0;
    int hi = m_active;
    const bool blocks = m_cleanZeros && std::isfinite(p);
    if (blocks) {
        while (lo < hi && pr[lo] == 0.0)
            ++lo;
        // From the end in steps of eight: the block of basic columns there is all zeros.
        while (hi - 8 >= lo) {
            bool any = false;
            for (int k = 0; k < 8; ++k)
                any |= pr[hi - 8 + k] != 0.0;
            if (any)
                break;
            hi -= 8;
        }
        while (hi > lo && pr[hi - 1] == 0.0)
            --hi;
        lo = lo / 8 * 8;
        hi = std::min(int(m_stride), (hi + 7) / 8 * 8);
    }
    // The entering column as the choice of the column left it, when it did (no row has changed
    // since), else as it is now.
    if (m_columnOf != e) {
        m_column.resize(std::size_t(m_rows));
        for (int i = 0; i < m_rows; ++i)
            m_column[std::size_t(i)] = sign * row(i)[pe];
        m_columnOf = e;
    }
    const bool priced = m_zValid;
    double *z = m_zs.data();
    double *zabs = m_zabs.data();
    // The pivot row's products leave the sums with its old cost; they come back with the new one.
    if (priced && !isZero(m_zcb[std::size_t(r)]))
        unpriceRow(z + lo, zabs + lo, pr + lo, m_zcb[std::size_t(r)], hi - lo);
    if (std::fabs(p - 1.0) >= kEqual) {
        divideRow(pr + lo, p, hi - lo);
        rhs[std::size_t(r)] = settle(rhs[std::size_t(r)] / p);
    }
    const double rr = rhs[std::size_t(r)];
    // The rows that change, those with products in the sums apart, and apart again those whose
    // factor is not finite (they change over the whole row). In which order rows are eliminated
    // changes no number: each row is its own, and a sum that stays within the exact range comes
    // out the same in any order.
    m_pricedRows.resize(std::size_t(m_rows));
    m_plainRows.resize(std::size_t(m_rows));
    m_wideRows.resize(std::size_t(m_rows));
    const double *zcb = priced ? m_zcb.data() : nullptr;
    const double *column = m_column.data();
    const ChangingRows sorted = sortChangingRows(m_rows, r, column, zcb, blocks, rr, rhs.data(), m_pricedRows.data(),
                                                 m_plainRows.data(), m_wideRows.data());
    const int np = sorted.priced;
    const int nq = sorted.plain;
    const int nw = sorted.wide;
    // Outside [lo, hi) no entry changed unless a row changed whole.
    std::fill(m_touched.begin() + (nw > 0 ? 0 : lo), m_touched.begin() + (nw > 0 ? m_active : hi), char(1));
    eliminateRows(m_a.data(), m_stride, m_pricedRows.data(), np, column, pr, lo, hi, zcb, z, zabs);
    eliminateRows(m_a.data(), m_stride, m_plainRows.data(), nq, column, pr, lo, hi, nullptr, nullptr, nullptr);
    for (int t = 0; t < nw; ++t) {
        const int i = m_wideRows[std::size_t(t)];
        if (zcb && !isZero(zcb[i]))
            eliminatePricedRow(row(i), pr, column[i], m_active, zcb[i], z, zabs);
        else
            eliminateRow(row(i), pr, column[i], m_active);
    }
    cb[std::size_t(r)] = cost[std::size_t(e)];
    basis[std::size_t(r)] = e;
    if (priced) {
        const double c = cost[std::size_t(e)];
        if (!isZero(c))
            priceRow(z + lo, zabs + lo, pr + lo, c, hi - lo);
        m_zcb[std::size_t(r)] = c;
    }
    placeStored(m_readAt[std::size_t(e)], true);
    m_columnOf = -1;
}

void SimplexTableau::keepOriginal()
{
    m_origStart.assign(1, 0);
    m_origColumn.clear();
    m_origValue.clear();
    for (int i = 0; i < m_rows; ++i) {
        const double *a = row(i);
        // Without a branch: every entry is written, the count moves past the non-zero ones.
        std::size_t k = m_origColumn.size();
        m_origColumn.resize(k + std::size_t(m_active));
        m_origValue.resize(k + std::size_t(m_active));
        for (int p = 0; p < m_active; ++p) {
            m_origColumn[k] = m_logical[std::size_t(p)];
            m_origValue[k] = a[p];
            k += a[p] != 0.0 ? 1 : 0;
        }
        m_origColumn.resize(k);
        m_origValue.resize(k);
        m_origStart.push_back(int(k));
    }
    m_origRhs = rhs;
    m_origBasis = basis;
}

namespace {

// A programme whose rows and columns each keep their entries within this span is left unscaled.
constexpr double kWellScaled = 65536.0; // 2^16
// Passes of geometric-mean scaling before the rows are equilibrated.
constexpr int kScalePasses = 6;

// The power of two nearest to v (by its logarithm).
double powerOfTwo(double v)
{
    return std::ldexp(1.0, int(std::lround(std::log2(v))));
}

} // namespace

bool SimplexTableau::scale()
{
    if (!hasOriginal() || scaled())
        return false;
    const auto m = std::size_t(m_rows);
    const auto n = std::size_t(m_cols);
    // A column of the starting basis is a unit column of its row, and so is the column it mirrors
    // (negated): both follow their row's factor.
    std::vector<int> tiedRow(n, -1);
    for (int i = 0; i < m_rows; ++i) {
        const int b = m_origBasis[std::size_t(i)];
        if (b < 0 || b >= m_cols)
            continue;
        tiedRow[std::size_t(b)] = i;
        const int src = m_mirrorOf.empty() ? -1 : m_mirrorOf[std::size_t(b)];
        if (src >= 0)
            tiedRow[std::size_t(src)] = i;
    }
    std::vector<double> r(m, 1.0), c(n, 1.0), lo(n), hi(n);
    // The span of each row's and column's free entries (with the factors so far), and the factors
    // that bring each row's, then each column's, smallest and largest entry around 1.
    auto sweep = [&](bool adjust) {
        double worst = 1.0;
        std::fill(lo.begin(), lo.end(), kInf);
        std::fill(hi.begin(), hi.end(), 0.0);
        for (std::size_t i = 0; i < m; ++i) {
            double rlo = kInf, rhi = 0.0;
            for (int e = m_origStart[i]; e < m_origStart[i + 1]; ++e) {
                const auto j = std::size_t(m_origColumn[std::size_t(e)]);
                if (tiedRow[j] >= 0)
                    continue;
                const double v = std::fabs(m_origValue[std::size_t(e)]) * c[j];
                rlo = std::min(rlo, v);
                rhi = std::max(rhi, v);
            }
            if (rhi > 0.0) {
                worst = std::max(worst, rhi / rlo);
                if (adjust)
                    r[i] = 1.0 / std::sqrt(rlo * rhi);
            }
            for (int e = m_origStart[i]; e < m_origStart[i + 1]; ++e) {
                const auto j = std::size_t(m_origColumn[std::size_t(e)]);
                if (tiedRow[j] >= 0)
                    continue;
                const double v = std::fabs(m_origValue[std::size_t(e)]) * r[i];
                lo[j] = std::min(lo[j], v);
                hi[j] = std::max(hi[j], v);
            }
        }
        for (std::size_t j = 0; j < n; ++j) {
            if (hi[j] > 0.0) {
                worst = std::max(worst, hi[j] / lo[j]);
                if (adjust)
                    c[j] = 1.0 / std::sqrt(lo[j] * hi[j]);
            }
        }
        return worst;
    };
    if (sweep(false) <= kWellScaled)
        return false;
    for (int pass = 0; pass < kScalePasses; ++pass)
        sweep(true);
    // Powers of two: the columns first, then each row so that its largest free entry lies in [1, 2).
    for (double &v : c)
        v = powerOfTwo(v);
    for (std::size_t i = 0; i < m; ++i) {
        double rhi = 0.0;
        for (int e = m_origStart[i]; e < m_origStart[i + 1]; ++e) {
            const auto j = std::size_t(m_origColumn[std::size_t(e)]);
            if (tiedRow[j] < 0)
                rhi = std::max(rhi, std::fabs(m_origValue[std::size_t(e)]) * c[j]);
        }
        r[i] = rhi > 0.0 ? std::ldexp(1.0, -std::ilogb(rhi)) : 1.0;
    }
    for (std::size_t j = 0; j < n; ++j) {
        if (tiedRow[j] >= 0)
            c[j] = 1.0 / r[std::size_t(tiedRow[j])];
    }
    for (std::size_t j = 0; j < n; ++j) {
        const int src = m_mirrorOf.empty() ? -1 : m_mirrorOf[j];
        if (src >= 0)
            c[j] = c[std::size_t(src)];
    }
    for (std::size_t i = 0; i < m; ++i) {
        double *a = row(int(i));
        for (int p = 0; p < m_active; ++p)
            a[p] *= r[i] * c[std::size_t(m_logical[std::size_t(p)])];
        rhs[i] *= r[i];
        m_origRhs[i] *= r[i];
        for (int e = m_origStart[i]; e < m_origStart[i + 1]; ++e)
            m_origValue[std::size_t(e)] *= r[i] * c[std::size_t(m_origColumn[std::size_t(e)])];
        cb[i] *= c[std::size_t(basis[i])];
    }
    for (std::size_t j = 0; j < n; ++j) {
        cost[j] *= c[j];
        zj[j] *= c[j];
        zjcj[j] *= c[j];
    }
    m_rowScale = std::move(r);
    m_colScale = std::move(c);
    m_zValid = false;
    m_columnOf = -1;
    indexRows();
    return true;
}

void SimplexTableau::unscale()
{
    if (!scaled())
        return;
    const std::vector<double> &r = m_rowScale;
    const std::vector<double> &c = m_colScale;
    for (int i = 0; i < m_rows; ++i) {
        const auto ui = std::size_t(i);
        const double sb = c[std::size_t(basis[ui])];
        double *a = row(i);
        for (int p = 0; p < m_active; ++p)
            a[p] = a[p] * sb / c[std::size_t(m_logical[std::size_t(p)])];
        rhs[ui] *= sb;
        cb[ui] /= sb;
        m_origRhs[ui] /= r[ui];
        for (int e = m_origStart[ui]; e < m_origStart[ui + 1]; ++e)
            m_origValue[std::size_t(e)] /= r[ui] * c[std::size_t(m_origColumn[std::size_t(e)])];
    }
    for (int j = 0; j < m_cols; ++j)
        cost[std::size_t(j)] /= c[std::size_t(j)];
    m_rowScale.clear();
    m_colScale.clear();
    m_zValid = false;
    m_cleanZeros = false;
    m_columnOf = -1;
    KRITER();
}

bool SimplexTableau::Soundness::accurate() const
{
    return residual <= kSoundPrimal && negative <= kSoundPrimal && basicCost <= kSoundDual;
}

bool SimplexTableau::Soundness::optimal() const
{
    return accurate() && improving <= kSoundDual;
}

SimplexTableau::Soundness SimplexTableau::soundness() const
{
    Soundness s;
    if (!hasOriginal())
        return s;
    const auto n = std::size_t(m_cols);
    // The basic values; a mirror column is its source negated, so its value counts negated there.
    std::vector<double> x(n, 0.0);
    std::vector<char> basic(n, 0);
    for (int i = 0; i < m_rows; ++i) {
        const int b = basis[std::size_t(i)];
        if (b < 0 || b >= m_cols)
            continue;
        basic[std::size_t(b)] = 1;
        const int m = m_mirrorOf.empty() ? -1 : m_mirrorOf[std::size_t(b)];
        x[std::size_t(m >= 0 ? m : b)] += m >= 0 ? -rhs[std::size_t(i)] : rhs[std::size_t(i)];
        s.negative = std::max(s.negative, -rhs[std::size_t(i)]);
    }
    // The shadow prices: the basic costs times the columns of the starting basis, which hold the
    // basis inverse (each was a unit column of its row).
    std::vector<double> y(std::size_t(m_rows), 0.0);
    std::vector<int> where(std::size_t(m_rows), 0);
    std::vector<double> sign(std::size_t(m_rows), 1.0);
    for (int k = 0; k < m_rows; ++k) {
        where[std::size_t(k)] = m_readAt[std::size_t(m_origBasis[std::size_t(k)])];
        sign[std::size_t(k)] = m_readSign[std::size_t(m_origBasis[std::size_t(k)])];
    }
    for (int i = 0; i < m_rows; ++i) {
        const double c = cb[std::size_t(i)];
        if (c == 0.0)
            continue;
        const double *a = row(i);
        for (int k = 0; k < m_rows; ++k)
            y[std::size_t(k)] += c * sign[std::size_t(k)] * a[where[std::size_t(k)]];
    }
    // Everything in the programme's own units: a scaled value times its column's factor, a scaled
    // shadow price times its row's; a scaled entry divided by both, a right-hand side by its row's,
    // a cost by its column's.
    const auto rowFactor = [&](int i) { return m_rowScale.empty() ? 1.0 : m_rowScale[std::size_t(i)]; };
    const auto columnFactor = [&](std::size_t j) { return m_colScale.empty() ? 1.0 : m_colScale[j]; };
    if (scaled()) {
        s.negative = 0.0;
        for (int i = 0; i < m_rows; ++i) {
            const int b = basis[std::size_t(i)];
            if (b >= 0 && b < m_cols)
                s.negative = std::max(s.negative, -rhs[std::size_t(i)] * columnFactor(std::size_t(b)));
        }
        for (std::size_t j = 0; j < n; ++j)
            x[j] *= columnFactor(j);
        for (int i = 0; i < m_rows; ++i)
            y[std::size_t(i)] *= rowFactor(i);
    }
    std::vector<double> worth(n, 0.0), size(n, 0.0);
    for (int i = 0; i < m_rows; ++i) {
        double sum = 0.0, mag = 0.0;
        const double yi = y[std::size_t(i)];
        const double ri = rowFactor(i);
        for (int e = m_origStart[std::size_t(i)]; e < m_origStart[std::size_t(i) + 1]; ++e) {
            const auto j = std::size_t(m_origColumn[std::size_t(e)]);
            const double a = m_origValue[std::size_t(e)] / (ri * columnFactor(j));
            sum += a * x[j];
            mag += std::fabs(a * x[j]);
            worth[j] += yi * a;
            size[j] += std::fabs(yi * a);
        }
        const double b = m_origRhs[std::size_t(i)] / ri;
        s.residual = std::max(s.residual, std::fabs(b - sum) / (1.0 + std::fabs(b) + mag));
    }
    for (int j = 0; j < m_cols; ++j) {
        const int m = m_mirrorOf.empty() ? -1 : m_mirrorOf[std::size_t(j)];
        const auto src = std::size_t(m >= 0 ? m : j);
        const double w = m >= 0 ? -worth[src] : worth[src];
        const double c = cost[std::size_t(j)] / columnFactor(std::size_t(j));
        const double reduced = (c - w) / (1.0 + std::fabs(c) + size[src]);
        if (basic[std::size_t(j)])
            s.basicCost = std::max(s.basicCost, std::fabs(reduced));
        else if (!barred[std::size_t(j)])
            s.improving = std::max(s.improving, -reduced);
    }
    return s;
}

bool SimplexTableau::rebuild()
{
    if (!hasOriginal())
        return false;
    const std::vector<int> wanted = basis;
    std::fill(m_a.begin(), m_a.end(), 0.0);
    for (int i = 0; i < m_rows; ++i) {
        double *a = row(i);
        for (int e = m_origStart[std::size_t(i)]; e < m_origStart[std::size_t(i) + 1]; ++e)
            a[m_readAt[std::size_t(m_origColumn[std::size_t(e)])]] = m_origValue[std::size_t(e)];
    }
    indexRows();
    rhs = m_origRhs;
    basis = m_origBasis;
    for (int i = 0; i < m_rows; ++i)
        cb[std::size_t(i)] = cost[std::size_t(basis[std::size_t(i)])];
    m_zValid = false;
    m_columnOf = -1;
    m_partitioned = false;
    // A starting column that stays basic keeps its row; every other basic column takes, among the
    // rows whose starting column leaves, the one with the largest entry.
    std::vector<char> inWanted(std::size_t(m_cols), 0);
    for (int j : wanted) {
        if (j >= 0 && j < m_cols)
            inWanted[std::size_t(j)] = 1;
    }
    std::vector<char> open(std::size_t(m_rows), 0);
    for (int i = 0; i < m_rows; ++i)
        open[std::size_t(i)] = !inWanted[std::size_t(basis[std::size_t(i)])];
    for (int j : wanted) {
        if (j < 0 || j >= m_cols || std::find(m_origBasis.begin(), m_origBasis.end(), j) != m_origBasis.end())
            continue;
        int best = -1;
        double bestEntry = 0.0, largest = 0.0;
        for (int i = 0; i < m_rows; ++i) {
            const double a = std::fabs(at(i, j));
            largest = std::max(largest, a);
            if (open[std::size_t(i)] && a > bestEntry) {
                best = i;
                bestEntry = a;
            }
        }
        if (best < 0 || bestEntry <= std::max(kRatioRow, kRelativePivot * largest))
            continue; // depends on the columns taken before it
        pivot(best, j);
        open[std::size_t(best)] = 0;
    }
    bool feasible = true;
    for (double &v : rhs) {
        v = clean(v);
        if (v < 0.0 && v >= -kSoundPrimal)
            v = 0.0;
        feasible = feasible && v >= 0.0;
    }
    entering = -1;
    leaving = -1;
    blandMode = false;
    lastPivotDegenerate = false;
    degenerateRun = 0;
    return feasible;
}

void SimplexTableau::refine()
{
    if (!hasOriginal() || scaled())
        return;
    const auto n = std::size_t(m_cols);
    std::vector<double> x(n);
    std::vector<double> r(static_cast<std::size_t>(m_rows));
    for (int pass = 0; pass < 2; ++pass) {
        std::fill(x.begin(), x.end(), 0.0);
        for (int i = 0; i < m_rows; ++i) {
            const int b = basis[std::size_t(i)];
            if (b < 0 || b >= m_cols)
                continue;
            const int m = m_mirrorOf.empty() ? -1 : m_mirrorOf[std::size_t(b)];
            x[std::size_t(m >= 0 ? m : b)] += m >= 0 ? -rhs[std::size_t(i)] : rhs[std::size_t(i)];
        }
        for (int i = 0; i < m_rows; ++i) {
            long double sum = 0.0L;
            for (int e = m_origStart[std::size_t(i)]; e < m_origStart[std::size_t(i) + 1]; ++e)
                sum += static_cast<long double>(m_origValue[std::size_t(e)]) * x[std::size_t(m_origColumn[std::size_t(e)])];
            r[std::size_t(i)] = double(static_cast<long double>(m_origRhs[std::size_t(i)]) - sum);
        }
        for (int t = 0; t < m_rows; ++t) {
            double &v = rhs[std::size_t(t)];
            long double d = 0.0L;
            for (int k = 0; k < m_rows; ++k)
                d += static_cast<long double>(at(t, m_origBasis[std::size_t(k)])) * r[std::size_t(k)];
            v = settle(v + double(d));
        }
    }
}

bool SimplexTableau::restart()
{
    if (!hasOriginal())
        return false;
    basis = m_origBasis;
    return rebuild();
}

} // namespace vexo
