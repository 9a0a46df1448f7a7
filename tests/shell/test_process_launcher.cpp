#include "scripted_messages.h"
#include "shell/process_launcher.h"
#include "shell/registry.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QSysInfo>
#include <QTemporaryDir>
#include <QThread>

#include <gtest/gtest.h>

#include <functional>

using namespace vexo;

namespace {

bool waitFor(const std::function<bool()> &condition, int ms = 5000)
{
    QDeadlineTimer deadline(ms);
    while (!condition()) {
        if (deadline.hasExpired())
            return false;
        QCoreApplication::processEvents();
        QThread::msleep(10);
    }
    return true;
}

QString readAll(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? QString::fromUtf8(f.readAll()) : QString();
}

// A script that writes each of its arguments on a line of the given file.
QString argumentRecorder(const QString &script, const QString &out)
{
    QFile f(script);
    f.open(QIODevice::WriteOnly);
    f.write(QStringLiteral("#!/bin/sh\nfor a in \"$@\"; do echo \"[$a]\"; done > '%1'\n").arg(out).toUtf8());
    f.close();
    f.setPermissions(f.permissions() | QFileDevice::ExeOwner);
    return script;
}

struct CmdCase
{
    const char *command;
    const char *exe;
};

TEST(QvGetCmdExe, TakesTheExecutableOutOfARegisteredCommand)
{
    const CmdCase cases[] = {
        {"\"C:\\Program Files\\Adobe\\AcroRd32.exe\" \"%1\"", "C:\\Program Files\\Adobe\\AcroRd32.exe"},
        {"C:\\Viewer\\viewer.exe /p %1", "C:\\Viewer\\viewer.exe /p %1"},
        {"\"C:\\Viewer\\viewer.exe /p %1", "C:\\Viewer\\viewer.exe /p %1"},
        {"", ""},
        {"\"\"", ""},
    };
    for (const CmdCase &c : cases)
        EXPECT_EQ(QVGETCMDEXE(QString::fromLatin1(c.command)), QString::fromLatin1(c.exe)) << c.command;
}

TEST(TkTask, KeepsTheCaseOfTheCommandLineAndIgnoresAnEmptyOne)
{
    TKTASK task;
    task.COMMANDLINE(QStringLiteral("c:\\windows\\system32\\calc.exe"));
    // Paths keep their case here: a file system that tells capitals apart would not find the
    // upper-cased program.
    EXPECT_EQ(task.COMMANDLINE(), QStringLiteral("c:\\windows\\system32\\calc.exe"));
    EXPECT_EQ(task.TASKNAME(), QStringLiteral("c:\\windows\\system32\\calc.exe"));
    task.COMMANDLINE(QString());
    task.COMMANDLINE(QStringLiteral("   "));
    EXPECT_EQ(task.COMMANDLINE(), QStringLiteral("c:\\windows\\system32\\calc.exe"));

    task.TASKNAME(QStringLiteral("Hesap Makinesi"));
    EXPECT_EQ(task.TASKNAME(), QStringLiteral("Hesap Makinesi"));
    task.TASKNAME(QString());
    EXPECT_EQ(task.TASKNAME(), QStringLiteral("Hesap Makinesi"));
    task.COMMANDLINE(QStringLiteral("/usr/bin/Viewer \"/tmp/My Report.pdf\""));
    EXPECT_EQ(task.TASKNAME(), QStringLiteral("/usr/bin/Viewer \"/tmp/My Report.pdf\""));
    EXPECT_EQ(task.PROGRAM(), QStringLiteral("/usr/bin/Viewer"));
    EXPECT_EQ(task.ARGUMENTS(), QStringList{QStringLiteral("/tmp/My Report.pdf")});

    task.COMMANDLINE(QStringLiteral("/opt/pdf viewer/view"), {QStringLiteral("/tmp/a \"b\".pdf"), QStringLiteral("-x")});
    EXPECT_EQ(task.COMMANDLINE(), QStringLiteral("\"/opt/pdf viewer/view\" \"/tmp/a \"\"\"b\"\"\".pdf\" -x"));
    EXPECT_EQ(QProcess::splitCommand(task.COMMANDLINE()),
              (QStringList{QStringLiteral("/opt/pdf viewer/view"), QStringLiteral("/tmp/a \"b\".pdf"), QStringLiteral("-x")}));
}

TEST(TkTask, LaunchWithoutACommandLineStartsNothing)
{
    TKTASK task;
    task.LAUNCH();
    EXPECT_EQ(task.TASKID(), 0);
    EXPECT_EQ(task.HANDLE(), nullptr);
    EXPECT_FALSE(task.ISTASK());
    EXPECT_FALSE(task.RUNNING());
    EXPECT_EQ(task.RETURNCODE(), 0u);
    task.LAUNCH1();
    EXPECT_EQ(task.HANDLE(), nullptr);
}

TEST(TkTask, ReportsRunningEndedWellAndEndedBadly)
{
    TKTASK running;
    running.COMMANDLINE(QStringLiteral("/bin/sh"), {QStringLiteral("-c"), QStringLiteral("sleep 0.4")});
    running.LAUNCH();
    ASSERT_GT(running.PROCESSID(), 0);
    EXPECT_EQ(running.THREADID(), running.PROCESSID());
    EXPECT_TRUE(running.ISTASK());
    EXPECT_TRUE(running.STILLRUNNING());
    EXPECT_EQ(running.RETURNCODE(), TKTASK::kStillActive);
    EXPECT_TRUE(waitFor([&] { return running.RETURNCODE() != TKTASK::kStillActive; }));
    EXPECT_FALSE(running.ISTASK());
    EXPECT_FALSE(running.RUNNING());
    EXPECT_EQ(running.RETURNCODE(), 0u);

    TKTASK failing;
    failing.COMMANDLINE(QStringLiteral("/bin/sh -c \"exit 1\""));
    failing.CREATE();
    EXPECT_TRUE(waitFor([&] { return failing.RETURNCODE() != TKTASK::kStillActive; }));
    EXPECT_TRUE(failing.ISTASK());
    EXPECT_EQ(failing.RETURNCODE(), 1u);
}

TEST(TkTask, AFailedStartIsSilentAndKeepsTheSystemsText)
{
    test::ScriptedMessages messages;
    TKTASK task;
    task.COMMANDLINE(QStringLiteral("/nonexistent/folder/program --flag"));
    task.LAUNCH();
    EXPECT_FALSE(task.lastErrorText().isEmpty());
    EXPECT_EQ(task.TASKID(), 0);
    EXPECT_FALSE(task.ISTASK());
    EXPECT_TRUE(messages.shown().isEmpty());
}

TEST(TkTask, ArgumentsWithBlanksArriveWholeAndTheProgramOutlivesItsTask)
{
    QTemporaryDir dir;
    const QString out = dir.filePath(QStringLiteral("args.txt"));
    const QString script = argumentRecorder(dir.filePath(QStringLiteral("Record Args.sh")), out);
    {
        TKTASK task;
        task.COMMANDLINE(script, {QStringLiteral("/tmp/My Folder/rapor 1.pdf"), QStringLiteral("İkinci")});
        task.LAUNCH();
    }
    ASSERT_TRUE(waitFor([&] { return QFile::exists(out) && readAll(out).contains(u'\n'); }));
    EXPECT_TRUE(waitFor([&] { return readAll(out).count(u'\n') == 2; }));
    EXPECT_EQ(readAll(out), QStringLiteral("[/tmp/My Folder/rapor 1.pdf]\n[İkinci]\n"));

    // A task dropped while its program runs does not end the program.
    const QString late = dir.filePath(QStringLiteral("late.txt"));
    {
        TKTASK task;
        task.COMMANDLINE(QStringLiteral("/bin/sh"), {QStringLiteral("-c"), QStringLiteral("sleep 0.3; echo done > '%1'").arg(late)});
        task.LAUNCH();
        ASSERT_TRUE(task.RUNNING());
    }
    EXPECT_TRUE(waitFor([&] { return readAll(late) == QStringLiteral("done\n"); }));
}

TEST(TkTask, LaunchOneStartsTheTaskNameWithoutArguments)
{
    QTemporaryDir dir;
    const QString out = dir.filePath(QStringLiteral("args.txt"));
    const QString script = argumentRecorder(dir.filePath(QStringLiteral("rec.sh")), out);
    TKTASK task;
    task.COMMANDLINE(QStringLiteral("/bin/false"), {QStringLiteral("ignored")});
    task.TASKNAME(script);
    task.LAUNCH1();
    EXPECT_TRUE(waitFor([&] { return task.RETURNCODE() != TKTASK::kStillActive; }));
    EXPECT_EQ(task.RETURNCODE(), 0u);
    EXPECT_EQ(readAll(out), QString());
    EXPECT_TRUE(QFile::exists(out));
}

class EnvGuard
{
public:
    explicit EnvGuard(const char *name) : m_name(name), m_had(qEnvironmentVariableIsSet(name)), m_old(qgetenv(name)) {}
    ~EnvGuard()
    {
        if (m_had)
            qputenv(m_name, m_old);
        else
            qunsetenv(m_name);
    }

private:
    const char *m_name;
    bool m_had;
    QByteArray m_old;
};

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
