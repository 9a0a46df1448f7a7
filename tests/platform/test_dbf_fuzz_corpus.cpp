// Replays the fuzz target's corpus through the same open-and-read path, so every input that once
// mattered keeps being checked by the ordinary test run.
#include "platform/dbf_probe.h"

#include <QDir>
#include <QFile>

#include "source_tree.h"

#include <gtest/gtest.h>

using namespace vexo;

namespace {

QString sourceDir()
{
    return vexo::test::sourceTree();
}

} // namespace

TEST(DbfFuzzCorpus, EveryCorpusFileGoesThroughTheOpenAndReadPath)
{
    const QDir corpus(sourceDir() + QStringLiteral("/fuzz/corpus"));
    const QStringList files = corpus.entryList(QDir::Files);
    ASSERT_GE(files.size(), 8) << corpus.path().toStdString();
    int tables = 0;
    for (const QString &name : files) {
        QFile f(corpus.filePath(name));
        ASSERT_TRUE(f.open(QIODevice::ReadOnly));
        if (probeTableBytes(f.readAll()) >= 0)
            ++tables;
    }
    EXPECT_GE(tables, 6); // the seed tables open; the rest are refused without harm
}

TEST(DbfFuzzCorpus, SeedTablesReadEveryRecordInBothDeletedSettings)
{
    const QString dir = sourceDir() + QStringLiteral("/fuzz/corpus/");
    const std::pair<const char *, qint64> seeds[] = {
        {"dbase3_eof.dbf", 3 + 2}, {"users.dbf", 3 + 2}, {"matrix.dbf", 2}, {"empty.dbf", 0}, {"kullidx.cdx", -1}};
    for (const auto &[name, records] : seeds) {
        QFile f(dir + QLatin1String(name));
        ASSERT_TRUE(f.open(QIODevice::ReadOnly)) << name;
        EXPECT_EQ(probeTableBytes(f.readAll()), records) << name;
    }
}
