#pragma once

#include "problem/open_problem.h"

#include <QList>
#include <QString>
#include <QStringList>

class QWidget;

namespace vexo {

class DbfTable;

// The paged text reports of the active matrix and the reference matrix, and the ingredient price list.
// The builders return the whole report text; the write functions build, write the report file and make
// it the last report (the caller then opens the report pad).

// A report page holds this many rows; a column strip holds seven columns.
constexpr int kReportPageRows = 53;
constexpr int kReportStripColumns = 7;

// A page number: "Sayfa " + the strip right-aligned in two + "." + the page within the strip.
QString reportPageText(int strip, int page);

// The active matrix: ingredients are the columns, nutrients the rows, `matrix` one row per nutrient
// with one stored cell per ingredient. `problemName` is the problem file's name without folder and
// extension. No ingredients give an empty text.
QString DOAMATREPORT(const QStringList &ingredients, const QStringList &nutrients, const RowList &matrix,
                     const QString &problemName);

// The records of the reference matrix, one pass in table order.
class ReferenceRecords
{
public:
    struct Field
    {
        QString name;
        int width = 0;
    };

    virtual ~ReferenceRecords() = default;
    virtual QList<Field> fields() const = 0;
    // Move to the first record / the next one; false when the table could not read (see error()).
    virtual bool first() = 0;
    virtual bool next() = 0;
    virtual bool atEnd() const = 0;
    virtual quint32 recordNumber() const = 0;
    // The field (1-based) of the current record as stored: a text field at its full width, a number
    // right-aligned in its field's width.
    virtual QString value(int pos) = 0;
    // Why the last move failed.
    virtual QString error() const = 0;

    // The 1-based position of a field, 0 when the table has none of that name.
    int position(const QString &name) const;
};

// The reference records of an open table.
class TableReferenceRecords : public ReferenceRecords
{
public:
    explicit TableReferenceRecords(DbfTable &table) : m_table(table) {}
    QList<Field> fields() const override;
    bool first() override;
    bool next() override;
    bool atEnd() const override;
    quint32 recordNumber() const override;
    QString value(int pos) override;
    QString error() const override;

private:
    DbfTable &m_table;
};

// A report built from a table: the text, or why reading stopped (no text then).
struct TableReport
{
    QString text;
    QString error;
    bool ok() const { return error.isEmpty(); }
};

TableReport DOHMFIATLIST(ReferenceRecords &records);
TableReport DORM_REPORT(ReferenceRecords &records);

// Where the reports are written: the data root's "Temp_Data" folder.
QString activeMatrixReportPath();
QString priceListReportPath();
QString referenceMatrixReportPath();

// Build and write one report; true when the file was written and is now the last report. Failures
// have been told to the user. The reference reports open the reference matrix themselves and leave
// it closed on every road.
bool writeActiveMatrixReport(QWidget *owner);
bool writePriceListReport(QWidget *owner);
bool writeReferenceMatrixReport(QWidget *owner);

} // namespace vexo
