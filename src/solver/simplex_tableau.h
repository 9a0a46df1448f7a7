#pragma once

#include <cstddef>
#include <new>
#include <vector>

namespace vexo {

// Guards that keep a run finite and its memory bounded. A long run of degenerate pivots (no fall of the cost) switches the
// pricing to the smallest improving column, which cannot cycle, until a pivot lowers the cost again;
// the cap is the last guard against a run that never ends.
struct SimplexLimits
{
    long degenerateRunBeforeBland = 200; // also at least twice the number of rows
    long iterationCap = 0;               // 0: 100 * (rows + columns) + 10000
    // Passes of the entry-price programme for one column (below 0: 50 * (rows + width) + 1000); a
    // column not settled within them has no entry price (NaN), never a guessed one.
    long entryPricePassCap = -1;
    // The largest tableau a solve may build, in bytes (every column of every row as a double); a
    // larger problem is refused before anything of that size is allocated.
    unsigned long long tableauBytesCap = 1ULL << 30; // 1 GB
};

// The process-wide guards; tests lower them.
SimplexLimits &simplexLimits();

// Storage that starts on a 64-byte boundary (a cache line, one AVX-512 vector), so that rows whose
// stride is a multiple of eight numbers all start on one.
template<typename T>
struct CacheLineAllocator
{
    using value_type = T;
    static constexpr std::align_val_t kAlign{64};
    CacheLineAllocator() = default;
    template<typename U>
    CacheLineAllocator(const CacheLineAllocator<U> &) noexcept {}
    T *allocate(std::size_t n) { return static_cast<T *>(::operator new(n * sizeof(T), kAlign)); }
    void deallocate(T *p, std::size_t) noexcept { ::operator delete(p, kAlign); }
    template<typename U>
    bool operator==(const CacheLineAllocator<U> &) const noexcept { return true; }
};
template<typename T>
using AlignedVector = std::vector<T, CacheLineAllocator<T>>;

// A dense simplex tableau without an objective row: rows are contiguous in memory (a fixed stride),
// z is the sum of the rounded products of the basic costs and the entries (KRITER). Rows and
// columns count from 0 here.
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
    void set(int i, int j, double v)
    {
        const int p = m_phys[std::size_t(j)];
        if (p >= m_active)
            return;
        row(i)[p] = v;
        m_zValid = false;
        m_cleanZeros = false;
        m_columnOf = -1;
    }

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

    // Fills a whole row before indexRows(), one value per column; mirror columns take nothing.
    void setRow(int i, const double *values);

    // Cleans the entries after the rows were filled through set() or setRow(): below the cleaning
    // bound becomes 0.0, as every pivot leaves them.
    void indexRows();

    // Keeps the programme as it stands now (the rows as filled, the right-hand sides and the basis,
    // which must be unit columns, as the starting slack and artificial columns are), so that the
    // final basis can be checked against it and the tableau rebuilt from it. Call it before the
    // first pivot.
    void keepOriginal();
    bool hasOriginal() const { return !m_origStart.empty(); }

    // Scales the programme (the rows, the right-hand sides, the costs and the kept programme) before
    // the first pivot, when the entries of a row or a column span more than a few orders of
    // magnitude: each row and each column is multiplied by a power of two (no rounding is added), so
    // that the entries lie near 1 and the fixed tolerances of the iterations mean the same in every
    // row. A column of the starting basis, and the column it mirrors, takes the inverse of its row's
    // factor, so it stays a unit column. Call it after keepOriginal(); answers whether it scaled.
    bool scale();
    bool scaled() const { return !m_rowScale.empty(); }
    // Back to the programme's own units (entries, values, costs, z and z minus cost, the kept
    // programme), then priced afresh; nothing when not scaled.
    void unscale();

    // How well the current basis stands against the kept programme in its own units (unscaled);
    // each figure is relative to the size of the terms it sums.
    struct Soundness
    {
        double residual = 0.0;  // worst row of the original rows not met by the basic values
        double negative = 0.0;  // largest basic value below 0
        double basicCost = 0.0; // worst basic column whose cost differs from its worth at the shadow prices
        double improving = 0.0; // largest fall of the cost per unit of a column that may enter
        bool accurate() const;  // values and shadow prices are those of the basis
        bool optimal() const;   // accurate, and no column lowers the cost
    };
    // Computed from the kept programme, the basic values (rhs) and the shadow prices the last pricing
    // gave the starting basic columns; a column barred from entering is not asked to be priced out.
    Soundness soundness() const;

    // Rebuilds the tableau from the kept programme for the current basis: Gaussian elimination with
    // partial pivoting over the basic columns, starting from the starting basis. A basic column that
    // depends on the others is left out and its row keeps its starting column. Right-hand sides a
    // hair below 0 become 0. Answers whether every basic value is at or above 0.
    bool rebuild();
    // Iterative refinement of the basic values against the kept programme, in its own units (not
    // scaled): the residual of every original row, carried back through the basis inverse (the
    // columns of the starting basis), twice. A value that lands under the cleaning bound or a hair
    // below 0 becomes 0, as after a pivot.
    void refine();
    // Rebuilds the tableau for the starting basis: the programme as kept, from where a run may start
    // over. Answers as rebuild().
    bool restart();

private:
    double *row(int i) { return m_a.data() + std::size_t(i) * m_stride; }
    const double *row(int i) const { return m_a.data() + std::size_t(i) * m_stride; }
    // Where column j's entries are read: the stored column and the sign.
    int storedColumn(int j, double *sign) const;
    void priceAll();
    void swapStored(int p, int q);
    void placeStored(int p, bool basic);
    void partitionByBasis();
    std::vector<int> m_mirrorOf;   // per column
    std::vector<int> m_phys;       // stored position of each column (mirrors after the others)
    std::vector<int> m_logical;    // column of each stored position
    std::vector<int> m_readAt;     // per column: the stored position its entries are read from
    std::vector<double> m_readSign; // per column: -1 for a mirror, else 1
    std::vector<std::vector<int>> m_mirrors; // per column: the columns that mirror it
    // The stored positions are kept in two blocks: from m_basicFrom on the columns that are basic
    // (themselves or their mirror), before it the others. A basic column is a unit column, so a
    // pivot row holds zeros there, apart from the leaving column, which moves to the other block
    // before the pivot; the pivot then visits only the first block. Where a column is stored
    // changes nothing in any number, and where the blocks are wrong only time is lost.
    int m_basicFrom = 0;
    bool m_partitioned = false;
    int m_active = 0;              // stored columns that are not mirrors
    AlignedVector<double> m_zs;    // z in units of 10^-8, per stored position (and the padding)
    // The pricing is carried from pivot to pivot: the pivot takes the products of the entries it
    // changes out of m_zs and puts the new ones in. The products are whole numbers of 10^-8, and
    // a sum of whole numbers whose magnitudes add up to at most 2^53 is exact in any order, so the
    // carried sum is the one a fresh pricing makes row by row. m_zabs holds that sum of magnitudes
    // per column, infinite once it left the exact range: such a column is summed afresh, row by
    // row, by the next pricing after one of its entries changed. When the basic costs were changed from outside (m_zcb holds the
    // ones the sums were made with) or an entry was set, the next pricing starts afresh.
    AlignedVector<double> m_zabs;
    std::vector<double> m_zcb;
    // Per stored position: an entry changed since the column was last summed.
    std::vector<char> m_touched;
    bool m_zValid = false;
    // Every entry is 0.0 or at least the cleaning bound (after indexRows() and every pivot).
    bool m_cleanZeros = false;
    // Scratch of the pricing (columns to sum afresh), of the choice of the column and of the
    // ratio test.
    std::vector<int> m_recount;
    std::vector<int> m_candidates;
    std::vector<int> m_pricedRows;
    std::vector<int> m_plainRows;
    std::vector<int> m_wideRows;
    // The entries of column m_columnOf (-1: none) as the tableau holds them now, mirrors negated.
    std::vector<double> m_column;
    int m_columnOf = -1;
    std::vector<double> m_ratio;
    std::vector<double> m_scratch; // of the columns summed afresh
    // The kept programme: per row its non-zero entries (column, value) of the columns that are not
    // mirrors, the right-hand sides and the starting basis.
    std::vector<int> m_origStart;
    std::vector<int> m_origColumn;
    std::vector<double> m_origValue;
    std::vector<double> m_origRhs;
    std::vector<int> m_origBasis;
    // The factors of scale(): per row, per column (empty: not scaled). A scaled entry is the
    // programme's entry times its row's and its column's factor, a scaled right-hand side the
    // programme's times its row's, a scaled cost the programme's times its column's.
    std::vector<double> m_rowScale;
    std::vector<double> m_colScale;
    int m_rows = 0;
    int m_cols = 0;
    std::size_t m_stride = 0;
    AlignedVector<double> m_a;
};

// Half away from zero to 8 decimals, the same number as MROUND2(x, 8).
double round8(double x);

} // namespace vexo
