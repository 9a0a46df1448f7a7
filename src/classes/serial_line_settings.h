#pragma once

namespace vexo::detail {

// The line settings a terminal device holds now, read from the kernel: the output rate in bits per
// second (also a rate outside the standard table), the data bits (5 to 8), the parity (0 none, 1 odd,
// 2 even, 3 mark, 4 space) and the stop bits (0 one, 2 two). False when the device gives none.
bool readLineSettings(int fd, unsigned &baudRate, int &byteSize, int &parity, int &stopBits);

} // namespace vexo::detail
