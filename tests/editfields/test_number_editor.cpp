#include "editfields/number_editor.h"

#include <gtest/gtest.h>

#include <string>

using namespace vexo;

namespace {

NumberFormat format(int width, int decimals)
{
    return {FieldSpec::number(width, decimals), width};
}

struct Case
{
    const char *what;
    const char *text;
    int selStart;
    int selFinish;
    bool replaceAll;
    bool negativePending;
    EditKey key;
    const char *expectedText;
    int expectedCaret;
    double expectedValue;
    bool beep = false;
    bool expectedNegativePending = false;
};

EditKey ch(char c)
{
    return EditKey::typed(QLatin1Char(c));
}

void run(const NumberFormat &fmt, const Case &c)
{
    SCOPED_TRACE(c.what);
    const NumberEditResult r = PROCESSNUM(
        fmt, {QString::fromLatin1(c.text), c.selStart, c.selFinish, c.replaceAll, c.negativePending}, c.key);
    EXPECT_EQ(r.state.text.toStdString(), std::string(c.expectedText));
    EXPECT_EQ(r.state.selStart, c.expectedCaret);
    EXPECT_EQ(r.state.selFinish, c.expectedCaret);
    EXPECT_GE(r.state.selStart, 0);
    EXPECT_LE(r.state.selStart, r.state.text.size());
    EXPECT_DOUBLE_EQ(r.value.toDouble(), c.expectedValue);
    EXPECT_EQ(r.beep, c.beep);
    EXPECT_EQ(r.state.negativePending, c.expectedNegativePending);
    EXPECT_FALSE(r.state.replaceAll && !c.replaceAll) << "replace mode only ever turns off here";
}

} // namespace

TEST(NumberEditor, KeysOnATwoDecimalField)
{
    const EditKey back = EditKey::pressed(VK_BACK);
    const EditKey del = EditKey::pressed(VK_DELETE);
    const Case cases[] = {
        // whole text selected, as after entering the field
        {"replace: a digit", "    123.45", 0, 10, true, false, ch('7'), "      7.00", 7, 7},
        {"replace: the separator", "    123.45", 0, 10, true, false, ch('.'), "      0.00", 8, 0},
        {"replace: minus waits for a digit", "    123.45", 0, 10, true, false, ch('-'), "      0.00", 7, 0, false, true},
        {"the pending minus makes the digit negative", "      0.00", 7, 7, false, true, ch('5'), "     -5.00", 7, -5},
        {"replace: a letter gives zero", "    123.45", 0, 10, true, false, ch('a'), "      0.00", 7, 0},
        {"replace: Delete acts as the separator", "    123.45", 0, 10, true, false, del, "      0.00", 8, 0},
        {"a selection of everything turns replace on", "    123.45", 0, 10, false, false, ch('4'), "      4.00", 7, 4},
        // integer part
        {"Backspace after the first digit", "    123.45", 5, 5, false, false, back, "     23.45", 5, 23.45},
        {"Delete removes the character before the caret too", "    123.45", 5, 5, false, false, del, "     23.45", 5, 23.45},
        {"a digit before the separator", "    123.45", 7, 7, false, false, ch('6'), "   1236.45", 7, 1236.45},
        {"a digit in the leading blanks goes before the number", "    123.45", 2, 2, false, false, ch('9'), "   9123.45", 4, 9123.45},
        {"a digit at the very start goes before the number", "    123.45", 0, 0, false, false, ch('9'), "   9123.45", 4, 9123.45},
        {"a digit in the blanks of a negative number goes behind the sign", "   -123.45", 2, 2, false, false, ch('9'), "  -9123.45", 4, -9123.45},
        {"a digit that does not fit beeps", "1234567.89", 7, 7, false, false, ch('1'), "1234567.89", 7, 1234567.89, true},
        {"the last digit that fits", " 234567.89", 7, 7, false, false, ch('1'), "2345671.89", 7, 2345671.89},
        {"a digit never pushes the first one out", "2345671.89", 7, 7, false, false, ch('1'), "2345671.89", 7, 2345671.89, true},
        {"the separator moves the caret one place right", "    123.45", 5, 5, false, false, ch('.'), "    123.45", 6, 123.45},
        {"a letter changes nothing", "    123.45", 5, 5, false, false, ch('x'), "    123.45", 5, 123.45},
        // fraction
        {"a digit after the first fraction digit", "    123.45", 9, 9, false, false, ch('9'), "    123.49", 10, 123.49},
        {"a digit right after the separator", "    123.45", 8, 8, false, false, ch('9'), "    123.94", 9, 123.94},
        {"a digit at the end changes nothing, the caret stays inside", "    123.45", 10, 10, false, false, ch('9'), "    123.45", 10, 123.45},
        {"the separator in the fraction does nothing", "    123.45", 9, 9, false, false, ch('.'), "    123.45", 9, 123.45},
        {"Backspace at the end", "    123.45", 10, 10, false, false, back, "    123.40", 9, 123.40},
        {"Backspace after the first fraction digit", "    123.45", 9, 9, false, false, back, "    123.50", 8, 123.5},
        {"Backspace right after the separator passes it", "    123.45", 8, 8, false, false, back, "    123.45", 7, 123.45},
        // sign
        {"minus negates", "    123.45", 7, 7, false, false, ch('-'), "   -123.45", 7, -123.45},
        {"plus makes positive", "   -123.45", 7, 7, false, false, ch('+'), "    123.45", 7, 123.45},
        {"minus on a negative does nothing", "   -123.45", 7, 7, false, false, ch('-'), "   -123.45", 7, -123.45},
        {"plus on a positive does nothing", "    123.45", 7, 7, false, false, ch('+'), "    123.45", 7, 123.45},
        // selections and navigation
        {"a selection is removed before the digit", "    123.45", 5, 7, false, false, ch('9'), "     19.45", 7, 19.45},
        {"Backspace on a selection removes only it", "    123.45", 5, 7, false, false, back, "    1.45", 7, 1.45},
        {"Left with a selection drops the removal", "    123.45", 5, 7, false, false, EditKey::pressed(VK_LEFT), "    123.45", 7, 123.45},
        {"Home in replace mode ends it", "    123.45", 0, 10, true, false, EditKey::pressed(VK_HOME), "    123.45", 7, 123.45},
        {"End without a selection leaves the caret to the edit", "    123.45", 3, 3, false, false, EditKey::pressed(VK_END), "    123.45", 3, 123.45},
        // an empty field
        {"Backspace in an empty field", "", 0, 0, false, false, back, "      0.00", 7, 0},
        {"Home in an empty field", "", 0, 0, true, false, EditKey::pressed(VK_HOME), "", 0, 0},
        {"a digit in an empty field", "", 0, 0, false, false, ch('3'), "      3.00", 7, 3},
    };
    const NumberFormat fmt = format(10, 2);
    for (const Case &c : cases)
        run(fmt, c);
}

TEST(NumberEditor, KeysOnAWholeNumberField)
{
    const Case cases[] = {
        {"replace: a digit", "   123", 0, 6, true, false, ch('7'), "     7", 6, 7},
        {"a digit at the end", "   123", 6, 6, false, false, ch('4'), "  1234", 6, 1234},
        {"Backspace at the end", "   123", 6, 6, false, false, EditKey::pressed(VK_BACK), "    12", 6, 12},
        {"the separator does nothing", "   123", 6, 6, false, false, ch('.'), "   123", 6, 123},
        {"full", "123456", 6, 6, false, false, ch('7'), "123456", 6, 123456, true},
        {"Backspace to zero puts the caret at the end", "     5", 6, 6, false, false, EditKey::pressed(VK_BACK), "     0", 6, 0},
    };
    const NumberFormat fmt = format(6, 0);
    for (const Case &c : cases)
        run(fmt, c);
}

TEST(NumberEditor, FormattingDropsThousandsAndCountsASignBeforeBlanks)
{
    const NumberFormat fmt = format(10, 2);
    EXPECT_EQ(SETFIELD(fmt, QStringLiteral("1,234.5")).toStdString(), "   1234.50");
    EXPECT_EQ(SETFIELD(fmt, QStringLiteral("-    12.5")).toStdString(), "    -12.50");
    EXPECT_EQ(SETFIELD(fmt, QStringLiteral("   -12.5"), -1).toStdString(), "     12.50");
    EXPECT_EQ(SETFIELD(fmt, QStringLiteral("abc")).toStdString(), "      0.00");
}

TEST(NumberEditor, ZeroPaddedValue)
{
    EXPECT_EQ(ZEROPAD(42, 6).toStdString(), "000042");
    EXPECT_EQ(ZEROPAD(-5, 3).toStdString(), "-05");
    EXPECT_EQ(ZEROPAD(12.7, 4).toStdString(), "0013");
    EXPECT_EQ(ZEROPAD(123456, 4).toStdString(), "123456"); // never cut
}

TEST(DateKeys, PlusAndMinusMoveAValidDate)
{
    const QString f = QLatin1String(kDateFormat);
    struct Case
    {
        const char *text;
        int days;
        const char *expected; // nullptr: the key does nothing
    };
    const Case cases[] = {
        {"31/12/2023", 1, "01/01/2024"}, {"01/01/2024", -1, "31/12/2023"}, {"28/02/2024", 1, "29/02/2024"},
        {"1/3/2024", -1, "29/02/2024"},  {"  /  /    ", 1, nullptr},       {"31/02/2024", 1, nullptr},
        {"abc", -1, nullptr},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.text);
        const auto got = shiftDateText(QString::fromLatin1(c.text), c.days, f);
        if (c.expected) {
            ASSERT_TRUE(got.has_value());
            EXPECT_EQ(got->toStdString(), c.expected);
        } else {
            EXPECT_FALSE(got.has_value());
        }
    }
}

TEST(DateKeys, FirstDayOfTheWeekFromTheSystem)
{
    EXPECT_EQ(firstDayOfTheWeek(Qt::Monday), 2u);
    EXPECT_EQ(firstDayOfTheWeek(Qt::Sunday), 1u);
    for (const Qt::DayOfWeek other : {Qt::Tuesday, Qt::Thursday, Qt::Saturday})
        EXPECT_EQ(firstDayOfTheWeek(other), 0u) << other;
}
