#pragma once
// Number fields of dialogs and forms: how a refused entry is told, and the guard that keeps
// characters no number has out of a field as they are typed or pasted.
#include "problem/typed_number.h"

#include <QString>

class QLineEdit;
class QWidget;

namespace vexo {

// Tells a refused entry in place: the error tone and the word in a balloon beside the field.
void refuseTyped(QWidget *field, const QString &word);

// A keystroke or paste that brings a character no number has is refused whole: the text stays as it
// was and the refusal is told with `word` (numberCharactersText of the field's name, or a grid's own
// text). A minus may be typed; whether the field takes a negative is checked when the entry ends.
void guardNumberTyping(QLineEdit *field, const QString &word);

// Checks the field's text at the end of an entry. On a fault the field gets `last` back, the refusal is
// told and the answer is false; an empty text passes when `mayBeEmpty`.
bool acceptTypedNumber(QLineEdit *field, const QString &fieldName, bool sign, const QString &last,
                       bool mayBeEmpty = false);

} // namespace vexo
