#include "shell/startup_program.h"

#include "platform/instance_lock.h"
#include "problem/open_problem.h"
#include "problem/system_queries.h"
#include "shell/about_box.h"
#include "shell/logon_dialog.h"
#include "shell/registry.h"
#include "shell/settings_store.h"
#include "shell/registry_setup.h"
#include "shell/shell_window.h"
#include "shell/splash_screen.h"

#include <QLocale>
#include <QMainWindow>

namespace vexo {

void ProgramStartupEnvironment::applyRuntimeDefaults()
{
    // Number texts keep "." as their decimal point whatever the desktop's language.
    QLocale c(QLocale::C);
    c.setNumberOptions(QLocale::OmitGroupSeparator);
    QLocale::setDefault(c);
}

bool ProgramStartupEnvironment::anotherCopyRuns(const QString &name)
{
    return isNameHeld(name);
}

void ProgramStartupEnvironment::prepareInstallation()
{
    ensureProgramFolderRegistered();
}

QString ProgramStartupEnvironment::registryString(const QString &name)
{
    CLASS_HKLM registry;
    registry.WORKING_SUBKEY(settingsRegistryKey());
    return registry.GETSTRING(QString(), name);
}

void ProgramStartupEnvironment::writeRegistryString(const QString &name, const QString &value)
{
    CLASS_HKLM registry;
    registry.WORKING_SUBKEY(settingsRegistryKey());
    registry.WRITESTRING(QString(), name, value);
}

QString ProgramStartupEnvironment::documentsFolder()
{
    return MYDOCUMENTQV();
}

ProgramStartupUi::~ProgramStartupUi()
{
    delete m_window.data();
}

void ProgramStartupUi::showSplash()
{
    (new SPLASHSCREEN(nullptr))->SHOW();
}

void ProgramStartupUi::showMainWindow(const std::optional<QRect> &position)
{
    m_window = new SSHELLWINDOW;
    const QRect r = position.value_or(defaultMainWindowRect());
    m_window->resize(r.size());
    m_window->move(r.topLeft());
    m_window->showNormal();
    m_window->raise();
}

std::optional<QString> ProgramStartupUi::runLogon()
{
    return runLogonDialog(m_window);
}

void ProgramStartupUi::runTipOfTheDay(TipSettings &settings, const std::function<void()> &switchTipOptionOff)
{
    vexo::runTipOfTheDay(m_window, settings, switchTipOptionOff);
}

void ProgramStartupUi::switchTipOptionOff()
{
    if (auto *shell = qobject_cast<SSHELLWINDOW *>(m_window.data()))
        shell->TUYOGOSTER();
    else
        STARTUPTIPCONT(false);
}

void ProgramStartupUi::openFile(const QString &path)
{
    m_file = path;
    if (m_openFile)
        m_openFile(path);
    else if (auto *shell = qobject_cast<SSHELLWINDOW *>(m_window.data()))
        DOOPENFILE(*shell, path);
}

} // namespace vexo
