#pragma once

#include <QString>

namespace vexo {

// Names the program gives in capitals ("MATNRC6.DBF") are created as written; when opening, an
// existing file whose name differs only in letter case is accepted. Answers the existing file's
// path, or the path unchanged when no such file exists.
QString existingPathIgnoringCase(const QString &path);

} // namespace vexo
