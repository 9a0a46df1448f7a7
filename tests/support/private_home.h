#pragma once

#include <QString>

namespace vexo::test {

// Points HOME and the XDG folders (settings, data, cache, runtime) into a new private folder, so that
// no test reads or writes the user's files, Qt's own settings (QtProject.conf: the file choosers'
// history and last folders) among them. The folder is removed when the process that made it exits;
// a second call answers the same folder.
QString usePrivateHome();

} // namespace vexo::test
