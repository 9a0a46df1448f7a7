#pragma once

#include "solver/result_write_back.h"
#include "solver/simplex_tableau.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <functional>
#include <memory>
#include <optional>
#include <vector>

class QWidget;

namespace vexo {

class ProgressSink;

// A limit that is given, or not (nil).
using Limit = std::optional<double>;

// Three parallel lists: fixed values, minimum values, maximum values of the same rows.
struct LimitTriple
{
    std::vector<Limit> fix;
    std::vector<Limit> min;
    std::vector<Limit> max;

    std::size_t size() const { return fix.size(); }
    void append(Limit f, Limit lo, Limit hi);
    void remove(std::size_t k);
    // The first given of fixed, minimum, maximum; nil when none.
    Limit active(std::size_t k) const;
    // "Sabit", "Alt", "Üst" or "Yok".
    QString kind(std::size_t k) const;
    // A fixed value clears the minimum and the maximum beside it.
    void settle();
};


// How a solve ended.
enum class SolveOutcome {
    Refused,      // the builders refused the problem (message shown)
    Stopped,      // the user pressed the stop button
    IterationCap, // the run did not end within the cap (message shown)
    Optimum,      // an optimum was found
    Infeasible,   // no formula that meets every limit was found (none exists, or the arithmetic could not
                  // confirm one); the closest result was delivered
    Unbounded,    // the cost can fall without end; the basis reached was delivered
    Unsettled,    // the arithmetic could not settle the run: the basis reached stood against the original
                  // rows neither as reached nor rebuilt from them (message shown, nothing delivered)
};

// What the iteration loop tells an observer (tests follow the worked example with it).
// Rebuilt: the tableau was computed afresh from the programme as built (its final basis failed the
// check against the original rows). Rescaled: the tableau changed its units, scaled before the first
// pivot or back to the programme's own units after the last.
enum class SolveEvent { Built, BeforePivot, LoopEnded, Rebuilt, Rescaled };
using SolveObserver = std::function<void(const SimplexTableau &, SolveEvent)>;

// The least-cost solver. Its whole work runs in the construction: copy the open problem, build the
// linear programme, iterate under the progress dialog, judge, and deliver the results into the
// problem's lists (and, in report mode, hand over to the report step).
class KY_OPTIMIZER
{
public:
    KY_OPTIMIZER(QWidget *owner, bool lAuto);
    ~KY_OPTIMIZER();
    KY_OPTIMIZER(const KY_OPTIMIZER &) = delete;
    KY_OPTIMIZER &operator=(const KY_OPTIMIZER &) = delete;

    // 1 when results were delivered, otherwise 0.
    int RESULT() const { return NSONUC_; }

    // A result table without the elements of the second rows of two-sided limits (which follow the
    // list's own rows): one element per list row that took part, in list order.
    ResultTable ownResults(ResultRows which) const;

    // Public fields, read by the callers after the construction.
    unsigned short NRTIPI_ = 0;
    ResultTable AAUTOYM_;
    ResultTable AAUTOYMG_;
    ResultTable AAUTOBM_;
    ResultTable AAUTOBMO_;
    bool LOPTI_ = false;
    unsigned short NFORMAT_ = 0;

    // Report data, set by the report step's PARMGIR.
    QString CMIKSER_, CPARABIRIMI_, CAGIRLIKBIRIMI_, CSIRKET_, CKARMAYEM_, CHAZIRLAYAN_;

    // The coefficients of a ratio row over the columns: numerator content less the ratio times the
    // denominator content, 0.0 where that is below 1e-8 in magnitude.
    static std::vector<double> ratioCoefficients(const std::vector<double> &numerator,
                                                 const std::vector<double> &denominator, double ratio);

    // Typed operations.
    static QString GETNTRUNCATED(const QString &numerator, const QString &denominator);
    QString ISARETVARMI(unsigned row, double calculated, double limit, int decimals) const;
    Limit ACTSINVALUE(unsigned row) const;

    // What the reports and the tests read (rows of the full row list count from 1 in the
    // operations above, from 0 in these lists).
    SolveOutcome outcome() const { return m_outcome; }
    const QStringList &ASATIRADI() const { return ASATIRADI_; }
    const QStringList &ASATIRTIPI() const { return ASATIRTIPI_; }
    const LimitTriple &AILKSINIR() const { return AILKSINIR_; }
    const QStringList &AYMADI() const { return AYMADI_; }
    const QStringList &AYMGADI() const { return AYMGADI_; }
    const std::vector<double> &AMALIYET() const { return AMALIYET_; }
    unsigned NYMSAYISI() const { return NYMSAYISI_; }
    unsigned NBMSAYISI() const { return NBMSAYISI_; }
    std::size_t ratioRowCount() const { return ABMOSATIR_num_.size(); }
    // The ingredient-limit rows built; the group rows built follow them to the end of the list.
    std::size_t ingredientRowCount() const { return m_ingredientRowColumn.size(); }
    double UBUYUKM() const { return UBUYUKM_; }
    // The shares of the ingredient columns (fractions) and the unit cost of the final basis.
    const std::vector<double> &shares() const { return m_x; }
    double costSum() const { return m_costSum; }
    // The shadow price of every row of the full row list; nil for a row without a limit.
    const std::vector<Limit> &shadowPrices() const { return m_shadow; }
    // Per ingredient column: what its share is worth at the shadow prices of the nutrient, ratio and
    // group rows (the sum of its coefficient times the shadow price over those rows), less its price.
    // The ingredient's own limit rows take no part: they bound its share, and a share at 0 sits on
    // its bound whether the tableau holds the column as basic or not.
    const std::vector<double> &reducedCosts() const { return m_reducedCost; }
    // Per ingredient column: the price below which it enters the formula (its maximum entry price).
    // Of an optimum, for an ingredient at 0, the least it is worth at the shadow prices of the other
    // rows over every optimal set of them (one optimum may have many; entryThresholds), so it is
    // above its price only when its own limit of 0 keeps it out, and -infinity when no price lets it
    // in. Otherwise the price less the magnitude of the reduced cost.
    const std::vector<double> &entryPrices() const { return m_entryPrice; }
    // The value text and the violation mark of every row of the full row list, before a split
    // maximum copy was folded into its own row (the detailed report shows both).
    const std::vector<QString> &rowValues() const { return m_rowValues; }
    const std::vector<QString> &rowMarks() const { return m_rowMarks; }
    // The tableau as the run left it: final basis, values, costs, z and z minus cost of every
    // column (the reports read the basic columns and the reduced costs here).
    const SimplexTableau &tableau() const { return m_t; }
    // Number of iterations of the run (all phases).
    long iterations() const { return m_iterations; }

    // Tests follow the iterations with an observer; nullptr removes it.
    static void setObserver(SolveObserver observer);

private:
    // Driver pieces.
    void EXITFALSE();
    bool DOCOUNT();
    void AALERT();
    void MESSAGEEND();

    // Building the linear programme.
    void SINDIZOLUSUMU();
    bool STKKONTROL();
    bool FIATSIZYEM();
    void removeIngredientColumn(std::size_t j);
    void BMUSTLIMADD();
    void ADDBMTYPE();
    void BMOADD();
    void BMOUSTLIMADD();
    void YEMMADADD();
    void YMGRUPADD();
    void YGUSTLIMADD();
    bool DELBMSINSIZ();
    void turnNegativeRows();
    bool tableauFits();
    void BMESITLIK();
    void SDEGISKEN();
    void ADDNMATKOL(unsigned row, double value);
    // Appends one column per entry of rowOf, holding `value` in that row and 0.0 in the others;
    // answers the first new column.
    int addColumns(const std::vector<std::size_t> &rowOf, double value);
    void packTableau();

    // Iterating and judging.
    // Unsound: the basis reached could not be confirmed against the original rows, not even after
    // the tableau was rebuilt from them (or the rebuilds were used up).
    enum class LoopEnd { Optimal, Unbounded, NoRow, Stopped, Cap, Unsound };
    LoopEnd runLoop();
    void CHKOPTI();
    bool confirmWithPhaseOne();

    // Results.
    bool AUTOSOLUTION();
    // Second rows of two-sided limits at the end of the nutrient, ratio and group tables.
    qsizetype m_copyRows[3] = {0, 0, 0};
    void ADDRESULTS1();
    void ADDRESULTS2();
    void ADDRESULTS3();
    void ADDRESULTS4();

    // Working lists of the builder (rows of numbers until the tableau is packed).
    LimitTriple AYMGSINIR_;
    std::vector<std::vector<double>> AYMGMATRIS_;
    QStringList AYMGADI_;
    LimitTriple AYMSINIR_;
    LimitTriple ASINIR_;
    // Ratio definitions: numerator, denominator, fixed, minimum, maximum.
    QStringList ABMOTANIM_num_, ABMOTANIM_den_;
    LimitTriple ABMOTANIM_lim_;
    QStringList AYMADI_;
    QStringList ASATIRADI_;
    QStringList ASATIRTIPI_;
    std::vector<int> ABMOSATIR_num_, ABMOSATIR_den_; // nutrient rows, from 0
    std::vector<std::vector<double>> ATABLO_;
    std::vector<double> AMALIYET_; // ingredient prices first; nil prices until FIATSIZYEM are NaN
    std::vector<bool> ASTOK_;
    double UBUYUKM_ = 0.0;
    unsigned NYMSAYISI_ = 0;
    unsigned NBMSAYISI_ = 0;
    LimitTriple AILKSINIR_;
    std::vector<std::vector<double>> AILKTABLO_;
    std::vector<int> ABAZ_; // starting basis while building; the tableau keeps the current one
    std::vector<int> AILKBAZ_;
    std::vector<int> m_artificialColumns;
    std::vector<int> m_surplusColumn; // per tableau row, -1 when none

    // Where a two-sided limit was split: for each appended maximum copy (full row list position, from
    // 0) the position of the row it was split from.
    std::vector<std::pair<int, int>> m_splitRows;
    // For every ingredient-limit row of the full row list, its ingredient column.
    std::vector<int> m_ingredientRowColumn;
    // Tableau rows turned around because their limit was below zero.
    std::vector<char> m_flipped;
    // Ratio definitions appended by the split, and groups likewise: their original entry.
    std::vector<int> m_ratioSplitFrom;
    std::vector<int> m_groupSplitFrom;
    std::vector<int> m_nutrientSplitFrom;
    // The group list rows (from 0) that take part, in order: the rows with a name.
    std::vector<int> m_groupListRows;
    // The number texts of the lists that read as no number, each with where it stands.
    QStringList m_unreadNumbers;

    SimplexTableau m_t;
    QWidget *OOWNER_ = nullptr;
    int NSONUC_ = 0;
    std::unique_ptr<ProgressSink> OALERT_;
    SolveOutcome m_outcome = SolveOutcome::Refused;
    long m_iterations = 0;
    std::vector<double> m_x;
    double m_costSum = 0.0;
    std::vector<Limit> m_shadow;
    std::vector<double> m_reducedCost;
    std::vector<double> m_entryPrice;
    std::vector<QString> m_rowValues;
    std::vector<QString> m_rowMarks;
};

} // namespace vexo
