#pragma once
// A loopback FTP or HTTP server (tests/updater/loopback_server.py) for the duration of a test: started
// on 127.0.0.1 with a port the system picks, ended by its process id.
#include "source_tree.h"

#include <QDeadlineTimer>
#include <QProcess>
#include <QString>
#include <QStringList>

#include <csignal>
#include <sys/types.h>

namespace vexo::test {

class LoopbackServer
{
public:
    // kind "ftp" or "http"; `extra` adds options such as "--no-mlsd" or "--user".
    LoopbackServer(const QString &kind, const QString &root, const QStringList &extra = {})
    {
        m_process.setProgram(QStringLiteral("/usr/bin/python3"));
        m_process.setArguments(QStringList{sourceTree() + QStringLiteral("/tests/updater/loopback_server.py"), kind,
                                           QStringLiteral("--root"), root}
                               + extra);
        m_process.setProcessChannelMode(QProcess::SeparateChannels);
        m_process.start();
        if (!m_process.waitForStarted(5000))
            return;
        QByteArray out;
        QDeadlineTimer deadline(30000);
        while (!out.contains('\n') && !deadline.hasExpired()) {
            if (!m_process.waitForReadyRead(200) && m_process.state() != QProcess::Running)
                break;
            out += m_process.readAllStandardOutput();
        }
        if (out.startsWith("PORT "))
            m_port = out.mid(5).trimmed().toInt();
    }
    ~LoopbackServer()
    {
        const qint64 pid = m_process.processId();
        if (pid > 0) {
            ::kill(pid_t(pid), SIGTERM);
            if (!m_process.waitForFinished(3000)) {
                ::kill(pid_t(pid), SIGKILL);
                m_process.waitForFinished(3000);
            }
        }
    }
    LoopbackServer(const LoopbackServer &) = delete;
    LoopbackServer &operator=(const LoopbackServer &) = delete;

    int port() const { return m_port; }
    QString address() const { return QStringLiteral("127.0.0.1:") + QString::number(m_port); }
    QByteArray errors() { return m_process.readAllStandardError(); }

private:
    QProcess m_process;
    int m_port = 0;
};

} // namespace vexo::test
