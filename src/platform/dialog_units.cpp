#include "platform/dialog_units.h"

#include <QFontMetrics>

namespace vexo {

QRect dluRect(const QFont &font, int x, int y, int w, int h)
{
    const QFontMetrics fm(font);
    const int avg = (fm.horizontalAdvance(QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz")) / 26 + 1) / 2;
    const int ch = fm.height();
    return QRect(x * avg / 4, y * ch / 8, w * avg / 4, h * ch / 8);
}

} // namespace vexo
