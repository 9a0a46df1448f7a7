#pragma once
// One unit per nutrient row. A nutrient's limits and every ingredient's content of it are in the
// unit its row names, whichever road brought the values: the load's conversion of older units, an
// ingredient or a nutrient added from the reference database, contents read from the reference
// matrix on load. These are the rules every road uses; none needs a window (the question goes
// through the message seam).

#include <QHash>
#include <QString>

#include <optional>

class QWidget;

namespace vexo {

class DbfTable;
class OpenProblem;

// How values given in one unit are brought into another.
struct UnitCrossing
{
    enum Kind {
        Same,   // either unit blank (not given), or both name one unit: values as stored
        Scaled, // a known pair: values times `multiply`, divided by `divide`
        Differ, // two other units, both given: only the user can say what to do
    };
    Kind kind = Same;
    double multiply = 1.0;
    double divide = 1.0;

    double factor() const { return multiply / divide; }
};

// The crossing of values from the unit `from` into the unit `to`. Units are compared without their
// surrounding blanks and without regard to letter case. Known pairs: kcal/kg and MCal/kg, mg/kg and
// g/kg (a factor of 1000 either way).
UnitCrossing unitCrossing(const QString &from, const QString &to);

// A number cell carried across: blank stays blank, Same keeps the stored text, Scaled writes the
// scaled value rounded (MROUND) to four decimals right-aligned in eleven characters, as the load
// writes its converted values; a value whose integer digits need the room keeps fewer decimals.
// Nothing when even the integer digits do not fit eleven characters.
std::optional<QString> crossedCell(const QString &cell, const UnitCrossing &crossing);

// The unit the load gives a nutrient stored in an older unit, or an empty text when the load keeps
// the stored unit: "ME_KA" and "ME_RU" in kcal/kg become "MCal/Kg", "KOLIN" and "DEMIR" in mg/kg
// become "g/Kg" (names compared exactly). Limits and contents of such a row are divided by 1000.
QString loadedUnit(const QString &name, const QString &storedUnit);

// The unit of the problem's nutrient row j (from 0), trimmed: the row's unit cell, or the units
// list's entry when the cell is blank.
QString problemRowUnit(const OpenProblem &p, qsizetype j);

// The unit of every nutrient definition by its abbreviation (the first definition of an
// abbreviation counts), read from the open definitions table; the units are trimmed.
QHash<QString, QString> definitionUnits(DbfTable &definitions);

// The unit a dry-matter row laid by an addition takes: its definition's, "%" when the definitions
// give none.
QString dryMatterUnit(const QHash<QString, QString> &units);

// The road a question is asked on: it decides what the answer No means.
enum class UnitRoad {
    IngredientAddition, // No: no ingredient is added
    ReferenceLoad,      // No: the nutrient keeps the contents the file holds
};

// The question when a nutrient's units differ and cannot be converted: it names the nutrient and
// both units and says what each answer does.
QString differingUnitsText(const QString &nutrient, const QString &problemUnit, const QString &referenceUnit,
                           UnitRoad road);
// Asks it (caption "Uyarı...", question icon, No by default). True when the values are to be taken
// as they are stored.
bool askTakeDifferingUnit(QWidget *owner, const QString &nutrient, const QString &problemUnit,
                          const QString &referenceUnit, UnitRoad road);

// The message when a value brought into the problem's unit does not fit a cell.
QString unconvertibleValueText(const QString &nutrient, const QString &ingredient, const QString &cell,
                               const QString &fromUnit, const QString &toUnit);

} // namespace vexo
