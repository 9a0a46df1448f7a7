// Every operation that replaces a file, run in a process whose writes fail part way (a file-size
// limit fails a write as a full disk does): each must answer false and leave the old file byte for
// byte, also for files small enough to sit in a write buffer until the commit.
#include "problem_fixture.h"

#include "child_process.h"
#include "platform/atomic_file.h"
#include "platform/dbf_filespec.h"
#include "platform/dbf_table.h"
#include "problem/file_ops.h"
#include "problem/ini_file.h"
#include "problem/problem_file.h"

#include <QDir>
#include <QFile>

#include <gtest/gtest.h>

using namespace vexo;

namespace {

void writeBytes(const QString &path, const QByteArray &bytes)
{
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    ASSERT_EQ(f.write(bytes), bytes.size());
}

} // namespace

TEST(AtomicWrites, AFailingWriteKeepsTheOldFileEverywhere)
{
    test::ProblemEnvironment env;
    constexpr qint64 kLimit = 512;
    const QByteArray old = QByteArray("[ESKI]\r\nDEGER=1\r\n").repeated(5);
    ASSERT_LT(old.size(), kLimit);
    QByteArray big(8 * 1024, 'x'); // larger than the limit, smaller than any write buffer
    const QString source = env.path("KAYNAK.DBF");
    writeBytes(source, big);
    const QString table = env.path("TABLO.DBF");
    test::writeTable(table, {{QStringLiteral("AD"), u'C', 20, 0}}, {});
    {
        DbfTable t(table, false, false);
        for (int i = 0; i < 60; ++i) {
            ASSERT_TRUE(t.append());
            t.fieldPut(1, QStringLiteral("AD%1").arg(i));
        }
    }

    const struct
    {
        const char *what;
        std::function<bool(const QString &)> replace;
    } writers[] = {
        {"the shared helper", [&](const QString &target) { return writeFileAtomically(target, big); }},
        {"a table created over the file", [](const QString &target) { return DbfFileSpec(target).create(DATAFILESTRUCT()); }},
        {"a table file copied onto it", [&](const QString &target) { return FileSpec(source).copy(target); }},
        {"SFCOPY onto it", [&](const QString &target) { return SFCOPY(source, target); }},
        {"an INI value written into it",
         [](const QString &target) { return INIFILE(target).SETSTRING(QStringLiteral("ESKI"), QStringLiteral("UZUN"), QString(900, u'y')); }},
        {"an index written over it",
         [&](const QString &target) {
             DbfTable t(table, false, false);
             return t.createIndex(target, QStringLiteral("AD"), QStringLiteral("AD"), false);
         }},
    };
    for (const auto &w : writers) {
        const QString target = env.path("HEDEF.DAT");
        writeBytes(target, old);
        EXPECT_EQ(test::runWithFileSizeLimit(kLimit, [&] { return w.replace(target); }), 1) << w.what;
        EXPECT_EQ(test::fileBytes(target), old) << w.what;
        const QStringList files = QDir(env.path(QString())).entryList(QDir::Files | QDir::Hidden);
        EXPECT_EQ(files.size(), 3) << w.what << ": " << files.join(u' ').toStdString();
        // Without the limit the same write replaces the file.
        EXPECT_TRUE(w.replace(target)) << w.what;
        EXPECT_NE(test::fileBytes(target), old) << w.what;
    }
}
