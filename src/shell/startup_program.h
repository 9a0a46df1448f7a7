#pragma once

#include "shell/startup.h"

#include <QMainWindow>
#include <QPointer>

#include <functional>


namespace vexo {

// The machine as start-up finds it: the lock file of the single instance, the registry file, the
// desktop's documents folder.
class ProgramStartupEnvironment : public StartupEnvironment
{
public:
    void applyRuntimeDefaults() override;
    bool anotherCopyRuns(const QString &name) override;
    void prepareInstallation() override;
    QString registryString(const QString &name) override;
    void writeRegistryString(const QString &name, const QString &value) override;
    QString documentsFolder() override;
};

// The program's start-up windows: the main window SSHELLWINDOW at the saved position; a problem file
// named on the command line is opened in it (or handed to the open-file hook when one is set).
class ProgramStartupUi : public StartupUi
{
public:
    ~ProgramStartupUi() override;

    void showSplash() override;
    void showMainWindow(const std::optional<QRect> &position) override;
    std::optional<QString> runLogon() override;
    void runTipOfTheDay(TipSettings &settings, const std::function<void()> &switchTipOptionOff) override;
    void switchTipOptionOff() override;
    void openFile(const QString &path) override;

    QMainWindow *mainWindow() const { return m_window; }
    void setOpenFileHook(std::function<void(const QString &)> hook) { m_openFile = std::move(hook); }
    const QString &fileToOpen() const { return m_file; }

private:
    QPointer<QMainWindow> m_window;
    std::function<void(const QString &)> m_openFile;
    QString m_file;
};

} // namespace vexo
