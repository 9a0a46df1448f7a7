#include "grid_demo.h"

#include "problem/number_text.h"

#include <QFont>

namespace vexo::test {

QList<QStringList> demoRows(int rows, int cells)
{
    QList<QStringList> out;
    out.reserve(rows);
    for (int r = 1; r <= rows; ++r) {
        QStringList row{QStringLiteral("Yem maddesi %1").arg(r)};
        for (int c = 1; c <= cells; ++c) {
            // Every seventh solution cell breaks its limit and carries the "*" mark.
            const double v = (r * 37 + c * 11) % 1000 / 7.0;
            const QString text = QString::number(v, 'f', 3);
            row << (c % 5 == 0 && r % 7 == 0 ? QStringLiteral("*") + text : text).rightJustified(11);
        }
        out << row;
    }
    return out;
}

std::unique_ptr<DemoGrid> makeDemoGrid(int rows, int cells, QWidget *parent)
{
    auto d = std::make_unique<DemoGrid>();
    ServerFields fields{{QStringLiteral("YMNAME"), u'C', 25, 0}};
    for (int c = 1; c <= cells; ++c)
        fields.append({QStringLiteral("F%1").arg(c), u'C', 11, 0});
    for (int r = 0; r < rows; ++r)
        d->stock.append(r % 9 != 4);
    d->server = std::make_shared<BARRAYSERVER>(fields, demoRows(rows, cells));

    DemoGrid *self = d.get();
    d->owner.GIRDEG = [self](bool on) { self->changed = on; };
    d->owner.CELLEDIT = [self](BCellEditEvent &e) {
        if (e.mode == CellEditMode::Begin)
            return e.recNo > self->stock.size() || self->stock.at(e.recNo - 1);
        if (e.mode == CellEditMode::Typed && e.VALUECHANGED() && !e.TEXTVALUE.trimmed().isEmpty())
            e.TEXTVALUE = SDAYA2(e.TEXTVALUE, 3, 3);
        return true;
    };

    d->grid = std::make_unique<YM_BBROWSER>(parent, &d->owner);
    YM_BBROWSER &g = *d->grid;
    g.setOutOfStock(flagIsFalse(&d->stock));
    g.addCOLORCONDITION({BCOLORCONDITION::byRecord(flagIsFalse(&d->stock)), QColor(Qt::cyan), std::nullopt});
    g.USE(d->server);
    g.setFREEZE(1);
    g.setEDITABLE(true);
    g.setAUTOEDIT(BrowserAutoEdit::EXCEL);
    g.setENABLECOLUMNMOVE(false);
    g.addCOLORCONDITION({BCOLORCONDITION::oddRecNo(), std::nullopt, QBrush(QColor(190, 190, 190))});
    g.setGRID({1, QColor(Qt::cyan)});
    g.setCAPTIONHEIGHT(32);
    QFont captionFont(QStringLiteral("Arial"), 8);
    captionFont.setBold(true);
    BVIEWSTYLE caption;
    caption.foreground = QColor(Qt::black);
    caption.background = QBrush(QColor(Qt::green));
    caption.alignment = Qt::AlignCenter;
    caption.font = captionFont;
    caption.grid = BGRID{4, QColor(Qt::black)};
    g.setCAPTIONVIEW(caption);
    BVIEWSTYLE data;
    data.alignment = Qt::AlignRight;
    g.setDATAVIEW(data);
    BDATACOLUMN *name = g.GETCOLUMN(QStringLiteral("YMNAME"));
    name->setCAPTION(QStringLiteral("\r\nYem Maddesi Adı"));
    name->setALIGNMENT(Qt::AlignLeft);
    name->setEDITABLE(false);
    name->CALCULATEWIDTH();
    const QStringList captions{QStringLiteral("Fiyatı,\r\nKrş/Kg"), QStringLiteral("Sabit,\r\n %"),
                               QStringLiteral("Alt Sınır,\r\n %"), QStringLiteral("Üst Sınır,\r\n %"),
                               QStringLiteral("Çözüm,\r\n %")};
    for (int c = 1; c <= cells; ++c) {
        BDATACOLUMN *col = g.GETCOLUMN(QStringLiteral("F%1").arg(c));
        const int kind = (c - 1) % 5;
        col->setCAPTION(captions.at(kind));
        if (kind < 4) {
            col->setFOREGROUND(QColor(Qt::blue));
        } else {
            col->setEDITABLE(false);
            col->addCOLORCONDITION({BCOLORCONDITION::startsWithStar(col->NAME()), QColor(Qt::red), std::nullopt});
        }
        col->CALCULATEWIDTH();
    }
    g.RECALCULATE();
    g.setCURRENTCOLUMN(2);
    return d;
}

} // namespace vexo::test
