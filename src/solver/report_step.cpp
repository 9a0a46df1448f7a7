#include "solver/report_step.h"

namespace vexo {

namespace {

class CancelledReport : public ReportStep
{
public:
    bool PARMGIR(KY_OPTIMIZER &) override { return false; }
    bool SONUCOZET(KY_OPTIMIZER &) override { return false; }
    bool SONUCDOSYA(KY_OPTIMIZER &) override { return false; }
};

ReportStep *&installed()
{
    static ReportStep *step = nullptr;
    return step;
}

} // namespace

void setReportStep(ReportStep *step)
{
    installed() = step;
}

ReportStep &reportStep()
{
    static CancelledReport cancelled;
    return installed() ? *installed() : cancelled;
}

} // namespace vexo
