// The standard table opener's retrying append, and the scrambled table built on the table server.
#include "platform/crypt.h"
#include "platform/dbf_filespec.h"
#include "problem/crypt_dbserver.h"
#include "problem/dbserverr.h"
#include "scripted_messages.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <fcntl.h>
#include <unistd.h>

using namespace vexo;

namespace {

// An opener whose base append fails while a condition holds, counting the attempts.
class FlakyTable : public DBSERVERR
{
public:
    FlakyTable(const QString &path, std::function<bool()> failing, bool withStatus = true,
               DbfErrorCode code = DbfErrorCode::Locked)
        : DBSERVERR(path, true, false), m_failing(std::move(failing)), m_withStatus(withStatus), m_code(code)
    {
    }
    int attempts = 0;

protected:
    bool baseAppend(bool releaseLocks) override
    {
        ++attempts;
        if (!m_failing())
            return DBSERVERR::baseAppend(releaseLocks);
        if (m_withStatus)
            setError(m_code, QStringLiteral("ORTAK.DBF: kayıt ekleme kilitli"));
        else
            clearStatus();
        return false;
    }

private:
    std::function<bool()> m_failing;
    bool m_withStatus;
    DbfErrorCode m_code;
};

class DbserverrTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        path = dir.filePath(QStringLiteral("ORTAK.DBF"));
        ASSERT_TRUE(DbfFileSpec(path).create({{QStringLiteral("AD"), u'C', 10, 0}}));
    }
    QTemporaryDir dir;
    QString path;
    test::ManualClock clock;
    test::ScriptedMessages messages;
};

const QString kLockedText = QStringLiteral("Kayıt Ekleme:\r\n\r\nHata: Dosya başka bir işlem tarafından kullanılıyor\r\n"
                                           "ORTAK.DBF: kayıt ekleme kilitli");

TEST_F(DbserverrTest, AnAppendThatSucceedsAtOnceNeitherWaitsNorAsks)
{
    DBSERVERR t(path, true, false, QStringLiteral("DBFCDX"));
    ASSERT_FALSE(t.status());
    EXPECT_TRUE(t.APPEND());
    EXPECT_EQ(t.recNo(), 1u);
    EXPECT_EQ(clock.sleeps(), 0);
    EXPECT_TRUE(messages.shown().isEmpty());
    // Through the table server's interface the retrying append is the one that runs.
    DbfTable &base = t;
    EXPECT_TRUE(base.append());
    EXPECT_EQ(t.lastRec(), 2u);
}

TEST_F(DbserverrTest, AFailureOfTwoSecondsIsRetriedSilently)
{
    FlakyTable t(path, [this] { return clock.monotonicMs() < 2000; });
    EXPECT_TRUE(t.APPEND());
    EXPECT_EQ(t.attempts, 21); // 20 failed tries, 100 ms apart, then the good one
    EXPECT_EQ(clock.sleeps(), 20);
    EXPECT_EQ(clock.monotonicMs(), 2000);
    EXPECT_TRUE(messages.shown().isEmpty());
    EXPECT_EQ(t.lastRec(), 1u);
}

TEST_F(DbserverrTest, APersistentFailureAsksRetryOrCancelAfterFiveSeconds)
{
    FlakyTable t(path, [] { return true; });
    messages.answer(MessageAnswer::Retry);
    messages.answer(MessageAnswer::Cancel);
    EXPECT_FALSE(t.APPEND());
    ASSERT_EQ(messages.shown().size(), 2);
    const MessageRequest &box = messages.shown().first();
    EXPECT_EQ(box.owner.data(), nullptr);
    EXPECT_EQ(box.caption, QStringLiteral("ORTAK.DBF"));
    EXPECT_EQ(box.text, kLockedText);
    EXPECT_EQ(box.style, 21u);
    // Silent tries up to and including the deadline, then one box per try: Retry makes one more try
    // after 100 ms and the box comes back at once.
    EXPECT_EQ(t.attempts, 51 + 1 + 1);
    EXPECT_EQ(clock.monotonicMs(), 5100 + 100);
    EXPECT_EQ(messages.unexpectedQuestions(), 0);
    EXPECT_EQ(t.lastRec(), 0u);
}

// Waiting clears only a lock that another program holds; a full disk, a failing device or a table
// that cannot take the record fails at once, without waits and without the box.
TEST_F(DbserverrTest, OnlyALockIsWaitedFor)
{
    for (const DbfErrorCode code : {DbfErrorCode::Write, DbfErrorCode::Read, DbfErrorCode::ReadOnly, DbfErrorCode::Corrupt}) {
        messages.clear();
        FlakyTable t(path, [] { return true; }, true, code);
        EXPECT_FALSE(t.APPEND()) << int(code);
        EXPECT_EQ(t.attempts, 1) << int(code);
        EXPECT_EQ(clock.sleeps(), 0) << int(code);
        EXPECT_TRUE(messages.shown().isEmpty()) << int(code);
        ASSERT_TRUE(t.status());
        EXPECT_EQ(t.status()->code, code);
    }
}

TEST_F(DbserverrTest, RetryAfterTheBoxCanSucceed)
{
    FlakyTable t(path, [this] { return clock.monotonicMs() <= 5100; });
    messages.answer(MessageAnswer::Retry);
    EXPECT_TRUE(t.APPEND());
    EXPECT_EQ(messages.shown().size(), 1);
    EXPECT_EQ(t.lastRec(), 1u);
}

TEST_F(DbserverrTest, WithoutAStatusTheDetailIsAQuestionMark)
{
    FlakyTable t(path, [] { return true; }, false);
    messages.answer(MessageAnswer::Cancel);
    EXPECT_FALSE(t.APPEND());
    ASSERT_EQ(messages.shown().size(), 1);
    EXPECT_EQ(messages.shown().first().text, QStringLiteral("Kayıt Ekleme:\r\n\r\n?"));
}

TEST_F(DbserverrTest, TheDeadlineIgnoresTheTimeOfDay)
{
    // Midnight passes during the retries: the wall clock jumps back, the monotonic one does not.
    clock.setNow(QDateTime(QDate(2026, 12, 10), QTime(23, 59, 58)));
    FlakyTable t(path, [this] {
        clock.setNow(QDateTime(QDate(2026, 12, 11), QTime(0, 0, 0)));
        return true;
    });
    messages.answer(MessageAnswer::Cancel);
    EXPECT_FALSE(t.APPEND());
    EXPECT_EQ(messages.shown().size(), 1);
    EXPECT_EQ(clock.monotonicMs(), 5100);
}

// A clock that lets go of a real append lock once two seconds have passed.
class ReleasingClock : public test::ManualClock
{
public:
    int lockFd = -1;
    void sleepMs(int ms) override
    {
        ManualClock::sleepMs(ms);
        if (lockFd >= 0 && monotonicMs() >= 2000) {
            ::close(lockFd);
            lockFd = -1;
        }
    }
};

TEST_F(DbserverrTest, ARealAppendLockHeldElsewhereIsWaitedFor)
{
    ReleasingClock real;
    setClock(&real);
    DBSERVERR t(path, true, false);
    ASSERT_FALSE(t.status());
    real.lockFd = ::open(QFile::encodeName(path).constData(), O_RDWR | O_CLOEXEC);
    struct flock fl = {};
    fl.l_type = F_WRLCK;
    fl.l_whence = SEEK_SET;
    fl.l_start = DbfTable::kAppendLockOffset;
    fl.l_len = 1;
    ASSERT_EQ(::fcntl(real.lockFd, F_OFD_SETLK, &fl), 0);
    EXPECT_TRUE(t.APPEND());
    EXPECT_EQ(real.monotonicMs(), 2000);
    EXPECT_TRUE(messages.shown().isEmpty());
    EXPECT_EQ(t.lastRec(), 1u);
    setClock(&clock);
}

TEST_F(DbserverrTest, ScrambledFieldsReadBackAsWrittenAndAreStoredScrambled)
{
    {
        CRYPTDBSERVER t(path, false, false);
        ASSERT_FALSE(t.status());
        ASSERT_TRUE(t.append());
        EXPECT_TRUE(t.fieldPut(QStringLiteral("AD"), QStringLiteral("Gizli Şİ")));
        EXPECT_EQ(t.fieldGet(QStringLiteral("AD")).toString(), QStringLiteral("Gizli Şİ  "));
        EXPECT_EQ(t.DECRYPT(t.CRYPTIT(QStringLiteral("x y"))), QStringLiteral("x y"));
        EXPECT_TRUE(t.fieldPut(1, QStringLiteral("kesilen uzun metin")));
        EXPECT_EQ(t.fieldGet(1).toString(), QStringLiteral("kesilen uz"));
    }
    DbfTable plain(path, true, true);
    const QString stored = plain.fieldGet(1).toString();
    EXPECT_NE(stored, QStringLiteral("kesilen uz"));
    EXPECT_EQ(stored.size(), 10);
    for (const QChar c : stored)
        EXPECT_TRUE(cryptAlphabet().contains(c));
}

} // namespace
