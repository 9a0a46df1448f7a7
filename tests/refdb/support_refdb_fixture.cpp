#include "refdb_fixture.h"

#include "platform/dbf_filespec.h"
#include "platform/dbf_table.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>

#include <gtest/gtest.h>

namespace vexo::test {

void writeRows(const QString &path, const DbfStructure &fields, const QList<QVariantList> &rows)
{
    ASSERT_TRUE(DbfFileSpec(path).create(fields));
    DbfTable t(path, false, false);
    ASSERT_TRUE(t.isOpen());
    for (const QVariantList &row : rows) {
        ASSERT_TRUE(t.append());
        for (int i = 0; i < row.size(); ++i)
            ASSERT_TRUE(t.fieldPut(i + 1, row.at(i)));
    }
    ASSERT_TRUE(t.commit());
}

QByteArray bytesOf(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
}

QMap<QString, QByteArray> snapshot(const QString &folder)
{
    QMap<QString, QByteArray> files;
    const QDir dir(folder);
    for (const QString &name : dir.entryList(QDir::Files | QDir::Hidden | QDir::System))
        files[name] = QCryptographicHash::hash(bytesOf(dir.filePath(name)), QCryptographicHash::Sha256);
    return files;
}

} // namespace vexo::test
