#include "problem/strnumber.h"

#include <algorithm>

namespace vexo {

STRNUMBER::STRNUMBER(const QString &caption, int decimals)
    : m_caption(caption)
    // Outside 0..10 no 11-character picture exists; the nearest one is used.
    , m_decimals(std::clamp(decimals, 0, kMaxDecimals))
{
    m_picture = QString(kMaxDecimals - m_decimals, u'#') + u'.' + QString(m_decimals, u'#');
}

} // namespace vexo
