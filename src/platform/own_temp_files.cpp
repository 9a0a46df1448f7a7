#include "platform/own_temp_files.h"

#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>

#include <cerrno>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <utility>

namespace vexo {

namespace {

constexpr int kRandomLength = 6;
constexpr int kNameTries = 100;

QString osError(int err)
{
    return QString::fromLocal8Bit(std::strerror(err));
}

bool isLetterOrDigit(char16_t c)
{
    return (c >= u'0' && c <= u'9') || (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z');
}

QString randomLetters()
{
    static const char kAlphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
    QString text;
    for (int i = 0; i < kRandomLength; ++i)
        text += QLatin1Char(kAlphabet[QRandomGenerator::system()->bounded(int(sizeof kAlphabet) - 1)]);
    return text;
}

// "." + the target's name + the marker, in the target's folder; six letters or digits complete it.
QString namePrefix(const QString &target)
{
    const QFileInfo info(target);
    return info.absolutePath() + QStringLiteral("/.") + info.fileName() + QLatin1String(kOwnTempMarker);
}

bool sameInode(const struct stat &a, const struct stat &b)
{
    return a.st_dev == b.st_dev && a.st_ino == b.st_ino;
}

// Whether the name still names the file open on the descriptor.
bool namesFile(int fd, const QByteArray &path)
{
    struct stat open = {};
    struct stat named = {};
    return ::fstat(fd, &open) == 0 && ::lstat(path.constData(), &named) == 0 && sameInode(open, named);
}

void syncFolderOf(const QByteArray &path)
{
    const QByteArray folder = QFile::encodeName(QFileInfo(QFile::decodeName(path)).absolutePath());
    const int dirFd = ::open(folder.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dirFd >= 0) {
        ::fsync(dirFd);
        ::close(dirFd);
    }
}

} // namespace

bool isOwnTempName(const QString &fileName, const QString &targetName)
{
    const QLatin1String marker(kOwnTempMarker);
    const qsizetype tail = marker.size() + kRandomLength;
    if (targetName.isEmpty() || fileName.size() <= tail + 1 || !fileName.startsWith(u'.'))
        return false;
    for (qsizetype i = fileName.size() - kRandomLength; i < fileName.size(); ++i) {
        if (!isLetterOrDigit(fileName.at(i).unicode()))
            return false;
    }
    if (QStringView(fileName).mid(fileName.size() - tail, marker.size()) != marker)
        return false;
    const QString inner = fileName.mid(1, fileName.size() - 1 - tail);
    return inner == targetName || isOwnTempName(inner, targetName);
}

int sweepOwnTempFiles(const QString &target)
{
    const QFileInfo info(target);
    const QString targetName = info.fileName();
    const QByteArray folder = QFile::encodeName(info.absolutePath());
    DIR *dir = ::opendir(folder.constData());
    if (!dir)
        return 0;
    const int dirFd = ::dirfd(dir);
    const uid_t me = ::geteuid();
    int removed = 0;
    while (const struct dirent *entry = ::readdir(dir)) {
        const char *name = entry->d_name;
        if (!isOwnTempName(QFile::decodeName(name), targetName))
            continue;
        // Only the user's own regular files; nothing is opened that is not one (a device or a pipe
        // could act on being opened).
        struct stat seen = {};
        if (::fstatat(dirFd, name, &seen, AT_SYMLINK_NOFOLLOW) != 0 || !S_ISREG(seen.st_mode) || seen.st_uid != me)
            continue;
        const int fd = ::openat(dirFd, name, O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
        if (fd < 0)
            continue;
        struct stat opened = {};
        struct stat named = {};
        // Every maker holds a flock on its file from the moment the file has its name: a file that
        // takes an exclusive lock has no maker any more. The name must still be the file locked.
        if (::fstat(fd, &opened) == 0 && sameInode(opened, seen) && ::flock(fd, LOCK_EX | LOCK_NB) == 0
            && ::fstatat(dirFd, name, &named, AT_SYMLINK_NOFOLLOW) == 0 && sameInode(named, opened)
            && ::unlinkat(dirFd, name, 0) == 0)
            ++removed;
        ::close(fd); // releases the lock
    }
    ::closedir(dir);
    return removed;
}

int createOwnTempFile(const QString &target, QByteArray *path, int lockOperation, mode_t mode)
{
    sweepOwnTempFiles(target);
    const QString prefix = namePrefix(target);
    for (int attempt = 0; attempt < kNameTries; ++attempt) {
        const QByteArray name = QFile::encodeName(prefix + randomLetters());
        const int fd = ::open(name.constData(), O_RDWR | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, mode);
        if (fd < 0) {
            if (errno == EEXIST)
                continue;
            return -1;
        }
        // A sweep of another process may have locked the new file in the moment before this lock;
        // it removes the file, and a new name is taken. (Where the file system has no flock the
        // file cannot be held, but for the same reason no sweep can remove it.)
        if (::flock(fd, lockOperation | LOCK_NB) != 0 && errno == EWOULDBLOCK) {
            ::close(fd);
            continue;
        }
        if (!namesFile(fd, name)) {
            ::close(fd);
            continue;
        }
        *path = name;
        return fd;
    }
    errno = EEXIST;
    return -1;
}

OwnTempFile::OwnTempFile(OwnTempFile &&other) noexcept
    : m_fd(std::exchange(other.m_fd, -1)), m_path(std::move(other.m_path)), m_error(std::move(other.m_error))
{
    other.m_path.clear();
}

OwnTempFile &OwnTempFile::operator=(OwnTempFile &&other) noexcept
{
    if (this != &other) {
        remove();
        m_fd = std::exchange(other.m_fd, -1);
        m_path = std::move(other.m_path);
        m_error = std::move(other.m_error);
        other.m_path.clear();
    }
    return *this;
}

OwnTempFile::~OwnTempFile()
{
    remove();
}

OwnTempFile OwnTempFile::create(const QString &target, Hold hold, mode_t mode)
{
    OwnTempFile file;
    file.m_fd = createOwnTempFile(target, &file.m_path, hold == Hold::Shared ? LOCK_SH : LOCK_EX, mode);
    if (file.m_fd < 0) {
        file.m_error = osError(errno);
        file.m_path.clear();
    }
    return file;
}

OwnTempFile OwnTempFile::linkTo(const QString &target)
{
    OwnTempFile file;
    const QByteArray native = QFile::encodeName(target);
    const int fd = ::open(native.constData(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0) {
        file.m_error = osError(errno);
        return file;
    }
    struct stat st = {};
    const int err = ::fstat(fd, &st) != 0 ? errno
                    : !S_ISREG(st.st_mode)  ? EINVAL
                    : ::flock(fd, LOCK_SH | LOCK_NB) != 0 ? errno
                                                          : 0;
    if (err != 0) {
        file.m_error = osError(err);
        ::close(fd);
        return file;
    }
    // The lock on the target's file holds the new name too, from the moment it exists.
    const QString prefix = namePrefix(target);
    for (int attempt = 0; attempt < kNameTries; ++attempt) {
        const QByteArray name = QFile::encodeName(prefix + randomLetters());
        if (::link(native.constData(), name.constData()) != 0) {
            if (errno == EEXIST)
                continue;
            break;
        }
        if (!namesFile(fd, name)) { // the target was replaced in between: not the file held
            ::unlink(name.constData());
            errno = EAGAIN;
            break;
        }
        file.m_fd = fd;
        file.m_path = name;
        return file;
    }
    file.m_error = osError(errno);
    ::close(fd);
    return file;
}

QString OwnTempFile::path() const
{
    return QFile::decodeName(m_path);
}

bool OwnTempFile::fail(int err)
{
    m_error = osError(err);
    return false;
}

bool OwnTempFile::write(const QByteArray &bytes)
{
    if (m_fd < 0)
        return fail(EBADF);
    const char *data = bytes.constData();
    qint64 left = bytes.size();
    while (left > 0) {
        const ssize_t n = ::write(m_fd, data, size_t(left));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return fail(n < 0 ? errno : ENOSPC);
        data += n;
        left -= n;
    }
    m_error.clear();
    return true;
}

bool OwnTempFile::renameOver(const QString &target)
{
    if (m_fd < 0)
        return fail(EBADF);
    if (::fsync(m_fd) != 0)
        return fail(errno);
    if (::rename(m_path.constData(), QFile::encodeName(target).constData()) != 0)
        return fail(errno);
    syncFolderOf(m_path);
    ::close(m_fd);
    m_fd = -1;
    m_path.clear();
    m_error.clear();
    return true;
}

void OwnTempFile::remove()
{
    if (!m_path.isEmpty())
        ::unlink(m_path.constData());
    if (m_fd >= 0)
        ::close(m_fd);
    m_fd = -1;
    m_path.clear();
}

int OwnTempFile::release()
{
    const int fd = m_fd;
    m_fd = -1;
    m_path.clear();
    return fd;
}

} // namespace vexo
