#include "editfields/masks.h"

#include <gtest/gtest.h>

#include <string>

using namespace vexo;

namespace {

EditKey ch(char c)
{
    return EditKey::typed(QLatin1Char(c));
}

// Types the characters one after another, the caret following each key.
MaskResult typeNumber(MaskResult r, const char *keys, int intLen, int decimals)
{
    for (const char *k = keys; *k; ++k)
        r = numberMaskKey({r.text, r.caret, r.caret}, ch(*k), intLen, decimals);
    return r;
}

MaskResult typeDate(MaskResult r, const char *keys)
{
    for (const char *k = keys; *k; ++k)
        r = dateMaskKey({r.text, r.caret, r.caret}, ch(*k), QDate(2024, 6, 1));
    return r;
}

// One key on a masked text and what the mask should show afterwards.
struct KeyCase
{
    const char *what;
    const char *text;
    int selStart;
    int selFinish;
    EditKey key;
    const char *expected;
    int caret;
    int decimals = 0; // number mask only
};

std::string s(const QString &t)
{
    return t.toStdString();
}

} // namespace

TEST(NumberMask, TypingGroupsTheIntegerPartAndKeepsItsLength)
{
    // a field of ten characters with two decimals keeps seven integer digits
    MaskResult r = typeNumber({}, "1234567", 7, 2);
    EXPECT_EQ(s(r.text), "1,234,567");
    EXPECT_EQ(r.caret, 9);
    r = typeNumber(r, ".5", 7, 2);
    EXPECT_EQ(s(r.text), "1,234,567.5");
    // a second point inserts nothing and puts the caret behind the existing one
    const MaskResult again = numberMaskKey({r.text, 3, 3}, ch('.'), 7, 2);
    EXPECT_EQ(s(again.text), "1,234,567.5");
    EXPECT_EQ(again.caret, 10);

    const MaskResult atEnd = typeNumber(typeNumber({}, "1234567", 7, 2), "8", 7, 2);
    EXPECT_EQ(s(atEnd.text), "1,234,567"); // an eighth digit at the end disappears
    const MaskResult inFront = numberMaskKey({QStringLiteral("1,234,567"), 0, 0}, ch('9'), 7, 2);
    EXPECT_EQ(s(inFront.text), "9,123,456"); // further left it pushes the last digit out
}

TEST(NumberMask, SeparatorsSignAndClearing)
{
    const KeyCase cases[] = {
        {"a comma acts as the point", "12", 2, 2, ch(','), "12.", 3, 2},
        {"without decimals a point is refused", "12", 2, 2, ch('.'), "12", 2, 0},
        {"without decimals a comma is refused", "12", 2, 2, ch(','), "12", 2, 0},
        {"minus negates, the caret one place right", "1,234", 2, 2, ch('-'), "-1,234", 3, 0},
        {"plus removes the sign", "-1,234", 3, 3, ch('+'), "1,234", 2, 0},
        {"a blank clears", "1,234.50", 3, 3, ch(' '), "", 0, 2},
        {"a letter changes nothing", "1,234", 5, 5, ch('x'), "1,234", 5, 0},
        {"Backspace removes the digit before the caret", "1,234", 5, 5, EditKey::typed(QChar(8)), "123", 3, 0},
        {"Delete removes the digit after the caret", "1,234", 0, 0, EditKey::pressed(VK_DELETE), "234", 0, 0},
        {"Delete at the end removes nothing", "1,234", 5, 5, EditKey::pressed(VK_DELETE), "1,234", 5, 0},
        {"a selection is replaced", "1,234", 2, 4, ch('9'), "194", 2, 0},
        {"a digit after a lone minus", "-", 0, 0, ch('5'), "-5", 2, 0},
    };
    for (const KeyCase &c : cases) {
        SCOPED_TRACE(c.what);
        const MaskResult r = numberMaskKey({QString::fromLatin1(c.text), c.selStart, c.selFinish}, c.key, 10, c.decimals);
        EXPECT_EQ(s(r.text), c.expected);
        EXPECT_EQ(r.caret, c.caret);
        EXPECT_TRUE(r.changed);
    }
    EXPECT_FALSE(numberMaskKey({QStringLiteral("12"), 1, 1}, EditKey::pressed(VK_LEFT), 10, 0).changed);
}

TEST(DateMask, TypingJumpsOverTheDots)
{
    const MaskResult r = typeDate({QLatin1String(kDateMask), 0, true}, "15032024");
    EXPECT_EQ(s(r.text), "15.03.2024");
    EXPECT_EQ(r.caret, 10);
    const MaskResult two = typeDate({QLatin1String(kDateMask), 0, true}, "15");
    EXPECT_EQ(two.caret, 3); // over the first dot
    const MaskResult four = typeDate(two, "03");
    EXPECT_EQ(four.caret, 6); // over the second
}

TEST(DateMask, KeysAndCommands)
{
    const KeyCase cases[] = {
        {"M: a month on", "12.05.2023", 0, 0, ch('M'), "12.06.2023", 0},
        {"m: a month back", "12.05.2023", 0, 0, ch('m'), "12.04.2023", 0},
        {"Y: a year on", "12.05.2023", 0, 0, ch('Y'), "12.05.2024", 0},
        {"y: a year back", "12.05.2023", 0, 0, ch('y'), "12.05.2022", 0},
        {"plus: a day on", "12.05.2023", 0, 0, ch('+'), "13.05.2023", 0},
        {"D: a day on", "31.12.2023", 0, 0, ch('D'), "01.01.2024", 0},
        {"minus: a day back", "01.03.2024", 0, 0, ch('-'), "29.02.2024", 0},
        {"d: a day back", "12.05.2023", 0, 0, ch('d'), "11.05.2023", 0},
        {"31 January and a month keeps a valid date", "31.01.2023", 0, 0, ch('M'), "28.02.2023", 0},
        {"29 February and a year", "29.02.2024", 0, 0, ch('Y'), "28.02.2025", 0},
        {"star: today", "  .  .    ", 0, 0, ch('*'), "01.06.2024", 0},
        {"blank: clear", "12.05.2023", 4, 4, ch(' '), "  .  .    ", 4},
        {"a day step on no date does nothing", "  .05.2023", 0, 0, ch('+'), "  .05.2023", 0},
        {"a month step on no date gives the empty date", "  .  .    ", 0, 0, ch('M'), "  .  .    ", 0},
        {"other characters are swallowed", "12.05.2023", 3, 3, ch('x'), "12.05.2023", 3},
        {"Backspace right behind a dot blanks the digit before it", "12.05.2023", 3, 3,
         EditKey::typed(QChar(8)), "1 .05.2023", 1},
        {"Backspace blanks the digit before the caret", "12.05.2023", 5, 5, EditKey::typed(QChar(8)), "12.0 .2023", 4},
        {"Backspace at the start does nothing", "12.05.2023", 0, 0, EditKey::typed(QChar(8)), "12.05.2023", 0},
        {"Delete moves the digits behind the caret left", "12.05.2023", 0, 0, EditKey::pressed(VK_DELETE),
         "20.52.023 ", 0},
        {"Backspace with a selection removes nothing", "12.05.2023", 0, 4, EditKey::typed(QChar(8)), "12.05.2023", 0},
        {"a digit over a selection blanks it first", "12.05.2023", 0, 5, ch('3'), "3 .  .2023", 1},
        {"a digit on a dot is written behind it", "12.05.2023", 2, 2, ch('7'), "12.75.2023", 4},
        {"a digit at the end is not taken", "12.05.2023", 10, 10, ch('7'), "12.05.2023", 10},
        {"a short text is read with the mask's places", "12", 2, 2, ch('0'), "12.0 .    ", 4},
    };
    for (const KeyCase &c : cases) {
        SCOPED_TRACE(c.what);
        const MaskResult r = dateMaskKey({QString::fromLatin1(c.text), c.selStart, c.selFinish}, c.key, QDate(2024, 6, 1));
        EXPECT_EQ(s(r.text), c.expected);
        EXPECT_EQ(r.caret, c.caret);
    }
}

TEST(DateMask, MonthArithmeticCutsTheDay)
{
    struct Case
    {
        QDate from;
        int months;
        QDate expected;
    };
    const Case cases[] = {
        {QDate(2023, 1, 31), 1, QDate(2023, 2, 28)},  {QDate(2024, 1, 31), 1, QDate(2024, 2, 29)},
        {QDate(2023, 3, 31), -1, QDate(2023, 2, 28)}, {QDate(2024, 3, 15), -1, QDate(2024, 2, 15)},
        {QDate(2023, 12, 15), 1, QDate(2024, 1, 15)}, {QDate(2024, 1, 15), -1, QDate(2023, 12, 15)},
        {QDate(2024, 2, 29), 12, QDate(2025, 2, 28)}, {QDate(2024, 2, 29), 48, QDate(2028, 2, 29)},
        {QDate(2024, 5, 12), 0, QDate(2024, 5, 12)},  {QDate(), 1, QDate()},
    };
    for (const Case &c : cases)
        EXPECT_EQ(DATE_ADDMONTH(c.from, c.months), c.expected) << c.from.toString().toStdString() << " " << c.months;
}

TEST(NumberMask, CaretPositionsAcrossCommas)
{
    const QString shown = QStringLiteral("1,234,567");
    EXPECT_EQ(SETPOS(shown, 5, 5, true), 4);  // after "1,234" in the shown text: four digits
    EXPECT_EQ(SETPOS(shown, 9, 9, true), 7);
    EXPECT_EQ(SETPOS(shown, 7, 7, false), 9); // seven digits: the end of the shown text
    EXPECT_EQ(SETPOS(shown, 0, 0, false), 0);
}
