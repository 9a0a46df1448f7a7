// Mouse scripts on the navigation bar: presses, drags and releases on headers, items and arrows, the
// events the owner gets, hovering, and the re-styling after a theme change.
#include "controls/outlook_bar.h"

#include <QPixmap>
#include <QSignalSpy>
#include <QtTest>

#include <memory>

using namespace vexo;

namespace {

// Records every event the bar sends, in order, by name.
struct RecordingOwner : OutlookBarOwner
{
    RecordingOwner()
    {
        OLBHEADERCHANGED = [this](OUTLOOKBARHEADER &h) {
            log << QStringLiteral("header:") + h.NAMESYM();
            if (bar)
                activeDuringEvent = bar->ACTIVEHEADER(), insideDuringEvent = bar->GETINSIDERECT();
        };
        OLBITEMCLICKED = [this](OUTLOOKBARITEM &i) { log << QStringLiteral("clicked:") + i.NAMESYM(); };
        OLBITEMCHANGED = [this](OUTLOOKBARITEM &i) { log << QStringLiteral("changed:") + i.NAMESYM(); };
    }
    QStringList log;
    OUTLOOKBAR *bar = nullptr;
    QString activeDuringEvent;
    WRECT insideDuringEvent;
};

// Counts the bar's paints.
class CountingBar : public OUTLOOKBAR
{
public:
    using OUTLOOKBAR::OUTLOOKBAR;
    int paints = 0;

protected:
    void paintEvent(QPaintEvent *event) override
    {
        ++paints;
        OUTLOOKBAR::paintEvent(event);
    }
};

QPoint centre(const WRECT &r)
{
    return {(r.LEFT + r.RIGHT) / 2, (r.TOP + r.BOTTOM) / 2};
}

} // namespace

class OutlookBarMouse : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void pressAndReleaseOnOneItemClicksOnce();
    void clickedAndChangedFollowTheLastClick();
    void draggingOffGivesNoClick();
    void draggingOffAndBackClicks();
    void disabledItemGivesNoClick();
    void disabledOpenHeaderIgnoresItsItems();
    void arrowClickScrollsExactlyOneItem();
    void arrowDraggedOffDoesNotScroll();
    void headerChangeComesFirstAndBeforeTheRelayout();
    void openHeaderClickedAgainDoesNothing();
    void modifiedOrOtherButtonsDoNothing();
    void ownerWithoutHandlersGetsNothing();
    void hoverHighlightsItems();
    void restylesOneSecondAfterAThemeChange();
    void assigningTheOpenHeaderRepaints();

private:
    OUTLOOKBARITEM *item(int header, int position) const { return bar->header(header)->GETITEM(position); }
    QPoint itemPoint(int header, int position) const { return centre(item(header, position)->AREA()); }
    void layOut();

    std::unique_ptr<RecordingOwner> owner;
    std::unique_ptr<OUTLOOKBAR> bar;
};

// The application's bar: 12 icons of 32x32, three headers of five, one and two items, Jov style.
void OutlookBarMouse::init()
{
    owner = std::make_unique<RecordingOwner>();
    bar = std::make_unique<OUTLOOKBAR>(owner.get());
    owner->bar = bar.get();
    QPixmap pm(32, 32);
    pm.fill(Qt::darkGreen);
    bar->setIMAGELIST(OutlookBarImageList(QSize(32, 32), QList<QIcon>(12, QIcon(pm))));
    const int counts[] = {5, 1, 2};
    for (int h = 0; h < 3; ++h) {
        auto header = std::make_unique<OUTLOOKBARHEADER>(QStringLiteral("H%1").arg(h + 1),
                                                         QStringLiteral("Başlık %1").arg(h + 1), 100 + h, 10 + h);
        for (int i = 1; i <= counts[h]; ++i)
            header->ADDITEM(std::make_unique<OUTLOOKBARITEM>(QStringLiteral("CMD%1%2").arg(h + 1).arg(i),
                                                             QStringLiteral("Komut %1").arg(i), i));
        bar->ADDHEADER(std::move(header));
    }
    bar->setACTIVEHEADER(QStringLiteral("H1"));
    bar->setSTYLE(OutlookBarStyle::JOVSTYLE);
    bar->setITEMSPACING(8);
    bar->setBACKGROUNDCOLOR(QColor(127, 127, 127));
    bar->setHILITEBACKGROUNDCOLOR(QColor(127, 127, 127));
    bar->resize(160, 400);
    bar->show();
    QVERIFY(QTest::qWaitForWindowExposed(bar.get()));
    layOut();
}

void OutlookBarMouse::cleanup()
{
    bar.reset();
    owner.reset();
}

void OutlookBarMouse::layOut()
{
    bar->RECALC();
}

void OutlookBarMouse::pressAndReleaseOnOneItemClicksOnce()
{
    const QPoint p = itemPoint(0, 2);
    QTest::mousePress(bar.get(), Qt::LeftButton, {}, p);
    QCOMPARE(bar->PRESSEDITEM(), QStringLiteral("CMD12"));
    QVERIFY(item(0, 2)->ISPRESSED());
    QVERIFY(bar->isMouseTrapped());
    QTest::mouseRelease(bar.get(), Qt::LeftButton, {}, p);
    QCOMPARE(owner->log, QStringList({"clicked:CMD12", "changed:CMD12"}));
    QVERIFY(!item(0, 2)->ISPRESSED());
    QVERIFY(bar->PRESSEDITEM().isEmpty());
    QVERIFY(!bar->isMouseTrapped());
    QCOMPARE(bar->LASTCLICKEDITEM(), QStringLiteral("CMD12"));

    // The caption counts as the item too.
    const QPoint onLabel = centre(item(0, 3)->labelRect());
    QCOMPARE(bar->GETITEMFROMPOINT(onLabel), item(0, 3));
    QTest::mouseClick(bar.get(), Qt::LeftButton, {}, onLabel);
    QCOMPARE(owner->log.mid(2), QStringList({"clicked:CMD13", "changed:CMD13"}));
}

void OutlookBarMouse::clickedAndChangedFollowTheLastClick()
{
    QTest::mouseClick(bar.get(), Qt::LeftButton, {}, itemPoint(0, 1));
    QTest::mouseClick(bar.get(), Qt::LeftButton, {}, itemPoint(0, 1));
    QTest::mouseClick(bar.get(), Qt::LeftButton, {}, itemPoint(0, 2));
    QTest::mouseClick(bar.get(), Qt::LeftButton, {}, itemPoint(0, 1));
    QCOMPARE(owner->log, QStringList({"clicked:CMD11", "changed:CMD11", "clicked:CMD11", "clicked:CMD12",
                                      "changed:CMD12", "clicked:CMD11", "changed:CMD11"}));
}

void OutlookBarMouse::draggingOffGivesNoClick()
{
    // Onto another item.
    QTest::mousePress(bar.get(), Qt::LeftButton, {}, itemPoint(0, 1));
    QTest::mouseMove(bar.get(), itemPoint(0, 2));
    QVERIFY(!item(0, 1)->ISPRESSED()); // raised while the pointer is off it
    QVERIFY(!item(0, 2)->ISPRESSED());
    QTest::mouseRelease(bar.get(), Qt::LeftButton, {}, itemPoint(0, 2));
    QVERIFY(owner->log.isEmpty());
    QVERIFY(!item(0, 1)->ISPRESSED());

    // Onto the empty area beside the items, and onto a header.
    for (const QPoint off : {QPoint(5, itemPoint(0, 1).y()), centre(bar->header(1)->AREA())}) {
        QTest::mousePress(bar.get(), Qt::LeftButton, {}, itemPoint(0, 1));
        QTest::mouseMove(bar.get(), off);
        QTest::mouseRelease(bar.get(), Qt::LeftButton, {}, off);
    }
    QVERIFY(owner->log.isEmpty());
    QCOMPARE(bar->ACTIVEHEADER(), QStringLiteral("H1"));
}

void OutlookBarMouse::draggingOffAndBackClicks()
{
    QTest::mousePress(bar.get(), Qt::LeftButton, {}, itemPoint(0, 1));
    QTest::mouseMove(bar.get(), itemPoint(0, 3));
    QVERIFY(!item(0, 1)->ISPRESSED());
    QTest::mouseMove(bar.get(), itemPoint(0, 1));
    QVERIFY(item(0, 1)->ISPRESSED());
    QTest::mouseRelease(bar.get(), Qt::LeftButton, {}, itemPoint(0, 1));
    QCOMPARE(owner->log, QStringList({"clicked:CMD11", "changed:CMD11"}));
}

void OutlookBarMouse::disabledItemGivesNoClick()
{
    item(0, 2)->DISABLE();
    QTest::mousePress(bar.get(), Qt::LeftButton, {}, itemPoint(0, 2));
    QVERIFY(bar->PRESSEDITEM().isEmpty());
    QVERIFY(!item(0, 2)->ISPRESSED());
    QVERIFY(!bar->isMouseTrapped());
    QTest::mouseRelease(bar.get(), Qt::LeftButton, {}, itemPoint(0, 2));
    QVERIFY(owner->log.isEmpty());

    // Enabled again, it clicks.
    item(0, 2)->ENABLE();
    QTest::mouseClick(bar.get(), Qt::LeftButton, {}, itemPoint(0, 2));
    QCOMPARE(owner->log.size(), 2);

    // Disabled between the press and the release: no click either.
    owner->log.clear();
    QTest::mousePress(bar.get(), Qt::LeftButton, {}, itemPoint(0, 3));
    item(0, 3)->DISABLE();
    QTest::mouseRelease(bar.get(), Qt::LeftButton, {}, itemPoint(0, 3));
    QVERIFY(owner->log.isEmpty());
}

void OutlookBarMouse::disabledOpenHeaderIgnoresItsItems()
{
    bar->header(0)->DISABLE();
    QTest::mouseClick(bar.get(), Qt::LeftButton, {}, itemPoint(0, 1));
    QVERIFY(owner->log.isEmpty());
    // A disabled header cannot be opened either.
    bar->header(1)->DISABLE();
    QTest::mouseClick(bar.get(), Qt::LeftButton, {}, centre(bar->header(1)->AREA()));
    QCOMPARE(bar->ACTIVEHEADER(), QStringLiteral("H1"));
    QVERIFY(owner->log.isEmpty());
}

void OutlookBarMouse::arrowClickScrollsExactlyOneItem()
{
    bar->resize(160, 260); // five items no longer fit
    layOut();
    OUTLOOKBARHEADER *h = bar->header(0);
    QVERIFY(h->ISDOWNARROW());
    QVERIFY(!h->ISUPARROW());
    const int lastBefore = h->LASTVISIBLEITEM();
    QVERIFY(lastBefore < 5);

    const QPoint down = centre(h->DOWNARROW().AREA());
    QTest::mousePress(bar.get(), Qt::LeftButton, {}, down);
    QCOMPARE(bar->PRESSEDARROW(), DOWN_ARROW);
    QVERIFY(h->DOWNARROW().ISPRESSED());
    QTest::mouseRelease(bar.get(), Qt::LeftButton, {}, down);
    QVERIFY(!h->DOWNARROW().ISPRESSED());
    QCOMPARE(h->FIRSTVISIBLEITEM(), 2);
    QCOMPARE(h->LASTVISIBLEITEM(), lastBefore + 1);
    QVERIFY(h->ISUPARROW());
    QVERIFY(owner->log.isEmpty()); // scrolling sends nothing
    QCOMPARE(item(0, 2)->AREA().TOP, bar->GETINSIDERECT().TOP + 5);

    QTest::mouseClick(bar.get(), Qt::LeftButton, {}, centre(h->UPARROW().AREA()));
    QCOMPARE(h->FIRSTVISIBLEITEM(), 1);
    QVERIFY(!h->ISUPARROW());

    // Each header keeps its own scroll position.
    QTest::mouseClick(bar.get(), Qt::LeftButton, {}, centre(h->DOWNARROW().AREA()));
    QCOMPARE(h->FIRSTVISIBLEITEM(), 2);
    bar->setACTIVEHEADER(QStringLiteral("H2"));
    bar->setACTIVEHEADER(QStringLiteral("H1"));
    QCOMPARE(h->FIRSTVISIBLEITEM(), 2);
}

void OutlookBarMouse::arrowDraggedOffDoesNotScroll()
{
    bar->resize(160, 260);
    layOut();
    OUTLOOKBARHEADER *h = bar->header(0);
    const QPoint down = centre(h->DOWNARROW().AREA());
    QTest::mousePress(bar.get(), Qt::LeftButton, {}, down);
    QTest::mouseMove(bar.get(), itemPoint(0, 1));
    QVERIFY(!h->DOWNARROW().ISPRESSED());
    QTest::mouseRelease(bar.get(), Qt::LeftButton, {}, itemPoint(0, 1));
    QCOMPARE(h->FIRSTVISIBLEITEM(), 1);
    QVERIFY(owner->log.isEmpty()); // released over an item that was not pressed
}

void OutlookBarMouse::headerChangeComesFirstAndBeforeTheRelayout()
{
    const QPoint second = centre(bar->header(1)->AREA());
    QTest::mousePress(bar.get(), Qt::LeftButton, {}, second);
    QVERIFY(bar->header(1)->ISPRESSED());
    QTest::mouseRelease(bar.get(), Qt::LeftButton, {}, second);
    QCOMPARE(owner->log, QStringList({"header:H2"}));
    QVERIFY(!bar->header(1)->ISPRESSED());
    QCOMPARE(bar->ACTIVEHEADER(), QStringLiteral("H2"));
    // While the owner handled the event the layout was still the first header's.
    QCOMPARE(owner->activeDuringEvent, QStringLiteral("H2"));
    QCOMPARE(owner->insideDuringEvent, WRECT(0, 36, 159, 327));

    // The repaint lays the bar out for the new header.
    QTRY_COMPARE(bar->GETINSIDERECT(), WRECT(0, 72, 159, 363));
    QTest::mouseClick(bar.get(), Qt::LeftButton, {}, itemPoint(1, 1));
    QCOMPARE(owner->log, QStringList({"header:H2", "clicked:CMD21", "changed:CMD21"}));

    // Pressed on one header and released on another: nothing.
    QTest::mousePress(bar.get(), Qt::LeftButton, {}, centre(bar->header(0)->AREA()));
    QTest::mouseMove(bar.get(), centre(bar->header(2)->AREA()));
    QVERIFY(!bar->header(0)->ISPRESSED());
    QTest::mouseRelease(bar.get(), Qt::LeftButton, {}, centre(bar->header(2)->AREA()));
    QCOMPARE(bar->ACTIVEHEADER(), QStringLiteral("H2"));
    QCOMPARE(owner->log.size(), 3);
}

void OutlookBarMouse::openHeaderClickedAgainDoesNothing()
{
    QTest::mouseClick(bar.get(), Qt::LeftButton, {}, centre(bar->header(0)->AREA()));
    QVERIFY(owner->log.isEmpty());
    QCOMPARE(bar->ACTIVEHEADER(), QStringLiteral("H1"));
}

void OutlookBarMouse::modifiedOrOtherButtonsDoNothing()
{
    for (const Qt::KeyboardModifier m : {Qt::ShiftModifier, Qt::ControlModifier}) {
        QTest::mousePress(bar.get(), Qt::LeftButton, m, itemPoint(0, 1));
        QVERIFY(bar->PRESSEDITEM().isEmpty());
        QTest::mouseRelease(bar.get(), Qt::LeftButton, m, itemPoint(0, 1));
    }
    QTest::mouseClick(bar.get(), Qt::RightButton, {}, itemPoint(0, 1));
    QVERIFY(owner->log.isEmpty());

    // A right-button release keeps the capture; the left release always frees it.
    QTest::mousePress(bar.get(), Qt::LeftButton, {}, itemPoint(0, 1));
    QTest::mouseRelease(bar.get(), Qt::RightButton, {}, itemPoint(0, 1));
    QVERIFY(bar->isMouseTrapped());
    QCOMPARE(bar->PRESSEDITEM(), QStringLiteral("CMD11"));
    QTest::mouseRelease(bar.get(), Qt::LeftButton, {}, itemPoint(0, 1));
    QVERIFY(!bar->isMouseTrapped());
    QCOMPARE(owner->log, QStringList({"clicked:CMD11", "changed:CMD11"}));
}

void OutlookBarMouse::ownerWithoutHandlersGetsNothing()
{
    OutlookBarOwner silent;
    silent.OLBITEMCLICKED = [this](OUTLOOKBARITEM &i) { owner->log << i.NAMESYM(); };
    bar->setOwner(&silent);
    QTest::mouseClick(bar.get(), Qt::LeftButton, {}, itemPoint(0, 1));
    QTest::mouseClick(bar.get(), Qt::LeftButton, {}, centre(bar->header(2)->AREA()));
    QCOMPARE(owner->log, QStringList({"CMD11"})); // only the offered handler ran
    QCOMPARE(bar->ACTIVEHEADER(), QStringLiteral("H3"));

    bar->setOwner(nullptr);
    QTRY_COMPARE(bar->GETINSIDERECT().BOTTOM, 399);
    QTest::mouseClick(bar.get(), Qt::LeftButton, {}, itemPoint(2, 1));
    QCOMPARE(bar->LASTCLICKEDITEM(), QStringLiteral("CMD31"));
}

void OutlookBarMouse::hoverHighlightsItems()
{
    QTest::mouseMove(bar.get(), itemPoint(0, 1));
    QCOMPARE(bar->HILITEDITEM(), QStringLiteral("CMD11"));
    QTest::mouseMove(bar.get(), itemPoint(0, 2));
    QCOMPARE(bar->HILITEDITEM(), QStringLiteral("CMD12"));
    QTest::mouseMove(bar.get(), centre(bar->header(0)->AREA()));
    QVERIFY(bar->HILITEDITEM().isEmpty());

    item(0, 3)->DISABLE(); // disabled items are highlighted as well
    QTest::mouseMove(bar.get(), itemPoint(0, 3));
    QCOMPARE(bar->HILITEDITEM(), QStringLiteral("CMD13"));
    QTest::mouseMove(bar.get(), QPoint(5, itemPoint(0, 3).y()));
    QVERIFY(bar->HILITEDITEM().isEmpty());

    // While the button is held hovering is not followed.
    QTest::mouseMove(bar.get(), itemPoint(0, 1));
    QTest::mousePress(bar.get(), Qt::LeftButton, {}, itemPoint(0, 1));
    QTest::mouseMove(bar.get(), itemPoint(0, 2));
    QCOMPARE(bar->HILITEDITEM(), QStringLiteral("CMD11"));
    QTest::mouseRelease(bar.get(), Qt::LeftButton, {}, itemPoint(0, 2));

    // Leaving the bar takes the highlight away.
    QEvent leave(QEvent::Leave);
    QCoreApplication::sendEvent(bar.get(), &leave);
    QVERIFY(bar->HILITEDITEM().isEmpty());
}

void OutlookBarMouse::restylesOneSecondAfterAThemeChange()
{
    // The owner's colours after the style hold until the theme changes.
    QCOMPARE(bar->BACKGROUNDCOLOR(), QColor(127, 127, 127));
    QPalette theme = bar->palette();
    theme.setColor(QPalette::Button, QColor(10, 80, 160));
    bar->setPalette(theme);
    QVERIFY(bar->restyleTimer().isActive());
    QVERIFY(bar->restyleTimer().isSingleShot());
    QCOMPARE(bar->restyleTimer().interval(), 1000);
    QTest::qWait(500);
    QCOMPARE(bar->BACKGROUNDCOLOR(), QColor(127, 127, 127));
    QTRY_COMPARE_WITH_TIMEOUT(bar->BACKGROUNDCOLOR(), QColor(10, 80, 160), 2000);
    QCOMPARE(bar->HILITEBACKGROUNDCOLOR(), QColor(10, 80, 160));
    QCOMPARE(bar->STYLE(), OutlookBarStyle::JOVSTYLE);
    QVERIFY(!bar->restyleTimer().isActive()); // it does not repeat
}

// The main window re-opens a header by assigning it; the bar must show it without waiting for some
// other repaint.
void OutlookBarMouse::assigningTheOpenHeaderRepaints()
{
    CountingBar counting;
    counting.ADDHEADER(std::make_unique<OUTLOOKBARHEADER>(QStringLiteral("A"), QStringLiteral("A")));
    counting.ADDHEADER(std::make_unique<OUTLOOKBARHEADER>(QStringLiteral("B"), QStringLiteral("B")));
    counting.setACTIVEHEADER(QStringLiteral("A"));
    counting.resize(160, 300);
    counting.show();
    QVERIFY(QTest::qWaitForWindowExposed(&counting));
    QTRY_VERIFY(counting.paints > 0);
    QTest::qWait(50);
    const int before = counting.paints;
    counting.setACTIVEHEADER(QStringLiteral("B"));
    QCOMPARE(counting.header(1)->AREA().TOP, 22); // laid out at once
    QTRY_VERIFY(counting.paints > before);
}

QTEST_MAIN(OutlookBarMouse)
#include "tst_outlook_bar.moc"
