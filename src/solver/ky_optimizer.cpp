#include "solver/ky_optimizer.h"

#include "solver/progress_sink.h"
#include "solver/report_step.h"

#include "problem/messages.h"
#include "problem/number_text.h"
#include "problem/open_problem.h"

#include <algorithm>
#include <cmath>

namespace vexo {

namespace {

// The progress dialog is counted every second iteration over the whole life of the program, not
// per solve.
int g_passCounter = 0;

SolveObserver &observer()
{
    static SolveObserver o;
    return o;
}

// An empty cell reads as 0.0; a cell that is no number too, noted with its row and ingredient.
std::vector<double> numberRow(const QStringList &cells, std::size_t columns, const QString &rowName,
                              const QStringList &ingredients, QStringList &unread)
{
    std::vector<double> row(columns, 0.0);
    for (std::size_t j = 0; j < columns && j < std::size_t(cells.size()); ++j) {
        bool ok = true;
        row[j] = readNumberText(cells.at(qsizetype(j)), &ok).value_or(0.0);
        if (!ok)
            unread.append(QStringLiteral("%1 - %2: \"%3\"")
                              .arg(ingredients.value(qsizetype(j)), rowName, cells.at(qsizetype(j)).trimmed()));
    }
    return row;
}

// An artificial variable still above this after phase one (in the scaled units, where the entries of
// every row lie near 1) means that the limits cannot be met.
constexpr double kInfeasible = 1e-7;

// How many times one run may rebuild its tableau from the programme as built.
constexpr int kRebuilds = 3;

} // namespace

void KY_OPTIMIZER::setObserver(SolveObserver o)
{
    observer() = std::move(o);
}

KY_OPTIMIZER::KY_OPTIMIZER(QWidget *owner, bool lAuto)
    : OOWNER_(owner)
{
    NSONUC_ = 0;
    SINDIZOLUSUMU();

    // The content and membership matrices, one number per ingredient column.
    const OpenProblem &p = openProblem();
    const std::size_t columns = AMALIYET_.size();
    NYMSAYISI_ = unsigned(columns);
    for (std::size_t k = 0; k < ASINIR_.size(); ++k)
        ATABLO_.push_back(numberRow(p.AAMAT.value(qsizetype(k)), columns, ASATIRADI_.value(qsizetype(k)), AYMADI_,
                                    m_unreadNumbers));
    // The members of each named group row: the membership row of the same place.
    if (!p.AGMAT.isEmpty()) {
        for (int k : m_groupListRows)
            AYMGMATRIS_.push_back(numberRow(p.AGMAT.value(k), columns, AYMGADI_.value(qsizetype(AYMGMATRIS_.size())),
                                            AYMADI_, m_unreadNumbers));
    }
    if (!m_unreadNumbers.isEmpty()) {
        ERRBEEP();
        ERRMESS(OOWNER_, QString(),
                noNumberCellsText(QStringLiteral("Sayı olmayan değerler var; hesaplama yapılmadı:"), m_unreadNumbers));
        EXITFALSE();
        return;
    }

    if (!STKKONTROL() || !FIATSIZYEM()) {
        EXITFALSE();
        return;
    }
    // The big cost must be above every price, also when all prices are 0.
    UBUYUKM_ = 1000.0 * std::max(AMALIYET_[std::size_t(AMAX(AMALIYET_) - 1)], 1.0);
    NYMSAYISI_ = unsigned(AMALIYET_.size());
    BMUSTLIMADD();
    NBMSAYISI_ = unsigned(ASINIR_.size());
    ADDBMTYPE();
    AILKSINIR_ = ASINIR_;
    AILKTABLO_ = ATABLO_;
    BMOADD();
    YEMMADADD();
    if (!AYMGMATRIS_.empty())
        YMGRUPADD();
    if (!DELBMSINSIZ()) {
        EXITFALSE();
        return;
    }
    turnNegativeRows();
    if (!tableauFits()) {
        EXITFALSE();
        return;
    }
    BMESITLIK();
    SDEGISKEN();
    packTableau();
    m_t.keepOriginal();
    AILKBAZ_ = ABAZ_;

    AALERT();
    if (observer())
        observer()(m_t, SolveEvent::Built);
    // Contents of many orders of magnitude in one row (a premix beside grains, kcal beside trace
    // minerals) are scaled to one size, so that the fixed tolerances of the iterations mean the same
    // in every row; the results are read in the programme's own units.
    if (m_t.scale() && observer())
        observer()(m_t, SolveEvent::Rescaled);
    LoopEnd end = runLoop();
    if (end == LoopEnd::Stopped)
        return;
    if (end != LoopEnd::Cap) {
        CHKOPTI();
        if (end == LoopEnd::Unbounded || end == LoopEnd::NoRow) {
            LOPTI_ = false;
            m_outcome = SolveOutcome::Unbounded;
        } else if (end == LoopEnd::Optimal && LOPTI_) {
            m_outcome = SolveOutcome::Optimum;
        } else {
            // An artificial variable above 0, or a Big-M end that did not stand against the original
            // rows (the penalty costs make its shadow prices the hardest to confirm): phase one and
            // two, on plain costs, settle it.
            LOPTI_ = false;
            end = confirmWithPhaseOne() ? LoopEnd::Optimal : end;
            if (m_outcome == SolveOutcome::Stopped)
                return;
        }
    }
    if (m_t.scaled()) {
        m_t.unscale();
        if (observer())
            observer()(m_t, SolveEvent::Rescaled);
    }
    if (observer())
        observer()(m_t, SolveEvent::LoopEnded);
    // The shares of an optimum as exact as the original rows give them: contents of 10,000 beside
    // 0.001 turn an error of the shares of 1e-9 into one of the levels of 1e-5.
    if (LOPTI_)
        m_t.refine();
    MESSAGEEND();
    if (end == LoopEnd::Cap || m_outcome == SolveOutcome::IterationCap) {
        m_outcome = SolveOutcome::IterationCap;
        ERRBEEP();
        ERRMESS(OOWNER_, QString(),
                QStringLiteral("Hesaplama %1 iterasyonda sonuçlanmadı...").arg(m_iterations - 1) + u'\n' + u'\n'
                    + QStringLiteral("Sınırları gözden geçirip hesabı tekrar yürütünüz."));
        EXITFALSE();
        return;
    }
    if (m_outcome == SolveOutcome::Unsettled) {
        // Neither an optimum nor a proof that the limits cannot be met: said as such, nothing shown.
        ERRBEEP();
        ERRMESS(OOWNER_, QString(),
                QStringLiteral("Hesaplama sayısal olarak sonuçlandırılamadı...") + u'\n' + u'\n'
                    + QStringLiteral("Sınırları gözden geçirip hesabı tekrar yürütünüz."));
        EXITFALSE();
        return;
    }

    if (lAuto) {
        AUTOSOLUTION();
        NSONUC_ = 1;
        return;
    }
    ReportStep &report = reportStep();
    if (!report.PARMGIR(*this))
        return;
    AUTOSOLUTION();
    if (NRTIPI_ == 1)
        NSONUC_ = report.SONUCOZET(*this) ? 1 : 0;
    else if (NRTIPI_ == 2)
        NSONUC_ = report.SONUCDOSYA(*this) ? 1 : 0;
}

KY_OPTIMIZER::~KY_OPTIMIZER()
{
    MESSAGEEND();
}

void KY_OPTIMIZER::EXITFALSE()
{
    NSONUC_ = 0;
    LOPTI_ = false;
    openProblem().CCOZUMDURUMU = QStringLiteral("H");
}

void KY_OPTIMIZER::AALERT()
{
    OALERT_ = makeProgress(OOWNER_);
    OALERT_->open();
}

void KY_OPTIMIZER::MESSAGEEND()
{
    if (OALERT_) {
        OALERT_->close();
        OALERT_.reset();
    }
}

bool KY_OPTIMIZER::DOCOUNT()
{
    if (OALERT_ && OALERT_->LDURDUR()) {
        MESSAGEEND();
        EXITFALSE();
        m_outcome = SolveOutcome::Stopped;
        return false;
    }
    if (++g_passCounter >= 2) {
        if (OALERT_)
            OALERT_->COUNTER();
        g_passCounter = 0;
    }
    return true;
}

KY_OPTIMIZER::LoopEnd KY_OPTIMIZER::runLoop()
{
    const SimplexLimits &limits = simplexLimits();
    const long cap = limits.iterationCap > 0 ? limits.iterationCap
                                             : 100L * (m_t.rows() + m_t.columns()) + 10000L;
    const long degenerateRun = std::max(limits.degenerateRunBeforeBland, 2L * m_t.rows());
    // A basis is taken as final only when it stands against the original rows: the tableau is
    // updated pivot by pivot and its rounding errors may grow. Where it does not, the tableau is
    // rebuilt from the programme for that basis and the iterations go on; an end of the loop other
    // than the optimum is looked at once more on a rebuilt tableau. A basis that cannot be rebuilt
    // with its values at or above 0, or that still fails after a few rebuilds, is no optimum.
    int rebuilds = 0;
    bool restarted = false;
    bool fresh = false; // no pivot since the last rebuild
    auto rebuild = [&]() {
        if (++rebuilds > kRebuilds)
            return false;
        bool feasible = m_t.rebuild();
        if (!feasible && !restarted) {
            // Rebuilt from the programme, the basis holds a value below 0: the iterations went astray
            // and prove nothing. The run starts over from the starting basis, which meets the
            // programme.
            restarted = true;
            feasible = m_t.restart();
        }
        fresh = true;
        if (observer())
            observer()(m_t, SolveEvent::Rebuilt);
        return feasible;
    };
    for (;;) {
        if (!DOCOUNT())
            return LoopEnd::Stopped;
        if (++m_iterations > cap)
            return LoopEnd::Cap;
        m_t.KRITER();
        if (m_t.HEPSI()) {
            if (!m_t.hasOriginal() || m_t.soundness().optimal())
                return LoopEnd::Optimal;
            if (fresh || !rebuild())
                return LoopEnd::Unsound;
            continue;
        }
        const bool entering = m_t.GVEKTOR();
        const bool leaving = entering && m_t.HESTETA();
        if (!leaving) {
            if (m_t.hasOriginal() && !fresh) {
                if (!rebuild())
                    return LoopEnd::Unsound;
                continue;
            }
            return entering ? LoopEnd::NoRow : LoopEnd::Unbounded;
        }
        if (observer())
            observer()(m_t, SolveEvent::BeforePivot);
        m_t.TABLODEGIS();
        fresh = false;
        // Degenerate pivots do not lower the cost; a long run of them may be a cycle.
        m_t.noteDegeneracy(degenerateRun);
    }
}

void KY_OPTIMIZER::CHKOPTI()
{
    LOPTI_ = true;
    // An artificial variable is known by its column, not by its cost.
    for (int i = 0; i < m_t.rows(); ++i) {
        if (m_t.artificial[std::size_t(m_t.basis[std::size_t(i)])] && std::fabs(m_t.rhs[std::size_t(i)]) < 1e-15)
            m_t.cb[std::size_t(i)] = 0.0;
    }
    for (int i = 0; i < m_t.rows(); ++i) {
        if (m_t.artificial[std::size_t(m_t.basis[std::size_t(i)])] && m_t.cb[std::size_t(i)] != 0.0)
            LOPTI_ = false;
    }
}

bool KY_OPTIMIZER::confirmWithPhaseOne()
{
    // The Big-M run ended with an artificial variable above zero. That proves nothing when the big
    // cost was too small for the problem's units, so ask phase one of the two-phase method, on the
    // same tableau, whether the limits can be met at all.
    const SimplexTableau bigM = m_t;
    for (int j = 0; j < m_t.columns(); ++j)
        m_t.cost[std::size_t(j)] = m_t.artificial[std::size_t(j)] ? 1.0 : 0.0;
    for (int i = 0; i < m_t.rows(); ++i)
        m_t.cb[std::size_t(i)] = m_t.cost[std::size_t(m_t.basis[std::size_t(i)])];
    m_t.blandMode = false;
    m_t.degenerateRun = 0;
    LoopEnd end = runLoop();
    if (end == LoopEnd::Stopped)
        return false;
    if (end == LoopEnd::Cap) {
        m_outcome = SolveOutcome::IterationCap;
        return false;
    }
    if (end == LoopEnd::Unsound) {
        // Phase one could not settle whether the limits can be met.
        m_t = bigM;
        LOPTI_ = false;
        m_outcome = SolveOutcome::Unsettled;
        return false;
    }
    const auto shortfall = [&]() {
        double most = 0.0;
        for (int i = 0; i < m_t.rows(); ++i) {
            if (m_t.artificial[std::size_t(m_t.basis[std::size_t(i)])])
                most = std::max(most, std::fabs(m_t.rhs[std::size_t(i)]));
        }
        return most;
    };
    if (shortfall() > kInfeasible) {
        // What is left may be what rounding left over the pivots: computed afresh from the programme
        // for the same basis, phase one goes on from there before any verdict.
        const bool feasible = m_t.rebuild();
        if (observer())
            observer()(m_t, SolveEvent::Rebuilt);
        end = feasible ? runLoop() : LoopEnd::Unsound;
        if (end == LoopEnd::Stopped)
            return false;
        if (end != LoopEnd::Optimal) {
            m_t = bigM;
            LOPTI_ = false;
            m_outcome = end == LoopEnd::Cap ? SolveOutcome::IterationCap : SolveOutcome::Unsettled;
            return false;
        }
    }
    if (shortfall() > kInfeasible) {
        // The limits cannot be met: deliver the Big-M result, whose broken limits are marked.
        m_t = bigM;
        LOPTI_ = false;
        m_outcome = SolveOutcome::Infeasible;
        return false;
    }

    // Feasible. Drive the artificial variables left at zero out of the basis where a real column
    // can take their place (the right-hand side is zero, so no other row moves); a row where none
    // can is redundant and keeps its artificial variable at zero, at no cost.
    for (int i = 0; i < m_t.rows(); ++i) {
        if (!m_t.artificial[std::size_t(m_t.basis[std::size_t(i)])])
            continue;
        m_t.rhs[std::size_t(i)] = 0.0;
        int best = -1;
        for (int j = 0; j < m_t.columns(); ++j) {
            if (m_t.artificial[std::size_t(j)])
                continue;
            if (std::fabs(m_t.at(i, j)) > 1e-9 && (best < 0 || std::fabs(m_t.at(i, j)) > std::fabs(m_t.at(i, best))))
                best = j;
        }
        if (best >= 0)
            m_t.pivot(i, best);
    }
    // Phase two: the real costs, with the artificial columns barred from entering again.
    m_t.cost = bigM.cost;
    for (int j = 0; j < m_t.columns(); ++j)
        m_t.barred[std::size_t(j)] = m_t.artificial[std::size_t(j)];
    for (int i = 0; i < m_t.rows(); ++i) {
        const int b = m_t.basis[std::size_t(i)];
        m_t.cb[std::size_t(i)] = m_t.artificial[std::size_t(b)] ? 0.0 : m_t.cost[std::size_t(b)];
    }
    m_t.blandMode = false;
    m_t.degenerateRun = 0;
    end = runLoop();
    if (end == LoopEnd::Stopped)
        return false;
    if (end == LoopEnd::Cap) {
        m_outcome = SolveOutcome::IterationCap;
        return false;
    }
    if (end == LoopEnd::Unsound) {
        LOPTI_ = false;
        m_outcome = SolveOutcome::Unsettled;
        return false;
    }
    if (end != LoopEnd::Optimal) {
        LOPTI_ = false;
        m_outcome = SolveOutcome::Unbounded;
        return false;
    }
    CHKOPTI();
    m_outcome = LOPTI_ ? SolveOutcome::Optimum : SolveOutcome::Infeasible;
    return LOPTI_;
}

} // namespace vexo
