#include "platform/dbf_filespec.h"
#include "platform/dbf_table.h"

#include <QDate>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QtEndian>

#include "ordinary_file_rights.h"
#include "spreadsheet_dbf.h"
#include "source_tree.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

using namespace vexo;

namespace {

QString sourceDir()
{
    return vexo::test::sourceTree();
}

QByteArray readBytes(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void writeBytes(const QString &path, const QByteArray &bytes)
{
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write(bytes);
}

QString fixture(const QString &name)
{
    return sourceDir() + QStringLiteral("/tests/platform/fixtures/") + name;
}

// The problem file's 25 fields: the widest structure the program writes.
DbfStructure problemStructure()
{
    const QList<std::pair<const char *, int>> c = {
        {"YMADI", 25},   {"YMFIAT", 11},  {"YMSABIT", 12}, {"YMALTLIM", 12}, {"YMUSTLIM", 12}, {"YMKCOZUM", 12},
        {"YMSTOKVY", 1}, {"BMADI", 15},   {"BMBIRIM", 11}, {"BMSABIT", 11},  {"BMALTLIM", 11}, {"BMUSTLIM", 11},
        {"BMKCOZUM", 11}, {"BMADIA", 15}, {"BMADIB", 15},  {"OSABIT", 11},   {"OALTLIM", 11},  {"OUSTLIM", 11},
        {"OKCOZUM", 11}, {"GADI", 15},    {"GSABIT", 11},  {"GALTLIM", 11},  {"GUSTLIM", 11},  {"GKCOZUM", 11},
        {"YMBMAT", 1020}};
    DbfStructure s;
    for (const auto &[name, width] : c)
        s.append({QString::fromLatin1(name), QString::fromLatin1(name) == u"YMSTOKVY" ? u'L' : u'C', width, 0});
    return s;
}

DbfStructure smallStructure()
{
    return {{QStringLiteral("AD"), u'C', 10, 0},
            {QStringLiteral("KOD"), u'N', 5, 0},
            {QStringLiteral("FIYAT"), u'N', 8, 2},
            {QStringLiteral("STOK"), u'L', 1, 0},
            {QStringLiteral("TARIH"), u'D', 8, 0}};
}

class DbfTableTest : public ::testing::Test
{
protected:
    void SetUp() override { DbfTable::setDeleted(false); }
    void TearDown() override { DbfTable::setDeleted(false); }

    QString create(const QString &name, const DbfStructure &s)
    {
        const QString path = dir.filePath(name);
        DbfFileSpec spec(path);
        EXPECT_TRUE(spec.create(s)) << (spec.status() ? spec.status()->text().toStdString() : "");
        return path;
    }

    // A table with the given names in field AD, KOD = record number.
    QString filled(const QStringList &names)
    {
        const QString path = create(QStringLiteral("T.DBF"), smallStructure());
        DbfTable t(path, false, false);
        for (const QString &n : names) {
            EXPECT_TRUE(t.append());
            t.fieldPut(QStringLiteral("AD"), n);
            t.fieldPut(QStringLiteral("KOD"), double(t.recNo()));
        }
        t.close();
        return path;
    }

    QTemporaryDir dir;
};

TEST_F(DbfTableTest, WideFieldTableMatchesThePublishedLayoutAndRoundTrips)
{
    const QString path = create(QStringLiteral("P.VKD"), problemStructure());
    QByteArray bytes = readBytes(path);
    const int headerLength = 32 + 32 * 25 + 1;
    ASSERT_EQ(bytes.size(), headerLength + 1);
    const auto *p = reinterpret_cast<const uchar *>(bytes.constData());
    EXPECT_EQ(p[0], 0x03);
    EXPECT_EQ(qFromLittleEndian<quint32>(p + 4), 0u);
    EXPECT_EQ(qFromLittleEndian<quint16>(p + 8), headerLength);
    EXPECT_EQ(qFromLittleEndian<quint16>(p + 10), 1309);
    EXPECT_EQ(p[32 + 24 * 32 + 16], 252); // YMBMAT: low byte of 1020 ...
    EXPECT_EQ(p[32 + 24 * 32 + 17], 3);   // ... and its high byte in the decimal count
    EXPECT_EQ(p[headerLength - 1], 0x0D);
    EXPECT_EQ(p[headerLength], 0x1A);

    const QString matrix = QStringLiteral("      1.0000,").repeated(78) + QStringLiteral("Şİğüöç");
    ASSERT_EQ(matrix.size(), 1020);
    {
        DbfTable t(path, true, false);
        ASSERT_FALSE(t.status());
        EXPECT_EQ(t.dbStruct(), problemStructure());
        EXPECT_EQ(t.fCount(), 25);
        ASSERT_TRUE(t.append());
        EXPECT_TRUE(t.fieldPut(QStringLiteral("YMADI"), QStringLiteral("Arpa Ğİ")));
        EXPECT_TRUE(t.fieldPut(QStringLiteral("YMSTOKVY"), true));
        EXPECT_TRUE(t.fieldPut(25, matrix + QStringLiteral("kesilir")));
        EXPECT_TRUE(t.commit());
    }
    bytes = readBytes(path);
    ASSERT_EQ(bytes.size(), headerLength + 1309 + 1);
    EXPECT_EQ(bytes.at(bytes.size() - 1), '\x1A');
    DbfTable t(path, true, true);
    ASSERT_FALSE(t.status());
    EXPECT_EQ(t.lastRec(), 1u);
    EXPECT_EQ(t.fieldGet(QStringLiteral("YMADI")).toString(), QStringLiteral("Arpa Ğİ").leftJustified(25));
    EXPECT_EQ(t.fieldGet(QStringLiteral("YMBMAT")).toString(), matrix);
    EXPECT_EQ(t.fieldGet(QStringLiteral("YMSTOKVY")).toBool(), true);
    EXPECT_EQ(t.fieldGet(QStringLiteral("BMADI")).toString(), QString(15, u' '));
}

TEST_F(DbfTableTest, ValuesAreCutPaddedAndTypedAsTheFieldSays)
{
    const QString path = create(QStringLiteral("V.DBF"), smallStructure());
    DbfTable t(path, false, false);
    ASSERT_TRUE(t.append());
    // A fresh record is blank: blanks, zero, false, no date.
    EXPECT_EQ(t.fieldGet(1).toString(), QString(10, u' '));
    EXPECT_EQ(t.fieldGet(2).toDouble(), 0.0);
    EXPECT_EQ(t.fieldGet(4).toBool(), false);
    EXPECT_TRUE(t.fieldGet(5).toDate().isNull());

    EXPECT_TRUE(t.fieldPut(QStringLiteral("ad"), QStringLiteral("ÇOK UZUN BİR AD")));
    EXPECT_EQ(t.fieldGet(QStringLiteral("AD")).toString(), QStringLiteral("ÇOK UZUN B"));
    EXPECT_TRUE(t.fieldPut(QStringLiteral("FIYAT"), 12.345));
    EXPECT_DOUBLE_EQ(t.fieldGet(QStringLiteral("FIYAT")).toDouble(), 12.35);
    EXPECT_TRUE(t.fieldPut(QStringLiteral("FIYAT"), QStringLiteral(" 7.5 ")));
    EXPECT_DOUBLE_EQ(t.fieldGet(QStringLiteral("FIYAT")).toDouble(), 7.5);
    EXPECT_TRUE(t.fieldPut(QStringLiteral("KOD"), -4321));
    EXPECT_EQ(t.fieldGet(2).typeId(), QMetaType::Double);
    EXPECT_EQ(t.fieldGet(2).toDouble(), -4321.0);

    // A number wider than the field, or no number at all, is refused and the field keeps its value.
    EXPECT_FALSE(t.fieldPut(QStringLiteral("KOD"), 123456));
    ASSERT_TRUE(t.status());
    EXPECT_EQ(t.status()->code, DbfErrorCode::DataWidth);
    EXPECT_FALSE(t.fieldPut(QStringLiteral("KOD"), QStringLiteral("abc")));
    EXPECT_EQ(t.status()->code, DbfErrorCode::DataType);
    EXPECT_EQ(t.fieldGet(2).toDouble(), -4321.0);

    EXPECT_TRUE(t.fieldPut(QStringLiteral("STOK"), true));
    EXPECT_TRUE(t.fieldPut(QStringLiteral("TARIH"), QDate(2026, 2, 28)));
    EXPECT_FALSE(t.fieldPut(QStringLiteral("YOK"), 1));
    EXPECT_EQ(t.status()->code, DbfErrorCode::NoField);
    EXPECT_FALSE(t.fieldGet(QStringLiteral("YOK")).isValid());
    EXPECT_EQ(t.fieldPos(QStringLiteral("YOK")), 0);
    EXPECT_EQ(t.fieldName(3), QStringLiteral("FIYAT"));
    t.close();

    const QByteArray bytes = readBytes(path);
    const QByteArray rec = bytes.mid(32 + 5 * 32 + 1, 1 + 10 + 5 + 8 + 1 + 8);
    EXPECT_EQ(rec, QByteArray(" \xC7OK UZUN B-4321    7.50T20260228"));
    DbfTable r(path, true, true);
    EXPECT_EQ(r.fieldGet(4).toBool(), true);
    EXPECT_EQ(r.fieldGet(5).toDate(), QDate(2026, 2, 28));
}

TEST_F(DbfTableTest, HeaderCountAndDateAreOnDiskAfterEveryAppendAndCommit)
{
    const QString path = create(QStringLiteral("H.DBF"), smallStructure());
    QByteArray head = readBytes(path);
    head[1] = 80; // an old date, so the rewrite shows
    writeBytes(path, head);
    DbfTable t(path, true, false);
    for (quint32 n = 1; n <= 3; ++n) {
        ASSERT_TRUE(t.append());
        const QByteArray b = readBytes(path);
        const auto *p = reinterpret_cast<const uchar *>(b.constData());
        EXPECT_EQ(qFromLittleEndian<quint32>(p + 4), n);
        const QDate today = QDate::currentDate();
        EXPECT_EQ(QDate(1900 + p[1], p[2], p[3]), today);
        EXPECT_EQ(b.size(), 32 + 5 * 32 + 1 + qsizetype(n) * 33 + 1);
        EXPECT_EQ(b.back(), '\x1A');
    }
    t.fieldPut(1, QStringLiteral("son"));
    EXPECT_TRUE(t.commit());
    EXPECT_EQ(readBytes(path).mid(32 + 5 * 32 + 1 + 2 * 33 + 1, 10), QByteArray("son       "));
}

TEST_F(DbfTableTest, NavigationFollowsRecordOrderWithEofAndBof)
{
    const QString path = filled({QStringLiteral("a"), QStringLiteral("b"), QStringLiteral("c")});
    DbfTable t(path, true, true);
    ASSERT_FALSE(t.status());
    EXPECT_EQ(t.recNo(), 1u);
    EXPECT_FALSE(t.eof());
    EXPECT_EQ(t.lastRec(), 3u);
    QStringList seen;
    for (t.goTop(); !t.eof(); t.skip())
        seen << t.fieldGet(1).toString().trimmed();
    EXPECT_EQ(seen, (QStringList{"a", "b", "c"}));
    EXPECT_EQ(t.recNo(), 4u);
    EXPECT_EQ(t.fieldGet(1).toString(), QString(10, u' ')); // past the end every field is blank
    t.skip(-1);
    EXPECT_EQ(t.recNo(), 3u);
    t.goTo(2);
    EXPECT_EQ(t.fieldGet(QStringLiteral("KOD")).toDouble(), 2.0);
    t.skip(-5);
    EXPECT_TRUE(t.bof());
    EXPECT_EQ(t.recNo(), 1u);
    t.goTo(99);
    EXPECT_TRUE(t.eof());
    EXPECT_EQ(t.recNo(), 4u);
    t.goBottom();
    EXPECT_EQ(t.recNo(), 3u);

    const QString empty = create(QStringLiteral("E.DBF"), smallStructure());
    DbfTable e(empty, true, true);
    ASSERT_FALSE(e.status());
    EXPECT_TRUE(e.eof());
    EXPECT_EQ(e.recNo(), 1u);
    EXPECT_EQ(e.lastRec(), 0u);
}

TEST_F(DbfTableTest, DeletedRecordsAreMarkedHiddenOnRequestAndPackedAway)
{
    const QString path = filled({QStringLiteral("a"), QStringLiteral("b"), QStringLiteral("c")});
    DbfTable t(path, false, false);
    t.goTo(2);
    EXPECT_TRUE(t.deleteRecord());
    EXPECT_TRUE(t.deleted());
    EXPECT_FALSE(DbfTable::setDeleted(true));
    QStringList seen;
    for (t.goTop(); !t.eof(); t.skip())
        seen << t.fieldGet(1).toString().trimmed();
    EXPECT_EQ(seen, (QStringList{"a", "c"}));
    EXPECT_TRUE(DbfTable::setDeleted(false));
    t.goTop();
    t.skip();
    EXPECT_EQ(t.recNo(), 2u); // visible again

    struct stat st = {};
    ASSERT_EQ(::stat(QFile::encodeName(path).constData(), &st), 0);
    const ino_t before = st.st_ino;
    ASSERT_TRUE(t.pack());
    EXPECT_EQ(t.lastRec(), 2u);
    EXPECT_EQ(t.recNo(), 1u);
    t.goTo(2);
    EXPECT_EQ(t.fieldGet(1).toString().trimmed(), QStringLiteral("c"));
    ASSERT_EQ(::stat(QFile::encodeName(path).constData(), &st), 0);
    EXPECT_NE(st.st_ino, before); // a new file took the old one's name
    EXPECT_EQ(readBytes(path).size(), 32 + 5 * 32 + 1 + 2 * 33 + 1);
    // The packed file is still held exclusively.
    DbfTable other(path, true, true);
    ASSERT_TRUE(other.status());
    EXPECT_EQ(other.status()->code, DbfErrorCode::Locked);
    EXPECT_TRUE(t.append()); // and still ours to write
    EXPECT_EQ(t.recNo(), 3u);
    EXPECT_TRUE(QDir(dir.path()).entryList(QDir::Hidden | QDir::Files).filter(QStringLiteral(".T.DBF")).isEmpty());
}

TEST_F(DbfTableTest, PackNeedsTheTableExclusive)
{
    const QString path = filled({QStringLiteral("a")});
    DbfTable t(path, true, false);
    EXPECT_FALSE(t.pack());
    ASSERT_TRUE(t.status());
    EXPECT_EQ(t.status()->code, DbfErrorCode::Exclusive);
}

TEST_F(DbfTableTest, AppendDbCopiesEveryRecordByFieldName)
{
    const QString src = create(QStringLiteral("S.DBF"),
                               {{QStringLiteral("FIYAT"), u'N', 8, 2}, {QStringLiteral("AD"), u'C', 15, 0},
                                {QStringLiteral("FAZLA"), u'C', 4, 0}});
    {
        DbfTable s(src, false, false);
        for (int i = 1; i <= 3; ++i) {
            s.append();
            s.fieldPut(1, i * 1.25);
            s.fieldPut(2, QStringLiteral("Kaynak kaydı %1").arg(i));
            s.fieldPut(3, QStringLiteral("xx"));
        }
        s.goTo(2);
        s.deleteRecord();
    }
    const QString dst = filled({QStringLiteral("önceki")});
    DbfTable s(src, true, true);
    DbfTable d(dst, false, false);
    ASSERT_TRUE(d.appendDb(s));
    EXPECT_EQ(d.lastRec(), 4u); // deleted records come along while they are visible
    d.goTo(4);
    EXPECT_EQ(d.fieldGet(QStringLiteral("AD")).toString(), QStringLiteral("Kaynak kay"));
    EXPECT_DOUBLE_EQ(d.fieldGet(QStringLiteral("FIYAT")).toDouble(), 3.75);
    EXPECT_EQ(d.fieldGet(QStringLiteral("KOD")).toDouble(), 0.0); // missing in the source: blank
    d.goTo(1);
    EXPECT_EQ(d.fieldGet(QStringLiteral("AD")).toString().trimmed(), QStringLiteral("önceki"));
}

struct LockCase
{
    bool firstShared, firstReadOnly, secondShared, secondReadOnly, secondOpens;
};

TEST_F(DbfTableTest, SecondOpenerIsRefusedExactlyWhenTheModesClash)
{
    const QString path = filled({QStringLiteral("a")});
    const LockCase cases[] = {
        {true, false, true, false, true},  {true, true, true, true, true},   {true, false, true, true, true},
        {true, false, false, false, false}, {true, true, false, true, false}, {false, false, true, true, false},
        {false, true, true, false, false},  {false, false, false, false, false},
    };
    for (const LockCase &c : cases) {
        DbfTable first(path, c.firstShared, c.firstReadOnly);
        ASSERT_FALSE(first.status());
        DbfTable second(path, c.secondShared, c.secondReadOnly);
        EXPECT_EQ(!second.status(), c.secondOpens) << c.firstShared << c.firstReadOnly << c.secondShared;
        if (second.status()) {
            EXPECT_EQ(second.status()->code, DbfErrorCode::Locked);
            EXPECT_FALSE(second.status()->text().isEmpty());
            EXPECT_FALSE(second.isOpen());
        }
        first.close();
        second.close();
        DbfTable third(path, false, false); // every lock went with the close
        EXPECT_FALSE(third.status());
    }
}

TEST_F(DbfTableTest, ReadOnlyTableRefusesEveryWriteAndLeavesTheFile)
{
    const QString path = filled({QStringLiteral("a"), QStringLiteral("b")});
    const QByteArray before = readBytes(path);
    DbfTable t(path, false, true);
    ASSERT_FALSE(t.status());
    EXPECT_FALSE(t.fieldPut(1, QStringLiteral("x")));
    ASSERT_TRUE(t.status());
    EXPECT_EQ(t.status()->code, DbfErrorCode::ReadOnly);
    EXPECT_FALSE(t.append());
    EXPECT_FALSE(t.deleteRecord());
    EXPECT_FALSE(t.pack());
    EXPECT_EQ(t.status()->code, DbfErrorCode::ReadOnly);
    t.close();
    EXPECT_EQ(readBytes(path), before);
}

TEST_F(DbfTableTest, MissingFileAndWriteProtectedFileGiveAStatus)
{
    DbfTable missing(dir.filePath(QStringLiteral("YOK.DBF")), true, false);
    ASSERT_TRUE(missing.status());
    EXPECT_EQ(missing.status()->code, DbfErrorCode::NoFile);
    EXPECT_EQ(missing.status()->caption, QStringLiteral("Dosya bulunamadı"));
    EXPECT_FALSE(missing.append());

    const QString path = filled({QStringLiteral("a")});
    const auto readable = QFileDevice::ReadOwner | QFileDevice::ReadGroup | QFileDevice::ReadOther;
    ASSERT_TRUE(QFile::setPermissions(dir.path(), readable | QFileDevice::WriteOwner | QFileDevice::ExeOwner
                                                      | QFileDevice::ExeGroup | QFileDevice::ExeOther));
    ASSERT_TRUE(QFile::setPermissions(path, readable));
    {
        // The superuser writes through permissions: the opens run with an ordinary user's file rights.
        test::OrdinaryFileRights user;
        DbfTable rw(path, true, false);
        ASSERT_TRUE(rw.status());
        EXPECT_EQ(rw.status()->code, DbfErrorCode::Access);
        DbfTable ro(path, true, true);
        EXPECT_FALSE(ro.status());
        EXPECT_EQ(ro.lastRec(), 1u);
    }
    // Given its write permission back, the file opens for writing again.
    ASSERT_TRUE(QFile::setPermissions(path, readable | QFileDevice::WriteOwner));
    DbfTable rw(path, true, false);
    EXPECT_FALSE(rw.status());
    EXPECT_TRUE(rw.append());
}

TEST_F(DbfTableTest, NameDifferingOnlyInCaseOpensTheExistingFile)
{
    create(QStringLiteral("MATNRC6.DBF"), smallStructure());
    DbfTable t(dir.filePath(QStringLiteral("matnrc6.dbf")), true, true);
    EXPECT_FALSE(t.status());
    EXPECT_EQ(t.label(), QStringLiteral("MATNRC6.DBF"));
}

// Each case spoils a good two-record file; the table must be refused without a change to the file.
TEST_F(DbfTableTest, DamagedFilesAreRefusedAndLeftUntouched)
{
    const QByteArray good = readBytes(filled({QStringLiteral("a"), QStringLiteral("b")}));
    const int hl = 32 + 5 * 32 + 1;
    auto with = [&](auto change) {
        QByteArray b = good;
        change(b);
        return b;
    };
    auto put16 = [](QByteArray &b, int at, int v) { qToLittleEndian<quint16>(quint16(v), b.data() + at); };
    auto put32 = [](QByteArray &b, int at, quint32 v) { qToLittleEndian<quint32>(v, b.data() + at); };
    const std::pair<const char *, QByteArray> cases[] = {
        {"empty file", QByteArray()},
        {"header cut short", good.left(20)},
        {"descriptors cut short", good.left(100)},
        {"unknown version", with([](QByteArray &b) { b[0] = 0x04; })},
        {"header length beyond the file", with([&](QByteArray &b) { put16(b, 8, 60000); })},
        {"header length too small", with([&](QByteArray &b) { put16(b, 8, 10); })},
        {"header length one short", with([&](QByteArray &b) { put16(b, 8, hl - 1); })},
        {"record length too long", with([&](QByteArray &b) { put16(b, 10, 40); })},
        {"record length too short", with([&](QByteArray &b) { put16(b, 10, 20); })},
        {"no terminator", with([&](QByteArray &b) { b[hl - 1] = 'X'; })},
        {"width 0", with([](QByteArray &b) { b[32 + 16] = 0; })},
        {"empty field name", with([](QByteArray &b) { b[32] = 0; })},
        {"more records than the file holds", with([&](QByteArray &b) { put32(b, 4, 3); })},
        {"huge record count", with([&](QByteArray &b) { put32(b, 4, 0xFFFFFFFFu); })},
    };
    for (const auto &[what, bytes] : cases) {
        const QString path = dir.filePath(QStringLiteral("BOZUK.DBF"));
        writeBytes(path, bytes);
        for (const bool readOnly : {true, false}) {
            DbfTable t(path, false, readOnly);
            ASSERT_TRUE(t.status()) << what;
            EXPECT_EQ(t.status()->code, DbfErrorCode::Corrupt) << what;
            EXPECT_FALSE(t.status()->description.isEmpty()) << what;
            EXPECT_FALSE(t.isOpen());
            EXPECT_FALSE(t.append());
            EXPECT_FALSE(t.fieldGet(1).isValid());
            t.close();
        }
        EXPECT_EQ(readBytes(path), bytes) << what;
    }
}

// A writer that stopped after appending records but before counting them leaves data past the
// header's count: the table reads with the count, as other dBASE programs read it, and the next
// append takes the first place after the counted records.
TEST_F(DbfTableTest, DataPastTheRecordCountIsReadWithTheHeadersCount)
{
    const QByteArray good = readBytes(filled({QStringLiteral("a"), QStringLiteral("b"), QStringLiteral("c")}));
    const std::pair<quint32, QStringList> cases[] = {
        {0, {}}, {1, {QStringLiteral("a")}}, {2, {QStringLiteral("a"), QStringLiteral("b")}}};
    for (const auto &[count, names] : cases) {
        QByteArray bytes = good;
        qToLittleEndian<quint32>(count, bytes.data() + 4);
        const QString path = dir.filePath(QStringLiteral("UZUN.DBF"));
        writeBytes(path, bytes);
        {
            DbfTable t(path, true, false);
            ASSERT_FALSE(t.status()) << count << t.status()->text().toStdString();
            EXPECT_EQ(t.lastRec(), count);
            QStringList seen;
            for (t.goTop(); !t.eof(); t.skip())
                seen << t.fieldGet(QStringLiteral("AD")).toString().trimmed();
            EXPECT_EQ(seen, names) << count;
            ASSERT_TRUE(t.append());
            t.fieldPut(QStringLiteral("AD"), QStringLiteral("yeni"));
            EXPECT_EQ(t.recNo(), count + 1);
        }
        DbfTable again(path, true, true);
        EXPECT_EQ(again.lastRec(), count + 1);
        again.goBottom();
        EXPECT_EQ(again.fieldGet(QStringLiteral("AD")).toString().trimmed(), QStringLiteral("yeni"));
    }
}

TEST_F(DbfTableTest, TablesOfOtherDbaseProgramsAreRead)
{
    {
        DbfTable t(fixture(QStringLiteral("dbase3_eof.dbf")), true, true);
        ASSERT_FALSE(t.status()) << t.status()->text().toStdString();
        EXPECT_EQ(t.lastRec(), 3u);
        EXPECT_EQ(t.fieldGet(QStringLiteral("NAME")).toString(), QStringLiteral("ŞEKER     "));
        EXPECT_DOUBLE_EQ(t.fieldGet(QStringLiteral("QTY")).toDouble(), 1.5);
        EXPECT_EQ(t.fieldGet(QStringLiteral("DAY")).toDate(), QDate(2026, 12, 10));
        t.skip();
        EXPECT_EQ(t.fieldGet(1).toString(), QStringLiteral("İĞNE ığne "));
        EXPECT_DOUBLE_EQ(t.fieldGet(2).toDouble(), -2.25);
        EXPECT_TRUE(t.fieldGet(4).toDate().isNull());
        t.skip();
        EXPECT_TRUE(t.deleted());
        EXPECT_FALSE(t.fieldGet(3).toBool()); // "?" is no true
    }
    {
        DbfTable t(fixture(QStringLiteral("foxpro_cp.dbf")), true, true);
        ASSERT_FALSE(t.status()) << t.status()->text().toStdString();
        EXPECT_EQ(t.dbStruct().at(1), (DbfField{QStringLiteral("ACIKLAMA"), u'C', 300, 0}));
        EXPECT_EQ(t.fieldGet(2).toString().trimmed(), QStringLiteral("Çok uzun alan"));
        EXPECT_EQ(t.fieldGet(3).toString(), QStringLiteral("ab      ")); // NUL padding reads as blanks
        t.skip();
        EXPECT_EQ(t.fieldGet(1).toDouble(), 12.0);
        EXPECT_EQ(t.fieldGet(2).toString(), QString(300, u'x'));
    }
    {
        DbfTable t(fixture(QStringLiteral("clipper_wide.dbf")), true, true);
        ASSERT_FALSE(t.status());
        EXPECT_EQ(t.dbStruct().at(1).width, 1020);
        EXPECT_EQ(t.fieldGet(QStringLiteral("YMBMAT")).toString().trimmed(), QStringLiteral("      1.0000,").repeated(3).trimmed());
    }
    // A file without the end byte takes appends and gets one.
    const QString copy = dir.filePath(QStringLiteral("NOEOF.DBF"));
    ASSERT_TRUE(QFile::copy(fixture(QStringLiteral("dbase3_noeof.dbf")), copy));
    QFile::setPermissions(copy, QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    const QByteArray before = readBytes(copy);
    ASSERT_NE(before.back(), '\x1A');
    {
        DbfTable t(copy, false, false);
        ASSERT_FALSE(t.status());
        EXPECT_EQ(t.lastRec(), 2u);
        ASSERT_TRUE(t.append());
        t.fieldPut(1, QStringLiteral("yeni"));
    }
    const QByteArray after = readBytes(copy);
    EXPECT_EQ(after.size(), before.size() + 26 + 1);
    EXPECT_EQ(after.back(), '\x1A');
    EXPECT_EQ(after.left(before.size()).mid(32), before.mid(32)); // old records untouched
    DbfTable t(copy, true, true);
    t.goTo(3);
    EXPECT_EQ(t.fieldGet(1).toString(), QStringLiteral("yeni      "));
}

TEST_F(DbfTableTest, FileSpecificationsCreateCopyFindAndDescribe)
{
    const QString path = dir.filePath(QStringLiteral("YENI.DBF"));
    DbfFileSpec spec(path);
    EXPECT_FALSE(spec.find());
    EXPECT_EQ(spec.attributes(), QString());
    ASSERT_TRUE(spec.create(smallStructure()));
    EXPECT_TRUE(spec.find());
    EXPECT_EQ(spec.attributes(), QStringLiteral("A"));
    EXPECT_EQ(DbfTable(path, true, true).dbStruct(), smallStructure());

    const QString target = dir.filePath(QStringLiteral("KOPYA.DBF"));
    writeBytes(target, "eski");
    EXPECT_TRUE(spec.copy(target));
    EXPECT_EQ(readBytes(target), readBytes(path));

    // A target someone holds open is refused and stays as it was.
    DbfTable holder(target, true, true);
    ASSERT_FALSE(holder.status());
    writeBytes(path, readBytes(path)); // unchanged source
    EXPECT_FALSE(DbfFileSpec(dir.filePath(QStringLiteral("KOPYA.DBF"))).create(smallStructure()));
    FileSpec busy(path);
    EXPECT_FALSE(busy.copy(target));
    ASSERT_TRUE(busy.status());
    EXPECT_EQ(busy.status()->code, DbfErrorCode::Locked);
    holder.close();

    QFile::setPermissions(target, QFileDevice::ReadOwner);
    EXPECT_EQ(FileSpec(target).attributes(), QStringLiteral("RA"));

    const DbfStructure bad[] = {
        {},
        {{QStringLiteral("UZUNALANADI1"), u'C', 5, 0}},
        {{QStringLiteral("A"), u'C', 0, 0}},
        {{QStringLiteral("A"), u'N', 21, 0}},
        {{QStringLiteral("A"), u'C', 5, 0}, {QStringLiteral("a"), u'C', 5, 0}},
        {{QStringLiteral("A"), u'X', 5, 0}},
        {{QStringLiteral("A"), u'C', 65535, 0}},
    };
    for (const DbfStructure &s : bad) {
        DbfFileSpec b(dir.filePath(QStringLiteral("KOTU.DBF")));
        EXPECT_FALSE(b.create(s));
        ASSERT_TRUE(b.status());
        EXPECT_EQ(b.status()->code, DbfErrorCode::Create);
        EXPECT_FALSE(b.find());
    }
    EXPECT_FALSE(DbfFileSpec(dir.filePath(QStringLiteral("yok/A.DBF"))).create(smallStructure()));
    // Field names with signs are stored as they stand.
    const QString signs = dir.filePath(QStringLiteral("ISARET.DBF"));
    ASSERT_TRUE(DbfFileSpec(signs).create({{QStringLiteral("BY-P"), u'C', 11, 0}, {QStringLiteral("MET+SIST"), u'C', 11, 0}}));
    DbfTable s(signs, true, true);
    EXPECT_EQ(s.fieldPos(QStringLiteral("MET+SIST")), 2);

    FileSpec gone(signs);
    s.close();
    EXPECT_TRUE(gone.remove());
    EXPECT_FALSE(gone.find());
    EXPECT_FALSE(gone.remove());
}

} // namespace

// A table a spreadsheet saved without a code page byte: reading leaves it as it is, and from the first
// change on it says Windows-1254, the code page of every text this table layer writes, so that other
// readers (here python3-dbfread, which honours the byte) read its Turkish letters.
namespace {

const char *kLanguageReader = R"(
import sys, dbfread
t = dbfread.DBF(sys.argv[1], char_decode_errors='strict', load=True)
print('|'.join(r['YM_ADI'] for r in t.records))
)";

QByteArray codePageByte(const QString &path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return {};
    return f.read(32).mid(29, 1);
}

} // namespace

TEST(DbfTable, ChangingASpreadsheetTableMarksItWindows1254)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString path = dir.filePath(QStringLiteral("MATNRC6.DBF"));
    for (const bool byAppend : {false, true}) {
        ASSERT_TRUE(test::writeSpreadsheetDbf(path, test::sheetMatrixFields({"HS"}),
                                              {{"1", "ÇAVDAR", "0,425", "", "12,5"}}));
        {
            DbfTable t(path, false, false);
            ASSERT_FALSE(t.status().has_value());
            EXPECT_EQ(t.fieldGet(QStringLiteral("YM_ADI")).toString().trimmed(), QStringLiteral("ÇAVDAR"));
            t.close();
        }
        EXPECT_EQ(codePageByte(path), QByteArray(1, '\0')) << "reading alone changes nothing";
        {
            DbfTable t(path, false, false);
            if (byAppend) {
                ASSERT_TRUE(t.append());
                ASSERT_TRUE(t.fieldPut(QStringLiteral("YM_ADI"), QStringLiteral("İSPANAKÇIK")));
            } else {
                ASSERT_TRUE(t.fieldPut(QStringLiteral("FIATI"), QStringLiteral("      0.425")));
            }
            ASSERT_TRUE(t.commit());
            t.close();
        }
        EXPECT_EQ(codePageByte(path), QByteArray(1, '\xCA')) << byAppend;

        QProcess reader;
        reader.start(QStringLiteral("/usr/bin/python3"), {QStringLiteral("-c"), QString::fromLatin1(kLanguageReader), path});
        ASSERT_TRUE(reader.waitForFinished(20000));
        EXPECT_EQ(reader.exitCode(), 0) << reader.readAllStandardError().toStdString();
        EXPECT_EQ(QString::fromUtf8(reader.readAllStandardOutput()).trimmed(),
                  byAppend ? QStringLiteral("ÇAVDAR|İSPANAKÇIK") : QStringLiteral("ÇAVDAR"));
    }
}
