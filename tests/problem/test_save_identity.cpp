// A save puts its copy under the file's name only in place of the file it read: other programs
// renaming or writing their own file into that name while the save runs, a second copy of this
// program saving meanwhile, and rewrites that put the modification time back. Files deleted or moved
// meanwhile are named as such. The copy keeps who may read and write the file: its access-control
// list and other extended attributes, and a mode the file system will not change.
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
#include <QProcess>
#include <QStandardPaths>

#include <gtest/gtest.h>

#include <csignal>
#include <cstdio>
#include <fcntl.h>
#include <functional>
#include <grp.h>
#include <random>
#include <sched.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <sys/statfs.h>
#include <sys/wait.h>
#include <sys/xattr.h>
#include <unistd.h>
#include <utility>

using namespace vexo;
using vexo::test::allDirty;
using vexo::test::changeOnePrice;
using vexo::test::checksum;
using vexo::test::contentsOf;
using vexo::test::loadProblem;
using vexo::test::setProblem;
using vexo::test::writeProblem;

namespace {

QString num(const QString &text)
{
    return text.rightJustified(11, u' ');
}

QByteArray native(const QString &path)
{
    return QFile::encodeName(path);
}

quint64 inodeOf(const QString &path)
{
    struct stat st = {};
    return ::stat(native(path).constData(), &st) == 0 ? quint64(st.st_ino) : 0;
}

// Files beside the problem other than those named.
QStringList othersBeside(const QString &path, const QStringList &known = {})
{
    const QDir dir = QFileInfo(path).absoluteDir();
    QStringList names = dir.entryList(QDir::Files | QDir::Hidden | QDir::NoDotAndDotDot);
    names.removeAll(QFileInfo(path).fileName());
    for (const QString &k : known)
        names.removeAll(k);
    return names;
}

// The open problem's table, which runs `pause` once, at the first field the save writes: the moment
// the save's copy exists and the writers start on it.
class PausingTable : public DBSERVERR
{
public:
    PausingTable(const QString &path, std::function<void()> pause)
        : DBSERVERR(path, true, false)
        , m_pause(std::move(pause))
    {
    }
    bool fieldPut(int pos, const QVariant &value) override
    {
        if (m_pause) {
            const std::function<void()> pause = std::move(m_pause);
            m_pause = nullptr;
            pause();
        }
        return DBSERVERR::fieldPut(pos, value);
    }

private:
    std::function<void()> m_pause;
};

// The open problem's table, which runs `act` once in the last moment of the save: after its last look
// at the file, before its copy takes the file's name.
class LateTable : public DBSERVERR
{
public:
    LateTable(const QString &path, std::function<void()> act)
        : DBSERVERR(path, true, false)
        , m_act(std::move(act))
    {
    }

protected:
    void beforeNameChange() override
    {
        if (m_act)
            std::exchange(m_act, nullptr)();
    }

private:
    std::function<void()> m_act;
};

// Loads the problem and makes its table a Table (PausingTable, LateTable) running `act`.
template <typename Table>
bool loadWith(const QString &path, std::function<void()> act)
{
    if (!loadProblem(path))
        return false;
    OpenProblem &p = openProblem();
    p.OPROBDBF->close();
    p.OPROBDBF = std::make_unique<Table>(path, std::move(act));
    return !p.OPROBDBF->status();
}

bool loadPausing(const QString &path, std::function<void()> pause)
{
    return loadWith<PausingTable>(path, std::move(pause));
}

// One byte through a pipe; false when the other end is gone.
bool send(int fd, char c = 'x')
{
    return ::write(fd, &c, 1) == 1;
}
char receive(int fd)
{
    char c = 0;
    return ::read(fd, &c, 1) == 1 ? c : '\0';
}

struct Pipe
{
    int fds[2] = {-1, -1};
    Pipe() { EXPECT_EQ(::pipe(fds), 0); }
    ~Pipe()
    {
        for (int fd : fds)
            if (fd >= 0)
                ::close(fd);
    }
    int in() const { return fds[0]; }
    int out() const { return fds[1]; }
};

const QString kChangedText = QStringLiteral("başka bir program tarafından değiştirilmiş");

} // namespace

// Another program renames its own problem over the name the moment the save's copy appears. Before,
// every such save said "saved" and the other program's file was gone. Now the other file is what the
// name holds afterwards, the save is refused with the changed-by-another-program reason and keeps the
// edits, and no copy is left.
TEST(SaveIdentity, AFileRenamedOverTheNameWhileTheCopyIsWrittenIsKeptAndTheSaveRefused)
{
    test::ProblemEnvironment env;
    const QString path = env.path("ORTAK.VKD");
    const QString theirs = env.path("DIS.VKD");
    for (int round = 0; round < 10; ++round) {
        ASSERT_TRUE(writeProblem(path, 5, QStringLiteral("YM")));
        ASSERT_TRUE(writeProblem(theirs, 7, QStringLiteral("DIS")));
        const quint64 theirInode = inodeOf(theirs);
        Pipe go, done;
        const int other = test::startChild([&] {
            return receive(go.in()) == 'x' && ::rename(native(theirs).constData(), native(path).constData()) == 0
                   && send(done.out());
        });
        ASSERT_TRUE(loadPausing(path, [&] { send(go.out()) && receive(done.in()); }));
        setProblem(9, QStringLiteral("BIZ"));
        QString why;
        const bool saved = PROBDBFUPDATE(&why);
        EXPECT_EQ(test::waitChild(other), 0);
        EXPECT_FALSE(saved) << "round " << round << ": the save overwrote the other program's file";
        EXPECT_TRUE(why.contains(kChangedText)) << why.toStdString();
        EXPECT_TRUE(allDirty(openProblem()));
        openProblem().reset();
        EXPECT_EQ(inodeOf(path), theirInode) << "round " << round;
        EXPECT_EQ(contentsOf(path), QStringLiteral("DIS1x7")) << "round " << round;
        EXPECT_TRUE(othersBeside(path).isEmpty()) << othersBeside(path).join(u' ').toStdString();
    }
}

// What another program may do in the last moment of a save, after the save's last look at the file
// and before its copy takes the name: rename its own problem over the name, rewrite the file in
// place, or delete it. A plain rename at that point would put the copy over the other program's
// file, or bring back a deleted one, and say "saved". The save exchanges the two names in one step
// and looks at what it displaced: the other program's file stays under the name (or the name stays
// free), the save is refused with the real cause and keeps the edits, and no copy is left.
TEST(SaveIdentity, AChangeInTheSavesLastMomentIsKeptAndTheSaveRefused)
{
    struct Case
    {
        const char *what;
        std::function<bool(const QString &path, const QString &theirs)> act;
        QString contents; // what the name holds afterwards ("" when nothing)
        QString reason;
    };
    const QList<Case> cases = {
        {"renamed over",
         [](const QString &path, const QString &theirs) {
             return ::rename(native(theirs).constData(), native(path).constData()) == 0;
         },
         QStringLiteral("DIS1x7"), kChangedText},
        {"rewritten in place",
         [](const QString &path, const QString &theirs) {
             QFile in(theirs), out(path);
             const QByteArray bytes = in.open(QIODevice::ReadOnly) ? in.readAll() : QByteArray();
             return !bytes.isEmpty() && out.open(QIODevice::WriteOnly | QIODevice::Truncate)
                    && out.write(bytes) == bytes.size() && out.flush();
         },
         QStringLiteral("DIS1x7"), kChangedText},
        {"deleted",
         [](const QString &path, const QString &) { return ::unlink(native(path).constData()) == 0; }, QString(),
         QStringLiteral("açtıktan sonra silinmiş")},
    };
    test::ProblemEnvironment env;
    const QString path = env.path("SON.VKD");
    const QString theirs = env.path("DIS.VKD");
    for (const Case &c : cases) {
        ASSERT_TRUE(writeProblem(path, 5, QStringLiteral("YM")));
        ASSERT_TRUE(writeProblem(theirs, 7, QStringLiteral("DIS")));
        bool acted = false;
        ASSERT_TRUE(loadWith<LateTable>(path, [&] { acted = c.act(path, theirs); }));
        setProblem(9, QStringLiteral("BIZ"));
        QString why;
        const bool saved = PROBDBFUPDATE(&why);
        EXPECT_TRUE(acted) << c.what;
        EXPECT_FALSE(saved) << c.what << ": the save said saved";
        EXPECT_TRUE(why.contains(c.reason)) << c.what << ": " << why.toStdString();
        EXPECT_TRUE(allDirty(openProblem())) << c.what;
        openProblem().reset();
        if (c.contents.isEmpty())
            EXPECT_FALSE(QFileInfo::exists(path)) << c.what << ": the name holds " << contentsOf(path).toStdString();
        else
            EXPECT_EQ(contentsOf(path).toStdString(), c.contents.toStdString()) << c.what;
        EXPECT_TRUE(othersBeside(path, {QStringLiteral("DIS.VKD")}).isEmpty())
            << c.what << ": " << othersBeside(path, {QStringLiteral("DIS.VKD")}).join(u' ').toStdString();
        QFile::remove(theirs);
    }
}

// Another program writes its own problem and puts it under the name at a random moment 0-12 ms after
// this program loaded the file, while this program saves. The other program swaps the names in one
// step, so it can tell what it took the place of. Whatever the timing, its file is what the name
// holds at the end; a save that said "saved" is what the other program found under the name, and a
// refused save is one the other program came before.
TEST(SaveIdentity, ARandomlyTimedReplacementNeverLosesTheOtherFileNorAReportedSave)
{
    test::ProblemEnvironment env;
    test::ScriptedMessages messages;
    const QString path = env.path("YARIS.VKD");
    const QString theirs = env.path("DIS.tmp");
    const QString model = env.path("MODEL.VKD");
    ASSERT_TRUE(writeProblem(path, 5, QStringLiteral("YM")));
    ASSERT_TRUE(writeProblem(model, 7, QStringLiteral("DIS")));
    const QByteArray theirBytes = test::fileBytes(model);
    ASSERT_TRUE(QFile::remove(model));
    Pipe go, report;
    // The other program: on each request it waits the given time, writes its file whole and puts it
    // under the name with an exchange of the two names; it answers with its file's inode and what it
    // found under the name.
    const int other = test::startChild([&] {
        ::close(go.out()); // only the test writes requests: their end is the test's end
        for (;;) {
            unsigned char delay = 0;
            if (::read(go.in(), &delay, 1) != 1)
                return true;
            ::usleep(useconds_t(delay) * 100);
            QFile f(theirs);
            if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate) || f.write(theirBytes) != theirBytes.size())
                return false;
            f.close();
            const quint64 inode = inodeOf(theirs);
            if (::renameat2(AT_FDCWD, native(theirs).constData(), AT_FDCWD, native(path).constData(), RENAME_EXCHANGE) != 0)
                return false;
            const QByteArray found = contentsOf(theirs).toUtf8().leftJustified(16, ' ', true);
            QFile::remove(theirs);
            if (::write(report.out(), &inode, sizeof inode) != sizeof inode || ::write(report.out(), found.constData(), 16) != 16)
                return false;
        }
    });
    std::mt19937 random(40);
    int refused = 0;
    int saved = 0;
    QStringList faults;
    for (int round = 0; round < 200; ++round) {
        if (!loadProblem(path)) {
            faults << QStringLiteral("round %1: the file does not load").arg(round);
            break;
        }
        const unsigned char delay = static_cast<unsigned char>(random() % 121); // 0..12 ms
        send(go.out(), char(delay));
        setProblem(85, QStringLiteral("BIZ"));
        QString why;
        const bool said = PROBDBFUPDATE(&why);
        quint64 inode = 0;
        char found[17] = {};
        if (::read(report.in(), &inode, sizeof inode) != sizeof inode || ::read(report.in(), found, 16) != 16) {
            faults << QStringLiteral("round %1: the other program stopped").arg(round);
            break;
        }
        const QString displaced = QString::fromUtf8(found).trimmed();
        openProblem().reset();
        if (inodeOf(path) != inode || contentsOf(path) != QStringLiteral("DIS1x7"))
            faults << QStringLiteral("round %1: the other program's file is gone (the name holds %2)").arg(round).arg(contentsOf(path));
        if (said && displaced != QStringLiteral("BIZ1x85"))
            faults << QStringLiteral("round %1: the save said saved, but the name held %2").arg(round).arg(displaced);
        if (!said && (displaced == QStringLiteral("BIZ1x85") || !why.contains(kChangedText)))
            faults << QStringLiteral("round %1: refused with \"%2\" although the name held %3").arg(round).arg(why, displaced);
        (said ? saved : refused)++;
    }
    ::close(go.out());
    go.fds[1] = -1;
    EXPECT_EQ(test::waitChild(other), 0);
    EXPECT_TRUE(faults.isEmpty()) << faults.size() << " faults; " << faults.mid(0, 5).join(u'\n').toStdString();
    EXPECT_TRUE(othersBeside(path).isEmpty()) << othersBeside(path).join(u' ').toStdString();
    std::fprintf(stderr, "%d saves went through, %d were refused\n", saved, refused);
}

// A second copy of this program: its save has written its copy and pauses. Meanwhile another program
// replaces the file, and a third saver loads that file and saves it. When the first save resumes, it
// must not take the name from the third saver's save, which said "saved".
TEST(SaveIdentity, APausedSaverDoesNotOverwriteAFileSavedMeanwhile)
{
    test::ProblemEnvironment env;
    const QString path = env.path("BEKLE.VKD");
    const QString theirs = env.path("DIS.VKD");
    ASSERT_TRUE(writeProblem(path, 5, QStringLiteral("YM")));
    ASSERT_TRUE(writeProblem(theirs, 7, QStringLiteral("DIS")));
    Pipe paused, resume;
    const int first = test::startChild([&] {
        if (!loadPausing(path, [&] { send(paused.out()) && receive(resume.in()); }))
            return false;
        setProblem(9, QStringLiteral("BIR"));
        QString why;
        const bool saved = PROBDBFUPDATE(&why);
        std::fprintf(stderr, "the paused saver: %s\n", saved ? "saved" : qPrintable(why));
        return !saved && why.contains(kChangedText) && allDirty(openProblem());
    });
    ASSERT_EQ(receive(paused.in()), 'x');
    ASSERT_EQ(::rename(native(theirs).constData(), native(path).constData()), 0);
    const int second = test::runInChild([&] {
        if (!loadProblem(path) || openProblem().AYMADLARI.value(0) != QStringLiteral("DIS1"))
            return false;
        setProblem(11, QStringLiteral("IKI"));
        return PROBDBFUPDATE();
    });
    EXPECT_EQ(second, 0) << "the second saver";
    ASSERT_TRUE(send(resume.out()));
    EXPECT_EQ(test::waitChild(first), 0) << "the paused saver";
    EXPECT_EQ(contentsOf(path), QStringLiteral("IKI1x11"));
    EXPECT_TRUE(othersBeside(path).isEmpty()) << othersBeside(path).join(u' ').toStdString();
}

// Another program rewrites the file in place and puts its modification time back (cp -p, touch -r);
// size, inode and modification time are as this program read them, but the change time is not.
TEST(SaveIdentity, AnInPlaceRewriteThatKeepsTheModificationTimeIsNoticed)
{
    const QString cp = QStandardPaths::findExecutable(QStringLiteral("cp"));
    const QString touch = QStandardPaths::findExecutable(QStringLiteral("touch"));
    if (cp.isEmpty() || touch.isEmpty())
        GTEST_SKIP() << "cp and touch are needed";
    auto run = [](const QString &program, const QStringList &args) { return QProcess::execute(program, args) == 0; };
    const struct
    {
        const char *what;
        std::function<bool(const QString &file, const QString &other, const QString &reference)> rewrite;
    } cases[] = {
        {"cp -p from a file given the same times",
         [&](const QString &file, const QString &other, const QString &) {
             return run(touch, {QStringLiteral("-r"), file, other}) && run(cp, {QStringLiteral("-p"), other, file});
         }},
        {"written in place, then touch -r from a file that kept the times",
         [&](const QString &file, const QString &other, const QString &reference) {
             if (!run(touch, {QStringLiteral("-r"), file, reference}))
                 return false;
             QFile f(file);
             const QByteArray bytes = test::fileBytes(other);
             if (!f.open(QIODevice::ReadWrite) || f.write(bytes) != bytes.size())
                 return false;
             f.close();
             return run(touch, {QStringLiteral("-r"), reference, file});
         }},
    };
    for (const auto &c : cases) {
        test::ProblemEnvironment env;
        const QString path = env.path("YERINDE.VKD");
        const QString other = env.path("DIGER.VKD");
        const QString reference = env.path("ZAMAN");
        ASSERT_TRUE(writeProblem(path, 5, QStringLiteral("YM")));
        ASSERT_TRUE(writeProblem(other, 5, QStringLiteral("XY")));
        ASSERT_TRUE(QFile(reference).open(QIODevice::WriteOnly));
        ASSERT_TRUE(loadProblem(path));
        struct stat before = {};
        ASSERT_EQ(::stat(native(path).constData(), &before), 0);
        ::usleep(10000);
        ASSERT_TRUE(c.rewrite(path, other, reference)) << c.what;
        struct stat after = {};
        ASSERT_EQ(::stat(native(path).constData(), &after), 0);
        ASSERT_EQ(after.st_ino, before.st_ino) << c.what << ": not in place";
        ASSERT_EQ(after.st_size, before.st_size) << c.what;
        ASSERT_EQ(after.st_mtim.tv_sec, before.st_mtim.tv_sec) << c.what;
        ASSERT_EQ(after.st_mtim.tv_nsec, before.st_mtim.tv_nsec) << c.what;
        const QByteArray rewritten = checksum(path);

        changeOnePrice(QStringLiteral("99.000"));
        QString why;
        EXPECT_FALSE(PROBDBFUPDATE(&why)) << c.what << ": the rewrite was overwritten";
        EXPECT_TRUE(why.contains(kChangedText)) << c.what << ": " << why.toStdString();
        EXPECT_TRUE(openProblem().LYMDEG) << c.what;
        openProblem().reset();
        EXPECT_EQ(checksum(path), rewritten) << c.what;
        EXPECT_EQ(contentsOf(path), QStringLiteral("XY1x5")) << c.what;
    }
}

// A file deleted, or moved away with its folder or alone, since it was opened is named as such, not
// as changed by another program; nothing is written anywhere, and the save command offers to keep
// the edits in another file.
TEST(SaveIdentity, ADeletedOrMovedFileIsToldAsSuch)
{
    const struct
    {
        const char *what;
        std::function<bool(const QString &folder, const QString &file)> act;
        const char *text; // %1 the file's name, %2 its folder
    } cases[] = {
        {"the file was deleted", [](const QString &, const QString &file) { return QFile::remove(file); },
         "%1 dosyası, bu program açtıktan sonra silinmiş; değişiklikleriniz kaydedilmedi."},
        {"the file was renamed",
         [](const QString &folder, const QString &file) { return QFile::rename(file, folder + QStringLiteral("/YENIAD.VKD")); },
         "%1 dosyası, bu program açtıktan sonra taşınmış ya da adı değiştirilmiş; değişiklikleriniz kaydedilmedi."},
        {"its folder was renamed",
         [](const QString &folder, const QString &) { return QDir().rename(folder, folder + QStringLiteral("_ESKI")); },
         "%1 dosyasının bulunduğu %2 klasörü, bu program dosyayı açtıktan sonra taşınmış, adı değiştirilmiş ya da "
         "silinmiş; değişiklikleriniz kaydedilmedi."},
    };
    for (const auto &c : cases) {
        test::ProblemEnvironment env;
        test::ScriptedMessages messages;
        const QString folder = env.path("KLASOR");
        ASSERT_TRUE(QDir().mkpath(folder));
        const QString path = folder + QStringLiteral("/KAYIP.VKD");
        ASSERT_TRUE(writeProblem(path, 5, QStringLiteral("YM")));
        ASSERT_TRUE(loadProblem(path));
        ASSERT_TRUE(c.act(folder, path)) << c.what;
        changeOnePrice(QStringLiteral("42.000"));
        QString why;
        EXPECT_FALSE(PROBDBFUPDATE(&why)) << c.what;
        const QString expected = QString::fromUtf8(c.text)
                                     .replace(QStringLiteral("%1"), QStringLiteral("KAYIP.VKD"))
                                     .replace(QStringLiteral("%2"), folder);
        EXPECT_EQ(why, expected) << c.what;
        EXPECT_FALSE(why.contains(kChangedText)) << c.what;
        EXPECT_TRUE(problemFileChangedElsewhere()) << c.what;
        EXPECT_TRUE(openProblem().LYMDEG) << c.what;
        EXPECT_FALSE(QFileInfo::exists(path)) << c.what << ": the save put a file where there was none";
        openProblem().reset();
    }
}

namespace {

bool haveTool(const char *name)
{
    return !QStandardPaths::findExecutable(QString::fromLatin1(name)).isEmpty();
}

QString aclOf(const QString &path)
{
    QProcess p;
    p.start(QStringLiteral("getfacl"), {QStringLiteral("-cp"), path});
    p.waitForFinished();
    return QString::fromUtf8(p.readAllStandardOutput());
}

QByteArray attributeOf(const QString &path, const char *name)
{
    char value[256] = {};
    const ssize_t n = ::getxattr(native(path).constData(), name, value, sizeof value);
    return n < 0 ? QByteArray() : QByteArray(value, int(n));
}

// Whether the user "nobody" may open the file for reading and writing.
bool nobodyMayWrite(const QString &path)
{
    return test::runInChild([&] {
               if (::setgroups(0, nullptr) != 0 || ::setgid(65534) != 0 || ::setuid(65534) != 0)
                   return false;
               const int fd = ::open(native(path).constData(), O_RDWR | O_CLOEXEC);
               if (fd < 0)
                   return false;
               ::close(fd);
               return true;
           })
           == 0;
}

} // namespace

// A file shared with one more user through its access-control list (setfacl -m u:nobody:rw) stays
// shared after a save, and keeps its other extended attributes; a folder's default list does not give
// the saved file a list it did not have.
TEST(SaveRights, TheAccessControlListAndExtendedAttributesAreKept)
{
    if (::geteuid() != 0)
        GTEST_SKIP() << "the test acts as the user nobody, which needs the superuser";
    if (!haveTool("setfacl") || !haveTool("getfacl"))
        GTEST_SKIP() << "setfacl and getfacl (the acl package) are needed";
    test::ProblemEnvironment env;
    const QString folder = env.path("PAYLASIM");
    ASSERT_TRUE(QDir().mkpath(folder));
    ASSERT_EQ(::chmod(native(QFileInfo(folder).absolutePath()).constData(), 0755), 0);
    ASSERT_EQ(::chmod(native(folder).constData(), 0755), 0);
    const QString shared = folder + QStringLiteral("/PAY.VKD");
    const QString plain = folder + QStringLiteral("/DUZ.VKD");
    ASSERT_TRUE(writeProblem(shared, 3, QStringLiteral("YM")));
    ASSERT_TRUE(writeProblem(plain, 3, QStringLiteral("YM")));
    ASSERT_EQ(::chmod(native(shared).constData(), 0640), 0);
    ASSERT_EQ(QProcess::execute(QStringLiteral("setfacl"), {QStringLiteral("-m"), QStringLiteral("u:nobody:rw"), shared}), 0);
    const QByteArray note = QStringLiteral("paylaşılan problem").toUtf8();
    ASSERT_EQ(::setxattr(native(shared).constData(), "user.vexo.not", note.constData(), size_t(note.size()), 0), 0);
    ASSERT_EQ(QProcess::execute(QStringLiteral("setfacl"), {QStringLiteral("-d"), QStringLiteral("-m"), QStringLiteral("u:nobody:r"), folder}), 0);
    const QString acl = aclOf(shared);
    ASSERT_TRUE(acl.contains(QStringLiteral("user:nobody:rw-"))) << acl.toStdString();
    ASSERT_TRUE(nobodyMayWrite(shared));
    struct stat before = {};
    ASSERT_EQ(::stat(native(shared).constData(), &before), 0);

    for (const QString &path : {shared, plain}) {
        ASSERT_TRUE(loadProblem(path));
        changeOnePrice(QStringLiteral("12.000"));
        QString why;
        ASSERT_TRUE(PROBDBFUPDATE(&why)) << why.toStdString();
        openProblem().reset();
    }
    EXPECT_EQ(aclOf(shared), acl);
    EXPECT_TRUE(nobodyMayWrite(shared)) << "the user the file was shared with lost it";
    EXPECT_EQ(attributeOf(shared, "user.vexo.not"), note);
    struct stat after = {};
    ASSERT_EQ(::stat(native(shared).constData(), &after), 0);
    EXPECT_EQ(after.st_mode & 07777, before.st_mode & 07777);
    EXPECT_FALSE(aclOf(plain).contains(QStringLiteral("nobody"))) << aclOf(plain).toStdString();
    ASSERT_TRUE(loadProblem(shared));
    EXPECT_EQ(openProblem().AYMLIST[0][YMPRICE], num("12.000"));
    openProblem().reset();
}

// An attribute the saving user may read but not set (only the superuser sets security.* attributes)
// is left to the system, as copying programs do: the save goes through, keeps the attributes the user
// may set, and the file's owner and mode.
TEST(SaveRights, AnAttributeAnOrdinaryUserCannotSetDoesNotStopTheSave)
{
    if (::geteuid() != 0)
        GTEST_SKIP() << "the test acts as the user nobody, which needs the superuser";
    test::ProblemEnvironment env;
    const QString folder = env.path("KORUMALI");
    ASSERT_TRUE(QDir().mkpath(folder));
    ASSERT_EQ(::chmod(native(QFileInfo(folder).absolutePath()).constData(), 0755), 0);
    ASSERT_EQ(::chmod(native(folder).constData(), 0777), 0);
    const QString path = folder + QStringLiteral("/ETIKET.VKD");
    ASSERT_TRUE(writeProblem(path, 3, QStringLiteral("YM")));
    ASSERT_EQ(::chown(native(path).constData(), 65534, 65534), 0);
    ASSERT_EQ(::chmod(native(path).constData(), 0600), 0);
    if (::setxattr(native(path).constData(), "security.vexo", "x", 1, 0) != 0)
        GTEST_SKIP() << "this file system takes no security.* attribute";
    ASSERT_EQ(::setxattr(native(path).constData(), "user.vexo.not", "kalsin", 6, 0), 0);
    const int status = test::runInChild([&] {
        if (::setgroups(0, nullptr) != 0 || ::setgid(65534) != 0 || ::setuid(65534) != 0 || !loadProblem(path))
            return false;
        changeOnePrice(QStringLiteral("55.000"));
        QString why;
        const bool saved = PROBDBFUPDATE(&why);
        std::fprintf(stderr, "%s\n", qPrintable(why));
        return saved;
    });
    EXPECT_EQ(status, 0);
    EXPECT_EQ(attributeOf(path, "user.vexo.not"), QByteArray("kalsin"));
    struct stat st = {};
    ASSERT_EQ(::stat(native(path).constData(), &st), 0);
    EXPECT_EQ(st.st_mode & 07777, 0600u);
    EXPECT_EQ(st.st_uid, 65534u);
    EXPECT_TRUE(othersBeside(path).isEmpty()) << othersBeside(path).join(u' ').toStdString();
    ASSERT_TRUE(loadProblem(path));
    EXPECT_EQ(openProblem().AYMLIST[0][YMPRICE], num("55.000"));
    openProblem().reset();
}

namespace {

constexpr int kNoModelessDisk = 77;

// Runs the work in a child with a folder mounted through FUSE (bindfs over a folder of its own, in a
// mount namespace of its own) that shows every file with mode 0644, refuses every change of mode and
// owner and cannot exchange two names, as FAT through FUSE and some network mounts do; 77 when the
// machine has no bindfs or allows no such mount.
// `options` are bindfs's; by default every file shows 0644.
int runOnModelessDisk(const std::function<bool(const QString &folder)> &work,
                      const QList<QByteArray> &options = {"--perms=0644,a+X", "--chmod-deny", "--chown-deny"})
{
    const QString bindfs = QStandardPaths::findExecutable(QStringLiteral("bindfs"));
    if (bindfs.isEmpty() || !QFileInfo::exists(QStringLiteral("/dev/fuse")))
        return kNoModelessDisk;
    return test::runInChild([&] {
        char folder[] = "/tmp/vexo-modeless-XXXXXX";
        if (::unshare(CLONE_NEWNS) != 0 || ::mount("none", "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0
            || !::mkdtemp(folder))
            ::_exit(kNoModelessDisk);
        const QString root = QString::fromLocal8Bit(folder);
        const QString source = root + QStringLiteral("/src");
        const QString mountPoint = root + QStringLiteral("/mnt");
        auto cleanUp = [&] { QDir(root).removeRecursively(); };
        if (!QDir().mkpath(source) || !QDir().mkpath(mountPoint)) {
            cleanUp();
            ::_exit(kNoModelessDisk);
        }
        const QByteArray program = native(bindfs), sourceArg = native(source), mountArg = native(mountPoint);
        const pid_t daemon = ::fork();
        if (daemon == 0) {
            // bindfs needs a working folder that exists; the test's own may be a removed temporary one.
            if (::chdir("/") != 0)
                ::_exit(127);
            const int devNull = ::open("/dev/null", O_RDWR);
            ::dup2(devNull, 1);
            ::dup2(devNull, 2);
            QList<char *> argv = {const_cast<char *>(program.constData()), const_cast<char *>("-f")};
            for (const QByteArray &option : options)
                argv << const_cast<char *>(option.constData());
            argv << const_cast<char *>(sourceArg.constData()) << const_cast<char *>(mountArg.constData()) << nullptr;
            ::execv(program.constData(), argv.data());
            ::_exit(127);
        }
        constexpr long kFuseMagic = 0x65735546;
        bool mounted = false;
        for (int i = 0; i < 500 && !mounted; ++i) {
            struct statfs fs = {};
            mounted = ::statfs(mountArg.constData(), &fs) == 0 && fs.f_type == kFuseMagic;
            if (!mounted)
                ::usleep(10000);
        }
        if (!mounted) {
            ::kill(daemon, SIGKILL);
            ::waitpid(daemon, nullptr, 0);
            cleanUp();
            ::_exit(kNoModelessDisk);
        }
        const bool ok = work(mountPoint);
        openProblem().reset();
        ::umount2(mountArg.constData(), MNT_DETACH);
        ::kill(daemon, SIGTERM);
        ::waitpid(daemon, nullptr, 0);
        cleanUp();
        return ok;
    });
}

} // namespace

// On a file system that refuses every change of mode and owner and cannot exchange two names (FAT
// through FUSE and some network mounts; here bindfs shows each file with the same mode): a save whose
// copy already has the file's mode and owner goes through, and the last look before the plain rename
// still refuses when another program put its file under the name while the copy was written.
TEST(SaveRights, AFileSystemWithoutModesOrExchangeStillSavesAndRefusesReplacedFiles)
{
    const int status = runOnModelessDisk([](const QString &folder) {
        test::ScriptedMessages messages;
        bool ok = true;
        auto check = [&](bool condition, const QString &what) {
            if (!condition) {
                std::fprintf(stderr, "no modes: %s\n", qPrintable(what));
                for (const MessageRequest &m : messages.shown())
                    std::fprintf(stderr, "no modes: box: %s\n", qPrintable(m.text));
                messages.clear();
                ok = false;
            }
        };
        const QString path = folder + QStringLiteral("/MODSUZ.VKD");
        const QString theirs = folder + QStringLiteral("/DIS.VKD");
        check(writeProblem(path, 5, QStringLiteral("YM")), QStringLiteral("the file is written"));
        check(loadProblem(path), QStringLiteral("the file loads"));
        changeOnePrice(QStringLiteral("33.000"));
        QString why;
        check(PROBDBFUPDATE(&why), QStringLiteral("the save: ") + why);
        check(loadProblem(path) && openProblem().AYMLIST.value(0).value(YMPRICE) == num("33.000"), QStringLiteral("the saved price"));

        check(writeProblem(theirs, 7, QStringLiteral("DIS")), QStringLiteral("the other file is written"));
        check(loadPausing(path, [&] { ::rename(native(theirs).constData(), native(path).constData()); }),
              QStringLiteral("the file loads again"));
        setProblem(9, QStringLiteral("BIZ"));
        why.clear();
        check(!PROBDBFUPDATE(&why), QStringLiteral("the save over the other program's file was not refused"));
        check(why.contains(kChangedText), QStringLiteral("the refusal: ") + why);
        openProblem().reset();
        check(contentsOf(path) == QStringLiteral("DIS1x7"), QStringLiteral("the name holds ") + contentsOf(path));
        check(othersBeside(path).isEmpty(), QStringLiteral("left beside: ") + othersBeside(path).join(u' '));
        return ok;
    });
    if (status == kNoModelessDisk)
        GTEST_SKIP() << "no FUSE file system without modes here (bindfs and /dev/fuse are needed)";
    EXPECT_EQ(status, 0);
}

// What other programs do to a file without touching its bytes: a sync client or Samba sets or removes
// an extended attribute, a user sets the mode or the owner it already has or shares the file through
// its access-control list, a backup tool makes a hard link, a scanner reads the file and puts the
// access time back, a program rewrites the same bytes in place. Each of these sets the change time;
// none of them may refuse the user's next save. A save after each, 30 times in a row: every one
// goes through and keeps what the other program set; an in-place change of the bytes between saves is
// refused every time, and the other program's bytes stay.
TEST(SaveIdentity, ChangesThatLeaveTheBytesAloneDoNotRefuseTheSave)
{
    const bool acl = haveTool("setfacl");
    const struct
    {
        const char *what;
        std::function<bool(const QString &path, int round)> act;
    } cases[] = {
        {"an extended attribute set",
         [](const QString &path, int round) {
             const QByteArray value = QByteArray::number(round);
             return ::setxattr(native(path).constData(), "user.sync.state", value.constData(), size_t(value.size()), 0) == 0;
         }},
        {"an extended attribute removed",
         [](const QString &path, int round) {
             const char *name = round % 2 ? "user.DOSATTRIB" : "user.other";
             return ::setxattr(native(path).constData(), name, "1", 1, 0) == 0
                    && ::removexattr(native(path).constData(), name) == 0;
         }},
        {"the same mode set again",
         [](const QString &path, int) {
             struct stat st = {};
             return ::stat(native(path).constData(), &st) == 0 && ::chmod(native(path).constData(), st.st_mode & 07777) == 0;
         }},
        {"the same owner set again",
         [](const QString &path, int) {
             struct stat st = {};
             return ::stat(native(path).constData(), &st) == 0 && ::chown(native(path).constData(), st.st_uid, st.st_gid) == 0;
         }},
        {"a hard link made",
         [](const QString &path, int round) {
             return ::link(native(path).constData(), native(path + QStringLiteral(".yedek%1").arg(round)).constData()) == 0;
         }},
        {"the access time changed and put back",
         [](const QString &path, int) {
             struct stat st = {};
             if (::stat(native(path).constData(), &st) != 0)
                 return false;
             const struct timespec later[2] = {{st.st_atim.tv_sec + 3600, 0}, {0, UTIME_OMIT}};
             const struct timespec back[2] = {st.st_atim, {0, UTIME_OMIT}};
             return ::utimensat(AT_FDCWD, native(path).constData(), later, 0) == 0
                    && ::utimensat(AT_FDCWD, native(path).constData(), back, 0) == 0;
         }},
        {"the same bytes rewritten in place",
         [](const QString &path, int) {
             const QByteArray bytes = test::fileBytes(path);
             QFile f(path);
             return !bytes.isEmpty() && f.open(QIODevice::ReadWrite) && f.write(bytes) == bytes.size() && f.flush();
         }},
        {"shared through the access-control list",
         [acl](const QString &path, int round) {
             return !acl || QProcess::execute(QStringLiteral("setfacl"),
                                              {QStringLiteral("-m"), QStringLiteral("u:%1:r").arg(round % 2 ? "nobody" : "daemon"), path})
                                == 0;
         }},
    };
    for (const auto &c : cases) {
        test::ProblemEnvironment env;
        const QString path = env.path("ESITLE.VKD");
        ASSERT_TRUE(writeProblem(path, 5, QStringLiteral("YM")));
        ASSERT_TRUE(loadProblem(path));
        int refused = 0;
        QString firstReason;
        for (int round = 0; round < 30; ++round) {
            ::usleep(2000); // lets the change time move on coarse clocks
            ASSERT_TRUE(c.act(path, round)) << c.what << ", round " << round;
            changeOnePrice(QString::number(20 + round) + QStringLiteral(".000"));
            QString why;
            if (!PROBDBFUPDATE(&why)) {
                if (refused++ == 0)
                    firstReason = why;
                ASSERT_TRUE(loadProblem(path)) << c.what;
            }
        }
        EXPECT_EQ(refused, 0) << c.what << ": " << firstReason.toStdString();
        openProblem().reset();
        ASSERT_TRUE(loadProblem(path));
        EXPECT_EQ(openProblem().AYMLIST[0][YMPRICE], num("49.000")) << c.what;
        openProblem().reset();
    }
    // The attribute, the mode and the list that the other program set are what the saved file has.
    test::ProblemEnvironment env;
    const QString path = env.path("KORU.VKD");
    ASSERT_TRUE(writeProblem(path, 5, QStringLiteral("YM")));
    ASSERT_TRUE(loadProblem(path));
    ASSERT_EQ(::setxattr(native(path).constData(), "user.sync.state", "synced", 6, 0), 0);
    ASSERT_EQ(::chmod(native(path).constData(), 0640), 0);
    changeOnePrice(QStringLiteral("77.000"));
    QString why;
    EXPECT_TRUE(PROBDBFUPDATE(&why)) << why.toStdString();
    openProblem().reset();
    EXPECT_EQ(attributeOf(path, "user.sync.state"), QByteArray("synced"));
    struct stat st = {};
    ASSERT_EQ(::stat(native(path).constData(), &st), 0);
    EXPECT_EQ(st.st_mode & 07777, 0640u);
}

// Another program changes the bytes in place between two saves, keeping the size (and, in half of
// the rounds, putting the modification time back): every save is refused and the other program's
// bytes stay, 30 times in a row.
TEST(SaveIdentity, AChangeOfTheBytesBetweenSavesIsRefusedEveryTime)
{
    test::ProblemEnvironment env;
    const QString path = env.path("DEGIS.VKD");
    const QString other = env.path("DIGER.VKD");
    ASSERT_TRUE(writeProblem(other, 5, QStringLiteral("XY")));
    const QByteArray theirs = test::fileBytes(other);
    int saved = 0;
    for (int round = 0; round < 30; ++round) {
        ASSERT_TRUE(writeProblem(path, 5, QStringLiteral("YM")));
        ASSERT_TRUE(loadProblem(path));
        ASSERT_EQ(theirs.size(), QFileInfo(path).size());
        struct stat before = {};
        ASSERT_EQ(::stat(native(path).constData(), &before), 0);
        {
            QFile f(path);
            ASSERT_TRUE(f.open(QIODevice::ReadWrite));
            ASSERT_EQ(f.write(theirs), theirs.size());
        }
        if (round % 2) {
            const struct timespec times[2] = {before.st_atim, before.st_mtim};
            ASSERT_EQ(::utimensat(AT_FDCWD, native(path).constData(), times, 0), 0);
        }
        changeOnePrice(QStringLiteral("88.000"));
        QString why;
        if (PROBDBFUPDATE(&why))
            ++saved;
        else
            EXPECT_TRUE(why.contains(kChangedText)) << why.toStdString();
        openProblem().reset();
        EXPECT_EQ(test::fileBytes(path), theirs) << "round " << round;
    }
    EXPECT_EQ(saved, 0);
}

namespace {

// Saves the open problem as `target` (an existing file: the overwrite question is answered yes);
// empty when that went through, otherwise the boxes shown.
QString saveAsOver(const QString &target)
{
    test::ScriptedMessages messages;
    test::ScriptedFileDialogs dialogs;
    test::QuietHost host;
    dialogs.answer(target);
    messages.answer(MessageAnswer::Yes);
    const bool saved = FKAYDET(host);
    QStringList boxes;
    for (const MessageRequest &m : messages.shown())
        boxes << m.text;
    if (saved && host.status == QStringLiteral("Dosya başarıyla farklı kaydedildi..."))
        return {};
    return QStringLiteral("not saved: ") + host.status + u'|' + boxes.join(u'|');
}

struct Rights
{
    mode_t mode = 0;
    uid_t uid = 0;
    gid_t gid = 0;
    QString acl;
    QByteArray attribute;
    bool operator==(const Rights &) const = default;
};

Rights rightsOf(const QString &path)
{
    struct stat st = {};
    if (::stat(native(path).constData(), &st) != 0)
        return {};
    return {mode_t(st.st_mode & 07777), st.st_uid, st.st_gid, aclOf(path), attributeOf(path, "user.vexo.not")};
}

} // namespace

// "Farklı Kaydet" onto another user's private file, and onto one shared through its access-control
// list and marked with an attribute: the file replaced keeps its owner, group, mode, list and
// attribute. Before, it became the saving user's own with the mode of a new file (0644 under the
// usual umask): a private file turned readable by everybody.
TEST(SaveRights, SaveAsOverAnExistingFileKeepsWhoMayReadIt)
{
    if (::geteuid() != 0)
        GTEST_SKIP() << "the test gives the file to the user nobody, which needs the superuser";
    if (!haveTool("setfacl") || !haveTool("getfacl"))
        GTEST_SKIP() << "setfacl and getfacl (the acl package) are needed";
    const struct
    {
        const char *what;
        mode_t mode;
        QStringList acl; // setfacl -m entries
    } cases[] = {
        {"a private file of another user", 0600, {}},
        {"a file shared through its list", 0640, {QStringLiteral("u:daemon:rw")}},
    };
    for (const auto &c : cases) {
        test::ProblemEnvironment env;
        const QString open = env.path("ACIK.VKD");
        const QString target = env.path("HEDEF.VKD");
        ASSERT_TRUE(writeProblem(open, 5, QStringLiteral("YM")));
        ASSERT_TRUE(writeProblem(target, 3, QStringLiteral("ESKI")));
        ASSERT_EQ(::chown(native(target).constData(), 65534, 65534), 0);
        ASSERT_EQ(::chmod(native(target).constData(), c.mode), 0);
        ASSERT_EQ(::setxattr(native(target).constData(), "user.vexo.not", "gizli", 5, 0), 0);
        for (const QString &entry : c.acl)
            ASSERT_EQ(QProcess::execute(QStringLiteral("setfacl"), {QStringLiteral("-m"), entry, target}), 0);
        const Rights before = rightsOf(target);
        ASSERT_TRUE(loadProblem(open));
        setProblem(9, QStringLiteral("BIZ"));
        const QString fault = saveAsOver(target);
        EXPECT_TRUE(fault.isEmpty()) << c.what << ": " << fault.toStdString();
        openProblem().reset();
        EXPECT_EQ(contentsOf(target), QStringLiteral("BIZ1x9")) << c.what;
        const Rights after = rightsOf(target);
        EXPECT_EQ(after.mode, before.mode) << c.what << std::oct << ": " << after.mode;
        EXPECT_EQ(after.uid, before.uid) << c.what;
        EXPECT_EQ(after.gid, before.gid) << c.what;
        EXPECT_EQ(after.acl, before.acl) << c.what;
        EXPECT_EQ(after.attribute, before.attribute) << c.what;
        EXPECT_TRUE(othersBeside(target, {QStringLiteral("ACIK.VKD")}).isEmpty()) << c.what;
    }
}

// A mount that refuses every change of mode but shows each file with its own mode (bindfs
// --chmod-deny): a 0600 and a 0644 file are saved, and saved as over, keeping their modes. Before,
// the copy was made with 0600 and its mode set afterwards, which the mount refused: nothing but a
// 0600 file could be saved there.
TEST(SaveRights, AMountThatRefusesModeChangesSavesFilesOfEitherMode)
{
    const int status = runOnModelessDisk(
        [](const QString &folder) {
            bool ok = true;
            auto check = [&](bool condition, const QString &what) {
                if (!condition) {
                    std::fprintf(stderr, "own modes: %s\n", qPrintable(what));
                    ok = false;
                }
            };
            auto modeOf = [](const QString &path) {
                struct stat st = {};
                return ::stat(native(path).constData(), &st) == 0 ? mode_t(st.st_mode & 07777) : mode_t(07777);
            };
            for (const mode_t mode : {mode_t(0600), mode_t(0644)}) {
                const QString octal = QString::number(mode, 8);
                const QString path = folder + QStringLiteral("/KENDI%1.VKD").arg(octal);
                const QString target = folder + QStringLiteral("/HEDEF%1.VKD").arg(octal);
                const mode_t previous = ::umask(~mode & 0777);
                check(writeProblem(path, 5, QStringLiteral("YM")) && writeProblem(target, 3, QStringLiteral("ESKI")),
                      QStringLiteral("the files are written"));
                ::umask(previous);
                check(modeOf(path) == mode && modeOf(target) == mode, QStringLiteral("the files are made with ") + octal);
                check(loadProblem(path), QStringLiteral("the file loads"));
                changeOnePrice(QStringLiteral("33.000"));
                QString why;
                check(PROBDBFUPDATE(&why), octal + QStringLiteral(": the save: ") + why);
                check(modeOf(path) == mode, octal + QStringLiteral(": the saved file's mode ") + QString::number(modeOf(path), 8));
                setProblem(9, QStringLiteral("BIZ"));
                const QString fault = saveAsOver(target);
                check(fault.isEmpty(), octal + QStringLiteral(": the save as: ") + fault);
                openProblem().reset();
                check(contentsOf(target) == QStringLiteral("BIZ1x9"), octal + QStringLiteral(": the target holds ") + contentsOf(target));
                check(modeOf(target) == mode, octal + QStringLiteral(": the target's mode ") + QString::number(modeOf(target), 8));
            }
            return ok;
        },
        {"--chmod-deny", "--chown-deny"});
    if (status == kNoModelessDisk)
        GTEST_SKIP() << "no FUSE file system refusing modes here (bindfs and /dev/fuse are needed)";
    EXPECT_EQ(status, 0);
}
