#pragma once

#include <QString>

#include <functional>

class Dialogs;

// Saves a text as a UTF-8 `txt` file through the save panel. The write is atomic: a
// failed save leaves any old file whole, is reported on the diagnostic output and shown
// in an alert with the system's error text.
class TextFileSaver
{
public:
    // `done` (optional) is called when the panel completes: with the path written, or an
    // empty path when the user cancelled or the write failed.
    static void saveThroughPanel(Dialogs &dialogs, const QString &text,
                                 std::function<void(const QString &path)> done = nullptr);

    // Writes `text` to `path` atomically. Returns an empty text on success, otherwise the
    // system's description of the error. An existing path that is not a regular file (a
    // FIFO, a character device) is written into, not replaced.
    static QString writeAtomically(const QString &path, const QString &text);
};
