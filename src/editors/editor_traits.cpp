#include "editors/editor_traits.h"

namespace vexo {

namespace {

const QString kNotEnough = QStringLiteral("Çözüm için yeterli veri girişi yok...");

EditorColumn name(const QString &field, int width, const QString &caption)
{
    return {field, width, caption, true, false, false};
}

EditorColumn input(const QString &field, const QString &caption)
{
    return {field, kCellWidth, caption, false, true, false};
}

EditorColumn result(const QString &field, const QString &caption, bool starred = false)
{
    return {field, kCellWidth, caption, false, false, starred};
}

} // namespace

const EditorTraits &editorTraits(EditorKind kind)
{
    static const EditorTraits traits[] = {
        {EditorKind::Ingredient, QStringLiteral("BYM_GIR_WIN"), QStringLiteral("bYm_Gir_Win"),
         QStringLiteral("Yem Maddesi Verileri Girişi"), QStringLiteral("YM_GIRIS"), QStringLiteral("YM_BBROWSER"),
         QStringLiteral("YM_GIRMENU"), QStringLiteral("YM_CON_MENU"), QStringLiteral("ICON_DEPENSE"), 29175,
         QStringLiteral("Yem Maddesi Verileri"), QStringLiteral("ABOUT"), 1, 230, kNotEnough, YM_COLUMNS},
        {EditorKind::Nutrient, QStringLiteral("BBM_GIR_WIN"), QStringLiteral("bBm_Gir_Win"),
         QStringLiteral("Besin Maddesi Verileri Giriş"), QStringLiteral("BM_GIRIS"), QStringLiteral("BM_BBROWSER"),
         QStringLiteral("BM_GIRMENU"), QStringLiteral("BM_CONT_MENU"), QStringLiteral("ICON_COMPTES"), 29362,
         QStringLiteral("Besin Maddesi Verileri"), QStringLiteral("OHAKKINDA"), 1, 215, kNotEnough, BM_COLUMNS},
        {EditorKind::Ratio, QStringLiteral("BBMO_GIR_WIN"), QStringLiteral("bBmo_Gir_Win"),
         QStringLiteral("Besin Maddesi Oran Verileri Girişi"), QStringLiteral("BMO_GIRIS"),
         QStringLiteral("BMO_BBROWSER"), QStringLiteral("BMO_GIRMENU"), QStringLiteral("BMO_CON_MENU"),
         QStringLiteral("ICON_AA"), 29300, QStringLiteral("Besin Maddesi Oranları"), QStringLiteral("OHAKKINDA"), 3,
         260, QStringLiteral("Yeterli veri girişi yapılmadı..."), BMO_COLUMNS},
    };
    return traits[int(kind)];
}

RowList &editorList(OpenProblem &p, EditorKind kind)
{
    switch (kind) {
    case EditorKind::Ingredient:
        return p.AYMLIST;
    case EditorKind::Nutrient:
        return p.ABMLIST;
    case EditorKind::Ratio:
        break;
    }
    return p.ABMOLIST;
}

bool &editorDirtyFlag(OpenProblem &p, EditorKind kind)
{
    switch (kind) {
    case EditorKind::Ingredient:
        return p.LYMDEG;
    case EditorKind::Nutrient:
        return p.LBMDEG;
    case EditorKind::Ratio:
        break;
    }
    return p.LBMODEG;
}

QString priceUnitText(const QStringList &parameters)
{
    return parameters.value(PARM_CURRENCY).trimmed() + u'/' + parameters.value(PARM_WEIGHTUNIT).trimmed();
}

QList<EditorColumn> editorColumns(EditorKind kind, const QString &unit)
{
    switch (kind) {
    case EditorKind::Ingredient:
        return {
            name(QStringLiteral("YMNAME"), kYmNameWidth, QStringLiteral("\r\nYem Maddesi Adı")),
            input(QStringLiteral("YMPRICE"), QStringLiteral("Fiyatı,\r\n") + unit),
            input(QStringLiteral("YMFIX"), QStringLiteral("Sabit,\r\n %")),
            input(QStringLiteral("YMLLIMIT"), QStringLiteral("Alt Sınır,\r\n %")),
            input(QStringLiteral("YMULIMIT"), QStringLiteral("Üst Sınır,\r\n %")),
            result(QStringLiteral("YMACOZUM"), QStringLiteral("Çözüm,\r\n %"), true),
            result(QStringLiteral("YMAZFIAT"), QStringLiteral("Azami Fiyat,\r\n") + unit),
            result(QStringLiteral("YMOCOZUM"), QStringLiteral("Ö. Çözüm,\r\n %"), true),
            result(QStringLiteral("YMCFARKI"), QStringLiteral("Fark-I,\r\n %")),
            result(QStringLiteral("YMKCOZUM"), QStringLiteral("K. Çözüm,\r\n %"), true),
            result(QStringLiteral("YMKCFARKI"), QStringLiteral("Fark-II,\r\n %")),
        };
    case EditorKind::Nutrient:
        return {
            name(QStringLiteral("BMNAME"), kBmNameWidth, QStringLiteral("Besin Maddesi\r\nAdı")),
            name(QStringLiteral("BMUNIT"), kCellWidth, QStringLiteral(" \r\nBirim")),
            input(QStringLiteral("BMFIX"), QStringLiteral(" \r\nSabit")),
            input(QStringLiteral("BMLLIMIT"), QStringLiteral("Alt\r\nSınır")),
            input(QStringLiteral("BMULIMIT"), QStringLiteral("Üst\r\nSınır")),
            result(QStringLiteral("BMACOZUM"), QStringLiteral(" \r\nÇözüm"), true),
            result(QStringLiteral("BMSPRICE"), QStringLiteral("Gölge\r\nFiyat")),
            result(QStringLiteral("BMKMYYUZ"), QStringLiteral("% 100\r\nKM'de")),
            result(QStringLiteral("BMOCOZUM"), QStringLiteral(" \r\nÖ. Çözüm"), true),
            result(QStringLiteral("BMCFARKI"), QStringLiteral(" \r\nFark-I")),
            result(QStringLiteral("BMKCOZUM"), QStringLiteral(" \r\nK. Çözüm"), true),
            result(QStringLiteral("BMKCFARKI"), QStringLiteral(" \r\nFark-II")),
        };
    case EditorKind::Ratio:
        break;
    }
    return {
        name(QStringLiteral("BMONAME1"), kBmNameWidth, QStringLiteral("Besin Maddesi\r\nAdı-I")),
        name(QStringLiteral("BMONAME2"), kBmNameWidth, QStringLiteral("Besin Maddesi\r\nAdı-II")),
        input(QStringLiteral("BMOFIX"), QStringLiteral(" \r\nSabit")),
        input(QStringLiteral("BMOLLIMIT"), QStringLiteral("Alt\r\nSınır")),
        input(QStringLiteral("BMOULIMIT"), QStringLiteral("Üst\r\nSınır")),
        result(QStringLiteral("BMOACOZUM"), QStringLiteral(" \r\nÇözüm"), true),
        result(QStringLiteral("BMOSPRICE"), QStringLiteral("Gölge\r\nFiyat")),
        result(QStringLiteral("BMOOCOZUM"), QStringLiteral(" \r\nÖ. Çözüm"), true),
        result(QStringLiteral("BMOCFARKI"), QStringLiteral(" \r\nFark-1")),
        result(QStringLiteral("BMOKCOZUM"), QStringLiteral(" \r\nK. Çözüm"), true),
        result(QStringLiteral("BMOKCFARKI"), QStringLiteral(" \r\nFark-2")),
    };
}

QString shownCell(const QString &cell, int width)
{
    QString out = cell;
    while (out.size() > width && out.endsWith(u' '))
        out.chop(1);
    qsizetype lead = 0;
    while (out.size() - lead > width && out.at(lead) == u' ')
        ++lead;
    return out.mid(lead);
}

bool isEditableColumn(EditorKind kind, int column)
{
    const int first = kind == EditorKind::Ingredient ? kPriceColumn : kFixedColumn;
    return column >= first && column <= kUpperColumn;
}

EditorLayout editorLayout(EditorKind kind, QSize client)
{
    const int w = client.width();
    const int h = client.height();
    EditorLayout l;
    l.grid = QSize(w - editorTraits(kind).freeWidth, h - 180);
    // Two rows of fields below the grid, 90 pixels apart, the second 30 pixels lower.
    l.currentCost = QPoint(200, h - 165);
    l.previousCost = QPoint(290, h - 165);
    l.currentDifference = QPoint(380, h - 165);
    l.status = QPoint(470, h - 165);
    l.savedCost = QPoint(290, h - 135);
    l.savedDifference = QPoint(380, h - 135);
    return l;
}

} // namespace vexo
