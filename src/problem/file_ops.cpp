#include "problem/file_ops.h"

#include "platform/dbf_filespec.h"
#include "platform/file_attributes.h"
#include "problem/file_names.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

namespace vexo {

namespace {

// A directory entry is there even when it is a link pointing nowhere.
bool entryExists(const QFileInfo &info)
{
    return info.exists() || info.isSymLink();
}

// Clears hidden/read-only before deleting; a link is removed as it is, its target left alone.
void unprotect(const QString &file)
{
    const QFileInfo info(file);
    if (info.isSymLink())
        return;
    const FILEATTRIBUTES attributes(file);
    if (attributes.CATTRIBUTES.contains(u'H') || attributes.CATTRIBUTES.contains(u'R'))
        FACLEARRO(file);
}

bool removeFile(const QString &file)
{
    const QFileInfo info(file);
    if (info.isDir() && !info.isSymLink())
        return false;
    return QFile::remove(file);
}

// The folder DELETEFILES works in, or an empty text when the drive text names none.
QString deletionFolder(const QString &drive)
{
    if (drive.isEmpty() || !QDir::isAbsolutePath(drive))
        return {};
    const QFileInfo info(drive);
    if (!info.isDir())
        return {};
    return QDir::cleanPath(info.absoluteFilePath());
}

bool eraseIn(const QString &folder, const QStringList &names)
{
    for (const QString &entry : names) {
        // Only the name counts: a folder part in the entry can never lead out of the folder.
        const QString name = GETFILENAME(entry);
        if (name.isEmpty() || name == u"." || name == u"..")
            return false;
        const QString path = folder + u'/' + name;
        const QFileInfo info(path);
        if (!entryExists(info))
            return false;
        if (!info.isSymLink()) {
            const auto flags = readFileAttributes(path);
            if (flags && (*flags & FA_READONLY))
                return false;
        }
        if (!removeFile(path))
            return false;
    }
    return true;
}

} // namespace

bool SFDELETE(const QString &file)
{
    if (file.isEmpty())
        return true;
    const QString path = DbfFileSpec(file).fullPath();
    unprotect(path);
    // A folder of that name is not "no file": it is reported as a failure, not deleted.
    if (!entryExists(QFileInfo(path)))
        return true;
    return removeFile(path);
}

bool SFDELETEX(const QString &file)
{
    if (file.isEmpty())
        return false;
    const QString path = FileSpec(file).fullPath();
    if (!entryExists(QFileInfo(path)))
        return false;
    unprotect(path);
    return removeFile(path);
}

bool SFCOPY(const QString &source, const QString &target)
{
    if (source.isEmpty() || target.isEmpty())
        return false;
    DbfFileSpec from(source);
    if (!from.find())
        return false;
    // An existing target whose name differs only in case is replaced rather than joined by a twin.
    const QString to = FileSpec(target).fullPath();
    // A read-only target is kept, as the platform keeps it; callers unprotect it first when they mean to.
    if (const auto flags = readFileAttributes(to); flags && (*flags & FA_READONLY))
        return false;
    return from.copy(to);
}

void FACLEARRO(const QString &file)
{
    FILEATTRIBUTES attributes(file);
    attributes.CLEARRO();
}

bool JOVERASEFILE(const QString &file, bool toRecycleBin)
{
    const QFileInfo info(file);
    if (file.isEmpty() || !entryExists(info) || (info.isDir() && !info.isSymLink()))
        return false;
    if (toRecycleBin) {
        // The home trash is made inside the user's data folder, which a fresh account may lack.
        const QString data = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
        if (!data.isEmpty())
            QDir().mkpath(data);
        return QFile::moveToTrash(file);
    }
    return QFile::remove(file);
}

bool DELETEFILES(const QString &drive, const QString &mask)
{
    const QString folder = deletionFolder(drive);
    if (folder.isEmpty() || mask.isEmpty() || mask.contains(u'/') || mask.contains(u'\\'))
        return false;
    // "*.*" is every file on the platform the mask comes from, also names without a point.
    const QString filter = mask == u"*.*" ? QStringLiteral("*") : mask;
    const QStringList names = QDir(folder).entryList({filter}, QDir::Files | QDir::NoDotAndDotDot, QDir::Name);
    return eraseIn(folder, names);
}

bool DELETEFILES(const QString &drive, const QStringList &names)
{
    const QString folder = deletionFolder(drive);
    if (folder.isEmpty())
        return false;
    return eraseIn(folder, names);
}

} // namespace vexo
