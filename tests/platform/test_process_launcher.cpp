#include "platform/process_launcher.h"
#include "process_helpers.h"
#include "scripted_messages.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace vexo;
using namespace vexo::test;

namespace {

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

TEST(Calculator, TheFirstProgramFoundOnThePathStartsAndNoneIsSilent)
{
    EnvGuard path("PATH");
    QTemporaryDir dir;
    const QString out = dir.filePath(QStringLiteral("started.txt"));
    // Two candidates present: the earlier in the list is the one started.
    argumentRecorder(dir.filePath(calculatorPrograms().at(1)), out);
    argumentRecorder(dir.filePath(calculatorPrograms().at(3)), dir.filePath(QStringLiteral("wrong.txt")));
    qputenv("PATH", dir.path().toLocal8Bit());
    EXPECT_TRUE(launchCalculator());
    EXPECT_TRUE(waitFor([&] { return QFile::exists(out); }));
    EXPECT_FALSE(QFile::exists(dir.filePath(QStringLiteral("wrong.txt"))));

    QTemporaryDir empty;
    qputenv("PATH", empty.path().toLocal8Bit());
    EXPECT_FALSE(launchCalculator());
}

} // namespace
