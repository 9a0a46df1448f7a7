// The main window's report pads: opening, numbering, the limit, the failure table, the pad menu and
// its keys, and the close-all.
#include "controls/command_registry.h"
#include "controls/menu_builder.h"
#include "controls/shell_host.h"
#include "problem/app_globals.h"
#include "reports/last_report.h"
#include "reports/pad_menus.h"
#include "reports/pad_print.h"
#include "reports/pad_rich_edit.h"
#include "reports/pad_window.h"
#include "reports/pdf_summary.h"
#include "recording_pdf_viewer.h"
#include "reports/report_pads.h"
#include "scripted_messages.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QDir>
#include <QFile>
#include <QMainWindow>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPrinter>
#include <QTemporaryDir>
#include <QtTest>

using namespace vexo;
using namespace vexo::test;

namespace {

// A main window as far as the pads need one: a canvas, a shown menu with its key router, the
// close participants, and records of what the pads asked of it.
class FakeHost : public ShellHost
{
public:
    FakeHost()
    {
        area = new QMdiArea(&window);
        window.setCentralWidget(area);
        window.resize(900, 700);
        new MenuKeyRouter(&window, [this] { return shownMenu(); });
        setShellHost(this);
        window.show();
    }
    ~FakeHost() override { setShellHost(nullptr); }

    QWidget *mainWindow() override { return &window; }
    QMdiArea *canvas() override { return area; }
    bool runCommand(const QString &name) override
    {
        commands << name;
        return shellCommands().run(name);
    }
    void setStatusText(const QString &text) override { status = text; }
    void showHelp(const QString &topic) override { help << topic; }
    void showAbout() override {}
    BuiltMenu &mainMenu() override { return main; }
    BuiltMenu *shownMenu() override { return shown ? shown.data() : &main; }
    void showMenu(BuiltMenu *menu) override { shown = menu; }
    void rebuildMainMenu() override {}
    void MI_ENADISABLE() override { ++enadisable; }
    void ADDDATAWINDOW(QWidget *) override {}
    void REMOVEDATAWINDOW(QWidget *) override {}
    QWidget *GETDATAWINDOW(const QString &) const override { return nullptr; }
    QList<QWidget *> GETDATAWINDOWS() const override { return {}; }
    void CLOSINGDATAWINDOWS() override {}
    bool CLOSEWINDOWSEXIST() override
    {
        bool closed = true;
        for (CloseParticipant *p : participants)
            if (p->hasWindows() && !p->closeAll())
                closed = false;
        return closed;
    }
    void WHOCHANGES() override {}
    QWidget *openDataWindow(const QString &, const std::function<QWidget *()> &) override { return nullptr; }
    void addCloseParticipant(CloseParticipant *p) override { participants.append(p); }
    void removeCloseParticipant(CloseParticipant *p) override { participants.removeAll(p); }
    void setDropHandler(std::function<void(const QStringList &)> handler) override { drop = std::move(handler); }

    QMainWindow window;
    QMdiArea *area = nullptr;
    BuiltMenu main{MenuTable{QStringLiteral("MAIN"), {}, {}, {}}, {}};
    QPointer<BuiltMenu> shown;
    QString status;
    QStringList help;
    QStringList commands;
    int enadisable = 0;
    QList<CloseParticipant *> participants;
    std::function<void(const QStringList &)> drop;
};

bool writeBytes(const QString &path, const QByteArray &bytes)
{
    QFile f(path);
    return f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size();
}

QStringList captions(const ReportPads &pads)
{
    QStringList out;
    for (PADWIN *pad : pads.GETCHILDWINDOWS())
        out << pad->windowTitle();
    return out;
}

// The printer set-up dialog answered: it records the printer it was given and chooses landscape.
class PrinterSetupScript : public PrintDialogs
{
public:
    PrinterSetupScript() { setPrintDialogs(this); }
    ~PrinterSetupScript() override { setPrintDialogs(nullptr); }
    bool print(QWidget *, QPrinter &) override { return false; }
    bool setup(QWidget *owner, QPrinter &printer) override
    {
        owners << owner;
        printers << &printer;
        printer.setPageOrientation(QPageLayout::Landscape);
        return true;
    }
    QList<QWidget *> owners;
    QList<QPrinter *> printers;
};

} // namespace

class ReportPadsTest : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;
    QString m_savedData;

    QString file(const QString &name, const QByteArray &bytes)
    {
        const QString path = m_dir.filePath(name);
        writeBytes(path, bytes);
        return path;
    }

private slots:
    void initTestCase() { installReportCommands(); }
    void init()
    {
        m_savedData = appGlobals().CVERIDIZIN;
        appGlobals().CVERIDIZIN = m_dir.path();
        lastReport().clear();
    }
    void cleanup() { appGlobals().CVERIDIZIN = m_savedData; }

    void reportPadWithoutLastReportOpensAdsiz1UnderThePadMenu()
    {
        FakeHost host;
        ReportPads *pads = reportPads();
        QVERIFY(pads);
        QVERIFY(host.participants.contains(pads));
        QVERIFY(host.drop);
        QVERIFY(host.runCommand(QStringLiteral("REPORTPAD")));
        QCOMPARE(captions(*pads), QStringList{QStringLiteral("Adsız1")});
        QVERIFY(pads->padMenu());
        QCOMPARE(host.shownMenu(), pads->padMenu());
        QVERIFY(!pads->padMenu()->isEnabled(kPadSaveItem));
        QCOMPARE(pads->activePad(), pads->GETCHILDWINDOWS()[0]);
        QCOMPARE(pads->GETCHILDWINDOW(QStringLiteral("PADWIN")), pads->GETCHILDWINDOWS()[0]);
        QCOMPARE(pads->GETCHILDWINDOW(QStringLiteral("RICHEDIT")), nullptr);
        // The pad fills the canvas from its top-left corner.
        QMdiSubWindow *frame = host.area->subWindowList().value(0);
        QVERIFY(frame);
        QCOMPARE(frame->geometry().topLeft(), QPoint(0, 0));
        QCOMPARE(frame->size(), host.area->viewport()->size());
    }

    void reportPadShowsTheLastReportFromItsRecordedText()
    {
        FakeHost host;
        ReportPads pads(host);
        const QString path = file(QStringLiteral("SONUC.TXT"), "on disk\r\n");
        lastReport().recordText(path, QStringLiteral("Kayıtlı\r\nmetin\r\n"));
        pads.REPORTPAD();
        QCOMPARE(captions(pads), QStringList{QStringLiteral("SONUC.TXT")});
        QCOMPARE(pads.GETCHILDWINDOWS()[0]->plainText(), QStringLiteral("Kayıtlı\nmetin\n"));
        QVERIFY(!pads.GETCHILDWINDOWS()[0]->LCHANGE());

    }

    // After a PDF summary the last report is that document: the report-pad command shows it in the
    // viewer, as the solve did, and opens no pad (neither an empty one nor one named after it).
    void reportPadAfterAPdfSummaryOpensThatDocumentInTheViewer()
    {
        ScriptedMessages messages;
        RecordingViewer viewer;
        FakeHost host;
        ReportPads *pads = reportPads();
        QVERIFY(pads);
        const QString pdf = file(QStringLiteral("VEXO_Zud_Cozum_Sonuclari.pdf"), "%PDF-1.3");
        lastReport().recordText(file(QStringLiteral("SONUC.TXT"), "x\r\n"), QStringLiteral("Özet\r\n"));
        lastReport().recordDocument(pdf);
        QVERIFY(host.runCommand(QStringLiteral("REPORTPAD")));
        QCOMPARE(viewer.opened, QStringList{pdf});
        QVERIFY(pads->GETCHILDWINDOWS().isEmpty());
        QCOMPARE(pads->untitledCounter(), 0);
        QCOMPARE(host.shownMenu(), &host.main);
        QVERIFY(messages.shown().isEmpty());
        // Again, the same document; the last report stays what it was.
        QVERIFY(host.runCommand(QStringLiteral("REPORTPAD")));
        QCOMPARE(viewer.opened, (QStringList{pdf, pdf}));
        QCOMPARE(lastReport().CSONRAPOR(), pdf);
        QCOMPARE(lastReport().CSONRAPORMETNI(), QStringLiteral("Özet\r\n"));

        // Without a viewer the user is told where the document is; still no pad.
        viewer.starts = false;
        QVERIFY(host.runCommand(QStringLiteral("REPORTPAD")));
        QCOMPARE(messages.shown().size(), 1);
        QCOMPARE(messages.shown().at(0).caption, QStringLiteral("Uyarı..."));
        QVERIFY(messages.shown().at(0).text.endsWith(QDir::toNativeSeparators(pdf)));
        QVERIFY(pads->GETCHILDWINDOWS().isEmpty());

        // A document that is gone: a new document, as with no last report.
        viewer.starts = true;
        QVERIFY(QFile::remove(pdf));
        QVERIFY(host.runCommand(QStringLiteral("REPORTPAD")));
        QCOMPARE(viewer.opened.size(), 3);
        QCOMPARE(captions(*pads), QStringList{QStringLiteral("Adsız1")});
        QVERIFY(pads->CLOSINGCHILD2() == 1);
    }

    void eleventhPadIsRefusedForOpenNewAndDrop_data()
    {
        QTest::addColumn<QString>("route");
        QTest::newRow("open") << QStringLiteral("open");
        QTest::newRow("new") << QStringLiteral("new");
        QTest::newRow("drop") << QStringLiteral("drop");
    }
    void eleventhPadIsRefusedForOpenNewAndDrop()
    {
        QFETCH(QString, route);
        ScriptedMessages messages;
        ScriptedFileDialogs files;
        FakeHost host;
        ReportPads pads(host);
        for (int i = 0; i < 10; ++i)
            pads.RE_FILENEW();
        QCOMPARE(pads.GETCHILDWINDOWS().size(), 10);
        const QString path = file(QStringLiteral("ONBIR.TXT"), "on bir\r\n");
        if (route == u"open") {
            files.answer(path);
            QVERIFY(!pads.RE_FILEOPEN());
        } else if (route == u"new") {
            pads.RE_FILENEW();
        } else {
            host.drop({path});
        }
        QCOMPARE(pads.GETCHILDWINDOWS().size(), 10);
        QCOMPARE(messages.shown().size(), 1);
        QCOMPARE(messages.shown()[0].caption, QStringLiteral("Uyarı..."));
        QCOMPARE(messages.shown()[0].text, QStringLiteral("Dinamik hafızayı zorluyorsunuz..."));
        QCOMPARE(messages.shown()[0].icon(), unsigned(MB_ICONINFORMATION));
        QCOMPARE(messages.shown()[0].owner.data(), &host.window);
        // The refused new document still used its number.
        if (route == u"new") {
            pads.GETCHILDWINDOWS()[0]->CLOSE();
            pads.RE_FILENEW();
            QCOMPARE(captions(pads).last(), QStringLiteral("Adsız12"));
        }
    }

    void failuresOfOpeningAreToldAndOpenNothing()
    {
        ScriptedMessages messages;
        ScriptedFileDialogs files;
        FakeHost host;
        ReportPads pads(host);
        const QString small = file(QStringLiteral("kucuk.txt"), "k\xfc\xe7\xfck\r\n");
        const QString empty = file(QStringLiteral("BOS.TXT"), "");
        const QString other = file(QStringLiteral("RESIM.PNG"), "png");
        const QString rich = file(QStringLiteral("ZENGIN.RTF"), "{\\rtf1\\ansi\\ansicpg1254 \\b kal\\'fdn\\b0\\par}");

        struct Case
        {
            QString path;
            bool opens;
            QString caption;
            QString text;
        };
        const QList<Case> cases = {
            {small, true, {}, {}},
            {rich, true, {}, {}},
            {other, false, QStringLiteral("Hata..."), QStringLiteral("RESIM.PNG bir VEXO_Zud 2.6 rapor dosyası değil...")},
            {empty, false, QStringLiteral("Hata..."), QStringLiteral("BOS.TXT dosyası okunamıyor...")},
            {m_dir.filePath(QStringLiteral("YOK.TXT")), false, QStringLiteral("Hata..."),
             QStringLiteral("YOK.TXT dosyası okunamıyor...")},
        };
        for (const Case &c : cases) {
            messages.clear();
            const int before = int(pads.GETCHILDWINDOWS().size());
            QCOMPARE(pads.RE_DOOPENFILE(c.path), c.opens);
            QCOMPARE(int(pads.GETCHILDWINDOWS().size()), before + (c.opens ? 1 : 0));
            QCOMPARE(host.area->subWindowList().size(), before + (c.opens ? 1 : 0));
            QCOMPARE(messages.shown().size(), c.opens ? 0 : 1);
            if (!c.opens) {
                QCOMPARE(messages.shown()[0].caption, c.caption);
                QCOMPARE(messages.shown()[0].text, c.text);
                QCOMPARE(messages.shown()[0].icon(), unsigned(MB_ICONSTOP));
            }
        }
        QCOMPARE(captions(pads), (QStringList{QStringLiteral("kucuk.txt"), QStringLiteral("ZENGIN.RTF")}));
        QCOMPARE(pads.GETCHILDWINDOWS()[0]->plainText(), QStringLiteral("küçük\n"));
        QCOMPARE(pads.GETCHILDWINDOWS()[1]->plainText(), QStringLiteral("kalın\n"));

        // The same name again through the open dialog, even from another folder.
        QVERIFY(QDir(m_dir.path()).mkpath(QStringLiteral("baska")));
        messages.clear();
        files.answer(file(QStringLiteral("baska/kucuk.txt"), "x"));
        QVERIFY(!pads.RE_FILEOPEN());
        QCOMPARE(messages.shown().size(), 1);
        QCOMPARE(messages.shown()[0].text, QStringLiteral("Bu dosya şu anda açık..."));
        QCOMPARE(messages.shown()[0].caption, QStringLiteral("Uyarı..."));
        QCOMPARE(files.captions().last(), QStringLiteral("Aç..."));
        // A cancelled dialog opens nothing and says nothing.
        messages.clear();
        QVERIFY(!pads.RE_FILEOPEN());
        QVERIFY(messages.shown().isEmpty());

        // A file that is not the last report becomes the last report with its own name.
        QCOMPARE(lastReport().CSONRAPOR(), small);
        QCOMPARE(lastReport().CSONRAPORMETNI(), QStringLiteral("küçük\r\n"));
        // Dropped files that do not exist are passed over.
        messages.clear();
        host.drop({m_dir.filePath(QStringLiteral("hic.TXT")), other});
        QCOMPARE(messages.shown().size(), 1);
        QCOMPARE(messages.shown()[0].text, QStringLiteral("RESIM.PNG bir VEXO_Zud 2.6 rapor dosyası değil..."));
    }

    void closingTheLastPadBringsTheMainMenuBackAndNumbersFromOneAgain()
    {
        FakeHost host;
        ReportPads pads(host);
        pads.REPORTPAD();
        pads.RE_FILENEW();
        QCOMPARE(captions(pads), (QStringList{QStringLiteral("Adsız1"), QStringLiteral("Adsız2")}));
        for (PADWIN *pad : pads.GETCHILDWINDOWS())
            QVERIFY(pad->CLOSE());
        QVERIFY(pads.GETCHILDWINDOWS().isEmpty());
        QCOMPARE(host.shownMenu(), &host.main);
        QCOMPARE(host.enadisable, 1);
        QCOMPARE(pads.untitledCounter(), 0);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(!pads.padMenu());
        pads.REPORTPAD();
        QCOMPARE(captions(pads), QStringList{QStringLiteral("Adsız1")});
    }

    void closeAllStopsAtARefusalAndTheCallerDoesNotGoOn()
    {
        ScriptedMessages messages;
        FakeHost host;
        ReportPads pads(host);
        pads.REPORTPAD();
        pads.RE_FILENEW();
        pads.RE_FILENEW();
        QList<PADWIN *> open = pads.GETCHILDWINDOWS();
        // A pad whose caption is no document name is closed too.
        open[0]->setWindowTitle(QStringLiteral("DataWindow Caption"));
        QTest::keyClicks(open[1]->ODCRICHEDIT(), QStringLiteral("changed"));
        messages.answer(MessageAnswer::Cancel);
        QVERIFY(!host.CLOSEWINDOWSEXIST());
        QVERIFY(pads.CLOSINGREFUSED());
        QCOMPARE(captions(pads), (QStringList{QStringLiteral("Adsız2"), QStringLiteral("Adsız3")}));
        QVERIFY(open[1]->isVisible());
        QCOMPARE(host.shownMenu(), pads.padMenu());

        messages.answer(MessageAnswer::No);
        QCOMPARE(pads.CLOSINGCHILD2(), 2);
        QVERIFY(!pads.CLOSINGREFUSED());
        QVERIFY(pads.GETCHILDWINDOWS().isEmpty());
        QCOMPARE(host.shownMenu(), &host.main);
        QVERIFY(host.CLOSEWINDOWSEXIST());
    }

    void savingFromThePadMenuTellsTheStatusBarAndPrinterSetUpIsShared()
    {
        ScriptedMessages messages;
        PrinterSetupScript printers;
        FakeHost host;
        ReportPads pads(host);
        const QString path = file(QStringLiteral("KAYIT.TXT"), "eski\r\n");
        QVERIFY(pads.RE_DOOPENFILE(path));
        QTest::keyClicks(pads.activePad()->ODCRICHEDIT(), QStringLiteral("yeni "));
        QVERIFY(pads.padMenu()->trigger(kPadSaveItem));
        QCOMPARE(host.status, QStringLiteral("Dosya başarıyla kaydedildi!"));
        QVERIFY(!pads.activePad()->LCHANGE());
        QFile saved(m_dir.filePath(QStringLiteral("KAYIT.TXT")));
        QVERIFY(saved.open(QIODevice::ReadOnly));
        QCOMPARE(saved.readAll(), QByteArray("yeni eski\r\n"));

        QVERIFY(pads.padMenu()->trigger(29005));
        QCOMPARE(printers.owners, QList<QWidget *>{&host.window});
        QCOMPARE(printers.printers, QList<QPrinter *>{&padPrinter()});
        QCOMPARE(padPrinter().pageLayout().orientation(), QPageLayout::Landscape);
        padPrinter().setPageOrientation(QPageLayout::Portrait);
    }

    void hepsiniKapatClosesEveryPad()
    {
        FakeHost host;
        ReportPads pads(host);
        pads.REPORTPAD();
        pads.RE_FILENEW();
        QVERIFY(pads.padMenu()->trigger(28999));
        QVERIFY(pads.GETCHILDWINDOWS().isEmpty());
        QCOMPARE(host.shownMenu(), &host.main);
    }

    void padMenuCommandsReachTheCurrentPadTheListAndTheMainWindow()
    {
        FakeHost host;
        ReportPads pads(host);
        pads.REPORTPAD();
        PADWIN *pad = pads.activePad();
        QVERIFY(pad);
        BuiltMenu *menu = pads.padMenu();

        // Editing makes "&Kaydet" available; switching pads follows each pad's own state.
        QTest::keyClicks(pad->ODCRICHEDIT(), QStringLiteral("Satir bir"));
        QVERIFY(menu->isEnabled(kPadSaveItem));
        pads.RE_FILENEW();
        QVERIFY(!menu->isEnabled(kPadSaveItem));
        host.area->setActiveSubWindow(host.area->subWindowList().first());
        QCOMPARE(pads.activePad(), pad);
        QVERIFY(menu->isEnabled(kPadSaveItem));

        // The alignment items go to the pad's menu-command handler.
        QVERIFY(menu->trigger(29012));
        QCOMPARE(pad->ODCRICHEDIT()->alignment() & Qt::AlignHorizontal_Mask, Qt::AlignHCenter);
        // Keys of the pad menu: F3 opens the editor's help topic, Ctrl+X cuts in the pad.
        pad->ODCRICHEDIT()->setFocus();
        QTest::keyClick(pad->ODCRICHEDIT(), Qt::Key_F3);
        QCOMPARE(host.help, QStringList{QStringLiteral("Rapor Editörü")});
        pad->ODCRICHEDIT()->selectAll();
        QTest::keyClick(pad->ODCRICHEDIT(), Qt::Key_X, Qt::ControlModifier);
        QCOMPARE(pad->plainText(), QString());
        QCOMPARE(QApplication::clipboard()->text(), QStringLiteral("Satir bir"));
        // "&Yeni..." is the list's; "&Küçült" the main window's.
        QVERIFY(menu->trigger(28995));
        QCOMPARE(pads.GETCHILDWINDOWS().size(), 3);
        QVERIFY(menu->trigger(29021));
        QVERIFY(host.commands.contains(QStringLiteral("WINDOWCASCADE")));
        // The context menu of the text reaches the same pad.
        pads.activePad()->setPlainText(QStringLiteral("metin"));
        QVERIFY(pads.activePad()->contextMenu()->trigger(29012));
        QVERIFY(pads.activePad()->contextMenu()->trigger(29008));
        QCOMPARE(pads.activePad()->plainText(), QString());
    }
};

QTEST_MAIN(ReportPadsTest)
#include "tst_report_pads.moc"
