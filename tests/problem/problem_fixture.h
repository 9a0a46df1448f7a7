#pragma once

#include "platform/dbf_field.h"

#include <QByteArray>
#include <QMap>
#include <QString>
#include <QTemporaryDir>
#include <QVariant>

namespace vexo::test {

using Record = QMap<QString, QVariant>;

// Writes a table with the given structure and records through the table layer.
void writeTable(const QString &path, const DbfStructure &fields, const QList<Record> &records);
// A problem file of the current layout holding the records.
void writeProblemFile(const QString &path, const QList<Record> &records);
// The bytes of a dBASE III table written by hand, field by field, from the problem file's published
// layout (not through the table layer): the 20 fields of the older layout without the stock flag and
// the saved-solution fields, `YMBMAT` with the given width (its high byte in the decimal-count byte),
// the records' character values left-aligned and padded with blanks, and the end byte.
QByteArray olderLayoutBytes(const QList<Record> &records, int ymbmatWidth = 1020);
// Every record of a table as field name -> stored value.
QList<Record> readTable(const QString &path);
QByteArray fileBytes(const QString &path);

// Resets the open problem, the start-up folders and the reference option around each test.
class ProblemEnvironment
{
public:
    ProblemEnvironment();
    ~ProblemEnvironment();
    QString path(const QString &name) const;

private:
    QTemporaryDir m_dir;
};

} // namespace vexo::test
