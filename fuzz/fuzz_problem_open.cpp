// Arbitrary bytes through the whole road of a problem file: opening with its layout check, loading
// into the problem's lists with their refusals, and an automatic solve of whatever loaded.
#include "solver/problem_probe.h"

#include <QCoreApplication>

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerInitialize(int *argc, char ***argv)
{
    static QCoreApplication app(*argc, *argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    vexo::probeProblemBytes(QByteArray(reinterpret_cast<const char *>(data), qsizetype(size)));
    return 0;
}
