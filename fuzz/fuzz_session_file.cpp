// libFuzzer target: any bytes as a session file (see SessionFileCheck).
#include "FuzzInput.h"
#include "SessionFileCheck.h"

extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    FuzzInput::quietDiagnostics();
    FuzzInput::abortOnFailure("session file self", SessionFileCheck::selfTest());
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    FuzzInput::abortOnFailure("session file", SessionFileCheck::run(data, size));
    return 0;
}
