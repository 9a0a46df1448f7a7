#pragma once

#include <QString>
#include <QVariant>

namespace vexo {

// Any value as the runtime writes it in text: NIL, .T./.F., a date in the program's format, a
// number in its shortest form, a text unchanged.
QString usualText(const QVariant &v);

} // namespace vexo
