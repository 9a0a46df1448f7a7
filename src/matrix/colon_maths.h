#pragma once

#include "controls/cancel_owner.h"

#include <QDialog>
#include <QStringList>

class QLabel;
class QPushButton;

namespace vexo {

class BARRAYSERVER;
class QVCOMBOBOX;

// The column names the arithmetic dialog offers: the server's fields in order without the key,
// name and group fields.
QStringList arithmeticFieldNames(const QStringList &fieldNames);

// How a left operand text reads: "A" a column name (only after a pick from the list, and only an
// exact listed name), otherwise "N" with the text normalised to a 4-decimal number text. An empty
// text changes nothing: the mode and text come back as given. A text that is neither a listed name
// nor a number (or too wide for a cell) is refused: mode and text as given, and the word why.
struct OperandReading
{
    QString mode;
    QString text;
    QString refusal;
    bool operator==(const OperandReading &) const = default;
};
OperandReading readOperand(const QString &text, bool picked, const QStringList &names, const QString &mode);

// The name refusals give the operand.
QString operandName();
// Why an operator cannot go on with a number operand (empty when it can): the operand must be a
// number, and nothing is divided by zero.
QString numberOperandRefusal(const QString &op, const QString &operand);

// COLONMATHS, "Kolon Aritmetiği": collects an operator and an operand (a number or another column) for
// the selected column. CVTYPE "N", "A" or "U" (cancelled), COPERAT "+", "-", "*", "/", "K" or empty,
// CVALUEX the trimmed operand.
class COLONMATHS : public QDialog, public CancelOwner
{
    Q_OBJECT
public:
    COLONMATHS(QWidget *owner, const BARRAYSERVER *server);

    QString CVTYPE = QStringLiteral("N");
    QString COPERAT;
    QString CVALUEX;

    bool ISFLDNAME(const QString &text);
    void LISTBOXSELECT();
    void EDITFOCUSCHANGE();
    void operatorButton(const QString &op);
    void PBIPTAL() override;

    const QStringList &offeredNames() const { return m_names; }
    bool listPicked() const { return m_picked; }
    QVCOMBOBOX *CBVALAP() const { return m_combo; }
    QPushButton *operatorButtonOf(const QString &op) const;
    QPushButton *cancelButton() const { return m_cancel; }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void reject() override;

private:
    QStringList m_names;
    bool m_picked = false;
    bool m_edited = false;
    bool m_ended = false; // the focus leaving as the dialog closes classifies nothing
    QString m_last;       // the operand the field goes back to when a typed one is refused
    // An operand was refused since the last typing: the operator click that follows at once (the click
    // leaves the field first) ends nothing, so the refusal is seen.
    bool m_refused = false;
    QVCOMBOBOX *m_combo = nullptr;
    QList<QPair<QString, QPushButton *>> m_ops;
    QPushButton *m_cancel = nullptr;
};

} // namespace vexo
