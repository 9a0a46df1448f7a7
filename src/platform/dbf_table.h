#pragma once

#include "platform/dbf_field.h"
#include "platform/dbf_header.h"

#include <QByteArray>
#include <QString>
#include <QVariant>

#include <memory>
#include <optional>

struct stat;

namespace vexo {

class DbfIndex;

// General error codes of the table layer; the texts are what callers append to their messages.
enum class DbfErrorCode {
    NotOpen = 1,
    NoFile,
    Access,
    Locked,
    Corrupt,
    ReadOnly,
    Read,
    Write,
    NoField,
    DataType,
    DataWidth,
    NoRecord,
    Exclusive,
    Create,
    Index,
    Changed, // the file is not the one this table read: another program replaced or wrote it
    Rights,  // a save would change who may write the file
    Folder,  // the file's folder takes no new file
    Deleted,    // the file this table read was deleted and nothing took its name
    Moved,      // the file this table read, or its folder, was moved or renamed away from its name
    Attributes, // a save cannot keep the file's access-control list or another extended attribute
};

struct DbfError
{
    DbfErrorCode code = DbfErrorCode::NotOpen;
    QString caption;     // the short text of the code
    QString description; // what exactly failed, with the file's name

    // The error text that messages show after " : ".
    QString text() const { return description.isEmpty() ? caption : caption + QStringLiteral(": ") + description; }
};

QString dbfErrorText(DbfErrorCode code);

// The program's table server: one dBASE table file opened shared or exclusive, read-only or
// writable, with a current record. Every table of the program goes through it.
//
// Locks are real: the open takes flock() on the file (shared or exclusive, never waiting), so a second
// opener in this or another process is refused exactly when the modes clash. Appending in shared mode
// takes an open-file-description byte lock at kAppendLockOffset for the moment of the append; whoever
// holds that byte makes appends fail, which the standard opener turns into its retries.
//
// The header's record count and date are written after every append and commit. Operations that
// replace the file (pack) write a new file beside it and rename it over the old one.
class DbfTable
{
public:
    static constexpr qint64 kAppendLockOffset = 0x7FFFFFFE;
    // The byte a whole-file save holds exclusively for its length (see beginReplacement).
    static constexpr qint64 kSaveLockOffset = 0x7FFFFFFD;

    DbfTable();
    DbfTable(const QString &path, bool shared, bool readOnly, const QString &driver = QStringLiteral("DBFCDX"));
    virtual ~DbfTable();
    DbfTable(const DbfTable &) = delete;
    DbfTable &operator=(const DbfTable &) = delete;

    bool open(const QString &path, bool shared, bool readOnly);
    bool isOpen() const { return m_fd >= 0; }

    // Nothing after a good open or operation; the error of the last one that failed otherwise.
    const std::optional<DbfError> &status() const { return m_status; }
    // A text that names the table, for message captions.
    QString label() const { return m_label; }
    void setLabel(const QString &label) { m_label = label; }
    QString path() const { return m_path; }
    bool isShared() const { return m_shared; }
    bool isReadOnly() const { return m_readOnly; }

    // Navigation. With an index order selected it follows the index; otherwise record order.
    // SetDeleted(true) hides deleted records from goTop and skip.
    bool goTop();
    bool goBottom();
    bool skip(int n = 1);
    bool goTo(qint64 recNo);
    bool eof() const { return m_eof; }
    bool bof() const { return m_bof; }
    quint32 recNo() const { return m_recNo; }
    quint32 lastRec();
    // The whole records the file holds after its header, counted by the file's size (an end byte or
    // a record cut short is none); -1 when the table is not open. Other dBASE programs read only the
    // records the header counts, so a file holding more than lastRec() has records nobody reads.
    qint64 recordsInFile() const;

    int fCount() const { return int(m_hdr.fields.size()); }
    QString fieldName(int pos) const;
    int fieldPos(const QString &name) const;
    DbfStructure dbStruct() const { return m_hdr.fields; }

    virtual QVariant fieldGet(int pos);
    QVariant fieldGet(const QString &name);
    virtual bool fieldPut(int pos, const QVariant &value);
    bool fieldPut(const QString &name, const QVariant &value);

    // A blank record at the end, made current.
    virtual bool append();
    bool deleteRecord();
    bool deleted() const;
    bool recall();
    // Removes the deleted records; needs the table exclusive and writable.
    bool pack();
    bool commit();
    void close();

    // A save that leaves the file either as it was or wholly new. beginReplacement takes the save
    // byte (refused, never waiting, while another table of this or another process saves the same
    // file), copies the file into a temporary file beside it and points the table at the copy; the
    // writes that follow change only the copy. finishReplacement commits and syncs the copy and
    // renames it over the file, which the table then holds in its own mode. abandonReplacement drops
    // the copy and points the table back at the file, unchanged.
    //
    // A save never builds on a file this table did not read, and never takes the place of one: when
    // another program replaced the file or changed its bytes since this table opened it (or last
    // wrote it), beginReplacement refuses with Changed, and so does finishReplacement when that
    // happened during the save. What leaves the bytes alone (a mode, an owner, an access list or an
    // attribute set, a hard link, an access time, a byte-identical rewrite) is no change: the save
    // goes on and keeps what the file has now. finishReplacement exchanges the two names in one step
    // and looks at what it took the place of; when that is not the file this table read, the other
    // file goes back under its name. A file deleted, moved or renamed since (or whose folder was)
    // refuses with Deleted or Moved. The copy is made with the file's mode and takes its owner,
    // group, access-control list and extended attributes (copyFileRights): where that would let
    // somebody do more with the file, or take writing from its owner or group, it refuses with
    // Rights, and where an attribute cannot be kept, with Attributes; what it could not keep while
    // giving less access is told by rightsNarrowed. A folder that takes no new file refuses with
    // Folder. Copies that interrupted saves left behind (their writer is gone, so nobody holds the
    // lock every writer keeps on its copy) are removed first, and when a writable table is opened.
    bool beginReplacement();
    bool finishReplacement();
    void abandonReplacement();
    bool replacing() const { return m_originalFd >= 0; }
    // Whether the name leads to the file this table has open, holding what the table last read or
    // wrote (not to another file, nor to this one changed by another program).
    bool holdsUnchangedFileAt(const QString &path);
    // What the copy of the last replacement could not keep of the file's rights, leaving it narrower
    // (see copyFileRights); empty when it kept them all.
    QString rightsNarrowed() const { return m_rightsNarrowed; }

    // Appends every record of the source (in its order) by field name; fields the source lacks stay
    // blank, fields this table lacks are dropped.
    bool appendDb(DbfTable &source);

    // The single-tag index: created from the table, or attached from an existing file. The index
    // always holds the first record of each key; it is kept up to date on every write.
    bool createIndex(const QString &indexPath, const QString &tag, const QString &keyField, bool unique);
    bool setIndex(const QString &indexPath);
    bool setOrder(int order);
    int order() const { return m_order; }
    // Finds the first key, in index order, that begins with the text; eof when none does.
    bool seek(const QString &key);
    bool found() const { return m_found; }
    // The current record's key in the controlling order, at the key's width; invalid without an order
    // or at end of file.
    QVariant orderKeyVal();

    // The runtime's switch that hides deleted records; returns the previous setting.
    static bool setDeleted(bool hide);
    static bool deletedHidden();

protected:
    bool setError(DbfErrorCode code, const QString &description = {});
    void clearStatus() { m_status.reset(); }
    // The append itself, without any retrying; subclasses that retry call this.
    bool appendRecord();
    // Called by finishReplacement after its last look at the file and before the copy takes the
    // file's name; tests let another program act in that moment.
    virtual void beforeNameChange() {}

private:
    bool flush();
    // The descriptor of the file at the path, flock-ed in the table's mode, and its header; -1 with
    // the status set when it cannot be opened or is no table.
    int openFile(const QString &path, bool shared, bool readOnly, DbfHeader *header);
    bool lockCurrentFileForSave();
    // Remembers the file's identity, size and times as this table last read or wrote it; the digest
    // of its bytes follows at the next settleDigest.
    void noteFileState();
    // Takes the digest of the file's bytes when it is due and the file is still as noteFileState saw
    // it (so the bytes are the ones this table read or wrote).
    void settleDigest();
    // Whether the file open as fd, with the status st, holds what this table last read or wrote: the
    // same times and size, or else the same bytes (a change of mode, owner, access list, attribute,
    // link count or access time, or a byte-identical rewrite, is no change of the file). The change
    // time is left out when `withChangeTime` is false.
    bool sameAsRead(int fd, const struct stat &st, bool withChangeTime);
    // Whether the name still leads to the file open as fd, holding what this table last read or wrote;
    // otherwise false with the status Changed, Deleted or Moved.
    bool fileInPlace(int fd, const QByteArray &name);
    // Puts the finished copy under the file's name in place of the file this table read, or refuses.
    bool putCopyInPlace();
    bool writeHeaderCounts();
    bool readRecord(quint32 recNo, QByteArray *into);
    bool recordDeleted(quint32 recNo);
    bool hidden(quint32 recNo);
    void positionAt(quint32 recNo);
    void positionEof();
    bool refreshCount();
    bool rebuildIndex(bool writeFile);
    bool writable(const char *what);
    // Navigation positions: record numbers, or places in the index order.
    qint64 orderSize();
    quint32 recordAt(qint64 pos);
    qint64 placeOf(quint32 recNo);

    int m_fd = -1;
    QString m_path;
    QString m_label;
    bool m_shared = true;
    bool m_readOnly = false;
    DbfHeader m_hdr;
    QByteArray m_rec;
    quint32 m_recNo = 0;
    bool m_eof = true;
    bool m_bof = true;
    bool m_dirty = false;
    bool m_changed = false; // the header date is due
    bool m_found = false;
    std::optional<DbfError> m_status;
    std::unique_ptr<DbfIndex> m_index;
    QString m_indexPath;
    int m_order = 0;
    // While a replacement runs: the file itself (holding the save byte), the copy's path and the
    // header and mode to return to.
    int m_originalFd = -1;
    QByteArray m_copyPath;
    QByteArray m_replacedPath; // the file itself, links followed
    DbfHeader m_originalHdr;
    bool m_originalShared = true;
    QString m_rightsNarrowed;
    // The file as this table last read or wrote it (see noteFileState). The change time is set by
    // every write, also by one that puts the modification time back, and no program can set it; it is
    // also set by what leaves the bytes alone (a mode, an owner, an attribute, a link), which is why a
    // differing state is settled by the digest of the bytes.
    struct FileState
    {
        quint64 device = 0, inode = 0;
        qint64 size = -1, seconds = 0, nanoseconds = 0;
        qint64 changeSeconds = 0, changeNanoseconds = 0;
        bool operator==(const FileState &) const = default;
    };
    FileState m_fileState;
    QByteArray m_digest; // of the bytes in m_fileState's file; empty while due
};

} // namespace vexo
