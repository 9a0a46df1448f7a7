#pragma once

#include <QKeySequence>
#include <QString>

#include <vector>

namespace vexo {

// A menu, its key table and its tool bar as data. The builder (menu_builder.h) turns a table into
// widgets; golden tests compare tables.

enum class MenuRowKind { Submenu, Item, Separator };

// Initial state of a row, as flags.
struct MenuState
{
    static constexpr unsigned Enabled = 0;
    static constexpr unsigned Disabled = 1u << 0;
    static constexpr unsigned Checked = 1u << 1;
};

struct MenuRow
{
    int level = 0;        // 0: on the menu bar (or in the context menu); 1: inside a level-0 submenu; ...
    MenuRowKind kind = MenuRowKind::Item;
    int id = 0;           // 0 for a separator
    QString text;         // with "&" for the mnemonic and "\t" before the key name shown
    QString command;      // the command an item gives; a submenu's label name
    QString status;       // status-bar description, empty when none
    QString help;         // help context, empty when none
    unsigned state = MenuState::Enabled;

    bool operator==(const MenuRow &) const = default;
};

// A key of the key table and the item id it gives.
struct KeyRow
{
    QKeySequence key;
    int id = 0;

    bool operator==(const KeyRow &) const = default;
};

// A tool-bar button: picture number (the stock tool-bar picture "TB<number>"), the item id it gives
// and its tip. Picture 0 with id 0 is a separator.
struct ToolRow
{
    int picture = 0;
    int id = 0;
    QString tip;

    bool isSeparator() const { return picture == 0 && id == 0; }
    bool operator==(const ToolRow &) const = default;
};

// Rows in menu order; submenus are followed by their rows at the next level. A context menu is a table
// whose first row is its one level-0 submenu (the popup's title) and whose items follow at level 1.
struct MenuTable
{
    QString name;     // "EMPTYSHELLMENU", "YM_GIRMENU", ...
    std::vector<MenuRow> rows;
    std::vector<KeyRow> keys;
    std::vector<ToolRow> tools;

    const MenuRow *row(int id) const;
    bool operator==(const MenuTable &) const = default;
};

// Row helpers for writing tables.
MenuRow submenu(int level, int id, const QString &text, const QString &label, const QString &status = {},
                const QString &help = {});
MenuRow item(int level, int id, const QString &text, const QString &command, const QString &status = {},
             const QString &help = {}, unsigned state = MenuState::Enabled);
MenuRow separator(int level);
ToolRow toolSeparator();

} // namespace vexo
