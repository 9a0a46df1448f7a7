#include "problem/window_placement.h"

#include <QGuiApplication>
#include <QMdiSubWindow>
#include <QScreen>
#include <QWidget>

#include <cstdlib>

namespace vexo {

namespace {

// The offset's size, cut to the free space.
int clip(int value, int limit)
{
    return std::min(std::abs(value), limit);
}

int halfDown(int v)
{
    return v >= 0 ? v / 2 : -((-v + 1) / 2);
}

} // namespace

QPoint placementOrigin(QSize area, QSize window, std::optional<int> position, std::optional<int> xOffset,
                       std::optional<int> yOffset)
{
    const int W = area.width() - window.width();
    const int H = area.height() - window.height();
    const int x = xOffset.value_or(0);
    const int y = yOffset.value_or(0);

    int left = 0;
    int bottom = 0;
    switch (position.value_or(0)) {
    case 1:
        left = clip(x, W);
        bottom = H - clip(y, H);
        break;
    case 2:
        left = W - clip(x, W);
        bottom = H - clip(y, H);
        break;
    case 3:
        left = halfDown(W);
        bottom = halfDown(H);
        break;
    case 4:
        left = W - clip(x, W);
        bottom = clip(y, H);
        break;
    case 5:
        left = clip(x, W);
        bottom = clip(y, H);
        break;
    default:
        left = halfDown(W) + clip(x, W);
        bottom = H * 6 / 7 + (y < 0 ? y : 0);
        break;
    }
    // Too large for the area: pin the top-left corner rather than push the title bar out of reach.
    if (W < 0)
        left = 0;
    if (H < 0)
        bottom = H;
    return {left, bottom};
}

QPoint topLeftFromLowerLeft(QPoint lowerLeft, int areaHeight, int windowHeight)
{
    return {lowerLeft.x(), areaHeight - lowerLeft.y() - windowHeight};
}

QPoint QVMOVEWINDOW(QWidget *window, std::optional<int> position, std::optional<int> xOffset,
                    std::optional<int> yOffset)
{
    if (!window)
        return {};
    // An MDI child moves as its frame inside the MDI area's viewport.
    QWidget *moved = window;
    if (auto *sub = qobject_cast<QMdiSubWindow *>(window->parentWidget()); sub && !window->isWindow())
        moved = sub;

    QSize area;
    QPoint areaTopLeft; // in the coordinates QWidget::move uses for `moved`
    QSize outer;
    if (!moved->isWindow()) {
        area = moved->parentWidget() ? moved->parentWidget()->contentsRect().size() : moved->size();
        areaTopLeft = moved->parentWidget() ? moved->parentWidget()->contentsRect().topLeft() : QPoint();
        outer = moved->size();
    } else if (QWidget *owner = moved->parentWidget()) {
        const QRect client = owner->contentsRect();
        area = client.size();
        areaTopLeft = owner->mapToGlobal(client.topLeft());
        outer = moved->frameGeometry().size();
    } else {
        area = FULLWINSIZE();
        if (const QScreen *screen = QGuiApplication::primaryScreen())
            areaTopLeft = screen->geometry().topLeft();
        outer = moved->frameGeometry().size();
    }

    const QPoint origin = placementOrigin(area, outer, position, xOffset, yOffset);
    moved->move(areaTopLeft + topLeftFromLowerLeft(origin, area.height(), outer.height()));
    return origin;
}

QSize FULLWINSIZE()
{
    const QScreen *screen = QGuiApplication::primaryScreen();
    return screen ? screen->size() : QSize();
}

} // namespace vexo
