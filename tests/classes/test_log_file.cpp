#include "classes/log_file.h"

#include "process_helpers.h"
#include "scripted_messages.h"

#include "file_bytes.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <dlfcn.h>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

using namespace vexo;

namespace {

struct ProgramAt
{
    explicit ProgramAt(const QString &path) { LOGFILE::setProgramPath(path); }
    ~ProgramAt()
    {
        LOGFILE::setProgramPath({});
        setServerLogSource({});
    }
};

} // namespace

TEST(LogFile, Naming)
{
    QTemporaryDir dir;
    const QString d = dir.path();
    QDir(d).mkpath("logs");
    QDir(d).mkpath("app.d");
    test::EnvGuard root("SystemRoot");
    qputenv("SystemRoot", QFile::encodeName(d + "/win"));
    struct Case
    {
        QString program;
        QVariant name, server;
        std::optional<QString> registry; // empty: the key cannot be read
        QString fname;
    };
    const Case cases[] = {
        {d + "/Prog", {}, {}, {}, d + "/Prog.log"},
        {d + "/Prog.exe", {}, {}, {}, d + "/Prog.log"},
        {d + "/Prog", QString("trace.txt"), {}, {}, d + "/trace.log"},
        {d + "/Prog", QString(d + "/logs/run"), {}, {}, d + "/logs/run.log"},
        {d + "/Prog", 42, QString("yes"), QString("/srv"), d + "/Prog.log"}, // arguments of the wrong kind
        {d + "/app.d/Prog", {}, {}, {}, d + "/app.d/Prog.log"},              // a dot in a folder is no extension
        {d + "/Prog.exe", {}, true, QString("%SystemRoot%/System32/LogFiles"), d + "/win/System32/LogFiles/Prog.log"},
        {d + "/Prog.exe", {}, true, QString("x%systemroot%/L"), d + "/win/L/Prog.log"},
        {d + "/Prog", QString("a.b.txt"), true, QString(d + "/logs"), d + "/logs/a.b.log"},
        {d + "/Prog", {}, true, QString(), d + "/sys/LogFiles/Prog.log"},
        {d + "/Prog", {}, true, std::nullopt, "/Prog.log"},
    };
    for (const Case &c : cases) {
        ProgramAt program(c.program);
        setServerLogSource({[&c] { return c.registry; }, [&d] { return d + "/sys"; }});
        LOGFILE log(c.name, c.server);
        EXPECT_EQ(log.FNAME(), c.fname) << c.program.toStdString();
        EXPECT_EQ(log.SERVERPATH(), c.program.left(c.program.lastIndexOf('/') + 1));
        EXPECT_EQ(log.LOGPATH(), c.fname.left(c.fname.lastIndexOf('/')));
        EXPECT_TRUE(log.APPEND());
    }
    ProgramAt program(d + "/Prog");
    LOGFILE log;
    EXPECT_TRUE(log.LOG2FILE());
    EXPECT_TRUE(QFile::exists(d + "/Prog.log"));
    EXPECT_EQ(log.setFNAME(5), d + "/Prog.log");
    EXPECT_EQ(log.setFNAME(QString("noslash")), "noslash");
    EXPECT_EQ(log.LOGPATH(), "noslash");
    EXPECT_TRUE(log.setAPPEND(QString("x")));
}

TEST(LogFile, FreshLogBacksTheOldOneUp)
{
    QTemporaryDir dir;
    ProgramAt program(dir.filePath("Prog.exe"));
    ASSERT_TRUE(test::writeBytes(dir.filePath("Prog.log"), "old log\r\n"));
    ASSERT_TRUE(test::writeBytes(dir.filePath("Prog.bak"), "older backup, longer than the log\r\n"));
    LOGFILE kept;
    EXPECT_EQ(test::fileBytes(dir.filePath("Prog.log")), "old log\r\n");
    EXPECT_TRUE(kept.BACKUPNAME().isEmpty());
    LOGFILE fresh({}, {}, false);
    EXPECT_EQ(fresh.BACKUPNAME(), dir.filePath("Prog.bak"));
    EXPECT_EQ(test::fileBytes(dir.filePath("Prog.bak")), "old log\r\n");
    EXPECT_EQ(test::fileBytes(dir.filePath("Prog.log")), "");
    EXPECT_TRUE(fresh.DEBUGMSG("one"));
    EXPECT_TRUE(kept.DEBUGMSG("two"));
    EXPECT_EQ(test::fileBytes(dir.filePath("Prog.log")), "one\r\ntwo\r\n");
}

TEST(LogFile, LockedLogIsRetriedTenTimesThenGivenUp)
{
    QTemporaryDir dir;
    ProgramAt program(dir.filePath("Prog"));
    test::ManualClock clock;
    ASSERT_TRUE(test::writeBytes(dir.filePath("Prog.log"), ""));
    const int holder = ::open(QFile::encodeName(dir.filePath("Prog.log")).constData(), O_RDONLY);
    ASSERT_EQ(::flock(holder, LOCK_EX), 0);
    LOGFILE log;
    EXPECT_TRUE(log.LOG2FILE()); // a lock conflict still counts as a usable log
    EXPECT_FALSE(log.DEBUGMSG("lost"));
    EXPECT_EQ(clock.sleeps(), 2 * (LOGFILE::kOpenTries - 1));
    ::close(holder);
    EXPECT_TRUE(log.DEBUGMSG("kept"));
    EXPECT_EQ(test::fileBytes(dir.filePath("Prog.log")), "kept\r\n");
}

TEST(LogFile, DebugOutputWhenTheLogCannotBeUsed)
{
    QTemporaryDir dir;
    ProgramAt program(dir.filePath("Prog"));
    QStringList out;
    setDebugOutput([&out](const QString &t) { out.append(t); });
    LOGFILE log(QString(dir.filePath("missing/run")));
    EXPECT_FALSE(log.LOG2FILE());
    EXPECT_TRUE(log.DEBUGMSG("to the debugger"));
    EXPECT_FALSE(log.DEBUGMSG(""));
    EXPECT_EQ(out, QStringList({"to the debugger", ""}));
    setDebugOutput({});
    // A renamed log that does not exist is not created by a write.
    LOGFILE other;
    other.setFNAME(dir.filePath("elsewhere.log"));
    EXPECT_FALSE(other.DEBUGMSG("x"));
    EXPECT_FALSE(QFile::exists(dir.filePath("elsewhere.log")));
}

TEST(LogFile, GoldenDump)
{
    QTemporaryDir dir;
    ProgramAt program(dir.filePath("Prog"));
    test::ManualClock clock;
    clock.setNow(QDateTime(QDate(2024, 3, 15), QTime(9, 5, 7)));
    const QString oldName = QCoreApplication::applicationName(), oldVersion = QCoreApplication::applicationVersion();
    QCoreApplication::setApplicationName("VEXO_Zud");
    QCoreApplication::setApplicationVersion("2.6.0");
    LOGFILE log;
    log.setLOG2FILE(false); // the dump writes all the same
    LogErrorRecord e;
    e.subSystem = "BASE";
    e.subCode = 5333;
    e.genCode = 5;
    e.stack = QString("MAIN:10\r\nSTART:2\r\nRUN:1");
    e.osCode = 0xC0000094u;
    e.argType = 0;
    e.funcPtr = 0x401000;
    e.argNum = 2;
    e.funcSym = -1;
    e.severity = 2;
    e.canDefault = false;
    e.canRetry = true;
    e.description = "Zero divisor";
    e.tries = 0;
    e.argTypeReq = int(QMetaType::Double);
    log.DUMPERROR(e);
    e.subCode = 1001;
    e.stack = QString();
    e.argType = int(QMetaType::QString);
    e.funcSym = "DIVIDE";
    log.DUMPERROR(e);
    QCoreApplication::setApplicationName(oldName);
    QCoreApplication::setApplicationVersion(oldVersion);

    const QByteArray head = "***********************ERROR********************************\r\n"
                            "VEXO_Zud 2.6.0\r\n"
                            "15/03/2024 09:05:07\r\n"
                            " \r\n"
                            "Error Object created:\r\n"
                            "--------------------\r\n"
                            "SubSystem       :BASE\r\n";
    const QByteArray tail = "Severity        :2\r\n"
                            "CanDefault      :.F.\r\n"
                            "CanRetry        :.T.\r\n"
                            "CanSubstitute   :NIL\r\n"
                            "Operation       :NIL\r\n"
                            "Description     :Zero divisor\r\n"
                            "FileName        :NIL\r\n"
                            "Tries           :0\r\n"
                            "FileHandle      :NIL\r\n"
                            "SubCodeText     :NIL\r\n"
                            "Arg             :NIL\r\n"
                            "ArgTypeReq      :double\r\n"
                            "MaxSize         :NIL\r\n"
                            "SubstituteType  :NIL\r\n"
                            "CallFuncSym     :NIL\r\n"
                            "--------------------\r\n";
    const QByteArray want = head
                            + "SubCode         :5333\r\n"
                              "GenCode         :Zero divisor\r\n"
                              "Stack           :'MAIN:10'\r\n"
                              "                :'START:2'\r\n"
                              "                :'RUN:1'\r\n"
                              "ExceptionCode   :C0000094\r\n"
                              "ExceptionFlags  :00000000\r\n"
                              "ExceptionAddress:00401000\r\n"
                              "ParamNumber     :2\r\n"
                              "ExceptionInfo   :FFFFFFFF\r\n"
                            + tail + head
                            + "SubCode         :1001\r\n"
                              "GenCode         :Zero divisor\r\n"
                              "OsCode          :3221225620\r\n"
                              "ArgType         :QString\r\n"
                              "FuncPtr         :4198400\r\n"
                              "ArgNum          :2\r\n"
                              "FuncSym         :DIVIDE\r\n"
                            + tail;
    EXPECT_EQ(test::fileBytes(dir.filePath("Prog.log")), want);
}

TEST(LibraryVersion, ReadsOnlyALoadedLibrary)
{
    void *loaded = ::dlopen(VEXO_VERSION_LOADED_LIB, RTLD_NOW);
    ASSERT_NE(loaded, nullptr) << ::dlerror();
    WINDLLVERSION v(QStringLiteral(VEXO_VERSION_LOADED_LIB));
    EXPECT_EQ(v.DLL(), QStringLiteral(VEXO_VERSION_LOADED_LIB));
    EXPECT_EQ(QList<quint32>({v.MAJORVERSION, v.MINORVERSION, v.BUILD, v.PLATFORMID}), QList<quint32>({6, 1, 7601, 2}));
    EXPECT_TRUE(v.ISWINNT());

    WINDLLVERSION u(QStringLiteral(VEXO_VERSION_UNLOADED_LIB));
    EXPECT_EQ(QList<quint32>({u.MAJORVERSION, u.MINORVERSION, u.BUILD, u.PLATFORMID}), QList<quint32>({0, 0, 0, 0}));
    EXPECT_FALSE(u.ISWINNT());
    EXPECT_EQ(::dlopen(VEXO_VERSION_UNLOADED_LIB, RTLD_NOW | RTLD_NOLOAD), nullptr); // still not loaded
    // A loaded library without the export leaves the numbers as they were.
    u.setDLL("libc.so.6");
    EXPECT_EQ(u.MAJORVERSION, 0u);
    ::dlclose(loaded);
}
