#include "controls/shell_host.h"

#include "controls/command_registry.h"

#include "controls/menu_builder.h"

#include <QCoreApplication>
#include <QMenu>
#include <QStatusTipEvent>
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
    if (g_host)
        g_host->clearStatusTextOf(dynamic_cast<QWidget *>(&child));
    if (child.childCommands().run(name))
        return true;
    return g_host ? g_host->runCommand(name) : shellCommands().run(name);
}

void describeInMainWindow(BuiltMenu &menu, BuiltMenu *context)
{
    auto describe = [](const QString &text) {
        ShellHost *host = shellHost();
        if (QWidget *main = host ? host->mainWindow() : nullptr) {
            QStatusTipEvent tip(text);
            QCoreApplication::sendEvent(main, &tip);
        }
    };
    menu.setStatusSink(describe);
    if (!context)
        return;
    context->setStatusSink(describe);
    if (QMenu *popup = context->popup())
        QObject::connect(popup, &QMenu::aboutToHide, popup, [describe] { describe(QString()); });
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
