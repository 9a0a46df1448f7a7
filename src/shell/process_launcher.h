#pragma once

#include "platform/process_launcher.h"

#include <QString>

namespace vexo {

// WordPad's place under "ProgramFiles" or "ProgramFiles(x86)"; never there on Linux, where the
// functions answer false, RUNWORDPAD after its message.
bool HASWORDPAD();
bool RUNWORDPAD(const QString &fileName);

// The name of the operating system: read as Windows names itself when the registry holds Windows'
// version values, otherwise the running system's own name and kernel version.
QString GETWINDOWSNAMEVO();
QString GETWIN10OR11();

// The naming rules for Windows' version values, for the two queries above.
QString windowsNameFromVersion(const QString &version, const QString &build, const QString &displayVersion);
QString windows10Or11FromBuild(const QString &build);

} // namespace vexo
