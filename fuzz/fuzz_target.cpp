// A libFuzzer target: PEDAL_FUZZ_CHECK names the check of FuzzChecks that every input goes
// through; a failed check ends the run with what went wrong.
#include "FuzzChecks.h"

#include "model/Diagnostics.h"

#include <cstdio>
#include <cstdlib>

extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    Diagnostics::setSink([](const QString &) {});
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const QString failure =
        FuzzChecks::PEDAL_FUZZ_CHECK(QByteArray::fromRawData(reinterpret_cast<const char *>(data), qsizetype(size)));
    if (!failure.isEmpty()) {
        std::fprintf(stderr, "check failed: %s\n", failure.toLocal8Bit().constData());
        std::abort();
    }
    return 0;
}
