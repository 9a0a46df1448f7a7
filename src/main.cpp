#include "editors/constraint_edit_window.h"
#include "matrix/bamat_gir_win.h"
#include "matrix/group_window.h"
#include "platform/qt_translation.h"
#include "problem/name_match.h"
#include "refdb/bm_edit_win.h"
#include "refdb/cb_hsec.h"
#include "refdb/nutrient_add_dialog.h"
#include "refdb/reference_backup.h"
#include "refdb/rm_edit_window.h"
#include "reports/report_pads.h"
#include "shell/startup_program.h"
#include "solver/report_road.h"
#include "updater/updater_commands.h"

#include <QApplication>

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("VEXO_Zud"));
    QApplication::setQuitOnLastWindowClosed(true);

    vexo::DialogNameMatcher nameMatcher;
    vexo::setNameMatcher(&nameMatcher);
    // One object fills all the editors' dialog slots: the add dialogs, the choice and the viewers.
    vexo::ReferenceEditorDialogs editorDialogs;
    vexo::setEditorDialogs(&editorDialogs);
    vexo::installSolverDialogs();
    vexo::installReportCommands();
    vexo::installReferenceCommands();
    vexo::installEditorCommands();
    vexo::installActiveMatrixCommands();
    vexo::installGroupCommands();
    vexo::installQtTurkishTranslation();
    vexo::installNutrientDefinitionCommands();
    vexo::installReferenceMatrixEditorCommands();
    vexo::installUpdaterCommands();

    vexo::ProgramStartupEnvironment environment;
    vexo::ProgramStartupUi ui;
    vexo::StartupSequence startup(environment, ui);
    if (startup.run(QApplication::arguments()) != vexo::StartupSequence::Outcome::Running)
        return 0;
    // The pad list joins the main window now, so that files dropped on it open before any pad has.
    vexo::reportPads();
    const int result = QApplication::exec();
    vexo::setEditorDialogs(nullptr);
    vexo::setNameMatcher(nullptr);
    return result;
}
