#include "refdb/file_pair_replace.h"

#include "platform/dbf_table.h"
#include "platform/own_temp_files.h"

#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <unistd.h>
#include <vector>

namespace vexo {

namespace {

FileTransfer *g_transfer = nullptr;

std::filesystem::path fsPath(const QString &path)
{
    return std::filesystem::path(path.toStdString());
}

bool readAll(const QString &path, QByteArray *bytes, QString *why = nullptr)
{
    QFile in(path);
    if (in.open(QIODevice::ReadOnly))
        *bytes = in.readAll();
    if (in.error() == QFileDevice::NoError)
        return true;
    if (why)
        *why = QStringLiteral("%1 okunamadı: %2").arg(QFileInfo(path).fileName(), in.errorString());
    return false;
}

// The transfer's own reason for its last failure, or the step's words when it gave none.
QString transferReason(const QString &fallback)
{
    const QString why = fileTransfer().lastError();
    return why.isEmpty() ? fallback : why;
}

// A copy has the permissions of any new file (under the umask), as the target always got.
constexpr mode_t kNewFileMode = 0666;

const QString kNotWritten = QStringLiteral("kopya yazılamadı");
const QString kNotMatching = QStringLiteral("yazılan kopya kaynağıyla aynı değil");
const QString kNotRenamed = QStringLiteral("kopya eski dosyanın yerine konamadı");
const QString kOldNotKept = QStringLiteral("eski dosya saklanamadı");

// The copy holds the source's bytes and opens as a table shaped like it.
bool copyMatches(const QString &source, const QByteArray &sourceBytes, const QString &copy)
{
    QByteArray copied;
    if (!readAll(copy, &copied) || copied != sourceBytes)
        return false;
    DbfTable original;
    DbfTable made;
    if (!original.open(source, true, true) || !made.open(copy, true, true))
        return false;
    return original.dbStruct() == made.dbStruct() && original.lastRec() == made.lastRec();
}

// Keeps the file a target has now under a second name, so that it can be put back: a second link
// to the same file where the folder allows it, a copy otherwise. Either is one of our temporaries,
// held until the replacement is over.
bool keepOld(const QString &target, OwnTempFile *keep, QString *why)
{
    *keep = OwnTempFile::linkTo(target);
    if (keep->isOpen())
        return true;
    QByteArray bytes;
    if (!readAll(target, &bytes, why))
        return false;
    *keep = OwnTempFile::create(target, OwnTempFile::Hold::Shared, kNewFileMode);
    if (!keep->isOpen()) {
        *why = keep->errorString();
        return false;
    }
    fileTransfer().setLastError(QString());
    if (fileTransfer().write(keep->path(), bytes))
        return true;
    *why = transferReason(kOldNotKept);
    return false;
}

} // namespace

bool FileTransfer::write(const QString &path, const QByteArray &bytes)
{
    // The file is a temporary that its maker holds: it is written where it is, never replaced.
    const int fd = ::open(QFile::encodeName(path).constData(), O_WRONLY | O_TRUNC | O_NOFOLLOW | O_CLOEXEC);
    int err = fd < 0 ? errno : 0;
    for (qint64 done = 0; err == 0 && done < bytes.size();) {
        const ssize_t n = ::write(fd, bytes.constData() + done, size_t(bytes.size() - done));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            err = n < 0 ? errno : ENOSPC;
        else
            done += n;
    }
    if (err == 0 && ::fsync(fd) != 0)
        err = errno;
    if (fd >= 0 && ::close(fd) != 0 && err == 0)
        err = errno;
    m_lastError = err == 0 ? QString() : QString::fromLocal8Bit(std::strerror(err));
    return err == 0;
}

bool FileTransfer::rename(const QString &from, const QString &to)
{
    std::error_code ec;
    std::filesystem::rename(fsPath(from), fsPath(to), ec);
    m_lastError = ec ? QString::fromStdString(ec.message()) : QString();
    return !ec;
}

FileTransfer &fileTransfer()
{
    static FileTransfer real;
    return g_transfer ? *g_transfer : real;
}

void setFileTransfer(FileTransfer *transfer)
{
    g_transfer = transfer;
}

PairReplaceResult replaceFilePair(const QStringList &sources, const QStringList &targets)
{
    using Step = PairReplaceResult::Step;
    const int count = int(qMin(sources.size(), targets.size()));
    // Each copy and each kept old file is one of our temporaries beside its target, held from its
    // creation to the end and removed on every way out (unless renamed over its target). Those that
    // killed replacements left behind go when the next copy beside the same target is made.
    std::vector<OwnTempFile> copies(size_t(qMax(count, 0)));
    std::vector<OwnTempFile> kept(size_t(qMax(count, 0))); // per target: its old file, or none

    for (int i = 0; i < count; ++i) {
        QByteArray bytes;
        QString why;
        OwnTempFile &copy = copies[size_t(i)];
        if (!readAll(sources.at(i), &bytes, &why))
            return {i, Step::Copy, why};
        // Shared, so that the check below can open the copy as a table.
        copy = OwnTempFile::create(targets.at(i), OwnTempFile::Hold::Shared, kNewFileMode);
        if (!copy.isOpen())
            return {i, Step::Copy, copy.errorString().isEmpty() ? kNotWritten : copy.errorString()};
        fileTransfer().setLastError(QString());
        if (!fileTransfer().write(copy.path(), bytes))
            return {i, Step::Copy, transferReason(kNotWritten)};
        if (!copyMatches(sources.at(i), bytes, copy.path()))
            return {i, Step::Check, kNotMatching};
    }
    for (int i = 0; i < count; ++i) {
        if (QFileInfo::exists(targets.at(i))) {
            QString why;
            if (!keepOld(targets.at(i), &kept[size_t(i)], &why))
                return {i, Step::Rename, why};
        }
    }
    for (int i = 0; i < count; ++i) {
        OwnTempFile &copy = copies[size_t(i)];
        fileTransfer().setLastError(QString());
        if (fileTransfer().rename(copy.path(), targets.at(i))) {
            ::close(copy.release()); // it is the target now
            continue;
        }
        const QString why = transferReason(kNotRenamed);
        // Put back what was replaced before this one, so the targets stay one consistent set.
        for (int j = 0; j < i; ++j) {
            std::error_code ec;
            OwnTempFile &old = kept[size_t(j)];
            if (!old.isOpen())
                std::filesystem::remove(fsPath(targets.at(j)), ec);
            else if (std::filesystem::rename(fsPath(old.path()), fsPath(targets.at(j)), ec); !ec)
                ::close(old.release()); // back under its own name
        }
        return {i, Step::Rename, why};
    }
    return {};
}

} // namespace vexo
