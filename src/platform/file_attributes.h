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
