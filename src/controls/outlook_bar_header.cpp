#include "controls/outlook_bar_header.h"

#include "controls/outlook_bar.h"
#include "controls/outlook_bar_item.h"

#include <QFontMetrics>
#include <QGuiApplication>
#include <QLinearGradient>
#include <QPainter>

namespace vexo {

OUTLOOKBARHEADER::OUTLOOKBARHEADER(const QString &name, const QString &caption, const QVariant &value,
                                   int imageIndex)
    : OUTLOOKBARBASE(name, caption, value), imageIndex_(imageIndex)
{
    // The desktop's colours as they are when the header is made.
    const QPalette palette = QGuiApplication::palette();
    textColor_ = systemColor(COLOR_BTNTEXT, palette);
    hiliteColor_ = systemColor(COLOR_HIGHLIGHT, palette);
}

OUTLOOKBARHEADER::~OUTLOOKBARHEADER() = default;

OUTLOOKBARITEM *OUTLOOKBARHEADER::ADDITEM(std::unique_ptr<OUTLOOKBARITEM> item)
{
    OUTLOOKBARITEM *added = item.get();
    added->setPARENTHEADER__(this);
    items_.emplace_back(added->NAMESYM(), std::move(item));
    if (firstVisible_ < 0)
        firstVisible_ = 1;
    return added;
}

OUTLOOKBARITEM *OUTLOOKBARHEADER::GETITEM(int position) const
{
    if (position < 1 || position > ITEMCOUNT())
        return nullptr;
    return items_[std::size_t(position - 1)].second.get();
}

OUTLOOKBARITEM *OUTLOOKBARHEADER::GETITEMFROMSYMBOL(const QString &name) const
{
    for (const auto &[added, item] : items_)
        if (added == name)
            return item.get();
    return nullptr;
}

bool OUTLOOKBARHEADER::SCROLLUP()
{
    if (firstVisible_ <= 1)
        return false;
    --firstVisible_;
    return true;
}

bool OUTLOOKBARHEADER::SCROLLDOWN()
{
    if (lastVisible_ < ITEMCOUNT()) {
        ++firstVisible_;
        return true;
    }
    if (lastVisible_ == ITEMCOUNT() && bar_) {
        // All items are laid out; go on only while the last one is cut by the area's bottom.
        const OUTLOOKBARITEM *last = GETITEM(ITEMCOUNT());
        if (last && last->AREA().TOP + last->TOTALHEIGHT() > bar_->GETINSIDERECT().BOTTOM) {
            ++firstVisible_;
            return true;
        }
    }
    return false;
}

bool OUTLOOKBARHEADER::SETUPARROWPOS(const WRECT &r)
{
    upArrow_.setAREA(r);
    return true;
}

bool OUTLOOKBARHEADER::SETDOWNARROWPOS(const WRECT &r)
{
    downArrow_.setAREA(r);
    return true;
}

void OUTLOOKBARHEADER::ITEMSGRADIENTCOLOR__(const QColor &c)
{
    for (const auto &entry : items_)
        entry.second->setGRADIENTCOLOR(c);
}

QColor OUTLOOKBARHEADER::BACKGROUNDCOLOR() const
{
    return bar_ ? bar_->BACKGROUNDCOLOR() : QColor();
}

QColor OUTLOOKBARHEADER::HILITEBACKGROUNDCOLOR() const
{
    return bar_ ? bar_->HILITEBACKGROUNDCOLOR() : QColor();
}

std::optional<QColor> OUTLOOKBARHEADER::ITEMSBACKGROUNDCOLOR() const
{
    return bar_ ? bar_->ITEMSBACKGROUNDCOLOR() : std::nullopt;
}

bool OUTLOOKBARHEADER::ISITEMSBOXED() const
{
    return bar_ && bar_->ISITEMSBOXED();
}

OutlookBarStyle OUTLOOKBARHEADER::STYLE() const
{
    return bar_ ? bar_->STYLE() : OutlookBarStyle::STDSTYLE;
}

void OUTLOOKBARHEADER::UPDATE()
{
    if (bar_)
        bar_->UPDATE();
}

bool OUTLOOKBARHEADER::isActive() const
{
    return bar_ && NAMESYM() == bar_->ACTIVEHEADER();
}

void OUTLOOKBARHEADER::DRAW(QPainter &p) const
{
    switch (STYLE()) {
    case OutlookBarStyle::JOVSTYLE:
        DRAWJOV(p);
        break;
    case OutlookBarStyle::NEWSTYLE:
        DRAWNEW(p);
        break;
    default:
        DRAWSTD(p);
        break;
    }
}

// The raised (or, while held, sunken) button face every style starts from.
void OUTLOOKBARHEADER::drawFrame(QPainter &p, bool gradient) const
{
    const QPalette &pal = bar_->palette();
    const WRECT &rc = AREA();
    const QColor light = systemColor(COLOR_BTNHIGHLIGHT, pal);
    const QColor shadow = systemColor(COLOR_BTNSHADOW, pal);
    const QColor topLeft = ISPRESSED() ? shadow : light;
    const QColor bottomRight = ISPRESSED() ? light : shadow;

    p.fillRect(rc.edgeRect(), systemColor(COLOR_BTNFACE, pal));
    if (gradient)
        DRAWGRADIENTFILLBACKGROUND(p, rc, isActive());
    p.setPen(QPen(topLeft, 1));
    p.drawLine(rc.RIGHT, rc.TOP, rc.LEFT, rc.TOP);
    p.drawLine(rc.LEFT, rc.TOP, rc.LEFT, rc.BOTTOM);
    p.setPen(QPen(bottomRight, 1));
    p.drawLine(rc.LEFT + 1, rc.BOTTOM, rc.RIGHT, rc.BOTTOM);
    p.drawLine(rc.RIGHT, rc.BOTTOM, rc.RIGHT, rc.TOP + 1);
}

void OUTLOOKBARHEADER::DRAWSTD(QPainter &p) const
{
    if (!bar_)
        return;
    p.save();
    drawFrame(p, false);
    WRECT rc(AREA().LEFT + 2, AREA().TOP + 2, AREA().RIGHT - 2, AREA().BOTTOM - 2);
    const int shift = ISPRESSED() ? 1 : 0;
    const QRect text = rc.fillRect().translated(shift, shift);
    p.setFont(bar_->font());
    p.setPen(Qt::black);
    const QString shown = QFontMetrics(bar_->font()).elidedText(CAPTION(), Qt::ElideRight, text.width());
    p.drawText(text, Qt::AlignCenter | Qt::TextSingleLine, shown);
    p.restore();
}

void OUTLOOKBARHEADER::drawIcon(QPainter &p) const
{
    if (imageIndex_ <= 0)
        return;
    const OutlookBarImageList *list = bar_->SMALLIMAGELIST() ? bar_->SMALLIMAGELIST() : bar_->IMAGELIST();
    if (!list)
        return;
    const int shift = ISPRESSED() ? 1 : 0;
    const QPoint at(AREA().LEFT + 2 + shift, AREA().TOP + 2 + shift);
    list->draw(p, imageIndex_ - 1, at,
               ISENABLED() ? OutlookBarImageList::Look::Normal : OutlookBarImageList::Look::Disabled,
               bar_->palette());
}

void OUTLOOKBARHEADER::DRAWJOV(QPainter &p) const
{
    if (!bar_)
        return;
    p.save();
    drawFrame(p, false);
    drawIcon(p);
    DRAWJOVTEXT_(p);
    p.restore();
}

void OUTLOOKBARHEADER::DRAWNEW(QPainter &p) const
{
    if (!bar_)
        return;
    p.save();
    drawFrame(p, true);
    drawIcon(p);
    DRAWJOVTEXT_(p);
    p.restore();
}

QFont OUTLOOKBARHEADER::captionFont() const
{
    QFont font = bar_->font();
    if (isActive())
        font.setWeight(QFont::ExtraBold);
    return font;
}

int OUTLOOKBARHEADER::imageShift() const
{
    if (imageIndex_ <= 0)
        return 0;
    // The caption is centred in the part right of the icon.
    if (bar_->SMALLIMAGELIST())
        return bar_->SMALLIMAGEWIDTH();
    return bar_->IMAGELIST() ? bar_->IMAGEWIDTH() : 0;
}

QRect OUTLOOKBARHEADER::captionRect() const
{
    const WRECT rc = AREA();
    const int shift = ISPRESSED() ? 1 : 0;
    return WRECT(rc.LEFT + imageShift() + 2, rc.TOP + 2, rc.RIGHT - 2, rc.BOTTOM - 2).fillRect().translated(shift, shift);
}

QString OUTLOOKBARHEADER::shownCaption() const
{
    if (!bar_)
        return CAPTION();
    return QFontMetrics(captionFont()).elidedText(CAPTION(), Qt::ElideRight, captionRect().width());
}

int OUTLOOKBARHEADER::fullCaptionWidth() const
{
    if (!bar_)
        return 0;
    QFont bold = bar_->font();
    bold.setWeight(QFont::ExtraBold);
    // The icon, the two-pixel text margins and a pixel of the frame on each side.
    return imageShift() + QFontMetrics(bold).horizontalAdvance(CAPTION()) + 4 + 2 + 2;
}

void OUTLOOKBARHEADER::DRAWJOVTEXT_(QPainter &p) const
{
    p.save();
    p.setFont(captionFont());
    p.setPen(ISENABLED() ? textColor_ : systemColor(COLOR_GRAYTEXT, bar_->palette()));
    p.drawText(captionRect(), Qt::AlignCenter | Qt::TextSingleLine, shownCaption());
    p.restore();
}

bool OUTLOOKBARHEADER::DRAWGRADIENTFILLBACKGROUND(QPainter &p, const WRECT &r, bool active) const
{
    const QColor base = (active || ISPRESSED()) ? HILITEBACKGROUNDCOLOR()
                                                : ITEMSBACKGROUNDCOLOR().value_or(BACKGROUNDCOLOR());
    const QColor from = ISPRESSED() ? base : gradientColor_;
    const QColor to = ISPRESSED() ? gradientColor_ : base;
    const QRect area = r.fillRect();
    QLinearGradient g(area.topLeft(), area.topRight()); // left to right
    g.setColorAt(0, from);
    g.setColorAt(1, to);
    p.fillRect(area, g);
    return true;
}

bool OUTLOOKBARHEADER::DRAWITEMS(QPainter &p, const WRECT &area) const
{
    // Exactly the items the layout placed: in the new style an item's total height counts its caption
    // a second time although the caption sits beside the icon, so adding up total heights would stop
    // short of the items that are still visible.
    Q_UNUSED(area);
    const OUTLOOKBAR *bar = bar_;
    const int last = qMin(lastVisible_, ITEMCOUNT());
    for (int i = qMax(firstVisible_, 1); i <= last; ++i) {
        const OUTLOOKBARITEM *item = GETITEM(i);
        // The item under the pointer is shown highlighted unless it is held down.
        if (bar && !item->ISPRESSED() && !bar->HILITEDITEM().isEmpty()
            && bar->GETITEMFROMSYMBOL(bar->HILITEDITEM()) == item)
            item->HILITE(p, true);
        else
            item->DRAW(p);
    }
    return true;
}

bool OUTLOOKBARHEADER::DRAWARROWS(QPainter &p) const
{
    if (isUpArrow_)
        upArrow_.DRAW(p);
    if (isDownArrow_)
        downArrow_.DRAW(p);
    return true;
}

} // namespace vexo
