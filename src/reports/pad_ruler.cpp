#include "reports/pad_ruler.h"

#include <QFontMetrics>
#include <QPainter>

namespace vexo {

namespace {

// The window's predefined colours 0 and 7.
const QColor kColour0(0, 0, 0);
const QColor kColour7(255, 255, 255);
const QColor kGrey(127, 127, 127);
const QColor kLightGrey(191, 191, 191);

} // namespace

void drawPadRuler(QPainter &painter, int width, int height, int pageEdge)
{
    // The strip is laid out with y growing upward from the canvas's bottom edge; `at` turns such a
    // point into the painter's top-down coordinates.
    const int b = height - kPadRulerHeight;
    const auto at = [height](int x, int y) { return QPoint(x, height - y); };
    const auto line = [&](const QColor &colour, QPoint from, QPoint to) {
        painter.setPen(colour);
        painter.drawLine(from, to);
    };
    // A rectangle from its lower-left corner upward, the frame inside its size.
    const auto box = [&](const QColor &frame, const QColor &fill, int x, int y, int w, int h) {
        if (w <= 0 || h <= 0)
            return;
        painter.setPen(frame);
        painter.setBrush(fill);
        const QPoint topLeft = at(x, y + h);
        painter.drawRect(QRect(topLeft.x(), topLeft.y(), w - 1, h - 1));
        painter.setBrush(Qt::NoBrush);
    };
    const int W = width;
    const int P = pageEdge;

    painter.save();
    line(kColour7, at(1, b + 1), at(W - 13, b + 1));
    box(kGrey, kColour7, 1, b + 2, W, 20);
    line(kColour0, at(2, b + 21), at(P, b + 21));
    box(kLightGrey, kLightGrey, P + 1, b + 3, W - P - 2, 18);
    line(kColour7, at(P + 1, b + 21), at(W, b + 21));
    line(kColour7, at(P + 1, b + 20), at(P + 1, b + 2));
    line(kGrey, at(P + 1, b + 20), at(P + 1, b + 2));

    // Texts stand on their point: the point is the text's lower-left corner.
    painter.setPen(kColour0);
    const QFontMetrics fm(painter.font());
    const auto text = [&](const QString &s, int x, int y) {
        const QPoint p = at(x, y);
        painter.drawText(p.x(), p.y() - fm.descent(), s);
    };
    for (int n = 96; n - 48 < W; n += 96) {
        text(QString::number(n / 96), n, b + 4);
        text(QStringLiteral("|"), n - 48, b + 5);
    }
    painter.restore();
}

} // namespace vexo
