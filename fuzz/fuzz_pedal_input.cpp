// libFuzzer target: any bytes from the editor to the virtual pedal, split anywhere (see PedalInputCheck).
#include "FuzzInput.h"
#include "PedalInputCheck.h"

extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    FuzzInput::quietDiagnostics();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    FuzzInput::abortOnFailure("pedal input", PedalInputCheck::run(data, size));
    return 0;
}
