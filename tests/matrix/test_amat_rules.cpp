#include "matrix/amat_rules.h"
#include "problem/number_text.h"

#include <gtest/gtest.h>

using namespace vexo;

namespace {

QString cell(double v)
{
    return Str(v, 11, 4);
}

} // namespace

TEST(ActiveMatrixRules, NameCellShowsTheUnitOnlyWhenThereIsOne)
{
    const QStringList names = {"KM             ", "HP", "CA", "P"};
    const QStringList units = {"%          ", "", "   "};
    EXPECT_EQ(matrixNameCell(names, units, 0), "KM, %");
    EXPECT_EQ(matrixNameCell(names, units, 1), "HP");
    EXPECT_EQ(matrixNameCell(names, units, 2), "CA");
    EXPECT_EQ(matrixNameCell(names, units, 3), "P"); // no unit entry at all
}

TEST(ActiveMatrixRules, CaptionsSplitTheWordsInTwoLines)
{
    const struct { QString name, caption; } cases[] = {
        {"MISIR                    ", "\r\nMISIR"},
        {"SOYA KUSPESI 44", "SOYA\r\nKUSPESI 44"},
        {"ARPA,KIRMA BUGDAY", "ARPA,\r\nKIRMA BUGDAY"},
        {"TAM YAGLI SOYA FASULYE", "TAM YAGLI\r\nSOYA FASULYE"},
    };
    for (const auto &c : cases)
        EXPECT_EQ(ingredientCaption(c.name), c.caption) << c.name.toStdString();
}

TEST(ActiveMatrixRules, RowDecimalsTakeTheLastExactDefinition)
{
    const QStringList names = {"KM", "HP", "CA", "HP", "km"};
    const QList<NutrientDecimals> defs = {{1, "HP", 2}, {2, "KM", 1}, {3, "HP", 0}, {4, "CA ", 2}, {5, "P", 3}};
    // HP: last match wins and goes to the first HP; "CA " is not "CA"; "km" is not "KM".
    EXPECT_EQ(rowDecimals(names, defs), (QList<int>{1, 0, 4, 4, 4}));
}

TEST(ActiveMatrixRules, TypedValuesFollowTheRowDecimals)
{
    const struct { QString typed; unsigned decimals; QString stored; } cases[] = {
        {"12,5", 2, "    12.5000"},
        {"12,5", 0, "    12.0000"},
        {"1,239", 2, "     1.2300"},
        {"1,23456", 6, "     1.2346"}, // six decimals count as four
        {"1,23456", 4, "     1.2345"}, // typed decimals beyond four are cut before rounding
    };
    for (const auto &c : cases)
        EXPECT_EQ(SDAYA3(c.typed, c.decimals, 4), c.stored) << c.typed.toStdString() << " " << c.decimals;
}

TEST(ActiveMatrixRules, RowsAndCommitKeepTheMatrixShape)
{
    const RowList matrix = {{cell(88), cell(86)}, {cell(8.5), cell(44)}, {"           ", cell(0.2)}};
    const QStringList names = {"KM", "HP", "CA"};
    const QStringList units = {"%", "%"};
    const QList<QStringList> rows = matrixRows(matrix, names, units);
    ASSERT_EQ(rows.size(), 3);
    EXPECT_EQ(rows[0], (QStringList{"KM, %", cell(88), cell(86)}));
    EXPECT_EQ(committedMatrix(rows), matrix);
    const ServerFields fields = matrixFields(2);
    ASSERT_EQ(fields.size(), 3);
    EXPECT_EQ(fields[0].name, "MATFNAMEUNIT");
    EXPECT_EQ(fields[2].name, "MATYMNAME2");
    EXPECT_EQ(fields[2].width, 11);
    EXPECT_EQ(AKILL({"a", "b", "c"}, 2), (QStringList{"a", "c"}));
}

TEST(ActiveMatrixRules, PasteTakesOnlyNumberTexts)
{
    const struct { QString clip; int decimals; std::optional<QString> cell; } cases[] = {
        {"    12.3456", 4, "    12.3456"},
        {"    12.3456", 2, "    12.3400"},
        {"12,5", 4, "    12.5000"},
        {"           ", 4, "           "},
        {"abc", 4, std::nullopt},
        {"12 kg", 4, std::nullopt},
        {"123456789012", 4, std::nullopt},
        {"9999999", 4, "9999999.000"}, // as typing it stores: the integer digits keep their room
    };
    for (const auto &c : cases)
        EXPECT_EQ(pastedCell(c.clip, c.decimals), c.cell) << c.clip.toStdString();
}

TEST(ActiveMatrixRules, LinkingScalesTheChosenCellsOfOneColumn)
{
    const QStringList names = {"AĞIRLIK", "KM", "HP", "CA", "P", "HP"};
    EXPECT_EQ(macroCandidates(names), (QStringList{"KM", "HP", "CA", "P", "HP"}));
    const QStringList column = {cell(1), cell(2), cell(0.4), cell(1), "           ", cell(9)};
    const auto r = linkColumn(column, names, "KM", "    3.0000", {"HP", "CA", "P"});
    ASSERT_TRUE(r);
    const QList<QPair<int, QString>> expected = {
        {2, "     0.6000"}, {3, "     1.5000"}, {4, "     0.0000"}, {1, "    3.0000"}};
    EXPECT_EQ(r->writes, expected); // the first HP only; an empty cell becomes 0.0000
}

TEST(ActiveMatrixRules, LinkingFromZeroGivesZeros)
{
    const QStringList names = {"KM", "HP"};
    for (const QString &old : {QString(cell(0)), QStringLiteral("           ")}) {
        const auto r = linkColumn({old, cell(5)}, names, "KM", "    2.0000", {"HP"});
        ASSERT_TRUE(r);
        EXPECT_EQ(r->writes.first().second, "     0.0000");
    }
}

TEST(ActiveMatrixRules, LinkingRefusesValuesWiderThanTheCell)
{
    const auto r = linkColumn({cell(0.001), cell(5000)}, {"KM", "HP"}, "KM", " 9000.0000", {"HP"});
    EXPECT_FALSE(r);
    EXPECT_EQ(scaledLinkedCell(cell(-2), 1, 3), "    -6.0000");
}
