#include "refdb/file_pair_replace.h"

#include "platform/dbf_table.h"
#include "platform/own_temp_files.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QUrl>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <optional>
#include <unistd.h>
#include <vector>

namespace vexo {

const QString kPairChangeRecord = QStringLiteral(".vexo-pair-change");

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

// --- the record of a change in progress ------------------------------------------------------
// One heading line, then one line per target: its name, its new copy's name, its kept old file's
// name (empty when it had none) and the digest of the new bytes, each percent-encoded, separated by
// blanks. Names are of files in the record's folder.

const QByteArray kRecordHeading = QByteArrayLiteral("vexo pair change 1");

struct ChangeEntry
{
    QString target;
    QString copy;
    QString kept;
    QByteArray digest;
};

QByteArray digestOf(const QByteArray &bytes)
{
    return QCryptographicHash::hash(bytes, QCryptographicHash::Sha256).toHex();
}

QByteArray fileDigest(const QString &path)
{
    QFile in(path);
    QCryptographicHash hash(QCryptographicHash::Sha256);
    if (!in.open(QIODevice::ReadOnly) || !hash.addData(&in))
        return {};
    return hash.result().toHex();
}

QByteArray recordText(const QList<ChangeEntry> &entries)
{
    QByteArray text = kRecordHeading + '\n';
    for (const ChangeEntry &e : entries) {
        for (const QString &name : {e.target, e.copy, e.kept})
            text += QUrl::toPercentEncoding(name) + ' ';
        text += e.digest + '\n';
    }
    return text;
}

std::optional<QList<ChangeEntry>> parseRecord(const QByteArray &text)
{
    QList<QByteArray> lines = text.split('\n');
    if (lines.isEmpty() || lines.takeFirst() != kRecordHeading || lines.isEmpty() || !lines.last().isEmpty())
        return std::nullopt;
    lines.removeLast();
    QList<ChangeEntry> entries;
    for (const QByteArray &line : lines) {
        const QList<QByteArray> parts = line.split(' ');
        if (parts.size() != 4 || parts.at(0).isEmpty() || parts.at(1).isEmpty() || parts.at(3).isEmpty())
            return std::nullopt;
        const auto name = [&](int i) { return QString::fromUtf8(QByteArray::fromPercentEncoding(parts.at(i))); };
        entries.append({name(0), name(1), name(2), parts.at(3)});
    }
    if (entries.isEmpty())
        return std::nullopt;
    return entries;
}

void syncFolder(const QString &folder)
{
    const int fd = ::open(QFile::encodeName(folder).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return;
    ::fsync(fd);
    ::close(fd);
}

// Written whole under a temporary name, synced and renamed into place: the record is there complete
// or not at all.
bool writeRecord(const QString &folder, const QList<ChangeEntry> &entries, QString *why)
{
    const QString path = QDir(folder).filePath(kPairChangeRecord);
    OwnTempFile record = OwnTempFile::create(path, OwnTempFile::Hold::Exclusive, kNewFileMode);
    if (record.isOpen() && record.write(recordText(entries)) && record.renameOver(path))
        return true;
    *why = record.errorString().isEmpty() ? kNotWritten : record.errorString();
    return false;
}

bool renameFile(const QString &from, const QString &to, QString *why)
{
    std::error_code ec;
    std::filesystem::rename(fsPath(from), fsPath(to), ec);
    if (ec)
        *why = QStringLiteral("%1 yerine konamadı: %2").arg(QFileInfo(to).fileName(), QString::fromStdString(ec.message()));
    return !ec;
}

void removeFile(const QString &path)
{
    std::error_code ec;
    std::filesystem::remove(fsPath(path), ec);
}

// The folders of the files, each once.
QStringList foldersOf(const QStringList &paths)
{
    QStringList folders;
    for (const QString &path : paths) {
        const QString folder = QFileInfo(path).absolutePath();
        if (!folders.contains(folder))
            folders.append(folder);
    }
    return folders;
}

} // namespace

PairRecovery finishInterruptedPairChange(const QString &folder)
{
    using Outcome = PairRecovery::Outcome;
    const QDir dir(folder);
    const QString recordPath = dir.filePath(kPairChangeRecord);
    if (!QFileInfo(recordPath).isFile())
        return {};
    QByteArray text;
    QString why;
    if (!readAll(recordPath, &text, &why))
        return {Outcome::Failed, why};
    const std::optional<QList<ChangeEntry>> entries = parseRecord(text);
    if (!entries)
        return {Outcome::Failed, QStringLiteral("%1 kaydı okunamadı").arg(QDir::toNativeSeparators(recordPath))};

    // A new file is either still under its temporary name or already in its target's place.
    QList<bool> copyThere;
    QList<bool> targetIsNew;
    bool everyNewThere = true;
    for (const ChangeEntry &e : *entries) {
        copyThere.append(QFileInfo(dir.filePath(e.copy)).isFile());
        targetIsNew.append(!copyThere.last() && fileDigest(dir.filePath(e.target)) == e.digest);
        everyNewThere = everyNewThere && (copyThere.last() || targetIsNew.last());
    }
    const Outcome outcome = everyNewThere ? Outcome::Completed : Outcome::Undone;
    for (qsizetype i = 0; i < entries->size(); ++i) {
        const ChangeEntry &e = entries->at(i);
        const QString target = dir.filePath(e.target);
        if (everyNewThere && copyThere.at(i) && !renameFile(dir.filePath(e.copy), target, &why))
            return {Outcome::Failed, why};
        if (everyNewThere || !targetIsNew.at(i))
            continue;
        if (e.kept.isEmpty()) {
            removeFile(target); // it had no old file
        } else if (!QFileInfo(dir.filePath(e.kept)).isFile()) {
            return {Outcome::Failed, QStringLiteral("%1 dosyasının eski hâli bulunamadı").arg(e.target)};
        } else if (!renameFile(dir.filePath(e.kept), target, &why)) {
            return {Outcome::Failed, why};
        }
    }
    syncFolder(folder);
    for (const ChangeEntry &e : *entries) {
        removeFile(dir.filePath(e.copy));
        if (!e.kept.isEmpty())
            removeFile(dir.filePath(e.kept));
    }
    removeFile(recordPath);
    syncFolder(folder);
    return {outcome, QString()};
}

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

bool FileTransfer::removeRecord(const QString &path)
{
    const bool removed = ::unlink(QFile::encodeName(path).constData()) == 0;
    m_lastError = removed ? QString() : QString::fromLocal8Bit(std::strerror(errno));
    syncFolder(QFileInfo(path).absolutePath());
    return removed;
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
    if (count <= 0)
        return {};
    const QString folder = QFileInfo(targets.first()).absolutePath();
    if (foldersOf(targets.mid(0, count)).size() != 1)
        return {0, Step::Copy, QStringLiteral("dosyalar tek bir klasörde değil")};
    // A change a kill interrupted in either folder is finished before its files are read or replaced.
    for (const QString &f : foldersOf(sources.mid(0, count) + targets.mid(0, count))) {
        if (const PairRecovery r = finishInterruptedPairChange(f); !r.ok())
            return {0, Step::Copy, r.reason};
    }

    QList<ChangeEntry> entries;
    for (int i = 0; i < count; ++i) {
        QByteArray bytes;
        QString why;
        OwnTempFile &copy = copies[size_t(i)];
        if (!readAll(sources.at(i), &bytes, &why))
            return {i, Step::Copy, why};
        entries.append({QFileInfo(targets.at(i)).fileName(), QString(), QString(), digestOf(bytes)});
        // Shared, so that the check below can open the copy as a table.
        copy = OwnTempFile::create(targets.at(i), OwnTempFile::Hold::Shared, kNewFileMode);
        if (!copy.isOpen())
            return {i, Step::Copy, copy.errorString().isEmpty() ? kNotWritten : copy.errorString()};
        fileTransfer().setLastError(QString());
        if (!fileTransfer().write(copy.path(), bytes))
            return {i, Step::Copy, transferReason(kNotWritten)};
        if (!copyMatches(sources.at(i), bytes, copy.path()))
            return {i, Step::Check, kNotMatching};
        entries[i].copy = QFileInfo(copy.path()).fileName();
    }
    for (int i = 0; i < count; ++i) {
        if (QFileInfo::exists(targets.at(i))) {
            QString why;
            if (!keepOld(targets.at(i), &kept[size_t(i)], &why))
                return {i, Step::Rename, why};
            entries[i].kept = QFileInfo(kept[size_t(i)].path()).fileName();
        }
    }
    if (QString why; !writeRecord(folder, entries, &why))
        return {0, Step::Rename, why};
    const QString recordPath = QDir(folder).filePath(kPairChangeRecord);
    for (int i = 0; i < count; ++i) {
        OwnTempFile &copy = copies[size_t(i)];
        fileTransfer().setLastError(QString());
        if (fileTransfer().rename(copy.path(), targets.at(i))) {
            ::close(copy.release()); // it is the target now
            continue;
        }
        const QString why = transferReason(kNotRenamed);
        // Put back what was replaced before this one, so the targets stay one consistent set.
        bool putBack = true;
        for (int j = 0; j < i; ++j) {
            std::error_code ec;
            OwnTempFile &old = kept[size_t(j)];
            if (!old.isOpen())
                std::filesystem::remove(fsPath(targets.at(j)), ec);
            else if (std::filesystem::rename(fsPath(old.path()), fsPath(targets.at(j)), ec); !ec)
                ::close(old.release()); // back under its own name
            putBack = putBack && !ec;
        }
        if (putBack) {
            syncFolder(folder);
            removeFile(recordPath);
        } else {
            // The record and the files it names stay, so that the next start finishes the change.
            for (std::vector<OwnTempFile> *files : {&copies, &kept}) {
                for (OwnTempFile &f : *files) {
                    if (f.isOpen())
                        ::close(f.release());
                }
            }
        }
        return {i, Step::Rename, why};
    }
    // The renames reach the disk before the record goes; a record left by a failed removal is
    // finished (found complete) by the next replacement or start.
    syncFolder(folder);
    fileTransfer().removeRecord(recordPath);
    return {};
}

} // namespace vexo
