#pragma once

#include "editfields/number_editor.h"

#include <QDate>
#include <QString>

namespace vexo {

// The text of a masked field and where its caret stands after one key.
struct MaskState
{
    QString text;
    int selStart = 0;
    int selFinish = 0;
};

struct MaskResult
{
    QString text;
    int caret = 0;
    bool changed = false; // the key was handled by the mask (false: the edit handles it itself)
};

// The number mask: an optional leading "-", the integer part grouped in threes with "," and, with
// decimals, "." and the fraction, whatever the locale. `intLen` integer digits and `decimals` fraction
// digits are kept. Keys: typed characters, Backspace as the character 8 and Delete as VK_DELETE.
MaskResult numberMaskKey(const MaskState &state, EditKey key, int intLen, int decimals);

// The date mask "  .  .    ", typed over in place in its own dd.mm.yyyy form, with the single-key
// commands + - D d (a day), M m (a month), Y y (a year), * (today) and blank (clear).
inline constexpr const char kDateMask[] = "  .  .    ";
inline constexpr const char kDateMaskFormat[] = "dd.mm.yyyy";
MaskResult dateMaskKey(const MaskState &state, EditKey key, const QDate &today);

// Converts a caret position between the shown text and the text without its commas: toBuffer true
// takes a shown position to the buffer, false a buffer position back to the shown text.
int SETPOS(const QString &shown, int position, int reference, bool toBuffer);

// The date k whole months away, its day cut to the target month's length (31 January + 1 month is the
// last day of February); the empty date stays empty.
QDate DATE_ADDMONTH(const QDate &date, int months);

} // namespace vexo
