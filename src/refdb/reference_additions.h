#pragma once

#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>

#include "problem/nutrient_units.h"
#include "problem/reference_tables.h"

class QWidget;

namespace vexo {

class DbfTable;

// Adding ingredients of the reference matrix to the open problem. The table stands open; positions
// of rows and columns are counted from 1 as the problem lists are numbered for the user.
class IngredientAddition
{
public:
    // `units` are the definitions' units by abbreviation (definitionUnits()); a nutrient without one
    // takes the reference contents as stored.
    IngredientAddition(DbfTable &reference, QWidget *owner, QHash<QString, QString> units = {});

    // Appends the reference records (in the given order) that the problem does not hold yet, with
    // their matrix cells; lays "AĞIRLIK" and "KM" (in its definition's unit, "%" without one) first
    // when the problem has no nutrient. Contents come in the unit of the problem's row: converted for
    // the known pairs, and where the units differ otherwise the user is asked before anything is
    // added. False when the user cancelled a matching question or declined a differing unit (what
    // this pass appended is taken back), or when the addition would pass the problem's ingredient
    // limit or `room` new ingredients or a converted value would not fit its cell (refused with a
    // message before anything changes; a negative room means the limit alone). The stock flags and
    // group columns of the new ingredients are the caller's.
    bool AMAT_YMEKLE_KY(const QList<quint32> &ASECKAYIT, int room = -1);
    // Settles nutrient row j, which has no reference column, while filling column c: 1 matched (the
    // cell is filled), 2 removed (with its ratios), 0 cancelled (also when the user declines the
    // chosen column's differing unit; nothing of the match is then kept).
    int BMKONTROL(const QString &name, int c, int j);

    // The reference matrix's field names in field order, read at the start of every addition.
    QStringList AALANADLARI;

private:
    // How the reference column `field` comes into a problem row of unit `rowUnit` for this pass's
    // records: nothing when the user declined a differing unit or a value does not fit (told).
    std::optional<UnitCrossing> settleUnit(const QString &field, const QString &rowUnit);
    // The current record's `field` in the unit its problem row was settled on.
    QString crossedReferenceCell(const QString &field);

    DbfTable &m_rm;
    QWidget *m_owner;
    ReferenceNumberReader m_numbers;
    QHash<QString, QString> m_units;
    QList<quint32> m_records;                  // this pass's records
    QHash<QString, UnitCrossing> m_crossings;  // by reference column (the nutrient's name)
};

// The ratio rows naming `oldName` name `newName` instead.
void ABMOGIRCHK(const QString &oldName, const QString &newName);
// The ratio rows naming `name` are removed.
void DELBMOGIRCHK(const QString &name);

// Adding nutrient definitions to the open problem with their contents from the reference matrix.
class NutrientAddition
{
public:
    NutrientAddition(DbfTable &reference, QWidget *owner);

    // The trimmed names of the reference records that have one, with their record numbers.
    void GETRNOOFYM();
    // Appends the definitions at the given positions of AABRRE (from 1) that the problem lacks, each
    // row in its definition's unit; lays "AĞIRLIK" and "KM" (in its definition's unit, "%" without
    // one) first when the problem has no nutrient. False when the user cancelled a
    // matching question; the nutrient rows this pass appended are then taken back.
    bool BESINMADDESIEKLE(QList<int> ASECILEN);
    // Settles ingredient i, missing from the reference, while filling matrix row `row` from field
    // `field`: 1 matched (the cell is filled), 2 removed from the problem, 0 cancelled.
    int YMKONTROL(int row, const QString &field, int i);

    QStringList AABRRE; // definitions' abbreviations
    QStringList ABIRIM; // and their units
    QStringList ARMYMADI;
    QList<quint32> ARMRECNO;

private:
    QString cellOf(quint32 record, const QString &field);
    void fillRow(int row, const QString &field, int &count, bool *aborted);

    DbfTable &m_rm;
    QWidget *m_owner;
    ReferenceNumberReader m_numbers;
};

// A text centred in `width` characters, the odd blank on the right.
QString centredIn(const QString &text, int width);
// A record number right-aligned in at least three characters, wider for larger tables.
QString recordNumberText(quint32 record, quint32 lastRecord);

} // namespace vexo
