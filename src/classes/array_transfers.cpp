// Seek, sort and the transfers between the array server and tables or text files.

#include "classes/array_server.h"

#include "platform/atomic_file.h"
#include "platform/cp1254_codec.h"
#include "platform/dbf_filespec.h"
#include "platform/dbf_table.h"
#include "problem/date_text.h"
#include "problem/number_text.h"
#include "problem/turkish_text.h"

#include <QFile>
#include <QFileInfo>

#include <algorithm>

namespace vexo {

// ---- seek and sort ------------------------------------------------------------------------------

// Only a visible row that matches is found: hidden matches are passed over and the scan goes on.
bool ARRAYSERVER::SEEK(const SeekBlock &key)
{
    if (!moveAllowed())
        return !m_eof;
    storeBack();
    quint32 r = 1;
    for (; r <= m_lastRec; ++r) {
        m_recNo = r;
        if (key(*m_data->at(r - 1)) && !hidden(r))
            break;
    }
    if (r > m_lastRec) {
        m_recNo = m_lastRec + 1;
        m_eof = true;
    } else {
        loadCopy();
        m_eof = m_bof = false;
    }
    NOTIFY(NotifyRecordChange);
    return !m_eof;
}

bool ARRAYSERVER::SEEK(const QVariant &key)
{
    return SEEK(SeekBlock([&key](const QVariantList &row) { return usualEquals(row.value(0), key); }));
}

bool ARRAYSERVER::sortBy(int column)
{
    if (!moveAllowed() || column == 0)
        return true;
    SUSPENDNOTIFICATION();
    storeBack();
    QList<std::pair<ArrayRow, bool>> rows;
    for (qsizetype i = 0; i < m_data->size(); ++i)
        rows.append({m_data->at(i), m_delMarks.value(i)});
    std::stable_sort(rows.begin(), rows.end(), [column](const auto &a, const auto &b) {
        return usualLess(a.first->value(column - 1), b.first->value(column - 1));
    });
    for (qsizetype i = 0; i < rows.size(); ++i) {
        (*m_data)[i] = rows[i].first;
        m_delMarks[i] = rows[i].second;
    }
    settleOn(1, 1);
    RESETNOTIFICATION();
    NOTIFY(NotifyGoTop);
    return true;
}

// ---- cell texts ---------------------------------------------------------------------------------

static QString fitted(const QString &text, int length)
{
    return text.leftJustified(qMax(0, length), u' ', true);
}

static QChar typeOf(const ArrayColumn &c)
{
    return c.type.isEmpty() ? QChar() : c.type.at(0);
}

QString ARRAYSERVER::USUAL2STRING(const QVariant &value, int column) const
{
    if (FIELDPOS(column) == 0)
        return {};
    const ArrayColumn &c = m_columns[column - 1];
    switch (typeOf(c).unicode()) {
    case 'C':
        return fitted(value.toString(), c.length);
    case 'N':
        return Str(value.toDouble(), c.length, c.decimals);
    case 'D':
        return DToS(value.toDate());
    case 'L':
        return value.toBool() ? QStringLiteral("T") : QStringLiteral("F");
    case 'M':
        return value.toString();
    default:
        return {};
    }
}

// Dates are read as the eight digits that exports write; any other text as a date in the program's
// format.
QVariant ARRAYSERVER::STRING2USUAL(const QString &text, int column) const
{
    if (FIELDPOS(column) == 0)
        return {};
    const ArrayColumn &c = m_columns[column - 1];
    switch (typeOf(c).unicode()) {
    case 'C':
        return fitted(text, c.length);
    case 'N':
        return Val(text);
    case 'D': {
        const QDate d = SToD(text);
        return d.isValid() ? d : CToD(text);
    }
    case 'L':
        return text.size() == 1 && QStringLiteral("YyTt").contains(text.at(0));
    case 'M':
        return text;
    default:
        return {};
    }
}

// ---- transfers ----------------------------------------------------------------------------------

// Rows read by an import join the array only when the whole source was read; a failure on the way
// leaves the server as it was.
void ARRAYSERVER::finishImport(qsizetype before)
{
    m_lastRec = quint32(m_data->size());
    if (m_data->size() == before)
        return;
    m_delMarks.resize(m_data->size(), false);
    m_recNo = m_lastRec;
    m_eof = m_bof = false;
    m_buffer = m_data->last();
    m_bufferRow = m_recNo;
}

bool ARRAYSERVER::importRows(const std::function<bool(ArrayRows &)> &read)
{
    NOTIFY(NotifyIntentToMove);
    SUSPENDNOTIFICATION();
    ArrayRows rows;
    const bool ok = read(rows);
    if (ok) {
        const qsizetype before = m_data->size();
        m_data->append(rows);
        finishImport(before);
    }
    RESETNOTIFICATION();
    if (ok)
        NOTIFY(NotifyFileChange);
    return ok;
}

bool ARRAYSERVER::APPENDDB(DbfTable &source)
{
    if (!source.isOpen())
        return false;
    source.goTop();
    if (source.eof())
        return true;
    return importRows([&](ArrayRows &rows) {
        while (!source.eof()) {
            QVariantList row(m_columns.size());
            for (int i = 0; i < m_columns.size(); ++i)
                if (const int pos = source.fieldPos(m_columns[i].name))
                    row[i] = source.fieldGet(pos);
            rows.append(makeArrayRow(row));
            if (!source.skip(1) && !source.eof())
                return false;
        }
        return true;
    });
}

bool ARRAYSERVER::APPENDDB(const QString &tableFile)
{
    DbfTable table(tableFile, true, true);
    return APPENDDB(table);
}

bool ARRAYSERVER::COPYDB(DbfTable &target)
{
    if (!target.isOpen())
        return false;
    if (m_data->isEmpty())
        return true;
    NOTIFY(NotifyIntentToMove);
    SUSPENDNOTIFICATION();
    bool ok = true;
    for (qsizetype r = 0; ok && r < m_data->size(); ++r) {
        ok = target.append();
        const QVariantList &row = *m_data->at(r);
        for (int i = 0; ok && i < m_columns.size(); ++i) {
            const int pos = target.fieldPos(m_columns[i].name);
            if (pos > 0 && row.value(i).isValid())
                ok = target.fieldPut(pos, row.value(i));
        }
        ok = ok && target.commit();
    }
    RESETNOTIFICATION();
    NOTIFY(NotifyFileChange);
    return ok;
}

bool ARRAYSERVER::COPYDB(const QString &tableFile)
{
    if (!QFileInfo::exists(tableFile)) {
        DbfStructure fields;
        for (const ArrayColumn &c : m_columns)
            fields.append(DbfField{c.name, typeOf(c), c.length, c.decimals});
        if (!DbfFileSpec(tableFile).create(fields))
            return false;
    }
    DbfTable table(tableFile, false, false);
    return COPYDB(table);
}

bool ARRAYSERVER::exportLines(const QString &fileName, const QString &delimiter)
{
    QByteArray bytes;
    for (const ArrayRow &row : std::as_const(*m_data)) {
        QStringList cells;
        for (int i = 0; i < m_columns.size(); ++i)
            cells.append(USUAL2STRING(row->value(i), i + 1));
        bytes += Cp1254Codec::encode(cells.join(delimiter)) + "\r\n";
    }
    // The whole file is replaced, so a shorter export leaves no tail of an older one; clients hear of
    // an export only when it was written.
    const bool ok = writeFileAtomically(fileName, bytes);
    if (ok && !m_data->isEmpty()) {
        NOTIFY(NotifyIntentToMove);
        NOTIFY(NotifyFileChange);
    }
    return ok;
}

bool ARRAYSERVER::COPYDELIMITED(const QString &fileName, const QString &delimiter)
{
    return exportLines(fileName, delimiter);
}

bool ARRAYSERVER::COPYSDF(const QString &fileName)
{
    return exportLines(fileName, QString());
}

bool ARRAYSERVER::importLines(const QString &fileName,
                              const std::function<bool(QString &, ArrayRows &)> &line)
{
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        return false;
    if (bytes.isEmpty())
        return true;
    return importRows([&](ArrayRows &rows) {
        for (QByteArray raw : bytes.split('\n')) {
            if (raw.endsWith('\r'))
                raw.chop(1);
            QString text = Cp1254Codec::decode(raw);
            if (!text.isEmpty() && !line(text, rows))
                return false;
        }
        return true;
    });
}

bool ARRAYSERVER::APPENDDELIMITED(const QString &fileName, const QString &delimiter)
{
    QChar delim = delimiter.isEmpty() ? QChar(u',') : delimiter.at(0);
    return importLines(fileName, [&](QString &text, ArrayRows &rows) {
        // Quoted fields: "a","b" becomes a|b, and the bar stays the delimiter for the rest of the file.
        if (text.contains(u'"')) {
            text.replace(QStringLiteral("\",\""), QStringLiteral("|"));
            delim = u'|';
        }
        const QStringList fields = text.split(delim);
        if (fields.size() > m_columns.size())
            return false;
        QVariantList row = EMPTYROW();
        for (int i = 0; i < fields.size(); ++i)
            row[i] = STRING2USUAL(trimBlanks(fields[i]), i + 1);
        rows.append(makeArrayRow(row));
        return true;
    });
}

bool ARRAYSERVER::APPENDSDF(const QString &fileName)
{
    return importLines(fileName, [&](QString &text, ArrayRows &rows) {
        text.remove(u'"');
        QVariantList row = EMPTYROW();
        qsizetype at = 0;
        for (int i = 0; i < m_columns.size(); ++i) {
            if (trimBlanks(text.mid(at)).isEmpty())
                break;
            const int len = qMax(0, m_columns[i].length);
            row[i] = STRING2USUAL(trimBlanks(text.mid(at, len)), i + 1);
            at += len;
        }
        rows.append(makeArrayRow(row));
        return true;
    });
}

} // namespace vexo
