#include "classes/bitmap_file.h"

namespace vexo {

QImage loadBitmapFile(const QString &file, std::optional<QColor> transparentTo)
{
    QImage image(file);
    if (image.isNull() || !transparentTo || image.colorCount() == 0)
        return image;
    const int entry = image.pixelIndex(0, 0);
    if (entry >= 0 && entry < image.colorCount())
        image.setColor(entry, transparentTo->rgb());
    return image;
}

} // namespace vexo
