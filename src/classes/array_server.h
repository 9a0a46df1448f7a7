#pragma once

#include "problem/field_spec.h"

#include <QList>
#include <QString>
#include <QVariant>

#include <functional>
#include <memory>
#include <optional>

namespace vexo {

class DbfTable;

// A row of cells, shared between the server and whoever holds the row array.
using ArrayRow = std::shared_ptr<QVariantList>;
using ArrayRows = QList<ArrayRow>;
using ArrayData = std::shared_ptr<ArrayRows>;

ArrayRow makeArrayRow(const QVariantList &cells);
ArrayData makeArrayData(const QList<QVariantList> &rows);

// A column's name symbol: compared without regard to case, as the runtime's symbols are.
struct ArraySymbol
{
    QString name;
};

// One column: {name, type letter, length, decimals}.
struct ArrayColumn
{
    QString name;
    QString type;
    int length = 0;
    int decimals = 0;
};

// Whoever binds to the server hears its notifications and may refuse a move (code 2) or a value.
class ArrayServerClient
{
public:
    virtual ~ArrayServerClient() = default;
    // Empty when the client has no answer.
    virtual std::optional<bool> notify(int code, const QString &description) = 0;
    virtual bool fieldValidate(int column, const QVariant &value) { return true; }
};

class ARRAYSERVER
{
public:
    // Notification codes.
    enum : int {
        NotifyClose = 0,
        NotifyIntentToMove = 2,
        NotifyRecordChange = 3,
        NotifyGoBottom = 4,
        NotifyGoTop = 5,
        NotifyDelete = 6,
        NotifyAppend = 7,
        NotifyFileChange = 10,
        NotifyFieldChange = -1,
    };
    static constexpr quint32 kMaxAppendRows = 0xFFFF;

    // The filter block gets the server and the row array; the candidate row is at RECNO().
    using FilterBlock = std::function<bool(const ARRAYSERVER &, const ArrayRows &)>;
    using SeekBlock = std::function<bool(const QVariantList &)>;

    // `hideDeleted` stands for the runtime's global setting at creation.
    ARRAYSERVER(const QList<ArrayColumn> &columns, ArrayData data, bool hideDeleted = false);

    void addClient(ArrayServerClient *client) { m_clients.append(client); }
    void removeClient(ArrayServerClient *client) { m_clients.removeAll(client); }

    const ArrayData &DATA() const { return m_data; }
    const QList<ArrayColumn> &DBSTRUCT() const { return m_columns; }
    quint32 RECCOUNT() const { return m_lastRec; }
    quint32 LASTREC() const { return m_lastRec; }
    quint32 RECNO() const { return m_recNo; }
    quint32 setRECNO(qint64 n);
    bool BOF() const { return m_bof; }
    bool EOF_() const { return m_eof; }
    bool DELETED() const;
    bool SETDELETED() const { return m_setDeleted; }
    bool setSETDELETED(bool hide);
    QString FILTER() const { return m_filterText; }
    bool FILTERON() const { return m_filterOn; }
    // A text the filter reader cannot read leaves the filter as it was.
    QString setFILTER(const QString &text);
    QString setFILTER(const FilterBlock &block);
    int NOTIFYSUSPEND() const { return m_notifySuspend; }
    const QList<bool> &DELMARKS() const { return m_delMarks; }

    int FIELDPOS(int n) const;
    int FIELDPOS(const QString &name) const;
    int FIELDPOS(const ArraySymbol &sym) const;
    template <typename F> QString FIELDNAME(const F &f) const { return nameOf(FIELDPOS(f)); }
    template <typename F> int FIELDLEN(const F &f) const { return lengthOf(FIELDPOS(f)); }
    template <typename F> QVariant FIELDGET(const F &f) const { return getAt(FIELDPOS(f), false); }
    template <typename F> QVariant FIELDGETFORMATTED(const F &f) const { return getAt(FIELDPOS(f), true); }
    template <typename F> QVariant FIELDPUT(const F &f, const QVariant &v) { return putAt(FIELDPOS(f), v); }
    template <typename F> QVariant DEFAULTVALUE(const F &f) const { return defaultAt(FIELDPOS(f)); }
    QVariantList EMPTYROW() const;
    FieldSpec fieldSpec(int n) const;

    bool GOTO(qint64 n);
    bool GOTOP();
    bool GOBOTTOM();
    bool SKIP(int n = 1);
    bool APPEND();
    bool COMMIT();
    bool CLOSE();
    bool REFRESH();
    bool DELETE();
    bool RECALL();
    bool RECALLALL();
    bool PACK();
    bool SETFILTER(const FilterBlock &block, const QString &text);
    bool CLEARFILTER();

    std::optional<bool> NOTIFY(int code, const QString &description = {});
    ARRAYSERVER &SUSPENDNOTIFICATION();
    ARRAYSERVER &RESETNOTIFICATION();

    // Seek, sort and transfers.
    bool SEEK(const SeekBlock &key);
    bool SEEK(const QVariant &key);
    template <typename F> bool SORT(const F &f) { return sortBy(FIELDPOS(f)); }
    bool APPENDDB(DbfTable &source);
    bool APPENDDB(const QString &tableFile);
    bool COPYDB(DbfTable &target);
    bool COPYDB(const QString &tableFile);
    bool APPENDDELIMITED(const QString &fileName, const QString &delimiter = QStringLiteral(","));
    bool COPYDELIMITED(const QString &fileName, const QString &delimiter = QStringLiteral(","));
    bool APPENDSDF(const QString &fileName);
    bool COPYSDF(const QString &fileName);
    QVariant STRING2USUAL(const QString &text, int column) const;
    QString USUAL2STRING(const QVariant &value, int column) const;

    // The buffer is the row itself (not a copy); tells the two loading rules apart.
    bool bufferIsRow() const;

private:
    QString nameOf(int n) const;
    int lengthOf(int n) const;
    QVariant getAt(int n, bool formatted) const;
    QVariant putAt(int n, const QVariant &value);
    QVariant defaultAt(int n) const;
    bool hidden(quint32 r) const;
    bool hidingApplies() const { return m_setDeleted || m_filterOn; }
    bool moveAllowed();
    void storeBack();
    void loadCopy();
    void goForward(int n);
    void goBackward(int n);
    void skipSuspended(int n);
    void settleOn(quint32 r, int step);
    void topAfterReset();
    bool setFilterState(const FilterBlock &block, const QString &text, bool on);
    bool sortBy(int column);
    bool importRows(const std::function<bool(ArrayRows &)> &read);
    bool exportLines(const QString &fileName, const QString &delimiter);
    bool importLines(const QString &fileName, const std::function<bool(QString &, ArrayRows &)> &line);
    void finishImport(qsizetype before);

    QList<ArrayColumn> m_columns;
    QList<FieldSpec> m_specs;
    ArrayData m_data;
    quint32 m_recNo = 1;
    quint32 m_lastRec = 0;
    QList<bool> m_delMarks;
    bool m_eof = false;
    bool m_bof = false;
    ArrayRow m_buffer;
    quint32 m_bufferRow = 0; // the row the buffer was loaded from, 0 when none
    bool m_setDeleted = false;
    QVariantList m_defaultRow;
    int m_notifySuspend = 0;
    FilterBlock m_filterCode;
    QString m_filterText;
    bool m_filterOn = false;
    QList<ArrayServerClient *> m_clients;
};

// Runtime comparisons of cells: texts compare non-exactly (a text equals every key it begins with),
// numbers by value, dates and logicals by order; NIL equals only NIL.
bool usualEquals(const QVariant &cell, const QVariant &key);
bool usualLess(const QVariant &a, const QVariant &b);

// Reads a filter text of `column op literal` conditions joined by .AND. and .OR. (.AND. binding
// tighter); op is one of = == != <> # < <= > >=, a literal a quoted text, a number, .T. or .F.
// Empty when the text cannot be read.
std::optional<ARRAYSERVER::FilterBlock> compileArrayFilter(const QString &text);

} // namespace vexo
