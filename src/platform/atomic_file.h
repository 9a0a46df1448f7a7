#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

namespace vexo {

// Replaces a whole file: the bytes go into a temporary file beside it, which is renamed over the old
// file only when every write, the flush and the sync to disk succeeded. On any failure the old file
// stays byte for byte and the answer is false with the reason in *error.
//
// The file is written unbuffered and flushed before the commit: a buffered QSaveFile keeps small
// files in memory and its commit does not see a write that then fails (a full disk, a size limit),
// leaving an empty file where the old one was.
// *opened (when given) tells a file that could not even be started from one whose writing failed.
bool writeFileAtomically(const QString &path, const QList<QByteArray> &chunks, QString *error = nullptr,
                         bool *opened = nullptr);
bool writeFileAtomically(const QString &path, const QByteArray &contents, QString *error = nullptr);

} // namespace vexo
