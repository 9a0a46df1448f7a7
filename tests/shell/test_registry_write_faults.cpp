// The registry file written by a process whose writes fail part way (a file-size limit fails a
// write as a full disk does): the value is reported as not written and the file stays as it was.
#include "child_process.h"
#include "shell/registry.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace vexo;

TEST(RegistryWriteFaults, AFailingWriteKeepsTheRegistryFile)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("registry.ini"));
    setRegistryFilePath(path);
    CLASS_HKLM reg;
    reg.WORKING_SUBKEY(QStringLiteral("Software\\Tarvex_Int\\VK6Setings"));
    ASSERT_EQ(reg.WRITESTRING(QString(), QStringLiteral("VKpath"), QStringLiteral("/home/u")), 0);
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    const QByteArray before = f.readAll();
    f.close();

    const int status = vexo::test::runWithFileSizeLimit(before.size() + 16, [&] {
        return reg.WRITESTRING(QString(), QStringLiteral("Long"), QString(2000, u'x')) == 0;
    });
    EXPECT_EQ(status, 1);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(f.readAll(), before);
    EXPECT_EQ(reg.GETSTRING(QString(), QStringLiteral("VKpath")), QStringLiteral("/home/u"));
    setRegistryFilePath(QString());
}
