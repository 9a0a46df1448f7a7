#pragma once

#include "editfields/virtual_keys.h"
#include "problem/field_spec.h"

#include <QChar>
#include <QDate>
#include <QString>

#include <optional>

namespace vexo {

// One key as the number editor sees it: a typed character or a pressed key, with the platform's code
// (VK_BACK 8, VK_DELETE 0x2E, VK_END 0x23, VK_HOME 0x24, VK_LEFT 0x25, VK_RIGHT 0x27, VK_TAB 9).
struct EditKey
{
    enum Kind { Char, KeyDown };
    Kind kind = Char;
    int code = 0;

    static EditKey typed(QChar c) { return {Char, c.unicode()}; }
    static EditKey pressed(int vk) { return {KeyDown, vk}; }
};

// The number editor's state around one key: the text, the selection (start <= finish, zero-based,
// no selection when equal) and its two flags.
struct NumberEditState
{
    QString text;
    int selStart = 0;
    int selFinish = 0;
    bool replaceAll = true;      // the next key replaces the whole value
    bool negativePending = false; // a "-" typed in replace mode: the next digit makes the value negative
};

struct NumberEditResult
{
    NumberEditState state; // the new text, the caret as an empty selection and the flags
    QVariant value;        // the field's value of the new text
    bool beep = false;     // a digit that did not fit
    bool modified = false; // a digit went into the integer part
};

// How the field writes its numbers: the field description (its Transform and Val), its width in
// characters, and the separators (read, never changed).
struct NumberFormat
{
    FieldSpec spec;
    int width = 0;
    QChar decimalSep = u'.';
    QChar thousandSep = u',';
};

// The formatted text of (the number in `text`) x factor. Thousands separators and blanks are dropped
// first, so a sign the editor put before leading blanks still counts.
QString SETFIELD(const NumberFormat &format, const QString &text, double factor = 1.0);

// Applies one key to a right-aligned number field: digits grow the number to the left of the caret,
// a key while everything is selected replaces the value, "-" and "+" toggle the sign, a digit that
// does not fit beeps. The caret always stays within the text.
NumberEditResult PROCESSNUM(const NumberFormat &format, const NumberEditState &state, EditKey key);

// The value as digits padded with leading zeros to `width` ("-05" for -5 in 3), no decimals.
QString ZEROPAD(double value, int width);

// Keypad plus and minus in a date field: the text of the date `days` away, or nothing when the text is
// not a date.
std::optional<QString> shiftDateText(const QString &text, int days, const QString &format);

// The field's first day of the week from the system's: 2 for Monday, 1 for Sunday, 0 for any other.
quint32 firstDayOfTheWeek(Qt::DayOfWeek systemFirstDay);

} // namespace vexo
