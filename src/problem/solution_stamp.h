#pragma once

#include <QByteArray>

namespace vexo {

class OpenProblem;

// What a report of the problem's solution depends on, as one short value: the file, the solve
// counter, the typed columns of the lists (names, prices, fixed values, limits), the matrices, the
// stock and the parameters but the saved cost. Results written back, a save and the solution status
// leave it as it is; a solve or a change of the data gives another value. Empty while no problem is
// open.
QByteArray solutionStamp(const OpenProblem &problem);

} // namespace vexo
