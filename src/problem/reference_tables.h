#pragma once

#include "platform/dbf_field.h"

#include <QList>
#include <QStringList>
#include <QString>

#include <functional>
#include <memory>

class QWidget;

namespace vexo {

class DBSERVERR;

inline const QString kReferenceMatrixFile = QStringLiteral("MATNRC6.DBF");
inline const QString kNutrientDefinitionFile = QStringLiteral("VMKBMDESC.DBF");
// The fields of the reference matrix before its nutrient columns.
constexpr int kReferenceFixedFields = 4;

// One nutrient definition that has a matrix column: number, abbreviation, decimals.
struct NutrientDecimals
{
    int num = 0;
    QString abbreviation;
    int decimals = 4;
};

// The reference tables as last opened; the caller of an opener owns the open table and closes it.
struct ReferenceTables
{
    std::unique_ptr<DBSERVERR> ORMDBF;
    std::unique_ptr<DBSERVERR> OBMDESCDBF;
    QList<NutrientDecimals> ABMDESC;
};

// Brings the number texts of a reference table's records into the program's own form (a decimal
// comma another program wrote counts as the point), and gathers the cells that hold no number so that
// the user is told of them once, in one box, after the whole pass.
class ReferenceNumberReader
{
public:
    explicit ReferenceNumberReader(QString table = kReferenceMatrixFile);

    // The stored price / content of `ingredient` in the own form (a content with its nutrient's
    // decimals); a text that is no number is noted and reads as blanks (no value).
    QString price(const QString &ingredient, const QString &stored);
    QString content(const QString &ingredient, const QString &column, const QString &stored);
    QString content(const QString &ingredient, const QString &column, const QString &stored, int decimals);
    // The stored text of `row`'s `column` in the form `typed` gives (see tableNumberText); a text that
    // is no number is noted and reads as blanks.
    QString number(const QString &row, const QString &column, const QString &stored,
                   const std::function<QString(const QString &, bool *)> &typed);

    bool hasFaults() const { return !m_faults.isEmpty(); }
    // "<table> tablosunda sayı olmayan değerler..." with one line per cell (the first few of many).
    QString faultText() const;
    // Shows faultText() as a warning when there were faults; the list is emptied.
    void tell(QWidget *owner);

private:
    QString noted(const QString &ingredient, const QString &column, const QString &stored);

    QString m_table;
    QStringList m_faults;
};

ReferenceTables &referenceTables();

QString referenceMatrixPath();
QString nutrientDefinitionPath();

// Open the reference matrix / nutrient definitions exclusively for reading and writing; on failure
// they tell the user and answer false.
bool RMDATAFOPEN();
bool BMDATAFOPEN();
void closeReferenceTables();

// The 56 fields of a newly created reference matrix.
DbfStructure HKM_STRCREATE();
// The nutrient-definition table's fields (`DECIM` width 3 as the definition editor creates it).
DbfStructure nutrientDefinitionStructure();
// The reference matrix rebuilt from the nutrient definitions: KOD N 3, YM_ADI C 25, FIATI C 11,
// GRUBU C 11, then one C 11 column per stored abbreviation (ABRRE) in record order. Abbreviations are
// trimmed; a blank one has no column, and of equal names (case-sensitive, the four fixed fields
// included) only the first makes one.
DbfStructure referenceLayoutFromAbbreviations(const QStringList &abbreviations);
// The same layout read from the definitions table (opened and closed again through BMDATAFOPEN); an
// empty list when the table cannot be opened, after the opener told the user why.
DbfStructure referenceLayoutFromDefinitions();
// Creates an empty reference matrix with one record whose KOD is 1.
bool RMAT_CREATE(QWidget *owner);
// Loads the decimals of the nutrients from the definitions.
void GETBMDESC();
// GETBMDESC at start-up and after the definitions changed. A data root without the definitions table
// keeps the list as it is and shows no box (the editors then use four decimals); a table that is
// there but cannot be opened is told by its opener.
void loadNutrientDecimals();
// The decimals a nutrient is entered with: its definition's, 4 when it has none.
int nutrientDecimals(const QString &abbreviation);

} // namespace vexo
