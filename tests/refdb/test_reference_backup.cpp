#include "child_process.h"
#include "foreign_files.h"
#include "refdb_fixture.h"
#include "platform/dbf_filespec.h"
#include "platform/dbf_table.h"
#include "problem/app_globals.h"
#include "problem/reference_tables.h"
#include "refdb/file_pair_replace.h"
#include "refdb/reference_backup.h"
#include "scripted_messages.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QWidget>

#include <gtest/gtest.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <csignal>
#include <memory>
#include <random>
#include <unistd.h>

using namespace vexo;
using vexo::test::bytesOf;
using vexo::test::snapshot;

namespace {

QList<QVariantList> numbered(const QStringList &names)
{
    QList<QVariantList> rows;
    for (const QString &name : names)
        rows.append({int(rows.size()) + 1, name});
    return rows;
}

void writeMatrix(const QString &folder, const QStringList &names)
{
    test::writeRows(folder + QStringLiteral("/MATNRC6.DBF"),
                    {{"KOD", u'N', 5, 0}, {"YM_ADI", u'C', 25, 0}, {"FIATI", u'C', 11, 0}}, numbered(names));
}

void writeDefinitions(const QString &folder, const QStringList &names)
{
    test::writeRows(folder + QStringLiteral("/VMKBMDESC.DBF"), {{"NUM", u'N', 5, 0}, {"ABRRE", u'C', 15, 0}},
                    numbered(names));
}

bool noticeLeft()
{
    for (QWidget *w : QApplication::topLevelWidgets()) {
        if (w->inherits("vexo::ALERT"))
            return true;
    }
    return false;
}

// Fails one chosen write or rename, or writes damaged bytes on one chosen write.
class FaultyTransfer : public FileTransfer
{
public:
    enum Fault { FailWrite, DamageWrite, FailRename };
    FaultyTransfer(Fault fault, int at) : m_fault(fault), m_at(at) { setFileTransfer(this); }
    ~FaultyTransfer() override { setFileTransfer(nullptr); }

    bool write(const QString &path, const QByteArray &bytes) override
    {
        const bool hit = ++m_writes == m_at;
        if (hit && m_fault == FailWrite) {
            setLastError(QStringLiteral("No space left on device"));
            return false;
        }
        if (hit && m_fault == DamageWrite)
            return FileTransfer::write(path, bytes.left(bytes.size() - 1) + '\x1b');
        return FileTransfer::write(path, bytes);
    }
    bool rename(const QString &from, const QString &to) override
    {
        if (++m_renames == m_at && m_fault == FailRename) {
            setLastError(QStringLiteral("Input/output error"));
            return false;
        }
        return FileTransfer::rename(from, to);
    }

private:
    Fault m_fault;
    int m_at;
    int m_writes = 0;
    int m_renames = 0;
};

// Kills the process (SIGKILL, nothing of it runs on) at its n-th step of a replacement: a copy or a
// kept file written, a rename, the removal of the record of the change. Counts the steps when n is 0.
class KillingTransfer : public FileTransfer
{
public:
    explicit KillingTransfer(int at) : m_at(at) { setFileTransfer(this); }
    ~KillingTransfer() override { setFileTransfer(nullptr); }
    int steps() const { return m_steps; }

    bool write(const QString &path, const QByteArray &bytes) override
    {
        step();
        return FileTransfer::write(path, bytes);
    }
    bool rename(const QString &from, const QString &to) override
    {
        step();
        return FileTransfer::rename(from, to);
    }
    bool removeRecord(const QString &path) override
    {
        step();
        return FileTransfer::removeRecord(path);
    }

private:
    void step()
    {
        if (++m_steps == m_at)
            ::kill(::getpid(), SIGKILL);
    }
    int m_at;
    int m_steps = 0;
};

class ReferenceBackup : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_dir.isValid());
        root = m_dir.filePath(QStringLiteral("Veriler"));
        backup = m_dir.filePath(QStringLiteral("Yedek"));
        QDir().mkpath(root);
        QDir().mkpath(backup);
        m_savedRoot = appGlobals().CVERIKOK;
        appGlobals().CVERIKOK = root;
        writeMatrix(root, {"MISIR", "ARPA", "SOYA"});
        writeDefinitions(root, {"KM", "HP"});
        writeMatrix(backup, {"ESKI MISIR"});
        writeDefinitions(backup, {"KM"});
    }
    void TearDown() override
    {
        appGlobals().CVERIKOK = m_savedRoot;
        EXPECT_FALSE(noticeLeft());
    }

    struct RefusedPath
    {
        const char *name;
        QString chosen;
        QStringList messages;
    };
    // Each path is refused with its messages (none for a silent stop) and both folders stay as they were.
    void expectRefused(bool (*command)(QWidget *, const QString &), const QList<RefusedPath> &cases)
    {
        const auto before = snapshot(backup);
        const auto live = snapshot(root);
        for (const RefusedPath &c : cases) {
            SCOPED_TRACE(c.name);
            messages.clear();
            EXPECT_FALSE(command(nullptr, c.chosen));
            EXPECT_EQ(shownTexts(), c.messages);
            EXPECT_EQ(snapshot(backup), before);
            EXPECT_EQ(snapshot(root), live);
        }
    }

    QStringList shownTexts() const
    {
        QStringList texts;
        for (const MessageRequest &r : messages.shown())
            texts << r.caption + u'|' + r.text;
        return texts;
    }

    QTemporaryDir m_dir;
    QString root;
    QString backup;
    QString m_savedRoot;
    test::ScriptedMessages messages;
    test::ManualClock clock;
};

TEST_F(ReferenceBackup, BackupPathsAreCheckedInOrder)
{
    QFile::link(root, m_dir.filePath(QStringLiteral("kok")));
    QDir().mkpath(m_dir.filePath(QStringLiteral("linked")));
    QFile::link(root + QStringLiteral("/MATNRC6.DBF"), m_dir.filePath(QStringLiteral("linked/MATNRC6.DBF")));
    const QString same = QStringLiteral("Dikkat...|Farklı bir sürücü/klasör seçilmedi...");
    expectRefused(backupReferenceDatabase,
                  {
                      {"empty", QString(), {}},
                      {"relative", QStringLiteral("Yedek"), {}},
                      {"data root", root, {same}},
                      {"data root with a separator", root + u'/', {same}},
                      {"data root through a link", m_dir.filePath(QStringLiteral("kok")), {same}},
                      {"data root through ..", backup + QStringLiteral("/../Veriler"), {same}},
                      {"data root with a doubled separator", m_dir.path() + QStringLiteral("//Veriler"), {same}},
                      {"a live table linked into the folder", m_dir.filePath(QStringLiteral("linked")), {same}},
                  });
}

// A new user's first backup: OK on the folder the dialog proposes, on a data root that has no
// backup folder yet.
TEST_F(ReferenceBackup, TheFirstBackupMakesTheProposedFolder)
{
    ASSERT_FALSE(QFileInfo::exists(root + QStringLiteral("/VEXO_KData")));
    EXPECT_TRUE(backupReferenceDatabase(nullptr, proposedBackupFolder()));
    EXPECT_EQ(shownTexts(), QStringList());
    for (const QString &name : referenceFileSet())
        EXPECT_EQ(bytesOf(proposedBackupFolder() + u'/' + name), bytesOf(root + u'/' + name));
    EXPECT_EQ(QDir(proposedBackupFolder()).entryList(QDir::Files | QDir::Hidden).size(), 2);

    // Any other folder the user typed is not made: the failure says why.
    const QString typed = m_dir.filePath(QStringLiteral("Yok/Yedek"));
    messages.clear();
    EXPECT_FALSE(backupReferenceDatabase(nullptr, typed));
    ASSERT_EQ(shownTexts().size(), 1);
    EXPECT_TRUE(shownTexts()[0].startsWith(QStringLiteral("Hata...|MATNRC6.DBF veritabanı dosyasını yedekleme başarısız... : ")))
        << shownTexts()[0].toStdString();
    EXPECT_GT(shownTexts()[0].size(), QStringLiteral("Hata...|MATNRC6.DBF veritabanı dosyasını yedekleme başarısız... : ").size());
    EXPECT_FALSE(QFileInfo::exists(m_dir.filePath(QStringLiteral("Yok"))));
}

// The proposed folder cannot be made (a file stands where its parent should be): the failure says so.
TEST_F(ReferenceBackup, AProposedFolderThatCannotBeMadeIsNamed)
{
    QFile blocker(root + QStringLiteral("/VEXO_KData"));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    EXPECT_FALSE(backupReferenceDatabase(nullptr, proposedBackupFolder()));
    const QString shown = QDir::toNativeSeparators(QDir::cleanPath(proposedBackupFolder()));
    ASSERT_EQ(shownTexts().size(), 1);
    EXPECT_TRUE(shownTexts()[0].startsWith(QStringLiteral("Hata...|MATNRC6.DBF veritabanı dosyasını yedekleme başarısız... : ")
                                           + shown + QStringLiteral(" klasörü oluşturulamadı: ")))
        << shownTexts()[0].toStdString();
}

TEST_F(ReferenceBackup, BackupIntoTheProposedFolderReplacesAReadOnlyOldBackup)
{
    EXPECT_TRUE(backupReferenceDatabase(nullptr, proposedBackupFolder())); // made by the first backup
    for (const QString &folder : {proposedBackupFolder(), backup}) {
        SCOPED_TRACE(folder.toStdString());
        writeMatrix(folder, {"ESKI"});
        QFile::setPermissions(folder + QStringLiteral("/MATNRC6.DBF"), QFileDevice::ReadOwner);
        EXPECT_TRUE(backupReferenceDatabase(nullptr, folder));
        EXPECT_TRUE(messages.shown().isEmpty());
        for (const QString &name : referenceFileSet())
            EXPECT_EQ(bytesOf(folder + u'/' + name), bytesOf(root + u'/' + name));
        EXPECT_EQ(QDir(folder).entryList(QDir::Files | QDir::Hidden).size(), 2);
    }
}

TEST_F(ReferenceBackup, MissingLiveTableIsNamedAndNothingIsCopied)
{
    for (const QString &name : referenceFileSet()) {
        SCOPED_TRACE(name.toStdString());
        const QByteArray kept = bytesOf(root + u'/' + name);
        QFile::remove(root + u'/' + name);
        messages.clear();
        const auto before = snapshot(backup);
        EXPECT_FALSE(backupReferenceDatabase(nullptr, backup));
        EXPECT_EQ(shownTexts(), QStringList{QStringLiteral("Hata...|") + name + QStringLiteral(" veritabanı dosyası yok...")});
        EXPECT_EQ(snapshot(backup), before);
        QFile f(root + u'/' + name);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(kept);
    }
}

TEST_F(ReferenceBackup, RestorePathsAreCheckedInOrder)
{
    const QString onlyMatrix = m_dir.filePath(QStringLiteral("Yarim"));
    QDir().mkpath(onlyMatrix);
    writeMatrix(onlyMatrix, {"YARIM"});
    const QString same = QStringLiteral("Uyarı...|Farklı bir sürücü/klasör seçilmedi...");
    expectRefused(restoreReferenceDatabase,
                  {
                      {"empty", QString(), {}},
                      {"blank", QStringLiteral("   "), {}},
                      {"relative", QStringLiteral("Yedek"), {}},
                      {"data root", root, {same}},
                      {"data root with a separator", root + u'/', {same}},
                      {"data root through ..", backup + QStringLiteral("/../Veriler/"), {same}},
                      {"only the matrix", onlyMatrix,
                       {QStringLiteral("Hata...|VMKBMDESC.DBF veritabanı dosyası seçilen dizinde yok...")}},
                      {"no backup at all", m_dir.filePath(QStringLiteral("Yok")),
                       {QStringLiteral("Hata...|MATNRC6.DBF veritabanı dosyası seçilen dizinde yok...")}},
                  });
}

TEST_F(ReferenceBackup, RestorePutsBothFilesBackAlsoWhereALiveTableIsMissing)
{
    QFile::remove(root + QStringLiteral("/VMKBMDESC.DBF"));
    messages.answer(MessageAnswer::Yes);
    EXPECT_TRUE(restoreReferenceDatabase(nullptr, backup + u'/'));
    // Asked first, told when done.
    ASSERT_EQ(messages.shown().size(), 2);
    EXPECT_EQ(messages.shown()[0].style, unsigned(MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON2));
    EXPECT_TRUE(messages.shown()[0].text.contains(QDir::toNativeSeparators(backup)));
    EXPECT_EQ(messages.shown()[1].caption, QStringLiteral("Bilgi..."));
    EXPECT_EQ(messages.unexpectedQuestions(), 0);
    EXPECT_EQ(snapshot(root), snapshot(backup));
    DbfTable matrix(root + QStringLiteral("/MATNRC6.DBF"), true, true);
    ASSERT_TRUE(matrix.isOpen());
    EXPECT_EQ(matrix.lastRec(), 1u);
}

// The editors type nutrient values with the decimals of the definitions just restored.
TEST_F(ReferenceBackup, RestoreHandsTheRestoredDecimalsToTheEditors)
{
    test::writeRows(backup + QStringLiteral("/VMKBMDESC.DBF"),
                    {{"NUM", u'N', 5, 0}, {"ABRRE", u'C', 15, 0}, {"DECIM", u'N', 1, 0}},
                    {{1, QStringLiteral("HP"), 1}, {2, QStringLiteral("LIZIN"), 3}});
    referenceTables().ABMDESC.clear();
    messages.answer(MessageAnswer::Yes);
    ASSERT_TRUE(restoreReferenceDatabase(nullptr, backup + u'/'));
    EXPECT_EQ(nutrientDecimals(QStringLiteral("HP")), 1);
    EXPECT_EQ(nutrientDecimals(QStringLiteral("LIZIN")), 3);
    referenceTables().ABMDESC.clear();
}

// Every step of both commands failing in turn: the step's message, both folders as they were, no
// temporary file and no notice left.
TEST_F(ReferenceBackup, AFailedStepLeavesBothFoldersAsTheyWere)
{
    const QString full = QStringLiteral(" : No space left on device");
    const QString unlike = QStringLiteral(" : yazılan kopya kaynağıyla aynı değil");
    const QString failedRename = QStringLiteral(" : Input/output error");
    const struct {
        const char *name;
        FaultyTransfer::Fault fault;
        int at;
        QString file;
        QString reason; // what a failed backup adds to its message
    } steps[] = {
        {"first copy", FaultyTransfer::FailWrite, 1, QStringLiteral("MATNRC6.DBF"), full},
        {"second copy", FaultyTransfer::FailWrite, 2, QStringLiteral("VMKBMDESC.DBF"), full},
        {"first check", FaultyTransfer::DamageWrite, 1, QStringLiteral("MATNRC6.DBF"), unlike},
        {"second check", FaultyTransfer::DamageWrite, 2, QStringLiteral("VMKBMDESC.DBF"), unlike},
        {"first rename", FaultyTransfer::FailRename, 1, QStringLiteral("MATNRC6.DBF"), failedRename},
        {"second rename", FaultyTransfer::FailRename, 2, QStringLiteral("VMKBMDESC.DBF"), failedRename},
    };
    const auto live = snapshot(root);
    const auto old = snapshot(backup);
    const struct {
        const char *name;
        bool (*command)(QWidget *, const QString &);
        QString failure;
        bool saysWhy;
    } commands[] = {
        {"backup", backupReferenceDatabase, QStringLiteral(" veritabanı dosyasını yedekleme başarısız..."), true},
        {"restore", restoreReferenceDatabase, QStringLiteral(" veritabanı dosyası yedekten kopyalanamadı..."), true},
    };
    for (const auto &s : steps) {
        for (const auto &c : commands) {
            SCOPED_TRACE(std::string(c.name) + ", " + s.name);
            {
                FaultyTransfer fault(s.fault, s.at);
                messages.clear();
                const bool asks = c.command == restoreReferenceDatabase;
                if (asks)
                    messages.answer(MessageAnswer::Yes);
                EXPECT_FALSE(c.command(nullptr, backup));
                QStringList texts = shownTexts();
                if (asks && !texts.isEmpty())
                    texts.removeFirst(); // the question before the restore
                EXPECT_EQ(texts,
                          QStringList{QStringLiteral("Hata...|") + s.file + c.failure + (c.saysWhy ? s.reason : QString())});
            }
            EXPECT_EQ(snapshot(root), live);
            EXPECT_EQ(snapshot(backup), old);
            EXPECT_FALSE(noticeLeft());
        }
    }
}

TEST_F(ReferenceBackup, AFullDiskLosesNothing)
{
    const auto live = snapshot(root);
    const auto old = snapshot(backup);
    const qint64 limit = bytesOf(backup + QStringLiteral("/MATNRC6.DBF")).size() + 8;
    EXPECT_EQ(test::runWithFileSizeLimit(limit, [&] { return backupReferenceDatabase(nullptr, backup); }), 1);
    EXPECT_EQ(snapshot(backup), old);
    const qint64 small = bytesOf(backup + QStringLiteral("/VMKBMDESC.DBF")).size() - 8;
    // In the child: Yes to the question, then the failure told with the system's reason.
    const QString failed = QStringLiteral(" veritabanı dosyası yedekten kopyalanamadı... : ");
    EXPECT_EQ(test::runWithFileSizeLimit(small,
                                         [&] {
                                             messages.clear();
                                             messages.answer(MessageAnswer::Yes);
                                             const bool restored = restoreReferenceDatabase(nullptr, backup);
                                             const QString told = shownTexts().value(1);
                                             return restored || !told.startsWith(QStringLiteral("Hata...|"))
                                                    || !told.contains(failed) || told.endsWith(failed);
                                         }),
              1);
    EXPECT_EQ(snapshot(root), live);
}

TEST_F(ReferenceBackup, AnUnwritableBackupFolderIsReported)
{
    const auto old = snapshot(backup);
    QFile::setPermissions(backup, QFileDevice::ReadOwner | QFileDevice::ExeOwner);
    {
        // The superuser writes anyway; the seam stands in for the refusal then.
        std::unique_ptr<FaultyTransfer> asRoot;
        if (::geteuid() == 0)
            asRoot = std::make_unique<FaultyTransfer>(FaultyTransfer::FailWrite, 1);
        EXPECT_FALSE(backupReferenceDatabase(nullptr, backup));
    }
    QFile::setPermissions(backup, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    const QString failed = QStringLiteral("Hata...|MATNRC6.DBF veritabanı dosyasını yedekleme başarısız... : ");
    ASSERT_EQ(shownTexts().size(), 1);
    EXPECT_TRUE(shownTexts()[0].startsWith(failed)) << shownTexts()[0].toStdString();
    EXPECT_GT(shownTexts()[0].size(), failed.size()); // the reason
    EXPECT_EQ(snapshot(backup), old);
}

// The first backup of a new user on a disk with no room left: the message names the disk's own
// reason, and no half backup is left in the new folder.
TEST_F(ReferenceBackup, TheFirstBackupOnAFullDiskSaysWhy)
{
    const int status = test::runOnSmallDisk(64 * 1024, [&](const QString &folder) {
        appGlobals().CVERIKOK = folder;
        writeMatrix(folder, {"MISIR", "ARPA", "SOYA"});
        writeDefinitions(folder, {"KM", "HP"});
        {
            QFile filler(folder + QStringLiteral("/DOLGU"));
            if (!filler.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
                return false;
            const QByteArray block(1024, 'f');
            while (filler.write(block) == block.size()) {
            }
        }
        messages.clear();
        const bool backedUp = backupReferenceDatabase(nullptr, proposedBackupFolder());
        const QStringList texts = shownTexts();
        const QString expected = QStringLiteral("Hata...|MATNRC6.DBF veritabanı dosyasını yedekleme başarısız... : ")
                                 + QString::fromLocal8Bit(std::strerror(ENOSPC));
        bool ok = !backedUp && texts == QStringList{expected};
        for (const QString &name : referenceFileSet())
            ok = ok && !QFileInfo::exists(proposedBackupFolder() + u'/' + name);
        if (!ok)
            std::fprintf(stderr, "full disk backup: %s\n", qPrintable(texts.join(u'\n')));
        return ok;
    });
    if (status == test::kNoSmallDisk)
        GTEST_SKIP() << "this machine allows no tmpfs mount; the file-size limit test covers the same fault";
    EXPECT_EQ(status, 0);
}

// Backups and restores killed at random moments leave their copies beside the tables; the next backup
// or restore into that folder removes every one of them and nothing else: other programs' and other
// users' files in either folder, some named much like the copies, stay as they are, and the tables
// are whole.
TEST_F(ReferenceBackup, KilledBackupsLeaveNothingTheNextOneDoesNotRemove)
{
    // Both folders hold the same tables, so every backup and restore copies the same bytes.
    ASSERT_TRUE(backupReferenceDatabase(nullptr, backup));
    QMap<QString, QByteArray> tables;
    for (const QString &name : referenceFileSet())
        tables.insert(name, bytesOf(root + u'/' + name));
    std::vector<std::unique_ptr<test::ForeignFiles>> foreign;
    QStringList expected = referenceFileSet();
    for (const QString &folder : {root, backup}) {
        for (const QString &name : referenceFileSet()) {
            foreign.push_back(std::make_unique<test::ForeignFiles>(folder, name));
            expected += foreign.back()->names();
        }
    }
    expected.removeDuplicates();
    expected.sort();

    std::mt19937 random(20260318);
    int killed = 0;
    for (int round = 0; round < 18; ++round) {
        const bool restore = round % 3 == 2;
        const int pid = test::startChild([&] {
            for (;;) {
                if (restore)
                    messages.answer(MessageAnswer::Yes); // the restore's question
                if (!(restore ? restoreReferenceDatabase(nullptr, backup) : backupReferenceDatabase(nullptr, backup)))
                    return false;
            }
        });
        ASSERT_GT(pid, 0);
        // The first copy starts after about a tenth of a second (the child's first notice window).
        ::usleep(useconds_t(60000 + random() % 200000));
        ::kill(pid_t(pid), SIGKILL);
        EXPECT_EQ(test::waitChild(pid), -1) << "round " << round << ": the copier ended by itself";
        ++killed;
    }
    ASSERT_EQ(killed, 18);
    EXPECT_TRUE(backupReferenceDatabase(nullptr, backup));
    messages.clear();
    messages.answer(MessageAnswer::Yes);
    EXPECT_TRUE(restoreReferenceDatabase(nullptr, backup));
    // The restore's question and its word that it is done, nothing else.
    ASSERT_EQ(messages.shown().size(), 2);
    EXPECT_EQ(messages.shown()[1].caption, QStringLiteral("Bilgi..."));
    for (const QString &folder : {root, backup}) {
        SCOPED_TRACE(folder.toStdString());
        const auto names = [&] {
            QStringList all = QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
            all.sort();
            return all;
        };
        EXPECT_EQ(names().join(u' ').toStdString(), expected.join(u' ').toStdString());
        for (const QString &name : referenceFileSet())
            EXPECT_EQ(bytesOf(folder + u'/' + name), tables.value(name)) << name.toStdString();
    }
    for (const auto &files : foreign)
        EXPECT_EQ(files->damage().toStdString(), "");
}

// A backup or a restore killed at each of its steps, and the next start (and, for a folder the start
// does not know, the next backup or restore from it): both folders hold a wholly old or a wholly new
// pair, and no record of the change is left. One more round loses a new file before the next start:
// the change is then undone.
TEST_F(ReferenceBackup, AKillAtAnyStepLeavesAWholeOldOrAWholeNewPair)
{
    using Pair = QList<QByteArray>; // the bytes of MATNRC6.DBF and VMKBMDESC.DBF; empty when missing
    const auto filesOf = [](const QString &folder) {
        QMap<QString, QByteArray> files;
        for (const QString &name : QDir(folder).entryList(QDir::Files | QDir::Hidden))
            files.insert(name, bytesOf(QDir(folder).filePath(name)));
        return files;
    };
    // The folder holds the files and nothing else.
    const auto putBack = [](const QString &folder, const QMap<QString, QByteArray> &files) {
        for (const QString &name : QDir(folder).entryList(QDir::Files | QDir::Hidden))
            QFile::remove(QDir(folder).filePath(name));
        for (auto it = files.cbegin(); it != files.cend(); ++it) {
            QFile f(QDir(folder).filePath(it.key()));
            ASSERT_TRUE(f.open(QIODevice::WriteOnly));
            ASSERT_EQ(f.write(it.value()), it.value().size());
        }
    };
    const auto pairIn = [](const QString &folder) {
        Pair pair;
        for (const QString &name : referenceFileSet()) {
            const QString path = folder + u'/' + name;
            pair << (QFileInfo::exists(path) ? bytesOf(path) : QByteArray());
        }
        return pair;
    };
    const struct
    {
        const char *name;
        bool restore;
        bool proposed; // into the folder the dialog proposes, which the start looks at
    } commands[] = {
        {"backup into the proposed folder", false, true},
        {"backup into a chosen folder", false, false},
        {"restore", true, false},
    };
    int rounds = 0;
    int wholeOld = 0;
    int wholeNew = 0;
    for (const auto &c : commands) {
        const QString chosen = c.proposed ? proposedBackupFolder() : backup;
        const auto run = [&] {
            if (!c.restore)
                return backupReferenceDatabase(nullptr, chosen);
            messages.answer(MessageAnswer::Yes);
            return restoreReferenceDatabase(nullptr, chosen);
        };
        const QString changed = c.restore ? root : chosen;
        const Pair before = pairIn(changed);
        const Pair after = c.restore ? pairIn(backup) : pairIn(root);
        const QMap<QString, QByteArray> liveFiles = filesOf(root);
        const QMap<QString, QByteArray> backupFiles = filesOf(backup);
        // The steps of a whole run, counted in a child that is not killed.
        int steps = 0;
        {
            int fds[2];
            ASSERT_EQ(::pipe(fds), 0);
            ASSERT_EQ(test::runInChild([&] {
                          KillingTransfer count(0);
                          const bool done = run();
                          const int n = count.steps();
                          return done && ::write(fds[1], &n, sizeof n) == sizeof n;
                      }),
                      0)
                << c.name;
            ::close(fds[1]);
            ASSERT_EQ(::read(fds[0], &steps, sizeof steps), ssize_t(sizeof steps));
            ::close(fds[0]);
        }
        ASSERT_GE(steps, 5) << c.name; // two copies, two renames, the record's removal
        const auto startAgain = [&] {
            QDir(proposedBackupFolder()).removeRecursively();
            putBack(root, liveFiles);
            putBack(backup, backupFiles);
        };
        startAgain();
        for (int at = 1; at <= steps + 1; ++at) {
            const bool loseANewFile = at == steps + 1;
            SCOPED_TRACE(std::string(c.name) + (loseANewFile ? ", a new file lost" : ", step " + std::to_string(at)));
            ASSERT_EQ(filesOf(root), liveFiles);
            EXPECT_EQ(test::runInChild([&] {
                          KillingTransfer kill(loseANewFile ? steps - 1 : at); // at the last rename
                          return run();
                      }),
                      -1);
            if (loseANewFile) {
                // Another program took the copy still waiting for its rename.
                bool taken = false;
                for (const QString &name : QDir(changed).entryList({QStringLiteral(".VMKBMDESC.DBF.vexo-tmp-*")},
                                                                   QDir::Files | QDir::Hidden)) {
                    if (bytesOf(QDir(changed).filePath(name)) == after.at(1))
                        taken = QFile::remove(QDir(changed).filePath(name));
                }
                ASSERT_TRUE(taken);
            }
            messages.clear();
            EXPECT_TRUE(finishInterruptedReferenceChanges(nullptr));
            if (!c.proposed) {
                EXPECT_TRUE(finishInterruptedPairChange(chosen).ok());
            }
            EXPECT_TRUE(messages.shown().isEmpty());
            const Pair now = pairIn(changed);
            EXPECT_TRUE(now == before || now == after) << "a mixed pair";
            wholeOld += now == before ? 1 : 0;
            wholeNew += now == after ? 1 : 0;
            if (loseANewFile) {
                EXPECT_TRUE(now == before) << "not undone";
            }
            for (const QString &folder : {root, backup, proposedBackupFolder()})
                EXPECT_FALSE(QFileInfo::exists(folder + u'/' + kPairChangeRecord)) << folder.toStdString();
            // Back to the start for the next round.
            startAgain();
            ++rounds;
        }
    }
    EXPECT_GE(rounds, 18);
    EXPECT_GT(wholeOld, 0);
    EXPECT_GT(wholeNew, 0);
}

} // namespace
