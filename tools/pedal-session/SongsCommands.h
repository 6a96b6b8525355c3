#pragma once

class QCommandLineParser;

// pedal-session songs FILE [--csv] [-o OUT] [--accept-legacy]
// Writes the 128 songs of a session file as CSV, as the editor's Export Songs as CSV does.
int songsCommand(const QCommandLineParser &args);

// pedal-session import-songs FILE CSV [-o OUT] [--accept-legacy]
// Takes the songs of CSV into the session FILE, as the editor's Import Songs from CSV does,
// and writes the session as Save would. Each value refused, row passed over and column
// ignored is one line on standard error. Status 0 when every value was taken, 1 when some
// were refused (OUT is still written with the rest) or nothing could be read.
int importSongsCommand(const QCommandLineParser &args);
