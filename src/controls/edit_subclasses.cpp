#include "controls/edit_subclasses.h"

#include "controls/cancel_owner.h"
#include "problem/number_text.h"

#include <QKeyEvent>


namespace vexo {

QVSLE::QVSLE(QWidget *owner) : QLineEdit(owner)
{
}

void QVSLE::setCURRENTTEXT(const QString &text)
{
    setText(text);
}

bool QVSLE::event(QEvent *event)
{
    return claimsEscape(event, this) || QLineEdit::event(event);
}

void QVSLE::keyPressEvent(QKeyEvent *event)
{
    if (isPlainEscape(event)) {
        if (CancelOwner *owner = findCancelOwner(this)) {
            event->accept();
            owner->PBIPTAL();
            return;
        }
    }
    QLineEdit::keyPressEvent(event);
}

QVNSLE::QVNSLE(QWidget *owner) : QVSLE(owner)
{
}

void QVNSLE::setCURRENTTEXT(const QString &text)
{
    QVSLE::setCURRENTTEXT(CHGALPHA2(text));
}

MYSLE::MYSLE(QWidget *owner) : QVSLE(owner)
{
}

int MYSLE::setCURSORPOSITION(quint32 position)
{
    m_cursorPosition = position;
    // Past the end the caret goes to the end, as the platform's caret call does.
    setCursorPosition(int(std::min<quint32>(position, quint32(text().size()))));
    return cursorPosition();
}

void MYSLE::keyPressEvent(QKeyEvent *event)
{
    m_cursorPosition = quint32(cursorPosition());
    QVSLE::keyPressEvent(event);
}

} // namespace vexo
