#include "platform/cp1254_codec.h"
#include "platform/message_sink.h"
#include "platform/special_folders.h"
#include "problem/app_globals.h"
#include "problem/system_queries.h"
#include "scripted_messages.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QUuid>
#include <QWidget>

#include <gtest/gtest.h>

#include <cmath>

#include <unistd.h>

namespace vexo {
namespace {

// Keeps the current folder and the program folder as they were before the test.
class CurrentFolderGuard : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_dir.isValid());
        m_cwd = QDir::currentPath();
        m_progDir = appGlobals().CPROGDIZIN;
    }
    void TearDown() override
    {
        QDir::setCurrent(m_cwd);
        appGlobals().CPROGDIZIN = m_progDir;
    }
    static QString canonical(const QString &p) { return QFileInfo(p).canonicalFilePath(); }

    QTemporaryDir m_dir;
    QString m_cwd;
    QString m_progDir;
};

using Folders = CurrentFolderGuard;

TEST_F(Folders, IsDirTestsWithoutMovingTheCurrentFolder)
{
    const QString before = QDir::currentPath();
    const QString file = m_dir.filePath("A.DBF");
    {
        QFile f(file);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    }
    EXPECT_TRUE(ISDIR(m_dir.path()));
    EXPECT_TRUE(ISDIR("/"));
    EXPECT_FALSE(ISDIR(file));
    EXPECT_FALSE(ISDIR(m_dir.filePath("Yok")));
    EXPECT_FALSE(ISDIR(""));
    EXPECT_FALSE(ISDIR("C:\\Windows"));
    EXPECT_EQ(QDir::currentPath(), before);
}

TEST_F(Folders, FolderWithoutSearchPermissionIsNoFolderToEnter)
{
    if (::geteuid() == 0)
        GTEST_SKIP() << "the superuser may enter any folder";
    const QString closed = m_dir.filePath("Kapali");
    ASSERT_TRUE(QDir().mkdir(closed));
    ASSERT_TRUE(QFile::setPermissions(closed, QFileDevice::ReadOwner | QFileDevice::WriteOwner));
    EXPECT_FALSE(ISDIR(closed));
    QFile::setPermissions(closed, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
}

TEST_F(Folders, DriveReadyForNativePathsOnly)
{
    const QString before = QDir::currentPath();
    EXPECT_TRUE(ISDRIVEREADY("/"));
    EXPECT_TRUE(ISDRIVEREADY(m_dir.path()));
    // A folder still to be created lies on a ready volume too.
    EXPECT_TRUE(ISDRIVEREADY(m_dir.filePath("RMD_Yed/Alt")));
    // Drive letters name no drive here.
    for (const char *drive : {"", "C", "D:\\Veri", "c:", "Data/x"})
        EXPECT_FALSE(ISDRIVEREADY(QString::fromLatin1(drive))) << drive;
    EXPECT_EQ(QDir::currentPath(), before);
}

TEST(SystemQueries, NetworkFileSystems)
{
    for (const char *type : {"nfs", "nfs4", "cifs", "smb3", "fuse.sshfs", "9p", "NFS"})
        EXPECT_TRUE(isNetworkFileSystemType(type)) << type;
    for (const char *type : {"ext4", "xfs", "btrfs", "tmpfs", "overlay", "vfat", "fuse", ""})
        EXPECT_FALSE(isNetworkFileSystemType(type)) << type;
    EXPECT_FALSE(ISDRIVENETWORK(""));
    EXPECT_FALSE(ISDRIVENETWORK("D:\\"));
}

TEST(SystemQueries, SpecialFolders)
{
    EXPECT_EQ(MYDOCUMENTQV(), documentsFolder());
    EXPECT_EQ(JOVGETFOLDERPATH(5), MYDOCUMENTQV());
    EXPECT_FALSE(MYDOCUMENTQV().isEmpty());
    EXPECT_FALSE(MYDOCUMENTQV().endsWith('/'));
    EXPECT_EQ(JOVGETFOLDERPATH(CSIDL_LOCAL_APPDATA), specialFolderPath(CSIDL_LOCAL_APPDATA));
    EXPECT_EQ(JOVGETFOLDERPATH(0x7777), "");
    EXPECT_EQ(GETWINDOWSDIR(), "/etc");
    EXPECT_TRUE(ISDIR(GETWINDOWSDIR()));
}

TEST_F(Folders, DefaultsMoveToTheProgramFolder)
{
    QTemporaryDir elsewhere;
    ASSERT_TRUE(QDir::setCurrent(elsewhere.path()));
    appGlobals().CPROGDIZIN = m_dir.path();
    VXODEFAULTS();
    EXPECT_EQ(QDir::currentPath(), canonical(m_dir.path()));
    // Already there: stays there.
    VXODEFAULTS();
    EXPECT_EQ(QDir::currentPath(), canonical(m_dir.path()));
}

TEST_F(Folders, DefaultsWithoutAProgramFolderChangeNothing)
{
    ASSERT_TRUE(QDir::setCurrent(m_dir.path()));
    for (const QString &prog : {QString(), m_dir.filePath("Yok"), QStringLiteral("C:\\VEXO")}) {
        appGlobals().CPROGDIZIN = prog;
        VXODEFAULTS();
        EXPECT_EQ(QDir::currentPath(), canonical(m_dir.path())) << prog.toStdString();
    }
}

TEST(SystemQueries, AppRunningHoldsTheName)
{
    const QString name = QStringLiteral("VEXO_Test_") + QUuid::createUuid().toString(QUuid::WithoutBraces);
    EXPECT_FALSE(ISAPPRUNNING(name));
    EXPECT_TRUE(ISAPPRUNNING(name));
    EXPECT_TRUE(ISAPPRUNNING(name));
}

TEST(SystemQueries, TurkishLocaleNames)
{
    for (const char *name : {"tr", "tr_TR", "tr_TR.UTF-8", "TR_tr.ISO-8859-9", "tr_TR@euro"})
        EXPECT_TRUE(isTurkishLocaleName(QString::fromLatin1(name))) << name;
    for (const char *name : {"", "C", "C.UTF-8", "POSIX", "en_US.UTF-8", "trk", "de_TR"})
        EXPECT_FALSE(isTurkishLocaleName(QString::fromLatin1(name))) << name;
}

// Sets the locale variables for one test and puts them back afterwards.
class LocaleEnvironment : public ::testing::Test
{
protected:
    void SetUp() override
    {
        for (const char *v : kVariables)
            m_saved.append(qgetenv(v));
    }
    void TearDown() override
    {
        for (int i = 0; i < 3; ++i) {
            if (m_saved[i].isNull())
                qunsetenv(kVariables[i]);
            else
                qputenv(kVariables[i], m_saved[i]);
        }
    }
    static void set(const char *all, const char *messages, const char *lang)
    {
        qputenv("LC_ALL", all);
        qputenv("LC_MESSAGES", messages);
        qputenv("LANG", lang);
    }

    static constexpr const char *kVariables[3] = {"LC_ALL", "LC_MESSAGES", "LANG"};
    QList<QByteArray> m_saved;
};

TEST_F(LocaleEnvironment, TurkishSettingPassesSilently)
{
    test::ScriptedMessages messages;
    set("", "", "tr_TR.UTF-8");
    EXPECT_TRUE(SYSCONFIG(nullptr));
    set("", "tr_TR.UTF-8", "en_US.UTF-8");
    EXPECT_TRUE(SYSCONFIG(nullptr));
    EXPECT_TRUE(messages.shown().isEmpty());
}

TEST_F(LocaleEnvironment, OtherSettingIsReportedToTheOwner)
{
    test::ScriptedMessages messages;
    QWidget owner;
    // LC_ALL wins over a Turkish LANG.
    set("C.UTF-8", "", "tr_TR.UTF-8");
    EXPECT_FALSE(SYSCONFIG(&owner));
    ASSERT_EQ(messages.shown().size(), 1);
    const MessageRequest &box = messages.shown().first();
    EXPECT_EQ(box.owner.data(), &owner);
    EXPECT_EQ(box.caption, QStringLiteral("Sistem Ayarı"));
    EXPECT_EQ(box.text, QStringLiteral("Bu programda normal görüntü sağlamak için; Kontrol Paneli'nin\r"
                                       "Bölgesel Ayarlar sekmesinde, dil olarak Türkçe'yi seçiniz!"));
    EXPECT_EQ(box.style, 16u);
    EXPECT_EQ(messages.unexpectedQuestions(), 0);
}

TEST(SystemQueries, OldWindowsQuestionsAreFalse)
{
    EXPECT_FALSE(ISWIN98());
    EXPECT_FALSE(ISWINME());
    EXPECT_FALSE(ISWINXP());
    EXPECT_FALSE(IS64BITOS());
}

TEST(SystemQueries, StrToHex)
{
    EXPECT_EQ(STR2HEX("abc"), "61 62 63 ");
    EXPECT_EQ(STR2HEX("abc").size(), 9);
    EXPECT_EQ(STR2HEX(""), "");
    // Turkish letters are their Windows-1254 bytes, one byte each.
    EXPECT_EQ(STR2HEX(QStringLiteral("şİğ")), "FE DD F0 ");
    EXPECT_EQ(STR2HEX(QByteArray("\x00\xff", 2)), "00 FF ");
}

TEST(SystemQueries, ValToHex)
{
    struct Case
    {
        QVariant value;
        const char *hex;
    };
    const Case cases[] = {
        {QVariant(255.0), "000000FF"},
        {QVariant(2.5), "4004000000000000"},
        {QVariant(-1.0), "FFFFFFFF"},
        {QVariant(0.0), "00000000"},
        {QVariant(4294967295.0), "FFFFFFFF"},
        {QVariant(4294967296.0), "41F0000000000000"},
        {QVariant(-2147483647.0), "80000001"},
        {QVariant(-2147483648.0), "C1E0000000000000"},
        {QVariant(1.5), "3FF8000000000000"},
        {QVariant(255), "000000FF"},
        {QVariant(-2), "FFFFFFFE"},
        {QVariant(qlonglong(0x1234567890)), "34567890"},
        {QVariant(true), "00000001"},
        {QVariant(false), "00000000"},
        {QVariant(), "00000000"},
        {QVariant(QStringLiteral("abc")), "61 62 63 "},
        {QVariant(QString()), ""},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.value.toString().toStdString());
        EXPECT_EQ(VAL2HEX(c.value), QString::fromLatin1(c.hex));
    }
    EXPECT_EQ(VAL2HEX(QVariant(std::nan(""))).size(), 16);
}

TEST(SystemQueries, CryptxShiftsBytesByTheKey)
{
    // 'a' + 'k' = 0xCC.
    EXPECT_EQ(Cp1254Codec::encode(CRYPTX("abc", "k", true)), QByteArray("\xCC\xCD\xCE"));
    // The key repeats along a longer text.
    EXPECT_EQ(Cp1254Codec::encode(CRYPTX("aaaa", "AB", true)), QByteArray("\xA2\xA3\xA2\xA3"));
    // The sum wraps at 256, and unscrambling wraps back.
    EXPECT_EQ(Cp1254Codec::encode(CRYPTX(QString(QChar(0xFF)), "b", true)), QByteArray("a"));
    EXPECT_EQ(CRYPTX("a", "b", false), QString(QChar(0xFF)));
    EXPECT_EQ(CRYPTX("", "key", true), "");
    EXPECT_EQ(CRYPTX("", "key", false), "");
    EXPECT_EQ(CRYPTX("metin", "", true), "metin");
}

TEST(SystemQueries, CryptxRoundTrip)
{
    const QString texts[] = {
        QStringLiteral("Şifre: İğneada, çığ, öğün, üç"),
        QStringLiteral("ÿÿÿÿ zzzz ~~~~"),
        Cp1254Codec::decode(QByteArray("\x01\x7F\x80\x81\xFF", 5)),
        QStringLiteral("x"),
    };
    for (const QString &key : {QStringLiteral("k"), QStringLiteral("ĞÜŞ"), QStringLiteral("uzun bir anahtar metni!!")}) {
        for (const QString &text : texts) {
            const QString scrambled = CRYPTX(text, key, true);
            EXPECT_EQ(scrambled.size(), text.size());
            EXPECT_NE(scrambled, text);
            EXPECT_EQ(CRYPTX(scrambled, key, false), text) << text.toStdString() << " / " << key.toStdString();
        }
    }
}

} // namespace
} // namespace vexo
