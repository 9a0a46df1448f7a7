#pragma once

#include "controls/menu_builder.h"
#include "controls/shell_host.h"
#include "controls/split_shell_window.h"
#include "problem/problem_file_commands.h"
#include "shell/help_topics.h"
#include "shell/help_window.h"
#include "shell/nav_pane.h"

#include <QPointer>

#include <memory>
#include <vector>

class QLabel;
class QMdiSubWindow;
class QTimer;

namespace vexo {

// The program's main window: the main menu with its tool bar and keys, the navigation pane on the
// left, the canvas of the child windows and a status bar with a clock. It is the ShellHost every window
// plugs into and the host of the problem file commands. Its own commands are registered in
// shellCommands() for its lifetime.
class SSHELLWINDOW : public JOVSPLITSHELLWINDOW, public ShellHost, public ProblemFileHost
{
    Q_OBJECT
public:
    explicit SSHELLWINDOW(QWidget *owner = nullptr);
    ~SSHELLWINDOW() override;

    // ShellHost
    QWidget *mainWindow() override { return this; }
    QMdiArea *canvas() override { return mdiArea(); }
    bool runCommand(const QString &name) override;
    // A child's message: it belongs to the child window current now and goes when that window closes.
    void setStatusText(const QString &text) override;
    void withdrawStatusText(const QString &text) override;
    void clearStatusTextOf(QWidget *window) override;
    void showHelp(const QString &topic) override;
    void showAbout() override { OHAKKINDA(); }
    BuiltMenu &mainMenu() override { return *menu_; }
    BuiltMenu *shownMenu() override { return shown_; }
    void showMenu(BuiltMenu *menu) override;
    void rebuildMainMenu() override;
    void MI_ENADISABLE() override;
    void ADDDATAWINDOW(QWidget *window) override;
    void REMOVEDATAWINDOW(QWidget *window) override;
    QWidget *GETDATAWINDOW(const QString &name) const override;
    QList<QWidget *> GETDATAWINDOWS() const override;
    void CLOSINGDATAWINDOWS() override;
    bool CLOSEWINDOWSEXIST() override;
    void WHOCHANGES() override;
    QWidget *openDataWindow(const QString &name, const std::function<QWidget *()> &create) override;
    void addCloseParticipant(CloseParticipant *participant) override;
    void removeCloseParticipant(CloseParticipant *participant) override;
    void setDropHandler(std::function<void(const QStringList &)> handler) override;

    // ProblemFileHost
    QWidget *owner() override { return this; }
    void setCaption(const QString &caption) override { setWindowTitle(caption); }
    void STATUSMESSAGE(const QString &text) override;
    bool closeEditors() override { return CLOSEWINDOWSEXIST(); }
    void YM_GIRIS() override { runCommand(QStringLiteral("YM_GIRIS")); }
    void OBFIRST() override;
    std::optional<QString> askNewFileName() override;

    // The rest of the window.
    VKOLBARDLG *GETOBDLG() const { return pane_; }
    QString statusText() const;
    void MI_ENADISABAR();
    void POSTMENUEXDUZEN();
    void RESETSHELLPOSITION();
    void SAVESCREENSIZEPOS();
    void HELPINDEX() { showHelp(kHelpIndexTopic); }
    void HELPCONTENTS() { showHelp(kHelpContentsTopic); }
    void WINDOWCASCADE();
    void WINDOWTILE();
    void WINDOWICON();
    void COZUM();
    void FILEEXIT() { close(); }
    // The exit question and the offer to save; true when the window may close.
    bool QUERYCLOSE();
    void TUYOGOSTER();
    void LOGOGOSTER();
    void ADPAROLASOR();
    void ACTMATMUHTEVASI();
    void OHAKKINDA();
    void WNOTEPAD();
    // The text reports: each closes the child windows, writes its report and opens it in a pad.
    void AMATREPORT();
    void HMFIATLIST();
    void RM_REPORT();
    HelpWindow *helpWindow() const { return help_; }

protected:
    void closeEvent(QCloseEvent *event) override;
    bool event(QEvent *event) override;

private:
    void POSTINIT();
    void registerCommands();
    std::unique_ptr<BuiltMenu> buildMainMenu();
    void toggleStartupOption(int id, bool (*writer)(bool));
    void childActivated();
    void titleClosed();
    // Grows the window (as far as the screen allows, not when maximised) so that the canvas shows
    // the child window's width; returns the pixels added.
    int widenFor(const QMdiSubWindow &sub);
    // The description of the menu item or button under the pointer, shown until it is left.
    void showItemDescription(const QString &text);

    std::unique_ptr<BuiltMenu> menu_;
    BuiltMenu *shown_ = nullptr;
    QPointer<VKOLBARDLG> pane_;
    QLabel *status_ = nullptr;
    QString message_; // the program's last status message, shown when no item is pointed at
    QMetaObject::Connection messageOwnerGone_; // clears a child's message when the child goes
    QPointer<QMdiSubWindow> messageOwner_;      // the child the message speaks of; none: the main window
    QLabel *clock_ = nullptr;
    QTimer *clockTimer_ = nullptr;
    QPointer<HelpWindow> help_;
    QList<QPointer<QWidget>> dataWindows_;
    std::vector<CloseParticipant *> participants_;
    QStringList ownCommands_;
    std::function<void(const QStringList &)> dropHandler_;
};

} // namespace vexo
