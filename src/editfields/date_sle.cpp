#include "editfields/date_sle.h"

#include "editfields/dlg_pe_calendar.h"
#include "editfields/wm_bitmap_button.h"

namespace vexo {

DATESLE::DATESLE(QWidget *owner, const QRect &geometry)
    : RIGHTSLE(owner, geometry)
{
    setObjectName(QStringLiteral("DATESLE"));
    if (owner)
        setPartnerButton(new DATEPB(owner, this));
    setFieldSpec(FieldSpec::date());
    m_menu = new PEDATESLECONTEXTMENU(this);
    setContextMenu(m_menu);
    setValue(QDate());
    FIRSTDAYOFTHEWEEK = 1;
}

} // namespace vexo
