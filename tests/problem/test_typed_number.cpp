// The one rule for numbers typed into dialog and form fields: what is wrong with a typed text, the word
// that names the field, and which characters a keystroke may bring.

#include "problem/typed_number.h"

#include <gtest/gtest.h>

using namespace vexo;

TEST(TypedNumber, FaultsInOrder)
{
    using F = TypedNumberFault;
    struct Case { const char *text; bool sign; F fault; };
    const Case cases[] = {
        {"", false, F::Empty},           {"   ", true, F::Empty},          {"abc", false, F::NotANumber},
        {"2x5", true, F::NotANumber},    {"1.2.3", false, F::NotANumber},  {"1-2", true, F::NotANumber},
        {".", false, F::NotANumber},     {"-", true, F::NotANumber},       {"-5", false, F::Negative},
        {" -0,5 ", false, F::Negative},  {"-0", false, F::None},           {"-5", true, F::None},
        {"12,5", false, F::None},        {"    1000.00", false, F::None},  {"7.", false, F::None},
    };
    for (const Case &c : cases)
        EXPECT_EQ(typedNumberFault(QString::fromUtf8(c.text), c.sign), c.fault) << c.text << " sign " << c.sign;
}

TEST(TypedNumber, WordsNameTheField)
{
    const QString field = QStringLiteral("Mikser kapasitesi");
    EXPECT_EQ(typedNumberRefusal(field, TypedNumberFault::None), QString());
    EXPECT_EQ(typedNumberRefusal(field, TypedNumberFault::Empty), QStringLiteral("Mikser kapasitesi girilmedi..."));
    EXPECT_EQ(typedNumberRefusal(field, TypedNumberFault::NotANumber),
              QStringLiteral("Mikser kapasitesi için girilen değer bir sayı değil: eski değer korundu..."));
    EXPECT_EQ(typedNumberRefusal(field, TypedNumberFault::Negative),
              QStringLiteral("Mikser kapasitesi eksi olamaz: eski değer korundu..."));
    EXPECT_TRUE(numberCharactersText(field).contains(QStringLiteral("eksi")));
    EXPECT_FALSE(numberCharactersText(field, false).contains(QStringLiteral("eksi")));
    EXPECT_TRUE(numberCharactersText(field, false).startsWith(field));
}

TEST(TypedNumber, CharactersAKeystrokeMayBring)
{
    struct Case { const char *text; bool allowed; };
    const Case cases[] = {
        {"", true},       {"    1000.00", true}, {"-12,5", true}, {"1.2.3", true}, {"  ", true},
        {"2x5", false},   {"12 5", false},       {"12 ", false},  {"abc", false}, {"5%", false},
    };
    for (const Case &c : cases)
        EXPECT_EQ(numberCharactersOnly(QString::fromUtf8(c.text)), c.allowed) << c.text;
}
