#include "matrix/contribution_viewers.h"
#include "problem/number_text.h"

#include <gtest/gtest.h>

using namespace vexo;

namespace {

QString cell(double v)
{
    return Str(v, 11, 4);
}

Row ingredient(const QString &name, const QString &solution)
{
    Row r(YM_COLUMNS, QStringLiteral("           "));
    r[YMNAME] = name.leftJustified(25);
    r[YMACOZUM] = solution;
    return r;
}

// Three ingredients; the second is out of the solution. Columns: MISIR, ARPA, SOYA.
struct Fixture
{
    OpenProblem p;
    Fixture()
    {
        p.AYMADLARI = {"MISIR", "ARPA", "SOYA"};
        p.ABMADLARI = {"AĞIRLIK", "KM", "HP", "CA"};
        p.ABMBIRIMLERI = {"", "%", "%"};
        p.AAMAT = {{cell(1), cell(1), cell(1)},
                   {cell(88), "           ", cell(80)},
                   {cell(8.8), cell(11), cell(44)},
                   {cell(0.02), cell(0.05), cell(0.3)}};
        p.AYMLIST = {ingredient("MISIR", "    60.0000"), ingredient("ARPA", "           "),
                     ingredient("SOYA", "   *40.0000")};
    }
};

} // namespace

TEST(ContributionRows, DryMatterColumn)
{
    Fixture f;
    const auto rows = nutrientContentRows(f.p, "MISIR");
    ASSERT_EQ(rows.size(), 4);
    EXPECT_EQ(rows[0], (QStringList{" 1", "AĞIRLIK", "", cell(1), "     1.0000"}));
    EXPECT_EQ(rows[1], (QStringList{" 2", "KM", "%", cell(88), "    88.0000"}));
    EXPECT_EQ(rows[2][4], "    10.0000"); // 8.8 / 0.88
    EXPECT_EQ(rows[3][2], "");           // no unit entry
    // An empty dry matter, and a problem without KM, give zeros except for KM and AĞIRLIK.
    const auto empty = nutrientContentRows(f.p, "ARPA");
    EXPECT_EQ(empty[0][4], "     1.0000");
    EXPECT_EQ(empty[1][4], "     0.0000");
    EXPECT_EQ(empty[2][4], "     0.0000");
    f.p.ABMADLARI[1] = "KMX";
    EXPECT_EQ(nutrientContentRows(f.p, "SOYA")[2][4], "     0.0000");
}

TEST(ContributionRows, ContributionsOfTheSolution)
{
    Fixture f;
    // HP level: 0.6*8.8 + 0.4*44 = 5.28 + 17.6 = 22.88, marked as broken.
    const auto rows = contributionRows(f.p, "HP             ", "   *22.8800");
    ASSERT_EQ(rows.size(), 2); // ARPA has no solution value
    EXPECT_EQ(rows[0], (QStringList{" 1", "MISIR                    ", "    60.0000", " 23.08"}));
    EXPECT_EQ(rows[1][0], " 3");           // keeps its place in the list
    EXPECT_EQ(rows[1][2], "   *40.0000");  // the mark stays in the shown cell
    EXPECT_EQ(rows[1][3], " 76.92");
    EXPECT_NEAR(Val(rows[0][3]) + Val(rows[1][3]), 100.0, 0.011);
}

TEST(ContributionRows, ZeroBlankAndUnknown)
{
    Fixture f;
    const auto zero = contributionRows(f.p, "HP", "     0.0000");
    ASSERT_EQ(zero.size(), 2);
    EXPECT_EQ(zero[0][3], "  0.00");
    EXPECT_TRUE(contributionRows(f.p, "HP", "    *      ").isEmpty());
    EXPECT_TRUE(contributionRows(f.p, "ZN", "    12.0000").isEmpty());
    EXPECT_TRUE(nutrientContentRows(f.p, "YULAF").isEmpty());
}
