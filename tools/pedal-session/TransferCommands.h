#pragma once

class QCommandLineParser;

// The headless transfers of pedal-session, on the editor's own link code (same pacing,
// same chained loads, same reply parser). Both return the exit status: 0 done, 1 failed
// (the port could not be opened, the pedal did not answer, the file could not be read
// or written; one line on standard error says which), 2 usage error.
//
// --log FILE writes the pedal log (the lines of the editor's Pedal Log) to FILE ("-":
// standard error); the link's diagnostic lines go there too, not to standard error.
//
// pedal-session send FILE --port DEVICE --page PAGE [--timeout S] [--accept-legacy] [--log FILE]
// pedal-session send FILE --port DEVICE --changes-from BASE [--timeout S] [--accept-legacy]
//                    [--log FILE]
//   (only the keys whose values differ from BASE, the session taken to be on the pedal)
int sendCommand(const QCommandLineParser &args);
// pedal-session receive --port DEVICE --page PAGE [--base FILE] [-o OUT] [--timeout S]
//                       [--accept-legacy] [--log FILE]
// The session is written as Save writes it (normalised); one line says what that changed.
int receiveCommand(const QCommandLineParser &args);
// pedal-session flash IMAGE --port DEVICE [--log FILE]
// The firmware update of the editor without a window: the image is checked before the
// pedal is touched; the flashing tool's output goes to standard error; 0 only when the
// tool reports success.
int flashCommand(const QCommandLineParser &args);
