#include "drawn_pixels.h"
#include "scripted_messages.h"
#include "shell/splash_screen.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QLabel>
#include <QPointer>
#include <QScreen>
#include <QtTest>

using namespace vexo;

class SplashScreenTest : public QObject
{
    Q_OBJECT

private slots:
    void holdsStartUpTwoSecondsAndClosesAboutOneSecondLater()
    {
        test::ManualClock clock;
        QPointer<SPLASHSCREEN> splash = new SPLASHSCREEN;
        const qint64 before = clock.monotonicMs();
        QElapsedTimer real;
        real.start();
        splash->SHOW();
        QCOMPARE(clock.monotonicMs() - before, qint64(SPLASHSCREEN::kHoldMs));
        QVERIFY(!splash.isNull());
        QVERIFY(splash->isVisible());
        QVERIFY(splash->windowFlags() & Qt::WindowStaysOnTopHint);
        QVERIFY(splash->windowFlags() & Qt::FramelessWindowHint);
        const QRect screen = splash->screen()->availableGeometry();
        QVERIFY(qAbs(splash->geometry().center().x() - screen.center().x()) <= 1);
        QVERIFY(qAbs(splash->geometry().center().y() - screen.center().y()) <= 1);

        // Start-up goes on (a window of the program opens) while the splash stays on top.
        QWidget mainWindow;
        mainWindow.show();
        QTest::qWait(500);
        QVERIFY(!splash.isNull());
        QTRY_VERIFY_WITH_TIMEOUT(splash.isNull(), 5000);
        QVERIFY(real.elapsed() >= SPLASHSCREEN::kLifeMs - 100);
    }

    void showsThePictureAndTheTitle()
    {
        SPLASHSCREEN splash;
        QCOMPARE(splash.windowTitle(), QString());
        QCOMPARE(splash.titleLabel()->text(),
                 QStringLiteral("VEXO_Zud 2.6 - En Düşük Maliyetli Karma Yem     Formülü Hazırlama Programı"));
        QCOMPARE(splash.titleLabel()->palette().color(QPalette::Window), QColor(128, 128, 192));
        QCOMPARE(splash.titleLabel()->palette().color(QPalette::WindowText), QColor(Qt::white));
        QVERIFY(splash.titleLabel()->font().italic());
        QCOMPARE(splash.titleLabel()->font().pointSize(), 14);
        QVERIFY(!splash.pictureLabel()->pixmap().isNull());
        QCOMPARE(splashPicture().size(), QSize(504, 378));
        QVERIFY(splash.rect().contains(splash.pictureLabel()->geometry()));
        QVERIFY(splash.rect().contains(splash.titleLabel()->geometry()));
        QVERIFY(splash.pictureLabel()->geometry().bottom() < splash.titleLabel()->geometry().top());
    }

    // What the screen shows: the picture, and below it the title in white on its blue-grey strip.
    void drawnAsShown()
    {
        SPLASHSCREEN splash;
        splash.show();
        QVERIFY(QTest::qWaitForWindowExposed(&splash));
        const QImage image = test::drawnWindow(&splash);
        const QRect title = test::rectInWindow(splash.titleLabel());
        const QRect picture = test::rectInWindow(splash.pictureLabel());
        QVERIFY(test::pixelsNear(image, title, QColor(128, 128, 192), 4) > title.width() * title.height() / 2);
        QVERIFY(test::pixelsNear(image, title, Qt::white, 4) > 50); // the title's letters
        // The picture is drawn where its label stands: its sky and its field, each in good measure.
        const QImage drawnPicture = splashPicture().toImage();
        for (const QPoint &at : {QPoint(20, 20), QPoint(20, drawnPicture.height() - 20)}) {
            const QColor colour = drawnPicture.pixelColor(at);
            QVERIFY2(test::pixelsNear(image, picture, colour, 12) > 2000, qPrintable(colour.name()));
            QCOMPARE(test::pixelsNear(image, title, colour, 12), 0);
        }
        QVERIFY(test::keepForLooking(image, QStringLiteral("splash.png")));
    }
};

QTEST_MAIN(SplashScreenTest)
#include "tst_splash_screen.moc"
