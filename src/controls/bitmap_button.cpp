#include "controls/bitmap_button.h"

#include "controls/named_owner.h"

#include <QApplication>
#include <QBitmap>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QStyle>
#include <QStyleOptionButton>
#include <qdrawutil.h>

namespace vexo {

namespace {

std::optional<bool> g_themesAnswer;

QRect toQRect(const EdgeRect &r)
{
    return QRect(r.left, r.top, r.right - r.left, r.bottom - r.top);
}

constexpr int kTextFlags = Qt::AlignLeft | Qt::AlignTop | Qt::TextShowMnemonic;

} // namespace

bool BitmapButtonThemes::loaded()
{
    if (g_themesAnswer)
        return *g_themesAnswer;
    // The classic style has no themed push buttons; every other style draws its own.
    return QApplication::style() && QApplication::style()->name().compare(QLatin1String("windows"), Qt::CaseInsensitive) != 0;
}

void BitmapButtonThemes::setLoaded(std::optional<bool> answer)
{
    g_themesAnswer = answer;
}

bool JOVXPTHEMESLOADED()
{
    return BitmapButtonThemes::loaded();
}

JOVBITMAPBUTTON::JOVBITMAPBUTTON(QWidget *owner, const QString &caption) : JOVCUSTOMTEXTCNTRL(owner, caption)
{
    setFocusPolicy(Qt::StrongFocus);
    setMouseTracking(true);
    // The painting fills every pixel itself: no erase first, so repaints do not flicker.
    setAttribute(Qt::WA_OpaquePaintEvent);
    m_themed = JOVXPTHEMESLOADED();
    m_captionPos = CaptionPos::CENTER;
    if (owner)
        show(); // also when the owner is already on screen
    // The caption is drawn in a font of the button's own; the owner's font object is never changed.
    FontOp(std::nullopt);
    FontOp(QApplication::font());
    Update();
}

CaptionPos JOVBITMAPBUTTON::setCaptionPos(CaptionPos pos)
{
    m_captionPos = pos;
    return m_captionPos;
}

CaptionPos JOVBITMAPBUTTON::setCaptionPos(const QString &symbol)
{
    if (const auto pos = captionPosFromSymbol(symbol))
        m_captionPos = *pos;
    return m_captionPos;
}

void JOVBITMAPBUTTON::setImageList(const std::optional<BitmapImageList> &list)
{
    m_imageList = list;
    Update();
}

void JOVBITMAPBUTTON::setUseXPTheme(bool themed)
{
    m_themed = themed;
    Update();
}

void JOVBITMAPBUTTON::click()
{
    if (isEnabled())
        callOwnerByName(this);
}

void JOVBITMAPBUTTON::setState(bool pressed)
{
    if (pressed == m_pressed)
        return;
    m_pressed = pressed;
    m_hot = false;
    Update();
}

QSize JOVBITMAPBUTTON::sizeHint() const
{
    const QSize text = fontMetrics().size(Qt::TextShowMnemonic, Caption());
    const int image = m_imageList ? m_imageList->size.width() + 8 : 0;
    return QSize(text.width() + image + 24, std::max(text.height(), m_imageList ? m_imageList->size.height() : 0) + 12);
}

QBrush JOVBITMAPBUTTON::_GetHalftoneBrush()
{
    // Rows alternate 0xAA and 0x55, most significant bit first.
    uchar rows[8];
    for (int k = 1; k <= 8; ++k)
        rows[k - 1] = uchar((0x5555 << (k % 2)) >> 8);
    return QBrush(QBitmap::fromData(QSize(8, 8), rows, QImage::Format_Mono));
}

void JOVBITMAPBUTTON::Draw(QPainter &painter)
{
    __SetColors(painter);
    _DrawBackground(painter);
    _DrawControl(painter);
    _DrawImage(painter);
    _DrawText(painter);
    if (m_focused)
        _DrawFocus(painter);
}

void JOVBITMAPBUTTON::_DrawBackground(QPainter &painter)
{
    painter.fillRect(rect(), painter.background());
}

void JOVBITMAPBUTTON::_DrawControl(QPainter &painter)
{
    if (drawsThemed()) {
        QStyleOptionButton option;
        option.initFrom(this);
        option.rect = rect();
        option.state &= ~(QStyle::State_Sunken | QStyle::State_MouseOver | QStyle::State_HasFocus);
        option.state |= QStyle::State_Raised;
        if (m_pressed)
            option.state |= QStyle::State_Sunken;
        else if (m_hot)
            option.state |= QStyle::State_MouseOver;
        else if (m_focused)
            option.features |= QStyleOptionButton::DefaultButton;
        style()->drawControl(QStyle::CE_PushButtonBevel, &option, &painter, this);
        return;
    }
    QRect face = rect();
    if (m_focused)
        face.adjust(1, 1, -1, -1); // room for the outline of the focus
    qDrawWinButton(&painter, face, palette(), m_pressed);
}

void JOVBITMAPBUTTON::_DrawImage(QPainter &painter)
{
    if (!m_imageList)
        return;
    const auto choice = bitmapImageChoice(m_imageList->count(), m_pressed, m_hot, isEnabled());
    if (!choice)
        return;
    const QRect place = toQRect(_CalcImageRect());
    const QIcon &icon = m_imageList->images.at(choice->index);
    icon.paint(&painter, place, Qt::AlignCenter, choice->disabledLook ? QIcon::Disabled : QIcon::Normal);
}

void JOVBITMAPBUTTON::_DrawText(QPainter &painter)
{
    painter.save();
    painter.setFont(Font());
    painter.setBackgroundMode(Qt::TransparentMode);
    const QRect place = toQRect(_CalcTextRect(painter));
    const QString caption = Caption();
    if (drawsThemed()) {
        style()->drawItemText(&painter, place, kTextFlags, palette(), isEnabled(), caption, QPalette::ButtonText);
    } else if (isEnabled()) {
        painter.drawText(place, kTextFlags, caption);
    } else {
        // Embossed grey: a light copy one pixel down and right under a shadow-coloured one.
        painter.setPen(palette().color(QPalette::Light));
        painter.drawText(place.translated(1, 1), kTextFlags, caption);
        painter.setPen(palette().color(QPalette::Dark));
        painter.drawText(place, kTextFlags, caption);
    }
    painter.restore();
}

void JOVBITMAPBUTTON::_DrawFocus(QPainter &painter)
{
    const QSize area = _GetClientRect();
    painter.save();
    if (!JOVXPTHEMESLOADED()) {
        painter.setPen(QPen(Qt::black, 0));
        const QPoint corners[5] = {{0, 0}, {area.width() - 1, 0}, {area.width() - 1, area.height() - 1},
                                   {0, area.height() - 1}, {0, 0}};
        painter.drawPolyline(corners, 5);
    }
    EdgeRect text{};
    if (m_imageList) {
        painter.setFont(Font());
        text = _CalcTextRect(painter);
    }
    const EdgeRect focus = bitmapFocusRect(area, text, m_imageList.has_value());
    painter.setPen(QPen(palette().color(QPalette::WindowText), 0, Qt::DotLine));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(focus.left, focus.top, focus.right - focus.left - 1, focus.bottom - focus.top - 1);
    painter.restore();
}

QSize JOVBITMAPBUTTON::_GetClientRect() const
{
    return size();
}

EdgeRect JOVBITMAPBUTTON::_CalcImageRect() const
{
    const QSize image = m_imageList ? m_imageList->size : QSize(0, 0);
    return bitmapImageRect(m_captionPos, _GetClientRect(), image, shifted());
}

EdgeRect JOVBITMAPBUTTON::_CalcTextRect(const QPainter &painter) const
{
    const QString caption = Caption();
    const QSize text = caption.isEmpty() ? QSize() : painter.fontMetrics().size(Qt::TextShowMnemonic, caption);
    return bitmapTextRect(m_captionPos, _GetClientRect(), text, caption.isEmpty(), shifted());
}

void JOVBITMAPBUTTON::mousePressEvent(QMouseEvent *event)
{
    JOVCUSTOMTEXTCNTRL::mousePressEvent(event);
    m_pressed = true;
    setFocus(Qt::MouseFocusReason);
    Update();
}

void JOVBITMAPBUTTON::mouseMoveEvent(QMouseEvent *event)
{
    JOVCUSTOMTEXTCNTRL::mouseMoveEvent(event);
    const bool inside = rect().contains(event->position().toPoint());
    if (event->buttons() != Qt::NoButton)
        m_pressed = inside;
    else
        m_hot = inside;
    Update();
}

void JOVBITMAPBUTTON::mouseReleaseEvent(QMouseEvent *event)
{
    // Released over the button while it is still pressed: a press dragged off and released outside
    // calls nothing, one dragged back on calls the handler.
    if (event->button() == Qt::LeftButton && m_pressed && ownerHasHandler(this)) {
        click();
        setFocus(Qt::MouseFocusReason);
    }
    JOVCUSTOMTEXTCNTRL::mouseReleaseEvent(event);
    m_pressed = false;
    Update();
}

void JOVBITMAPBUTTON::leaveEvent(QEvent *event)
{
    JOVCUSTOMTEXTCNTRL::leaveEvent(event);
    m_hot = false;
    Update();
}

void JOVBITMAPBUTTON::keyPressEvent(QKeyEvent *event)
{
    // One command per key stroke: Enter acts when pressed, Space when released; held keys repeat
    // nothing.
    switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        if (!event->isAutoRepeat())
            click();
        event->accept();
        return;
    case Qt::Key_Space:
        if (!event->isAutoRepeat())
            m_spaceDown = true;
        event->accept();
        return;
    default:
        JOVCUSTOMTEXTCNTRL::keyPressEvent(event);
    }
}

void JOVBITMAPBUTTON::keyReleaseEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Space && !event->isAutoRepeat()) {
        const bool wasDown = m_spaceDown;
        m_spaceDown = false;
        if (wasDown)
            click();
        event->accept();
        return;
    }
    JOVCUSTOMTEXTCNTRL::keyReleaseEvent(event);
}

void JOVBITMAPBUTTON::focusInEvent(QFocusEvent *event)
{
    JOVCUSTOMTEXTCNTRL::focusInEvent(event);
    m_focused = true;
    Update();
}

void JOVBITMAPBUTTON::focusOutEvent(QFocusEvent *event)
{
    JOVCUSTOMTEXTCNTRL::focusOutEvent(event);
    m_focused = false;
    m_spaceDown = false;
    Update();
}

void JOVBITMAPBUTTON::changeEvent(QEvent *event)
{
    JOVCUSTOMTEXTCNTRL::changeEvent(event);
    if (event->type() == QEvent::EnabledChange || event->type() == QEvent::WindowTitleChange)
        Update();
}

} // namespace vexo
