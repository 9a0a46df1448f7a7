#pragma once

#include "controls/menu_table.h"

namespace vexo {

// The item of "&Kaydet" in the pad menu: disabled when a document is opened, enabled by its first edit.
constexpr int kPadSaveItem = 29001;

// The menu the main window carries while report pads are open, with its keys and tool bar.
MenuTable standardPadMenu();
// The context menu of the pad's text, with its keys.
MenuTable edContMenu();

} // namespace vexo
