// libFuzzer target: any bytes from the editor to the virtual pedal, split anywhere (see PedalInputCheck).
#include "PedalInputCheck.h"

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
    const QString failure = PedalInputCheck::run(data, size);
    if (!failure.isEmpty()) {
        std::fprintf(stderr, "pedal input check failed: %s\n", failure.toLocal8Bit().constData());
        std::abort();
    }
    return 0;
}
