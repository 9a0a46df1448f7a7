#include "editfields/odi_sle.h"

#include "editfields/masks.h"
#include "platform/clock.h"

#include <QKeyEvent>

namespace vexo {

ODI_SLE::ODI_SLE(QWidget *owner, const QString &type)
    : QLineEdit(owner)
    , m_type(type)
{
    setFocusPolicy(Qt::StrongFocus);
}

void ODI_SLE::SETLEN(int length, int decimals)
{
    m_intLen = length;
    m_decimals = decimals;
    if (decimals != 0)
        m_intLen = length - (decimals + 1);
}

void ODI_SLE::SETBUFFER(const QString &text)
{
    m_buffer = text;
    m_buffer.remove(u',');
}

void ODI_SLE::keyPressEvent(QKeyEvent *event)
{
    if (m_type != QLatin1String("N") && m_type != QLatin1String("D")) {
        QLineEdit::keyPressEvent(event);
        return;
    }
    EditKey key;
    if (event->key() == Qt::Key_Delete) {
        key = EditKey::pressed(VK_DELETE);
    } else if (event->key() == Qt::Key_Backspace) {
        key = EditKey::typed(QChar(VK_BACK));
    } else if (!event->text().isEmpty() && event->text().at(0) >= u' '
               && !(event->modifiers() & (Qt::ControlModifier | Qt::AltModifier))) {
        key = EditKey::typed(event->text().at(0));
    } else {
        QLineEdit::keyPressEvent(event); // caret keys and the like
        return;
    }
    MaskState state{text(), cursorPosition(), cursorPosition()};
    if (hasSelectedText()) {
        state.selStart = selectionStart();
        state.selFinish = selectionEnd();
    }
    const MaskResult r = m_type == QLatin1String("N") ? numberMaskKey(state, key, m_intLen, m_decimals)
                                                       : dateMaskKey(state, key, clock().now().date());
    if (!r.changed) {
        QLineEdit::keyPressEvent(event);
        return;
    }
    if (m_type == QLatin1String("N"))
        SETBUFFER(r.text);
    setText(r.text);
    setCursorPosition(r.caret);
}

} // namespace vexo
