#include "problem/typed_number.h"

#include "problem/number_text.h"

namespace vexo {

TypedNumberFault typedNumberFault(const QString &text, bool sign)
{
    const QString t = text.trimmed();
    if (t.isEmpty())
        return TypedNumberFault::Empty;
    if (!isTypedNumber(t, true))
        return TypedNumberFault::NotANumber;
    if (!sign && t.startsWith(u'-') && Val(t.mid(1).replace(u',', u'.')) != 0)
        return TypedNumberFault::Negative;
    return TypedNumberFault::None;
}

QString typedNumberRefusal(const QString &field, TypedNumberFault fault)
{
    switch (fault) {
    case TypedNumberFault::None:
        break;
    case TypedNumberFault::Empty:
        return QStringLiteral("%1 girilmedi...").arg(field);
    case TypedNumberFault::NotANumber:
        return QStringLiteral("%1 için girilen değer bir sayı değil: eski değer korundu...").arg(field);
    case TypedNumberFault::Negative:
        return QStringLiteral("%1 eksi olamaz: eski değer korundu...").arg(field);
    }
    return QString();
}

bool numberCharactersOnly(const QString &text)
{
    qsizetype i = 0;
    while (i < text.size() && text.at(i).isSpace())
        ++i;
    for (; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (!((c >= u'0' && c <= u'9') || c == u'-' || c == u'.' || c == u','))
            return false;
    }
    return true;
}

QString numberCharactersText(const QString &field, bool sign)
{
    return sign ? QStringLiteral("%1 alanına yalnız sayı yazılabilir (rakamlar, eksi, nokta ya da virgül)...").arg(field)
                : QStringLiteral("%1 alanına yalnız sayı yazılabilir (rakamlar, nokta ya da virgül)...").arg(field);
}

} // namespace vexo
