#include "problem/file_names.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace vexo {
namespace {

struct PathCase
{
    const char *path;
    const char *ext;
    const char *base;
};

TEST(FileNames, ExtensionAndBaseOfPaths)
{
    const PathCase cases[] = {
        {"C:\\Veri\\RAPOR.TXT", ".TXT", "C:\\Veri\\RAPOR"},
        {"/home/u/Data/YEM.VKD", ".VKD", "/home/u/Data/YEM"},
        // Only three-letter extensions count.
        {"C:\\Veri\\sayfa.html", "", "C:\\Veri\\sayfa.html"},
        {"/tmp/a.gz", "", "/tmp/a.gz"},
        {"/tmp/a.c", "", "/tmp/a.c"},
        {"/tmp/README", "", "/tmp/README"},
        // Trailing blanks are ignored for the extension and stay out of the base.
        {"C:\\Veri\\RAPOR.TXT   ", ".TXT", "C:\\Veri\\RAPOR"},
        // The last occurrence of the extension is cut.
        {"/a.TXT/b.TXT", ".TXT", "/a.TXT/b"},
        {"", "", ""},
        {".ab", "", ".ab"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.path);
        EXPECT_EQ(SFILEEXT(QString::fromUtf8(c.path)), QString::fromUtf8(c.ext));
        EXPECT_EQ(SFILEBASE(QString::fromUtf8(c.path)), QString::fromUtf8(c.base));
    }
}

TEST(FileNames, ExtensionKeepsItsCase)
{
    EXPECT_EQ(SFILEEXT("rapor.Txt"), ".Txt");
}

TEST(FileNames, FileNameAfterEitherSeparator)
{
    EXPECT_EQ(GETFILENAME("C:\\Veri\\RAPOR.TXT"), "RAPOR.TXT");
    EXPECT_EQ(GETFILENAME("/home/u/Data/YEM.VKD"), "YEM.VKD");
    EXPECT_EQ(GETFILENAME("/home/u\\old\\YEM.VKD"), "YEM.VKD");
    EXPECT_EQ(GETFILENAME("YEM.VKD"), "YEM.VKD");
    EXPECT_EQ(GETFILENAME("/home/u/"), "");
    EXPECT_EQ(GETFILENAME(QStringLiteral("Dosya Ş.VKD")), QStringLiteral("Dosya Ş.VKD"));
}

TEST(FileNames, FileNameOfValuesAndSpecifications)
{
    EXPECT_EQ(GETFILENAME(QVariant(QStringLiteral("C:\\x\\A.DBF"))), "A.DBF");
    EXPECT_EQ(GETFILENAME(QVariant(42)), "");
    EXPECT_EQ(GETFILENAME(QVariant(2.5)), "");
    EXPECT_EQ(GETFILENAME(QVariant()), "");
    EXPECT_EQ(GETFILENAME(QFileInfo(QStringLiteral("/a/b/MATNRC6.DBF"))), "MATNRC6.DBF");
    EXPECT_EQ(GETFILENAME(QVariant::fromValue(QFileInfo(QStringLiteral("/a/b/C.CDX")))), "C.CDX");
}

TEST(FileNames, ProblemFileParts)
{
    const QString path = QStringLiteral("/home/u/VEXO_Rir26 Veriler/Data/BROYLER.VKD");
    EXPECT_EQ(PROBFILENAME(path), "BROYLER");
    EXPECT_EQ(PROBFILEBASE(path), "/home/u/VEXO_Rir26 Veriler/Data/BROYLER");
    EXPECT_EQ(PROBFILEBASE(path) + ".TXT", "/home/u/VEXO_Rir26 Veriler/Data/BROYLER.TXT");
    EXPECT_EQ(PROBFILEDIR(path), "/home/u/VEXO_Rir26 Veriler/Data");

    const QString windows = QStringLiteral("C:\\Veri\\yem.2024.VKD");
    EXPECT_EQ(PROBFILENAME(windows), "yem.2024");
    EXPECT_EQ(PROBFILEBASE(windows), "C:\\Veri\\yem.2024");
    EXPECT_EQ(PROBFILEDIR(windows), "C:\\Veri");
    EXPECT_EQ(PROBFILEDIR(QStringLiteral("YEM.VKD")), "");
}

TEST(FileNames, SameFileBySpelling)
{
    // Paths that do not exist are compared as texts.
    EXPECT_TRUE(ISSAMEFILE("C:\\Veri\\RAPOR.TXT", "C:\\Veri\\RAPOR.txt"));
    EXPECT_FALSE(ISSAMEFILE("C:\\Veri\\RAPOR.TXT", "C:\\Veri\\rapor.TXT"));
    EXPECT_FALSE(ISSAMEFILE("/nope/a.TXT", "/nope/b.TXT"));
    EXPECT_TRUE(ISSAMEFILE("/nope/README", "/nope/README"));
}

TEST(FileNames, SameFileByIdentityWhenBothExist)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString upper = dir.filePath("A.TXT");
    const QString lower = dir.filePath("A.txt");
    for (const QString &p : {upper, lower}) {
        QFile f(p);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    }
    // Two real files whose names differ in case are two files here.
    EXPECT_FALSE(ISSAMEFILE(upper, lower));
    // Two spellings of one file are the same file.
    EXPECT_TRUE(ISSAMEFILE(upper, dir.path() + "/./A.TXT"));
    ASSERT_TRUE(QFile::link(upper, dir.filePath("link.dat")));
    EXPECT_TRUE(ISSAMEFILE(upper, dir.filePath("link.dat")));
}

} // namespace
} // namespace vexo
