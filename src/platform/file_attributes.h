#pragma once

#include <QString>

#include <optional>

namespace vexo {

// Windows file-attribute flags, mapped onto what a POSIX file has: read-only is the lack of the
// owner's write permission, hidden a name beginning with ".", directory the file type; every plain
// file carries the archive flag. Flags with no POSIX meaning are accepted and ignored on writing.
enum FileAttributeFlag : quint32 {
    FA_READONLY = 0x1,
    FA_HIDDEN = 0x2,
    FA_SYSTEM = 0x4,
    FA_DIRECTORY = 0x10,
    FA_ARCHIVE = 0x20,
    FA_DEVICE = 0x40,
    FA_NORMAL = 0x80,
    FA_TEMPORARY = 0x100,
    FA_SPARSE = 0x200,
    FA_REPARSE = 0x400,
    FA_COMPRESSED = 0x800,
};

constexpr quint32 kInvalidFileAttributes = 0xFFFFFFFFu;

// The flags of an existing file or folder; nothing when it does not exist.
std::optional<quint32> readFileAttributes(const QString &path);
// Sets read-only or writable as the flags say; false when the file is missing or cannot be changed.
bool writeFileAttributes(const QString &path, quint32 flags);

} // namespace vexo

namespace vexo {

// What a copy that takes a file's place kept of the file's rights (copyFileRights).
struct CopiedRights
{
    enum class Refusal { None, Rights, Attributes };
    Refusal refusal = Refusal::None;
    // Why the copy may not take the file's place: it would let somebody read or write it whom the file
    // did not let, or take writing from the file's owner or group.
    QString why;
    // What the copy could not keep although it may take the file's place: it gives less access than
    // the file did (a narrower mode, a lost access-control list). Empty when everything was kept.
    QString narrowed;
};

// Gives the copy (open as copyFd) the owner, group, extended attributes, access-control list and mode
// of the file open as fileFd, with libattr's and libacl's copy functions; the paths name the two in
// their messages. Attributes that an ordinary user cannot set (the security. and system. namespaces
// beyond the access-control list) are not copied. Where the owner or the group cannot be kept, the
// copy is refused when somebody who may write the file could not write the copy; where the mode or
// the list cannot be kept (file systems that refuse every change of mode), the copy is refused when
// its own mode gives more than the file's did, and otherwise told as narrowed. A mode the copy
// already has is not set again.
CopiedRights copyFileRights(int fileFd, const QByteArray &filePath, int copyFd, const QByteArray &copyPath);

} // namespace vexo
