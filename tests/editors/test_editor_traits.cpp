// What tells the three editors apart: columns, captions, the resize rule and the result displays.
#include "editors/editor_traits.h"
#include "editors/result_fields.h"

#include <gtest/gtest.h>

using namespace vexo;

namespace {

const EditorKind kAll[] = {EditorKind::Ingredient, EditorKind::Nutrient, EditorKind::Ratio};

TEST(EditorTraits, ResizeAt1000By600)
{
    const int gridWidth[] = {770, 785, 740};
    for (EditorKind kind : kAll) {
        const EditorLayout l = editorLayout(kind, QSize(1000, 600));
        EXPECT_EQ(l.grid, QSize(gridWidth[int(kind)], 420));
        EXPECT_EQ(l.currentCost, QPoint(200, 435));
        EXPECT_EQ(l.previousCost, QPoint(290, 435));
        EXPECT_EQ(l.currentDifference, QPoint(380, 435));
        EXPECT_EQ(l.status, QPoint(470, 435));
        EXPECT_EQ(l.savedCost, QPoint(290, 465));
        EXPECT_EQ(l.savedDifference, QPoint(380, 465));
    }
}

TEST(EditorTraits, ColumnsFollowTheListsFields)
{
    for (EditorKind kind : kAll) {
        const QList<EditorColumn> columns = editorColumns(kind, QStringLiteral("Krş/Kg"));
        ASSERT_EQ(columns.size(), editorTraits(kind).columnCount);
        for (int n = 1; n <= columns.size(); ++n) {
            const EditorColumn &c = columns.at(n - 1);
            EXPECT_EQ(c.editable, isEditableColumn(kind, n)) << c.field.toStdString();
            EXPECT_EQ(c.starred, n >= 6 && c.field.contains(QStringLiteral("COZUM"))) << c.field.toStdString();
            EXPECT_EQ(c.caption.count(QStringLiteral("\r\n")), 1) << "two-line captions";
            EXPECT_EQ(c.width, n == 1 || (kind == EditorKind::Ratio && n == 2) ? (kind == EditorKind::Ingredient ? 25 : 15) : 11);
        }
    }
    const QList<EditorColumn> ym = editorColumns(EditorKind::Ingredient, priceUnitText({"K", "1000", " Krş ", "Kg  "}));
    EXPECT_EQ(ym.at(1).caption, QStringLiteral("Fiyatı,\r\nKrş/Kg"));
    EXPECT_EQ(ym.at(6).caption, QStringLiteral("Azami Fiyat,\r\nKrş/Kg"));
    EXPECT_TRUE(editorColumns(EditorKind::Nutrient).at(1).leftAligned) << "the unit is left-aligned";
    EXPECT_EQ(editorColumns(EditorKind::Ratio).at(8).caption, QStringLiteral(" \r\nFark-1"));
}

TEST(EditorTraits, WindowTable)
{
    const EditorTraits &ym = editorTraits(EditorKind::Ingredient);
    const EditorTraits &bm = editorTraits(EditorKind::Nutrient);
    const EditorTraits &bmo = editorTraits(EditorKind::Ratio);
    EXPECT_EQ(QStringList({ym.className, bm.className, bmo.className}),
              QStringList({"BYM_GIR_WIN", "BBM_GIR_WIN", "BBMO_GIR_WIN"}));
    EXPECT_EQ(QStringList({ym.command, bm.command, bmo.command}), QStringList({"YM_GIRIS", "BM_GIRIS", "BMO_GIRIS"}));
    EXPECT_EQ(QList<int>({ym.solveItem, bm.solveItem, bmo.solveItem}), QList<int>({29175, 29362, 29300}));
    EXPECT_EQ(QStringList({ym.aboutCommand, bm.aboutCommand, bmo.aboutCommand}),
              QStringList({"ABOUT", "OHAKKINDA", "OHAKKINDA"}));
    EXPECT_EQ(bm.caption, QStringLiteral("Besin Maddesi Verileri Giriş"));
}

TEST(ResultFields, StatusStates)
{
    EXPECT_EQ(statusAfterSolve(QStringLiteral("E"), SolutionStatus::NotSolved), SolutionStatus::Optimal);
    EXPECT_EQ(statusAfterSolve(QStringLiteral("H"), SolutionStatus::Optimal), SolutionStatus::NoSolution);
    EXPECT_EQ(statusAfterSolve(QString(), SolutionStatus::NoSolution), SolutionStatus::NoSolution);
    EXPECT_EQ(statusIcon(SolutionStatus::NotSolved), QStringLiteral("SPOROLOG"));
    EXPECT_EQ(statusTip(SolutionStatus::NoSolution), QStringLiteral("Çözüm Yok"));
    EXPECT_EQ(statusTip(SolutionStatus::Optimal), QStringLiteral("Çözüm optimum"));
}

} // namespace

TEST(EditorTraits, ShownCellsKeepTheirDigits)
{
    struct Case
    {
        const char *cell;
        int width;
        const char *shown;
    };
    const Case cases[] = {
        {"      12.345", 11, "     12.345"}, // right-aligned in the file's 12 characters
        {"       8.000", 11, "      8.000"},
        {"     12.345 ", 11, "     12.345"}, // written 11 wide into the 12-character field
        {"     12.345", 11, "     12.345"}, // fits: as it is
        {"123456789.123", 11, "123456789.123"}, // no blank to drop: the grid cuts as before
        {"", 11, ""},
    };
    for (const Case &c : cases)
        EXPECT_EQ(shownCell(QString::fromLatin1(c.cell), c.width), QString::fromLatin1(c.shown)) << c.cell;
}
