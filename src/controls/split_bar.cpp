#include "controls/split_bar.h"

#include "controls/split_layout.h"
#include "resources/resource_library.h"

#include <QMouseEvent>
#include <QPainter>
#include <QRubberBand>

namespace vexo {

JOVSPLITBAR::JOVSPLITBAR(Axis axis, QWidget *owner) : QWidget(owner), m_axis(axis)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void JOVSPLITBAR::setPOINTER(const std::optional<QCursor> &pointer)
{
    m_pointer = pointer;
    if (pointer)
        setCursor(*pointer);
    else
        unsetCursor();
}

void JOVSPLITBAR::UPDATEPOSITION()
{
    const QWidget *parent = parentWidget();
    if (!parent)
        return;
    const QRect area = parent->contentsRect();
    switch (POSITION) {
    case Position::LEFT:
        if (m_axis == Axis::X)
            setGeometry(0, 0, width(), area.height());
        break;
    case Position::RIGHT:
        if (m_axis == Axis::X)
            setGeometry(area.width() - width(), 0, width(), area.height());
        break;
    case Position::TOP:
        if (m_axis == Axis::Y)
            setGeometry(0, 0, area.width(), height());
        break;
    case Position::BOTTOM:
        if (m_axis == Axis::Y)
            setGeometry(0, area.height() - height(), area.width(), height());
        break;
    case Position::UNKNOWN:
        break;
    }
}

void JOVSPLITBAR::paintEvent(QPaintEvent *)
{
    // A raised strip: button face, a white line along the left and top, a grey one along the right
    // and bottom.
    QPainter p(this);
    const QRect r = rect();
    p.fillRect(r, palette().color(QPalette::Button));
    p.setPen(Qt::white);
    p.drawLine(r.left(), r.bottom(), r.left(), r.top());
    p.drawLine(r.left(), r.top(), r.right(), r.top());
    p.setPen(QColor(128, 128, 128));
    p.drawLine(r.left() + 1, r.bottom(), r.right(), r.bottom());
    p.drawLine(r.right(), r.bottom(), r.right(), r.top() + 1);
}

int JOVSPLITBAR::along(const QMouseEvent *event) const
{
    const QPoint at = event->position().toPoint();
    return m_axis == Axis::X ? at.x() : at.y();
}

void JOVSPLITBAR::showTrackingRect(int offset)
{
    QWidget *owner = parentWidget();
    if (!owner)
        return;
    if (!m_rubberBand)
        m_rubberBand = new QRubberBand(QRubberBand::Line, owner);
    const QPoint shift = m_axis == Axis::X ? QPoint(offset, 0) : QPoint(0, offset);
    m_rubberBand->setGeometry(geometry().translated(shift));
    m_rubberBand->raise();
    m_rubberBand->show();
}

void JOVSPLITBAR::mousePressEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton) {
        QWidget::mousePressEvent(event);
        return;
    }
    // Qt holds the mouse for the pressed widget until the release, so moves and the release arrive
    // here even outside the bar.
    m_tracking = true;
    m_pressPosition = along(event);
    m_offset = 0;
    showTrackingRect(0);
    event->accept();
}

void JOVSPLITBAR::mouseMoveEvent(QMouseEvent *event)
{
    if (!m_tracking || !(event->buttons() & Qt::LeftButton)) {
        QWidget::mouseMoveEvent(event);
        return;
    }
    m_offset = along(event) - m_pressPosition;
    showTrackingRect(m_offset);
    event->accept();
}

void JOVSPLITBAR::mouseReleaseEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton || !m_tracking) {
        QWidget::mouseReleaseEvent(event);
        return;
    }
    m_tracking = false;
    if (m_rubberBand)
        m_rubberBand->hide();
    const int distance = along(event) - m_pressPosition;
    m_offset = 0;
    event->accept();
    emit moved(distance);
}

JOVVERTSPLITBAR::JOVVERTSPLITBAR(QWidget *owner) : JOVSPLITBAR(Axis::X, owner)
{
    resize(splitBarThickness(), height());
    setPOINTER(JOVVSPLITBARCURSOR());
}

JOVHORZSPLITBAR::JOVHORZSPLITBAR(QWidget *owner) : JOVSPLITBAR(Axis::Y, owner)
{
    resize(width(), splitBarThickness());
    setPOINTER(JOVHSPLITBARCURSOR());
}

QCursor JOVVSPLITBARCURSOR()
{
    return ResourceLibrary::cursor(QStringLiteral("JOVVSPLITBARCURSOR"));
}

QCursor JOVHSPLITBARCURSOR()
{
    return ResourceLibrary::cursor(QStringLiteral("JOVHSPLITBARCURSOR"));
}

} // namespace vexo
