#include "editors/result_fields.h"

#include "problem/number_text.h"

namespace vexo {

QString statusIcon(SolutionStatus status)
{
    switch (status) {
    case SolutionStatus::Optimal:
        return QStringLiteral("OKCVAR");
    case SolutionStatus::NoSolution:
        return QStringLiteral("EXIS");
    case SolutionStatus::NotSolved:
        break;
    }
    return QStringLiteral("SPOROLOG");
}

QString statusTip(SolutionStatus status)
{
    switch (status) {
    case SolutionStatus::Optimal:
        return QStringLiteral("Çözüm optimum");
    case SolutionStatus::NoSolution:
        return QStringLiteral("Çözüm Yok");
    case SolutionStatus::NotSolved:
        break;
    }
    return QStringLiteral("Çözüm yapılmadı");
}

SolutionStatus statusAfterSolve(const QString &outcome, SolutionStatus shown)
{
    if (outcome == QStringLiteral("E"))
        return SolutionStatus::Optimal;
    if (outcome == QStringLiteral("H"))
        return SolutionStatus::NoSolution;
    return shown;
}

CostTexts costTexts(const CostTexts &shown, double current, double previous, double saved)
{
    CostTexts out = shown;
    if (previous != 0.0)
        out.previous = Str(previous, 11, 3);
    if (current != 0.0)
        out.current = Str(current, 11, 3);
    if (current != 0.0 && previous != 0.0)
        out.currentDifference = Str(current - previous, 11, 3);
    if (saved != 0.0)
        out.saved = Str(saved, 11, 3);
    if (current != 0.0 && saved != 0.0)
        out.savedDifference = Str(current - saved, 11, 3);
    return out;
}

} // namespace vexo
