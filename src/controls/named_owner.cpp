#include "controls/named_owner.h"

namespace vexo {

bool ownerHasHandler(const QWidget *control)
{
    const NamedCommandOwner *owner = findControlOwner<NamedCommandOwner>(control);
    return owner && !control->objectName().isEmpty() && owner->namedCommands().has(control->objectName());
}

bool callOwnerByName(const QWidget *control)
{
    if (!ownerHasHandler(control))
        return false;
    return findControlOwner<NamedCommandOwner>(control)->namedCommands().run(control->objectName());
}

} // namespace vexo
