// The updater window with the program's own sessions against loopback servers on 127.0.0.1.
#include "file_bytes.h"
#include "loopback_server.h"
#include "scripted_messages.h"
#include "platform/own_temp_files.h"
#include "updater/ftp_win.h"
#include "updater/my_list_view.h"

#include <QCheckBox>
#include <QProgressBar>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>
#include <QElapsedTimer>
#include <QtTest>

using namespace vexo;
using namespace vexo::test;

namespace {

const QString kPassword = QStringLiteral("KoMuTeL!5274*");

QByteArray bytesOf(int n)
{
    QByteArray b(n, Qt::Uninitialized);
    for (int i = 0; i < n; ++i)
        b[i] = char((i * 7 + i / 251) & 0xFF);
    return b;
}

void writeFile(const QString &path, const QByteArray &bytes)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    QCOMPARE(f.write(bytes), bytes.size());
}

InetSessionFactory curlSessions(int lowSpeedSeconds = 1, qint64 unknownSizeCeiling = kUnknownSizeCeiling)
{
    return [lowSpeedSeconds, unknownSizeCeiling](bool http, const QString &agent, InetSession::StatusHook hook) {
        InetSession::Limits fast;
        fast.connectTimeoutMs = 3000;
        fast.lowSpeedSeconds = lowSpeedSeconds;
        fast.unknownSizeCeiling = unknownSizeCeiling;
        return makeInetSession(http, agent, std::move(hook), fast);
    };
}

} // namespace

class UpdaterWindowOnLoopback : public QObject
{
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> m_tmp;
    UpdaterBuiltins m_builtins;

    QString root() const { return m_tmp->filePath(QStringLiteral("server")); }
    QString remote(const QString &name) const { return root() + QStringLiteral("/public_html/") + name; }
    QString local(const QString &name) const { return QDir(m_builtins.setupDir).filePath(name); }
    QStringList ftpArgs() const { return {"--user", "vexo", "--password", kPassword}; }

    std::unique_ptr<FTPWIN> window(const LoopbackServer &server, int lowSpeedSeconds = 1)
    {
        m_builtins.server = server.address();
        return std::make_unique<FTPWIN>(nullptr, m_builtins, curlSessions(lowSpeedSeconds),
                                        m_tmp->filePath(QStringLiteral("prog")));
    }
    static void expectNoPassword(const QStringList &statuses, const ScriptedMessages &messages)
    {
        for (const QString &t : statuses)
            QVERIFY2(!t.contains(kPassword), qPrintable(t));
        for (const MessageRequest &r : messages.shown())
            QVERIFY(!r.text.contains(kPassword) && !r.caption.contains(kPassword));
    }

private slots:
    void init()
    {
        m_tmp = std::make_unique<QTemporaryDir>();
        QDir().mkpath(m_tmp->filePath(QStringLiteral("prog")));
        m_builtins.user = QStringLiteral("vexo");
        m_builtins.password = kPassword;
        m_builtins.directory = QStringLiteral("public_html");
        m_builtins.setupDir = m_tmp->filePath(QStringLiteral("veri/VXO-Setup"));
        m_builtins.progFile = m_tmp->filePath(QStringLiteral("prog/VEXO_Rir26"));
        m_builtins.setupFile = QStringLiteral("VXO_Rir26-setup.exe");
        m_builtins.pwdKey = QStringLiteral("jwz");
    }

    // Every download also finds the part file a killed earlier download left, and removes it.
    void downloadThroughTheWindow_data()
    {
        QTest::addColumn<bool>("http");
        QTest::addColumn<bool>("chunked"); // the server names no lengths
        QTest::newRow("FTP") << false << false;
        QTest::newRow("HTTP") << true << false;
        QTest::newRow("HTTP without lengths") << true << true;
    }
    void downloadThroughTheWindow()
    {
        QFETCH(bool, http);
        QFETCH(bool, chunked);
        ScriptedMessages messages;
        const QByteArray setup = bytesOf(5001);
        writeFile(remote(m_builtins.setupFile), setup);
        writeFile(remote(QStringLiteral("notes.txt")), "not offered");
        // What a download that was killed leaves beside the setup file: the next one removes it.
        writeFile(local(u'.' + m_builtins.setupFile + QLatin1String(kOwnTempMarker) + QStringLiteral("Ab12Cd")),
                  "left by a download that was killed");
        LoopbackServer server(http ? QStringLiteral("http") : QStringLiteral("ftp"), root(),
                              ftpArgs() + (chunked ? QStringList{QStringLiteral("--chunked")} : QStringList()));
        QVERIFY(server.port() > 0);
        auto w = window(server);
        QStringList statuses;
        connect(w.get(), &FTPWIN::statusChanged, this, [&](const QString &t) { statuses << t; });
        w->useHttpBox()->setChecked(http);
        w->connectButton()->click();
        QVERIFY2(w->connected(), qPrintable(texts(messages)));
        QCOMPARE(w->FTPSTATUS(), QStringLiteral("Bağlandı"));
        QCOMPARE(w->CURDIR(), QStringLiteral("/public_html"));
        QCOMPARE(w->FILEBOX()->rowCount(), 1);
        QCOMPARE(w->FILEBOX()->GETITEMVALUE(), m_builtins.setupFile);
        qint64 size = 0;
        w->CURRENTREMOTEFILE(false, &size);
        QCOMPARE(size, chunked ? kUnknownSize : 5001);

        w->updateButton()->click();
        QCOMPARE(readBytes(local(m_builtins.setupFile)), setup);
        QCOMPARE(QDir(m_builtins.setupDir).entryList(QDir::Files | QDir::Hidden), QStringList{m_builtins.setupFile});
        QCOMPARE(w->FTPSTATUS(), QStringLiteral("Dosya alındı"));
        QCOMPARE(w->FTPBAR()->maximum(), chunked ? 1 : 4);
        QCOMPARE(w->LOCALBOX()->rowCount(), 1);
        QCOMPARE(messages.shown().size(), 1);
        QCOMPARE(messages.shown().first().caption, QStringLiteral("Durum..."));
        if (!http)
            QVERIFY(statuses.contains(QStringLiteral("Server'e Bağlanıldı ...")));

        w->okButton()->click();
        QCOMPARE(w->FTPSTATUS(), QStringLiteral("Bağlantı kesik"));
        expectNoPassword(statuses, messages);
    }

    void wrongPassword()
    {
        ScriptedMessages messages;
        writeFile(remote(m_builtins.setupFile), "x");
        LoopbackServer server(QStringLiteral("ftp"), root(), ftpArgs());
        m_builtins.password = QStringLiteral("wrong one");
        auto w = window(server);
        QStringList statuses;
        connect(w.get(), &FTPWIN::statusChanged, this, [&](const QString &t) { statuses << t; });
        w->connectButton()->click();
        QVERIFY(!w->connected());
        QCOMPARE(messages.shown().size(), 1);
        QVERIFY(messages.shown().first().caption.startsWith(QStringLiteral("FTP hatası ")));
        QVERIFY(w->session()->Error() > 0);
        QCOMPARE(messages.shown().first().caption, "FTP hatası " + QString::number(w->session()->Error()));
        QCOMPARE(w->FTPSTATUS(), QStringLiteral("Bağlantı kesik"));
        QVERIFY(w->connectButton()->isEnabled());
        QVERIFY(!w->updateButton()->isEnabled());
        expectNoPassword(statuses, messages);
        for (const MessageRequest &r : messages.shown())
            QVERIFY(!r.text.contains(QStringLiteral("wrong one")));
    }

    // A password of one letter is hidden where it stands as the password, not in the status line
    // and the error box, which read whole.
    void aOneLetterPasswordLeavesTheTextsWhole()
    {
        ScriptedMessages messages;
        int deadPort = 0;
        {
            LoopbackServer gone(QStringLiteral("http"), root());
            deadPort = gone.port();
        }
        QVERIFY(deadPort > 0);
        m_builtins.password = QStringLiteral("a");
        m_builtins.server = QStringLiteral("127.0.0.1:") + QString::number(deadPort);
        auto w = std::make_unique<FTPWIN>(nullptr, m_builtins, curlSessions(), m_tmp->filePath(QStringLiteral("prog")));
        QStringList statuses;
        connect(w.get(), &FTPWIN::statusChanged, this, [&](const QString &t) { statuses << t; });
        w->connectButton()->click();
        QVERIFY(!w->connected());
        QVERIFY2(statuses.contains(QStringLiteral("Server'e bağlanılıyor ...")), qPrintable(statuses.join(u'|')));
        QCOMPARE(w->FTPSTATUS(), QStringLiteral("Bağlantı kesik"));
        QCOMPARE(messages.shown().size(), 1);
        const QRegularExpression whole(QRegularExpression::anchoredPattern(
            QStringLiteral("Failed to connect to 127\\.0\\.0\\.1 port %1 after \\d+ ms: Couldn't connect to server")
                .arg(deadPort)));
        QVERIFY2(whole.match(messages.shown().first().text).hasMatch(), qPrintable(messages.shown().first().text));
    }

    void aCutDownloadKeepsTheEarlierCopy()
    {
        ScriptedMessages messages;
        m_builtins.setupFile = QStringLiteral("cut-setup.exe"); // the server drops it after 3000 bytes
        writeFile(remote(m_builtins.setupFile), bytesOf(8000));
        LoopbackServer server(QStringLiteral("ftp"), root(), ftpArgs());
        writeFile(local(m_builtins.setupFile), "earlier copy");
        QFile f(local(m_builtins.setupFile));
        QVERIFY(f.open(QIODevice::ReadWrite));
        QVERIFY(f.setFileTime(QDateTime(QDate(2020, 1, 1), QTime(1, 0)), QFileDevice::FileModificationTime));
        f.close();
        auto w = window(server);
        w->FTPCONNECT();
        QVERIFY(w->connected());
        w->FTPGETFILE();
        QCOMPARE(w->FTPSTATUS(), QStringLiteral("Dosya cut-setup.exe alınamıyor"));
        QCOMPARE(readBytes(local(m_builtins.setupFile)), QByteArray("earlier copy"));
        QCOMPARE(QDir(m_builtins.setupDir).entryList(QDir::Files | QDir::Hidden), QStringList{m_builtins.setupFile});
        QCOMPARE(messages.shown().size(), 1);
        QVERIFY(messages.shown().first().caption.startsWith(QStringLiteral("FTP hatası ")));
        QVERIFY(w->connected());
    }

    // A server that names no size anywhere: a file it cuts short passes, with the closing box saying
    // so and the earlier copy kept beside it; one that streams without end is stopped at the ceiling
    // with an error box naming it, and the earlier copy stays as it was.
    void aServerThatNamesNoSize_data()
    {
        QTest::addColumn<QString>("setupFile");
        QTest::newRow("cut short") << QStringLiteral("cut-setup.exe");
        QTest::newRow("without end") << QStringLiteral("endless-setup.exe");
    }
    void aServerThatNamesNoSize()
    {
        QFETCH(QString, setupFile);
        const bool endless = setupFile.startsWith(u"endless");
        ScriptedMessages messages;
        m_builtins.setupFile = setupFile;
        writeFile(remote(setupFile), bytesOf(8000));
        writeFile(local(setupFile), "earlier copy");
        QFile f(local(setupFile));
        QVERIFY(f.open(QIODevice::ReadWrite));
        QVERIFY(f.setFileTime(QDateTime(QDate(2020, 1, 1), QTime(1, 0)), QFileDevice::FileModificationTime));
        f.close();
        LoopbackServer server(QStringLiteral("http"), root(), {QStringLiteral("--no-length")});
        QVERIFY(server.port() > 0);
        m_builtins.server = server.address();
        FTPWIN w(nullptr, m_builtins, curlSessions(1, 1024 * 1024), m_tmp->filePath(QStringLiteral("prog")));
        w.useHttpBox()->setChecked(true);
        w.FTPCONNECT();
        QVERIFY(w.connected());
        w.FTPGETFILE();
        QCOMPARE(messages.shown().size(), 1);
        const QString kept = QStringLiteral("%1.onceki.exe").arg(QFileInfo(setupFile).completeBaseName());
        if (endless) {
            QCOMPARE(texts(messages),
                     QStringLiteral("FTP hatası 63|Sunucu dosyanın boyunu bildirmedi; indirme 1 MB sınırında durduruldu"));
            QCOMPARE(w.FTPSTATUS(), "Dosya " + setupFile + " alınamıyor");
            QCOMPARE(readBytes(local(setupFile)), QByteArray("earlier copy"));
            QCOMPARE(QDir(m_builtins.setupDir).entryList(QDir::Files | QDir::Hidden), QStringList{setupFile});
        } else {
            QCOMPARE(texts(messages),
                     "Durum...|Programdan çıktıktan sonra, <" + QDir::toNativeSeparators(m_builtins.setupDir)
                         + "> dizinine geçip,\r\nindirilen <Setup> programını çalıştırarak programı yeniden kurunuz..."
                           "\r\n\r\nSunucu dosyanın boyunu bildirmediği için dosyanın tam inip inmediği denetlenemedi..."
                           "\r\nÖnceki kopya <"
                         + kept + "> adıyla saklandı...");
            QCOMPARE(w.FTPSTATUS(), QStringLiteral("Dosya alındı"));
            QCOMPARE(readBytes(local(setupFile)), bytesOf(3000));
            QCOMPARE(readBytes(local(kept)), QByteArray("earlier copy"));
            QCOMPARE(QDir(m_builtins.setupDir).entryList(QDir::Files | QDir::Hidden, QDir::Name),
                     (QStringList{setupFile, kept}));
            QCOMPARE(w.LOCALBOX()->rowCount(), 1);
        }
        QVERIFY(w.connected());
    }

    // The server sends part of the file and then goes quiet, with a long low-speed time: closing
    // the window ends the download at once, not when the server is given up.
    void closingDuringAStalledDownloadEndsItAtOnce_data()
    {
        QTest::addColumn<bool>("http");
        QTest::newRow("FTP") << false;
        QTest::newRow("HTTP") << true;
    }
    void closingDuringAStalledDownloadEndsItAtOnce()
    {
        QFETCH(bool, http);
        ScriptedMessages messages;
        m_builtins.setupFile = QStringLiteral("stall-setup.exe");
        writeFile(remote(m_builtins.setupFile), bytesOf(8000));
        LoopbackServer server(http ? QStringLiteral("http") : QStringLiteral("ftp"), root(), ftpArgs());
        QVERIFY(server.port() > 0);
        writeFile(local(m_builtins.setupFile), "earlier copy");
        QFile f(local(m_builtins.setupFile));
        QVERIFY(f.open(QIODevice::ReadWrite));
        QVERIFY(f.setFileTime(QDateTime(QDate(2020, 1, 1), QTime(1, 0)), QFileDevice::FileModificationTime));
        f.close();
        auto w = window(server, 30);
        w->useHttpBox()->setChecked(http);
        w->FTPCONNECT();
        QVERIFY(w->connected());
        QTimer::singleShot(700, w.get(), [&] { w->reject(); });
        QElapsedTimer clock;
        clock.start();
        w->FTPGETFILE();
        QVERIFY2(clock.elapsed() >= 700 && clock.elapsed() < 5000, qPrintable(QString::number(clock.elapsed())));
        QVERIFY(!w->connected());
        QVERIFY(messages.shown().isEmpty()); // an abort the user asked for is no error
        QCOMPARE(readBytes(local(m_builtins.setupFile)), QByteArray("earlier copy"));
        QCOMPARE(QDir(m_builtins.setupDir).entryList(QDir::Files | QDir::Hidden), QStringList{m_builtins.setupFile});
    }

private:
    static QString texts(const ScriptedMessages &m)
    {
        QStringList out;
        for (const MessageRequest &r : m.shown())
            out << r.caption + u'|' + r.text;
        return out.join(u'\n');
    }
};

QTEST_MAIN(UpdaterWindowOnLoopback)
#include "tst_ftp_win_loopback.moc"
