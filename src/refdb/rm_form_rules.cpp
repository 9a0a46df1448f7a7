#include "refdb/rm_form_rules.h"

#include "problem/dbserverr.h"
#include "problem/number_text.h"
#include "problem/reference_tables.h"
#include "problem/turkish_text.h"

#include <QSet>

#include <algorithm>

namespace vexo {

namespace {

QString trimmedRight(QString text)
{
    while (!text.isEmpty() && text.back().isSpace())
        text.chop(1);
    return text;
}

} // namespace

QList<FormDefinition> readFormDefinitions(bool *opened)
{
    QList<FormDefinition> out;
    const bool ok = BMDATAFOPEN();
    if (opened)
        *opened = ok;
    if (!ok)
        return out;
    ReferenceTables &r = referenceTables();
    DBSERVERR &t = *r.OBMDESCDBF;
    for (t.goTop(); !t.eof(); t.skip()) {
        const QString abbreviation = t.fieldGet(QStringLiteral("ABRRE")).toString();
        if (abbreviation.trimmed().isEmpty())
            continue;
        out.append({t.fieldGet(QStringLiteral("NUM")).toInt(), t.fieldGet(QStringLiteral("NAME")).toString(),
                    abbreviation, t.fieldGet(QStringLiteral("UNIT")).toString(),
                    t.fieldGet(QStringLiteral("DECIM")).toInt()});
    }
    t.close();
    r.OBMDESCDBF.reset();
    return out;
}

QList<FormNutrientRow> formNutrientRows(const QStringList &fieldNames, const QStringList &record,
                                        const QList<FormDefinition> &definitions)
{
    QList<FormNutrientRow> rows;
    QSet<QString> owned;
    for (const FormDefinition &d : definitions) {
        const QString name = d.ABRRE.trimmed();
        if (name.isEmpty())
            continue;
        FormNutrientRow row;
        row.row = {d.NUM, d.NAME, d.ABRRE, d.UNIT, QString()};
        row.decimals = d.DECIM;
        const int field = int(fieldNames.indexOf(name, kReferenceFixedFields));
        if (field >= kReferenceFixedFields && !owned.contains(name)) {
            owned.insert(name);
            row.field = field;
            if (field < record.size())
                row.row.AVALUE = record[field];
        }
        rows.append(row);
    }
    return rows;
}

QString formCodeText(const QString &kod)
{
    return Str(Val(kod), 3, 0);
}

std::optional<QString> formPriceText(const QString &typed)
{
    if (typed.trimmed().isEmpty())
        return QString();
    if (!isTypedNumber(typed, true))
        return std::nullopt;
    bool ok = true;
    const QString text = SDAYA(typed, 3, &ok);
    if (!ok)
        return std::nullopt;
    return text;
}

std::optional<QString> formValueText(const QString &typed, int decimals)
{
    if (typed.trimmed().isEmpty())
        return QString();
    if (!isTypedNumber(typed, true))
        return std::nullopt;
    bool ok = true;
    const QString text = SDAYA3(typed.trimmed(), unsigned(std::max(decimals, 0)), 4, &ok);
    if (!ok)
        return std::nullopt;
    return text;
}

QStringList sortedFormGroups(const QStringList &groups)
{
    QStringList sorted = groups;
    std::stable_sort(sorted.begin(), sorted.end(), turkishLess);
    return sorted;
}

RmFormHandBack formHandBack(const QString &name, const QString &price, const QString &group,
                            const QList<FormNutrientRow> &rows)
{
    RmFormHandBack back;
    back.CYYADI = trimmedRight(name);
    back.CYYFIATI = trimmedRight(price);
    back.CYYGRUBU = trimmedRight(group);
    for (const FormNutrientRow &r : rows)
        back.AYYDEGERLER.append(r.row);
    return back;
}

} // namespace vexo
