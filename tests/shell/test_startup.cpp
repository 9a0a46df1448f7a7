#include "controls/barray_server.h"
#include "controls/grid_subclasses.h"
#include "matrix/bamat_gir_win.h"
#include "platform/dbf_filespec.h"
#include "platform/dbf_table.h"
#include "controls/shell_host.h"
#include "problem/open_problem.h"
#include "problem/reference_tables.h"
#include "refdb/file_pair_replace.h"
#include "refdb/starter_database.h"
#include "shell/settings_store.h"
#include "shell/startup.h"
#include "shell/startup_program.h"
#include "shell/registry.h"
#include "shell/registry_setup.h"
#include "shell/registry_store.h"
#include "shell/shell_window.h"
#include "shell/tip_of_the_day_dialog.h"
#include "shell/user_table.h"
#include "platform/special_folders.h"
#include "child_process.h"
#include "shell_fixture.h"

#include <QApplication>
#include <QCheckBox>
#include <QFileInfo>
#include <QLineEdit>
#include <QTest>
#include <QLocale>
#include <QMap>
#include <QPushButton>
#include <QTimer>

#include <csignal>
#include <unistd.h>

using namespace vexo;

namespace {

// The machine: a registry key as a map, a lock that is free or held, a documents folder.
class FakeEnvironment : public StartupEnvironment
{
public:
    explicit FakeEnvironment(QStringList *log) : m_log(log) {}
    bool anotherCopyRuns(const QString &name) override
    {
        m_log->append("lock " + name);
        return held;
    }
    void prepareInstallation() override { m_log->append("prepare"); }
    QString registryString(const QString &name) override { return registry.value(name); }
    void writeRegistryString(const QString &name, const QString &value) override
    {
        m_log->append("registry " + name + "=" + value);
        registry[name] = value;
    }
    QString documentsFolder() override { return documents; }

    bool held = false;
    QMap<QString, QString> registry;
    QString documents;

private:
    QStringList *m_log;
};

// The windows: each call recorded; the logon and the tip answer as told.
class FakeUi : public StartupUi
{
public:
    explicit FakeUi(QStringList *log) : m_log(log) {}
    void showSplash() override { m_log->append("splash"); }
    void showMainWindow(const std::optional<QRect> &position) override
    {
        m_log->append("main");
        mainPosition = position;
    }
    std::optional<QString> runLogon() override
    {
        m_log->append("logon");
        return logonAnswer;
    }
    void runTipOfTheDay(TipSettings &settings, const std::function<void()> &switchOff) override
    {
        m_log->append("tip " + settings.get(QString::fromUtf16(kLastTipSetting)));
        if (untickShowAtStart)
            switchOff();
        LASTTIPCONT(settings, quint32(lastTipFromSetting(settings.get(QString::fromUtf16(kLastTipSetting))) + 1));
    }
    void switchTipOptionOff() override
    {
        m_log->append("tip option off");
        STARTUPTIPCONT(false);
    }
    void openFile(const QString &path) override { m_log->append("open " + path); }

    std::optional<QString> logonAnswer;
    bool untickShowAtStart = false;
    std::optional<QRect> mainPosition;

private:
    QStringList *m_log;
};

class StartupTest : public test::ProgramFolderTest
{
protected:
    void SetUp() override
    {
        ProgramFolderTest::SetUp();
        m_env.documents = m_dir.filePath("Belgeler");
        ASSERT_TRUE(QDir().mkpath(m_env.documents));
        // What the setup leaves on a fresh machine.
        m_env.registry = {{"VKpath", m_program}, {"VKlstrt", "1"}, {"VKlogo", "1"}, {"VKldlg", "0"}};
        appGlobals() = AppGlobals();
        appGlobals().CPROGDIZIN = m_program; // for the tests' own reads of the store
        shellGlobals() = ShellGlobals();
    }
    void TearDown() override
    {
        setSettingsFileEraser({});
        ProgramFolderTest::TearDown();
    }
    StartupSequence::Outcome start(const QStringList &arguments = {"/opt/vexo/VEXO_Zud"})
    {
        m_log.clear();
        StartupSequence s(m_env, m_ui);
        return s.run(arguments);
    }
    QString stored(const char *field) { return readSetting(QString::fromLatin1(field)); }
    void store(const char *field, const char *value)
    {
        appGlobals().CPROGDIZIN = m_program;
        ASSERT_TRUE(writeSetting(QString::fromLatin1(field), QString::fromUtf8(value)));
    }
    QString storePath() const { return inProgram("VEXO_Rir26.VSF"); }

    QStringList m_log;
    FakeEnvironment m_env{&m_log};
    FakeUi m_ui{&m_log};
};

TEST_F(StartupTest, AFreshMachineStartsWithSplashMainWindowAndTip)
{
    EXPECT_EQ(start(), StartupSequence::Outcome::Running);
    EXPECT_EQ(m_log, QStringList({"lock VEXO_Rir26", "prepare", "splash", "main", "tip "}));
    EXPECT_TRUE(m_messages.shown().isEmpty());

    EXPECT_EQ(appGlobals().CPROGDIZIN, m_program);
    EXPECT_EQ(appGlobals().CPROGSURUCU, QString());
    const QString root = QDir(m_env.documents).filePath("VEXO_Rir26 Veriler");
    EXPECT_EQ(appGlobals().CVERIKOK, root);
    EXPECT_EQ(appGlobals().CVERIDIZIN, root + "/Data");
    for (const char *sub : {"Data", "Temp_Data", "PDF_Out"})
        EXPECT_TRUE(QFileInfo(QDir(root).filePath(sub)).isDir()) << sub;
    EXPECT_EQ(QDir::currentPath(), m_program) << "files named without a folder go to the program folder";

    // The store took the setup's values, and the user table holds the default account alone.
    EXPECT_EQ(stored("VKpath"), m_program);
    EXPECT_EQ(stored("VKlstrt"), "1");
    EXPECT_EQ(stored("VKlogo"), "1");
    EXPECT_EQ(stored("VKldlg"), "0");
    DbfTable users(userTablePath(), true, true);
    ASSERT_TRUE(users.isOpen());
    EXPECT_EQ(users.lastRec(), 1u);
    users.goTop();
    EXPECT_EQ(users.fieldGet("KULL_ID").toString().trimmed(), "PLNV");
    EXPECT_EQ(users.fieldGet("PASSWORD").toString().trimmed(), "KV47");
    EXPECT_FALSE(m_ui.mainPosition.has_value());
}

TEST_F(StartupTest, ASecondCopyWarnsOnceAndTouchesNothing)
{
    m_env.held = true;
    EXPECT_EQ(start(), StartupSequence::Outcome::AnotherCopyRuns);
    EXPECT_EQ(m_log, QStringList({"lock VEXO_Rir26"}));
    ASSERT_EQ(m_messages.shown().size(), 1);
    const MessageRequest &box = m_messages.shown().at(0);
    EXPECT_EQ(box.caption, QStringLiteral("Uyarı..."));
    EXPECT_EQ(box.text, QStringLiteral("VEXO_Zud 2.6 programı sisteminizde halen çalışıyor.\nGörev çubuğunda olabilir!"));
    EXPECT_EQ(box.icon(), unsigned(MB_ICONEXCLAMATION));
    EXPECT_EQ(box.buttons(), unsigned(MB_OK));
    EXPECT_TRUE(box.owner.isNull());
    EXPECT_FALSE(QFileInfo::exists(storePath()));
}

TEST_F(StartupTest, WithoutAProgramFolderTheSetupMessageEndsStartUpBeforeAnyFile)
{
    for (const char *path : {"", "    "}) {
        SCOPED_TRACE(path);
        m_messages.clear();
        m_env.registry["VKpath"] = path;
        EXPECT_EQ(start(), StartupSequence::Outcome::NotInstalled);
        EXPECT_EQ(m_log, QStringList({"lock VEXO_Rir26", "prepare"}));
        ASSERT_EQ(m_messages.shown().size(), 1);
        EXPECT_EQ(m_messages.shown().at(0).caption, QStringLiteral("Hata..."));
        EXPECT_EQ(m_messages.shown().at(0).text,
                  QStringLiteral("Program tam kurulu değil!\r\rÖnce CD/Flash Disk'ten VEXO_Rir26-setup.EXE ile programı kurunuz."));
        EXPECT_TRUE(QDir(m_program).isEmpty());
        EXPECT_FALSE(QFileInfo::exists(QDir(m_env.documents).filePath("VEXO_Rir26 Veriler")));
    }
}

TEST_F(StartupTest, AnOptionIsOnOnlyWhenItIsOne)
{
    const struct
    {
        const char *value;
        bool on;
    } cases[] = {{"1", true}, {"0", false}, {"", false}, {"x", false}, {" ", false}, {"E", false}};
    for (const auto &c : cases) {
        SCOPED_TRACE(c.value);
        QFile::remove(storePath());
        for (const char *field : {"VKldlg", "VKlstrt", "VKlogo", "VKrmdo"})
            m_env.registry[field] = c.value;
        m_ui.logonAnswer = QStringLiteral("PLNV");
        ASSERT_EQ(start(), StartupSequence::Outcome::Running);
        EXPECT_EQ(shellGlobals().LACILISGIRIS, c.on);
        EXPECT_EQ(shellGlobals().LACILISTUYO, c.on);
        EXPECT_EQ(shellGlobals().LACILISLOGO, c.on);
        EXPECT_EQ(appGlobals().LRMDENOKU, c.on);
        EXPECT_EQ(m_log.contains("splash"), c.on);
        EXPECT_EQ(m_log.contains("logon"), c.on);
    }
}

TEST_F(StartupTest, TheRegistryFillsOnlyEmptyStoreFields)
{
    store("VKlstrt", "0");
    store("VKlatip", "12");
    store("VKScrPos", "5,6,700,500");
    m_env.registry = {{"VKpath", m_program}, {"VKlstrt", "1"}, {"VKlatip", " 3"}, {"VKldlg", "0"},
                      {"VKlogo", "0"}, {"VKrmdo", "1"}, {"VKScrPos", "1,2,3,4"}, {"VKkvtt", "2"},
                      {"VKtpdf", "1"}};
    EXPECT_EQ(start(), StartupSequence::Outcome::Running);
    EXPECT_EQ(stored("VKlstrt"), "0");
    EXPECT_EQ(stored("VKlatip"), "12");
    EXPECT_EQ(stored("VKScrPos"), "5,6,700,500");
    EXPECT_EQ(stored("VKrmdo"), "1");
    EXPECT_EQ(stored("VKlogo"), "0");
    EXPECT_EQ(stored("VKkvtt"), "2");
    EXPECT_EQ(stored("VKtpdf"), "") << "the report form is never carried over";
    EXPECT_EQ(shellGlobals().NSONTUYO, 12);
    EXPECT_FALSE(shellGlobals().LACILISTUYO);
    EXPECT_EQ(m_log, QStringList({"lock VEXO_Rir26", "prepare", "main"}));
    EXPECT_EQ(m_ui.mainPosition, QRect(5, 6, 700, 500));
}

TEST_F(StartupTest, TheOneTimeMarkerTurnsFromOneToTwoInBothPlaces)
{
    m_env.registry["VKkvtt"] = "1";
    start();
    EXPECT_TRUE(m_log.contains("registry VKkvtt=2"));
    EXPECT_EQ(m_env.registry["VKkvtt"], "2");
    EXPECT_EQ(stored("VKkvtt"), "2");
    start();
    EXPECT_FALSE(m_log.contains("registry VKkvtt=2")) << "written once only";
    EXPECT_EQ(stored("VKkvtt"), "2");
}

TEST_F(StartupTest, ARefusedLogonEndsTheProgramBeforeTheTipAndTheFile)
{
    m_env.registry["VKldlg"] = "1";
    m_ui.logonAnswer.reset();
    EXPECT_EQ(start({"/opt/VEXO_Zud", "/data/a.VKD"}), StartupSequence::Outcome::LogonRefused);
    EXPECT_EQ(m_log, QStringList({"lock VEXO_Rir26", "prepare", "splash", "main", "logon"}));
    EXPECT_EQ(shellGlobals().CAKTIFKULLANICI, QString());

    m_ui.logonAnswer = QStringLiteral("PLNV").leftJustified(20);
    EXPECT_EQ(start({"/opt/VEXO_Zud", "/data/a b.VKD"}), StartupSequence::Outcome::Running);
    EXPECT_EQ(m_log, QStringList({"lock VEXO_Rir26", "prepare", "splash", "main", "logon", "tip ", "open /data/a b.VKD"}));
    EXPECT_EQ(shellGlobals().CAKTIFKULLANICI, QStringLiteral("PLNV").leftJustified(20));
}

TEST_F(StartupTest, TipsRotateAcrossStartsAndUntickingSwitchesTheOptionOff)
{
    start();
    start();
    EXPECT_EQ(m_log.last(), "tip 1");
    EXPECT_EQ(stored("VKlatip"), "2");
    m_ui.untickShowAtStart = true;
    start();
    EXPECT_EQ(stored("VKlstrt"), "0");
    EXPECT_FALSE(shellGlobals().LACILISTUYO);
    EXPECT_EQ(stored("VKlatip"), "3");
    m_ui.untickShowAtStart = false;
    start();
    EXPECT_FALSE(m_log.join(",").contains("tip")) << "no tip on the next start";
}

TEST_F(StartupTest, ASettingsStoreThatCannotBeRebuiltEndsStartUpWithAMessage)
{
    ASSERT_TRUE(DbfFileSpec(storePath()).create({{"VKpath", u'C', 100, 0}}));
    int erasures = 0;
    setSettingsFileEraser([&](const QString &) {
        ++erasures;
        return false;
    });
    EXPECT_EQ(start(), StartupSequence::Outcome::StoreNotReady);
    EXPECT_EQ(erasures, 1);
    EXPECT_EQ(m_log, QStringList({"lock VEXO_Rir26", "prepare"}));
    ASSERT_EQ(m_messages.shown().size(), 1);
    EXPECT_TRUE(m_messages.shown().at(0).text.startsWith("VEXO_Rir26.VSF"));
}

TEST_F(StartupTest, AMissingDocumentsFolderPutsTheDataInTheHomeFolder)
{
    m_env.documents.clear();
    start();
    EXPECT_EQ(appGlobals().CVERIKOK, QDir(QDir::homePath()).filePath("VEXO_Rir26 Veriler"));
    EXPECT_TRUE(QFileInfo(appGlobals().CVERIDIZIN).isDir());
}

TEST(StartupCommandLine, TheFileIsTheFirstArgumentAfterTheProgram)
{
    EXPECT_EQ(commandLineFile({"VEXO_Zud"}), QString());
    EXPECT_EQ(commandLineFile({}), QString());
    EXPECT_EQ(commandLineFile({"VEXO_Zud", "/home/u/Yem 1.VKD"}), "/home/u/Yem 1.VKD");
    EXPECT_EQ(commandLineFile({"VEXO_Zud", "\"/home/u/a.VKD\""}), "/home/u/a.VKD");
    EXPECT_EQ(commandLineFile({"VEXO_Zud", "/a.VKD", "/b.VKD"}), "/a.VKD");
}

TEST(StartupCommandLine, ARelativeFileIsResolvedAgainstTheStartFolder)
{
    EXPECT_EQ(commandLineFile({"VEXO_Zud", "Yem 1.VKD"}, "/home/u/Yemler"), "/home/u/Yemler/Yem 1.VKD");
    EXPECT_EQ(commandLineFile({"VEXO_Zud", "\"../b/Yem.VKD\""}, "/home/u/a"), "/home/u/b/Yem.VKD");
    EXPECT_EQ(commandLineFile({"VEXO_Zud", "/x/Yem.VKD"}, "/home/u"), "/x/Yem.VKD");
    EXPECT_EQ(commandLineFile({"VEXO_Zud"}, "/home/u"), QString());
}

TEST_F(StartupTest, AFileNamedRelativelyIsOpenedFromTheFolderTheProgramWasStartedIn)
{
    const QString started = m_dir.filePath("Calisma");
    ASSERT_TRUE(QDir().mkpath(started));
    const QString before = QDir::currentPath();
    ASSERT_TRUE(QDir::setCurrent(started));
    m_env.registry["VKlstrt"] = "0";
    EXPECT_EQ(start({"/opt/vexo/VEXO_Zud", "Yem 1.VKD"}), StartupSequence::Outcome::Running);
    QDir::setCurrent(before);
    EXPECT_EQ(m_log.last(), "open " + QDir(started).filePath("Yem 1.VKD"));
}

TEST(StartupCommandLine, TheWindowsCommandLineIsCutAfterTheProgramsExe)
{
    const QString line = "\"C:\\Program Files\\VEXO_Zud 2.6\\VEXO_Zud.EXE\" \"D:\\Veri\\Sığır Yemi.VKD\"";
    EXPECT_EQ(GETCOMANDLINE(line), " \"D:\\Veri\\Sığır Yemi.VKD\"");
    EXPECT_EQ(commandLineLiteral(GETCOMANDLINE(line)), "D:\\Veri\\Sığır Yemi.VKD");
    EXPECT_EQ(GETCOMANDLINE(QString(line).replace(".EXE", ".exe")), QString());
    EXPECT_EQ(GETCOMANDLINE("\"C:\\P\\VEXO_Zud.EXE\""), QString());
    EXPECT_EQ(GETCOMANDLINEFILE(line), "D:\\Veri\\Sığır Yemi.VKD");
    EXPECT_EQ(GETCOMANDLINEFILE("\"C:\\P\\VEXO_Zud.EXE\""), QString());
    EXPECT_EQ(commandLineLiteral("  stray words "), "stray words");
}

TEST(StartupWindowPosition, TheSavedPositionIsReadAsLeftTopWidthHeight)
{
    EXPECT_EQ(screenPositionFromSetting(""), std::nullopt);
    EXPECT_EQ(screenPositionFromSetting("   "), std::nullopt);
    EXPECT_EQ(screenPositionFromSetting("11,200,914,533"), QRect(11, 200, 914, 533));
    EXPECT_EQ(screenPositionFromSetting("0,0,800,600,9"), QRect(0, 0, 800, 600)) << "the height's leading number";
    EXPECT_EQ(screenPositionFromSetting("10,x,300,y"), QRect(10, 0, 300, 0)) << "a part without digits is 0";
    // Fewer than four numbers were never written by the program: no saved position.
    for (const char *partial : {"10,x,300", "800", "12,40", "1,2,3 4"})
        EXPECT_EQ(screenPositionFromSetting(partial), std::nullopt) << partial;
}

// Without a saved position the window takes three quarters of the free screen, its left edge 11
// pixels in and its bottom edge 200 pixels above the bottom; a small screen keeps the title bar on it.
TEST(StartupWindowPosition, TheDefaultWindowTakesThreeQuartersOfTheFreeScreen)
{
    struct Case
    {
        QRect available;
        QRect expected;
    };
    const Case cases[] = {
        {QRect(0, 0, 1280, 900), QRect(11, 25, 960, 675)},
        {QRect(0, 0, 1280, 1024), QRect(11, 56, 960, 768)},
        {QRect(0, 0, 1920, 1050), QRect(11, 63, 1440, 787)},
        {QRect(1280, 30, 1024, 738), QRect(1291, 30, 914, 553)}, // a panel above, a second screen
        {QRect(0, 0, 800, 600), QRect(0, 0, 800, 533)},
    };
    for (const Case &c : cases) {
        const QRect r = defaultMainWindowRect(c.available);
        EXPECT_EQ(r, c.expected) << c.available.width() << "x" << c.available.height();
        EXPECT_TRUE(c.available.contains(r)) << c.available.width() << "x" << c.available.height();
    }
}

// The program's own tip window, closed as soon as it shows, so that the last tip moves on per start.
TEST_F(StartupTest, TheRealTipDialogRotatesTheTipAcrossStarts)
{
    ProgramStartupUi ui;
    ui.showMainWindow(std::nullopt);
    ASSERT_NE(ui.mainWindow(), nullptr);
    EXPECT_EQ(ui.mainWindow()->windowTitle(), QStringLiteral("VEXO_Zud 2.6 - DUD Karma Yem Formülü Hazırlama Programı"));
    for (int start = 1; start <= 3; ++start) {
        QTimer closer;
        QObject::connect(&closer, &QTimer::timeout, [] {
            if (QWidget *w = QApplication::activeModalWidget())
                w->close();
        });
        closer.start(10);
        StoreTipSettings settings;
        ui.runTipOfTheDay(settings, [] { STARTUPTIPCONT(false); });
        EXPECT_EQ(lastTipFromSetting(readSetting("VKlatip")), start);
    }
    store("VKlatip", "44");
    QTimer::singleShot(10, [] {
        if (QWidget *w = QApplication::activeModalWidget())
            w->close();
    });
    StoreTipSettings settings;
    ui.runTipOfTheDay(settings, [] { STARTUPTIPCONT(false); });
    EXPECT_EQ(lastTipFromSetting(readSetting("VKlatip")), 1) << "after the last tip the first comes again";
}

// Unticking "Başlarken göster" at start goes through the main window's toggle: the menu item
// "Tüyo Göster" loses its tick with the stored option, and one choice of it turns both on again.
TEST_F(StartupTest, UntickingShowAtStartUnticksTheMenuItemToo)
{
    m_env.registry["VKlogo"] = "0";
    ProgramStartupUi ui;
    QTimer untick;
    QObject::connect(&untick, &QTimer::timeout, [] {
        auto *dialog = qobject_cast<WINTIPOFDAY *>(QApplication::activeModalWidget());
        if (!dialog || !dialog->isVisible())
            return;
        dialog->showOnStartupBox()->click();
        dialog->closeButton()->click();
    });
    untick.start(10);
    StartupSequence sequence(m_env, ui);
    ASSERT_EQ(sequence.run({"/opt/vexo/VEXO_Zud"}), StartupSequence::Outcome::Running);
    untick.stop();
    auto *shell = qobject_cast<SSHELLWINDOW *>(ui.mainWindow());
    ASSERT_NE(shell, nullptr);
    EXPECT_EQ(stored("VKlstrt"), "0");
    EXPECT_FALSE(shellGlobals().LACILISTUYO);
    EXPECT_FALSE(shell->mainMenu().ISCHECKED(28434)) << "the menu item follows the unticked box";

    shell->TUYOGOSTER();
    EXPECT_TRUE(shell->mainMenu().ISCHECKED(28434));
    EXPECT_EQ(stored("VKlstrt"), "1") << "one choice turns the option back on";
    EXPECT_TRUE(shellGlobals().LACILISTUYO);
}

// The program's own environment on a machine where nobody installed anything: the program folder is
// recorded by start-up itself, and the process then holds the instance name.
TEST_F(StartupTest, TheProgramsEnvironmentStartsOnAFreshMachineAndHoldsTheInstance)
{
    setRegistryFilePath(m_dir.filePath("registry.ini"));
    QDir(defaultProgramFolder()).removeRecursively();
    ProgramStartupEnvironment env;
    StartupSequence first(env, m_ui);
    m_log.clear();
    EXPECT_EQ(first.run({"VEXO_Zud"}), StartupSequence::Outcome::Running);
    EXPECT_EQ(appGlobals().CPROGDIZIN, defaultProgramFolder());
    EXPECT_TRUE(QFileInfo::exists(QDir(defaultProgramFolder()).filePath("VEXO_Rir26.VSF")));
    EXPECT_TRUE(QFileInfo::exists(QDir(defaultProgramFolder()).filePath("KULLANICIID.DBF")));
    EXPECT_EQ(appGlobals().CVERIKOK, QDir(documentsFolder()).filePath("VEXO_Rir26 Veriler"));
    EXPECT_EQ(m_log, QStringList({"splash", "main", "tip "}));
    EXPECT_EQ(QLocale().toString(1234.5), "1234.5") << "numbers with a decimal point, whatever the desktop";

    StartupSequence second(env, m_ui);
    EXPECT_EQ(second.run({"VEXO_Zud"}), StartupSequence::Outcome::AnotherCopyRuns);
    EXPECT_EQ(m_messages.shown().size(), 1);

    QDir::setCurrent(m_savedCurrent);
    QDir(defaultProgramFolder()).removeRecursively();
    setRegistryFilePath(QString());
}

} // namespace

// A fresh data root gets the starter reference tables; a root that holds one of them keeps it alone.
TEST_F(StartupTest, AFreshDataRootGetsTheStarterReferenceTables)
{
    const QString root = QDir(m_env.documents).filePath("VEXO_Rir26 Veriler");
    EXPECT_EQ(start(), StartupSequence::Outcome::Running);
    DbfTable matrix(QDir(root).filePath("MATNRC6.DBF"), true, true);
    ASSERT_TRUE(matrix.isOpen());
    EXPECT_EQ(matrix.lastRec(), 1u);
    DbfTable definitions(QDir(root).filePath("VMKBMDESC.DBF"), true, true);
    ASSERT_TRUE(definitions.isOpen());
    EXPECT_EQ(definitions.lastRec(), 52u);
    matrix.close();
    definitions.close();

    // The user's lone matrix stays as it is and gets no definitions beside it.
    ASSERT_TRUE(QFile::remove(QDir(root).filePath("VMKBMDESC.DBF")));
    QFile own(QDir(root).filePath("MATNRC6.DBF"));
    ASSERT_TRUE(own.open(QIODevice::ReadOnly));
    const QByteArray before = own.readAll();
    own.close();
    EXPECT_EQ(start(), StartupSequence::Outcome::Running);
    EXPECT_FALSE(QFileInfo::exists(QDir(root).filePath("VMKBMDESC.DBF")));
    ASSERT_TRUE(own.open(QIODevice::ReadOnly));
    EXPECT_EQ(own.readAll(), before);
}

// A restore of the reference pair killed between its two renames left the new matrix beside the
// old definitions; the next start completes it before anything (the starter tables among them)
// reads the pair.
TEST_F(StartupTest, AStartCompletesAChangeOfTheReferencePairThatWasCutShort)
{
    const QString root = QDir(m_env.documents).filePath("VEXO_Rir26 Veriler");
    EXPECT_EQ(start(), StartupSequence::Outcome::Running);
    const QStringList names = {QStringLiteral("MATNRC6.DBF"), QStringLiteral("VMKBMDESC.DBF")};
    const QString backup = m_dir.filePath("Yedek");
    ASSERT_TRUE(QDir().mkpath(backup));
    QList<QByteArray> restored;
    for (const QString &name : names) {
        QFile live(QDir(root).filePath(name));
        ASSERT_TRUE(live.open(QIODevice::ReadOnly));
        restored << live.readAll() + "YEDEK"; // bytes after the records: another, still whole table
        QFile copy(QDir(backup).filePath(name));
        ASSERT_TRUE(copy.open(QIODevice::WriteOnly));
        ASSERT_EQ(copy.write(restored.last()), restored.last().size());
    }
    struct KilledAtTheSecondRename : FileTransfer
    {
        int renames = 0;
        bool rename(const QString &from, const QString &to) override
        {
            if (++renames == 2)
                ::kill(::getpid(), SIGKILL);
            return FileTransfer::rename(from, to);
        }
    };
    EXPECT_EQ(test::runInChild([&] {
                  KilledAtTheSecondRename killed;
                  setFileTransfer(&killed);
                  return replaceFilePair({QDir(backup).filePath(names[0]), QDir(backup).filePath(names[1])},
                                         {QDir(root).filePath(names[0]), QDir(root).filePath(names[1])})
                      .ok();
              }),
              -1);

    EXPECT_EQ(start(), StartupSequence::Outcome::Running);
    for (qsizetype i = 0; i < names.size(); ++i) {
        QFile live(QDir(root).filePath(names[i]));
        ASSERT_TRUE(live.open(QIODevice::ReadOnly));
        EXPECT_EQ(live.readAll(), restored[i]) << names[i].toStdString();
    }
    EXPECT_FALSE(QFileInfo::exists(QDir(root).filePath(kPairChangeRecord)));
}

// The nutrients' decimals reach the problem through the real start-up: the main window loads the
// definitions, and a content typed into the active matrix is cut to its nutrient's decimals.
TEST_F(StartupTest, TheMainWindowLoadsTheNutrientDecimals)
{
    m_env.registry["VKlstrt"] = "0";
    m_env.registry["VKlogo"] = "0";
    const QString root = QDir(m_env.documents).filePath("VEXO_Rir26 Veriler");
    ASSERT_TRUE(QDir().mkpath(root));
    appGlobals().CVERIKOK = root;
    ASSERT_TRUE(writeStarterReferenceDatabase());
    {
        DbfTable definitions(QDir(root).filePath("VMKBMDESC.DBF"), false, false);
        ASSERT_TRUE(definitions.isOpen());
        bool found = false;
        for (definitions.goTop(); !definitions.eof() && !found; definitions.skip()) {
            if (definitions.fieldGet("ABRRE").toString().trimmed() == "HP") {
                ASSERT_TRUE(definitions.fieldPut("DECIM", 1.0));
                found = true;
            }
        }
        ASSERT_TRUE(found);
        ASSERT_TRUE(definitions.commit());
        definitions.close();
    }
    referenceTables().ABMDESC.clear();

    ProgramStartupUi ui;
    StartupSequence sequence(m_env, ui);
    ASSERT_EQ(sequence.run({"/opt/vexo/VEXO_Zud"}), StartupSequence::Outcome::Running);
    ASSERT_NE(ui.mainWindow(), nullptr);
    EXPECT_EQ(nutrientDecimals("HP"), 1);
    EXPECT_EQ(nutrientDecimals("KM"), 4);
    EXPECT_TRUE(texts().isEmpty()) << texts().join(u'\n').toStdString();

    OpenProblem &p = openProblem();
    p.reset();
    p.AYMADLARI = {"MISIR", "SOYA"};
    p.ABMADLARI = {"KM", "HP"};
    p.ABMBIRIMLERI = {"%", "%"};
    p.AAMAT = {{QString(11, u' '), QString(11, u' ')}, {QString(11, u' '), QString(11, u' ')}};
    // The active matrix editor, opened in the main window as its command opens it.
    QApplication::setActiveWindow(ui.mainWindow());
    ASSERT_TRUE(QTest::qWaitForWindowExposed(ui.mainWindow()));
    auto *w = qobject_cast<BAMAT_GIR_WIN *>(
        shellHost()->openDataWindow(QStringLiteral("BAMAT_GIR_WIN"), [] { return new BAMAT_GIR_WIN(); }));
    ASSERT_NE(w, nullptr);
    EXPECT_EQ(w->decimals(), QList<int>({4, 1}));
    for (int row : {1, 2}) {
        w->server()->GOTO(row);
        w->BROWSER()->setCURRENTCOLUMN(2);
        w->BROWSER()->setFocus();
        QTest::keyClick(w->BROWSER(), '8');
        auto *editor = qobject_cast<QLineEdit *>(QApplication::focusWidget());
        ASSERT_NE(editor, nullptr);
        QTest::keyClicks(editor, ",56");
        QTest::keyClick(editor, Qt::Key_Return);
        QCoreApplication::processEvents();
    }
    w->CLOSE();
    QCoreApplication::processEvents();
    EXPECT_EQ(p.AAMAT.at(0).at(0), QStringLiteral("     8.5600")); // KM: four decimals
    EXPECT_EQ(p.AAMAT.at(1).at(0), QStringLiteral("     8.5000")); // HP: one decimal
    p.reset();
    referenceTables().ABMDESC.clear();
}
