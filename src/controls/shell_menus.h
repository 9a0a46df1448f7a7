#pragma once

#include "controls/menu_table.h"

namespace vexo {

// The main window's menu with its keys and tool bar. The problem items start disabled until a problem
// is open; "&Referans Matris" of the data-source pair starts checked. The "Referans &Matris" submenu
// stays enabled: its commands are the only way to the reference database.
MenuTable emptyShellMenu();

// The reference-matrix editor's menu, keys and tool bar; "&Kaydır" starts disabled.
MenuTable standardShellMenu();

} // namespace vexo
