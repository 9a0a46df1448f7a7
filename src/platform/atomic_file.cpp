#include "platform/atomic_file.h"

#include "platform/own_temp_files.h"

#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <cstring>
#include <sys/stat.h>
#include <unistd.h>

namespace vexo {

namespace {

QString osError(int err)
{
    return QString::fromLocal8Bit(std::strerror(err));
}

// A link is followed to the file it names, which is the one replaced; the link stays.
QString finalPath(const QString &path)
{
    QFileInfo info(path);
    for (int depth = 0; depth < 128 && info.isSymLink(); ++depth)
        info.setFile(info.symLinkTarget());
    return info.isSymLink() ? path : info.filePath();
}

} // namespace

bool writeFileAtomically(const QString &path, const QList<QByteArray> &chunks, QString *error, bool *opened)
{
    if (opened)
        *opened = false;
    auto fail = [&](const QString &why) {
        if (error)
            *error = why;
        return false;
    };
    const QString target = finalPath(path);
    const QByteArray native = QFile::encodeName(target);
    struct stat existing = {};
    const bool exists = ::stat(native.constData(), &existing) == 0;
    if (exists && S_ISDIR(existing.st_mode))
        return fail(osError(EISDIR));
    // A file the user may not write is not replaced behind its back.
    if (exists && ::access(native.constData(), W_OK) != 0)
        return fail(osError(errno));
    // The new file has the old one's permissions, or those of any new file.
    const mode_t mode = exists ? mode_t(existing.st_mode & 07777) : mode_t(0666);
    OwnTempFile temp = OwnTempFile::create(target, OwnTempFile::Hold::Exclusive, mode);
    if (!temp.isOpen())
        return fail(temp.errorString());
    if (opened)
        *opened = true;
    struct stat made = {};
    if (exists && ::fstat(temp.fd(), &made) == 0 && (made.st_mode & 07777) != mode)
        ::fchmod(temp.fd(), mode); // the umask took some; a file system without modes keeps its own
    for (const QByteArray &chunk : chunks) {
        if (!temp.write(chunk))
            return fail(temp.errorString());
    }
    if (!temp.renameOver(target))
        return fail(temp.errorString());
    return true;
}

bool writeFileAtomically(const QString &path, const QByteArray &contents, QString *error)
{
    return writeFileAtomically(path, QList<QByteArray>{contents}, error);
}

} // namespace vexo
