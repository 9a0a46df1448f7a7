#pragma once

#include "platform/dbf_field.h"
#include "platform/dbf_table.h"

#include <QString>

#include <optional>

namespace vexo {

// A file named by its path, as the runtime's file specification: does it exist, its attribute
// letters, a byte copy that overwrites the target.
class FileSpec
{
public:
    explicit FileSpec(const QString &path);

    QString fullPath() const { return m_path; }
    QString fileName() const;
    bool find() const;
    // "R" read-only, "H" hidden, "S" system, "D" folder, "A" archive; empty when the file is missing.
    QString attributes() const;
    // A complete copy written beside the target and renamed over it; false leaves the target as it was.
    bool copy(const QString &target);
    // Removes the file; false when it was missing or could not be removed.
    bool remove();

    const std::optional<DbfError> &status() const { return m_status; }

protected:
    bool fail(DbfErrorCode code, const QString &description);

    QString m_path;
    std::optional<DbfError> m_status;
};

// A table file: creating an empty table with a structure and copying the table file. A target that
// another opener holds is refused, because renaming over it would pull the file from under that
// opener.
class DbfFileSpec : public FileSpec
{
public:
    explicit DbfFileSpec(const QString &path);

    bool create(const DbfStructure &fields, const QString &driver = QStringLiteral("DBFCDX"));
};

// Writes a whole file under a temporary name in the target's folder and renames it over the target,
// after making sure no opener holds the target. Used by every operation that replaces a file.
bool replaceFileContents(const QString &target, const QByteArray &contents, DbfError *error);

} // namespace vexo
