#include "platform/cp1254_codec.h"

#include <gtest/gtest.h>

using vexo::Cp1254Codec;

TEST(Cp1254Codec, EveryByteRoundTrips)
{
    QByteArray all;
    for (int b = 0; b < 256; ++b)
        all.append(static_cast<char>(b));
    const QString text = Cp1254Codec::decode(all);
    ASSERT_EQ(text.size(), 256);
    int bad = 0;
    EXPECT_EQ(Cp1254Codec::encode(text, &bad), all);
    EXPECT_EQ(bad, 0);
    // No two bytes decode to the same character.
    for (int i = 0; i < 256; ++i)
        for (int j = i + 1; j < 256; ++j)
            ASSERT_NE(text.at(i), text.at(j)) << i << " " << j;
}

TEST(Cp1254Codec, TurkishLettersAndSpecialPositions)
{
    struct Case { unsigned char byte; char16_t unicode; };
    const Case cases[] = {
        {0xE7, u'ç'}, {0xC7, u'Ç'}, {0xF0, u'ğ'}, {0xD0, u'Ğ'}, {0xFD, u'ı'}, {0x49, u'I'},
        {0x69, u'i'}, {0xDD, u'İ'}, {0xF6, u'ö'}, {0xD6, u'Ö'}, {0xFE, u'ş'}, {0xDE, u'Ş'},
        {0xFC, u'ü'}, {0xDC, u'Ü'}, {0x80, u'€'}, {0x9F, u'Ÿ'}, {0x96, u'–'}, {0xA0, 0xA0},
        {0x81, 0x81},
    };
    for (const Case &c : cases) {
        EXPECT_EQ(Cp1254Codec::toUnicode(c.byte).unicode(), c.unicode) << int(c.byte);
        EXPECT_EQ(Cp1254Codec::fromUnicode(QChar(c.unicode)), int(c.byte)) << int(c.byte);
    }
}

TEST(Cp1254Codec, UnmappableCharactersBecomeQuestionMarksAndAreCounted)
{
    int bad = 0;
    // Latin-1 letters whose places the Turkish letters took, a Cyrillic letter and an emoji.
    const QString text = QStringLiteral("a\u00D0b\u00FEж😀");
    EXPECT_EQ(Cp1254Codec::encode(text, &bad), QByteArray("a?b???"));
    EXPECT_EQ(bad, 4);
    EXPECT_FALSE(Cp1254Codec::fits(text));
    EXPECT_TRUE(Cp1254Codec::fits(QStringLiteral("AĞIRLIK şöğüç")));
}

TEST(Cp1254Codec, WidthInCharactersNotBytes)
{
    const QString weight = QStringLiteral("AĞIRLIK");
    EXPECT_EQ(weight.size(), 7);
    EXPECT_EQ(Cp1254Codec::encode(weight).size(), 7);
    EXPECT_EQ(weight.toUtf8().size(), 8);
    EXPECT_EQ(Cp1254Codec::decode(Cp1254Codec::encode(weight)), weight);
}
