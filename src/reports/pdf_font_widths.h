#pragma once

#include <QByteArray>

#include <array>

namespace vexo {

// Widths of the 256 codes of a font in thousandths of the font size.
using FontWidthTable = std::array<quint16, 256>;

// Applies the entries of a font width file to the table in file order (a later entry overrides an
// earlier one). On a malformed entry it stops, leaves the widths applied so far and returns false
// with the entry's text in *badEntry.
bool applyFontWidths(const QByteArray &bytes, FontWidthTable &table, QByteArray *badEntry);

} // namespace vexo
