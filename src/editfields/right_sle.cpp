#include "editfields/right_sle.h"

#include "editfields/dlg_pe_calendar.h"
#include "editfields/wm_bitmap_button.h"
#include "platform/clock.h"
#include "platform/message_sink.h"
#include "problem/number_text.h"

#include <QAbstractButton>
#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QLocale>
#include <QMenu>

namespace vexo {

RIGHTSLE::RIGHTSLE(QWidget *owner, const QRect &geometry)
    : QLineEdit(owner)
{
    FIRSTDAYOFTHEWEEK = firstDayOfTheWeek(QLocale::system().firstDayOfWeek());
    if (geometry.isValid())
        setGeometry(geometry);
}

void RIGHTSLE::setFieldSpec(const std::optional<FieldSpec> &spec)
{
    m_fieldSpec = spec;
    if (valueType() == u'N')
        setAlignment(Qt::AlignRight | Qt::AlignVCenter);
}

QVariant RIGHTSLE::Value() const
{
    if (m_fieldSpec)
        return m_fieldSpec->Val(text());
    // Without a description the value is what was set, as long as the text still shows it.
    return m_value.isValid() && m_value.toString() == text() ? m_value : QVariant(text());
}

void RIGHTSLE::setValue(const QVariant &value)
{
    m_value = value;
    setText(m_fieldSpec ? m_fieldSpec->Transform(value) : value.toString());
}

void RIGHTSLE::setTextValue(const QString &text)
{
    m_value = QVariant();
    setText(text);
}

void RIGHTSLE::setPartnerButton(QAbstractButton *button)
{
    m_button = button;
    placePartnerButton(this, button);
}

void RIGHTSLE::INVALIDACTION()
{
    // A tone without a pitch stands for the desktop's plain beep.
    playTones({Tone{0, 0}});
}

NumberFormat RIGHTSLE::numberFormat() const
{
    const FieldSpec spec = m_fieldSpec.value_or(FieldSpec::number(0, 0));
    return {spec, spec.Length()};
}

QString RIGHTSLE::SETFIELD(const QString &text, double factor) const
{
    return vexo::SETFIELD(numberFormat(), text, factor);
}

QString RIGHTSLE::ZEROPAD() const
{
    const FieldSpec spec = m_fieldSpec.value_or(FieldSpec::number(0, 0));
    return vexo::ZEROPAD(Val(Value().toString()), spec.Length() > 0 ? spec.Length() : maxLength());
}

void RIGHTSLE::ENABLE()
{
    setReadOnly(false);
    setEnabled(true);
}

void RIGHTSLE::DISABLE()
{
    setReadOnly(true);
    setEnabled(false);
}

void RIGHTSLE::applyNumberKey(EditKey key)
{
    NumberEditState state;
    state.text = text();
    if (hasSelectedText()) {
        state.selStart = selectionStart();
        state.selFinish = selectionEnd();
    } else {
        state.selStart = state.selFinish = cursorPosition();
    }
    state.replaceAll = m_replaceAll;
    state.negativePending = m_negativePending;
    const NumberEditResult r = PROCESSNUM(numberFormat(), state, key);
    if (r.beep)
        INVALIDACTION();
    m_replaceAll = r.state.replaceAll;
    m_negativePending = r.state.negativePending;
    setText(r.state.text);
    setCursorPosition(r.state.selStart);
    if (r.modified)
        setModified(true);
}

void RIGHTSLE::command(int id)
{
    if (valueType() != u'D')
        return;
    if (id == kCommandToday)
        setValue(clock().now().date()); // also in a read-only field
    else if (id == kCommandCalendar && !isReadOnly())
        SHOWCALENDAR();
}

void RIGHTSLE::SHOWCALENDAR()
{
    if (valueType() != u'D')
        return;
    DLGPECALENDAR dialog(parentWidget(), this);
    dialog.exec();
    if (dialog.DSELECTED.isValid())
        setValue(dialog.DSELECTED);
    setFocus();
}

void RIGHTSLE::dateKey(QKeyEvent *event)
{
    const bool keypad = event->modifiers() & Qt::KeypadModifier;
    const bool plus = event->key() == Qt::Key_Plus;
    if (keypad) {
        if (!isReadOnly()) {
            const QString format = m_fieldSpec->dateFormat();
            if (const auto moved = shiftDateText(text(), plus ? 1 : -1, format))
                setText(*moved);
        }
        return;
    }
    // "+" and "-" are never typed into a date; on a text that is no date they beep.
    if (!CToD(text(), m_fieldSpec->dateFormat()).isValid())
        INVALIDACTION();
}

void RIGHTSLE::keyPressEvent(QKeyEvent *event)
{
    const QChar type = valueType();
    if (type == u'D') {
        if (event->key() == Qt::Key_Plus || event->key() == Qt::Key_Minus) {
            dateKey(event);
            return;
        }
        QLineEdit::keyPressEvent(event);
        return;
    }
    if (type != u'N') {
        QLineEdit::keyPressEvent(event);
        return;
    }
    switch (event->key()) {
    case Qt::Key_Backspace:
    case Qt::Key_Delete:
        // A read-only field loses no digits.
        if (!isReadOnly())
            applyNumberKey(EditKey::pressed(event->key() == Qt::Key_Backspace ? VK_BACK : VK_DELETE));
        return;
    case Qt::Key_End:
    case Qt::Key_Home:
    case Qt::Key_Left:
    case Qt::Key_Right: {
        const int vk = event->key() == Qt::Key_End ? VK_END
                       : event->key() == Qt::Key_Home ? VK_HOME
                       : event->key() == Qt::Key_Left ? VK_LEFT
                                                      : VK_RIGHT;
        applyNumberKey(EditKey::pressed(vk));
        QLineEdit::keyPressEvent(event); // the edit moves the caret
        return;
    }
    default: break;
    }
    const QString typed = event->text();
    if (!typed.isEmpty() && typed.at(0) >= u' ' && !(event->modifiers() & (Qt::ControlModifier | Qt::AltModifier))) {
        if (!isReadOnly())
            applyNumberKey(EditKey::typed(typed.at(0)));
        return;
    }
    QLineEdit::keyPressEvent(event);
}

void RIGHTSLE::mouseDoubleClickEvent(QMouseEvent *event)
{
    if (valueType() == u'N') {
        setFocus();
        selectAll();
        m_replaceAll = true;
        return;
    }
    if (valueType() == u'D') {
        if (event->button() == Qt::LeftButton && !isReadOnly())
            SHOWCALENDAR();
        return;
    }
    QLineEdit::mouseDoubleClickEvent(event);
}

void RIGHTSLE::contextMenuEvent(QContextMenuEvent *event)
{
    if (m_contextMenu) {
        m_contextMenu->exec(event->globalPos());
        return;
    }
    QLineEdit::contextMenuEvent(event);
}

} // namespace vexo
