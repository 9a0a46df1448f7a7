#pragma once

#include "problem/file_attributes_class.h"

#include <QString>
#include <QStringList>

namespace vexo {

// Files are found as the table layer finds them: an existing file whose name differs only in
// letter case is the file meant.

// Deletes a table file, unprotecting it first when it is hidden or read-only. A file that is not
// there counts as deleted (true); false when it exists and could not be deleted.
bool SFDELETE(const QString &file);
// The same for any file, but a missing file is a failure (false).
bool SFDELETEX(const QString &file);
// Copies an existing table file over the target. The copy is written under a temporary name beside
// the target and renamed into place only when complete, so a failure leaves the old target (or
// none). False when the source is missing, or the target is read-only or held open by a table.
bool SFCOPY(const QString &source, const QString &target);
// Makes the file a normal file (no read-only flag).
void FACLEARRO(const QString &file);
// Deletes one file (not a folder) without asking: into the desktop's trash when toRecycleBin,
// otherwise for good. True on success.
bool JOVERASEFILE(const QString &file, bool toRecycleBin);

// Deletes files in one folder. Paths have no drives here, so the drive text names that folder: an
// absolute path of an existing folder, and nothing outside it is ever touched. The mask form lists
// the plain, visible files of that folder that match (without regard to case; "*.*" means every
// file); the list form takes each name's last part and looks for it in that folder. Stops at the
// first file that cannot be deleted (read-only files are refused, as the platform refuses them);
// true when every file was deleted, also for an empty list.
bool DELETEFILES(const QString &drive, const QString &mask = QStringLiteral("*.*"));
bool DELETEFILES(const QString &drive, const QStringList &names);

} // namespace vexo
