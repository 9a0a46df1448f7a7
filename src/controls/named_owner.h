#pragma once

#include "controls/command_registry.h"

#include <QWidget>

namespace vexo {

// A window whose controls call it by name: a bitmap button or a hyperlink named PBTAMAM runs the
// handler its owner registered under "PBTAMAM". A control whose owner has no such handler calls
// nothing.
class NamedCommandOwner
{
public:
    virtual ~NamedCommandOwner() = default;
    CommandRegistry &namedCommands() { return m_commands; }
    const CommandRegistry &namedCommands() const { return m_commands; }

private:
    CommandRegistry m_commands;
};

// The nearest window from `control` upward (the control itself excluded) that is a T, or nullptr.
// Controls sit in group boxes and layouts, so the owner is not always the direct parent.
template <class T>
T *findControlOwner(const QWidget *control)
{
    for (QWidget *w = control ? control->parentWidget() : nullptr; w; w = w->parentWidget()) {
        if (auto *owner = dynamic_cast<T *>(w))
            return owner;
        if (w->isWindow())
            break;
    }
    return nullptr;
}

// True when the control's owner has a handler under the control's name (its objectName).
bool ownerHasHandler(const QWidget *control);
// Runs that handler; false when there is none (no owner, no name or no handler of the name).
bool callOwnerByName(const QWidget *control);

} // namespace vexo
