#include "problem/number_text.h"

#include <QStringList>

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <optional>
#include <string>
#include <vector>

using namespace vexo;

namespace {

enum class Fn { Sdaya, Sdaya2, Sdaya3 };

struct TextCase
{
    Fn fn;
    const char *typed;
    unsigned decimals;
    unsigned shown;
    const char *expected; // all eleven characters
};

QString run(const TextCase &c, bool *ok)
{
    const QString typed = QString::fromUtf8(c.typed);
    switch (c.fn) {
    case Fn::Sdaya: return SDAYA(typed, c.decimals, ok);
    case Fn::Sdaya2: return SDAYA2(typed, c.decimals, c.shown, ok);
    case Fn::Sdaya3: return SDAYA3(typed, c.decimals, c.shown, ok);
    }
    return {};
}

void expectTexts(const std::vector<TextCase> &cases, bool expectOk)
{
    for (const TextCase &c : cases) {
        bool ok = !expectOk;
        const QString got = run(c, &ok);
        SCOPED_TRACE(testing::Message() << "fn " << int(c.fn) << " typed '" << c.typed << "' decimals "
                                        << c.decimals << " shown " << c.shown);
        EXPECT_EQ(got.toStdString(), std::string(c.expected));
        EXPECT_EQ(got.size(), kNumberTextWidth);
        EXPECT_EQ(ok, expectOk);
    }
}

} // namespace

TEST(NumberText, WorkedExamples)
{
    expectTexts({
                    {Fn::Sdaya, "12,5", 4, 4, "    12.5000"},
                    {Fn::Sdaya, "-0,75 kg", 4, 4, "    -0.7500"},
                    {Fn::Sdaya, "5-3", 4, 4, "    53.0000"},
                    {Fn::Sdaya, "1.2.34", 4, 4, "     1.2340"},
                    {Fn::Sdaya, ",5", 4, 4, "     0.5000"},
                    {Fn::Sdaya, "007", 4, 4, "     7.0000"},
                    {Fn::Sdaya, "000", 4, 4, "     0.0000"},
                    {Fn::Sdaya, "-", 4, 4, "    -0.0000"},
                    {Fn::Sdaya, "abc", 4, 4, "           "},
                    {Fn::Sdaya2, "-12,3456", 3, 3, "     12.345"},
                    {Fn::Sdaya3, "1,234567", 6, 4, "     1.2346"},
                    {Fn::Sdaya3, "1,23", 2, 4, "     1.2300"},
                    {Fn::Sdaya3, "-", 4, 4, "     0.0000"},
                },
                true);
}

TEST(NumberText, EdgeCases)
{
    expectTexts({
                    // Empty values and texts without anything of a number.
                    {Fn::Sdaya, "", 4, 4, "           "},
                    {Fn::Sdaya, "     ", 4, 4, "           "},
                    {Fn::Sdaya, "kg TL", 2, 4, "           "},
                    {Fn::Sdaya2, "   ", 4, 4, "           "},
                    {Fn::Sdaya3, "abc", 4, 4, "           "},
                    // Comma and point are one separator; the first counts, later ones leave the fraction.
                    {Fn::Sdaya, "1,2.5", 4, 4, "     1.2500"},
                    {Fn::Sdaya, "1.2,3,4", 2, 4, "       1.23"},
                    // Surplus decimals are cut, not rounded.
                    {Fn::Sdaya, "1,23456", 4, 4, "     1.2345"},
                    {Fn::Sdaya2, "1,23456", 4, 4, "     1.2345"},
                    {Fn::Sdaya3, "1,23456", 4, 4, "     1.2345"},
                    // Rounded from the cut text 1.2345, not from what was typed.
                    {Fn::Sdaya3, "1,23456", 4, 2, "       1.23"},
                    // A minus counts only in front.
                    {Fn::Sdaya, "--5", 4, 4, "    -5.0000"},
                    {Fn::Sdaya, " -5 ", 2, 4, "      -5.00"},
                    {Fn::Sdaya3, "5-3", 2, 4, "    53.0000"},
                    // A zero after a minus stays in SDAYA, SDAYA3 reads the value.
                    {Fn::Sdaya, "-05", 4, 4, "   -05.0000"},
                    {Fn::Sdaya3, "-05", 4, 4, "    -5.0000"},
                    // SDAYA2 is never negative.
                    {Fn::Sdaya2, "-7", 4, 4, "     7.0000"},
                    {Fn::Sdaya2, "-0,5", 4, 4, "     0.5000"},
                    // Zero has no sign after SDAYA3, keeps it in SDAYA.
                    {Fn::Sdaya3, "-0", 4, 4, "     0.0000"},
                    {Fn::Sdaya3, "-0,00004", 5, 4, "     0.0000"},
                    {Fn::Sdaya, "-0", 4, 4, "    -0.0000"},
                    // Rounding only where the decimals exceed the shown decimals, with MROUND's rule.
                    {Fn::Sdaya3, "2,34449", 5, 2, "       2.34"},
                    {Fn::Sdaya3, "0,125", 3, 2, "       0.13"},
                    {Fn::Sdaya3, "-2,346", 3, 2, "      -2.34"},
                    {Fn::Sdaya2, "1,005", 3, 2, "       1.01"},
                    {Fn::Sdaya3, "1,005", 2, 2, "       1.00"},
                    // The shown decimals are always written.
                    {Fn::Sdaya3, "7", 0, 4, "     7.0000"},
                    {Fn::Sdaya2, "3,5", 2, 0, "          4"},
                },
                true);
}

TEST(NumberText, NoDecimalsDropsTheFractionInsteadOfJoiningDigits)
{
    expectTexts({
                    {Fn::Sdaya, "12,5", 0, 4, "         12"},
                    {Fn::Sdaya, "0,5", 0, 4, "          0"},
                    {Fn::Sdaya, ",5", 0, 4, "          0"},
                    {Fn::Sdaya, "1.2.3", 0, 4, "          1"},
                    {Fn::Sdaya, "-12,9", 0, 4, "        -12"},
                    {Fn::Sdaya, "-", 0, 4, "         -0"},
                    {Fn::Sdaya, "007", 0, 4, "          7"},
                    {Fn::Sdaya2, "12,5", 0, 4, "    12.0000"},
                    {Fn::Sdaya3, "0,5", 0, 4, "     0.0000"},
                    {Fn::Sdaya3, "-12,9", 0, 2, "     -12.00"},
                },
                true);
}

TEST(NumberText, WideValuesLoseDecimalsNeverIntegerDigits)
{
    expectTexts({
                    {Fn::Sdaya, "1234567,5", 4, 4, "1234567.500"},
                    {Fn::Sdaya, "12345678,12345", 4, 4, "12345678.12"},
                    {Fn::Sdaya, "1234567890,5", 4, 4, " 1234567890"},
                    {Fn::Sdaya, "12345678901", 4, 4, "12345678901"},
                    {Fn::Sdaya, "-1234567890", 2, 4, "-1234567890"},
                    // Zeros that only pad after a minus go, as far as needed, before any decimal does.
                    {Fn::Sdaya, "-000000000005,25", 2, 4, "-0000005.25"},
                    {Fn::Sdaya, "-0000000000000", 2, 4, "-0000000.00"},
                    {Fn::Sdaya3, "1234567,891", 4, 4, "1234567.891"},
                    {Fn::Sdaya3, "-1234567,5", 4, 4, "-1234567.50"},
                    {Fn::Sdaya2, "12345678901", 2, 4, "12345678901"},
                    {Fn::Sdaya3, "0000000000000012,5", 4, 4, "    12.5000"},
                    // Fewer decimals mean rounding to them, not cutting.
                    {Fn::Sdaya3, "123456789,996", 3, 4, "123456790.0"},
                },
                true);
}

TEST(NumberText, ValuesThatCannotFitAreRefused)
{
    expectTexts({
                    {Fn::Sdaya, "123456789012", 4, 4, "           "},
                    {Fn::Sdaya, "-12345678901", 0, 4, "           "},
                    {Fn::Sdaya2, "123456789012,5", 2, 4, "           "},
                    {Fn::Sdaya3, "-12345678901", 2, 4, "           "},
                    // Rounding carries into a twelfth digit.
                    {Fn::Sdaya2, "99999999999,9", 1, 4, "           "},
                    // Far beyond what a double holds: refused, not read as 0 or infinity.
                    {Fn::Sdaya3, std::string(400, '9').c_str(), 2, 4, "           "},
                },
                false);
    // The plain form without an ok flag gives the same empty value.
    EXPECT_EQ(SDAYA(QStringLiteral("123456789012"), 2), emptyNumberText());
}

TEST(NumberText, AbsurdDecimalsStayBounded)
{
    bool ok = false;
    EXPECT_EQ(SDAYA(QStringLiteral("1,5"), 4000000000u, &ok), QStringLiteral("1.500000000"));
    EXPECT_TRUE(ok);
    EXPECT_EQ(SDAYA3(QStringLiteral("1,5"), 4000000000u, 4000000000u, &ok), QStringLiteral("1.500000000"));
    EXPECT_TRUE(ok);
}

TEST(NumberText, KeepOnlyNumberCharacters)
{
    EXPECT_EQ(CHGALPHA1(QStringLiteral("  -1.234,5 kg ")), QStringLiteral("-1.234,5"));
    EXPECT_EQ(CHGALPHA2(QStringLiteral("  -1.234,5 kg ")), QStringLiteral("1.234,5"));
    EXPECT_EQ(CHGALPHA1(QStringLiteral("1 2-3")), QStringLiteral("12-3"));
    EXPECT_EQ(CHGALPHA1(QStringLiteral("abc")), QString());
    EXPECT_EQ(CHGALPHA2(QStringLiteral("12345678901234,5")), QStringLiteral("12345678901234,5"));
}

TEST(Rounding, WorkedExamples)
{
    struct Case
    {
        double x;
        int n;
        double mround;
        double mround2;
    };
    const Case cases[] = {
        {2.344, 2, 2.34, 2.34}, {2.346, 2, 2.35, 2.35},   {0.125, 2, 0.13, 0.13}, {1.005, 2, 1.01, 1.00},
        {-2.346, 2, -2.34, -2.35}, {-2.5, 0, -2, -3},     {0, 0, 0, 0},           {0, 14, 0, 0},
        {2.5, 0, 3, 3},           {1234.56789, 14, 1234.56789, 1234.56789},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(testing::Message() << c.x << " to " << c.n);
        EXPECT_EQ(MROUND(c.x, c.n), c.mround);
        EXPECT_EQ(MROUND2(c.x, c.n), c.mround2);
    }
}

TEST(Rounding, MroundToleranceAroundOneHalf)
{
    EXPECT_EQ(MROUND(0.5, 0), 1.0);           // exactly one half
    EXPECT_EQ(MROUND(0.49999999995, 0), 1.0); // within 1e-10 below
    EXPECT_EQ(MROUND(0.4999999998, 0), 0.0);  // 2e-10 below: cut
    EXPECT_EQ(MROUND(0.75, 0), 1.0);
    EXPECT_EQ(MROUND(-0.75, 0), 0.0);         // negatives are cut toward zero
    EXPECT_EQ(MROUND(-1.999, 2), -1.99);
}

TEST(Rounding, ZeroIsExactlyZero)
{
    for (double z : {0.0, -0.0}) {
        EXPECT_FALSE(std::signbit(MROUND(z, 2)));
        EXPECT_FALSE(std::signbit(MROUND2(z, 2)));
    }
    // A negative value that rounds away to nothing leaves no negative zero behind.
    EXPECT_FALSE(std::signbit(MROUND(-0.00001, 4)));
    EXPECT_FALSE(std::signbit(MROUND2(-0.00001, 4)));
}

TEST(Rounding, Mround2HasNoHalfAddingError)
{
    // floor(y + 0.5) in floating point would turn these into the next number.
    EXPECT_EQ(MROUND2(0.49999999999999994, 0), 0.0);
    EXPECT_EQ(MROUND2(4503599627370497.0, 0), 4503599627370497.0);
}

TEST(Comparisons, FloatEqualAndCompare)
{
    EXPECT_TRUE(FLOATEQUAL(1.004, 1.0, 2));
    EXPECT_FALSE(FLOATEQUAL(1.006, 1.0, 2));
    EXPECT_TRUE(FLOATEQUAL(-3.0, -3.0, 4));
    EXPECT_FALSE(FLOATEQUAL(1.0, 2.0, 0));

    EXPECT_TRUE(FLOATCOMPARE(0, 9.99, 9));
    EXPECT_FALSE(FLOATCOMPARE(0, 10, 9));
    EXPECT_TRUE(FLOATCOMPARE(0, 3.16, 99));
    EXPECT_FALSE(FLOATCOMPARE(3.17, 0, 99));

    EXPECT_DOUBLE_EQ(LOG10(1000.0), 3.0);
    EXPECT_DOUBLE_EQ(LOG10(1.0), 0.0);
}

TEST(Comparisons, GrofzerosDropsLeadingZerosOfTheFraction)
{
    EXPECT_DOUBLE_EQ(GROFZEROS(1.05, 2), 1.5);
    EXPECT_DOUBLE_EQ(GROFZEROS(1.25, 2), 1.25);
    EXPECT_DOUBLE_EQ(GROFZEROS(7.0, 2), 7.0);
    EXPECT_DOUBLE_EQ(GROFZEROS(3.007, 3), 3.7);
}

TEST(StrVal, StrWritesFixedDecimalsRightAligned)
{
    struct Case
    {
        double value;
        int width;
        int decimals;
        const char *expected;
    };
    const double inf = std::numeric_limits<double>::infinity();
    const Case cases[] = {
        {12.5, 11, 4, "    12.5000"},
        {-0.75, 11, 4, "    -0.7500"},
        {0.125, 6, 2, "  0.13"},      // a true half rounds away from zero
        {-2.5, 4, 0, "  -3"},
        {1.005, 6, 2, "  1.00"},      // its binary value lies below the half
        {-0.00001, 8, 4, "  0.0000"}, // no negative zero
        {-0.0, 3, 0, "  0"},
        {7, 0, 2, "7.00"},
        {123456.0, 4, 1, "123456.0"}, // too wide: written in full, never cut
        {1e15, 11, 0, "1000000000000000"},
        {inf, 5, 2, "*****"},
        {-inf, 0, 2, "*"},
        {std::nan(""), 3, 0, "***"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(testing::Message() << c.value << " width " << c.width << " decimals " << c.decimals);
        EXPECT_EQ(Str(c.value, c.width, c.decimals).toStdString(), std::string(c.expected));
    }
}

TEST(StrVal, ValReadsTheLeadingNumber)
{
    struct Case
    {
        const char *text;
        double value;
        bool ok;
    };
    const Case cases[] = {
        {"    -0.7500", -0.75, true}, {"  12.5abc", 12.5, true}, {"\t3", 3, true},   {".5", 0.5, true},
        {"-.5", -0.5, true},          {"5.", 5, true},           {"+3", 3, true},    {"1,5", 1, true},
        {"1e3", 1, true},             {"-0", 0, true},           {"12 34", 12, true}, {"", 0, false},
        {"abc", 0, false},            {"-", 0, false},           {".", 0, false},     {"- 5", 0, false},
        {"x12", 0, false},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.text);
        bool ok = !c.ok;
        EXPECT_EQ(Val(QString::fromUtf8(c.text), &ok), c.value);
        EXPECT_EQ(ok, c.ok);
    }
    // Beyond the range of a double: not a number we can hold.
    bool ok = true;
    EXPECT_EQ(Val(QString(400, u'9'), &ok), 0.0);
    EXPECT_FALSE(ok);
}

// Number texts as other programs store them: a decimal comma is the point, a text in the program's
// own form comes through byte for byte, and a text that is no number is no value, never its leading
// digits.
TEST(TableNumbers, ReadingAWholeNumberText)
{
    struct Case
    {
        const char *text;
        std::optional<double> value;
        bool ok;
    };
    const Case cases[] = {
        {"77,5", 77.5, true},         {"  0,425    ", 0.425, true}, {"-12,5", -12.5, true},
        {"    77.5000", 77.5, true},  {",5", 0.5, true},           {"12", 12.0, true},
        {"", std::nullopt, true},     {"           ", std::nullopt, true},
        {"12abc", std::nullopt, false}, {"abc", std::nullopt, false}, {"1.234,5", std::nullopt, false},
        {"1,2,3", std::nullopt, false}, {"1-2", std::nullopt, false}, {"12 5", std::nullopt, false},
        {"%12", std::nullopt, false},
    };
    for (const Case &c : cases) {
        bool ok = !c.ok;
        const std::optional<double> value = readNumberText(QString::fromUtf8(c.text), &ok);
        EXPECT_EQ(value.has_value(), c.value.has_value()) << c.text;
        if (value && c.value) {
            EXPECT_DOUBLE_EQ(*value, *c.value) << c.text;
        }
        EXPECT_EQ(ok, c.ok) << c.text;
    }
}

TEST(TableNumbers, BroughtIntoTheProgramsOwnForm)
{
    struct Case
    {
        const char *stored;
        int decimals; // -1: a price
        std::optional<QString> own;
    };
    const Case cases[] = {
        {"0,425      ", -1, QStringLiteral("      0.425")},
        {"77,5       ", 4, QStringLiteral("    77.5000")},
        {"12,5", 2, QStringLiteral("    12.5000")},
        {"-1,25", 4, QStringLiteral("    -1.2500")},
        // The program's own texts, also with other decimals than the column's, stay as they are.
        {"    77.5000", 2, QStringLiteral("    77.5000")},
        {"      0.425", -1, QStringLiteral("      0.425")},
        {"        .5", 4, QStringLiteral("     0.5000")},
        {"          3", 4, QStringLiteral("          3")},
        // Another program's point texts are brought to the right with the column's decimals.
        {"77.5       ", 4, QStringLiteral("    77.5000")},
        {"", 4, QStringLiteral("           ")},
        {"           ", -1, QStringLiteral("           ")},
        {"12abc      ", 4, std::nullopt},
        {"abc", -1, std::nullopt},
        {"1.234,5", 4, std::nullopt},
        {"123456789012", 4, std::nullopt},
    };
    for (const Case &c : cases) {
        const QString stored = QString::fromUtf8(c.stored);
        const std::optional<QString> own = c.decimals < 0 ? tablePriceText(stored) : tableContentText(stored, c.decimals);
        EXPECT_EQ(own, c.own) << c.stored;
    }
}

TEST(Arrays, Adimens)
{
    QVariantList table;
    for (int r = 0; r < 3; ++r)
        table.append(QVariant(QVariantList{1, 2, 3, 4, 5}));
    EXPECT_EQ(ADIMENS(table), (QList<int>{3, 5}));
    EXPECT_EQ(ADIMENS(QVariantList{}), QList<int>{});
    EXPECT_EQ(ADIMENS(QVariantList{QVariant(QVariantList{})}), (QList<int>{1, 0}));
    EXPECT_EQ(ADIMENS(QVariantList{1.0, 2.0, 3.0, 4.0}), QList<int>{4});
    EXPECT_EQ(ADIMENS(QStringList{QStringLiteral("a"), QStringLiteral("b")}), QList<int>{2});
    // Only the first element of each level is looked at.
    EXPECT_EQ(ADIMENS(QVariantList{1, QVariant(QVariantList{1, 2})}), QList<int>{2});
    EXPECT_EQ(ADIMENS(QVariant(5)), QList<int>{});
}

TEST(Arrays, AmaxAminKeepTheFirstOfEqualElements)
{
    EXPECT_EQ(AMAX(QList<double>{3, 7, 7, 1}), 2);
    EXPECT_EQ(AMIN(QList<double>{5, 1, 1}), 2);
    EXPECT_EQ(AMAX(QList<double>{}), 0);
    EXPECT_EQ(AMAX(QList<double>{9}), 1);
    EXPECT_EQ(AMIN(std::vector<int>{4, 4, 4}), 1);
    EXPECT_EQ(AMIN(std::vector<double>{2.5, -1.0, 0.0, -1.0}), 2);

    EXPECT_EQ(AMAX(QVariantList{3, 7, 7, 1}), 2);
    EXPECT_EQ(AMIN(QVariantList{5.0, 1.0, 1.0}), 2);
    EXPECT_EQ(AMAX(QVariant(QVariantList{})), 0);
    EXPECT_EQ(AMAX(QVariant(QVariantList{9})), 1);
    EXPECT_EQ(AMAX(QVariant(42)), 0);
    EXPECT_EQ(AMIN(QVariant(QStringLiteral("abc"))), 0);
}
