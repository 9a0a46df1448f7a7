#pragma once

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QFile>
#include <QThread>

#include <functional>

namespace vexo::test {

// Helpers of the tests that start programs: waiting, reading what a started script wrote, a script
// that records its arguments, and an environment variable put back at the end of a scope.

inline bool waitFor(const std::function<bool()> &condition, int ms = 5000)
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

inline QString readAll(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? QString::fromUtf8(f.readAll()) : QString();
}

// A script that writes each of its arguments on a line of the given file.
inline QString argumentRecorder(const QString &script, const QString &out)
{
    QFile f(script);
    f.open(QIODevice::WriteOnly);
    f.write(QStringLiteral("#!/bin/sh\nfor a in \"$@\"; do echo \"[$a]\"; done > '%1'\n").arg(out).toUtf8());
    f.close();
    f.setPermissions(f.permissions() | QFileDevice::ExeOwner);
    return script;
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

} // namespace vexo::test
