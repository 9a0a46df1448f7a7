#pragma once
// A scripted session for the updater window's tests: a server held in memory that records every call.

#include "platform/atomic_file.h"
#include "updater/inet_session.h"
#include "updater/session_status.h"

#include <QFile>
#include <QMap>
#include <QStringList>

#include <functional>
#include <memory>

namespace vexo::test {

struct FakeServer
{
    // What the server offers.
    QString password = QStringLiteral("KoMuTeL!5274*");
    QString home = QStringLiteral("/");
    QStringList dirs = {QStringLiteral("/"), QStringLiteral("/public_html")};
    QList<ListingEntry> listing; // of every directory
    QMap<QString, QByteArray> files;
    bool readableCurDir = true;
    // Bytes delivered before a download breaks off; -1: the whole file.
    qint64 cutAfter = -1;
    // Called with the bytes done after each block of a transfer, before the window hears of it.
    std::function<void(qint64)> duringTransfer;
    // Stages a connect reports, in order.
    QList<int> connectStages = {StageResolving, StageResolved, StageConnecting, StageConnected};

    // What the window did.
    int sessionsMade = 0;
    QList<bool> httpFlags;
    QStringList agents;
    QStringList proxies;
    QStringList logins; // "server user"; the password only counted
    int rightPasswords = 0;
    int closes = 0;
    QStringList curDirsSet;
    QStringList gets;  // "name -> local path (size)"
    QStringList puts;
    QStringList deletes;
    QStringList masks;
    QList<QList<qint64>> progressCalls;
};

class FakeSession : public InetSession
{
public:
    FakeSession(std::shared_ptr<FakeServer> server, bool http, StatusHook hook)
        : m_server(std::move(server)), m_http(http), m_hook(std::move(hook))
    {
    }

    bool isHttp() const override { return m_http; }
    void setProxy(const QString &proxy) override { m_server->proxies << proxy; }
    bool ConnectRemote(const QString &server, const QString &user, const QString &password) override
    {
        m_server->logins << server + u' ' + user;
        for (int stage : m_server->connectStages)
            tell(stage);
        if (password != m_server->password) {
            fail(12014, QStringLiteral("530 Login incorrect."));
            return false;
        }
        ++m_server->rightPasswords;
        m_cwd = m_server->home;
        return true;
    }
    void CloseRemote() override
    {
        ++m_server->closes;
        tell(StageClosing);
        tell(StageClosed);
    }
    bool SetCurDir(const QString &directory) override
    {
        m_server->curDirsSet << directory;
        const QString path = directory.startsWith(u'/') ? directory
                                                        : (m_cwd == u"/" ? QString() : m_cwd) + u'/' + directory;
        if (!m_server->dirs.contains(path)) {
            fail(12003, QStringLiteral("550 No such directory."));
            return false;
        }
        m_cwd = path;
        return true;
    }
    QString GetCurDir() override
    {
        if (!m_server->readableCurDir) {
            fail(12003, QStringLiteral("550 Cannot read the directory."));
            return {};
        }
        return m_cwd;
    }
    QList<ListingEntry> Directory(const QString &mask) override
    {
        m_server->masks << mask;
        if (!m_http)
            return m_server->listing;
        // Over HTTP only a named file can be looked up.
        QList<ListingEntry> one;
        for (const ListingEntry &e : m_server->listing) {
            if (e.name.compare(mask, Qt::CaseInsensitive) == 0 && !mask.contains(u'*'))
                one << e;
        }
        return one;
    }
    bool getFile(const QString &name, const QString &localPath, qint64 expectedSize, const Progress &progress) override
    {
        m_server->gets << QStringLiteral("%1 -> %2 (%3)").arg(name, localPath).arg(expectedSize);
        if (!m_server->files.contains(name)) {
            fail(12003, QStringLiteral("550 No such file."));
            return false;
        }
        const QByteArray bytes = m_server->files.value(name);
        const qint64 deliver = m_server->cutAfter < 0 ? bytes.size() : qMin<qint64>(m_server->cutAfter, bytes.size());
        QList<qint64> calls;
        // Every block is told, the last short (perhaps empty) one too.
        for (qint64 done = 0;;) {
            const qint64 block = qMin<qint64>(2500, deliver - done);
            done += block;
            calls << done;
            if (m_server->duringTransfer)
                m_server->duringTransfer(done);
            if (!progress(done)) {
                m_server->progressCalls << calls;
                fail(12017, QStringLiteral("Operation cancelled."));
                return false;
            }
            if (block < 2500)
                break;
        }
        m_server->progressCalls << calls;
        if ((expectedSize != kUnknownSize && deliver != expectedSize) || deliver != bytes.size()) {
            fail(12030, QStringLiteral("The connection was closed before the whole file came."));
            return false;
        }
        if (!writeFileAtomically(localPath, bytes)) {
            fail(12016, QStringLiteral("The local file cannot be written."));
            return false;
        }
        m_sizeChecked = expectedSize != kUnknownSize;
        return true;
    }
    bool lastSizeChecked() const override { return m_sizeChecked; }
    bool putFile(const QString &localPath, const QString &name, const Progress &progress) override
    {
        m_server->puts << QStringLiteral("%1 -> %2").arg(localPath, name);
        QFile f(localPath);
        if (!f.open(QIODevice::ReadOnly)) {
            fail(12016, QStringLiteral("The local file cannot be read."));
            return false;
        }
        const QByteArray bytes = f.readAll();
        if (m_server->cutAfter >= 0) {
            fail(12030, QStringLiteral("The write failed."));
            return false;
        }
        progress(bytes.size());
        m_server->files[name] = bytes;
        return true;
    }
    bool DeleteFile(const QString &name) override
    {
        m_server->deletes << name;
        return m_server->files.remove(name) > 0;
    }
    bool CreateDir(const QString &) override { return false; }
    bool RemoveDir(const QString &) override { return false; }
    int Error() const override { return m_error; }
    QString ErrorMsg() const override { return m_errorMsg; }

private:
    void tell(int stage)
    {
        if (m_hook && !m_http)
            m_hook(stage);
    }
    void fail(int n, const QString &text)
    {
        m_error = n;
        m_errorMsg = text;
    }

    std::shared_ptr<FakeServer> m_server;
    bool m_http = false;
    StatusHook m_hook;
    QString m_cwd;
    bool m_sizeChecked = true;
    int m_error = 0;
    QString m_errorMsg;
};

// A factory over one server, recording what each session was made with.
inline auto fakeFactory(const std::shared_ptr<FakeServer> &server)
{
    return [server](bool http, const QString &agent, InetSession::StatusHook hook) -> std::unique_ptr<InetSession> {
        ++server->sessionsMade;
        server->httpFlags << http;
        server->agents << agent;
        return std::make_unique<FakeSession>(server, http, std::move(hook));
    };
}

} // namespace vexo::test
