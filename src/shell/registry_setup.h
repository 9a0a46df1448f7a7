#pragma once

#include <QString>

namespace vexo {

// The key under HKEY_LOCAL_MACHINE that the setup fills and start-up reads.
QString settingsRegistryKey();

// The per-user program folder used when nobody installed the program elsewhere: "Program" in the
// configuration folder. It is writable, so it can hold the settings store, the user table and the
// updater's settings.
QString defaultProgramFolder();

// Does the setup's part on a machine where it never ran, so that start-up finds an installation:
// when the settings key has no program folder (VKpath), the default program folder is created and
// recorded there together with the setup's start-up options (tip of the day and splash screen on,
// logon off); a value that is already set is never replaced. When VKpath names the default folder
// and that folder has gone, it is created again. Answers the program folder in effect, or the empty
// text when none could be recorded (start-up then reports the missing installation).
QString ensureProgramFolderRegistered();

} // namespace vexo
