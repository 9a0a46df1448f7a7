// The keyed scramble that scrambled character fields and settings use.
#include "platform/crypt.h"

#include "platform/cp1254_codec.h"

#include <QRandomGenerator>
#include <QSet>
#include <QStringList>

#include <gtest/gtest.h>

using namespace vexo;

namespace {

QString randomText(QRandomGenerator &rng, const QString &alphabet, int length)
{
    QString s;
    for (int i = 0; i < length; ++i)
        s += alphabet.at(int(rng.bounded(quint32(alphabet.size()))));
    return s;
}

TEST(Crypt, IsItsOwnInverseUnderTheSameKeyAndKeepsTheLength)
{
    QRandomGenerator rng(1254);
    QString everyByte;
    for (int b = 0; b < 256; ++b)
        everyByte += Cp1254Codec::toUnicode(uchar(b));
    const QStringList keys = {QStringLiteral("kvz"), QStringLiteral("abc"), QStringLiteral("x"), QString()};
    for (const QString &key : keys) {
        for (int n = 0; n < 300; ++n) {
            const QString plain = randomText(rng, everyByte + QStringLiteral("€Ω"), n % 60);
            const QString scrambled = Crypt(plain, key);
            EXPECT_EQ(scrambled.size(), plain.size());
            EXPECT_EQ(Crypt(scrambled, key), plain);
        }
    }
}

TEST(Crypt, PrintableTextScramblesToPrintableTextWithoutTheForbiddenCharacters)
{
    const QString &alpha = cryptAlphabet();
    for (const QChar bad : {QChar(0), QChar(u'\r'), QChar(u'\n'), QChar(u'['), QChar(u'='), QChar(0x7F), QChar(0xA0)})
        EXPECT_FALSE(alpha.contains(bad));
    for (const QChar c : alpha) {
        EXPECT_TRUE(c.isPrint()) << int(c.unicode());
        EXPECT_GE(Cp1254Codec::fromUnicode(c), 0x20);
    }
    // Every Turkish letter and every printable ASCII character except "[" and "=" is in the set.
    for (const QChar c : QStringLiteral("çğıöşüÇĞİÖŞÜ azAZ09!\"#$%&'()*+,-./:;<>?@\\]^_`{|}~"))
        EXPECT_TRUE(alpha.contains(c)) << int(c.unicode());

    QRandomGenerator rng(47);
    for (int n = 0; n < 2000; ++n) {
        const QString plain = randomText(rng, alpha, 20);
        const QString scrambled = Crypt(plain, QStringLiteral("kvz"));
        for (const QChar c : scrambled)
            ASSERT_TRUE(alpha.contains(c)) << int(c.unicode());
    }
    // The characters outside the set pass unchanged, so no line break is ever made or lost.
    EXPECT_EQ(Crypt(QStringLiteral("a\r\n[=]"), QStringLiteral("kvz")).mid(1, 4), QStringLiteral("\r\n[="));
}

TEST(Crypt, TheKeyAndThePositionChangeTheResult)
{
    const QString blanks(20, u' ');
    const QString a = Crypt(blanks, QStringLiteral("kvz"));
    const QString b = Crypt(blanks, QStringLiteral("kva"));
    EXPECT_NE(a, b);
    EXPECT_NE(a, blanks);
    // A run of one character does not scramble to a run.
    EXPECT_GT(QSet<QChar>(a.begin(), a.end()).size(), 5);
    EXPECT_EQ(Crypt(QStringLiteral("PLNV"), QStringLiteral("kvz")), Crypt(QStringLiteral("PLNV"), QStringLiteral("kvz")));
}

} // namespace
