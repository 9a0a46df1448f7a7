#include "shell/shell_window.h"

#include "controls/command_registry.h"
#include "controls/shell_menus.h"
#include "matrix/yeni_dosya_window.h"
#include "platform/clock.h"
#include "problem/app_globals.h"
#include "problem/dbserverr.h"
#include "problem/file_names.h"
#include "problem/messages.h"
#include "problem/open_problem.h"
#include "problem/reference_tables.h"
#include "problem/window_placement.h"
#include "reports/last_report.h"
#include "reports/text_reports.h"
#include "shell/about_box.h"
#include "shell/command_rules.h"
#include "shell/help_window.h"
#include "shell/nav_pane.h"
#include "shell/password_dialog.h"
#include "shell/process_launcher.h"
#include "shell/settings_store.h"
#include "shell/shell_globals.h"
#include "shell/startup.h"
#include "solver/report_road.h"

#include <QCloseEvent>
#include <QDragEnterEvent>
#include <QHash>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenuBar>
#include <QMimeData>
#include <QScreen>
#include <QStatusBar>
#include <QStatusTipEvent>
#include <QTimer>
#include <QToolBar>

#include <algorithm>

namespace vexo {

namespace {

// Hands the files dropped on the canvas to the window's drop handler.
class DropFilter : public QObject
{
public:
    DropFilter(QWidget *target, std::function<void(const QStringList &)> *handler)
        : QObject(target), handler_(handler)
    {
        target->setAcceptDrops(true);
        target->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::DragEnter || event->type() == QEvent::DragMove) {
            auto *drag = static_cast<QDropEvent *>(event);
            if (*handler_ && drag->mimeData()->hasUrls()) {
                drag->acceptProposedAction();
                return true;
            }
        } else if (event->type() == QEvent::Drop) {
            auto *drop = static_cast<QDropEvent *>(event);
            QStringList paths;
            for (const QUrl &url : drop->mimeData()->urls())
                if (url.isLocalFile())
                    paths << url.toLocalFile();
            if (*handler_ && !paths.isEmpty()) {
                (*handler_)(paths);
                drop->acceptProposedAction();
                return true;
            }
        }
        return QObject::eventFilter(watched, event);
    }

private:
    std::function<void(const QStringList &)> *handler_;
};

QString exitQuestion()
{
    return QStringLiteral("VEXO_Zud 2.6'dan çıkmak istediğinizden emin misiniz?");
}

} // namespace

SSHELLWINDOW::SSHELLWINDOW(QWidget *owner) : JOVSPLITSHELLWINDOW(owner)
{
    setObjectName(QStringLiteral("SSHELLWINDOW"));
    setWindowTitle(kProgramTitle);
    menu_ = buildMainMenu();
    setWindowIcon(vxoMainIcon());
    const QRect r = defaultMainWindowRect();
    resize(r.size());
    move(r.topLeft());
    POSTINIT();
}

SSHELLWINDOW::~SSHELLWINDOW()
{
    // The frame closes its children after this body; nothing may reach back into this window then.
    // Closing a shown frame hides the canvas's child windows, and the canvas announces a new active
    // child: whoever follows that (the report pads' list, which asks the host for its canvas) would
    // reach this window half destroyed, so the announcement is cut for every receiver.
    disconnect(mdiArea(), nullptr, this, nullptr);
    disconnect(mdiArea(), &QMdiArea::subWindowActivated, nullptr, nullptr);
    // A status text's child window goes with the frame too; its text goes with this window.
    disconnect(messageOwnerGone_);
    if (shown_ && shown_ != menu_.get())
        disconnect(shown_, nullptr, this, nullptr);
    for (const QString &name : std::as_const(ownCommands_))
        shellCommands().remove(name);
    if (shellHost() == this)
        setShellHost(nullptr);
    delete help_.data();
    // The shown child menu may outlive the window; its tool bar must not stay parented here.
    if (shown_ && shown_ != menu_.get() && shown_->toolBar()) {
        removeToolBar(shown_->toolBar());
        shown_->toolBar()->setParent(nullptr);
    }
}

void SSHELLWINDOW::POSTINIT()
{
    setShellHost(this);
    registerCommands();

    pane_ = new VKOLBARDLG(this, [this](const QString &command) { runCommand(command); });
    setLEFTPANE(pane_);
    setPOSTYPE(PaneSizing::PIXEL);
    setLEFTSIZEPIXEL(std::max(170, pane_->neededWidth())); // the open header's caption shown whole
    setCANRESIZELEFTPANE(true);
    setSHOWLEFTPANE(true);

    new DropFilter(mdiArea()->viewport(), &dropHandler_);

    status_ = new QLabel(this);
    status_->setObjectName(QStringLiteral("statusText"));
    clock_ = new QLabel(this);
    clock_->setObjectName(QStringLiteral("statusClock"));
    statusBar()->addWidget(status_, 1);
    statusBar()->addPermanentWidget(clock_);
    clockTimer_ = new QTimer(this);
    connect(clockTimer_, &QTimer::timeout, this,
            [this] { clock_->setText(clock().now().time().toString(QStringLiteral("HH:mm:ss"))); });
    clockTimer_->start(1000);
    clock_->setText(clock().now().time().toString(QStringLiteral("HH:mm:ss")));

    showMenu(nullptr);
    new MenuKeyRouter(this, [this] { return shown_; });
    connect(mdiArea(), &QMdiArea::subWindowActivated, this, [this] { childActivated(); });

    MI_ENADISABLE();
    POSTMENUEXDUZEN();
    // The nutrients' decimals, which the editors round their entries to.
    loadNutrientDecimals();
}

void SSHELLWINDOW::registerCommands()
{
    const std::vector<std::pair<const char *, std::function<void()>>> own = {
        {"HELPINDEX", [this] { HELPINDEX(); }},
        {"HELPCONTENTS", [this] { HELPCONTENTS(); }},
        {"SAVESCREENSIZEPOS", [this] { SAVESCREENSIZEPOS(); }},
        {"WINDOWCASCADE", [this] { WINDOWCASCADE(); }},
        {"WINDOWTILE", [this] { WINDOWTILE(); }},
        {"WINDOWICON", [this] { WINDOWICON(); }},
        {"COZUM", [this] { COZUM(); }},
        {"FILEEXIT", [this] { FILEEXIT(); }},
        {"TUYOGOSTER", [this] { TUYOGOSTER(); }},
        {"LOGOGOSTER", [this] { LOGOGOSTER(); }},
        {"ADPAROLASOR", [this] { ADPAROLASOR(); }},
        {"ACTMATMUHTEVASI", [this] { ACTMATMUHTEVASI(); }},
        {"OHAKKINDA", [this] { OHAKKINDA(); }},
        {"CHANGEUANDP", [this] { CHANGEUANDP(this); }},
        {"ADDNEWUSER", [this] { ADDNEWUSER(this); }},
        {"WNOTEPAD", [this] { WNOTEPAD(); }},
        {"AMATREPORT", [this] { AMATREPORT(); }},
        {"HMFIATLIST", [this] { HMFIATLIST(); }},
        {"RM_REPORT", [this] { RM_REPORT(); }},
        {"FILEOPEN", [this] { FILEOPEN(*this); }},
        {"YENIDOSYAGIR", [this] { YENIDOSYAGIR(*this); }},
        {"FILECLOSE", [this] { FILECLOSE(*this); }},
        {"KAYDET", [this] { KAYDET(*this); }},
        {"FKAYDET", [this] { FKAYDET(*this); }},
    };
    for (const auto &[name, handler] : own) {
        const QString command = QString::fromLatin1(name);
        shellCommands().add(command, handler);
        ownCommands_ << command;
    }
}

std::unique_ptr<BuiltMenu> SSHELLWINDOW::buildMainMenu()
{
    auto menu = std::make_unique<BuiltMenu>(emptyShellMenu(), [this](const QString &command) { runCommand(command); });
    menu->setStatusSink([this](const QString &text) { showItemDescription(text); });
    return menu;
}

void SSHELLWINDOW::rebuildMainMenu()
{
    const bool mainShown = shown_ == menu_.get();
    if (mainShown) {
        if (menu_->toolBar())
            removeToolBar(menu_->toolBar());
        menuBar()->clear();
        shown_ = nullptr;
    }
    menu_ = buildMainMenu();
    if (mainShown)
        showMenu(nullptr);
    MI_ENADISABLE();
    POSTMENUEXDUZEN();
}

bool SSHELLWINDOW::runCommand(const QString &name)
{
    clearStatusTextOf(this);
    return shellCommands().run(name);
}

void SSHELLWINDOW::showHelp(const QString &topic)
{
    if (!help_)
        help_ = new HelpWindow(this);
    if (!help_->showTopic(topic))
        STATUSMESSAGE(QStringLiteral("Yardım konusu bulunamadı: ") + topic);
}

void SSHELLWINDOW::showMenu(BuiltMenu *menu)
{
    BuiltMenu *next = menu ? menu : menu_.get();
    if (next == shown_)
        return;
    if (shown_ && shown_->toolBar())
        removeToolBar(shown_->toolBar());
    if (shown_ && shown_ != menu_.get())
        disconnect(shown_, &QObject::destroyed, this, nullptr);
    menuBar()->clear();
    for (QMenu *m : next->menus()) {
        menuBar()->addMenu(m);
        connect(m, &QMenu::aboutToHide, this, &SSHELLWINDOW::titleClosed, Qt::UniqueConnection);
    }
    if (QToolBar *bar = next->toolBar()) {
        addToolBar(Qt::TopToolBarArea, bar);
        bar->show();
    }
    if (next != menu_.get()) {
        next->setStatusSink([this](const QString &text) { showItemDescription(text); });
        connect(next, &QObject::destroyed, this, [this] {
            shown_ = nullptr;
            showMenu(nullptr);
        });
    }
    shown_ = next;
}

void SSHELLWINDOW::childActivated()
{
    // The current child stays current while a dialog has the focus; only its change swaps menus.
    QMdiSubWindow *sub = mdiArea()->currentSubWindow();
    auto *child = sub ? dynamic_cast<ShellChild *>(sub->widget()) : nullptr;
    showMenu(child ? child->childMenu() : nullptr);
}

void SSHELLWINDOW::STATUSMESSAGE(const QString &text)
{
    disconnect(messageOwnerGone_);
    messageOwner_ = nullptr;
    message_ = text;
    status_->setText(text);
}

void SSHELLWINDOW::setStatusText(const QString &text)
{
    STATUSMESSAGE(text);
    QMdiSubWindow *owner = mdiArea()->currentSubWindow();
    if (!owner || text.isEmpty())
        return;
    // Once the window is gone, what it said is no longer true.
    messageOwner_ = owner;
    messageOwnerGone_ = connect(owner, &QObject::destroyed, this, [this, text] { withdrawStatusText(text); });
}

void SSHELLWINDOW::withdrawStatusText(const QString &text)
{
    if (text.isEmpty() || message_ != text)
        return;
    disconnect(messageOwnerGone_);
    message_.clear();
    if (status_->text() == text)
        status_->clear();
}

void SSHELLWINDOW::clearStatusTextOf(QWidget *window)
{
    QMdiSubWindow *sub = nullptr;
    for (QWidget *w = window; w && w != this && !sub; w = w->parentWidget())
        sub = qobject_cast<QMdiSubWindow *>(w);
    if (sub == messageOwner_)
        withdrawStatusText(QString(message_)); // a copy: the withdrawal empties message_
}

void SSHELLWINDOW::titleClosed()
{
    // The menu bar points at the title again once its menu is closed (Escape); the title's
    // description is for the open menu only, so the program's message comes back after that.
    QTimer::singleShot(0, this, [this] {
        for (QAction *title : menuBar()->actions()) {
            if (title->menu() && title->menu()->isVisible())
                return;
        }
        for (QAction *title : menuBar()->actions()) {
            if (title->menu() && !title->statusTip().isEmpty() && status_->text() == title->statusTip()) {
                status_->setText(message_);
                return;
            }
        }
    });
}

void SSHELLWINDOW::showItemDescription(const QString &text)
{
    status_->setText(text);
}

QString SSHELLWINDOW::statusText() const
{
    return status_->text();
}

void SSHELLWINDOW::MI_ENADISABLE()
{
    OpenProblem &problem = openProblem();
    const ProblemShape shape = ProblemShape::of(problem);
    for (const ItemState &state : menuItemStates(shape))
        menu_->setEnabled(state.id, state.enabled);
    if (shape.open) {
        problem.LAMATHAZIR = matrixReadyFlag(shape);
    } else {
        setWindowTitle(kProgramTitle);
        problem.reset();
    }
    MI_ENADISABAR();
}

void SSHELLWINDOW::MI_ENADISABAR()
{
    if (!pane_)
        return;
    for (const PaneItemState &state : paneItemStates(ProblemShape::of(openProblem())))
        pane_->setItemEnabled(state.header, state.item, state.enabled);
    pane_->UPDATEBAR();
}

void SSHELLWINDOW::POSTMENUEXDUZEN()
{
    const ShellGlobals &g = shellGlobals();
    const StartupMarks marks{g.LACILISTUYO, g.LACILISLOGO, g.LACILISGIRIS, appGlobals().LRMDENOKU};
    for (const MarkStep &step : startupMarkSteps(marks)) {
        switch (step.action) {
        case MarkAction::Check: menu_->check(step.id); break;
        case MarkAction::Uncheck: menu_->uncheck(step.id); break;
        case MarkAction::Disable: menu_->disable(step.id); break;
        }
    }
}

void SSHELLWINDOW::OBFIRST()
{
    if (!pane_)
        return;
    OUTLOOKBAR *bar = pane_->ODCOOBAR();
    if (bar->ACTIVEHEADER() != kFirstPaneHeader) {
        bar->setACTIVEHEADER(kFirstPaneHeader);
        pane_->UPDATEBAR();
    }
}

std::optional<QString> SSHELLWINDOW::askNewFileName()
{
    YENIDOSYAWINDOW dialog(this);
    if (dialog.exec() != 1 || dialog.CDOSYA.isEmpty())
        return std::nullopt;
    return dialog.CDOSYA;
}

void SSHELLWINDOW::RESETSHELLPOSITION()
{
    if (const std::optional<QRect> r = screenPositionFromSetting(readSetting(QStringLiteral("VKScrPos")))) {
        move(r->topLeft());
        resize(r->size());
    }
}

void SSHELLWINDOW::SAVESCREENSIZEPOS()
{
    // What is saved is what RESETSHELLPOSITION restores: the frame's corner and the window's size.
    const QPoint corner = pos();
    const QString text = QStringLiteral("%1,%2,%3,%4")
                             .arg(std::max(corner.x(), 0))
                             .arg(std::max(corner.y(), 0))
                             .arg(width())
                             .arg(height());
    if (!writeSetting(QStringLiteral("VKScrPos"), text))
        return;
    STATUSMESSAGE(QStringLiteral("Pencere boyutları, açılışta hatırlanmak için, saklandı..."));
}

int SSHELLWINDOW::widenFor(const QMdiSubWindow &sub)
{
    const int missing = sub.sizeHint().width() - mdiArea()->viewport()->width();
    const QScreen *where = screen();
    if (missing <= 0 || !where || isMaximized() || isFullScreen())
        return 0;
    const QRect free = where->availableGeometry();
    const QRect outer = frameGeometry();
    const int extra = std::min(missing, free.width() - outer.width());
    if (extra <= 0)
        return 0;
    // The window grows to the right and moves left as far as it must to stay on the screen.
    QRect inner = geometry();
    inner.setWidth(inner.width() + extra);
    const int beyond = outer.right() + extra - free.right();
    if (beyond > 0)
        inner.moveLeft(inner.left() - beyond);
    setGeometry(inner);
    return extra;
}

void SSHELLWINDOW::WINDOWCASCADE()
{
    QHash<QMdiSubWindow *, QSize> before;
    for (QMdiSubWindow *sub : mdiArea()->subWindowList())
        before.insert(sub, sub->size());
    mdiArea()->cascadeSubWindows();
    // Cascaded windows take the size they ask for (one that asks for none keeps its own), but no
    // more than the canvas shows.
    const QSize canvas = mdiArea()->viewport()->size();
    for (QMdiSubWindow *sub : mdiArea()->subWindowList()) {
        const bool asks = sub->widget() && sub->widget()->sizeHint().isValid();
        const QSize wanted = asks || !before.contains(sub) ? sub->size() : before.value(sub);
        const QPoint at = sub->pos();
        sub->resize(std::min(wanted.width(), canvas.width() - at.x()), std::min(wanted.height(), canvas.height() - at.y()));
    }
}

void SSHELLWINDOW::WINDOWTILE()
{
    mdiArea()->tileSubWindows();
}

void SSHELLWINDOW::WINDOWICON()
{
    // Lines up the minimised children along the bottom of the canvas.
    const QList<QMdiSubWindow *> subs = mdiArea()->subWindowList();
    int x = 0;
    for (QMdiSubWindow *sub : subs) {
        if (!sub->isMinimized())
            continue;
        sub->move(x, mdiArea()->viewport()->height() - sub->height());
        x += sub->width();
    }
}

void SSHELLWINDOW::COZUM()
{
    if (!CLOSEWINDOWSEXIST())
        return;
    const SolveRoadResult road = runInteractiveSolve(this);
    // The lists hold new results whenever the status is set, also when the report failed.
    if (!road.status.isEmpty())
        openProblem().CCOZUMDURUMU = road.status;
    if (road.result == 0)
        return;
    if (road.show == SolveRoadResult::Show::Pad)
        runCommand(QStringLiteral("REPORTPAD"));
}

bool SSHELLWINDOW::QUERYCLOSE()
{
    if (!CLOSEWINDOWSEXIST())
        return false;
    if (!askYesNo(this, QStringLiteral("Çıkış..."), exitQuestion()))
        return false;
    OpenProblem &problem = openProblem();
    if (problem.isOpen() && problem.anyDirty()) {
        const QString text = GETFILENAME(problem.OPROBDBF->path()) + QStringLiteral(" dosyasındaki veriler değişti!") +
                             QStringLiteral("\n\nKaydetmek istiyor musunuz?");
        const MessageAnswer answer = askSaveBeforeClosing(this, QStringLiteral("Uyarı..."), text);
        if (answer == MessageAnswer::Cancel)
            return false; // the program stays, with the problem and its changes
        if (answer == MessageAnswer::Yes && !KAYDET(*this))
            return false; // the save failed and was told; the changes stay and so does the window
    }
    if (problem.isOpen())
        problem.OPROBDBF.reset();
    return true;
}

void SSHELLWINDOW::closeEvent(QCloseEvent *event)
{
    if (QUERYCLOSE())
        event->accept();
    else
        event->ignore();
}

void SSHELLWINDOW::toggleStartupOption(int id, bool (*writer)(bool))
{
    const bool on = !menu_->ISCHECKED(id);
    menu_->setChecked(id, on);
    writer(on);
}

void SSHELLWINDOW::TUYOGOSTER()
{
    toggleStartupOption(28434, &STARTUPTIPCONT);
}

void SSHELLWINDOW::LOGOGOSTER()
{
    toggleStartupOption(28435, &STARTLOGOSHOWCONT);
}

void SSHELLWINDOW::ADPAROLASOR()
{
    toggleStartupOption(28437, &STARTLOGONCONT);
}

void SSHELLWINDOW::ACTMATMUHTEVASI()
{
    if (menu_->ISCHECKED(28429)) {
        menu_->uncheck(28429);
        menu_->check(28430);
        ACTMATKAYCONT(false);
        appGlobals().LRMDENOKU = false;
    } else if (menu_->ISCHECKED(28430)) {
        menu_->uncheck(28430);
        menu_->check(28429);
        ACTMATKAYCONT(true);
        appGlobals().LRMDENOKU = true;
    }
}

void SSHELLWINDOW::OHAKKINDA()
{
    showAboutBox(this);
}

void SSHELLWINDOW::WNOTEPAD()
{
    const QString report = lastReport().CSONRAPOR();
    if (report.isEmpty())
        return;
    TKTASK task;
    task.COMMANDLINE(QStringLiteral("xdg-open"), {report});
    task.LAUNCH();
}

void SSHELLWINDOW::AMATREPORT()
{
    if (CLOSEWINDOWSEXIST() && writeActiveMatrixReport(this))
        runCommand(QStringLiteral("REPORTPAD"));
}

void SSHELLWINDOW::HMFIATLIST()
{
    if (CLOSEWINDOWSEXIST() && writePriceListReport(this))
        runCommand(QStringLiteral("REPORTPAD"));
}

void SSHELLWINDOW::RM_REPORT()
{
    if (CLOSEWINDOWSEXIST() && writeReferenceMatrixReport(this))
        runCommand(QStringLiteral("REPORTPAD"));
}

// The child-window registry.

void SSHELLWINDOW::ADDDATAWINDOW(QWidget *window)
{
    if (!window || dataWindows_.contains(window))
        return;
    dataWindows_.append(window);
}

void SSHELLWINDOW::REMOVEDATAWINDOW(QWidget *window)
{
    const qsizetype at = dataWindows_.indexOf(window);
    if (!window || at < 0)
        return;
    dataWindows_.removeAt(at);
    window->hide();
    // The window may be inside its own close; it ends once control is back in the event loop. Its
    // frame goes at once, with its title and menu, so no question asked meanwhile shows it empty.
    if (auto *sub = qobject_cast<QMdiSubWindow *>(window->parentWidget())) {
        sub->hide();
        if (auto *child = dynamic_cast<ShellChild *>(window); child && child->childMenu() == shown_)
            showMenu(nullptr);
        sub->deleteLater();
    } else {
        window->deleteLater();
    }
}

QWidget *SSHELLWINDOW::GETDATAWINDOW(const QString &name) const
{
    for (const QPointer<QWidget> &w : dataWindows_)
        if (w && w->objectName() == name)
            return w.data();
    return nullptr;
}

QList<QWidget *> SSHELLWINDOW::GETDATAWINDOWS() const
{
    QList<QWidget *> out;
    for (const QPointer<QWidget> &w : dataWindows_)
        if (w)
            out << w.data();
    return out;
}

void SSHELLWINDOW::CLOSINGDATAWINDOWS()
{
    for (qsizetype i = 0; i < dataWindows_.size();) {
        if (!dataWindows_[i]) {
            dataWindows_.removeAt(i);
            continue;
        }
        dataWindows_[i]->hide();
        ++i;
    }
    for (qsizetype i = 0; i < dataWindows_.size();) {
        QPointer<QWidget> window = dataWindows_[i];
        auto *data = dynamic_cast<DataWindow *>(window.data());
        if (data)
            data->CLOSE();
        // A window that closed has left its place to the next one; one still in place refused (or
        // has no close) and is passed over, so the walk always ends.
        if (i < dataWindows_.size() && dataWindows_[i] == window)
            ++i;
    }
    // Whatever stayed registered is shown again rather than left hidden.
    for (const QPointer<QWidget> &w : std::as_const(dataWindows_))
        if (w)
            w->show();
}

bool SSHELLWINDOW::CLOSEWINDOWSEXIST()
{
    if (!dataWindows_.isEmpty())
        CLOSINGDATAWINDOWS();
    bool closed = GETDATAWINDOWS().isEmpty();
    for (CloseParticipant *participant : std::vector<CloseParticipant *>(participants_))
        if (participant->hasWindows() && !participant->closeAll())
            closed = false;
    return closed;
}

void SSHELLWINDOW::WHOCHANGES()
{
    for (QWidget *window : GETDATAWINDOWS())
        if (auto *data = dynamic_cast<DataWindow *>(window); data && data->canCommit())
            data->SONKONT2();
}

QWidget *SSHELLWINDOW::openDataWindow(const QString &name, const std::function<QWidget *()> &create)
{
    if (QWidget *open = GETDATAWINDOW(name)) {
        auto *sub = qobject_cast<QMdiSubWindow *>(open->parentWidget());
        (sub ? static_cast<QWidget *>(sub) : open)->show();
        if (sub)
            mdiArea()->setActiveSubWindow(sub);
        open->raise();
        return open;
    }
    if (!CLOSEWINDOWSEXIST())
        return nullptr;
    QWidget *window = create ? create() : nullptr;
    if (!window)
        return nullptr;
    if (window->objectName().isEmpty())
        window->setObjectName(name);
    ADDDATAWINDOW(window);
    QMdiSubWindow *sub = mdiArea()->addSubWindow(window);
    // The canvas's size; wider where the window's columns need it and the main window could grow.
    const QSize canvas = mdiArea()->viewport()->size();
    sub->resize(std::max(canvas.width(), std::min(sub->sizeHint().width(), canvas.width() + widenFor(*sub))),
                canvas.height());
    QVMOVEWINDOW(window, 1); // the top-left corner of the canvas
    sub->show();
    mdiArea()->setActiveSubWindow(sub);
    return window;
}

void SSHELLWINDOW::addCloseParticipant(CloseParticipant *participant)
{
    if (participant && std::find(participants_.begin(), participants_.end(), participant) == participants_.end())
        participants_.push_back(participant);
}

void SSHELLWINDOW::removeCloseParticipant(CloseParticipant *participant)
{
    participants_.erase(std::remove(participants_.begin(), participants_.end(), participant), participants_.end());
}

void SSHELLWINDOW::setDropHandler(std::function<void(const QStringList &)> handler)
{
    dropHandler_ = std::move(handler);
}

bool SSHELLWINDOW::event(QEvent *event)
{
    // A menu item's or button's description shows while it is pointed at; the empty tip that comes
    // when the pointer leaves it (or its menu closes) brings back the program's last message.
    if (event->type() == QEvent::StatusTip) {
        const QString tip = static_cast<QStatusTipEvent *>(event)->tip();
        showItemDescription(tip.isEmpty() ? message_ : tip);
        return true;
    }
    return JOVSPLITSHELLWINDOW::event(event);
}

} // namespace vexo
