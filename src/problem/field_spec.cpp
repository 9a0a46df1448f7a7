#include "problem/field_spec.h"

#include "problem/number_text.h"

namespace vexo {

FieldSpec::FieldSpec(const QString &name, QChar type, int length, int decimals)
    : m_name(name)
    , m_type(type.toUpper())
    , m_length(std::max(length, 0))
    , m_decimals(std::max(decimals, 0))
{
}

FieldSpec FieldSpec::date(const QString &format)
{
    FieldSpec spec(QString(), u'D', int(format.size()));
    spec.m_dateFormat = format;
    return spec;
}

FieldSpec FieldSpec::number(int length, int decimals)
{
    return FieldSpec(QString(), u'N', length, decimals);
}

QString FieldSpec::Transform(const QVariant &value) const
{
    switch (m_type.unicode()) {
    case u'C': return value.toString().leftJustified(m_length, u' ', true);
    case u'N': return Str(value.toDouble(), m_length, m_decimals);
    case u'D': return DToC(value.toDate(), m_dateFormat);
    case u'L': return value.toBool() ? QStringLiteral("T") : QStringLiteral("F");
    case u'M': return value.toString();
    default: return {};
    }
}

QVariant FieldSpec::Val(const QString &text) const
{
    switch (m_type.unicode()) {
    case u'C': return text.leftJustified(m_length, u' ', true);
    case u'N': return vexo::Val(text);
    case u'D': return CToD(text, m_dateFormat);
    case u'L': {
        const QString t = text.trimmed();
        return !t.isEmpty() && QStringLiteral("YyTt").contains(t.at(0));
    }
    case u'M': return text;
    default: return {};
    }
}

} // namespace vexo
