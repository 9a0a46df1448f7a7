#include "solver/report_road.h"

#include "solver/act_alert.h"
#include "problem/open_problem.h"
#include "problem/solution_stamp.h"
#include "reports/last_report.h"
#include "reports/pdf_summary.h"
#include "solver/ky_optimizer.h"
#include "solver/progress_sink.h"
#include "solver/report_data_dialog.h"
#include "solver/report_data_form.h"
#include "solver/report_detailed.h"
#include "solver/report_input.h"
#include "solver/report_summary.h"

#include <QCoreApplication>
#include <QPointer>

#include <memory>

namespace vexo {

namespace {

// The window the report step's dialog and messages belong to: the owner of the running road.
QPointer<QWidget> g_owner;

ReportDataAsker &asker()
{
    static ReportDataAsker a;
    return a;
}

bool dialogAsker(QWidget *owner, ReportDataForm &form)
{
    KYPARMGIR_WIN dialog(owner, form);
    return dialog.exec() == 1;
}

// The progress dialog behind the solver's progress seam. The owner may close while events are
// handled, and takes the dialog with it; the solve then goes on without one.
class ActAlertProgress : public ProgressSink
{
public:
    explicit ActAlertProgress(QWidget *owner) : m_owner(owner) {}
    ~ActAlertProgress() override { close(); }

    void open() override
    {
        m_dialog = new ACTALERT(m_owner);
        m_dialog->show();
        QCoreApplication::processEvents();
    }
    bool LDURDUR() const override
    {
        if (m_dialog)
            m_stop = m_dialog->LDURDUR;
        return m_stop;
    }
    void COUNTER() override
    {
        if (m_dialog)
            m_dialog->COUNTER();
    }
    void close() override
    {
        if (m_dialog) {
            m_dialog->hide();
            delete m_dialog.data();
        }
    }

private:
    QWidget *m_owner;
    QPointer<ACTALERT> m_dialog;
    mutable bool m_stop = false;
};

// The snapshot must agree with the solve's results: every column without an entry price is basic,
// and every column in the formula.
bool snapshotFits(const ColumnSnapshot &s, const KY_OPTIMIZER &solver)
{
    if (s.basic.size() < solver.NYMSAYISI() || solver.AAUTOYM_.size() < qsizetype(solver.NYMSAYISI())
        || solver.shares().size() < solver.NYMSAYISI())
        return false;
    for (unsigned j = 0; j < solver.NYMSAYISI(); ++j) {
        const bool chosen = solver.shares()[j] != 0.0 || isBlank(solver.AAUTOYM_.at(j).value(1));
        if (chosen && s.basic[j] == 0)
            return false;
    }
    return true;
}

ReportInput inputOf(const KY_OPTIMIZER &solver)
{
    // The report step runs after the loop, so the solver's tableau is the final one.
    const ColumnSnapshot s = snapshotColumns(solver.tableau(), unsigned(solver.tableau().columns()));
    return reportInputFrom(solver, snapshotFits(s, solver) ? &s : nullptr);
}

} // namespace

void setReportDataAsker(ReportDataAsker a)
{
    asker() = std::move(a);
}

bool askReportData(QWidget *owner, ReportDataForm &form)
{
    return asker() ? asker()(owner, form) : dialogAsker(owner, form);
}

bool InteractiveReportStep::PARMGIR(KY_OPTIMIZER &solver)
{
    ReportDataForm form;
    if (!askReportData(g_owner, form))
        return false;
    solver.CMIKSER_ = form.CMCAPAX;
    solver.CAGIRLIKBIRIMI_ = form.CABIRIX;
    solver.CPARABIRIMI_ = form.CPBIRIX;
    solver.CSIRKET_ = form.CSKADIX;
    solver.CKARMAYEM_ = form.CKYADIX;
    solver.CHAZIRLAYAN_ = form.CHAZIRX;
    solver.NRTIPI_ = form.NRTIPI;
    solver.NFORMAT_ = form.NFORMAT;
    return true;
}

bool InteractiveReportStep::SONUCOZET(KY_OPTIMIZER &solver)
{
    return vexo::SONUCOZET(g_owner, inputOf(solver));
}

bool InteractiveReportStep::SONUCDOSYA(KY_OPTIMIZER &solver)
{
    return vexo::SONUCDOSYA(g_owner, inputOf(solver));
}

void installSolverDialogs()
{
    static InteractiveReportStep step;
    setReportStep(&step);
    setProgressFactory([](QWidget *owner) { return std::make_unique<ActAlertProgress>(owner); });
}

SolveRoadResult runInteractiveSolve(QWidget *owner)
{
    SolveRoadResult out;
    OpenProblem &p = openProblem();
    const int counterBefore = p.NCOZUMSAYISI;
    std::unique_ptr<KY_OPTIMIZER> solver;
    {
        struct Restore
        {
            ReportStep *previous = &reportStep();
            ~Restore()
            {
                g_owner = nullptr;
                setReportStep(previous);
            }
        } restore;
        g_owner = owner;
        // The road asks and reports itself, also when the program installed another step.
        static InteractiveReportStep interactive;
        if (!dynamic_cast<InteractiveReportStep *>(restore.previous))
            setReportStep(&interactive);
        solver = std::make_unique<KY_OPTIMIZER>(owner, false);
    }
    out.result = solver->RESULT();
    out.optimum = solver->LOPTI_;
    // Writing the results raises the solve counter; a cancelled, stopped or refused solve does not.
    out.resultsWritten = p.NCOZUMSAYISI != counterBefore;
    if (out.resultsWritten)
        out.status = out.optimum ? QStringLiteral("E") : QStringLiteral("H");
    out.NRTIPI = solver->NRTIPI_;
    out.NFORMAT = solver->NFORMAT_;
    if (out.result != 1)
        return out;
    if (out.NRTIPI == 1 && out.NFORMAT == 1) {
        const QString pdf = showSummaryPdf(AOZETRAPOR());
        if (pdf.isEmpty()) {
            out.result = 0;
            return out;
        }
        lastReport().recordDocument(pdf);
        out.show = SolveRoadResult::Show::Pdf;
        out.report = pdf;
    } else {
        out.show = SolveRoadResult::Show::Pad;
        out.report = lastReport().CSONRAPOR();
    }
    // The report tells the solution it was written for, so a later look can see it is older.
    lastReport().recordSolution(solutionStamp(p));
    return out;
}

} // namespace vexo
