// The hyperlink text, its brush, the bitmap read from disk and the three mouse-tracking windows.
#include "classes/hyperlink_text.h"
#include "classes/mouse_tracking.h"
#include "platform/shell_open.h"

#include <QImage>
#include <QMouseEvent>
#include <QTemporaryDir>
#include <QtTest>

#include <memory>

using namespace vexo;

namespace {

struct RecordingOpener : ShellOpener
{
    RecordingOpener() { setShellOpener(this); }
    ~RecordingOpener() override { setShellOpener(nullptr); }
    bool open(QWidget *owner, const QString &target) override
    {
        owners << owner;
        opened << target;
        return false; // a link the desktop cannot open gives no message
    }
    QList<QWidget *> owners;
    QStringList opened;
};

// A control that takes part in the tracking and logs the calls it gets.
class Probe : public QWidget
{
    Q_OBJECT
public:
    Probe(const QString &name, QStringList *log, QWidget *parent) : QWidget(parent), m_log(log)
    {
        setObjectName(name);
    }
    Q_INVOKABLE void MOUSEENTER()
    {
        m_log->append(objectName() + QStringLiteral(".enter"));
        if (onEnter)
            onEnter();
    }
    Q_INVOKABLE void MOUSEEXIT() { m_log->append(objectName() + QStringLiteral(".exit")); }
    std::function<void()> onEnter;

private:
    QStringList *m_log;
};

// A window of one of the three kinds with two probes, a control without the methods and a hyperlink.
struct TrackedWindow
{
    explicit TrackedWindow(int kind)
    {
        switch (kind) {
        case 0: { auto *d = new NEWDATADIALOG; tracker = &d->tracker(); window.reset(d); break; }
        case 1: { auto *d = new NEWDATAWINDOW; tracker = &d->tracker(); window.reset(d); break; }
        default: { auto *d = new NEWDIALOGWINDOW; tracker = &d->tracker(); window.reset(d); break; }
        }
        window->resize(400, 200);
        a = new Probe(QStringLiteral("a"), &log, window.get());
        a->setGeometry(10, 10, 100, 20);
        b = new Probe(QStringLiteral("b"), &log, window.get());
        b->setGeometry(10, 40, 100, 20);
        plain = new QWidget(window.get());
        plain->setGeometry(10, 70, 100, 20);
        link = new FIXEDTEXTHYPERLINK(window.get(), QStringLiteral("www.example.invalid"));
        link->setGeometry(200, 10, 150, 20);
        tracker->setPositionReader([this]() -> std::optional<QPoint> { return cursor; });
    }
    // The mouse moves onto a widget (or the window's own surface): the widget gets its Enter.
    void moveOnto(QWidget *w)
    {
        cursor = w->mapToGlobal(QPoint(w->width() / 2, w->height() / 2));
        QEnterEvent e(QPointF(w->width() / 2, w->height() / 2), QPointF(cursor->x(), cursor->y()),
                      QPointF(cursor->x(), cursor->y()));
        QApplication::sendEvent(w, &e);
    }
    std::unique_ptr<QWidget> window;
    MouseTracker *tracker = nullptr;
    Probe *a = nullptr;
    Probe *b = nullptr;
    QWidget *plain = nullptr;
    FIXEDTEXTHYPERLINK *link = nullptr;
    QStringList log;
    std::optional<QPoint> cursor;
};

QPixmap solid(int w, int h, QColor c)
{
    QPixmap pm(w, h);
    pm.fill(c);
    return pm;
}

} // namespace

class TestHyperlinkText : public QObject
{
    Q_OBJECT
private slots:
    void predefinedColours();
    void looksBlueOnWhite();
    void clickOpensLinkOrCaption();
    void handCursorOnThisLabelOnly();
    void brushLetsGoOfItsObject();
    void bitmapFromDisk();
    void tracking_data();
    void tracking();
    void trackingThroughTheRealPointer();
};

void TestHyperlinkText::predefinedColours()
{
    QCOMPARE(predefinedColour(0), QColor(0, 0, 0));
    QCOMPARE(predefinedColour(1), QColor(0, 0, 255));
    QCOMPARE(predefinedColour(7), QColor(255, 255, 255));
    QVERIFY(!predefinedColour(9).isValid());
}

void TestHyperlinkText::looksBlueOnWhite()
{
    FIXEDTEXTHYPERLINK link(nullptr, QStringLiteral("HHHHHHHH"));
    link.resize(120, 24);
    QCOMPARE(link.backgroundBrush().brush().color(), QColor(255, 255, 255));
    const QImage img = link.grab().toImage();
    QCOMPARE(img.pixelColor(118, 22), QColor(Qt::white));
    bool blue = false;
    for (int y = 0; y < img.height() && !blue; ++y)
        for (int x = 0; x < img.width() && !blue; ++x) {
            const QColor c = img.pixelColor(x, y);
            blue = c.blue() > 200 && c.red() < 60 && c.green() < 60;
        }
    QVERIFY(blue);
}

void TestHyperlinkText::clickOpensLinkOrCaption()
{
    RecordingOpener opener;
    QWidget owner;
    FIXEDTEXTHYPERLINK link(&owner, QStringLiteral("https://example.invalid/yem"));
    link.resize(200, 20);
    QTest::mouseClick(&link, Qt::RightButton);
    QVERIFY(opener.opened.isEmpty());
    QTest::mouseClick(&link, Qt::LeftButton);
    QCOMPARE(opener.opened, QStringList{QStringLiteral("https://example.invalid/yem")}); // empty LINK: the caption
    QCOMPARE(opener.owners, QList<QWidget *>{&owner});
    link.LINK = QStringLiteral("/tmp/belge.txt");
    QTest::mousePress(&link, Qt::LeftButton); // the press opens it
    QCOMPARE(opener.opened.last(), QStringLiteral("/tmp/belge.txt"));
    QCOMPARE(opener.opened.size(), 2);
    QTest::mouseRelease(&link, Qt::LeftButton); // the release opens nothing more
    QCOMPARE(opener.opened.size(), 2);
}

void TestHyperlinkText::handCursorOnThisLabelOnly()
{
    QWidget owner;
    FIXEDTEXTHYPERLINK first(&owner, QStringLiteral("a"));
    FIXEDTEXTHYPERLINK second(&owner, QStringLiteral("b"));
    first.setCursor(Qt::IBeamCursor);
    first.MOUSEENTER();
    QCOMPARE(first.cursor().shape(), Qt::BitmapCursor); // the hand picture
    QCOMPARE(second.cursor().shape(), Qt::ArrowCursor);
    QVERIFY(first.savedCursor());
    QCOMPARE(first.savedCursor()->shape(), Qt::IBeamCursor);
    first.MOUSEEXIT();
    QCOMPARE(first.cursor().shape(), Qt::IBeamCursor);
    second.MOUSEEXIT(); // no enter before: no pointer of its own
    QCOMPARE(second.cursor().shape(), Qt::ArrowCursor);
}

void TestHyperlinkText::brushLetsGoOfItsObject()
{
    FTHBRUSH_ brush(predefinedColour(7));
    QCOMPARE(brush.brush().style(), Qt::SolidPattern);
    QVERIFY(!brush.destroyed());
    brush.AXIT();
    QVERIFY(brush.destroyed());
    QCOMPARE(brush.brush().style(), Qt::NoBrush);
    brush.Destroy(); // twice is harmless
    QVERIFY(brush.destroyed());
}

void TestHyperlinkText::bitmapFromDisk()
{
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("resim.bmp"));
    QVERIFY(solid(37, 23, Qt::red).save(file, "BMP"));
    const VOBITMAPFROMDISK bitmap(QVariant(), file);
    QVERIFY(!bitmap.isNull());
    QCOMPARE(bitmap.Size(), QSize(37, 23)); // its natural size
    QCOMPARE(bitmap.Handle().toImage().pixelColor(36, 22), QColor(Qt::red));
    QVERIFY(VOBITMAPFROMDISK(42, dir.filePath(QStringLiteral("yok.bmp"))).isNull());
    QFile junk(dir.filePath(QStringLiteral("bozuk.bmp")));
    QVERIFY(junk.open(QIODevice::WriteOnly));
    junk.write("BM not really a bitmap");
    junk.close();
    QVERIFY(VOBITMAPFROMDISK(QVariant(), junk.fileName()).isNull());
}

void TestHyperlinkText::tracking_data()
{
    QTest::addColumn<int>("kind");
    QTest::newRow("NEWDATADIALOG") << 0;
    QTest::newRow("NEWDATAWINDOW") << 1;
    QTest::newRow("NEWDIALOGWINDOW") << 2;
}

void TestHyperlinkText::tracking()
{
    QFETCH(int, kind);
    TrackedWindow t(kind);
    t.window->show();
    QVERIFY(QTest::qWaitForWindowExposed(t.window.get()));

    // From one taking part straight to another: the first's exit before the second's enter.
    t.moveOnto(t.a);
    QCOMPARE(t.tracker->objectUnderMouse(), t.a);
    t.moveOnto(t.b);
    QCOMPARE(t.log, (QStringList{QStringLiteral("a.enter"), QStringLiteral("a.exit"), QStringLiteral("b.enter")}));

    // Over a control without the methods: it becomes the one under the mouse with no call, and
    // leaving it calls nothing on it either.
    t.log.clear();
    t.moveOnto(t.plain);
    QCOMPARE(t.tracker->objectUnderMouse(), t.plain);
    QCOMPARE(t.log, QStringList{QStringLiteral("b.exit")});
    t.moveOnto(t.window.get());
    QCOMPARE(t.tracker->objectUnderMouse(), t.window.get());
    QCOMPARE(t.log, QStringList{QStringLiteral("b.exit")});

    // A hyperlink text on these windows changes the pointer by itself.
    t.moveOnto(t.link);
    QCOMPARE(t.link->cursor().shape(), Qt::BitmapCursor);
    t.moveOnto(t.window.get());
    QCOMPARE(t.link->cursor().shape(), Qt::ArrowCursor);

    // Moving within the same control checks again but calls nothing.
    t.log.clear();
    t.moveOnto(t.a);
    const int checks = t.tracker->checks();
    QMouseEvent move(QEvent::MouseMove, QPointF(3, 3), QPointF(*t.cursor), Qt::NoButton, Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(t.a, &move);
    QCOMPARE(t.tracker->checks(), checks + 1);
    QCOMPARE(t.log, QStringList{QStringLiteral("a.enter")});

    // A mouse message caused by the call itself is passed on unchecked.
    int seen = 0;
    t.b->onEnter = [&] {
        QVERIFY(t.tracker->busy());
        QMouseEvent inner(QEvent::MouseMove, QPointF(1, 1), QPointF(*t.cursor), Qt::NoButton, Qt::NoButton,
                          Qt::NoModifier);
        QApplication::sendEvent(t.window.get(), &inner);
        ++seen;
    };
    const int before = t.tracker->checks();
    t.moveOnto(t.b);
    QCOMPARE(seen, 1);
    QCOMPARE(t.tracker->checks(), before + 1);
    QVERIFY(!t.tracker->busy());
    QCOMPARE(t.tracker->objectUnderMouse(), t.b);

    // A position that cannot be read checks nothing.
    t.b->onEnter = nullptr;
    t.tracker->setPositionReader([]() -> std::optional<QPoint> { return std::nullopt; });
    t.log.clear();
    const int unread = t.tracker->checks();
    t.moveOnto(t.a);
    QCOMPARE(t.tracker->checks(), unread);
    QVERIFY(t.log.isEmpty());

    // Mouse messages of widgets of other windows are not this window's.
    QWidget elsewhere;
    elsewhere.resize(50, 50);
    t.tracker->setPositionReader([&]() -> std::optional<QPoint> { return t.cursor; });
    const int outside = t.tracker->checks();
    QEnterEvent e(QPointF(1, 1), QPointF(1, 1), QPointF(1, 1));
    QApplication::sendEvent(&elsewhere, &e);
    QCOMPARE(t.tracker->checks(), outside);
}

void TestHyperlinkText::trackingThroughTheRealPointer()
{
    // The pointer put over each probe in turn, as the platform reports it.
    TrackedWindow t(0);
    t.tracker->setPositionReader([]() -> std::optional<QPoint> { return QCursor::pos(); });
    t.window->show();
    QVERIFY(QTest::qWaitForWindowExposed(t.window.get()));
    QCursor::setPos(t.a->mapToGlobal(QPoint(50, 10)));
    QTest::mouseMove(t.a, QPoint(50, 10));
    QTRY_COMPARE(t.tracker->objectUnderMouse(), t.a);
    QCursor::setPos(t.b->mapToGlobal(QPoint(50, 10)));
    QTest::mouseMove(t.b, QPoint(50, 10));
    QTRY_COMPARE(t.tracker->objectUnderMouse(), t.b);
    QCOMPARE(t.log.mid(0, 3), (QStringList{QStringLiteral("a.enter"), QStringLiteral("a.exit"), QStringLiteral("b.enter")}));
}

QTEST_MAIN(TestHyperlinkText)
#include "tst_hyperlink_text.moc"
