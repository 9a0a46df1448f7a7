#pragma once

namespace vexo {

class KY_OPTIMIZER;

// The interactive solve's last stage: the report-data dialog and the chosen report. The windows
// install the real one; without it the report data are never confirmed, so an interactive solve
// delivers nothing (RESULT 0) and leaves the problem's lists as they were.
class ReportStep
{
public:
    virtual ~ReportStep() = default;
    // Asks the report data; sets NRTIPI_, NFORMAT_ and the report texts of the solver. FALSE when
    // the dialog was cancelled.
    virtual bool PARMGIR(KY_OPTIMIZER &solver) = 0;
    // The summary report; FALSE when it could not be written.
    virtual bool SONUCOZET(KY_OPTIMIZER &solver) = 0;
    // The detailed report; FALSE when it could not be written.
    virtual bool SONUCDOSYA(KY_OPTIMIZER &solver) = 0;
};

// Installs the report step (not owned); nullptr puts the cancelling default back.
void setReportStep(ReportStep *step);
ReportStep &reportStep();

} // namespace vexo
