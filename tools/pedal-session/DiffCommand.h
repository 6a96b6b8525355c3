#pragma once

class QCommandLineParser;

// pedal-session diff A B [--json] [--accept-legacy]
// Opens both session files as the editor's Open does and prints one line per change
// from A to B (or a JSON array). Exit status as diff(1): 0 the sessions are the same,
// 1 they differ, 2 trouble (a file that cannot be read, a usage error).
int diffCommand(const QCommandLineParser &args);
