// Qt's own save chooser behind the seam, offscreen: choosing an existing file asks nothing there,
// since the program asks its own question about it.
#include "platform/file_dialogs.h"

#include <QApplication>
#include <QFile>
#include <QFileDialog>
#include <QMessageBox>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

using namespace vexo;

class TstFileDialogs : public QObject
{
    Q_OBJECT

private slots:
    void saveWithFilterLeavesTheOverwriteQuestionToTheCaller()
    {
        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        const QString existing = dir.filePath(QStringLiteral("ORNEK.VKD"));
        {
            QFile f(existing);
            QVERIFY(f.open(QIODevice::WriteOnly));
            QVERIFY(f.write("x") == 1);
        }
        bool sawChooser = false;
        bool confirms = true;
        QStringList questions;
        // Answers whatever modal window comes up: the chooser takes the existing file; a question
        // on top of it is noted and dismissed so that the test never waits.
        QTimer driver;
        connect(&driver, &QTimer::timeout, this, [&] {
            QWidget *modal = QApplication::activeModalWidget();
            if (auto *box = qobject_cast<QMessageBox *>(modal)) {
                questions << box->text();
                box->done(QMessageBox::Yes);
            } else if (auto *chooser = qobject_cast<QFileDialog *>(modal); chooser && !sawChooser) {
                sawChooser = true;
                confirms = !chooser->testOption(QFileDialog::DontConfirmOverwrite);
                chooser->selectFile(existing);
                QMetaObject::invokeMethod(chooser, "accept"); // as the chooser's own button does
            }
        });
        driver.start(20);
        int filter = 1;
        const QString chosen = fileDialogs().saveFileWithFilter(
            nullptr, QStringLiteral("Farklı Kaydet"), dir.filePath(QStringLiteral("YENI.VKD")),
            {QStringLiteral("VEXO_Zud Veri Dosyası (*.VKD)"), QStringLiteral("VEXO_Pro Veri Dosyası (*.VVD)")}, filter);
        driver.stop();
        QVERIFY(sawChooser);
        QVERIFY(!confirms);
        QCOMPARE(questions, QStringList());
        QCOMPARE(QFileInfo(chosen).fileName(), QStringLiteral("ORNEK.VKD"));
        QCOMPARE(filter, 1);
    }
};

QTEST_MAIN(TstFileDialogs)
#include "tst_file_dialogs.moc"
