#pragma once

class QCommandLineParser;

// pedal-session check FILE [--json] [--accept-legacy]
// Opens the session file as the editor's Open does and prints what Check Session finds,
// one line each ("problem: ..." or "note: ..."), or a JSON array. Exit status: 0 nothing
// found, 1 findings, 2 trouble (a file that cannot be read, a usage error).
int checkCommand(const QCommandLineParser &args);
