#include "problem/date_text.h"
#include "problem/field_spec.h"

#include <gtest/gtest.h>

#include <string>

using namespace vexo;

namespace {

std::string s(const QString &t)
{
    return t.toStdString();
}

} // namespace

TEST(DateText, TextToDateInTheGivenFormat)
{
    struct Case
    {
        const char *text;
        const char *format;
        QDate expected; // null: the empty date
    };
    const Case cases[] = {
        {"15/03/2024", "dd/mm/yyyy", QDate(2024, 3, 15)},
        {"5/3/2024", "dd/mm/yyyy", QDate(2024, 3, 5)},        // short fields
        {" 15.03.2024 ", "dd/mm/yyyy", QDate(2024, 3, 15)},   // any separator, blanks around
        {"15.03.2024", "dd.mm.yyyy", QDate(2024, 3, 15)},
        {"2024.03.15", "yyyy.mm.dd", QDate(2024, 3, 15)},
        {"03/15/2024", "mm/dd/yyyy", QDate(2024, 3, 15)},
        {"15/03/24", "dd/mm/yyyy", QDate(1924, 3, 15)},       // a two-digit year counts in the 1900s
        {"15/03/24", "dd/mm/yy", QDate(1924, 3, 15)},
        {"29/02/2024", "dd/mm/yyyy", QDate(2024, 2, 29)},
        {"29/02/2023", "dd/mm/yyyy", QDate()},                // no such day
        {"31/04/2024", "dd/mm/yyyy", QDate()},
        {"00/03/2024", "dd/mm/yyyy", QDate()},
        {"15/13/2024", "dd/mm/yyyy", QDate()},
        {"15/03/0000", "dd/mm/yyyy", QDate()},
        {"15/03", "dd/mm/yyyy", QDate()},                     // too few groups
        {"15/03/2024/1", "dd/mm/yyyy", QDate()},              // too many
        {"15/03/20245", "dd/mm/yyyy", QDate()},               // a field too long
        {"  /  /    ", "dd/mm/yyyy", QDate()},
        {"", "dd/mm/yyyy", QDate()},
        {"abc", "dd/mm/yyyy", QDate()},
        {"15/03/2024", "", QDate()},                          // no format fields
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(std::string(c.text) + " in " + c.format);
        EXPECT_EQ(CToD(QString::fromLatin1(c.text), QString::fromLatin1(c.format)), c.expected);
    }
    EXPECT_EQ(CToD(QStringLiteral("01/02/2024")), QDate(2024, 2, 1)); // the program's own format by default
}

TEST(DateText, DateToTextAndBack)
{
    struct Case
    {
        QDate date;
        const char *format;
        const char *expected;
    };
    const Case cases[] = {
        {QDate(2024, 3, 5), "dd/mm/yyyy", "05/03/2024"},
        {QDate(2024, 3, 5), "dd.mm.yyyy", "05.03.2024"},
        {QDate(2024, 3, 5), "yyyy.mm.dd", "2024.03.05"},
        {QDate(2024, 3, 5), "dd/mm/yy", "05/03/24"},
        {QDate(987, 12, 31), "dd/mm/yyyy", "31/12/0987"},
        {QDate(), "dd/mm/yyyy", "  /  /    "},
        {QDate(), "dd.mm.yyyy", "  .  .    "},
        {QDate(), "yyyy.mm.dd", "    .  .  "},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.expected);
        const QString format = QString::fromLatin1(c.format);
        const QString text = DToC(c.date, format);
        EXPECT_EQ(s(text), c.expected);
        if (format.contains(QLatin1String("yyyy"))) {
            EXPECT_EQ(CToD(text, format), c.date); // four-digit years come back whole, blanks empty
        }
    }
    EXPECT_EQ(s(DToC(QDate(2024, 12, 31))), "31/12/2024");
}

TEST(DateText, EightDigitTexts)
{
    EXPECT_EQ(s(DToS(QDate(2024, 3, 5))), "20240305");
    EXPECT_EQ(s(DToS(QDate(987, 1, 2))), "09870102");
    EXPECT_EQ(s(DToS(QDate())), "        ");
    EXPECT_LT(DToS(QDate(2023, 12, 31)), DToS(QDate(2024, 1, 1))); // texts sort as the dates do

    struct Case
    {
        const char *text;
        QDate expected;
    };
    const Case cases[] = {
        {"20240305", QDate(2024, 3, 5)}, {" 20240229 ", QDate(2024, 2, 29)}, {"20230229", QDate()},
        {"2024035", QDate()},            {"2024-03-05", QDate()},             {"        ", QDate()},
        {"", QDate()},                   {"00000000", QDate()},               {"202403050", QDate()},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(SToD(QString::fromLatin1(c.text)), c.expected);
    }
}

TEST(FieldSpec, FormatsAndReadsByType)
{
    const FieldSpec number = FieldSpec::number(10, 2);
    EXPECT_EQ(number.ValType(), u'N');
    EXPECT_EQ(s(number.Transform(123.456)), "    123.46");
    EXPECT_EQ(s(number.Transform(-7)), "     -7.00");
    EXPECT_EQ(s(number.Transform(12345678.9)), "12345678.90"); // too wide: written in full, never cut
    EXPECT_DOUBLE_EQ(number.Val(QStringLiteral("   -12.50")).toDouble(), -12.5);
    EXPECT_DOUBLE_EQ(number.Val(QStringLiteral("abc")).toDouble(), 0.0);

    const FieldSpec text(QStringLiteral("AD"), u'c', 5); // the type letter is taken in upper case
    EXPECT_EQ(text.ValType(), u'C');
    EXPECT_EQ(text.Name(), QStringLiteral("AD"));
    EXPECT_EQ(s(text.Transform(QStringLiteral("ab"))), "ab   ");
    EXPECT_EQ(s(text.Transform(QStringLiteral("abcdefg"))), "abcde");
    EXPECT_EQ(s(text.Val(QStringLiteral("xy")).toString()), "xy   ");

    const FieldSpec date = FieldSpec::date();
    EXPECT_EQ(date.ValType(), u'D');
    EXPECT_EQ(date.Length(), 10);
    EXPECT_EQ(s(date.Transform(QDate(2024, 3, 15))), "15/03/2024");
    EXPECT_EQ(s(date.Transform(QDate())), "  /  /    ");
    EXPECT_EQ(date.Val(QStringLiteral("15/03/2024")).toDate(), QDate(2024, 3, 15));
    EXPECT_TRUE(date.Val(QStringLiteral("  /  /    ")).toDate().isNull());
    EXPECT_EQ(s(FieldSpec::date(QStringLiteral("dd.mm.yyyy")).Transform(QDate(2024, 3, 15))), "15.03.2024");

    const FieldSpec flag(QString(), u'L', 1);
    EXPECT_EQ(s(flag.Transform(true)), "T");
    EXPECT_EQ(s(flag.Transform(false)), "F");
    for (const char *yes : {"T", "t", "Y", "y", " Yes"})
        EXPECT_TRUE(flag.Val(QString::fromLatin1(yes)).toBool()) << yes;
    for (const char *no : {"F", "N", "x", ""})
        EXPECT_FALSE(flag.Val(QString::fromLatin1(no)).toBool()) << no;

    const FieldSpec memo(QString(), u'M', 10);
    EXPECT_EQ(s(memo.Transform(QStringLiteral("a longer text than ten"))), "a longer text than ten");

    const FieldSpec unknown(QString(), u'X', 4);
    EXPECT_TRUE(unknown.Transform(1).isEmpty());
    EXPECT_FALSE(unknown.Val(QStringLiteral("1")).isValid());
}
