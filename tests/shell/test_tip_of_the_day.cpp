#include "platform/cp1254_codec.h"
#include "shell/tip_of_the_day.h"

#include <QMap>
#include <QSet>

#include <gtest/gtest.h>

#include <iterator>

using namespace vexo;

namespace {

// The words each tip begins with, in table order.
const char16_t *const kBeginnings[] = {
    u"Bilgisayarda En Düşük Maliyetli Yem Formülü Hazırlamada",
    u"DP ile yem formülü hazırlamada; çözüm sonuçunda",
    u"Giriş İçin Marjinal Fiyat Değişikliği düşülerek elde",
    u"DP ile çözüm sonucunda yeme girmeyen bir",
    u"DP ile yem formulasyonuda elde edilen bilgilerden",
    u"Gölge Fiyat; besin maddesi ihtiyaç seviyesindeki bir",
    u"DP ile yem formülü hazırlanırken; bir yem",
    u"DP ile yem formülü hazırlanırken, yem maddeleri",
    u"DP ile yem formülasyonunda, yem maddeleri kompozisyonu",
    u"DP ile yem formülasyonunda, besin maddesi faktörleri",
    u"DP ile yem formülü hazırlanırken, birden fazla",
    u"DP ile yem formülasyonunda; hayvanların günlük besin",
    u"Yem formülasyonu amaçlı DP probleminde; Amaç fonksiyonu",
    u"DP'nın en önemli sonuçlarından birisi de Hassasiyet",
    u"Parametrik fiyat değişimi çalışmasında; bir yem maddesinin",
    u"Parametrik Fiyat Değişikliği; grafik bir çalışma olup",
    u"Parametrik besin maddesi değişimi; Gölge Fiyata bakarak",
    u"Çoklu karma işleminde işin en zor yanı",
    u"DP ile yem formülasyonunda çözümsüzlüğün temel sebeplerinden",
    u"VEXO_Zud; DP metotları kullanan bir En Düşük",
    u"VEXO_Zud'da bir problem (yem formülü hazırlama) için",
    u"VEXO_Zud'da yem maddeleri bilgileri girilirken, yem maddelerine",
    u"VEXO_Zud'da yem maddeleri bilgileri girilirken, ilk etapta",
    u"VEXO_Zud'da yem maddeleri girişinde Üst sınır verme",
    u"VEXO_Zud'da karma yem formülü hazırlamada; besin maddesi",
    u"VEXO_Zud'da besin maddeleri girişinde; AGIRLIK değişkenine genelde",
    u"VEXO_Zud'da hazırlanacak yemin özellikleri besin maddesi girişinde",
    u"VEXO_Zud'te besin maddesi ihtiyaçları ilgili girişte verilirken",
    u"VEXO_Zud'da sınırlık verilmeyen fakat listede yer alan",
    u"VEXO_Zud'da matris girişi doğrudam program aracılığıyla yapılabilir",
    u"VEXO_Zud'da NRC'ye ait matris, referans olarak kullanılmaktadır",
    u"VEXO_Zud'da Besin maddesi bağlama işlemi aktif matris",
    u"VEXO_Zud'da doğrudan oran girişi yapılabilmektedir. Besin maddesi",
    u"VEXO_Zud'da oran verilirken sabit olarak girilmelidir. Ancak",
    u"Oran girişi olmayan programlarda, besin maddeleri arasında",
    u"Bir VEXO_Zud çıktısında; Optimum çözüm bulundu ifadesi",
    u"VEXO_Zud'da Aktif problem matrisinde tüm yem maddelerinin",
    u"Bir VEXO_Zud çıktısında; mevcut çözüm bölümünde yer",
    u"Bir VEXO_Zud çıktısında; Maliyet Durumu bölümünde rapor",
    u"Bir VEXO_Zud çıktısında; Giriş İçin Marjinal Fiyat",
    u"Bir VEXO_Zud çıktısında; Giriş için marjinal fiyat",
    u"VEXO_Zud'da, girişlerde sınırlık verilen yem ve besin",
    u"VEXO_Zud'da Gölge Fiyat'dan yararlanarak karma yem maliyetini",
    u"Karmaya girmeyen bir yem maddesi, 'Giriş İçin",
};

TEST(TipTable, HoldsTheFortyFourTipsInOrder)
{
    const QList<TipRow> table = CREATETIPARRAY();
    ASSERT_EQ(table.size(), 44);
    ASSERT_EQ(std::size(kBeginnings), 44u);
    QSet<QString> seen;
    for (int i = 0; i < table.size(); ++i) {
        const TipRow &row = table.at(i);
        const QString begin = QString::fromUtf16(kBeginnings[i]);
        SCOPED_TRACE(i + 1);
        EXPECT_EQ(row.heading, QStringLiteral("Biliyor muydunuz?"));
        EXPECT_TRUE(row.more);
        // The given words end at a word's end: a blank or a punctuation mark follows them.
        EXPECT_TRUE(row.text.startsWith(begin)) << qPrintable(row.text);
        EXPECT_FALSE(row.text.at(begin.size()).isLetterOrNumber()) << qPrintable(row.text);
        EXPECT_GE(row.text.size(), 82);
        EXPECT_LE(row.text.size(), 268);
        EXPECT_FALSE(row.text.contains(u'\n') || row.text.contains(u'\r') || row.text.contains(u'\t'));
        EXPECT_EQ(row.text, row.text.trimmed());
        EXPECT_FALSE(row.text.contains(QStringLiteral("  ")));
        EXPECT_TRUE(Cp1254Codec::fits(row.text)) << "the tips must fit the program's code page";
        EXPECT_FALSE(seen.contains(row.text));
        seen.insert(row.text);
    }
}

TEST(TipTable, IsANewTableAtEveryCall)
{
    QList<TipRow> first = CREATETIPARRAY();
    first[0].text = QStringLiteral("changed");
    first.removeLast();
    const QList<TipRow> second = CREATETIPARRAY();
    EXPECT_EQ(second.size(), 44);
    EXPECT_NE(second.at(0).text, QStringLiteral("changed"));
}

struct PagerCase
{
    int rows;
    quint32 start;
    bool forward;
    quint32 after;
    bool nextEnabled;
    bool previousEnabled;
};

TEST(TipPager, PagesForwardsWithWrapAndBackwardsWithoutIt)
{
    const PagerCase cases[] = {
        {44, 0, true, 1, true, false},   // first run
        {44, 43, true, 44, false, true}, // the last row
        {44, 44, true, 1, true, false},  // wraps round
        {44, 100, true, 1, true, false}, // a stored number beyond the table
        {44, 1, false, 1, true, false},  // never wraps backwards
        {44, 2, false, 1, true, false},
        {44, 44, false, 43, true, true},
        {44, 0, false, 1, true, false},
        {1, 0, true, 1, false, false},   // a single row disables both buttons
        {1, 1, true, 1, false, false},
    };
    for (const PagerCase &c : cases) {
        TipPager pager(c.rows, c.start);
        c.forward ? pager.next() : pager.previous();
        SCOPED_TRACE(testing::Message() << c.rows << " rows from " << c.start << (c.forward ? " next" : " previous"));
        EXPECT_EQ(pager.current(), c.after);
        EXPECT_EQ(pager.nextEnabled(), c.nextEnabled);
        EXPECT_EQ(pager.previousEnabled(), c.previousEnabled);
    }
}

TEST(TipPager, WalksTheWholeTableAndBack)
{
    TipPager pager(44, 0);
    for (quint32 row = 1; row <= 44; ++row) {
        pager.next();
        ASSERT_EQ(pager.current(), row);
    }
    for (quint32 row = 43; row >= 1; --row) {
        pager.previous();
        ASSERT_EQ(pager.current(), row);
    }
    pager.previous();
    EXPECT_EQ(pager.current(), 1u);
}

TEST(LastTipSetting, IsReadFromItsLeadingNumberAndStoredRightAligned)
{
    const QMap<QString, int> reads{{QString(), 0},           {QStringLiteral(" 7"), 7},
                                   {QStringLiteral("12"), 12}, {QStringLiteral("44"), 44},
                                   {QStringLiteral("abc"), 0}, {QStringLiteral("7x"), 7},
                                   {QStringLiteral("-3"), 0},  {QStringLiteral("   "), 0}};
    for (auto it = reads.begin(); it != reads.end(); ++it)
        EXPECT_EQ(lastTipFromSetting(it.key()), it.value()) << qPrintable(it.key());

    EXPECT_EQ(lastTipSettingText(1), QStringLiteral(" 1"));
    EXPECT_EQ(lastTipSettingText(9), QStringLiteral(" 9"));
    EXPECT_EQ(lastTipSettingText(10), QStringLiteral("10"));
    EXPECT_EQ(lastTipSettingText(44), QStringLiteral("44"));
    for (quint32 n = 1; n <= 44; ++n)
        EXPECT_EQ(lastTipFromSetting(lastTipSettingText(n)), int(n));
}

class FakeTipSettings : public TipSettings
{
public:
    QString get(const QString &name) override { return values.value(name).trimmed(); }
    bool set(const QString &name, const QString &value) override
    {
        if (!available)
            return false;
        values[name] = value;
        ++writes;
        return true;
    }
    QMap<QString, QString> values;
    bool available = true;
    int writes = 0;
};

TEST(LastTipCont, StoresTheNumberOrFailsWithoutWriting)
{
    FakeTipSettings settings;
    EXPECT_TRUE(LASTTIPCONT(settings, 7));
    EXPECT_EQ(settings.values.value(QStringLiteral("VKlatip")), QStringLiteral(" 7"));
    EXPECT_TRUE(LASTTIPCONT(settings, 44));
    EXPECT_EQ(settings.values.value(QStringLiteral("VKlatip")), QStringLiteral("44"));

    settings.available = false;
    EXPECT_FALSE(LASTTIPCONT(settings, 3));
    EXPECT_EQ(settings.values.value(QStringLiteral("VKlatip")), QStringLiteral("44"));
    EXPECT_EQ(settings.writes, 2);
}

} // namespace
