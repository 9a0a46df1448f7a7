#include "classes/file_object.h"

#include "file_bytes.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>

#include <cerrno>
#include <cstring>
#include <functional>

using namespace vexo;

TEST(FileObject, NewObjectHasNoHandleAndNoLines)
{
    FILEOBJECT f(QStringLiteral("/nonexistent/x.txt"));
    EXPECT_FALSE(f.ERROR());
    EXPECT_EQ(f.ERRORCODE(), 0u);
    EXPECT_EQ(f.FILEHANDLE(), 0);
    EXPECT_EQ(f.LINECOUNT(), 0);
    EXPECT_FALSE(f.EXISTS());
    // Nothing reaches standard input through the unset handle.
    EXPECT_EQ(f.READSTR(4), QString());
    EXPECT_TRUE(f.ERROR());
}

TEST(FileObject, MissingFileGivesTheSystemError)
{
    QTemporaryDir dir;
    FILEOBJECT f(dir.filePath("none.txt"));
    EXPECT_EQ(f.OPEN(FO_READ), -1);
    EXPECT_TRUE(f.ERROR());
    EXPECT_EQ(f.ERRORCODE(), quint32(ENOENT));
    EXPECT_EQ(f.ERRSTRING(), QString::fromLocal8Bit(std::strerror(ENOENT)));
    EXPECT_EQ(f.LINECOUNT(), 0);
}

TEST(FileObject, WritesLinesAndReadsThemBack)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("lines.txt");
    FILEOBJECT f(path);
    ASSERT_GT(f.CREATE(), 0);
    EXPECT_EQ(f.PUTS(QStringLiteral("Bir ş")), 7);
    EXPECT_EQ(f.WRITELINE(QStringLiteral("ikiXXX"), 3), 5);
    EXPECT_EQ(f.WRITE("uc\n", -1), 3);
    EXPECT_EQ(f.WRITETEXT(QStringLiteral("ğ"), -1), 1);
    EXPECT_EQ(test::fileBytes(path), QByteArray("Bir \xFE\r\niki\r\nuc\n\xF0"));
    EXPECT_EQ(f.LINECOUNT(), 4);
    EXPECT_TRUE(f.EOF_());
    EXPECT_EQ(f.GOBOTTOM(), 16);
    EXPECT_EQ(f.GOTOP(), 0);
    EXPECT_EQ(f.GETS(), QStringLiteral("Bir ş"));
    EXPECT_EQ(f.GETS(2), QStringLiteral("ik"));
    EXPECT_EQ(f.GETS(), QStringLiteral("i"));
    EXPECT_EQ(f.GETS(), QStringLiteral("uc"));
    EXPECT_EQ(f.POSITION(), 15);
    QByteArray buffer(4, '.');
    EXPECT_EQ(f.READ(buffer), 1);
    EXPECT_EQ(buffer, QByteArray("\xF0..."));
    EXPECT_FALSE(f.ERROR());
    // A read at the end is an error of its own; the next success clears it.
    EXPECT_EQ(f.READ(buffer), 0);
    EXPECT_EQ(f.ERRORCODE(), FILEOBJECT::kReadAtEof);
    EXPECT_EQ(f.ERRSTRING(), "EOF was already reached when a read was tried");
    f.REWIND();
    EXPECT_FALSE(f.ERROR());
    EXPECT_EQ(f.READSTR(3), QStringLiteral("Bir"));
    QString text = QStringLiteral("......");
    EXPECT_EQ(f.READTEXT(text, 2), 2);
    EXPECT_EQ(text, QStringLiteral(" ş...."));
    EXPECT_EQ(f.SEEK(-1, 2), 15);
    EXPECT_EQ(f.SEEK(2, 1), 17);

    const qintptr handle = f.FILEHANDLE();
    EXPECT_EQ(f.CLOSE(), 0u);
    EXPECT_EQ(f.FILEHANDLE(), handle);
}

TEST(FileObject, ReadCountDefaultsToTheBuffer)
{
    QTemporaryDir dir;
    FILEOBJECT f(dir.filePath("b.bin"));
    f.CREATE();
    f.WRITE("0123456789");
    f.GOTOP();
    QByteArray buffer(4, '\0');
    EXPECT_EQ(f.READ(buffer), 4);
    EXPECT_EQ(buffer, "0123");
}

TEST(FileObject, SharingModesRefuseAClashingOpener)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("s.txt");
    FILEOBJECT a(path);
    a.CREATE();
    a.CLOSE();
    struct Case
    {
        unsigned first, second;
        bool secondOpens;
    };
    const Case cases[] = {
        {FO_READWRITE | FO_EXCLUSIVE, FO_READ | FO_DENYNONE, true}, // no lock asked: nothing to clash with
        {FO_READWRITE | FO_EXCLUSIVE, FO_READ | FO_EXCLUSIVE, false},
        {FO_READ | FO_DENYWRITE, FO_READ | FO_DENYWRITE, true},
        {FO_READ | FO_DENYWRITE, FO_READWRITE | FO_EXCLUSIVE, false},
        {FO_READ | FO_SHARED, FO_READWRITE | FO_EXCLUSIVE, true},
    };
    for (const Case &c : cases) {
        FILEOBJECT one(path), two(path);
        ASSERT_GT(one.OPEN(c.first), 0);
        EXPECT_EQ(two.OPEN(c.second) > 0, c.secondOpens) << c.first << " " << c.second;
        EXPECT_EQ(two.ERROR(), !c.secondOpens);
        one.CLOSE();
        if (c.secondOpens)
            two.CLOSE();
    }
}

TEST(FileObject, ReadOnlyAttributeAndErrorTexts)
{
    QTemporaryDir dir;
    FILEOBJECT f(dir.filePath("ro.txt"));
    f.CREATE(FC_READONLY | FC_HIDDEN);
    f.CLOSE();
    EXPECT_FALSE(QFileInfo(dir.filePath("ro.txt")).permissions() & QFileDevice::WriteOwner);
    FILEOBJECT g(dir.filePath("ro.txt"));
    const qintptr h = g.OPEN(FO_READ);
    EXPECT_EQ(h, g.FILEHANDLE());
    EXPECT_FALSE(g.ERROR());
    EXPECT_EQ(g.WRITE("x"), 0);
    EXPECT_EQ(g.ERRORCODE(), quint32(EBADF));
    g.CLOSE();
}

TEST(FileObject, ShortWriteIsDiskFull)
{
    FILEOBJECT f(QStringLiteral("/dev/full"));
    ASSERT_GT(f.OPEN(FO_WRITE), 0);
    EXPECT_EQ(f.WRITE("abc"), 0);
    EXPECT_EQ(f.ERRORCODE(), FILEOBJECT::kDiskFull);
    EXPECT_EQ(f.ERRSTRING(), "Disk Full");
    f.CLOSE();
}

// After CLOSE the number FILEHANDLE keeps may already belong to the next file opened anywhere in the
// program: nothing the closed object does may reach that file.
TEST(FileObject, AClosedObjectNeverUsesItsOldNumber)
{
    QTemporaryDir dir;
    FILEOBJECT first(dir.filePath("first.txt"));
    ASSERT_GT(first.CREATE(), 0);
    const qintptr handle = first.FILEHANDLE();
    EXPECT_EQ(first.CLOSE(), 0u);
    FILEOBJECT other(dir.filePath("other.txt"));
    ASSERT_EQ(other.CREATE(), handle); // the system hands the lowest free number out again
    ASSERT_EQ(other.WRITE("kept"), 4);

    struct Step
    {
        const char *what;
        std::function<qint64()> run;
        qint64 answer;
    };
    QByteArray buffer(4, '.');
    const Step steps[] = {
        {"WRITE", [&] { return first.WRITE("lost"); }, 0},
        {"PUTS", [&] { return first.PUTS(QStringLiteral("lost")); }, 0},
        {"READ", [&] { return first.READ(buffer); }, 0},
        {"SEEK", [&] { return first.SEEK(0); }, -1},
        {"COMMIT", [&] { return qint64(first.COMMIT()); }, EBADF},
        {"CLOSE again", [&] { return qint64(first.CLOSE()); }, EBADF},
    };
    for (const Step &s : steps) {
        EXPECT_EQ(s.run(), s.answer) << s.what;
        EXPECT_EQ(first.ERRORCODE(), quint32(EBADF)) << s.what;
        EXPECT_EQ(first.FILEHANDLE(), handle) << s.what;
    }
    EXPECT_EQ(first.TELL(), 0);
    EXPECT_TRUE(first.EOF_());
    EXPECT_EQ(first.LINECOUNT(), 0);
    EXPECT_EQ(test::fileBytes(dir.filePath("first.txt")), QByteArray());
    // The other object's file is still open, where it was, and holds only its own bytes.
    EXPECT_EQ(other.TELL(), 4);
    EXPECT_EQ(other.WRITE("!"), 1);
    EXPECT_EQ(other.CLOSE(), 0u);
    EXPECT_EQ(test::fileBytes(dir.filePath("other.txt")), QByteArray("kept!"));
}
