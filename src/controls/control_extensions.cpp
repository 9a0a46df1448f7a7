#include "controls/control_extensions.h"

#include "controls/cancel_owner.h"

#include <QAction>
#include <QHeaderView>
#include <QKeyEvent>
#include <QMenu>
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
    if (event->type() == QEvent::ShortcutOverride) {
        auto *key = static_cast<QKeyEvent *>(event);
        if (key->key() == Qt::Key_Escape && key->modifiers() == Qt::NoModifier && findCancelOwner(this)) {
            event->accept();
            return true;
        }
    }
    return QComboBox::event(event);
}

void QVCOMBOBOX::keyPressEvent(QKeyEvent *event)
{
    // An open list has the keyboard itself, so an Esc that arrives here found the list closed.
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
        if (CancelOwner *owner = findCancelOwner(this)) {
            event->accept();
            owner->PBIPTAL();
            return;
        }
    }
    QComboBox::keyPressEvent(event);
}

} // namespace vexo
