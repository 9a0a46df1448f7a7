#pragma once

#include "platform/dbf_field.h"

#include <QByteArray>
#include <QDate>
#include <QList>

#include <optional>

namespace vexo {

// The fixed part of a dBASE-family table file: 32 bytes of table data, one 32-byte descriptor per
// field, a 0x0D terminator (FoxPro adds a 263-byte backlink area, which the header length covers),
// then the records, each a deletion flag and the fields' bytes, and an optional 0x1A end byte.
struct DbfHeader
{
    static constexpr int kPrefix = 32;
    static constexpr int kDescriptor = 32;
    static constexpr quint8 kVersion = 0x03;   // dBASE III without memo, as written for new tables
    static constexpr quint8 kCodePage = 0xCA;  // language byte for Windows-1254 (Turkish)
    // Enough bytes to hold any header: its length is a 16-bit number.
    static constexpr int kMaxHeader = 65535;

    quint8 version = kVersion;
    QDate lastUpdate;
    quint32 recordCount = 0;
    int headerLength = 0;
    int recordLength = 0;
    quint8 codePage = kCodePage;
    DbfStructure fields;
    QList<int> offsets; // byte position of each field within a record (the flag is byte 0)

    qint64 recordPos(quint32 recNo) const { return headerLength + qint64(recNo - 1) * recordLength; }
    qint64 dataEnd() const { return headerLength + qint64(recordCount) * recordLength; }

    // Reads a header from the first bytes of a file (at most kMaxHeader of them) and checks it against
    // the file's size. Anything that does not add up gives nothing and a short reason in *why.
    static std::optional<DbfHeader> parse(const QByteArray &head, qint64 fileSize, QString *why);
    // The header of a table with these fields; the structure must be valid.
    static DbfHeader forStructure(const DbfStructure &fields);
    // The header bytes (prefix, descriptors, terminator) for writing.
    QByteArray bytes() const;
    // The 8 bytes at file position 4..11 hold count, header and record length; the date is at 1..3.
    QByteArray countAndDate() const;
};

} // namespace vexo
