#pragma once

#include <QColor>
#include <QImage>
#include <QString>

#include <optional>

namespace vexo {

// A bitmap read from a file at its natural size; a null image when it cannot be read. With a
// transparent colour given, a picture with a colour table draws the table entry of its first pixel
// in that colour (the window colour), so that its background takes the colour of what it is drawn
// on; pictures without a colour table are left as they are.
QImage loadBitmapFile(const QString &file, std::optional<QColor> transparentTo = std::nullopt);

} // namespace vexo
