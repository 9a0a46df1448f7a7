#include "classes/print_quick.h"

#include "file_bytes.h"

#include <gtest/gtest.h>

#include <QDate>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

using namespace vexo;

TEST(PrintQuick, SpoolBytesOfEveryOperation)
{
    struct Case
    {
        const char *what;
        std::function<void(PRINTQUICK &)> run;
        QByteArray bytes;
    };
    const Case cases[] = {
        {"QOUT", [](PRINTQUICK &p) { p.QOUT(QString("ABC")); }, "     ABC\r\n"},
        {"QQOUT", [](PRINTQUICK &p) { p.QQOUT(QString("A")).QQOUT(QString("B")); }, "     A     B"},
        {"MARGIN 0", [](PRINTQUICK &p) { p.MARGIN(0); p.QQOUT(QString("ş")); }, "\xFE"},
        {"SKIPLINES", [](PRINTQUICK &p) { p.SKIPLINES(2); }, "     \r\n\r\n"},
        {"EJECTPAGE", [](PRINTQUICK &p) { p.EJECTPAGE(); }, "\f\r"},
        {"EJECTPAGE false", [](PRINTQUICK &p) { p.EJECTPAGE(false); }, "\f"},
        {"RESETPRINTER", [](PRINTQUICK &p) { p.RESETPRINTER(); }, "\x1B" "E"},
        {"values", [](PRINTQUICK &p) {
             p.MARGIN(1);
             p.QOUT(12.5).QOUT(QDate(2024, 3, 15)).QOUT(true).QOUT(7);
         }, " 12.5\r\n 15/03/2024\r\n .T.\r\n 7\r\n"},
    };
    for (const Case &c : cases) {
        PRINTQUICK p;
        c.run(p);
        EXPECT_EQ(test::fileBytes(p.spoolPath()), c.bytes) << c.what;
    }
}

TEST(PrintQuick, PrintItCopiesToThePortAndEndsTheJob)
{
    QTemporaryDir dir;
    const QString port = dir.filePath("port.prn");
    QFile old(port);
    ASSERT_TRUE(old.open(QIODevice::WriteOnly));
    old.write(QByteArray(100, 'x'));
    old.close();

    PRINTQUICK first, second;
    EXPECT_NE(first.spoolPath(), second.spoolPath());
    first.QOUT(QString("one"));
    second.QOUT(QString("two"));
    first.QOUT(QString("one again"));
    const QString spool = first.spoolPath();
    EXPECT_TRUE(first.PRINTIT(port));
    EXPECT_EQ(test::fileBytes(port), "     one\r\n     one again\r\n\f\r");
    EXPECT_FALSE(QFile::exists(spool));
    first.QOUT(QString("late")); // after the job, writes go nowhere
    EXPECT_FALSE(first.PRINTIT(port));
    EXPECT_TRUE(second.PRINTIT(dir.filePath("two.prn"), false));
    EXPECT_EQ(test::fileBytes(dir.filePath("two.prn")), "     two\r\n");
    EXPECT_FALSE(second.PRINTIT(dir.filePath("none/x.prn")));
}

TEST(PrintQuick, SpoolGoesWithTheObjectAndPortsMapToDevices)
{
    QString spool;
    {
        PRINTQUICK p;
        p.QOUT(QString("never printed"));
        spool = p.spoolPath();
        EXPECT_TRUE(QFile::exists(spool));
    }
    EXPECT_FALSE(QFile::exists(spool));
    EXPECT_EQ(PRINTQUICK::portPath("LPT1"), "/dev/lp0");
    EXPECT_EQ(PRINTQUICK::portPath("lpt3"), "/dev/lp2");
    EXPECT_EQ(PRINTQUICK::portPath("LPT4"), "LPT4");
    PRINTQUICK p;
    p.QOUT(QString("to a device"));
    EXPECT_TRUE(p.PRINTIT("/dev/null"));
}

// A printer that is not there is an error: its name never becomes a file, also for a user allowed to
// create files in /dev.
TEST(PrintQuick, AMissingPrinterDeviceIsAnErrorAndNoFile)
{
    for (const QString &port : {QStringLiteral("LPT1"), QStringLiteral("lpt3"), QStringLiteral("/dev/lp7")}) {
        const QString device = PRINTQUICK::portPath(port);
        if (QFileInfo::exists(device))
            continue; // a printer this machine really has
        PRINTQUICK p;
        p.QOUT(QString("to no printer"));
        EXPECT_FALSE(p.PRINTIT(port)) << port.toStdString();
        const bool made = QFileInfo::exists(device);
        EXPECT_FALSE(made) << port.toStdString();
        if (made && QFileInfo(device).isFile())
            QFile::remove(device); // what the fault left in /dev
    }
    EXPECT_TRUE(PRINTQUICK::isDevicePath("/dev/null"));
    EXPECT_TRUE(PRINTQUICK::isDevicePath("/dev/lp0"));
    EXPECT_FALSE(PRINTQUICK::isDevicePath("/dev/shm/x.prn"));
    EXPECT_FALSE(PRINTQUICK::isDevicePath("LPT4"));
}
