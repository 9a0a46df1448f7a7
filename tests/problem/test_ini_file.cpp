#include "platform/cp1254_codec.h"
#include "problem/app_globals.h"
#include "problem/ini_file.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <limits>

namespace vexo {
namespace {

// An INI file named without a folder, so that it lands in a private program folder.
class IniFile : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_dir.isValid());
        m_progDir = appGlobals().CPROGDIZIN;
        appGlobals().CPROGDIZIN = m_dir.path();
    }
    void TearDown() override { appGlobals().CPROGDIZIN = m_progDir; }

    QString path() const { return m_dir.filePath("VXOFTP.INI"); }

    void writeRaw(const QByteArray &bytes) const
    {
        QFile f(path());
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
    }
    QByteArray readRaw() const
    {
        QFile f(path());
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
    }
    QStringList files() const { return QDir(m_dir.path()).entryList(QDir::Files | QDir::Hidden); }

    QTemporaryDir m_dir;
    QString m_progDir;
    INIFILE ini{QStringLiteral("VXOFTP.INI")};
};

const QByteArray kSample = "; ba\xF0lant\xFD ayarlar\xFD\r\n"
                           "[FTP]\r\n"
                           "Server = ftp.example.com  \r\n"
                           "User=  ali  \r\n"
                           "Bos=    \r\n"
                           "Quoted=\"  iki kelime \"\r\n"
                           "Port=21\r\n"
                           "\r\n"
                           "[ Diger ]\r\n"
                           "server=ikinci\r\n";

TEST_F(IniFile, NameWithoutFolderLivesInTheProgramFolder)
{
    EXPECT_EQ(ini.FILENAME(), "VXOFTP.INI");
    EXPECT_EQ(ini.filePath(), m_dir.filePath("VXOFTP.INI"));
    ini.FILENAME(m_dir.filePath("alt.ini"));
    EXPECT_EQ(ini.FILENAME(), m_dir.filePath("alt.ini"));
    EXPECT_EQ(ini.filePath(), m_dir.filePath("alt.ini"));
    EXPECT_EQ(&ini.INIT("X.INI"), &ini);
    EXPECT_EQ(ini.filePath(), m_dir.filePath("X.INI"));
}

TEST_F(IniFile, ReadsTrimmedValues)
{
    writeRaw(kSample);
    EXPECT_EQ(ini.GETSTRING("FTP", "Server"), "ftp.example.com");
    EXPECT_EQ(ini.GETSTRING("FTP", "User"), "ali");
    // Blanks only, and missing entries, sections or files, read as an empty text.
    EXPECT_EQ(ini.GETSTRING("FTP", "Bos"), "");
    EXPECT_EQ(ini.GETSTRING("FTP", "Yok"), "");
    EXPECT_EQ(ini.GETSTRING("YOK", "Server"), "");
    // One pair of quotes goes; the blanks inside them go with the final trim.
    EXPECT_EQ(ini.GETSTRING("FTP", "Quoted"), "iki kelime");
    EXPECT_EQ(ini.GETSTRINGUPPER("FTP", "Server"), "FTP.EXAMPLE.COM");
    EXPECT_EQ(INIFILE(m_dir.filePath("yok.ini")).GETSTRING("FTP", "Server"), "");
}

TEST_F(IniFile, LooksUpWithoutRegardToCase)
{
    writeRaw(kSample);
    EXPECT_EQ(ini.GETSTRING("ftp", "SERVER"), "ftp.example.com");
    EXPECT_EQ(ini.GETSTRING("diger", "Server"), "ikinci");
    EXPECT_EQ(ini.GETSTRING(" FTP ", " port "), "21");
}

TEST_F(IniFile, LongValuesAreCutAtTheBuffer)
{
    writeRaw("[A]\r\nk=" + QByteArray(1500, 'x') + "\r\n");
    EXPECT_EQ(ini.GETSTRING("A", "k"), QString(1023, u'x'));
}

TEST_F(IniFile, Integers)
{
    writeRaw("[N]\r\na=42\r\nb=-7\r\nc=  12abc\r\nd=abc\r\ne=99999999999\r\nf=-99999999999\r\ng=+5\r\n");
    EXPECT_EQ(ini.GETINT("N", "a"), 42);
    EXPECT_EQ(ini.GETINT("N", "b"), -7);
    EXPECT_EQ(ini.GETINT("N", "c"), 12);
    EXPECT_EQ(ini.GETINT("N", "d"), 0);
    EXPECT_EQ(ini.GETINT("N", "e"), std::numeric_limits<qint32>::max());
    EXPECT_EQ(ini.GETINT("N", "f"), std::numeric_limits<qint32>::min());
    EXPECT_EQ(ini.GETINT("N", "g"), 5);
    EXPECT_EQ(ini.GETINT("N", "yok"), 0);
}

TEST_F(IniFile, SetIntWritesPlainDigits)
{
    EXPECT_TRUE(ini.SETINT("N", "neg", -125));
    EXPECT_TRUE(ini.SETINT("N", "zero", 0));
    EXPECT_TRUE(ini.SETINT("N", "min", std::numeric_limits<qint32>::min()));
    EXPECT_EQ(readRaw(), "[N]\r\nneg=-125\r\nzero=0\r\nmin=-2147483648\r\n");
    EXPECT_EQ(ini.GETINT("N", "neg"), -125);
    EXPECT_EQ(ini.GETINT("N", "zero"), 0);
    EXPECT_EQ(ini.GETINT("N", "min"), std::numeric_limits<qint32>::min());
}

TEST_F(IniFile, LogicalValues)
{
    writeRaw("[L]\r\n"
             "a=yes\r\nb=On\r\nc=true\r\nd= TRUE \r\n"
             "e=1\r\nf=0\r\ng=no\r\nh=YESTERDAY\r\ni=Onay\r\nj=truex\r\nk=\r\n");
    for (const char *entry : {"a", "b", "c", "d"})
        EXPECT_TRUE(ini.GETLOGIC("L", entry)) << entry;
    for (const char *entry : {"e", "f", "g", "h", "i", "j", "k", "yok"})
        EXPECT_FALSE(ini.GETLOGIC("L", entry)) << entry;

    EXPECT_TRUE(ini.SETLOGIC("L", "a", false));
    EXPECT_FALSE(ini.GETLOGIC("L", "a"));
    EXPECT_EQ(ini.GETSTRING("L", "a"), "FALSE");
    EXPECT_TRUE(ini.SETLOGIC("L", "yeni", true));
    EXPECT_TRUE(ini.GETLOGIC("L", "yeni"));
    EXPECT_EQ(ini.GETSTRING("L", "yeni"), "TRUE");
}

TEST_F(IniFile, WritesKeepTheRestOfTheFile)
{
    writeRaw(kSample);
    // Replacing keeps the entry's spelling; a new entry follows the section's last entry.
    EXPECT_TRUE(ini.SETSTRING("ftp", "SERVER", "ftp.ornek.com.tr"));
    EXPECT_TRUE(ini.SETSTRING("FTP", "Klasör", "Güncelleme"));
    EXPECT_TRUE(ini.SETSTRING("Yeni", "Şirket", "Yem A.Ş."));
    EXPECT_EQ(readRaw(), "; ba\xF0lant\xFD ayarlar\xFD\r\n"
                         "[FTP]\r\n"
                         "Server=ftp.ornek.com.tr\r\n"
                         "User=  ali  \r\n"
                         "Bos=    \r\n"
                         "Quoted=\"  iki kelime \"\r\n"
                         "Port=21\r\n"
                         "Klas\xF6r=G\xFCncelleme\r\n"
                         "\r\n"
                         "[ Diger ]\r\n"
                         "server=ikinci\r\n"
                         "\r\n"
                         "[Yeni]\r\n"
                         "\xDEirket=Yem A.\xDE.\r\n");
    EXPECT_EQ(ini.GETSTRING("yeni", "şirket"), "Yem A.Ş.");
    EXPECT_EQ(files(), QStringList{"VXOFTP.INI"});
}

TEST_F(IniFile, WritingCreatesTheFile)
{
    EXPECT_TRUE(ini.SETSTRING("FTP", "Server", "a"));
    EXPECT_EQ(readRaw(), "[FTP]\r\nServer=a\r\n");
}

TEST_F(IniFile, UnixLineEndsStay)
{
    writeRaw("[A]\nx=1\n");
    EXPECT_TRUE(ini.SETSTRING("A", "y", "2"));
    EXPECT_EQ(readRaw(), "[A]\nx=1\ny=2\n");
}

TEST_F(IniFile, FirstOfEqualSectionsCounts)
{
    writeRaw("[A]\r\nx=1\r\n[a]\r\nx=2\r\ny=3\r\n");
    EXPECT_EQ(ini.GETSTRING("A", "x"), "1");
    EXPECT_EQ(ini.GETSTRING("A", "y"), "");
    EXPECT_TRUE(ini.SETSTRING("a", "x", "9"));
    EXPECT_EQ(readRaw(), "[A]\r\nx=9\r\n[a]\r\nx=2\r\ny=3\r\n");
}

TEST_F(IniFile, DeleteEntryAndSection)
{
    writeRaw(kSample);
    EXPECT_TRUE(ini.DELETEENTRY("FTP", "user"));
    EXPECT_EQ(ini.GETSTRING("FTP", "User"), "");
    EXPECT_EQ(ini.GETSTRING("FTP", "Port"), "21");
    EXPECT_TRUE(ini.DELETESECTION("ftp"));
    EXPECT_EQ(readRaw(), "; ba\xF0lant\xFD ayarlar\xFD\r\n[ Diger ]\r\nserver=ikinci\r\n");
    EXPECT_TRUE(ini.GETSECTION("FTP").isEmpty());
}

TEST_F(IniFile, DeletingWhatIsMissingChangesNothing)
{
    writeRaw(kSample);
    EXPECT_TRUE(ini.DELETESECTION("YOK"));
    EXPECT_TRUE(ini.DELETEENTRY("FTP", "Yok"));
    EXPECT_TRUE(ini.DELETEENTRY("YOK", "Server"));
    EXPECT_EQ(readRaw(), kSample);

    INIFILE missing(m_dir.filePath("yok.ini"));
    EXPECT_TRUE(missing.DELETESECTION("FTP"));
    EXPECT_FALSE(QFile::exists(m_dir.filePath("yok.ini")));
}

TEST_F(IniFile, SectionPairsInFileOrder)
{
    writeRaw(kSample);
    const QList<QPair<QString, QString>> expected = {
        {"Server", "ftp.example.com"}, {"User", "ali"}, {"Bos", ""}, {"Quoted", "iki kelime"}, {"Port", "21"}};
    EXPECT_EQ(ini.GETSECTION("ftp"), expected);
    EXPECT_TRUE(ini.GETSECTION("YOK").isEmpty());
    writeRaw("[Bos]\r\n; sadece yorum\r\n[B]\r\nk=v\r\nK=w\r\n");
    EXPECT_TRUE(ini.GETSECTION("Bos").isEmpty());
    // Every entry line is listed; a repeated name reads as its first occurrence.
    const QList<QPair<QString, QString>> repeated = {{"k", "v"}, {"K", "v"}};
    EXPECT_EQ(ini.GETSECTION("b"), repeated);
}

TEST_F(IniFile, SectionNameListStopsAtTheBuffer)
{
    // 100 names of 9 characters take 1,000 bytes with their NULs; the next three no longer fit.
    QByteArray text = "[S]\r\n";
    for (int i = 0; i < 103; ++i)
        text += QByteArray("entry") + QByteArray::number(1000 + i) + "=v\r\n";
    writeRaw(text);
    const auto pairs = ini.GETSECTION("S");
    ASSERT_EQ(pairs.size(), 102);
    EXPECT_EQ(pairs.front().first, "entry1000");
    EXPECT_EQ(pairs.back().first, "entry1101");
}

TEST_F(IniFile, CreateEmptiesOrMakesTheFile)
{
    writeRaw(kSample);
    EXPECT_TRUE(ini.CREATE());
    EXPECT_EQ(readRaw(), "");
    EXPECT_TRUE(QFile::remove(path()));
    EXPECT_TRUE(ini.CREATE());
    EXPECT_EQ(readRaw(), "");
    // Only the exact name WIN is refused; a longer name that begins with it is an ordinary file.
    INIFILE windows(QStringLiteral("WINDOWS.INI"));
    EXPECT_TRUE(windows.CREATE());
    EXPECT_TRUE(QFile::exists(m_dir.filePath("WINDOWS.INI")));
    EXPECT_FALSE(INIFILE(m_dir.filePath("yok/x.ini")).CREATE());
    EXPECT_FALSE(INIFILE(QString()).CREATE());
}

TEST_F(IniFile, CreateRefusesWin)
{
    for (const char *name : {"WIN", "win", " Win ", "\tWIN"}) {
        EXPECT_FALSE(INIFILE(QString::fromLatin1(name)).CREATE()) << name;
    }
    EXPECT_TRUE(files().isEmpty());
}

TEST_F(IniFile, BadInputIsRefusedAndLosesNothing)
{
    writeRaw(kSample);
    EXPECT_FALSE(ini.SETSTRING("FTP", "Server", "a\r\n[Kotu]\r\nx=1"));
    EXPECT_FALSE(ini.SETSTRING("FTP", "a=b", "1"));
    EXPECT_FALSE(ini.SETSTRING("FTP", "", "1"));
    EXPECT_FALSE(ini.SETSTRING("FTP", "[X", "1"));
    EXPECT_FALSE(ini.SETSTRING("", "Server", "1"));
    EXPECT_FALSE(ini.SETSTRING("A]B", "Server", "1"));
    // A character Windows-1254 cannot hold would come back as "?".
    EXPECT_FALSE(ini.SETSTRING("FTP", "Server", QStringLiteral("日本")));
    EXPECT_EQ(readRaw(), kSample);
    EXPECT_FALSE(INIFILE(m_dir.filePath("yok/x.ini")).SETSTRING("A", "b", "c"));
}

TEST_F(IniFile, ReadOnlyFileIsNotWritten)
{
    writeRaw(kSample);
    ASSERT_TRUE(QFile::setPermissions(path(), QFileDevice::ReadOwner));
    EXPECT_FALSE(ini.SETSTRING("FTP", "Server", "x"));
    EXPECT_FALSE(ini.DELETESECTION("FTP"));
    EXPECT_FALSE(ini.CREATE());
    EXPECT_EQ(readRaw(), kSample);
    EXPECT_EQ(ini.GETSTRING("FTP", "Server"), "ftp.example.com");
}

} // namespace
} // namespace vexo
