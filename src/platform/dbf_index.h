#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

#include <optional>

namespace vexo {

// A single-tag index on one character field: the keys in byte order (Windows-1254 bytes, blanks kept),
// each with its record number. A unique index holds the first record of each key only.
//
// The file is a compound index in the FoxPro compact layout with this one tag: a 1024-byte compound
// header, the tag list (one leaf page), the tag's 1024-byte header, then the tag's pages (compressed
// leaves linked left to right, interior pages above them when one leaf is not enough). The index is
// always built from the table when it is attached, so the file never disagrees with the table it
// belongs to; the file tells which tag, key and flags the index has, and holds the keys for other
// readers.
class DbfIndex
{
public:
    struct Entry
    {
        QByteArray key;
        quint32 recNo = 0;
    };

    QString tag;
    QString keyField;
    bool unique = true;
    int keyLength = 0;
    QList<Entry> entries;

    // Starts a new build: no keys.
    void clear() { entries.clear(); }
    // Adds one record's key; record numbers must come in ascending order.
    void add(const QByteArray &key, quint32 recNo);
    // Puts the keys in order once all are added.
    void finish();
    // Position of the first key that begins with the prefix, or -1.
    qsizetype seek(const QByteArray &prefix) const;
    qsizetype positionOf(quint32 recNo) const;

    // Empty when the keys cannot be laid out (a record number too large for the compressed entries).
    QByteArray serialize() const;
    static std::optional<DbfIndex> parse(const QByteArray &bytes, QString *why);
    // Written beside and renamed over, never half-written.
    bool save(const QString &path, QString *why) const;
    static std::optional<DbfIndex> load(const QString &path, QString *why);
};

} // namespace vexo
