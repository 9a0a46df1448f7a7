#pragma once

class QEvent;
class QKeyEvent;
class QWidget;

namespace vexo {

// A window whose own cancel handler the Esc key of its fields runs (the handler its Cancel button
// runs too).
class CancelOwner
{
public:
    virtual ~CancelOwner() = default;
    virtual void PBIPTAL() = 0;
};

// The nearest window from `widget` upward (the widget itself excluded) that has a cancel handler, or
// nullptr. Fields sit in group boxes and layouts, so the owner is not always the direct parent.
CancelOwner *findCancelOwner(const QWidget *widget);

// Esc without modifiers.
bool isPlainEscape(const QKeyEvent *event);
// For a field's event(): accepts the shortcut query of a plain Esc when the field has a cancel
// handler to run, so no shortcut of the window takes the key first; true when it did.
bool claimsEscape(QEvent *event, const QWidget *field);

} // namespace vexo
