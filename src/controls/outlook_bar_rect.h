#pragma once

#include <QPoint>
#include <QRect>

namespace vexo {

// A rectangle given by its origin and extent corners, the form the bar exchanges label places in.
struct BoundingBox
{
    QPoint Origin;
    QPoint Extent;
};

// Where one part of the navigation bar lies, in the bar's client pixels. The four sides are kept as
// given (left may exceed right); the hit test counts all four edges as inside, so two parts sharing an
// edge both answer a point on it.
class WRECT
{
public:
    WRECT() = default;
    WRECT(int left, int top, int right, int bottom) : LEFT(left), TOP(top), RIGHT(right), BOTTOM(bottom) {}

    int LEFT = 0;
    int TOP = 0;
    int RIGHT = 0;
    int BOTTOM = 0;

    bool SETRECT(int left, int top, int right, int bottom);
    bool SETEMPTY() { return SETRECT(0, 0, 0, 0); }
    int WIDTH() const { return RIGHT - LEFT; }
    int HEIGHT() const { return BOTTOM - TOP; }

    QPoint ORIGIN() const { return {LEFT, TOP}; }
    // Moves only the top-left corner, so the rectangle changes size.
    void setORIGIN(QPoint origin);

    bool POINTINSIDE(QPoint p) const;
    WRECT CLONE() const { return *this; }

    BoundingBox BOUNDINGBOX() const { return {ORIGIN(), {RIGHT, BOTTOM}}; }
    void setBOUNDINGBOX(const BoundingBox &box);

    // The pixels a fill covers: right and bottom are the first columns and rows outside.
    QRect fillRect() const { return QRect(LEFT, TOP, RIGHT - LEFT, BOTTOM - TOP); }
    // The pixels from edge to edge, both edges included.
    QRect edgeRect() const { return QRect(QPoint(LEFT, TOP), QPoint(RIGHT, BOTTOM)); }

    bool operator==(const WRECT &) const = default;
};

} // namespace vexo
