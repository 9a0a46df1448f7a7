#pragma once

#include "controls/menu_table.h"

namespace vexo {

// The ingredient-group window's menu with its key table and tool bar, and its context menu.
MenuTable ymGrubuMenu();
MenuTable ymgContMenu();

// The solve item, disabled until the problem has its active matrix.
constexpr int kGroupSolveItem = 30531;

} // namespace vexo
