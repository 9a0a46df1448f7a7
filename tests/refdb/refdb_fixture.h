#pragma once

#include "platform/dbf_field.h"

#include <QByteArray>
#include <QList>
#include <QMap>
#include <QString>
#include <QVariant>

namespace vexo::test {

// Writes a table through the table layer: each row gives the values of the first fields in order.
void writeRows(const QString &path, const DbfStructure &fields, const QList<QVariantList> &rows);
QByteArray bytesOf(const QString &path);
// Every entry of a folder, hidden ones too, with a digest of its bytes.
QMap<QString, QByteArray> snapshot(const QString &folder);

} // namespace vexo::test
