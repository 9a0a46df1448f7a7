// The active-matrix report, the ingredient price list and the reference-matrix report: golden files
// byte for byte, one layout checker over every output, and the reference table's roads (a read that
// fails part way, the table closed afterwards, the report folder made when missing).
#include "platform/cp1254_codec.h"
#include "platform/dbf_filespec.h"
#include "problem/app_globals.h"
#include "problem/dbserverr.h"
#include "problem/reference_tables.h"
#include "reports/last_report.h"
#include "reports/report_file.h"
#include "reports/text_reports.h"
#include "scripted_messages.h"
#include "source_tree.h"
#include "file_bytes.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace vexo;
using namespace vexo::test;

namespace {

// The layout every paged report and the price list keep: lines of exactly 100 characters ended by
// CR LF; a form feed is one byte in front of a line (or the last byte, closing the last strip) and the
// line after it is blank; a page number starts in column 76.
void expectReportLayout(const QByteArray &bytes, const std::string &name)
{
    const QString text = Cp1254Codec::decode(bytes);
    qsizetype at = 0;
    int line = 0;
    while (at < text.size()) {
        ++line;
        const bool formFeed = text.at(at) == u'\f';
        if (formFeed) {
            ++at;
            if (at == text.size())
                break; // the form feed that ends the last strip
        }
        const QString body = text.mid(at, kReportLineWidth);
        ASSERT_EQ(body.size(), kReportLineWidth) << name << " line " << line;
        ASSERT_EQ(text.mid(at + kReportLineWidth, 2), QStringLiteral("\r\n")) << name << " line " << line;
        EXPECT_FALSE(body.contains(u'\f') || body.contains(u'\r') || body.contains(u'\n')) << name << " line " << line;
        if (formFeed) {
            EXPECT_EQ(body.trimmed(), QString()) << name << " line " << line << ": a page opens with a blank line";
        }
        const qsizetype page = body.indexOf(QStringLiteral("Sayfa "));
        if (page >= 0) {
            EXPECT_EQ(page, 75) << name << " line " << line;
            EXPECT_TRUE(QRegularExpression(QStringLiteral("^Sayfa [ 1-9][0-9]\\.[1-9][0-9]* *$")).match(body.mid(page)).hasMatch())
                << name << " line " << line;
        }
        at += kReportLineWidth + 2;
    }
}

void expectGolden(const QString &text, const QString &name)
{
    const QByteArray bytes = Cp1254Codec::encode(text);
    expectReportLayout(bytes, name.toStdString());
    const QString golden = sourceTree() + QStringLiteral("/tests/reports/golden/text_reports/") + name;
    if (qEnvironmentVariableIsSet("VEXO_UPDATE_GOLDEN")) {
        QFile out(golden);
        ASSERT_TRUE(out.open(QIODevice::WriteOnly)) << golden.toStdString();
        out.write(bytes);
    }
    EXPECT_EQ(bytes, readBytes(golden)) << name.toStdString() << "\n" << bytes.toStdString();
}

// The nutrient rows and matrix of a problem: cell (r, i) holds r and i so a misplaced cell shows.
struct MatrixShape
{
    QStringList ingredients;
    QStringList nutrients;
    RowList matrix;
};

MatrixShape shape(int ingredientCount, int nutrientCount)
{
    MatrixShape s;
    for (int i = 1; i <= ingredientCount; ++i)
        s.ingredients << QStringLiteral("YM%1").arg(i).leftJustified(kYmNameWidth);
    for (int r = 1; r <= nutrientCount; ++r) {
        s.nutrients << QStringLiteral("B%1").arg(r).leftJustified(kBmNameWidth);
        Row row;
        for (int i = 1; i <= ingredientCount; ++i)
            row << QStringLiteral("%1.%2").arg(r).arg(i, 2, 10, QLatin1Char('0')).rightJustified(kCellWidth);
        s.matrix << row;
    }
    return s;
}

int count(const QByteArray &bytes, char c)
{
    return int(bytes.count(c));
}

// A reference matrix made through the table layer: KOD of the width given, the name, price and group,
// then `nutrients` nutrient columns N1, N2, ...; each record is {name, price, group}, and nutrient k of
// record r holds "r/k".
QString makeReferenceTable(const QString &folder, int kodWidth, int nutrients, const QList<QStringList> &records)
{
    const QString path = QDir(folder).filePath(kReferenceMatrixFile);
    DbfStructure fields = {
        {QStringLiteral("KOD"), u'N', kodWidth, 0},
        {QStringLiteral("YM_ADI"), u'C', 25, 0},
        {QStringLiteral("FIATI"), u'C', 11, 0},
        {QStringLiteral("GRUBU"), u'C', 11, 0},
    };
    for (int k = 1; k <= nutrients; ++k)
        fields.append({QStringLiteral("N%1").arg(k), u'C', 11, 0});
    EXPECT_TRUE(DbfFileSpec(path).create(fields));
    DBSERVERR table(path, false, false);
    EXPECT_FALSE(table.status());
    int r = 0;
    for (const QStringList &record : records) {
        ++r;
        EXPECT_TRUE(table.append());
        table.fieldPut(QStringLiteral("KOD"), double(r * 7));
        table.fieldPut(QStringLiteral("YM_ADI"), record.value(0));
        table.fieldPut(QStringLiteral("FIATI"), record.value(1));
        table.fieldPut(QStringLiteral("GRUBU"), record.value(2));
        for (int k = 1; k <= nutrients; ++k)
            table.fieldPut(QStringLiteral("N%1").arg(k), QStringLiteral("%1/%2").arg(r).arg(k).rightJustified(kCellWidth));
    }
    table.commit();
    table.close();
    return path;
}

QList<QStringList> namedRecords(int n)
{
    QList<QStringList> out;
    for (int r = 1; r <= n; ++r)
        out << QStringList{QStringLiteral("YEM %1").arg(r), QStringLiteral("  %1.50").arg(r), QStringLiteral("G%1").arg(r % 3)};
    return out;
}

TableReport buildFrom(const QString &path, TableReport (*build)(ReferenceRecords &))
{
    DBSERVERR table(path, false, true);
    EXPECT_FALSE(table.status());
    TableReferenceRecords records(table);
    return build(records);
}

} // namespace

TEST(ActiveMatrixReport, GoldenStripsAndPages)
{
    MatrixShape turkish = shape(6, 3);
    turkish.ingredients[0] = QStringLiteral("  SOYA KÜSPESİ %44       "); // longer than a column: cut
    turkish.ingredients[2] = QStringLiteral("ŞEKER PANCARI POSASI");
    turkish.nutrients[1] = QStringLiteral("ÇİNKO (İz)     ");
    turkish.matrix[0][3] = QString(kCellWidth, u' ');          // no value: 11 blanks
    turkish.matrix[2][5] = QStringLiteral("   12.5    ");       // trimmed, then right-aligned
    const struct
    {
        const char *golden;
        MatrixShape shape;
        QString problem;
    } cases[] = {
        {"amat_6_ingredients.TXT", turkish, QStringLiteral("BUZAĞI")},
        {"amat_7_ingredients.TXT", shape(7, 3), QStringLiteral("SIGIR")},
        {"amat_53_nutrients.TXT", shape(2, 53), QStringLiteral("TAVUK")},
        // Two strips of two pages each; a problem name too long for its place is cut.
        {"amat_54_nutrients_2_strips.TXT", shape(8, 54), QString(90, u'Ğ')},
    };
    for (const auto &c : cases)
        expectGolden(DOAMATREPORT(c.shape.ingredients, c.shape.nutrients, c.shape.matrix, c.problem),
                     QString::fromLatin1(c.golden));
}

TEST(ActiveMatrixReport, FormFeedsSeparatePagesAndStrips)
{
    const struct
    {
        int ingredients, nutrients;
        int formFeeds; // one per further page of a strip, one after each strip
        int pageLines;
    } cases[] = {
        {6, 53, 1, 1}, {6, 54, 2, 2}, {7, 53, 2, 2}, {8, 54, 4, 4}, {20, 106, 6, 6}, {20, 107, 9, 9},
    };
    for (const auto &c : cases) {
        const MatrixShape s = shape(c.ingredients, c.nutrients);
        const QByteArray bytes = Cp1254Codec::encode(DOAMATREPORT(s.ingredients, s.nutrients, s.matrix, QStringLiteral("P")));
        expectReportLayout(bytes, std::to_string(c.ingredients) + "x" + std::to_string(c.nutrients));
        EXPECT_EQ(count(bytes, '\f'), c.formFeeds) << c.ingredients << "x" << c.nutrients;
        EXPECT_EQ(int(bytes.count("Sayfa ")), c.pageLines) << c.ingredients << "x" << c.nutrients;
        EXPECT_TRUE(bytes.endsWith('\f'));
    }
}

TEST(ActiveMatrixReport, NoIngredientsGiveAnEmptyReport)
{
    const MatrixShape s = shape(0, 4);
    EXPECT_EQ(DOAMATREPORT(s.ingredients, s.nutrients, s.matrix, QStringLiteral("P")), QString());
}

TEST(ActiveMatrixReport, TurkishLettersAreWindows1254Bytes)
{
    const MatrixShape s = shape(1, 1);
    const QByteArray bytes = Cp1254Codec::encode(DOAMATREPORT(s.ingredients, s.nutrients, s.matrix, QStringLiteral("P")));
    // "AKTİF MATRİS RAPORU" and "P.VKD MATRİSİ": İ is one byte, 0xDD.
    EXPECT_TRUE(bytes.contains("AKT\xDD" "F MATR\xDD" "S RAPORU"));
    EXPECT_TRUE(bytes.contains("  P.VKD MATR\xDD" "S\xDD"));
}

TEST(ReferenceReports, GoldenPriceListAndMatrix)
{
    QTemporaryDir dir;
    QList<QStringList> broken = namedRecords(5);
    broken[2] = {QString(), QStringLiteral("9.99"), QStringLiteral("G0")}; // an empty name in record 3
    broken[0][0] = QStringLiteral("  MISIR (İTHAL) ŞEKERLİ"); // stored with its leading blanks
    broken[1][2] = QStringLiteral("   KABA");
    const struct
    {
        const char *golden;
        int kodWidth, nutrients;
        QList<QStringList> records;
        TableReport (*build)(ReferenceRecords &);
    } cases[] = {
        {"price_list_kod5.TXT", 5, 3, broken, DOHMFIATLIST},
        {"price_list_kod3.TXT", 3, 3, namedRecords(4), DOHMFIATLIST},
        {"rm_empty_name_record_3.TXT", 5, 9, broken, DORM_REPORT},
        {"rm_55_records_2_strips.TXT", 5, 9, namedRecords(55), DORM_REPORT},
    };
    for (const auto &c : cases) {
        QFile::remove(QDir(dir.path()).filePath(kReferenceMatrixFile));
        const QString path = makeReferenceTable(dir.path(), c.kodWidth, c.nutrients, c.records);
        const TableReport report = buildFrom(path, c.build);
        ASSERT_TRUE(report.ok()) << c.golden << ": " << report.error.toStdString();
        expectGolden(report.text, QString::fromLatin1(c.golden));
    }
}

TEST(ReferenceReports, AnEmptyNameEndsEveryStripWithoutAFormFeed)
{
    QTemporaryDir dir;
    QList<QStringList> records = namedRecords(6);
    records[3][0] = QStringLiteral("   "); // record 4 is blank but for its blanks
    // 18 nutrients: 22 fields in four strips.
    const QString path = makeReferenceTable(dir.path(), 5, 18, records);
    const TableReport report = buildFrom(path, DORM_REPORT);
    ASSERT_TRUE(report.ok());
    const QByteArray bytes = Cp1254Codec::encode(report.text);
    EXPECT_EQ(count(bytes, '\f'), 0);
    EXPECT_EQ(int(bytes.count("Sayfa ")), 4);
    for (const char *seen : {"  1 YEM 1", "  2 YEM 2", "  3 YEM 3", "3/18"})
        EXPECT_TRUE(bytes.contains(seen)) << seen;
    for (const char *unseen : {"YEM 5", "5/1", "4/1", "6/18"})
        EXPECT_FALSE(bytes.contains(unseen)) << unseen;
    // The price list prints every record, the blank one and those after it included.
    const TableReport list = buildFrom(path, DOHMFIATLIST);
    ASSERT_TRUE(list.ok());
    EXPECT_TRUE(list.text.contains(QStringLiteral("YEM 6")));
    EXPECT_EQ(list.text.count(QStringLiteral("\r\n")), 4 + 6);
}

TEST(ReferenceReports, AnUnreadableRecordStopsTheReportWithTheTablesError)
{
    for (auto build : {DOHMFIATLIST, DORM_REPORT}) {
        QTemporaryDir dir;
        const QString path = makeReferenceTable(dir.path(), 5, 3, namedRecords(5));
        DBSERVERR table(path, false, true);
        ASSERT_FALSE(table.status());
        // The file loses its last three records while the table is open.
        const qint64 recordLength = 1 + 5 + 25 + 11 + 11 + 3 * 11;
        QFile file(path);
        ASSERT_TRUE(file.resize(file.size() - 1 - 3 * recordLength)); // the end mark and three records
        TableReferenceRecords records(table);
        const TableReport report = build(records);
        EXPECT_FALSE(report.ok());
        EXPECT_EQ(report.text, QString());
        EXPECT_TRUE(report.error.contains(QStringLiteral("kayıt 3"))) << report.error.toStdString();
    }
}

class ReportCommandRoads : public ::testing::Test
{
protected:
    void SetUp() override
    {
        saved = appGlobals();
        appGlobals().CVERIKOK = root.path();
        lastReport().clear();
    }
    void TearDown() override
    {
        closeReferenceTables();
        appGlobals() = saved;
        lastReport().clear();
    }

    // The reference table is closed: nothing holds it and an exclusive open succeeds.
    void expectTableClosed()
    {
        EXPECT_FALSE(referenceTables().ORMDBF);
        DBSERVERR again(QDir(root.path()).filePath(kReferenceMatrixFile), false, false);
        EXPECT_FALSE(again.status()) << again.status()->text().toStdString();
    }

    QTemporaryDir root;
    AppGlobals saved;
    ScriptedMessages messages;
};

TEST_F(ReportCommandRoads, AMissingReferenceMatrixGivesTheOpenersMessageAndNoReport)
{
    for (auto write : {writePriceListReport, writeReferenceMatrixReport}) {
        messages.clear();
        EXPECT_FALSE(write(nullptr));
        ASSERT_EQ(messages.shown().size(), 1);
        EXPECT_EQ(messages.shown()[0].caption, QStringLiteral("Uyarı..."));
        EXPECT_EQ(messages.shown()[0].text, QStringLiteral("MATNRC6.DBF dosyası yok..!"));
        EXPECT_EQ(lastReport().CSONRAPOR(), QString());
        EXPECT_FALSE(QDir(root.path()).exists(QStringLiteral("Temp_Data")));
    }
}

TEST_F(ReportCommandRoads, ReportsAreWrittenIntoAFreshTempDataAndLeaveTheTableClosed)
{
    const struct
    {
        bool (*write)(QWidget *);
        QString path;
    } cases[] = {
        {writePriceListReport, priceListReportPath()},
        {writeReferenceMatrixReport, referenceMatrixReportPath()},
        {writeActiveMatrixReport, activeMatrixReportPath()},
    };
    for (const auto &c : cases) {
        QDir(root.path()).removeRecursively();
        QDir().mkpath(root.path());
        if (c.write != writeActiveMatrixReport)
            makeReferenceTable(root.path(), 5, 3, namedRecords(3));
        EXPECT_TRUE(c.write(nullptr)) << c.path.toStdString();
        EXPECT_TRUE(messages.shown().isEmpty());
        EXPECT_EQ(QFileInfo(c.path).path(), QDir(root.path()).filePath(QStringLiteral("Temp_Data")));
        EXPECT_EQ(lastReport().CSONRAPOR(), c.path);
        EXPECT_EQ(readBytes(c.path), Cp1254Codec::encode(lastReport().CSONRAPORMETNI()));
        if (c.write != writeActiveMatrixReport)
            expectTableClosed();
    }
    // No open problem: no ingredients, so an empty report file that is still the last report.
    EXPECT_TRUE(QFileInfo::exists(activeMatrixReportPath()));
    EXPECT_EQ(QFileInfo(activeMatrixReportPath()).size(), 0);
}

TEST_F(ReportCommandRoads, AnUnwritableReportIsToldAndTheTableStillCloses)
{
    makeReferenceTable(root.path(), 5, 3, namedRecords(3));
    // A file where the report folder should be.
    QFile blocker(QDir(root.path()).filePath(QStringLiteral("Temp_Data")));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    lastReport().recordText(QStringLiteral("/eski/RAPOR.TXT"), QStringLiteral("eski"));
    for (auto write : {writePriceListReport, writeReferenceMatrixReport, writeActiveMatrixReport}) {
        messages.clear();
        EXPECT_FALSE(write(nullptr));
        ASSERT_EQ(messages.shown().size(), 1);
        EXPECT_EQ(messages.shown()[0].text, QStringLiteral("Rapor dosyası oluşturma başarısız!\r\n\r\nSonra tekrar deneyiniz.."));
        EXPECT_EQ(lastReport().CSONRAPOR(), QStringLiteral("/eski/RAPOR.TXT"));
        expectTableClosed();
    }
}

TEST_F(ReportCommandRoads, AReadFailureIsToldWritesNothingAndClosesTheTable)
{
    const QString path = makeReferenceTable(root.path(), 5, 3, namedRecords(4));
    // The header promises more records than the file holds: the table refuses to read them.
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadWrite));
    ASSERT_TRUE(file.seek(4));
    const char count[4] = {9, 0, 0, 0};
    ASSERT_EQ(file.write(count, 4), 4);
    file.close();
    for (auto write : {writePriceListReport, writeReferenceMatrixReport}) {
        messages.clear();
        EXPECT_FALSE(write(nullptr));
        ASSERT_EQ(messages.shown().size(), 1);
        EXPECT_TRUE(messages.shown()[0].text.startsWith(QStringLiteral("MATNRC6.DBF veri dosyası")))
            << messages.shown()[0].text.toStdString();
        EXPECT_EQ(lastReport().CSONRAPOR(), QString());
        EXPECT_FALSE(QDir(root.path()).exists(QStringLiteral("Temp_Data")));
        EXPECT_FALSE(referenceTables().ORMDBF);
    }
}
