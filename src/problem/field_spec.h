#pragma once

#include "problem/date_text.h"

#include <QChar>
#include <QString>
#include <QVariant>

namespace vexo {

// What a field holds and how its value is written as text: a type letter ("C" character, "N" number,
// "D" date, "L" logical, "M" memo), a length and decimals. Edit fields and the array server format
// and read their values through it.
class FieldSpec
{
public:
    FieldSpec() = default;
    FieldSpec(const QString &name, QChar type, int length, int decimals = 0);

    // A date field written in the given format, as long as the format.
    static FieldSpec date(const QString &format = QLatin1String(kDateFormat));
    // A number of `length` characters with `decimals` decimals.
    static FieldSpec number(int length, int decimals);

    const QString &Name() const { return m_name; }
    QChar ValType() const { return m_type; }
    int Length() const { return m_length; }
    int Decimals() const { return m_decimals; }
    const QString &dateFormat() const { return m_dateFormat; }
    void setDateFormat(const QString &format) { m_dateFormat = format; }

    // The value as the field shows it:
    //   "C" padded with blanks or cut to the length;  "N" right-aligned in the length with the
    //   decimals (a wider value is written in full);  "D" in the date format (the empty date blank);
    //   "L" "T" or "F";  "M" unchanged;  any other type an empty text.
    QString Transform(const QVariant &value) const;
    // The value of a text: "C" padded or cut to the length; "N" the leading number (0 when none);
    // "D" the date (empty when none); "L" true for a text starting with Y, y, T or t; "M" the text;
    // any other type an invalid value.
    QVariant Val(const QString &text) const;

private:
    QString m_name;
    QChar m_type;
    int m_length = 0;
    int m_decimals = 0;
    QString m_dateFormat = QLatin1String(kDateFormat);
};

} // namespace vexo
