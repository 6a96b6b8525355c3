#pragma once

class QCommandLineParser;

// pedal-session watch FILE --port DEVICE [--base BASE] [--timeout S] [--log FILE]
//                     [--accept-legacy]
//
// Keeps the pedal holding FILE as it is saved. It starts with a send of everything, or,
// with --base, takes BASE as what the pedal holds and sends only what FILE differs in.
// Then, each time FILE is saved (written in place, or replaced by a rename as the editor
// and most text editors save), it reads FILE once the saves have been quiet for a moment
// and sends the keys whose values differ from what the pedal now holds, in one upload.
// Standard output gets one line per upload ("sent 1 key (Tempos) in 0.3 s"), or "no
// changes to send" for a save that changes nothing the pedal keeps; a save that leaves
// the file's bytes as they were prints nothing. A save that does not read is told in one
// line on standard error and skipped. A save during an upload goes in the next upload,
// straight after it.
//
// It runs until SIGINT, SIGTERM or SIGHUP (status 128 + the signal's number; an upload
// under way is ended as send ends it), or until the pedal goes away or an upload does not
// go out (status 1, one line on standard error).
int watchCommand(const QCommandLineParser &args);
