// The calculator launcher finds a calculator on PATH and starts it without waiting.
#include "platform/calculator.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QThread>

#include <gtest/gtest.h>

using namespace vexo;

namespace {

class PathGuard
{
public:
    explicit PathGuard(const QString &path) : m_old(qgetenv("PATH")) { qputenv("PATH", path.toLocal8Bit()); }
    ~PathGuard() { qputenv("PATH", m_old); }

private:
    QByteArray m_old;
};

TEST(Calculator, StartsTheFirstCalculatorOnThePath)
{
    QTemporaryDir dir;
    const QString marker = dir.filePath(QStringLiteral("started"));
    const QString script = dir.filePath(QStringLiteral("xcalc"));
    QFile f(script);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(QStringLiteral("#!/bin/sh\n/usr/bin/touch '%1'\n").arg(marker).toUtf8());
    f.close();
    f.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);

    PathGuard path(dir.path());
    EXPECT_EQ(launchCalculator(), script);
    for (int i = 0; i < 200 && !QFile::exists(marker); ++i)
        QThread::msleep(10);
    EXPECT_TRUE(QFile::exists(marker));
}

TEST(Calculator, NoCalculatorIsSilent)
{
    QTemporaryDir dir;
    PathGuard path(dir.path());
    EXPECT_EQ(launchCalculator(), QString());
}

} // namespace
