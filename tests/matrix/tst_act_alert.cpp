#include "solver/act_alert.h"
#include "matrix/alert.h"
#include "scripted_messages.h"

#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QTimer>
#include <QtTest>

using namespace vexo;

class TestActAlert : public QObject
{
    Q_OBJECT
private slots:
    void startsPreparingWithoutCloseBox()
    {
        ACTALERT d(nullptr);
        QCOMPARE(d.windowTitle(), QStringLiteral("İşlemler yürütülüyor! Lütfen bekleyiniz..."));
        QCOMPARE(d.FT_COUNTER()->text(), QStringLiteral("Hazırlanıyor..."));
        QCOMPARE(d.stopButton()->text(), QStringLiteral("Durdur"));
        QCOMPARE(d.count(), 0u);
        QVERIFY(!d.LDURDUR);
        QVERIFY(!d.isModal());
        QVERIFY(!(d.windowFlags() & Qt::WindowCloseButtonHint));
        // Showing it "modally" returns at once; the user cannot close it.
        QCOMPARE(d.exec(), 0);
        d.show();
        QVERIFY(!d.close());
        QTest::keyClick(&d, Qt::Key_Escape);
        QVERIFY(d.isVisible());
    }

    void countsAndStops()
    {
        ACTALERT d(nullptr);
        d.show();
        for (int i = 0; i < 7; ++i)
            d.COUNTER();
        QCOMPARE(d.FT_COUNTER()->text(), QStringLiteral("iterasyon: 7"));
        QVERIFY(d.YIELD());
        // A click waiting in the queue is handled by the next count; twice is once.
        QTimer::singleShot(0, d.stopButton(), &QPushButton::click);
        QVERIFY(!d.LDURDUR);
        d.COUNTER();
        QVERIFY(d.LDURDUR);
        d.stopButton()->click();
        QVERIFY(d.LDURDUR);
        QVERIFY(d.isVisible()); // the button only raises the flag
        QCOMPARE(d.count(), 8u);
    }

    void noticeShowsTheTemplateTextOrTheCallers()
    {
        ALERT a(nullptr);
        QCOMPARE(a.windowTitle(), QStringLiteral("İşlem Mesajı..."));
        QCOMPARE(a.ODCFT_MESS->text(), QStringLiteral("Veriler okunuyor... Lütfen bekleyiniz"));
        QCOMPARE(a.AMESS(QStringLiteral("İşlemler Yürütülüyor..!")), QStringLiteral("İşlemler Yürütülüyor..!"));
        QCOMPARE(a.ODCFT_MESS->text(), QStringLiteral("İşlemler Yürütülüyor..!"));
        QCOMPARE(a.exec(), 0);
        QVERIFY(!a.isModal());
    }

    void scopeShowsPausesAndRemovesTheNotice()
    {
        test::ManualClock clock;
        QWidget owner;
        QPointer<ALERT> seen;
        {
            AlertScope scope(&owner, QStringLiteral("İşlemler yürütülüyor. Lütfen bekleyiniz..."), 500);
            seen = scope.dialog();
            QVERIFY(seen);
            QVERIFY(seen->isVisible());
            QCOMPARE(seen->ODCFT_MESS->text(), QStringLiteral("İşlemler yürütülüyor. Lütfen bekleyiniz..."));
            QCOMPARE(clock.sleeps(), 1);
        }
        QVERIFY(!seen);

        // The owner closing meanwhile takes the notice with it; the scope then removes nothing.
        auto *doomed = new QWidget;
        {
            AlertScope scope(doomed);
            QCOMPARE(scope.dialog()->ODCFT_MESS->text(), QStringLiteral("Veriler okunuyor... Lütfen bekleyiniz"));
            delete doomed;
            QVERIFY(!scope.dialog());
        }
    }
};

QTEST_MAIN(TestActAlert)
#include "tst_act_alert.moc"
