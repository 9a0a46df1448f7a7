#include "classes/array_server.h"

#include "platform/dbf_filespec.h"
#include "platform/dbf_table.h"

#include "file_bytes.h"

#include <gtest/gtest.h>

#include <QDate>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

using namespace vexo;

namespace {

struct Recorder : ArrayServerClient
{
    QList<int> codes;
    std::optional<bool> notify(int code, const QString &) override
    {
        codes.append(code);
        return std::nullopt;
    }
};

const QList<ArrayColumn> kColumns = {{"NAME", "C", 5, 0}, {"QTY", "N", 8, 2}, {"ON", "L", 1, 0}};

QList<QVariantList> rowsOf(const ARRAYSERVER &s)
{
    QList<QVariantList> rows;
    for (const ArrayRow &r : std::as_const(*s.DATA()))
        rows.append(*r);
    return rows;
}

} // namespace

TEST(ArraySeek, FindsTheFirstVisibleRowThatBeginsWithTheKey)
{
    struct Case
    {
        QVariant key;
        QList<int> marked;
        bool hide;
        bool found;
        quint32 recNo;
    };
    const Case cases[] = {
        {QString("AB"), {}, false, true, 1},
        {QString("AB"), {1}, false, true, 1},  // a marked row is found while marks are not hidden
        {QString("AB"), {1}, true, true, 2},   // the next matching row, not merely the next row
        {QString("A"), {1, 2}, true, true, 3},
        {QString("ABC"), {1}, true, false, 5}, // no visible match: the phantom row, not row 2
        {QString("Z"), {}, false, false, 5},
        {2.0, {}, false, false, 5},            // a number never equals a text
    };
    for (const Case &c : cases) {
        ARRAYSERVER s({{"K", "C", 3, 0}}, makeArrayData({{QString("ABC")}, {QString("AB")}, {QString("A")}, {QString("X")}}),
                      c.hide);
        for (int m : c.marked) {
            s.GOTO(m);
            s.DELETE();
        }
        Recorder client;
        s.addClient(&client);
        EXPECT_EQ(s.SEEK(c.key), c.found) << c.key.toString().toStdString();
        EXPECT_EQ(s.RECNO(), c.recNo) << c.key.toString().toStdString();
        EXPECT_EQ(client.codes, QList<int>({2, 3}));
    }
    ARRAYSERVER s({{"K", "N", 3, 0}}, makeArrayData({{1.0}, {2.0}}));
    EXPECT_TRUE(s.SEEK(ARRAYSERVER::SeekBlock([](const QVariantList &r) { return r[0].toDouble() > 1; })));
    EXPECT_EQ(s.RECNO(), 2u);
}

TEST(ArraySort, MovesMarksWithRowsAndKeepsEqualKeysInOrder)
{
    ARRAYSERVER s(kColumns, makeArrayData({{QString("B"), 2.0, false},
                                           {QString("A"), 1.0, true},
                                           {QString("B"), 1.0, false},
                                           {QString("A"), 2.0, false}}));
    s.GOTO(1);
    s.DELETE();
    Recorder client;
    s.addClient(&client);
    EXPECT_TRUE(s.SORT(QString("NOPE")));
    EXPECT_EQ(client.codes, QList<int>({2}));
    EXPECT_EQ(rowsOf(s)[0][0], "B");
    client.codes.clear();
    EXPECT_TRUE(s.SORT(ArraySymbol{"name"}));
    EXPECT_EQ(client.codes, QList<int>({2, 5}));
    QList<QVariantList> want = {{QString("A"), 1.0, true},
                                {QString("A"), 2.0, false},
                                {QString("B"), 2.0, false},
                                {QString("B"), 1.0, false}};
    EXPECT_EQ(rowsOf(s), want);
    EXPECT_EQ(s.DELMARKS(), QList<bool>({false, false, true, false}));
    EXPECT_TRUE(s.SORT(3));
    EXPECT_EQ(rowsOf(s)[3][1], 1.0);
}

TEST(ArrayText, CellTexts)
{
    const QList<ArrayColumn> cols = {
        {"C", "C", 4, 0}, {"N", "N", 7, 2}, {"D", "D", 8, 0}, {"L", "L", 1, 0}, {"M", "M", 3, 0}, {"X", "Q", 1, 0}};
    ARRAYSERVER s(cols, makeArrayData({}));
    struct Case
    {
        int column;
        QVariant value;
        QString text;
        QVariant back; // what the text reads back as
    };
    const Case cases[] = {
        {1, QString("AB"), "AB  ", QString("AB  ")},
        {1, QString("ABCDEF"), "ABCD", QString("ABCD")},
        {2, 12.5, "  12.50", 12.5},
        {2, -3.0, "  -3.00", -3.0},
        {3, QDate(2024, 3, 15), "20240315", QDate(2024, 3, 15)},
        {3, QDate(), "        ", QDate()},
        {4, true, "T", true},
        {4, false, "F", false},
        {5, QString("long memo"), "long memo", QString("long memo")},
        {6, 1.0, "", QVariant()},
    };
    for (const Case &c : cases) {
        EXPECT_EQ(s.USUAL2STRING(c.value, c.column), c.text);
        EXPECT_EQ(s.STRING2USUAL(c.text.trimmed(), c.column), c.back) << c.text.toStdString();
    }
    const std::pair<QString, bool> logicals[] = {{"Y", true}, {"y", true}, {"t", true}, {"N", false}, {"", false}, {":", false}};
    for (const auto &[text, want] : logicals)
        EXPECT_EQ(s.STRING2USUAL(text, 4), QVariant(want)) << text.toStdString();
    EXPECT_EQ(s.STRING2USUAL("15/03/2024", 3), QVariant(QDate(2024, 3, 15)));
}

TEST(ArrayText, DelimitedExportIsExactAndImportsBack)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("out.txt");
    ARRAYSERVER s(kColumns, makeArrayData({{QString("AB"), 12.5, true}}));
    Recorder client;
    s.addClient(&client);
    ASSERT_TRUE(s.COPYDELIMITED(path));
    EXPECT_EQ(test::fileBytes(path), QByteArray("AB   ,   12.50,T\r\n"));
    EXPECT_EQ(client.codes, QList<int>({2, 10}));

    ARRAYSERVER in(kColumns, makeArrayData({}));
    in.addClient(&client);
    client.codes.clear();
    ASSERT_TRUE(in.APPENDDELIMITED(path));
    EXPECT_EQ(rowsOf(in), QList<QVariantList>({{QString("AB   "), 12.5, true}}));
    EXPECT_EQ(client.codes, QList<int>({2, 10}));
    EXPECT_EQ(in.RECNO(), 1u);
    EXPECT_FALSE(in.EOF_());
    EXPECT_TRUE(in.bufferIsRow());
}

TEST(ArrayText, ExportReplacesALongerFileWhole)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("out.txt");
    ASSERT_TRUE(test::writeBytes(path, QByteArray(200, 'x')));
    ARRAYSERVER s(kColumns, makeArrayData({{QString("A"), 1.0, false}}));
    ASSERT_TRUE(s.COPYSDF(path));
    EXPECT_EQ(test::fileBytes(path), QByteArray("A        1.00F\r\n"));
}

TEST(ArrayText, DatesRoundTripThroughBothForms)
{
    QTemporaryDir dir;
    const QList<ArrayColumn> cols = {{"D", "D", 8, 0}, {"N", "C", 3, 0}};
    const QList<QVariantList> rows = {{QDate(1999, 12, 31), QString("abc")}, {QDate(), QString("ş  ")}};
    ARRAYSERVER s(cols, makeArrayData(rows));
    ASSERT_TRUE(s.COPYDELIMITED(dir.filePath("d.txt"), ";"));
    ASSERT_TRUE(s.COPYSDF(dir.filePath("s.txt")));
    EXPECT_EQ(test::fileBytes(dir.filePath("s.txt")), QByteArray("19991231abc\r\n        \xFE  \r\n"));
    ARRAYSERVER d(cols, makeArrayData({}));
    ASSERT_TRUE(d.APPENDDELIMITED(dir.filePath("d.txt"), ";"));
    EXPECT_EQ(rowsOf(d), rows);
    ARRAYSERVER f(cols, makeArrayData({}));
    ASSERT_TRUE(f.APPENDSDF(dir.filePath("s.txt")));
    EXPECT_EQ(rowsOf(f), rows);
}

TEST(ArrayText, ImportLines)
{
    struct Case
    {
        QByteArray file;
        bool sdf;
        bool ok;
        QList<QVariantList> rows;
    };
    const Case cases[] = {
        {"A,1,T\r\n\r\nB\r\n", false, true, {{QString("A    "), 1.0, true}, {QString("B    "), 0.0, false}}},
        {"A,1,T,X\r\n", false, false, {}},
        // After a quoted line the bar is the delimiter: commas later on no longer split.
        {"\"A\",\"2\",\"T\"\r\nB,3,T\n", false, true,
         {{QString("\"A   "), 2.0, false}, {QString("B,3,T"), 0.0, false}}},
        {"AB      1.5\r\n", true, true, {{QString("AB   "), 1.5, false}}},
        {"\"AB\"      12.50T\r\nC", true, true, {{QString("AB   "), 12.5, true}, {QString("C    "), 0.0, false}}},
        {"\r\n\r\n", true, true, {}},
    };
    QTemporaryDir dir;
    for (const Case &c : cases) {
        const QString path = dir.filePath("in.txt");
        ASSERT_TRUE(test::writeBytes(path, c.file));
        ARRAYSERVER s(kColumns, makeArrayData({{QString("OLD"), 0.0, false}}));
        EXPECT_EQ(c.sdf ? s.APPENDSDF(path) : s.APPENDDELIMITED(path), c.ok) << c.file.toStdString();
        QList<QVariantList> want = {{QString("OLD"), 0.0, false}};
        want += c.rows;
        EXPECT_EQ(rowsOf(s), want) << c.file.toStdString();
        EXPECT_EQ(s.LASTREC(), quint32(want.size()));
        EXPECT_EQ(s.DELMARKS().size(), want.size());
    }
}

TEST(ArrayText, MissingFileIsAFailureWithoutNotification)
{
    QTemporaryDir dir;
    ARRAYSERVER s(kColumns, makeArrayData({{QString("A"), 1.0, false}}));
    Recorder client;
    s.addClient(&client);
    EXPECT_FALSE(s.APPENDDELIMITED(dir.filePath("none.txt")));
    EXPECT_FALSE(s.APPENDSDF(dir.filePath("none.txt")));
    EXPECT_FALSE(s.APPENDDB(dir.filePath("none.dbf")));
    EXPECT_FALSE(s.COPYSDF(dir.filePath("no/such/folder.txt")));
    EXPECT_EQ(s.LASTREC(), 1u);
    ASSERT_TRUE(test::writeBytes(dir.filePath("empty.txt"), {}));
    EXPECT_TRUE(s.APPENDDELIMITED(dir.filePath("empty.txt")));
    EXPECT_TRUE(client.codes.isEmpty());
}

namespace {

const char *kReader = R"(
import json, sys, dbfread
t = dbfread.DBF(sys.argv[1], encoding='cp1254', load=True)
print(json.dumps([[str(v) for v in r.values()] for r in t.records]))
)";

QString readWithDbfread(const QString &path)
{
    QProcess p;
    p.start(QStringLiteral("/usr/bin/python3"), {QStringLiteral("-c"), QString::fromLatin1(kReader), path});
    EXPECT_TRUE(p.waitForFinished(20000));
    EXPECT_EQ(p.exitCode(), 0) << p.readAllStandardError().toStdString();
    return QString::fromUtf8(p.readAllStandardOutput()).trimmed();
}

} // namespace

TEST(ArrayTables, CopyIntoNewAndExistingTablesAndBack)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("ROWS.DBF");
    const QList<ArrayColumn> cols = {{"NAME", "C", 5, 0}, {"QTY", "N", 8, 2}, {"DAY", "D", 8, 0}};
    ARRAYSERVER s(cols, makeArrayData({{QString("Ağ"), 12.5, QDate(2024, 3, 15)}, {QString("B"), -1.0, QDate()}}));
    ASSERT_TRUE(s.COPYDB(path));
    EXPECT_EQ(readWithDbfread(path),
              "[[\"A\\u011f\", \"12.5\", \"2024-03-15\"], [\"B\", \"-1.0\", \"None\"]]");

    // An existing table with other fields: rows are added, missing fields stay blank.
    ASSERT_TRUE(DbfFileSpec(dir.filePath("OTHER.DBF")).create({{"NAME", u'C', 3, 0}, {"EXTRA", u'C', 2, 0}}));
    ASSERT_TRUE(s.COPYDB(dir.filePath("OTHER.DBF")));
    ASSERT_TRUE(s.COPYDB(path));
    EXPECT_EQ(readWithDbfread(dir.filePath("OTHER.DBF")), "[[\"A\\u011f\", \"\"], [\"B\", \"\"]]");
    EXPECT_EQ(readWithDbfread(path).count("2024-03-15"), 2);

    // Back from a table that lacks a column: that cell stays NIL.
    ARRAYSERVER back({{"NAME", "C", 5, 0}, {"GONE", "N", 3, 0}}, makeArrayData({}));
    Recorder client;
    back.addClient(&client);
    ASSERT_TRUE(back.APPENDDB(dir.filePath("OTHER.DBF")));
    ASSERT_EQ(back.LASTREC(), 2u);
    EXPECT_EQ(rowsOf(back)[0], QVariantList({QString("Ağ "), QVariant()}));
    EXPECT_EQ(client.codes, QList<int>({2, 10}));

    EXPECT_FALSE(s.COPYDB(dir.filePath("no/such/T.DBF")));
    DbfTable closed;
    EXPECT_FALSE(s.COPYDB(closed));
}
