#pragma once
// What a window really drew: its pixels, read back from a grab, for tests that check the look of a
// window rather than the settings behind it.
#include <QColor>
#include <QDir>
#include <QImage>
#include <QRect>
#include <QString>
#include <QWidget>

namespace vexo::test {

// The widget drawn as part of its window, as an image of the window.
inline QImage drawnWindow(QWidget *widget)
{
    return widget->window()->grab().toImage().convertToFormat(QImage::Format_RGB32);
}

// Where `part` lies in its window's image.
inline QRect rectInWindow(const QWidget *part)
{
    return QRect(part->mapTo(part->window(), QPoint(0, 0)), part->size());
}

// The pixels in `area` within `tolerance` of `colour` in every channel.
inline int pixelsNear(const QImage &image, const QRect &area, const QColor &colour, int tolerance = 40)
{
    int count = 0;
    const QRect inside = area.intersected(image.rect());
    for (int y = inside.top(); y <= inside.bottom(); ++y) {
        for (int x = inside.left(); x <= inside.right(); ++x) {
            const QColor p = image.pixelColor(x, y);
            if (qAbs(p.red() - colour.red()) <= tolerance && qAbs(p.green() - colour.green()) <= tolerance
                && qAbs(p.blue() - colour.blue()) <= tolerance)
                ++count;
        }
    }
    return count;
}

// Keeps the image for a person to look at when VEXO_SCREENSHOT_DIR names a folder; nothing otherwise.
inline bool keepForLooking(const QImage &image, const QString &name)
{
    const QString dir = qEnvironmentVariable("VEXO_SCREENSHOT_DIR");
    return dir.isEmpty() || image.save(QDir(dir).filePath(name));
}

} // namespace vexo::test
