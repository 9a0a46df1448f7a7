// Headless solve: opens a problem data file, runs the solver in automatic mode and prints the
// problem's result columns, the cost and the outcome as JSON on standard output.
//
//   solve_driver [--detailed | --summary] <problem file>
//
// With --detailed the solve takes the interactive road instead, the report-data dialog answered OK
// with what it offers (the detailed text report): the report is written beside the problem file and
// its text is printed as "report" too. --summary takes the same road with the summary ("Özet") in
// its text form.
//
// Message boxes are printed to standard error and answered with their default button. The exit
// code is 0 when results were delivered, 1 when the solve delivered nothing, 2 when the file could
// not be opened.

#include "platform/message_sink.h"
#include "problem/open_problem.h"
#include "problem/problem_file.h"
#include "problem/problem_loader.h"
#include "reports/last_report.h"
#include "solver/ky_optimizer.h"
#include "solver/report_data_form.h"
#include "solver/report_road.h"

#include <QCoreApplication>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <cstdio>

using namespace vexo;

namespace {

class PrintedMessages : public MessageSink
{
public:
    QJsonArray shown;
    MessageAnswer show(const MessageRequest &r) override
    {
        shown.append(QJsonObject{{"caption", r.caption}, {"text", r.text}});
        std::fprintf(stderr, "%s: %s\n", qPrintable(r.caption), qPrintable(r.text));
        return unattendedAnswer(r);
    }
    void tones(const QList<Tone> &) override {}
};

QString outcomeName(SolveOutcome o)
{
    switch (o) {
    case SolveOutcome::Refused: return QStringLiteral("refused");
    case SolveOutcome::Stopped: return QStringLiteral("stopped");
    case SolveOutcome::IterationCap: return QStringLiteral("iteration-cap");
    case SolveOutcome::Optimum: return QStringLiteral("optimum");
    case SolveOutcome::Infeasible: return QStringLiteral("infeasible");
    case SolveOutcome::Unbounded: return QStringLiteral("unbounded");
    case SolveOutcome::Unsettled: return QStringLiteral("unsettled");
    }
    return QString();
}

QJsonArray rows(const RowList &list, std::initializer_list<std::pair<const char *, int>> columns)
{
    QJsonArray out;
    for (const Row &r : list) {
        QJsonObject o;
        for (const auto &[name, column] : columns)
            o.insert(QLatin1String(name), r.value(column));
        out.append(o);
    }
    return out;
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    QStringList args = app.arguments();
    const QString option = args.size() == 3 ? args.at(1) : QString();
    const bool detailed = option == QStringLiteral("--detailed");
    const bool summary = option == QStringLiteral("--summary");
    if (detailed || summary)
        args.removeAt(1);
    if (args.size() != 2) {
        std::fprintf(stderr, "usage: solve_driver [--detailed | --summary] <problem file>\n");
        return 2;
    }
    PrintedMessages messages;
    setMessageSink(&messages);
    if (!DATAFOPEN(nullptr, args.at(1)) || !AKTPRODIZOLUSTUR(nullptr)) {
        std::fprintf(stderr, "cannot open %s\n", qPrintable(args.at(1)));
        return 2;
    }
    OpenProblem &p = openProblem();
    QJsonObject out;
    if (detailed || summary) {
        setReportDataAsker([summary](QWidget *, ReportDataForm &form) {
            if (summary) {
                form.clickOzet();
                form.clickTekst();
            }
            form.accept();
            return true;
        });
        const SolveRoadResult r = runInteractiveSolve(nullptr);
        if (r.result == 1)
            p.CCOZUMDURUMU = r.status;
        out.insert("result", r.result);
        out.insert("optimum", r.optimum);
        out.insert("report", lastReport().CSONRAPORMETNI());
    } else {
        KY_OPTIMIZER solver(nullptr, true);
        // What an editor's solve button does with the answer.
        if (solver.RESULT() == 1)
            p.CCOZUMDURUMU = solver.LOPTI_ ? QStringLiteral("E") : QStringLiteral("H");
        out.insert("result", solver.RESULT());
        out.insert("optimum", solver.LOPTI_);
        out.insert("outcome", outcomeName(solver.outcome()));
        out.insert("iterations", double(solver.iterations()));
        out.insert("costSum", solver.costSum());
    }
    out.insert("cost", p.NMALIYET);
    out.insert("previousCost", p.NONCEKIMALIYET);
    out.insert("solves", p.NCOZUMSAYISI);
    out.insert("status", p.CCOZUMDURUMU);
    out.insert("ingredients", rows(p.AYMLIST, {{"YMNAME", YMNAME}, {"YMACOZUM", YMACOZUM}, {"YMAZFIAT", YMAZFIAT}}));
    out.insert("nutrients", rows(p.ABMLIST, {{"BMNAME", BMNAME}, {"BMACOZUM", BMACOZUM}, {"BMSPRICE", BMSPRICE},
                                             {"BMKMYYUZ", BMKMYYUZ}}));
    out.insert("ratios", rows(p.ABMOLIST, {{"BMONAME1", BMONAME1}, {"BMONAME2", BMONAME2},
                                           {"BMOACOZUM", BMOACOZUM}, {"BMOSPRICE", BMOSPRICE}}));
    out.insert("groups", rows(p.AYMGLIST, {{"YMGNAME", YMGNAME}, {"YMGACOZUM", YMGACOZUM}, {"YMGGFIAT", YMGGFIAT}}));
    out.insert("messages", messages.shown);
    std::fputs(QJsonDocument(out).toJson(QJsonDocument::Indented).constData(), stdout);
    const int code = out.value("result").toInt() == 1 ? 0 : 1;
    setMessageSink(nullptr);
    p.reset();
    return code;
}
