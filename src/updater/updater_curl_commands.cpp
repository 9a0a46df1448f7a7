// Kept apart from updater_commands.cpp, so that programs testing the window with their own sessions
// do not link libcurl's.
#include "updater/updater_commands.h"

namespace vexo {

void installUpdaterCommands()
{
    installUpdaterCommands([](bool http, const QString &agent, InetSession::StatusHook status) {
        return makeInetSession(http, agent, std::move(status));
    });
}

} // namespace vexo
