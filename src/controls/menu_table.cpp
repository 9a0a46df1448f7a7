#include "controls/menu_table.h"

namespace vexo {

const MenuRow *MenuTable::row(int id) const
{
    if (id == 0)
        return nullptr;
    for (const MenuRow &r : rows)
        if (r.id == id)
            return &r;
    return nullptr;
}

MenuRow submenu(int level, int id, const QString &text, const QString &label, const QString &status,
                const QString &help)
{
    return MenuRow{level, MenuRowKind::Submenu, id, text, label, status, help, MenuState::Enabled};
}

MenuRow item(int level, int id, const QString &text, const QString &command, const QString &status,
             const QString &help, unsigned state)
{
    return MenuRow{level, MenuRowKind::Item, id, text, command, status, help, state};
}

MenuRow separator(int level)
{
    return MenuRow{level, MenuRowKind::Separator, 0, {}, {}, {}, {}, MenuState::Enabled};
}

ToolRow toolSeparator()
{
    return ToolRow{};
}

} // namespace vexo
