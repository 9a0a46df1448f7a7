#pragma once

#include <QCursor>
#include <QPointer>
#include <QRubberBand>
#include <QWidget>

#include <optional>

namespace vexo {

// A thin raised strip between a docked pane and the MDI client. While the left button is held, a
// tracking rectangle of the bar's size follows the pointer over the owner; on release the bar reports
// how far it was dragged (moved) and stays where it is: the owner resizes the pane and lays the bar
// out again. There is no cancelling a drag; only the left button's release ends it.
class JOVSPLITBAR : public QWidget
{
    Q_OBJECT
public:
    enum class Axis { X, Y };
    // Where UPDATEPOSITION docks the bar; UNKNOWN leaves it alone.
    enum class Position { UNKNOWN, LEFT, RIGHT, TOP, BOTTOM };

    explicit JOVSPLITBAR(Axis axis, QWidget *owner = nullptr);

    Axis axis() const { return m_axis; }

    // The pointer shown over the bar; none leaves the choice to the parent's cursor.
    std::optional<QCursor> POINTER() const { return m_pointer; }
    void setPOINTER(const std::optional<QCursor> &pointer);

    Position POSITION = Position::UNKNOWN;
    void UPDATEPOSITION();

    bool isTracking() const { return m_tracking; }
    // The tracking rectangle while a drag runs (for tests); null when idle.
    QRubberBand *trackingRect() const { return m_tracking ? m_rubberBand.data() : nullptr; }

signals:
    // The signed distance of a finished drag: right for a vertical bar, down for a horizontal one.
    void moved(int distance);

protected:
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;

private:
    int along(const QMouseEvent *event) const;
    void showTrackingRect(int offset);

    Axis m_axis;
    std::optional<QCursor> m_pointer;
    bool m_tracking = false;
    int m_pressPosition = 0;
    int m_offset = 0;
    QPointer<QRubberBand> m_rubberBand;
};

// The bar between the left pane and the MDI client, dragged left and right.
class JOVVERTSPLITBAR : public JOVSPLITBAR
{
    Q_OBJECT
public:
    explicit JOVVERTSPLITBAR(QWidget *owner = nullptr);
};

// The bar above the bottom pane, dragged up and down.
class JOVHORZSPLITBAR : public JOVSPLITBAR
{
    Q_OBJECT
public:
    explicit JOVHORZSPLITBAR(QWidget *owner = nullptr);
};

// The bars' pointers, drawn in the program's resources.
QCursor JOVVSPLITBARCURSOR();
QCursor JOVHSPLITBARCURSOR();

} // namespace vexo
