#pragma once

#include <QLineEdit>

namespace vexo {

// Single-line fields of the dialogs: Esc pressed in the field runs the owner's cancel handler
// (CancelOwner::PBIPTAL) and goes nowhere else. A field whose owner has no cancel handler leaves Esc
// to the dialog as any line edit does.
class QVSLE : public QLineEdit
{
    Q_OBJECT
public:
    explicit QVSLE(QWidget *owner = nullptr);

    // Sets the shown text and the field's value together.
    virtual void setCURRENTTEXT(const QString &text);
    QString VALUE() const { return text(); }

protected:
    bool event(QEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
};

// The same for a number: only the characters of a number (".,0123456789") of the trimmed text are
// kept, so "12,5 kg" shows 12,5 and "-3" shows 3.
class QVNSLE : public QVSLE
{
    Q_OBJECT
public:
    explicit QVNSLE(QWidget *owner = nullptr);
    void setCURRENTTEXT(const QString &text) override;
};

// Remembers where the caret stood when the last key was pressed, before the key moved it.
class MYSLE : public QVSLE
{
    Q_OBJECT
public:
    explicit MYSLE(QWidget *owner = nullptr);

    quint32 CURSORPOSITION() const { return m_cursorPosition; }
    // Stores the position and moves the caret there; returns where the caret ended up.
    int setCURSORPOSITION(quint32 position);

protected:
    void keyPressEvent(QKeyEvent *event) override;

private:
    quint32 m_cursorPosition = 0;
};

} // namespace vexo
