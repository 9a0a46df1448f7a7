#pragma once

#include <QByteArray>

namespace vexo {

// Number text for the PDF file: fixed-point with the given places, then trailing zeros and a trailing
// point removed ("12.5", "100", "0").
QByteArray FMTREAL_(double value, unsigned decimals);

// The text made safe inside a PDF literal string: "\" → "\\", ")" → "\)", "(" → "\(", in that order.
QByteArray pdfEscape(const QByteArray &text);

// Rounds half away from zero to the given places; the writer keeps its page sizes, margins and font
// sizes rounded this way.
double pdfRound(double value, int places);

} // namespace vexo
