#pragma once

#include "controls/menu_table.h"
#include "editors/editor_traits.h"

namespace vexo {

// The editors' menu bars with their keys and tool bars, and their context menus.
MenuTable ymGirMenu();
MenuTable bmGirMenu();
MenuTable bmoGirMenu();
MenuTable ymConMenu();
MenuTable bmContMenu();
MenuTable bmoConMenu();

MenuTable editorMenu(EditorKind kind);
MenuTable editorContextMenu(EditorKind kind);

// The price-saving items of the ingredient editor: the menu bar's starts enabled, the context menu's
// disabled; both follow the pending-price flag.
constexpr int kPriceSaveItem = 29171;
constexpr int kPriceSaveContextItem = 3403;

} // namespace vexo
