#pragma once

#include "editors/cell_rules.h"
#include "editors/editor_traits.h"
#include "editors/result_fields.h"

#include <QObject>
#include <QPointer>
#include <QWidget>

#include <functional>

namespace vexo {

// Everything an editor window does that needs no widget: its copy of the list (the rows its grid
// shows), the current cell, the change flags, the edit and clipboard rules, the commits, the
// deletions and adds with their linked changes in the open problem, the price write-back into the
// reference matrix, the solve and its write-back, the status button and the cost fields. The window
// shows the rows and forwards the grid's events and the menu commands here.
class ConstraintEditModel : public QObject
{
    Q_OBJECT
public:
    // Appends one blank row to the grid's rows; false when the grid refuses.
    using RowAppender = std::function<bool(RowList &rows)>;

    explicit ConstraintEditModel(EditorKind kind, QWidget *owner = nullptr, QObject *parent = nullptr);

    EditorKind kind() const { return m_kind; }
    const EditorTraits &traits() const { return editorTraits(m_kind); }
    QWidget *owner() const { return m_owner; }

    // The window's copy of its list; false once the commit before closing released it.
    const RowList &rows() const { return m_rows; }
    RowList &rows() { return m_rows; }
    bool hasServer() const { return m_hasServer; }
    // The current row (from 1; 0 when there are none) and column (from 1).
    int currentRow() const { return m_row; }
    int currentColumn() const { return m_column; }
    void setCurrent(int row, int column);
    void setRowAppender(RowAppender appender) { m_append = std::move(appender); }

    SolutionStatus status() const { return m_status; }
    const CostTexts &costs() const { return m_costs; }

    bool GIRDEG = false;
    bool LFILTERON = false;
    bool LFIATDEG = false;
    QList<int> AOFDECS;

    // Set-up: the copy of the list, the status, the cost fields, the decimals, the armed filter.
    void setUp();

    // The grid's three moments of a cell edit: may it begin; the typed value (answers the text the
    // edit field must show); the value was stored in the row.
    bool beginEdit(int column);
    // `filtered`: the typing filter took characters out during this edit.
    QString endEdit(int column, const QString &typed, bool filtered = false);
    void valueStored(int column);
    // A keystroke changed the cell's edit field.
    void typingChanged() { GIRDEG = true; }

    void COPY();
    void CUT();
    void FDELETE();
    void CLEAR() { FDELETE(); }
    void PASTE();

    void TRICKSERVER();
    // The commit before closing; false when the window has to stay open (the price question was
    // cancelled), with its rows committed and its server kept.
    bool SONKONT();
    void SONKONT2();
    bool MATYAZVDCLOSE();
    void COZDURUM();
    void BASDURUM();
    void MALIYETVEFARKLARI();

    void PBSIL();
    bool DODELETE();
    void PBCOZUM();

    // Ingredient editor.
    void YEMMADEKLE();
    void YMSTOKKONT();
    void EDISABLE_FD_KAYDET();
    void YMFIAKAYDISOR();
    // Asks whether the typed prices go into the reference matrix; false when the question was
    // cancelled, and the prices then stay pending.
    bool YMFIAKAYDET();
    static int GETRMRECNO(const QString &name);
    void YMBMMUHTGOR();

    // Nutrient editor.
    void BESMADEKLE();
    void GETAOFDECS();
    void HYMADKATILIYOR();

    // Ratio editor.
    void PBEKLE();
    // True when a row holds this numerator and this denominator (trimmed, letter case ignored).
    bool ISBMOEXIST(const QString &numerator, const QString &denominator) const;

signals:
    // The grid ends the cell edit in progress and writes it into the current row.
    void endEditRequested();
    // The rows changed as a whole (re-read and redraw), or one row changed.
    void rowsReset();
    void rowChanged(int row);
    void currentChanged(int row, int column);
    void statusChanged(SolutionStatus status);
    void costsChanged(const CostTexts &costs);
    void menuItemEnabled(int id, bool enabled);
    void statusBarText(const QString &text);
    // The main window applies its command rules again.
    void commandRulesNeeded();

private:
    void applyToCurrentRow(const EditOutcome &outcome, bool outOfDate);
    bool appendRow();
    void finishDeletion(int n);
    void askGroups();

    EditorKind m_kind;
    QPointer<QWidget> m_owner;
    RowList m_rows;
    bool m_hasServer = true;
    int m_row = 0;
    int m_column = 1;
    SolutionStatus m_status = SolutionStatus::NotSolved;
    CostTexts m_costs;
    RowAppender m_append;
};

} // namespace vexo
