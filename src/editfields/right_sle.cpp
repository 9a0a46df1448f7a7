#include "editfields/right_sle.h"

#include "editfields/dlg_pe_calendar.h"
#include "editfields/wm_bitmap_button.h"
#include "platform/clock.h"
#include "platform/message_sink.h"
#include "problem/number_text.h"

#include <QAbstractButton>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QDropEvent>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLocale>
#include <QMenu>
#include <QMimeData>
#include <QRegularExpression>

#include <functional>
#include <memory>

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
    m_undoText.reset();
}

void RIGHTSLE::setTextValue(const QString &text)
{
    m_value = QVariant();
    setText(text);
    m_undoText.reset();
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

NumberEditState RIGHTSLE::numberState() const
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
    return state;
}

void RIGHTSLE::showNumberResult(const NumberEditResult &r)
{
    if (r.state.text != text())
        m_undoText = text();
    m_replaceAll = r.state.replaceAll;
    m_negativePending = r.state.negativePending;
    setText(r.state.text);
    setCursorPosition(r.state.selStart);
    if (r.modified)
        setModified(true);
}

void RIGHTSLE::applyNumberKey(EditKey key)
{
    const NumberEditResult r = PROCESSNUM(numberFormat(), numberState(), key);
    if (r.beep)
        INVALIDACTION();
    showNumberResult(r);
}

void RIGHTSLE::pasteNumber(const QString &incoming)
{
    if (isReadOnly())
        return;
    const NumberFormat format = numberFormat();
    QString typed = incoming.trimmed();
    typed.remove(format.thousandSep);
    // A number as it could be typed: a sign, digits and at most one decimal separator.
    const QString d = QRegularExpression::escape(QString(format.decimalSep));
    static const QString pattern = QStringLiteral("[-+]?(\\d+(%1\\d*)?|%1\\d+)");
    const QRegularExpression number(QRegularExpression::anchoredPattern(pattern.arg(d)));
    if (!number.match(typed).hasMatch()) {
        INVALIDACTION();
        return;
    }
    // Typed in character by character on a copy; a character the editor refuses refuses it all.
    NumberEditResult r;
    r.state = numberState();
    bool modified = false;
    for (QChar c : std::as_const(typed)) {
        r = PROCESSNUM(format, r.state, EditKey::typed(c));
        if (r.beep) {
            INVALIDACTION();
            return;
        }
        modified = modified || r.modified;
    }
    r.modified = modified;
    showNumberResult(r);
}

void RIGHTSLE::cutNumber()
{
    if (!hasSelectedText())
        return;
    copy();
    if (!isReadOnly())
        applyNumberKey(EditKey::pressed(VK_DELETE));
}

void RIGHTSLE::undoNumber()
{
    if (isReadOnly() || !m_undoText)
        return;
    const QString before = *m_undoText;
    m_undoText = text();
    m_replaceAll = false;
    m_negativePending = false;
    setText(before);
    setModified(true);
}

// The clipboard and undo keys of a number field; true when the key was one of them.
bool RIGHTSLE::numberClipboardKey(QKeyEvent *event)
{
    if (event == QKeySequence::Paste) {
        pasteNumber(QGuiApplication::clipboard()->text());
        return true;
    }
    if (event == QKeySequence::Cut) {
        cutNumber();
        return true;
    }
    if (event == QKeySequence::Undo) {
        undoNumber();
        return true;
    }
    if (event == QKeySequence::Redo) {
        return true; // undo itself takes a change back again
    }
    if (event == QKeySequence::DeleteEndOfWord || event == QKeySequence::DeleteStartOfWord
        || event == QKeySequence::DeleteEndOfLine || event == QKeySequence::DeleteCompleteLine) {
        return true; // only Backspace and Delete remove digits
    }
    return false;
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
    if (numberClipboardKey(event))
        return;
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
    if (valueType() != u'N') {
        QLineEdit::contextMenuEvent(event);
        return;
    }
    // The edit's own menu, with its changing items sent through the number editor.
    std::unique_ptr<QMenu> menu(createStandardContextMenu());
    const QList<QAction *> actions = menu->actions();
    for (QAction *action : actions) {
        const QString name = action->objectName();
        std::function<void()> run;
        if (name == u"edit-paste")
            run = [this] { pasteNumber(QGuiApplication::clipboard()->text()); };
        else if (name == u"edit-cut")
            run = [this] { cutNumber(); };
        else if (name == u"edit-undo")
            run = [this] { undoNumber(); };
        else if (name == u"edit-redo" || name == u"edit-delete")
            action->setVisible(false);
        if (run) {
            action->disconnect();
            connect(action, &QAction::triggered, this, run);
        }
    }
    menu->exec(event->globalPos());
}

void RIGHTSLE::mouseReleaseEvent(QMouseEvent *event)
{
    // The middle button pastes the selection clipboard, through the number editor in a number field.
    if (valueType() == u'N' && event->button() == Qt::MiddleButton) {
        if (QGuiApplication::clipboard()->supportsSelection())
            pasteNumber(QGuiApplication::clipboard()->text(QClipboard::Selection));
        event->accept();
        return;
    }
    QLineEdit::mouseReleaseEvent(event);
}

void RIGHTSLE::dropEvent(QDropEvent *event)
{
    if (valueType() == u'N') {
        if (event->mimeData()->hasText())
            pasteNumber(event->mimeData()->text());
        event->setDropAction(Qt::CopyAction); // the source keeps its text
        event->accept();
        return;
    }
    QLineEdit::dropEvent(event);
}

} // namespace vexo
