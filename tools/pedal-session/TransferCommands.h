#pragma once

#include <QStringList>

// The headless transfers of pedal-session, on the editor's own link code (same pacing,
// same chained loads, same reply parser). Both return the exit status: 0 done, 1 failed
// (the port could not be opened, the pedal did not answer, the file could not be read
// or written; one line on standard error says which), 2 usage error.
//
// pedal-session send FILE --port DEVICE --page PAGE [--accept-legacy]
// pedal-session send FILE --port DEVICE --changes-from BASE [--accept-legacy]
//   (only the keys whose values differ from BASE, the session taken to be on the pedal)
int sendCommand(const QStringList &args);
// pedal-session receive --port DEVICE --page PAGE [--base FILE] [-o OUT] [--timeout S]
//                       [--accept-legacy]
int receiveCommand(const QStringList &args);
