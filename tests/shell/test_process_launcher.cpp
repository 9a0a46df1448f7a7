#include "process_helpers.h"
#include "scripted_messages.h"
#include "shell/process_launcher.h"
#include "shell/registry.h"

#include <QDir>
#include <QSysInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace vexo;
using namespace vexo::test;

namespace {

TEST(WordPad, IsMissingHereAndRunningItSaysSo)
{
    EnvGuard pf("ProgramFiles");
    EnvGuard pf86("ProgramFiles(x86)");
    qunsetenv("ProgramFiles");
    qunsetenv("ProgramFiles(x86)");
    test::ScriptedMessages messages;
    EXPECT_FALSE(HASWORDPAD());
    EXPECT_FALSE(RUNWORDPAD(QStringLiteral("/tmp/x.rtf")));
    ASSERT_EQ(messages.shown().size(), 1);
    EXPECT_EQ(messages.shown().at(0).caption, QStringLiteral("Hata..."));
    EXPECT_EQ(messages.shown().at(0).text, QStringLiteral("WordPad bulunamadı!"));
    EXPECT_EQ(messages.shown().at(0).style, unsigned(MB_OK));
    EXPECT_TRUE(messages.shown().at(0).owner.isNull());
}

TEST(WordPad, IsStartedWithTheFileAsOneArgumentWhereItExists)
{
    EnvGuard pf("ProgramFiles");
    EnvGuard pf86("ProgramFiles(x86)");
    QTemporaryDir dir;
    QTemporaryDir dir86;
    ASSERT_TRUE(QDir(dir86.path()).mkpath(QStringLiteral("Windows NT/Accessories")));
    const QString out = dir.filePath(QStringLiteral("args.txt"));
    argumentRecorder(dir86.filePath(QStringLiteral("Windows NT/Accessories/wordpad.exe")), out);
    qputenv("ProgramFiles", dir.path().toLocal8Bit());
    qputenv("ProgramFiles(x86)", dir86.path().toLocal8Bit());
    test::ScriptedMessages messages;
    EXPECT_TRUE(HASWORDPAD());
    EXPECT_TRUE(RUNWORDPAD(QStringLiteral("/tmp/Rapor Dosyası.rtf")));
    EXPECT_TRUE(waitFor([&] { return readAll(out).endsWith(u'\n'); }));
    EXPECT_EQ(readAll(out), QStringLiteral("[/tmp/Rapor Dosyası.rtf]\n"));
    EXPECT_TRUE(messages.shown().isEmpty());

    qunsetenv("ProgramFiles(x86)");
    EXPECT_FALSE(HASWORDPAD()) << "the second folder counts only when its variable is set";
}

struct VersionCase
{
    const char *version;
    const char *build;
    const char *display;
    const char *name;
};

TEST(WindowsVersion, NamesFollowVersionAndBuild)
{
    const VersionCase cases[] = {
        {"10.0", "22631", "23H2", "Windows 11 (23H2) Build: 22631"},
        {"6.3", "9600", "", "Windows 6.3 Build: 9600"},
        {"10.0", "19045", "22H2", "Windows 10 (22H2) Build: 19045"},
        {"10.0", "22000", "", "Windows 11 Build: 22000"},
    };
    for (const VersionCase &c : cases) {
        EXPECT_EQ(windowsNameFromVersion(QString::fromLatin1(c.version), QString::fromLatin1(c.build),
                                         QString::fromLatin1(c.display)),
                  QString::fromLatin1(c.name));
    }
    EXPECT_EQ(windows10Or11FromBuild(QStringLiteral("19045")), QStringLiteral("Windows 10"));
    EXPECT_EQ(windows10Or11FromBuild(QStringLiteral("9600")), QStringLiteral("Windows 10"));
    EXPECT_EQ(windows10Or11FromBuild(QString()), QStringLiteral("Windows 10"));
    EXPECT_EQ(windows10Or11FromBuild(QStringLiteral("22000")), QStringLiteral("Windows 11"));
}

TEST(WindowsVersion, QueriesReadTheRegistryAndOtherwiseNameThisSystem)
{
    QTemporaryDir dir;
    setRegistryFilePath(dir.filePath(QStringLiteral("registry.ini")));
    const QString linuxName = QSysInfo::prettyProductName() + QStringLiteral(" Build: ") + QSysInfo::kernelVersion();
    EXPECT_EQ(GETWINDOWSNAMEVO(), linuxName);
    EXPECT_EQ(GETWIN10OR11(), QSysInfo::prettyProductName());

    CLASS_HKLM reg;
    reg.WORKING_SUBKEY(QStringLiteral("SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion"));
    reg.WRITESTRING(QString(), QStringLiteral("CurrentBuildNumber"), QStringLiteral("9600"));
    EXPECT_EQ(GETWIN10OR11(), QStringLiteral("Windows 10"));
    CLASS_HKLM wow;
    wow.WORKING_SUBKEY(QStringLiteral("SOFTWARE\\WOW6432Node\\Microsoft\\Windows NT\\CurrentVersion"));
    wow.WRITESTRING(QString(), QStringLiteral("CurrentVersion"), QStringLiteral("6.3"));
    EXPECT_EQ(GETWINDOWSNAMEVO(), QStringLiteral("Windows 6.3 Build: 9600"));
    reg.WRITESTRING(QString(), QStringLiteral("CurrentVersion"), QStringLiteral("10.0"));
    reg.WRITESTRING(QString(), QStringLiteral("CurrentBuildNumber"), QStringLiteral("22631"));
    reg.WRITESTRING(QString(), QStringLiteral("DisplayVersion"), QStringLiteral("23H2"));
    EXPECT_EQ(GETWINDOWSNAMEVO(), QStringLiteral("Windows 11 (23H2) Build: 22631"));
    EXPECT_EQ(GETWIN10OR11(), QStringLiteral("Windows 11"));
    setRegistryFilePath(QString());
}

} // namespace
