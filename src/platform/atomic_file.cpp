#include "platform/atomic_file.h"

#include <QSaveFile>

namespace vexo {

bool writeFileAtomically(const QString &path, const QList<QByteArray> &chunks, QString *error, bool *opened)
{
    QSaveFile file(path);
    if (opened)
        *opened = false;
    auto fail = [&] {
        if (error)
            *error = file.errorString();
        file.cancelWriting();
        return false;
    };
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        return fail();
    if (opened)
        *opened = true;
    for (const QByteArray &chunk : chunks) {
        if (!chunk.isEmpty() && file.write(chunk) != chunk.size())
            return fail();
    }
    if (!file.flush() || file.error() != QFileDevice::NoError)
        return fail();
    if (!file.commit()) {
        if (error)
            *error = file.errorString();
        return false;
    }
    return true;
}

bool writeFileAtomically(const QString &path, const QByteArray &contents, QString *error)
{
    return writeFileAtomically(path, QList<QByteArray>{contents}, error);
}

} // namespace vexo
