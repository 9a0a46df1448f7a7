#pragma once

#include "editfields/number_editor.h"
#include "problem/field_spec.h"

#include <QAbstractButton>
#include <QLineEdit>
#include <QMenu>
#include <QPointer>
#include <QVariant>

#include <optional>

namespace vexo {

// Commands the date fields and their context menu share.
enum : int { kCommandToday = 7754, kCommandCalendar = 7755 };

// A single-line edit whose keys follow the value type of its field description:
//   "N": a number editor that keeps the text right-aligned in the description's form after every key
//        (digits grow the number to the left, the first key after entering replaces the whole value,
//        "-" and "+" toggle the sign, a digit that no longer fits beeps);
//   "D": date keys: keypad plus and minus move the date by a day, the commands "today" and "calendar"
//        and a double click open the calendar dialog;
//        The clipboard and undo keep to the same rules: a paste is typed in as its characters and
//        refused with the beep when it is no number or does not fit, a cut deletes the selection as
//        Delete does, and undo puts back the text before the last change (once more: redo it);
//   none or another type: a plain edit.
// Subclasses place a partner button beside it (OBUTTON).
class RIGHTSLE : public QLineEdit
{
    Q_OBJECT
public:
    // `geometry` in the owner's coordinates; an empty one leaves the placing to the owner's layout.
    explicit RIGHTSLE(QWidget *owner = nullptr, const QRect &geometry = QRect());

    const std::optional<FieldSpec> &fieldSpec() const { return m_fieldSpec; }
    void setFieldSpec(const std::optional<FieldSpec> &spec);

    // The typed value: shown through the field description when there is one, as text otherwise.
    QVariant Value() const;
    void setValue(const QVariant &value);
    QString TextValue() const { return text(); }
    void setTextValue(const QString &text);

    // The settings the calendar dialog reads: open flush with the field's left edge (or at its right
    // edge) and the first day of the week (1 Sunday, 2 Monday, 0 another day, taken from the system).
    bool LALIGNCALENDARLEFT = true;
    quint32 FIRSTDAYOFTHEWEEK = 0;

    QAbstractButton *OBUTTON() const { return m_button; }

    // The today (7754) and calendar (7755) commands of a date field; other ids and other fields do
    // nothing. Calendar does nothing in a read-only field.
    void command(int id);
    // Opens the calendar dialog and takes the chosen date.
    void SHOWCALENDAR();
    // The error beep of a refused key.
    static void INVALIDACTION();

    QString SETFIELD(const QString &text, double factor = 1.0) const;
    QString ZEROPAD() const;
    void ENABLE();
    void DISABLE();

    // For tests and subclasses: the number editor's flags.
    bool replaceAll() const { return m_replaceAll; }
    bool negativePending() const { return m_negativePending; }

protected:
    // Places the button beside the field, in the field's owner, and narrows the field for it.
    void setPartnerButton(QAbstractButton *button);
    void setContextMenu(QMenu *menu) { m_contextMenu = menu; }
    QChar valueType() const { return m_fieldSpec ? m_fieldSpec->ValType() : QChar(); }

    void keyPressEvent(QKeyEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;
    void contextMenuEvent(QContextMenuEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void dropEvent(QDropEvent *event) override;

private:
    NumberFormat numberFormat() const;
    NumberEditState numberState() const;
    void showNumberResult(const NumberEditResult &r);
    void applyNumberKey(EditKey key);
    // The number field's clipboard and undo commands.
    void pasteNumber(const QString &incoming);
    void cutNumber();
    void undoNumber();
    bool numberClipboardKey(QKeyEvent *event);
    void dateKey(QKeyEvent *event);

    std::optional<FieldSpec> m_fieldSpec;
    QVariant m_value;
    QPointer<QAbstractButton> m_button;
    QPointer<QMenu> m_contextMenu;
    bool m_replaceAll = true;
    bool m_negativePending = false;
    std::optional<QString> m_undoText; // a number field's text before its last change
};

} // namespace vexo
