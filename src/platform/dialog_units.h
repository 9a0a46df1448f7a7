#pragma once

#include <QFont>
#include <QRect>

namespace vexo {

// Dialog layouts are given in dialog units of the dialog's font: x in quarters of the font's average
// character width, y in eighths of its character height.
QRect dluRect(const QFont &font, int x, int y, int w, int h);

} // namespace vexo
