// Typing, copying, cutting, clearing and pasting one cell of an editor's row.
#include "editors/cell_rules.h"

#include "platform/message_sink.h"
#include "problem/number_text.h"

#include <gtest/gtest.h>

#include <cctype>
#include <ostream>
#include <string>

using namespace vexo;

namespace {

const QString B(11, u' ');

QString c(const QString &text)
{
    return text.isEmpty() ? B : text.rightJustified(11, u' ');
}

// A row of the given kind whose columns 2 to 5 hold the given texts (short texts right-aligned).
Row row(EditorKind kind, const QString &second, const QString &fix, const QString &lo, const QString &hi)
{
    const int columns = editorTraits(kind).columnCount;
    Row r(columns, B);
    r[0] = kind == EditorKind::Ingredient ? QStringLiteral("MISIR").leftJustified(25)
                                          : QStringLiteral("HP").leftJustified(15);
    r[1] = kind == EditorKind::Ingredient ? c(second) : second.leftJustified(kind == EditorKind::Ratio ? 15 : 11);
    r[2] = c(fix);
    r[3] = c(lo);
    r[4] = c(hi);
    return r;
}

const Notice kFixedFirst{QStringLiteral("Uyarı..."), QStringLiteral("Alt/Üst sınır girişi için önce sabit girişi siliniz!"),
                         MB_OK | MB_ICONINFORMATION};
const Notice kMismatch{QStringLiteral("Hata..."), QStringLiteral("Uyumsuz veri girişi..."), MB_OK | MB_ICONSTOP};

struct TypeCase
{
    const char *what;
    EditorKind kind;
    QStringList before; // columns 2..5
    int column;
    QString typed;
    int decimals;
    QStringList after; // columns 2..5, right-aligned to 11 unless blank
    bool changed, tone, price;
    QList<Notice> notices;
    QString status = {};    // what the status bar says
    bool filtered = false; // the typing filter took characters out during the edit
};

// Cases are named by what they test ("price with a comma" runs as PriceWithAComma), so a failing
// case can be named and the output read.
std::string caseName(const char *what)
{
    std::string name;
    bool upper = true;
    for (const char *p = what; *p; ++p) {
        const unsigned char ch = static_cast<unsigned char>(*p);
        if (std::isalnum(ch)) {
            name += upper ? char(std::toupper(ch)) : char(ch);
            upper = false;
        } else {
            upper = true;
        }
    }
    return name;
}

template <typename Case>
std::string nameOf(const ::testing::TestParamInfo<Case> &info)
{
    return caseName(info.param.what);
}

void PrintTo(const TypeCase &t, std::ostream *out)
{
    *out << t.what;
}

class Typing : public ::testing::TestWithParam<TypeCase>
{
};

TEST_P(Typing, AppliesTheRulesInOrder)
{
    const TypeCase &t = GetParam();
    const Row before = row(t.kind, t.before[0], t.before[1], t.before[2], t.before[3]);
    const EditOutcome out = endCellEdit(t.kind, before, t.column, t.typed, t.decimals, t.filtered);
    const Row expected = row(t.kind, t.after[0], t.after[1], t.after[2], t.after[3]);
    EXPECT_EQ(out.row, expected) << t.what;
    EXPECT_EQ(out.changed, t.changed) << t.what;
    EXPECT_EQ(out.tone, t.tone) << t.what;
    EXPECT_EQ(out.priceChanged, t.price) << t.what;
    EXPECT_EQ(out.notices, t.notices) << t.what;
    EXPECT_EQ(out.status, t.status) << t.what;
}

const auto I = EditorKind::Ingredient;
const auto N = EditorKind::Nutrient;
const auto R = EditorKind::Ratio;

INSTANTIATE_TEST_SUITE_P(
    CellEdit, Typing,
    ::testing::Values(
        TypeCase{"price with a comma", I, {"", "", "", ""}, 2, "12,5", 4, {"12.500", "", "", ""}, true, false, true, {}},
        TypeCase{"price cut to 3 decimals", I, {"1.000", "", "", ""}, 2, "3.14159", 4, {"3.141", "", "", ""}, true, false, true, {}},
        TypeCase{"price of zero is a price", I, {"", "", "", ""}, 2, "0", 4, {"0.000", "", "", ""}, true, false, true, {}},
        TypeCase{"emptied price is no price change", I, {"4.000", "", "", ""}, 2, "", 4, {"", "", "", ""}, true, false, false, {}},
        TypeCase{"nutrient keeps its row's decimals", N, {"%", "", "", ""}, 3, "1.23456", 2, {"%", "1.2300", "", ""}, true, false, false, {}},
        TypeCase{"nutrient with no definition cuts to 4", N, {"%", "", "", ""}, 4, "1.23456", 4, {"%", "", "1.2345", ""}, true, false, false, {}},
        TypeCase{"nutrient of 0 decimals keeps whole numbers", N, {"%", "", "", ""}, 5, "7.6", 0, {"%", "", "", "7.0000"}, true, false, false, {}},
        TypeCase{"ratio written with 4 decimals", R, {"KM", "", "", ""}, 3, "2,5", 4, {"KM", "2.5000", "", ""}, true, false, false, {}},
        TypeCase{"fixed value blanks both limits", I, {"1.000", "", "2.000", "9.000"}, 3, "5", 4, {"1.000", "5.000", "", ""}, true, false, false, {}},
        TypeCase{"lower equal to upper blanks the upper", I, {"1.000", "", "", "9.000"}, 4, "9", 4, {"1.000", "", "9.000", ""}, true, false, false, {}},
        TypeCase{"lower equal to upper, typed with a comma", N, {"%", "", "", "2.5000"}, 4, "2,5", 4, {"%", "", "2.5000", ""}, true, false, false, {}},
        TypeCase{"lower above upper is refused and the old lower kept", I, {"1.000", "", "1.000", "9.000"}, 4, "10", 4, {"1.000", "", "1.000", "9.000"}, false, true, false, {},
                 lowerAboveUpperText(QStringLiteral("10.000"), QStringLiteral("9.000"))},
        TypeCase{"upper equal to lower blanks the lower", R, {"KM", "", "3.0000", ""}, 5, "3", 4, {"KM", "", "", "3.0000"}, true, false, false, {}},
        TypeCase{"upper below lower is refused and the old upper kept", N, {"%", "", "3.0000", "5.0000"}, 5, "2", 4, {"%", "", "3.0000", "5.0000"}, false, true, false, {},
                 upperBelowLowerText(QStringLiteral("2.0000"), QStringLiteral("3.0000"))},
        TypeCase{"limits above 100 are accepted", I, {"1.000", "", "", ""}, 5, "150", 4, {"1.000", "", "", "150.000"}, true, false, false, {}},
        TypeCase{"limit beside a fixed value is refused and changes nothing", I, {"1.000", "5.000", "", "9.000"}, 4, "9", 4, {"1.000", "5.000", "", "9.000"}, false, true, false, {kFixedFirst}},
        TypeCase{"upper beside a fixed value is refused", N, {"%", "1.0000", "", ""}, 5, "2", 4, {"%", "1.0000", "", ""}, false, true, false, {kFixedFirst}},
        TypeCase{"emptying a limit beside a fixed value is accepted", R, {"KM", "1.0000", "", "2.0000"}, 5, "", 4, {"KM", "1.0000", "", ""}, true, false, false, {}},
        TypeCase{"a value too wide for a cell is refused", I, {"1.000", "", "", ""}, 2, "123456789012", 4, {"1.000", "", "", ""}, false, false, false, {kMismatch}},
        TypeCase{"name column is not editable", I, {"1.000", "", "", ""}, 1, "5", 4, {"1.000", "", "", ""}, false, false, false, {}},
        TypeCase{"result column is not editable", N, {"%", "", "", ""}, 6, "5", 4, {"%", "", "", ""}, false, false, false, {}},
        TypeCase{"unit column is not editable", N, {"%", "", "", ""}, 2, "5", 4, {"%", "", "", ""}, false, false, false, {}},
        TypeCase{"letters typed over a price keep it", I, {"780.000", "", "", ""}, 2, "", 4, {"780.000", "", "", ""}, false, true, false, {},
                 notANumberText(), true},
        TypeCase{"letters typed over a limit keep it", N, {"%", "", "21.0000", ""}, 4, "", 4, {"%", "", "21.0000", ""}, false, true, false, {},
                 notANumberText(), true},
        TypeCase{"two decimal points are no number", I, {"780.000", "", "", ""}, 2, "1.2.3", 4, {"780.000", "", "", ""}, false, true, false, {},
                 notANumberText()},
        TypeCase{"a lone comma is no number", R, {"KM", "2.0000", "", ""}, 3, ",", 4, {"KM", "2.0000", "", ""}, false, true, false, {},
                 notANumberText()},
        TypeCase{"a number left after letters goes in", I, {"780.000", "", "", ""}, 2, "12", 4, {"12.000", "", "", ""}, true, false, true, {},
                 {}, true},
        TypeCase{"a negative price keeps the old price", I, {"780.000", "", "", ""}, 2, "-5", 4, {"780.000", "", "", ""}, false, true, false, {},
                 QStringLiteral("Fiyat negatif olamaz: hücredeki eski değer korundu...")},
        TypeCase{"minus zero is zero", I, {"780.000", "", "", ""}, 2, "-0", 4, {"0.000", "", "", ""}, true, false, true, {}},
        TypeCase{"a minus inside a number is no number", N, {"%", "", "21.0000", ""}, 4, "2-1", 4, {"%", "", "21.0000", ""}, false, true, false, {},
                 notANumberText()}),
    nameOf<TypeCase>);

TEST(TypingFilter, KeepsOnlyTheCharactersOfANumber)
{
    EXPECT_TRUE(isTypedNumber(QStringLiteral(" 12,5 "), false));
    EXPECT_TRUE(isTypedNumber(QStringLiteral(",5"), false));
    EXPECT_TRUE(isTypedNumber(QStringLiteral("7."), false));
    EXPECT_TRUE(isTypedNumber(QStringLiteral("-3"), true));
    for (const char *no : {"", ".", "1.2.3", "1,2.3", "1-2", "-3", "a1"})
        EXPECT_FALSE(isTypedNumber(QString::fromLatin1(no), false)) << no;
    // The minus stays in sight: the end of the edit refuses it in words.
    EXPECT_EQ(filterTyping(QStringLiteral("-12,5")), QStringLiteral("-12,5"));
    EXPECT_EQ(filterTyping(QStringLiteral(" 1a2.b3 ")), QStringLiteral("12.3"));
    EXPECT_EQ(filterTyping(QStringLiteral("abc")), QString());
}

// Every cell the user types into, with what is already in its row: what is not a number, a negative
// and a limit on the wrong side of the other limit are refused, the row stays as it was, the tone
// sounds and the status bar names the cell's own rule.
struct TypedCellCase
{
    const char *what;
    EditorKind kind;
    int column;
    QStringList before; // columns 2..5
    const char *cell;   // the cell's name in the status text
    const char *crossing; // a value that crosses the other limit; none outside the limit columns
    QString crossedText;
};

TEST(Typing, RefusedEntriesKeepTheOldValueAndSayWhy)
{
    const TypedCellCase cells[] = {
        {"ingredient price", I, 2, {"780.000", "", "", ""}, "Fiyat", nullptr, {}},
        {"ingredient fixed share", I, 3, {"780.000", "5.000", "", ""}, "Sabit değer", nullptr, {}},
        {"ingredient lower limit", I, 4, {"780.000", "", "2.000", "9.000"}, "Alt sınır", "10",
         lowerAboveUpperText(QStringLiteral("10.000"), QStringLiteral("9.000"))},
        {"ingredient upper limit", I, 5, {"780.000", "", "2.000", "9.000"}, "Üst sınır", "1",
         upperBelowLowerText(QStringLiteral("1.000"), QStringLiteral("2.000"))},
        {"nutrient fixed value", N, 3, {"%", "3.0000", "", ""}, "Sabit değer", nullptr, {}},
        {"nutrient lower limit", N, 4, {"%", "", "3.0000", "5.0000"}, "Alt sınır", "5,5",
         lowerAboveUpperText(QStringLiteral("5.5000"), QStringLiteral("5.0000"))},
        {"nutrient upper limit", N, 5, {"%", "", "3.0000", "5.0000"}, "Üst sınır", "2.99",
         upperBelowLowerText(QStringLiteral("2.9900"), QStringLiteral("3.0000"))},
        {"ratio fixed value", R, 3, {"KM", "1.5000", "", ""}, "Sabit değer", nullptr, {}},
        {"ratio lower limit", R, 4, {"KM", "", "1.0000", "2.0000"}, "Alt sınır", "3",
         lowerAboveUpperText(QStringLiteral("3.0000"), QStringLiteral("2.0000"))},
        {"ratio upper limit", R, 5, {"KM", "", "1.0000", "2.0000"}, "Üst sınır", "0,5",
         upperBelowLowerText(QStringLiteral("0.5000"), QStringLiteral("1.0000"))},
    };
    for (const TypedCellCase &t : cells) {
        const Row before = row(t.kind, t.before[0], t.before[1], t.before[2], t.before[3]);
        struct Entry
        {
            QString typed;
            bool filtered;
            QString status;
        };
        QList<Entry> entries = {
            {QString(), true, notANumberText()},             // letters, all taken out by the filter
            {QStringLiteral("-"), false, notANumberText()},   // a lone minus
            {QStringLiteral("1.2.3"), false, notANumberText()},
            {QStringLiteral("-5"), false, noNegativeText(QString::fromUtf8(t.cell))},
        };
        if (t.crossing)
            entries.append({QString::fromLatin1(t.crossing), false, t.crossedText});
        for (const Entry &e : entries) {
            SCOPED_TRACE(std::string(t.what) + " <- \"" + e.typed.toStdString() + "\"");
            const EditOutcome out = endCellEdit(t.kind, before, t.column, e.typed, 4, e.filtered);
            EXPECT_EQ(out.row, before);
            EXPECT_FALSE(out.changed);
            EXPECT_FALSE(out.priceChanged);
            EXPECT_TRUE(out.tone);
            EXPECT_TRUE(out.notices.isEmpty());
            EXPECT_EQ(out.status, e.status);
        }
        // Emptying the cell is the user's own choice: no value is given from now on.
        const EditOutcome emptied = endCellEdit(t.kind, before, t.column, QString(), 4, false);
        EXPECT_TRUE(emptied.changed) << t.what;
        EXPECT_TRUE(isBlank(emptied.row.at(t.column - 1))) << t.what;
    }
}

TEST(BeginEdit, RefusesOutOfStockRowsAndTheWeightRowsFixedCell)
{
    const Row ym = row(I, "1.000", "", "", "");
    EXPECT_FALSE(beginCellEdit(I, ym, 2, false).allowed);
    EXPECT_TRUE(beginCellEdit(I, ym, 2, false).notices.isEmpty());
    EXPECT_TRUE(beginCellEdit(I, ym, 3, true).allowed);

    for (const QString &name : {QStringLiteral("AĞIRLIK"), QStringLiteral("AGIRLIK")}) {
        Row bm = row(N, "", "1.0000", "", "");
        bm[0] = name.leftJustified(15);
        const BeginEdit fixed = beginCellEdit(N, bm, 3, false);
        EXPECT_FALSE(fixed.allowed);
        ASSERT_EQ(fixed.notices.size(), 1);
        EXPECT_EQ(fixed.notices.first().text, QStringLiteral("AGIRLIK rezerve bir alan, değiştirmeye çalışmayınız..."));
        EXPECT_TRUE(beginCellEdit(N, bm, 4, true).allowed) << "the weight row's limits stay open";
    }
    // Stock means nothing to the nutrient and ratio windows.
    EXPECT_TRUE(beginCellEdit(N, row(N, "", "", "", ""), 3, false).allowed);
    EXPECT_TRUE(beginCellEdit(R, row(R, "", "", "", ""), 3, false).allowed);
}

// --- clipboard --------------------------------------------------------------------------------------

TEST(Clipboard, CopyAndCutWorkOnlyOnEditableColumns)
{
    const Row r = row(I, "12.500", "", "1.000", "");
    const std::optional<QString> old = c("7.000");
    EXPECT_EQ(copyCell(I, r, 6, old).clipboard, old) << "a result column leaves the clipboard";
    EXPECT_EQ(copyCell(I, r, 2, old).clipboard, c("12.500"));
    EXPECT_EQ(copyCell(N, row(N, "%", "", "", ""), 2, old).clipboard, old) << "the unit is not editable";

    const EditOutcome cut = cutCell(I, r, 4, old);
    EXPECT_EQ(cut.clipboard, c("1.000"));
    EXPECT_EQ(cut.row, row(I, "12.500", "", "", ""));
    EXPECT_TRUE(cut.changed);

    const EditOutcome blankCut = cutCell(I, r, 3, old);
    EXPECT_EQ(blankCut.clipboard, B) << "cutting a blank cell leaves a blank clipboard";
    EXPECT_TRUE(blankCut.changed) << "and still counts as a change";
}

TEST(Clipboard, ClearBlanksOneCellOnly)
{
    const EditOutcome out = clearCell(N, row(N, "%", "1.0000", "", ""), 3);
    EXPECT_EQ(out.row, row(N, "%", "", "", ""));
    EXPECT_TRUE(out.changed);
    EXPECT_TRUE(out.notices.isEmpty());
    EXPECT_FALSE(clearCell(N, row(N, "%", "1.0000", "", ""), 1).changed);
}

struct PasteCase
{
    const char *what;
    EditorKind kind;
    QStringList before;
    int column;
    std::optional<QString> clipboard;
    QStringList after;
    std::optional<QString> clipboardAfter;
    bool changed, tone;
    QList<Notice> notices;
};

void PrintTo(const PasteCase &t, std::ostream *out)
{
    *out << t.what;
}

class Pasting : public ::testing::TestWithParam<PasteCase>
{
};

TEST_P(Pasting, FollowsThePasteRules)
{
    const PasteCase &t = GetParam();
    const EditOutcome out = pasteCell(t.kind, row(t.kind, t.before[0], t.before[1], t.before[2], t.before[3]), t.column,
                                      t.clipboard);
    EXPECT_EQ(out.row, row(t.kind, t.after[0], t.after[1], t.after[2], t.after[3])) << t.what;
    EXPECT_EQ(out.clipboard, t.clipboardAfter) << t.what;
    EXPECT_EQ(out.changed, t.changed) << t.what;
    EXPECT_EQ(out.tone, t.tone) << t.what;
    EXPECT_EQ(out.notices, t.notices) << t.what;
}

const std::optional<QString> kNone;

INSTANTIATE_TEST_SUITE_P(
    CellPaste, Pasting,
    ::testing::Values(
        PasteCase{"nothing copied", I, {"1.000", "", "", ""}, 2, kNone, {"1.000", "", "", ""}, kNone, false, false, {}},
        PasteCase{"blank copied", I, {"1.000", "", "", ""}, 2, B, {"1.000", "", "", ""}, B, false, false, {}},
        PasteCase{"price keeps its form in a limit", I, {"1.000", "", "", "20.000"}, 4, c("12.500"), {"1.000", "", "12.500", "20.000"}, c("12.500"), true, false, {}},
        PasteCase{"not kept normalised", N, {"%", "", "", ""}, 3, c("12.500"), {"%", "12.500", "", ""}, c("12.500"), true, false, {}},
        PasteCase{"a short number is right-aligned", R, {"KM", "", "", ""}, 3, QStringLiteral("2.5"), {"KM", "2.5", "", ""}, QStringLiteral("2.5"), true, false, {}},
        PasteCase{"lower equal to upper is refused", I, {"1.000", "", "", "9.000"}, 4, c("9.000"), {"1.000", "", "", "9.000"}, c("9.000"), false, false, {kMismatch}},
        PasteCase{"lower above upper is refused", N, {"%", "", "", "9.0000"}, 4, c("9.5"), {"%", "", "", "9.0000"}, c("9.5"), false, false, {kMismatch}},
        PasteCase{"upper equal to lower is refused", R, {"KM", "", "3.0000", ""}, 5, c("3"), {"KM", "", "3.0000", ""}, c("3"), false, false, {kMismatch}},
        PasteCase{"upper above lower is taken", R, {"KM", "", "3.0000", ""}, 5, c("3.5"), {"KM", "", "3.0000", "3.5"}, c("3.5"), true, false, {}},
        PasteCase{"limit beside a fixed value keeps row and clipboard", I, {"1.000", "5.000", "", ""}, 5, c("7.000"), {"1.000", "5.000", "", ""}, c("7.000"), false, true, {kFixedFirst}},
        PasteCase{"fixed value blanks the limits", N, {"%", "", "1.0000", "2.0000"}, 3, c("1.5000"), {"%", "1.5000", "", ""}, c("1.5000"), true, false, {}},
        PasteCase{"a group name is no number", I, {"1.000", "", "", ""}, 2, QStringLiteral("TAHILLAR").leftJustified(25), {"1.000", "", "", ""}, QStringLiteral("TAHILLAR").leftJustified(25), false, false, {kMismatch}},
        PasteCase{"a text of twelve digits is too wide", I, {"1.000", "", "", ""}, 2, QStringLiteral("123456789012"), {"1.000", "", "", ""}, QStringLiteral("123456789012"), false, false, {kMismatch}},
        PasteCase{"a marked result is no number", I, {"1.000", "", "", ""}, 3, c("*12.000"), {"1.000", "", "", ""}, c("*12.000"), false, false, {kMismatch}},
        PasteCase{"a negative is pasted into no cell", I, {"1.000", "", "", ""}, 2, c("-5.000"), {"1.000", "", "", ""}, c("-5.000"), false, false, {kMismatch}},
        PasteCase{"read-only column", N, {"%", "", "", ""}, 2, c("1.0"), {"%", "", "", ""}, c("1.0"), false, false, {}}),
    nameOf<PasteCase>);

TEST(Clipboard, PasteIgnoresStockAndTheWeightRow)
{
    // Paste has no begin-edit step: an out-of-stock row and the weight row's fixed cell take it.
    Row weight = row(N, "%", "", "", "");
    weight[0] = QStringLiteral("AĞIRLIK").leftJustified(15);
    const EditOutcome out = pasteCell(N, weight, 3, c("1.0000"));
    EXPECT_TRUE(out.changed);
    EXPECT_EQ(out.row.at(2), c("1.0000"));
}

} // namespace
