#include "problem/app_globals.h"

namespace vexo {

AppGlobals &appGlobals()
{
    static AppGlobals globals;
    return globals;
}

} // namespace vexo
