#include "controls/cancel_owner.h"

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

} // namespace vexo
