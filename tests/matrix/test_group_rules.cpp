#include "matrix/group_rules.h"

#include "controls/grid_rules.h"

#include <gtest/gtest.h>

using namespace vexo;

namespace {

QString num(const char *text)
{
    return QString::fromUtf8(text).rightJustified(11, u' ');
}

const QString B = QString(11, u' ');

Row groupRow(const char *name, const char *fix, const char *lo, const char *hi)
{
    Row row = blankGroupRow();
    row[YMGNAME] = QString::fromUtf8(name).leftJustified(25, u' ');
    row[YMGFIX] = *fix ? num(fix) : B;
    row[YMGLLIMIT] = *lo ? num(lo) : B;
    row[YMGULIMIT] = *hi ? num(hi) : B;
    return row;
}

// An open problem of four ingredients without groups.
void fourIngredients(OpenProblem &p)
{
    p.reset();
    for (const char *name : {"MISIR", "ARPA", "SOYA", "KEPEK"}) {
        Row row(YM_COLUMNS, B);
        row[YMNAME] = QString::fromLatin1(name).leftJustified(25);
        p.AYMLIST << row;
        p.AYMADLARI << QString::fromLatin1(name);
        p.AYMSTOK << true;
    }
}

} // namespace

struct EditCase
{
    const char *what;
    const char *fix, *lo, *hi; // the row before
    int column;
    const char *typed;
    const char *fixAfter, *loAfter, *hiAfter;
    bool box;
    QString status = {}; // a refusal's status-bar text; the row then stays as it was
};

TEST(GroupCellEdit, LimitAndFixedShareRules)
{
    const EditCase cases[] = {
        {"lower equal to upper blanks the upper", "", "", "40.000", 3, "40", "", "40.000", "", false},
        {"lower above upper is refused, the old lower kept", "", "10.000", "40.000", 3, "45", "", "10.000", "40.000", false,
         lowerAboveUpperText(QStringLiteral("45.000"), QStringLiteral("40.000"))},
        {"lower below upper is kept", "", "", "40.000", 3, "12,5", "", "12.500", "40.000", false},
        {"upper equal to lower blanks the lower", "", "10.000", "", 4, "10", "", "", "10.000", false},
        {"upper below lower is refused, the old upper kept", "", "10.000", "30.000", 4, "5", "", "10.000", "30.000", false,
         upperBelowLowerText(QStringLiteral("5.000"), QStringLiteral("10.000"))},
        {"a negative share is refused", "", "10.000", "", 3, "-5", "", "10.000", "", false,
         noNegativeText(QStringLiteral("Alt sınır"))},
        {"a negative fixed share is refused", "20.000", "", "", 2, "-20", "20.000", "", "", false,
         noNegativeText(QStringLiteral("Sabit pay"))},
        {"letters keep the old share", "", "", "40.000", 4, "4O", "", "", "40.000", false, notANumberText()},
        {"limit beside a fixed share is refused", "20.000", "", "", 3, "5", "20.000", "", "", true},
        {"upper beside a fixed share is refused", "20.000", "", "", 4, "5", "20.000", "", "", true},
        {"a fixed share clears both limits", "", "5.000", "30.000", 2, "12", "12.000", "", "", false},
        {"a fixed share clears a lone limit", "", "5.000", "", 2, "12", "12.000", "", "", false},
        {"an emptied limit stays empty", "", "5.000", "", 3, "", "", "", "", false},
    };
    for (const EditCase &c : cases) {
        SCOPED_TRACE(c.what);
        const GroupCellOutcome out = groupCellEdit(groupRow("G1", c.fix, c.lo, c.hi), c.column, QString::fromUtf8(c.typed));
        const QString fixAfter = *c.fixAfter ? num(c.fixAfter) : B;
        const QString loAfter = *c.loAfter ? num(c.loAfter) : B;
        const QString hiAfter = *c.hiAfter ? num(c.hiAfter) : B;
        EXPECT_EQ(out.row[YMGFIX].trimmed(), fixAfter.trimmed());
        EXPECT_EQ(out.row[YMGLLIMIT].trimmed(), loAfter.trimmed());
        EXPECT_EQ(out.row[YMGULIMIT].trimmed(), hiAfter.trimmed());
        EXPECT_EQ(out.notice.has_value(), c.box);
        if (c.box) {
            EXPECT_EQ(out.notice->text, kFixedFirstText);
        }
        EXPECT_EQ(out.status, c.status);
        EXPECT_EQ(out.changed, c.status.isEmpty());
        EXPECT_EQ(out.tone, c.box || !c.status.isEmpty());
    }
}

TEST(GroupCellEdit, WhatTheFilterEmptiedKeepsTheOldShare)
{
    // Letters typed alone: the filter takes them all out, which is no emptying by the user.
    const Row row = groupRow("G1", "", "5.000", "");
    const GroupCellOutcome kept = groupCellEdit(row, 3, QString(), true);
    EXPECT_FALSE(kept.changed);
    EXPECT_EQ(kept.row, row);
    EXPECT_EQ(kept.status, notANumberText());
    EXPECT_TRUE(kept.tone);
    const GroupCellOutcome emptied = groupCellEdit(row, 3, QString(), false);
    EXPECT_TRUE(emptied.changed);
    EXPECT_EQ(emptied.row[YMGLLIMIT].trimmed(), QString());
}

TEST(GroupCellEdit, NumbersAreStoredAtCellWidthAndNamesAsTyped)
{
    EXPECT_EQ(groupCellEdit(groupRow("G1", "", "", ""), 3, QStringLiteral("12,5")).row[YMGLLIMIT],
              QStringLiteral("     12.500"));
    EXPECT_EQ(groupCellEdit(groupRow("G1", "", "", ""), 1, QStringLiteral(" Tahıl & Yağ ")).row[YMGNAME],
              QStringLiteral("Tahıl & Yağ"));
    EXPECT_EQ(filterGroupTyping(3, QStringLiteral("1a2,b5")), QStringLiteral("12,5"));
    EXPECT_EQ(filterGroupTyping(3, QStringLiteral("-5")), QStringLiteral("-5")) << "refused at the end, in words";
    EXPECT_EQ(filterGroupTyping(1, QStringLiteral("1a2,b5")), QStringLiteral("1a2,b5"));
    EXPECT_FALSE(groupCellEdit(groupRow("G1", "", "", ""), 1, QStringLiteral("X")).statusReset);
    EXPECT_TRUE(groupCellEdit(groupRow("G1", "", "", ""), 2, QStringLiteral("1")).statusReset);
}

struct PasteCase
{
    const char *what;
    const char *fix, *lo, *hi;
    int column;
    const char *clip;
    const char *cellAfter; // nullptr: unchanged
    const char *box;       // text of the box, nullptr none
    const char *clipAfter;
};

TEST(GroupClipboard, PasteRules)
{
    const PasteCase cases[] = {
        {"lower equal to upper is a mismatch", "", "", "40.000", 3, "     40.000", nullptr, "Uyumsuz veri girişi...", "     40.000"},
        {"lower above upper is a mismatch", "", "", "40.000", 3, "50", nullptr, "Uyumsuz veri girişi...", "50"},
        {"upper equal to lower is a mismatch", "", "10.000", "", 4, "10", nullptr, "Uyumsuz veri girişi...", "10"},
        {"a limit below the upper goes in", "", "", "40.000", 3, "     30.000", "30.000", nullptr, "     30.000"},
        {"a name is no number", "", "", "", 2, "MISIR", nullptr, "Uyumsuz veri girişi...", "MISIR"},
        {"a text wider than a cell is no number", "", "", "", 2, "  12345678.123", nullptr, "Uyumsuz veri girişi...", "  12345678.123"},
        {"a limit beside a fixed share empties the clipboard", "20.000", "", "", 3, "5", "", "Alt/Üst sınır girişi için önce sabit girişi siliniz!", "           "},
        {"a fixed share clears the limits", "", "5.000", "30.000", 2, "12", "12.000", nullptr, "12"},
        {"a comma number is normalised", "", "", "", 4, "7,5", "7.500", nullptr, "7,5"},
    };
    for (const PasteCase &c : cases) {
        SCOPED_TRACE(c.what);
        const Row before = groupRow("G1", c.fix, c.lo, c.hi);
        const GroupCellOutcome out = groupPaste(before, c.column, QString::fromUtf8(c.clip));
        if (c.cellAfter) {
            EXPECT_EQ(out.row[c.column - 1].trimmed(), QString::fromUtf8(c.cellAfter));
        } else {
            EXPECT_EQ(out.row, before);
        }
        EXPECT_EQ(out.changed, c.cellAfter != nullptr);
        EXPECT_EQ(out.notice ? out.notice->text : QString(), c.box ? QString::fromUtf8(c.box) : QString());
        EXPECT_EQ(out.clipboard, QString::fromUtf8(c.clipAfter));
    }
    const Row fixedShare = groupPaste(groupRow("G1", "", "5.000", "30.000"), 2, QStringLiteral("12")).row;
    EXPECT_EQ(fixedShare[YMGLLIMIT], B);
    EXPECT_EQ(fixedShare[YMGULIMIT], B);
}

TEST(GroupClipboard, CopyCutAndClearStayInTheEditableColumns)
{
    Row row = groupRow("Tahıl", "", "5.000", "");
    row[YMGACOZUM] = num("12.345");
    const std::optional<QString> clip = QStringLiteral("old");
    EXPECT_EQ(groupCopy(row, 5, clip).clipboard, clip);
    EXPECT_FALSE(groupCut(row, 5, clip).changed);
    EXPECT_EQ(groupPaste(row, 1, clip).row, row);
    const GroupCellOutcome cut = groupCut(row, 1, clip);
    EXPECT_EQ(cut.clipboard, row[YMGNAME]);
    EXPECT_TRUE(cut.row[YMGNAME].trimmed().isEmpty());
    EXPECT_TRUE(cut.changed && cut.statusReset);
    const GroupCellOutcome cleared = groupClear(row, 3, clip);
    EXPECT_EQ(cleared.row[YMGLLIMIT], B);
    EXPECT_EQ(cleared.clipboard, clip);
    EXPECT_EQ(groupCopy(row, 3, std::nullopt).clipboard, num("5.000"));
    EXPECT_FALSE(groupPaste(row, 3, std::nullopt).changed);
}

TEST(GroupMembership, AddDefineAndDelete)
{
    OpenProblem p;
    fourIngredients(p);
    // The first group in an empty window.
    RowList grid;
    EXPECT_EQ(rowForNewGroup(grid), 1);
    grid << groupRow("G1", "", "", "");
    placeGroupName(p, 1, QStringLiteral("G1"));
    YGKAYDET(p, 1, {1, 2});
    EXPECT_EQ(p.AGMAT, RowList({{"1.0", "1.0", "0.0", "0.0"}}));
    // G2 with ingredients 1 and 3 of four.
    EXPECT_EQ(rowForNewGroup(grid), 2);
    grid << groupRow("G2", "", "", "");
    placeGroupName(p, 2, QStringLiteral("G2"));
    YGKAYDET(p, 2, {1, 3});
    EXPECT_EQ(p.AGMAT.at(1), Row({"1.0", "0.0", "1.0", "0.0"}));
    EXPECT_EQ(p.AYMGADLARI, QStringList({"G1", "G2"}));
    EXPECT_TRUE(p.LYMGDEG);
    // Re-defining group 1 keeps its name.
    YGKAYDET(p, 1, {2, 4});
    EXPECT_EQ(p.AGMAT.at(0), Row({"0.0", "1.0", "0.0", "1.0"}));
    commitGroupRows(p, grid);
    EXPECT_TRUE(p.checkInvariants().isEmpty()) << p.checkInvariants().join(u'\n').toStdString();

    // A short membership row is never written past its end.
    p.AGMAT[0] = Row({"0.0", "0.0"});
    YGKAYDET(p, 1, {1, 4});
    EXPECT_EQ(p.AGMAT.at(0), Row({"1.0", "0.0"}));

    // A row whose name was emptied is reused, and the new name takes its place.
    grid[0][YMGNAME] = QString(25, u' ');
    EXPECT_EQ(rowForNewGroup(grid), 1);
    placeGroupName(p, 1, QStringLiteral("G3"));
    YGKAYDET(p, 1, {3, 4});
    grid[0][YMGNAME] = QStringLiteral("G3").leftJustified(25);
    EXPECT_EQ(p.AYMGADLARI, QStringList({"G3", "G2"}));
    EXPECT_EQ(p.AGMAT.at(0), Row({"0.0", "0.0"}));

    // Deleting the last, then the only group.
    YGMATSIL(p, 2);
    YGNAMSIL(p, 2);
    EXPECT_EQ(p.AYMGADLARI, QStringList({"G3"}));
    EXPECT_EQ(p.AGMAT.size(), 1);
    YGMATSIL(p, 5); // past the end: nothing
    YGNAMSIL(p, 5);
    EXPECT_EQ(p.AGMAT.size(), 1);
    YGMATSIL(p, 1);
    YGNAMSIL(p, 1);
    EXPECT_TRUE(p.AGMAT.isEmpty() && p.AYMGADLARI.isEmpty());
}

TEST(GroupCommit, MatduzenleCutsToTheShorter)
{
    struct Case
    {
        int names, memberships, gridRows;
        int namesAfter, membershipsAfter, listAfter;
        bool cut;
    };
    const Case cases[] = {
        {4, 4, 5, 4, 4, 5, false},
        {5, 4, 5, 4, 4, 4, true},
        {3, 4, 4, 3, 3, 3, true},
        {2, 2, 2, 2, 2, 2, false},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.names * 100 + c.memberships * 10 + c.gridRows);
        OpenProblem p;
        fourIngredients(p);
        RowList grid;
        for (int i = 0; i < c.gridRows; ++i)
            grid << groupRow(QStringLiteral("G%1").arg(i + 1).toUtf8().constData(), "", "", "");
        for (int i = 0; i < c.names; ++i)
            p.AYMGADLARI << QStringLiteral("G%1").arg(i + 1);
        for (int i = 0; i < c.memberships; ++i)
            p.AGMAT << Row(4, QStringLiteral("0.0"));
        commitGroupRows(p, grid);
        EXPECT_EQ(p.AYMGADLARI.size(), c.namesAfter);
        EXPECT_EQ(p.AGMAT.size(), c.membershipsAfter);
        EXPECT_EQ(p.AYMGLIST.size(), c.listAfter);
        EXPECT_TRUE(p.LYMGDEG);
        EXPECT_EQ(p.AYMGADLARI.value(c.namesAfter - 1), QStringLiteral("G%1").arg(c.namesAfter));
    }
}

TEST(GroupSolve, RefusalsGoToTheStatusBar)
{
    OpenProblem p;
    fourIngredients(p);
    p.AYMGADLARI = {"G1", "G2"};
    p.LAMATHAZIR = true;
    EXPECT_EQ(solveRefusal(p, 3), kNamedNotDefinedText);
    EXPECT_EQ(solveRefusal(p, 2), std::nullopt);
    p.LAMATHAZIR = false;
    EXPECT_EQ(solveRefusal(p, 2), kNoDataText);
}

TEST(GroupSolve, ResultWalk)
{
    auto rowWith = [](const char *name, const char *current, const char *saved) {
        Row r = groupRow(name, "", "", "");
        r[YMGACOZUM] = *current ? num(current) : B;
        r[YMGKCOZUM] = *saved ? num(saved) : B;
        return r;
    };
    // First solve with a saved solution: Fark-II only.
    RowList grid = {rowWith("G1", "", "10.000"), rowWith("G2", "", "0.000"), rowWith("G3", "", "")};
    const QList<QStringList> first = {{num("12.345"), num("1.500")}, {num("0.000"), B}, {QStringLiteral("    *12.345"), num("2.000")}};
    writeGroupResults(grid, first, 3, 1, true);
    EXPECT_EQ(grid[0][YMGACOZUM], num("12.345"));
    EXPECT_EQ(grid[0][YMGGFIAT], num("1.500"));
    EXPECT_EQ(grid[0][YMGOCOZUM], B);
    EXPECT_EQ(grid[0][YMGCFARKI], B);
    EXPECT_EQ(grid[0][YMGKCFARKI], num("2.345"));
    EXPECT_EQ(grid[1][YMGACOZUM], B);
    EXPECT_EQ(grid[1][YMGKCFARKI], B);
    EXPECT_EQ(grid[2][YMGACOZUM], QStringLiteral("    *12.345"));

    // Second solve: the first result moves to the previous column, Fark-I filled.
    const QList<QStringList> second = {{num("10.000"), B}, {QStringLiteral("     *0.000"), B}, {num("12.345"), B}};
    writeGroupResults(grid, second, 3, 2, true);
    EXPECT_EQ(grid[0][YMGOCOZUM], num("12.345"));
    EXPECT_EQ(grid[0][YMGCFARKI], num("-2.345"));
    EXPECT_EQ(grid[1][YMGACOZUM], QStringLiteral("     *     "));
    EXPECT_EQ(grid[1][YMGCFARKI], B);
    EXPECT_EQ(grid[2][YMGOCOZUM], QStringLiteral("    *12.345"));
    EXPECT_EQ(grid[2][YMGCFARKI], num("0.000"));

    // The k-th row with a name takes result k; a row without a name took no part and shows no
    // result, whatever it showed before.
    RowList named = {rowWith("G1", "", ""), rowWith("", "9.000", ""), rowWith("G3", "", "")};
    named[1][YMGGFIAT] = num("1.500");
    writeGroupResults(named, {{num("1.000"), B}, {num("2.000"), num("0.500")}}, 3, 1, false);
    EXPECT_EQ(named[0][YMGACOZUM], num("1.000"));
    EXPECT_EQ(named[1][YMGACOZUM], B);
    EXPECT_EQ(named[1][YMGGFIAT], B);
    EXPECT_EQ(named[2][YMGACOZUM], num("2.000"));
    EXPECT_EQ(named[2][YMGGFIAT], num("0.500"));

    // Fewer results than named rows are never read past.
    RowList three = {rowWith("G1", "", ""), rowWith("G2", "", ""), rowWith("G3", "", "")};
    writeGroupResults(three, {{num("1.000"), B}}, 3, 1, false);
    EXPECT_EQ(three[0][YMGACOZUM], num("1.000"));
    EXPECT_EQ(three[1][YMGACOZUM], B);
    EXPECT_EQ(three[2][YMGACOZUM], B);
}

TEST(GroupCommit, NamesFollowTheNameCells)
{
    OpenProblem p;
    fourIngredients(p);
    p.AYMGADLARI = {"G1", "G2", "G3"};
    p.AGMAT = {Row(4, "0.0"), Row(4, "0.0"), Row(4, "0.0")};
    RowList grid = {groupRow("TAHIL", "", "", ""), groupRow("", "", "", ""), groupRow("G3", "", "", "")};
    commitGroupRows(p, grid);
    EXPECT_EQ(p.AYMGADLARI, QStringList({"TAHIL", "", "G3"}));
    // A name given in the grid to a row the member dialog never defined stays out of the names.
    grid << groupRow("YENI", "", "", "");
    followGroupNames(p, grid);
    EXPECT_EQ(p.AYMGADLARI, QStringList({"TAHIL", "", "G3"}));
    EXPECT_FALSE(groupNameTaken(p.AYMGADLARI, QStringLiteral("G2")));
    EXPECT_TRUE(groupNameTaken(p.AYMGADLARI, QStringLiteral("TAHIL")));
}

TEST(GroupCosts, ZeroCostsKeepTheirFields)
{
    GroupCostTexts shown;
    shown.previous = QStringLiteral("old");
    shown.currentDifference = QStringLiteral("old diff");
    const GroupCostTexts out = groupCostTexts(shown, 12.345, 0, 12.300);
    EXPECT_EQ(out.current, num("12.345"));
    EXPECT_EQ(out.saved, num("12.300"));
    EXPECT_EQ(out.previous, QStringLiteral("old"));
    EXPECT_EQ(out.currentDifference, QStringLiteral("old diff"));
    EXPECT_EQ(out.savedDifference, num("0.045"));
}

TEST(GroupDialogs, PreTickingSaveChecksAndNames)
{
    EXPECT_EQ(membersOf({"1.0", "0.0", "1.0000", " 1 ", "1.01", "x"}), QList<int>({1, 3, 4}));
    EXPECT_EQ(groupSaveRefusal(1, QStringLiteral("G"))->text.left(41),
              QStringLiteral("En az iki yem maddesi bir gurup olabilir!"));
    EXPECT_EQ(groupSaveRefusal(2, QStringLiteral("   "))->text, QStringLiteral("Grup ismi girilmedi..."));
    EXPECT_FALSE(groupSaveRefusal(2, QStringLiteral("G")).has_value());
    const QStringList names = {"Tahıl", "Protein"};
    EXPECT_TRUE(groupNameTaken(names, QStringLiteral(" Tahıl ")));
    EXPECT_FALSE(groupNameTaken(names, QStringLiteral("Tahıllar")));
    EXPECT_FALSE(groupNameTaken(names, QStringLiteral("tahıl")));
    EXPECT_FALSE(groupNameTaken(names, QStringLiteral("")));
}

TEST(GroupAssignment, NewIngredientsGetOneCellPerGroup)
{
    OpenProblem p;
    fourIngredients(p);
    p.AYMGADLARI = {"G1", "G2"};
    p.AGMAT = {Row({"1.0", "1.0"}), Row({"0.0", "1.0"})};
    QStringList asked;
    const QList<int> answers = {2, 0};
    assignNewIngredientGroups(p, [&](const QString &name) {
        asked << name;
        return answers.at(asked.size() - 1);
    });
    EXPECT_EQ(asked, QStringList({"SOYA", "KEPEK"}));
    EXPECT_EQ(p.AGMAT.at(0), Row({"1.0", "1.0", "0.0000", "0.0000"}));
    EXPECT_EQ(p.AGMAT.at(1), Row({"0.0", "1.0", "1.0000", "0.0000"}));
    EXPECT_TRUE(p.LYMGDEG);

    OpenProblem none;
    fourIngredients(none);
    assignNewIngredientGroups(none, [&](const QString &) { ADD_FAILURE() << "asked without groups"; return 0; });
    EXPECT_FALSE(none.LYMGDEG);
}
