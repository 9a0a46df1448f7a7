#include "controls/custom_text_control.h"

#include <QApplication>
#include <QFontDatabase>
#include <QPainter>

namespace vexo {

JOVCUSTOMTEXTCNTRL::JOVCUSTOMTEXTCNTRL(QWidget *owner, const QString &caption) : QWidget(owner)
{
    if (!caption.isNull())
        setCaption(caption);
}

QString JOVCUSTOMTEXTCNTRL::setCaption(const QString &caption)
{
    m_caption = caption;
    return __SetText(caption);
}

void JOVCUSTOMTEXTCNTRL::setHyperLabel(const QString &name, const QString &caption)
{
    setObjectName(name);
    setCaption(caption);
}

QString JOVCUSTOMTEXTCNTRL::__SetText(const QString &text)
{
    setWindowTitle(text);
    return text;
}

std::optional<QFont> JOVCUSTOMTEXTCNTRL::FontOp(const std::optional<QFont> &font)
{
    std::optional<QFont> before = m_font;
    m_font = font;
    QWidget::setFont(font ? *font : QApplication::font());
    update();
    return before;
}

std::optional<QFont> JOVCUSTOMTEXTCNTRL::setFont(const std::optional<QFont> &font)
{
    m_font = font;
    QWidget::setFont(font ? *font : QFontDatabase::systemFont(QFontDatabase::GeneralFont));
    update();
    return m_font;
}

QFont JOVCUSTOMTEXTCNTRL::Font()
{
    if (m_font)
        return *m_font;
    if (QWidget *owner = parentWidget(); owner && owner->testAttribute(Qt::WA_SetFont))
        return owner->font();
    m_font = QWidget::font();
    return *m_font;
}

std::optional<QColor> JOVCUSTOMTEXTCNTRL::setTextColor(const std::optional<QColor> &colour)
{
    m_textColor = colour;
    if (isVisible())
        repaint();
    return m_textColor;
}

void JOVCUSTOMTEXTCNTRL::setBackground(const std::optional<QBrush> &brush)
{
    m_background = brush;
    update();
}

void JOVCUSTOMTEXTCNTRL::Draw(QPainter &)
{
}

QBrush JOVCUSTOMTEXTCNTRL::__SetColors(QPainter &painter) const
{
    painter.setPen(m_textColor ? *m_textColor : palette().color(QPalette::WindowText));
    const QBrush brush = m_background ? *m_background : palette().brush(QPalette::Button);
    painter.setBackground(brush);
    // A patterned background lines up with the form's, as if painted on the form itself.
    painter.setBrushOrigin(-mapTo(window(), QPoint(0, 0)));
    return brush;
}

void JOVCUSTOMTEXTCNTRL::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    ++m_draws;
    Draw(painter);
}

} // namespace vexo
