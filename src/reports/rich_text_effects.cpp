#include "reports/rich_text_effects.h"

#include <QTextBlock>
#include <QTextCharFormat>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextFragment>

namespace vexo {

namespace {

unsigned effectsOf(const QTextCharFormat &format)
{
    unsigned effects = 0;
    if (format.fontWeight() >= QFont::DemiBold)
        effects |= EffectBold;
    if (format.fontItalic())
        effects |= EffectItalic;
    if (format.fontUnderline())
        effects |= EffectUnderline;
    return effects;
}

QTextCharFormat effectFormat(PadEffect effect, bool on)
{
    QTextCharFormat format;
    switch (effect) {
    case EffectBold:
        format.setFontWeight(on ? QFont::Bold : QFont::Normal);
        break;
    case EffectItalic:
        format.setFontItalic(on);
        break;
    case EffectUnderline:
        format.setFontUnderline(on);
        break;
    }
    return format;
}

} // namespace

EffectState selectionEffects(const QTextCursor &cursor)
{
    constexpr unsigned all = EffectBold | EffectItalic | EffectUnderline;
    if (!cursor.hasSelection())
        return {all, effectsOf(cursor.charFormat())};
    const int start = cursor.selectionStart();
    const int end = cursor.selectionEnd();
    bool first = true;
    unsigned seen = 0;
    unsigned differ = 0;
    const QTextDocument *document = cursor.document();
    for (QTextBlock block = document->findBlock(start); block.isValid() && block.position() < end;
         block = block.next()) {
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextFragment fragment = it.fragment();
            if (fragment.position() + fragment.length() <= start || fragment.position() >= end)
                continue;
            const unsigned effects = effectsOf(fragment.charFormat());
            if (first) {
                seen = effects;
                first = false;
            } else {
                differ |= seen ^ effects;
            }
        }
    }
    return {all & ~differ, seen & ~differ};
}

void toggleEffect(QTextCursor &cursor, PadEffect effect)
{
    const EffectState state = selectionEffects(cursor);
    if (!(state.mask & effect))
        return;
    const QTextCharFormat change = effectFormat(effect, !(state.effects & effect));
    if (!cursor.hasSelection()) {
        QTextCursor word = cursor;
        word.select(QTextCursor::WordUnderCursor);
        if (word.hasSelection())
            word.mergeCharFormat(change);
    }
    cursor.mergeCharFormat(change);
}

} // namespace vexo
