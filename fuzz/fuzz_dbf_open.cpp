// Arbitrary bytes through the table layer's open-and-read path: the header check, every record and
// field, both deleted settings, and the index reader.
#include "platform/dbf_probe.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    vexo::probeTableBytes(QByteArray(reinterpret_cast<const char *>(data), qsizetype(size)));
    return 0;
}
