#pragma once

#include <QString>

namespace vexo {

// The desktop's calculator: the first of the usual calculator programs found on PATH, started
// without waiting. The path of the program started, or an empty text when none was found or it
// did not start; a failure shows nothing.
QString launchCalculator();

} // namespace vexo
