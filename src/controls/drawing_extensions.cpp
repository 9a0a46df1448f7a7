#include "controls/drawing_extensions.h"

#include <QWidget>

namespace vexo {

QRect CANVASAREA(const QWidget &control)
{
    return QRect(QPoint(0, 0), control.contentsRect().size());
}

QFont FONTFROMHANDLE(const QFont &source)
{
    QFont font;
    font.setFamilies(source.families().isEmpty() ? QStringList{source.family()} : source.families());
    if (source.pixelSize() > 0)
        font.setPixelSize(source.pixelSize());
    else
        font.setPointSizeF(source.pointSizeF());
    font.setWeight(source.weight());
    font.setItalic(source.italic());
    font.setUnderline(source.underline());
    font.setStrikeOut(source.strikeOut());
    font.setStyleHint(source.styleHint(), source.styleStrategy());
    font.setStretch(source.stretch());
    font.setFixedPitch(source.fixedPitch());
    return font;
}

QBrush &BRUSHFROMHANDLE(QBrush &brush, const QBrush &handle)
{
    brush = handle;
    return brush;
}

QPen &PENFROMHANDLE(QPen &pen, const QPen &handle)
{
    pen = handle;
    return pen;
}

} // namespace vexo
