#pragma once

#include "updater/listing.h"

#include <QTreeWidget>

#include <optional>

namespace vexo {

// The updater's file list: six fixed columns (name, type, size, date, time, attributes), single
// full-row selection, sorting by a column with the direction turned round by a second click on it.
// Rows are kept as given, so the selected row's name, date and time read back exactly.
class MYLISTVIEW : public QTreeWidget
{
    Q_OBJECT
public:
    MYLISTVIEW(QWidget *owner, const QRect &geometry);

    // Replaces all rows, in the present sort order.
    MYLISTVIEW &FILLUSING(const QList<ListRow> &rows);
    int rowCount() const { return topLevelItemCount(); }
    // The number (from 1) of the selected row, 0 when none.
    int CURRENTITEMNO() const;
    // Selects row n (from 1); any other number clears the selection.
    void setCURRENTITEMNO(int n = 1);
    // The selected row's full name, date and time; empty when nothing is selected.
    QString GETITEMVALUE() const;
    QDate GETITEMDATE() const;
    QString GETITEMTIME() const;
    std::optional<ListRow> currentRow() const;
    // The row shown at position n (from 1).
    ListRow rowAt(int n) const;

    // Sorts by the column: the same column again turns the direction round, another starts ascending.
    void setCOLUMNNAME(ListColumn column);
    ListColumn sortColumn() const { return m_sortColumn; }
    bool ascending() const { return m_ascending; }

    // The shown texts of a row: name without extension, extension, size, date, time, attributes.
    static QStringList shownTexts(const ListRow &row);

private:
    void showRows(const QList<ListRow> &rows, int selected);

    QList<ListRow> m_rows; // in shown order
    ListColumn m_sortColumn = ListColumn::Name;
    bool m_ascending = true;
};

} // namespace vexo
