#pragma once

#include <QByteArray>

class QTextDocument;

namespace vexo {

// True when the bytes begin, after blanks and line ends, with "{\rtf": a rich-text document. A pad
// document named ".RTF" that does not is plain text.
bool isRtf(const QByteArray &bytes);

// Reads a rich-text document into `document` (cleared first): its text with fonts, sizes, colours,
// bold, italic, underline, paragraph alignment and indents. "\page" becomes a form feed, "\line" a
// line break, table cells tab-separated lines. Pictures, objects, headers, style sheets and every
// group the reader does not know are skipped. Characters given as "\'hh" are read in the code page of
// their font's character set, else the document's ("\ansicpg"). False, with the document left empty,
// when the bytes are not rich text.
bool readRtf(const QByteArray &bytes, QTextDocument *document);

} // namespace vexo
