#pragma once

class QTextCursor;

namespace vexo {

// Character effects as the pad's control numbers them.
enum PadEffect : unsigned { EffectBold = 1, EffectItalic = 2, EffectUnderline = 4 };

// The effects of a selection: `mask` holds the effects that are the same over the whole selection,
// `effects` which of those are on. Without a selection, the format at the insertion point.
struct EffectState
{
    unsigned mask = 0;
    unsigned effects = 0;
};
EffectState selectionEffects(const QTextCursor &cursor);

// Toggles one effect. A selection changes only when the effect is the same over all of it (bold
// throughout loses bold, none of it bold gains bold, a mixed selection stays as it is). Without a
// selection the insertion point's effect decides, and the word at the insertion point and the text
// typed next change together.
void toggleEffect(QTextCursor &cursor, PadEffect effect);

} // namespace vexo
