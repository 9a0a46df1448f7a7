// The table layer against an independent reader of the format (Debian's python3-dbfread).
#include "platform/cp1254_codec.h"
#include "platform/dbf_filespec.h"
#include "platform/dbf_table.h"

#include <QDate>
#include <QDir>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>

#include "source_tree.h"

#include <gtest/gtest.h>

using namespace vexo;

namespace {

QString sourceDir()
{
    return vexo::test::sourceTree();
}

const char *kReader = R"(
import json, sys, dbfread
t = dbfread.DBF(sys.argv[1], encoding='cp1254', char_decode_errors='strict', load=True)
out = {'numrecords': t.header.numrecords, 'headerlen': t.header.headerlen, 'recordlen': t.header.recordlen,
       'fields': [[f.name, f.type, f.length, f.decimal_count] for f in t.fields],
       'records': [[None if v is None else (v.isoformat() if hasattr(v, 'isoformat') else v) for v in r.values()]
                   for r in t.records]}
print(json.dumps(out))
)";

bool haveDbfread()
{
    QProcess p;
    p.start(QStringLiteral("/usr/bin/python3"), {QStringLiteral("-c"), QStringLiteral("import dbfread")});
    return p.waitForFinished(20000) && p.exitStatus() == QProcess::NormalExit && p.exitCode() == 0;
}

QJsonObject readWithDbfread(const QString &path)
{
    QProcess p;
    p.start(QStringLiteral("/usr/bin/python3"), {QStringLiteral("-c"), QString::fromLatin1(kReader), path});
    EXPECT_TRUE(p.waitForFinished(20000));
    EXPECT_EQ(p.exitCode(), 0) << p.readAllStandardError().toStdString();
    return QJsonDocument::fromJson(p.readAllStandardOutput()).object();
}

QString fixture(const QString &name)
{
    return sourceDir() + QStringLiteral("/tests/platform/fixtures/") + name;
}

// Our value in the form the other reader gives it: texts without trailing blanks, dates as ISO text.
QJsonValue asPeerValue(const DbfField &f, const QVariant &v)
{
    if (f.type == u'C') {
        QString s = v.toString();
        while (s.endsWith(u' '))
            s.chop(1);
        return s;
    }
    if (f.type == u'N')
        return v.toDouble();
    if (f.type == u'L')
        return v.toBool();
    if (f.type == u'D')
        return v.toDate().isNull() ? QJsonValue() : QJsonValue(v.toDate().toString(Qt::ISODate));
    return v.toString();
}

void expectSameAsPeer(DbfTable &t, const QJsonObject &peer)
{
    ASSERT_FALSE(t.status());
    EXPECT_EQ(peer.value(QStringLiteral("numrecords")).toInt(), int(t.lastRec()));
    const QJsonArray fields = peer.value(QStringLiteral("fields")).toArray();
    ASSERT_EQ(fields.size(), t.fCount());
    for (int i = 0; i < t.fCount(); ++i) {
        const QJsonArray f = fields.at(i).toArray();
        const DbfField mine = t.dbStruct().at(i);
        EXPECT_EQ(f.at(0).toString(), mine.name);
        EXPECT_EQ(f.at(1).toString(), QString(mine.type));
        EXPECT_EQ(f.at(2).toInt(), mine.width);
    }
    const QJsonArray records = peer.value(QStringLiteral("records")).toArray();
    int r = 0;
    for (t.goTop(); !t.eof(); t.skip(), ++r) {
        if (t.deleted()) { // the other reader leaves deleted records out
            --r;
            continue;
        }
        ASSERT_LT(r, records.size());
        const QJsonArray values = records.at(r).toArray();
        for (int i = 0; i < t.fCount(); ++i) {
            const DbfField f = t.dbStruct().at(i);
            EXPECT_EQ(values.at(i), asPeerValue(f, t.fieldGet(i + 1)))
                << "record " << t.recNo() << " field " << f.name.toStdString();
        }
    }
    EXPECT_EQ(r, records.size());
}

TEST(DbfPeer, TablesWeWriteReadTheSameInAnIndependentReader)
{
    if (!haveDbfread())
        FAIL() << "/usr/bin/python3 has no dbfread (tools/deps.sh installs it)";
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("PEER.VKD"));
    DbfStructure s = {{QStringLiteral("YMADI"), u'C', 25, 0},  {QStringLiteral("KOD"), u'N', 5, 0},
                      {QStringLiteral("FIYAT"), u'N', 10, 3}, {QStringLiteral("STOK"), u'L', 1, 0},
                      {QStringLiteral("TARIH"), u'D', 8, 0},  {QStringLiteral("BY-P"), u'C', 11, 0}};
    for (int i = s.size(); i < 24; ++i)
        s.append({QStringLiteral("F%1").arg(i), u'C', 11, 0});
    s.append({QStringLiteral("YMBMAT"), u'C', 1020, 0});
    ASSERT_EQ(s.size(), 25);
    ASSERT_TRUE(DbfFileSpec(path).create(s));
    const QString wide = QStringLiteral("Ğİ şçöü ı,").repeated(102);
    {
        DbfTable t(path, false, false);
        const QStringList names = {QStringLiteral("ŞEKER PANCARI"), QStringLiteral("Ayçiçeği küspesi"), QStringLiteral("Mısır")};
        for (int i = 0; i < names.size(); ++i) {
            ASSERT_TRUE(t.append());
            t.fieldPut(1, names[i]);
            t.fieldPut(2, i + 1);
            t.fieldPut(3, -12.5 * i);
            t.fieldPut(4, i % 2 == 0);
            t.fieldPut(5, i == 1 ? QVariant() : QVariant(QDate(2026, 12, 10 + i)));
            t.fieldPut(6, QStringLiteral("  2.1000"));
            t.fieldPut(QStringLiteral("YMBMAT"), i == 0 ? wide : QStringLiteral("Prm_Bilgileri_Kaydi"));
        }
        t.goTo(3);
        t.deleteRecord();
    }
    const QJsonObject peer = readWithDbfread(path);
    EXPECT_EQ(peer.value(QStringLiteral("headerlen")).toInt(), 32 + 32 * 25 + 1);
    EXPECT_EQ(peer.value(QStringLiteral("recordlen")).toInt(), 1 + 25 + 5 + 10 + 1 + 8 + 11 + 18 * 11 + 1020);
    const QJsonArray first = peer.value(QStringLiteral("records")).toArray().at(0).toArray();
    EXPECT_EQ(first.at(24).toString(), wide);
    EXPECT_EQ(first.at(0).toString(), QStringLiteral("ŞEKER PANCARI"));
    EXPECT_EQ(peer.value(QStringLiteral("records")).toArray().size(), 2);
    DbfTable t(path, true, true);
    expectSameAsPeer(t, peer);
}

TEST(DbfPeer, TablesOfOtherWritersReadTheSameAsTheIndependentReaderReadsThem)
{
    if (!haveDbfread())
        FAIL() << "/usr/bin/python3 has no dbfread (tools/deps.sh installs it)";
    const QStringList files = {QStringLiteral("dbase3_eof.dbf"), QStringLiteral("dbase3_noeof.dbf"),
                               QStringLiteral("foxpro_cp.dbf"), QStringLiteral("clipper_wide.dbf")};
    for (const QString &name : files) {
        SCOPED_TRACE(name.toStdString());
        DbfTable t(fixture(name), true, true);
        expectSameAsPeer(t, readWithDbfread(fixture(name)));
    }
}

// The index file against an independent reader of compound indexes (Perl's XBase::Index).
TEST(DbfPeer, TheUserIndexReadsTheSameInAnIndependentIndexReader)
{
    QProcess probe;
    probe.start(QStringLiteral("perl"), {QStringLiteral("-MXBase::Index"), QStringLiteral("-e1")});
    if (!probe.waitForFinished(20000) || probe.exitStatus() != QProcess::NormalExit || probe.exitCode() != 0)
        FAIL() << "perl has no XBase::Index (Debian libdbd-xbase-perl) (tools/deps.sh installs it)";
    QTemporaryDir dir;
    const QString table = dir.filePath(QStringLiteral("KULLANICIID.DBF"));
    const QString index = dir.filePath(QStringLiteral("KULLIDX.CDX"));
    ASSERT_TRUE(DbfFileSpec(table).create({{QStringLiteral("KULL_ID"), u'C', 20, 0}, {QStringLiteral("PASSWORD"), u'C', 20, 0}}));
    DbfTable t(table, false, false);
    QStringList expected;
    for (int i = 0; i < 200; ++i) {
        const QString name = i == 0 ? QStringLiteral("PLNV") : QStringLiteral("K%1 Ş").arg((i * 7919) % 10007, 5, 10, QChar(u'0'));
        ASSERT_TRUE(t.append());
        t.fieldPut(1, name);
        expected << QStringLiteral("%1=%2").arg(name).arg(i + 1);
    }
    t.append();
    t.fieldPut(1, QStringLiteral("PLNV")); // a second PLNV: not in the index
    ASSERT_TRUE(t.createIndex(index, QStringLiteral("KULLIDX"), QStringLiteral("KULL_ID"), true));
    t.close();
    std::sort(expected.begin(), expected.end(), [](const QString &a, const QString &b) {
        return Cp1254Codec::encode(a.section(u'=', 0, 0)) < Cp1254Codec::encode(b.section(u'=', 0, 0));
    });

    const char *script = R"(
use XBase::Index;
my $idx = XBase::Index->new($ARGV[0], tag => 'KULLIDX', type => 'C') or die XBase::Index->errstr;
$idx->prepare_select;
while (my ($key, $val) = $idx->fetch) { print "$key=$val\n" }
$idx->prepare_select_eq('P');
my ($key, $val) = $idx->fetch;
print "seek P: $key=$val\n";
)";
    QProcess p;
    p.start(QStringLiteral("perl"), {QStringLiteral("-e"), QString::fromLatin1(script), index});
    ASSERT_TRUE(p.waitForFinished(20000));
    ASSERT_EQ(p.exitCode(), 0) << p.readAllStandardError().toStdString();
    QStringList lines = Cp1254Codec::decode(p.readAllStandardOutput()).split(u'\n', Qt::SkipEmptyParts);
    ASSERT_FALSE(lines.isEmpty());
    EXPECT_EQ(lines.takeLast(), QStringLiteral("seek P: PLNV=1"));
    EXPECT_EQ(lines, expected);
}

} // namespace
