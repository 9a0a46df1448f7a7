#pragma once

#include <QFont>
#include <QRect>

class QWidget;

namespace vexo {

// A control's client area as a rectangle at (0, 0): the size inside its frame, wherever the control
// sits in its owner.
QRect CANVASAREA(const QWidget &control);

// A font that carries every attribute of `source` as its own (family, size, weight, slant, underline,
// strike-out, style hints), so that it no longer follows later changes of the widget it came from.
QFont FONTFROMHANDLE(const QFont &source);

} // namespace vexo
