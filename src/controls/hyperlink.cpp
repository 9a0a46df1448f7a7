#include "controls/hyperlink.h"

#include "controls/named_owner.h"
#include "platform/shell_open.h"
#include "resources/resource_library.h"

#include <QMouseEvent>
#include <QPainter>

namespace vexo {

JOVHYPERLINK::JOVHYPERLINK(QWidget *owner, const QString &caption) : JOVCUSTOMTEXTCNTRL(owner, caption)
{
    if (owner)
        show(); // also when the owner is already on screen
    FontOp(std::nullopt);
    // A copy of the reported font is underlined, so an owner's font shared with the link never changes.
    QFont underlined = Font();
    underlined.setUnderline(true);
    JOVCUSTOMTEXTCNTRL::setFont(underlined);
    setTextColor(QColor(0, 0, 255));
    setCursor(ResourceLibrary::cursor(QStringLiteral("CURSOR_HAND")));
    update();
}

bool JOVHYPERLINK::setTransparent(bool on)
{
    m_transparent = on;
    Update();
    return m_transparent;
}

QSize JOVHYPERLINK::textExtent() const
{
    const QFontMetrics metrics(font());
    return QSize(metrics.horizontalAdvance(Caption()), metrics.height());
}

QSize JOVHYPERLINK::sizeHint() const
{
    return m_autoSize ? textExtent() : JOVCUSTOMTEXTCNTRL::sizeHint();
}

void JOVHYPERLINK::Draw(QPainter &painter)
{
    painter.setFont(font());
    if (m_autoSize && size() != textExtent())
        resize(textExtent()); // keeps the place; the new size paints again
    const QBrush background = __SetColors(painter);
    if (!m_transparent)
        painter.fillRect(rect(), background);
    painter.setBackgroundMode(Qt::TransparentMode);
    painter.drawText(rect(), Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine, Caption());
}

JOVHYPERLINK::ClickResult JOVHYPERLINK::click()
{
    if (!m_action.isEmpty()) {
        shellOpener().open(window(), m_action);
        return ClickResult::OpenedAction;
    }
    if (callOwnerByName(this))
        return ClickResult::CalledOwner;
    shellOpener().open(window(), Caption());
    return ClickResult::OpenedCaption;
}

void JOVHYPERLINK::mouseReleaseEvent(QMouseEvent *event)
{
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint())) {
        click();
        event->accept();
        return;
    }
    JOVCUSTOMTEXTCNTRL::mouseReleaseEvent(event);
}

} // namespace vexo
