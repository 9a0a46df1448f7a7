#pragma once
// The one rule for a number the user types into a dialog or form field: what is not a number is kept
// out with a word that names the field, and the field keeps its last value.
#include <QString>

namespace vexo {

enum class TypedNumberFault { None, Empty, NotANumber, Negative };

// What is wrong with a typed text, checked in this order: blank, not wholly one number
// (isTypedNumber), a minus where `sign` allows none. A field that may be left empty treats Empty as
// its own business.
TypedNumberFault typedNumberFault(const QString &text, bool sign);

// The word a refused entry shows; `field` names the field as its label does ("Mikser kapasitesi").
// Empty for TypedNumberFault::None.
QString typedNumberRefusal(const QString &field, TypedNumberFault fault);

// Whether the text, leading blanks aside, holds only characters that may belong to a typed number
// (digits, "-", "." and ","): what a keystroke or a paste may bring into a number field. The blanks
// a right-aligned number text begins with are no fault; any other blank is.
bool numberCharactersOnly(const QString &text);
// The word for a keystroke or paste refused because it brought any other character; the minus is
// named only where the field takes a negative.
QString numberCharactersText(const QString &field, bool sign = true);

} // namespace vexo
