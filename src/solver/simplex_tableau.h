#pragma once

#include <cstddef>
#include <vector>

namespace vexo {

// Guards that keep a run finite. A long run of degenerate pivots (no fall of the cost) switches the
// pricing to the smallest improving column, which cannot cycle, until a pivot lowers the cost again;
// the cap is the last guard against a run that never ends.
struct SimplexLimits
{
    long degenerateRunBeforeBland = 200; // also at least twice the number of rows
    long iterationCap = 0;               // 0: 100 * (rows + columns) + 10000
};

// The process-wide guards; tests lower them.
SimplexLimits &simplexLimits();

// A dense simplex tableau without an objective row: rows are contiguous in memory (a fixed stride),
// z is computed from the basic costs in every iteration. Rows and columns count from 0 here.
//
// The artificial column of a minimum row is the negation of that row's surplus column, at the start
// and after every pivot (the same row operations act on both, and negation is exact). Such a
// column may be declared a mirror: it is not stored, its entries and its z are the negated ones of
// the surplus column, which saves a third of the work of every iteration.
class SimplexTableau
{
public:
    SimplexTableau() = default;
    // mirrorOf: for each column, the column it is the negation of, or -1 (empty: none).
    SimplexTableau(int rows, int columns, const std::vector<int> &mirrorOf = {});

    int rows() const { return m_rows; }
    int columns() const { return m_cols; }

    double at(int i, int j) const
    {
        const int m = m_mirrorOf.empty() ? -1 : m_mirrorOf[std::size_t(j)];
        if (m >= 0)
            return -row(i)[m_phys[std::size_t(m)]] + 0.0;
        return row(i)[m_phys[std::size_t(j)]];
    }
    // Fills an entry before indexRows(); a mirror column takes nothing.
    void set(int i, int j, double v) { row(i)[m_phys[std::size_t(j)]] = v; }

    std::vector<double> rhs;        // value of each row's basic variable
    std::vector<int> basis;         // basic column of each row
    std::vector<double> cb;         // cost of each row's basic variable
    std::vector<double> cost;       // cost of each column
    std::vector<double> zj;         // z of each column, from the last pricing
    std::vector<double> zjcj;       // z minus cost of each column, from the last pricing
    std::vector<char> artificial;   // 1 for an artificial column
    std::vector<char> barred;       // 1 for a column that may not enter (phase two)

    int entering = -1;              // column of the current iteration
    int leaving = -1;               // row of the current iteration
    bool blandMode = false;         // smallest improving column enters
    bool lastPivotDegenerate = false;
    long degenerateRun = 0;         // degenerate pivots since the cost last fell

    // After a pivot: counts a degenerate one, switches to the smallest improving column after
    // `runBeforeBland` of them in a row, and back when a pivot lowers the cost.
    void noteDegeneracy(long runBeforeBland);

    // The steps of one iteration, in the order the loop calls them.
    void KRITER();
    bool HEPSI() const;
    bool GVEKTOR();
    bool HESTETA();
    void TABLODEGIS();

    // Pivots on any row and column (used to drive artificial variables out at level 0).
    void pivot(int r, int e);

    // Marks the entries that are not zero, after the rows were filled through set(). Pricing visits
    // only marked entries (a zero adds nothing to z). A pivot marks in every row it changes the
    // columns marked in the pivot row, so the marks stay a superset of the entries that are not
    // zero; an entry that cancels to zero keeps its mark and adds zero.
    void indexRows();

private:
    double *row(int i) { return m_a.data() + std::size_t(i) * m_stride; }
    const double *row(int i) const { return m_a.data() + std::size_t(i) * m_stride; }
    // Where column j's entries are read: the stored column and the sign.
    int storedColumn(int j, double *sign) const;
    void markRows();
    std::vector<int> m_mirrorOf;   // per column
    std::vector<int> m_phys;       // stored position of each column (mirrors after the others)
    std::vector<int> m_logical;    // column of each stored position
    int m_active = 0;              // stored columns that are not mirrors
    std::vector<double> m_zs;      // z in units of 10^-8, per stored position
    int m_pivotsSinceMarking = 0;
    std::size_t m_words = 0;       // 64-bit words of marks per row
    std::vector<unsigned long long> m_marks;
    int m_rows = 0;
    int m_cols = 0;
    std::size_t m_stride = 0;
    std::vector<double> m_a;
};

// Half away from zero to 8 decimals, the same number as MROUND2(x, 8).
double round8(double x);

} // namespace vexo
