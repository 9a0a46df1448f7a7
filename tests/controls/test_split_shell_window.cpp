#include "controls/split_bar.h"
#include "controls/split_shell_window.h"

#include <QDialog>
#include <QMdiArea>
#include <QMouseEvent>
#include <QSignalSpy>
#include <QStatusBar>
#include <QTest>
#include <QToolBar>

#include <gtest/gtest.h>

using namespace vexo;

namespace {

void mouse(QWidget *w, QEvent::Type type, QPoint at, Qt::MouseButton button, Qt::MouseButtons buttons)
{
    QMouseEvent event(type, QPointF(at), QPointF(w->mapToGlobal(at)), button, buttons, Qt::NoModifier);
    QCoreApplication::sendEvent(w, &event);
}

// Presses the left button at `from` on the bar, drags to `to` (bar coordinates) and releases there.
void leftDrag(QWidget *bar, QPoint from, QPoint to)
{
    mouse(bar, QEvent::MouseButtonPress, from, Qt::LeftButton, Qt::LeftButton);
    mouse(bar, QEvent::MouseMove, to, Qt::NoButton, Qt::LeftButton);
    mouse(bar, QEvent::MouseButtonRelease, to, Qt::LeftButton, Qt::NoButton);
}

// A shell as the main window builds it: tool bar, status bar, a 170-pixel navigation pane.
class SplitShellTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        shell.resize(900, 640);
        toolBar = shell.addToolBar(QStringLiteral("Araçlar"));
        toolBar->addAction(QStringLiteral("Aç"));
        shell.statusBar()->showMessage(QStringLiteral("Hazır"));
        shell.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&shell));
    }

    void setUpMainWindow()
    {
        pane = new QWidget;
        shell.setLEFTPANE(pane);
        shell.setLEFTSIZEPIXEL(170);
        shell.setPOSTYPE(PaneSizing::PIXEL);
        shell.setCANRESIZELEFTPANE(true);
        shell.setSHOWLEFTPANE(true);
    }

    QRect central() const { return shell.centralWidget()->rect(); }

    JOVSPLITSHELLWINDOW shell;
    QToolBar *toolBar = nullptr;
    QWidget *pane = nullptr;
};

TEST_F(SplitShellTest, FreshShellFillsTheClientWithTheMdiArea)
{
    EXPECT_EQ(shell.POSTYPE(), PaneSizing::PERCENT);
    EXPECT_EQ(shell.LEFTSIZEPERCENT(), 20);
    EXPECT_EQ(shell.BOTTOMSIZEPERCENT(), 20);
    EXPECT_EQ(shell.LEFTSIZEPIXEL(), 0);
    EXPECT_FALSE(shell.SHOWLEFTPANE());
    EXPECT_FALSE(shell.SHOWBOTTOMPANE());
    EXPECT_TRUE(shell.CANRESIZELEFTPANE());
    EXPECT_TRUE(shell.CANRESIZEBOTTOMPANE());
    EXPECT_EQ(shell.LEFTPANE(), nullptr);

    const QRect c = central();
    EXPECT_EQ(shell.mdiArea()->geometry(), QRect(0, 0, c.width(), c.height() + 1));
    EXPECT_EQ(shell.vertSplitBar()->width(), 0);
    EXPECT_EQ(shell.horzSplitBar()->height(), 0);
    // The whole client area runs from the tool bar's top to the status bar's bottom.
    EXPECT_EQ(shell.clientRect().height(), c.height() + toolBar->height() + shell.statusBar()->height());
}

TEST_F(SplitShellTest, MainWindowSetUpGivesANavigationPaneOf170)
{
    setUpMainWindow();
    const QRect c = central();
    EXPECT_EQ(pane->parentWidget(), shell.centralWidget());
    EXPECT_TRUE(pane->isVisible());
    EXPECT_EQ(pane->geometry(), QRect(0, 0, 170, c.height()));
    EXPECT_EQ(shell.vertSplitBar()->geometry(), QRect(170, 0, 5, c.height()));
    EXPECT_EQ(shell.mdiArea()->geometry(), QRect(175, 0, c.width() - 175, c.height() + 1));
    EXPECT_EQ(shell.GETOBDLG(), pane);
    EXPECT_EQ(shell.LEFTSIZE_(), 170);
}

TEST_F(SplitShellTest, PercentagesFromConstruction)
{
    JOVSPLITSHELLWINDOW other(nullptr, 30, 25);
    other.resize(1000, 800);
    other.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&other));
    EXPECT_EQ(other.LEFTSIZEPERCENT(), 30);
    EXPECT_EQ(other.BOTTOMSIZEPERCENT(), 25);
    auto *left = new QWidget;
    auto *bottom = new QWidget;
    other.setLEFTPANE(left);
    other.setBOTTOMPANE(bottom);
    other.setSHOWLEFTPANE(true);
    other.setSHOWBOTTOMPANE(true);
    const QRect client = other.clientRect();
    EXPECT_EQ(left->width(), client.width() * 30 / 100);
    EXPECT_EQ(bottom->height(), client.height() * 25 / 100);
    EXPECT_EQ(other.horzSplitBar()->height(), 5);
    EXPECT_EQ(bottom->geometry().bottom(), other.centralWidget()->height() - 1);
}

TEST_F(SplitShellTest, ShowingAPaneThatIsNotThereIsRefused)
{
    EXPECT_FALSE(shell.setSHOWLEFTPANE(true));
    EXPECT_FALSE(shell.SHOWLEFTPANE());
    EXPECT_FALSE(shell.setSHOWBOTTOMPANE(true));
    EXPECT_FALSE(shell.SHOWBOTTOMPANE());
}

TEST_F(SplitShellTest, RemovingThePaneKeepsItsRoomUntilShownAgain)
{
    setUpMainWindow();
    const QRect before = pane->geometry();
    shell.setLEFTPANE(nullptr);
    EXPECT_FALSE(shell.vertSplitBar()->isVisible());
    EXPECT_EQ(pane->geometry(), before); // forgotten, not moved, closed or hidden
    EXPECT_TRUE(pane->isVisible());
    EXPECT_TRUE(shell.SHOWLEFTPANE());
    EXPECT_EQ(shell.mdiArea()->x(), 175);

    EXPECT_FALSE(shell.setSHOWLEFTPANE(true));
    EXPECT_EQ(shell.mdiArea()->x(), 0);
    EXPECT_EQ(shell.mdiArea()->width(), central().width());
}

TEST_F(SplitShellTest, SizingModeChangesOnlyOnTheNextLayout)
{
    setUpMainWindow();
    shell.setPOSTYPE(PaneSizing::PERCENT); // 20 % of the client width, not applied yet
    EXPECT_EQ(pane->width(), 170);
    shell.REFRESH();
    EXPECT_EQ(pane->width(), shell.clientRect().width() * 20 / 100);
}

TEST_F(SplitShellTest, HidingTheToolBarLaysOutAgain)
{
    setUpMainWindow();
    const int before = shell.mdiArea()->height();
    toolBar->hide();
    QCoreApplication::processEvents();
    EXPECT_EQ(shell.mdiArea()->height(), central().height() + 1);
    EXPECT_GT(shell.mdiArea()->height(), before);
}

TEST_F(SplitShellTest, AnOwnedDialogBecomesThePane)
{
    auto *dialog = new QDialog(&shell);
    shell.setLEFTPANE(dialog);
    EXPECT_FALSE(dialog->isWindow());
    EXPECT_EQ(dialog->parentWidget(), shell.centralWidget());
}

TEST_F(SplitShellTest, DraggingTheVerticalBar)
{
    setUpMainWindow();
    JOVSPLITBAR *bar = shell.vertSplitBar();
    QSignalSpy spy(bar, &JOVSPLITBAR::moved);

    // While the button is held a tracking rectangle of the bar's size follows the pointer.
    mouse(bar, QEvent::MouseButtonPress, QPoint(2, 50), Qt::LeftButton, Qt::LeftButton);
    ASSERT_TRUE(bar->isTracking());
    ASSERT_NE(bar->trackingRect(), nullptr);
    EXPECT_EQ(bar->trackingRect()->geometry(), bar->geometry());
    mouse(bar, QEvent::MouseMove, QPoint(42, 60), Qt::NoButton, Qt::LeftButton);
    EXPECT_EQ(bar->trackingRect()->geometry(), bar->geometry().translated(40, 0));
    QRubberBand *band = bar->trackingRect();
    mouse(bar, QEvent::MouseButtonRelease, QPoint(42, 60), Qt::LeftButton, Qt::NoButton);

    ASSERT_EQ(spy.count(), 1);
    EXPECT_EQ(spy.at(0).at(0).toInt(), 40);
    EXPECT_FALSE(bar->isTracking());
    EXPECT_FALSE(band->isVisible());
    EXPECT_EQ(pane->width(), 210);
    EXPECT_EQ(shell.LEFTSIZEPIXEL(), 210);
    EXPECT_EQ(shell.LEFTSIZEPERCENT(), 210 * 100 / shell.clientRect().width());
    EXPECT_EQ(bar->x(), 210);
}

TEST_F(SplitShellTest, DraggingTheHorizontalBarUp)
{
    setUpMainWindow();
    auto *bottom = new QWidget;
    shell.setBOTTOMPANE(bottom);
    shell.setBOTTOMSIZEPIXEL(120);
    shell.setSHOWBOTTOMPANE(true);
    JOVSPLITBAR *bar = shell.horzSplitBar();
    QSignalSpy spy(bar, &JOVSPLITBAR::moved);
    leftDrag(bar, QPoint(100, 2), QPoint(130, -23));
    ASSERT_EQ(spy.count(), 1);
    EXPECT_EQ(spy.at(0).at(0).toInt(), -25);
    EXPECT_EQ(bottom->height(), 145);
    EXPECT_EQ(pane->height(), central().height() - 145 - 5);
}

TEST_F(SplitShellTest, APressWithoutMoveReportsZeroAndKeepsThePane)
{
    setUpMainWindow();
    JOVSPLITBAR *bar = shell.vertSplitBar();
    QSignalSpy spy(bar, &JOVSPLITBAR::moved);
    leftDrag(bar, QPoint(1, 10), QPoint(1, 10));
    ASSERT_EQ(spy.count(), 1);
    EXPECT_EQ(spy.at(0).at(0).toInt(), 0);
    EXPECT_EQ(pane->width(), 170);
    EXPECT_EQ(bar->trackingRect(), nullptr);
}

TEST_F(SplitShellTest, DragsToNothingOrPastTheClientAreIgnored)
{
    setUpMainWindow();
    JOVSPLITBAR *bar = shell.vertSplitBar();
    QSignalSpy spy(bar, &JOVSPLITBAR::moved);
    leftDrag(bar, QPoint(2, 10), QPoint(-168, 10)); // pane would be 0 wide
    leftDrag(bar, QPoint(2, 10), QPoint(5000, 10)); // far outside the window: still ends the drag
    EXPECT_EQ(spy.count(), 2);
    EXPECT_EQ(pane->width(), 170);
    EXPECT_EQ(shell.LEFTSIZEPIXEL(), 170);
    EXPECT_FALSE(bar->isTracking());
}

TEST_F(SplitShellTest, OtherButtonsDoNothing)
{
    setUpMainWindow();
    JOVSPLITBAR *bar = shell.vertSplitBar();
    QSignalSpy spy(bar, &JOVSPLITBAR::moved);
    mouse(bar, QEvent::MouseButtonPress, QPoint(2, 10), Qt::RightButton, Qt::RightButton);
    EXPECT_FALSE(bar->isTracking());
    EXPECT_EQ(bar->trackingRect(), nullptr);
    mouse(bar, QEvent::MouseMove, QPoint(50, 10), Qt::NoButton, Qt::RightButton);
    mouse(bar, QEvent::MouseButtonRelease, QPoint(50, 10), Qt::RightButton, Qt::NoButton);
    mouse(bar, QEvent::MouseButtonPress, QPoint(2, 10), Qt::MiddleButton, Qt::MiddleButton);
    mouse(bar, QEvent::MouseButtonRelease, QPoint(50, 10), Qt::MiddleButton, Qt::NoButton);
    // A left release without a left press ends nothing either.
    mouse(bar, QEvent::MouseButtonRelease, QPoint(50, 10), Qt::LeftButton, Qt::NoButton);
    EXPECT_EQ(spy.count(), 0);
    EXPECT_EQ(pane->width(), 170);

    // A right button during a left drag neither moves nor ends it.
    mouse(bar, QEvent::MouseButtonPress, QPoint(2, 10), Qt::LeftButton, Qt::LeftButton);
    mouse(bar, QEvent::MouseButtonRelease, QPoint(30, 10), Qt::RightButton, Qt::LeftButton);
    EXPECT_TRUE(bar->isTracking());
    mouse(bar, QEvent::MouseButtonRelease, QPoint(12, 10), Qt::LeftButton, Qt::NoButton);
    ASSERT_EQ(spy.count(), 1);
    EXPECT_EQ(spy.at(0).at(0).toInt(), 10);
}

TEST(SplitBar, ThicknessAndPointers)
{
    QWidget owner;
    JOVVERTSPLITBAR vertical(&owner);
    JOVHORZSPLITBAR horizontal(&owner);
    EXPECT_EQ(vertical.width(), 5);
    EXPECT_EQ(horizontal.height(), 5);
    ASSERT_TRUE(vertical.POINTER().has_value());
    EXPECT_EQ(vertical.cursor().hotSpot(), QPoint(12, 10));
    EXPECT_EQ(horizontal.cursor().hotSpot(), QPoint(10, 12));
    vertical.setPOINTER(std::nullopt);
    EXPECT_FALSE(vertical.POINTER().has_value());
    EXPECT_FALSE(vertical.testAttribute(Qt::WA_SetCursor)); // the owner's pointer shows through
}

TEST(SplitBar, UpdatePositionDocksOnlyWhenToldWhere)
{
    QWidget owner;
    owner.resize(400, 300);
    JOVVERTSPLITBAR vertical(&owner);
    JOVHORZSPLITBAR horizontal(&owner);
    vertical.setGeometry(50, 60, 5, 70);
    vertical.UPDATEPOSITION(); // unknown: stays
    EXPECT_EQ(vertical.geometry(), QRect(50, 60, 5, 70));
    vertical.POSITION = JOVSPLITBAR::Position::RIGHT;
    vertical.UPDATEPOSITION();
    EXPECT_EQ(vertical.geometry(), QRect(395, 0, 5, 300));
    vertical.POSITION = JOVSPLITBAR::Position::LEFT;
    vertical.UPDATEPOSITION();
    EXPECT_EQ(vertical.geometry(), QRect(0, 0, 5, 300));
    horizontal.POSITION = JOVSPLITBAR::Position::BOTTOM;
    horizontal.UPDATEPOSITION();
    EXPECT_EQ(horizontal.geometry(), QRect(0, 295, 400, 5));
    horizontal.POSITION = JOVSPLITBAR::Position::TOP;
    horizontal.UPDATEPOSITION();
    EXPECT_EQ(horizontal.geometry(), QRect(0, 0, 400, 5));
}

TEST(SplitBar, PaintsARaisedStrip)
{
    QWidget owner;
    JOVVERTSPLITBAR bar(&owner);
    bar.setGeometry(0, 0, 5, 40);
    const QImage image = bar.grab().toImage();
    EXPECT_EQ(image.pixelColor(0, 20), QColor(Qt::white));
    EXPECT_EQ(image.pixelColor(4, 20), QColor(128, 128, 128));
    EXPECT_EQ(image.pixelColor(2, 0), QColor(Qt::white));
    EXPECT_EQ(image.pixelColor(2, 39), QColor(128, 128, 128));
    EXPECT_EQ(image.pixelColor(2, 20), bar.palette().color(QPalette::Button));
}

} // namespace
