#pragma once

#include <QByteArray>

namespace vexo {

// Opens the bytes as a table file (read-only, from an anonymous in-memory file), walks every record in
// both deleted settings and reads every field; then reads the same bytes as an index file. Returns the
// number of records read (-1 when the table was refused). It exists so that arbitrary bytes can be
// pushed through the whole open-and-read path, by the fuzz target and by the tests that replay its
// corpus.
qint64 probeTableBytes(const QByteArray &bytes);

} // namespace vexo
