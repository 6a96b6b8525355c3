// libFuzzer target: any bytes from the pedal, split anywhere (see ReceiveCheck).
#include "FuzzInput.h"
#include "ReceiveCheck.h"

extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    FuzzInput::quietDiagnostics();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    FuzzInput::abortOnFailure("receive", ReceiveCheck::run(data, size));
    return 0;
}
