// "Farklı Kaydet" is the way out when the open file cannot take the edits: whatever stops the save
// into the old file (another saver, a full disk, a folder that became read-only, an owner that cannot
// be kept, another program's change, a deletion), the whole problem goes from memory into the new
// file. And a new file that does not fit its disk says that the disk is full.
#include "problem_fixture.h"

#include "child_process.h"
#include "platform/dbf_table.h"
#include "problem/dbserverr.h"
#include "problem/open_problem.h"
#include "problem/problem_file.h"
#include "problem/problem_file_commands.h"
#include "problem/problem_loader.h"
#include "problem/problem_saver.h"
#include "quiet_file_host.h"
#include "save_fixture.h"
#include "scripted_messages.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <gtest/gtest.h>

#include <cstdio>
#include <fcntl.h>
#include <functional>
#include <grp.h>
#include <sys/fsuid.h>
#include <sched.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace vexo;
using vexo::test::checksum;
using vexo::test::contentsOf;
using vexo::test::holdSaveByte;
using vexo::test::QuietHost;
using vexo::test::setProblem;
using vexo::test::writeProblem;

namespace {

QByteArray native(const QString &path)
{
    return QFile::encodeName(path);
}

// Another program writes its own problem beside the old file and renames it over the old file.
bool putTheirFileOver(const QString &old, const QString &folder)
{
    const QString theirs = folder + QStringLiteral("/DIS.VKD");
    return test::runInChild([&] {
               return writeProblem(theirs, 7, QStringLiteral("DIS"))
                      && ::rename(native(theirs).constData(), native(old).constData()) == 0;
           })
           == 0;
}

// Opens the old file, edits it, lets `spoil` make its save fail, and saves the problem as the target
// (a ".VKD", which becomes the open problem). Empty when the target holds the whole edited problem,
// is the open one with nothing left unsaved, and the old file is as `spoil` left it; otherwise what
// went wrong.
QString rescue(const QString &old, const QString &target, const std::function<bool()> &spoil)
{
    test::ScriptedMessages messages;
    test::ScriptedFileDialogs dialogs;
    QuietHost host;
    if (!DOOPENFILE(host, old))
        return QStringLiteral("the old file does not open");
    setProblem(9, QStringLiteral("BIZ"));
    if (!spoil())
        return QStringLiteral("the fault could not be made");
    const QByteArray oldBefore = QFileInfo::exists(old) ? checksum(old) : QByteArray();
    dialogs.answer(target);
    const bool saved = FKAYDET(host);
    QStringList boxes;
    for (const MessageRequest &m : messages.shown())
        boxes << m.text;
    if (!saved)
        return QStringLiteral("refused: ") + boxes.join(u'|');
    if (host.status != QStringLiteral("Dosya başarıyla farklı kaydedildi..."))
        return QStringLiteral("status: ") + host.status;
    if (!openProblem().isOpen() || QFileInfo(openProblem().OPROBDBF->path()) != QFileInfo(target))
        return QStringLiteral("the new file is not the open one");
    if (openProblem().anyDirty())
        return QStringLiteral("edits are still marked unsaved");
    openProblem().reset();
    if (contentsOf(target) != QStringLiteral("BIZ1x9"))
        return QStringLiteral("the new file holds ") + contentsOf(target);
    if (QFileInfo::exists(old) && checksum(old) != oldBefore)
        return QStringLiteral("the old file changed");
    return {};
}

} // namespace

// Each way the save into the old file can fail; "Farklı Kaydet" still keeps every edit in the new
// file. (Before, it stopped with the old file's error unless another program had changed it.)
TEST(SaveAsRescue, TheEditsGoIntoTheNewFileWhateverStopsTheSaveIntoTheOldOne)
{
    const bool superuser = ::geteuid() == 0;
    const struct
    {
        const char *what;
        bool needsSuperuser;
        // Before the file is opened, in the test.
        std::function<bool(const QString &old)> prepare;
        // With the old file open and edited, in a child process.
        std::function<bool(const QString &old, const QString &folder)> spoil;
    } cases[] = {
        {"another saver holds the file", false, {},
         [](const QString &old, const QString &) { return holdSaveByte(old) >= 0; }},
        {"its folder became read-only", false, {},
         [](const QString &, const QString &folder) {
             if (::chmod(native(folder).constData(), 0555) != 0)
                 return false;
             // The superuser writes anywhere: the child checks rights as an ordinary user from here on.
             if (::geteuid() == 0)
                 ::setfsuid(65534);
             return true;
         }},
        {"its owner cannot be kept", true,
         [](const QString &old) {
             return ::chown(native(old).constData(), 1234, 5678) == 0 && ::chmod(native(old).constData(), 0664) == 0;
         },
         [](const QString &, const QString &) {
             const gid_t groups[] = {5678};
             return ::setgroups(1, groups) == 0 && ::setgid(65534) == 0 && ::setuid(65534) == 0;
         }},
        {"another program saved over it", false, {},
         putTheirFileOver},
        {"it was deleted", false, {}, [](const QString &old, const QString &) { return QFile::remove(old); }},
    };
    for (const auto &c : cases) {
        if (c.needsSuperuser && !superuser)
            continue;
        test::ProblemEnvironment env;
        const QString folder = env.path("ESKI");
        const QString targets = env.path("YENI");
        ASSERT_TRUE(QDir().mkpath(folder) && QDir().mkpath(targets));
        for (const QString &f : {QFileInfo(folder).absolutePath(), folder, targets})
            ASSERT_EQ(::chmod(native(f).constData(), 0777), 0);
        const QString old = folder + QStringLiteral("/ESKI.VKD");
        ASSERT_TRUE(writeProblem(old, 5, QStringLiteral("YM")));
        if (c.prepare) {
            ASSERT_TRUE(c.prepare(old)) << c.what;
        }
        const QString target = targets + QStringLiteral("/KURTAR.VKD");
        const int status = test::runInChild([&] {
            const QString fault = rescue(old, target, [&] { return c.spoil(old, folder); });
            std::fprintf(stderr, "%s: %s\n", c.what, fault.isEmpty() ? "rescued" : qPrintable(fault));
            return fault.isEmpty();
        });
        EXPECT_EQ(status, 0) << c.what;
        ::chmod(native(folder).constData(), 0777);
    }
}

namespace {

// Fills the disk of the folder up to the last byte.
bool fillDisk(const QString &folder)
{
    QFile filler(folder + QStringLiteral("/DOLGU"));
    if (!filler.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        return false;
    const QByteArray block(4096, 'f');
    while (filler.write(block) == block.size()) {
    }
    const QByteArray byte(1, 'f');
    while (filler.write(byte) == 1) {
    }
    return true;
}

} // namespace

// The old file's disk is full: its save fails, and the edits go into a new file on another disk.
TEST(SaveAsRescue, AFullDiskUnderTheOldFileStillLetsTheEditsOut)
{
    test::ProblemEnvironment env;
    const QString target = env.path("KURTAR.VKD");
    const int status = test::runOnSmallDisk(64 * 1024, [&](const QString &folder) {
        const QString old = folder + QStringLiteral("/DOLU.VKD");
        if (!writeProblem(old, 5, QStringLiteral("YM")))
            return false;
        const QString fault = rescue(old, target, [&] { return fillDisk(folder); });
        std::fprintf(stderr, "full disk: %s\n", fault.isEmpty() ? "rescued" : qPrintable(fault));
        return fault.isEmpty();
    });
    if (status == test::kNoSmallDisk)
        GTEST_SKIP() << "this machine allows no tmpfs mount";
    EXPECT_EQ(status, 0);
}

// "Farklı Kaydet" onto a disk without room: the message says that the disk is full, whether the new
// table itself or only its records do not fit; the old file stays the open one and nothing is left
// on the full disk.
TEST(SaveAsRescue, AFullDiskUnderTheNewFileIsNamed)
{
    const struct
    {
        const char *what;
        bool fill;
        const char *message;
    } cases[] = {
        {"no room for the new table", true, " dosyası oluşturulamadı... : Disk dolu; "},
        {"no room for its records", false, "Farklı kaydedilen dosyaya veriler aktarılamadı... : Disk dolu; "},
    };
    for (const auto &c : cases) {
        test::ProblemEnvironment env;
        const QString old = env.path("BUYUK.VKD");
        ASSERT_TRUE(writeProblem(old, 85, QStringLiteral("YM")));
        const int status = test::runOnSmallDisk(64 * 1024, [&](const QString &folder) {
            test::ScriptedMessages messages;
            test::ScriptedFileDialogs dialogs;
            QuietHost host;
            if (!DOOPENFILE(host, old))
                return false;
            setProblem(85, QStringLiteral("BIZ"));
            if (c.fill && !fillDisk(folder))
                return false;
            dialogs.answer(folder + QStringLiteral("/KOPYA.VKD"));
            const bool saved = FKAYDET(host);
            QStringList boxes;
            for (const MessageRequest &m : messages.shown())
                boxes << m.text;
            std::fprintf(stderr, "%s: %s\n", c.what, qPrintable(boxes.join(u'|')));
            QStringList left = QDir(folder).entryList(QDir::Files | QDir::Hidden | QDir::NoDotAndDotDot);
            left.removeAll(QStringLiteral("DOLGU"));
            return !saved && boxes.size() == 1 && boxes[0].contains(QString::fromUtf8(c.message))
                   && boxes[0].contains(folder) && openProblem().isOpen()
                   && QFileInfo(openProblem().OPROBDBF->path()) == QFileInfo(old) && left.isEmpty();
        });
        if (status == test::kNoSmallDisk)
            GTEST_SKIP() << "this machine allows no tmpfs mount";
        EXPECT_EQ(status, 0) << c.what;
        EXPECT_EQ(contentsOf(old), QStringLiteral("BIZ1x85")) << c.what << ": the open file took the edits first";
    }
}

// After a save into the open file was refused, "Farklı Kaydet" onto the same name: the open file is
// known by what the name holds, not by how the name is spelt. While the name holds the open file as
// this program read it, the save as is refused with the status text; when another program put its
// own file there or changed the file, it is an existing file like any other (the overwrite question);
// a name left free by a move or a deletion is simply taken. Before, every one of these was refused
// as "saving the open file onto itself", and the user had no way back to the name.
TEST(SaveAsRescue, TheOpenFilesNameIsKnownByTheFileItHolds)
{
    const QString selfText = QStringLiteral("Açık dosyayı kendi üzerine kaydetme teşbbüsü...");
    const struct
    {
        const char *what;
        std::function<bool(const QString &old, const QString &folder)> act;
        bool asked;   // the overwrite question is shown
        bool refused; // refused as the open file itself
    } cases[] = {
        {"nothing happened to it", [](const QString &, const QString &) { return true; }, false, true},
        {"another program put its file there",
         putTheirFileOver,
         true, false},
        {"another program changed it in place",
         [](const QString &old, const QString &folder) {
             const QString theirs = folder + QStringLiteral("/DIS.VKD");
             if (test::runInChild([&] { return writeProblem(theirs, 5, QStringLiteral("XY")); }) != 0)
                 return false;
             const QByteArray bytes = test::fileBytes(theirs);
             QFile f(old);
             return f.open(QIODevice::ReadWrite) && f.write(bytes) == bytes.size() && QFile::remove(theirs);
         },
         true, false},
        {"it was moved",
         [](const QString &old, const QString &folder) { return QFile::rename(old, folder + QStringLiteral("/TASINDI.VKD")); },
         false, false},
        {"it was deleted", [](const QString &old, const QString &) { return QFile::remove(old); }, false, false},
    };
    for (const auto &c : cases) {
        test::ProblemEnvironment env;
        const QString folder = env.path("AYNI");
        ASSERT_TRUE(QDir().mkpath(folder));
        const QString old = folder + QStringLiteral("/ESKI.VKD");
        ASSERT_TRUE(writeProblem(old, 5, QStringLiteral("YM")));
        test::ScriptedMessages messages;
        test::ScriptedFileDialogs dialogs;
        QuietHost host;
        ASSERT_TRUE(DOOPENFILE(host, old)) << c.what;
        setProblem(9, QStringLiteral("BIZ"));
        ASSERT_TRUE(c.act(old, folder)) << c.what;
        const QByteArray before = QFileInfo::exists(old) ? checksum(old) : QByteArray();
        dialogs.answer(old);
        if (c.asked)
            messages.answer(MessageAnswer::Yes);
        const bool saved = FKAYDET(host);
        QStringList boxes;
        for (const MessageRequest &m : messages.shown())
            boxes << m.text;
        EXPECT_EQ(messages.pendingAnswers(), 0) << c.what << ": the overwrite question was not asked";
        EXPECT_EQ(messages.unexpectedQuestions(), 0) << c.what << ": " << boxes.join(u'|').toStdString();
        if (c.refused) {
            EXPECT_FALSE(saved) << c.what;
            EXPECT_EQ(host.status, selfText) << c.what;
            EXPECT_EQ(checksum(old), before) << c.what;
            EXPECT_TRUE(openProblem().anyDirty()) << c.what;
        } else {
            EXPECT_TRUE(saved) << c.what << ": " << host.status.toStdString() << " " << boxes.join(u'|').toStdString();
            EXPECT_FALSE(openProblem().anyDirty()) << c.what;
            openProblem().reset();
            EXPECT_EQ(contentsOf(old), QStringLiteral("BIZ1x9")) << c.what;
        }
        if (c.asked) {
            EXPECT_TRUE(boxes.contains(QStringLiteral("ESKI.VKD Dosyası mevcut!\n\nÜzerine yazılsın mı?"))) << c.what;
        }
        openProblem().reset();
    }
}

namespace {

constexpr int kNoReadOnlyMount = 77;

// Runs the work in a child with `folder` seen read-only through a bind mount of its own (in a mount
// namespace of its own); 77 when the machine allows no such mount.
int runOnReadOnlyMount(const QString &folder, const std::function<bool(const QString &readOnly)> &work)
{
    return test::runInChild([&] {
        char mountPoint[] = "/tmp/vexo-read-only-XXXXXX";
        if (::unshare(CLONE_NEWNS) != 0 || ::mount("none", "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0
            || !::mkdtemp(mountPoint))
            ::_exit(kNoReadOnlyMount);
        if (::mount(native(folder).constData(), mountPoint, nullptr, MS_BIND, nullptr) != 0
            || ::mount(nullptr, mountPoint, nullptr, MS_REMOUNT | MS_BIND | MS_RDONLY, nullptr) != 0) {
            ::umount2(mountPoint, MNT_DETACH);
            ::rmdir(mountPoint);
            ::_exit(kNoReadOnlyMount);
        }
        const bool ok = work(QString::fromLocal8Bit(mountPoint));
        openProblem().reset();
        ::umount2(mountPoint, MNT_DETACH);
        ::rmdir(mountPoint);
        return ok;
    });
}

} // namespace

// A problem on a read-only medium opens (read-only). Its save says where and why it cannot write,
// keeps the edits and offers "Farklı Kaydet", which puts them into a file elsewhere. Before, the file
// could not even be opened ("Read-only file system").
TEST(SaveAsRescue, AProblemOnAReadOnlyMediumOpensAndItsEditsGoElsewhere)
{
    test::ProblemEnvironment env;
    const QString folder = env.path("CD");
    ASSERT_TRUE(QDir().mkpath(folder));
    ASSERT_TRUE(writeProblem(folder + QStringLiteral("/OKU.VKD"), 5, QStringLiteral("YM")));
    const QByteArray before = checksum(folder + QStringLiteral("/OKU.VKD"));
    const QString target = env.path("KURTAR.VKD");
    const int status = runOnReadOnlyMount(folder, [&](const QString &readOnly) {
        const QString path = readOnly + QStringLiteral("/OKU.VKD");
        test::ScriptedMessages messages;
        test::ScriptedFileDialogs dialogs;
        QuietHost host;
        QStringList faults;
        if (!DOOPENFILE(host, path) || openProblem().AYMADLARI.value(0) != QStringLiteral("YM1")) {
            for (const MessageRequest &m : messages.shown())
                std::fprintf(stderr, "read-only: box: %s\n", qPrintable(m.text));
            return false;
        }
        test::changeOnePrice(QStringLiteral("44.000"));
        messages.answer(MessageAnswer::No);
        if (KAYDET(host))
            faults << QStringLiteral("the save said saved");
        const QString told = messages.shown().isEmpty() ? QString() : messages.shown().last().text;
        if (!told.contains(QStringLiteral("OKU.VKD dosyası salt okunur açıldı; bulunduğu %1 klasörüne yazılamıyor")
                               .arg(readOnly))
            || !told.contains(QStringLiteral("Farklı Kaydet")))
            faults << QStringLiteral("told: ") + told;
        if (!openProblem().LYMDEG)
            faults << QStringLiteral("the edit is no longer marked");
        messages.answer(MessageAnswer::Yes);
        dialogs.answer(target);
        if (!KAYDET(host))
            faults << QStringLiteral("the save as was not offered or failed: ") + host.status;
        openProblem().reset();
        for (const QString &f : faults)
            std::fprintf(stderr, "read-only: %s\n", qPrintable(f));
        return faults.isEmpty();
    });
    if (status == kNoReadOnlyMount)
        GTEST_SKIP() << "this machine allows no read-only bind mount";
    EXPECT_EQ(status, 0);
    EXPECT_EQ(checksum(folder + QStringLiteral("/OKU.VKD")), before);
    ASSERT_TRUE(test::loadProblem(target));
    EXPECT_EQ(openProblem().AYMLIST.value(0).value(YMPRICE).trimmed(), QStringLiteral("44.000"));
    openProblem().reset();
}
