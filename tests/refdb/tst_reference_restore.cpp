// "Yedekten Al" as a user meets it: the menu command asks for the folder in its dialog, asks before
// it replaces the reference tables (naming the backup's folder and date), and says when it is done
// or why not. The boxes are the real ones.
#include "controls/command_registry.h"
#include "problem/app_globals.h"
#include "real_boxes.h"
#include "refdb/file_pair_replace.h"
#include "refdb/qv_folder_dialog.h"
#include "refdb/reference_backup.h"
#include "refdb_fixture.h"

#include "editfields/file_sle.h"

#include <QApplication>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

using namespace vexo;
using Act = vexo::test::RealBoxes::Act;

Q_DECLARE_METATYPE(vexo::test::RealBoxes::Act)

namespace {

void writeMatrix(const QString &folder, const QStringList &names)
{
    QList<QVariantList> rows;
    for (const QString &name : names)
        rows.append({int(rows.size()) + 1, name});
    test::writeRows(folder + QStringLiteral("/MATNRC6.DBF"),
                    {{"KOD", u'N', 5, 0}, {"YM_ADI", u'C', 25, 0}, {"FIATI", u'C', 11, 0}}, rows);
}

void writeDefinitions(const QString &folder, const QStringList &names)
{
    QList<QVariantList> rows;
    for (const QString &name : names)
        rows.append({int(rows.size()) + 1, name});
    test::writeRows(folder + QStringLiteral("/VMKBMDESC.DBF"), {{"NUM", u'N', 5, 0}, {"ABRRE", u'C', 15, 0}}, rows);
}

void setModified(const QString &path, const QDateTime &when)
{
    QFile f(path);
    QVERIFY(f.open(QIODevice::ReadWrite));
    QVERIFY(f.setFileTime(when, QFileDevice::FileModificationTime));
}

// Answers the folder dialog with a path, as a user typing it and pressing "Tamam".
void chooseFolderWhenAsked(const QString &path)
{
    QTimer::singleShot(20, [path] {
        auto *dialog = qobject_cast<QVFOLDERDIALOGWINDOW *>(QApplication::activeModalWidget());
        if (!dialog)
            return chooseFolderWhenAsked(path);
        dialog->SLEYEDDIZ()->setText(path);
        dialog->okButton()->click();
    });
}

// Fails the n-th rename with the system's words for a full disk.
struct FullDiskAtRename : FileTransfer
{
    FullDiskAtRename() { setFileTransfer(this); }
    ~FullDiskAtRename() override { setFileTransfer(nullptr); }
    bool rename(const QString &, const QString &) override
    {
        setLastError(QStringLiteral("No space left on device"));
        return false;
    }
};

} // namespace

class TestReferenceRestore : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;
    QString root, backup, savedRoot;
    const QDateTime backupTime{QDate(2026, 3, 14), QTime(9, 26)};

    QString question() const
    {
        return QStringLiteral("Referans veritabanı dosyaları (MATNRC6.DBF, VMKBMDESC.DBF) yedekten alınacak.\n\n"
                              "Yedek klasörü: %1\nYedek tarihi: 14.03.2026 09:26\n\n"
                              "Kullanılan dosyalar bu yedekle değiştirilecek. Devam edilsin mi?")
            .arg(QDir::toNativeSeparators(backup));
    }

private slots:
    void initTestCase()
    {
        installReferenceCommands();
        savedRoot = appGlobals().CVERIKOK;
    }
    void cleanupTestCase() { appGlobals().CVERIKOK = savedRoot; }

    void init()
    {
        QVERIFY(m_dir.isValid());
        root = m_dir.filePath(QStringLiteral("Veriler"));
        backup = m_dir.filePath(QStringLiteral("Yedek"));
        QDir(root).removeRecursively();
        QDir(backup).removeRecursively();
        QDir().mkpath(root);
        QDir().mkpath(backup);
        appGlobals().CVERIKOK = root;
        writeMatrix(root, {"MISIR", "ARPA", "SOYA"});
        writeDefinitions(root, {"KM", "HP"});
        writeMatrix(backup, {"ESKI MISIR"});
        writeDefinitions(backup, {"KM"});
        setModified(backup + QStringLiteral("/MATNRC6.DBF"), backupTime.addSecs(-3600));
        setModified(backup + QStringLiteral("/VMKBMDESC.DBF"), backupTime);
    }

    void escapeOrNoOnTheQuestionReplacesNothing_data()
    {
        QTest::addColumn<Act>("act");
        QTest::newRow("Escape") << Act::Escape;
        QTest::newRow("close button") << Act::CloseButton;
        QTest::newRow("Hayır") << Act::No;
    }

    void escapeOrNoOnTheQuestionReplacesNothing()
    {
        QFETCH(Act, act);
        const auto live = test::snapshot(root);
        test::RealBoxes boxes({act});
        chooseFolderWhenAsked(backup);
        QVERIFY(shellCommands().run(QStringLiteral("RM_YEDEKTEN_AL")));
        QCOMPARE(boxes.texts(), QStringList{question()});
        QCOMPARE(boxes.unexpected(), 0);
        QCOMPARE(test::snapshot(root), live);
    }

    void yesReplacesAndSaysSo()
    {
        test::RealBoxes boxes({Act::Yes, Act::Ok});
        chooseFolderWhenAsked(backup);
        QVERIFY(shellCommands().run(QStringLiteral("RM_YEDEKTEN_AL")));
        QCOMPARE(boxes.texts(),
                 (QStringList{question(), QStringLiteral("Referans veritabanı dosyaları yedekten alındı.\n\n"
                                                         "Yedek klasörü: %1\nYedek tarihi: 14.03.2026 09:26")
                                              .arg(QDir::toNativeSeparators(backup))}));
        QCOMPARE(boxes.captions().value(1), QStringLiteral("Bilgi..."));
        QCOMPARE(boxes.unexpected(), 0);
        QCOMPARE(test::snapshot(root), test::snapshot(backup));
    }

    // A restore that fails names the file and gives the system's reason; the live tables stay.
    void aFailedRestoreSaysWhy()
    {
        const auto live = test::snapshot(root);
        FullDiskAtRename full;
        test::RealBoxes boxes({Act::Yes, Act::Ok});
        chooseFolderWhenAsked(backup);
        QVERIFY(shellCommands().run(QStringLiteral("RM_YEDEKTEN_AL")));
        QCOMPARE(boxes.texts().value(1),
                 QStringLiteral("MATNRC6.DBF veritabanı dosyası yedekten kopyalanamadı... : No space left on device"));
        QCOMPARE(boxes.captions().value(1), QStringLiteral("Hata..."));
        QCOMPARE(test::snapshot(root), live);
    }

    // The same with no seam in the way: the live matrix's name taken by a folder, which no copy can
    // replace. The message carries the system's own words, and nothing changes.
    void theSystemsReasonIsNamed()
    {
        QVERIFY(QFile::remove(root + QStringLiteral("/MATNRC6.DBF")));
        QVERIFY(QDir().mkpath(root + QStringLiteral("/MATNRC6.DBF/ic")));
        const auto live = test::snapshot(root);
        test::RealBoxes boxes({Act::Yes, Act::Ok});
        QVERIFY(!restoreReferenceDatabase(nullptr, backup));
        const QString failed = QStringLiteral("MATNRC6.DBF veritabanı dosyası yedekten kopyalanamadı... : ");
        QVERIFY2(boxes.texts().value(1).startsWith(failed), qPrintable(boxes.texts().value(1)));
        QVERIFY(boxes.texts().value(1).size() > failed.size());
        QCOMPARE(test::snapshot(root), live);
        QVERIFY(QFileInfo(root + QStringLiteral("/MATNRC6.DBF/ic")).isDir());
    }
};

QTEST_MAIN(TestReferenceRestore)
#include "tst_reference_restore.moc"
