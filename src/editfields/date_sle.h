#pragma once

#include "editfields/right_sle.h"

namespace vexo {

class PEDATESLECONTEXTMENU;

// A date entry field: a date field description in the program's dd/mm/yyyy form, the calendar button
// at its right, the Today / Calendar context menu; it starts empty and its weeks start on Sunday.
class DATESLE : public RIGHTSLE
{
    Q_OBJECT
public:
    explicit DATESLE(QWidget *owner = nullptr, const QRect &geometry = QRect());
    PEDATESLECONTEXTMENU *contextMenu() const { return m_menu; }

private:
    PEDATESLECONTEXTMENU *m_menu = nullptr;
};

} // namespace vexo
