#include "controls/bitmap_layout.h"

#include <algorithm>

namespace vexo {

std::optional<CaptionPos> captionPosFromSymbol(const QString &symbol)
{
    const QString s = symbol.trimmed().toUpper();
    for (CaptionPos pos : {CaptionPos::TOP, CaptionPos::LEFT, CaptionPos::BOTTOM, CaptionPos::RIGHT, CaptionPos::CENTER})
        if (captionPosSymbol(pos) == s)
            return pos;
    return std::nullopt;
}

QString captionPosSymbol(CaptionPos pos)
{
    switch (pos) {
    case CaptionPos::TOP: return QStringLiteral("TOP");
    case CaptionPos::LEFT: return QStringLiteral("LEFT");
    case CaptionPos::BOTTOM: return QStringLiteral("BOTTOM");
    case CaptionPos::RIGHT: return QStringLiteral("RIGHT");
    case CaptionPos::CENTER: break;
    }
    return QStringLiteral("CENTER");
}

namespace {

EdgeRect placed(int left, int top, QSize extent, bool shifted)
{
    const int down = shifted ? 2 : 0;
    return EdgeRect{left, top + down, left + extent.width(), top + down + extent.height()};
}

} // namespace

EdgeRect bitmapImageRect(CaptionPos pos, QSize area, QSize image, bool shifted)
{
    const int W = area.width(), H = area.height(), cx = image.width(), cy = image.height();
    switch (pos) {
    case CaptionPos::BOTTOM: return placed(halfDown(W - cx), 8, image, shifted);
    case CaptionPos::TOP: return placed(halfDown(W - cx), H - 8 - cy, image, shifted);
    case CaptionPos::RIGHT: return placed(8, halfDown(H - cy), image, shifted);
    case CaptionPos::LEFT: return placed(W - 8 - cx, halfDown(H - cy), image, shifted);
    case CaptionPos::CENTER: break;
    }
    return placed(halfDown(W - cx), halfDown(H - cy), image, shifted);
}

EdgeRect bitmapTextRect(CaptionPos pos, QSize area, QSize text, bool emptyCaption, bool shifted)
{
    const int W = area.width(), H = area.height(), tw = text.width(), th = text.height();
    if (emptyCaption)
        return EdgeRect{6, 6, W - 6, H - 6};
    switch (pos) {
    case CaptionPos::TOP: return placed(halfDown(W - tw), 8, text, shifted);
    case CaptionPos::BOTTOM: return placed(halfDown(W - tw), H - 8 - th, text, shifted);
    case CaptionPos::LEFT: return placed(8, halfDown(H - th), text, shifted);
    case CaptionPos::RIGHT: return placed(W - 8 - tw, halfDown(H - th), text, shifted);
    case CaptionPos::CENTER: break;
    }
    return placed(halfDown(W - tw), halfDown(H - th), text, shifted);
}

EdgeRect bitmapFocusRect(QSize area, const EdgeRect &textRect, bool hasImageList)
{
    if (hasImageList)
        return EdgeRect{textRect.left - 2, textRect.top - 2, textRect.right + 2, textRect.bottom + 2};
    return EdgeRect{4, 4, area.width() - 4, area.height() - 4};
}

std::optional<BitmapImageChoice> bitmapImageChoice(int count, bool pressed, bool hot, bool enabled)
{
    if (count <= 0)
        return std::nullopt;
    if (!enabled)
        return count >= 4 ? BitmapImageChoice{3, false} : BitmapImageChoice{0, true};
    const int wanted = pressed ? 1 : hot ? 2 : 0;
    return BitmapImageChoice{std::min(wanted, count - 1), false};
}

DropDownMarks dropDownMarks(QSize size, bool pressed, bool focused)
{
    const int R = size.width() - (focused ? 1 : 0);
    const int B = size.height();
    DropDownMarks m;
    m.arrowLeft = R - 11;
    m.arrowTop = halfDown(B) - 2 + (pressed ? 1 : 0);
    m.lightX = R - 14;
    m.shadowX = R - 15;
    m.lineTop = 4;
    m.lineBottom = B - 4;
    return m;
}

QSize dropDownLayoutArea(QSize size)
{
    return QSize(size.width() - 14, size.height());
}

} // namespace vexo
