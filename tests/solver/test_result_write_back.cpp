// A solve's result tables written into the result columns of list rows.
#include "solver/result_write_back.h"

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

Row ingredient(const QString &name, const QString &price, const QString &current = {}, const QString &saved = {})
{
    Row r(YM_COLUMNS, B);
    r[YMNAME] = name.leftJustified(kYmNameWidth);
    r[YMPRICE] = c(price);
    r[YMACOZUM] = c(current);
    r[YMKCOZUM] = c(saved);
    return r;
}

Row nutrient(const QString &name, const QString &current = {})
{
    Row r(BM_COLUMNS, B);
    r[BMNAME] = name.leftJustified(kBmNameWidth);
    r[BMACOZUM] = c(current);
    return r;
}

Row ratio(const QString &a, const QString &b)
{
    Row r(BMO_COLUMNS, QString(11, u'x'));
    r[BMONAME1] = a.leftJustified(kBmNameWidth);
    r[BMONAME2] = b.leftJustified(kBmNameWidth);
    return r;
}

struct IngredientCase
{
    const char *what;
    QString before, saved;  // YMACOZUM and YMKCOZUM before the write
    QStringList result;     // the result row
    int counter;
    bool savedFlag;
    QString current, second, previous, diffPrevious, diffSaved; // after
};

// The case by what it shows, in failure messages and in the names the test runner lists.
void PrintTo(const IngredientCase &t, std::ostream *out)
{
    *out << t.what;
}

std::string ingredientCaseName(const ::testing::TestParamInfo<IngredientCase> &info)
{
    std::string name;
    bool upper = true;
    for (const char *p = info.param.what; *p; ++p) {
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

class IngredientWriteBack : public ::testing::TestWithParam<IngredientCase>
{
};

TEST_P(IngredientWriteBack, FillsTheResultColumns)
{
    const IngredientCase &t = GetParam();
    RowList rows{ingredient(QStringLiteral("MISIR"), QStringLiteral("10.000"), t.before, t.saved)};
    rows[0][YMOCOZUM] = c(QStringLiteral("old"));
    rows[0][YMCFARKI] = c(QStringLiteral("oldI"));
    rows[0][YMKCFARKI] = c(QStringLiteral("oldII"));
    const WriteBackResult r =
        writeBackResults(ResultRows::Ingredients, rows, {t.result}, WriteBackInput{t.counter, t.savedFlag, {true}, {}});
    ASSERT_TRUE(r.ok);
    const Row &row = rows.at(0);
    EXPECT_EQ(row[YMACOZUM], t.current) << t.what;
    EXPECT_EQ(row[YMAZFIAT], t.second) << t.what;
    EXPECT_EQ(row[YMOCOZUM], t.previous) << t.what;
    EXPECT_EQ(row[YMCFARKI], t.diffPrevious) << t.what;
    EXPECT_EQ(row[YMKCFARKI], t.diffSaved) << t.what;
    EXPECT_EQ(row[YMKCOZUM], c(t.saved)) << t.what << ": the saved solution is never written";
}

INSTANTIATE_TEST_SUITE_P(
    Results, IngredientWriteBack,
    ::testing::Values(
        IngredientCase{"first solve", "", "", {c("42.125"), B}, 1, false, c("42.125"), B, c("old"), c("oldI"), c("oldII")},
        IngredientCase{"first solve with a saved solution", "", "40.000", {c("42.125"), B}, 1, true, c("42.125"), B,
                       c("old"), c("oldI"), c("2.125")},
        IngredientCase{"second solve moves the current solution", "40.000", "", {c("42.125"), B}, 2, false, c("42.125"),
                       B, c("40.000"), c("2.125"), c("oldII")},
        IngredientCase{"second solve, same value", "42.125", "", {c("42.125"), B}, 2, false, c("42.125"), B,
                       c("42.125"), c("0.000"), c("oldII")},
        IngredientCase{"second solve, both zero", "", "", {B, c("3.500")}, 2, false, B, c("3.500"), B, B, c("oldII")},
        IngredientCase{"zero below the threshold shows blank", "", "", {c("0.0009"), c("3.500")}, 1, false, B,
                       c("3.500"), c("old"), c("oldI"), c("oldII")},
        IngredientCase{"marked zero shows a centred mark", "", "", {c("*0.000"), c("1.000")}, 1, false,
                       QStringLiteral("     *     "), c("1.000"), c("old"), c("oldI"), c("oldII")},
        IngredientCase{"marked value is kept as delivered", "", "", {c("*12.500"), B}, 1, false, c("*12.500"), B,
                       c("old"), c("oldI"), c("oldII")},
        IngredientCase{"marked previous value reads without its mark", "*5.000", "", {c("7.000"), B}, 2, false,
                       c("7.000"), B, c("*5.000"), c("2.000"), c("oldII")},
        IngredientCase{"negative entry price", "", "", {B, c("-1.500")}, 1, false, B, c("< 0.000"), c("old"), c("oldI"),
                       c("oldII")},
        IngredientCase{"basic at level zero", "", "", {B, B}, 1, false, B, c("0.000"), c("old"), c("oldI"), c("oldII")},
        IngredientCase{"saved difference against a zero", "", "", {c("0.0001"), B}, 1, true, B, c("0.000"), c("old"),
                       c("oldI"), B}),
    ingredientCaseName);

TEST(WriteBack, IngredientsThatDoNotTakePartLoseOnlyTheirCurrentResults)
{
    RowList rows{ingredient(QStringLiteral("MISIR"), QStringLiteral("10.000"), QStringLiteral("50.000")),
                 ingredient(QStringLiteral("SOYA"), QString(), QStringLiteral("10.000")),
                 ingredient(QStringLiteral("ARPA"), QStringLiteral("12.000"), QStringLiteral("40.000")),
                 ingredient(QStringLiteral("KEPEK"), QStringLiteral("8.000"), QStringLiteral("9.000"))};
    for (Row &r : rows) {
        r[YMAZFIAT] = c(QStringLiteral("9.999"));
        r[YMOCOZUM] = c(QStringLiteral("1.000"));
    }
    const ResultTable results{{c("60.000"), B}, {c("40.000"), B}};
    // SOYA has no price, ARPA is out of stock.
    const WriteBackResult r =
        writeBackResults(ResultRows::Ingredients, rows, results, WriteBackInput{1, false, {true, true, false, true}, {}});
    ASSERT_TRUE(r.ok);
    EXPECT_EQ(rows[0][YMACOZUM], c("60.000"));
    EXPECT_EQ(rows[3][YMACOZUM], c("40.000")) << "KEPEK owns the second result";
    for (int n : {1, 2}) {
        EXPECT_EQ(rows[n][YMACOZUM], B);
        EXPECT_EQ(rows[n][YMAZFIAT], B);
        EXPECT_EQ(rows[n][YMOCOZUM], c("1.000")) << "the other result cells keep their contents";
    }
}

TEST(WriteBack, ACountThatDiffersFromTheTableWritesNothing)
{
    RowList rows{ingredient(QStringLiteral("MISIR"), QStringLiteral("10.000"), QStringLiteral("50.000")),
                 ingredient(QStringLiteral("SOYA"), QStringLiteral("20.000"), QStringLiteral("50.000"))};
    const RowList before = rows;
    EXPECT_FALSE(writeBackResults(ResultRows::Ingredients, rows, {{c("60.000"), B}}, WriteBackInput{1, false, {}, {}}).ok);
    EXPECT_EQ(rows, before);
    EXPECT_FALSE(writeBackResults(ResultRows::Ingredients, rows, {{B, B}, {B, B}, {B, B}}, WriteBackInput{1, false, {}, {}}).ok);
    EXPECT_EQ(rows, before);
}

TEST(WriteBack, DryMatterAmountsWithKm)
{
    RowList rows{nutrient(QStringLiteral("AĞIRLIK")), nutrient(QStringLiteral("KM")), nutrient(QStringLiteral("HP")),
                 nutrient(QString())};
    const ResultTable results{{c("1.0000"), c("12.0000")}, {c("88.0000"), B}, {c("*17.6000"), c("< 0.0000")}};
    const WriteBackResult r = writeBackResults(ResultRows::Nutrients, rows, results, WriteBackInput{1, false, {}, {}});
    ASSERT_TRUE(r.ok);
    EXPECT_TRUE(r.statusTexts.isEmpty());
    EXPECT_EQ(rows[0][BMKMYYUZ], c("1.0000"));
    EXPECT_EQ(rows[1][BMKMYYUZ], c("88.0000"));
    EXPECT_EQ(rows[2][BMKMYYUZ], c("20.0000")) << "17.6 / 88 * 100, the mark removed";
    EXPECT_EQ(rows[2][BMACOZUM], c("*17.6000"));
    EXPECT_EQ(rows[2][BMSPRICE], c("< 0.0000"));
    EXPECT_EQ(rows[0][BMSPRICE], c("12.0000"));
    EXPECT_EQ(rows[3][BMACOZUM], B) << "a nameless row takes no part";
    EXPECT_EQ(rows[3][BMKMYYUZ], B);
}

TEST(WriteBack, DryMatterAmountsWithoutKm)
{
    RowList rows{nutrient(QStringLiteral("AĞIRLIK")), nutrient(QStringLiteral("HP"))};
    const WriteBackResult r = writeBackResults(ResultRows::Nutrients, rows, {{c("1.0000"), B}, {c("17.6000"), B}},
                                               WriteBackInput{1, false, {}, {}});
    ASSERT_TRUE(r.ok);
    EXPECT_EQ(r.statusTexts, QStringList{QStringLiteral("BM girişinde KM yok, 'KM deki miktarlar' hesaplanamaz!")});
    EXPECT_EQ(rows[0][BMKMYYUZ], c("0.0000"));
    EXPECT_EQ(rows[1][BMKMYYUZ], c("0.0000"));
}

TEST(WriteBack, RatiosNamingAMissingNutrientKeepEverything)
{
    RowList rows{ratio(QStringLiteral("HP"), QStringLiteral("KM")), ratio(QStringLiteral("HP"), QStringLiteral("YOK")),
                 ratio(QStringLiteral("KM"), QString()), ratio(QStringLiteral("KM"), QStringLiteral("HP"))};
    const RowList before = rows;
    const QStringList names{QStringLiteral("KM"), QStringLiteral("HP")};
    const WriteBackResult r = writeBackResults(ResultRows::Ratios, rows, {{c("0.2000"), B}, {c("5.0000"), c("1.0000")}},
                                               WriteBackInput{1, false, {}, names});
    ASSERT_TRUE(r.ok);
    EXPECT_EQ(rows[0][BMOACOZUM], c("0.2000"));
    EXPECT_EQ(rows[1], before[1]);
    EXPECT_EQ(rows[2][BMOACOZUM], B);
    EXPECT_EQ(rows[2][BMOSPRICE], B);
    EXPECT_EQ(rows[2][BMOOCOZUM], before[2][BMOOCOZUM]);
    EXPECT_EQ(rows[3][BMOACOZUM], c("5.0000"));
    EXPECT_EQ(rows[3][BMOSPRICE], c("1.0000"));
}

} // namespace
