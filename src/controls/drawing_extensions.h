#pragma once

#include <QBrush>
#include <QFont>
#include <QPen>
#include <QRect>

class QWidget;

namespace vexo {

// A control's client area as a rectangle at (0, 0): the size inside its frame, wherever the control
// sits in its owner.
QRect CANVASAREA(const QWidget &control);

// A font that carries every attribute of `source` as its own (family, size, weight, slant, underline,
// strike-out, style hints), so that it no longer follows later changes of the widget it came from.
QFont FONTFROMHANDLE(const QFont &source);

// The brush (pen) takes the given one as its own drawing object and is handed back, so it draws
// exactly as the given one; nothing is checked.
QBrush &BRUSHFROMHANDLE(QBrush &brush, const QBrush &handle);
QPen &PENFROMHANDLE(QPen &pen, const QPen &handle);

} // namespace vexo
