// libFuzzer target: any bytes as a session file (see SessionFileCheck).
#include "SessionFileCheck.h"

#include "model/Diagnostics.h"

#include <cstdio>
#include <cstdlib>

extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    Diagnostics::setSink([](const QString &) {});
    const QString failure = SessionFileCheck::selfTest();
    if (!failure.isEmpty()) {
        std::fprintf(stderr, "%s\n", failure.toLocal8Bit().constData());
        std::abort();
    }
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const QString failure = SessionFileCheck::run(data, size);
    if (!failure.isEmpty()) {
        std::fprintf(stderr, "session file check failed: %s\n", failure.toLocal8Bit().constData());
        std::abort();
    }
    return 0;
}
