#pragma once

#include <QString>

namespace vexo {

// The Windows special-folder numbers the program asks for, answered from the desktop's folders.
enum SpecialFolder : int {
    CSIDL_DESKTOP = 0x00,
    CSIDL_PERSONAL = 0x05,
    CSIDL_APPDATA = 0x1A,
    CSIDL_LOCAL_APPDATA = 0x1C,
    CSIDL_COMMON_APPDATA = 0x23,
    CSIDL_WINDOWS = 0x24,
    CSIDL_SYSTEM = 0x25,
    CSIDL_PROGRAM_FILES = 0x26,
    CSIDL_MYPICTURES = 0x27,
    CSIDL_PROFILE = 0x28,
};

// The folder's absolute path without a trailing separator, or an empty text when there is none here.
QString specialFolderPath(int csidl);
QString documentsFolder();
// Where the program keeps its per-user configuration (registry file, program folder).
QString configFolder();

} // namespace vexo
