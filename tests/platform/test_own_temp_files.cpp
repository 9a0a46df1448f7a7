// The temporaries written beside a file while it is replaced: marked with the program's own name,
// held from creation, and swept only when they are the user's own unheld regular files. Other
// programs' and other people's files beside the target are never touched.
#include "child_process.h"
#include "file_bytes.h"
#include "foreign_files.h"
#include "platform/atomic_file.h"
#include "platform/own_temp_files.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <csignal>
#include <string>
#include <fcntl.h>
#include <random>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace vexo;

namespace {

std::string joined(const QStringList &names)
{
    return names.join(u' ').toStdString();
}

class OwnTempFiles : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_dir.isValid());
        target = path(QStringLiteral("BROILER.VKD"));
        write(target, "the problem");
    }

    QString path(const QString &name) const { return m_dir.filePath(name); }
    static void write(const QString &file, const QByteArray &bytes)
    {
        QFile f(file);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        ASSERT_EQ(f.write(bytes), bytes.size());
    }
    QStringList names() const
    {
        return QDir(m_dir.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                                            QDir::Name);
    }
    // The names beside the target that are our temporaries of it.
    QStringList temporaries() const
    {
        QStringList found;
        for (const QString &name : names()) {
            if (isOwnTempName(name, QStringLiteral("BROILER.VKD")))
                found << name;
        }
        return found;
    }

    QTemporaryDir m_dir;
    QString target;
};

TEST_F(OwnTempFiles, NamesCarryTheMarkerAndTheTargetsName)
{
    const struct
    {
        const char *name;
        bool ours;
    } cases[] = {
        {".BROILER.VKD.vexo-tmp-Ab12Cd", true},
        {"..BROILER.VKD.vexo-tmp-Ab12Cd.vexo-tmp-Zz09aa", true}, // a save into one of our temporaries
        {".BROILER.VKD.Ab12Cd", false},                          // rsync's
        {".BROILER.VKD.yedek1", false},
        {"BROILER.VKD.vexo-tmp-Ab12Cd", false},
        {".BROILER.VKD.vexo-tmp-Ab12C", false},
        {".BROILER.VKD.vexo-tmp-Ab12Cd7", false},
        {".BROILER.VKD.vexo-tmp-Ab-2Cd", false},
        {".BROILER.VKD.vexo-tmp-Ab12Çd", false},
        {".broiler.vkd.vexo-tmp-Ab12Cd", false},
        {".BASKA.VKD.vexo-tmp-Ab12Cd", false},
        {".X.BROILER.VKD.vexo-tmp-Ab12Cd", false},
        {"..BASKA.VKD.vexo-tmp-Ab12Cd.vexo-tmp-Zz09aa", false},
    };
    for (const auto &c : cases)
        EXPECT_EQ(isOwnTempName(QString::fromUtf8(c.name), QStringLiteral("BROILER.VKD")), c.ours) << c.name;
}

// A sweep removes our leftovers (also a leftover of a save into a leftover) and nothing else: not
// other programs' copies, not another user's, not one a writer holds, nothing that is no regular file.
TEST_F(OwnTempFiles, TheSweepRemovesOnlyTheUsersOwnUnheldTemporaries)
{
    test::ForeignFiles foreign(m_dir.path(), QStringLiteral("BROILER.VKD"));
    const QStringList leftovers = {QStringLiteral(".BROILER.VKD.vexo-tmp-Le12Ft"),
                                   QStringLiteral("..BROILER.VKD.vexo-tmp-Le12Ft.vexo-tmp-Ne5t3d")};
    for (const QString &name : leftovers)
        write(path(name), "left by a save that was killed");
    const QStringList before = names();

    EXPECT_EQ(sweepOwnTempFiles(target), 2);
    EXPECT_EQ(foreign.damage().toStdString(), "");
    QStringList expected = before;
    for (const QString &name : leftovers)
        expected.removeAll(name);
    EXPECT_EQ(joined(names()), joined(expected));
    EXPECT_EQ(test::readBytes(target), QByteArray("the problem"));
    if (!foreign.othersMade())
        std::printf("(not run as the superuser: no file of another user was made)\n");
}

// A temporary is held from the moment it has its name until it is renamed or removed: a sweep in
// another process leaves it; once its maker is gone (killed), the next sweep removes it.
TEST_F(OwnTempFiles, ATemporaryIsHeldFromCreationUntilItIsPlaced)
{
    for (const OwnTempFile::Hold hold : {OwnTempFile::Hold::Exclusive, OwnTempFile::Hold::Shared}) {
        OwnTempFile temp = OwnTempFile::create(target, hold);
        ASSERT_TRUE(temp.isOpen()) << temp.errorString().toStdString();
        EXPECT_EQ(joined(temporaries()), joined({QFileInfo(temp.path()).fileName()}));
        EXPECT_EQ(test::runInChild([&] { return sweepOwnTempFiles(target) == 0; }), 0);
        ASSERT_TRUE(QFileInfo::exists(temp.path()));
        ASSERT_TRUE(temp.write("new contents"));
        ASSERT_TRUE(temp.renameOver(target)) << temp.errorString().toStdString();
        EXPECT_EQ(test::readBytes(target), QByteArray("new contents"));
        EXPECT_EQ(joined(temporaries()), "");
        write(target, "the problem");
    }
    {
        const OwnTempFile dropped = OwnTempFile::create(target);
        ASSERT_TRUE(dropped.isOpen());
    }
    EXPECT_EQ(joined(temporaries()), "") << "a temporary not placed goes with its object";

    // A second name for the target's own file is held through the target's file.
    {
        const OwnTempFile kept = OwnTempFile::linkTo(target);
        ASSERT_TRUE(kept.isOpen()) << kept.errorString().toStdString();
        EXPECT_EQ(test::readBytes(kept.path()), QByteArray("the problem"));
        EXPECT_EQ(test::runInChild([&] { return sweepOwnTempFiles(target) == 0; }), 0);
        EXPECT_TRUE(QFileInfo::exists(kept.path()));
    }
    EXPECT_EQ(joined(temporaries()), "");
    EXPECT_EQ(test::readBytes(target), QByteArray("the problem"));

    // A maker that dies leaves its temporary, unheld: the next sweep (here: the next maker's) takes it.
    ASSERT_EQ(test::runInChild([&] {
        OwnTempFile temp = OwnTempFile::create(target);
        ::kill(::getpid(), SIGKILL);
        return temp.isOpen();
    }),
              -1);
    ASSERT_EQ(temporaries().size(), 1);
    const OwnTempFile next = OwnTempFile::create(target);
    EXPECT_EQ(joined(temporaries()), joined({QFileInfo(next.path()).fileName()}));
}

// Makers and sweepers of one target in several processes at once: no temporary is ever taken from
// its maker, whatever moment a sweep meets it in.
TEST_F(OwnTempFiles, SweepsNeverTakeATemporaryFromItsMaker)
{
    QList<int> children;
    for (int c = 0; c < 4; ++c) {
        children << test::startChild([&, c] {
            for (int i = 0; i < 300; ++i) {
                OwnTempFile temp = OwnTempFile::create(target);
                if (!temp.isOpen() || !temp.write(QByteArray::number(c * 1000 + i)))
                    return false;
                sweepOwnTempFiles(target);
                if (!temp.renameOver(target))
                    return false;
            }
            return true;
        });
    }
    for (const int pid : children)
        EXPECT_EQ(test::waitChild(pid), 0);
    EXPECT_EQ(joined(temporaries()), "");
}

// The whole-file writer: it replaces through a held temporary, keeps the file's permissions, writes
// the file a link names, and a writer that is killed leaves nothing that the next write does not
// remove; other programs' files beside it stay.
TEST_F(OwnTempFiles, TheWholeFileWriterKeepsToTheRules)
{
    const QString notes = path(QStringLiteral("NOTLAR.TXT"));
    write(notes, "old");
    ASSERT_EQ(::chmod(QFile::encodeName(notes).constData(), 0640), 0);
    ASSERT_TRUE(writeFileAtomically(notes, QByteArray("new")));
    EXPECT_EQ(test::readBytes(notes), QByteArray("new"));
    struct stat st = {};
    ASSERT_EQ(::stat(QFile::encodeName(notes).constData(), &st), 0);
    EXPECT_EQ(st.st_mode & 07777, 0640u);

    const QString link = path(QStringLiteral("BAG.TXT"));
    ASSERT_TRUE(QFile::link(notes, link));
    ASSERT_TRUE(writeFileAtomically(link, QByteArray("through the link")));
    EXPECT_TRUE(QFileInfo(link).isSymLink());
    EXPECT_EQ(test::readBytes(notes), QByteArray("through the link"));

    test::ForeignFiles foreign(m_dir.path(), QStringLiteral("NOTLAR.TXT"));
    const QByteArray big(4 << 20, 'x');
    std::mt19937 random(20260107);
    for (int round = 0; round < 12; ++round) {
        const int pid = test::startChild([&] {
            for (;;) {
                if (!writeFileAtomically(notes, big))
                    return false;
            }
        });
        ASSERT_GT(pid, 0);
        ::usleep(useconds_t(1000 + random() % 20000));
        ::kill(pid_t(pid), SIGKILL);
        EXPECT_EQ(test::waitChild(pid), -1);
    }
    ASSERT_TRUE(writeFileAtomically(notes, QByteArray("last")));
    EXPECT_EQ(test::readBytes(notes), QByteArray("last"));
    EXPECT_EQ(foreign.damage().toStdString(), "");
    QStringList left = names();
    for (const QString &name : foreign.names() + QStringList{"BROILER.VKD", "NOTLAR.TXT", "BAG.TXT", "linked.txt"})
        left.removeAll(name);
    EXPECT_EQ(joined(left), "");
}

} // namespace
