#include "platform/cp1254_codec.h"
#include "file_bytes.h"
#include "updater/ftp_settings.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace vexo {
namespace {

// Read and write for the owner (who is the user running the tests), nothing for anyone else.
constexpr QFileDevice::Permissions kPrivate = QFileDevice::ReadOwner | QFileDevice::WriteOwner
                                             | QFileDevice::ReadUser | QFileDevice::WriteUser;

class FtpSettings : public ::testing::Test
{
protected:
    void SetUp() override { ASSERT_TRUE(m_dir.isValid()); }
    QString path() const { return m_dir.filePath(QStringLiteral("VXOFTP.INI")); }
    void writeRaw(const QByteArray &bytes) const
    {
        QFile f(path());
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
    }
    QByteArray readRaw() const { return test::readBytes(path()); }
    static UpdaterBuiltins builtins()
    {
        UpdaterBuiltins b;
        b.server = QStringLiteral("127.0.0.1:2121");
        b.user = QStringLiteral("vexo");
        b.password = QStringLiteral("KoMuTeL!5274*");
        b.directory = QStringLiteral("public_html");
        b.pwdKey = QStringLiteral("jwz");
        return b;
    }
    QByteArray fileFor(const UpdaterFields &f) const
    {
        return "[FTP]\r\nUSER=" + f.user.toLatin1() + "\r\nPASSWORD="
               + Cp1254Codec::encode(scramblePassword(f.password, QStringLiteral("jwz"))) + "\r\nDIRECTORY="
               + f.directory.toLatin1() + "\r\nSERVER=" + f.server.toLatin1() + "\r\nPROXY=" + f.proxy.toLatin1()
               + "\r\nUSEHTTP=" + (f.useHttp ? "1" : "0") + "\r\n";
    }

    QTemporaryDir m_dir;
};

TEST(FtpSettingsReader, SectionSettingFollowsThePlainPatternRule)
{
    struct Case
    {
        const char *text;
        const char *key;
        const char *expected;
    } cases[] = {
        {"\r\nUSER=ali\r\nSERVER=x\r\n", "USER", "ali"},
        {"\r\nUSER=ali\r\n", "user  ", "ali"},               // key upper-cased, trailing blanks dropped
        {"\r\nUSER =ali\r\n", "USER", "<default>"},          // blank before "=" does not match
        {"\r\nUSER= ali \r\n", "USER", " ali "},             // blanks around the value stay
        {"\r\nUSER=a\nb\r\nX=1", "USER", "a\nb"},            // a bare LF does not end the value
        {"\r\nUSER=last", "USER", "last"},                   // runs to the end without CR LF
        {"\r\nXUSER=1\r\nUSER=2\r\n", "USER", "1"},          // first plain occurrence, inside a longer key
        {"\r\nuser=ali\r\n", "USER", "<default>"},           // case-sensitive
        {"\r\nUSER=\r\n", "USER", ""},
    };
    for (const Case &c : cases)
        EXPECT_EQ(GETSECTIONSETTING(QString::fromLatin1(c.text), QString::fromLatin1(c.key),
                                    QStringLiteral("<default>")),
                  QString::fromLatin1(c.expected))
            << c.text;
}

TEST_F(FtpSettings, ReaderFindsOnlyTheUpperCaseHeaderAndStopsAtTheNextBracket)
{
    struct Case
    {
        const char *file;
        const char *key;
        const char *expected;
    } cases[] = {
        {"[FTP]\r\nUSER=ali\r\n", "USER", "ali"},
        {"[ftp]\r\nUSER=ali\r\n", "USER", ""},
        {"[OTHER]\r\nUSER=no\r\n[FTP]\r\nUSER=yes\r\n", "USER", "yes"},
        {"[FTP]\r\nDIRECTORY=a[b\r\nSERVER=h\r\n", "SERVER", ""},
        {"[FTP]\r\nDIRECTORY=a[b\r\nSERVER=h\r\n", "DIRECTORY", "a"},
        {"[FTP]\r\nUSER=ali\r\n[NEXT]\r\nSERVER=h\r\n", "SERVER", ""},
        {"", "USER", ""},
    };
    for (const Case &c : cases) {
        writeRaw(c.file);
        EXPECT_EQ(GETINISTRING(QStringLiteral("ftp"), QString::fromLatin1(c.key), path()),
                  QString::fromLatin1(c.expected))
            << c.file << " / " << c.key;
    }
    QFile::remove(path());
    EXPECT_EQ(GETINISTRING(QStringLiteral("FTP"), QStringLiteral("USER"), path()), QString());
}

TEST_F(FtpSettings, SaveCreatesTheFileInOrderAndPrivate)
{
    UpdaterFields f = builtins().fields();
    f.proxy = QStringLiteral("http://127.0.0.1:3128");
    f.useHttp = true;
    ASSERT_TRUE(saveUpdaterSetup(path(), f, QStringLiteral("jwz")));
    EXPECT_EQ(readRaw(), fileFor(f));
    EXPECT_EQ(QFile::permissions(path()), kPrivate);
    // The stored password is not the password itself.
    EXPECT_FALSE(readRaw().contains("KoMuTeL"));

    // A second save replaces the values and keeps the mode.
    f.useHttp = false;
    ASSERT_TRUE(saveUpdaterSetup(path(), f, QStringLiteral("jwz")));
    EXPECT_EQ(readRaw(), fileFor(f));
    EXPECT_EQ(QFile::permissions(path()), kPrivate);

    EXPECT_FALSE(SETFTPSETUP(path(), {QStringLiteral("only one")}));
    EXPECT_EQ(readRaw(), fileFor(f));
}

TEST_F(FtpSettings, EveryPrintablePasswordReadsBackWholeAfterASave)
{
    QString password;
    for (int b = 0x20; b <= 0xFF; ++b) {
        if (b == 0x7F || (b >= 0x80 && b <= 0x9F && Cp1254Codec::toUnicode(uchar(b)).unicode() == b))
            continue; // DEL and the code page's empty places
        password += Cp1254Codec::toUnicode(uchar(b));
    }
    UpdaterFields f = builtins().fields();
    f.password = password;
    f.proxy = QStringLiteral("after the password");
    ASSERT_TRUE(saveUpdaterSetup(path(), f, QStringLiteral("jwz")));
    const QStringList a = GETFTPSETUP(path());
    ASSERT_EQ(a.size(), 6);
    EXPECT_EQ(scramblePassword(a.at(1), QStringLiteral("jwz")), password);
    EXPECT_EQ(a.at(4), f.proxy);
    EXPECT_EQ(scramblePassword(scramblePassword(password, QStringLiteral("jwz")), QStringLiteral("jwz")),
              password);
}

TEST_F(FtpSettings, ReadSetupHoldsTheBuiltInsAndKeepsProxyAndHttpOnlyWhileTheyMatch)
{
    const UpdaterBuiltins b = builtins();
    UpdaterFields saved = b.fields();
    saved.proxy = QStringLiteral("p:1");
    const QByteArray good = fileFor(saved);
    auto withLine = [&](const QByteArray &from, const QByteArray &to) {
        QByteArray t = good;
        return t.replace(from, to);
    };
    struct Case
    {
        const char *what;
        QByteArray file;
        bool rewritten;   // the file ends up as the built-ins with no proxy and "0"
        bool useHttp;
        QString proxy;
    } cases[] = {
        {"matching", good, false, false, QStringLiteral("p:1")},
        {"USEHTTP 2", withLine("USEHTTP=0", "USEHTTP=2"), false, true, QStringLiteral("p:1")},
        {"USEHTTP abc", withLine("USEHTTP=0", "USEHTTP=abc"), false, false, QStringLiteral("p:1")},
        {"USEHTTP 2abc", withLine("USEHTTP=0", "USEHTTP=2abc"), false, true, QStringLiteral("p:1")},
        {"USER with blanks", withLine("USER=vexo", "USER = vexo"), true, false, QString()},
        {"trailing blank after SERVER", withLine("SERVER=127.0.0.1:2121", "SERVER=127.0.0.1:2121 "), true,
         false, QString()},
        {"other password", withLine("PASSWORD=", "PASSWORD=x"), true, false, QString()},
    };
    for (const Case &c : cases) {
        writeRaw(c.file);
        UpdaterFields f = b.fields();
        readUpdaterSetup(path(), f, b.pwdKey);
        EXPECT_EQ(f.user, b.user) << c.what;
        EXPECT_EQ(f.password, b.password) << c.what;
        EXPECT_EQ(f.directory, b.directory) << c.what;
        EXPECT_EQ(f.server, b.server) << c.what;
        EXPECT_EQ(f.proxy, c.proxy) << c.what;
        EXPECT_EQ(f.useHttp, c.useHttp) << c.what;
        if (c.rewritten)
            EXPECT_EQ(readRaw(), fileFor(b.fields())) << c.what;
        else
            EXPECT_EQ(readRaw(), c.file) << c.what;
    }
}

TEST_F(FtpSettings, LowerCaseHeaderEndsWithEmptyFields)
{
    writeRaw("[ftp]\r\nUSER=vexo\r\n");
    UpdaterFields f = builtins().fields();
    readUpdaterSetup(path(), f, QStringLiteral("jwz"));
    EXPECT_EQ(f.user, QString());
    EXPECT_EQ(f.password, QString());
    EXPECT_EQ(f.directory, QString());
    EXPECT_EQ(f.server, QString());
    // The profile writer put the built-ins into the lower-case section the reader cannot see.
    EXPECT_TRUE(readRaw().startsWith("[ftp]\r\nUSER=vexo\r\nPASSWORD="));
}

TEST_F(FtpSettings, BareLineFeedRunsTheValueOn)
{
    writeRaw("[FTP]\r\nUSER=vexo\nPASSWORD=zz\r\nDIRECTORY=d\r\n");
    EXPECT_EQ(GETINISTRING(QStringLiteral("FTP"), QStringLiteral("USER"), path()),
              QStringLiteral("vexo\nPASSWORD=zz"));
    // The pattern also matches inside the earlier value.
    EXPECT_EQ(GETINISTRING(QStringLiteral("FTP"), QStringLiteral("PASSWORD"), path()), QStringLiteral("zz"));
}

TEST_F(FtpSettings, ProfileReadersGoThroughTheIniFile)
{
    writeRaw("[ftp]\r\nUSEHTTP = 7 \r\nPROXY = \"p\" \r\n");
    EXPECT_EQ(GETINIINT(QStringLiteral("FTP"), QStringLiteral("usehttp"), path()), 7);
    EXPECT_EQ(GETINISTRINGX(QStringLiteral("FTP"), QStringLiteral("PROXY"), path()), QStringLiteral("p"));
    EXPECT_EQ(GETINIINT(QStringLiteral("FTP"), QStringLiteral("NONE"), path()), 0);
    EXPECT_TRUE(SETINISTRING(QStringLiteral("FTP"), QStringLiteral("PROXY"), path(), QStringLiteral("q")));
    EXPECT_EQ(readRaw(), QByteArray("[ftp]\r\nUSEHTTP = 7 \r\nPROXY=q\r\n"));
}

} // namespace
} // namespace vexo
