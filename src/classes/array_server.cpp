#include "classes/array_server.h"

#include "problem/date_text.h"

namespace vexo {

ArrayRow makeArrayRow(const QVariantList &cells)
{
    return std::make_shared<QVariantList>(cells);
}

ArrayData makeArrayData(const QList<QVariantList> &rows)
{
    auto data = std::make_shared<ArrayRows>();
    for (const QVariantList &r : rows)
        data->append(makeArrayRow(r));
    return data;
}

ARRAYSERVER::ARRAYSERVER(const QList<ArrayColumn> &columns, ArrayData data, bool hideDeleted)
    : m_columns(columns), m_data(data ? std::move(data) : std::make_shared<ArrayRows>())
{
    for (const ArrayColumn &c : m_columns)
        m_specs.append(FieldSpec(c.name, c.type.isEmpty() ? QChar() : c.type.at(0), c.length, c.decimals));
    for (int i = 1; i <= m_columns.size(); ++i)
        m_defaultRow.append(defaultAt(i));
    m_lastRec = quint32(m_data->size());
    m_recNo = 1;
    if (m_lastRec > 0)
        loadCopy();
    else
        m_eof = m_bof = true;
    m_delMarks = QList<bool>(m_data->size(), false);
    m_setDeleted = hideDeleted;
}

bool ARRAYSERVER::bufferIsRow() const
{
    return m_buffer && m_bufferRow >= 1 && m_bufferRow <= quint32(m_data->size())
           && m_data->at(m_bufferRow - 1) == m_buffer;
}

// ---- fields -------------------------------------------------------------------------------------

int ARRAYSERVER::FIELDPOS(int n) const
{
    return n >= 1 && n <= m_columns.size() ? n : 0;
}

int ARRAYSERVER::FIELDPOS(const QString &name) const
{
    for (int i = 0; i < m_columns.size(); ++i)
        if (m_columns[i].name == name)
            return i + 1;
    return 0;
}

int ARRAYSERVER::FIELDPOS(const ArraySymbol &sym) const
{
    for (int i = 0; i < m_columns.size(); ++i)
        if (m_columns[i].name.compare(sym.name, Qt::CaseInsensitive) == 0)
            return i + 1;
    return 0;
}

FieldSpec ARRAYSERVER::fieldSpec(int n) const
{
    return FIELDPOS(n) ? m_specs[n - 1] : FieldSpec();
}

QString ARRAYSERVER::nameOf(int n) const
{
    return n > 0 ? m_columns[n - 1].name : QString();
}

int ARRAYSERVER::lengthOf(int n) const
{
    return n > 0 ? m_specs[n - 1].Length() : 0;
}

static QVariant blankValue(QChar type)
{
    switch (type.unicode()) {
    case 'C':
    case 'M':
        return QString();
    case 'N':
        return 0.0;
    case 'D':
        return QDate();
    case 'L':
        return false;
    default:
        return {};
    }
}

QVariant ARRAYSERVER::defaultAt(int n) const
{
    return n > 0 ? blankValue(m_specs[n - 1].ValType()) : QVariant();
}

QVariantList ARRAYSERVER::EMPTYROW() const
{
    QVariantList row;
    for (const ArrayColumn &c : m_columns) {
        const QChar type = c.type.isEmpty() ? QChar() : c.type.at(0);
        row.append(type == u'C' ? QVariant(QString(qMax(0, c.length), u' ')) : blankValue(type));
    }
    return row;
}

QVariant ARRAYSERVER::getAt(int n, bool formatted) const
{
    if (n <= 0 || m_eof || !m_buffer)
        return defaultAt(n);
    const QVariant v = m_buffer->value(n - 1);
    return formatted ? QVariant(m_specs[n - 1].Transform(v)) : v;
}

QVariant ARRAYSERVER::putAt(int n, const QVariant &value)
{
    if (n <= 0 || m_eof || !m_buffer)
        return defaultAt(n);
    for (ArrayServerClient *c : std::as_const(m_clients))
        if (!c->fieldValidate(n, value))
            return defaultAt(n);
    while (m_buffer->size() < n)
        m_buffer->append(QVariant());
    (*m_buffer)[n - 1] = value;
    NOTIFY(NotifyFieldChange, m_columns[n - 1].name.toUpper());
    return value;
}

// ---- buffer and hiding --------------------------------------------------------------------------

void ARRAYSERVER::loadCopy()
{
    m_buffer = makeArrayRow(*m_data->at(m_recNo - 1));
    m_bufferRow = m_recNo;
}

// A copy goes back only into the row it came from: an inner move that already changed the pointer
// must not write it over another row.
void ARRAYSERVER::storeBack()
{
    if (m_eof || !m_buffer || m_bufferRow != m_recNo || m_recNo < 1 || m_recNo > quint32(m_data->size()))
        return;
    (*m_data)[m_recNo - 1] = m_buffer;
}

bool ARRAYSERVER::hidden(quint32 r) const
{
    if (r < 1 || r > m_lastRec)
        return false;
    if (m_setDeleted && m_delMarks.value(r - 1))
        return true;
    return m_filterOn && m_filterCode && !m_filterCode(*this, *m_data);
}

bool ARRAYSERVER::moveAllowed()
{
    return m_lastRec > 0 && NOTIFY(NotifyIntentToMove).value_or(true);
}

void ARRAYSERVER::skipSuspended(int n)
{
    SUSPENDNOTIFICATION();
    SKIP(n);
    RESETNOTIFICATION();
}

// Stands on row r, or on the nearest visible row in the direction of step, and loads a copy of it.
void ARRAYSERVER::settleOn(quint32 r, int step)
{
    m_recNo = r;
    m_eof = m_bof = false;
    if (hidden(r))
        skipSuspended(step);
    if (!m_eof)
        loadCopy();
}

// ---- moves --------------------------------------------------------------------------------------

quint32 ARRAYSERVER::setRECNO(qint64 n)
{
    GOTO(n);
    return m_recNo;
}

bool ARRAYSERVER::GOTO(qint64 n)
{
    if (!moveAllowed())
        return true;
    storeBack();
    const quint32 r = quint32(n);
    if (r == 0) {
        m_recNo = 1;
        m_bof = true;
        loadCopy();
    } else if (r > m_lastRec) {
        m_recNo = m_lastRec + 1;
        m_eof = true;
    } else {
        m_recNo = r;
        loadCopy();
        m_eof = m_bof = false;
    }
    NOTIFY(NotifyRecordChange);
    return true;
}

bool ARRAYSERVER::GOTOP()
{
    if (!moveAllowed())
        return true;
    storeBack();
    settleOn(1, 1);
    NOTIFY(NotifyGoTop);
    return true;
}

bool ARRAYSERVER::GOBOTTOM()
{
    if (!moveAllowed())
        return true;
    storeBack();
    settleOn(m_lastRec, -1);
    NOTIFY(NotifyGoBottom);
    return true;
}

// A refused or impossible skip leaves the buffer alone, so a change not yet stored survives it;
// clients still hear that the record was looked at again.
bool ARRAYSERVER::SKIP(int n)
{
    if (moveAllowed()) {
        storeBack();
        m_eof = m_bof = false;
        if (n == 0)
            REFRESH();
        else if (n > 0)
            goForward(n);
        else
            goBackward(n);
        if (!m_eof)
            loadCopy();
    }
    NOTIFY(NotifyRecordChange);
    return true;
}

void ARRAYSERVER::goForward(int n)
{
    if (!hidingApplies()) {
        const qint64 r = qint64(m_recNo) + n;
        if (r > qint64(m_lastRec)) {
            m_recNo = m_lastRec + 1;
            m_eof = true;
        } else {
            m_recNo = quint32(r);
        }
        return;
    }
    for (int i = 0; i < n; ++i) {
        ++m_recNo;
        while (m_recNo <= m_lastRec && hidden(m_recNo))
            ++m_recNo;
        if (m_recNo > m_lastRec) {
            m_recNo = m_lastRec + 1;
            m_eof = true;
            return;
        }
    }
}

// A backward move that runs past the first visible row goes back to where it began (or the next
// visible row after it) and says so with BOF.
void ARRAYSERVER::goBackward(int n)
{
    if (!hidingApplies()) {
        const qint64 r = qint64(m_recNo) + n;
        if (r < 1) {
            m_recNo = 1;
            m_bof = true;
        } else {
            m_recNo = quint32(r);
        }
        return;
    }
    const quint32 start = m_recNo;
    for (qint64 i = 0; i < -qint64(n); ++i) {
        --m_recNo;
        while (m_recNo > 0 && hidden(m_recNo))
            --m_recNo;
        if (m_recNo == 0) {
            m_recNo = start;
            if (start > m_lastRec) {
                m_eof = true;
            } else if (hidden(start)) {
                if (start < m_lastRec) {
                    skipSuspended(1);
                } else {
                    m_recNo = m_lastRec + 1;
                    m_eof = true;
                }
            }
            m_bof = true;
            return;
        }
    }
}

bool ARRAYSERVER::APPEND()
{
    if (m_lastRec >= kMaxAppendRows)
        return false;
    if (!NOTIFY(NotifyIntentToMove).value_or(true))
        return false;
    storeBack();
    m_buffer = makeArrayRow(m_defaultRow);
    m_data->append(m_buffer);
    m_delMarks.append(false);
    m_lastRec = quint32(m_data->size());
    m_recNo = m_lastRec;
    m_bufferRow = m_recNo;
    m_eof = m_bof = false;
    NOTIFY(NotifyAppend);
    return true;
}

bool ARRAYSERVER::COMMIT()
{
    storeBack();
    return true;
}

bool ARRAYSERVER::CLOSE()
{
    COMMIT();
    NOTIFY(NotifyClose);
    return true;
}

bool ARRAYSERVER::REFRESH()
{
    if (m_eof || m_recNo < 1 || m_recNo > m_lastRec)
        return true;
    m_buffer = m_data->at(m_recNo - 1);
    m_bufferRow = m_recNo;
    NOTIFY(NotifyRecordChange);
    return true;
}

// ---- deletion -----------------------------------------------------------------------------------

bool ARRAYSERVER::DELETED() const
{
    return !m_eof && m_recNo >= 1 && m_delMarks.value(m_recNo - 1);
}

bool ARRAYSERVER::DELETE()
{
    if (m_eof)
        return true;
    m_delMarks[m_recNo - 1] = true;
    NOTIFY(NotifyDelete);
    return true;
}

bool ARRAYSERVER::RECALL()
{
    if (!m_eof)
        m_delMarks[m_recNo - 1] = false;
    return true;
}

bool ARRAYSERVER::RECALLALL()
{
    m_delMarks.fill(false);
    return true;
}

bool ARRAYSERVER::setSETDELETED(bool hide)
{
    m_setDeleted = hide;
    GOTOP();
    NOTIFY(NotifyFileChange);
    return m_setDeleted;
}

// Removes every marked row and only those. The pointer stays on its row when that survives; when its
// row goes, the next surviving row becomes current, or the new last row when none follows.
bool ARRAYSERVER::PACK()
{
    if (m_eof)
        return true;
    storeBack();
    const quint32 current = m_recNo;
    const bool currentGoes = m_delMarks.value(current - 1);
    quint32 newCurrent = 0;
    quint32 kept = 0;
    ArrayRows rows;
    for (quint32 r = 1; r <= m_lastRec; ++r) {
        if (m_delMarks[r - 1])
            continue;
        rows.append(m_data->at(r - 1));
        ++kept;
        if (newCurrent == 0 && (r == current || (currentGoes && r > current)))
            newCurrent = kept;
    }
    *m_data = rows;
    m_delMarks = QList<bool>(rows.size(), false);
    m_lastRec = quint32(rows.size());
    m_recNo = newCurrent ? newCurrent : m_lastRec;
    m_eof = m_bof = m_lastRec == 0;
    m_bufferRow = 0;
    REFRESH();
    NOTIFY(NotifyFileChange);
    return true;
}

// ---- filter -------------------------------------------------------------------------------------

QString ARRAYSERVER::setFILTER(const QString &text)
{
    if (const auto block = compileArrayFilter(text))
        SETFILTER(*block, text);
    return m_filterText;
}

QString ARRAYSERVER::setFILTER(const FilterBlock &block)
{
    if (block)
        SETFILTER(block, QString());
    return m_filterText;
}

bool ARRAYSERVER::setFilterState(const FilterBlock &block, const QString &text, bool on)
{
    if (!moveAllowed())
        return false;
    SUSPENDNOTIFICATION();
    storeBack();
    m_filterCode = on ? block : FilterBlock();
    m_filterText = on ? text : QString();
    m_filterOn = on;
    m_recNo = 1;
    m_eof = m_bof = false;
    if (m_setDeleted && m_delMarks.value(0))
        SKIP(1);
    if (!m_eof)
        loadCopy();
    RESETNOTIFICATION();
    NOTIFY(NotifyGoTop);
    return true;
}

bool ARRAYSERVER::SETFILTER(const FilterBlock &block, const QString &text)
{
    setFilterState(block, text, true);
    return m_filterOn;
}

bool ARRAYSERVER::CLEARFILTER()
{
    setFilterState({}, {}, false);
    return !m_filterOn;
}

// ---- notifications ------------------------------------------------------------------------------

// Clients are asked in the order they came; one refusal refuses.
std::optional<bool> ARRAYSERVER::NOTIFY(int code, const QString &description)
{
    std::optional<bool> result;
    if (m_notifySuspend == 0) {
        for (ArrayServerClient *c : QList<ArrayServerClient *>(m_clients)) {
            const std::optional<bool> a = c->notify(code, description);
            if (a)
                result = result.value_or(true) && *a;
        }
    }
    if (code == NotifyIntentToMove && !result)
        result = true;
    return result;
}

ARRAYSERVER &ARRAYSERVER::SUSPENDNOTIFICATION()
{
    ++m_notifySuspend;
    return *this;
}

ARRAYSERVER &ARRAYSERVER::RESETNOTIFICATION()
{
    --m_notifySuspend;
    return *this;
}

} // namespace vexo
