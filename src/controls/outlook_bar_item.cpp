#include "controls/outlook_bar_item.h"

#include "controls/outlook_bar.h"
#include "controls/outlook_bar_header.h"

#include <QLinearGradient>
#include <QPainter>

namespace vexo {

namespace {

// Keeps every drawing of an item inside the bar's item area and leaves the painter as it found it.
class ItemClip
{
public:
    ItemClip(QPainter &p, const OUTLOOKBAR &bar) : p_(p)
    {
        p_.save();
        p_.setClipRect(bar.GETINSIDERECT().fillRect(), Qt::IntersectClip);
    }
    ~ItemClip() { p_.restore(); }
    ItemClip(const ItemClip &) = delete;
    ItemClip &operator=(const ItemClip &) = delete;

private:
    QPainter &p_;
};

WRECT grown(WRECT r, int by)
{
    return WRECT(r.LEFT - by, r.TOP - by, r.RIGHT + by, r.BOTTOM + by);
}

} // namespace

OUTLOOKBARITEM::OUTLOOKBARITEM(const QString &name, const QString &caption, int imageIndex, const QVariant &value)
    : OUTLOOKBARBASE(name, caption, value), imageIndex_(imageIndex)
{
}

OUTLOOKBAR *OUTLOOKBARITEM::CONTROL() const
{
    return header_ ? header_->CONTROL() : nullptr;
}

BoundingBox OUTLOOKBARITEM::setLABELAREA(const BoundingBox &box)
{
    label_.setBOUNDINGBOX(box);
    return label_.BOUNDINGBOX();
}

int OUTLOOKBARITEM::TOTALHEIGHT() const
{
    int h = AREA().HEIGHT();
    if (!CAPTION().isEmpty()) {
        const OUTLOOKBAR *bar = CONTROL();
        h += (bar ? bar->LABELSPACING() : 0) + label_.HEIGHT();
    }
    return h;
}

bool OUTLOOKBARITEM::HITTEST(QPoint p) const
{
    const OUTLOOKBAR *bar = CONTROL();
    if (!bar || !bar->GETINSIDERECT().POINTINSIDE(p))
        return false; // the part of an item scrolled out of the area is never hit
    WRECT r = AREA();
    if (!CAPTION().isEmpty())
        r.BOTTOM = captionBottom(); // the icon column reaches down through the caption's rows
    bool hit = r.POINTINSIDE(p);
    if (!hit && !CAPTION().isEmpty())
        hit = label_.POINTINSIDE(p);
    return hit;
}

void OUTLOOKBARITEM::UPDATE()
{
    if (header_)
        header_->UPDATE();
}

bool OUTLOOKBARITEM::DRAW(QPainter &p) const
{
    HILITE(p, false);
    return true;
}

void OUTLOOKBARITEM::HILITE(QPainter &p, bool hilite) const
{
    if (!header_ || !CONTROL())
        return;
    switch (header_->STYLE()) {
    case OutlookBarStyle::JOVSTYLE:
        DRAWJOV(p, hilite);
        break;
    case OutlookBarStyle::NEWSTYLE:
        DRAWNEW(p, hilite);
        break;
    default:
        DRAWSTD(p, hilite);
        break;
    }
}

void OUTLOOKBARITEM::DRAWSTD(QPainter &p, bool hilite) const
{
    const OUTLOOKBAR &bar = *CONTROL();
    ItemClip clip(p, bar);
    const WRECT rc = grown(AREA(), 1);
    const QColor light = systemColor(COLOR_BTNHIGHLIGHT, bar.palette());
    QColor topLeft = bar.BACKGROUNDCOLOR();
    QColor bottomRight = topLeft; // invisible against the background
    if (ISPRESSED()) {
        topLeft = Qt::black;
        bottomRight = light;
    } else if (hilite) {
        topLeft = light;
        bottomRight = Qt::black;
    }
    p.setPen(QPen(topLeft, 1));
    p.drawLine(rc.RIGHT, rc.TOP, rc.LEFT, rc.TOP);
    p.drawLine(rc.LEFT, rc.TOP, rc.LEFT, rc.BOTTOM);
    p.setPen(QPen(bottomRight, 1));
    p.drawLine(rc.LEFT, rc.BOTTOM, rc.RIGHT, rc.BOTTOM);
    p.drawLine(rc.RIGHT, rc.BOTTOM, rc.RIGHT, rc.TOP);

    if (const OutlookBarImageList *list = bar.IMAGELIST())
        list->draw(p, imageIndex_ - 1, AREA().ORIGIN(), OutlookBarImageList::Look::Normal, bar.palette());
    if (!CAPTION().isEmpty()) {
        p.setFont(bar.font());
        p.setPen(Qt::white);
        p.drawText(label_.fillRect(), Qt::AlignHCenter | Qt::AlignTop | Qt::TextWordWrap, CAPTION());
    }
}

// The row behind the item, across the whole item area.
WRECT OUTLOOKBARITEM::band(bool toCaption) const
{
    const OUTLOOKBAR &bar = *CONTROL();
    WRECT rc = AREA();
    rc.LEFT = 0;
    rc.RIGHT = bar.GETINSIDERECT().WIDTH() - 1;
    if (toCaption && !CAPTION().isEmpty())
        rc.BOTTOM = captionBottom();
    return grown(rc, 1);
}

bool OUTLOOKBARITEM::DRAWJOV(QPainter &p, bool hilite) const
{
    const OUTLOOKBAR &bar = *CONTROL();
    ItemClip clip(p, bar);
    const WRECT rc = band(true);
    if (hilite)
        DRAWHILITEBACKGROUND(p, rc);
    else
        DRAWBACKGROUND(p, rc);

    if (const OutlookBarImageList *list = bar.IMAGELIST()) {
        OutlookBarImageList::Look look = OutlookBarImageList::Look::Disabled;
        if (ISENABLED())
            look = hilite ? OutlookBarImageList::Look::Selected : OutlookBarImageList::Look::Normal;
        const QPoint at(AREA().LEFT, AREA().TOP + (ISPRESSED() ? 1 : 0));
        list->draw(p, imageIndex_ - 1, at, look, bar.palette());
    }
    if (!CAPTION().isEmpty()) {
        QFont font = bar.font();
        QColor color = header_->TEXTCOLOR();
        if (!ISENABLED()) {
            color = systemColor(COLOR_GRAYTEXT, bar.palette());
        } else if (hilite) {
            font.setUnderline(true);
            color = header_->HILITECOLOR();
        }
        p.setFont(font);
        p.setPen(color);
        p.drawText(label_.fillRect(), Qt::AlignHCenter | Qt::AlignTop | Qt::TextWordWrap, CAPTION());
    }
    header_->DRAWARROWS(p); // an arrow over the item stays on top
    return true;
}

bool OUTLOOKBARITEM::DRAWNEW(QPainter &p, bool hilite) const
{
    const OUTLOOKBAR &bar = *CONTROL();
    ItemClip clip(p, bar);
    DRAWGRADIENTFILLBACKGROUND(p, band(false), hilite);

    if (const OutlookBarImageList *list = bar.IMAGELIST()) {
        list->draw(p, imageIndex_ - 1, AREA().ORIGIN(),
                   ISENABLED() ? OutlookBarImageList::Look::Normal : OutlookBarImageList::Look::Disabled,
                   bar.palette());
    }
    if (!CAPTION().isEmpty()) {
        QFont font = bar.font();
        font.setBold(true);
        QColor color = header_->TEXTCOLOR();
        if (!ISENABLED())
            color = systemColor(COLOR_GRAYTEXT, bar.palette());
        else if (hilite)
            color = header_->HILITECOLOR();
        p.setFont(font);
        p.setPen(color);
        p.drawText(label_.fillRect(), Qt::AlignLeft | Qt::AlignVCenter | Qt::TextWordWrap, CAPTION());
    }
    header_->DRAWARROWS(p);
    return true;
}

bool OUTLOOKBARITEM::DRAWBACKGROUND(QPainter &p, const WRECT &r) const
{
    p.fillRect(r.fillRect(), header_->BACKGROUNDCOLOR());
    return true;
}

bool OUTLOOKBARITEM::DRAWHILITEBACKGROUND(QPainter &p, const WRECT &r) const
{
    p.fillRect(r.fillRect(), header_->HILITEBACKGROUNDCOLOR());
    return true;
}

bool OUTLOOKBARITEM::DRAWGRADIENTFILLBACKGROUND(QPainter &p, const WRECT &r, bool hilite) const
{
    const QColor base = (hilite || ISPRESSED()) ? header_->HILITEBACKGROUNDCOLOR()
                                                : header_->ITEMSBACKGROUNDCOLOR().value_or(header_->BACKGROUNDCOLOR());
    const QColor from = ISPRESSED() ? base : gradientColor_;
    const QColor to = ISPRESSED() ? gradientColor_ : base;
    const QRect area = r.fillRect();
    QLinearGradient g(area.topLeft(), area.bottomLeft()); // top to bottom
    g.setColorAt(0, from);
    g.setColorAt(1, to);
    p.fillRect(area, g);
    if (header_->ISITEMSBOXED()) {
        p.setPen(QPen(Qt::black, 1));
        p.drawLine(r.RIGHT - 1, r.TOP - 1, r.LEFT + 1, r.TOP - 1);
        p.drawLine(r.LEFT + 1, r.TOP - 1, r.LEFT + 1, r.BOTTOM);
        p.drawLine(r.LEFT + 1, r.BOTTOM, r.RIGHT - 1, r.BOTTOM);
        p.drawLine(r.RIGHT - 1, r.BOTTOM, r.RIGHT - 1, r.TOP - 1);
    }
    return true;
}

} // namespace vexo
