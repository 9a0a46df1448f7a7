#pragma once

#include <QString>

namespace vexo {

// Writes the parts of the open problem whose dirty flag is set into its table. The file is left
// either as it was or wholly saved: the writers fill a complete copy beside it, which is renamed over
// the file only when every write succeeded. Nothing is written when the problem cannot be stored
// whole in the table's real fields (too many ingredients, a value or matrix row wider than its
// field, group names that the file's narrower field would make equal), when the written names would
// not pair with their matrix columns at the next opening (a row without a name, names out of step
// with the columns, a matrix row with another number of cells), while another program saves the
// same file, when another program changed, replaced, deleted or moved the file since it was opened or
// does so while the save runs (the writers would build on a file this program did not load, or the
// save would take the place of another program's file), when the saved file would change who may
// read or write it, or when any write fails; the dirty flags then stay as they were and the answer is
// false with the reason in *error for the caller to show.
bool PROBDBFUPDATE(QString *error = nullptr);
// Whether the last save of the open problem was refused because another program changed, replaced,
// deleted or moved its file (or its folder) since it was opened, or because the file could be opened
// read-only only: the edits can go into another file.
bool problemFileChangedElsewhere();
// After a save that went through: what the saved file could not keep of who may read or write it
// (its access is narrower than before), for the user to hear; empty when it kept everything.
QString problemSaveNarrowedRights();
// Why a problem with `count` ingredients cannot be stored.
QString tooManyIngredientsText(int count);

bool YMKAYDI();
bool BMKAYDI();
bool GRUPKAYDI();
bool MATRIXKAYDI();
bool BMOKAYDI();
// Completes the parameter list to its eight elements.
void QVPARMARRANGE();

} // namespace vexo
