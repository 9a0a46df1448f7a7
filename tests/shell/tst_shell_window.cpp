#include "feed_fixture.h"

#include "controls/command_registry.h"
#include "controls/shell_menus.h"
#include "problem/app_globals.h"
#include "problem/dbserverr.h"
#include "problem/open_problem.h"
#include "problem/problem_file.h"
#include "scripted_messages.h"
#include "shell/settings_store.h"
#include "shell/shell_globals.h"
#include "shell/shell_window.h"
#include "solver/report_data_form.h"
#include "solver/report_road.h"

#include <QAction>
#include <algorithm>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenuBar>
#include <QMimeData>
#include <QTemporaryDir>
#include <QTextBrowser>
#include <QToolBar>
#include <QtTest>

using namespace vexo;

namespace {

// A registered window: counts its closes and commits; it may refuse to close.
struct FakeDataWindow : QWidget, DataWindow
{
    explicit FakeDataWindow(const QString &name, bool refuse = false) : refuse(refuse) { setObjectName(name); }
    void CLOSE() override
    {
        ++closes;
        if (!refuse)
            shellHost()->REMOVEDATAWINDOW(this);
    }
    bool canCommit() const override { return commits; }
    void SONKONT2() override { ++commitsDone; }
    int closes = 0;
    int commitsDone = 0;
    bool refuse = false;
    bool commits = false;
};

struct FakePads : CloseParticipant
{
    bool open = true;
    bool agree = true;
    int asked = 0;
    bool hasWindows() const override { return open; }
    bool closeAll() override
    {
        ++asked;
        open = !agree;
        return agree;
    }
};

// A child with the reference-matrix editor's menu, which cuts on Ctrl+X.
struct MenuChild : QWidget, ShellChild
{
    MenuChild() : menu(standardShellMenu(), [this](const QString &c) { runChildCommand(*this, c); })
    {
        commands.add(QStringLiteral("CUT"), [this] { ++cuts; });
    }
    BuiltMenu *childMenu() override { return &menu; }
    CommandRegistry &childCommands() override { return commands; }
    CommandRegistry commands;
    BuiltMenu menu;
    int cuts = 0;
};

QPoint centre(const WRECT &r)
{
    return {(r.LEFT + r.RIGHT) / 2, (r.TOP + r.BOTTOM) / 2};
}

} // namespace

class ShellWindowTest : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir dir;
    AppGlobals savedGlobals;
    ShellGlobals savedShell;

    // Opens a problem file whose lists have the given numbers of names and matrix cells.
    void openShape(int ingredients, int nutrients, int rows, int cells)
    {
        openProblem().reset();
        const QString path = dir.filePath(QStringLiteral("SEKIL.VKD"));
        QFile::remove(path);
        QVERIFY(DATAFILECREATE(nullptr, path));
        QVERIFY(DATAFOPEN(nullptr, path));
        OpenProblem &p = openProblem();
        for (int i = 0; i < ingredients; ++i)
            p.AYMADLARI << QStringLiteral("Y%1").arg(i);
        for (int i = 0; i < nutrients; ++i)
            p.ABMADLARI << QStringLiteral("B%1").arg(i);
        for (int r = 0; r < rows; ++r)
            p.AAMAT << Row(cells, QStringLiteral("1"));
    }

private slots:
    void initTestCase()
    {
        QVERIFY(dir.isValid());
        savedGlobals = appGlobals();
        savedShell = shellGlobals();
        appGlobals().CPROGDIZIN = dir.path();
        appGlobals().CVERIDIZIN = dir.path();
        appGlobals().CVERIKOK = dir.path();
    }

    void cleanupTestCase()
    {
        openProblem().reset();
        appGlobals() = savedGlobals;
        shellGlobals() = savedShell;
    }

    void cleanup() { openProblem().reset(); }

    void aRegisteredHandlerIsReachedFromItemKeyButtonAndPaneItem()
    {
        SSHELLWINDOW window;
        window.show();
        QStringList ran;
        for (const char *name : {"REPORTPAD", "HMFIATLIST", "COZUM"}) {
            const QString command = QString::fromLatin1(name);
            shellCommands().add(command, [&ran, command] { ran << command; });
        }
        BuiltMenu &menu = window.mainMenu();
        QCOMPARE(window.shownMenu(), &menu);

        menu.action(28417)->trigger();                                            // menu item
        QTest::keyClick(window.mdiArea()->viewport(), Qt::Key_T, Qt::ControlModifier); // key
        QToolBar *bar = menu.toolBar();
        QTest::mouseClick(bar->widgetForAction(menu.toolAction(28419)), Qt::LeftButton); // button
        QCOMPARE(ran, (QStringList{"HMFIATLIST", "REPORTPAD", "REPORTPAD"}));

        // The solve button and pane item stay dead until the rules enable them.
        QTest::mouseClick(bar->widgetForAction(menu.toolAction(28413)), Qt::LeftButton);
        OUTLOOKBAR *pane = window.GETOBDLG()->ODCOOBAR();
        pane->setACTIVEHEADER(QStringLiteral("COZUMLER"));
        pane->RECALC();
        const QPoint solve = centre(pane->GETITEMFROMSYMBOL(QStringLiteral("COZUM"))->AREA());
        QTest::mouseClick(pane, Qt::LeftButton, {}, solve);
        QCOMPARE(ran.size(), 3);
        openShape(2, 2, 2, 2);
        window.MI_ENADISABLE();
        QTest::mouseClick(bar->widgetForAction(menu.toolAction(28413)), Qt::LeftButton);
        QTest::mouseClick(pane, Qt::LeftButton, {}, solve);
        QCOMPARE(ran, (QStringList{"HMFIATLIST", "REPORTPAD", "REPORTPAD", "COZUM", "COZUM"}));

        // An item whose command nobody has does nothing.
        shellCommands().remove(QStringLiteral("HMFIATLIST"));
        pane->setACTIVEHEADER(QStringLiteral("VERI_RAPORU"));
        pane->RECALC();
        QTest::mouseClick(pane, Qt::LeftButton, {}, centre(pane->GETITEMFROMSYMBOL(QStringLiteral("HMFIATLIST"))->AREA()));
        QCOMPARE(ran.size(), 5);
        shellCommands().remove(QStringLiteral("REPORTPAD"));
        shellCommands().remove(QStringLiteral("COZUM"));
    }

    void keysOfTheTableComeBeforeMnemonicsAndTipsFillTheStatusBar()
    {
        SSHELLWINDOW window;
        window.show();
        int updates = 0;
        shellCommands().add(QStringLiteral("VXOFTP"), [&updates] { ++updates; });
        // Alt+G is also the mnemonic of "Aktif Problem &Girişleri"; the key table wins.
        QTest::keyClick(window.mdiArea()->viewport(), Qt::Key_G, Qt::AltModifier);
        QCOMPARE(updates, 1);
        shellCommands().remove(QStringLiteral("VXOFTP"));

        // Pointing at a button puts its item's description in the status bar; its tip is its own.
        BuiltMenu &menu = window.mainMenu();
        menu.toolAction(28398)->hover();
        QCOMPARE(window.statusText(), QStringLiteral("Mevcut bir veri dosyası aç"));
        QCOMPARE(menu.toolAction(28413)->toolTip(), QStringLiteral("Çözüm raporu hazırla"));
        menu.action(28404)->hover();
        QCOMPARE(window.statusText(), QStringLiteral("Programı sonlandır "));
    }

    // A button's or item's description shows only while it is pointed at; then the status bar shows
    // again what the program last put there (nothing at first), and a message a command puts there
    // while the pointer is on the button stays after the pointer leaves.
    void descriptionsLastWhileTheirItemIsPointedAt()
    {
        SSHELLWINDOW window;
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        BuiltMenu &menu = window.mainMenu();
        QWidget *open = menu.toolBar()->widgetForAction(menu.toolAction(28398));
        QVERIFY(open);
        const QPoint away = window.mdiArea()->mapTo(&window, window.mdiArea()->rect().center());
        auto pointAt = [&](QWidget *button) {
            QTest::mouseMove(button, button->rect().center());
            QTest::qWait(20);
        };
        auto leave = [&] {
            QTest::mouseMove(&window, away);
            QTest::qWait(20);
        };

        pointAt(open);
        QCOMPARE(window.statusText(), QStringLiteral("Mevcut bir veri dosyası aç"));
        leave();
        QCOMPARE(window.statusText(), QString());

        window.STATUSMESSAGE(QStringLiteral("Dosya başarıyla farklı kaydedildi..."));
        pointAt(open);
        QCOMPARE(window.statusText(), QStringLiteral("Mevcut bir veri dosyası aç"));
        leave();
        QCOMPARE(window.statusText(), QStringLiteral("Dosya başarıyla farklı kaydedildi..."));

        // A menu item of the menu bar highlighted, and the menu closed.
        QMenuBar *bar = window.menuBar();
        QAction *fileTitle = bar->actions().first();
        QMenu *file = fileTitle->menu();
        QVERIFY(file);
        QTest::mouseClick(bar, Qt::LeftButton, {}, bar->actionGeometry(fileTitle).center());
        QVERIFY(QTest::qWaitForWindowExposed(file));
        file->setActiveAction(menu.action(28404));
        QCOMPARE(window.statusText(), QStringLiteral("Programı sonlandır "));
        QTest::keyClick(file, Qt::Key_Escape);
        QTest::keyClick(bar, Qt::Key_Escape);
        QTRY_VERIFY(!file->isVisible());
        QCOMPARE(window.statusText(), QStringLiteral("Dosya başarıyla farklı kaydedildi..."));

        // A command run from the button under the pointer leaves its message behind.
        shellCommands().add(QStringLiteral("FILEOPEN"), [&window] { window.STATUSMESSAGE(QStringLiteral("Açıldı")); });
        pointAt(open);
        menu.toolAction(28398)->trigger();
        QCOMPARE(window.statusText(), QStringLiteral("Açıldı"));
        leave();
        QCOMPARE(window.statusText(), QStringLiteral("Açıldı"));
        shellCommands().remove(QStringLiteral("FILEOPEN"));
    }

    // A menu title's description shows while its menu is open; the Escape that closes the menu takes
    // it back, whether the menu was opened from the keyboard or with the pointer.
    void aMenuTitlesDescriptionLeavesWithEscape()
    {
        SSHELLWINDOW window;
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        window.STATUSMESSAGE(QStringLiteral("Dosya başarıyla farklı kaydedildi..."));
        QMenuBar *bar = window.menuBar();
        QAction *fileTitle = bar->actions().first();
        QMenu *file = fileTitle->menu();
        QVERIFY(file && !fileTitle->statusTip().isEmpty());
        // Opened from the keyboard, closed with Escape.
        QTest::keyClick(&window, Qt::Key_D, Qt::AltModifier);
        QVERIFY(QTest::qWaitForWindowExposed(file));
        QVERIFY(window.statusText() != QStringLiteral("Dosya başarıyla farklı kaydedildi..."));
        QTest::keyClick(file, Qt::Key_Escape);
        QTRY_VERIFY(!file->isVisible());
        QTRY_COMPARE(window.statusText(), QStringLiteral("Dosya başarıyla farklı kaydedildi..."));
        QTest::keyClick(bar, Qt::Key_Escape);
        QTest::qWait(20);
        QCOMPARE(window.statusText(), QStringLiteral("Dosya başarıyla farklı kaydedildi..."));

        // Opened with the pointer on its title, closed with Escape, the pointer moved away.
        QTest::mouseMove(bar, bar->actionGeometry(fileTitle).center());
        QTest::mouseClick(bar, Qt::LeftButton, {}, bar->actionGeometry(fileTitle).center());
        QVERIFY(QTest::qWaitForWindowExposed(file));
        QCOMPARE(window.statusText(), fileTitle->statusTip());
        QTest::keyClick(file, Qt::Key_Escape);
        QTRY_VERIFY(!file->isVisible());
        QTRY_COMPARE(window.statusText(), QStringLiteral("Dosya başarıyla farklı kaydedildi..."));
        QTest::keyClick(bar, Qt::Key_Escape);
        QTest::mouseMove(&window, window.mdiArea()->mapTo(&window, window.mdiArea()->rect().center()));
        QTest::qWait(20);
        QCOMPARE(window.statusText(), QStringLiteral("Dosya başarıyla farklı kaydedildi..."));
    }

    // The word of a finished save speaks of the main window: it leaves at the main window's next
    // command, and a command's own word stays.
    void aSavesWordLeavesAtTheNextCommand()
    {
        test::ScriptedMessages messages;
        SSHELLWINDOW window;
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        window.STATUSMESSAGE(QStringLiteral("Dosya başarıyla farklı kaydedildi..."));
        QVERIFY(window.runCommand(QStringLiteral("WINDOWCASCADE")));
        QCOMPARE(window.statusText(), QString());
        window.STATUSMESSAGE(QStringLiteral("Dosya başarıyla farklı kaydedildi..."));
        QVERIFY(window.runCommand(QStringLiteral("SAVESCREENSIZEPOS")));
        QCOMPARE(window.statusText(), QStringLiteral("Pencere boyutları, açılışta hatırlanmak için, saklandı..."));
    }

    void anActiveChildsMenuTakesCtrlXUntilItCloses()
    {
        SSHELLWINDOW window;
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        int exits = 0;
        shellCommands().add(QStringLiteral("FILEEXIT"), [&exits] { ++exits; });
        auto *child = new MenuChild;
        QMdiSubWindow *sub = window.mdiArea()->addSubWindow(child);
        sub->show();
        window.mdiArea()->setActiveSubWindow(sub);
        QCOMPARE(window.shownMenu(), &child->menu);
        QCOMPARE(window.menuBar()->actions().size(), 5);
        QVERIFY(child->menu.toolBar()->isVisible());
        QVERIFY(!window.mainMenu().toolBar()->isVisible());

        QTest::keyClick(window.mdiArea()->viewport(), Qt::Key_X, Qt::ControlModifier);
        QCOMPARE(child->cuts, 1);
        QCOMPARE(exits, 0);
        // A command the child lacks goes on to the main window.
        int tiles = 0;
        shellCommands().add(QStringLiteral("WINDOWTILE"), [&tiles] { ++tiles; });
        child->menu.action(28391)->trigger();
        QCOMPARE(tiles, 1);

        delete sub;
        QCOMPARE(window.shownMenu(), &window.mainMenu());
        QCOMPARE(window.menuBar()->actions().size(), 7);
        QTest::keyClick(window.mdiArea()->viewport(), Qt::Key_X, Qt::ControlModifier);
        QCOMPARE(exits, 1);
    }

    void closingTheRegistryClosesEachWindowOnceAndStopsOnARefusal()
    {
        SSHELLWINDOW window;
        auto *a = new FakeDataWindow(QStringLiteral("BYM_GIR_WIN"));
        auto *stubborn = new FakeDataWindow(QStringLiteral("BAMAT_GIR_WIN"), true);
        auto *c = new FakeDataWindow(QStringLiteral("BBM_GIR_WIN"));
        QPointer<QWidget> plain = new QWidget; // registered without a close of its own
        plain->setObjectName(QStringLiteral("PLAIN"));
        for (QWidget *w : {static_cast<QWidget *>(a), static_cast<QWidget *>(stubborn), static_cast<QWidget *>(c), plain.data()})
            window.ADDDATAWINDOW(w);
        window.ADDDATAWINDOW(a); // registered once only
        QCOMPARE(window.GETDATAWINDOWS().size(), 4);
        QCOMPARE(window.GETDATAWINDOW(QStringLiteral("BBM_GIR_WIN")), c);

        FakePads pads;
        window.addCloseParticipant(&pads);
        QVERIFY(!window.CLOSEWINDOWSEXIST());
        QCOMPARE(a->closes, 1);
        QCOMPARE(stubborn->closes, 1);
        QCOMPARE(c->closes, 1);
        QCOMPARE(pads.asked, 1);
        QCOMPARE(window.GETDATAWINDOWS(), (QList<QWidget *>{stubborn, plain.data()}));
        QVERIFY(!stubborn->isHidden()); // not left hidden
        QVERIFY(!window.GETDATAWINDOW(QStringLiteral("BYM_GIR_WIN")));

        // A window that is gone is dropped, not returned.
        delete plain.data();
        QVERIFY(!window.GETDATAWINDOW(QStringLiteral("PLAIN")));
        stubborn->refuse = false;
        QVERIFY(window.CLOSEWINDOWSEXIST());
        QVERIFY(window.GETDATAWINDOWS().isEmpty());
        window.removeCloseParticipant(&pads);
        delete stubborn;
        delete a;
        delete c;
    }

    void theOpenerBringsAnOpenWindowForwardAndStopsWhenACloseIsRefused()
    {
        SSHELLWINDOW window;
        window.show();
        int made = 0;
        auto make = [&made]() -> QWidget * {
            ++made;
            return new FakeDataWindow(QStringLiteral("BYM_GIR_WIN"));
        };
        QWidget *first = window.openDataWindow(QStringLiteral("BYM_GIR_WIN"), make);
        QVERIFY(first);
        QCOMPARE(window.openDataWindow(QStringLiteral("BYM_GIR_WIN"), make), first);
        QCOMPARE(made, 1);
        auto *sub = qobject_cast<QMdiSubWindow *>(first->parentWidget());
        QVERIFY(sub);
        QCOMPARE(sub->geometry().topLeft(), QPoint(0, 0));
        QCOMPARE(sub->size(), window.mdiArea()->viewport()->size());

        static_cast<FakeDataWindow *>(first)->refuse = true;
        QVERIFY(!window.openDataWindow(QStringLiteral("BBM_GIR_WIN"), make));
        QCOMPARE(made, 1);
        static_cast<FakeDataWindow *>(first)->refuse = false;
        static_cast<FakeDataWindow *>(first)->commits = true;
        window.WHOCHANGES();
        QCOMPARE(static_cast<FakeDataWindow *>(first)->commitsDone, 1);
        QWidget *second = window.openDataWindow(QStringLiteral("BBM_GIR_WIN"), make);
        QVERIFY(second && second != first);
        QCOMPARE(window.GETDATAWINDOWS(), QList<QWidget *>{second});
    }

    void enablingFollowsTheProblemAndClosingResetsIt()
    {
        SSHELLWINDOW window;
        openShape(2, 2, 2, 1); // names ready, matrix not
        window.MI_ENADISABLE();
        BuiltMenu &menu = window.mainMenu();
        QVERIFY(menu.isEnabled(28408) && menu.isEnabled(28410) && menu.isEnabled(28406));
        QVERIFY(!menu.isEnabled(28411) && !menu.isEnabled(28413) && !menu.toolAction(28413)->isEnabled());
        VKOLBARDLG *pane = window.GETOBDLG();
        QVERIFY(pane->isItemEnabled(QStringLiteral("AKTIF_PROBLEM_GIRISLERI"), QStringLiteral("YMGRUBU")));
        QVERIFY(!pane->isItemEnabled(QStringLiteral("COZUMLER"), QStringLiteral("COZUM")));
        QVERIFY(!openProblem().LAMATHAZIR);

        window.setWindowTitle(QStringLiteral("VEXO_Zud 2.6 - SEKIL.VKD"));
        openProblem().OPROBDBF.reset();
        openProblem().NCOZUMSAYISI = 3;
        window.MI_ENADISABLE();
        QCOMPARE(window.windowTitle(), kProgramTitle);
        QVERIFY(openProblem().AYMADLARI.isEmpty() && openProblem().AAMAT.isEmpty());
        QCOMPARE(openProblem().NCOZUMSAYISI, 0);
        QVERIFY(!menu.isEnabled(28406) && menu.isEnabled(28417) && menu.isEnabled(28420));
        QVERIFY(pane->isItemEnabled(QStringLiteral("VERI_RAPORU"), QStringLiteral("HMFIATLIST")));
    }

    void exitAsksOnceWithoutAProblemAndOffersToSaveChanges()
    {
        SSHELLWINDOW window;
        {
            test::ScriptedMessages messages;
            messages.answer(MessageAnswer::No);
            QVERIFY(!window.QUERYCLOSE());
            QCOMPARE(messages.shown().size(), 1);
            QCOMPARE(messages.shown()[0].caption, QStringLiteral("Çıkış..."));
            QCOMPARE(messages.shown()[0].text, QStringLiteral("VEXO_Zud 2.6'dan çıkmak istediğinizden emin misiniz?"));
        }
        {
            test::ScriptedMessages messages;
            openShape(2, 2, 2, 2);
            openProblem().LYMDEG = true;
            messages.answer(MessageAnswer::Yes);
            messages.answer(MessageAnswer::No);
            QVERIFY(window.QUERYCLOSE());
            QCOMPARE(messages.shown().size(), 2);
            QCOMPARE(messages.shown()[1].text,
                     QStringLiteral("SEKIL.VKD dosyasındaki veriler değişti!\n\nKaydetmek istiyor musunuz?"));
            QVERIFY(!openProblem().isOpen());
        }
        {
            // A pad whose save question was cancelled keeps the program open without asking.
            test::ScriptedMessages messages;
            FakePads pads;
            pads.agree = false;
            window.addCloseParticipant(&pads);
            QVERIFY(!window.QUERYCLOSE());
            QVERIFY(messages.shown().isEmpty());
            window.removeCloseParticipant(&pads);
        }
    }

    void togglesAndTheDataSourcePairFlipAndStoreTheirSettings()
    {
        test::ScriptedMessages messages;
        shellGlobals().LACILISGIRIS = false;
        shellGlobals().LACILISTUYO = true;
        appGlobals().LRMDENOKU = true;
        SSHELLWINDOW window;
        BuiltMenu &menu = window.mainMenu();
        QVERIFY(menu.ISCHECKED(28434) && !menu.ISCHECKED(28437));
        QVERIFY(!menu.isEnabled(28441) && !menu.isEnabled(28442));

        window.TUYOGOSTER();
        QVERIFY(!menu.ISCHECKED(28434));
        QCOMPARE(readSetting(QStringLiteral("VKlstrt")), QStringLiteral("0"));
        QVERIFY(!shellGlobals().LACILISTUYO);
        window.ADPAROLASOR();
        QVERIFY(menu.ISCHECKED(28437));
        QCOMPARE(readSetting(QStringLiteral("VKldlg")), QStringLiteral("1"));

        // Either item flips the pair, the one already checked included.
        menu.action(28429)->trigger();
        QVERIFY(!menu.ISCHECKED(28429) && menu.ISCHECKED(28430));
        QVERIFY(!appGlobals().LRMDENOKU);
        QCOMPARE(readSetting(QStringLiteral("VKrmdo")), QStringLiteral("0"));
        menu.action(28430)->trigger();
        QVERIFY(menu.ISCHECKED(28429) && !menu.ISCHECKED(28430));
        QVERIFY(appGlobals().LRMDENOKU);
        QCOMPARE(readSetting(QStringLiteral("VKrmdo")), QStringLiteral("1"));

        // The user commands follow the logon option only when the menu is built again.
        QVERIFY(!menu.isEnabled(28441));
        window.rebuildMainMenu();
        BuiltMenu &rebuilt = window.mainMenu();
        QCOMPARE(window.shownMenu(), &rebuilt);
        QVERIFY(rebuilt.isEnabled(28441) && rebuilt.isEnabled(28442));
        QVERIFY(rebuilt.ISCHECKED(28437) && !rebuilt.ISCHECKED(28434));
        QCOMPARE(window.menuBar()->actions().size(), 7);
        QCOMPARE(window.findChildren<QToolBar *>().size(), 1);
    }

    void theSolveClosesEditorsFirstAndRecordsItsOutcome()
    {
        test::ScriptedMessages messages;
        static InteractiveReportStep step;
        setReportStep(&step);
        appGlobals().LRMDENOKU = false; // contents from the file, not the reference matrix
        const QString path = dir.filePath(QStringLiteral("COZ.VKD"));
        QString error;
        QVERIFY2(test::writeFeedFixture(path, &error), qPrintable(error));
        SSHELLWINDOW window;
        QVERIFY(DOOPENFILE(window, path));
        QVERIFY(window.mainMenu().isEnabled(28413));
        int pads = 0;
        shellCommands().add(QStringLiteral("REPORTPAD"), [&pads] { ++pads; });
        int asked = 0;
        bool accept = false;
        setReportDataAsker([&](QWidget *, ReportDataForm &form) {
            ++asked;
            form.clickDetay();
            if (accept)
                form.accept();
            else
                form.cancel();
            return accept;
        });

        // An editor that refuses to close stops the solve before it starts.
        auto *stubborn = new FakeDataWindow(QStringLiteral("BYM_GIR_WIN"), true);
        window.ADDDATAWINDOW(stubborn);
        window.mainMenu().action(28413)->trigger();
        QCOMPARE(asked, 0);
        QCOMPARE(stubborn->closes, 1);
        stubborn->refuse = false;

        // Cancelling the report data: the editor closed, no report, no status.
        auto *editor = new FakeDataWindow(QStringLiteral("BBM_GIR_WIN"));
        window.ADDDATAWINDOW(editor);
        window.COZUM();
        QCOMPARE(asked, 1);
        QCOMPARE(editor->closes, 1);
        QVERIFY(window.GETDATAWINDOWS().isEmpty());
        QCOMPARE(pads, 0);
        QVERIFY(openProblem().CCOZUMDURUMU.isEmpty());

        // Accepted for a detailed report: the status is recorded and the pad is asked for.
        accept = true;
        window.COZUM();
        QCOMPARE(openProblem().CCOZUMDURUMU, QStringLiteral("E"));
        QCOMPARE(pads, 1);
        QVERIFY(QFileInfo(dir.filePath(QStringLiteral("COZ.TXT"))).size() > 0);

        setReportDataAsker({});
        setReportStep(nullptr);
        shellCommands().remove(QStringLiteral("REPORTPAD"));
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }

    void savingThePositionStoresWhatRestoringApplies()
    {
        test::ScriptedMessages messages;
        SSHELLWINDOW window;
        window.move(-30, 40);
        window.resize(700, 500);
        window.SAVESCREENSIZEPOS();
        const QString stored = readSetting(QStringLiteral("VKScrPos"));
        QVERIFY(stored.startsWith(QStringLiteral("0,")));
        QVERIFY(stored.endsWith(QStringLiteral(",700,500")));
        QCOMPARE(window.statusText(), QStringLiteral("Pencere boyutları, açılışta hatırlanmak için, saklandı..."));
        SSHELLWINDOW other;
        other.RESETSHELLPOSITION();
        QCOMPARE(other.size(), QSize(700, 500));
    }

    void openingAProblemReopensTheFirstHeaderAndDropsGoToTheirHandler()
    {
        SSHELLWINDOW window;
        OUTLOOKBAR *bar = window.GETOBDLG()->ODCOOBAR();
        bar->setACTIVEHEADER(QStringLiteral("VERI_RAPORU"));
        window.OBFIRST();
        QCOMPARE(bar->ACTIVEHEADER(), QStringLiteral("AKTIF_PROBLEM_GIRISLERI"));
        // The pane is 170 pixels wide, or wider where the open header's caption needs it, and
        // keeps a margin of two pixels around the bar.
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        VKOLBARDLG *pane = window.GETOBDLG();
        const int wide = std::max(170, pane->neededWidth());
        QCOMPARE(pane->width(), wide);
        QCOMPARE(bar->geometry(), QRect(2, 2, pane->width() - 4, pane->height() - 4));
        QCOMPARE(bar->GETACTIVEHEADER()->shownCaption(), QStringLiteral("Aktif Problem Girişleri"));
        for (const char *header : {"COZUMLER", "VERI_RAPORU"}) {
            bar->setACTIVEHEADER(QString::fromLatin1(header));
            QCOMPARE(bar->GETACTIVEHEADER()->shownCaption(), bar->GETACTIVEHEADER()->CAPTION());
        }
        bar->setACTIVEHEADER(QStringLiteral("AKTIF_PROBLEM_GIRISLERI"));
        window.ONVERTSPLITBARMOVE(30);
        QCoreApplication::processEvents();
        QCOMPARE(pane->width(), wide + 30);
        QCOMPARE(bar->geometry(), QRect(2, 2, pane->width() - 4, pane->height() - 4));

        QStringList dropped;
        QWidget *canvas = window.mdiArea()->viewport();
        auto drop = [canvas](const QString &path) {
            QMimeData data;
            data.setUrls({QUrl::fromLocalFile(path)});
            QDragEnterEvent enter(QPoint(5, 5), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
            QApplication::sendEvent(canvas, &enter);
            QDropEvent event(QPointF(5, 5), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
            QApplication::sendEvent(canvas, &event);
        };
        drop(QStringLiteral("/tmp/a.txt")); // no handler yet: ignored
        window.setDropHandler([&dropped](const QStringList &paths) { dropped << paths; });
        drop(QStringLiteral("/tmp/b.txt"));
        QCOMPARE(dropped, QStringList{QStringLiteral("/tmp/b.txt")});
        window.setDropHandler({});
    }

    void helpShowsTopicsAndFallsBackToTheIndex()
    {
        SSHELLWINDOW window;
        window.HELPCONTENTS();
        QVERIFY(window.helpWindow());
        QCOMPARE(window.helpWindow()->shownTopic(), QStringLiteral("HelpContents"));
        QVERIFY(window.helpWindow()->browser()->toPlainText().contains(QStringLiteral("İçindekiler")));
        window.showHelp(QStringLiteral("Böyle bir konu yok"));
        QCOMPARE(window.helpWindow()->shownTopic(), QStringLiteral("HelpIndex"));
        QVERIFY(window.statusText().contains(QStringLiteral("Yardım konusu bulunamadı: Böyle bir konu yok")));
    }

    // Every topic the program names opens its own page: the window's keyword or the menu row's help
    // context, never the index with "Yardım konusu bulunamadı".
    void everyTopicTheProgramNamesOpensItsPage()
    {
        SSHELLWINDOW window;
        for (const QString &topic : programHelpTopics()) {
            window.STATUSMESSAGE(QString());
            window.showHelp(topic);
            QVERIFY2(!window.statusText().contains(QStringLiteral("bulunamadı")), qPrintable(topic));
            QCOMPARE(window.helpWindow()->shownTopic(), topic);
            QVERIFY2(!window.helpWindow()->browser()->documentTitle().isEmpty(), qPrintable(topic));
        }
        window.showHelp(QStringLiteral("Yem Maddesi Verileri"));
        const QString text = window.helpWindow()->browser()->toPlainText();
        for (const char *told : {"Krş/Kg", "Azami Fiyat", "Stokda Var/Yok"})
            QVERIFY2(text.contains(QString::fromUtf8(told)), told);
        // A link, then Alt+Left back, as the help's own page says.
        QTextBrowser *browser = window.helpWindow()->browser();
        browser->setSource(QUrl(QStringLiteral("qrc:/help/cozum.html")));
        QTest::keyClick(browser, Qt::Key_Left, Qt::AltModifier);
        QCOMPARE(browser->source().fileName(), QStringLiteral("yem_maddeleri.html"));
    }
};

QTEST_MAIN(ShellWindowTest)
#include "tst_shell_window.moc"
