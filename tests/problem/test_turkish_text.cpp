#include "problem/turkish_text.h"

#include "platform/cp1254_codec.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

using namespace vexo;

namespace {

// gtest cannot print Qt texts; UTF-8 copies make failures readable.
std::string u8(const QString &s)
{
    return s.toStdString();
}

std::vector<std::string> u8(const QStringList &list)
{
    std::vector<std::string> out;
    for (const QString &s : list)
        out.push_back(s.toStdString());
    return out;
}

QString q(const char *utf8)
{
    return QString::fromUtf8(utf8);
}

using Words = std::vector<std::string>;

} // namespace

TEST(TurkishText, TrupperUsesDottedAndDotlessI)
{
    struct Case { const char *in; const char *out; };
    const Case cases[] = {
        {"istanbul ılık şöğüç", "İSTANBUL ILIK ŞÖĞÜÇ"},
        {"Iİıi", "IİIİ"},
        {"ağırlık İşçi", "AĞIRLIK İŞÇİ"},
        {"  kepek 2,5 ", "  KEPEK 2,5 "}, // not trimmed
        {"", ""},
        {"àéÿšœ ß µ ƒ", "ÀÉŸŠŒ ß µ ƒ"}, // code-page capitals; ß µ ƒ have none
        {"жz😀", "жZ😀"}, // outside the code page: unchanged
    };
    for (const Case &c : cases) {
        const QString in = q(c.in);
        EXPECT_EQ(u8(TRUPPER(in)), c.out) << c.in;
        EXPECT_EQ(u8(TRUPPERQV(in)), c.out) << c.in;
        EXPECT_EQ(TRUPPER(in).size(), in.size()) << c.in;
    }
}

TEST(TurkishText, TrupperMapsEveryCodePageByteToACodePageByte)
{
    for (int b = 0; b < 256; ++b) {
        int expected = b;
        if (b == 'i')
            expected = 0xDD; // İ
        else if (b == 0xFD)
            expected = 'I'; // ı
        else if ((b >= 'a' && b <= 'z') || (b >= 0xE0 && b <= 0xFE && b != 0xF7))
            expected = b - 0x20;
        else if (b == 0x9A || b == 0x9C)
            expected = b - 0x10; // š→Š, œ→Œ
        else if (b == 0xFF)
            expected = 0x9F; // ÿ→Ÿ
        const QString in(Cp1254Codec::toUnicode(static_cast<unsigned char>(b)));
        int bad = 0;
        const QByteArray out = Cp1254Codec::encode(TRUPPER(in), &bad);
        ASSERT_EQ(bad, 0) << b;
        ASSERT_EQ(out.size(), 1) << b;
        EXPECT_EQ(static_cast<unsigned char>(out.at(0)), expected) << "byte " << b;
    }
}

TEST(TurkishText, PlainLetters)
{
    struct Case { const char *in; const char *direct; const char *upper; };
    const Case cases[] = {
        {"Ağırlık İşçi", "Agirlik Isci", "AGIRLIK ISCI"},
        {"çğıöşüÇĞİÖŞÜ", "cgiosuCGIOSU", "CGIOSUCGIOSU"},
        {"iI àé 1-2", "iI àé 1-2", "II ÀÉ 1-2"}, // i and I are plain letters
        {"", "", ""},
    };
    for (const Case &c : cases) {
        const QString in = q(c.in);
        EXPECT_EQ(u8(TRENDIRECT2(in)), c.direct) << c.in;
        EXPECT_EQ(u8(TRENDIRECT(in)), c.direct) << c.in;
        EXPECT_EQ(u8(TRENUPPER(in)), c.upper) << c.in;
        EXPECT_EQ(TRENDIRECT2(in).size(), in.size()) << c.in;
    }
}

TEST(TurkishText, TurkceSortKey)
{
    struct Case { const char *in; const char *key; };
    const Case cases[] = {
        {"çam", "C[AM"},
        {"ılık", "ILIK"},
        {"iğne", "IG[NE"}, // no dotted-i rule: i sorts as the dotless letter
        {"İz", "I[Z"},
        {"şöğüç", "S[O[G[U[C["},
        {"ÇÖŞÜ", "C[O[S[U["},
        {"é", "É"},
        {"", ""},
    };
    for (const Case &c : cases)
        EXPECT_EQ(u8(TURKCE(q(c.in))), c.key) << c.in;

    const char *words[] = {"d", "çam", "cz", "ca", "ılık", "İz", "ib", "şa", "sz", "t"};
    std::vector<std::string> sorted(std::begin(words), std::end(words));
    std::sort(sorted.begin(), sorted.end(), [](const std::string &a, const std::string &b) {
        return TURKCE(QString::fromStdString(a)) < TURKCE(QString::fromStdString(b));
    });
    EXPECT_EQ(sorted, (Words{"ca", "cz", "çam", "d", "ib", "ılık", "İz", "sz", "şa", "t"}));
}

TEST(TurkishText, TrdirectGivesTheConsoleBytes)
{
    const QString letters = q("şŞÜüöÖıİçÇĞğ");
    const QString oem = TRDIRECT(letters);
    EXPECT_EQ(oem.size(), letters.size());
    EXPECT_EQ(Cp1254Codec::encode(oem), QByteArray("\x9F\x9E\x9A\x81\x94\x99\x8D\x98\x87\x80\xA6\xA7"));
    EXPECT_EQ(u8(TRDIRECT(q("Iİ iı aé"))), u8(q("I\u02DC i\u008D aé")));
}

TEST(TurkishText, SafeNames)
{
    struct Case { const char *in; const char *chrcont; const char *ample; };
    const Case cases[] = {
        {"  a.b/c  ", "a_b_c", "a_b_c"},
        {"Ham Protein", "Ham Protein", "Ham_Protein"},
        {"yeni dosya", "yeni dosya", "yeni_dosya"},
        {"|:.\\*/<>", "________", "________"},
        {"Ca?\"ş_1", "Ca?\"ş_1", "Ca__ş_1"},
        {"~`!@#$%^&*()+\\-|/=?.,<>';:[]{} \"", "~`!@#$%^&_()+_-__=?_,__';_[]{} \"",
         "________________________________"},
        {"   ", "", ""},
        {"", "", ""},
    };
    for (const Case &c : cases) {
        EXPECT_EQ(u8(CHRCONT(q(c.in))), c.chrcont) << c.in;
        EXPECT_EQ(u8(CHRCONTAMPLE(q(c.in))), c.ample) << c.in;
    }
}

TEST(TurkishText, ScharFromBaseCleansOnlyTheBaseName)
{
    struct Case { const char *in; const char *out; };
    const Case cases[] = {
        {"C:\\Veri\\yeni dosya.VKD", "C:\\Veri\\YENİ DOSYA.VKD"},
        {"/home/ali/Veri/yeni dosya.VKD", "/home/ali/Veri/YENİ DOSYA.VKD"},
        {"rapor.html", "RAPOR_HTML"}, // four letters are no extension
        {"/v/a.b.vkd", "/v/A_B.vkd"},
        {"/v.d/isim", "/v.d/İSİM"},
        {"karma\\eski/a b.txt", "karma\\eski/A B.txt"},
        {"/v/  çim .VKD", "/v/ÇİM.VKD"},
        {"/v/ab.VKD  ", "/v/AB.VKD"},
        {"/v/", "/v/"},
        {"", ""},
    };
    for (const Case &c : cases)
        EXPECT_EQ(u8(SCHARFROMBASE(q(c.in))), c.out) << c.in;
}

TEST(TurkishText, Text2RtfKeepsThePlainText)
{
    struct Case { const char *in; const char *out; };
    const Case cases[] = {
        {"Ağırlık İşçi", "Ağırlık İşçi"},
        {"a\nb", "a\r\nb"},
        {"a\r\nb\rc\n", "a\r\nb\r\nc\r\n"},
        {"x\u00A0y\tz", "x\u00A0y\tz"},
        {"", ""},
    };
    for (const Case &c : cases) {
        EXPECT_EQ(u8(TEXT2RTF(q(c.in), QStringLiteral("Arial"), 10)), c.out) << c.in;
        EXPECT_EQ(u8(TEXT2RTF(q(c.in), QString(), 0)), c.out) << c.in;
    }
}

TEST(TurkishText, SeparatorPositions)
{
    struct Case { const char *text; const char *seps; QList<int> positions; };
    const Case cases[] = {
        {"MISIR GLUTEN UNU", " .,;:", {6, 13}},
        {"a,b.c d", " .,", {2, 4, 6}}, // ascending, whatever the order of the separators
        {"a b", "  ", {2}}, // a repeated separator character counts once
        {"abc", " ", {}},
        {"abc", "", {}},
        {"", " ", {}},
    };
    for (const Case &c : cases)
        EXPECT_EQ(ASEPPOSINSTR(q(c.text), q(c.seps)), c.positions) << c.text;
}

TEST(TurkishText, WordsUsingSeparators)
{
    struct Case { const char *text; const char *seps; Words words; };
    const Case cases[] = {
        {"MISIR GLUTEN UNU", " .,;:", {"MISIR ", "GLUTEN ", "UNU"}},
        {"MISIRGLUTEN", " .,;:", {}}, // one word gives no words
        {"  SOYA   KÜSPESİ  ", " ", {"SOYA ", " ", "KÜSPESİ"}}, // two blanks to one in a single pass
        {"DCP, %18 P", " .,;:", {"DCP,", "%18 ", "P"}},
        {"A ,B", " ,", {"A,", "B"}},
        {"Ca.,P", " .,", {"Ca.", "P"}},
        {"ARPA.", " .,;:", {"ARPA."}},
        {"A B", "", {}},
        {"", " ", {}},
    };
    for (const Case &c : cases)
        EXPECT_EQ(u8(STRING2ARRAYUSINGSEPS(q(c.text), q(c.seps))), c.words) << c.text;
}

TEST(TurkishText, SplitWordsIntoColumns)
{
    struct Case { Words words; int n; Words columns; };
    const Case cases[] = {
        {{"MISIR ", "GLUTEN ", "UNU"}, 2, {"MISIR  ", "GLUTEN  UNU"}},
        {{"MISIR ", "GLUTEN ", "UNU"}, 3, {"MISIR  ", "GLUTEN  ", "UNU"}},
        {{"MISIR ", "GLUTEN ", "UNU"}, 4, {}},
        {{"MISIR ", "GLUTEN ", "UNU"}, 1, {}},
        {{"MISIR "}, 1, {}},
        {{}, 2, {}},
        {{"A", "", "B", "C"}, 2, {"A ", "B C"}}, // an empty word adds nothing
        {{"A", "B", "C", "", "E"}, 3, {"A ", "B ", "C  E"}}, // but a left-over empty word adds its blank
        {{"A", "B", "C", "D", "E"}, 2, {"A B ", "C D E"}},
    };
    for (const Case &c : cases) {
        QStringList words;
        for (const std::string &w : c.words)
            words.append(QString::fromStdString(w));
        EXPECT_EQ(u8(SPLITARRAYASASTRING(words, c.n)), c.columns) << c.n << " of " << c.words.size();
    }

    // The active-matrix header: a name cut into words and spread over two lines.
    const QStringList two = SPLITARRAYASASTRING(STRING2ARRAYUSINGSEPS(q("MISIR GLUTEN UNU"), q(" .,;:")), 2);
    EXPECT_EQ(u8(two), (Words{"MISIR  ", "GLUTEN  UNU"}));
}

TEST(TurkishText, PiecesBetweenSeparators)
{
    struct Case { const char *text; const char *sep; Words pieces; };
    const Case cases[] = {
        {"a;;b;", ";", {"a", "", "b"}},
        {"", ";", {}},
        {"abc", ";", {"abc"}},
        {";a", ";", {"", "a"}},
        {"a;  ", ";", {"a"}}, // a blank rest is dropped
        {"a;  ;b", ";", {"a", "  ", "b"}}, // a blank piece before a separator is kept
        {"  ", ";", {}},
        {"a<>b<>c", "<>", {"a", "b", "c"}},
        {"a b", "", {"a b"}},
    };
    for (const Case &c : cases)
        EXPECT_EQ(u8(QVSTRING2ARRAY(q(c.text), q(c.sep))), c.pieces) << c.text;
}

TEST(TurkishText, TurkishOrderIsCodePageOrderOfTheUpperCase)
{
    const char *words[] = {"zeytin", "İnci", "ılık", "Irmak", "çam", "Ceviz", "Dut", "ayva", "Şeker",
                           "Su", "ğ", "AYVA", "ayvalar"};
    std::vector<std::string> sorted(std::begin(words), std::end(words));
    std::stable_sort(sorted.begin(), sorted.end(), [](const std::string &a, const std::string &b) {
        return turkishLess(QString::fromStdString(a), QString::fromStdString(b));
    });
    // Turkish capitals have bytes above Z, so they come after the plain letters.
    EXPECT_EQ(sorted, (Words{"ayva", "AYVA", "ayvalar", "Ceviz", "Dut", "ılık", "Irmak", "Su", "zeytin",
                             "çam", "ğ", "İnci", "Şeker"}));

    EXPECT_EQ(compareTurkish(q("istanbul"), q("İSTANBUL")), 0);
    EXPECT_EQ(compareTurkish(q("ılık"), q("ILIK")), 0);
    EXPECT_LT(compareTurkish(q("I"), q("i")), 0); // i is the dotted İ
    EXPECT_GT(compareTurkish(q("ж"), q("ÿ")), 0); // outside the code page after every byte
    EXPECT_FALSE(turkishLess(q("a"), q("A")));
    EXPECT_FALSE(turkishLess(q("A"), q("a")));
}

TEST(TurkishText, TurkishCompareAgreesWithBytesOfTrupper)
{
    const char *texts[] = {"", "a", "A", "ab", "aB", "abc", "ı", "I", "i", "İ", "ç", "Ç", "c", "d",
                           "z", "[", "_", "é", "É", "ÿ", "Ÿ", "1", " ", "ş a", "Ş"};
    for (const char *a : texts) {
        for (const char *b : texts) {
            const QByteArray ba = Cp1254Codec::encode(TRUPPER(q(a)));
            const QByteArray bb = Cp1254Codec::encode(TRUPPER(q(b)));
            const int expected = (ba > bb) - (ba < bb);
            const int got = compareTurkish(q(a), q(b));
            EXPECT_EQ((got > 0) - (got < 0), expected) << a << " vs " << b;
        }
    }
}
