#include "controls/outlook_bar.h"

#include <QEvent>
#include <QFontMetrics>
#include <QMouseEvent>
#include <QPainter>
#include <QPointer>
#include <QStyle>

#include <algorithm>

namespace vexo {

QColor lightenedItemsColor(const QColor &menuHilight)
{
    const auto lighten = [](int c) { return c == 0 ? 20 : std::min(255, c + c * 2 / 10); };
    return QColor(lighten(menuHilight.red()), lighten(menuHilight.green()), lighten(menuHilight.blue()));
}

bool visualStylesActive(const QWidget *widget)
{
    // The classic look is Qt's plain "windows" style; every other style draws themed.
    return widget->style()->name().compare(QLatin1String("windows"), Qt::CaseInsensitive) != 0;
}

OUTLOOKBAR::OUTLOOKBAR(OutlookBarOwner *owner, QWidget *parent) : QWidget(parent), owner_(owner)
{
    // Every paint covers the whole client area, so Qt need not clear it first.
    setAttribute(Qt::WA_OpaquePaintEvent);
    setMouseTracking(true);
    hiliteBackground_ = systemColor(COLOR_BTNFACE, palette());
    restyleTimer_.setSingleShot(true);
    restyleTimer_.setInterval(1000);
    connect(&restyleTimer_, &QTimer::timeout, this, [this] { setSTYLE(style_); });
    setSTYLE(OutlookBarStyle::STDSTYLE);
}

OUTLOOKBAR::~OUTLOOKBAR() = default;

void OUTLOOKBAR::setIMAGELIST(std::optional<OutlookBarImageList> list)
{
    imageList_ = std::move(list);
    UPDATE();
}

void OUTLOOKBAR::setSMALLIMAGELIST(std::optional<OutlookBarImageList> list)
{
    smallImageList_ = std::move(list);
    UPDATE();
}

void OUTLOOKBAR::setBACKGROUNDCOLOR(const QColor &c)
{
    background_ = c;
    UPDATE();
}

void OUTLOOKBAR::setITEMSBACKGROUNDCOLOR(std::optional<QColor> c)
{
    itemsBackground_ = c;
    UPDATE();
}

void OUTLOOKBAR::setACTIVEHEADER(const QString &name)
{
    if (name == activeHeader_)
        return;
    activeHeader_ = name;
    RECALC();
    // Also repaint: a re-opened header must show at once, not at whatever paints next.
    UPDATE();
}

void OUTLOOKBAR::setHEADERHEIGHT(int height)
{
    if (height < 0)
        return;
    headerHeight_ = height;
    UPDATE();
}

void OUTLOOKBAR::setITEMTOPSPACE(int space)
{
    itemTopSpace_ = space;
    UPDATE();
}

void OUTLOOKBAR::setITEMSPACING(int spacing)
{
    itemSpacing_ = spacing;
    UPDATE();
}

void OUTLOOKBAR::setISITEMSBOXED(bool boxed)
{
    itemsBoxed_ = boxed;
    UPDATE();
}

OutlookBarStyle OUTLOOKBAR::setSTYLE(OutlookBarStyle style)
{
    switch (style) {
    case OutlookBarStyle::STDSTYLE:
        background_ = QColor(127, 127, 127);
        break;
    case OutlookBarStyle::JOVSTYLE:
        background_ = systemColor(COLOR_BTNFACE, palette());
        hiliteBackground_ = systemColor(COLOR_BTNFACE, palette());
        break;
    case OutlookBarStyle::NEWSTYLE:
        itemsBackground_ = visualStylesActive(this) ? lightenedItemsColor(systemColor(COLOR_MENUHILIGHT, palette()))
                                                    : QColor(125, 165, 224);
        background_ = *itemsBackground_;
        hiliteBackground_ = QColor(238, 149, 21);
        for (const auto &entry : headers_) {
            entry.second->setGRADIENTCOLOR(QColor(247, 194, 95));
            entry.second->ITEMSGRADIENTCOLOR__(QColor(255, 255, 255));
        }
        setITEMSPACING(0);
        setISITEMSBOXED(true);
        break;
    default:
        return style_; // not one of the three: nothing changes
    }
    style_ = style;
    UPDATE();
    return style_;
}

bool OUTLOOKBAR::ADDHEADER(std::unique_ptr<OUTLOOKBARHEADER> header)
{
    return INSERTHEADER(std::move(header), QStringLiteral("LAST"));
}

bool OUTLOOKBAR::INSERTHEADER(std::unique_ptr<OUTLOOKBARHEADER> header, const QString &before)
{
    OUTLOOKBARHEADER *h = header.get();
    h->setOUTLOOKBAR__(this);
    const auto at = std::find_if(headers_.begin(), headers_.end(),
                                 [&](const auto &entry) { return entry.first == before; });
    headers_.emplace(at, h->NAMESYM(), std::move(header));

    if (h->IMAGEINDEX() > 0) {
        // The header grows to fit its icon, never shrinks.
        const int iconHeight = smallImageList_ ? SMALLIMAGEHEIGHT() : IMAGEHEIGHT();
        if (headerHeight_ < iconHeight + 4)
            setHEADERHEIGHT(iconHeight + 4);
    }
    return true;
}

OUTLOOKBARHEADER *OUTLOOKBAR::GETHEADERFROMSYMBOL(const QString &name) const
{
    for (const auto &[added, header] : headers_)
        if (added == name)
            return header.get();
    return nullptr;
}

OUTLOOKBARITEM *OUTLOOKBAR::GETITEMFROMSYMBOL(const QString &name) const
{
    const OUTLOOKBARHEADER *open = GETACTIVEHEADER();
    return open ? open->GETITEMFROMSYMBOL(name) : nullptr;
}

void OUTLOOKBAR::SETITEMCAPTION(const QString &name, const QString &caption)
{
    for (const auto &entry : headers_) {
        if (OUTLOOKBARITEM *item = entry.second->GETITEMFROMSYMBOL(name)) {
            item->setCAPTION(caption);
            UPDATE();
            return;
        }
    }
}

CaptionMeasure OUTLOOKBAR::captionMeasure() const
{
    const QFontMetrics metrics(font());
    return [metrics](const QString &caption, int wrapWidth) {
        return metrics.boundingRect(QRect(0, 0, wrapWidth, 0), Qt::AlignHCenter | Qt::TextWordWrap, caption).size();
    };
}

OutlookBarLayoutInput OUTLOOKBAR::layoutInput() const
{
    OutlookBarLayoutInput in;
    in.client = WRECT(0, 0, width(), height());
    in.style = style_;
    in.headerHeight = headerHeight_;
    in.itemTopSpace = itemTopSpace_;
    in.labelSpacing = labelSpacing_;
    in.itemSpacing = itemSpacing_;
    in.imageWidth = IMAGEWIDTH();
    in.imageHeight = IMAGEHEIGHT();
    in.arrowWidth = style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, this);
    in.arrowHeight = in.arrowWidth;
    in.headerCount = headerCount();
    for (int i = 0; i < headerCount(); ++i) {
        const OUTLOOKBARHEADER *h = header(i);
        if (h->NAMESYM() != activeHeader_)
            continue;
        in.openHeader = i;
        for (int k = 1; k <= h->ITEMCOUNT(); ++k)
            in.captions.append(h->GETITEM(k)->CAPTION());
        in.firstVisibleItem = h->FIRSTVISIBLEITEM();
        in.lastVisibleItem = h->LASTVISIBLEITEM();
        in.isUpArrow = h->ISUPARROW();
        in.isDownArrow = h->ISDOWNARROW();
        break;
    }
    return in;
}

void OUTLOOKBAR::RECALC()
{
    const OutlookBarLayoutInput in = layoutInput();
    const OutlookBarLayout out = layoutOutlookBar(in, captionMeasure());
    for (int i = 0; i < headerCount(); ++i)
        header(i)->setAREA(out.headerAreas.at(i));
    if (!out.hasOpenHeader)
        return;
    lowerHeaderStop_ = out.lowerHeaderStop;
    insideRect_ = out.insideRect;
    OUTLOOKBARHEADER *open = header(in.openHeader);
    for (const OutlookBarItemPlace &place : out.items) {
        OUTLOOKBARITEM *item = open->GETITEM(place.position);
        item->setAREA(place.area);
        if (place.label)
            item->setLabelRect(*place.label);
    }
    open->setLASTVISIBLEITEM(out.lastVisibleItem);
    open->setISUPARROW(out.isUpArrow);
    open->setISDOWNARROW(out.isDownArrow);
    open->SETUPARROWPOS(out.upArrow);
    open->SETDOWNARROWPOS(out.downArrow);
}

OUTLOOKBARHEADER *OUTLOOKBAR::GETHEADERFROMPOINT(QPoint p) const
{
    for (const auto &entry : headers_)
        if (entry.second->HITTEST(p))
            return entry.second.get();
    return nullptr;
}

OUTLOOKBARITEM *OUTLOOKBAR::GETITEMFROMPOINT(QPoint p) const
{
    if (activeHeader_.isEmpty())
        return nullptr;
    const OUTLOOKBARHEADER *open = GETACTIVEHEADER();
    if (!open || open->ITEMCOUNT() == 0 || open->LASTVISIBLEITEM() < open->FIRSTVISIBLEITEM())
        return nullptr;
    const int last = std::min(open->LASTVISIBLEITEM(), open->ITEMCOUNT());
    for (int i = std::max(open->FIRSTVISIBLEITEM(), 1); i <= last; ++i)
        if (open->GETITEM(i)->HITTEST(p))
            return open->GETITEM(i);
    return nullptr;
}

bool OUTLOOKBAR::SCROLLUP()
{
    OUTLOOKBARHEADER *open = GETACTIVEHEADER();
    if (!open || !open->SCROLLUP())
        return false;
    RECALC();
    UPDATE();
    return true;
}

bool OUTLOOKBAR::SCROLLDOWN()
{
    OUTLOOKBARHEADER *open = GETACTIVEHEADER();
    if (!open || !open->SCROLLDOWN())
        return false;
    RECALC();
    UPDATE();
    return true;
}

bool OUTLOOKBAR::DRAWBACKGROUND(QPainter &p) const
{
    p.fillRect(rect(), background_);
    return true;
}

bool OUTLOOKBAR::DRAWHEADERS(QPainter &p) const
{
    if (headerHeight_ != 0)
        for (const auto &entry : headers_)
            entry.second->DRAW(p);
    DRAWITEMS(p);
    DRAWARROWS(p);
    return true;
}

bool OUTLOOKBAR::DRAWITEMS(QPainter &p) const
{
    const OUTLOOKBARHEADER *open = GETACTIVEHEADER();
    if (open && open->FIRSTVISIBLEITEM() > 0) {
        p.save();
        p.setClipRect(insideRect_.fillRect());
        open->DRAWITEMS(p, insideRect_);
        p.restore();
    }
    return true;
}

bool OUTLOOKBAR::DRAWARROWS(QPainter &p) const
{
    const OUTLOOKBARHEADER *open = GETACTIVEHEADER();
    if (!open)
        return false;
    // A header without items shows no arrows.
    if (open->FIRSTVISIBLEITEM() > 0)
        open->DRAWARROWS(p);
    return true;
}

void OUTLOOKBAR::paintEvent(QPaintEvent *)
{
    RECALC();
    QPainter p(this);
    DRAWBACKGROUND(p);
    DRAWHEADERS(p);
}

OUTLOOKBARARROW *OUTLOOKBAR::pressedArrowElement() const
{
    OUTLOOKBARHEADER *open = GETACTIVEHEADER();
    if (!open || pressedArrow_.isEmpty())
        return nullptr;
    return pressedArrow_ == UP_ARROW ? &open->UPARROW() : &open->DOWNARROW();
}

void OUTLOOKBAR::mousePressEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton || (event->modifiers() & (Qt::ShiftModifier | Qt::ControlModifier)))
        return;
    const QPoint p = event->position().toPoint();
    if (OUTLOOKBARHEADER *h = GETHEADERFROMPOINT(p); h && h->ISENABLED()) {
        MOUSETRAPON();
        pressedHeader_ = h->NAMESYM();
        h->PRESS(true);
        return;
    }
    OUTLOOKBARHEADER *open = GETACTIVEHEADER();
    if (!open || !open->ISENABLED())
        return;
    // Arrows lie over the items and win.
    if (open->ISUPARROW() && open->UPARROW().HITTEST(p)) {
        MOUSETRAPON();
        pressedArrow_ = UP_ARROW;
        open->UPARROW().PRESS(true);
    } else if (open->ISDOWNARROW() && open->DOWNARROW().HITTEST(p)) {
        MOUSETRAPON();
        pressedArrow_ = DOWN_ARROW;
        open->DOWNARROW().PRESS(true);
    } else if (OUTLOOKBARITEM *item = GETITEMFROMPOINT(p); item && item->ISENABLED()) {
        MOUSETRAPON();
        pressedItem_ = item->NAMESYM();
        item->PRESS(true);
    }
}

void OUTLOOKBAR::mouseMoveEvent(QMouseEvent *event)
{
    const QPoint p = event->position().toPoint();
    if (event->buttons() != Qt::NoButton)
        mouseDrag(p);
    else
        mouseHover(p);
}

void OUTLOOKBAR::mouseDrag(QPoint p)
{
    if (!pressedHeader_.isEmpty()) {
        if (OUTLOOKBARHEADER *pressed = GETHEADERFROMSYMBOL(pressedHeader_)) {
            const OUTLOOKBARHEADER *under = GETHEADERFROMPOINT(p);
            pressed->PRESS(under && under->ISENABLED() && under->NAMESYM() == pressedHeader_);
        }
    } else if (!pressedItem_.isEmpty()) {
        if (OUTLOOKBARITEM *pressed = GETITEMFROMSYMBOL(pressedItem_)) {
            const OUTLOOKBARITEM *under = GETITEMFROMPOINT(p);
            pressed->PRESS(under && under->ISENABLED() && under->NAMESYM() == pressedItem_);
        }
    } else if (!pressedArrow_.isEmpty()) {
        if (OUTLOOKBARARROW *arrow = pressedArrowElement())
            arrow->PRESS(arrow->HITTEST(p));
        else
            pressedArrow_.clear();
    }
}

void OUTLOOKBAR::setHilited(const QString &name)
{
    if (name != hilitedItem_) {
        hilitedItem_ = name;
        update(insideRect_.fillRect());
    }
}

void OUTLOOKBAR::mouseHover(QPoint p)
{
    // Disabled items are highlighted as well; over a header no item is.
    const OUTLOOKBARITEM *item = GETHEADERFROMPOINT(p) ? nullptr : GETITEMFROMPOINT(p);
    setHilited(item ? item->NAMESYM() : QString());
}

void OUTLOOKBAR::leaveEvent(QEvent *event)
{
    // Nothing is under the pointer once it has left the bar.
    setHilited(QString());
    QWidget::leaveEvent(event);
}

void OUTLOOKBAR::mouseReleaseEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton)
        return;
    MOUSETRAPOFF();

    OUTLOOKBARARROW *arrow = nullptr;
    if (!pressedHeader_.isEmpty()) {
        if (OUTLOOKBARHEADER *h = GETHEADERFROMSYMBOL(pressedHeader_); h && headerHeight_ != 0)
            h->PRESS(false);
    } else if (!pressedItem_.isEmpty()) {
        if (OUTLOOKBARITEM *item = GETITEMFROMSYMBOL(pressedItem_))
            item->PRESS(false);
    } else if ((arrow = pressedArrowElement())) {
        arrow->PRESS(false);
    }

    const QPoint p = event->position().toPoint();
    OUTLOOKBARHEADER *changedHeader = nullptr;
    OUTLOOKBARITEM *clicked = nullptr;
    bool itemChanged = false;
    QString scroll;
    if (OUTLOOKBARHEADER *h = GETHEADERFROMPOINT(p); h && h->ISENABLED()) {
        if (!pressedHeader_.isEmpty() && h->NAMESYM() == pressedHeader_ && h->NAMESYM() != activeHeader_) {
            // Stored directly: the repaint lays the bar out for the new header.
            activeHeader_ = h->NAMESYM();
            UPDATE();
            changedHeader = h;
        }
    } else if (arrow) {
        if (arrow->HITTEST(p))
            scroll = arrow->NAMESYM();
    } else if (OUTLOOKBARITEM *item = GETITEMFROMPOINT(p);
               item && item->ISENABLED() && !pressedItem_.isEmpty() && item->NAMESYM() == pressedItem_) {
        clicked = item;
        if (item->NAMESYM() != lastClickedItem_) {
            itemChanged = true;
            lastClickedItem_ = item->NAMESYM();
        }
    }
    pressedHeader_.clear();
    pressedItem_.clear();
    pressedArrow_.clear();

    // A handler may close the window that holds the bar; stop as soon as the bar is gone.
    const QPointer<OUTLOOKBAR> alive(this);
    if (changedHeader && owner_ && owner_->OLBHEADERCHANGED)
        owner_->OLBHEADERCHANGED(*changedHeader);
    if (!alive)
        return;
    if (clicked && owner_ && owner_->OLBITEMCLICKED)
        owner_->OLBITEMCLICKED(*clicked);
    if (!alive)
        return;
    if (clicked && itemChanged && owner_ && owner_->OLBITEMCHANGED)
        owner_->OLBITEMCHANGED(*clicked);
    if (!alive)
        return;

    if (scroll == UP_ARROW)
        SCROLLUP();
    else if (scroll == DOWN_ARROW)
        SCROLLDOWN();
}

void OUTLOOKBAR::changeEvent(QEvent *event)
{
    // A new desktop theme brings new colours; take them up a second later, once the change has settled.
    if (event->type() == QEvent::PaletteChange || event->type() == QEvent::StyleChange)
        restyleTimer_.start();
    QWidget::changeEvent(event);
}

} // namespace vexo
