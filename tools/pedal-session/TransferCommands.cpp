#include "TransferCommands.h"

#include <cstdio>

int sendCommand(const QStringList &)
{
    std::fputs("pedal-session: send is not available in this build\n", stderr);
    return 2;
}

int receiveCommand(const QStringList &)
{
    std::fputs("pedal-session: receive is not available in this build\n", stderr);
    return 2;
}
