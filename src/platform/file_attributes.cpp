#include "platform/file_attributes.h"

#include <QFile>
#include <QFileInfo>
#include <QList>

#include <acl/libacl.h>
#include <attr/error_context.h>
#include <attr/libattr.h>
#include <sys/acl.h>

#include <cerrno>
#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <grp.h>
#include <pwd.h>
#include <sys/stat.h>
#include <sys/xattr.h>
#include <unistd.h>

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

namespace vexo {

namespace {

QString osError(int err)
{
    return QString::fromLocal8Bit(std::strerror(err));
}

QString userName(uid_t uid)
{
    const struct passwd *pw = ::getpwuid(uid);
    return pw ? QString::fromLocal8Bit(pw->pw_name) : QString::number(uid);
}

QString groupName(gid_t gid)
{
    const struct group *gr = ::getgrgid(gid);
    return gr ? QString::fromLocal8Bit(gr->gr_name) : QString::number(gid);
}

// Whether the user belongs to the group; false for a user the system does not know.
bool userInGroup(uid_t uid, gid_t gid)
{
    const struct passwd *pw = ::getpwuid(uid);
    if (!pw)
        return false;
    if (pw->pw_gid == gid)
        return true;
    const QByteArray name(pw->pw_name);
    const gid_t primary = pw->pw_gid;
    int count = 32;
    QList<gid_t> groups(count);
    if (::getgrouplist(name.constData(), primary, groups.data(), &count) < 0) {
        groups.resize(count);
        if (::getgrouplist(name.constData(), primary, groups.data(), &count) < 0)
            return false;
    }
    groups.resize(count);
    return groups.contains(gid);
}

// Gives the copy the owner and the group of the file it replaces. Where the system does not allow
// that (only the superuser may give a file away; a group needs membership), the copy is acceptable
// as long as the same people may write it; otherwise the answer is why not.
QString keepOwnerAndGroup(int copyFd, const struct stat &file)
{
    struct stat copy = {};
    if (::fstat(copyFd, &copy) != 0)
        return osError(errno);
    if (copy.st_uid == file.st_uid && copy.st_gid == file.st_gid)
        return {};
    if (::fchown(copyFd, file.st_uid, file.st_gid) != 0 && copy.st_gid != file.st_gid)
        ::fchown(copyFd, uid_t(-1), file.st_gid);
    if (::fstat(copyFd, &copy) != 0)
        return osError(errno);
    const bool ownerKept = copy.st_uid == file.st_uid;
    const bool groupKept = copy.st_gid == file.st_gid;
    const mode_t mode = file.st_mode;
    if ((ownerKept && groupKept) || (mode & S_IWOTH))
        return {}; // the same people, or everybody, may write it
    if (!groupKept && (mode & S_IWGRP))
        return QStringLiteral("dosyanın grubu (%1) korunamıyor; bu grubun üyeleri dosyaya yazamaz olurdu")
            .arg(groupName(file.st_gid));
    if (!ownerKept && (mode & S_IWUSR) && !((mode & S_IWGRP) && groupKept && userInGroup(file.st_uid, file.st_gid)))
        return QStringLiteral("dosyanın sahibi (%1) korunamıyor; %1 dosyaya yazamaz olurdu").arg(userName(file.st_uid));
    return {};
}

QString modeText(mode_t mode)
{
    return QString::number(mode & 07777, 8).rightJustified(4, u'0');
}

// The error context handed to libattr and libacl: it keeps the first failure and its errno.
struct CopyErrors
{
    error_context context = {&CopyErrors::report, nullptr, nullptr};
    int err = 0;
    QString first;

    static void report(error_context *ctx, const char *format, ...)
    {
        const int err = errno;
        auto *self = reinterpret_cast<CopyErrors *>(ctx);
        if (!self->first.isEmpty())
            return;
        char text[512] = {};
        va_list args;
        va_start(args, format);
        std::vsnprintf(text, sizeof text, format, args);
        va_end(args);
        self->err = err;
        self->first = QString::fromLocal8Bit(text);
    }
};

// The attributes a copy takes over: libattr's own choice (which leaves the access-control lists to
// libacl and skips those of other systems), without the namespaces an ordinary user cannot set.
int attributeToCopy(const char *name, error_context *ctx)
{
    return attr_copy_check_permissions(name, ctx) && std::strncmp(name, "security.", 9) != 0
           && std::strncmp(name, "system.", 7) != 0;
}

QList<QByteArray> copiedAttributeNames(int fd)
{
    QList<QByteArray> names;
    const ssize_t size = ::flistxattr(fd, nullptr, 0);
    if (size <= 0)
        return names;
    QByteArray list(size, '\0');
    const ssize_t got = ::flistxattr(fd, list.data(), size_t(list.size()));
    for (const QByteArray &name : list.left(got < 0 ? 0 : got).split('\0')) {
        if (!name.isEmpty() && attributeToCopy(name.constData(), nullptr))
            names.append(name);
    }
    return names;
}

QByteArray attributeValue(int fd, const QByteArray &name)
{
    const ssize_t size = ::fgetxattr(fd, name.constData(), nullptr, 0);
    if (size < 0)
        return QByteArray("\0missing", 8);
    QByteArray value(size, '\0');
    const ssize_t got = size == 0 ? 0 : ::fgetxattr(fd, name.constData(), value.data(), size_t(value.size()));
    return got < 0 ? QByteArray("\0missing", 8) : value.left(got);
}

// The first attribute of the file that the copy does not hold as the file does.
QByteArray attributeNotCopied(int fileFd, int copyFd)
{
    for (const QByteArray &name : copiedAttributeNames(fileFd)) {
        if (attributeValue(fileFd, name) != attributeValue(copyFd, name))
            return name;
    }
    return {};
}

// The mode a file with an extended access-control list is left with when the list is lost: the
// group's bits are the owning group's own entry under the mask (the mode shows the mask alone).
mode_t modeWithoutList(int fd, mode_t mode)
{
    acl_t acl = ::acl_get_fd(fd);
    if (!acl)
        return mode;
    mode_t group = 0;
    acl_entry_t entry;
    for (int which = ACL_FIRST_ENTRY; ::acl_get_entry(acl, which, &entry) == 1; which = ACL_NEXT_ENTRY) {
        acl_tag_t tag;
        acl_permset_t perms;
        if (::acl_get_tag_type(entry, &tag) != 0 || tag != ACL_GROUP_OBJ || ::acl_get_permset(entry, &perms) != 0)
            continue;
        group = (::acl_get_perm(perms, ACL_READ) == 1 ? S_IRGRP : 0) | (::acl_get_perm(perms, ACL_WRITE) == 1 ? S_IWGRP : 0)
                | (::acl_get_perm(perms, ACL_EXECUTE) == 1 ? S_IXGRP : 0);
    }
    ::acl_free(acl);
    return (mode & ~mode_t(S_IRWXG)) | (mode & group);
}

} // namespace

CopiedRights copyFileRights(int fileFd, const QByteArray &filePath, int copyFd, const QByteArray &copyPath)
{
    CopiedRights out;
    auto refuse = [&](CopiedRights::Refusal kind, const QString &why) {
        out.refusal = kind;
        out.why = why;
        return out;
    };
    struct stat file = {};
    if (::fstat(fileFd, &file) != 0)
        return refuse(CopiedRights::Refusal::Rights, osError(errno));
    const QString owner = keepOwnerAndGroup(copyFd, file);
    if (!owner.isEmpty())
        return refuse(CopiedRights::Refusal::Rights, owner);
    CopyErrors attributes;
    if (::attr_copy_fd(filePath.constData(), fileFd, copyPath.constData(), copyFd, attributeToCopy, &attributes.context) != 0) {
        const QByteArray name = attributeNotCopied(fileFd, copyFd);
        const int err = attributes.err ? attributes.err : EIO;
        if (name.isEmpty())
            return refuse(CopiedRights::Refusal::Attributes,
                          QStringLiteral("dosyanın genişletilmiş öznitelikleri okunamıyor: %1").arg(osError(err)));
        return refuse(CopiedRights::Refusal::Attributes, QStringLiteral("dosyanın genişletilmiş özniteliği (%1) korunamıyor: %2")
                                                             .arg(QString::fromLocal8Bit(name), osError(err)));
    }
    // The access-control list and the mode; the list sets the group's bits of the mode.
    const mode_t wanted = file.st_mode & 07777;
    struct stat copy = {};
    CopyErrors rights;
    const bool listed = ::acl_extended_fd(fileFd) == 1;
    bool copied = ::perm_copy_fd(filePath.constData(), fileFd, copyPath.constData(), copyFd, &rights.context) == 0;
    if (::fstat(copyFd, &copy) != 0)
        return refuse(CopiedRights::Refusal::Rights, osError(errno));
    if (copied && (copy.st_mode & 07777) != wanted) // the special bits that the list leaves out
        copied = ::fchmod(copyFd, wanted) == 0 && ::fstat(copyFd, &copy) == 0;
    if (copied && (copy.st_mode & 07777) == wanted)
        return out;
    // The file system would not take the list or the mode: the copy may still take the file's place
    // when nobody may do more with it than with the file.
    const mode_t allowed = listed ? modeWithoutList(fileFd, wanted) : wanted;
    if ((copy.st_mode & 07777) != allowed && ::fchmod(copyFd, allowed) == 0)
        ::fstat(copyFd, &copy);
    const mode_t got = copy.st_mode & 07777;
    const int err = rights.err ? rights.err : EPERM;
    if ((got & ~allowed) != 0)
        return refuse(CopiedRights::Refusal::Rights,
                      QStringLiteral("dosyanın izinleri (%1) korunamıyor; kaydedilen dosyayı daha çok kişi okuyabilir ya "
                                     "da değiştirebilirdi (%2): %3")
                          .arg(modeText(wanted), modeText(got), osError(err)));
    QStringList lost;
    if (listed)
        lost << QStringLiteral("dosyanın erişim denetim listesi (ACL) korunamadı; listedeki kullanıcılar ve gruplar "
                               "dosyaya artık erişemez");
    if (got != wanted)
        lost << QStringLiteral("dosyanın izinleri (%1) korunamadı, daha dar izinlerle (%2) kaydedildi")
                    .arg(modeText(wanted), modeText(got));
    out.narrowed = lost.join(QStringLiteral("; "));
    return out;
}

} // namespace vexo
