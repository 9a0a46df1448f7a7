// The editors' own commands: deleting rows with what is linked to them, adding ingredients, nutrients
// and ratios, the stock flag, and saving typed prices into the reference matrix.

#include "editors/constraint_edit_model.h"

#include "editors/editor_dialogs.h"
#include "editors/editor_menus.h"
#include "matrix/alert.h"
#include "matrix/group_rules.h"
#include "problem/app_globals.h"
#include "problem/dbserverr.h"
#include "problem/messages.h"
#include "problem/number_text.h"
#include "problem/problem_saver.h"
#include "problem/reference_tables.h"
#include "problem/turkish_text.h"

namespace vexo {

namespace {

const QString kWarning = QStringLiteral("Uyarı...");
constexpr int kAppendTries = 3;

// A list row as the grid holds it: every field present and as wide as its column.
Row gridRow(EditorKind kind, const Row &listRow)
{
    Row row;
    const QList<EditorColumn> columns = editorColumns(kind);
    for (qsizetype j = 0; j < columns.size(); ++j) {
        const QString cell = listRow.value(j);
        row.append(cell.size() < columns.at(j).width ? cell.leftJustified(columns.at(j).width, u' ') : cell);
    }
    return row;
}

// Undoes what an add dialog put into the problem for the ingredient at i (from 0).
void dropAddedIngredient(OpenProblem &p, int i)
{
    p.AYMLIST.removeAt(i);
    if (i < p.AYMADLARI.size())
        p.AYMADLARI.removeAt(i);
    p.DELMATCOL(i + 1);
}

void dropAddedNutrient(OpenProblem &p, int i)
{
    p.ABMLIST.removeAt(i);
    if (i < p.ABMADLARI.size())
        p.ABMADLARI.removeAt(i);
    if (i < p.ABMBIRIMLERI.size())
        p.ABMBIRIMLERI.removeAt(i);
    p.DELMATROW(i + 1);
}

} // namespace

bool ConstraintEditModel::appendRow()
{
    for (int attempt = 0; attempt < kAppendTries; ++attempt) {
        if (m_append(m_rows))
            return true;
    }
    return false;
}

bool ConstraintEditModel::DODELETE()
{
    if (!m_hasServer || m_row < 1 || m_row > m_rows.size())
        return false;
    m_rows.removeAt(m_row - 1);
    return true;
}

void ConstraintEditModel::finishDeletion(int n)
{
    GIRDEG = true;
    BASDURUM();
    MATYAZVDCLOSE();
    setCurrent(n, m_column);
    emit rowsReset();
}

void ConstraintEditModel::PBSIL()
{
    OpenProblem &p = openProblem();
    if (m_rows.isEmpty())
        return;
    const int n = m_row;
    switch (m_kind) {
    case EditorKind::Ingredient:
        if (!askYesNo(m_owner, kWarning, QStringLiteral("Seçili Yem Maddesi Siliniyor!")) || !DODELETE())
            return;
        p.DELMATCOL(n);
        p.DELGMATCOL(n);
        // DEL_ACYMGIR_SAT
        if (!p.AYMLIST.isEmpty() && n <= p.AYMLIST.size()) {
            p.AYMLIST.removeAt(n - 1);
            if (n <= p.AYMADLARI.size())
                p.AYMADLARI.removeAt(n - 1);
            if (n <= p.AYMSTOK.size())
                p.AYMSTOK.removeAt(n - 1);
            p.LYMSTOKDEG = true;
        }
        break;
    case EditorKind::Nutrient: {
        const QString name = m_rows.at(n - 1).value(BMNAME).trimmed();
        if (name == kDryMatterNutrient || name == kWeightNutrient) {
            UYARI(m_owner, kWarning, name + QStringLiteral(" rezerve değişken. Silmeye çalışmayınız!"));
            return;
        }
        if (!askYesNo(m_owner, kWarning, QStringLiteral("Seçili besin maddesi siliniyor!")) || !DODELETE())
            return;
        p.DELMATROW(n);
        // DEL_ACBMGIR_SAT
        if (!p.ABMLIST.isEmpty() && n <= p.ABMLIST.size()) {
            p.ABMLIST.removeAt(n - 1);
            if (n <= p.ABMADLARI.size())
                p.ABMADLARI.removeAt(n - 1);
            if (n <= p.ABMBIRIMLERI.size())
                p.ABMBIRIMLERI.removeAt(n - 1);
            if (n <= AOFDECS.size())
                AOFDECS.removeAt(n - 1);
        }
        // ORANIDASIL
        p.ORANIDASIL2(name);
        break;
    }
    case EditorKind::Ratio:
        if (!askYesNo(m_owner, kWarning, QStringLiteral("Seçili Besin Maddesi Oranı Siliniyor!")) || !DODELETE())
            return;
        GIRDEG = true;
        BASDURUM();
        setCurrent(n, m_column);
        emit rowsReset();
        return;
    }
    finishDeletion(n);
}

// --- ingredients ----------------------------------------------------------------------------------

void ConstraintEditModel::YEMMADEKLE()
{
    OpenProblem &p = openProblem();
    if (p.AYMLIST.size() >= kMaxIngredients) {
        ERRMESS(m_owner, QString(), tooManyIngredientsText(int(p.AYMLIST.size()) + 1));
        return;
    }
    if (!editorDialogs().addIngredients(m_owner, kMaxIngredients - int(p.AYMLIST.size()))
        || p.AYMLIST.size() <= m_rows.size())
        return;
    if (p.AYMLIST.size() > kMaxIngredients) {
        const int asked = int(p.AYMLIST.size());
        while (p.AYMLIST.size() > kMaxIngredients)
            dropAddedIngredient(p, int(p.AYMLIST.size()) - 1);
        ERRMESS(m_owner, QString(), tooManyIngredientsText(asked));
    }
    for (int i = int(m_rows.size()); i < p.AYMLIST.size();) {
        if (appendRow()) {
            m_rows.last() = gridRow(m_kind, p.AYMLIST.at(i));
            p.AYMSTOK.append(true);
            ++i;
        } else {
            // An ingredient the grid cannot show leaves the problem again, so every parallel list
            // keeps one entry per grid row.
            dropAddedIngredient(p, i);
        }
    }
    p.LYMSTOKDEG = true;
    GIRDEG = true;
    emit commandRulesNeeded();
    if (!p.AYMGLIST.isEmpty() && p.AYMADLARI.size() > p.AGMAT.value(0).size())
        askGroups();
    if (m_row == 0)
        setCurrent(1, m_column);
    emit rowsReset();
}

// ASKGRUPNAME: each new ingredient joins the group chosen for it, or none.
void ConstraintEditModel::askGroups()
{
    assignNewIngredientGroups(openProblem(), [this](const QString &ingredient) {
        return editorDialogs().assignGroup(m_owner, ingredient);
    });
}

void ConstraintEditModel::YMSTOKKONT()
{
    OpenProblem &p = openProblem();
    if (m_rows.isEmpty() || m_row < 1 || m_row > p.AYMSTOK.size())
        return;
    p.AYMSTOK[m_row - 1] = !p.AYMSTOK.at(m_row - 1);
    p.LYMSTOKDEG = true;
    GIRDEG = true;
    emit rowChanged(m_row);
    // The last solution was made with the old stock: it holds no longer.
    BASDURUM();
}

void ConstraintEditModel::EDISABLE_FD_KAYDET()
{
    emit menuItemEnabled(kPriceSaveItem, LFIATDEG);
    emit menuItemEnabled(kPriceSaveContextItem, LFIATDEG);
}

void ConstraintEditModel::YMFIAKAYDISOR()
{
    if (LFIATDEG && appGlobals().LRMDENOKU)
        YMFIAKAYDET();
}

int ConstraintEditModel::GETRMRECNO(const QString &name)
{
    DBSERVERR *table = referenceTables().ORMDBF.get();
    if (!table)
        return 0;
    for (table->goTop(); !table->eof(); table->skip()) {
        if (table->fieldGet(QStringLiteral("YM_ADI")).toString().trimmed() == name)
            return int(table->recNo());
    }
    return 0;
}

bool ConstraintEditModel::YMFIAKAYDET()
{
    const MessageAnswer answer = askSaveBeforeClosing(
        m_owner, kWarning, QStringLiteral("Yem maddesi fiyatları değişti!\n\nDeğişiklikler temel matrise kaydedilsin mi?"));
    if (answer == MessageAnswer::Cancel)
        return false;
    if (answer == MessageAnswer::No) {
        LFIATDEG = false;
        EDISABLE_FD_KAYDET();
        return true;
    }
    if (!RMDATAFOPEN())
        return true;
    bool written = true;
    {
        AlertScope alert(m_owner, QStringLiteral("İşlemler Yürütülüyor..!"));
        DBSERVERR &table = *referenceTables().ORMDBF;
        for (const Row &row : std::as_const(m_rows)) {
            const QString name = row.value(YMNAME).trimmed();
            const int r = GETRMRECNO(name);
            if (r <= 0 || !table.goTo(r) || table.fieldGet(QStringLiteral("YM_ADI")).toString().trimmed() != name)
                continue;
            const QString price = row.value(YMPRICE);
            if (Val(price.trimmed()) != Val(table.fieldGet(QStringLiteral("FIATI")).toString().trimmed()))
                written = table.fieldPut(QStringLiteral("FIATI"), price) && written;
        }
        written = table.commit() && written;
        if (!written)
            MESS2(kReferenceMatrixFile + QStringLiteral(" veri dosyasına yazılamadı! : ")
                  + (table.status() ? table.status()->text() : QString()));
        table.close();
        referenceTables().ORMDBF.reset();
    }
    // A price that could not be written stays pending, so the next attempt offers it again.
    if (!written)
        return true;
    LFIATDEG = false;
    EDISABLE_FD_KAYDET();
    return true;
}

void ConstraintEditModel::YMBMMUHTGOR()
{
    if (m_rows.isEmpty() || m_row < 1)
        return;
    editorDialogs().showNutrientContent(m_owner, m_rows.at(m_row - 1).value(YMNAME).trimmed());
}

// --- nutrients ------------------------------------------------------------------------------------

void ConstraintEditModel::BESMADEKLE()
{
    OpenProblem &p = openProblem();
    if (!editorDialogs().addNutrients(m_owner) || p.ABMLIST.size() <= m_rows.size())
        return;
    for (int i = int(m_rows.size()); i < p.ABMLIST.size();) {
        if (appendRow()) {
            m_rows.last() = gridRow(m_kind, p.ABMLIST.at(i));
            ++i;
        } else {
            dropAddedNutrient(p, i);
        }
    }
    GIRDEG = true;
    emit commandRulesNeeded();
    GETAOFDECS();
    if (m_row == 0)
        setCurrent(1, m_column);
    emit rowsReset();
}

void ConstraintEditModel::GETAOFDECS()
{
    const OpenProblem &p = openProblem();
    AOFDECS = QList<int>(p.ABMADLARI.size(), 4);
    for (const NutrientDecimals &d : referenceTables().ABMDESC) {
        const qsizetype at = p.ABMADLARI.indexOf(d.abbreviation);
        if (at >= 0)
            AOFDECS[at] = d.decimals;
    }
}

void ConstraintEditModel::HYMADKATILIYOR()
{
    if (m_rows.isEmpty() || m_row < 1)
        return;
    if (openProblem().NCOZUMSAYISI == 0) {
        UYARI(m_owner, kWarning, QStringLiteral("Henüz çözüm yapılmadı!"));
        return;
    }
    const Row &row = m_rows.at(m_row - 1);
    editorDialogs().showContributions(m_owner, row.value(BMNAME), row.value(BMACOZUM));
}

// --- ratios ---------------------------------------------------------------------------------------

bool ConstraintEditModel::ISBMOEXIST(const QString &numerator, const QString &denominator) const
{
    const QString a = TRUPPERQV(numerator.trimmed());
    const QString b = TRUPPERQV(denominator.trimmed());
    for (const Row &row : m_rows) {
        if (TRUPPERQV(row.value(BMONAME1).trimmed()) == a && TRUPPERQV(row.value(BMONAME2).trimmed()) == b)
            return true;
    }
    return false;
}

void ConstraintEditModel::PBEKLE()
{
    const OpenProblem &p = openProblem();
    if (p.ABMADLARI.isEmpty() || !m_hasServer)
        return;
    QStringList candidates = p.ABMADLARI;
    candidates.removeOne(kWeightNutrient);
    const int first = editorDialogs().choose(m_owner, QStringLiteral("Bölünen Seçimi"), candidates);
    if (first < 1 || first > candidates.size())
        return;
    const QString numerator = candidates.takeAt(first - 1).trimmed();
    const int second = editorDialogs().choose(m_owner, QStringLiteral("Bölen Seçimi"), candidates);
    if (second < 1 || second > candidates.size())
        return;
    const QString denominator = candidates.at(second - 1).trimmed();
    if (ISBMOEXIST(numerator, denominator)) {
        showMessage(m_owner, kWarning, QStringLiteral("Girilen BMO halen mevcut..."), MB_OK | MB_ICONINFORMATION);
        return;
    }
    if (!appendRow())
        return;
    Row &row = m_rows.last();
    row[BMONAME1] = numerator.leftJustified(kBmNameWidth, u' ');
    row[BMONAME2] = denominator.leftJustified(kBmNameWidth, u' ');
    GIRDEG = true;
    setCurrent(int(m_rows.size()), m_column);
    emit rowsReset();
}

} // namespace vexo
