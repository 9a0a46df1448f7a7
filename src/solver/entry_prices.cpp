#include "solver/entry_prices.h"

#include "solver/simplex_tableau.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace vexo {

namespace {

// A basic variable at or below this counts as sitting on its bound: were the column to enter only as
// far as such a variable lets it, no figure the program shows would change (shares show to 1e-5).
// It is also the usual primal feasibility tolerance of simplex codes.
constexpr double kLevelZero = 1e-7;
constexpr double kPivot = 1e-9;     // smallest entry to pivot on
constexpr double kFeasible = 1e-9;  // a row off its bound by less than this is on it
constexpr double kClean = 1e-12;    // entries below this become exactly 0 after a pivot
constexpr long kBlandAfter = 50;    // pivots without a rise of the objective before the smallest-index rule

// The programme over the optimal face, for one column after another. The unknowns are the rates at
// which the nonbasic columns move while the column enters at rate 1: each row whose basic variable
// sits at 0 keeps that variable at or above 0 (exactly at 0 for an artificial one). The objective is
// the sum of the reduced costs times the rates: what the rest of the formula costs more per unit of
// the column than the final basis's shadow prices say. Its least value is the worth lost.
//
// Every column's programme has the same rows and coefficients; only the right-hand sides (the
// entering column's entries in those rows) differ. They are made once.
class FaceProgramme
{
public:
    explicit FaceProgramme(const SimplexTableau &t)
        : m_t(t)
    {
        for (int i = 0; i < t.rows(); ++i) {
            if (std::fabs(t.rhs[std::size_t(i)]) <= kLevelZero) {
                m_rows.push_back(i);
                m_equality.push_back(t.artificial[std::size_t(t.basis[std::size_t(i)])]);
            }
        }
        std::vector<char> basic(std::size_t(t.columns()), 0);
        for (int b : t.basis)
            basic[std::size_t(b)] = 1;
        for (int j = 0; j < t.columns(); ++j) {
            if (!basic[std::size_t(j)] && !t.artificial[std::size_t(j)] && !t.barred[std::size_t(j)])
                m_columns.push_back(j);
        }
        m_n = int(m_columns.size());
        m_m = int(m_rows.size());
        m_width = m_n + m_m;
    }

    // The worth lost by the cheapest way of letting the column in; infinity when there is none.
    double worthLost(const EntryColumn &c)
    {
        // The entering column's entries in the rows at 0, without its own limit rows: the right-hand
        // side is what the basic variable of each row loses per unit of it.
        m_b.assign(std::size_t(m_m), 0.0);
        bool feasible = true;
        for (int u = 0; u < m_m; ++u) {
            const int i = m_rows[std::size_t(u)];
            double alpha = m_t.at(i, c.column);
            for (const auto &[own, coefficient] : c.ownRows)
                alpha -= coefficient * m_t.at(i, own);
            m_b[std::size_t(u)] = -alpha;
            feasible = feasible && violation(m_b[std::size_t(u)], m_equality[std::size_t(u)]) == 0.0;
        }
        // Entering moves no basic variable below 0: the final basis's shadow prices are the least.
        if (feasible)
            return 0.0;
        if (m_a0.empty())
            makeRows();
        return dualSimplex();
    }

private:
    // The rows' coefficients, made when a column first needs them.
    void makeRows()
    {
        const SimplexTableau &t = m_t;
        m_a0.assign(std::size_t(m_m) * std::size_t(m_width), 0.0);
        for (int u = 0; u < m_m; ++u) {
            double *a = m_a0.data() + std::size_t(u) * std::size_t(m_width);
            for (int k = 0; k < m_n; ++k)
                a[k] = t.at(m_rows[std::size_t(u)], m_columns[std::size_t(k)]);
            a[m_n + u] = 1.0;
        }
        // The reduced costs (cost less z) of the final basis; an optimum has none below 0.
        m_r0.assign(std::size_t(m_width), 0.0);
        for (int k = 0; k < m_n; ++k)
            m_r0[std::size_t(k)] = std::max(0.0, -t.zjcj[std::size_t(m_columns[std::size_t(k)])]);
    }

    static double violation(double b, bool equality)
    {
        if (equality)
            return std::fabs(b) > kFeasible ? std::fabs(b) : 0.0;
        return b < -kFeasible ? -b : 0.0;
    }

    double dualSimplex()
    {
        const std::size_t w = std::size_t(m_width);
        m_a = m_a0;
        m_r = m_r0;
        m_basic.resize(std::size_t(m_m));
        m_isBasic.assign(w, 0);
        // A row's variable of an equality, once it left the basis, stays at 0.
        m_fixed.assign(w, 0);
        m_equalVariable.assign(w, 0);
        for (int u = 0; u < m_m; ++u) {
            m_basic[std::size_t(u)] = m_n + u;
            m_isBasic[std::size_t(m_n + u)] = 1;
            m_equalVariable[std::size_t(m_n + u)] = m_equality[std::size_t(u)];
        }
        double objective = 0.0;
        bool bland = false;
        long flat = 0;
        const long given = simplexLimits().entryPricePassCap;
        const long cap = given >= 0 ? given : 50L * (m_m + m_width) + 1000;
        for (long pass = 0; pass < cap; ++pass) {
            // The leaving row: the one furthest off its bound, or the one whose basic variable comes
            // first after a long run without progress (which cannot cycle).
            int p = -1;
            double worst = 0.0;
            for (int u = 0; u < m_m; ++u) {
                const int v = m_basic[std::size_t(u)];
                const double off = violation(m_b[std::size_t(u)], m_equalVariable[std::size_t(v)]);
                if (off == 0.0)
                    continue;
                if (bland ? (p < 0 || v < m_basic[std::size_t(p)]) : off > worst) {
                    p = u;
                    worst = off;
                }
            }
            if (p < 0)
                return objective;
            // The entering variable: the least reduced cost per unit of the row's move toward its
            // bound, ties to the largest entry (or the first, in the smallest-index rule).
            const double sign = m_b[std::size_t(p)] < 0.0 ? -1.0 : 1.0;
            const double *ap = m_a.data() + std::size_t(p) * w;
            int e = -1;
            double best = 0.0, bestEntry = 0.0;
            for (int k = 0; k < m_width; ++k) {
                if (m_isBasic[std::size_t(k)] || m_fixed[std::size_t(k)])
                    continue;
                const double entry = sign * ap[k];
                if (entry <= kPivot)
                    continue;
                const double ratio = m_r[std::size_t(k)] / entry;
                const bool better = e < 0 || ratio < best - 1e-12 * (1.0 + best)
                                    || (!bland && ratio <= best + 1e-12 * (1.0 + best) && entry > bestEntry);
                if (better) {
                    e = k;
                    best = ratio;
                    bestEntry = entry;
                }
            }
            if (e < 0)
                return std::numeric_limits<double>::infinity();
            const double rise = pivot(p, e);
            objective += rise;
            if (rise > 1e-12) {
                flat = 0;
                bland = false;
            } else if (++flat >= kBlandAfter) {
                bland = true;
            }
        }
        // Not settled within the cap: no answer, rather than the final basis's value.
        return std::numeric_limits<double>::quiet_NaN();
    }

    // Pivots on row p and column e; answers the rise of the objective.
    double pivot(int p, int e)
    {
        const std::size_t w = std::size_t(m_width);
        double *ap = m_a.data() + std::size_t(p) * w;
        const double d = ap[e];
        for (std::size_t k = 0; k < w; ++k)
            ap[k] /= d;
        ap[e] = 1.0;
        m_b[std::size_t(p)] /= d;
        for (int u = 0; u < m_m; ++u) {
            if (u == p)
                continue;
            double *a = m_a.data() + std::size_t(u) * w;
            const double f = a[e];
            if (f == 0.0)
                continue;
            for (std::size_t k = 0; k < w; ++k) {
                const double v = a[k] - f * ap[k];
                a[k] = std::fabs(v) < kClean ? 0.0 : v;
            }
            a[e] = 0.0;
            m_b[std::size_t(u)] -= f * m_b[std::size_t(p)];
        }
        const double re = m_r[std::size_t(e)];
        if (re != 0.0) {
            for (std::size_t k = 0; k < w; ++k) {
                const double v = m_r[k] - re * ap[k];
                m_r[k] = std::fabs(v) < kClean ? 0.0 : v;
            }
        }
        m_r[std::size_t(e)] = 0.0;
        const int leaving = m_basic[std::size_t(p)];
        m_isBasic[std::size_t(leaving)] = 0;
        m_fixed[std::size_t(leaving)] = m_equalVariable[std::size_t(leaving)];
        m_isBasic[std::size_t(e)] = 1;
        m_basic[std::size_t(p)] = e;
        return re * m_b[std::size_t(p)];
    }

    const SimplexTableau &m_t;
    std::vector<int> m_rows;       // tableau rows whose basic variable sits at 0
    std::vector<char> m_equality;  // per such row: the basic variable is artificial
    std::vector<int> m_columns;    // the nonbasic columns that may move
    int m_n = 0, m_m = 0, m_width = 0;
    std::vector<double> m_a0, m_r0; // rows by (columns, then one variable per row)
    std::vector<double> m_a, m_r, m_b;
    std::vector<int> m_basic;
    std::vector<char> m_isBasic, m_fixed, m_equalVariable;
};

} // namespace

std::vector<double> entryThresholds(const SimplexTableau &t, const std::vector<EntryColumn> &columns)
{
    std::vector<double> out;
    out.reserve(columns.size());
    if (columns.empty())
        return out;
    FaceProgramme face(t);
    for (const EntryColumn &c : columns) {
        const double lost = face.worthLost(c);
        out.push_back(std::isinf(lost) ? -std::numeric_limits<double>::infinity() : c.worth - lost); // NaN stays
    }
    return out;
}

} // namespace vexo
