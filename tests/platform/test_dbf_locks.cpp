// Locks against another process: a small Python holder takes the same kinds of lock the table layer
// takes (flock for opening, a byte lock for appending) and keeps them until its input closes.
#include "platform/dbf_filespec.h"
#include "platform/dbf_table.h"

#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace vexo;

namespace {

const char *kHolder = R"(
import fcntl, sys
path, mode, offset = sys.argv[1], sys.argv[2], int(sys.argv[3])
f = open(path, 'rb+')
try:
    if mode == 'sh':
        fcntl.flock(f, fcntl.LOCK_SH | fcntl.LOCK_NB)
    elif mode == 'ex':
        fcntl.flock(f, fcntl.LOCK_EX | fcntl.LOCK_NB)
    else:
        fcntl.lockf(f, fcntl.LOCK_EX | fcntl.LOCK_NB, 1, offset)
    print('held', flush=True)
except OSError:
    print('busy', flush=True)
sys.stdin.read()
)";

class Holder
{
public:
    Holder(const QString &path, const char *mode)
    {
        m_proc.start(QStringLiteral("/usr/bin/python3"),
                     {QStringLiteral("-c"), QString::fromLatin1(kHolder), path, QString::fromLatin1(mode),
                      QString::number(DbfTable::kAppendLockOffset)});
        m_proc.waitForReadyRead(20000);
        m_answer = QString::fromLatin1(m_proc.readLine()).trimmed();
    }
    ~Holder() { release(); }
    QString answer() const { return m_answer; }
    void release()
    {
        if (m_proc.state() == QProcess::NotRunning)
            return;
        m_proc.closeWriteChannel();
        m_proc.waitForFinished(20000);
    }

private:
    QProcess m_proc;
    QString m_answer;
};

class DbfLockTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        path = dir.filePath(QStringLiteral("ORTAK.DBF"));
        ASSERT_TRUE(DbfFileSpec(path).create({{QStringLiteral("AD"), u'C', 10, 0}}));
    }
    QTemporaryDir dir;
    QString path;
};

TEST_F(DbfLockTest, AnotherProcessHoldingTheTableExclusivelyRefusesEveryOpener)
{
    Holder other(path, "ex");
    ASSERT_EQ(other.answer(), QStringLiteral("held"));
    for (const bool shared : {true, false}) {
        DbfTable t(path, shared, true);
        ASSERT_TRUE(t.status());
        EXPECT_EQ(t.status()->code, DbfErrorCode::Locked);
    }
    other.release();
    DbfTable t(path, false, false);
    EXPECT_FALSE(t.status());
}

TEST_F(DbfLockTest, AnotherProcessSharingTheTableAllowsSharedOpensOnly)
{
    Holder other(path, "sh");
    ASSERT_EQ(other.answer(), QStringLiteral("held"));
    DbfTable shared(path, true, false);
    EXPECT_FALSE(shared.status());
    DbfTable exclusive(path, false, true);
    ASSERT_TRUE(exclusive.status());
    EXPECT_EQ(exclusive.status()->code, DbfErrorCode::Locked);
}

TEST_F(DbfLockTest, OurExclusiveOpenKeepsAnotherProcessOut)
{
    DbfTable t(path, false, false);
    ASSERT_FALSE(t.status());
    Holder other(path, "sh");
    EXPECT_EQ(other.answer(), QStringLiteral("busy"));
}

TEST_F(DbfLockTest, AppendFailsWhileAnotherProcessHoldsTheAppendLock)
{
    DbfTable t(path, true, false);
    ASSERT_FALSE(t.status());
    {
        Holder other(path, "append");
        ASSERT_EQ(other.answer(), QStringLiteral("held"));
        EXPECT_FALSE(t.append());
        ASSERT_TRUE(t.status());
        EXPECT_EQ(t.status()->code, DbfErrorCode::Locked);
        EXPECT_EQ(t.lastRec(), 0u);
    }
    EXPECT_TRUE(t.append());
    EXPECT_EQ(t.lastRec(), 1u);
    // Our own append lock is gone again: the other process gets it.
    Holder after(path, "append");
    EXPECT_EQ(after.answer(), QStringLiteral("held"));
}

} // namespace
