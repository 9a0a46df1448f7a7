#pragma once

#include <QComboBox>

class QAction;
class QMenu;
class QTableView;
class QTreeView;

namespace vexo {

// True when the menu (or one of its submenus) holds an item with that command identifier and the
// item is checked. An item's command identifier is the int in its QAction::data(); an identifier the
// menu does not hold gives false.
bool ISCHECKED(const QMenu *menu, int commandId);
// The item of that command identifier, or nullptr.
QAction *findCommandAction(const QMenu *menu, int commandId);

// Sizes every column of a list view so that it is as wide as the wider of its header and its widest
// entry. Call it after the rows are filled. A view without columns is left alone.
void AUTOSIZE(QTreeView *view);
void AUTOSIZE(QTableView *view);
// One column; a column the view does not hold is left alone.
void AUTOSIZECOLUMN(QTreeView *view, int column);
void AUTOSIZECOLUMN(QTableView *view, int column);

// The field-name combo box of the column-arithmetic dialog. Esc with the list open closes the list
// (as any combo box does); Esc with the list closed runs the owner's cancel handler, as it does in the
// dialog's other fields, so the dialog ends through its own rules.
class QVCOMBOBOX : public QComboBox
{
    Q_OBJECT
public:
    explicit QVCOMBOBOX(QWidget *owner = nullptr);

protected:
    bool event(QEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
};

} // namespace vexo
