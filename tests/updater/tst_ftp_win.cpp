#include "controls/command_registry.h"
#include "controls/menu_builder.h"
#include "controls/shell_menus.h"
#include "fake_session.h"
#include "file_bytes.h"
#include "platform/dialog_units.h"
#include "problem/app_globals.h"
#include "scripted_messages.h"
#include "updater/ftp_win.h"
#include "updater/my_list_view.h"
#include "updater/updater_commands.h"

#include <QApplication>
#include <QCheckBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QProgressBar>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

using namespace vexo;
using namespace vexo::test;

namespace {

const QString kSetup = QStringLiteral("VXO_Rir26-setup.exe");
const QString kPassword = QStringLiteral("KoMuTeL!5274*");
const QDate kRemoteDate(2026, 3, 10);

void touch(const QString &path, const QDate &date, const QByteArray &bytes = "old copy")
{
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(bytes);
    QVERIFY(f.flush());
    QVERIFY(f.setFileTime(QDateTime(date, QTime(10, 0)), QFileDevice::FileModificationTime));
}

ListingEntry entry(const QString &name, qint64 size, const QDate &date, const QString &attr = QStringLiteral("A"))
{
    return ListingEntry{name, size, date, QStringLiteral("12:00:00"), attr};
}

QStringList texts(const QList<MessageRequest> &shown)
{
    QStringList out;
    for (const MessageRequest &r : shown)
        out << r.caption + u'|' + r.text;
    return out;
}

} // namespace

class UpdaterWindow : public QObject
{
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> m_tmp;
    std::shared_ptr<FakeServer> m_server;
    UpdaterBuiltins m_builtins;
    QString m_progDir;

    std::unique_ptr<FTPWIN> makeWindow()
    {
        return std::make_unique<FTPWIN>(nullptr, m_builtins, fakeFactory(m_server), m_progDir);
    }
    QString setupPath() const { return QDir(m_builtins.setupDir).filePath(kSetup); }
    QStringList filesIn(const QString &dir) const { return QDir(dir).entryList(QDir::Files | QDir::Hidden); }

private slots:
    void init()
    {
        m_tmp = std::make_unique<QTemporaryDir>();
        m_progDir = m_tmp->filePath(QStringLiteral("prog"));
        QDir().mkpath(m_progDir);
        m_builtins.server = QStringLiteral("127.0.0.1");
        m_builtins.user = QStringLiteral("vexo");
        m_builtins.password = kPassword;
        m_builtins.directory = QStringLiteral("public_html");
        m_builtins.setupDir = m_tmp->filePath(QStringLiteral("veri/VXO-Setup"));
        m_builtins.progFile = QDir(m_progDir).filePath(QStringLiteral("VEXO_Rir26"));
        m_builtins.setupFile = kSetup;
        m_builtins.pwdKey = QStringLiteral("jwz");
        m_server = std::make_shared<FakeServer>();
        m_server->listing = {entry(QStringLiteral("."), 0, kRemoteDate, QStringLiteral("D")),
                             entry(QStringLiteral("old"), 0, kRemoteDate, QStringLiteral("D")),
                             entry(QStringLiteral("readme.txt"), 12, kRemoteDate),
                             entry(kSetup.toUpper(), 7, kRemoteDate), entry(kSetup, 5000, kRemoteDate)};
        m_server->files[kSetup] = QByteArray(5000, 'x');
    }

    void theFormAsBuilt()
    {
        ScriptedMessages messages;
        auto w = makeWindow();
        QCOMPARE(w->windowTitle(), QStringLiteral("Program Güncelleme Arayüzü"));
        QCOMPARE(w->size(), dluRect(w->font(), 0, 0, 420, 281).size());
        QCOMPARE(w->minimumSize(), w->maximumSize());
        QVERIFY(w->isModal());
        const QStringList names = {"OKBUTTON",    "FIXEDTEXT4", "FIXEDTEXT5", "FIXEDTEXT6", "FTPSERVER",
                                   "FTPUSER",     "FTPPASSWORD", "CURDIR",    "FTPCONNECT", "FTPDISCONNECT",
                                   "SAVESETUP",   "LOCALDIR",   "FIXEDTEXT8", "FIXEDTEXT9", "FIXEDTEXT10",
                                   "FTPBAR",      "FTPSTATUS",  "LOCALBOX",   "FILEBOX",    "FTPPROXY",
                                   "FIXEDTEXT7",  "USEHTTP",    "FTPGUNCELLE"};
        QCOMPARE(names.size(), 23); // ids 100 to 122, in the order of the form
        int id = 100;
        for (const QString &name : names) {
            QWidget *c = w->findChild<QWidget *>(name);
            QVERIFY2(c, qPrintable(name));
            QCOMPARE(c->property("controlId").toInt(), id++);
        }
        QCOMPARE(w->okButton()->text(), QStringLiteral("&Çıkış..."));
        QCOMPARE(w->okButton()->toolTip(), QStringLiteral("Çıkış"));
        QCOMPARE(w->okButton()->font().pointSize(), 11);
        QVERIFY(w->okButton()->font().bold());
        QCOMPARE(w->connectButton()->text(), QStringLiteral("Server'e Bağlan"));
        QCOMPARE(w->connectButton()->toolTip(), QStringLiteral("Server'a bağlan"));
        QCOMPARE(w->updateButton()->text(), QStringLiteral("Güncellemeleri Al"));
        QCOMPARE(w->statusLine()->text(), QStringLiteral("Bağlanı yok"));
        QVERIFY(w->statusLine()->font().bold());
        QCOMPARE(w->okButton()->geometry(), dluRect(w->font(), 360, 254, 44, 19));
        QCOMPARE(w->FILEBOX()->geometry(), dluRect(w->font(), 216, 136, 191, 115));
        QCOMPARE(w->FBMENU()->table(), fbMenu());
        QCOMPARE(w->LBMENU()->table(), lbMenu());
        QCOMPARE(w->FBMENU()->popup()->title(), QStringLiteral("Dosya"));
        QCOMPARE(w->FBMENU()->action(16688)->text(), QStringLiteral("&Günceli Al..."));
        QCOMPARE(w->LBMENU()->action(16726)->text(), QStringLiteral("&Kur Dosyasını Sil..."));
    }

    // Every caption of the form is read whole: the buttons' texts fit inside their frames, the
    // one-line captions and the check box in their places.
    void everyCaptionFits()
    {
        ScriptedMessages messages;
        auto w = makeWindow();
        w->show();
        QVERIFY(QTest::qWaitForWindowExposed(w.get()));
        for (const QPushButton *b : w->findChildren<QPushButton *>()) {
            if (b->text().isEmpty())
                continue;
            const QString text = QString(b->text()).remove(u'&');
            QVERIFY2(QFontMetrics(b->font()).horizontalAdvance(text) + 8 <= b->width(), qPrintable(text));
        }
        for (const QLabel *l : w->findChildren<QLabel *>()) {
            if (l->wordWrap() || l->text().isEmpty() || l->objectName() == QStringLiteral("FTPSTATUS"))
                continue;
            QVERIFY2(l->fontMetrics().horizontalAdvance(l->text()) <= l->contentsRect().width(), qPrintable(l->text()));
        }
        for (const QCheckBox *c : w->findChildren<QCheckBox *>())
            QVERIFY2(c->sizeHint().width() <= c->width(), qPrintable(c->text()));
    }

    void fieldsThatCanAndCannotBeEdited()
    {
        ScriptedMessages messages;
        auto w = makeWindow();
        w->show();
        for (QLineEdit *e : {w->serverField(), w->userField(), w->passwordField()}) {
            QVERIFY(e->isReadOnly());
            const QString before = e->text();
            e->setFocus();
            QTest::keyClicks(e, QStringLiteral("zz"));
            QCOMPARE(e->text(), before);
        }
        QCOMPARE(w->passwordField()->echoMode(), QLineEdit::Password);
        QVERIFY(!w->curDirField()->isEnabled());
        QVERIFY(!w->localDirField()->isEnabled());
        QVERIFY(!w->proxyField()->isReadOnly());
        QTest::keyClicks(w->proxyField(), QStringLiteral("proxy:3128"));
        QCOMPARE(w->proxyField()->text(), QStringLiteral("proxy:3128"));
        QVERIFY(!w->useHttpBox()->isChecked());
        w->useHttpBox()->click();
        QVERIFY(w->useHttpBox()->isChecked());
        QCOMPARE(w->serverField()->text(), QStringLiteral("127.0.0.1"));
        QCOMPARE(w->passwordField()->text(), kPassword);
        QCOMPARE(w->curDirField()->text(), QStringLiteral("public_html"));
    }

    void enablingRules()
    {
        ScriptedMessages messages;
        auto w = makeWindow();
        auto state = [&] {
            return QList<bool>{w->connectButton()->isEnabled(), w->disconnectButton()->isEnabled(),
                               w->updateButton()->isEnabled()};
        };
        QCOMPARE(state(), (QList<bool>{true, false, false}));
        w->connectButton()->click();
        QVERIFY(w->connected());
        QCOMPARE(state(), (QList<bool>{false, true, true}));
        w->disconnectButton()->click();
        QCOMPARE(state(), (QList<bool>{true, false, false}));
        QCOMPARE(w->FTPSTATUS(), QStringLiteral("Bağlantı kesik"));
        QCOMPARE(w->FILEBOX()->rowCount(), 0);
        QCOMPARE(m_server->closes, 1);

        m_server->password = QStringLiteral("another");
        w->connectButton()->click();
        QVERIFY(!w->connected());
        QCOMPARE(state(), (QList<bool>{true, false, false}));
        QVERIFY(messages.unexpectedQuestions() == 0);
    }

    void connectShowsTheStagesAndListsOnlyTheSetupFile()
    {
        ScriptedMessages messages;
        auto w = makeWindow();
        QStringList statuses;
        connect(w.get(), &FTPWIN::statusChanged, this, [&](const QString &t) { statuses << t; });
        m_server->connectStages = {StageResolving, StageHandleCreated, StageConnected, 77};
        w->proxyField()->setText(QStringLiteral("  proxy.invalid:3128  "));
        w->connectButton()->click();
        QCOMPARE(statuses, (QStringList{"Server'e bağlanılıyor ...", "İsim Çözümleniyor ...",
                                        "Server'e Bağlanıldı ...", "Bilinmeyen FTP Durumu", "Bağlandı"}));
        QCOMPARE(m_server->agents, QStringList{"VEXO FTP Alıcısı"});
        QCOMPARE(m_server->httpFlags, QList<bool>{false});
        QCOMPARE(m_server->proxies, QStringList{"  proxy.invalid:3128"});
        QCOMPARE(m_server->logins, QStringList{"127.0.0.1 vexo"});
        QCOMPARE(m_server->curDirsSet, QStringList{"public_html"});
        QCOMPARE(m_server->masks, QStringList{"*.*"});
        QCOMPARE(w->CURDIR(), QStringLiteral("/public_html"));
        QCOMPARE(w->curDirField()->text(), QStringLiteral("public_html"));
        QCOMPARE(w->FILEBOX()->rowCount(), 1);
        QCOMPARE(w->FILEBOX()->CURRENTITEMNO(), 1);
        QCOMPARE(w->FILEBOX()->GETITEMVALUE(), kSetup);
        qint64 size = -1;
        QCOMPARE(w->CURRENTREMOTEFILE(false, &size), kSetup);
        QCOMPARE(size, 5000);
        QCOMPARE(w->CURRENTREMOTEFILE(true), QString());
        QVERIFY(messages.shown().isEmpty());
    }

    void selectionSurvivesButtonsAndDoubleClicksChangeNothing()
    {
        ScriptedMessages messages;
        QDir().mkpath(m_builtins.setupDir);
        touch(setupPath(), kRemoteDate.addDays(-1));
        auto w = makeWindow();
        w->show();
        w->FTPCONNECT();
        QVERIFY(QTest::qWaitForWindowExposed(w.get()));
        QTest::mouseClick(w->saveButton(), Qt::LeftButton);
        QCOMPARE(w->FILEBOX()->CURRENTITEMNO(), 1);
        QCOMPARE(w->LOCALBOX()->CURRENTITEMNO(), 1);
        // A file row is no folder: a double-click moves neither list.
        emit w->FILEBOX()->itemDoubleClicked(w->FILEBOX()->topLevelItem(0), 0);
        emit w->LOCALBOX()->itemDoubleClicked(w->LOCALBOX()->topLevelItem(0), 0);
        QCOMPARE(m_server->curDirsSet, QStringList{"public_html"});
        QCOMPARE(m_server->masks.size(), 1);
        QCOMPARE(w->LOCALDIR(), m_builtins.setupDir);
        QCOMPARE(w->FILEBOX()->rowCount(), 1);
        QVERIFY(messages.shown().isEmpty());
    }

    void connectWithoutDirectoryKeepsTheServersFolder()
    {
        ScriptedMessages messages;
        m_builtins.directory.clear();
        m_server->home = QStringLiteral("/public_html");
        auto w = makeWindow();
        w->FTPCONNECT();
        QVERIFY(m_server->curDirsSet.isEmpty());
        QCOMPARE(w->curDirField()->text(), QStringLiteral("/public_html"));
    }

    void httpChoiceMakesAnHttpSession()
    {
        ScriptedMessages messages;
        auto w = makeWindow();
        w->useHttpBox()->setChecked(true);
        w->FTPCONNECT();
        QCOMPARE(m_server->httpFlags, QList<bool>{true});
        QVERIFY(w->session()->isHttp());
        QVERIFY(w->connected());
        QCOMPARE(m_server->masks, QStringList{kSetup});
        QCOMPARE(w->FILEBOX()->rowCount(), 1);
        QCOMPARE(w->FILEBOX()->GETITEMVALUE(), kSetup);
    }

    void emptyUserOrServerConnectsNothing_data()
    {
        QTest::addColumn<QString>("user");
        QTest::addColumn<QString>("server");
        QTest::newRow("blank user") << "   " << "127.0.0.1";
        QTest::newRow("empty server") << "vexo" << "";
    }
    void emptyUserOrServerConnectsNothing()
    {
        QFETCH(QString, user);
        QFETCH(QString, server);
        ScriptedMessages messages;
        m_builtins.user = user;
        m_builtins.server = server;
        auto w = makeWindow();
        w->FTPCONNECT();
        QVERIFY(m_server->logins.isEmpty());
        QCOMPARE(m_server->sessionsMade, 1);
        QCOMPARE(w->FTPSTATUS(), QStringLiteral("Bağlanı yok"));
        QVERIFY(messages.shown().isEmpty());
        QVERIFY(w->connectButton()->isEnabled());
    }

    void wrongPasswordShowsTheSessionsError()
    {
        ScriptedMessages messages;
        m_server->password = QStringLiteral("not this one");
        auto w = makeWindow();
        QStringList statuses;
        connect(w.get(), &FTPWIN::statusChanged, this, [&](const QString &t) { statuses << t; });
        w->connectButton()->click();
        QCOMPARE(texts(messages.shown()), QStringList{"FTP hatası 12014|530 Login incorrect."});
        QVERIFY(messages.shown().first().owner.isNull());
        QCOMPARE(messages.shown().first().style, unsigned(MB_OK));
        QCOMPARE(w->FTPSTATUS(), QStringLiteral("Bağlantı kesik"));
        QCOMPARE(w->RAISEFTPERROR(), 12014);
        QCOMPARE(m_server->closes, 0); // nothing to close
        for (const QString &t : statuses + texts(messages.shown()))
            QVERIFY(!t.contains(kPassword));
    }

    void thePasswordIsNeverShown()
    {
        ScriptedMessages messages;
        auto w = makeWindow();
        QStringList statuses;
        connect(w.get(), &FTPWIN::statusChanged, this, [&](const QString &t) { statuses << t; });
        m_server->password = QStringLiteral("x");
        w->FTPCONNECT();
        // A session whose error text repeats the password it was given.
        struct Echo : FakeSession
        {
            using FakeSession::FakeSession;
            QString ErrorMsg() const override { return QStringLiteral("login KoMuTeL!5274* refused"); }
        };
        FTPWIN echoing(nullptr, m_builtins,
                       [this](bool http, const QString &, InetSession::StatusHook hook) -> std::unique_ptr<InetSession> {
                           return std::make_unique<Echo>(m_server, http, hook);
                       },
                       m_progDir);
        echoing.FTPCONNECT();
        QCOMPARE(messages.shown().size(), 2);
        for (const QString &t : statuses + texts(messages.shown()))
            QVERIFY2(!t.contains(kPassword), qPrintable(t));
        QCOMPARE(messages.shown().last().text, QStringLiteral("login *** refused"));
    }

    void exitWhileConnectedDisconnectsFirst()
    {
        ScriptedMessages messages;
        auto w = makeWindow();
        w->FTPCONNECT();
        QTimer::singleShot(0, w.get(), [&] { w->okButton()->click(); });
        QCOMPARE(w->exec(), 0);
        QCOMPARE(w->FTPSTATUS(), QStringLiteral("Bağlantı kesik"));
        QVERIFY(!w->connected());
        QCOMPARE(m_server->closes, 1);
        QCOMPARE(w->FILEBOX()->rowCount(), 0);
    }

    void closeBoxWhileConnectedClosesTheConnection()
    {
        ScriptedMessages messages;
        auto w = makeWindow();
        w->FTPCONNECT();
        QTimer::singleShot(0, w.get(), [&] { w->close(); });
        QCOMPARE(w->exec(), 1);
        QCOMPARE(m_server->closes, 1);
        QVERIFY(!w->connected());
        w.reset();
        QCOMPARE(m_server->closes, 1); // not closed twice
    }

    void closingWhileConnectingEndsTheConnection()
    {
        ScriptedMessages messages;
        auto w = makeWindow();
        w->show();
        connect(w.get(), &FTPWIN::statusChanged, this, [&](const QString &t) {
            if (t == u"Server'e Bağlanıldı ...")
                w->close();
        });
        w->connectButton()->click();
        QVERIFY(!w->isVisible());
        QCOMPARE(m_server->rightPasswords, 1);
        QCOMPARE(m_server->closes, 1);
        QVERIFY(!w->connected());
        QVERIFY(m_server->masks.isEmpty()); // nothing listed after the close
        QVERIFY(messages.shown().isEmpty());
        w.reset();
        QCOMPARE(m_server->closes, 1);
    }

    void settingsFileOnOpening()
    {
        ScriptedMessages messages;
        const QString ini = QDir(m_progDir).filePath(QStringLiteral("VXOFTP.INI"));
        {
            auto w = makeWindow();
            QVERIFY(!QFileInfo::exists(ini)); // opening without a file writes none
            w->proxyField()->setText(QStringLiteral("proxy:8080"));
            w->useHttpBox()->setChecked(true);
            w->saveButton()->click();
        }
        QVERIFY(QFileInfo::exists(ini));
        QCOMPARE(QFileInfo(ini).permissions() & (QFileDevice::ReadGroup | QFileDevice::ReadOther | QFileDevice::WriteGroup
                                                  | QFileDevice::WriteOther),
                 QFileDevice::Permissions());
        QVERIFY(!readBytes(ini).contains(kPassword.toLatin1()));
        QVERIFY(readBytes(ini).contains("PROXY=proxy:8080\r\n"));
        {
            // The four built-in values match: proxy and HTTP choice come back.
            auto w = makeWindow();
            QCOMPARE(w->proxyField()->text(), QStringLiteral("proxy:8080"));
            QVERIFY(w->useHttpBox()->isChecked());
            QCOMPARE(w->passwordField()->text(), kPassword);
        }
        {
            // Another server in the file: the built-ins are forced back, proxy and choice are lost.
            QByteArray text = readBytes(ini);
            text.replace("SERVER=127.0.0.1", "SERVER=elsewhere.invalid");
            QFile f(ini);
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.write(text);
            f.close();
            auto w = makeWindow();
            QCOMPARE(w->serverField()->text(), QStringLiteral("127.0.0.1"));
            QCOMPARE(w->proxyField()->text(), QString());
            QVERIFY(!w->useHttpBox()->isChecked());
            QVERIFY(readBytes(ini).contains("SERVER=127.0.0.1\r\n"));
        }
        QVERIFY(messages.shown().isEmpty());
    }

    void openingCreatesTheDownloadFolderAndListsIt()
    {
        ScriptedMessages messages;
        QVERIFY(!QFileInfo::exists(m_builtins.setupDir));
        auto w = makeWindow();
        QVERIFY(QFileInfo(m_builtins.setupDir).isDir());
        QCOMPARE(w->LOCALDIR(), m_builtins.setupDir);
        QCOMPARE(w->LOCALBOX()->rowCount(), 0);
        // A long folder is shown as "..." and its last 41 characters.
        QCOMPARE(w->localDirField()->text(), ADJUSTNAME_(QDir::toNativeSeparators(m_builtins.setupDir), 40));
        if (m_builtins.setupDir.size() > 40)
            QCOMPARE(w->localDirField()->text().size(), 44);
    }

    void localListShowsOnlyTheExactSetupName()
    {
        ScriptedMessages messages;
        QDir().mkpath(m_builtins.setupDir);
        touch(QDir(m_builtins.setupDir).filePath(kSetup.toUpper()), kRemoteDate);
        touch(QDir(m_builtins.setupDir).filePath(QStringLiteral("notes.txt")), kRemoteDate);
        QDir(m_builtins.setupDir).mkdir(QStringLiteral("sub"));
        auto w = makeWindow();
        QCOMPARE(w->LOCALBOX()->rowCount(), 0);
        touch(setupPath(), kRemoteDate);
        w->FILLLOCALBOX_();
        QCOMPARE(w->LOCALBOX()->rowCount(), 1);
        QCOMPARE(w->CURRENTLOCALFILE(), kSetup);
        QCOMPARE(w->CURRENTLOCALFILE(true), QString());
    }

    void downloadFlow()
    {
        ScriptedMessages messages;
        auto w = makeWindow();
        w->FTPCONNECT();
        QList<QList<bool>> enabledDuring;
        QList<int> barDuring;
        QString statusDuring;
        m_server->duringTransfer = [&](qint64) {
            enabledDuring << QList<bool>{w->okButton()->isEnabled(), w->connectButton()->isEnabled(),
                                         w->disconnectButton()->isEnabled(), w->saveButton()->isEnabled(),
                                         w->updateButton()->isEnabled(), w->FBMENU()->isEnabled(16688)};
            barDuring << w->FTPBAR()->value();
            statusDuring = w->FTPSTATUS();
            w->FTPGETFILE();   // refused while the transfer runs
            w->FTPDISCONNECT();
        };
        w->updateButton()->click();
        QCOMPARE(m_server->gets, QStringList{kSetup + " -> " + setupPath() + " (5000)"});
        QCOMPARE(readBytes(setupPath()), QByteArray(5000, 'x'));
        QCOMPARE(statusDuring, QStringLiteral("Dosya alınıyor ..."));
        QCOMPARE(enabledDuring.size(), 3);
        for (const QList<bool> &e : enabledDuring)
            QCOMPARE(e, (QList<bool>{false, false, false, false, false, false}));
        QCOMPARE(w->FTPBAR()->minimum(), 1);
        QCOMPARE(w->FTPBAR()->maximum(), 4);
        QCOMPARE(barDuring, (QList<int>{1, 2, 3}));
        QCOMPARE(m_server->progressCalls, (QList<QList<qint64>>{{2500, 5000, 5000}}));
        QVERIFY(w->connected());
        QVERIFY(w->disconnectButton()->isEnabled() && w->updateButton()->isEnabled() && w->okButton()->isEnabled());
        QVERIFY(!w->connectButton()->isEnabled());
        QCOMPARE(w->FTPSTATUS(), QStringLiteral("Dosya alındı"));
        QCOMPARE(w->LOCALBOX()->rowCount(), 1);
        QCOMPARE(messages.shown().size(), 1);
        const MessageRequest &done = messages.shown().first();
        QCOMPARE(done.caption, QStringLiteral("Durum..."));
        QCOMPARE(done.text, "Programdan çıktıktan sonra, <" + QDir::toNativeSeparators(m_builtins.setupDir)
                                + "> dizinine geçip,\r\nindirilen <Setup> programını çalıştırarak programı yeniden kurunuz...");
        QCOMPARE(done.icon(), unsigned(MB_ICONINFORMATION));

        // The new copy carries today's date, which is after the remote date: nothing to fetch now.
        messages.clear();
        w->FBMENU()->trigger(16688);
        QCOMPARE(texts(messages.shown()),
                 QStringList{"Uyarı...|" + QDir::toNativeSeparators(setupPath()) + " kur dosyası güncel..."});
        QCOMPARE(m_server->gets.size(), 1);
    }

    // A listing that names no size: the bar is busy through the transfer, with no share shown, and
    // the closing box says that the size could not be checked.
    void aDownloadOfUnknownSizeShowsTheBarBusyAndSaysSo()
    {
        ScriptedMessages messages;
        m_server->listing.last().size = 0;
        m_server->listing.last().sizeKnown = false;
        auto w = makeWindow();
        w->FTPCONNECT();
        QList<QPair<int, int>> rangeDuring;
        m_server->duringTransfer = [&](qint64) { rangeDuring << qMakePair(w->FTPBAR()->minimum(), w->FTPBAR()->maximum()); };
        w->FTPGETFILE();
        QCOMPARE(m_server->gets, QStringList{kSetup + " -> " + setupPath() + " (-1)"});
        QCOMPARE(rangeDuring, (QList<QPair<int, int>>{{0, 0}, {0, 0}, {0, 0}}));
        QVERIFY(w->FTPBAR()->minimum() < w->FTPBAR()->maximum()); // busy no more
        QCOMPARE(w->FTPSTATUS(), QStringLiteral("Dosya alındı"));
        QCOMPARE(texts(messages.shown()),
                 QStringList{"Durum...|Programdan çıktıktan sonra, <" + QDir::toNativeSeparators(m_builtins.setupDir)
                             + "> dizinine geçip,\r\nindirilen <Setup> programını çalıştırarak programı yeniden "
                               "kurunuz...\r\n\r\nSunucu dosyanın boyunu bildirmediği için dosyanın tam inip inmediği "
                               "denetlenemedi..."});

        // A listed size shows the share done again.
        messages.clear();
        m_server->listing.last().size = 5000;
        m_server->listing.last().sizeKnown = true;
        QVERIFY(QFile::remove(setupPath()));
        w->FILLFILEBOX_();
        w->FILLLOCALBOX_();
        rangeDuring.clear();
        w->FTPGETFILE();
        QCOMPARE(rangeDuring, (QList<QPair<int, int>>{{1, 4}, {1, 4}, {1, 4}}));
        QCOMPARE(messages.shown().size(), 1);
        QVERIFY(!messages.shown().first().text.contains(QStringLiteral("denetlenemedi")));
    }

    void failedDownloadKeepsTheEarlierCopy_data()
    {
        QTest::addColumn<qint64>("cutAfter");
        QTest::addColumn<qint64>("listedSize");
        QTest::addColumn<QString>("box");
        QTest::newRow("cut off") << qint64(2500) << qint64(5000)
                                 << "FTP hatası 12030|The connection was closed before the whole file came.";
        QTest::newRow("shrunk since the listing") << qint64(-1) << qint64(6000)
                                                  << "FTP hatası 12030|The connection was closed before the whole file came.";
    }
    void failedDownloadKeepsTheEarlierCopy()
    {
        QFETCH(qint64, cutAfter);
        QFETCH(qint64, listedSize);
        QFETCH(QString, box);
        ScriptedMessages messages;
        QDir().mkpath(m_builtins.setupDir);
        touch(setupPath(), kRemoteDate.addDays(-3), "earlier copy");
        m_server->cutAfter = cutAfter;
        m_server->listing.last().size = listedSize;
        auto w = makeWindow();
        w->FTPCONNECT();
        w->FTPGETFILE();
        QCOMPARE(texts(messages.shown()), QStringList{box});
        QCOMPARE(w->FTPSTATUS(), "Dosya " + kSetup + " alınamıyor");
        QCOMPARE(readBytes(setupPath()), QByteArray("earlier copy"));
        QCOMPARE(filesIn(m_builtins.setupDir), QStringList{kSetup});
        QCOMPARE(w->LOCALBOX()->rowCount(), 1);
        QVERIFY(w->connected());
        QVERIFY(w->updateButton()->isEnabled());
    }

    void closingDuringADownloadAbortsIt()
    {
        ScriptedMessages messages;
        QDir().mkpath(m_builtins.setupDir);
        m_server->files[kSetup] = QByteArray(12000, 'y');
        m_server->listing.last().size = 12000;
        auto w = makeWindow();
        w->FTPCONNECT();
        w->show();
        m_server->duringTransfer = [&](qint64 done) {
            if (done == 5000)
                w->close();
        };
        w->FTPGETFILE();
        QCOMPARE(m_server->progressCalls, (QList<QList<qint64>>{{2500, 5000}}));
        QVERIFY(!w->isVisible());
        QVERIFY(!w->connected());
        QCOMPARE(m_server->closes, 1);
        QVERIFY(messages.shown().isEmpty());
        QVERIFY(filesIn(m_builtins.setupDir).isEmpty());
        w.reset();
        QCOMPARE(m_server->closes, 1);
    }

    void upToDateAnswers_data()
    {
        QTest::addColumn<int>("programDays");   // program file date against the remote date; 99: none
        QTest::addColumn<int>("setupDays");     // downloaded copy; 99: none
        QTest::addColumn<QString>("programName");
        QTest::addColumn<bool>("selectRemote");
        QTest::addColumn<QString>("expected");  // message box, "download" or "" (nothing)

        const QString plain = QStringLiteral("Uyarı...|Programınız güncel...");
        const QString copy = QStringLiteral("Uyarı...|%1 kur dosyası güncel...");
        QTest::newRow("program same day") << 0 << 0 << "VEXO_Rir26" << true << plain;
        QTest::newRow("program newer") << 5 << -5 << "VEXO_Rir26" << true << plain;
        QTest::newRow("program older, copy same day") << -1 << 0 << "VEXO_Rir26" << true << copy;
        QTest::newRow("program name differs in case") << 5 << -1 << "vexo_rir26" << true << "download";
        QTest::newRow("name differs in case, copy newer") << 5 << 2 << "vexo_rir26" << true << copy;
        QTest::newRow("both older") << -1 << -1 << "VEXO_Rir26" << true << "download";
        QTest::newRow("empty local list") << 5 << 99 << "VEXO_Rir26" << true << "download";
        QTest::newRow("no remote row") << 5 << 5 << "VEXO_Rir26" << false << "";
        QTest::newRow("no remote row, old copy") << -5 << -5 << "VEXO_Rir26" << false << "";
    }
    void upToDateAnswers()
    {
        QFETCH(int, programDays);
        QFETCH(int, setupDays);
        QFETCH(QString, programName);
        QFETCH(bool, selectRemote);
        QFETCH(QString, expected);
        ScriptedMessages messages;
        QDir().mkpath(m_builtins.setupDir);
        if (programDays != 99)
            touch(QDir(m_progDir).filePath(programName), kRemoteDate.addDays(programDays));
        if (setupDays != 99)
            touch(setupPath(), kRemoteDate.addDays(setupDays));
        auto w = makeWindow();
        w->FTPCONNECT();
        if (!selectRemote)
            w->FILEBOX()->setCURRENTITEMNO(0);
        w->updateButton()->click();
        if (expected == u"download") {
            QCOMPARE(m_server->gets.size(), 1);
            QCOMPARE(messages.shown().first().caption, QStringLiteral("Durum..."));
        } else {
            QVERIFY(m_server->gets.isEmpty());
            const QStringList want = expected.isEmpty()
                                         ? QStringList()
                                         : QStringList{expected.contains(u"%1")
                                                           ? expected.arg(QDir::toNativeSeparators(setupPath()))
                                                           : expected};
            QCOMPARE(texts(messages.shown()), want);
        }
    }

    void getFileWithoutConnection()
    {
        ScriptedMessages messages;
        auto w = makeWindow();
        w->FTPGETFILE();
        QCOMPARE(texts(messages.shown()), QStringList{"Hata...|Bağlantı kurulamadı..."});
    }

    void localEraseCommand()
    {
        ScriptedMessages messages;
        QDir().mkpath(m_builtins.setupDir);
        touch(setupPath(), kRemoteDate);
        auto w = makeWindow();
        w->LOCALBOX()->setCURRENTITEMNO(0);
        w->LBMENU()->trigger(16726); // nothing selected: nothing erased
        QVERIFY(QFileInfo::exists(setupPath()));
        w->LOCALBOX()->setCURRENTITEMNO(1);
        w->LBMENU()->trigger(16726);
        QVERIFY(!QFileInfo::exists(setupPath()));
        QCOMPARE(w->LOCALBOX()->rowCount(), 0);
        QVERIFY(messages.shown().isEmpty());
    }

    void remoteCommands()
    {
        ScriptedMessages messages;
        QDir().mkpath(m_builtins.setupDir);
        touch(setupPath(), kRemoteDate, "to send");
        auto w = makeWindow();
        w->FTPPUTFILE();
        w->FTPDELETEFILE();
        QCOMPARE(texts(messages.shown()), (QStringList{"Hata...|Bağlantı kurulamadı...", "Hata...|Bağlantı kurulamadı..."}));
        messages.clear();

        w->FTPCONNECT();
        w->FTPPUTFILE();
        QCOMPARE(m_server->puts, QStringList{setupPath() + " -> " + kSetup});
        QCOMPARE(m_server->files.value(kSetup), QByteArray("to send"));
        QCOMPARE(w->FTPSTATUS(), QStringLiteral("Dosya gönderildi!"));
        m_server->cutAfter = 0;
        w->FTPPUTFILE();
        QCOMPARE(w->FTPSTATUS(), QStringLiteral("Dosya gönderilemedi!"));
        QCOMPARE(texts(messages.shown()), QStringList{"FTP hatası 12030|The write failed."});
        messages.clear();
        w->FTPDELETEFILE();
        QCOMPARE(m_server->deletes, QStringList{kSetup});
        w->FTPCREATEDIR();
        w->CREATEDIR();
        w->FTPREMOVEDIR();
        w->REMOVEDIR();
        QCOMPARE(QDir(m_builtins.setupDir).entryList(QDir::Dirs | QDir::NoDotAndDotDot), QStringList());
        QVERIFY(messages.shown().isEmpty());

        w->FTPDISCONNECT();
        w->useHttpBox()->setChecked(true);
        w->FTPCONNECT();
        w->FTPPUTFILE();
        w->FTPDELETEFILE();
        w->FTPCREATEDIR();
        w->FTPREMOVEDIR();
        QCOMPARE(messages.shown().size(), 4);
        for (const MessageRequest &r : messages.shown())
            QCOMPARE(r.caption + u'|' + r.text, QStringLiteral("Uyarı...|HTTP ile işlem mümkün değil..."));
        QCOMPARE(m_server->puts.size(), 2);
    }

    void listViewRowsAndSorting()
    {
        MYLISTVIEW list(nullptr, QRect(0, 0, 400, 200));
        QCOMPARE(list.columnCount(), 6);
        QCOMPARE(list.headerItem()->text(0), QStringLiteral("Dosya Adı"));
        QCOMPARE(list.headerItem()->text(5), QStringLiteral("Nit."));
        QCOMPARE(MYLISTVIEW::shownTexts(ListRow{kSetup, 5000, kRemoteDate, "12:00:00", "A"}),
                 (QStringList{"VXO_Rir26-setup", "exe", "5000", "10/03/2026", "12:00:00", "A"}));
        QCOMPARE(MYLISTVIEW::shownTexts(ListRow{"a.tar.gz", 1, kRemoteDate, "", ""}).mid(0, 2),
                 (QStringList{"a", "tar.gz"}));
        QCOMPARE(MYLISTVIEW::shownTexts(ListRow{"[x.y]", std::nullopt, kRemoteDate, "", "D"}).mid(0, 3),
                 (QStringList{"[x.y]", "", "<Dir>"}));
        const QList<ListRow> rows = {{"b.exe", 3, QDate(2026, 1, 2), "10:00:00", "A"},
                                     {"a.txt", 1, QDate(2025, 12, 31), "09:00:00", "A"},
                                     {"c.bat", 2, QDate(2026, 1, 1), "08:00:00", "A"}};
        list.FILLUSING(rows);
        auto order = [&] {
            QStringList names;
            for (int i = 1; i <= list.rowCount(); ++i)
                names << list.rowAt(i).name;
            return names;
        };
        QCOMPARE(order(), (QStringList{"a.txt", "b.exe", "c.bat"}));
        QCOMPARE(list.topLevelItem(1)->text(0), QStringLiteral("b"));
        QCOMPARE(list.topLevelItem(1)->text(3), QStringLiteral("02/01/2026"));
        QCOMPARE(list.topLevelItem(1)->textAlignment(2) & Qt::AlignHorizontal_Mask, int(Qt::AlignRight));
        QCOMPARE(list.CURRENTITEMNO(), 0);
        QCOMPARE(list.GETITEMVALUE(), QString());
        QVERIFY(list.GETITEMDATE().isNull());
        list.setCURRENTITEMNO(3);
        list.setCOLUMNNAME(ListColumn::Name);
        QCOMPARE(order(), (QStringList{"c.bat", "b.exe", "a.txt"}));
        QCOMPARE(list.GETITEMVALUE(), QStringLiteral("c.bat")); // the selection follows its row
        list.setCOLUMNNAME(ListColumn::Date); // dates as dates, not as day-first texts
        QCOMPARE(order(), (QStringList{"a.txt", "c.bat", "b.exe"}));
        list.setCOLUMNNAME(ListColumn::Date);
        QCOMPARE(order(), (QStringList{"b.exe", "c.bat", "a.txt"}));
        list.setCOLUMNNAME(ListColumn::Ext);
        QCOMPARE(order(), (QStringList{"c.bat", "b.exe", "a.txt"}));
        QCOMPARE(list.GETITEMDATE(), QDate(2026, 1, 1));
        QCOMPARE(list.GETITEMTIME(), QStringLiteral("08:00:00"));
    }

    void headerClicksSortTheWindowsLists()
    {
        ScriptedMessages messages;
        auto w = makeWindow();
        MYLISTVIEW *list = w->FILEBOX();
        QCOMPARE(list->sortColumn(), ListColumn::Name);
        QVERIFY(list->ascending());
        emit list->header()->sectionClicked(0);
        QVERIFY(!list->ascending());
        emit list->header()->sectionClicked(3);
        QCOMPARE(list->sortColumn(), ListColumn::Date);
        QVERIFY(list->ascending());
    }

    void theMainWindowCommand()
    {
        ScriptedMessages messages;
        const MenuTable menu = emptyShellMenu();
        QVERIFY(menu.row(28449));
        QCOMPARE(menu.row(28449)->command, QStringLiteral("VXOFTP"));
        QCOMPARE(menu.row(28449)->text, QStringLiteral("Programı &Güncelle\tAlt+G"));
        bool altG = false;
        for (const KeyRow &k : menu.keys)
            altG = altG || (k.key == QKeySequence(Qt::ALT | Qt::Key_G) && k.id == 28449);
        QVERIFY(altG);

        appGlobals().CPROGDIZIN = m_progDir;
        appGlobals().CVERIKOK = m_tmp->filePath(QStringLiteral("veri"));
        installUpdaterCommands(fakeFactory(m_server));
        QVERIFY(shellCommands().has(QStringLiteral("VXOFTP")));
        QPointer<FTPWIN> seen;
        bool modal = false;
        QTimer::singleShot(50, [&] {
            seen = qobject_cast<FTPWIN *>(QApplication::activeModalWidget());
            if (!seen)
                return;
            modal = seen->isModal();
            seen->FTPCONNECT();
            seen->proxyField()->setText(QStringLiteral("p:1"));
            seen->SAVESETUP();
            seen->okButton()->click();
        });
        QVERIFY(shellCommands().run(QStringLiteral("VXOFTP")));
        QVERIFY(modal);
        QVERIFY(seen.isNull()); // gone when the command returns
        QCOMPARE(m_server->closes, 1);
        QVERIFY(readBytes(QDir(m_progDir).filePath(QStringLiteral("VXOFTP.INI"))).contains("PROXY=p:1"));
        QVERIFY(QFileInfo(m_builtins.setupDir).isDir()); // the data root's download folder
        shellCommands().remove(QStringLiteral("VXOFTP"));
    }
};

QTEST_MAIN(UpdaterWindow)
#include "tst_ftp_win.moc"
