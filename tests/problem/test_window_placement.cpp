#include "problem/window_placement.h"

#include <QMainWindow>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QWidget>

#include <gtest/gtest.h>

using vexo::placementOrigin;

namespace {

struct Case
{
    std::optional<int> position;
    std::optional<int> x;
    std::optional<int> y;
    QPoint origin;
};

// A 400 x 300 window in an owner area of 1000 x 700: free width 600, free height 400.
TEST(WindowPlacement, PositionsInAnArea)
{
    const Case cases[] = {
        {1, {}, {}, {0, 400}},          // top edge on the area's top
        {1, 0, 0, {0, 400}},
        {2, 10, 20, {590, 380}},
        {4, 10, 20, {590, 20}},
        {5, 10, 20, {10, 20}},
        {1, 10, 20, {10, 380}},
        {3, {}, {}, {300, 200}},
        {3, 50, 50, {300, 200}},        // the centre is exact whatever the offsets
        {{}, 0, 0, {300, 342}},         // 400 * 6 / 7 with the fraction dropped
        {{}, {}, {}, {300, 342}},
        {0, 0, 0, {300, 342}},
        {9, 25, 0, {325, 342}},
        {{}, 0, 40, {300, 342}},        // a positive y is ignored near the top
        {{}, 0, -40, {300, 302}},       // a negative y moves it down
        {{}, -30, 0, {330, 342}},       // x counts by its size
        {1, -10, -20, {10, 380}},       // negative offsets act like their absolute value at corners
        {4, -10, -20, {590, 20}},
        {1, 5000, 0, {600, 400}},       // cut to the free space: against the right edge
        {2, 5000, 5000, {0, 0}},
        {5, 0, 5000, {0, 400}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(::testing::Message() << "position " << c.position.value_or(-1) << " x " << c.x.value_or(-999)
                                          << " y " << c.y.value_or(-999));
        EXPECT_EQ(placementOrigin(QSize(1000, 700), QSize(400, 300), c.position, c.x, c.y), c.origin);
    }
}

TEST(WindowPlacement, OddFreeSpaceHalvesDown)
{
    EXPECT_EQ(placementOrigin(QSize(1001, 701), QSize(400, 300), 3), QPoint(300, 200));
    EXPECT_EQ(placementOrigin(QSize(1000, 707), QSize(400, 300), std::nullopt), QPoint(300, 348)); // 407*6/7
}

TEST(WindowPlacement, TooLargeWindowKeepsItsTopLeftInTheArea)
{
    // 100 px too wide and 50 px too tall: whatever the position, the title bar stays reachable.
    for (const std::optional<int> position : {std::optional<int>(1), std::optional<int>(2), std::optional<int>(3),
                                              std::optional<int>(4), std::optional<int>(5), std::optional<int>()}) {
        const QPoint origin = placementOrigin(QSize(500, 400), QSize(600, 450), position, 10, 10);
        EXPECT_EQ(vexo::topLeftFromLowerLeft(origin, 400, 450), QPoint(0, 0));
    }
    // Only the axis that does not fit is pinned.
    EXPECT_EQ(placementOrigin(QSize(500, 400), QSize(600, 300), 4, 0, 0), QPoint(0, 0));
    EXPECT_EQ(placementOrigin(QSize(700, 400), QSize(600, 450), 2, 0, 0), QPoint(100, -50));
}

TEST(WindowPlacement, LowerLeftToTopLeft)
{
    EXPECT_EQ(vexo::topLeftFromLowerLeft(QPoint(0, 400), 700, 300), QPoint(0, 0));
    EXPECT_EQ(vexo::topLeftFromLowerLeft(QPoint(590, 20), 700, 300), QPoint(590, 380));
}

TEST(WindowPlacement, MovesAnMdiChildInsideTheArea)
{
    QMdiArea area;
    area.resize(1000, 700);
    auto *child = new QWidget;
    QMdiSubWindow *sub = area.addSubWindow(child);
    sub->resize(400, 300);
    area.show();
    const QSize viewport = area.viewport()->size();

    const QPoint origin = vexo::QVMOVEWINDOW(child, 1);
    EXPECT_EQ(origin, QPoint(0, viewport.height() - 300));
    EXPECT_EQ(sub->pos(), QPoint(0, 0));

    vexo::QVMOVEWINDOW(child, 4, 10, 20);
    EXPECT_EQ(sub->pos(), QPoint(viewport.width() - 400 - 10, viewport.height() - 300 - 20));
}

TEST(WindowPlacement, WithoutOwnerTheScreenIsTheArea)
{
    QWidget window;
    window.resize(200, 100);
    const QSize screen = vexo::FULLWINSIZE();
    ASSERT_TRUE(screen.isValid());
    const QPoint origin = vexo::QVMOVEWINDOW(&window, 5);
    EXPECT_EQ(origin, QPoint(0, 0));
    EXPECT_EQ(window.pos().x(), 0);
    EXPECT_EQ(window.pos().y(), screen.height() - window.frameGeometry().height());
}

TEST(WindowPlacement, OwnedWindowSitsInItsOwnersClientArea)
{
    QWidget owner;
    owner.setGeometry(100, 80, 600, 400);
    owner.show();
    QWidget dialog(&owner, Qt::Dialog);
    dialog.resize(200, 100);
    vexo::QVMOVEWINDOW(&dialog, 1, 10, 20);
    EXPECT_EQ(dialog.pos(), owner.mapToGlobal(QPoint(10, 20)));
}

TEST(WindowPlacement, NoWindowDoesNothing)
{
    EXPECT_EQ(vexo::QVMOVEWINDOW(nullptr, 1), QPoint());
}

} // namespace
