#pragma once

#include <QStringList>

#include <cstdio>

class DataHandler;

// The file commands of pedal-session: new, open, json, upload. They run exactly the code
// that the editor's Open and Save and the pedal sends run.
namespace SessionTool {

int run(const QString &command, const QStringList &args);
void printUsage(std::FILE *to);

// Opens FILE as the editor's Open does (starting from the store given: read, apply,
// normalise). On failure prints one line naming the file, the key and the problem to
// standard error and returns false; the store is unchanged then.
bool openInto(DataHandler &store, const QString &path, bool acceptLegacy);

// Writes a result to the -o file (atomically; a FIFO or device is written into), or to
// standard output when `output` is empty. Returns the exit status: 0, or 1 after one
// line on standard error naming the system's reason.
int writeResult(const QString &text, const QString &output);

} // namespace SessionTool
