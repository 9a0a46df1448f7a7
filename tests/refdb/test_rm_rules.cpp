// The reference-matrix editor's rules over rows: captions by name, cell texts, the clipboard, saving
// (read back by python3-dbfread), column arithmetic, linking, the row commands and the search.
#include "refdb/rm_rules.h"
#include "refdb/rm_edit_window.h"

#include "matrix/colon_maths.h"
#include "matrix/matrix_dialogs.h"
#include "platform/dbf_table.h"
#include "problem/open_problem.h"
#include "problem/reference_tables.h"
#include "problem/typed_number.h"
#include "refdb_root.h"
#include "scripted_messages.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>

#include <gtest/gtest.h>

using namespace vexo;
using vexo::test::Definition;
using vexo::test::RefDbRoot;

namespace {

DbfStructure layout(const QStringList &nutrients, int kodWidth = 5)
{
    DbfStructure s = {{QStringLiteral("KOD"), u'N', kodWidth, 0},
                      {QStringLiteral("YM_ADI"), u'C', 25, 0},
                      {QStringLiteral("FIATI"), u'C', 11, 0},
                      {QStringLiteral("GRUBU"), u'C', 11, 0}};
    for (const QString &n : nutrients)
        s.append({n, u'C', 11, 0});
    return s;
}

// Rows named "YEM 1".."YEM n" with KOD = record number; nutrient cells as given per row (or blank).
RmTableData table(const QStringList &nutrients, int n, const QList<QStringList> &cells = {})
{
    RmTableData t;
    t.structure = layout(nutrients);
    for (int r = 1; r <= n; ++r) {
        ServerRow row = {double(r), QStringLiteral("YEM %1").arg(r), QString(), QString()};
        for (int c = 0; c < nutrients.size(); ++c)
            row.append(cells.value(r - 1).value(c));
        t.rows.append(row);
    }
    return t;
}

// "KOD:name" per row: shows order and numbering at once.
QStringList shape(const ReferenceMatrixRows &rows)
{
    QStringList out;
    const BARRAYSERVER &s = *rows.server();
    for (int r = 1; r <= s.LASTREC(); ++r)
        out.append(QStringLiteral("%1:%2").arg(s.valueAt(r, 1).toInt()).arg(s.textAt(r, 2).trimmed()));
    return out;
}

QStringList trimmed(const QStringList &list)
{
    QStringList out;
    for (const QString &s : list)
        out.append(s.trimmed());
    return out;
}

QString n11(const char *text)
{
    return QString::fromLatin1(text).rightJustified(11);
}

// The matrix dialogs answered from a script.
struct ScriptedMatrixDialogs : MatrixDialogs
{
    ScriptedMatrixDialogs() { setMatrixDialogs(this); }
    ~ScriptedMatrixDialogs() override { setMatrixDialogs(nullptr); }
    int choose(QWidget *, const QString &caption, const QStringList &items) override
    {
        captions.append(caption);
        offered.append(items);
        return chosen;
    }
    QString askValue(QWidget *, const QString &prompt, const QString &value) override
    {
        prompts.append(prompt);
        return answer.isNull() ? value : answer;
    }
    QList<int> chooseMany(QWidget *, const QString &caption, const QStringList &items) override
    {
        captions.append(caption);
        offered.append(items);
        return ticked;
    }
    int chosen = 0;
    QString answer;
    QList<int> ticked;
    QStringList captions, prompts;
    QList<QStringList> offered;
};

const char *kReader = R"(
import json, sys, dbfread
t = dbfread.DBF(sys.argv[1], encoding='cp1254', load=True)
print(json.dumps({'fields': [f.name for f in t.fields], 'deleted': len(t.deleted),
                  'rows': [[str(v).rstrip() if v is not None else '' for v in r.values()] for r in t.records]}))
)";

struct PeerTable
{
    QStringList fields;
    QList<QStringList> rows;
    int deleted = -1;
};

PeerTable readByPeer(const QString &path)
{
    QProcess p;
    p.start(QStringLiteral("/usr/bin/python3"), {QStringLiteral("-c"), QString::fromLatin1(kReader), path});
    EXPECT_TRUE(p.waitForFinished(60000));
    EXPECT_EQ(p.exitCode(), 0) << p.readAllStandardError().toStdString();
    const QJsonObject o = QJsonDocument::fromJson(p.readAllStandardOutput()).object();
    PeerTable t;
    for (const QJsonValue &f : o.value(QStringLiteral("fields")).toArray())
        t.fields.append(f.toString());
    for (const QJsonValue &r : o.value(QStringLiteral("rows")).toArray()) {
        QStringList row;
        for (const QJsonValue &v : r.toArray())
            row.append(v.toString());
        t.rows.append(row);
    }
    t.deleted = o.value(QStringLiteral("deleted")).toInt();
    return t;
}

struct Saved
{
    Saved()
    {
        EXPECT_TRUE(root.writeDefinitions({{"Kuru Madde", "KM", "%", 4}, {"Ham Protein", "HP", "%", 2}}));
        EXPECT_TRUE(root.writeMatrix({"KM", "HP"}, 5));
    }
    std::unique_ptr<ReferenceMatrixRows> open()
    {
        auto t = readReferenceMatrix();
        auto d = GETBMDATA();
        EXPECT_TRUE(t && d);
        return std::make_unique<ReferenceMatrixRows>(nullptr, *t, *d);
    }
    QString file() const { return root.path(kReferenceMatrixFile); }
    RefDbRoot root;
    test::ScriptedMessages messages;
};

} // namespace

// --- names, captions, cells ---------------------------------------------------------------------------

TEST(RmRules, ColumnsPairWithDefinitionsByName)
{
    const RmDescriptions d = {{1, "Kuru Madde", "KM ", "%", 4}, {2, "Ham Protein", "HP", "%", 2},
                              {3, "", "CA", "g/kg", 3}, {4, "İkinci HP", "HP", "mg", 1}};
    // The matrix's columns run HP, KM, CA, P — unlike the definitions.
    EXPECT_EQ(rmNutrientCaption(d, "HP"), QStringLiteral("HP,\r\n%"));
    EXPECT_EQ(rmNutrientDecimals(d, "HP"), 2); // the first HP wins
    EXPECT_EQ(rmNutrientCaption(d, "KM"), QStringLiteral("KM,\r\n%"));
    EXPECT_EQ(rmNutrientCaption(d, "CA"), QStringLiteral("CA,\r\ng/kg"));
    EXPECT_EQ(rmNutrientCaption(d, "P"), QStringLiteral("P,\r\n")); // no definition: no unit
    EXPECT_EQ(rmNutrientDecimals(d, "P"), 4);
    EXPECT_EQ(rmCaptionText(d, "KM"), QStringLiteral("Kuru Madde"));
    EXPECT_EQ(rmCaptionText(d, "CA"), QStringLiteral("BM isimleri yazılmamış..."));
    EXPECT_EQ(rmCaptionText(d, "P"), QStringLiteral("BM isimleri yazılmamış..."));
}

TEST(RmRules, EditedCellTexts)
{
    struct Case { int field; const char *typed; int decimals; const char *stored; };
    const Case cases[] = {
        {5, "12,5", 2, "    12.5000"}, {5, "1,239", 2, "     1.2300"}, {5, "-3", 4, "    -3.0000"},
        {3, "12,5", 0, "     12.500"}, {3, "-1", 0, "     -1.000"}, {2, "  Arpa  ", 0, "Arpa"},
        {4, " TAHIL ", 0, "TAHIL"},       {5, "   ", 2, ""},           {3, "", 0, ""},
    };
    for (const Case &c : cases)
        EXPECT_EQ(rmEditedCell(c.field, QString::fromUtf8(c.typed), c.decimals), QString::fromLatin1(c.stored))
            << c.field << " " << c.typed;
}

// A typed cell keeps its value when what is left is no number, or when the filter took out every
// character typed; names and groups take any text, and an emptied number cell empties.
TEST(RmRules, TypedNumberCellsKeepTheirValueUnlessANumberIsTyped)
{
    struct Case { int field; const char *typed; bool filtered; std::optional<QString> stored; };
    const Case cases[] = {
        {3, "12,5", false, QStringLiteral("     12.500")},
        {3, "", true, std::nullopt},         // "abc" over the price: the filter left nothing
        {3, "", false, QString()},           // emptied on purpose
        {5, "-3", false, QStringLiteral("    -3.0000")},
        {5, "1-2", false, std::nullopt},
        {5, "-", false, std::nullopt},
        {5, "1.2.3", false, std::nullopt},
        {6, "7", true, QStringLiteral("     7.0000")}, // a number left after a refused letter
        {2, "Arpa", false, QStringLiteral("Arpa")},
        {4, "TAHIL", false, QStringLiteral("TAHIL")},
    };
    for (const Case &c : cases)
        EXPECT_EQ(rmTypedCell(c.field, QString::fromLatin1(c.typed), 4, c.filtered), c.stored)
            << c.field << " '" << c.typed << "' " << c.filtered;
}

TEST(RmRules, PasteRules)
{
    const QString name25(25, u'x');
    const QString num11 = n11("1.0000");
    struct Case { std::optional<QString> clip; int clipColumn; int column; int width; bool allowed; };
    const Case cases[] = {
        {name25, 2, 5, 11, false},   // a name does not go into a number column
        {num11, 5, 2, 25, false},    // nor a number into the name column
        {name25, 2, 2, 25, true},
        {num11, 4, 4, 11, true},     // copied from the group column: only into the group column
        {num11, 4, 5, 11, false},
        {num11, 4, 3, 11, false},
        {num11, 5, 4, 11, true},     // a nutrient value goes anywhere 11 wide, the group too
        {num11, 3, 6, 11, true},
        {num11, 0, 5, 11, true},     // copied in another window
        {num11, 5, 1, 5, false},     // never into KOD
        {QString(), 5, 5, 11, false},
        {std::nullopt, 5, 5, 11, false},
    };
    for (const Case &c : cases)
        EXPECT_EQ(rmPasteAllowed(c.clip, c.clipColumn, c.column, c.width), c.allowed)
            << c.clipColumn << "->" << c.column;
}

TEST(RmRules, ClipboardCommandsOnRows)
{
    test::ScriptedMessages messages;
    ReferenceMatrixRows rows(nullptr, table({"KM"}, 2, {{"1.5000"}, {"2.5000"}}), {});
    BARRAYSERVER &s = *rows.server();
    s.GOTO(1);
    EXPECT_FALSE(rows.CUT(1)); // KOD is never cut, cleared or pasted
    EXPECT_FALSE(rows.FDELETE(1));
    EXPECT_EQ(s.valueAt(1, 1).toInt(), 1);
    EXPECT_FALSE(rows.changed);
    rows.CUT(5);
    EXPECT_EQ(openProblem().UPANODEGER, QStringLiteral("1.5000").leftJustified(11)); // stored at width
    EXPECT_EQ(s.textAt(1, 5), QString(11, u' '));
    EXPECT_TRUE(rows.changed);
    s.GOTO(2);
    EXPECT_TRUE(rows.PASTE(4)); // a nutrient value may go into the group column
    EXPECT_EQ(s.textAt(2, 4).trimmed(), QStringLiteral("1.5000"));
    rows.COPY(4);
    EXPECT_EQ(rows.clipboardColumn, 4);
    EXPECT_FALSE(rows.PASTE(5)); // from the group column only into the group column
    EXPECT_TRUE(rows.PASTE(4));
    rows.COPY(2);
    EXPECT_FALSE(rows.PASTE(5));
    openProblem().UPANODEGER.reset();
}

// --- saving ---------------------------------------------------------------------------------------------

TEST(RmRules, SaveWithMoreFewerAndNoRows)
{
    Saved f;
    auto rows = f.open();
    ASSERT_EQ(rows->server()->LASTREC(), 5);
    EXPECT_TRUE(rows->KAYDET()); // nothing changed: nothing written
    EXPECT_FALSE(rows->saved);

    // Two rows more.
    rows->YM_EKLE();
    rows->server()->FIELDPUT(2, QStringLiteral("Çavdar"));
    rows->YM_EKLE();
    rows->server()->FIELDPUT(2, QStringLiteral("Ş Yulaf"));
    rows->changed = true;
    ASSERT_TRUE(rows->KAYDET());
    EXPECT_TRUE(rows->saved);
    EXPECT_FALSE(rows->changed);
    PeerTable t = readByPeer(f.file());
    ASSERT_EQ(t.rows.size(), 7);
    EXPECT_EQ(t.rows[5], (QStringList{"6", "Çavdar", "", "", "", ""}));
    EXPECT_EQ(t.rows[6].value(1), QStringLiteral("Ş Yulaf"));
    EXPECT_EQ(t.rows[0], (QStringList{"1", "YEM 1", "1.5", "", "1.1", "1.2"}));

    // Three rows fewer: the surplus records are deleted and packed away.
    rows->server()->GOTO(2);
    for (int i = 0; i < 4; ++i) {
        f.messages.answer(MessageAnswer::Yes);
        EXPECT_TRUE(rows->YMDELETE());
    }
    ASSERT_TRUE(rows->RMATRIXKAYDI());
    t = readByPeer(f.file());
    EXPECT_EQ(t.deleted, 0);
    ASSERT_EQ(t.rows.size(), 3);
    EXPECT_EQ(t.rows[1], (QStringList{"2", "Çavdar", "", "", "", ""}));

    // No rows at all: a table without records.
    rows->server()->GOTOP();
    while (rows->server()->LASTREC() > 0) {
        f.messages.answer(MessageAnswer::Yes);
        rows->YMDELETE();
    }
    ASSERT_TRUE(rows->RMATRIXKAYDI());
    t = readByPeer(f.file());
    EXPECT_EQ(t.rows.size(), 0);
    EXPECT_EQ(t.deleted, 0);
    EXPECT_EQ(t.fields, (QStringList{"KOD", "YM_ADI", "FIATI", "GRUBU", "KM", "HP"}));

    // And rows into the empty table again.
    rows->YM_EKLE();
    rows->server()->FIELDPUT(2, QStringLiteral("Mısır"));
    rows->changed = true;
    ASSERT_TRUE(rows->KAYDET());
    t = readByPeer(f.file());
    ASSERT_EQ(t.rows.size(), 1);
    EXPECT_EQ(t.rows[0].value(1), QStringLiteral("Mısır"));
    EXPECT_EQ(f.messages.unexpectedQuestions(), 0);
}

TEST(RmRules, SaveThatCannotWriteWritesNothingAndKeepsTheFlag)
{
    Saved f;
    auto rows = f.open();
    rows->server()->GOTO(1);
    rows->server()->FIELDPUT(2, QStringLiteral("DEĞİŞTİ"));
    rows->changed = true;

    // The table was restored with another structure meanwhile.
    ASSERT_TRUE(f.root.writeMatrix({"KM", "HP", "CA"}, 2));
    const QByteArray before = f.root.bytes(kReferenceMatrixFile);
    EXPECT_FALSE(rows->KAYDET());
    EXPECT_TRUE(rows->changed);
    EXPECT_FALSE(rows->saved);
    EXPECT_EQ(f.root.bytes(kReferenceMatrixFile), before);
    ASSERT_FALSE(f.messages.shown().isEmpty());
    EXPECT_TRUE(f.messages.shown().last().text.contains(QStringLiteral("Değişiklikler kaydedilmedi.")));

    // The table is gone: the opener says so, and nothing is created.
    QFile::remove(f.file());
    f.messages.clear();
    EXPECT_FALSE(rows->KAYDET());
    EXPECT_TRUE(rows->changed);
    EXPECT_FALSE(QFile::exists(f.file()));
    EXPECT_GE(f.messages.shown().size(), 2);

    // Someone else holds the table: nothing is written either.
    ASSERT_TRUE(f.root.writeMatrix({"KM", "HP"}, 5));
    const QByteArray held = f.root.bytes(kReferenceMatrixFile);
    {
        DbfTable other(f.file(), false, false);
        ASSERT_TRUE(other.isOpen());
        EXPECT_FALSE(rows->KAYDET());
    }
    EXPECT_TRUE(rows->changed);
    EXPECT_EQ(f.root.bytes(kReferenceMatrixFile), held);
    EXPECT_TRUE(rows->KAYDET()); // and once it is free, the save goes through
    EXPECT_EQ(readByPeer(f.file()).rows[0].value(1), QStringLiteral("DEĞİŞTİ"));
}

TEST(RmRules, KodThatDoesNotFitIsRefusedBeforeWriting)
{
    RefDbRoot root;
    test::ScriptedMessages messages;
    // A matrix rebuilt from the definitions has KOD three wide: 999 rows fit, 1000 do not.
    RmTableData t = table({"KM"}, 999);
    t.structure[0].width = 3;
    {
        ASSERT_TRUE(DbfFileSpec(root.path(kReferenceMatrixFile)).create(t.structure));
    }
    ReferenceMatrixRows rows(nullptr, t, {});
    rows.changed = true;
    ASSERT_TRUE(rows.KAYDET());
    const QByteArray before = root.bytes(kReferenceMatrixFile);
    rows.YM_EKLE(); // row 1000: every name is filled, so one is appended
    ASSERT_EQ(rows.server()->LASTREC(), 1000);
    rows.changed = true;
    EXPECT_FALSE(rows.KAYDET());
    EXPECT_TRUE(rows.changed);
    EXPECT_EQ(root.bytes(kReferenceMatrixFile), before);
    EXPECT_TRUE(messages.shown().last().text.contains(QStringLiteral("KOD")));
}

TEST(RmRules, TwoThousandRowsSaveWithoutLoss)
{
    RefDbRoot root;
    test::ScriptedMessages messages;
    QStringList nutrients;
    for (int c = 1; c <= 52; ++c)
        nutrients.append(QStringLiteral("N%1").arg(c));
    QList<QStringList> cells;
    for (int r = 1; r <= 2000; ++r) {
        QStringList row;
        for (int c = 1; c <= 52; ++c)
            row.append(QStringLiteral("%1.%2").arg(r).arg(c, 4, 10, QChar(u'0')).rightJustified(11));
        cells.append(row);
    }
    RmTableData t = table(nutrients, 2000, cells);
    ASSERT_TRUE(DbfFileSpec(root.path(kReferenceMatrixFile)).create(t.structure));
    ReferenceMatrixRows rows(nullptr, t, {});
    rows.changed = true;
    ASSERT_TRUE(rows.KAYDET());
    auto back = readReferenceMatrix();
    ASSERT_TRUE(back);
    ASSERT_EQ(back->rows.size(), 2000);
    for (int r = 0; r < 2000; ++r) {
        ASSERT_EQ(back->rows[r].value(0).toInt(), r + 1);
        ASSERT_EQ(back->rows[r].value(1).toString().trimmed(), QStringLiteral("YEM %1").arg(r + 1));
        for (int c = 0; c < 52; ++c)
            ASSERT_EQ(back->rows[r].value(4 + c).toString(), cells[r][c]) << r << "," << c;
    }
}

// --- column arithmetic and linking ------------------------------------------------------------------------

TEST(RmRules, ColumnMathCells)
{
    const QString e = QString(11, u' ');
    const QStringList column = {n11("1.5000"), e, n11("0.0000")};
    struct Case { const char *op; const char *type; const char *value; QStringList operand; QStringList expect; };
    const QList<Case> cases = {
        {"*", "N", "2", {}, {n11("3.0000"), e, n11("0.0000")}},
        {"+", "N", "5", {}, {n11("6.5000"), n11("5.0000"), n11("5.0000")}},
        {"-", "N", "5", {}, {n11("-3.5000"), n11("-5.0000"), n11("-5.0000")}},
        {"+", "N", "0", {}, {n11("1.5000"), e, n11("0.0000")}},
        {"-", "N", "0", {}, {n11("1.5000"), e, n11("0.0000")}},
        {"/", "N", "0", {}, {n11("0.0000"), e, n11("0.0000")}},
        {"/", "N", "4", {}, {n11("0.3750"), e, n11("0.0000")}},
        {"K", "N", "7.2500", {}, {n11("7.2500"), n11("7.2500"), n11("7.2500")}},
        // column A plus/minus/times column B
        {"+", "A", "HP", {e, e, e}, {n11("1.5000"), e, n11("0.0000")}},
        {"+", "A", "HP", {n11("2.0000"), n11("3.0000"), e}, {n11("3.5000"), n11("3.0000"), n11("0.0000")}},
        {"-", "A", "HP", {n11("1.5000"), e, e}, {n11("0.0000"), e, n11("0.0000")}},
        {"*", "A", "HP", {n11("2.0000"), n11("3.0000"), e}, {n11("3.0000"), e, e}},
        {"/", "A", "HP", {n11("0.0000"), n11("3.0000"), n11("2")}, {n11("0.0000"), e, n11("0.0000")}},
        {"K", "A", "HP", {n11("9.0000"), e, n11("1.0000")}, {n11("9.0000"), e, n11("1.0000")}},
    };
    for (const Case &c : cases) {
        const auto got = columnMathCells(column, c.operand, {c.op, c.type, c.value});
        ASSERT_TRUE(got) << c.op << c.type << c.value;
        EXPECT_EQ(*got, c.expect) << c.op << c.type << c.value;
    }
    // A row with A 2.0000 and B empty keeps 2.0000.
    EXPECT_EQ(*columnMathCells({n11("2.0000")}, {e}, {"+", "A", "HP"}), QStringList{n11("2.0000")});
    // Results that do not fit eleven characters with four decimals refuse the whole column.
    EXPECT_FALSE(columnMathCells({n11("1.0000"), n11("500000")}, {}, {"*", "N", "2"}));
    EXPECT_FALSE(columnMathCells({e}, {}, {"-", "N", "100000"}));
    EXPECT_TRUE(columnMathCells({e}, {}, {"-", "N", "99999.9999"}));
    EXPECT_EQ(MPRODUCT("/", 3, 0), 0);
    EXPECT_EQ(MPRODUCT("x", 3, 4), 0);
    EXPECT_EQ(*rmNumberCell(-0.00001), n11("0.0000"));
    EXPECT_EQ(*rmNumberCell(1.00005), n11("1.0001"));
}

// A column keeps its own decimals through arithmetic and copies: the price column 3, a nutrient column
// its definition's decimals written with 4.
TEST(RmRules, ColumnMathKeepsTheColumnsDecimals)
{
    const QString e = QString(11, u' ');
    const ColumnDecimals price{3, 3};
    const ColumnDecimals twoPlaces{2, 4};
    struct Case { ColumnDecimals d; QStringList column; const char *op; const char *type; const char *value;
                  QStringList operand; QStringList expect; };
    const QList<Case> cases = {
        {price, {n11("1.500"), e, n11("0.000")}, "/", "N", "4", {}, {n11("0.375"), e, n11("0.000")}},
        {price, {n11("2.000")}, "*", "N", "1.23456", {}, {n11("2.469")}},
        {price, {n11("1.000"), e}, "K", "N", "4.5000", {}, {n11("4.500"), n11("4.500")}},
        {price, {e, e, n11("0.000")}, "K", "A", "KM", {n11("1.2346"), e, n11("2")}, {n11("1.235"), e, n11("2.000")}},
        {price, {n11("0.000")}, "+", "A", "KM", {e}, {n11("0.000")}},
        {twoPlaces, {n11("1.0000"), e}, "/", "N", "3", {}, {n11("0.3300"), e}},
        {twoPlaces, {n11("1.0000")}, "K", "A", "HP", {n11("0.1234")}, {n11("0.1200")}},
    };
    for (const Case &c : cases) {
        const auto got = columnMathCells(c.column, c.operand, {c.op, c.type, c.value}, c.d);
        ASSERT_TRUE(got) << c.op << c.type << c.value;
        EXPECT_EQ(*got, c.expect) << c.op << c.type << c.value;
    }
}

// "/ 0", and an operand that is no number, are refused with the tone and a word before anything is
// asked: no cell changes and the editor does not count as changed.
TEST(RmRules, ColumnMathRefusesWhatCannotBeDoneBeforeAsking)
{
    test::ScriptedMessages messages;
    ReferenceMatrixRows rows(nullptr, table({"KM"}, 3, {{"1.5000"}, {""}, {"0.0000"}}), {});
    const QStringList before = rows.columnTexts(5);
    struct Case { const char *op; const char *value; QString word; };
    const Case cases[] = {
        {"/", "0", numberOperandRefusal("/", "0")},
        {"/", "     0.0000", numberOperandRefusal("/", "0")},
        {"+", "abc", typedNumberRefusal(operandName(), TypedNumberFault::NotANumber)},
        {"K", "", typedNumberRefusal(operandName(), TypedNumberFault::Empty)},
    };
    for (const Case &c : cases) {
        messages.clear();
        ColumnMathRequest request{c.op, "N", c.value};
        EXPECT_FALSE(rows.COLMATHBM(5, [&]() -> std::optional<ColumnMathRequest> { return request; })) << c.op << c.value;
        ASSERT_EQ(messages.shown().size(), 1) << c.op << c.value;
        EXPECT_EQ(messages.shown()[0].text, c.word);
        EXPECT_EQ(messages.shown()[0].buttons(), unsigned(MB_OK)); // told, not asked
        EXPECT_FALSE(messages.toneLog().isEmpty());
        EXPECT_EQ(rows.columnTexts(5), before);
        EXPECT_FALSE(rows.changed);
    }
    EXPECT_EQ(messages.unexpectedQuestions(), 0);
    EXPECT_EQ(numberOperandRefusal("/", "0"), QStringLiteral("Sıfıra bölünemez: kolondaki değerler değiştirilmedi..."));
}

TEST(RmRules, ColumnMathCommand)
{
    test::ScriptedMessages messages;
    ReferenceMatrixRows rows(nullptr, table({"KM", "HP"}, 3, {{"1.5000"}, {""}, {"0.0000", "2.0000"}}), {});
    int asked = 0;
    ColumnMathRequest request{"*", "N", "2"};
    auto ask = [&]() -> std::optional<ColumnMathRequest> { ++asked; return request; };

    for (int refused : {1, 2, 4}) {
        messages.clear();
        EXPECT_FALSE(rows.COLMATHBM(refused, ask));
        ASSERT_EQ(messages.shown().size(), 1);
        EXPECT_EQ(messages.shown()[0].text, QStringLiteral("Aritmetik için önce sayısal bir kolon seçiniz!"));
        EXPECT_EQ(messages.shown()[0].caption, QStringLiteral("Uyarı..."));
    }
    EXPECT_EQ(asked, 0);

    messages.clear();
    messages.answer(MessageAnswer::No);
    EXPECT_FALSE(rows.COLMATHBM(5, ask));
    EXPECT_EQ(messages.shown()[0].text, QStringLiteral("Seçili kolona (KM=KM*2) işlemi uygulanacak\n\n"
                                                       "Yaptığınız işlemden emin misiniz?"));
    EXPECT_FALSE(rows.changed);
    EXPECT_EQ(rows.server()->textAt(1, 5).trimmed(), QStringLiteral("1.5000"));

    messages.answer(MessageAnswer::Yes);
    EXPECT_TRUE(rows.COLMATHBM(5, ask));
    EXPECT_EQ(trimmed(rows.columnTexts(5)), (QStringList{"3.0000", "", "0.0000"}));
    EXPECT_TRUE(rows.changed);
    EXPECT_EQ(rows.server()->RECNO(), 1);

    // The price column takes arithmetic too, named by its caption and kept at three decimals; copying
    // a number fills every row.
    messages.clear();
    request = {"K", "N", "4.5000"};
    messages.answer(MessageAnswer::Yes);
    EXPECT_TRUE(rows.COLMATHBM(3, ask));
    EXPECT_EQ(messages.shown()[0].text, QStringLiteral("Seçili kolona (Fiyatı) 4.5000 değeri kopyalanacak...\n\n"
                                                       "Yaptığınız işlemden emin misiniz?"));
    EXPECT_EQ(rows.columnTexts(3), (QStringList{n11("4.500"), n11("4.500"), n11("4.500")}));
    messages.clear();
    request = {"/", "N", "4.0000"};
    messages.answer(MessageAnswer::Yes);
    EXPECT_TRUE(rows.COLMATHBM(3, ask));
    EXPECT_EQ(messages.shown()[0].text, QStringLiteral("Seçili kolona (Fiyatı=Fiyatı/4.0000) işlemi uygulanacak\n\n"
                                                       "Yaptığınız işlemden emin misiniz?"));
    EXPECT_EQ(rows.columnTexts(3), (QStringList{n11("1.125"), n11("1.125"), n11("1.125")}));

    // The same column as operand.
    messages.clear();
    request = {"+", "A", " KM "};
    rows.changed = false;
    EXPECT_FALSE(rows.COLMATHBM(5, ask));
    ASSERT_EQ(messages.shown().size(), 1);
    EXPECT_EQ(messages.shown()[0].text, QStringLiteral("Farklı bir besin maddesi seçilmedi..."));
    EXPECT_FALSE(rows.changed);

    messages.clear();
    request = {"+", "A", "HP"};
    messages.answer(MessageAnswer::Yes);
    EXPECT_TRUE(rows.COLMATHBM(5, ask));
    EXPECT_EQ(messages.shown()[0].text, QStringLiteral("Seçili referans matrise (KM=KM+HP) işlemi uygulanacak\n\n"
                                                       "Yaptığınız işlemden emin misiniz?"));
    EXPECT_EQ(trimmed(rows.columnTexts(5)), (QStringList{"3.0000", "", "2.0000"}));

    messages.clear();
    request = {"K", "A", "KM"};
    messages.answer(MessageAnswer::Yes);
    EXPECT_TRUE(rows.COLMATHBM(6, ask));
    EXPECT_EQ(messages.shown()[0].text, QStringLiteral("Seçili kolona (HP), KM alan değerleri kopyalanacak...\n\n"
                                                       "Yaptığınız işlemden emin misiniz?"));
    EXPECT_EQ(rows.columnTexts(6), rows.columnTexts(5));

    // A result too wide for the cell changes nothing.
    messages.clear();
    rows.changed = false;
    const QStringList before = rows.columnTexts(5);
    request = {"*", "N", "1000000"};
    messages.answer(MessageAnswer::Yes);
    EXPECT_FALSE(rows.COLMATHBM(5, ask));
    EXPECT_EQ(rows.columnTexts(5), before);
    EXPECT_FALSE(rows.changed);
    EXPECT_EQ(messages.shown().size(), 2);

    // A cancelled dialog ends silently.
    messages.clear();
    request = {"", "U", ""};
    EXPECT_FALSE(rows.COLMATHBM(5, ask));
    EXPECT_TRUE(messages.shown().isEmpty());
}

TEST(RmRules, LinkingAlongTheCurrentRow)
{
    test::ScriptedMessages messages;
    ScriptedMatrixDialogs dialogs;
    ReferenceMatrixRows rows(nullptr,
                             table({"HP", "KM", "CA", "P"}, 2,
                                   {{n11("20.0000"), n11("4.0000"), "", n11("8.0000")},
                                    {n11("0.0000"), n11("4.0000"), "", n11("8.0000")}}),
                             {});
    rows.server()->GOTO(1);
    dialogs.chosen = 1; // HP
    dialogs.answer = QStringLiteral("25");
    dialogs.ticked = {1, 2}; // KM, CA of the list without HP
    messages.answer(MessageAnswer::Yes);
    ASSERT_TRUE(rows.BMBAGLA(dialogs));
    EXPECT_EQ(dialogs.offered[0], (QStringList{"HP", "KM", "CA", "P"})); // never the price or group
    EXPECT_EQ(dialogs.offered[1], (QStringList{"KM", "CA", "P"}));
    EXPECT_EQ(dialogs.prompts[0], QStringLiteral("YEM 1->HP Değerini Giriniz:"));
    EXPECT_EQ(dialogs.captions, (QStringList{"Makro BM Seçimi", "Bağlı BM'lerin Seçimi"}));
    EXPECT_EQ(messages.shown()[0].text, QStringLiteral("Referans Matrisi bir satır boyunca değiştirmek üzeresiniz..."
                                                       "\n\nYaptığınız işlemden emin misiniz?"));
    EXPECT_EQ(rows.rowTexts(1).mid(4), (QStringList{QStringLiteral("25").leftJustified(11), n11("5.0000"),
                                                    QString(11, u' '), n11("8.0000")}));
    EXPECT_EQ(rows.rowTexts(2).mid(4, 2), (QStringList{n11("0.0000"), n11("4.0000")})); // other rows keep theirs
    EXPECT_TRUE(rows.changed);

    // Old value 0.0000: every non-empty linked value becomes 0.0000.
    rows.server()->GOTO(2);
    messages.answer(MessageAnswer::Yes);
    ASSERT_TRUE(rows.BMBAGLA(dialogs));
    EXPECT_EQ(rows.rowTexts(2).mid(5, 2), (QStringList{n11("0.0000"), QString(11, u' ')}));

    // An empty macro value is refused with its warning; unchanged or cancelled values end silently.
    rows.changed = false;
    dialogs.chosen = 3; // CA, empty
    messages.clear();
    EXPECT_FALSE(rows.BMBAGLA(dialogs));
    EXPECT_EQ(messages.shown()[0].text, QStringLiteral("Seçilen makro besin maddesi boş!"));
    dialogs.chosen = 4;
    dialogs.answer = QString();
    messages.clear();
    EXPECT_FALSE(rows.BMBAGLA(dialogs)); // cancel hands the present value back
    EXPECT_TRUE(messages.shown().isEmpty());
    // A result too wide refuses the whole linking before any cell changes.
    dialogs.answer = QStringLiteral("99999999");
    dialogs.ticked = {1};
    const QStringList before = rows.rowTexts(2);
    messages.answer(MessageAnswer::Yes);
    rows.server()->GOTO(1);
    const QStringList before1 = rows.rowTexts(1);
    EXPECT_FALSE(rows.BMBAGLA(dialogs));
    EXPECT_EQ(rows.rowTexts(1), before1);
    EXPECT_FALSE(rows.changed);
}

// --- row commands ---------------------------------------------------------------------------------------

TEST(RmRules, AddGoesToAnEmptyNameOrAppends)
{
    test::ScriptedMessages messages;
    ReferenceMatrixRows empty(nullptr, table({"KM"}, 0), {});
    EXPECT_TRUE(empty.YM_EKLE());
    EXPECT_EQ(shape(empty), QStringList{"1:"});
    EXPECT_FALSE(empty.YM_EKLE()); // the second add finds the empty name
    EXPECT_EQ(empty.server()->LASTREC(), 1);
    EXPECT_FALSE(empty.changed);

    ReferenceMatrixRows rows(nullptr, table({"KM"}, 10), {});
    rows.server()->GOTO(3);
    EXPECT_TRUE(rows.YM_EKLE());
    EXPECT_EQ(rows.server()->LASTREC(), 11);
    EXPECT_EQ(rows.server()->RECNO(), 11);
    EXPECT_EQ(shape(rows).last(), QStringLiteral("11:"));
    rows.server()->GOTO(1);
    EXPECT_FALSE(rows.YM_EKLE());
    EXPECT_EQ(rows.server()->RECNO(), 11);
    EXPECT_EQ(rows.server()->LASTREC(), 11);

    ReferenceMatrixRows refused(nullptr, table({"KM"}, 3), {});
    int attempts = 0;
    refused.server()->setAppendGate([&] { ++attempts; return false; });
    EXPECT_FALSE(refused.YM_EKLE());
    EXPECT_EQ(attempts, 3);
    EXPECT_EQ(shape(refused), (QStringList{"1:YEM 1", "2:YEM 2", "3:YEM 3"}));
}

TEST(RmRules, InsertKeepsEveryRow)
{
    test::ScriptedMessages messages;
    ReferenceMatrixRows rows(nullptr, table({"KM"}, 3, {{"1"}, {"2"}, {"3"}}), {});
    rows.server()->GOTO(1);
    ASSERT_TRUE(rows.INSBLNKYM());
    EXPECT_EQ(shape(rows), (QStringList{"1:", "2:YEM 1", "3:YEM 2", "4:YEM 3"}));
    EXPECT_EQ(trimmed(rows.columnTexts(5)), (QStringList{"", "1", "2", "3"}));
    EXPECT_EQ(rows.server()->RECNO(), 1);
    EXPECT_FALSE(rows.changed);

    // A refused append loses nothing (the rows below the insertion point stay).
    rows.server()->GOTO(3);
    rows.server()->setAppendGate([] { return false; });
    EXPECT_FALSE(rows.INSBLNKYM());
    EXPECT_EQ(shape(rows), (QStringList{"1:", "2:YEM 1", "3:YEM 2", "4:YEM 3"}));
    EXPECT_EQ(rows.server()->RECNO(), 3);
}

TEST(RmRules, DeleteLastAndMiddle)
{
    test::ScriptedMessages messages;
    ReferenceMatrixRows rows(nullptr, table({"KM"}, 10), {});
    rows.server()->GOTO(10);
    messages.answer(MessageAnswer::No);
    EXPECT_FALSE(rows.YMDELETE());
    EXPECT_EQ(rows.server()->LASTREC(), 10);
    EXPECT_EQ(messages.shown()[0].text, QStringLiteral("Seçili yem maddesi siliniyor!"));
    EXPECT_EQ(messages.shown()[0].style, unsigned(MB_YESNO | MB_ICONQUESTION));
    EXPECT_FALSE(rows.changed);

    messages.answer(MessageAnswer::Yes);
    EXPECT_TRUE(rows.YMDELETE());
    EXPECT_EQ(rows.server()->LASTREC(), 9);
    EXPECT_EQ(rows.server()->RECNO(), 9);
    EXPECT_TRUE(rows.changed);

    rows.server()->GOTO(4);
    messages.answer(MessageAnswer::Yes);
    EXPECT_TRUE(rows.YMDELETE());
    EXPECT_EQ(shape(rows), (QStringList{"1:YEM 1", "2:YEM 2", "3:YEM 3", "4:YEM 5", "5:YEM 6", "6:YEM 7",
                                        "7:YEM 8", "8:YEM 9"}));
    EXPECT_EQ(rows.server()->RECNO(), 4);
}

TEST(RmRules, MoveRows)
{
    test::ScriptedMessages messages;
    auto names = [](const ReferenceMatrixRows &r) {
        QStringList out;
        for (const QString &s : shape(r))
            out.append(s.section(u' ', 1));
        return out.join(u',');
    };
    auto kodsAreRecordNumbers = [](const ReferenceMatrixRows &r) {
        for (int i = 1; i <= r.server()->LASTREC(); ++i)
            if (r.server()->valueAt(i, 1).toInt() != i)
                return false;
        return true;
    };
    {
        ReferenceMatrixRows rows(nullptr, table({"KM"}, 10), {});
        rows.server()->GOTO(5);
        rows.YMSEC();
        EXPECT_TRUE(rows.moveEnabled());
        rows.server()->GOTO(2);
        EXPECT_TRUE(rows.YMKAYDIR());
        EXPECT_EQ(names(rows), QStringLiteral("1,5,2,3,4,6,7,8,9,10"));
        EXPECT_TRUE(kodsAreRecordNumbers(rows));
        EXPECT_EQ(rows.server()->RECNO(), 2);
        EXPECT_FALSE(rows.moveEnabled());
        EXPECT_TRUE(rows.changed);
        EXPECT_EQ(rows.moveRow, 5);
    }
    {
        ReferenceMatrixRows rows(nullptr, table({"KM"}, 10, {{}, {"2.0000"}}), {});
        rows.server()->GOTO(2);
        rows.YMSEC();
        rows.server()->GOTO(5);
        EXPECT_TRUE(rows.YMKAYDIR());
        EXPECT_EQ(names(rows), QStringLiteral("1,3,4,2,5,6,7,8,9,10"));
        EXPECT_EQ(rows.server()->RECNO(), 4);
        EXPECT_EQ(rows.server()->textAt(4, 5).trimmed(), QStringLiteral("2.0000")); // every field moves along
        EXPECT_TRUE(kodsAreRecordNumbers(rows));
    }
    {
        ReferenceMatrixRows rows(nullptr, table({"KM"}, 10), {});
        rows.server()->GOTO(3);
        rows.YMSEC();
        EXPECT_FALSE(rows.YMKAYDIR()); // onto itself
        EXPECT_EQ(names(rows), QStringLiteral("1,2,3,4,5,6,7,8,9,10"));
        EXPECT_TRUE(kodsAreRecordNumbers(rows));
        EXPECT_FALSE(rows.moveEnabled());
        EXPECT_FALSE(rows.changed);
    }
    {
        // A move whose blank row cannot be appended changes nothing.
        ReferenceMatrixRows rows(nullptr, table({"KM"}, 10), {});
        rows.server()->GOTO(7);
        rows.YMSEC();
        rows.server()->GOTO(1);
        rows.server()->setAppendGate([] { return false; });
        EXPECT_FALSE(rows.YMKAYDIR());
        EXPECT_EQ(names(rows), QStringLiteral("1,2,3,4,5,6,7,8,9,10"));
    }
}

TEST(RmRules, SearchWithTurkishLetters)
{
    test::ScriptedMessages messages;
    RmTableData t = table({"KM"}, 6);
    const char *names[] = {"ARPA", "İNCE KEPEK", "IRMIK", "", "ince", "MISIR"};
    for (int i = 0; i < 6; ++i)
        t.rows[i][1] = QString::fromUtf8(names[i]);
    ReferenceMatrixRows rows(nullptr, t, {});
    struct Case { const char *typed; int found; };
    const Case cases[] = {
        {"i", 2}, {"in", 2}, {"İnce k", 2}, {"ı", 3}, {"I", 3}, {"ır", 3}, {"ince", 2}, {"mısır", 6},
        {"misir", 0}, {"ARPAXXXXX", 0}, {"arp", 1},
    };
    for (const Case &c : cases) {
        messages.clear();
        rows.server()->GOTO(4);
        const bool found = rows.PBARA(QString::fromUtf8(c.typed));
        EXPECT_EQ(found, c.found > 0) << c.typed;
        EXPECT_EQ(rows.server()->RECNO(), c.found ? c.found : 4) << c.typed;
        if (!c.found) {
            ASSERT_EQ(messages.shown().size(), 1);
            EXPECT_EQ(messages.shown()[0].caption, QStringLiteral("Duyuru..."));
            EXPECT_EQ(messages.shown()[0].text, QStringLiteral("Yem maddesi bulunamadı..."));
        }
    }
    messages.clear();
    EXPECT_FALSE(rows.PBARA(QStringLiteral("   ")));
    EXPECT_TRUE(messages.shown().isEmpty());
}

// --- form hand-back ---------------------------------------------------------------------------------------

TEST(RmRules, FormHandBackFollowsFieldNames)
{
    test::ScriptedMessages messages;
    // The matrix's nutrient columns run CA, KM, HP; the definitions KM, HP, CA.
    ReferenceMatrixRows rows(nullptr, table({"CA", "KM", "HP"}, 2, {{"1", "2", "3"}, {"4", "5", "6"}}),
                             {{1, "Kuru Madde", "KM", "%", 4}, {2, "Ham Protein", "HP", "%", 2},
                              {3, "Kalsiyum", "CA", "%", 3}});
    rows.server()->GOTO(2);
    const RmFormInput in = rows.formInput();
    EXPECT_EQ(in.fieldNames, (QStringList{"KOD", "YM_ADI", "FIATI", "GRUBU", "CA", "KM", "HP"}));
    EXPECT_EQ(in.record.value(0), QStringLiteral("2"));
    RmFormHandBack back;
    back.CYYADI = QStringLiteral("Buğday");
    back.CYYFIATI = QStringLiteral("     12.500");
    back.CYYGRUBU = QStringLiteral("TAHIL");
    back.AYYDEGERLER = {{1, "Kuru Madde", "KM", "%", n11("88.0000")},
                        {2, "Ham Protein", "HP", "%", n11("11.0000")},
                        {3, "Kalsiyum", "CA", "%", n11("0.0500")}};
    ASSERT_TRUE(rows.applyForm(back));
    EXPECT_EQ(trimmed(rows.rowTexts(2)),
              (QStringList{"2", "Buğday", "12.500", "TAHIL", "0.0500", "88.0000", "11.0000"}));
    EXPECT_EQ(trimmed(rows.rowTexts(1)), (QStringList{"1", "YEM 1", "", "", "1", "2", "3"}));
    EXPECT_TRUE(rows.changed);
    rows.changed = false;
    EXPECT_FALSE(rows.applyForm({})); // nothing handed back
    EXPECT_FALSE(rows.changed);
}

TEST(RmRules, LoadReadsDefinitionsWithAbbreviationsOnly)
{
    RefDbRoot root;
    test::ScriptedMessages messages;
    ASSERT_TRUE(root.writeDefinitions({{"Kuru Madde", "KM", "%", 4}, {"Boş", "", "", 2}, {"Ham Protein", "HP", "%", 2}}));
    ASSERT_TRUE(root.writeMatrix({"HP", "KM"}, 3));
    const auto d = GETBMDATA();
    ASSERT_TRUE(d);
    ASSERT_EQ(d->size(), 2);
    EXPECT_EQ((*d)[1].NAME.trimmed(), QStringLiteral("Ham Protein"));
    EXPECT_EQ((*d)[1].NUM, 3);
    EXPECT_EQ((*d)[1].DECIM, 2);
    const auto t = readReferenceMatrix();
    ASSERT_TRUE(t);
    EXPECT_EQ(t->rows.size(), 3);
    EXPECT_EQ(t->structure.size(), 6);
    EXPECT_FALSE(referenceTables().ORMDBF); // closed again
    QFile::remove(root.path(kNutrientDefinitionFile));
    EXPECT_FALSE(GETBMDATA());
    EXPECT_EQ(messages.shown().size(), 1);
}

TEST(RmRules, SaveOverATableWithDeletedRecordsLosesNoRow)
{
    Saved f;
    {
        DbfTable t(f.file(), false, false);
        ASSERT_TRUE(t.goTo(3));
        ASSERT_TRUE(t.deleteRecord());
        ASSERT_TRUE(t.commit());
    }
    const bool hidden = DbfTable::setDeleted(true);
    auto rows = f.open();
    ASSERT_EQ(rows->server()->LASTREC(), 4); // the deleted record is not shown
    rows->changed = true;
    ASSERT_TRUE(rows->KAYDET());
    DbfTable::setDeleted(hidden);
    const PeerTable t = readByPeer(f.file());
    EXPECT_EQ(t.deleted, 0);
    ASSERT_EQ(t.rows.size(), 4);
    QStringList names;
    for (const QStringList &r : t.rows)
        names.append(r.value(1));
    EXPECT_EQ(names, (QStringList{"YEM 1", "YEM 2", "YEM 4", "YEM 5"}));
}

TEST(RmRules, ContextMenuTable)
{
    const MenuTable t = dwContMenu();
    QStringList shape;
    for (const MenuRow &r : t.rows)
        shape.append(r.kind == MenuRowKind::Separator ? QStringLiteral("-")
                                                      : QStringLiteral("%1 %2 %3").arg(r.id).arg(r.text, r.command));
    EXPECT_EQ(shape, (QStringList{"30892 &Yazım EDIT", "30893 &Kes... CUT", "30894 Ko&pya COPY",
                                  "30895 &Yapıştır PASTE", "-", "30897 Yem Mad. &Formda Yaz RMINDEDIT", "-",
                                  "30899 Yem Mad. &Ekle YM_EKLE", "30900 Araya Yem Mad. &Gir INSBLNKYM",
                                  "30901 Yem Mad. &Sil... YMDELETE", "-", "30903 Seç... YMSEC",
                                  "30904 Kaydır YMKAYDIR", "-", "30906 Kolon &Aritmetiği COLMATHBM",
                                  "30907 Besin Maddesi &Bağla BMBAGLA"}));
    EXPECT_EQ(t.row(30904)->state, MenuState::Disabled);
    EXPECT_EQ(t.row(30899)->status, QStringLiteral("Yeni yem maddesi ekle "));
    EXPECT_EQ(t.row(30892)->status, QStringLiteral("Yem maddelerinin besin maddesi muhtevaları yazımı"));
    EXPECT_TRUE(t.keys.empty());
}
