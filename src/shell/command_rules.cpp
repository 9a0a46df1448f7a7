#include "shell/command_rules.h"

#include "problem/open_problem.h"

namespace vexo {

ProblemShape ProblemShape::of(const OpenProblem &problem)
{
    ProblemShape s;
    s.open = problem.isOpen();
    s.ingredients = int(problem.AYMADLARI.size());
    s.nutrients = int(problem.ABMADLARI.size());
    s.matrixRows = int(problem.AAMAT.size());
    s.firstRowCells = problem.AAMAT.isEmpty() ? 0 : int(problem.AAMAT.first().size());
    return s;
}

std::vector<ItemState> menuItemStates(const ProblemShape &shape)
{
    if (!shape.open)
        return {{28399, false}, {28401, false}, {28402, false}, {28413, false}, {28415, false},
                {28411, false}, {28410, false}, {28408, false}, {28407, false}, {28406, false}};
    const bool names = shape.namesReady();
    const bool matrix = shape.matrixReady();
    return {{28399, true},   {28401, true},   {28402, true},   {28407, true},   {28406, true},
            {28408, names},  {28410, names},  {28413, matrix}, {28415, matrix}, {28411, matrix}};
}

std::vector<PaneItemState> paneItemStates(const ProblemShape &shape)
{
    const QString inputs = QStringLiteral("AKTIF_PROBLEM_GIRISLERI");
    const QString solutions = QStringLiteral("COZUMLER");
    const QString reports = QStringLiteral("VERI_RAPORU");
    const bool open = shape.open;
    const bool names = open && shape.namesReady();
    const bool matrix = open && shape.matrixReady();
    return {{inputs, QStringLiteral("YM_GIRIS"), open},     {inputs, QStringLiteral("BM_GIRIS"), open},
            {inputs, QStringLiteral("AMAT_GIRIS"), names},  {inputs, QStringLiteral("BMO_GIRIS"), names},
            {inputs, QStringLiteral("YMGRUBU"), names},     {solutions, QStringLiteral("COZUM"), matrix},
            {reports, QStringLiteral("AMATREPORT"), matrix}, {reports, QStringLiteral("HMFIATLIST"), true}};
}

std::vector<MarkStep> startupMarkSteps(const StartupMarks &marks)
{
    std::vector<MarkStep> steps;
    if (marks.tipAtStart)
        steps.push_back({MarkAction::Check, 28434});
    if (marks.logoAtStart)
        steps.push_back({MarkAction::Check, 28435});
    if (marks.logonAtStart)
        steps.push_back({MarkAction::Check, 28437});
    else {
        steps.push_back({MarkAction::Disable, 28441});
        steps.push_back({MarkAction::Disable, 28442});
    }
    if (!marks.readReference) {
        steps.push_back({MarkAction::Check, 28430});
        steps.push_back({MarkAction::Uncheck, 28429});
    }
    return steps;
}

} // namespace vexo
