#pragma once

#include <QByteArray>
#include <QString>

class QWidget;

namespace vexo {

// Text reports are lines of exactly this many characters, blank-filled on the right and ended by
// CR LF; files hold Windows-1254 bytes.
constexpr int kReportLineWidth = 100;

// One report line: padded with blanks or cut to the line width, followed by CR LF.
QString reportLine(const QString &content);
// A blank report line.
QString blankReportLine();
// The text centred in `width` characters (cut when longer); an odd number of blanks leaves the extra
// one on the right.
QString centred(const QString &text, int width);

// Writes the bytes as the whole content of the file (created or replaced through a temporary file),
// creating the file's folder when it is missing. False when any step failed; an old file is then left
// as it was.
bool writeFileBytes(const QString &path, const QByteArray &bytes);

// Writes the text as the whole content of the file (created or replaced through a temporary file),
// creating the file's folder when it is missing. False when any step failed; an old file is then left
// as it was.
bool writeReportFile(const QString &path, const QString &text);

// The message of a report that could not be written, owned by `owner`.
void reportWriteFailed(QWidget *owner);

// Writes a text report and makes it the last report. A failed write is told to the user and leaves
// the last report as it was.
bool RFILEANDTEXT(QWidget *owner, const QString &file, const QString &text);

} // namespace vexo
