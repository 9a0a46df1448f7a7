// The text-report commands of the real main window: the menu item that reaches the active-matrix
// report only while the matrix is ready, the pad that opens with a written report, and the roads
// where no pad may open (no reference matrix, no report folder).
#include "controls/command_registry.h"
#include "controls/menu_builder.h"
#include "platform/dbf_filespec.h"
#include "problem/app_globals.h"
#include "problem/dbserverr.h"
#include "problem/open_problem.h"
#include "problem/problem_file.h"
#include "problem/reference_tables.h"
#include "reports/last_report.h"
#include "reports/pad_window.h"
#include "reports/report_pads.h"
#include "reports/text_reports.h"
#include "scripted_messages.h"
#include "shell/shell_window.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

using namespace vexo;

class TextReportCommandsTest : public QObject
{
    Q_OBJECT

    QTemporaryDir dir;
    AppGlobals saved;

    QString referencePath() const { return QDir(dir.path()).filePath(kReferenceMatrixFile); }

    void makeReferenceMatrix()
    {
        QFile::remove(referencePath());
        QVERIFY(DbfFileSpec(referencePath()).create(HKM_STRCREATE()));
        DBSERVERR table(referencePath(), false, false);
        for (int r = 1; r <= 3; ++r) {
            QVERIFY(table.append());
            table.fieldPut(QStringLiteral("KOD"), double(r));
            table.fieldPut(QStringLiteral("YM_ADI"), QStringLiteral("YEM %1").arg(r));
            table.fieldPut(QStringLiteral("FIATI"), QStringLiteral("%1.25").arg(r));
        }
        table.close();
    }

    void openMatrixProblem(bool matrixReady)
    {
        openProblem().reset();
        const QString path = dir.filePath(QStringLiteral("DANA.VKD"));
        QFile::remove(path);
        QVERIFY(DATAFILECREATE(nullptr, path));
        QVERIFY(DATAFOPEN(nullptr, path));
        OpenProblem &p = openProblem();
        p.AYMADLARI = {QStringLiteral("ARPA"), QStringLiteral("MISIR")};
        p.ABMADLARI = {QStringLiteral("KM"), QStringLiteral("HP")};
        p.AAMAT = {Row{QStringLiteral("88.0"), QStringLiteral("87.5")}};
        if (matrixReady)
            p.AAMAT << Row{QStringLiteral("11.5"), QStringLiteral("8.75")};
    }

    static QList<PADWIN *> pads() { return reportPads() ? reportPads()->GETCHILDWINDOWS() : QList<PADWIN *>(); }

private slots:
    void initTestCase()
    {
        QVERIFY(dir.isValid());
        saved = appGlobals();
        appGlobals().CPROGDIZIN = dir.path();
        appGlobals().CVERIDIZIN = dir.path();
        appGlobals().CVERIKOK = dir.path();
        installReportCommands();
    }
    void cleanupTestCase()
    {
        openProblem().reset();
        appGlobals() = saved;
    }
    void init()
    {
        lastReport().clear();
        QDir(dir.filePath(QStringLiteral("Temp_Data"))).removeRecursively();
        QFile::remove(dir.filePath(QStringLiteral("Temp_Data")));
    }
    void cleanup() { openProblem().reset(); }

    void activeMatrixItemFollowsTheMatrixAndOpensThePad()
    {
        SSHELLWINDOW window;
        window.show();
        openMatrixProblem(false);
        window.MI_ENADISABLE();
        QVERIFY(!window.mainMenu().isEnabled(28415));
        openMatrixProblem(true);
        window.MI_ENADISABLE();
        QVERIFY(window.mainMenu().isEnabled(28415));

        test::ScriptedMessages messages;
        window.mainMenu().action(28415)->trigger(); // "&Aktif Matris"
        QVERIFY(messages.shown().isEmpty());
        QCOMPARE(pads().size(), 1);
        QCOMPARE(lastReport().CSONRAPOR(), activeMatrixReportPath());
        const QString text = pads()[0]->plainText();
        QVERIFY2(text.contains(QStringLiteral("DANA.VKD MATRİSİ")), qPrintable(text));
        QVERIFY(text.contains(QStringLiteral("  HP             ")));
    }

    void referenceReportsOpenThePadAndLeaveTheTableClosed()
    {
        makeReferenceMatrix();
        SSHELLWINDOW window;
        window.show();
        const struct
        {
            const char *command;
            QString path;
            QString seen;
        } cases[] = {
            {"HMFIATLIST", priceListReportPath(), QStringLiteral("VEXO_Zud S 2.6 YEM MADDESİ FİYATLARI")},
            {"RM_REPORT", referenceMatrixReportPath(), QStringLiteral("VEXO_Zud S 2.6 TEMEL MATRİS'i")},
        };
        for (const auto &c : cases) {
            test::ScriptedMessages messages;
            QVERIFY(window.runCommand(QString::fromLatin1(c.command)));
            QVERIFY(messages.shown().isEmpty());
            // The command closed the pad of the report before.
            QCOMPARE(pads().size(), 1);
            QCOMPARE(lastReport().CSONRAPOR(), c.path);
            QVERIFY2(pads()[0]->plainText().contains(c.seen), c.command);
            QVERIFY(pads()[0]->plainText().contains(QStringLiteral("YEM 3")));
            QVERIFY(!referenceTables().ORMDBF);
            DBSERVERR exclusive(referencePath(), false, false);
            QVERIFY2(!exclusive.status(), c.command);
        }
    }

    void aMissingReferenceMatrixOpensNoPad()
    {
        QFile::remove(referencePath());
        SSHELLWINDOW window;
        for (const char *command : {"HMFIATLIST", "RM_REPORT"}) {
            test::ScriptedMessages messages;
            QVERIFY(window.runCommand(QString::fromLatin1(command)));
            QCOMPARE(messages.shown().size(), 1);
            QCOMPARE(messages.shown()[0].text, QStringLiteral("MATNRC6.DBF dosyası yok..!"));
            QVERIFY(pads().isEmpty());
        }
    }

    void anUnwritableReportOpensNoPad()
    {
        makeReferenceMatrix();
        openMatrixProblem(true);
        QFile blocker(dir.filePath(QStringLiteral("Temp_Data")));
        QVERIFY(blocker.open(QIODevice::WriteOnly));
        blocker.close();
        SSHELLWINDOW window;
        for (const char *command : {"AMATREPORT", "HMFIATLIST", "RM_REPORT"}) {
            test::ScriptedMessages messages;
            QVERIFY(window.runCommand(QString::fromLatin1(command)));
            QCOMPARE(messages.shown().size(), 1);
            QCOMPARE(messages.shown()[0].text,
                     QStringLiteral("Rapor dosyası oluşturma başarısız!\r\n\r\nSonra tekrar deneyiniz.."));
            QVERIFY2(pads().isEmpty(), command);
            QVERIFY(!referenceTables().ORMDBF);
        }
    }
};

QTEST_MAIN(TextReportCommandsTest)
#include "tst_text_report_commands.moc"
