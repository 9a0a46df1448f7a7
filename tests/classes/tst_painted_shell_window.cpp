// The painted shell window on screen: the client area sampled at a few pixels for the gradient, the
// bitmap styles, the title and the text lines; the key indicators; the tool-bar swap.
#include "classes/painted_shell_window.h"

#include <QImage>
#include <QPainter>
#include <QMdiSubWindow>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QToolBar>
#include <QtTest>

using namespace vexo;

namespace {

QPixmap solid(int w, int h, QColor c)
{
    QPixmap pm(w, h);
    pm.fill(c);
    return pm;
}

// The client area as the window paints it, at a fixed size and 96 pixels per inch.
QImage client(ACF_SHELLWINDOW &w, QSize size = QSize(400, 300))
{
    QImage img(size, QImage::Format_RGB32);
    img.fill(Qt::magenta);
    img.setDotsPerMeterX(3780);
    img.setDotsPerMeterY(3780);
    QPainter painter(&img);
    [&] { QVERIFY(w.MDIEXPOSE(painter, QRect(QPoint(0, 0), size))); }();
    return img;
}

// The bounding box of the pixels of one colour.
QRect boxOf(const QImage &img, QColor c)
{
    QRect box;
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x)
            if (img.pixelColor(x, y) == c)
                box |= QRect(x, y, 1, 1);
    return box;
}

// The bounding box of the pixels that are mostly yellow (anti-aliased small text on black).
QRect yellowish(const QImage &img)
{
    QRect box;
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x) {
            const QColor c = img.pixelColor(x, y);
            if (c.red() > 120 && c.green() > 120 && c.blue() < 60)
                box |= QRect(x, y, 1, 1);
        }
    return box;
}

} // namespace

class TestPaintedShellWindow : public QObject
{
    Q_OBJECT
private slots:
    void defaultsShowCyanToBlackAndNothingElse();
    void equalColoursFillSolid();
    void bitmapStyles_data();
    void bitmapStyles();
    void bitmapToLowerLeft();
    void bitmapFromFile();
    void titleCentredWithShadow();
    void multiLineTitleCentredAsABlock();
    void fixedTitleFromItsOffset();
    void textLinesInTheBottomCorners();
    void childWindowsPaintOverTheBackground();
    void keyIndicators();
    void toolBarAssignAndSwap();
    void aBarDestroyedInTheSlotLeavesTheWindowWorking();
};

void TestPaintedShellWindow::defaultsShowCyanToBlackAndNothingElse()
{
    ACF_SHELLWINDOW w;
    QVERIFY(!w.findChild<QStatusBar *>()); // the status bar starts switched off
    const QImage img = client(w);
    QCOMPARE(img.pixelColor(0, 0), QColor(0, 255, 255)); // less one step of 0.85, fraction dropped
    QCOMPARE(img.pixelColor(399, 1), QColor(0, 254, 254)); // 255 - trunc(1.7)
    QCOMPARE(img.pixelColor(200, 150), QColor(0, 127, 127)); // row 151: 255 - trunc(128.35)
    QCOMPARE(img.pixelColor(17, 299), QColor(0, 0, 0));
    // Every row is one colour: nothing but the gradient.
    for (int y : {0, 50, 150, 298})
        for (int x : {0, 133, 266, 399})
            QCOMPARE(img.pixelColor(x, y), img.pixelColor(0, y));
}

void TestPaintedShellWindow::equalColoursFillSolid()
{
    ACF_SHELLWINDOW w;
    w.setCOLORINI(QColor(40, 80, 120));
    w.setCOLOREND(QColor(40, 80, 120));
    const QImage img = client(w);
    for (QPoint p : {QPoint(0, 0), QPoint(200, 150), QPoint(399, 299)})
        QCOMPARE(img.pixelColor(p), QColor(40, 80, 120));
}

void TestPaintedShellWindow::bitmapStyles_data()
{
    QTest::addColumn<unsigned>("style");
    QTest::addColumn<QSize>("bitmap");
    QTest::addColumn<QPoint>("bitmapPixel");   // a pixel of the client that shows the bitmap
    QTest::addColumn<QPoint>("gradientPixel"); // a pixel that shows the gradient, (-1, -1) for none
    QTest::newRow("tiled, no gradient") << 1u << QSize(30, 40) << QPoint(399, 299) << QPoint(-1, -1);
    QTest::newRow("stretched, no gradient") << 3u << QSize(10, 10) << QPoint(399, 0) << QPoint(-1, -1);
    QTest::newRow("centred") << 2u << QSize(100, 50) << QPoint(150, 125) << QPoint(149, 124);
    QTest::newRow("wider but lower: stretched") << 2u << QSize(500, 100) << QPoint(0, 299) << QPoint(-1, -1);
    QTest::newRow("lower-left without a position") << 5u << QSize(20, 20) << QPoint(0, 299) << QPoint(20, 299);
}

void TestPaintedShellWindow::bitmapStyles()
{
    QFETCH(unsigned, style);
    QFETCH(QSize, bitmap);
    QFETCH(QPoint, bitmapPixel);
    QFETCH(QPoint, gradientPixel);
    ACF_SHELLWINDOW w;
    w.setCOLORINI(Qt::green);
    w.setCOLOREND(Qt::green); // the gradient is plain green
    w.setBITMAP(solid(bitmap.width(), bitmap.height(), Qt::red));
    w.setBITMAPSTYLE(style);
    const QImage img = client(w);
    QCOMPARE(img.pixelColor(bitmapPixel), QColor(Qt::red));
    if (gradientPixel.x() >= 0)
        QCOMPARE(img.pixelColor(gradientPixel), QColor(Qt::green));
    else
        QVERIFY(boxOf(img, Qt::green).isEmpty());
}

void TestPaintedShellWindow::bitmapToLowerLeft()
{
    ACF_SHELLWINDOW w;
    w.setBITMAP(solid(40, 30, Qt::red));
    w.setBITMAPTOLOWERLEFT(true);
    QCOMPARE(boxOf(client(w), Qt::red), QRect(0, 270, 40, 30));
    w.setBITMAPPOSITION(QPoint(10, 20)); // moved right and up
    QCOMPARE(boxOf(client(w), Qt::red), QRect(10, 250, 40, 30));
}

void TestPaintedShellWindow::bitmapFromFile()
{
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("back.bmp"));
    QVERIFY(solid(100, 50, Qt::blue).save(file, "BMP"));
    ACF_SHELLWINDOW w;
    w.setBITMAPSTYLE(4);
    w.setBITMAP(file); // a file bitmap makes the style 2 whatever it was
    QCOMPARE(w.bitmapStyle(), 2u);
    QCOMPARE(boxOf(client(w), Qt::blue), QRect(150, 125, 100, 50));
    // An owner's bitmap object goes before the file's.
    w.setBITMAP(solid(100, 50, Qt::red));
    QCOMPARE(boxOf(client(w), Qt::red), QRect(150, 125, 100, 50));
    QVERIFY(w.close());
    QVERIFY(!w.hasFileBitmap()); // closing lets the file bitmap go
}

void TestPaintedShellWindow::titleCentredWithShadow()
{
    ACF_SHELLWINDOW w;
    w.setCOLORINI(QColor(50, 50, 50));
    w.setCOLOREND(QColor(50, 50, 50));
    w.setTITLETEXTCOLOR(Qt::white);
    w.setTITLESHADOWCOLOR(Qt::black);
    w.setTITLE(QStringLiteral("VEXO Zud"));
    const QImage img = client(w, QSize(600, 399));
    const QRect title = boxOf(img, Qt::white);
    const QRect shadow = boxOf(img, Qt::black);
    QVERIFY(!title.isEmpty());
    QVERIFY(!shadow.isEmpty());
    QVERIFY2(qAbs(title.center().x() - 300) <= 4, qPrintable(QString::number(title.center().x())));
    QVERIFY2(qAbs(title.center().y() - 200) <= 12, qPrintable(QString::number(title.center().y())));
    QVERIFY(title.width() <= 450); // within three quarters of the width
    QCOMPARE(shadow.bottomRight(), title.bottomRight() + QPoint(3, 3));
}

void TestPaintedShellWindow::multiLineTitleCentredAsABlock()
{
    ACF_SHELLWINDOW w;
    w.setCOLORINI(QColor(50, 50, 50));
    w.setCOLOREND(QColor(50, 50, 50));
    w.setTITLETEXTCOLOR(Qt::white);
    w.setTITLE(QStringLiteral("VEXO\r\nZud"));
    const QImage img = client(w, QSize(600, 399));
    // Two separate bands of title rows, the block centred vertically.
    QList<int> rows;
    for (int y = 0; y < img.height(); ++y) {
        bool any = false;
        for (int x = 0; x < img.width() && !any; ++x)
            any = img.pixelColor(x, y) == QColor(Qt::white);
        if (any)
            rows << y;
    }
    QVERIFY(!rows.isEmpty());
    int bands = 1;
    for (int i = 1; i < rows.size(); ++i)
        bands += rows.at(i) != rows.at(i - 1) + 1;
    QCOMPARE(bands, 2);
    const int middle = (rows.first() + rows.last()) / 2;
    QVERIFY2(qAbs(middle - 200) <= 16, qPrintable(QString::number(middle)));
}

void TestPaintedShellWindow::fixedTitleFromItsOffset()
{
    ACF_SHELLWINDOW w;
    w.setCOLORINI(QColor(50, 50, 50));
    w.setCOLOREND(QColor(50, 50, 50));
    w.setTITLETEXTCOLOR(Qt::white);
    w.setTITLESHADOWCOLOR(Qt::black);
    w.setTITLEOFFSET(QPoint(60, 40));
    w.setTITLE(QStringLiteral("VEXO"));
    const QRect title = boxOf(client(w, QSize(600, 399)), Qt::white);
    const QRect shadow = boxOf(client(w, QSize(600, 399)), Qt::black);
    QVERIFY(!title.isEmpty());
    // Drawn from the offset, left aligned, not centred.
    QVERIFY2(title.left() >= 60 && title.left() < 90, qPrintable(QString::number(title.left())));
    QVERIFY2(title.top() >= 40 && title.top() < 90, qPrintable(QString::number(title.top())));
    QCOMPARE(shadow.bottomRight(), title.bottomRight() + QPoint(3, 3));
    // A long title breaks into lines within the area right of the offset.
    w.setTITLE(QStringLiteral("Karma yem formülasyonu programı"));
    const QRect wrapped = boxOf(client(w, QSize(600, 399)), Qt::white);
    QVERIFY(wrapped.right() < 600);
    QVERIFY(wrapped.height() > title.height() * 3 / 2);
}

void TestPaintedShellWindow::textLinesInTheBottomCorners()
{
    ACF_SHELLWINDOW w;
    w.setCOLORINI(Qt::black);
    w.setCOLOREND(Qt::black);
    w.setCOPYTEXTCOLOR(QColor(255, 255, 0));
    w.setCOPYRIGHT1(QStringLiteral("Sol"));
    const QImage left = client(w);
    const QRect l = yellowish(left);
    QVERIFY(!l.isEmpty());
    QVERIFY(l.left() >= 5 && l.left() <= 8);
    QVERIFY(l.bottom() <= 297 && l.bottom() >= 285);
    QVERIFY(l.right() < 200);

    w.setCOPYRIGHT1(QString());
    w.setCOPYRIGHT2(QStringLiteral("Sag"));
    const QRect r = yellowish(client(w));
    QVERIFY(!r.isEmpty());
    QVERIFY(r.right() <= 394 && r.right() >= 388);
    QVERIFY(r.left() > 200);
    QVERIFY(r.bottom() <= 297 && r.bottom() >= 285);
}

void TestPaintedShellWindow::childWindowsPaintOverTheBackground()
{
    ACF_SHELLWINDOW w;
    w.resize(500, 400);
    auto *inner = new QWidget;
    inner->setAutoFillBackground(true);
    QPalette pal = inner->palette();
    pal.setColor(QPalette::Window, QColor(255, 0, 255));
    inner->setPalette(pal);
    QMdiSubWindow *sub = w.mdiArea()->addSubWindow(inner);
    sub->setGeometry(50, 50, 200, 150);
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    const QImage img = w.mdiArea()->viewport()->grab().toImage();
    QCOMPARE(img.pixelColor(150, 150), QColor(255, 0, 255));
    QCOMPARE(img.pixelColor(5, 0).green(), img.pixelColor(5, 0).blue()); // gradient around it
    QVERIFY(img.pixelColor(5, 0).green() > 240);
}

void TestPaintedShellWindow::keyIndicators()
{
    ACF_SHELLWINDOW w;
    w.EnableStatusBar(true);
    QCOMPARE(w.statusParts().size(), 4);
    w.KEYINDICATORCOLOR = QColor(200, 0, 0);
    w.DISABLEDKEYINDICATORCOLOR = QColor(0, 0, 200);
    w.setKeyState(StatusBarArea::CapsLock, true);
    for (KeyIndicatorPart *part : w.statusParts()) {
        part->resize(part->sizeHint());
        const QImage img = part->grab().toImage();
        const bool on = part->area() == StatusBarArea::CapsLock;
        QVERIFY(!boxOf(img, on ? QColor(200, 0, 0) : QColor(0, 0, 200)).isEmpty());
        QVERIFY(boxOf(img, on ? QColor(0, 0, 200) : QColor(200, 0, 0)).isEmpty());
        // Text at the bottom, above the item border.
        QVERIFY(boxOf(img, on ? QColor(200, 0, 0) : QColor(0, 0, 200)).bottom() <= img.height() - 1 - w.ITEMBORDER);
    }
    // A part of another kind draws no text.
    KeyIndicatorPart message(&w, StatusBarArea::Message, nullptr);
    message.resize(80, 20);
    message.setAutoFillBackground(true);
    const QImage img = message.grab().toImage();
    QVERIFY(boxOf(img, QColor(200, 0, 0)).isEmpty());
    QVERIFY(boxOf(img, QColor(0, 0, 200)).isEmpty());

    w.EnableStatusBar(false);
    QVERIFY(w.statusParts().isEmpty());
    QTRY_VERIFY(!w.findChild<QStatusBar *>()); // let go of at the next turn of the event loop
}

void TestPaintedShellWindow::toolBarAssignAndSwap()
{
    ACF_SHELLWINDOW w;
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    QPointer<QToolBar> first = new QToolBar;
    QCOMPARE(w.ACF_TOOLBAR(first), first.data());
    QCOMPARE(w.OLDTOOLBAR(), first.data());
    QCOMPARE(first->parentWidget(), &w);
    w.ACF_TOOLBAR(first); // already in the slot: nothing is destroyed
    QVERIFY(first);
    QPointer<QToolBar> second = new QToolBar;
    w.ACF_TOOLBAR(second);
    QVERIFY(!first); // the bar it replaced is destroyed
    QCOMPARE(w.OLDTOOLBAR(), second.data());

    // A child's bar swaps in: shown, the frame's hidden, one layout for the whole swap.
    QPointer<QToolBar> child = new QToolBar;
    const int layouts = w.toolBarLayouts();
    QCOMPARE(w.SETCHILDTOOLBAR__(child), child.data());
    QCOMPARE(w.toolBarLayouts(), layouts + 1);
    QVERIFY(child->isVisible());
    QVERIFY(second); // swapped out, not destroyed
    QVERIFY(!second->isVisible());
    QCOMPARE(w.SETCHILDTOOLBAR__(child), child.data()); // already there: nothing happens
    QCOMPARE(w.toolBarLayouts(), layouts + 1);

    // Outside the swap a bar's height change lays the window out.
    child->hide();
    QCOMPARE(w.toolBarLayouts(), layouts + 2);

    // Any other location setting does nothing.
    w.ChildToolBarLocation = 2;
    QCOMPARE(w.SETCHILDTOOLBAR__(second), child.data());
    QCOMPARE(w.OLDTOOLBAR(), child.data());

    // OLDTOOLBAR writes the slot and nothing else.
    w.setOLDTOOLBAR(second);
    QVERIFY(child);
    QCOMPARE(w.OLDTOOLBAR(), second.data());
}

// A child window's bar is its own: when its owner destroys it while it is the frame's, the events of
// its going (the frame loses a child) reach the frame's filter, which must not take the dying object
// for a tool bar (the sanitizer build stops on that). The slot empties and a new bar goes in.
void TestPaintedShellWindow::aBarDestroyedInTheSlotLeavesTheWindowWorking()
{
    ACF_SHELLWINDOW w;
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    w.ACF_TOOLBAR(new QToolBar);
    auto *child = new QToolBar;
    QCOMPARE(w.SETCHILDTOOLBAR__(child), child);
    delete child;
    QVERIFY(!w.OLDTOOLBAR());
    QPointer<QToolBar> next = new QToolBar;
    QCOMPARE(w.ACF_TOOLBAR(next), next.data());
    QCOMPARE(w.OLDTOOLBAR(), next.data());
    next->show();
    const int layouts = w.toolBarLayouts();
    next->hide();
    QCOMPARE(w.toolBarLayouts(), layouts + 1);
}

QTEST_MAIN(TestPaintedShellWindow)
#include "tst_painted_shell_window.moc"
