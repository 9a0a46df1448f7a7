#include "editors/constraint_edit_model.h"

#include "problem/app_globals.h"
#include "problem/messages.h"
#include "solver/ky_optimizer.h"
#include "solver/result_write_back.h"

namespace vexo {

namespace {

Row blankRow(EditorKind kind)
{
    Row row;
    for (const EditorColumn &c : editorColumns(kind))
        row.append(QString(c.width, u' '));
    return row;
}

} // namespace

ConstraintEditModel::ConstraintEditModel(EditorKind kind, QWidget *owner, QObject *parent)
    : QObject(parent)
    , m_kind(kind)
    , m_owner(owner)
{
    m_append = [kind](RowList &rows) {
        rows.append(blankRow(kind));
        return true;
    };
}

void ConstraintEditModel::setCurrent(int row, int column)
{
    m_row = m_rows.isEmpty() ? 0 : qBound(1, row, int(m_rows.size()));
    m_column = qBound(1, column, traits().columnCount);
    emit currentChanged(m_row, m_column);
}

void ConstraintEditModel::setUp()
{
    OpenProblem &p = openProblem();
    LFILTERON = true;
    if (p.NCOZUMSAYISI > 0)
        COZDURUM();
    if (p.LAMATHAZIR)
        emit menuItemEnabled(traits().solveItem, true);
    MALIYETVEFARKLARI();
    m_rows = editorList(p, m_kind);
    m_hasServer = true;
    setCurrent(1, traits().firstColumn);
    if (m_kind == EditorKind::Nutrient)
        GETAOFDECS();
    emit rowsReset();
}

// --- cell edits --------------------------------------------------------------------------------

bool ConstraintEditModel::beginEdit(int column)
{
    if (m_row < 1 || m_row > m_rows.size())
        return false;
    const BeginEdit begin =
        beginCellEdit(m_kind, m_rows.at(m_row - 1), column, openProblem().AYMSTOK.value(m_row - 1, true));
    EditOutcome shown;
    shown.notices = begin.notices;
    deliver(m_owner, shown);
    return begin.allowed;
}

QString ConstraintEditModel::endEdit(int column, const QString &typed, bool filtered)
{
    if (m_row < 1 || m_row > m_rows.size())
        return typed;
    const EditOutcome outcome =
        endCellEdit(m_kind, m_rows.at(m_row - 1), column, typed, AOFDECS.value(m_row - 1, 4), filtered);
    applyToCurrentRow(outcome, false);
    if (outcome.priceChanged) {
        LFIATDEG = true;
        EDISABLE_FD_KAYDET();
    }
    return outcome.row.value(column - 1);
}

void ConstraintEditModel::valueStored(int column)
{
    if (m_kind != EditorKind::Nutrient || isEditableColumn(m_kind, column))
        BASDURUM();
}

void ConstraintEditModel::applyToCurrentRow(const EditOutcome &outcome, bool outOfDate)
{
    deliver(m_owner, outcome);
    if (!outcome.status.isEmpty())
        emit statusBarText(outcome.status);
    if (!outcome.changed)
        return;
    m_rows[m_row - 1] = outcome.row;
    GIRDEG = true;
    emit rowChanged(m_row);
    if (outOfDate)
        BASDURUM();
}

// --- the cell clipboard -------------------------------------------------------------------------

void ConstraintEditModel::COPY()
{
    if (!m_hasServer || m_row < 1)
        return;
    openProblem().UPANODEGER = copyCell(m_kind, m_rows.at(m_row - 1), m_column, openProblem().UPANODEGER).clipboard;
}

void ConstraintEditModel::CUT()
{
    if (!m_hasServer || m_row < 1)
        return;
    const EditOutcome outcome = cutCell(m_kind, m_rows.at(m_row - 1), m_column, openProblem().UPANODEGER);
    openProblem().UPANODEGER = outcome.clipboard;
    applyToCurrentRow(outcome, true);
}

void ConstraintEditModel::FDELETE()
{
    if (!m_hasServer || m_row < 1)
        return;
    applyToCurrentRow(clearCell(m_kind, m_rows.at(m_row - 1), m_column), true);
}

void ConstraintEditModel::PASTE()
{
    if (!m_hasServer || m_row < 1)
        return;
    const EditOutcome outcome = pasteCell(m_kind, m_rows.at(m_row - 1), m_column, openProblem().UPANODEGER);
    openProblem().UPANODEGER = outcome.clipboard;
    applyToCurrentRow(outcome, true);
}

// --- commits ------------------------------------------------------------------------------------

void ConstraintEditModel::TRICKSERVER()
{
    emit endEditRequested();
    // The whole-data notification reaches the grid class, which takes it for a change.
    GIRDEG = true;
    emit rowsReset();
}

void ConstraintEditModel::SONKONT2()
{
    OpenProblem &p = openProblem();
    if (m_kind == EditorKind::Ingredient)
        TRICKSERVER();
    if (GIRDEG) {
        if (m_kind != EditorKind::Ingredient)
            TRICKSERVER();
        editorList(p, m_kind) = m_rows;
        editorDirtyFlag(p, m_kind) = true;
        GIRDEG = false;
    }
    p.UPANODEGER.reset();
}

bool ConstraintEditModel::SONKONT()
{
    OpenProblem &p = openProblem();
    if (m_kind == EditorKind::Ingredient) {
        TRICKSERVER();
        if (GIRDEG) {
            p.AYMLIST = m_rows;
            p.LYMDEG = true;
            GIRDEG = false;
        }
        if (LFIATDEG && appGlobals().LRMDENOKU && !YMFIAKAYDET())
            return false;
    } else if (GIRDEG) {
        TRICKSERVER();
        editorList(p, m_kind) = m_rows;
        editorDirtyFlag(p, m_kind) = true;
        GIRDEG = false;
    }
    m_hasServer = false;
    p.UPANODEGER.reset();
    return true;
}

bool ConstraintEditModel::MATYAZVDCLOSE()
{
    OpenProblem &p = openProblem();
    if (!p.LAMATHAZIR || m_rows.size() > 1)
        return false;
    editorList(p, m_kind) = m_rows;
    emit commandRulesNeeded();
    return true;
}

// --- result displays ----------------------------------------------------------------------------

void ConstraintEditModel::COZDURUM()
{
    const QString &outcome = openProblem().CCOZUMDURUMU;
    if (outcome != QStringLiteral("E") && outcome != QStringLiteral("H"))
        return;
    m_status = statusAfterSolve(outcome, m_status);
    emit statusChanged(m_status);
}

void ConstraintEditModel::BASDURUM()
{
    m_status = SolutionStatus::NotSolved;
    emit statusChanged(m_status);
}

void ConstraintEditModel::MALIYETVEFARKLARI()
{
    const OpenProblem &p = openProblem();
    m_costs = costTexts(m_costs, p.NMALIYET, p.NONCEKIMALIYET, p.NKAYITLIMALIYET);
    emit costsChanged(m_costs);
}

// --- solving ------------------------------------------------------------------------------------

void ConstraintEditModel::PBCOZUM()
{
    OpenProblem &p = openProblem();
    if (!p.LAMATHAZIR) {
        emit statusBarText(traits().notEnoughData);
        return;
    }
    if (GIRDEG)
        TRICKSERVER();
    const int row = m_row;
    const int column = m_column;
    if (GIRDEG) {
        editorList(p, m_kind) = m_rows;
        editorDirtyFlag(p, m_kind) = true;
        GIRDEG = false;
    }

    const ResultRows which = m_kind == EditorKind::Ingredient ? ResultRows::Ingredients
                             : m_kind == EditorKind::Nutrient ? ResultRows::Nutrients
                                                              : ResultRows::Ratios;
    ResultTable results;
    {
        KY_OPTIMIZER solver(m_owner, true);
        if (solver.RESULT() == 0)
            return;
        results = solver.ownResults(which);
        p.CCOZUMDURUMU = solver.LOPTI_ ? QStringLiteral("E") : QStringLiteral("H");
    }
    COZDURUM();
    MALIYETVEFARKLARI();

    const bool saved = m_kind == EditorKind::Ingredient ? p.LYMKCOZUMVAR
                       : m_kind == EditorKind::Nutrient ? p.LBMKCOZUMVAR
                                                        : p.LBMOKCOZUMVAR;
    const WriteBackResult written =
        writeBackResults(which, m_rows, results, WriteBackInput{p.NCOZUMSAYISI, saved, p.AYMSTOK, p.ABMADLARI});
    if (!written.ok)
        ERRMESS(m_owner, QString(), resultMismatchText());
    for (const QString &text : written.statusTexts)
        emit statusBarText(text);
    setCurrent(row, column);
    emit rowsReset();
}

} // namespace vexo
