#pragma once

#include "editfields/right_sle.h"

namespace vexo {

// A search field: a double click, or a click on its magnifier button, calls the owner's method named
// by SYMMETHOD ("sleSearch" at first; names compare without regard to case) with the field's text. The
// owner declares it as a slot or Q_INVOKABLE taking one QString; an owner without it is left alone.
class SEARCHSLE : public RIGHTSLE
{
    Q_OBJECT
public:
    explicit SEARCHSLE(QWidget *owner = nullptr, const QRect &geometry = QRect());

    QString SYMMETHOD = QStringLiteral("sleSearch");
    // Returns whether the owner had the method.
    bool search();

protected:
    void mouseDoubleClickEvent(QMouseEvent *event) override;
};

} // namespace vexo
