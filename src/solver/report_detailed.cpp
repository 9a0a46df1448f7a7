#include "solver/report_detailed.h"

#include "platform/clock.h"
#include "problem/number_text.h"
#include "reports/report_file.h"
#include "solver/report_summary.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace vexo {

namespace {

using Group = ReportInput::RowGroup;

QString blanks(int n)
{
    return QString(n, u' ');
}

QString dashes(int n)
{
    return QString(n, u'-');
}

QString trimmedRight(const QString &s)
{
    qsizetype n = s.size();
    while (n > 0 && s.at(n - 1).isSpace())
        --n;
    return s.left(n);
}

QString right11(const QString &s)
{
    return s.rightJustified(11);
}

// The price below which a left-out ingredient would enter; one that did not settle sorts last.
double maximumPrice(const ReportInput::Column &c)
{
    return std::isnan(c.entryPrice) ? -std::numeric_limits<double>::infinity() : c.entryPrice;
}

// How far the price must fall before the ingredient enters (below 0: how far it may rise); a column
// that no price lets in shows stars.
QString entryChangeText(const ReportInput::Column &c)
{
    return Str(c.price - c.entryPrice, 13, 4).rightJustified(13);
}

QString maximumPriceText(double m)
{
    if (m > 0.0)
        return Str(m, 11, 3);
    if (m < 0.0)
        return right11(QStringLiteral("< 0.000"));
    return right11(QStringLiteral("0.000"));
}

class Lines
{
public:
    void add(const QString &content) { m_text += reportLine(content); }
    void blank() { m_text += blankReportLine(); }
    QString text() const { return m_text; }

private:
    QString m_text;
};

} // namespace

QString shadowPriceText(double s)
{
    if (s < 0.0)
        return right11(QStringLiteral("< 0.0000"));
    if (s == 0.0)
        return right11(QStringLiteral("0.0000"));
    return right11(Str(s, 11, 4));
}

QString detailedReportText(const ReportInput &in, const QDateTime &now)
{
    Lines out;
    const double m = Val(in.mixer);
    const QString unitPrice = in.currency + u'/' + in.weightUnit;

    // Title and file.
    out.add(centred(QStringLiteral("VEXO_Zud S 2.6"), 100));
    out.add(centred(QStringLiteral("ENDÜŞÜK MALİYETLİ KARMA YEM FORMÜLÜ HAZIRLAMA PROGRAMI"), 100));
    out.add(centred(QStringLiteral("Tarih: ") + dateText(now.date()) + QStringLiteral("  ") + QStringLiteral("Saat: ")
                        + timeText(now.time()),
                    100));
    out.blank();
    out.add(blanks(5) + QStringLiteral("§ DOSYA: ") + QStringLiteral("Veri Dosyasi..: ") + in.fileName
            + QStringLiteral(".VKD"));
    out.add(blanks(14) + QStringLiteral("Rapor Dosyası.: ") + in.fileName + QStringLiteral(".TXT"));
    out.add(blanks(14) + QStringLiteral("Veri/Rapor Dosyası Dizini: ") + in.fileDir);
    out.blank();

    // Status, cost, names.
    if (in.optimum) {
        out.add(blanks(5) + QStringLiteral("§ ÇÖZÜM DURUMU: Çözüm Optimum."));
    } else {
        out.add(blanks(5) + QStringLiteral("§ ÇÖZÜM DURUMU: Optimum Çözüm Bulunamadı."));
        out.add(blanks(7) + QStringLiteral("Sınırlık ve imkanlari kontrol ediniz..."));
    }
    out.blank();
    out.add(blanks(5) + QStringLiteral("§ MALİYET DURUMU: Birim Maliyet = ") + Str(MROUND(in.cost, 3), 11, 3).trimmed()
            + u' ' + unitPrice);
    out.blank();
    out.add(blanks(5) + QStringLiteral("§ ŞİRKET ADI: ") + trimmedRight(in.company));
    out.add(blanks(5) + QStringLiteral("§ KARMA YEM ADI: ") + trimmedRight(in.feedName));
    out.add(blanks(5) + QStringLiteral("§ HAZIRLAYAN: ") + trimmedRight(in.preparer));
    out.blank();

    // a) The chosen ingredients, largest share first (equal shares keep the column order).
    out.add(blanks(5) + QStringLiteral("§ MEVCUT ÇÖZÜM:"));
    out.add(blanks(7) + QStringLiteral("a) Seçilen Yem Maddeleri:"));
    const QString ind(10, u' ');
    const QString ruleA = ind + dashes(25) + u' ' + dashes(11) + u' ' + dashes(11) + u' ' + dashes(10);
    out.add(ind + centred(QStringLiteral("Yem Maddesi"), 25) + u' ' + centred(QStringLiteral("Fiyat,"), 11) + u' '
            + centred(QStringLiteral("Çözüm"), 11) + u' ' + centred(QStringLiteral("Mikser"), 10));
    out.add(ind + centred(QStringLiteral("Adı"), 25) + u' ' + centred(unitPrice, 11) + u' ' + centred(QStringLiteral("%"), 11)
            + u' ' + centred(QStringLiteral("Girişi,") + in.weightUnit, 10));
    out.add(ruleA);
    // A column at 0 is left out whether the final tableau holds it as basic or not.
    std::vector<const ReportInput::Column *> chosen, leftOut;
    for (const ReportInput::Column &c : in.columns) {
        if (c.x > 0.0)
            chosen.push_back(&c);
        else
            leftOut.push_back(&c);
    }
    std::stable_sort(chosen.begin(), chosen.end(), [](auto *a, auto *b) { return a->x > b->x; });
    double sumX = 0.0;
    for (const ReportInput::Column *c : chosen) {
        out.add(ind + c->name.leftJustified(25, u' ', true) + u' ' + right11(Str(c->price, 11, 3)) + u' '
                + right11(Str(MROUND(c->x * 100.0, 3), 11, 3)) + u' ' + Str(MROUND(c->x * m, 2), 10, 2).rightJustified(10));
        sumX += c->x;
    }
    out.add(ruleA);
    out.add(ind + QStringLiteral("TOPLAM:").leftJustified(25) + blanks(8) + QStringLiteral("-").leftJustified(4) + u' '
            + right11(Str(MROUND(sumX * 100.0, 3), 11, 3)) + u' ' + Str(MROUND(sumX * m, 2), 10, 2).rightJustified(10));

    // b) The ingredients left out, when there is any, highest maximum price first (equal ones keep the
    // column order).
    const bool partB = !leftOut.empty();
    if (partB) {
        out.blank();
        out.add(blanks(7) + QStringLiteral("b) Seçilmeyen Yem Maddeleri:"));
        // Without an optimum the entry prices are those of a penalty basis: their columns are left out.
        if (!in.optimum) {
            out.add(ind + centred(QStringLiteral("Yem Maddesi"), 25) + u' ' + centred(QStringLiteral("Fiyat,"), 11));
            out.add(ind + centred(QStringLiteral("Adı"), 25) + u' ' + centred(unitPrice, 11));
            out.add(ind + dashes(25) + u' ' + dashes(11));
        } else {
            out.add(ind + centred(QStringLiteral("Yem Maddesi"), 25) + u' ' + centred(QStringLiteral("Fiyat,"), 11)
                    + blanks(15) + centred(QStringLiteral("Azami**"), 11));
            out.add(ind + centred(QStringLiteral("Adı"), 25) + u' ' + centred(unitPrice, 11) + u' '
                    + centred(QStringLiteral("GİMFD*"), 13) + u' ' + centred(QStringLiteral("Fiyat"), 11));
            out.add(ind + dashes(25) + u' ' + dashes(11) + u' ' + dashes(13) + u' ' + dashes(11));
            std::stable_sort(leftOut.begin(), leftOut.end(),
                             [](auto *a, auto *b) { return maximumPrice(*a) > maximumPrice(*b); });
        }
        for (const ReportInput::Column *c : leftOut) {
            // An entry price that did not settle shows neither number.
            const QString prices = in.optimum && !std::isnan(c->entryPrice)
                                       ? QString(u' ' + entryChangeText(*c) + u' ' + maximumPriceText(maximumPrice(*c)))
                                       : QString();
            out.add(ind + c->name.leftJustified(25, u' ', true) + u' ' + right11(Str(c->price, 11, 3)) + prices);
        }
    }

    // The limits of every row, with the mark of a broken one in front.
    out.blank();
    out.add(blanks(5) + QStringLiteral("§ SINIRLIKLAR:"));
    const QString ind7(7, u' ');
    // The shadow-price column only with an optimum.
    const auto shadowColumn = [&](const QString &s) { return in.optimum ? QString(u' ' + s) : QString(); };
    out.add(ind7 + centred(QStringLiteral("Sınırlık"), 25) + u' ' + QStringLiteral("Sınırlık") + u' '
            + centred(QStringLiteral("İstenen"), 11) + u' ' + centred(QStringLiteral("Hesaplanan"), 11)
            + shadowColumn(centred(QStringLiteral("Gölge***"), 11)));
    out.add(ind7 + centred(QStringLiteral("Adı"), 25) + u' ' + centred(QStringLiteral("Tipi"), 8) + u' '
            + centred(QStringLiteral("Değer"), 11) + u' ' + centred(QStringLiteral("Değer"), 11)
            + shadowColumn(centred(QStringLiteral("Fiyat"), 11)));
    out.add(ind7 + dashes(25) + u' ' + dashes(8) + u' ' + dashes(11) + u' ' + dashes(11) + shadowColumn(dashes(11)));

    struct GroupForm
    {
        Group group;
        const char16_t *heading;
        bool blankBefore;
        int decimals;
        double scale;
        QString noWanted, noShadow;
    };
    const QString dash4 = QStringLiteral("-    ").rightJustified(11);
    const QString dash5 = QStringLiteral("-     ").rightJustified(11);
    const GroupForm forms[] = {
        {Group::Nutrient, u"Besin Maddesi:", false, 4, 1.0, dash4, dash4},
        {Group::Ratio, u"Besin Maddesi Oranı:", true, 4, 1.0, dash4, dash4},
        {Group::Ingredient, u"Yem Maddesi (%):", true, 3, 100.0, dash5, dash4},
        {Group::Group, u"Yem Maddesi Grubu (%):", true, 3, 100.0, dash5, dash4},
    };
    for (const GroupForm &f : forms) {
        const bool any = std::any_of(in.rows.begin(), in.rows.end(), [&](const auto &r) { return r.group == f.group; });
        if (!any && f.group != Group::Nutrient)
            continue;
        if (f.blankBefore)
            out.blank();
        out.add(ind7 + QString::fromUtf16(f.heading));
        for (const ReportInput::LimitRow &r : in.rows) {
            if (r.group != f.group)
                continue;
            const QString wanted = r.limit ? right11(Str(*r.limit * f.scale, 11, f.decimals)) : f.noWanted;
            const QString shadow = r.limit ? (r.shadow ? shadowPriceText(*r.shadow) : shadowPriceText(0.0)) : f.noShadow;
            const QString mark = r.limit ? r.mark.leftJustified(7, u' ', true) : blanks(7);
            out.add(mark + r.name.leftJustified(25, u' ', true) + u' ' + centred(r.kind, 8) + u' ' + wanted + u' '
                    + right11(r.value) + shadowColumn(shadow));
        }
    }

    // Notes.
    out.blank();
    if (!in.optimum) {
        out.add(blanks(7) + QStringLiteral("Optimum çözüm bulunamadığından gölge ve azami fiyatların anlamı yoktur."));
        out.blank();
        out.add(centred(QStringLiteral("<>"), 100));
        return out.text();
    }
    if (partB) {
        out.add(blanks(7) + QStringLiteral("*Giriş İçin Marjinal Fiyat Değişikliği."));
        out.add(blanks(7)
                + QStringLiteral("**Bir yem maddesinin, formüle girebilmesi için, satın alınabileceği maksimum fiyat."));
    }
    out.add(blanks(7) + QStringLiteral("***Sınırlık değerinde bir birim değişikliğe karşılık formül maliyetindeki değişiklik."));
    out.blank();
    out.add(centred(QStringLiteral("<>"), 100));
    return out.text();
}

bool SONUCDOSYA(QWidget *owner, const ReportInput &in)
{
    return RFILEANDTEXT(owner, solutionReportPath(), detailedReportText(in, clock().now()));
}

} // namespace vexo
