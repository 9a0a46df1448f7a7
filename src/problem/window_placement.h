#pragma once

#include <QPoint>
#include <QSize>

#include <optional>

class QWidget;

namespace vexo {

// Where a window sits in an area, in the coordinates of the window classes the placement rules were
// written for: the origin is the window's lower-left corner, measured from the area's lower-left
// corner, y growing upward.
//
// position: 1 top-left, 2 top-right, 3 centre, 4 bottom-right, 5 bottom-left; anything else (or none)
// centres the window horizontally one seventh of the free height below the top. At the corners an
// offset moves the window inward by its absolute value, at most by the free space; an absent offset
// counts as 0. The centre ignores offsets.
//
// A window larger than its area keeps its top-left corner in the area (left 0 when it is too wide,
// its top on the area's top when it is too tall), so that its title bar can always be reached.
QPoint placementOrigin(QSize area, QSize window, std::optional<int> position,
                       std::optional<int> xOffset = std::nullopt, std::optional<int> yOffset = std::nullopt);

// The same point with Qt's top-left origin: the window's top-left corner from the area's top-left.
QPoint topLeftFromLowerLeft(QPoint lowerLeft, int areaHeight, int windowHeight);

// Places the window (an MDI child is moved as its sub-window) in its owner's client area, or on the
// screen when it has no owner, and returns the new origin in lower-left terms.
QPoint QVMOVEWINDOW(QWidget *window, std::optional<int> position = std::nullopt,
                    std::optional<int> xOffset = std::nullopt, std::optional<int> yOffset = std::nullopt);

// The primary screen's size.
QSize FULLWINSIZE();

} // namespace vexo
