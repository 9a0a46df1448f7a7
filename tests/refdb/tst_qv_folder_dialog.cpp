#include "editfields/file_sle.h"
#include "problem/app_globals.h"
#include "refdb/qv_folder_dialog.h"
#include "scripted_messages.h"

#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

using namespace vexo;

class FolderDialog : public QObject
{
    Q_OBJECT
private slots:
    void init() { appGlobals().CVERIKOK = QStringLiteral("/veri"); }

    void preparedFromTheExtraArgument_data()
    {
        QTest::addColumn<QVariant>("extra");
        QTest::addColumn<QString>("title");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("kept");
        QTest::addColumn<QString>("prompt");
        QTest::addColumn<QVariant>("descriptions");

        const QString backupPrompt = QStringLiteral("RM Dosyasını Yedeklemek/Almak İstediğiniz Dizini Seçiniz:");
        QTest::newRow("empty text") << QVariant(QString()) << "RM Dosyası (dBF) Yedekleme/Alma"
                                    << "/veri/VEXO_KData/RMD_Yed" << "" << backupPrompt << QVariant();
        QTest::newRow("a file name") << QVariant(QStringLiteral("A.DBF")) << "RM Dosyası (dBF) Yedekleme/Alma"
                                     << "/veri/VEXO_KData/RMD_Yed/A.DBF" << "A.DBF" << backupPrompt << QVariant();
        QTest::newRow("name and caption")
            << QVariant(QStringList{"MATNRC.DBF", "VEXO_Zud 2.5 Veritabanı Dönüşümü"})
            << "VEXO_Zud 2.5 Veritabanı Dönüşümü" << "/veri/VEXO_KData/RMD_Yed/MATNRC.DBF" << "MATNRC.DBF"
            << "VEXO_Zud 2.5 RM Dosyası Yedekli Dizini Seçiniz"
            << QVariant(QStringList{"Veritabanı Dosyaları", "Tüm Dosyalar"});
    }
    void preparedFromTheExtraArgument()
    {
        QFETCH(QVariant, extra);
        QFETCH(QString, title);
        QFETCH(QString, text);
        QFETCH(QString, kept);
        QFETCH(QString, prompt);
        QFETCH(QVariant, descriptions);
        QVFOLDERDIALOGWINDOW dialog(nullptr, extra);
        QCOMPARE(dialog.windowTitle(), title);
        PBFILESLE *field = dialog.SLEYEDDIZ();
        QCOMPARE(field->NDIALOGTYPE, 2);
        QCOMPARE(field->text(), text);
        QCOMPARE(field->SDBFNAME, kept);
        QCOMPARE(field->SFDIALOGCAPTION, prompt);
        QCOMPARE(field->XFILTER.toStringList(), (QStringList{"*.DBF", "*.*"}));
        QCOMPARE(field->XFILTERDESC, descriptions);
    }

    void confirmAndCancel()
    {
        QVFOLDERDIALOGWINDOW dialog(nullptr, QString());
        QTimer::singleShot(0, &dialog, [&] {
            dialog.SLEYEDDIZ()->clear();
            dialog.okButton()->click(); // an empty path keeps the dialog open
            QVERIFY(dialog.isVisible());
            QCOMPARE(dialog.SFFTXTVAL, QString());
            dialog.SLEYEDDIZ()->setText(QStringLiteral("/yedek/ "));
            dialog.okButton()->click();
        });
        QCOMPARE(dialog.run(), QStringLiteral("/yedek/ "));
        QCOMPARE(dialog.result(), 1);

        QVFOLDERDIALOGWINDOW cancelled(nullptr, QString());
        QTimer::singleShot(0, &cancelled, [&] { cancelled.cancelButton()->click(); });
        QCOMPARE(cancelled.run(), QString());
        QCOMPARE(cancelled.result(), 0);

        QVFOLDERDIALOGWINDOW closed(nullptr, QString());
        QTimer::singleShot(0, &closed, [&] { closed.close(); });
        QCOMPARE(closed.run(), QString());
    }

    void theFieldsButtonPicksAFolder()
    {
        test::ScriptedFileDialogs dialogs;
        dialogs.answer(QStringLiteral("/mnt/usb/"));
        QVFOLDERDIALOGWINDOW dialog(nullptr, QStringList{"MATNRC.DBF", "Dönüşüm"});
        dialog.SLEYEDDIZ()->OBUTTON()->click();
        QCOMPARE(dialog.SLEYEDDIZ()->text(), QStringLiteral("/mnt/usb/MATNRC.DBF"));
        QCOMPARE(dialogs.captions(), QStringList{QStringLiteral("VEXO_Zud 2.5 RM Dosyası Yedekli Dizini Seçiniz")});
    }
};

QTEST_MAIN(FolderDialog)
#include "tst_qv_folder_dialog.moc"
