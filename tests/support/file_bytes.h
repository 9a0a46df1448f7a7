#pragma once

#include <QByteArray>
#include <QFile>
#include <QString>

namespace vexo::test {

// The whole content of a file; empty when it cannot be read.
inline QByteArray readBytes(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

} // namespace vexo::test
