#pragma once

#include <QString>

namespace vexo {

// Folders and options that start-up fills before any command runs. Paths are native and absolute,
// without a trailing separator.
struct AppGlobals
{
    QString CPROGDIZIN;  // program folder
    QString CPROGSURUCU; // the program folder's drive; empty here, where paths have no drive letter
    QString CVERIKOK;    // user data root
    QString CVERIDIZIN;  // default folder of problem files
    bool LRMDENOKU = false; // take contents and prices from the reference matrix on load
};

AppGlobals &appGlobals();

} // namespace vexo
