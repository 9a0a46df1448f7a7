#pragma once

#include <QString>
#include <QStringList>

class QWidget;

namespace vexo {

// The reference database as one set of files, always handled in this order.
QStringList referenceFileSet();
// The folder the folder dialog proposes, and the one the menu backup makes sure exists.
QString proposedBackupFolder();
QString spareBackupFolder();

// The data root, or one of its live tables, named by any spelling (links, "..", doubled separators):
// identity of files, not of texts.
bool isLiveReferenceLocation(const QString &folder);

// Backs the two live tables up into the chosen folder, after the checks and messages of the menu
// command, in their order: an empty or relative path stops silently; a folder on a volume that is
// not ready, the data root itself and a missing live table stop with a message. The proposed folder
// is made when it is missing. A failed copy names its file and says why; the folder then holds its
// old backup unchanged. True when both files were backed up.
bool backupReferenceDatabase(QWidget *owner, const QString &chosen);
// The reference-matrix editor's backup into the proposed folder, made when missing: both live
// tables replace the old backup together or not at all, and a failure is told as the menu
// command's. True when both files were backed up.
bool quickBackupReferenceDatabase(QWidget *owner);
// Puts a backup in the chosen folder back in place of the live tables: the same checks (no volume
// check), then both files replace the live pair together, so the live pair is always the old or the
// new one. Before anything is replaced the user is asked, with the backup's folder and date (the
// newest modification time of its files); then the open editors are closed. The end is told: done,
// or the file that failed with the reason. True when both files were put back.
bool restoreReferenceDatabase(QWidget *owner, const QString &chosen);

// Finishes a backup or restore of the pair that a kill or a power cut interrupted, in the data root
// and in the proposed backup folder, so that each holds a whole old or a whole new pair (see
// finishInterruptedPairChange). Run at start, before anything reads the pair; a change that cannot
// be finished is told, and its record stays for the next start. False then.
bool finishInterruptedReferenceChanges(QWidget *owner);

// The menu commands: ask for the folder with the folder dialog, then the above.
bool RM_YEDEKLE();
bool RM_YEDEKTEN_AL();
// Registers the reference-database commands with the main window.
void installReferenceCommands();

} // namespace vexo
