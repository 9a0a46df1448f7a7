// The kind the choosers show for a file of no known type, in the program's C locale: a Turkish word,
// not Qt's "unknown".
#include "platform/file_dialogs.h"

#include <QApplication>
#include <QFile>
#include <QFileDialog>
#include <QLocale>
#include <QTemporaryDir>
#include <QTimer>
#include <QTreeView>
#include <QtTest>

using namespace vexo;

class TstFileKinds : public QObject
{
    Q_OBJECT

private slots:
    void aFileOfNoKnownTypeReadsInTurkish()
    {
        const QLocale before;
        QLocale c(QLocale::C);
        c.setNumberOptions(QLocale::OmitGroupSeparator);
        QLocale::setDefault(c); // as the program runs, for its number texts
        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        {
            QFile f(dir.filePath(QStringLiteral("ORNEK.VKD")));
            QVERIFY(f.open(QIODevice::WriteOnly));
            QVERIFY(f.write(QByteArray("\x03\x7e\x0c\x0b\x00\x00\x00\x00", 8)) == 8);
        }
        QString kind;
        int ticks = 0;
        // Reads the kind column of the chooser's list once the file model has filled it, then closes
        // the chooser; gives up after a few seconds, so that the test never waits on it.
        QTimer driver;
        connect(&driver, &QTimer::timeout, this, [&] {
            auto *chooser = qobject_cast<QFileDialog *>(QApplication::activeModalWidget());
            if (!chooser)
                return;
            if (auto *list = chooser->findChild<QTreeView *>(QStringLiteral("treeView"))) {
                const QAbstractItemModel *m = list->model();
                for (int r = 0; r < m->rowCount(list->rootIndex()); ++r) {
                    if (m->index(r, 0, list->rootIndex()).data().toString() == QStringLiteral("ORNEK.VKD"))
                        kind = m->index(r, 2, list->rootIndex()).data().toString();
                }
            }
            if (!kind.isEmpty() || ++ticks > 250)
                chooser->reject();
        });
        driver.start(20);
        const QString chosen = fileDialogs().openFile(nullptr, QStringLiteral("Aç..."), dir.path(),
                                                      QStringLiteral("VEXO_Zud Veri Dosyası (*.VKD)"));
        driver.stop();
        QLocale::setDefault(before);
        QCOMPARE(chosen, QString());
        QCOMPARE(kind, unknownFileKind());
        QCOMPARE(unknownFileKind(), QStringLiteral("Dosya"));
    }
};

QTEST_MAIN(TstFileKinds)
#include "tst_file_kinds.moc"
