#pragma once

#include "reports/rich_text_effects.h"

#include <QTextEdit>

#include <functional>

class QMenu;

namespace vexo {

// The pad's rich-text control: lines wrap at the 10-inch page, not at the window's edge; typing and
// pasting stop at the pad's character limit (a longer document opened into it stays whole); Esc asks
// the pad to close.
class QVRICHEDIT : public QTextEdit
{
    Q_OBJECT
public:
    explicit QVRICHEDIT(QWidget *owner = nullptr);

    // The limit on typed and pasted text, in characters.
    int textLimit() const { return m_limit; }
    void setTextLimit(int limit) { m_limit = limit; }
    // The document's length in characters, each line end counting one.
    int textLength() const;

    void SETEFFECT(PadEffect effect);
    void SETBOLD() { SETEFFECT(EffectBold); }
    void SETITALIC() { SETEFFECT(EffectItalic); }
    void SETUNDERLINE() { SETEFFECT(EffectUnderline); }

    // The font dialog, preset with the font and colour at the insertion point. Confirmed, the font and
    // colour go to the selection, or to the whole text when nothing is selected.
    void RTFCHANGEFONT();

    // Paragraph indents in twips for the selected paragraphs (the paragraph of the insertion point when
    // nothing is selected).
    void setIndents(int leftTwips, int rightTwips);

    // The context menu shown on a right click; without one, the control's standard menu.
    void setContextMenuFactory(std::function<QMenu *()> factory) { m_contextMenu = std::move(factory); }

signals:
    void escapePressed();

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void inputMethodEvent(QInputMethodEvent *event) override;
    void insertFromMimeData(const QMimeData *source) override;
    void contextMenuEvent(QContextMenuEvent *event) override;

private:
    int room(int incoming) const;

    int m_limit;
    std::function<QMenu *()> m_contextMenu;
};

} // namespace vexo
