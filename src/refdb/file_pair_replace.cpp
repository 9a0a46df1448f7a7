#include "refdb/file_pair_replace.h"

#include "platform/atomic_file.h"
#include "platform/dbf_table.h"

#include <QFile>
#include <QFileInfo>
#include <QUuid>

#include <filesystem>

namespace vexo {

namespace {

FileTransfer *g_transfer = nullptr;

std::filesystem::path fsPath(const QString &path)
{
    return std::filesystem::path(path.toStdString());
}

// A name beside the target that no file has yet; hidden, so that a listing does not show it.
QString besideName(const QString &target, const char *purpose)
{
    const QFileInfo info(target);
    return info.absolutePath() + QStringLiteral("/.") + info.fileName() + u'.' + QLatin1String(purpose) + u'.'
           + QUuid::createUuid().toString(QUuid::Id128).left(12);
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

void removeQuietly(const QString &path)
{
    std::error_code ec;
    std::filesystem::remove(fsPath(path), ec);
}

// Keeps the file a target has now under a second name, so that it can be put back: a second link
// to the same file where the folder allows it, a copy otherwise.
bool keepOld(const QString &target, const QString &keep, QString *why)
{
    std::error_code ec;
    std::filesystem::create_hard_link(fsPath(target), fsPath(keep), ec);
    if (!ec)
        return true;
    QByteArray bytes;
    if (!readAll(target, &bytes, why))
        return false;
    fileTransfer().setLastError(QString());
    if (fileTransfer().write(keep, bytes))
        return true;
    *why = transferReason(kOldNotKept);
    return false;
}

} // namespace

bool FileTransfer::write(const QString &path, const QByteArray &bytes)
{
    QString why;
    const bool ok = writeFileAtomically(path, bytes, &why);
    m_lastError = ok ? QString() : why;
    return ok;
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
    QStringList copies;
    QStringList kept; // per target: its old file under a second name, or empty when it had none
    const auto cleanUp = [&] {
        for (const QString &path : copies + kept) {
            if (!path.isEmpty())
                removeQuietly(path);
        }
    };

    for (int i = 0; i < count; ++i) {
        QByteArray bytes;
        QString why;
        const QString copy = besideName(targets.at(i), "yeni");
        fileTransfer().setLastError(QString());
        if (!readAll(sources.at(i), &bytes, &why) || !fileTransfer().write(copy, bytes)) {
            if (why.isEmpty())
                why = transferReason(kNotWritten);
            removeQuietly(copy);
            cleanUp();
            return {i, Step::Copy, why};
        }
        copies << copy;
        if (!copyMatches(sources.at(i), bytes, copy)) {
            cleanUp();
            return {i, Step::Check, kNotMatching};
        }
    }
    for (int i = 0; i < count; ++i) {
        QString keep;
        if (QFileInfo::exists(targets.at(i))) {
            keep = besideName(targets.at(i), "eski");
            QString why;
            if (!keepOld(targets.at(i), keep, &why)) {
                removeQuietly(keep);
                cleanUp();
                return {i, Step::Rename, why};
            }
        }
        kept << keep;
    }
    for (int i = 0; i < count; ++i) {
        fileTransfer().setLastError(QString());
        if (fileTransfer().rename(copies.at(i), targets.at(i)))
            continue;
        const QString why = transferReason(kNotRenamed);
        // Put back what was replaced before this one, so the targets stay one consistent set.
        for (int j = 0; j < i; ++j) {
            std::error_code ec;
            if (kept.at(j).isEmpty())
                std::filesystem::remove(fsPath(targets.at(j)), ec);
            else
                std::filesystem::rename(fsPath(kept.at(j)), fsPath(targets.at(j)), ec);
        }
        cleanUp();
        return {i, Step::Rename, why};
    }
    cleanUp();
    return {};
}

} // namespace vexo
