#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

namespace vexo {

// The two steps a file replacement is made of, so that tests can make either fail.
class FileTransfer
{
public:
    virtual ~FileTransfer() = default;
    // Writes the bytes as the whole contents of an existing file (a temporary its maker holds, which
    // is written where it is, not replaced); every write and the sync are checked.
    virtual bool write(const QString &path, const QByteArray &bytes);
    // Renames a file over another in one step.
    virtual bool rename(const QString &from, const QString &to);
    // Removes the record of a finished replacement (see replaceFilePair); its last step.
    virtual bool removeRecord(const QString &path);

    // Why the last write or rename of the real transfer failed (empty after a success). A transfer
    // standing in for it may set its own.
    const QString &lastError() const { return m_lastError; }
    void setLastError(const QString &error) { m_lastError = error; }

private:
    QString m_lastError;
};

FileTransfer &fileTransfer();
// Installs a transfer (not owned); nullptr puts the real one back.
void setFileTransfer(FileTransfer *transfer);

// Where a replacement stopped: the index of the file and the step that failed.
struct PairReplaceResult
{
    enum class Step { None, Copy, Check, Rename };
    int file = -1;
    Step step = Step::None;
    QString reason; // why, in a few words, for the user; empty on success
    bool ok() const { return step == Step::None; }
};

// Replaces each target with a copy of its source, all or none: every source is copied beside its
// target under a temporary name and checked (the same bytes, and it opens as a table with the
// source's fields and record count); only then are the copies renamed over the targets. When a rename
// fails the targets already replaced get their old files back (or are removed when there were none).
// No temporary file is left on any way out; the temporaries are this program's marked and held ones
// (platform/own_temp_files.h), so a replacement that was killed leaves nothing the next replacement
// of the same target does not remove.
//
// The targets lie in one folder. Before the first rename a record of the change (kPairChangeRecord:
// each target with its new copy, its kept old file and the new bytes' digest) is written there and
// synced; it is removed after the last rename. A replacement killed between the two leaves the
// record, and finishInterruptedPairChange() then completes or undoes the change. Every replacement
// first finishes one left in its sources' and its targets' folders.
PairReplaceResult replaceFilePair(const QStringList &sources, const QStringList &targets);

// The name of the record of a change in progress, in the targets' folder.
extern const QString kPairChangeRecord;

// What finishing an interrupted change found and did.
struct PairRecovery
{
    enum class Outcome { None, Completed, Undone, Failed };
    Outcome outcome = Outcome::None;
    QString reason; // why it failed, for the user; the record then stays for the next attempt
    bool ok() const { return outcome != Outcome::Failed; }
};

// Finishes a change of the folder's files that a kill or a power cut interrupted: when every new
// file is there (still under its temporary name, or already in place) the change is completed,
// otherwise every target gets its old file back (or is removed when it had none). Either way the
// files of the change are whole old or whole new, the leftovers are removed and so is the record.
// Nothing is done in a folder without a record.
PairRecovery finishInterruptedPairChange(const QString &folder);

} // namespace vexo
