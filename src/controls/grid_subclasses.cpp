#include "controls/grid_subclasses.h"

namespace vexo {

BCLASSBROWSER::BCLASSBROWSER(GridClass cls, QWidget *parent, BrowserOwner *owner)
    : BBROWSER(parent, owner), class_(cls)
{
}

bool BCLASSBROWSER::NOTIFY(int code, const QString &description)
{
    const NotifyEffect e = notifyEffect(class_, code, CURRENTCOLUMN());
    if (BrowserOwner *o = OWNER(); o && e.setFlag) {
        const std::function<void(bool)> *flag = nullptr;
        switch (ownerFlagOf(class_)) {
        case OwnerFlag::GIRDEG: flag = &o->GIRDEG; break;
        case OwnerFlag::RMCHANGE: flag = &o->RMCHANGE; break;
        case OwnerFlag::BMCHANGE: flag = &o->BMCHANGE; break;
        case OwnerFlag::YYCHANGE: flag = &o->YYCHANGE; break;
        case OwnerFlag::CHKDEG: flag = &o->CHKDEG; break;
        case OwnerFlag::None: break;
        }
        if (flag && *flag)
            (*flag)(true);
        if (e.setStructure && o->ALAN3DEG)
            o->ALAN3DEG(true);
    }
    return BBROWSER::NOTIFY(code, description);
}

void BCLASSBROWSER::MOUSEBUTTONDOWN(BMouseEvent &event)
{
    BBROWSER::MOUSEBUTTONDOWN(event);
    BARRAYSERVER *server = SERVER();
    const bool outOfStock = server && outOfStock_ && !server->eof() && outOfStock_(server->RECNO());
    const ClickEffect e = clickEffect(class_, event.BUTTONID, GETCELLTOPOINT(event.pos), GETROWNO(),
                                      ISACTIVE(), outOfStock);
    BrowserOwner *o = OWNER();
    if (e.stockWarning && o && o->STATUSMESSAGE)
        o->STATUSMESSAGE(kOutOfStockWarning);
    if (e.keyboardModeOff && o && o->KEYBOARDNAVIGATION)
        o->KEYBOARDNAVIGATION(false);
    if (e.toggleField)
        toggleTickField();
    if (e.singleChoice)
        chooseCurrent();
    if (e.nameColumnAndFocus) {
        setCURRENTCOLUMN(3);
        SETFOCUS();
    }
}

bool BCLASSBROWSER::clickTogglesCheckBoxes() const
{
    switch (class_) {
    case GridClass::SSEARCH:
    case GridClass::BMEKLE:
    case GridClass::GRPBELIRLE:
    case GridClass::MTBOT:
    case GridClass::CHOICE:
        return false;
    default:
        return true;
    }
}

void BCLASSBROWSER::toggleTickField()
{
    BARRAYSERVER *server = SERVER();
    if (!server || server->eof())
        return;
    const int pos = tickFieldPos(class_, *server);
    if (pos == 0)
        return;
    server->RLOCK();
    server->FIELDPUT(pos, !server->FIELDGET(pos).toBool());
    server->COMMIT();
    server->UNLOCK();
    NOTIFY(ServerNotify::Field, QString());
}

void BCLASSBROWSER::chooseCurrent()
{
    auto *ticks = dynamic_cast<BCHECKCOLUMN *>(GETOPENCOLUMN(QStringLiteral("CHECK")));
    BARRAYSERVER *server = SERVER();
    if (!ticks || !server || server->eof())
        return;
    if (ticks->CHECKED()) {
        ticks->UNCHECK();
        return;
    }
    if (ticks->CHECKEDCOUNT() > 0)
        ticks->UNCHECKALL();
    ticks->CHECK();
}

std::unique_ptr<BCLASSBROWSER> makeGridClass(GridClass cls, QWidget *parent, BrowserOwner *owner)
{
    switch (cls) {
    case GridClass::YM: return std::make_unique<YM_BBROWSER>(parent, owner);
    case GridClass::BM: return std::make_unique<BM_BBROWSER>(parent, owner);
    case GridClass::BMO: return std::make_unique<BMO_BBROWSER>(parent, owner);
    case GridClass::YMG: return std::make_unique<YMG_BBROWSER>(parent, owner);
    case GridClass::AMAT: return std::make_unique<AMAT_BBROWSER>(parent, owner);
    case GridClass::RMAT: return std::make_unique<RMAT_BBROWSER>(parent, owner);
    case GridClass::BMS: return std::make_unique<BMS_BBROWSER>(parent, owner);
    case GridClass::RYY: return std::make_unique<RYY_BBROWSER>(parent, owner);
    case GridClass::SSEARCH: return std::make_unique<SSEARCH_BBROWSER>(parent, owner);
    case GridClass::BMEKLE: return std::make_unique<BMEKLE_BBROWSER>(parent, owner);
    case GridClass::GRPBELIRLE: return std::make_unique<GRPBELIRLE_BBROWSER>(parent, owner);
    case GridClass::MTBOT: return std::make_unique<MTBOT_BBROWSER>(parent, owner);
    case GridClass::CHOICE: return std::make_unique<CHOICE_BBROWSER>(parent, owner);
    }
    return nullptr;
}

} // namespace vexo
