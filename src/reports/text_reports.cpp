#include "reports/text_reports.h"

#include "platform/dbf_table.h"
#include "problem/app_globals.h"
#include "problem/dbserverr.h"
#include "problem/messages.h"
#include "problem/number_text.h"
#include "problem/reference_tables.h"
#include "reports/report_file.h"

#include <QDir>

namespace vexo {

namespace {

const QChar kFormFeed = u'\f';
const QString kCellBlanks(kCellWidth, u' ');
// A row opens a new page when the line counter has passed this; a head leaves it at kHeadLines.
constexpr int kLastRowLine = 58;
constexpr int kHeadLines = 6;
constexpr int kNewStripLine = 99;
// The page number starts in this column (from 1) of its line.
constexpr int kPageTextColumn = 76;

QString padded(const QString &text, int width)
{
    return text.leftJustified(width, u' ', true);
}

QString rightAligned(const QString &text, int width)
{
    return text.rightJustified(width, u' ', true);
}

QString pageLine()
{
    return QString(kPageTextColumn - 1, u' ');
}

// The line counter and page number of one column strip.
class StripPages
{
public:
    // Whether the next row needs a page head first; if so, counts the new page.
    bool headDue()
    {
        if (m_counter <= kLastRowLine)
            return false;
        ++m_page;
        m_counter = kHeadLines;
        return true;
    }
    void countRow() { ++m_counter; }
    int page() const { return m_page; }

private:
    int m_counter = kNewStripLine;
    int m_page = 0;
};

} // namespace

QString reportPageText(int strip, int page)
{
    return QStringLiteral("Sayfa ") + Str(strip, 2, 0) + u'.' + QString::number(page);
}

QString DOAMATREPORT(const QStringList &ingredients, const QStringList &nutrients, const RowList &matrix,
                     const QString &problemName)
{
    const qsizetype total = ingredients.size();
    QString out;
    qsizetype placed = 0;
    for (int strip = 1; placed < total; ++strip) {
        const bool firstStrip = strip == 1;
        // The first strip gives one of its seven columns to the nutrient names.
        const qsizetype columns = firstStrip ? kReportStripColumns - 1 : kReportStripColumns;
        QStringList heads;
        if (firstStrip)
            heads << padded(QStringLiteral("Besin Maddesi"), kBmNameWidth);
        for (qsizetype k = 0; k < columns; ++k) {
            const qsizetype i = placed + k;
            heads << (i < total ? rightAligned(ingredients[i].trimmed(), kCellWidth) : kCellBlanks);
        }
        const QString headLine = QStringLiteral("  ") + heads.join(u' ');

        StripPages pages;
        for (qsizetype r = 0; r < nutrients.size(); ++r) {
            if (pages.headDue()) {
                const QString pageText = reportPageText(strip, pages.page());
                if (pages.page() > 1)
                    out += kFormFeed;
                out += blankReportLine();
                if (firstStrip && pages.page() == 1) {
                    out += reportLine(centred(QStringLiteral("VEXO_Zud S 2.6 AKTİF MATRİS RAPORU"), kReportLineWidth));
                    out += blankReportLine();
                    out += reportLine(QStringLiteral("  ")
                                      + padded(problemName + QStringLiteral(".VKD MATRİSİ"), kPageTextColumn - 3)
                                      + pageText);
                } else {
                    out += reportLine(pageLine() + pageText);
                }
                out += blankReportLine();
                out += pages.page() == 1 ? reportLine(headLine) : blankReportLine();
            }
            QString row = QStringLiteral("  ");
            if (firstStrip)
                row += padded(nutrients[r], kBmNameWidth);
            const Row cells = matrix.value(r);
            for (qsizetype k = 0; k < columns; ++k) {
                const qsizetype i = placed + k;
                row += u' ' + (i < total ? rightAligned(cells.value(i).trimmed(), kCellWidth) : kCellBlanks);
            }
            out += reportLine(row);
            pages.countRow();
        }
        if (!nutrients.isEmpty())
            out += kFormFeed;
        placed += columns;
    }
    return out;
}

int ReferenceRecords::position(const QString &name) const
{
    const QList<Field> all = fields();
    for (qsizetype i = 0; i < all.size(); ++i)
        if (all[i].name.compare(name, Qt::CaseInsensitive) == 0)
            return int(i) + 1;
    return 0;
}

QList<ReferenceRecords::Field> TableReferenceRecords::fields() const
{
    QList<Field> out;
    for (const DbfField &f : m_table.dbStruct())
        out.append({f.name, f.width});
    return out;
}

bool TableReferenceRecords::first()
{
    return m_table.goTop() && !m_table.status();
}

bool TableReferenceRecords::next()
{
    return m_table.skip(1) && !m_table.status();
}

bool TableReferenceRecords::atEnd() const
{
    return m_table.eof();
}

quint32 TableReferenceRecords::recordNumber() const
{
    return m_table.recNo();
}

QString TableReferenceRecords::value(int pos)
{
    const DbfStructure structure = m_table.dbStruct();
    if (pos < 1 || pos > structure.size())
        return {};
    const DbfField &field = structure[pos - 1];
    const QVariant v = m_table.fieldGet(pos);
    if (field.type == u'N' || field.type == u'F')
        return Str(v.toDouble(), field.width, field.decimals);
    return v.toString();
}

QString TableReferenceRecords::error() const
{
    return m_table.status() ? m_table.status()->text() : QString();
}

namespace {

TableReport readFailure(const ReferenceRecords &records)
{
    const QString why = records.error();
    return {QString(), why.isEmpty() ? QStringLiteral("?") : why};
}

} // namespace

TableReport DOHMFIATLIST(ReferenceRecords &records)
{
    const int code = records.position(QStringLiteral("KOD"));
    const int name = records.position(QStringLiteral("YM_ADI"));
    const int price = records.position(QStringLiteral("FIATI"));
    const QString indent(5, u' ');
    QString out = reportLine(QString(10, u' ') + QStringLiteral("VEXO_Zud S 2.6 YEM MADDESİ FİYATLARI"));
    out += blankReportLine();
    out += reportLine(indent + centred(QStringLiteral("NO"), 5) + centred(QStringLiteral("YEM MADDESİ ADI"), 25)
                      + u' ' + rightAligned(QStringLiteral("FİYATI"), kCellWidth));
    out += reportLine(indent + QString(42, u'-'));
    if (!records.first())
        return readFailure(records);
    while (!records.atEnd()) {
        out += reportLine(indent + centred(records.value(code), 5) + padded(records.value(name).trimmed(), 25)
                          + u' ' + rightAligned(records.value(price).trimmed(), kCellWidth));
        if (!records.next())
            return readFailure(records);
    }
    return {out, {}};
}

TableReport DORM_REPORT(ReferenceRecords &records)
{
    const QList<ReferenceRecords::Field> fields = records.fields();
    const int total = int(fields.size());
    const int namePos = 2;
    const int nameWidth = total >= namePos ? fields[namePos - 1].width : 25;
    auto fieldName = [&](int pos) { return pos <= total ? fields[pos - 1].name : QString(); };

    if (!records.first())
        return readFailure(records);
    QString out;
    // A table without records prints nothing.
    if (records.atEnd())
        return {out, {}};
    int placed = 0;
    for (int strip = 1; placed < total; ++strip) {
        const bool firstStrip = strip == 1;
        const int firstField = placed + 1;
        QString headLine = QStringLiteral("  ");
        if (firstStrip) {
            headLine += padded(fieldName(1), 3) + u' ' + padded(fieldName(2), nameWidth);
            for (int pos = 3; pos <= kReportStripColumns; ++pos)
                headLine += u' ' + rightAligned(fieldName(pos), kCellWidth);
        } else {
            QStringList heads;
            for (int k = 0; k < kReportStripColumns; ++k)
                heads << rightAligned(fieldName(firstField + k), kCellWidth);
            headLine += heads.join(u' ');
        }

        if (!firstStrip && !records.first())
            return readFailure(records);
        StripPages pages;
        bool reachedEnd = false;
        for (;;) {
            if (pages.headDue()) {
                if (pages.page() > 1)
                    out += kFormFeed + blankReportLine();
                out += blankReportLine();
                if (firstStrip && pages.page() == 1) {
                    out += reportLine(centred(QStringLiteral("VEXO_Zud S 2.6 TEMEL MATRİS'i"), kReportLineWidth));
                    out += blankReportLine();
                }
                out += reportLine(pageLine() + reportPageText(strip, pages.page()));
                out += blankReportLine();
                out += reportLine(headLine);
            }
            QStringList cells;
            for (int k = 0; k < kReportStripColumns; ++k) {
                const int pos = firstField + k;
                if (pos > total) {
                    cells << kCellBlanks;
                } else if (firstStrip && pos == 1) {
                    cells << Str(records.recordNumber(), 3, 0);
                } else if (firstStrip && pos == namePos) {
                    cells << padded(records.value(pos), nameWidth);
                } else if (firstStrip && pos == 4) {
                    cells << rightAligned(records.value(pos).trimmed(), kCellWidth);
                } else {
                    cells << records.value(pos);
                }
            }
            out += reportLine(QStringLiteral("  ") + cells.join(u' '));
            pages.countRow();
            if (!records.next())
                return readFailure(records);
            if (records.atEnd()) {
                reachedEnd = true;
                break;
            }
            if (records.value(namePos).trimmed().isEmpty())
                break;
        }
        if (reachedEnd)
            out += kFormFeed;
        placed += kReportStripColumns;
    }
    return {out, {}};
}

namespace {

QString tempDataFile(const QString &name)
{
    return QDir(appGlobals().CVERIKOK).filePath(QStringLiteral("Temp_Data/") + name);
}

// Opens the reference matrix, builds the report from it, closes it again whatever happened, and
// writes the report when the whole table was read.
bool writeReferenceReport(QWidget *owner, TableReport (*build)(ReferenceRecords &), const QString &path)
{
    if (!RMDATAFOPEN())
        return false;
    std::unique_ptr<DBSERVERR> &table = referenceTables().ORMDBF;
    TableReferenceRecords records(*table);
    const TableReport report = build(records);
    table->close();
    table.reset();
    if (!report.ok()) {
        ERRMESS(owner, QString(), kReferenceMatrixFile + QStringLiteral(" veri dosyası okunamadı! : ") + report.error);
        return false;
    }
    return RFILEANDTEXT(owner, path, report.text);
}

} // namespace

QString activeMatrixReportPath()
{
    return tempDataFile(QStringLiteral("Aktif_Matris_Muhteva_Raporu.TXT"));
}

QString priceListReportPath()
{
    return tempDataFile(QStringLiteral("Yem_Maddesi_Fiyat_Listesi.TXT"));
}

QString referenceMatrixReportPath()
{
    return tempDataFile(QStringLiteral("HK_Referans_Matris.TXT"));
}

bool writeActiveMatrixReport(QWidget *owner)
{
    // Copies: the report reads the matrix as it was when it started.
    const OpenProblem &problem = openProblem();
    const QStringList ingredients = problem.AYMADLARI;
    const QStringList nutrients = problem.ABMADLARI;
    const RowList matrix = problem.AAMAT;
    return RFILEANDTEXT(owner, activeMatrixReportPath(), DOAMATREPORT(ingredients, nutrients, matrix, PROBFILENAME()));
}

bool writePriceListReport(QWidget *owner)
{
    return writeReferenceReport(owner, DOHMFIATLIST, priceListReportPath());
}

bool writeReferenceMatrixReport(QWidget *owner)
{
    return writeReferenceReport(owner, DORM_REPORT, referenceMatrixReportPath());
}

} // namespace vexo
