#include "platform/dbf_filespec.h"

#include "platform/atomic_file.h"
#include "platform/dbf_header.h"
#include "platform/file_attributes.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

namespace vexo {

namespace {

DbfError makeError(DbfErrorCode code, const QString &description)
{
    return DbfError{code, dbfErrorText(code), description};
}

// An opener of the target in any mode holds a flock; an exclusive try tells whether one exists. The
// returned descriptor keeps the target locked until the replacement is in place (-1 when the target
// does not exist yet).
int lockTarget(const QString &target, bool *held)
{
    *held = false;
    const int fd = ::open(QFile::encodeName(target).constData(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return -1;
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        *held = true;
        ::close(fd);
        return -1;
    }
    return fd;
}

} // namespace

bool replaceFileContents(const QString &target, const QByteArray &contents, DbfError *error)
{
    const QString name = QFileInfo(target).fileName();
    bool held = false;
    const int lockFd = lockTarget(target, &held);
    if (held) {
        if (error)
            *error = makeError(DbfErrorCode::Locked, name);
        return false;
    }
    QString why;
    const bool ok = writeFileAtomically(target, contents, &why);
    if (lockFd >= 0)
        ::close(lockFd);
    if (!ok && error)
        *error = makeError(DbfErrorCode::Write, name + QStringLiteral(": ") + why);
    return ok;
}

FileSpec::FileSpec(const QString &path)
    : m_path(QFileInfo(path).absoluteFilePath())
{
    // An existing file whose name differs only in case is this file.
    const QFileInfo info(m_path);
    if (!info.exists()) {
        const QDir dir = info.absoluteDir();
        for (const QString &n : dir.entryList(QDir::Files | QDir::Hidden | QDir::System))
            if (n.compare(info.fileName(), Qt::CaseInsensitive) == 0) {
                m_path = dir.filePath(n);
                break;
            }
    }
}

QString FileSpec::fileName() const
{
    return QFileInfo(m_path).fileName();
}

bool FileSpec::fail(DbfErrorCode code, const QString &description)
{
    m_status = makeError(code, description);
    return false;
}

bool FileSpec::find() const
{
    return QFileInfo(m_path).isFile();
}

QString FileSpec::attributes() const
{
    const std::optional<quint32> flags = readFileAttributes(m_path);
    if (!flags)
        return {};
    QString letters;
    if (*flags & FA_READONLY)
        letters += u'R';
    if (*flags & FA_HIDDEN)
        letters += u'H';
    if (*flags & FA_SYSTEM)
        letters += u'S';
    if (*flags & FA_DIRECTORY)
        letters += u'D';
    if (*flags & FA_ARCHIVE)
        letters += u'A';
    return letters;
}

bool FileSpec::copy(const QString &target)
{
    m_status.reset();
    QFile in(m_path);
    if (!in.open(QIODevice::ReadOnly))
        return fail(in.exists() ? DbfErrorCode::Read : DbfErrorCode::NoFile, fileName() + QStringLiteral(": ") + in.errorString());
    const QByteArray bytes = in.readAll();
    if (in.error() != QFileDevice::NoError)
        return fail(DbfErrorCode::Read, fileName() + QStringLiteral(": ") + in.errorString());
    const QFileInfo t(target);
    if (t.exists() && QFileInfo(m_path).canonicalFilePath() == t.canonicalFilePath())
        return true; // copying a file onto itself leaves it as it is
    DbfError e;
    if (!replaceFileContents(t.absoluteFilePath(), bytes, &e)) {
        m_status = e;
        return false;
    }
    return true;
}

bool FileSpec::remove()
{
    m_status.reset();
    if (!QFileInfo::exists(m_path))
        return fail(DbfErrorCode::NoFile, fileName());
    QFile f(m_path);
    if (!f.remove())
        return fail(DbfErrorCode::Write, fileName() + QStringLiteral(": ") + f.errorString());
    return true;
}

DbfFileSpec::DbfFileSpec(const QString &path)
    : FileSpec(path)
{
}

bool DbfFileSpec::create(const DbfStructure &fields, const QString &driver)
{
    Q_UNUSED(driver);
    m_status.reset();
    const QString problem = dbf::structureProblem(fields);
    if (!problem.isEmpty())
        return fail(DbfErrorCode::Create, fileName() + QStringLiteral(": ") + problem);
    if (!QFileInfo(QFileInfo(m_path).absolutePath()).isDir())
        return fail(DbfErrorCode::Create, fileName() + QStringLiteral(": klasör yok"));
    QByteArray bytes = DbfHeader::forStructure(fields).bytes();
    bytes += '\x1A';
    DbfError e;
    if (!replaceFileContents(m_path, bytes, &e)) {
        m_status = e;
        return false;
    }
    return true;
}

} // namespace vexo
