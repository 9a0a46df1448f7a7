// The report pads in the real main window: the pad menu on the menu bar while pads are open, the
// close-all before exit, the report-pad key after a PDF summary, and a main window that goes while a
// pad is still open.
#include "feed_fixture.h"

#include "controls/command_registry.h"
#include "controls/menu_builder.h"
#include "problem/app_globals.h"
#include "problem/open_problem.h"
#include "problem/problem_file_commands.h"
#include "reports/last_report.h"
#include "reports/pad_rich_edit.h"
#include "reports/pad_window.h"
#include "reports/pdf_summary.h"
#include "recording_pdf_viewer.h"
#include "reports/report_pads.h"
#include "scripted_messages.h"
#include "shell/shell_window.h"
#include "solver/report_data_form.h"
#include "solver/report_road.h"

#include <QMenu>
#include <QPointer>
#include <QMenuBar>
#include <QTextBrowser>
#include <QTemporaryDir>
#include <QtTest>

using namespace vexo;

namespace {

QStringList barTitles(QMainWindow &window)
{
    QStringList titles;
    for (QAction *a : window.menuBar()->actions())
        titles << a->text();
    return titles;
}

using vexo::test::RecordingViewer;

} // namespace

class ShellReportPadsTest : public QObject
{
    Q_OBJECT

    QTemporaryDir dir;
    AppGlobals saved;

private slots:
    void initTestCase()
    {
        saved = appGlobals();
        appGlobals().CPROGDIZIN = dir.path();
        appGlobals().CVERIDIZIN = dir.path();
        appGlobals().CVERIKOK = dir.path();
        installReportCommands();
        lastReport().clear();
    }
    void cleanupTestCase() { appGlobals() = saved; }

    void padMenuReplacesTheMainMenuWhilePadsAreOpen()
    {
        SSHELLWINDOW window;
        const QStringList mainTitles = barTitles(window);
        QVERIFY(window.runCommand(QStringLiteral("REPORTPAD")));
        ReportPads *pads = reportPads();
        QVERIFY(pads);
        QCOMPARE(pads->GETCHILDWINDOWS().size(), 1);
        QCOMPARE(window.shownMenu(), pads->padMenu());
        QCOMPARE(barTitles(window), (QStringList{QStringLiteral("&Dosya"), QStringLiteral("&Yazım"),
                                                 QStringLiteral("&Pencere"), QStringLiteral("&Araçlar"),
                                                 QStringLiteral("&Yardım")}));
        QVERIFY(pads->padMenu()->trigger(28995)); // "&Yeni..."
        QCOMPARE(pads->GETCHILDWINDOWS().size(), 2);
        QVERIFY(pads->padMenu()->trigger(28999)); // "&Hepsini Kapat"
        QVERIFY(pads->GETCHILDWINDOWS().isEmpty());
        QCOMPARE(barTitles(window), mainTitles);
    }

    // F3 ("İlgili Yardım") in a pad opens the report pad's page, not the index.
    void contextHelpInAPadOpensTheReportPadPage()
    {
        SSHELLWINDOW window;
        QVERIFY(window.runCommand(QStringLiteral("REPORTPAD")));
        ReportPads *pads = reportPads();
        QVERIFY(pads->padMenu()->trigger(29029)); // "İ&lgili Yardım\tF3"
        QVERIFY(window.helpWindow());
        QCOMPARE(window.helpWindow()->shownTopic(), QStringLiteral("Rapor Editörü"));
        QVERIFY(!window.statusText().contains(QStringLiteral("bulunamadı")));
        QVERIFY(window.helpWindow()->browser()->toPlainText().contains(QStringLiteral("eşit aralıklı")));
        QVERIFY(pads->padMenu()->trigger(28999)); // "&Hepsini Kapat"
    }

    void exitClosesThePadsFirstAndACancelledPadKeepsTheProgram()
    {
        SSHELLWINDOW window;
        window.show();
        QVERIFY(window.runCommand(QStringLiteral("REPORTPAD")));
        PADWIN *pad = reportPads()->activePad();
        QVERIFY(pad);
        QTest::keyClicks(pad->ODCRICHEDIT(), QStringLiteral("not saved"));
        {
            test::ScriptedMessages messages;
            messages.answer(MessageAnswer::Cancel);
            QVERIFY(!window.QUERYCLOSE());
            QCOMPARE(messages.shown().size(), 1); // the pad's question, not the exit question
            QCOMPARE(messages.shown()[0].text,
                     QStringLiteral("Adsız1 dosyasındaki metin değişti.\n\nKaydetmek istiyor musunuz?"));
            QCOMPARE(reportPads()->GETCHILDWINDOWS().size(), 1);
        }
        {
            test::ScriptedMessages messages;
            messages.answer(MessageAnswer::No); // the pad: do not save
            messages.answer(MessageAnswer::No); // the exit question: stay
            QVERIFY(!window.QUERYCLOSE());
            QCOMPARE(messages.shown().size(), 2);
            QCOMPARE(messages.shown()[1].caption, QStringLiteral("Çıkış..."));
            QVERIFY(reportPads()->GETCHILDWINDOWS().isEmpty());
            QCOMPARE(window.shownMenu(), &window.mainMenu());
        }
    }

    // A PDF summary opens in the viewer; Ctrl+T ("&Tekst Editöründe") afterwards shows that same
    // document again rather than an empty pad, and says so first when the problem was solved or
    // changed since.
    void ctrlTAfterAPdfSummaryShowsThatDocument()
    {
        test::ScriptedMessages messages;
        RecordingViewer viewer;
        appGlobals().LRMDENOKU = false; // contents from the file, not the reference matrix
        const QString path = dir.filePath(QStringLiteral("PDFOZET.VKD"));
        QString error;
        QVERIFY2(test::writeFeedFixture(path, &error), qPrintable(error));
        SSHELLWINDOW window;
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QVERIFY(DOOPENFILE(window, path));
        setReportDataAsker([](QWidget *, ReportDataForm &form) {
            form.clickOzet();
            form.clickPdf();
            form.accept();
            return true;
        });
        window.COZUM();
        QCOMPARE(openProblem().CCOZUMDURUMU, QStringLiteral("E"));
        const QString pdf = summaryPdfPath();
        QCOMPARE(viewer.opened, QStringList{pdf});
        QCOMPARE(lastReport().CSONRAPOR(), pdf);
        ReportPads *pads = reportPads();
        QVERIFY(pads);
        QVERIFY(pads->GETCHILDWINDOWS().isEmpty());

        QTest::keyClick(&window, Qt::Key_T, Qt::ControlModifier);
        QCOMPARE(viewer.opened, (QStringList{pdf, pdf}));
        QVERIFY(pads->GETCHILDWINDOWS().isEmpty());
        QCOMPARE(window.shownMenu(), &window.mainMenu());
        QVERIFY(messages.shown().isEmpty());

        // A changed price makes the document older than the problem: the question first; No shows it
        // all the same.
        openProblem().AYMLIST[0][YMPRICE] = QStringLiteral("0.900").rightJustified(kCellWidth);
        messages.answer(MessageAnswer::No);
        QTest::keyClick(&window, Qt::Key_T, Qt::ControlModifier);
        QCOMPARE(messages.shown().size(), 1);
        QVERIFY(messages.shown().at(0).text.startsWith(QStringLiteral("Son rapor, problem en son çözülmeden")));
        QCOMPARE(viewer.opened.size(), 3);
        QVERIFY(pads->GETCHILDWINDOWS().isEmpty());

        setReportDataAsker({});
        openProblem().reset();
        lastReport().clear();
    }

    void aMainWindowThatGoesWithAPadOpenLeavesNothingBehind()
    {
        {
            SSHELLWINDOW window;
            QVERIFY(window.runCommand(QStringLiteral("REPORTPAD")));
            QVERIFY(reportPads()->padMenu());
        }
        QVERIFY(!shellHost());
        QVERIFY(!reportPads());
        SSHELLWINDOW again;
        QVERIFY(again.runCommand(QStringLiteral("REPORTPAD")));
        QCOMPARE(reportPads()->GETCHILDWINDOWS().size(), 1);
        QCOMPARE(reportPads()->GETCHILDWINDOWS()[0]->windowTitle(), QStringLiteral("Adsız1"));
    }

    // A shown main window that goes while a pad is open (as the program's own window goes at the end
    // of main): closing the frame hides the pads and the canvas announces a new active child while
    // the window is half destroyed; nobody may ask the window anything then.
    void aShownMainWindowThatGoesWithPadsOpenLeavesNothingBehind()
    {
        {
            SSHELLWINDOW window;
            window.show();
            QVERIFY(QTest::qWaitForWindowExposed(&window));
            QVERIFY(window.runCommand(QStringLiteral("REPORTPAD")));
            QVERIFY(reportPads()->padMenu()->trigger(28995)); // "&Yeni...": a second pad
            QCOMPARE(reportPads()->GETCHILDWINDOWS().size(), 2);
            QVERIFY(reportPads()->activePad());
        }
        QVERIFY(!shellHost());
        QVERIFY(!reportPads());
    }

    // The program's own way out with a pad open: the frame's close asks the pad and the exit
    // question, the pads go once control is back, and the window is destroyed after that.
    void closingTheProgramWithAPadOpenClosesThePadFirst()
    {
        auto *window = new SSHELLWINDOW;
        window->show();
        QVERIFY(QTest::qWaitForWindowExposed(window));
        QVERIFY(window->runCommand(QStringLiteral("REPORTPAD")));
        QPointer<PADWIN> pad = reportPads()->activePad();
        QVERIFY(pad);
        QTest::keyClicks(pad->ODCRICHEDIT(), QStringLiteral("not saved"));
        {
            test::ScriptedMessages messages;
            messages.answer(MessageAnswer::No);  // the pad: do not save
            messages.answer(MessageAnswer::Yes); // the exit question: leave
            QVERIFY(window->close());
            QCOMPARE(messages.shown().size(), 2);
        }
        QVERIFY(!window->isVisible());
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(!pad);
        delete window;
        QVERIFY(!shellHost());
    }
};

QTEST_MAIN(ShellReportPadsTest)
#include "tst_shell_report_pads.moc"
