#pragma once

#include <QStringList>

// pedal-session send FILE --port DEVICE --page PAGE
int sendCommand(const QStringList &args);
// pedal-session receive --port DEVICE --page PAGE [--base FILE] [-o OUT]
int receiveCommand(const QStringList &args);
