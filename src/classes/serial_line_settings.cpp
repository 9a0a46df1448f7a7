// Kept apart from every other header: the kernel's termios2 record clashes with the C library's
// <termios.h>, which Qt's headers may bring in.
#include "classes/serial_line_settings.h"

#include <asm/termbits.h>
#include <sys/ioctl.h>

namespace vexo::detail {

bool readLineSettings(int fd, unsigned &baudRate, int &byteSize, int &parity, int &stopBits)
{
    struct termios2 t {};
    if (fd < 0 || ::ioctl(fd, TCGETS2, &t) != 0)
        return false;
    baudRate = t.c_ospeed;
    switch (t.c_cflag & CSIZE) {
    case CS5: byteSize = 5; break;
    case CS6: byteSize = 6; break;
    case CS7: byteSize = 7; break;
    default: byteSize = 8; break;
    }
    if (!(t.c_cflag & PARENB))
        parity = 0;
    else if (t.c_cflag & CMSPAR)
        parity = (t.c_cflag & PARODD) ? 3 : 4;
    else
        parity = (t.c_cflag & PARODD) ? 1 : 2;
    stopBits = (t.c_cflag & CSTOPB) ? 2 : 0;
    return true;
}

} // namespace vexo::detail
