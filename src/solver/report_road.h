#pragma once

#include "solver/report_step.h"

#include <QString>

#include <functional>

class QWidget;

namespace vexo {

class ReportDataForm;

// Asks the report data on the form; true for OK (the form accepted), false for Cancel (the form
// cancelled). The program's asker runs KYPARMGIR_WIN modally; tests script the form.
using ReportDataAsker = std::function<bool(QWidget *owner, ReportDataForm &form)>;
// Installs an asker; an empty one puts the dialog back.
void setReportDataAsker(ReportDataAsker asker);
bool askReportData(QWidget *owner, ReportDataForm &form);

// The report step of an interactive solve: the report-data dialog, then the summary or the detailed
// report of the finished solve.
class InteractiveReportStep : public ReportStep
{
public:
    bool PARMGIR(KY_OPTIMIZER &solver) override;
    bool SONUCOZET(KY_OPTIMIZER &solver) override;
    bool SONUCDOSYA(KY_OPTIMIZER &solver) override;
};

// Installs the solver's windows: the progress dialog ACTALERT for every solve and the interactive
// report step. The program calls it once at start-up.
void installSolverDialogs();

// What an interactive solve delivered, for the main window to record and show.
struct SolveRoadResult
{
    enum class Show { Nothing, Pad, Pdf };

    int result = 0;              // the solver's RESULT: 1 when the report was delivered
    bool resultsWritten = false; // the problem's lists hold the new results
    bool optimum = false;
    // The solution status to record in CCOZUMDURUMU ("E" or "H") whenever the results were written,
    // also when the report then failed; empty when nothing was written (cancelled, stopped, refused).
    QString status;
    unsigned short NRTIPI = 0;
    unsigned short NFORMAT = 0;
    Show show = Show::Nothing;
    QString report;              // the file to show: the text report or the PDF document
};

// The interactive solve road: solve in report mode with `owner` as owner, ask the report data, write
// the results and the chosen report; a PDF summary is rendered and opened in the viewer and recorded
// as the last report. Cancel writes nothing and shows nothing. The caller records `status` and, for
// Show::Pad, opens the last report in the report pad.
SolveRoadResult runInteractiveSolve(QWidget *owner);

} // namespace vexo
