#include "platform/qt_translation.h"
#include "problem/name_match.h"
#include "refdb/cb_hsec.h"
#include "shell/startup_program.h"
#include "solver/report_road.h"

#include <QApplication>

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("VEXO_Zud"));
    QApplication::setQuitOnLastWindowClosed(true);

    vexo::DialogNameMatcher nameMatcher;
    vexo::setNameMatcher(&nameMatcher);
    vexo::installSolverDialogs();
    vexo::installQtTurkishTranslation();

    vexo::ProgramStartupEnvironment environment;
    vexo::ProgramStartupUi ui;
    vexo::StartupSequence startup(environment, ui);
    if (startup.run(QApplication::arguments()) != vexo::StartupSequence::Outcome::Running)
        return 0;
    const int result = QApplication::exec();
    vexo::setNameMatcher(nullptr);
    return result;
}
