// The bar's drawing: every style in every item state renders its own look, and a screenshot of the
// bar in a window for the eye.
#include "controls/outlook_bar.h"

#include <QHBoxLayout>
#include <QImage>
#include <QLabel>
#include <QPainter>
#include <QPainterPath>
#include <QScreen>
#include <QtTest>

#include <memory>

using namespace vexo;

namespace {

const QColor IconColors[] = {{0x2e, 0x7d, 0x32}, {0x15, 0x65, 0xc0}, {0xc6, 0x28, 0x28}, {0x6a, 0x1b, 0x9a},
                             {0xef, 0x6c, 0x00}, {0x00, 0x83, 0x8f}, {0x45, 0x5a, 0x64}, {0x5d, 0x40, 0x37},
                             {0xad, 0x14, 0x57}, {0x28, 0x35, 0x93}, {0x55, 0x8b, 0x2f}, {0x0d, 0x47, 0xa1}};

// A coloured tile with a white sign on it: a sheet, a table, a chart, a scale, a gear or a flask.
QIcon drawnIcon(int index, int size)
{
    QPixmap pm(size, size);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    const qreal s = size / 32.0;
    p.scale(s, s);
    p.setPen(Qt::NoPen);
    p.setBrush(IconColors[index % 12]);
    p.drawRoundedRect(QRectF(1, 1, 30, 30), 6, 6);
    p.setPen(QPen(Qt::white, 2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(Qt::NoBrush);
    switch (index % 6) {
    case 0: // sheet with lines
        p.drawRect(QRectF(9, 6, 14, 20));
        for (int y : {12, 16, 20})
            p.drawLine(QPointF(12, y), QPointF(20, y));
        break;
    case 1: // table
        p.drawRect(QRectF(6, 8, 20, 16));
        p.drawLine(QPointF(6, 13), QPointF(26, 13));
        p.drawLine(QPointF(13, 8), QPointF(13, 24));
        p.drawLine(QPointF(19, 8), QPointF(19, 24));
        break;
    case 2: // bar chart
        p.drawLine(QPointF(7, 25), QPointF(25, 25));
        for (int i = 0; i < 3; ++i)
            p.drawRect(QRectF(9 + i * 5.5, 25 - (6 + i * 5), 3.5, 6 + i * 5));
        break;
    case 3: // scale
        p.drawLine(QPointF(16, 7), QPointF(16, 25));
        p.drawLine(QPointF(8, 11), QPointF(24, 11));
        p.drawArc(QRectF(5, 12, 7, 7), 180 * 16, 180 * 16);
        p.drawArc(QRectF(20, 12, 7, 7), 180 * 16, 180 * 16);
        p.drawLine(QPointF(11, 25), QPointF(21, 25));
        break;
    case 4: // gear
        p.drawEllipse(QPointF(16, 16), 6, 6);
        for (int a = 0; a < 360; a += 45) {
            QLineF spoke(QPointF(16, 16), QPointF(16, 6));
            spoke.setAngle(a);
            p.drawLine(spoke.pointAt(0.75), spoke.p2());
        }
        break;
    default: { // flask
        QPainterPath path;
        path.moveTo(13, 6);
        path.lineTo(13, 14);
        path.lineTo(7, 25);
        path.lineTo(25, 25);
        path.lineTo(19, 14);
        path.lineTo(19, 6);
        p.drawPath(path);
        p.drawLine(QPointF(11, 6), QPointF(21, 6));
        break;
    }
    }
    return QIcon(pm);
}

OutlookBarImageList drawnIcons(int size)
{
    QList<QIcon> icons;
    for (int i = 0; i < 12; ++i)
        icons << drawnIcon(i, size);
    return OutlookBarImageList(QSize(size, size), icons);
}

struct Group
{
    const char *name;
    const char *caption;
    QStringList items;
};

// The navigation pane as the application fills it.
std::unique_ptr<OUTLOOKBAR> navigationPane(OutlookBarStyle style, bool appColours)
{
    auto bar = std::make_unique<OUTLOOKBAR>();
    bar->setIMAGELIST(drawnIcons(32));
    const Group groups[] = {
        {"GRP_PROBLEM", "Problem",
         {QStringLiteral("Yeni problem"), QStringLiteral("Problem aç"), QStringLiteral("Hammaddeler"),
          QStringLiteral("Besin maddeleri"), QStringLiteral("Optimize et")}},
        {"GRP_MATRIS", "Matris", {QStringLiteral("Referans matrisi")}},
        {"GRP_RAPOR", "Raporlar", {QStringLiteral("Formül raporu"), QStringLiteral("Fiyat analizi")}},
    };
    int icon = 1;
    for (int g = 0; g < 3; ++g) {
        auto h = std::make_unique<OUTLOOKBARHEADER>(QString::fromLatin1(groups[g].name),
                                                    QString::fromUtf8(groups[g].caption), 100 + g, 10 + g);
        for (int i = 0; i < groups[g].items.size(); ++i)
            h->ADDITEM(std::make_unique<OUTLOOKBARITEM>(QStringLiteral("CMD_%1_%2").arg(g).arg(i),
                                                        groups[g].items[i], icon++));
        bar->ADDHEADER(std::move(h));
    }
    bar->setACTIVEHEADER(QStringLiteral("GRP_PROBLEM"));
    bar->setSTYLE(style);
    if (appColours) {
        bar->setITEMSPACING(8);
        bar->setBACKGROUNDCOLOR(QColor(127, 127, 127));
        bar->setHILITEBACKGROUNDCOLOR(QColor(127, 127, 127));
    }
    bar->resize(160, 400);
    return bar;
}

enum class State { Normal, Hilited, Pressed, Disabled };

QPoint centre(const WRECT &r)
{
    return {(r.LEFT + r.RIGHT) / 2, (r.TOP + r.BOTTOM) / 2};
}

bool same(const QColor &a, const QColor &b)
{
    return a.rgb() == b.rgb();
}

int distance(const QColor &a, const QColor &b)
{
    return std::abs(a.red() - b.red()) + std::abs(a.green() - b.green()) + std::abs(a.blue() - b.blue());
}

bool hasColourNear(const QImage &img, const QRect &r, const QColor &c, int tolerance = 30)
{
    for (int y = r.top(); y <= r.bottom(); ++y)
        for (int x = r.left(); x <= r.right(); ++x)
            if (distance(img.pixelColor(x, y), c) <= tolerance)
                return true;
    return false;
}

} // namespace

Q_DECLARE_METATYPE(vexo::OutlookBarStyle)
Q_DECLARE_METATYPE(State)

class OutlookBarRender : public QObject
{
    Q_OBJECT

private slots:
    void eachStyleAndStateRenders_data();
    void eachStyleAndStateRenders();
    void headersShowPressAndActive();
    void zeroHeaderHeightDrawsOnlyItems();
    void newStyleDrawsEveryLaidOutItem();
    void noImageListDrawsLabelsOnly();
    void screenshot();
};

void OutlookBarRender::eachStyleAndStateRenders_data()
{
    QTest::addColumn<OutlookBarStyle>("style");
    QTest::addColumn<State>("state");
    const std::pair<const char *, OutlookBarStyle> styles[] = {{"std", OutlookBarStyle::STDSTYLE},
                                                               {"jov", OutlookBarStyle::JOVSTYLE},
                                                               {"new", OutlookBarStyle::NEWSTYLE}};
    const std::pair<const char *, State> states[] = {
        {"normal", State::Normal}, {"hilited", State::Hilited}, {"pressed", State::Pressed}, {"disabled", State::Disabled}};
    for (const auto &[sn, style] : styles)
        for (const auto &[tn, state] : states)
            QTest::addRow("%s-%s", sn, tn) << style << state;
}

void OutlookBarRender::eachStyleAndStateRenders()
{
    QFETCH(OutlookBarStyle, style);
    QFETCH(State, state);
    auto bar = navigationPane(style, false);
    bar->show();
    QVERIFY(QTest::qWaitForWindowExposed(bar.get()));
    bar->RECALC();
    OUTLOOKBARITEM *item = bar->header(0)->GETITEM(2);
    const WRECT a = item->AREA();
    const QImage normal = bar->grab().toImage();

    switch (state) {
    case State::Normal:
        break;
    case State::Hilited:
        QTest::mouseMove(bar.get(), QPoint(1, 1)); // a move from elsewhere, not a repeat of the last one
        QTest::mouseMove(bar.get(), centre(a));
        QCOMPARE(bar->HILITEDITEM(), item->NAMESYM());
        break;
    case State::Pressed:
        QTest::mousePress(bar.get(), Qt::LeftButton, {}, centre(a));
        QVERIFY(item->ISPRESSED());
        break;
    case State::Disabled:
        item->DISABLE();
        break;
    }
    const QImage img = bar->grab().toImage();
    if (state == State::Pressed)
        QTest::mouseRelease(bar.get(), Qt::LeftButton, {}, centre(a));

    const QPalette &pal = bar->palette();
    const QColor iconColour = IconColors[1]; // item 2 shows icon 2
    const QColor light = pal.color(QPalette::Light);
    const QRect labelBox = item->labelRect().fillRect();
    const QRect itemBox = labelBox.united(a.edgeRect()).adjusted(-2, -2, 2, 2);
    if (state == State::Normal)
        QCOMPARE(img, normal);
    else if (!(style == OutlookBarStyle::STDSTYLE && state == State::Disabled))
        QVERIFY2(img.copy(itemBox) != normal.copy(itemBox), "the state shows");
    // Only the item changes look.
    const QRect other = bar->header(0)->GETITEM(4)->AREA().edgeRect();
    QCOMPARE(img.copy(other), normal.copy(other));

    switch (style) {
    case OutlookBarStyle::STDSTYLE: {
        const QColor corner = img.pixelColor(a.LEFT - 1, a.TOP - 1);
        const QColor far = img.pixelColor(a.RIGHT + 1, a.BOTTOM + 1);
        if (state == State::Hilited) {
            QVERIFY(same(corner, light));
            QVERIFY(same(far, QColor(Qt::black)));
        } else if (state == State::Pressed) {
            QVERIFY(same(corner, QColor(Qt::black)));
            QVERIFY(same(far, light));
        } else {
            QVERIFY(same(corner, QColor(127, 127, 127))); // no frame; disabled looks the same
            QCOMPARE(img.copy(itemBox), normal.copy(itemBox));
        }
        QVERIFY(hasColourNear(img, labelBox, Qt::white, 0));
        break;
    }
    case OutlookBarStyle::JOVSTYLE: {
        const QPoint top(a.LEFT + 16, a.TOP + 1); // the icon tile's first row
        if (state == State::Pressed) {
            QVERIFY(same(img.pixelColor(top), bar->BACKGROUNDCOLOR()));
            QVERIFY(distance(img.pixelColor(top + QPoint(0, 1)), iconColour) < 10);
        } else if (state == State::Normal) {
            QVERIFY(distance(img.pixelColor(top), iconColour) < 10);
        } else if (state == State::Hilited) {
            QVERIFY(hasColourNear(img, labelBox, bar->header(0)->HILITECOLOR(), 40));
        }
        if (state == State::Disabled) {
            QVERIFY(!hasColourNear(img, labelBox, bar->header(0)->TEXTCOLOR(), 10));
            QVERIFY(hasColourNear(img, labelBox, pal.color(QPalette::Disabled, QPalette::Text), 30));
            QVERIFY(!hasColourNear(img, a.fillRect(), iconColour, 10)); // greyed icon
        } else {
            QVERIFY(!hasColourNear(img, labelBox, pal.color(QPalette::Disabled, QPalette::Text), 0)
                    || state == State::Hilited);
        }
        break;
    }
    case OutlookBarStyle::NEWSTYLE: {
        const QColor hilite(238, 149, 21);
        const QColor items = *bar->ITEMSBACKGROUNDCOLOR();
        const QColor top = img.pixelColor(a.RIGHT - 10, a.TOP);
        const QColor bottom = img.pixelColor(a.RIGHT - 10, a.BOTTOM - 1);
        if (state == State::Pressed) {
            QVERIFY(distance(top, hilite) < 30);
            QVERIFY(distance(bottom, Qt::white) < 30);
        } else {
            QVERIFY(distance(top, Qt::white) < 30);
            QVERIFY(distance(bottom, state == State::Hilited ? hilite : items) < 30);
        }
        if (state == State::Disabled)
            QVERIFY(!hasColourNear(img, a.fillRect(), iconColour, 10));
        break;
    }
    }
}

void OutlookBarRender::headersShowPressAndActive()
{
    for (OutlookBarStyle style : {OutlookBarStyle::STDSTYLE, OutlookBarStyle::JOVSTYLE, OutlookBarStyle::NEWSTYLE}) {
        auto bar = navigationPane(style, false);
        bar->show();
        QVERIFY(QTest::qWaitForWindowExposed(bar.get()));
        bar->RECALC();
        const QPalette &pal = bar->palette();
        const WRECT second = bar->header(1)->AREA();
        QImage img = bar->grab().toImage();
        QVERIFY(same(img.pixelColor(second.LEFT, second.TOP + 5), pal.color(QPalette::Light)));
        QVERIFY(same(img.pixelColor(second.RIGHT, second.TOP + 5), pal.color(QPalette::Dark)));

        QTest::mousePress(bar.get(), Qt::LeftButton, {}, centre(second));
        img = bar->grab().toImage();
        QVERIFY(same(img.pixelColor(second.LEFT, second.TOP + 5), pal.color(QPalette::Dark))); // sunken
        QVERIFY(same(img.pixelColor(second.RIGHT, second.TOP + 5), pal.color(QPalette::Light)));
        QTest::mouseRelease(bar.get(), Qt::LeftButton, {}, centre(second));
        QCOMPARE(bar->ACTIVEHEADER(), QStringLiteral("GRP_MATRIS"));
        img = bar->grab().toImage();
        const WRECT opened = bar->header(1)->AREA();
        QCOMPARE(opened.TOP, 36);
        // Headers with icons show them in the Jov and new styles only.
        const bool icon = hasColourNear(img, QRect(opened.LEFT + 2, opened.TOP + 2, 32, 32), IconColors[10], 10);
        QCOMPARE(icon, style != OutlookBarStyle::STDSTYLE);

        // A disabled header: grey caption (Jov and new styles), black in the standard style.
        OUTLOOKBARHEADER *third = bar->header(2);
        third->DISABLE();
        img = bar->grab().toImage();
        const QRect caption = third->AREA().fillRect().adjusted(36, 3, -3, -3);
        const bool grey = hasColourNear(img, caption, pal.color(QPalette::Disabled, QPalette::Text), 10)
                          && !hasColourNear(img, caption, Qt::black, 10);
        QCOMPARE(grey, style != OutlookBarStyle::STDSTYLE);
    }
}

void OutlookBarRender::zeroHeaderHeightDrawsOnlyItems()
{
    auto bar = navigationPane(OutlookBarStyle::STDSTYLE, false);
    bar->setHEADERHEIGHT(0);
    bar->show();
    QVERIFY(QTest::qWaitForWindowExposed(bar.get()));
    const QImage img = bar->grab().toImage();
    QCOMPARE(bar->GETINSIDERECT(), WRECT(0, 0, 159, 399));
    for (const QPoint p : {QPoint(0, 0), QPoint(80, 399), QPoint(159, 200)})
        QVERIFY(same(img.pixelColor(p), QColor(127, 127, 127)));
    const WRECT first = bar->header(0)->GETITEM(1)->AREA();
    QCOMPARE(first.TOP, 5);
    QVERIFY(distance(img.pixelColor(first.LEFT + 3, first.TOP + 16), IconColors[0]) < 40);
}

// In the new style an item's total height counts its caption beside the icon a second time; every item
// the layout placed must still be drawn.
void OutlookBarRender::newStyleDrawsEveryLaidOutItem()
{
    auto bar = navigationPane(OutlookBarStyle::NEWSTYLE, false);
    bar->resize(160, 250); // rows of 35: items 1 to 3 whole, item 4 cut at the bottom
    bar->show();
    QVERIFY(QTest::qWaitForWindowExposed(bar.get()));
    bar->RECALC();
    OUTLOOKBARHEADER *h = bar->header(0);
    QCOMPARE(h->LASTVISIBLEITEM(), 4);
    QVERIFY(h->ISDOWNARROW());
    const QImage img = bar->grab().toImage();
    for (int i = 1; i <= 4; ++i) {
        const WRECT a = h->GETITEM(i)->AREA();
        QVERIFY2(distance(img.pixelColor(a.LEFT + 3, a.TOP + 16), IconColors[i - 1]) < 40,
                 qPrintable(QStringLiteral("item %1 drawn").arg(i)));
    }
}

void OutlookBarRender::noImageListDrawsLabelsOnly()
{
    auto bar = navigationPane(OutlookBarStyle::STDSTYLE, false);
    bar->setIMAGELIST(std::nullopt);
    bar->show();
    QVERIFY(QTest::qWaitForWindowExposed(bar.get()));
    bar->RECALC();
    const OUTLOOKBARITEM *item = bar->header(0)->GETITEM(1);
    const QImage img = bar->grab().toImage();
    QVERIFY(hasColourNear(img, item->labelRect().fillRect(), Qt::white, 0));
    for (const QColor &c : IconColors)
        QVERIFY(!hasColourNear(img, img.rect(), c, 0));
}

// With VEXO_OLB_SHOT_DIR set, saves the bar in each style and a window holding it there.
void OutlookBarRender::screenshot()
{
    const QString dir = qEnvironmentVariable("VEXO_OLB_SHOT_DIR");
    if (dir.isEmpty())
        QSKIP("no screenshot folder given");
    for (const auto &[name, style, app] : {std::tuple{"std", OutlookBarStyle::STDSTYLE, false},
                                           std::tuple{"jov", OutlookBarStyle::JOVSTYLE, false},
                                           std::tuple{"new", OutlookBarStyle::NEWSTYLE, false},
                                           std::tuple{"app", OutlookBarStyle::JOVSTYLE, true}}) {
        auto bar = navigationPane(style, app);
        bar->show();
        QVERIFY(QTest::qWaitForWindowExposed(bar.get()));
        QTest::mouseMove(bar.get(), centre(bar->header(0)->GETITEM(3)->AREA()));
        bar->header(0)->GETITEM(5)->DISABLE();
        QVERIFY(bar->grab().save(dir + QStringLiteral("/outlook_bar_%1.png").arg(QLatin1String(name))));
        // Shorter, scrolled down by one: both arrows show.
        bar->resize(160, 250);
        bar->RECALC();
        QVERIFY(bar->SCROLLDOWN());
        QVERIFY(bar->grab().save(dir + QStringLiteral("/outlook_bar_%1_scrolled.png").arg(QLatin1String(name))));
    }

    QWidget window;
    window.setWindowTitle(QStringLiteral("VEXO_Zud"));
    auto *layout = new QHBoxLayout(&window);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(2);
    auto bar = navigationPane(OutlookBarStyle::JOVSTYLE, true);
    bar->setFixedWidth(160);
    bar->header(0)->GETITEM(5)->DISABLE();
    layout->addWidget(bar.release());
    auto *work = new QLabel(QStringLiteral("Çalışma alanı"));
    work->setAlignment(Qt::AlignCenter);
    work->setAutoFillBackground(true);
    work->setPalette(QPalette(QColor(160, 160, 160)));
    layout->addWidget(work, 1);
    window.resize(560, 420);
    window.move(0, 0);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    QTest::qWait(300);
    QVERIFY(window.screen()->grabWindow(0).save(dir + QStringLiteral("/outlook_bar_window.png")));
}

QTEST_MAIN(OutlookBarRender)
#include "tst_outlook_bar_render.moc"
