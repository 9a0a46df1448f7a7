// Qt's own save chooser behind the seam, offscreen: choosing an existing file asks nothing there,
// since the program asks its own question about it. The chooser is driven only once it lists the
// folder, and (as every window test) with a private home, so no Qt settings of earlier runs count.
#include "platform/file_dialogs.h"

#include <QApplication>
#include <QFile>
#include <QElapsedTimer>
#include <QFileDialog>
#include <QLineEdit>
#include <QListView>
#include <QMessageBox>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

using namespace vexo;

class TstFileDialogs : public QObject
{
    Q_OBJECT

    // Whether the chooser's file list shows the file.
    static bool lists(QFileDialog *chooser, const QString &fileName)
    {
        const auto *list = chooser->findChild<QListView *>(QStringLiteral("listView"));
        if (!list || !list->model())
            return false;
        const QAbstractItemModel *model = list->model();
        for (int row = 0; row < model->rowCount(list->rootIndex()); ++row) {
            if (model->index(row, 0, list->rootIndex()).data().toString() == fileName)
                return true;
        }
        return false;
    }

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
        QElapsedTimer waited;
        waited.start();
        QTimer driver;
        connect(&driver, &QTimer::timeout, this, [&] {
            QWidget *modal = QApplication::activeModalWidget();
            if (auto *box = qobject_cast<QMessageBox *>(modal)) {
                questions << box->text();
                box->done(QMessageBox::Yes);
            } else if (auto *chooser = qobject_cast<QFileDialog *>(modal); chooser && !sawChooser) {
                // The chooser reads its folder in another thread and takes the focus when its window
                // is activated: until both happened, what it answers depends on how far they got
                // (selectFile() leaves a name field with the focus as it is). So it is driven once it
                // lists the file and its name field has the focus, and the name is typed, as a user
                // does.
                auto *name = chooser->findChild<QLineEdit *>(QStringLiteral("fileNameEdit"));
                if (!name || !name->hasFocus() || !lists(chooser, QStringLiteral("ORNEK.VKD"))) {
                    if (waited.hasExpired(60000))
                        chooser->reject(); // never ready: the comparisons below say so
                    return;
                }
                sawChooser = true;
                confirms = !chooser->testOption(QFileDialog::DontConfirmOverwrite);
                name->setText(QStringLiteral("ORNEK.VKD"));
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
