#include "shell/shell_globals.h"

namespace vexo {

ShellGlobals &shellGlobals()
{
    static ShellGlobals globals;
    return globals;
}

} // namespace vexo
