#include "editfields/elapsed_time.h"

#include <gtest/gtest.h>

using vexo::ElapsedTime;

TEST(ElapsedTime, RunsAddUpTheirWholeSeconds)
{
    ElapsedTime t;
    t.start(1'000);
    t.stop(4'000);
    EXPECT_EQ(t.value(1, 9'000, {}).toLongLong(), 3); // a stopped counter shows its total
    t.start(10'000);
    EXPECT_EQ(t.value(1, 12'000, {}).toLongLong(), 5);
    t.stop(12'900);
    EXPECT_EQ(t.value(1, 20'000, {}).toLongLong(), 5); // part seconds of a run are cut
    t.reset();
    EXPECT_EQ(t.value(1, 20'000, {}).toLongLong(), 0);
    EXPECT_FALSE(t.running());
}

TEST(ElapsedTime, StartAndStopTwiceChangeNothing)
{
    ElapsedTime t;
    t.stop(5'000);
    EXPECT_EQ(t.value(1, 5'000, {}).toLongLong(), 0);
    t.start(1'000);
    t.start(3'000); // keeps the first start
    EXPECT_EQ(t.value(1, 4'000, {}).toLongLong(), 3);
    t.stop(4'000);
    t.stop(8'000);
    EXPECT_EQ(t.value(1, 9'000, {}).toLongLong(), 3);
}

TEST(ElapsedTime, Styles)
{
    struct Case
    {
        int style;
        qint64 elapsedMs;
        QVariant expected;
    };
    const Case cases[] = {
        {1, 119'000, qint64(119)}, {2, 119'000, qint64(1)}, {2, 120'000, qint64(2)},
        {3, 90'000, 1.5},          {3, 100'000, 1.67},      {0, 5'000, QStringLiteral("12:34:56")},
    };
    for (const Case &c : cases) {
        ElapsedTime t;
        t.start(0);
        EXPECT_EQ(t.value(c.style, c.elapsedMs, QStringLiteral("12:34:56")), c.expected) << c.style << " " << c.elapsedMs;
    }
    ElapsedTime t;
    EXPECT_FALSE(t.value(4, 0, {}).isValid());
    // Days of running never wrap.
    t.start(0);
    EXPECT_EQ(t.value(1, 3LL * 86'400'000, {}).toLongLong(), 3 * 86'400);
}
