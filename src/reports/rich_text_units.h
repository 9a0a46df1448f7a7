#pragma once

#include <QtGlobal>

namespace vexo {

// Rich text measures indents in twips (1/1440 inch); the pad's document measures them in pixels of a
// 96-dpi screen, so one pixel is 15 twips whatever the screen.
constexpr int kTwipsPerInch = 1440;
constexpr int kTwipsPerPixel = 15;

inline qreal twipsToPixels(int twips)
{
    return qreal(twips) / kTwipsPerPixel;
}

inline int pixelsToTwips(qreal pixels)
{
    return qRound(pixels * kTwipsPerPixel);
}

// Font sizes: a pixel of the 96-dpi screen is 3/4 of a point.
inline qreal pixelsToPoints(qreal pixels)
{
    return pixels * 72.0 / 96.0;
}

} // namespace vexo
