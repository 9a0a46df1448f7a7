// The bitmap list box on screen: where images and lines are drawn, the colours of the active row with
// and without the focus, the keys as a user presses them, and PAINT's light grey.
#include "classes/bitmap_list_box.h"

#include <QImage>
#include <QLineEdit>
#include <QPainter>
#include <QScreen>
#include <QStyle>
#include <QStyleFactory>
#include <QTemporaryDir>
#include <QtTest>

using namespace vexo;

namespace {

const QColor Highlight(0, 0, 200);

QPixmap solid(int w, int h, QColor c)
{
    QPixmap pm(w, h);
    pm.fill(c);
    return pm;
}

void knownColours(QWidget &w)
{
    // A widget does not own the style it is given: the widget's child goes with it.
    QStyle *style = QStyleFactory::create(QStringLiteral("Fusion"));
    style->setParent(&w);
    w.setStyle(style);
    QPalette pal = w.palette();
    pal.setColor(QPalette::Base, Qt::white);
    pal.setColor(QPalette::Text, Qt::black);
    pal.setColor(QPalette::Highlight, Highlight);
    pal.setColor(QPalette::HighlightedText, Qt::white);
    w.setPalette(pal);
}

// The list box's rows as drawn now (the view lays its rows out late, so it is done first).
QImage rendered(BITMAPLISTBOX &box)
{
    box.doItemsLayout();
    return box.viewport()->grab().toImage();
}

// The top and bottom of each band of rows holding dark pixels right of the image cell.
QList<QPair<int, int>> inkBands(const QImage &img, int fromX, int top, int bottom)
{
    QList<QPair<int, int>> bands;
    int start = -1;
    for (int y = top; y <= bottom; ++y) {
        bool ink = false;
        for (int x = fromX; x < img.width() && !ink; ++x)
            ink = qGray(img.pixel(x, y)) < 128;
        if (ink && start < 0)
            start = y;
        if (!ink && start >= 0) {
            bands.append({start, y - 1});
            start = -1;
        }
    }
    if (start >= 0)
        bands.append({start, bottom});
    return bands;
}

} // namespace

class TestBitmapListBox : public QObject
{
    Q_OBJECT
private slots:
    void iconCentredOnTheCell();
    void bitmapCopiedIntoTheCell();
    void bitmapFileReadWhenDrawn();
    void multilineBlockCentred();
    void activeRowShowsWithAndWithoutFocus();
    void keysAsTheUserPressesThem();
    void subclassCanTakeThePress();
    void paintFillsTheClientAreaLightGreyAndLeavesNothingToPaint();
};

void TestBitmapListBox::iconCentredOnTheCell()
{
    BITMAPLISTBOX box;
    knownColours(box);
    box.NACTIVEINDEX = -1; // no active row: every row in the window colours
    box.resize(200, 100);
    box.ADDNODE(QStringLiteral("plain"));
    box.ADDNODE(QStringLiteral("icon"), {}, QVariant::fromValue(QIcon(solid(32, 32, Qt::green))), 2);
    const QImage img = rendered(box);
    // Row 1 starts at y 16: the 32 x 32 icon covers x -6..25 and y 8..39.
    QCOMPARE(img.pixelColor(0, 8), QColor(Qt::green));
    QCOMPARE(img.pixelColor(25, 39), QColor(Qt::green));
    QCOMPARE(img.pixelColor(25, 20), QColor(Qt::green));
    QVERIFY(img.pixelColor(26, 20) != QColor(Qt::green));
    QVERIFY(img.pixelColor(0, 7) != QColor(Qt::green));
    QVERIFY(img.pixelColor(0, 40) != QColor(Qt::green));
}

void TestBitmapListBox::bitmapCopiedIntoTheCell()
{
    BITMAPLISTBOX box;
    knownColours(box);
    box.NACTIVEINDEX = -1; // no active row: every row in the window colours
    box.resize(200, 100);
    box.ADDNODE(QStringLiteral("bitmap"), {}, QVariant::fromValue(solid(40, 40, Qt::red)), 1);
    const QImage img = rendered(box);
    QCOMPARE(img.pixelColor(0, 0), QColor(Qt::red));
    QCOMPARE(img.pixelColor(19, 15), QColor(Qt::red));
    QVERIFY(img.pixelColor(20, 5) != QColor(Qt::red)); // only the 20 x 16 cell is copied
    QVERIFY(img.pixelColor(5, 16) != QColor(Qt::red));
}

void TestBitmapListBox::bitmapFileReadWhenDrawn()
{
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("cell.bmp"));
    QVERIFY(solid(20, 16, Qt::blue).save(file, "BMP"));
    BITMAPLISTBOX box;
    knownColours(box);
    box.NACTIVEINDEX = -1; // no active row: every row in the window colours
    box.resize(200, 100);
    box.ADDNODE(QStringLiteral("from disk"), {}, {}, 4, file);
    QCOMPARE(rendered(box).pixelColor(10, 8), QColor(Qt::blue));
    // The file is read at every drawing: a changed file shows at the next one.
    QVERIFY(solid(20, 16, Qt::yellow).save(file, "BMP"));
    QCOMPARE(rendered(box).pixelColor(10, 8), QColor(Qt::yellow));
    QFile::remove(file);
    QCOMPARE(rendered(box).pixelColor(10, 8), QColor(Qt::white));
}

void TestBitmapListBox::multilineBlockCentred()
{
    BITMAPLISTBOX box;
    knownColours(box);
    box.NACTIVEINDEX = -1; // no active row: every row in the window colours
    box.resize(300, 200);
    box.setNBITMAPHEIGHT(80);
    box.MULTILINE = true;
    box.ADDNODE(QStringLiteral("HHHH;HHHH"));
    const QImage img = rendered(box);
    const auto bands = inkBands(img, 0, 0, 79);
    QCOMPARE(bands.size(), 2);
    // No ink left of the text's start (image cell width + 2).
    QVERIFY(inkBands(img.copy(0, 0, 22, 80), 0, 0, 79).isEmpty());
    const int blockMiddle = (bands.first().first + bands.last().second) / 2;
    QVERIFY2(qAbs(blockMiddle - 40) <= 4, qPrintable(QString::number(blockMiddle)));

    // Off, the same text is one line with the ";" in it.
    box.MULTILINE = false;
    QCOMPARE(inkBands(rendered(box), 0, 0, 79).size(), 1);
}

void TestBitmapListBox::activeRowShowsWithAndWithoutFocus()
{
    QWidget window;
    auto *box = new BITMAPLISTBOX(&window);
    auto *other = new QLineEdit(&window);
    knownColours(*box);
    box->setGeometry(0, 0, 200, 100);
    other->setGeometry(0, 120, 100, 20);
    for (const char *t : {"a", "b", "c"})
        box->ADDNODE(QString::fromLatin1(t));
    window.show();
    window.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&window));

    box->setFocus();
    QTRY_VERIFY(box->hasFocusFlag());
    box->setCurrentRow(2);
    QCOMPARE(box->NACTIVEINDEX, 2); // a selected row taking the focus drawing becomes active
    QImage img = rendered(*box);
    QCOMPARE(img.pixelColor(100, 40), Highlight);
    QCOMPARE(img.pixelColor(100, 8), QColor(Qt::white));

    other->setFocus();
    QTRY_VERIFY(!box->hasFocusFlag());
    box->setCurrentRow(0); // without the focus the active row does not move ...
    QCOMPARE(box->NACTIVEINDEX, 2);
    img = rendered(*box);
    QCOMPARE(img.pixelColor(100, 40), Highlight); // ... and it is the one shown selected
    QCOMPARE(img.pixelColor(100, 8), QColor(Qt::white));
}

void TestBitmapListBox::keysAsTheUserPressesThem()
{
    QWidget window;
    auto *box = new BITMAPLISTBOX(&window);
    box->setGeometry(0, 0, 200, 100);
    for (const char *t : {"a", "b", "c"})
        box->ADDNODE(QString::fromLatin1(t));
    window.show();
    window.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&window));
    box->setFocus();
    QTRY_VERIFY(box->hasFocusFlag());

    QTest::keyClick(box, Qt::Key_Up);
    QCOMPARE(box->currentRow(), -1);
    QTest::keyClick(box, Qt::Key_Down);
    QCOMPARE(box->currentRow(), 0);
    QTest::keyClick(box, Qt::Key_Down);
    QTest::keyClick(box, Qt::Key_Down);
    QTest::keyClick(box, Qt::Key_Down);
    QCOMPARE(box->currentRow(), 2);
    QCOMPARE(box->NACTIVEINDEX, 2);
    QTest::keyClick(box, Qt::Key_Up);
    QCOMPARE(box->currentRow(), 1);

    QTest::keyClick(box, Qt::Key_Delete);
    QCOMPARE(box->rowIds(), (QList<int>{2, 4}));
    QCOMPARE(box->ALISTBOX().size(), 2);

    // A double click on a row hands its value to the owner's block.
    QVariantList got;
    box->BONMOUSEDBLCLK = [&](BITMAPLISTBOX &, const QVariant &v) { got << v; };
    box->ADDNODE(QStringLiteral("d"), QStringLiteral("vd"));
    const QPoint at = box->visualRect(box->model()->index(2, 0)).center();
    QTest::mouseClick(box->viewport(), Qt::LeftButton, {}, at);
    QTest::mouseDClick(box->viewport(), Qt::LeftButton, {}, at);
    QCOMPARE(got, QVariantList{QStringLiteral("vd")});
    QVERIFY(!box->buttonDownFlag());
}

namespace {
struct TakingBox : BITMAPLISTBOX
{
    bool take = true;
    int presses = 0;
    bool LBUTTONDOWN(QMouseEvent *) override
    {
        ++presses;
        return take;
    }
};
} // namespace

void TestBitmapListBox::subclassCanTakeThePress()
{
    TakingBox box;
    box.resize(200, 100);
    box.ADDNODE(QStringLiteral("a"));
    box.ADDNODE(QStringLiteral("b"));
    box.doItemsLayout();
    const QPoint at = box.visualRect(box.model()->index(1, 0)).center();
    QTest::mousePress(box.viewport(), Qt::LeftButton, {}, at);
    QCOMPARE(box.presses, 1);
    QVERIFY(box.buttonDownFlag());
    QCOMPARE(box.currentRow(), -1); // taken: the row is not selected
    QTest::mouseRelease(box.viewport(), Qt::LeftButton, {}, at);
    QVERIFY(!box.buttonDownFlag());
    box.take = false;
    QTest::mouseClick(box.viewport(), Qt::LeftButton, {}, at);
    QCOMPARE(box.presses, 2);
    QCOMPARE(box.currentRow(), 1);
}

namespace {
// What the window shows: its pixels as last painted, not a fresh rendering of the widget.
QImage onScreen(QWidget &window)
{
    return window.screen()->grabWindow(window.winId()).toImage();
}

// Every pixel of the rectangle has the colour; otherwise the first one that has not.
QString firstOther(const QImage &img, const QRect &rect, const QColor &colour)
{
    for (int y = rect.top(); y <= rect.bottom(); ++y)
        for (int x = rect.left(); x <= rect.right(); ++x)
            if (img.pixelColor(x, y) != colour)
                return QStringLiteral("(%1, %2) is %3").arg(x).arg(y).arg(img.pixelColor(x, y).name());
    return {};
}
} // namespace

void TestBitmapListBox::paintFillsTheClientAreaLightGreyAndLeavesNothingToPaint()
{
    QWidget window;
    knownColours(window);
    auto *box = new BITMAPLISTBOX(&window);
    knownColours(*box);
    box->NACTIVEINDEX = -1; // no active row: every row in the window colours
    box->setGeometry(10, 10, 200, 100);
    box->ADDNODE(QStringLiteral("bitmap"), {}, QVariant::fromValue(solid(20, 16, Qt::red)), 1);
    box->ADDNODE(QStringLiteral("text"));
    window.resize(240, 140);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    box->doItemsLayout();
    const QRect client(box->viewport()->mapTo(&window, QPoint(0, 0)), box->viewport()->size());
    const QPoint cell = client.topLeft() + QPoint(5, 5);
    QTRY_COMPARE(onScreen(window).pixelColor(cell), QColor(Qt::red));
    QImage shown = onScreen(window);
    QCOMPARE(shown.pixelColor(client.center() + QPoint(0, 30)), QColor(Qt::white));
    const QColor frame = shown.pixelColor(client.topLeft() - QPoint(1, 1));
    const QColor outside = shown.pixelColor(2, 2);

    // With a repaint of the rows pending, PAINT: the whole client area is light grey at once, rows
    // and all, and stays so, for the pending paint went with it.
    box->viewport()->update();
    box->PAINT();
    shown = onScreen(window);
    QVERIFY2(firstOther(shown, client, QColor(192, 192, 192)).isEmpty(),
             qPrintable(firstOther(shown, client, QColor(192, 192, 192))));
    QCOMPARE(BITMAPLISTBOX::kLightGrey, QColor(192, 192, 192));
    // Only the client area: the frame around it and the window are as they were.
    QCOMPARE(shown.pixelColor(client.topLeft() - QPoint(1, 1)), frame);
    QCOMPARE(shown.pixelColor(2, 2), outside);
    QTest::qWait(50);
    shown = onScreen(window);
    QVERIFY2(firstOther(shown, client, QColor(192, 192, 192)).isEmpty(),
             qPrintable(firstOther(shown, client, QColor(192, 192, 192))));

    // The next invalidation draws the rows again.
    box->REFRESH();
    QTRY_COMPARE(onScreen(window).pixelColor(cell), QColor(Qt::red));
    QCOMPARE(onScreen(window).pixelColor(client.center() + QPoint(0, 30)), QColor(Qt::white));

}

QTEST_MAIN(TestBitmapListBox)
#include "tst_bitmap_list_box.moc"
