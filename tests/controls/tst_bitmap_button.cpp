// Mouse and key scripts on a bitmap button and renders of the OK preset sampled at pixels.
#include "controls/bitmap_presets.h"
#include "controls/named_owner.h"

#include <QMouseEvent>
#include <QLineEdit>
#include <QtTest>

#include <memory>

using namespace vexo;

namespace {

// A dialog that counts the calls of its OK handler.
struct Dialog : QWidget, NamedCommandOwner
{
    Dialog() { namedCommands().add(QStringLiteral("PBTAMAM"), [this] { ++okCalls; }); }
    int okCalls = 0;
};

void sendMouse(QWidget *w, QEvent::Type type, QPoint pos, Qt::MouseButton button, Qt::MouseButtons buttons)
{
    QMouseEvent event(type, QPointF(pos), w->mapToGlobal(QPointF(pos)), button, buttons, Qt::NoModifier);
    QApplication::sendEvent(w, &event);
}

void press(QWidget *w, QPoint p) { sendMouse(w, QEvent::MouseButtonPress, p, Qt::LeftButton, Qt::LeftButton); }
void drag(QWidget *w, QPoint p) { sendMouse(w, QEvent::MouseMove, p, Qt::NoButton, Qt::LeftButton); }
void hover(QWidget *w, QPoint p) { sendMouse(w, QEvent::MouseMove, p, Qt::NoButton, Qt::NoButton); }
void release(QWidget *w, QPoint p) { sendMouse(w, QEvent::MouseButtonRelease, p, Qt::LeftButton, Qt::NoButton); }

bool isInk(QRgb c, QRgb face)
{
    return qAbs(qGray(c) - qGray(face)) > 40;
}

} // namespace

class TestBitmapButton : public QObject
{
    Q_OBJECT

    std::unique_ptr<Dialog> dialog;
    OKBMPBUTTON *button = nullptr;

private slots:
    void init()
    {
        BitmapButtonThemes::setLoaded(false);
        dialog = std::make_unique<Dialog>();
        dialog->resize(200, 80);
        button = new OKBMPBUTTON(dialog.get());
        button->setHyperLabel(QStringLiteral("PBTAMAM"), QStringLiteral("Tamam "));
        button->setGeometry(10, 10, 100, 24);
        // Another field holds the focus, so the button is not focused unless a test says so.
        auto *field = new QLineEdit(dialog.get());
        field->setGeometry(10, 40, 60, 20);
        dialog->show();
        QVERIFY(QTest::qWaitForWindowExposed(dialog.get()));
        field->setFocus();
    }
    void cleanup()
    {
        dialog.reset();
        BitmapButtonThemes::setLoaded(std::nullopt);
    }

    void newButtonState()
    {
        JOVBITMAPBUTTON plain(dialog.get());
        QCOMPARE(plain.captionPos(), CaptionPos::CENTER);
        QVERIFY(!plain.ImageList().has_value());
        QVERIFY(!plain.UseXPTheme()); // the theme answer is "classic" here
        BitmapButtonThemes::setLoaded(true);
        JOVBITMAPBUTTON themed(dialog.get());
        QVERIFY(themed.UseXPTheme());

        QCOMPARE(plain.setCaptionPos(QStringLiteral("MIDDLE")), CaptionPos::CENTER);
        QCOMPARE(plain.setCaptionPos(QStringLiteral("top")), CaptionPos::TOP);
        QCOMPARE(plain.setCaptionPos(QStringLiteral("")), CaptionPos::TOP);

        INTERPOLBMPBUTTON interpol(dialog.get());
        QCOMPARE(interpol.captionPos(), CaptionPos::CENTER);
        QVERIFY(!interpol.ImageList().has_value());
    }

    void presetsHoldOneSixteenPixelImage()
    {
        for (const BitmapPreset &preset : bitmapPresets()) {
            JOVBITMAPBUTTON b(dialog.get());
            applyBitmapPreset(&b, preset);
            QCOMPARE(b.captionPos(), CaptionPos::RIGHT);
            QVERIFY(b.ImageList().has_value());
            QCOMPARE(b.ImageList()->size, QSize(16, 16));
            const bool missing = QByteArray(preset.name) == "EKLEBMPBUTTON" || QByteArray(preset.name) == "UDETAYBMPBUTTON";
            QCOMPARE(b.ImageList()->count(), missing ? 0 : 1);
        }
        QCOMPARE(bitmapPresets().size(), 23);
        EKLEBMPBUTTON ekle(dialog.get(), QStringLiteral("Ekle"));
        ekle.resize(80, 24);
        QVERIFY(!ekle.grab().isNull()); // draws its caption only, without failing
    }

    void dragOffAndBack()
    {
        const QPoint in(50, 12), out(150, 12);
        press(button, in);
        QVERIFY(button->isPressed());
        QVERIFY(button->hasFocus());
        drag(button, out);
        QVERIFY(!button->isPressed());
        release(button, out);
        QCOMPARE(dialog->okCalls, 0);
        QVERIFY(!button->isPressed());

        press(button, in);
        drag(button, out);
        drag(button, in);
        QVERIFY(button->isPressed());
        release(button, in);
        QCOMPARE(dialog->okCalls, 1);
        QVERIFY(!button->isPressed());

        // Another mouse button's release calls nothing.
        sendMouse(button, QEvent::MouseButtonPress, in, Qt::RightButton, Qt::RightButton);
        sendMouse(button, QEvent::MouseButtonRelease, in, Qt::RightButton, Qt::NoButton);
        QCOMPARE(dialog->okCalls, 1);
    }

    void keysActOncePerStroke()
    {
        button->setFocus();
        QTest::keyClick(button, Qt::Key_Return);
        QCOMPARE(dialog->okCalls, 1);
        QTest::keyPress(button, Qt::Key_Space);
        QCOMPARE(dialog->okCalls, 1); // Space acts when let go
        QTest::keyRelease(button, Qt::Key_Space);
        QCOMPARE(dialog->okCalls, 2);
        QTest::keyClick(button, Qt::Key_Enter, Qt::KeypadModifier);
        QCOMPARE(dialog->okCalls, 3);
        // A held Enter repeats nothing.
        QKeyEvent repeat(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier, QString(), true);
        QApplication::sendEvent(button, &repeat);
        QCOMPARE(dialog->okCalls, 3);
        // A Space released without its press (the press went to another window) does nothing.
        QTest::keyRelease(button, Qt::Key_Space);
        QCOMPARE(dialog->okCalls, 3);
        button->click();
        QCOMPARE(dialog->okCalls, 4);
    }

    void disabledButtonDoesNothing()
    {
        button->setEnabled(false);
        press(button, QPoint(50, 12));
        release(button, QPoint(50, 12));
        QTest::keyClick(button, Qt::Key_Return);
        button->click();
        QCOMPARE(dialog->okCalls, 0);
    }

    void noHandlerNoCall()
    {
        button->setObjectName(QStringLiteral("PBYOK"));
        press(button, QPoint(50, 12));
        release(button, QPoint(50, 12));
        button->click();
        QCOMPARE(dialog->okCalls, 0);
        QVERIFY(!button->isPressed());
    }

    void hoverAndSetState()
    {
        hover(button, QPoint(50, 12));
        QVERIFY(button->isHot());
        hover(button, QPoint(150, 12));
        QVERIFY(!button->isHot());
        hover(button, QPoint(50, 12));
        QEvent leave(QEvent::Leave);
        QApplication::sendEvent(button, &leave);
        QVERIFY(!button->isHot());

        hover(button, QPoint(50, 12));
        button->setState(true);
        QVERIFY(button->isPressed());
        QVERIFY(!button->isHot());
        button->setState(false);
        QVERIFY(!button->isPressed());
    }

    void okPresetRender()
    {
        QVERIFY(!button->drawsThemed());
        const QImage image = button->grab().toImage();
        const QRgb face = image.pixel(50, 2);
        // The icon occupies columns 8..23: ink inside, nothing in columns 3..7.
        int iconInk = 0, leftOfIcon = 0;
        for (int y = 4; y < 20; ++y) {
            for (int x = 8; x < 24; ++x)
                iconInk += image.pixelColor(x, y).alpha() && image.pixel(x, y) != face;
            for (int x = 3; x < 8; ++x)
                leftOfIcon += image.pixel(x, y) != face;
        }
        QVERIFY(iconInk > 30);
        QCOMPARE(leftOfIcon, 0);
        // The caption ends 8 pixels from the right edge: ink just left of x 92, none in 92..96.
        int captionInk = 0, rightOfCaption = 0;
        for (int y = 3; y < 21; ++y) {
            for (int x = 70; x < 92; ++x)
                captionInk += isInk(image.pixel(x, y), face);
            for (int x = 92; x < 97; ++x)
                rightOfCaption += isInk(image.pixel(x, y), face);
        }
        QVERIFY(captionInk > 10);
        QCOMPARE(rightOfCaption, 0);
    }

    void focusedClassicOutline()
    {
        button->setFocus();
        QVERIFY(button->isFocused());
        const QImage image = button->grab().toImage();
        // A 1-pixel black outline along the client area.
        for (const QPoint p : {QPoint(0, 0), QPoint(99, 0), QPoint(99, 23), QPoint(0, 23), QPoint(50, 0), QPoint(0, 12)})
            QCOMPARE(image.pixelColor(p), QColor(Qt::black));

        BitmapButtonThemes::setLoaded(true);
        button->setUseXPTheme(false);
        const QImage noOutline = button->grab().toImage();
        QVERIFY(noOutline.pixelColor(50, 0) != QColor(Qt::black)); // a strip of background instead
    }

    void halftoneBrushIsACheckerboard()
    {
        const QImage pattern = JOVBITMAPBUTTON::_GetHalftoneBrush().texture().toImage().convertToFormat(QImage::Format_Mono);
        QCOMPARE(pattern.size(), QSize(8, 8));
        const int set = pattern.pixelIndex(0, 0);
        for (int y = 0; y < 8; ++y)
            for (int x = 0; x < 8; ++x)
                QCOMPARE(pattern.pixelIndex(x, y) == set, (x + y) % 2 == 0);
        QCOMPARE(QColor(pattern.color(set)), QColor(Qt::black)); // the set pixels are the pattern's colour
    }

    void disabledLook()
    {
        const auto colourful = [](const QImage &image) {
            int n = 0;
            for (int y = 2; y < 24; ++y)
                for (int x = 6; x < 26; ++x)
                    n += image.pixelColor(x, y).hsvSaturation() > 80;
            return n;
        };
        QVERIFY(colourful(button->grab().toImage()) > 5);
        button->setEnabled(false);
        const QImage disabled = button->grab().toImage();
        QCOMPARE(colourful(disabled), 0); // the only icon in the disabled look
        // The caption embossed: the light colour shows beside the shadow colour.
        const QRgb light = button->palette().color(QPalette::Light).rgb();
        const QRgb dark = button->palette().color(QPalette::Dark).rgb();
        int lightInk = 0, darkInk = 0;
        for (int y = 4; y < 22; ++y)
            for (int x = 40; x < 94; ++x)
                lightInk += disabled.pixel(x, y) == light, darkInk += disabled.pixel(x, y) == dark;
        QVERIFY(lightInk > 0);
        QVERIFY(darkInk > 0);
    }
};

QTEST_MAIN(TestBitmapButton)
#include "tst_bitmap_button.moc"
