#include "controls/cancel_owner.h"

#include <QKeyEvent>
#include <QWidget>

namespace vexo {

CancelOwner *findCancelOwner(const QWidget *widget)
{
    for (QWidget *w = widget ? widget->parentWidget() : nullptr; w; w = w->parentWidget()) {
        if (auto *owner = dynamic_cast<CancelOwner *>(w))
            return owner;
        if (w->isWindow())
            break; // never past the field's own window
    }
    return nullptr;
}

bool isPlainEscape(const QKeyEvent *event)
{
    return event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier;
}

bool claimsEscape(QEvent *event, const QWidget *field)
{
    if (event->type() != QEvent::ShortcutOverride || !isPlainEscape(static_cast<QKeyEvent *>(event))
        || !findCancelOwner(field))
        return false;
    event->accept();
    return true;
}

} // namespace vexo
