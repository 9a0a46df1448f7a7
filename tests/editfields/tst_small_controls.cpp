#include "editfields/blinking.h"
#include "editfields/odi_sle.h"
#include "editfields/search_sle.h"
#include "editfields/smart_sle.h"
#include "editfields/timer_sle.h"
#include "editfields/wm_bitmap_button.h"
#include "editfields/x_tab_control.h"
#include "scripted_messages.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QTabBar>
#include <QElapsedTimer>
#include <QtTest>

using namespace vexo;

// An owner with two search handlers, one by the default name.
class SearchOwner : public QWidget
{
    Q_OBJECT
public:
    QStringList calls;
    Q_INVOKABLE void sleSearch(const QString &text) { calls << QStringLiteral("sleSearch:") + text; }
    Q_INVOKABLE void findByCode(const QString &text) { calls << QStringLiteral("findByCode:") + text; }
};

class SmallControls : public QObject
{
    Q_OBJECT
private slots:
    void searchCallsTheOwnersNamedHandler()
    {
        SearchOwner owner;
        SEARCHSLE field(&owner, QRect(0, 0, 200, 24));
        field.setText(QStringLiteral("mısır"));
        QTest::mouseDClick(&field, Qt::LeftButton);
        QCOMPARE(owner.calls, QStringList{QStringLiteral("sleSearch:mısır")});

        field.SYMMETHOD = QStringLiteral("FINDBYCODE"); // names compare without regard to case
        static_cast<QAbstractButton *>(field.OBUTTON())->click();
        QCOMPARE(owner.calls.last(), QStringLiteral("findByCode:mısır"));

        field.setReadOnly(true); // the button respects read-only, the double click does not
        static_cast<QAbstractButton *>(field.OBUTTON())->click();
        QCOMPARE(owner.calls.size(), 2);
        QTest::mouseDClick(&field, Qt::LeftButton);
        QCOMPARE(owner.calls.size(), 3);

        field.SYMMETHOD = QStringLiteral("noSuchHandler");
        QVERIFY(!field.search());
        QCOMPARE(owner.calls.size(), 3);
        QWidget plainOwner;
        SEARCHSLE orphan(&plainOwner);
        QVERIFY(!orphan.search()); // an owner without the handler is left alone
        QCOMPARE(qobject_cast<SEARCHPB *>(field.OBUTTON())->HBITMAPUP().size(), QSize(22, 21));
    }

    void timerFieldWithAManualClock()
    {
        test::ManualClock clock;
        clock.setNow(QDateTime(QDate(2024, 5, 15), QTime(12, 34, 56)));
        TIMERSLE field;
        field.START();
        QCOMPARE(field.text(), QStringLiteral("0"));
        clock.advance(3'000);
        field.STOP();
        field.STOP(); // a second stop changes nothing
        clock.advance(60'000);
        field.START();
        field.START(); // nor does a second start
        clock.advance(2'000);
        field.TIMER();
        QCOMPARE(field.text(), QStringLiteral("5"));
        QVERIFY(field.running());
        field.RESET();
        QCOMPARE(field.text(), QStringLiteral("0"));
        QVERIFY(!field.running());

        struct Case
        {
            int style;
            qint64 ms;
            const char *shown;
        };
        const Case cases[] = {{2, 119'000, "1"}, {2, 120'000, "2"}, {3, 90'000, "1.5"}};
        for (const Case &c : cases) {
            field.RESET();
            field.setSTYLE(c.style);
            field.START();
            clock.advance(c.ms);
            field.TIMER();
            QCOMPARE(field.text(), QString::fromLatin1(c.shown));
        }
        field.RESET();
        field.setSTYLE(0); // the clock's time of day
        field.START();
        QCOMPARE(field.text(), clock.now().time().toString(QStringLiteral("hh:mm:ss")));
        field.setINTERVAL(250);
        QCOMPARE(field.interval(), 250);
    }

    void smartFieldsChainTheFocus()
    {
        QWidget owner;
        auto *a = new SMARTSLE(&owner);
        auto *b = new SMARTSLE(&owner);
        auto *c = new SMARTSLE(&owner);
        b->setText(QStringLiteral("bee"));
        owner.show();
        a->setFocus();
        QTest::keyClick(a, Qt::Key_Return);
        QCOMPARE(owner.focusWidget(), b);
        QCOMPARE(b->selectedText(), QStringLiteral("bee"));
        c->setFocus();
        QTest::keyClick(c, Qt::Key_Return);
        QCOMPARE(owner.focusWidget(), a); // wraps round
        QCOMPARE(AXCONTROLS(&owner), (QList<QWidget *>{a, b, c}));

        QWidget second;
        auto *first = new SMARTSLE(&second);
        new QPushButton(QStringLiteral("OK"), &second);
        new SMARTSLE(&second);
        second.show();
        first->setFocus();
        QTest::keyClick(first, Qt::Key_Return);
        QCOMPARE(second.focusWidget(), first); // a button next: the focus stays

        // Two fields sharing one name: the scan takes the first of them as the current position.
        QWidget third;
        auto *x1 = new SMARTSLE(&third);
        auto *x2 = new SMARTSLE(&third);
        auto *y = new SMARTSLE(&third);
        x1->setObjectName(QStringLiteral("x"));
        x2->setObjectName(QStringLiteral("x"));
        third.show();
        x2->setFocus();
        QTest::keyClick(x2, Qt::Key_Return);
        QCOMPARE(third.focusWidget(), x2); // the field after the first "x" is x2 itself
        y->setFocus();
        QTest::keyClick(y, Qt::Key_Return);
        QCOMPARE(third.focusWidget(), x1);
    }

    void theFirstKeyEmptiesTheField()
    {
        SMARTSLE field;
        field.setText(QStringLiteral("old"));
        QTest::keyClicks(&field, QStringLiteral("xy"));
        QCOMPARE(field.text(), QStringLiteral(" xy"));
        QVERIFY(field.LEMPTIED);
        field.LEMPTIED = false; // a caller can arm it again
        QTest::keyClicks(&field, QStringLiteral("z"));
        QCOMPARE(field.text(), QStringLiteral(" z"));
    }

    void blinkingIntervalsAndTicks()
    {
        QWidget owner;
        auto *layout = new QHBoxLayout(&owner);
        auto *blink = new BLINKINGSLE(&owner);
        auto *after = new QLabel(QStringLiteral("after"), &owner);
        layout->addWidget(blink);
        layout->addWidget(after);
        owner.show();
        QVERIFY(blink->blinking());
        QCOMPARE(blink->NINTERVAL(), 333);
        blink->BLINKING(true, 100);
        QCOMPARE(blink->NINTERVAL(), 200);
        QCOMPARE(blink->timerInterval(), 200);
        blink->BLINKING(true, 500);
        QCOMPARE(blink->timerInterval(), 500);
        blink->BLINKING(true);
        QCOMPARE(blink->timerInterval(), 500);

        // The timer itself hides and shows the control, a half-period apart.
        const QRect place = after->geometry();
        blink->BLINKING(true, 200);
        QVERIFY(blink->isVisible());
        QElapsedTimer clock;
        clock.start();
        QTRY_VERIFY_WITH_TIMEOUT(!blink->isVisible(), 2000);
        const qint64 hiddenAt = clock.elapsed();
        QVERIFY2(hiddenAt >= 150, qPrintable(QString::number(hiddenAt)));
        QVERIFY(blink->LHIDDEN());
        QApplication::processEvents();
        QCOMPARE(after->geometry(), place); // the hidden phase keeps its place
        QTRY_VERIFY_WITH_TIMEOUT(blink->isVisible(), 2000);
        QVERIFY2(clock.elapsed() - hiddenAt >= 150, qPrintable(QString::number(clock.elapsed() - hiddenAt)));
        QTRY_VERIFY_WITH_TIMEOUT(!blink->isVisible(), 2000);

        // Stopped, it stays in the phase it is in.
        blink->BLINKING(false);
        QTest::qWait(600);
        QVERIFY(!blink->isVisible());
        QVERIFY(blink->LHIDDEN());

        BLINKINGFIXEDTEXT text;
        QVERIFY(text.blinking());
        text.BLINKING(false);
        QVERIFY(!text.blinking());
    }

    void barredTabsKeepTheSelection()
    {
        XTABCONTROL tabs;
        tabs.APPENDTAB(QStringLiteral("P1"), QStringLiteral("Bir"), new QWidget);
        tabs.APPENDTAB(QStringLiteral("P2"), QStringLiteral("İki"), new QWidget);
        tabs.insertTab(2, new QWidget, QStringLiteral("Üç")); // not appended: allowed
        tabs.resize(400, 200);
        tabs.show();
        QTabBar *bar = tabs.tabBar();
        tabs.PREVENTSELECTION(1);
        tabs.PREVENTSELECTION(9); // beyond the appended tabs: ignored
        QTest::mouseClick(bar, Qt::LeftButton, {}, bar->tabRect(1).center());
        QCOMPARE(tabs.currentIndex(), 0);
        QTest::mouseClick(bar, Qt::LeftButton, {}, bar->tabRect(2).center());
        QCOMPARE(tabs.currentIndex(), 2);
        tabs.ALLOWSELECTION(1);
        QTest::mouseClick(bar, Qt::LeftButton, {}, bar->tabRect(1).center());
        QCOMPARE(tabs.currentIndex(), 1);
        bar->setFocus();
        QTest::keyClick(bar, Qt::Key_Right);
        QTest::keyClick(bar, Qt::Key_Left);
        QCOMPARE(tabs.currentIndex(), 1); // keys never change the tab
    }

    void maskedFields()
    {
        ODI_SLE number;
        number.SETLEN(10, 2);
        QCOMPARE(number.NINTLEN(), 7);
        QTest::keyClicks(&number, QStringLiteral("1234567"));
        QCOMPARE(number.text(), QStringLiteral("1,234,567"));
        QTest::keyClicks(&number, QStringLiteral(".5"));
        QCOMPARE(number.text(), QStringLiteral("1,234,567.5"));
        QCOMPARE(number.CBUFFER(), QStringLiteral("1234567.5"));
        QTest::keyClick(&number, Qt::Key_Backspace);
        QCOMPARE(number.text(), QStringLiteral("1,234,567."));

        ODI_SLE date(nullptr, QStringLiteral("D"));
        date.setText(QStringLiteral("  .  .    "));
        date.setCursorPosition(0);
        QTest::keyClicks(&date, QStringLiteral("31012023"));
        QCOMPARE(date.text(), QStringLiteral("31.01.2023"));
        QTest::keyClicks(&date, QStringLiteral("M"));
        QCOMPARE(date.text(), QStringLiteral("28.02.2023"));
        QTest::keyClicks(&date, QStringLiteral("q")); // swallowed
        QCOMPARE(date.text(), QStringLiteral("28.02.2023"));

        date.SLE_TYPE(QStringLiteral("X")); // a plain edit from the next key on
        date.end(false);
        QTest::keyClicks(&date, QStringLiteral("q"));
        QCOMPARE(date.text(), QStringLiteral("28.02.2023q"));
    }
};

QTEST_MAIN(SmallControls)
#include "tst_small_controls.moc"
