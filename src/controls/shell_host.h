#pragma once

#include <QList>
#include <QString>
#include <QStringList>

#include <functional>

class QMdiArea;
class QWidget;

namespace vexo {

class BuiltMenu;
class CommandRegistry;

// A window the main window keeps in its child-window registry (the problem editors, the group and
// matrix windows, the reference-matrix editor). The window's objectName() is the name it is found by
// ("BYM_GIR_WIN", ...). A registered window that does not derive from DataWindow is hidden when the
// registry closes but not closed.
class DataWindow
{
public:
    virtual ~DataWindow() = default;
    // Commits the window's rows, removes it from the registry (ShellHost::REMOVEDATAWINDOW) and ends
    // it. A window may refuse (it stays registered); the close-all then answers false.
    virtual void CLOSE() = 0;
    // Whether the window can commit its rows without closing, and doing it (the save command asks).
    virtual bool canCommit() const { return false; }
    virtual void SONKONT2() {}
};

// A child window of the canvas with a menu of its own: while it is the active child its menu, tool bar
// and keys replace the main window's. Its menu dispatches through runChildCommand(), so a command its
// registry lacks goes on to the main window.
class ShellChild
{
public:
    virtual ~ShellChild() = default;
    virtual BuiltMenu *childMenu() = 0;
    virtual CommandRegistry &childCommands() = 0;
};

// Windows outside the registry that a close-all also closes (the report pads).
class CloseParticipant
{
public:
    virtual ~CloseParticipant() = default;
    virtual bool hasWindows() const = 0;
    // Closes them all; false when one refused (its save question was cancelled).
    virtual bool closeAll() = 0;
};

// What the main window offers the windows that plug into it. The main window sets itself with
// setShellHost() once it is built; before that (and in tests without one) shellHost() is null.
class ShellHost
{
public:
    virtual ~ShellHost() = default;

    virtual QWidget *mainWindow() = 0;
    virtual QMdiArea *canvas() = 0;

    // Runs a command of the main window (shellCommands()); false when it has none.
    virtual bool runCommand(const QString &name) = 0;

    virtual void setStatusText(const QString &text) = 0;   // STATUSMESSAGE
    // Takes back a message a child put there once it stopped being true: the status bar forgets it
    // when it still holds that message, and keeps any later one.
    virtual void withdrawStatusText(const QString &text) { Q_UNUSED(text); }
    // The next action in a window makes what it said before old: the status bar forgets a message
    // `window` put there (the main window's own when `window` is the main window or no child), and
    // keeps one another window put there.
    virtual void clearStatusTextOf(QWidget *window) { Q_UNUSED(window); }
    virtual void showHelp(const QString &topic) = 0;       // help by topic ("HelpIndex", "Cut", ...)
    virtual void showAbout() = 0;                           // OHAKKINDA

    // Menus: the main window's own, and the one shown now. showMenu(nullptr) shows the main window's
    // again. A ShellChild's menu is shown by itself while it is active.
    virtual BuiltMenu &mainMenu() = 0;
    virtual BuiltMenu *shownMenu() = 0;
    virtual void showMenu(BuiltMenu *menu) = 0;
    // Builds the main menu afresh from its table and sets its state and marks again from the flags
    // (the report pads call it when the last pad closes).
    virtual void rebuildMainMenu() = 0;
    virtual void MI_ENADISABLE() = 0;

    // The child-window registry.
    virtual void ADDDATAWINDOW(QWidget *window) = 0;
    virtual void REMOVEDATAWINDOW(QWidget *window) = 0;
    virtual QWidget *GETDATAWINDOW(const QString &name) const = 0;
    virtual QList<QWidget *> GETDATAWINDOWS() const = 0;
    virtual void CLOSINGDATAWINDOWS() = 0;
    // Closes every registered window and every participant's windows; true when all are closed.
    virtual bool CLOSEWINDOWSEXIST() = 0;
    // Asks every registered window that can commit to commit.
    virtual void WHOCHANGES() = 0;
    // Opens a registered window: brings an open one of that name forward; otherwise closes everything
    // (stopping with null when something refused), creates the window with the factory, registers it,
    // fills the canvas with it and shows it.
    virtual QWidget *openDataWindow(const QString &name, const std::function<QWidget *()> &create) = 0;

    virtual void addCloseParticipant(CloseParticipant *participant) = 0;
    virtual void removeCloseParticipant(CloseParticipant *participant) = 0;

    // Files dropped on the canvas go to this handler (the report pads open them); none: ignored.
    virtual void setDropHandler(std::function<void(const QStringList &paths)> handler) = 0;
};

ShellHost *shellHost();
void setShellHost(ShellHost *host);

// A child's command: its own registry first, then the main window's (through the host when one is
// set, else shellCommands()). False when nobody has it.
bool runChildCommand(ShellChild &child, const QString &name);

// Ends a data window that has committed: the registry ends a window it holds; one opened without the
// main window (tests, a window the registry refused) is hidden and deleted once control is back in
// the event loop.
void endDataWindow(QWidget *window);

class BuiltMenu;
// Hands a child window's menu descriptions to the main window, which shows one only while its item is
// highlighted; the context menu's closing takes it back. Without a main window they go nowhere.
void describeInMainWindow(BuiltMenu &menu, BuiltMenu *context = nullptr);

} // namespace vexo
