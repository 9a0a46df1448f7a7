#include "refdb/reference_additions.h"

#include "platform/dbf_table.h"
#include "problem/messages.h"
#include "problem/name_match.h"
#include "problem/number_text.h"
#include "problem/open_problem.h"
#include "problem/problem_saver.h"
#include "problem/reference_tables.h"

namespace vexo {

namespace {

const QString kBlankCell(kCellWidth, u' ');
const QString kFixedWeight = QStringLiteral("1.0000");

// The current record's nutrient field in the program's own number form, a text that is no number
// noted by `numbers` (or, without one, taken as blanks); blanks when the table has no such nutrient
// field (the leading fields hold the code, name, price and group, never a nutrient's content).
QString referenceCell(DbfTable &table, const QString &field, ReferenceNumberReader *numbers = nullptr)
{
    if (table.fieldPos(field) <= kReferenceFixedFields)
        return kBlankCell;
    const QString stored = table.fieldGet(field).toString();
    if (numbers)
        return numbers->content(table.fieldGet(QStringLiteral("YM_ADI")).toString(), field, stored);
    return tableContentText(stored, nutrientDecimals(field)).value_or(kBlankCell);
}

Row nutrientRow(const QString &name, const QString &unit, const QString &fixed = QString())
{
    Row row(BM_COLUMNS, kBlankCell);
    row[BMNAME] = name.leftJustified(kBmNameWidth, u' ');
    row[BMUNIT] = unit.leftJustified(kCellWidth, u' ');
    if (!fixed.isEmpty())
        row[BMFIX] = fixed;
    return row;
}

void appendNutrient(OpenProblem &p, const QString &name, const QString &unit, const QString &fixed = QString())
{
    p.ABMADLARI.append(name);
    p.ABMBIRIMLERI.append(unit);
    p.ABMLIST.append(nutrientRow(name, unit, fixed));
    p.AAMAT.append(Row());
}

// Asks the matcher with the candidates the problem does not use yet; the chosen candidate's
// position in `all` (from 0), or -1 with the answer's result when nothing was chosen.
std::pair<NameMatchAnswer::Result, int> askMatch(QWidget *owner, const QString &caption, const QString &name,
                                                 const QStringList &all, qsizetype from, const QStringList &used)
{
    QStringList offered;
    QList<int> positions;
    for (qsizetype i = from; i < all.size(); ++i) {
        if (!used.contains(all.at(i)) && !offered.contains(all.at(i))) {
            offered.append(all.at(i));
            positions.append(int(i));
        }
    }
    NameMatchAnswer answer = nameMatcher()->choose(owner, caption, name, offered);
    if (answer.result == NameMatchAnswer::Chosen) {
        if (answer.position < 1 || answer.position > positions.size())
            return {NameMatchAnswer::Cancelled, -1};
        return {NameMatchAnswer::Chosen, positions.at(answer.position - 1)};
    }
    return {answer.result == NameMatchAnswer::Skipped ? NameMatchAnswer::Skipped : NameMatchAnswer::Cancelled, -1};
}

} // namespace

QString centredIn(const QString &text, int width)
{
    const int left = qMax(0, (width - int(text.size())) / 2);
    return (QString(left, u' ') + text).leftJustified(width, u' ');
}

QString recordNumberText(quint32 record, quint32 lastRecord)
{
    const int width = qMax(3, int(QString::number(lastRecord).size()));
    return QString::number(record).rightJustified(width, u' ');
}

// --- ingredients ----------------------------------------------------------------------------------

IngredientAddition::IngredientAddition(DbfTable &reference, QWidget *owner, QHash<QString, QString> units)
    : m_rm(reference)
    , m_owner(owner)
    , m_units(std::move(units))
{
}

std::optional<UnitCrossing> IngredientAddition::settleUnit(const QString &field, const QString &rowUnit)
{
    const QString referenceUnit = m_units.value(field);
    const UnitCrossing crossing = unitCrossing(referenceUnit, rowUnit);
    if (crossing.kind == UnitCrossing::Differ) {
        if (!askTakeDifferingUnit(m_owner, field, rowUnit, referenceUnit, UnitRoad::IngredientAddition))
            return std::nullopt;
        return UnitCrossing(); // taken as stored
    }
    if (crossing.kind == UnitCrossing::Scaled) {
        for (quint32 k : m_records) {
            if (!m_rm.goTo(k))
                continue;
            const QString stored = referenceCell(m_rm, field);
            if (!crossedCell(stored, crossing)) {
                ERRMESS(m_owner, QString(),
                        unconvertibleValueText(field, m_rm.fieldGet(QStringLiteral("YM_ADI")).toString(), stored,
                                               referenceUnit, rowUnit));
                return std::nullopt;
            }
        }
    }
    return crossing;
}

QString IngredientAddition::crossedReferenceCell(const QString &field)
{
    const QString stored = referenceCell(m_rm, field, &m_numbers);
    return crossedCell(stored, m_crossings.value(field)).value_or(stored);
}

bool IngredientAddition::AMAT_YMEKLE_KY(const QList<quint32> &ASECKAYIT, int room)
{
    OpenProblem &p = openProblem();
    m_numbers = ReferenceNumberReader();
    AALANADLARI.clear();
    for (int i = 1; i <= m_rm.fCount(); ++i)
        AALANADLARI.append(m_rm.fieldName(i));

    // The names to add, known before anything changes so that too many are refused whole.
    QStringList names;
    QStringList prices;
    QList<quint32> records;
    for (quint32 k : ASECKAYIT) {
        if (!m_rm.goTo(k))
            continue;
        const QString name = m_rm.fieldGet(QStringLiteral("YM_ADI")).toString().trimmed();
        if (name.isEmpty() || p.AYMADLARI.contains(name) || names.contains(name))
            continue;
        names.append(name);
        prices.append(m_numbers.price(name, m_rm.fieldGet(QStringLiteral("FIATI")).toString()));
        records.append(k);
    }
    if (room < 0)
        room = kMaxIngredients - int(p.AYMADLARI.size());
    if (names.size() > qMin(room, kMaxIngredients - int(p.AYMADLARI.size()))) {
        ERRMESS(m_owner, QString(), tooManyIngredientsText(int(p.AYMADLARI.size() + names.size())));
        return false;
    }

    // How every row filled from a reference column takes its contents, settled before anything
    // changes: in the row's unit, or as stored where the user says so.
    const bool layBaseRows = p.AAMAT.isEmpty() && p.ABMADLARI.isEmpty();
    const QString dryMatter = dryMatterUnit(m_units);
    m_records = records;
    m_crossings.clear();
    if (!names.isEmpty()) {
        QList<std::pair<QString, QString>> rows; // nutrient, unit
        if (layBaseRows) {
            rows = {{kWeightNutrient, QStringLiteral("Kg/Kg")}, {kDryMatterNutrient, dryMatter}};
        } else {
            for (qsizetype j = 0; j < p.ABMADLARI.size(); ++j)
                rows.append({p.ABMADLARI.at(j), problemRowUnit(p, j)});
        }
        for (const auto &[nutrient, unit] : rows) {
            if (AALANADLARI.indexOf(nutrient) < kReferenceFixedFields)
                continue;
            const std::optional<UnitCrossing> crossing = settleUnit(nutrient, unit);
            if (!crossing)
                return false;
            m_crossings.insert(nutrient, *crossing);
        }
    }

    const qsizetype before = p.AYMADLARI.size();
    const bool nutrientsWereDirty = p.LBMDEG;
    bool baseRowsLaid = false;
    if (p.AAMAT.isEmpty()) {
        if (p.ABMADLARI.isEmpty()) {
            baseRowsLaid = true;
            p.ABMADLARI.clear();
            p.ABMBIRIMLERI.clear();
            p.ABMLIST.clear();
            appendNutrient(p, kWeightNutrient, QStringLiteral("Kg/Kg"), centredIn(kFixedWeight, kCellWidth));
            appendNutrient(p, kDryMatterNutrient, dryMatter);
            p.LBMDEG = true;
        } else {
            for (qsizetype i = 0; i < p.ABMADLARI.size(); ++i)
                p.AAMAT.append(Row());
        }
        // Ingredients already present get their cells in the new rows.
        for (qsizetype j = 0; j < p.AAMAT.size(); ++j) {
            const bool weight = p.ABMADLARI.at(j).trimmed() == kWeightNutrient;
            p.AAMAT[j] = Row(before, weight ? kFixedWeight.rightJustified(kCellWidth, u' ') : kBlankCell);
        }
    }

    for (qsizetype n = 0; n < names.size(); ++n) {
        m_rm.goTo(records.at(n));
        p.AYMADLARI.append(names.at(n));
        Row row(YM_COLUMNS, kBlankCell);
        row[YMNAME] = names.at(n).leftJustified(kYmNameWidth, u' ');
        row[YMPRICE] = prices.at(n);
        p.AYMLIST.append(row);
        const int c = int(p.AYMADLARI.size());
        for (int j = 1; j <= p.AAMAT.size(); ++j) {
            Row &cells = p.AAMAT[j - 1];
            cells.resize(c, kBlankCell);
            cells[c - 1] = kBlankCell;
            const QString nutrient = p.ABMADLARI.at(j - 1);
            if (AALANADLARI.indexOf(nutrient) >= kReferenceFixedFields) {
                cells[c - 1] = crossedReferenceCell(nutrient);
            } else if (nutrient.trimmed() == kWeightNutrient) {
                cells[c - 1] = kFixedWeight.rightJustified(kCellWidth, u' ');
            } else {
                const int settled = BMKONTROL(nutrient, c, j);
                if (settled == 0) {
                    // Take back this pass's ingredients, and the base rows when this pass laid them;
                    // confirmed renames and removals of the problem's own nutrients stay.
                    p.AYMADLARI.resize(before);
                    p.AYMLIST.resize(before);
                    for (Row &r : p.AAMAT)
                        r.resize(qMin(r.size(), before));
                    if (baseRowsLaid) {
                        p.ABMADLARI.clear();
                        p.ABMBIRIMLERI.clear();
                        p.ABMLIST.clear();
                        p.AAMAT.clear();
                        p.LBMDEG = nutrientsWereDirty;
                    }
                    return false;
                }
                if (settled == 2)
                    --j;
            }
        }
    }
    p.LYMDEG = true;
    p.LAMATDEG = true;
    m_numbers.tell(m_owner);
    return true;
}

int IngredientAddition::BMKONTROL(const QString &nutrient, int c, int j)
{
    OpenProblem &p = openProblem();
    const QString name = nutrient; // the caller's text may be the list entry renamed below
    const auto [result, chosen] =
        askMatch(m_owner, QString(), name, AALANADLARI, kReferenceFixedFields, p.ABMADLARI);
    if (result == NameMatchAnswer::Chosen) {
        const QString newName = AALANADLARI.at(chosen);
        // The chosen column's unit is settled before the match changes anything.
        const quint32 current = m_rm.recNo();
        const std::optional<UnitCrossing> crossing = settleUnit(newName, problemRowUnit(p, j - 1));
        m_rm.goTo(current);
        if (!crossing)
            return 0;
        m_crossings.insert(newName, *crossing);
        p.ABMADLARI[j - 1] = newName;
        p.ABMLIST[j - 1][BMNAME] = newName.leftJustified(kBmNameWidth, u' ');
        p.LBMDEG = true;
        ABMOGIRCHK(name, newName);
        p.AAMAT[j - 1][c - 1] = crossedReferenceCell(newName);
        p.LAMATDEG = true;
        return 1;
    }
    if (result == NameMatchAnswer::Skipped) {
        p.deleteNutrient(j);
        return 2;
    }
    return 0;
}

void ABMOGIRCHK(const QString &oldName, const QString &newName)
{
    OpenProblem &p = openProblem();
    for (Row &row : p.ABMOLIST) {
        for (int column : {int(BMONAME1), int(BMONAME2)}) {
            if (row.value(column).trimmed() == oldName) {
                row[column] = newName.leftJustified(kBmNameWidth, u' ');
                p.LBMODEG = true;
            }
        }
    }
}

void DELBMOGIRCHK(const QString &name)
{
    openProblem().ORANIDASIL2(name);
}

// --- nutrients ------------------------------------------------------------------------------------

NutrientAddition::NutrientAddition(DbfTable &reference, QWidget *owner)
    : m_rm(reference)
    , m_owner(owner)
{
}

void NutrientAddition::GETRNOOFYM()
{
    for (m_rm.goTop(); !m_rm.eof(); m_rm.skip()) {
        const QString name = m_rm.fieldGet(QStringLiteral("YM_ADI")).toString().trimmed();
        if (name.isEmpty())
            continue;
        ARMYMADI.append(name);
        ARMRECNO.append(m_rm.recNo());
    }
}

QString NutrientAddition::cellOf(quint32 record, const QString &field)
{
    if (!m_rm.goTo(record))
        return kBlankCell;
    return referenceCell(m_rm, field, &m_numbers);
}

// Fills matrix row `row` from the reference field for every ingredient, settling the missing ones.
void NutrientAddition::fillRow(int row, const QString &field, int &count, bool *aborted)
{
    OpenProblem &p = openProblem();
    p.AAMAT[row - 1] = Row(count, kBlankCell);
    for (int i = 1; i <= count;) {
        const qsizetype at = ARMYMADI.indexOf(p.AYMADLARI.at(i - 1));
        if (at >= 0) {
            p.AAMAT[row - 1][i - 1] = cellOf(ARMRECNO.at(at), field);
            ++i;
            continue;
        }
        const int settled = YMKONTROL(row, field, i);
        if (settled == 0) {
            *aborted = true;
            return;
        }
        if (settled == 1)
            ++i;
        else
            --count;
    }
}

bool NutrientAddition::BESINMADDESIEKLE(QList<int> ASECILEN)
{
    OpenProblem &p = openProblem();
    m_numbers = ReferenceNumberReader();
    int count = int(p.AAMAT.isEmpty() ? p.AYMADLARI.size() : p.AAMAT.first().size());
    const qsizetype before = p.AAMAT.isEmpty() ? 0 : p.ABMADLARI.size();
    bool aborted = false;
    auto takeBack = [&] {
        p.ABMADLARI.resize(before);
        p.ABMBIRIMLERI.resize(before);
        p.ABMLIST.resize(before);
        p.AAMAT.resize(before);
        return false;
    };

    if (p.AAMAT.isEmpty()) {
        const QString fixed = centredIn(kFixedWeight, kCellWidth);
        p.ABMADLARI.clear();
        p.ABMBIRIMLERI.clear();
        p.ABMLIST.clear();
        appendNutrient(p, kWeightNutrient, QStringLiteral("Kg/Kg"), fixed);
        if (count > 0) {
            p.AAMAT[0] = Row(count, fixed);
            // Its contents come from its reference column, so the row takes its definition's unit.
            const qsizetype km = AABRRE.indexOf(kDryMatterNutrient);
            appendNutrient(p, kDryMatterNutrient,
                           dryMatterUnit({{kDryMatterNutrient, km >= 0 ? ABIRIM.value(km) : QString()}}));
            fillRow(2, kDryMatterNutrient, count, &aborted);
            if (aborted)
                return takeBack();
        } else {
            const int km = int(AABRRE.indexOf(kDryMatterNutrient)) + 1;
            if (km > 0 && !ASECILEN.contains(km))
                ASECILEN.prepend(km);
        }
    }

    for (int position : ASECILEN) {
        if (position < 1 || position > AABRRE.size())
            continue;
        const QString name = AABRRE.at(position - 1);
        if (p.ABMADLARI.contains(name))
            continue;
        appendNutrient(p, name, ABIRIM.value(position - 1));
        if (count > 0) {
            fillRow(int(p.AAMAT.size()), name, count, &aborted);
            if (aborted)
                return takeBack();
        }
    }
    p.LAMATDEG = true;
    p.LBMDEG = true;
    m_numbers.tell(m_owner);
    return true;
}

int NutrientAddition::YMKONTROL(int row, const QString &field, int i)
{
    OpenProblem &p = openProblem();
    const auto [result, chosen] = askMatch(m_owner, QStringLiteral("Yem Maddelerini Eşleştir"),
                                           p.AYMADLARI.at(i - 1), ARMYMADI, 0, p.AYMADLARI);
    if (result == NameMatchAnswer::Chosen) {
        const QString name = ARMYMADI.at(chosen);
        p.AYMADLARI[i - 1] = name;
        p.AYMLIST[i - 1][YMNAME] = name.leftJustified(kYmNameWidth, u' ');
        p.LYMDEG = true;
        p.AAMAT[row - 1][i - 1] = cellOf(ARMRECNO.at(chosen), field);
        p.LAMATDEG = true;
        return 1;
    }
    if (result == NameMatchAnswer::Skipped) {
        p.deleteIngredient(i);
        return 2;
    }
    return 0;
}

} // namespace vexo
