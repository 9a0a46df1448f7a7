#pragma once

#include <QComboBox>
#include <QListWidget>
#include <QToolBar>
#include <QTreeWidget>

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

// A list box whose Esc also runs the owner's cancel handler; the list box still handles the key as it
// always does (the dialog does not see it a second time).
class QVLISTBOX : public QListWidget
{
    Q_OBJECT
public:
    explicit QVLISTBOX(QWidget *owner = nullptr);

protected:
    bool event(QEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
};

// A tool bar that belongs to no window when made; the argument is accepted and ignored.
class QVTOOLBAR : public QToolBar
{
    Q_OBJECT
public:
    explicit QVTOOLBAR(const QVariant &ignored = {});
};

// A list view with columns whose check boxes a left-button press toggles: each press on an item's
// check box flips it, so a double-click (two presses) leaves it as it was, and a press beside the box
// (on the text or the icon) flips nothing.
class LSTVIEW_ : public QTreeWidget
{
    Q_OBJECT
public:
    // Owner, control identifier (kept as the property "controlId"), position and size.
    LSTVIEW_(QWidget *owner, int controlId, const QPoint &position, const QSize &size);

    bool CHECKBOXES() const { return m_checkBoxes; }
    // Gives every item a check box (unticked when it had none), or takes them away.
    void setCHECKBOXES(bool on);
    // A new item in the first column, with a check box when the view shows them.
    QTreeWidgetItem *addItem(const QStringList &texts);

    // True when the point (in the viewport's coordinates, where mouse events arrive) lies on an
    // item's check box.
    bool GETCHECKBOXATPOSITION_(const QPoint &point) const;

protected:
    void mousePressEvent(QMouseEvent *event) override;

private:
    bool m_checkBoxes = false;
};

} // namespace vexo
