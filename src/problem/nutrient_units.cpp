#include "problem/nutrient_units.h"

#include "platform/dbf_table.h"
#include "problem/messages.h"
#include "problem/number_text.h"
#include "problem/open_problem.h"

namespace vexo {

namespace {

// The units of a known pair, in small letters: the first is 1000 of the second.
struct KnownPair
{
    const char16_t *small;
    const char16_t *large;
};
constexpr KnownPair kKnownPairs[] = {{u"kcal/kg", u"mcal/kg"}, {u"mg/kg", u"g/kg"}};

QString unitKey(const QString &unit)
{
    return unit.trimmed().toLower();
}

} // namespace

UnitCrossing unitCrossing(const QString &from, const QString &to)
{
    const QString a = unitKey(from);
    const QString b = unitKey(to);
    if (a.isEmpty() || b.isEmpty() || a == b)
        return {};
    for (const KnownPair &pair : kKnownPairs) {
        const QString small = QString::fromUtf16(pair.small);
        const QString large = QString::fromUtf16(pair.large);
        if (a == small && b == large)
            return {UnitCrossing::Scaled, 1.0, 1000.0};
        if (a == large && b == small)
            return {UnitCrossing::Scaled, 1000.0, 1.0};
    }
    return {UnitCrossing::Differ, 1.0, 1.0};
}

std::optional<QString> crossedCell(const QString &cell, const UnitCrossing &crossing)
{
    if (crossing.kind != UnitCrossing::Scaled || isBlank(cell))
        return cell;
    const double value = MROUND(Val(cell) * crossing.multiply / crossing.divide, 4);
    for (int decimals = 4; decimals >= 0; --decimals) {
        const QString text = Str(value, kCellWidth, decimals);
        if (text.size() <= kCellWidth)
            return text;
    }
    return std::nullopt;
}

QString loadedUnit(const QString &name, const QString &storedUnit)
{
    QString unit;
    if (name == u"ME_KA" || name == u"ME_RU")
        unit = QStringLiteral("MCal/Kg");
    else if (name == u"KOLIN" || name == u"DEMIR")
        unit = QStringLiteral("g/Kg");
    else
        return {};
    const UnitCrossing c = unitCrossing(storedUnit, unit);
    // Only the smaller unit of the pair is converted; the row's values are divided by 1000.
    return c.kind == UnitCrossing::Scaled && c.divide == 1000.0 ? unit : QString();
}

QString problemRowUnit(const OpenProblem &p, qsizetype j)
{
    const QString cell = p.ABMLIST.value(j).value(BMUNIT).trimmed();
    return cell.isEmpty() ? p.ABMBIRIMLERI.value(j).trimmed() : cell;
}

QHash<QString, QString> definitionUnits(DbfTable &definitions)
{
    QHash<QString, QString> units;
    for (definitions.goTop(); !definitions.eof(); definitions.skip()) {
        const QString abbreviation = definitions.fieldGet(QStringLiteral("ABRRE")).toString().trimmed();
        if (!abbreviation.isEmpty() && !units.contains(abbreviation))
            units.insert(abbreviation, definitions.fieldGet(QStringLiteral("UNIT")).toString().trimmed());
    }
    return units;
}

QString dryMatterUnit(const QHash<QString, QString> &units)
{
    const QString unit = units.value(kDryMatterNutrient).trimmed();
    return unit.isEmpty() ? QStringLiteral("%") : unit;
}

QString differingUnitsText(const QString &nutrient, const QString &problemUnit, const QString &referenceUnit,
                           UnitRoad road)
{
    QString text = QStringLiteral("%1 besin maddesinin birimi problemde \"%2\", referans veritabanında \"%3\".\r\n"
                                  "Bu iki birim birbirine çevrilemiyor.\r\n\r\n")
                       .arg(nutrient.trimmed(), problemUnit.trimmed(), referenceUnit.trimmed());
    if (road == UnitRoad::IngredientAddition)
        text += QStringLiteral("Referans değerleri olduğu gibi eklensin mi?\r\n(Hayır: hiçbir yem maddesi eklenmez.)");
    else
        text += QStringLiteral("Referans değerleri olduğu gibi alınsın ve birim \"%1\" olsun mu?\r\n"
                               "(Hayır: bu besin maddesinin dosyadaki değerleri ve birimi kalır.)")
                    .arg(referenceUnit.trimmed());
    return text;
}

bool askTakeDifferingUnit(QWidget *owner, const QString &nutrient, const QString &problemUnit,
                          const QString &referenceUnit, UnitRoad road)
{
    return askYesNo(owner, QStringLiteral("Uyarı..."), differingUnitsText(nutrient, problemUnit, referenceUnit, road),
                    MB_ICONQUESTION | MB_DEFBUTTON2);
}

QString unconvertibleValueText(const QString &nutrient, const QString &ingredient, const QString &cell,
                               const QString &fromUnit, const QString &toUnit)
{
    return QStringLiteral("%1 yem maddesinin %2 değeri (%3 %4) \"%5\" birimine çevrilince 11 karaktere sığmıyor.")
        .arg(ingredient.trimmed(), nutrient.trimmed(), cell.trimmed(), fromUnit.trimmed(), toUnit.trimmed());
}

} // namespace vexo
