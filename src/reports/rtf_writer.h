#pragma once

#include <QByteArray>

class QTextDocument;

namespace vexo {

// The document as rich text in the Turkish code page ("\ansicpg1254"): a font table and a colour
// table of what the text uses, then each paragraph with its alignment and indents and each run with
// its font, size, colour, bold, italic and underline. Letters of the code page are written as
// "\'hh", others as "\uN?"; a form feed becomes "\page", a line break "\line", a tab "\tab".
// Properties a run does not set itself are the document's default font.
QByteArray writeRtf(const QTextDocument &document);

} // namespace vexo
