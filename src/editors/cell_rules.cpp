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

// A clipboard text that may go into a number cell: a number of at most eleven characters.
bool isNumberText(const QString &text)
{
    static const QRegularExpression number(QStringLiteral("^-?(\\d+(\\.\\d*)?|\\.\\d+)$"));
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

QString numbersOnlyText()
{
    return QStringLiteral("Bu hücreye yalnız sayı yazılabilir (rakamlar, nokta ya da virgül)...");
}

QString notANumberText()
{
    return QStringLiteral("Girilen değer bir sayı değil: hücredeki eski değer korundu...");
}

QString lowerAboveUpperText(const QString &lower, const QString &upper)
{
    return QStringLiteral("Alt sınır (%1) üst sınırdan (%2) büyük olamaz: alt sınır boş bırakıldı...")
        .arg(lower.trimmed(), upper.trimmed());
}

QString upperBelowLowerText(const QString &upper, const QString &lower)
{
    return QStringLiteral("Üst sınır (%1) alt sınırdan (%2) küçük olamaz: üst sınır boş bırakıldı...")
        .arg(upper.trimmed(), lower.trimmed());
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
    return CHGALPHA2(text);
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
    if (isBlank(typed) && !filtered) {
        out.row[at] = blank11();
        out.changed = true;
        return out;
    }
    if (!isTypedNumber(typed, false)) {
        // Letters the filter took out, or a text like "." or "1.2.3": the old value stays.
        out.tone = true;
        out.status = notANumberText();
        return out;
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
    bool keep = true;
    if (column == kLowerColumn && !isBlank(r.value(kUpperColumn - 1))) {
        const double upper = cellNumber(r.at(kUpperColumn - 1));
        if (v == upper) {
            r[kUpperColumn - 1] = blank11();
        } else if (v > upper) {
            keep = false;
            out.tone = true;
            out.status = lowerAboveUpperText(*stored, r.at(kUpperColumn - 1));
        }
    } else if (column == kUpperColumn && !isBlank(r.value(kLowerColumn - 1))) {
        const double lower = cellNumber(r.at(kLowerColumn - 1));
        if (v == lower) {
            r[kLowerColumn - 1] = blank11();
        } else if (v < lower) {
            keep = false;
            out.tone = true;
            out.status = upperBelowLowerText(*stored, r.at(kLowerColumn - 1));
        }
    } else if (column == kFixedColumn) {
        r[kLowerColumn - 1] = blank11();
        r[kUpperColumn - 1] = blank11();
    }
    r[at] = keep ? *stored : blank11();
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
