// The FTP and HTTP sessions against loopback servers started here: connecting, listing, safe
// downloads, uploads, remote commands, proxies from the environment, and no password anywhere.
#include "loopback_server.h"
#include "process_helpers.h"
#include "scripted_messages.h"

#include "platform/own_temp_files.h"
#include "updater/inet_session.h"
#include "updater/listing.h"
#include "updater/session_status.h"
#include "updater/transfers.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTimeZone>

#include <gtest/gtest.h>

#include <csignal>
#include <cstdlib>

using namespace vexo;
using vexo::test::LoopbackServer;

namespace {

const QString kUser = QStringLiteral("vexo");
const QString kPassword = QStringLiteral("Gizli-Parola-93");
const QString kSetup = QStringLiteral("VXO_Rir26-setup.exe");
const QString kAgent = QStringLiteral("VEXO FTP Alıcısı");

QByteArray bytesOf(qint64 n, quint32 seed)
{
    QByteArray b(n, Qt::Uninitialized);
    QRandomGenerator gen(seed);
    for (qint64 i = 0; i < n; ++i)
        b[i] = char(gen.generate() & 0xFF);
    return b;
}

bool writeFile(const QString &path, const QByteArray &bytes)
{
    QFile f(path);
    return f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size() && f.flush();
}

QByteArray readFile(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void setModified(const QString &path, const QDateTime &when)
{
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::ReadWrite));
    ASSERT_TRUE(f.setFileTime(when, QFileDevice::FileModificationTime));
}

QStringList folderNames(const QString &folder)
{
    return QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot, QDir::Name);
}

InetSession::Limits fastLimits()
{
    InetSession::Limits l;
    l.connectTimeoutMs = 3000;
    l.lowSpeedSeconds = 1;
    return l;
}

// Everything a session said, as the status line would show it.
struct StatusLog
{
    QList<int> stages;
    QStringList texts;
    InetSession::StatusHook hook()
    {
        return [this](int s) {
            stages << s;
            if (auto t = sessionStatusText(s))
                texts << *t;
        };
    }
};

class SessionTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_root.isValid());
        ASSERT_TRUE(m_local.isValid());
    }

    QString remote(const QString &name) const { return m_root.filePath(name); }
    QString local(const QString &name) const { return m_local.filePath(name); }

    std::unique_ptr<InetSession> session(bool http)
    {
        auto s = makeInetSession(http, kAgent, m_log.hook(), fastLimits());
        s->setProxy(QString());
        return s;
    }
    std::unique_ptr<InetSession> connected(LoopbackServer &server, bool http)
    {
        auto s = session(http);
        EXPECT_TRUE(s->ConnectRemote(server.address(), kUser, kPassword)) << s->ErrorMsg().toStdString();
        return s;
    }
    QStringList ftpArgs() const { return {QStringLiteral("--user"), kUser, QStringLiteral("--password"), kPassword}; }

    // No status text, error text or box holds the password.
    void expectNoPassword(const InetSession &s, const vexo::test::ScriptedMessages *boxes = nullptr) const
    {
        for (const QString &t : m_log.texts)
            EXPECT_FALSE(t.contains(kPassword));
        EXPECT_FALSE(s.ErrorMsg().contains(kPassword));
        if (boxes) {
            for (const MessageRequest &r : boxes->shown()) {
                EXPECT_FALSE(r.text.contains(kPassword));
                EXPECT_FALSE(r.caption.contains(kPassword));
            }
        }
    }

    QTemporaryDir m_root;
    QTemporaryDir m_local;
    StatusLog m_log;
};

// ---------------------------------------------------------------------------------------------
// Connecting

TEST_F(SessionTest, FtpConnectsWithTheRightPasswordAndPassesTheStagesInOrder)
{
    LoopbackServer server(QStringLiteral("ftp"), m_root.path(), ftpArgs());
    ASSERT_GT(server.port(), 0);
    auto s = connected(server, false);
    EXPECT_FALSE(s->isHttp());
    EXPECT_EQ(s->Error(), 0);
    EXPECT_EQ(s->GetCurDir(), QStringLiteral("/"));
    ASSERT_FALSE(m_log.stages.isEmpty());
    EXPECT_EQ(m_log.stages.first(), StageResolving);
    EXPECT_TRUE(m_log.stages.contains(StageConnecting));
    EXPECT_TRUE(m_log.stages.contains(StageConnected));
    EXPECT_EQ(m_log.stages.last(), StageComplete);
    s->CloseRemote();
    EXPECT_EQ(m_log.stages.last(), StageClosed);
    EXPECT_EQ(s->GetCurDir(), QString());
    expectNoPassword(*s);
}

TEST_F(SessionTest, FtpWrongPasswordFailsWithAnErrorBoxThatHoldsNoPassword)
{
    LoopbackServer server(QStringLiteral("ftp"), m_root.path(), ftpArgs());
    ASSERT_GT(server.port(), 0);
    vexo::test::ScriptedMessages boxes;
    auto s = session(false);
    const QString wrong = kPassword + QStringLiteral("x");
    EXPECT_FALSE(s->ConnectRemote(server.address(), kUser, wrong));
    EXPECT_GT(s->Error(), 0);
    EXPECT_FALSE(s->ErrorMsg().isEmpty());
    EXPECT_EQ(s->GetCurDir(), QString());
    EXPECT_EQ(RAISEFTPERROR(s.get()), s->Error());
    ASSERT_EQ(boxes.shown().size(), 1);
    EXPECT_EQ(boxes.shown()[0].caption, QStringLiteral("FTP hatası ") + QString::number(s->Error()));
    EXPECT_EQ(boxes.shown()[0].text, s->ErrorMsg());
    EXPECT_EQ(boxes.shown()[0].style, unsigned(MB_OK));
    for (const MessageRequest &r : boxes.shown())
        EXPECT_FALSE(r.text.contains(wrong));
    expectNoPassword(*s, &boxes);
    // A later operation on the unconnected session fails without reaching anything.
    EXPECT_TRUE(s->Directory(QStringLiteral("*.*")).isEmpty());
    EXPECT_GT(s->Error(), 0);
}

TEST_F(SessionTest, RaiseFtpErrorShowsNothingWithoutASessionOrAnError)
{
    vexo::test::ScriptedMessages boxes;
    EXPECT_EQ(RAISEFTPERROR(nullptr), 0);
    auto s = session(false);
    EXPECT_EQ(RAISEFTPERROR(s.get()), 0);
    EXPECT_TRUE(boxes.shown().isEmpty());
}

TEST_F(SessionTest, ServerTextsThatAreNotAHostAndPortAreRefusedBeforeAnyRequest)
{
    for (const QString &server : {QStringLiteral(""), QStringLiteral("   "), QStringLiteral("host/path"),
                                  QStringLiteral("user:pw@127.0.0.1"), QStringLiteral("127.0.0.1:99999"),
                                  QStringLiteral("host\r\nQUIT")}) {
        SCOPED_TRACE(server.toStdString());
        for (bool http : {false, true}) {
            auto s = session(http);
            EXPECT_FALSE(s->ConnectRemote(server, kUser, kPassword));
            EXPECT_GT(s->Error(), 0);
            EXPECT_TRUE(m_log.stages.isEmpty());
        }
    }
}

TEST_F(SessionTest, NoServerListeningFailsWithAnError)
{
    int deadPort = 0;
    {
        LoopbackServer gone(QStringLiteral("http"), m_root.path());
        deadPort = gone.port();
    }
    ASSERT_GT(deadPort, 0);
    for (bool http : {false, true}) {
        auto s = session(http);
        EXPECT_FALSE(s->ConnectRemote(QStringLiteral("127.0.0.1:") + QString::number(deadPort), kUser, kPassword));
        EXPECT_EQ(s->Error(), 7); // could not connect
    }
}

// A failure's text is libcurl's message and ends with it: no zero bytes, blanks or boxes after it.
TEST_F(SessionTest, ErrorTextsAreTheMessageAndNothingAfterIt)
{
    int deadPort = 0;
    {
        LoopbackServer gone(QStringLiteral("http"), m_root.path());
        deadPort = gone.port();
    }
    ASSERT_GT(deadPort, 0);
    const QString dead = QStringLiteral("127.0.0.1:") + QString::number(deadPort);
    ASSERT_TRUE(writeFile(remote(QStringLiteral("cut.exe")), bytesOf(6000, 11)));
    LoopbackServer ftp(QStringLiteral("ftp"), m_root.path(), ftpArgs());
    LoopbackServer http(QStringLiteral("http"), m_root.path());
    LoopbackServer silent(QStringLiteral("silent"), m_root.path());
    ASSERT_GT(ftp.port(), 0);
    ASSERT_GT(http.port(), 0);
    ASSERT_GT(silent.port(), 0);

    enum Action { Connect, WrongPassword, CutDownload };
    struct Case
    {
        const char *label;
        bool http;
        QString server;
        Action action;
        int number;
        QString text; // the whole text, as a pattern
    };
    const QString noServer = QStringLiteral("Failed to connect to 127\\.0\\.0\\.1 port %1 after \\d+ ms: "
                                            "Couldn't connect to server")
                                 .arg(deadPort);
    // Whichever of libcurl's clocks or the session's own idle clock runs out first.
    const QString timeOut = QStringLiteral("server response timeout|Timeout was reached|Operation too slow\\. "
                                           "Less than 1 bytes/sec transferred the last 1 seconds");
    const QString cut = QStringLiteral("transfer closed with 3000 bytes remaining to read");
    const QList<Case> cases{
        {"FTP, no server", false, dead, Connect, 7, noServer},
        {"HTTP, no server", true, dead, Connect, 7, noServer},
        {"FTP, refused login", false, ftp.address(), WrongPassword, 67, QStringLiteral("Access denied: 530")},
        {"FTP, time-out", false, silent.address(), Connect, 28, timeOut},
        {"HTTP, time-out", true, silent.address(), Connect, 28, timeOut},
        {"FTP, cut transfer", false, ftp.address(), CutDownload, 18, cut},
        {"HTTP, cut transfer", true, http.address(), CutDownload, 18, cut},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.label);
        // The server answers a refused login only after a pause of its own.
        InetSession::Limits limits = fastLimits();
        if (c.action == WrongPassword)
            limits = InetSession::Limits{};
        auto s = makeInetSession(c.http, kAgent, m_log.hook(), limits);
        s->setProxy(QString());
        switch (c.action) {
        case Connect:
            EXPECT_FALSE(s->ConnectRemote(c.server, kUser, kPassword));
            break;
        case WrongPassword:
            EXPECT_FALSE(s->ConnectRemote(c.server, kUser, kPassword + QStringLiteral("x")));
            break;
        case CutDownload:
            ASSERT_TRUE(s->ConnectRemote(c.server, kUser, kPassword)) << s->ErrorMsg().toStdString();
            EXPECT_FALSE(s->getFile(QStringLiteral("cut.exe"), local(QStringLiteral("cut.exe")), 6000, {}));
            break;
        }
        EXPECT_EQ(s->Error(), c.number);
        const QString text = s->ErrorMsg();
        EXPECT_FALSE(text.contains(QChar(0))) << text.size() << " characters";
        const QRegularExpression whole(QRegularExpression::anchoredPattern(c.text));
        EXPECT_TRUE(whole.match(text).hasMatch()) << text.toStdString();
        // The box shows the same text.
        vexo::test::ScriptedMessages boxes;
        RAISEFTPERROR(s.get());
        ASSERT_EQ(boxes.shown().size(), 1);
        EXPECT_EQ(boxes.shown()[0].text, text);
    }
}

// A password of one letter, or of one digit, leaves the messages whole: it is hidden only where it
// stands as the password.
TEST_F(SessionTest, AShortPasswordLeavesTheErrorTextsWhole)
{
    int deadPort = 0;
    {
        LoopbackServer gone(QStringLiteral("http"), m_root.path());
        deadPort = gone.port();
    }
    ASSERT_GT(deadPort, 0);
    LoopbackServer silent(QStringLiteral("silent"), m_root.path());
    ASSERT_GT(silent.port(), 0);
    const QString dead = QStringLiteral("127.0.0.1:") + QString::number(deadPort);
    const QRegularExpression noServer(QRegularExpression::anchoredPattern(
        QStringLiteral("Failed to connect to 127\\.0\\.0\\.1 port %1 after \\d+ ms: Couldn't connect to server")
            .arg(deadPort)));
    const QRegularExpression timeOut(QRegularExpression::anchoredPattern(
        QStringLiteral("server response timeout|Timeout was reached|Operation too slow\\. "
                       "Less than 1 bytes/sec transferred the last 1 seconds")));
    for (const QString &password : {QStringLiteral("p"), QStringLiteral("o"), QStringLiteral("1"), QStringLiteral("0")}) {
        for (bool http : {false, true}) {
            SCOPED_TRACE((password + QString::fromUtf8(http ? " HTTP" : " FTP")).toStdString());
            auto s = session(http);
            EXPECT_FALSE(s->ConnectRemote(dead, kUser, password));
            EXPECT_TRUE(noServer.match(s->ErrorMsg()).hasMatch()) << s->ErrorMsg().toStdString();
            auto quiet = session(http);
            EXPECT_FALSE(quiet->ConnectRemote(silent.address(), kUser, password));
            EXPECT_TRUE(timeOut.match(quiet->ErrorMsg()).hasMatch()) << quiet->ErrorMsg().toStdString();
        }
    }
}

TEST_F(SessionTest, AServerThatNeverAnswersIsGivenUpAfterTheLowSpeedTime)
{
    LoopbackServer server(QStringLiteral("silent"), m_root.path());
    ASSERT_GT(server.port(), 0);
    for (bool http : {false, true}) {
        SCOPED_TRACE(http ? "HTTP" : "FTP");
        auto s = session(http);
        QElapsedTimer clock;
        clock.start();
        EXPECT_FALSE(s->ConnectRemote(server.address(), kUser, kPassword));
        EXPECT_EQ(s->Error(), 28); // timed out
        EXPECT_LT(clock.elapsed(), 5000);
    }
}

// ---------------------------------------------------------------------------------------------
// Listings and directories

TEST_F(SessionTest, FtpListsWithMlsdAndWithListAlikeAndOnlyTheSetupRowPassesTheFilter)
{
    const QDateTime stamp(QDate(2025, 3, 15), QTime(12, 30, 0), QTimeZone::utc());
    ASSERT_TRUE(writeFile(remote(kSetup), bytesOf(5001, 1)));
    setModified(remote(kSetup), stamp);
    ASSERT_TRUE(writeFile(remote(QStringLiteral("vxo_rir26-setup.exe.old")), bytesOf(10, 2)));
    ASSERT_TRUE(writeFile(remote(QStringLiteral("readme.txt")), bytesOf(7, 3)));
    ASSERT_TRUE(QDir(m_root.path()).mkdir(QStringLiteral("older")));

    ListingEntry expected;
    utcToLocal(stamp.date(), stamp.time(), expected);

    for (bool machine : {true, false}) {
        SCOPED_TRACE(machine ? "MLSD" : "LIST");
        QStringList args = ftpArgs();
        if (!machine)
            args << QStringLiteral("--no-mlsd");
        LoopbackServer server(QStringLiteral("ftp"), m_root.path(), args);
        ASSERT_GT(server.port(), 0);
        auto s = connected(server, false);
        const QList<ListingEntry> listing = s->Directory(QStringLiteral("*.*"));
        EXPECT_EQ(s->Error(), 0) << s->ErrorMsg().toStdString();
        QStringList names;
        for (const ListingEntry &e : listing)
            names << e.name;
        names.sort();
        EXPECT_EQ(names, (QStringList{kSetup, QStringLiteral("older"), QStringLiteral("readme.txt"),
                                      QStringLiteral("vxo_rir26-setup.exe.old")}));

        const QList<ListRow> rows = setupFileRows(GETDIR_(listing, QDateTime::currentDateTime()), kSetup);
        ASSERT_EQ(rows.size(), 1);
        EXPECT_EQ(rows[0].name, kSetup);
        EXPECT_EQ(rows[0].size, std::optional<qint64>(5001));
        EXPECT_EQ(rows[0].date, expected.date);
        if (machine) {
            EXPECT_EQ(rows[0].time, expected.time);
        }
        EXPECT_EQ(GETSIZE_(listing, kSetup), 5001);

        // The mask matches without regard to case.
        const QList<ListingEntry> masked = s->Directory(QStringLiteral("VXO*.EXE"));
        ASSERT_EQ(masked.size(), 1);
        EXPECT_EQ(masked[0].name, kSetup);
    }
}

TEST_F(SessionTest, FtpChangesDirectoriesAndRefusesOneThatIsNotThere)
{
    ASSERT_TRUE(QDir(m_root.path()).mkpath(QStringLiteral("pub/sub")));
    ASSERT_TRUE(writeFile(remote(QStringLiteral("pub/sub/") + kSetup), bytesOf(2500, 4)));
    LoopbackServer server(QStringLiteral("ftp"), m_root.path(), ftpArgs());
    ASSERT_GT(server.port(), 0);
    auto s = connected(server, false);

    ASSERT_TRUE(s->SetCurDir(QStringLiteral("pub")));
    EXPECT_EQ(s->GetCurDir(), QStringLiteral("/pub"));
    ASSERT_TRUE(s->SetCurDir(QStringLiteral("sub")));
    EXPECT_EQ(s->GetCurDir(), QStringLiteral("/pub/sub"));
    const QList<ListingEntry> listing = s->Directory(QStringLiteral("*.*"));
    ASSERT_EQ(listing.size(), 1);
    EXPECT_EQ(listing[0].name, kSetup);

    ASSERT_TRUE(s->SetCurDir(QStringLiteral("..")));
    EXPECT_EQ(s->GetCurDir(), QStringLiteral("/pub"));
    ASSERT_TRUE(s->SetCurDir(QStringLiteral("/pub/sub")));
    EXPECT_EQ(s->GetCurDir(), QStringLiteral("/pub/sub"));

    EXPECT_FALSE(s->SetCurDir(QStringLiteral("/nowhere")));
    EXPECT_GT(s->Error(), 0);
    EXPECT_EQ(s->GetCurDir(), QStringLiteral("/pub/sub"));
    // The connection is still usable after the refusal.
    EXPECT_EQ(s->Directory(QStringLiteral("*.*")).size(), 1);
    EXPECT_EQ(s->Error(), 0);
}

TEST_F(SessionTest, HttpConnectsListsTheSetupFileByOneHeadAndShowsNoStatus)
{
    const QDateTime stamp(QDate(2026, 2, 1), QTime(8, 15, 30), QTimeZone::utc());
    ASSERT_TRUE(QDir(m_root.path()).mkdir(QStringLiteral("guncel")));
    ASSERT_TRUE(writeFile(remote(QStringLiteral("guncel/") + kSetup), bytesOf(5000, 5)));
    setModified(remote(QStringLiteral("guncel/") + kSetup), stamp);
    LoopbackServer server(QStringLiteral("http"), m_root.path());
    ASSERT_GT(server.port(), 0);
    auto s = connected(server, true);
    EXPECT_TRUE(s->isHttp());
    ASSERT_TRUE(s->SetCurDir(QStringLiteral("guncel")));
    EXPECT_EQ(s->GetCurDir(), QStringLiteral("/guncel"));

    const QList<ListingEntry> listing = s->Directory(kSetup);
    ASSERT_EQ(listing.size(), 1);
    ListingEntry expected;
    utcToLocal(stamp.date(), stamp.time(), expected);
    EXPECT_EQ(listing[0].name, kSetup);
    EXPECT_EQ(listing[0].size, 5000);
    EXPECT_EQ(listing[0].date, expected.date);
    EXPECT_EQ(listing[0].time, expected.time);

    EXPECT_TRUE(s->Directory(QStringLiteral("*.*")).isEmpty());
    EXPECT_TRUE(s->Directory(QStringLiteral("missing.exe")).isEmpty());
    EXPECT_EQ(s->Error(), 0); // a missing file is an empty listing, not an error
    EXPECT_TRUE(m_log.stages.isEmpty());
}

TEST_F(SessionTest, HttpWithAuthenticationAcceptsTheRightPasswordOnly)
{
    ASSERT_TRUE(writeFile(remote(kSetup), bytesOf(2500, 6)));
    LoopbackServer server(QStringLiteral("http"), m_root.path(), ftpArgs());
    ASSERT_GT(server.port(), 0);
    auto wrong = session(true);
    EXPECT_FALSE(wrong->ConnectRemote(server.address(), kUser, QStringLiteral("yanlis")));
    EXPECT_GT(wrong->Error(), 0);
    expectNoPassword(*wrong);

    auto s = connected(server, true);
    ASSERT_TRUE(s->getFile(kSetup, local(kSetup), 2500, {}));
    EXPECT_EQ(readFile(local(kSetup)), bytesOf(2500, 6));
}

TEST_F(SessionTest, HttpNamesTheAgentAndSendsNoCredentialsUnasked)
{
    LoopbackServer server(QStringLiteral("http"), m_root.path());
    ASSERT_GT(server.port(), 0);
    auto s = connected(server, true);
    const QByteArray expected = "agent=" + kAgent.toUtf8() + "\nauth=no\n";
    ASSERT_TRUE(s->getFile(QStringLiteral("echo-headers"), local(QStringLiteral("echo")), expected.size(), {}))
        << s->ErrorMsg().toStdString();
    EXPECT_EQ(readFile(local(QStringLiteral("echo"))), expected);
}

// User and password go to the server as they are, whatever characters they hold.
TEST_F(SessionTest, CredentialsWithUrlCharactersLogIn)
{
    const QString user = QStringLiteral("kullanıcı@firma");
    const QString password = QStringLiteral("p@ss:w%rd/?#ğ ");
    ASSERT_TRUE(writeFile(remote(kSetup), bytesOf(10, 42)));
    LoopbackServer server(QStringLiteral("ftp"), m_root.path(),
                          {QStringLiteral("--user"), user, QStringLiteral("--password"), password});
    ASSERT_GT(server.port(), 0);
    auto s = session(false);
    ASSERT_TRUE(s->ConnectRemote(server.address(), user, password)) << s->ErrorMsg().toStdString();
    ASSERT_TRUE(s->getFile(kSetup, local(kSetup), 10, {}));
    EXPECT_EQ(readFile(local(kSetup)), bytesOf(10, 42));
    auto wrong = session(false);
    EXPECT_FALSE(wrong->ConnectRemote(server.address(), user, password.trimmed()));
    EXPECT_FALSE(wrong->ErrorMsg().contains(password.trimmed()));
}

// Names with blanks, Turkish letters and URL characters are fetched and listed whole.
TEST_F(SessionTest, NamesWithBlanksAndTurkishLettersTravelWhole)
{
    const QString name = QStringLiteral("Güncel Kur #1 %20 ş.exe");
    ASSERT_TRUE(QDir(m_root.path()).mkdir(QStringLiteral("yeni sürüm")));
    ASSERT_TRUE(writeFile(remote(QStringLiteral("yeni sürüm/") + name), bytesOf(2600, 43)));
    for (bool http : {false, true}) {
        SCOPED_TRACE(http ? "HTTP" : "FTP");
        LoopbackServer server(http ? QStringLiteral("http") : QStringLiteral("ftp"), m_root.path(), ftpArgs());
        ASSERT_GT(server.port(), 0);
        auto s = connected(server, http);
        ASSERT_TRUE(s->SetCurDir(QStringLiteral("yeni sürüm")));
        EXPECT_EQ(s->GetCurDir(), QStringLiteral("/yeni sürüm"));
        const QList<ListingEntry> listing = s->Directory(http ? name : QStringLiteral("*.*"));
        ASSERT_EQ(listing.size(), 1);
        EXPECT_EQ(listing[0].name, name);
        EXPECT_EQ(listing[0].size, 2600);
        ASSERT_TRUE(s->getFile(name, local(name), 2600, {})) << s->ErrorMsg().toStdString();
        EXPECT_EQ(readFile(local(name)), bytesOf(2600, 43));
        ASSERT_TRUE(QFile::remove(local(name)));
    }
}

// ---------------------------------------------------------------------------------------------
// Downloads

TEST_F(SessionTest, DownloadsAreIdenticalToTheSourceAndReportBlocksOf2500Bytes)
{
    const QList<qint64> sizes{0, 1, 2499, 2500, 5000, 5001, 1024 * 1024};
    for (qint64 n : sizes)
        ASSERT_TRUE(writeFile(remote(QStringLiteral("f%1.bin").arg(n)), bytesOf(n, quint32(n) + 7)));
    for (bool http : {false, true}) {
        LoopbackServer server(http ? QStringLiteral("http") : QStringLiteral("ftp"), m_root.path(), ftpArgs());
        ASSERT_GT(server.port(), 0);
        auto s = connected(server, http);
        for (qint64 n : sizes) {
            SCOPED_TRACE(std::string(http ? "HTTP " : "FTP ") + std::to_string(n));
            const QString name = QStringLiteral("f%1.bin").arg(n);
            // An earlier copy of other content is replaced.
            ASSERT_TRUE(writeFile(local(name), QByteArray("earlier copy")));
            QList<qint64> calls;
            const bool ok = s->getFile(name, local(name), n, [&](qint64 done) {
                calls << done;
                return true;
            });
            ASSERT_TRUE(ok) << s->ErrorMsg().toStdString();
            EXPECT_EQ(s->Error(), 0);
            EXPECT_EQ(readFile(local(name)), readFile(remote(name)));
            ASSERT_EQ(calls.size(), n / 2500 + 1);
            for (int i = 0; i + 1 < calls.size(); ++i)
                EXPECT_EQ(calls[i], 2500 * (i + 1));
            EXPECT_EQ(calls.last(), n);
        }
        s->CloseRemote();
    }
    // Nothing but the downloads is left in the folder.
    QStringList expected;
    for (qint64 n : sizes)
        expected << QStringLiteral("f%1.bin").arg(n);
    expected.sort();
    EXPECT_EQ(folderNames(m_local.path()), expected);
}

// The server misbehaves or the file changes; the earlier copy stays and no temporary file is left.
TEST_F(SessionTest, FailedDownloadsLeaveTheEarlierCopyAndNoTemporaryFile)
{
    struct Case
    {
        const char *label;
        bool http;
        QString name;
        qint64 serverSize;
        qint64 listedSize;
        bool abortAfterFirstBlock;
    };
    const QList<Case> cases{
        {"FTP server closes mid-file", false, QStringLiteral("cut.exe"), 6000, 6000, false},
        {"HTTP server closes mid-file", true, QStringLiteral("cut.exe"), 6000, 6000, false},
        {"FTP server stalls", false, QStringLiteral("stall.exe"), 6000, 6000, false},
        {"HTTP server stalls", true, QStringLiteral("stall.exe"), 6000, 6000, false},
        {"FTP file shrank after the listing", false, QStringLiteral("shrunk.exe"), 4000, 6000, false},
        {"HTTP file shrank after the listing", true, QStringLiteral("shrunk.exe"), 4000, 6000, false},
        {"FTP file grew after the listing", false, QStringLiteral("grown.exe"), 8000, 6000, false},
        {"HTTP file grew after the listing", true, QStringLiteral("grown.exe"), 8000, 6000, false},
        {"FTP file not there", false, QStringLiteral("missing.exe"), -1, 6000, false},
        {"HTTP file not there", true, QStringLiteral("missing.exe"), -1, 6000, false},
        {"FTP transfer aborted", false, QStringLiteral("whole.exe"), 6000, 6000, true},
        {"HTTP transfer aborted", true, QStringLiteral("whole.exe"), 6000, 6000, true},
    };
    for (const Case &c : cases) {
        if (c.serverSize >= 0) {
            ASSERT_TRUE(writeFile(remote(c.name), bytesOf(c.serverSize, 11)));
        }
    }
    LoopbackServer ftp(QStringLiteral("ftp"), m_root.path(), ftpArgs());
    LoopbackServer http(QStringLiteral("http"), m_root.path());
    ASSERT_GT(ftp.port(), 0);
    ASSERT_GT(http.port(), 0);
    const QByteArray earlier("the earlier copy, which must survive");
    for (const Case &c : cases) {
        SCOPED_TRACE(c.label);
        auto s = connected(c.http ? http : ftp, c.http);
        ASSERT_TRUE(writeFile(local(c.name), earlier));
        QElapsedTimer clock;
        clock.start();
        const bool ok = s->getFile(c.name, local(c.name), c.listedSize, [&](qint64 done) {
            return !(c.abortAfterFirstBlock && done >= 2500);
        });
        EXPECT_FALSE(ok);
        EXPECT_GT(s->Error(), 0);
        EXPECT_FALSE(s->ErrorMsg().isEmpty());
        EXPECT_LT(clock.elapsed(), 5000);
        EXPECT_EQ(readFile(local(c.name)), earlier);
        EXPECT_EQ(folderNames(m_local.path()), QStringList{c.name});
        ASSERT_TRUE(QFile::remove(local(c.name)));
        // Without an earlier copy nothing at all is left.
        EXPECT_FALSE(s->getFile(c.name, local(c.name), c.listedSize,
                                [&](qint64 done) { return !(c.abortAfterFirstBlock && done >= 2500); }));
        EXPECT_TRUE(folderNames(m_local.path()).isEmpty());
    }
}

// A server that names no length (a reply in chunks): the listing has no size, and the download takes
// what the server sends as complete; a size the caller does know must still match.
TEST_F(SessionTest, HttpWithoutLengthsListsNoSizeAndDownloadsWhatComes)
{
    const QByteArray content = bytesOf(7501, 51);
    ASSERT_TRUE(writeFile(remote(kSetup), content));
    LoopbackServer server(QStringLiteral("http"), m_root.path(), {QStringLiteral("--chunked")});
    ASSERT_GT(server.port(), 0);
    auto s = connected(server, true);

    const QList<ListingEntry> listing = s->Directory(kSetup);
    ASSERT_EQ(listing.size(), 1);
    EXPECT_FALSE(listing[0].sizeKnown);
    EXPECT_EQ(listing[0].size, 0);
    EXPECT_EQ(expectedDownloadSize(listing, kSetup), kUnknownSize);
    EXPECT_EQ(expectedDownloadSize(listing, QStringLiteral("other.exe")), 0);

    QList<qint64> calls;
    ASSERT_TRUE(s->getFile(kSetup, local(kSetup), kUnknownSize, [&](qint64 done) {
        calls << done;
        return true;
    })) << s->ErrorMsg().toStdString();
    EXPECT_EQ(readFile(local(kSetup)), content);
    EXPECT_EQ(calls, (QList<qint64>{2500, 5000, 7500, 7501}));
    EXPECT_EQ(folderNames(m_local.path()), QStringList{kSetup});

    // A known size still has to match, in both directions.
    const QByteArray earlier("earlier copy");
    for (qint64 listed : {qint64(7500), qint64(7502)}) {
        SCOPED_TRACE(listed);
        ASSERT_TRUE(writeFile(local(kSetup), earlier));
        EXPECT_FALSE(s->getFile(kSetup, local(kSetup), listed, {}));
        EXPECT_EQ(s->Error(), 18);
        EXPECT_EQ(readFile(local(kSetup)), earlier);
        EXPECT_EQ(folderNames(m_local.path()), QStringList{kSetup});
    }
    // Without a length a transfer that breaks off is still a failure.
    ASSERT_TRUE(writeFile(remote(QStringLiteral("cut.exe")), bytesOf(6000, 52)));
    EXPECT_FALSE(s->getFile(QStringLiteral("cut.exe"), local(QStringLiteral("cut.exe")), kUnknownSize, {}));
    EXPECT_GT(s->Error(), 0);
    EXPECT_EQ(folderNames(m_local.path()), QStringList{kSetup});
}

// A server that names no size and streams without end is stopped at the ceiling, or before the
// folder's free space runs out, whichever comes first; the earlier copy stays as it was and no
// temporary is left. A download whose size is named is held to that size alone.
TEST_F(SessionTest, ADownloadOfUnknownSizeStopsAtItsLimitAndKeepsTheEarlierCopy)
{
    EXPECT_EQ(InetSession::Limits{}.unknownSizeCeiling, qint64(512) * 1024 * 1024);
    const QString endless = QStringLiteral("endless-setup.exe");
    ASSERT_TRUE(writeFile(remote(kSetup), bytesOf(5000, 61)));
    LoopbackServer unsized(QStringLiteral("http"), m_root.path(), {QStringLiteral("--no-length")});
    LoopbackServer sized(QStringLiteral("http"), m_root.path());
    ASSERT_GT(unsized.port(), 0);
    ASSERT_GT(sized.port(), 0);

    struct Case
    {
        const char *label;
        qint64 ceiling;
        qint64 free; // below 0: the file system does not say
        qint64 limit;
        QString message;
    };
    const QList<Case> cases{
        {"the ceiling", qint64(2) * 1024 * 1024, -1, qint64(2) * 1024 * 1024,
         QStringLiteral("Sunucu dosyanın boyunu bildirmedi; indirme 2 MB sınırında durduruldu")},
        {"the free space", kUnknownSizeCeiling, kFreeSpaceReserve + 100000, 100000,
         QStringLiteral("Sunucu dosyanın boyunu bildirmedi; indirme, klasördeki boş yerin sınırında (100000 bayt) "
                        "durduruldu")},
        {"no free space", kUnknownSizeCeiling, kFreeSpaceReserve / 2, 0,
         QStringLiteral("Sunucu dosyanın boyunu bildirmedi; indirme, klasördeki boş yerin sınırında (0 bayt) "
                        "durduruldu")},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.label);
        InetSession::Limits limits = fastLimits();
        limits.unknownSizeCeiling = c.ceiling;
        QStringList asked;
        limits.freeSpace = [&](const QString &folder) {
            asked << folder;
            return c.free;
        };
        auto s = makeInetSession(true, kAgent, {}, limits);
        s->setProxy(QString());
        ASSERT_TRUE(s->ConnectRemote(unsized.address(), kUser, kPassword)) << s->ErrorMsg().toStdString();
        const QList<ListingEntry> listing = s->Directory(endless);
        ASSERT_EQ(listing.size(), 1);
        EXPECT_EQ(expectedDownloadSize(listing, endless), kUnknownSize);

        ASSERT_TRUE(writeFile(local(endless), "earlier copy"));
        qint64 last = 0;
        EXPECT_FALSE(s->getFile(endless, local(endless), kUnknownSize, [&](qint64 done) {
            last = done;
            return true;
        }));
        EXPECT_EQ(s->Error(), 63);
        EXPECT_EQ(s->ErrorMsg(), c.message);
        EXPECT_LE(last, c.limit);
        EXPECT_EQ(asked, QStringList{m_local.path()});
        EXPECT_EQ(readFile(local(endless)), QByteArray("earlier copy"));
        EXPECT_EQ(folderNames(m_local.path()), QStringList{endless});

        // A listed size is the limit there, whatever the ceiling and the free space.
        auto known = makeInetSession(true, kAgent, {}, limits);
        known->setProxy(QString());
        ASSERT_TRUE(known->ConnectRemote(sized.address(), kUser, kPassword));
        ASSERT_TRUE(known->getFile(kSetup, local(kSetup), 5000, {})) << known->ErrorMsg().toStdString();
        EXPECT_EQ(readFile(local(kSetup)), bytesOf(5000, 61));
        ASSERT_TRUE(QFile::remove(local(kSetup)));
        ASSERT_TRUE(QFile::remove(local(endless)));
    }
}

// Where neither the listing nor the reply names a size, a file the server cuts short cannot be told
// from a whole one: the download is taken, its size reported unchecked, and the copy it replaced kept
// beside it until a download whose size was checked.
TEST_F(SessionTest, ADownloadWhoseSizeNoOneNamedKeepsTheCopyItReplaced)
{
    const QString name = QStringLiteral("cut-setup.exe"); // the unsized server ends it after 3000 bytes
    const QString kept = m_local.filePath(QStringLiteral("cut-setup.onceki.exe"));
    EXPECT_EQ(earlierCopyPath(local(name)), kept);
    EXPECT_EQ(earlierCopyPath(local(QStringLiteral("kur"))), local(QStringLiteral("kur.onceki")));
    const QByteArray content = bytesOf(8000, 62);
    ASSERT_TRUE(writeFile(remote(name), content));
    ASSERT_TRUE(writeFile(remote(kSetup), content));
    LoopbackServer unsized(QStringLiteral("http"), m_root.path(), {QStringLiteral("--no-length")});
    LoopbackServer sized(QStringLiteral("http"), m_root.path());
    ASSERT_GT(unsized.port(), 0);
    ASSERT_GT(sized.port(), 0);
    auto s = connected(unsized, true);

    // No earlier copy: nothing to keep.
    ASSERT_TRUE(s->getFile(name, local(name), kUnknownSize, {})) << s->ErrorMsg().toStdString();
    EXPECT_FALSE(s->lastSizeChecked());
    EXPECT_EQ(readFile(local(name)), content.left(3000));
    EXPECT_EQ(folderNames(m_local.path()), QStringList{name});

    // An earlier copy is kept under its own name, and stays the one kept through further downloads
    // whose size no one named.
    ASSERT_TRUE(writeFile(local(name), "earlier copy"));
    for (int round = 0; round < 2; ++round) {
        SCOPED_TRACE(round);
        ASSERT_TRUE(s->getFile(name, local(name), kUnknownSize, {})) << s->ErrorMsg().toStdString();
        EXPECT_FALSE(s->lastSizeChecked());
        EXPECT_EQ(readFile(local(name)), content.left(3000));
        EXPECT_EQ(readFile(kept), QByteArray("earlier copy"));
        EXPECT_EQ(folderNames(m_local.path()), (QStringList{name, QFileInfo(kept).fileName()}));
    }

    // A failed download changes nothing.
    EXPECT_FALSE(s->getFile(QStringLiteral("missing.exe"), local(name), kUnknownSize, {}));
    EXPECT_EQ(readFile(kept), QByteArray("earlier copy"));
    EXPECT_EQ(folderNames(m_local.path()), (QStringList{name, QFileInfo(kept).fileName()}));

    // A reply that names the length checks the size even where the listing named none; the kept
    // copy then goes.
    auto checked = connected(sized, true);
    ASSERT_TRUE(checked->getFile(kSetup, local(name), kUnknownSize, {})) << checked->ErrorMsg().toStdString();
    EXPECT_TRUE(checked->lastSizeChecked());
    EXPECT_EQ(readFile(local(name)), content);
    EXPECT_EQ(folderNames(m_local.path()), QStringList{name});
}

// A process that ends mid-download leaves its temporary beside the file; the next download removes it
// and lands whole. Files that only look like one (a browser's "<name>.part", rsync's hidden copy, a
// user's own hidden file) are other programs' and stay as they are.
TEST_F(SessionTest, ATemporaryLeftByAKilledDownloadGoesAtTheNextAndNothingElse)
{
    const QByteArray content = bytesOf(12000, 53);
    ASSERT_TRUE(writeFile(remote(kSetup), content));
    const QStringList foreign = {kSetup + QStringLiteral(".part"), u'.' + kSetup + QStringLiteral(".Ab12Cd"),
                                 u'.' + kSetup + QStringLiteral(".yedek1")};
    for (const QString &name : foreign)
        ASSERT_TRUE(writeFile(local(name), "another program's"));
    for (bool http : {false, true}) {
        SCOPED_TRACE(http ? "HTTP" : "FTP");
        LoopbackServer server(http ? QStringLiteral("http") : QStringLiteral("ftp"), m_root.path(), ftpArgs());
        ASSERT_GT(server.port(), 0);
        EXPECT_EXIT(
            {
                auto s = connected(server, http);
                s->getFile(kSetup, local(kSetup), content.size(), [](qint64 done) {
                    if (done >= 5000)
                        std::raise(SIGKILL);
                    return true;
                });
                std::exit(0);
            },
            ::testing::KilledBySignal(SIGKILL), "");
        QStringList left = folderNames(m_local.path());
        for (const QString &name : foreign)
            EXPECT_TRUE(left.removeOne(name)) << name.toStdString();
        ASSERT_EQ(left.size(), 1) << left.join(u' ').toStdString();
        EXPECT_TRUE(isOwnTempName(left[0], kSetup)) << left[0].toStdString();

        auto s = connected(server, http);
        ASSERT_TRUE(s->getFile(kSetup, local(kSetup), content.size(), {})) << s->ErrorMsg().toStdString();
        EXPECT_EQ(readFile(local(kSetup)), content);
        QStringList expected = foreign + QStringList{kSetup};
        expected.sort();
        EXPECT_EQ(folderNames(m_local.path()), expected);
        for (const QString &name : foreign)
            EXPECT_EQ(readFile(local(name)), QByteArray("another program's")) << name.toStdString();
        ASSERT_TRUE(QFile::remove(local(kSetup)));
    }
}

// Events run while a transfer waits; a call of the same session made from them is turned away and
// the transfer goes on undisturbed.
TEST_F(SessionTest, ACallMadeDuringATransferIsTurnedAway)
{
    ASSERT_TRUE(writeFile(remote(kSetup), bytesOf(12000, 41)));
    LoopbackServer server(QStringLiteral("ftp"), m_root.path(), ftpArgs());
    ASSERT_GT(server.port(), 0);
    auto s = connected(server, false);
    int nested = 0;
    const bool ok = s->getFile(kSetup, local(kSetup), 12000, [&](qint64) {
        ++nested;
        EXPECT_TRUE(s->Directory(QStringLiteral("*.*")).isEmpty());
        EXPECT_FALSE(s->getFile(kSetup, local(QStringLiteral("second")), 12000, {}));
        EXPECT_FALSE(s->SetCurDir(QStringLiteral("/")));
        s->CloseRemote(); // turned away too: the transfer goes on
        return true;
    });
    EXPECT_TRUE(ok);
    EXPECT_EQ(nested, 5);
    EXPECT_EQ(s->Error(), 0);
    EXPECT_EQ(readFile(local(kSetup)), bytesOf(12000, 41));
    EXPECT_EQ(folderNames(m_local.path()), QStringList{kSetup});
    EXPECT_EQ(s->Directory(QStringLiteral("*.*")).size(), 1);
}

TEST_F(SessionTest, ALocalFileThatCannotBeMadeFailsWithItsOwnNumber)
{
    ASSERT_TRUE(writeFile(remote(kSetup), bytesOf(100, 12)));
    LoopbackServer server(QStringLiteral("ftp"), m_root.path(), ftpArgs());
    ASSERT_GT(server.port(), 0);
    auto s = connected(server, false);
    EXPECT_FALSE(s->getFile(kSetup, local(QStringLiteral("no-such-folder/") + kSetup), 100, {}));
    EXPECT_EQ(s->Error(), 12016);
    EXPECT_TRUE(folderNames(m_local.path()).isEmpty());
}

TEST_F(SessionTest, NamesThatWouldLeaveTheDirectoryAreRefused)
{
    LoopbackServer server(QStringLiteral("ftp"), m_root.path(), ftpArgs());
    ASSERT_GT(server.port(), 0);
    auto s = connected(server, false);
    for (const QString &name : {QStringLiteral("../etc/passwd"), QStringLiteral(".."), QStringLiteral("a/b"),
                                QStringLiteral("a\\b"), QStringLiteral("x\r\nDELE y"), QString()}) {
        SCOPED_TRACE(name.toStdString());
        EXPECT_FALSE(s->getFile(name, local(QStringLiteral("out")), 0, {}));
        EXPECT_GT(s->Error(), 0);
        EXPECT_FALSE(s->DeleteFile(name));
        EXPECT_FALSE(s->CreateDir(name));
    }
    EXPECT_TRUE(folderNames(m_local.path()).isEmpty());
}

TEST_F(SessionTest, GetLowLevelShowsTheStatusTextsAndStepsTheBar)
{
    ASSERT_TRUE(writeFile(remote(kSetup), bytesOf(5000, 13)));
    LoopbackServer server(QStringLiteral("ftp"), m_root.path(), ftpArgs());
    ASSERT_GT(server.port(), 0);
    auto s = connected(server, false);

    QStringList status;
    QList<int> shown;
    int steps = 0;
    int resets = 0;
    TransferView view;
    view.status = [&](const QString &t) { status << t; };
    view.barShown = [&](int max) { shown << max; };
    view.barStep = [&] {
        ++steps;
        return true;
    };
    view.barReset = [&] { ++resets; };

    ASSERT_TRUE(GETLOWLEVEL(*s, m_local.path(), kSetup, 5000, view));
    EXPECT_EQ(status, (QStringList{QStringLiteral("Dosya alınıyor ..."), QStringLiteral("Dosya alındı")}));
    EXPECT_EQ(shown, QList<int>{4});
    EXPECT_EQ(steps, 3); // 2500, 2500 and the empty last block
    EXPECT_EQ(resets, 1);
    EXPECT_EQ(readFile(local(kSetup)), bytesOf(5000, 13));

    status.clear();
    EXPECT_FALSE(GETLOWLEVEL(*s, m_local.path(), kSetup, 4999, view)); // not the listed size
    EXPECT_EQ(status.last(), QStringLiteral("Dosya ") + kSetup + QStringLiteral(" alınamıyor"));
    EXPECT_EQ(readFile(local(kSetup)), bytesOf(5000, 13));

    // The window going away stops the transfer.
    status.clear();
    ASSERT_TRUE(QFile::remove(local(kSetup)));
    view.barStep = [] { return false; };
    EXPECT_FALSE(GETLOWLEVEL(*s, m_local.path(), kSetup, 5000, view));
    EXPECT_EQ(status.last(), QStringLiteral("Dosya ") + kSetup + QStringLiteral(" alınamıyor"));
    EXPECT_TRUE(folderNames(m_local.path()).isEmpty());

    status.clear();
    EXPECT_FALSE(GETLOWLEVEL(*s, m_local.path(), QStringLiteral("../x"), 0, view));
    EXPECT_EQ(status.last(), QStringLiteral("Dosya ../x alınamıyor"));
}

TEST(TransferBar, RangeRunsToTheBlockCountPlusTwo)
{
    const QList<QPair<qint64, int>> cases{{kUnknownSize, 0}, {0, 2}, {1, 2}, {2499, 2}, {2500, 3}, {5000, 4}, {5001, 4}, {1048576, 421}};
    for (const auto &[size, max] : cases)
        EXPECT_EQ(transferBarMaximum(size), max) << size;
}

// ---------------------------------------------------------------------------------------------
// Uploads and remote commands

TEST_F(SessionTest, AnFtpUploadLandsAndAFailedWriteIsReportedAsFailure)
{
    ASSERT_TRUE(QDir(m_root.path()).mkdir(QStringLiteral("readonly")));
    const QByteArray content = bytesOf(7501, 21);
    ASSERT_TRUE(writeFile(local(kSetup), content));
    LoopbackServer server(QStringLiteral("ftp"), m_root.path(), ftpArgs());
    ASSERT_GT(server.port(), 0);
    auto s = connected(server, false);

    QStringList status;
    int steps = 0;
    QList<int> shown;
    TransferView view;
    view.status = [&](const QString &t) { status << t; };
    view.barShown = [&](int max) { shown << max; };
    view.barStep = [&] {
        ++steps;
        return true;
    };
    ASSERT_TRUE(PUTLOWLEVEL(*s, m_local.path(), kSetup, content.size(), view)) << s->ErrorMsg().toStdString();
    EXPECT_EQ(status, (QStringList{QStringLiteral("Dosya gönderiliyor ..."), QStringLiteral("Dosya gönderildi!")}));
    EXPECT_EQ(shown, QList<int>{5});
    EXPECT_EQ(steps, 4);
    EXPECT_EQ(readFile(remote(kSetup)), content);

    // A folder that takes no uploads: false with the session's error, not success.
    status.clear();
    ASSERT_TRUE(s->SetCurDir(QStringLiteral("readonly")));
    EXPECT_FALSE(PUTLOWLEVEL(*s, m_local.path(), kSetup, content.size(), view));
    EXPECT_GT(s->Error(), 0);
    EXPECT_EQ(status.last(), QStringLiteral("Dosya gönderilemedi!"));
    EXPECT_FALSE(QFile::exists(remote(QStringLiteral("readonly/") + kSetup)));

    // A local file that is not there.
    status.clear();
    ASSERT_TRUE(s->SetCurDir(QStringLiteral("/")));
    EXPECT_FALSE(PUTLOWLEVEL(*s, m_local.path(), QStringLiteral("absent.exe"), 0, view));
    EXPECT_EQ(s->Error(), 12016);
    EXPECT_EQ(status.last(), QStringLiteral("Dosya gönderilemedi!"));
    EXPECT_FALSE(QFile::exists(remote(QStringLiteral("absent.exe"))));
}

TEST_F(SessionTest, FtpRemoteCommandsCreateRemoveAndDelete)
{
    ASSERT_TRUE(writeFile(remote(QStringLiteral("old.exe")), bytesOf(10, 22)));
    LoopbackServer server(QStringLiteral("ftp"), m_root.path(), ftpArgs());
    ASSERT_GT(server.port(), 0);
    auto s = connected(server, false);
    vexo::test::ScriptedMessages boxes;
    EXPECT_TRUE(remoteCommandAllowed(true, s.get()));
    EXPECT_TRUE(boxes.shown().isEmpty());

    EXPECT_TRUE(createRemoteDir(*s, QStringLiteral("yeni")));
    EXPECT_TRUE(QFileInfo(remote(QStringLiteral("yeni"))).isDir());
    EXPECT_FALSE(createRemoteDir(*s, QStringLiteral("yeni"))); // already there
    EXPECT_GT(s->Error(), 0);
    EXPECT_TRUE(removeRemoteDir(*s, QStringLiteral("[yeni]")));
    EXPECT_FALSE(QFileInfo::exists(remote(QStringLiteral("yeni"))));
    EXPECT_FALSE(removeRemoteDir(*s, QStringLiteral("[..]")));
    EXPECT_FALSE(removeRemoteDir(*s, QStringLiteral("plain")));

    EXPECT_TRUE(deleteRemoteFile(*s, QStringLiteral("old.exe")));
    EXPECT_FALSE(QFile::exists(remote(QStringLiteral("old.exe"))));
    EXPECT_FALSE(deleteRemoteFile(*s, QStringLiteral("old.exe")));
    EXPECT_GT(s->Error(), 0);
    EXPECT_FALSE(deleteRemoteFile(*s, QString()));
    EXPECT_TRUE(GETDIRNAME({}).isEmpty());
    // The listing still works after the failures.
    EXPECT_TRUE(s->Directory(QStringLiteral("*.*")).isEmpty());
    EXPECT_EQ(s->Error(), 0);
}

TEST_F(SessionTest, HttpRefusesTheRemoteCommandsButDownloads)
{
    ASSERT_TRUE(writeFile(remote(kSetup), bytesOf(5001, 23)));
    ASSERT_TRUE(writeFile(local(QStringLiteral("up.exe")), bytesOf(10, 24)));
    LoopbackServer server(QStringLiteral("http"), m_root.path());
    ASSERT_GT(server.port(), 0);
    auto s = connected(server, true);
    vexo::test::ScriptedMessages boxes;

    EXPECT_FALSE(remoteCommandAllowed(true, s.get()));
    EXPECT_FALSE(remoteCommandAllowed(false, s.get()));
    EXPECT_FALSE(remoteCommandAllowed(false, nullptr));
    ASSERT_EQ(boxes.shown().size(), 3);
    EXPECT_EQ(boxes.shown()[0].text, QStringLiteral("HTTP ile işlem mümkün değil..."));
    EXPECT_EQ(boxes.shown()[0].caption, QStringLiteral("Uyarı..."));
    for (int i : {1, 2}) {
        EXPECT_EQ(boxes.shown()[i].text, QStringLiteral("Bağlantı kurulamadı..."));
        EXPECT_EQ(boxes.shown()[i].caption, QStringLiteral("Hata..."));
    }

    EXPECT_FALSE(s->putFile(local(QStringLiteral("up.exe")), QStringLiteral("up.exe"), {}));
    EXPECT_FALSE(s->DeleteFile(kSetup));
    EXPECT_FALSE(s->CreateDir(QStringLiteral("x")));
    EXPECT_FALSE(s->RemoveDir(QStringLiteral("x")));
    EXPECT_GT(s->Error(), 0);
    EXPECT_EQ(folderNames(m_root.path()), QStringList{kSetup});

    ASSERT_TRUE(s->getFile(kSetup, local(kSetup), 5001, {}));
    EXPECT_EQ(readFile(local(kSetup)), bytesOf(5001, 23));
}

TEST_F(SessionTest, HttpFollowsNoRedirectToAnotherScheme)
{
    LoopbackServer server(QStringLiteral("http"), m_root.path());
    ASSERT_GT(server.port(), 0);
    auto s = connected(server, true);
    ASSERT_TRUE(s->SetCurDir(QStringLiteral("redirect-ftp")));
    EXPECT_FALSE(s->getFile(kSetup, local(kSetup), 0, {}));
    EXPECT_GT(s->Error(), 0);
    EXPECT_TRUE(folderNames(m_local.path()).isEmpty());
}

// ---------------------------------------------------------------------------------------------
// Proxies

TEST_F(SessionTest, ProxyVariablesInTheEnvironmentChangeNothing)
{
    const char *names[] = {"http_proxy", "HTTP_PROXY", "https_proxy", "ftp_proxy", "FTP_PROXY", "all_proxy", "ALL_PROXY"};
    std::vector<std::unique_ptr<vexo::test::EnvGuard>> guards;
    for (const char *n : names) {
        guards.push_back(std::make_unique<vexo::test::EnvGuard>(n));
        qputenv(n, "http://127.0.0.1:9");
    }
    vexo::test::EnvGuard noProxy("no_proxy");
    qunsetenv("no_proxy");
    ASSERT_TRUE(writeFile(remote(kSetup), bytesOf(3000, 31)));
    for (bool http : {false, true}) {
        SCOPED_TRACE(http ? "HTTP" : "FTP");
        LoopbackServer server(http ? QStringLiteral("http") : QStringLiteral("ftp"), m_root.path(), ftpArgs());
        ASSERT_GT(server.port(), 0);
        auto s = connected(server, http);
        ASSERT_TRUE(s->getFile(kSetup, local(kSetup), 3000, {})) << s->ErrorMsg().toStdString();
        EXPECT_EQ(readFile(local(kSetup)), bytesOf(3000, 31));

        // A proxy the user names is used: this one is not listening.
        auto viaProxy = session(http);
        viaProxy->setProxy(QStringLiteral("http://127.0.0.1:9"));
        EXPECT_FALSE(viaProxy->ConnectRemote(server.address(), kUser, kPassword));
        EXPECT_GT(viaProxy->Error(), 0);
        expectNoPassword(*viaProxy);
    }
}

} // namespace
