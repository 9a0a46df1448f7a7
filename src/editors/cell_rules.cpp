#include "editors/cell_rules.h"

#include "platform/message_sink.h"
#include "problem/messages.h"
#include "problem/number_text.h"

#include <QRegularExpression>

namespace vexo {

namespace {

const QString kWarning = QStringLiteral("Uyarı...");
const QString kError = QStringLiteral("Hata...");

QString blank11()
{
    return QString(kCellWidth, u' ');
}

// A typed number read for comparing, the comma taken as the decimal point as it is when stored.
double typedNumber(const QString &text)
{
    QString t = text.trimmed();
    t.replace(u',', u'.');
    return Val(t);
}

double cellNumber(const QString &cell)
{
    return Val(cell.trimmed());
}

bool isWeightRow(const Row &row)
{
    const QString name = row.value(BMNAME).trimmed();
    return name == kWeightNutrient || name == QStringLiteral("AGIRLIK");
}

Notice fixedFirstNotice()
{
    return {kWarning, fixedFirstText(), MB_OK | MB_ICONINFORMATION};
}

Notice mismatchNotice()
{
    return {kError, mismatchText(), MB_OK | MB_ICONSTOP};
}

// The stored text of a typed value; nullopt when it does not fit a cell.
std::optional<QString> normalised(EditorKind kind, int column, const QString &v, int decimals)
{
    bool ok = true;
    QString out;
    if (kind == EditorKind::Ingredient)
        out = SDAYA2(v, 3, 3, &ok);
    else if (kind == EditorKind::Nutrient)
        out = SDAYA2(v, unsigned(qBound(0, decimals, 4)), 4, &ok);
    else
        out = SDAYA(v, 4, &ok);
    if (!ok)
        return std::nullopt;
    return out;
}

EditOutcome unchanged(const Row &row)
{
    EditOutcome out;
    out.row = row;
    return out;
}

// A clipboard text that may go into a number cell: a number of zero or more, of at most eleven
// characters.
bool isNumberText(const QString &text)
{
    static const QRegularExpression number(QStringLiteral("^(\\d+(\\.\\d*)?|\\.\\d+)$"));
    const QString t = text.trimmed();
    return t.size() <= kCellWidth && number.match(t).hasMatch();
}

} // namespace

QString fixedFirstText()
{
    return QStringLiteral("Alt/Üst sınır girişi için önce sabit girişi siliniz!");
}

QString mismatchText()
{
    return QStringLiteral("Uyumsuz veri girişi...");
}

QString cellName(int column)
{
    switch (column) {
    case kPriceColumn:
        return QStringLiteral("Fiyat");
    case kFixedColumn:
        return QStringLiteral("Sabit değer");
    case kLowerColumn:
        return QStringLiteral("Alt sınır");
    case kUpperColumn:
        return QStringLiteral("Üst sınır");
    default:
        return QString();
    }
}

void deliver(QWidget *owner, const EditOutcome &outcome)
{
    if (outcome.tone)
        ERRBEEP();
    for (const Notice &n : outcome.notices)
        showMessage(owner, n.caption, n.text, n.style);
}

QString filterTyping(const QString &text)
{
    return filterNumberTyping(text);
}

BeginEdit beginCellEdit(EditorKind kind, const Row &row, int column, bool inStock)
{
    BeginEdit out;
    if (kind == EditorKind::Ingredient && !inStock) {
        out.allowed = false;
    } else if (kind == EditorKind::Nutrient && column == kFixedColumn && isWeightRow(row)) {
        out.allowed = false;
        out.notices << Notice{kWarning, QStringLiteral("AGIRLIK rezerve bir alan, değiştirmeye çalışmayınız..."),
                              MB_OK | MB_ICONINFORMATION};
    }
    return out;
}

EditOutcome endCellEdit(EditorKind kind, const Row &row, int column, const QString &typed, int decimals,
                        bool filtered)
{
    if (!isEditableColumn(kind, column) || column > row.size())
        return unchanged(row);
    EditOutcome out = unchanged(row);
    const int at = column - 1;
    switch (readTypedCell(typed, filtered)) {
    case TypedCell::Emptied:
        out.row[at] = blank11();
        out.changed = true;
        return out;
    case TypedCell::NotANumber:
        // Letters the filter took out, or a text like "." or "1.2.3": the old value stays.
        out.tone = true;
        out.status = notANumberText();
        return out;
    case TypedCell::Negative:
        out.tone = true;
        out.status = noNegativeText(cellName(column));
        return out;
    case TypedCell::Number:
        break;
    }
    const std::optional<QString> stored = normalised(kind, column, typed, decimals);
    if (!stored) {
        out.notices << mismatchNotice();
        return out;
    }
    if (column == kPriceColumn) {
        out.row[at] = *stored;
        out.changed = true;
        out.priceChanged = true;
        return out;
    }

    Row &r = out.row;
    const bool limit = column == kLowerColumn || column == kUpperColumn;
    // A limit beside a fixed value is refused before anything else, so the refusal changes nothing.
    if (limit && !isBlank(r.value(kFixedColumn - 1))) {
        out.tone = true;
        out.notices << fixedFirstNotice();
        return out;
    }
    const double v = typedNumber(typed);
    if (column == kLowerColumn && !isBlank(r.value(kUpperColumn - 1))) {
        const double upper = cellNumber(r.at(kUpperColumn - 1));
        if (v > upper) {
            // Refused: the lower limit the row had stays, and the status bar names both values.
            out.tone = true;
            out.status = lowerAboveUpperText(*stored, r.at(kUpperColumn - 1));
            return out;
        }
        if (v == upper)
            r[kUpperColumn - 1] = blank11();
    } else if (column == kUpperColumn && !isBlank(r.value(kLowerColumn - 1))) {
        const double lower = cellNumber(r.at(kLowerColumn - 1));
        if (v < lower) {
            out.tone = true;
            out.status = upperBelowLowerText(*stored, r.at(kLowerColumn - 1));
            return out;
        }
        if (v == lower)
            r[kLowerColumn - 1] = blank11();
    } else if (column == kFixedColumn) {
        r[kLowerColumn - 1] = blank11();
        r[kUpperColumn - 1] = blank11();
    }
    r[at] = *stored;
    out.changed = true;
    return out;
}

EditOutcome copyCell(EditorKind kind, const Row &row, int column, const std::optional<QString> &clipboard)
{
    EditOutcome out = unchanged(row);
    out.clipboard = clipboard;
    if (isEditableColumn(kind, column) && column <= row.size())
        out.clipboard = row.at(column - 1);
    return out;
}

EditOutcome cutCell(EditorKind kind, const Row &row, int column, const std::optional<QString> &clipboard)
{
    EditOutcome out = copyCell(kind, row, column, clipboard);
    if (isEditableColumn(kind, column) && column <= row.size()) {
        out.row[column - 1] = blank11();
        out.changed = true;
    }
    return out;
}

EditOutcome clearCell(EditorKind kind, const Row &row, int column)
{
    return cutCell(kind, row, column, std::nullopt);
}

EditOutcome pasteCell(EditorKind kind, const Row &row, int column, const std::optional<QString> &clipboard)
{
    EditOutcome out = unchanged(row);
    out.clipboard = clipboard;
    if (!isEditableColumn(kind, column) || column > row.size() || !clipboard || isBlank(*clipboard))
        return out;
    if (!isNumberText(*clipboard)) {
        out.notices << mismatchNotice();
        return out;
    }
    const QString c = clipboard->trimmed().rightJustified(kCellWidth, u' ');
    const double value = cellNumber(c);
    Row &r = out.row;
    const QString lower = r.value(kLowerColumn - 1);
    const QString upper = r.value(kUpperColumn - 1);
    if ((column == kLowerColumn && !isBlank(upper) && value >= cellNumber(upper))
        || (column == kUpperColumn && !isBlank(lower) && value <= cellNumber(lower))) {
        out.notices << mismatchNotice();
        return out;
    }
    if ((column == kLowerColumn || column == kUpperColumn) && !isBlank(r.value(kFixedColumn - 1))) {
        // Refused like a typed limit; the row and the clipboard stay as they were.
        out.tone = true;
        out.notices << fixedFirstNotice();
        return out;
    }
    if (column == kFixedColumn) {
        r[kLowerColumn - 1] = blank11();
        r[kUpperColumn - 1] = blank11();
    }
    r[column - 1] = c;
    out.changed = true;
    return out;
}

} // namespace vexo
