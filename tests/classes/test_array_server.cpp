#include "classes/array_server.h"

#include <gtest/gtest.h>

#include <QDate>

using namespace vexo;

namespace {

// Records every notification in order and answers code 2 as told.
struct Recorder : ArrayServerClient
{
    QList<int> codes;
    QStringList descriptions;
    bool allowMoves = true;
    bool acceptValues = true;
    std::optional<bool> notify(int code, const QString &description) override
    {
        codes.append(code);
        descriptions.append(description);
        if (code == ARRAYSERVER::NotifyIntentToMove)
            return allowMoves;
        return std::nullopt;
    }
    bool fieldValidate(int, const QVariant &) override { return acceptValues; }
};

const QList<ArrayColumn> kColumns = {{"NAME", "C", 5, 0}, {"QTY", "N", 8, 2}, {"ON", "L", 1, 0}};

QList<QVariantList> rowsNamed(const QStringList &names)
{
    QList<QVariantList> rows;
    for (int i = 0; i < names.size(); ++i)
        rows.append({names[i], double(i + 1), false});
    return rows;
}

struct Fixture
{
    explicit Fixture(const QStringList &names, bool hideDeleted = false)
        : data(makeArrayData(rowsNamed(names))), server(kColumns, data, hideDeleted)
    {
        server.addClient(&client);
    }
    QString name() const { return server.FIELDGET(1).toString(); }
    ArrayData data;
    ARRAYSERVER server;
    Recorder client;
};

} // namespace

TEST(ArrayServer, EmptyServerMovesChangeNothingButSkipStillNotifies)
{
    Fixture f({});
    EXPECT_TRUE(f.server.EOF_());
    EXPECT_TRUE(f.server.BOF());
    EXPECT_EQ(f.server.RECNO(), 1u);
    for (auto move : {&ARRAYSERVER::GOTOP, &ARRAYSERVER::GOBOTTOM})
        EXPECT_TRUE((f.server.*move)());
    EXPECT_TRUE(f.server.GOTO(1));
    EXPECT_TRUE(f.server.SKIP(1));
    EXPECT_EQ(f.client.codes, QList<int>({3}));
    EXPECT_EQ(f.server.FIELDGET(1), QVariant(QString()));
    EXPECT_EQ(f.server.FIELDGET(2), QVariant(0.0));
    EXPECT_TRUE(f.server.APPEND());
    EXPECT_EQ(f.server.RECNO(), 1u);
    EXPECT_FALSE(f.server.EOF_());
    EXPECT_EQ(f.data->size(), 1);
}

TEST(ArrayServer, GotoZeroAndBeyondTheEnd)
{
    Fixture f({"A", "B", "C"});
    f.server.GOTO(2);
    f.server.GOTO(0);
    EXPECT_EQ(f.server.RECNO(), 1u);
    EXPECT_TRUE(f.server.BOF());
    EXPECT_EQ(f.name(), "A");
    f.server.GOTO(3 + 5);
    EXPECT_EQ(f.server.RECNO(), 4u);
    EXPECT_TRUE(f.server.EOF_());
    EXPECT_FALSE(f.server.DELETED());
    EXPECT_EQ(f.server.FIELDPUT(1, "X"), QVariant(QString())); // nothing stored on the phantom row
    f.server.GOTO(-1);
    EXPECT_TRUE(f.server.EOF_());
    EXPECT_EQ(f.client.codes, QList<int>({2, 3, 2, 3, 2, 3, 2, 3}));
}

TEST(ArrayServer, SkipZeroReReadsTheRowAndLeavesACopy)
{
    Fixture f({"A", "B"});
    f.client.codes.clear();
    f.server.SKIP(0);
    EXPECT_EQ(f.client.codes, QList<int>({2, 3, 3}));
    EXPECT_FALSE(f.server.bufferIsRow());
}

TEST(ArrayServer, BackwardSkips)
{
    Fixture f({"A", "B", "C", "D", "E"});
    f.server.GOTO(2);
    f.server.SKIP(-5);
    EXPECT_EQ(f.server.RECNO(), 1u);
    EXPECT_TRUE(f.server.BOF());

    f.server.SETFILTER([](const ARRAYSERVER &s, const ArrayRows &) { return s.RECNO() > 3; }, "");
    f.server.GOTO(4);
    f.server.SKIP(-1);
    EXPECT_EQ(f.server.RECNO(), 4u);
    EXPECT_TRUE(f.server.BOF());
}

TEST(ArrayServer, GotopOverMarkedRowsKeepsEveryChange)
{
    Fixture f({"A", "B", "C", "D"});
    f.server.GOTO(1);
    f.server.DELETE();
    f.server.GOTO(2);
    f.server.DELETE();
    f.server.GOTO(4);
    f.server.FIELDPUT("NAME", "ZZ");
    f.server.setSETDELETED(true);
    f.server.GOTO(4);
    f.client.codes.clear();
    f.server.GOTOP();
    EXPECT_EQ(f.server.RECNO(), 3u);
    EXPECT_EQ(f.client.codes, QList<int>({2, 5}));
    EXPECT_EQ(f.data->at(0)->at(0), "A");
    EXPECT_EQ(f.data->at(1)->at(0), "B");
    EXPECT_EQ(f.data->at(3)->at(0), "ZZ");
}

TEST(ArrayServer, DeletedRowStaysCurrentThenCannotBeSkippedTo)
{
    Fixture f({"A", "B", "C"}, true);
    f.server.GOTO(2);
    f.server.DELETE();
    EXPECT_EQ(f.server.RECNO(), 2u);
    EXPECT_TRUE(f.server.DELETED());
    f.server.SKIP(1);
    EXPECT_EQ(f.server.RECNO(), 3u);
    f.server.SKIP(-1);
    EXPECT_EQ(f.server.RECNO(), 1u);
    f.server.GOTO(2);
    EXPECT_EQ(f.server.RECNO(), 2u);
    EXPECT_TRUE(f.server.DELETED());
}

TEST(ArrayServer, PackRemovesExactlyTheMarkedRows)
{
    struct Case
    {
        QStringList rows;
        QList<int> marked;
        int current;
        QStringList left;
        quint32 recNo;
        bool eof;
    };
    const Case cases[] = {
        {{"A"}, {1}, 1, {}, 0, true},
        {{"A", "B", "C"}, {3}, 3, {"A", "B"}, 2, false},
        {{"A", "B", "C"}, {2}, 2, {"A", "C"}, 2, false},
        // An unmarked current row stays, and every marked row goes, not just the current one.
        {{"A", "B", "C", "D"}, {1, 3}, 2, {"B", "D"}, 1, false},
        {{"A", "B", "C", "D"}, {2, 4}, 4, {"A", "C"}, 2, false},
        {{"A", "B"}, {}, 2, {"A", "B"}, 2, false},
    };
    for (const Case &c : cases) {
        Fixture f(c.rows);
        for (int m : c.marked) {
            f.server.GOTO(m);
            f.server.DELETE();
        }
        f.server.GOTO(c.current);
        f.client.codes.clear();
        f.server.PACK();
        QStringList left;
        for (const ArrayRow &r : std::as_const(*f.data))
            left.append(r->at(0).toString());
        SCOPED_TRACE(c.rows.join(',').toStdString());
        EXPECT_EQ(left, c.left);
        EXPECT_EQ(f.server.RECNO(), c.recNo);
        EXPECT_EQ(f.server.EOF_(), c.eof);
        EXPECT_EQ(f.server.BOF(), c.eof);
        EXPECT_EQ(f.server.LASTREC(), quint32(c.left.size()));
        EXPECT_EQ(f.server.DELMARKS(), QList<bool>(c.left.size(), false));
        EXPECT_EQ(f.client.codes, c.eof ? QList<int>({10}) : QList<int>({3, 10}));
        EXPECT_EQ(f.server.bufferIsRow(), !c.eof);
    }
}

TEST(ArrayServer, FieldLookupIsExactForTextsAndCaseFreeForSymbols)
{
    Fixture f({"A"});
    EXPECT_EQ(f.server.FIELDPOS(QString("QTY ")), 0);
    EXPECT_EQ(f.server.FIELDPOS(QString("qty")), 0);
    EXPECT_EQ(f.server.FIELDPOS(ArraySymbol{"qty"}), 2);
    EXPECT_EQ(f.server.FIELDPOS(4), 0);
    EXPECT_EQ(f.server.FIELDNAME(2), "QTY");
    EXPECT_EQ(f.server.FIELDNAME(QString("X")), "");
    EXPECT_EQ(f.server.FIELDLEN(ArraySymbol{"name"}), 5);
    EXPECT_EQ(f.server.FIELDGETFORMATTED(2), QVariant("    1.00"));
    EXPECT_FALSE(f.server.DEFAULTVALUE(9).isValid());
}

TEST(ArrayServer, AppendedRowIsBlankButEmptyRowIsPadded)
{
    const QList<ArrayColumn> cols = {{"C", "C", 4, 0}, {"D", "D", 8, 0}, {"M", "M", 10, 0}, {"X", "Q", 1, 0}};
    ARRAYSERVER s(cols, makeArrayData({}));
    s.APPEND();
    EXPECT_EQ(s.FIELDGET(1), QVariant(QString()));
    EXPECT_EQ(s.FIELDGET(2), QVariant(QDate()));
    EXPECT_EQ(s.EMPTYROW(), QVariantList({QString("    "), QDate(), QString(), QVariant()}));
    EXPECT_TRUE(s.bufferIsRow());
}

TEST(ArrayServer, FieldPutNotifiesOnlyWhatWasStored)
{
    Fixture f({"A"});
    f.client.codes.clear();
    EXPECT_EQ(f.server.FIELDPUT(ArraySymbol{"qty"}, 7.5), QVariant(7.5));
    EXPECT_EQ(f.client.codes, QList<int>({-1}));
    EXPECT_EQ(f.client.descriptions.last(), "QTY");
    EXPECT_EQ(f.data->at(0)->at(1), QVariant(1.0)); // a copy until committed
    f.server.COMMIT();
    EXPECT_EQ(f.data->at(0)->at(1), QVariant(7.5));
    f.client.acceptValues = false;
    EXPECT_EQ(f.server.FIELDPUT(2, 9.0), QVariant(0.0));
    EXPECT_EQ(f.server.FIELDGET(2), QVariant(7.5));
}

TEST(ArrayServer, RefusedMovesChangeNothing)
{
    Fixture f({"A", "B", "C"});
    f.server.FIELDPUT(1, "EDIT");
    f.client.allowMoves = false;
    f.client.codes.clear();
    f.server.GOTO(3);
    EXPECT_FALSE(f.server.APPEND());
    f.server.SETFILTER([](const ARRAYSERVER &, const ArrayRows &) { return false; }, "");
    f.server.SKIP(1);
    EXPECT_EQ(f.server.RECNO(), 1u);
    EXPECT_FALSE(f.server.FILTERON());
    EXPECT_EQ(f.data->size(), 3);
    // The refused skip keeps the unstored change instead of reloading the row.
    EXPECT_EQ(f.name(), "EDIT");
    EXPECT_EQ(f.client.codes, QList<int>({2, 2, 2, 2, 3}));
    f.client.allowMoves = true;
    f.server.SKIP(1);
    EXPECT_EQ(f.data->at(0)->at(0), "EDIT");
}

TEST(ArrayServer, FilterOnRowOneChecksOnlyTheMark)
{
    Fixture f({"A", "B", "C"});
    f.client.codes.clear();
    EXPECT_TRUE(f.server.SETFILTER([](const ARRAYSERVER &s, const ArrayRows &) { return s.RECNO() != 1; }, ""));
    EXPECT_EQ(f.server.RECNO(), 1u);
    EXPECT_EQ(f.client.codes, QList<int>({2, 5}));
    f.server.SKIP(1);
    f.server.SKIP(-1);
    EXPECT_EQ(f.server.RECNO(), 2u);
    EXPECT_TRUE(f.server.BOF());
    EXPECT_TRUE(f.server.CLEARFILTER());
    EXPECT_FALSE(f.server.FILTERON());
}

TEST(ArrayServer, EveryRowHidden)
{
    Fixture f({"A", "B"});
    f.server.SETFILTER([](const ARRAYSERVER &, const ArrayRows &) { return false; }, "");
    f.server.GOTOP();
    EXPECT_TRUE(f.server.EOF_());
    EXPECT_FALSE(f.server.BOF());
    f.server.GOBOTTOM();
    EXPECT_TRUE(f.server.EOF_());
    EXPECT_TRUE(f.server.BOF());
    EXPECT_EQ(f.server.RECNO(), 3u);
}

TEST(ArrayServer, UnbalancedResetSilencesUntilSuspendBringsItBack)
{
    Fixture f({"A", "B"});
    f.client.codes.clear();
    f.server.RESETNOTIFICATION();
    f.server.GOTO(2);
    EXPECT_TRUE(f.client.codes.isEmpty());
    f.server.SUSPENDNOTIFICATION();
    f.server.GOTO(1);
    EXPECT_EQ(f.client.codes, QList<int>({2, 3}));
}

TEST(ArrayServer, AppendStopsAtTheRowLimit)
{
    QList<QVariantList> rows(int(ARRAYSERVER::kMaxAppendRows) - 1, QVariantList{QString("A"), 1.0, false});
    ARRAYSERVER s(kColumns, makeArrayData(rows));
    EXPECT_TRUE(s.APPEND());
    EXPECT_FALSE(s.APPEND());
    EXPECT_EQ(s.LASTREC(), ARRAYSERVER::kMaxAppendRows);
}

TEST(ArrayServer, CloseCommitsAndNotifies)
{
    Fixture f({"A"});
    f.server.FIELDPUT(1, "B");
    f.client.codes.clear();
    EXPECT_TRUE(f.server.CLOSE());
    EXPECT_EQ(f.client.codes, QList<int>({0}));
    EXPECT_EQ(f.data->at(0)->at(0), "B");
}

TEST(ArrayServer, TextFilters)
{
    struct Case
    {
        QString text;
        QStringList visible; // empty list with `readable` false: the filter stays as it was
        bool readable;
    };
    const Case cases[] = {
        {"NAME = \"B\"", {"B", "BB"}, true},
        {"name == 'B'", {"B"}, true},
        {"QTY >= 3 .AND. QTY < 5", {"C", "BB"}, true},
        {"QTY = 1 .or. NAME = \"C\"", {"A", "C"}, true},
        {"QTY # 1 .AND. ON = .F. .AND. NAME <> \"C\"", {"B", "BB"}, true},
        {"QTY >", {}, false},
        {"QTY = 1 AND", {}, false},
        {"UPPER(NAME) = \"A\"", {}, false},
    };
    for (const Case &c : cases) {
        Fixture f({"A", "B", "C", "BB"});
        f.server.setFILTER("QTY = 2");
        EXPECT_EQ(f.server.setFILTER(c.text), c.readable ? c.text : QString("QTY = 2"));
        QStringList visible;
        for (f.server.GOTOP(); !f.server.EOF_(); f.server.SKIP(1))
            visible.append(f.name());
        EXPECT_EQ(visible, c.readable ? c.visible : QStringList{"B"}) << c.text.toStdString();
    }
}
