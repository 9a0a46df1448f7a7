#include "classes/timed_method.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QElapsedTimer>

using namespace vexo;

namespace {

// Counts the calls of its two invokable methods; `plain` is not invokable.
class Client : public QObject
{
    Q_OBJECT
public:
    QStringList *log = nullptr;
    QString name;
    Q_INVOKABLE void JSTIMEREVENT() { log->append(name); }
    Q_INVOKABLE void blink() { log->append(name + QStringLiteral(".blink")); }
    void plain() {}
};

struct Fixture
{
    Fixture()
    {
        container.AXIT(); // the tests tick by hand
        for (int i = 0; i < 3; ++i) {
            clients[i].log = &log;
            clients[i].name = QString(QChar(u'a' + i));
        }
    }
    QStringList ticks(int n)
    {
        log.clear();
        for (int i = 0; i < n; ++i)
            container.RECEIVETIMER();
        return log;
    }
    JSTIMERCONTAINER container;
    Client clients[3];
    QStringList log;
};

} // namespace

TEST(TimedMethod, RecordDefaultsAndCountdown)
{
    JSTIMEDMETHOD r;
    EXPECT_EQ(r.METHODNAME(), "JSTIMEREVENT");
    EXPECT_EQ(r.TIMERFREQUENCY(), 1.0);
    EXPECT_TRUE(r.ONOFF());
    EXPECT_EQ(r.COUNTDOWN(), 1.0);
    for (int i = 1; i <= 9; ++i)
        EXPECT_FALSE(r.ISTIMETOSEND()) << i;
    EXPECT_NEAR(r.COUNTDOWN(), 0.1, 1e-9);
    EXPECT_TRUE(r.ISTIMETOSEND()); // the tenth tick: one second
    EXPECT_EQ(r.COUNTDOWN(), 1.0);
    r.setONOFF(false);
    EXPECT_EQ(r.COUNTDOWN(), 0.0);
    EXPECT_FALSE(r.ISTIMETOSEND());
}

TEST(TimedMethod, FrequenciesAreSeconds)
{
    Fixture f;
    ASSERT_TRUE(f.container.REGISTERCLIENT(&f.clients[0], {}, 0.3));
    ASSERT_TRUE(f.container.REGISTERCLIENT(&f.clients[1], "blink", 0.0));
    ASSERT_TRUE(f.container.REGISTERCLIENT(&f.clients[2], {}, 1.0, false));
    EXPECT_EQ(f.ticks(1), QStringList({"b.blink"}));
    EXPECT_EQ(f.ticks(1), QStringList({"b.blink"}));
    EXPECT_EQ(f.ticks(1), QStringList({"a", "b.blink"}));
    EXPECT_EQ(f.ticks(30).count("a"), 10);
    EXPECT_EQ(f.ticks(30).count("c"), 0);
    EXPECT_EQ(f.container.GETCOUNTDOWN(&f.clients[2], "JSTIMEREVENT"), 0.0);
    f.container.ENABLETIMER(&f.clients[2], "JSTIMEREVENT", true);
    EXPECT_EQ(f.ticks(10).count("c"), 1);
}

TEST(TimedMethod, GoneOrDeafClientsAreDroppedWhenDue)
{
    Fixture f;
    auto *gone = new Client;
    gone->log = &f.log;
    f.container.REGISTERCLIENT(gone, {}, 0.0);
    f.container.REGISTERCLIENT(&f.clients[0], "plain", 0.0);
    f.container.REGISTERCLIENT(&f.clients[1], "nothing", 0.2);
    f.container.REGISTERCLIENT(&f.clients[2], {}, 0.0);
    delete gone;
    EXPECT_EQ(f.ticks(1), QStringList({"c"})); // the entry after the removed ones is still visited
    EXPECT_EQ(f.container.registrations(), 2);
    EXPECT_EQ(f.ticks(1), QStringList({"c"}));
    EXPECT_EQ(f.container.registrations(), 1);
}

TEST(TimedMethod, LookupsAndRegistrationRules)
{
    Fixture f;
    EXPECT_FALSE(f.container.REGISTERCLIENT(nullptr));
    EXPECT_EQ(f.container.registrations(), 0);
    JSTIMEDMETHOD blink;
    blink.setMETHODNAME("blink");
    EXPECT_FALSE(f.container.UNREGISTERCLIENT(&f.clients[0], blink));
    f.container.ENABLETIMER(&f.clients[0], "blink", false);
    EXPECT_EQ(f.container.GETCOUNTDOWN(&f.clients[0], "blink"), 0.0);

    f.container.REGISTERCLIENT(&f.clients[0], "blink", 0.5);
    f.container.REGISTERCLIENT(&f.clients[1]);
    f.container.REGISTERCLIENT(&f.clients[0], "blink", 2.0);
    EXPECT_EQ(f.container.GETOBJECTELEMENT(&f.clients[0], "blink"), 1);
    EXPECT_EQ(f.container.GETOBJECTELEMENT(&f.clients[1], "JSTIMEREVENT"), 2);
    EXPECT_EQ(f.container.GETOBJECTELEMENT(&f.clients[2], "JSTIMEREVENT"), 0);
    EXPECT_EQ(f.container.GETCOUNTDOWN(&f.clients[0], "blink"), 0.5);
    EXPECT_TRUE(f.container.UNREGISTERCLIENT(&f.clients[0], blink));
    EXPECT_EQ(f.container.GETCOUNTDOWN(&f.clients[0], "blink"), 2.0);
}

TEST(TimedMethod, EachContainerServesItsOwnRegistrations)
{
    QStringList log;
    Client a, b;
    a.log = b.log = &log;
    a.name = "a";
    b.name = "b";
    JSTIMERCONTAINER first, second;
    EXPECT_TRUE(first.timerActive());
    first.REGISTERCLIENT(&a, {}, 0.0);
    second.REGISTERCLIENT(&b, {}, 0.0);
    QElapsedTimer t;
    t.start();
    while (!(log.contains("a") && log.contains("b")) && t.elapsed() < 5000)
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
    EXPECT_TRUE(log.contains("a"));
    EXPECT_TRUE(log.contains("b"));
    second.AXIT();
    EXPECT_FALSE(second.timerActive());
}

#include "test_timed_method.moc"
