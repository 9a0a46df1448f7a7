// The user table's single-tag unique index: prefix seek, first record per key, kept up to date and
// rebuilt from the table when its file is gone.
#include "platform/dbf_filespec.h"
#include "platform/dbf_index.h"
#include "platform/dbf_table.h"

#include <QFile>
#include <QTemporaryDir>
#include <QtEndian>

#include <gtest/gtest.h>

using namespace vexo;

namespace {

class DbfIndexTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        DbfTable::setDeleted(false);
        table = dir.filePath(QStringLiteral("KULLANICIID.DBF"));
        index = dir.filePath(QStringLiteral("KULLIDX.CDX"));
        ASSERT_TRUE(DbfFileSpec(table).create({{QStringLiteral("KULL_ID"), u'C', 20, 0}, {QStringLiteral("PASSWORD"), u'C', 20, 0}}));
    }

    static void addUser(DbfTable &t, const QString &name, const QString &password)
    {
        ASSERT_TRUE(t.append());
        ASSERT_TRUE(t.fieldPut(QStringLiteral("KULL_ID"), name));
        ASSERT_TRUE(t.fieldPut(QStringLiteral("PASSWORD"), password));
        ASSERT_TRUE(t.commit());
    }

    // The names in index order, as navigation with the order selected sees them.
    static QStringList inOrder(DbfTable &t)
    {
        QStringList names;
        for (t.goTop(); !t.eof(); t.skip())
            names << t.fieldGet(1).toString().trimmed();
        return names;
    }

    QTemporaryDir dir;
    QString table;
    QString index;
};

TEST_F(DbfIndexTest, SeekFindsTheFirstKeyThatBeginsWithTheTypedText)
{
    DbfTable t(table, false, false);
    addUser(t, QStringLiteral("PLNV"), QStringLiteral("KV47"));
    ASSERT_TRUE(t.createIndex(index, QStringLiteral("KULLIDX"), QStringLiteral("KULL_ID"), true));
    EXPECT_TRUE(QFile::exists(index));
    ASSERT_TRUE(t.seek(QStringLiteral("P")));
    EXPECT_EQ(t.fieldGet(QStringLiteral("KULL_ID")).toString(), QStringLiteral("PLNV").leftJustified(20));
    EXPECT_EQ(t.fieldGet(QStringLiteral("PASSWORD")).toString().trimmed(), QStringLiteral("KV47"));
    EXPECT_TRUE(t.found());

    struct Case
    {
        const char16_t *typed;
        const char16_t *finds; // nullptr: not found
    };
    addUser(t, QStringLiteral("AHMET"), QStringLiteral("1"));
    addUser(t, QStringLiteral("PLNVA"), QStringLiteral("2"));
    addUser(t, QStringLiteral("İSMAİL"), QStringLiteral("3"));
    const Case cases[] = {
        {u"P", u"PLNV"},     {u"PLNV", u"PLNV"},  {u"PLNVA", u"PLNVA"}, {u"A", u"AHMET"},  {u"İS", u"İSMAİL"},
        {u"PLNVX", nullptr}, {u" PLNV", nullptr}, {u"plnv", nullptr},   {u"Z", nullptr},   {u"B", nullptr},
    };
    for (const Case &c : cases) {
        const bool hit = t.seek(QString::fromUtf16(c.typed));
        EXPECT_EQ(hit, c.finds != nullptr) << QString::fromUtf16(c.typed).toStdString();
        if (c.finds)
            EXPECT_EQ(t.fieldGet(1).toString().trimmed(), QString::fromUtf16(c.finds));
        else
            EXPECT_TRUE(t.eof());
    }
    // Windows-1254 byte order: plain letters, then the Turkish capitals above 0x80.
    EXPECT_EQ(inOrder(t), (QStringList{"AHMET", "PLNV", "PLNVA", "İSMAİL"}));
}

TEST_F(DbfIndexTest, ASecondRecordWithTheSameKeyIsNotIndexed)
{
    DbfTable t(table, false, false);
    addUser(t, QStringLiteral("PLNV"), QStringLiteral("KV47"));
    ASSERT_TRUE(t.createIndex(index, QStringLiteral("KULLIDX"), QStringLiteral("KULL_ID"), true));
    addUser(t, QStringLiteral("PLNV"), QStringLiteral("IKINCI"));
    EXPECT_EQ(t.lastRec(), 2u);
    ASSERT_TRUE(t.seek(QStringLiteral("PLNV")));
    EXPECT_EQ(t.recNo(), 1u);
    EXPECT_EQ(inOrder(t), QStringList{"PLNV"});
    const std::optional<DbfIndex> onDisk = DbfIndex::load(index, nullptr);
    ASSERT_TRUE(onDisk);
    ASSERT_EQ(onDisk->entries.size(), 1);
    EXPECT_EQ(onDisk->entries[0].recNo, 1u);
    EXPECT_EQ(onDisk->tag, QStringLiteral("KULLIDX"));
    EXPECT_EQ(onDisk->keyField, QStringLiteral("KULL_ID"));
    EXPECT_TRUE(onDisk->unique);

    // Renaming the first one lets the second take the key.
    t.goTo(1);
    t.fieldPut(1, QStringLiteral("ZEKİ"));
    t.commit();
    ASSERT_TRUE(t.seek(QStringLiteral("PLNV")));
    EXPECT_EQ(t.recNo(), 2u);
    EXPECT_EQ(DbfIndex::load(index, nullptr)->entries.size(), 2);
}

TEST_F(DbfIndexTest, IndexFileIsRebuiltFromTheTableAndTheUsersKept)
{
    {
        DbfTable t(table, false, false);
        addUser(t, QStringLiteral("PLNV"), QStringLiteral("KV47"));
        addUser(t, QStringLiteral("AYŞE"), QStringLiteral("GİZLİ"));
        ASSERT_TRUE(t.createIndex(index, QStringLiteral("KULLIDX"), QStringLiteral("KULL_ID"), true));
    }
    // Next start: the index is attached from its file.
    {
        DbfTable t(table, false, false);
        ASSERT_TRUE(t.setIndex(index));
        ASSERT_TRUE(t.setOrder(1));
        ASSERT_TRUE(t.seek(QStringLiteral("AY")));
        EXPECT_EQ(t.fieldGet(2).toString().trimmed(), QStringLiteral("GİZLİ"));
    }
    ASSERT_TRUE(QFile::remove(index));
    {
        DbfTable t(table, false, false);
        EXPECT_FALSE(t.setIndex(index));
        ASSERT_TRUE(t.status());
        EXPECT_EQ(t.status()->code, DbfErrorCode::Index);
        ASSERT_TRUE(t.createIndex(index, QStringLiteral("KULLIDX"), QStringLiteral("KULL_ID"), true));
        EXPECT_EQ(t.lastRec(), 2u);
        ASSERT_TRUE(t.seek(QStringLiteral("P")));
        EXPECT_EQ(t.fieldGet(2).toString().trimmed(), QStringLiteral("KV47"));
    }
    // An index file whose keys went stale (the table changed without it) is corrected on attach.
    {
        DbfTable t(table, false, false);
        t.goTo(2);
        t.fieldPut(1, QStringLiteral("BORA"));
        t.commit();
    }
    DbfTable t(table, false, false);
    ASSERT_TRUE(t.setIndex(index));
    t.setOrder(1);
    EXPECT_FALSE(t.seek(QStringLiteral("AY")));
    EXPECT_TRUE(t.seek(QStringLiteral("BO")));
    EXPECT_EQ(DbfIndex::load(index, nullptr)->entries.at(0).key, QByteArray("BORA").leftJustified(20));
}

TEST_F(DbfIndexTest, ForeignOrDamagedIndexFilesAreRefused)
{
    DbfTable t(table, false, false);
    addUser(t, QStringLiteral("PLNV"), QStringLiteral("KV47"));
    QFile f(index);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("not an index at all");
    f.close();
    EXPECT_FALSE(t.setIndex(index));
    EXPECT_EQ(t.status()->code, DbfErrorCode::Index);
    EXPECT_FALSE(t.seek(QStringLiteral("P")));
    EXPECT_FALSE(t.setOrder(1));

    DbfIndex good;
    good.tag = QStringLiteral("KULLIDX");
    good.keyField = QStringLiteral("KULL_ID");
    good.keyLength = 20;
    good.add(QByteArray("PLNV").leftJustified(20), 1);
    good.finish();
    const QByteArray bytes = good.serialize();
    EXPECT_TRUE(DbfIndex::parse(bytes, nullptr));
    EXPECT_FALSE(DbfIndex::parse(bytes.left(bytes.size() - 1), nullptr));
    EXPECT_FALSE(DbfIndex::parse(bytes + 'x', nullptr));
    QByteArray wrongField = bytes;
    wrongField.replace("KULL_ID", "NOFIELD");
    ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write(wrongField);
    f.close();
    EXPECT_FALSE(t.setIndex(index));
}

TEST_F(DbfIndexTest, AppendedAndDeletedRecordsAndPackKeepTheIndexRight)
{
    DbfTable t(table, false, false);
    addUser(t, QStringLiteral("CAN"), QStringLiteral("1"));
    addUser(t, QStringLiteral("ALİ"), QStringLiteral("2"));
    ASSERT_TRUE(t.createIndex(index, QStringLiteral("KULLIDX"), QStringLiteral("KULL_ID"), true));
    addUser(t, QStringLiteral("BEN"), QStringLiteral("3"));
    EXPECT_EQ(inOrder(t), (QStringList{"ALİ", "BEN", "CAN"}));
    ASSERT_TRUE(t.seek(QStringLiteral("ALİ")));
    t.deleteRecord();
    DbfTable::setDeleted(true);
    EXPECT_FALSE(t.seek(QStringLiteral("AL")));
    EXPECT_EQ(inOrder(t), (QStringList{"BEN", "CAN"}));
    DbfTable::setDeleted(false);
    ASSERT_TRUE(t.pack());
    EXPECT_EQ(t.lastRec(), 2u);
    ASSERT_TRUE(t.seek(QStringLiteral("C")));
    EXPECT_EQ(t.recNo(), 1u);
    ASSERT_TRUE(t.seek(QStringLiteral("B")));
    EXPECT_EQ(t.recNo(), 2u);
}

TEST_F(DbfIndexTest, TheFileIsACompactCompoundIndexWithOneTagAcrossManyPages)
{
    DbfTable t(table, false, false);
    for (int i = 0; i < 300; ++i) {
        ASSERT_TRUE(t.append());
        t.fieldPut(1, QStringLiteral("U%1").arg((i * 7919) % 100000, 5, 10, QChar(u'0')));
    }
    ASSERT_TRUE(t.createIndex(index, QStringLiteral("kullidx"), QStringLiteral("KULL_ID"), true));
    QFile f(index);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    const QByteArray bytes = f.readAll();
    ASSERT_EQ(bytes.size() % 512, 0);
    ASSERT_GT(bytes.size(), 1024 + 512 + 1024 + 2 * 512); // several leaves and a root above them
    EXPECT_EQ(qFromLittleEndian<quint16>(bytes.constData() + 12), 10);   // tag names are the keys of the tag list
    EXPECT_EQ(uchar(bytes[14]), 0xE0);
    EXPECT_EQ(qFromLittleEndian<quint16>(bytes.constData() + 1536 + 12), 20);
    EXPECT_EQ(uchar(bytes[1536 + 14]), 0x61); // compact, compound, unique
    EXPECT_EQ(bytes.mid(1536 + 512, 8), QByteArray("KULL_ID\0", 8));

    const std::optional<DbfIndex> idx = DbfIndex::parse(bytes, nullptr);
    ASSERT_TRUE(idx);
    EXPECT_EQ(idx->tag, QStringLiteral("KULLIDX"));
    ASSERT_EQ(idx->entries.size(), 300);
    for (qsizetype i = 1; i < idx->entries.size(); ++i)
        EXPECT_LT(idx->entries[i - 1].key, idx->entries[i].key);
    ASSERT_TRUE(t.seek(QStringLiteral("U0791")));
    EXPECT_EQ(t.fieldGet(1).toString().trimmed(), QStringLiteral("U07919"));
    EXPECT_EQ(qsizetype(idx->seek("U07919")), idx->positionOf(t.recNo()));

    // A sibling link that loops back is caught, not followed for ever.
    QByteArray loop = bytes;
    const quint32 firstLeaf = 1024 + 512 + 1024;
    qToLittleEndian<quint32>(firstLeaf, loop.data() + firstLeaf + 512 + 8);
    EXPECT_FALSE(DbfIndex::parse(loop, nullptr));
}

} // namespace
