#include "controls/outlook_bar_rect.h"

namespace vexo {

bool WRECT::SETRECT(int left, int top, int right, int bottom)
{
    LEFT = left;
    TOP = top;
    RIGHT = right;
    BOTTOM = bottom;
    return true;
}

void WRECT::setORIGIN(QPoint origin)
{
    LEFT = origin.x();
    TOP = origin.y();
}

bool WRECT::POINTINSIDE(QPoint p) const
{
    return LEFT <= p.x() && p.x() <= RIGHT && TOP <= p.y() && p.y() <= BOTTOM;
}

void WRECT::setBOUNDINGBOX(const BoundingBox &box)
{
    SETRECT(box.Origin.x(), box.Origin.y(), box.Extent.x(), box.Extent.y());
}

} // namespace vexo
