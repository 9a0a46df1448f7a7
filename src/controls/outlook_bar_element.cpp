#include "controls/outlook_bar_element.h"

#include "controls/outlook_bar.h"
#include "controls/outlook_bar_header.h"

#include <QImage>
#include <QPainter>
#include <QPixmap>
#include <QStyle>
#include <QStyleOption>
#include <qdrawutil.h>

namespace vexo {

QColor systemColor(SystemColor which, const QPalette &palette)
{
    switch (which) {
    case COLOR_HIGHLIGHT:
    case COLOR_MENUHILIGHT:
        return palette.color(QPalette::Active, QPalette::Highlight);
    case COLOR_BTNFACE:
        return palette.color(QPalette::Active, QPalette::Button);
    case COLOR_BTNSHADOW:
        return palette.color(QPalette::Active, QPalette::Dark);
    case COLOR_GRAYTEXT:
        return palette.color(QPalette::Disabled, QPalette::Text);
    case COLOR_BTNTEXT:
        return palette.color(QPalette::Active, QPalette::ButtonText);
    case COLOR_BTNHIGHLIGHT:
        return palette.color(QPalette::Active, QPalette::Light);
    }
    return {};
}

namespace {

// The icon's shape filled with one colour.
QImage silhouette(const QPixmap &pm, const QColor &color)
{
    QImage shape(pm.size(), QImage::Format_ARGB32_Premultiplied);
    shape.setDevicePixelRatio(pm.devicePixelRatio());
    shape.fill(Qt::transparent);
    QPainter s(&shape);
    s.drawPixmap(0, 0, pm);
    s.setCompositionMode(QPainter::CompositionMode_SourceIn);
    s.fillRect(QRect(QPoint(0, 0), pm.deviceIndependentSize().toSize()), color);
    return shape;
}

} // namespace

void OutlookBarImageList::draw(QPainter &painter, int index, QPoint at, Look look, const QPalette &palette) const
{
    if (index < 0 || index >= icons_.size() || size_.isEmpty())
        return;
    const QRect target(at, size_);
    const QIcon &icon = icons_.at(index);
    switch (look) {
    case Look::Normal:
        painter.drawPixmap(target, icon.pixmap(size_));
        break;
    case Look::Selected: {
        QPixmap pm = icon.pixmap(size_);
        QColor tint = palette.color(QPalette::Active, QPalette::Highlight);
        tint.setAlpha(128);
        painter.drawPixmap(target, pm);
        painter.drawImage(target, silhouette(pm, tint));
        break;
    }
    case Look::Disabled: {
        // Engraved: a light shadow one pixel down and right under the greyed icon.
        const QPixmap grey = icon.pixmap(size_, QIcon::Disabled);
        painter.drawImage(target.translated(1, 1), silhouette(grey, palette.color(QPalette::Active, QPalette::Light)));
        painter.drawPixmap(target, grey);
        break;
    }
    }
}

void OUTLOOKBARELEMENT::ENABLE()
{
    enabled_ = true;
    UPDATE();
}

void OUTLOOKBARELEMENT::DISABLE()
{
    enabled_ = false;
    UPDATE();
}

bool OUTLOOKBARELEMENT::setPressed(bool down)
{
    if (down == pressed_)
        return false;
    pressed_ = down;
    if (OUTLOOKBAR *bar = CONTROL())
        bar->update();
    return true;
}

void OUTLOOKBARARROW::UPDATE()
{
    header_.UPDATE();
}

OUTLOOKBAR *OUTLOOKBARARROW::CONTROL() const
{
    return header_.CONTROL();
}

bool OUTLOOKBARARROW::DRAW(QPainter &painter) const
{
    const OUTLOOKBAR *bar = CONTROL();
    const QRect r = AREA().fillRect();
    if (!bar || r.width() <= 0 || r.height() <= 0)
        return true;
    const QPalette &pal = bar->palette();
    const bool pressed = ISPRESSED();
    if (bar->STYLE() == OutlookBarStyle::JOVSTYLE) {
        // The flat look: a face with a thin border, darker while held.
        painter.fillRect(r, pal.brush(QPalette::Button));
        painter.setPen(pal.color(pressed ? QPalette::Shadow : QPalette::Dark));
        painter.setBrush(Qt::NoBrush);
        painter.drawRect(r.adjusted(0, 0, -1, -1));
    } else {
        qDrawWinButton(&painter, r, pal, pressed, &pal.brush(QPalette::Button));
    }
    QStyleOption opt;
    opt.initFrom(bar);
    opt.state |= QStyle::State_Enabled;
    opt.rect = r.adjusted(3, 3, -3, -3).translated(pressed ? 1 : 0, pressed ? 1 : 0);
    opt.palette.setColor(QPalette::ButtonText, pal.color(QPalette::Active, QPalette::ButtonText));
    const bool up = NAMESYM() != DOWN_ARROW; // any other name draws the up arrow
    bar->style()->drawPrimitive(up ? QStyle::PE_IndicatorArrowUp : QStyle::PE_IndicatorArrowDown, &opt, &painter, bar);
    return true;
}

} // namespace vexo
