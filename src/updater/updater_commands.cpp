#include "updater/updater_commands.h"

#include "controls/command_registry.h"
#include "controls/shell_host.h"
#include "problem/app_globals.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

namespace vexo {

int runUpdater(QWidget *owner, const UpdaterBuiltins &builtins, const InetSessionFactory &factory,
               const QString &programFolder)
{
    FTPWIN window(owner, builtins, factory, programFolder);
    QScreen *screen = owner ? owner->screen() : QGuiApplication::primaryScreen();
    if (screen) {
        QRect frame = window.frameGeometry();
        frame.moveCenter(screen->availableGeometry().center());
        window.move(frame.topLeft());
    }
    return window.exec();
}

void installUpdaterCommands(InetSessionFactory factory)
{
    shellCommands().add(QStringLiteral("VXOFTP"), [factory] {
        // Modal over the main window; its editors stay open behind it.
        QWidget *owner = shellHost() ? shellHost()->mainWindow() : nullptr;
        runUpdater(owner, UpdaterBuiltins::fromBuild(), factory, appGlobals().CPROGDIZIN);
    });
}

} // namespace vexo
