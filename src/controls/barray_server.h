#pragma once

#include <QList>
#include <QString>
#include <QStringList>
#include <QVariant>

#include <functional>
#include <memory>
#include <vector>

namespace vexo {

// Codes a data server sends to its clients. A server passes each one to every client with the same
// code; `Field` carries the name of the field written as its description.
namespace ServerNotify {
constexpr int Field = -1;      // a field of the current row was written
constexpr int Closing = 0;     // the server is closing; clients let go of it
constexpr int IntentToMove = 2; // about to move: a grid stores its cell edit in progress
constexpr int RecordChange = 3; // the current row changed (moved or re-read)
constexpr int GoBottom = 4;    // moved to the last row
constexpr int GoTop = 5;       // moved to the first row, or the order changed
constexpr int Deleted = 6;     // a row was deleted
constexpr int Appended = 7;    // a row was appended and made current
constexpr int FileChange = 10; // the data changed as a whole (pack, a server-wide refresh)
} // namespace ServerNotify

// A field of the server: name, type letter ('C' text, 'N' number, 'L' logical, 'D' date), width in
// characters and decimals. Text values are kept at their field's width, blank-padded or cut.
struct ServerField
{
    QString name;
    QChar type = u'C';
    int width = 10;
    int decimals = 0;
};
using ServerFields = QList<ServerField>;

using ServerRow = QVariantList;
using ServerRows = QList<ServerRow>;

// Whoever shows a server's rows: every notification reaches NOTIFY. A client that is told Closing,
// or that goes away, unregisters itself; the server never owns its clients.
class ServerClient
{
public:
    virtual ~ServerClient() = default;
    virtual bool NOTIFY(int code, const QString &description) = 0;
};

// The array data server: serves rows it was handed, by record number (row position from 1), with a
// current row, deleted marks, one optional order, record locks and notifications to its clients.
// It knows nothing of windows; grids are clients of it.
//
// Deleted rows: DELETE marks the current row; while the shared deleted-records switch
// (DbfTable::setDeleted) is on, navigation and the order skip marked rows. PACK removes them and
// renumbers. DATA answers every row, marked or not; owners pack before they copy.
class BARRAYSERVER : public std::enable_shared_from_this<BARRAYSERVER>
{
public:
    // Rows shorter than the structure are blank-filled, longer ones cut; each value is converted to
    // its field's type. A structure without fields leaves the server unused.
    BARRAYSERVER(ServerFields fields, ServerRows rows);
    // The same over rows of texts (the problem lists).
    BARRAYSERVER(ServerFields fields, const QList<QStringList> &rows);
    ~BARRAYSERVER();
    BARRAYSERVER(const BARRAYSERVER &) = delete;
    BARRAYSERVER &operator=(const BARRAYSERVER &) = delete;

    // Ready for use: created over at least one field and not closed.
    bool USED() const { return used_; }

    // Structure. Positions count from 1; an unknown name answers position 0.
    int FCOUNT() const { return int(fields_.size()); }
    const ServerFields &fields() const { return fields_; }
    QString FIELDNAME(int pos) const;
    int FIELDPOS(const QString &name) const; // without regard to case
    const ServerField *field(int pos) const;

    // Navigation. RECNO is LASTREC + 1 when past the last row (EOF). A deleted row stays current
    // (and readable) until the server moves, even while deleted rows are hidden. Every move
    // announces itself with IntentToMove first and reports RecordChange (GoTop, GoBottom) after;
    // SKIP(0) moves nowhere but still announces and re-reads, so every grid stores its pending edit.
    int RECNO() const { return recNo_; }
    int LASTREC() const { return int(rows_.size()); }
    bool eof() const; // EOF (the C library owns that name)
    bool BOF() const { return bof_; }
    bool GOTOP();
    bool GOBOTTOM();
    bool GOTO(int recNo);
    bool SKIP(int count = 1);

    // Fields of the current row by position or name. Reading past the last row answers the field's
    // blank value; writing there is refused. A write sends Field with the field's name.
    QVariant FIELDGET(int pos) const;
    QVariant FIELDGET(const QString &name) const { return FIELDGET(FIELDPOS(name)); }
    bool FIELDPUT(int pos, const QVariant &value);
    bool FIELDPUT(const QString &name, const QVariant &value) { return FIELDPUT(FIELDPOS(name), value); }

    // Any row by record number without moving (for drawing and colour conditions).
    QVariant valueAt(int recNo, int pos) const;
    QString textAt(int recNo, int pos) const { return valueAt(recNo, pos).toString(); }
    bool deletedAt(int recNo) const;

    // Rows. APPEND adds a blank row at the end and makes it current (false when refused, and then
    // nothing changes). DELETE marks the current row (Deleted); PACK drops the marked rows and
    // renumbers (FileChange): the current row keeps its place, so after deleting and packing the
    // next row is current, or the new last row when the last one went.
    bool APPEND();
    bool DELETE();
    bool DELETED() const { return deletedAt(recNo_); }
    bool RECALL();
    bool PACK();

    // Record locks and commit: in memory they always succeed on a row of the server.
    bool RLOCK() { return used_ && !eof(); }
    bool UNLOCK() { return used_; }
    bool COMMIT() { return used_; }

    // Sends Closing, lets go of the rows' order and the clients, and leaves the server unused; the
    // rows stay readable through DATA.
    bool CLOSE();

    const ServerRows &DATA() const { return rows_; }
    QList<QStringList> textRows() const; // DATA with every value as text

    // One order: rows run by the key the function gives for a row (stable for equal keys); an
    // empty function puts the natural order back. Sends GoTop.
    using OrderKey = std::function<QString(const ServerRow &row)>;
    void SETORDER(OrderKey key);
    bool hasOrder() const { return bool(orderKey_); }
    // Position of the current row in the running order (1 = first shown row); 0 past the end.
    int OrderKeyNo() const { return positionOf(recNo_); }

    // The shown sequence: record numbers in order, marked rows left out while hidden.
    int shownCount() const;
    int recNoAt(int position) const; // position from 1; 0 outside
    int positionOf(int recNo) const; // 0 when not shown

    // Notifications. Suspending nests; resuming sends nothing. NOTIFY raises a code on every client
    // (what owners do to announce a server-wide change).
    void SUSPENDNOTIFICATION() { ++suspended_; }
    void RESETNOTIFICATION() { if (suspended_ > 0) --suspended_; }
    bool notificationsSuspended() const { return suspended_ > 0; }
    void NOTIFY(int code, const QString &description = {});

    void registerClient(ServerClient *client);
    void unregisterClient(ServerClient *client);
    int clientCount() const { return int(clients_.size()); }

    // Changes every time rows come or go or the order changes, notified or not; grids compare it to
    // find out that what they show is stale.
    quint64 shapeStamp() const { return shapeStamp_; }

    // Test hook: when set and answering false, APPEND is refused.
    void setAppendGate(std::function<bool()> gate) { appendGate_ = std::move(gate); }

    static QVariant blankValue(const ServerField &f);
    static QVariant convert(const ServerField &f, const QVariant &value);

private:
    void init(ServerFields fields);
    void shapeChanged();
    const std::vector<int> &sequence() const;
    int shownBefore(int recNo) const; // shown rows that run ahead of a (hidden) row
    bool moveTo(int recNo, int code);

    ServerFields fields_;
    ServerRows rows_;
    std::vector<bool> deleted_;
    std::vector<ServerClient *> clients_;
    OrderKey orderKey_;
    std::function<bool()> appendGate_;
    mutable std::vector<int> sequence_;
    mutable bool sequenceValid_ = false;
    mutable bool sequenceHidesDeleted_ = false;
    quint64 shapeStamp_ = 0;
    int recNo_ = 1;
    int suspended_ = 0;
    bool used_ = false;
    bool bof_ = false;
};

} // namespace vexo
