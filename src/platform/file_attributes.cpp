#include "platform/file_attributes.h"

#include <QFile>
#include <QFileInfo>

namespace vexo {

std::optional<quint32> readFileAttributes(const QString &path)
{
    const QFileInfo info(path);
    if (!info.exists())
        return std::nullopt;
    quint32 flags = 0;
    if (info.isDir())
        flags |= FA_DIRECTORY;
    else
        flags |= FA_ARCHIVE;
    if (!(info.permissions() & QFileDevice::WriteOwner))
        flags |= FA_READONLY;
    if (info.fileName().startsWith(u'.'))
        flags |= FA_HIDDEN;
    if (info.isSymLink())
        flags |= FA_REPARSE;
    return flags;
}

bool writeFileAttributes(const QString &path, quint32 flags)
{
    const QFileInfo info(path);
    if (!info.exists())
        return false;
    QFileDevice::Permissions perms = QFile::permissions(path);
    const QFileDevice::Permissions write = QFileDevice::WriteOwner | QFileDevice::WriteUser;
    if (flags & FA_READONLY)
        perms &= ~(write | QFileDevice::WriteGroup | QFileDevice::WriteOther);
    else
        perms |= write;
    return QFile::setPermissions(path, perms);
}

} // namespace vexo
