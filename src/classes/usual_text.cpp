#include "classes/usual_text.h"

#include "problem/date_text.h"

#include <QDate>

namespace vexo {

QString usualText(const QVariant &v)
{
    if (!v.isValid())
        return QStringLiteral("NIL");
    switch (v.typeId()) {
    case QMetaType::Bool:
        return v.toBool() ? QStringLiteral(".T.") : QStringLiteral(".F.");
    case QMetaType::QDate:
        return DToC(v.toDate());
    case QMetaType::Double:
        return QString::number(v.toDouble(), 'g', 15);
    default:
        return v.toString();
    }
}

} // namespace vexo
