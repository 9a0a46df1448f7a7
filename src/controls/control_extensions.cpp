#include "controls/control_extensions.h"

#include "controls/cancel_owner.h"

#include <QAction>
#include <QHeaderView>
#include <QKeyEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QStyle>
#include <QStyleOptionViewItem>
#include <QTableView>
#include <QTreeView>

namespace vexo {

QAction *findCommandAction(const QMenu *menu, int commandId)
{
    if (!menu)
        return nullptr;
    for (QAction *action : menu->actions()) {
        bool ok = false;
        if (action->data().toInt(&ok) == commandId && ok && !action->isSeparator())
            return action;
        if (QAction *inner = findCommandAction(action->menu(), commandId))
            return inner;
    }
    return nullptr;
}

bool ISCHECKED(const QMenu *menu, int commandId)
{
    const QAction *action = findCommandAction(menu, commandId);
    return action && action->isCheckable() && action->isChecked();
}

void AUTOSIZECOLUMN(QTreeView *view, int column)
{
    // Qt's own fit already takes the larger of the header and the widest entry.
    if (view && view->model() && column >= 0 && column < view->header()->count())
        view->resizeColumnToContents(column);
}

void AUTOSIZECOLUMN(QTableView *view, int column)
{
    if (view && view->model() && column >= 0 && column < view->horizontalHeader()->count())
        view->resizeColumnToContents(column);
}

void AUTOSIZE(QTreeView *view)
{
    if (!view)
        return;
    for (int c = 0; c < view->header()->count(); ++c)
        AUTOSIZECOLUMN(view, c);
}

void AUTOSIZE(QTableView *view)
{
    if (!view)
        return;
    for (int c = 0; c < view->horizontalHeader()->count(); ++c)
        AUTOSIZECOLUMN(view, c);
}

QVCOMBOBOX::QVCOMBOBOX(QWidget *owner) : QComboBox(owner)
{
}

bool QVCOMBOBOX::event(QEvent *event)
{
    return claimsEscape(event, this) || QComboBox::event(event);
}

void QVCOMBOBOX::keyPressEvent(QKeyEvent *event)
{
    // An open list has the keyboard itself, so an Esc that arrives here found the list closed.
    if (isPlainEscape(event)) {
        if (CancelOwner *owner = findCancelOwner(this)) {
            event->accept();
            owner->PBIPTAL();
            return;
        }
    }
    QComboBox::keyPressEvent(event);
}

QVLISTBOX::QVLISTBOX(QWidget *owner) : QListWidget(owner)
{
}

bool QVLISTBOX::event(QEvent *event)
{
    return claimsEscape(event, this) || QListWidget::event(event);
}

void QVLISTBOX::keyPressEvent(QKeyEvent *event)
{
    CancelOwner *owner = isPlainEscape(event) ? findCancelOwner(this) : nullptr;
    if (owner)
        owner->PBIPTAL();
    QListWidget::keyPressEvent(event);
    if (owner)
        event->accept(); // handled once, by the owner's handler
}

QVTOOLBAR::QVTOOLBAR(const QVariant &) : QToolBar(nullptr)
{
}

LSTVIEW_::LSTVIEW_(QWidget *owner, int controlId, const QPoint &position, const QSize &size)
    : QTreeWidget(owner)
{
    setProperty("controlId", controlId);
    setGeometry(QRect(position, size));
    setRootIsDecorated(false); // a flat list, not a tree
}

void LSTVIEW_::setCHECKBOXES(bool on)
{
    m_checkBoxes = on;
    for (int i = 0; i < topLevelItemCount(); ++i) {
        QTreeWidgetItem *item = topLevelItem(i);
        if (!on)
            item->setData(0, Qt::CheckStateRole, QVariant());
        else if (!item->data(0, Qt::CheckStateRole).isValid())
            item->setCheckState(0, Qt::Unchecked);
    }
}

QTreeWidgetItem *LSTVIEW_::addItem(const QStringList &texts)
{
    auto *item = new QTreeWidgetItem(this, texts);
    // The box is ours to flip on a press; the view's own toggle (on release) stays off.
    item->setFlags(item->flags() & ~Qt::ItemIsUserCheckable);
    if (m_checkBoxes)
        item->setCheckState(0, Qt::Unchecked);
    return item;
}

bool LSTVIEW_::GETCHECKBOXATPOSITION_(const QPoint &point) const
{
    if (!m_checkBoxes)
        return false;
    const QModelIndex hit = indexAt(point);
    if (!hit.isValid())
        return false;
    const QModelIndex first = hit.siblingAtColumn(0);
    if (!first.data(Qt::CheckStateRole).isValid())
        return false;
    // Where the item's delegate draws the box.
    QStyleOptionViewItem option;
    initViewItemOption(&option);
    option.rect = visualRect(first);
    option.index = first;
    option.features |= QStyleOptionViewItem::HasCheckIndicator | QStyleOptionViewItem::HasDisplay;
    option.text = first.data(Qt::DisplayRole).toString();
    option.checkState = first.data(Qt::CheckStateRole).value<Qt::CheckState>();
    const QRect box = style()->subElementRect(QStyle::SE_ItemViewItemCheckIndicator, &option, this);
    return box.contains(point);
}

void LSTVIEW_::mousePressEvent(QMouseEvent *event)
{
    QTreeWidget::mousePressEvent(event);
    // Qt reports the second press of a double-click as a press too, so toggling on presses alone
    // gives a double-click two flips.
    if (event->button() != Qt::LeftButton)
        return;
    const QPoint at = event->position().toPoint();
    if (!GETCHECKBOXATPOSITION_(at))
        return;
    if (QTreeWidgetItem *item = itemAt(at))
        item->setCheckState(0, item->checkState(0) == Qt::Checked ? Qt::Unchecked : Qt::Checked);
}

} // namespace vexo
