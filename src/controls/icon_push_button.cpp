#include "controls/icon_push_button.h"

#include <QPainter>
#include <qdrawutil.h>

namespace vexo {

IconButtonGeometry iconButtonGeometry(QSize size, bool pressed, bool focused, bool hasUpIcon, int leftIconBorder)
{
    const int W = size.width();
    const int H = size.height();
    IconButtonGeometry g;
    EdgeRect r{0, 0, W, H};
    if (pressed || focused) {
        g.outline = true;
        r.left += 1;
        r.top += 1;
    } else {
        r.right += 1;
        r.bottom += 1;
    }
    g.frame = r;

    const int S = hasUpIcon ? H - 4 : 0;
    if (hasUpIcon)
        g.icon = QRect(leftIconBorder, 2, S, S);

    r.top += 2;
    r.bottom -= 3;
    r.right -= 4;
    r.left += S + 4;
    if (pressed) {
        r.top += 1;
        r.left += 1;
    }
    g.caption = r;
    return g;
}

ICONPUSHBUTTON::ICONPUSHBUTTON(QWidget *owner, const QString &caption) : QPushButton(caption, owner)
{
}

QSize ICONPUSHBUTTON::sizeHint() const
{
    QSize hint = QPushButton::sizeHint();
    if (m_iconUp)
        hint.rwidth() += hint.height();
    return hint;
}

void ICONPUSHBUTTON::requestRepaint()
{
    ++m_repaints;
    update();
}

void ICONPUSHBUTTON::setICONUP(const std::optional<QIcon> &icon)
{
    m_iconUp = icon;
    if (!m_iconDown)
        m_iconDown = icon;
    if (!m_unpainted && !isDown() && isEnabled())
        requestRepaint();
}

void ICONPUSHBUTTON::setICONDOWN(const std::optional<QIcon> &icon)
{
    m_iconDown = icon;
    if (!m_iconUp)
        m_iconUp = icon;
    if (!m_unpainted && isDown() && isEnabled())
        requestRepaint();
}

void ICONPUSHBUTTON::setICONDISABLED(const std::optional<QIcon> &icon)
{
    m_iconDisabled = icon;
    if (!m_unpainted && !isEnabled())
        requestRepaint();
}

void ICONPUSHBUTTON::ENABLE()
{
    if (!isEnabled()) {
        setEnabled(true);
        requestRepaint();
    }
}

void ICONPUSHBUTTON::DISABLE()
{
    if (isEnabled()) {
        setEnabled(false);
        requestRepaint();
    }
}

std::optional<QIcon> ICONPUSHBUTTON::currentIcon() const
{
    if (!m_iconUp)
        return std::nullopt;
    if (isDown())
        return m_iconDown;
    if (!isEnabled() && m_iconDisabled)
        return m_iconDisabled;
    return m_iconUp;
}

QColor ICONPUSHBUTTON::captionColor() const
{
    if (m_buttonTextColor > 0)
        return QColor(int(m_buttonTextColor & 0xFF), int((m_buttonTextColor >> 8) & 0xFF),
                      int((m_buttonTextColor >> 16) & 0xFF));
    return palette().color(QPalette::Active, QPalette::ButtonText);
}

void ICONPUSHBUTTON::focusInEvent(QFocusEvent *event)
{
    QPushButton::focusInEvent(event);
    update();
}

void ICONPUSHBUTTON::focusOutEvent(QFocusEvent *event)
{
    QPushButton::focusOutEvent(event);
    update();
}

void ICONPUSHBUTTON::paintEvent(QPaintEvent *)
{
    m_unpainted = false;
    const bool pressed = isDown();
    const bool focused = hasFocus();
    const bool disabled = !isEnabled();
    const IconButtonGeometry g =
        iconButtonGeometry(size(), pressed, focused, m_iconUp.has_value(), int(m_leftIconBorder));

    QPainter p(this);
    const QPalette pal = palette();
    if (g.outline) {
        p.setPen(pal.color(QPalette::Active, QPalette::ButtonText));
        p.drawLine(0, 0, width() - 1, 0);
        p.drawLine(0, 0, 0, height() - 1);
    }
    qDrawWinButton(&p, g.frame.toRect(), pal, pressed, &pal.brush(QPalette::Active, QPalette::Button));

    if (const std::optional<QIcon> icon = currentIcon(); icon && !icon->isNull())
        icon->paint(&p, g.icon, Qt::AlignCenter, QIcon::Normal);

    const int flags = Qt::AlignCenter | Qt::TextSingleLine | Qt::TextShowMnemonic;
    const QRect caption = g.caption.toRect();
    p.setFont(font());
    if (!disabled) {
        p.setPen(captionColor());
        p.drawText(caption, flags, text());
    } else {
        p.setPen(pal.color(QPalette::Active, QPalette::Light));
        p.drawText(caption.translated(1, 1), flags, text());
        // The 3-D shadow grey, near the platform's grey text: it stays readable over the white copy,
        // where the style's pale disabled text all but vanishes.
        p.setPen(pal.color(QPalette::Active, QPalette::Shadow));
        p.drawText(caption, flags, text());
    }

    if (focused) {
        // A dotted frame just inside the caption rectangle, drawn whatever the style thinks of focus
        // frames, so the keyboard focus is always visible on these buttons.
        QPen dotted(pal.color(QPalette::Active, QPalette::ButtonText), 1, Qt::DotLine);
        p.setPen(dotted);
        p.setBrush(Qt::NoBrush);
        p.drawRect(caption.adjusted(0, 0, -1, -1));
    }
}

} // namespace vexo
