#pragma once

#include <QString>

namespace vexo {

// The field description of a number kept as an 11-character text: type "C", length 11, the given
// decimals (0 to 10) and a picture of 10 - d "#", the point and d "#". Its label is named
// "STRNUMBER" and carries the caption.
class STRNUMBER
{
public:
    STRNUMBER(const QString &caption, int decimals);

    static constexpr int kLength = 11;
    static constexpr int kMaxDecimals = 10;

    const QString &name() const { return m_name; }
    const QString &caption() const { return m_caption; }
    const QString &type() const { return m_type; }
    int length() const { return kLength; }
    int decimals() const { return m_decimals; }
    const QString &PICTURE() const { return m_picture; }

private:
    QString m_name = QStringLiteral("STRNUMBER");
    QString m_caption;
    QString m_type = QStringLiteral("C");
    int m_decimals = 0;
    QString m_picture;
};

} // namespace vexo
