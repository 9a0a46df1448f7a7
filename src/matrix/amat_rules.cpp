#include "matrix/amat_rules.h"

#include "problem/number_text.h"
#include "problem/turkish_text.h"

namespace vexo {

QString matrixNameCell(const QStringList &names, const QStringList &units, int index0)
{
    QString cell = names.value(index0).trimmed();
    const QString unit = units.value(index0).trimmed();
    if (!unit.isEmpty())
        cell += QStringLiteral(", ") + unit;
    return cell;
}

QString ingredientCaption(const QString &name)
{
    // Stored names carry trailing blanks; they are no words.
    const QString trimmed = name.trimmed();
    const QStringList words = STRING2ARRAYUSINGSEPS(trimmed, QStringLiteral(" .,;:"));
    if (words.size() < 2)
        return QStringLiteral("\r\n") + trimmed;
    const QStringList halves = SPLITARRAYASASTRING(words, 2);
    return halves.value(0).simplified() + QStringLiteral("\r\n") + halves.value(1).simplified();
}

ServerFields matrixFields(int ingredients)
{
    ServerFields fields{{QStringLiteral("MATFNAMEUNIT"), u'C', 20, 0}};
    for (int i = 1; i <= ingredients; ++i)
        fields.append({QStringLiteral("MATYMNAME") + QString::number(i), u'C', kCellWidth, 0});
    return fields;
}

QList<QStringList> matrixRows(const RowList &matrix, const QStringList &names, const QStringList &units)
{
    QList<QStringList> rows;
    for (int j = 0; j < names.size(); ++j) {
        QStringList row = matrix.value(j);
        row.prepend(matrixNameCell(names, units, j));
        rows.append(row);
    }
    return rows;
}

QStringList AKILL(const QStringList &list, int position)
{
    QStringList copy = list;
    copy.removeAt(position - 1);
    return copy;
}

RowList committedMatrix(const QList<QStringList> &rows)
{
    RowList matrix;
    for (const QStringList &row : rows)
        matrix.append(AKILL(row, 1));
    return matrix;
}

QList<int> rowDecimals(const QStringList &names, const QList<NutrientDecimals> &definitions)
{
    QList<int> decimals(names.size(), 4);
    for (const NutrientDecimals &d : definitions) {
        const int at = names.indexOf(d.abbreviation);
        if (at >= 0)
            decimals[at] = d.decimals;
    }
    return decimals;
}

std::optional<QString> pastedCell(const QString &clipboard, int decimals)
{
    const QString t = clipboard.trimmed();
    if (t.size() > kCellWidth)
        return std::nullopt;
    if (t.isEmpty())
        return emptyNumberText();
    bool read = false;
    Val(t, &read);
    if (!read || CHGALPHA1(t) != t)
        return std::nullopt;
    bool ok = false;
    const QString cell = SDAYA3(t, unsigned(qMax(0, decimals)), 4, &ok);
    if (!ok)
        return std::nullopt;
    return cell;
}

QStringList macroCandidates(const QStringList &names)
{
    QStringList candidates = names;
    candidates.removeOne(kWeightNutrient);
    return candidates;
}

std::optional<QString> scaledLinkedCell(const QString &linked, double oldValue, double newValue)
{
    const double value = oldValue == 0.0 ? 0.0 : Val(linked) / oldValue * newValue;
    const QString text = Str(MROUND2(value, 4), kCellWidth, 4);
    if (text.size() > kCellWidth || text.contains(u'*'))
        return std::nullopt;
    return text;
}

std::optional<LinkResult> linkColumn(const QStringList &column, const QStringList &names, const QString &macro,
                                     const QString &newText, const QStringList &linked)
{
    const int macroRow = int(names.indexOf(macro));
    if (macroRow < 0)
        return std::nullopt;
    const double oldValue = Val(column.value(macroRow));
    const double newValue = Val(newText);
    LinkResult result;
    for (const QString &name : linked) {
        const int row = int(names.indexOf(name));
        if (row < 0)
            continue;
        const std::optional<QString> cell = scaledLinkedCell(column.value(row), oldValue, newValue);
        if (!cell)
            return std::nullopt;
        result.writes.append({row, *cell});
    }
    result.writes.append({macroRow, newText});
    return result;
}

} // namespace vexo
