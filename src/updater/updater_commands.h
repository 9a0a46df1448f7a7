#pragma once

#include "updater/ftp_win.h"

class QWidget;

namespace vexo {

// Shows the updater modally over the owner, centred on the screen; its result (0 through the exit
// button).
int runUpdater(QWidget *owner, const UpdaterBuiltins &builtins, const InetSessionFactory &factory,
               const QString &programFolder);

// Registers the main window's command VXOFTP: the updater with the build's values, the main window as
// owner and the settings file in the program folder. The sessions come from the factory.
void installUpdaterCommands(InetSessionFactory factory);
// The same with the libcurl sessions.
void installUpdaterCommands();

} // namespace vexo
