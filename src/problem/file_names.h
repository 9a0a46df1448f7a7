#pragma once

#include <QFileInfo>
#include <QString>
#include <QVariant>

namespace vexo {

// Path texts are taken apart as written: both "/" and "\" count as folder separators, because names
// read from older files still carry Windows separators.

// The last four characters of the trimmed path when they start with "."; only three-letter
// extensions count, anything else gives an empty text.
QString SFILEEXT(const QString &path);
// The path without the extension SFILEEXT finds; unchanged when there is none.
QString SFILEBASE(const QString &path);

// The name after the last separator (the whole text when there is none).
QString GETFILENAME(const QString &path);
inline QString GETFILENAME(const char *path) { return GETFILENAME(QString::fromUtf8(path)); }
// A file specification gives its name with the extension.
QString GETFILENAME(const QFileInfo &spec);
// A text is taken as a path; any other value gives an empty text.
QString GETFILENAME(const QVariant &value);

// The open problem file's name without folder and extension, its path without extension, and its
// folder; each takes the problem file's full path.
QString PROBFILENAME(const QString &problemPath);
QString PROBFILEBASE(const QString &problemPath);
QString PROBFILEDIR(const QString &problemPath);

// Two paths name the same file: when both exist, they are compared as files; otherwise the
// extensions are compared without regard to case and the rest exactly.
bool ISSAMEFILE(const QString &a, const QString &b);

} // namespace vexo
