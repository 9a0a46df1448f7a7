#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

namespace vexo {

// Replaces a whole file: the bytes go into one of this program's temporary files beside it (marked,
// held while written, see own_temp_files.h), which is renamed over the old file only when every
// write and the sync to disk succeeded. On any failure the old file stays byte for byte, the
// temporary is removed, and the answer is false with the reason in *error. A link is followed to
// the file it names; the new file keeps the old one's permissions; a file the user may not write is
// refused.
//
// The file is written unbuffered and every write is checked, so a write that fails (a full disk, a
// size limit) is never followed by a rename that would leave a short file where the old one was.
// *opened (when given) tells a file that could not even be started from one whose writing failed.
bool writeFileAtomically(const QString &path, const QList<QByteArray> &chunks, QString *error = nullptr,
                         bool *opened = nullptr);
bool writeFileAtomically(const QString &path, const QByteArray &contents, QString *error = nullptr);

} // namespace vexo
