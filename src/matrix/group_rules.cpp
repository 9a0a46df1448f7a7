#include "matrix/group_rules.h"

#include "controls/grid_rules.h"
#include "problem/number_text.h"

#include <cmath>

namespace vexo {

namespace {

const QString kWarningCaption = QStringLiteral("Uyarı...");
const QString kErrorCaption = QStringLiteral("Hata...");

QString blanks() { return emptyNumberText(); }

// A typed or pasted number as it is stored: 3 decimals, right-aligned in 11 characters.
QString normalised(const QString &text, bool *ok = nullptr)
{
    return SDAYA2(text, 3, 3, ok);
}

double numberOf(const QString &text)
{
    return Val(normalised(text));
}

// A share cell read as a number: violation marks and leading blanks go, a value below 0.001 is 0.
double shareOf(const QString &cell)
{
    const double v = Val(withoutViolationMark(cell).trimmed());
    return std::fabs(v) < 0.001 ? 0.0 : v;
}

bool present(const Row &row, int field) { return !isBlank(row.value(field)); }

GroupCellOutcome unchanged(const Row &row, const std::optional<QString> &clipboard)
{
    GroupCellOutcome out;
    out.row = row;
    out.clipboard = clipboard;
    return out;
}

// Whether a clipboard text may go into a number cell: blanks, or a number that fits the cell.
bool pastableNumber(const QString &value)
{
    const QString t = value.trimmed();
    if (t.isEmpty())
        return value.size() <= kCellWidth;
    if (value.size() > kCellWidth)
        return false;
    for (QChar ch : t) {
        if (!ch.isDigit() && ch != u'.' && ch != u',')
            return false;
    }
    bool ok = false;
    const QString n = normalised(t, &ok);
    return ok && !isBlank(n);
}

} // namespace

Row blankGroupRow()
{
    Row row;
    row << QString(kYmgNameWidth, u' ');
    for (int i = 1; i < YMG_COLUMNS; ++i)
        row << blanks();
    return row;
}

bool groupColumnEditable(int column)
{
    return column >= 1 && column <= 4;
}

QString filterGroupTyping(int column, const QString &text)
{
    return column >= 2 ? filterNumberTyping(text) : text;
}

GroupCellOutcome groupCellEdit(const Row &row, int column, const QString &typed, bool filtered)
{
    GroupCellOutcome out;
    out.row = row;
    out.changed = true;
    QString value = typed.trimmed();
    if (column >= 2 && column <= 4) {
        static const QString names[] = {QStringLiteral("Sabit pay"), QStringLiteral("Alt sınır"),
                                        QStringLiteral("Üst sınır")};
        const TypedCell kind = readTypedCell(value, filtered);
        if (kind == TypedCell::NotANumber || kind == TypedCell::Negative) {
            out.changed = false;
            out.tone = true;
            out.status = kind == TypedCell::Negative ? noNegativeText(names[column - 2]) : notANumberText();
            return out;
        }
    }
    if (!value.isEmpty() && column >= 2 && column <= 4) {
        const double n = numberOf(value);
        if ((column == 3 || column == 4) && present(row, YMGFIX)) {
            out.tone = true;
            out.notice = GroupNotice{kWarningCaption, kFixedFirstText, false};
            return out;
        }
        if (column == 3 && present(row, YMGULIMIT)) {
            const double upper = numberOf(row.value(YMGULIMIT));
            if (n > upper) {
                // Refused: the lower limit the row had stays, and the status bar names both values.
                out.changed = false;
                out.tone = true;
                out.status = lowerAboveUpperText(normalised(value), row.value(YMGULIMIT));
                return out;
            }
            if (n == upper)
                out.row[YMGULIMIT] = blanks();
        }
        if (column == 4 && present(row, YMGLLIMIT)) {
            const double lower = numberOf(row.value(YMGLLIMIT));
            if (n < lower) {
                out.changed = false;
                out.tone = true;
                out.status = upperBelowLowerText(normalised(value), row.value(YMGLLIMIT));
                return out;
            }
            if (n == lower)
                out.row[YMGLLIMIT] = blanks();
        }
        if (column == 2) {
            // A fixed share leaves no room for a limit beside it.
            out.row[YMGLLIMIT] = blanks();
            out.row[YMGULIMIT] = blanks();
        }
        value = normalised(value);
    }
    if (column >= 1 && column <= out.row.size())
        out.row[column - 1] = value;
    if (column >= 2 && column <= 4)
        out.statusReset = true;
    return out;
}

GroupCellOutcome groupCopy(const Row &row, int column, const std::optional<QString> &clipboard)
{
    GroupCellOutcome out = unchanged(row, clipboard);
    if (groupColumnEditable(column))
        out.clipboard = row.value(column - 1);
    return out;
}

GroupCellOutcome groupCut(const Row &row, int column, const std::optional<QString> &clipboard)
{
    GroupCellOutcome out = groupClear(row, column, clipboard);
    if (groupColumnEditable(column))
        out.clipboard = row.value(column - 1);
    return out;
}

GroupCellOutcome groupClear(const Row &row, int column, const std::optional<QString> &clipboard)
{
    GroupCellOutcome out = unchanged(row, clipboard);
    if (!groupColumnEditable(column))
        return out;
    out.row[column - 1] = column == 1 ? QString(kYmgNameWidth, u' ') : blanks();
    out.changed = true;
    out.statusReset = true;
    return out;
}

GroupCellOutcome groupPaste(const Row &row, int column, const std::optional<QString> &clipboard)
{
    GroupCellOutcome out = unchanged(row, clipboard);
    if (column < 2 || column > 4 || !clipboard || clipboard->isEmpty())
        return out;
    QString value = *clipboard;
    if (!pastableNumber(value)) {
        out.notice = GroupNotice{kErrorCaption, kMismatchText, true};
        return out;
    }
    const bool blankValue = isBlank(value);
    const double n = numberOf(value);
    if (!blankValue && ((column == 3 && present(row, YMGULIMIT) && n >= numberOf(row.value(YMGULIMIT)))
                        || (column == 4 && present(row, YMGLLIMIT) && n <= numberOf(row.value(YMGLLIMIT))))) {
        out.notice = GroupNotice{kErrorCaption, kMismatchText, true};
        return out;
    }
    if ((column == 3 || column == 4) && present(row, YMGFIX)) {
        out.tone = true;
        out.notice = GroupNotice{kWarningCaption, kFixedFirstText, false};
        out.clipboard = blanks();
        value = blanks();
    }
    if (column == 2 && !isBlank(value)) {
        out.row[YMGLLIMIT] = blanks();
        out.row[YMGULIMIT] = blanks();
    }
    out.row[column - 1] = isBlank(value) ? blanks() : normalised(value);
    out.changed = true;
    out.statusReset = true;
    return out;
}

bool MATDUZENLE(OpenProblem &p)
{
    const qsizetype names = p.AYMGADLARI.size();
    const qsizetype rows = p.AGMAT.size();
    if (names == rows)
        return false;
    const qsizetype keep = std::min(names, rows);
    p.AYMGADLARI = p.AYMGADLARI.mid(0, keep);
    p.AGMAT = p.AGMAT.mid(0, keep);
    p.AYMGLIST = p.AYMGLIST.mid(0, keep);
    p.LYMGDEG = true;
    return true;
}

void commitGroupRows(OpenProblem &p, const RowList &gridRows)
{
    p.AYMGLIST = gridRows;
    p.LYMGDEG = true;
    MATDUZENLE(p);
    followGroupNames(p, p.AYMGLIST);
}

void followGroupNames(OpenProblem &p, const RowList &gridRows)
{
    const qsizetype n = std::min(p.AYMGADLARI.size(), gridRows.size());
    for (qsizetype k = 0; k < n; ++k)
        p.AYMGADLARI[k] = gridRows.at(k).value(YMGNAME).trimmed();
}

void YGKAYDET(OpenProblem &p, int r, const QList<int> &positions)
{
    if (r > p.AGMAT.size()) {
        Row row(p.AYMADLARI.size(), QStringLiteral("0.0"));
        for (int pos : positions) {
            if (pos >= 1 && pos <= row.size())
                row[pos - 1] = QStringLiteral("1.0");
        }
        p.AGMAT.append(row);
    } else if (r >= 1) {
        Row &row = p.AGMAT[r - 1];
        for (QString &cell : row)
            cell = QStringLiteral("0.0");
        for (int pos : positions) {
            if (pos >= 1 && pos <= row.size())
                row[pos - 1] = QStringLiteral("1.0");
        }
    }
    p.LYMGDEG = true;
}

int rowForNewGroup(const RowList &gridRows)
{
    for (int i = 0; i < gridRows.size(); ++i) {
        if (gridRows.at(i).value(YMGNAME).trimmed().isEmpty())
            return i + 1;
    }
    return int(gridRows.size()) + 1;
}

void placeGroupName(OpenProblem &p, int r, const QString &name)
{
    if (r >= 1 && r <= p.AYMGADLARI.size())
        p.AYMGADLARI[r - 1] = name;
    else
        p.AYMGADLARI.append(name);
}

void YGMATSIL(OpenProblem &p, int r)
{
    if (r >= 1 && r <= p.AGMAT.size())
        p.AGMAT.removeAt(r - 1);
}

void YGNAMSIL(OpenProblem &p, int r)
{
    if (r >= 1 && r <= p.AYMGADLARI.size())
        p.AYMGADLARI.removeAt(r - 1);
}

std::optional<QString> solveRefusal(const OpenProblem &p, int gridRows)
{
    if (p.AYMGADLARI.size() < gridRows)
        return kNamedNotDefinedText;
    if (!p.LAMATHAZIR)
        return kNoDataText;
    return std::nullopt;
}

void writeGroupResults(RowList &gridRows, const QList<QStringList> &results, int nameCount, int solveCount,
                       bool savedSolution)
{
    const qsizetype count = std::min(results.size(), qsizetype(nameCount));
    qsizetype k = 0;
    for (Row &row : gridRows) {
        // A row without a name is no group: it has no result, like its row in the group list.
        if (isBlank(row.value(YMGNAME))) {
            if (row.size() > YMGGFIAT) {
                row[YMGACOZUM] = blanks();
                row[YMGGFIAT] = blanks();
            }
            continue;
        }
        if (k >= count)
            continue;
        const QStringList &result = results.at(k++);
        const QString s = result.value(0);
        const QString g = result.value(1);
        const QString old = row.value(YMGACOZUM);
        if (solveCount >= 2)
            row[YMGOCOZUM] = old;
        const QString mark = s.contains(u'*') ? QStringLiteral("*") : QStringLiteral(" ");
        const QString value = withoutViolationMark(s);
        if (std::fabs(Val(value.trimmed())) < 0.001)
            row[YMGACOZUM] = QString(5, u' ') + mark + QString(5, u' ');
        else
            row[YMGACOZUM] = s;
        row[YMGGFIAT] = g;
        if (!savedSolution && solveCount < 2)
            continue;
        const double n = shareOf(s);
        auto difference = [n](double other) {
            return n == 0.0 && other == 0.0 ? emptyNumberText() : Str(n - other, kCellWidth, 3);
        };
        if (solveCount >= 2)
            row[YMGCFARKI] = difference(shareOf(old));
        if (savedSolution)
            row[YMGKCFARKI] = difference(shareOf(row.value(YMGKCOZUM)));
    }
}

GroupCostTexts groupCostTexts(GroupCostTexts shown, double current, double previous, double saved)
{
    auto text = [](double v) { return Str(v, kCellWidth, 3); };
    if (previous != 0)
        shown.previous = text(previous);
    if (current != 0)
        shown.current = text(current);
    if (current != 0 && previous != 0)
        shown.currentDifference = text(current - previous);
    if (saved != 0)
        shown.saved = text(saved);
    if (current != 0 && saved != 0)
        shown.savedDifference = text(current - saved);
    return shown;
}

QList<int> membersOf(const Row &membershipRow)
{
    QList<int> out;
    for (int i = 0; i < membershipRow.size(); ++i) {
        bool ok = false;
        const double v = membershipRow.at(i).trimmed().toDouble(&ok);
        if (ok && v == 1.0)
            out.append(i + 1);
    }
    return out;
}

std::optional<GroupNotice> groupSaveRefusal(int ticked, const QString &name)
{
    if (ticked < 2) {
        return GroupNotice{kWarningCaption,
                           QStringLiteral("En az iki yem maddesi bir gurup olabilir!\r\n\r\n"
                                          "Yada Çıkış için <İptal>'i tuşlayınız..."),
                           false};
    }
    if (name.trimmed().isEmpty())
        return GroupNotice{kWarningCaption, QStringLiteral("Grup ismi girilmedi..."), false};
    return std::nullopt;
}

bool groupNameTaken(const QStringList &names, const QString &typed)
{
    const QString t = typed.trimmed();
    return !t.isEmpty() && names.contains(t);
}

void assignNewIngredientGroups(OpenProblem &p, const std::function<int(const QString &)> &ask)
{
    if (p.AGMAT.isEmpty() || p.AYMGADLARI.isEmpty())
        return;
    const qsizetype built = p.AGMAT.first().size();
    if (p.AYMADLARI.size() <= built)
        return;
    for (qsizetype i = built; i < p.AYMADLARI.size(); ++i) {
        const int chosen = ask ? ask(p.AYMADLARI.at(i)) : 0;
        for (int r = 0; r < p.AGMAT.size(); ++r) {
            Row &row = p.AGMAT[r];
            // Every row gets the ingredient's cell at its own place, so no row runs short or long.
            while (row.size() < i)
                row.append(QStringLiteral("0.0000"));
            if (row.size() == i)
                row.append(r + 1 == chosen ? QStringLiteral("1.0000") : QStringLiteral("0.0000"));
        }
    }
    p.LYMGDEG = true;
}

} // namespace vexo
