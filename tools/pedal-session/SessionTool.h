#pragma once

#include <QString>

#include <cstdio>

class DataHandler;
class QCommandLineParser;

// The file commands of pedal-session: new, open, json, upload. They run exactly the code
// that the editor's Open and Save and the pedal sends run.
namespace SessionTool {

// Each takes the arguments as main() has parsed them (the positional ones counted).
int newCommand(const QCommandLineParser &args);
int openCommand(const QCommandLineParser &args);
int jsonCommand(const QCommandLineParser &args);
int uploadCommand(const QCommandLineParser &args);

// One line on standard error: "pedal-session: " and the text.
void err(const QString &text);

// Opens FILE as the editor's Open does (starting from the store given: read, apply,
// normalise). On failure prints one line naming the file, the key and the problem to
// standard error and returns false; the store is unchanged then.
bool openInto(DataHandler &store, const QString &path, bool acceptLegacy);

// Writes a result to the -o file (atomically; a FIFO or device is written into), or to
// standard output when `output` is empty. Returns the exit status: 0, or 1 after one
// line on standard error naming the system's reason.
int writeResult(const QString &text, const QString &output);

} // namespace SessionTool
