#pragma once

#include <QByteArray>
#include <QString>

class QTextDocument;

namespace vexo {

// Pad documents on disk: plain text is Windows-1254 with CR LF line ends, rich text is our RTF. Inside
// the pad a line ends with "\n" and a page break is a form feed character, so a report opened and
// saved again as plain text comes back byte for byte.

// File bytes to the pad's text: CR LF (and a lone CR) end a line.
QString padTextFromBytes(const QByteArray &bytes);
// A report's text (lines ended by CR LF) as the pad holds it.
QString padTextFromReport(QString text);
// The pad's text to file bytes: every line end becomes CR LF.
QByteArray padTextToBytes(const QString &text);
// The document's text as the pad saves it: paragraphs and line breaks end lines; no-break spaces and
// form feeds stay.
QString padPlainText(const QTextDocument &document);
// Replaces the document's content with plain text.
void setPadPlainText(QTextDocument *document, const QString &text);

// A name ending in "RTF" (any case) is a rich-text document.
bool isRichName(const QString &name);

// Fills the document from a file: rich text when the name is a rich-text name and the bytes are rich
// text, plain text otherwise. False when the file cannot be read.
bool loadPadFile(const QString &path, QTextDocument *document);
// Writes the document to the file (through a temporary file), as rich text or as plain text.
bool savePadFile(const QString &path, const QTextDocument &document, bool rich);

} // namespace vexo
