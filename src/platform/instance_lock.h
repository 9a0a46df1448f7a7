#pragma once

#include <QString>

namespace vexo {

// Stands in for a named mutex: the first caller of a name in any process takes a lock file in the
// runtime folder and holds it for the life of the process. Answers true when the name is already held,
// by another process or by an earlier call in this one.
bool isNameHeld(const QString &name);
// Gives up every name this process holds (before its runtime folder goes away).
void releaseHeldNames();

} // namespace vexo
