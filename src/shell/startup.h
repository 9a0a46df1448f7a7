#pragma once

#include "shell/tip_of_the_day.h"

#include <QRect>
#include <QString>
#include <QStringList>

#include <functional>
#include <optional>

namespace vexo {

class REGFREECONTROL;

// What start-up asks of the machine: the single-instance lock, the settings key of the registry and
// the documents folder. The program's own answers them; tests give a fake.
class StartupEnvironment
{
public:
    virtual ~StartupEnvironment() = default;
    // Number texts with "." and dates day/month/year with the century, whatever the desktop's locale.
    virtual void applyRuntimeDefaults() {}
    // True when another copy holds the name; the first caller holds it for the life of the process.
    virtual bool anotherCopyRuns(const QString &name) = 0;
    // What the setup would have done on a machine where it never ran (the program folder recorded).
    virtual void prepareInstallation() {}
    // A text value of the settings key; empty when missing or of another type.
    virtual QString registryString(const QString &name) = 0;
    virtual void writeRegistryString(const QString &name, const QString &value) = 0;
    virtual QString documentsFolder() = 0;
};

// The windows of start-up. The program's own shows them; tests record the calls.
class StartupUi
{
public:
    virtual ~StartupUi() = default;
    virtual void showSplash() = 0;
    // The main window, at the saved position when there is one.
    virtual void showMainWindow(const std::optional<QRect> &position) = 0;
    // The logon dialog over the main window: the stored name, or nothing when refused or cancelled.
    virtual std::optional<QString> runLogon() = 0;
    virtual void runTipOfTheDay(TipSettings &settings, const std::function<void()> &switchTipOptionOff) = 0;
    // "Başlarken göster" was unticked: the main window's tip toggle switches the option off, so that its
    // menu item loses the tick together with the stored option.
    virtual void switchTipOptionOff() = 0;
    // The problem file named on the command line.
    virtual void openFile(const QString &path) = 0;
};

// The settings-store fields start-up fills from the registry when they are empty, in this order.
QStringList carriedOverSettings();
// Copies each carried-over registry value into the store where the store's field is empty.
void ONCEKIVERILER(REGFREECONTROL &store, const std::function<QString(const QString &)> &registryString);

// The program's start-up, step by step: single instance, settings and folders, the user table, splash,
// main window, logon, tip of the day and the command-line file. Every step leaves its result in the
// globals (appGlobals, shellGlobals).
class StartupSequence
{
public:
    enum class Outcome { Running, AnotherCopyRuns, NotInstalled, StoreNotReady, LogonRefused };

    StartupSequence(StartupEnvironment &environment, StartupUi &ui);

    // arguments: the process's arguments, the program itself first. Running means the event loop is due.
    Outcome run(const QStringList &arguments);

    bool CHECKSINGLEINSTANCE(const QString &name);
    bool STARTSETTINGSCONT();
    void INITIALIZE();

private:
    StartupEnvironment &m_env;
    StartupUi &m_ui;
};

inline const QString kInstanceName = QStringLiteral("VEXO_Rir26");
inline const QString kDataRootName = QStringLiteral("VEXO_Rir26 Veriler");

// The data root's folders, created at start-up when missing.
QStringList dataFolderNames();

// The problem file to open: the first argument after the program's own path; the empty text
// without one. Further arguments are ignored. A relative path is resolved against `startFolder`
// (the folder the program was started in) when one is given.
QString commandLineFile(const QStringList &arguments, const QString &startFolder = QString());
// The Windows command line's remainder after the program's ".EXE" and the character after it.
QString GETCOMANDLINE(const QString &commandLine);
QString GETCOMANDLINEFILE(const QString &commandLine);
// The path that a remainder names: the text between double quotes when it is one quoted literal, the
// text without blanks around it otherwise.
QString commandLineLiteral(const QString &remainder);

// The saved window rectangle of VKScrPos ("left,top,width,height"); nothing when it is empty or has
// fewer than four parts.
std::optional<QRect> screenPositionFromSetting(const QString &stored);
// Where the main window opens without a saved position, on a screen whose free area (without panels)
// is `available`: three quarters of it (at least 914 x 533 where it is that large), 11 pixels from
// its left edge, its bottom edge 200 pixels above the area's bottom.
QRect defaultMainWindowRect(const QRect &available);
// The same on the primary screen.
QRect defaultMainWindowRect();

// The tip of the day's two settings, each read or written through a store opened for just that.
class StoreTipSettings : public TipSettings
{
public:
    QString get(const QString &name) override;
    bool set(const QString &name, const QString &value) override;
};

} // namespace vexo
