#pragma once

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

} // namespace vexo
