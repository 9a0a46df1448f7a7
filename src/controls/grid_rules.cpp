#include "controls/grid_rules.h"

#include "controls/barray_server.h"
#include "problem/number_text.h"
#include "problem/typed_number.h"

namespace vexo {

OwnerFlag ownerFlagOf(GridClass cls)
{
    switch (cls) {
    case GridClass::YM:
    case GridClass::BM:
    case GridClass::BMO:
    case GridClass::YMG:
    case GridClass::AMAT:
        return OwnerFlag::GIRDEG;
    case GridClass::RMAT:
        return OwnerFlag::RMCHANGE;
    case GridClass::BMS:
        return OwnerFlag::BMCHANGE;
    case GridClass::RYY:
        return OwnerFlag::YYCHANGE;
    case GridClass::SSEARCH:
    case GridClass::BMEKLE:
    case GridClass::GRPBELIRLE:
        return OwnerFlag::CHKDEG;
    case GridClass::MTBOT:
    case GridClass::CHOICE:
        break;
    }
    return OwnerFlag::None;
}

NotifyEffect notifyEffect(GridClass cls, int code, int currentColumn)
{
    NotifyEffect e;
    if (ownerFlagOf(cls) == OwnerFlag::None)
        return e;
    const bool change = code == ServerNotify::Field || code == ServerNotify::Deleted
                        || code == ServerNotify::FileChange
                        || (code == ServerNotify::Appended && cls != GridClass::RMAT);
    e.setFlag = change;
    if (cls == GridClass::BMS && change)
        e.setStructure = code == ServerNotify::Deleted
                         || ((code == ServerNotify::Field || code == ServerNotify::FileChange) && currentColumn == 3);
    return e;
}

ClickEffect clickEffect(GridClass cls, int button, BCELL cell, int rowNo, bool active, bool outOfStock)
{
    ClickEffect e;
    const bool left = button == 1;
    const bool dataCell = cell.COLUMN > 0 && cell.ROW > 0;
    switch (cls) {
    case GridClass::YM:
        e.stockWarning = left && outOfStock;
        break;
    case GridClass::RYY:
        e.keyboardModeOff = active;
        break;
    case GridClass::SSEARCH:
        if (left && rowNo == 0)
            return e; // no current row: nothing at all, not even the name column
        e.toggleField = left && cell.COLUMN >= 1;
        e.nameColumnAndFocus = true;
        break;
    case GridClass::BMEKLE:
    case GridClass::GRPBELIRLE:
    case GridClass::MTBOT:
        e.toggleField = left && dataCell;
        break;
    case GridClass::CHOICE:
        e.singleChoice = left && dataCell;
        break;
    default:
        break;
    }
    return e;
}

int tickFieldPos(GridClass cls, const BARRAYSERVER &server)
{
    switch (cls) {
    case GridClass::SSEARCH:
        return server.FCOUNT() >= 1 ? 1 : 0;
    case GridClass::BMEKLE:
    case GridClass::GRPBELIRLE:
    case GridClass::MTBOT:
        return server.FIELDPOS(QStringLiteral("CHK"));
    default:
        return 0;
    }
}

QList<int> singleChoice(const QList<int> &ticked, int recNo)
{
    if (ticked.contains(recNo)) {
        QList<int> rest = ticked;
        rest.removeAll(recNo);
        return rest;
    }
    return {recNo};
}

QString filterNumberTyping(const QString &text)
{
    return CHGALPHA1(text);
}

TypedCell readTypedCell(const QString &typed, bool filtered)
{
    // The one rule of a typed number (dialogs and forms use it too); only a blank differs here, since a
    // blank the typing filter left is no emptying by the user.
    switch (typedNumberFault(typed, false)) {
    case TypedNumberFault::None:
        return TypedCell::Number;
    case TypedNumberFault::Empty:
        return filtered ? TypedCell::NotANumber : TypedCell::Emptied;
    case TypedNumberFault::Negative:
        return TypedCell::Negative;
    case TypedNumberFault::NotANumber:
        break;
    }
    return TypedCell::NotANumber;
}

QString numbersOnlyText()
{
    return QStringLiteral("Bu hücreye yalnız sayı yazılabilir (rakamlar, nokta ya da virgül)...");
}

QString notANumberText()
{
    return QStringLiteral("Girilen değer bir sayı değil: hücredeki eski değer korundu...");
}

QString noNegativeText(const QString &cell)
{
    return QStringLiteral("%1 negatif olamaz: hücredeki eski değer korundu...").arg(cell);
}

QString lowerAboveUpperText(const QString &lower, const QString &upper)
{
    return QStringLiteral("Alt sınır (%1) üst sınırdan (%2) büyük olamaz: hücredeki eski değer korundu...")
        .arg(lower.trimmed(), upper.trimmed());
}

QString upperBelowLowerText(const QString &upper, const QString &lower)
{
    return QStringLiteral("Üst sınır (%1) alt sınırdan (%2) küçük olamaz: hücredeki eski değer korundu...")
        .arg(upper.trimmed(), lower.trimmed());
}

} // namespace vexo
