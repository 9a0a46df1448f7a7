// The array data server without windows: what each operation does to the rows and which
// notifications every client hears, in order.
#include "controls/barray_server.h"

#include "platform/dbf_table.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>

using namespace vexo;

namespace {

struct RecordingClient : ServerClient
{
    QStringList heard;
    std::function<void(int)> onCode;
    bool NOTIFY(int code, const QString &description) override
    {
        heard << (description.isEmpty() ? QString::number(code) : QStringLiteral("%1:%2").arg(code).arg(description));
        if (onCode)
            onCode(code);
        return true;
    }
};

ServerFields threeFields()
{
    return {{QStringLiteral("NAME"), u'C', 6, 0}, {QStringLiteral("QTY"), u'N', 8, 2}, {QStringLiteral("CHK"), u'L', 1, 0}};
}

std::shared_ptr<BARRAYSERVER> fiveRows()
{
    ServerRows rows;
    for (const char *n : {"d", "b", "e", "a", "c"})
        rows.append({QString::fromLatin1(n), 1.5, false});
    return std::make_shared<BARRAYSERVER>(threeFields(), rows);
}

// Keeps the shared deleted-records switch as each test found it.
struct DeletedSwitch
{
    explicit DeletedSwitch(bool hide) : previous(DbfTable::setDeleted(hide)) {}
    ~DeletedSwitch() { DbfTable::setDeleted(previous); }
    bool previous;
};

} // namespace

TEST(BArrayServer, EveryOperationReachesBothClientsWithTheSameCodes)
{
    struct Case
    {
        const char *what;
        std::function<void(BARRAYSERVER &)> op;
        QStringList heard;
        int recNo;
    };
    const QList<Case> cases = {
        {"field write", [](BARRAYSERVER &s) { s.FIELDPUT(QStringLiteral("qty"), 2.0); }, {"-1:QTY"}, 1},
        {"write by position", [](BARRAYSERVER &s) { s.FIELDPUT(1, QStringLiteral("x")); }, {"-1:NAME"}, 1},
        {"skip", [](BARRAYSERVER &s) { s.SKIP(2); }, {"2", "3"}, 3},
        {"skip zero", [](BARRAYSERVER &s) { s.SKIP(0); }, {"2", "3"}, 1},
        {"goto", [](BARRAYSERVER &s) { s.GOTO(4); }, {"2", "3"}, 4},
        {"top", [](BARRAYSERVER &s) { s.GOTOP(); }, {"2", "5"}, 1},
        {"bottom", [](BARRAYSERVER &s) { s.GOBOTTOM(); }, {"2", "4"}, 5},
        {"append", [](BARRAYSERVER &s) { s.APPEND(); }, {"2", "7"}, 6},
        {"delete", [](BARRAYSERVER &s) { s.DELETE(); }, {"6"}, 1},
        {"pack", [](BARRAYSERVER &s) { s.PACK(); }, {"10"}, 1},
        {"owner's refresh", [](BARRAYSERVER &s) { s.NOTIFY(ServerNotify::FileChange); }, {"10"}, 1},
        {"close", [](BARRAYSERVER &s) { s.CLOSE(); }, {"0"}, 1},
        {"lock, commit, unlock", [](BARRAYSERVER &s) { s.RLOCK(), s.COMMIT(), s.UNLOCK(); }, {}, 1},
        {"write while suspended, then resume",
         [](BARRAYSERVER &s) {
             s.SUSPENDNOTIFICATION();
             s.FIELDPUT(1, QStringLiteral("x"));
             s.APPEND();
             s.DELETE();
             s.PACK();
             s.GOTOP();
             s.RESETNOTIFICATION();
         },
         {}, 1},
        {"nested suspension resumes only at the outer reset",
         [](BARRAYSERVER &s) {
             s.SUSPENDNOTIFICATION();
             s.SUSPENDNOTIFICATION();
             s.RESETNOTIFICATION();
             s.FIELDPUT(1, QStringLiteral("x"));
             s.RESETNOTIFICATION();
             s.FIELDPUT(1, QStringLiteral("y"));
         },
         {"-1:NAME"}, 1},
    };
    for (const Case &c : cases) {
        auto server = fiveRows();
        RecordingClient a, b;
        server->registerClient(&a);
        server->registerClient(&b);
        c.op(*server);
        EXPECT_EQ(a.heard, c.heard) << c.what;
        EXPECT_EQ(b.heard, c.heard) << c.what;
        EXPECT_EQ(server->RECNO(), c.recNo) << c.what;
    }
}

TEST(BArrayServer, ValuesKeepTheirFieldsTypeAndWidth)
{
    BARRAYSERVER s(threeFields(), QList<QStringList>{{"abcdefgh", " 12.5", "T"}, {"x"}});
    EXPECT_EQ(s.FIELDGET(1).toString(), "abcdef"); // cut to 6
    EXPECT_DOUBLE_EQ(s.FIELDGET(2).toDouble(), 12.5);
    EXPECT_TRUE(s.FIELDGET(QStringLiteral("chk")).toBool());
    s.SKIP();
    EXPECT_EQ(s.FIELDGET(1).toString(), "x     "); // padded to 6
    EXPECT_DOUBLE_EQ(s.FIELDGET(2).toDouble(), 0.0); // missing cells are blank
    EXPECT_FALSE(s.FIELDGET(3).toBool());
    s.FIELDPUT(1, QStringLiteral("ab"));
    EXPECT_EQ(s.DATA()[1][0].toString(), "ab    ");
    EXPECT_EQ(s.textRows()[1][0], "ab    ");
    EXPECT_EQ(s.FIELDPOS(QStringLiteral("nope")), 0);
    EXPECT_FALSE(s.FIELDPUT(QStringLiteral("nope"), 1));
}

TEST(BArrayServer, NavigationStopsAtBothEnds)
{
    auto s = fiveRows();
    EXPECT_FALSE(s->BOF());
    s->SKIP(-1);
    EXPECT_TRUE(s->BOF());
    EXPECT_EQ(s->RECNO(), 1);
    s->SKIP(10);
    EXPECT_TRUE(s->eof());
    EXPECT_EQ(s->RECNO(), 6);
    EXPECT_FALSE(s->FIELDPUT(1, QStringLiteral("z"))); // nothing to write past the end
    EXPECT_EQ(s->FIELDGET(1).toString(), "      ");
    s->SKIP(-1);
    EXPECT_EQ(s->RECNO(), 5);
    s->GOTO(99);
    EXPECT_TRUE(s->eof());

    BARRAYSERVER empty(threeFields(), ServerRows{});
    EXPECT_TRUE(empty.USED());
    EXPECT_TRUE(empty.eof());
    EXPECT_EQ(empty.LASTREC(), 0);
    EXPECT_FALSE(empty.DELETE());
    EXPECT_FALSE(BARRAYSERVER(ServerFields{}, ServerRows{}).USED());
}

TEST(BArrayServer, PackRenumbersAndHiddenRowsAreSkipped)
{
    DeletedSwitch hide(true);
    auto s = fiveRows();
    s->GOTO(2);
    s->DELETE();
    s->GOTO(4);
    s->DELETE();
    EXPECT_TRUE(s->DELETED());
    EXPECT_EQ(s->shownCount(), 3);
    s->GOTOP();
    QStringList seen;
    while (!s->eof()) {
        seen << s->FIELDGET(1).toString().trimmed() + QString::number(s->RECNO());
        s->SKIP();
    }
    EXPECT_EQ(seen, (QStringList{"d1", "e3", "c5"}));
    EXPECT_EQ(s->LASTREC(), 5); // marked rows are still there
    s->GOTO(4);
    s->PACK();
    EXPECT_EQ(s->LASTREC(), 3);
    EXPECT_EQ(s->textAt(2, 1).trimmed(), "e");
    EXPECT_EQ(s->textAt(3, 1).trimmed(), "c");
    EXPECT_FALSE(s->deletedAt(2));
    EXPECT_EQ(s->RECNO(), 3); // the row after the deleted current one ("c") takes its place
}

TEST(BArrayServer, DeleteAndPackLeaveTheNextRowCurrent)
{
    DeletedSwitch hide(true);
    // Row deleted (current), rows left, the current row's name afterwards ("" past the end).
    const struct
    {
        int deleted;
        int left;
        const char *current;
    } cases[] = {{1, 4, "b"}, {3, 4, "a"}, {5, 4, "a"}};
    for (const auto &c : cases) {
        auto s = fiveRows();
        s->GOTO(c.deleted);
        s->DELETE();
        s->PACK();
        EXPECT_EQ(s->LASTREC(), c.left) << c.deleted;
        EXPECT_FALSE(s->eof()) << c.deleted;
        EXPECT_EQ(s->FIELDGET(1).toString().trimmed(), c.current) << c.deleted;
    }
    auto one = std::make_shared<BARRAYSERVER>(threeFields(), ServerRows{{QStringLiteral("x"), 1.0, true}});
    one->DELETE();
    one->PACK();
    EXPECT_EQ(one->LASTREC(), 0);
    EXPECT_TRUE(one->eof());
}

TEST(BArrayServer, SkippingFromADeletedRowReachesItsNeighbours)
{
    DeletedSwitch hide(true);
    // The loop owners write to remove rows: delete the matching ones, skip on.
    for (bool ordered : {false, true}) {
        auto s = fiveRows(); // d b e a c
        if (ordered)
            s->SETORDER([](const ServerRow &r) { return r[0].toString(); }); // a b c d e
        s->GOTOP();
        QStringList kept;
        while (!s->eof()) {
            const QString name = s->FIELDGET(1).toString().trimmed();
            if (name == "b" || name == "c")
                s->DELETE();
            else
                kept << name;
            s->SKIP();
        }
        EXPECT_EQ(kept, ordered ? (QStringList{"a", "d", "e"}) : (QStringList{"d", "e", "a"}));
        // And back: from a deleted row one step up reaches the row before it.
        s->GOTOP();
        s->SKIP();
        s->DELETE();
        EXPECT_FALSE(s->eof()); // the deleted row is still current
        EXPECT_TRUE(s->DELETED());
        EXPECT_EQ(s->OrderKeyNo(), 0); // but not shown
        s->SKIP(-1);
        EXPECT_EQ(s->FIELDGET(1).toString().trimmed(), ordered ? "a" : "d");
    }
}

TEST(BArrayServer, MarkedRowsShowWhileTheSwitchIsOff)
{
    DeletedSwitch show(false);
    auto s = fiveRows();
    s->GOTO(2);
    s->DELETE();
    EXPECT_EQ(s->shownCount(), 5);
    s->GOTO(1);
    s->SKIP();
    EXPECT_EQ(s->RECNO(), 2);
    EXPECT_TRUE(s->DELETED());
    EXPECT_TRUE(s->RECALL());
    EXPECT_FALSE(s->DELETED());
}

TEST(BArrayServer, ARefusedAppendChangesNothing)
{
    auto s = fiveRows();
    RecordingClient c;
    s->registerClient(&c);
    s->GOTO(3);
    c.heard.clear();
    const quint64 stamp = s->shapeStamp();
    s->setAppendGate([] { return false; });
    EXPECT_FALSE(s->APPEND());
    EXPECT_EQ(s->LASTREC(), 5);
    EXPECT_EQ(s->RECNO(), 3);
    EXPECT_EQ(s->shapeStamp(), stamp);
    EXPECT_TRUE(c.heard.isEmpty());
    s->setAppendGate({});
    EXPECT_TRUE(s->APPEND());
    EXPECT_EQ(s->RECNO(), 6);
    EXPECT_EQ(s->FIELDGET(1).toString(), "      ");
}

TEST(BArrayServer, TheOrderRunsByKeyAndNumbersPositions)
{
    auto s = fiveRows();
    RecordingClient c;
    s->registerClient(&c);
    s->SETORDER([](const ServerRow &r) { return r[0].toString(); });
    EXPECT_EQ(c.heard, QStringList{"5"});
    s->GOTOP();
    QStringList names;
    QList<int> positions;
    while (!s->eof()) {
        names << s->FIELDGET(1).toString().trimmed();
        positions << s->OrderKeyNo();
        s->SKIP();
    }
    EXPECT_EQ(names, (QStringList{"a", "b", "c", "d", "e"}));
    EXPECT_EQ(positions, (QList<int>{1, 2, 3, 4, 5}));
    EXPECT_EQ(s->OrderKeyNo(), 0); // past the end
    s->GOTO(4); // "a"
    EXPECT_EQ(s->OrderKeyNo(), 1);
    s->FIELDPUT(1, QStringLiteral("z")); // moves to the end of the order
    EXPECT_EQ(s->OrderKeyNo(), 5);
    EXPECT_EQ(s->RECNO(), 4);
    s->SETORDER({});
    EXPECT_EQ(s->OrderKeyNo(), 4);
}

TEST(BArrayServer, AClientLettingGoWhileToldIsSafe)
{
    auto s = fiveRows();
    RecordingClient a, b;
    std::weak_ptr<BARRAYSERVER> weak = s;
    std::shared_ptr<BARRAYSERVER> held = s;
    s.reset();
    // The first client drops the server (its last owner) and unregisters the second on closing.
    a.onCode = [&](int code) {
        if (code == ServerNotify::Closing) {
            held->unregisterClient(&b);
            held.reset();
        }
    };
    weak.lock()->registerClient(&a);
    weak.lock()->registerClient(&b);
    weak.lock()->CLOSE();
    EXPECT_EQ(a.heard, QStringList{"0"});
    EXPECT_TRUE(b.heard.isEmpty());
    EXPECT_TRUE(weak.expired());
}
