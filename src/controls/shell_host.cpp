#include "controls/shell_host.h"

#include "controls/command_registry.h"

#include <QWidget>

namespace vexo {

namespace {
ShellHost *g_host = nullptr;
}

ShellHost *shellHost()
{
    return g_host;
}

void setShellHost(ShellHost *host)
{
    g_host = host;
}

bool runChildCommand(ShellChild &child, const QString &name)
{
    if (child.childCommands().run(name))
        return true;
    return g_host ? g_host->runCommand(name) : shellCommands().run(name);
}

void endDataWindow(QWidget *window)
{
    if (g_host && g_host->GETDATAWINDOWS().contains(window)) {
        g_host->REMOVEDATAWINDOW(window);
        return;
    }
    window->hide();
    window->deleteLater();
}

} // namespace vexo
