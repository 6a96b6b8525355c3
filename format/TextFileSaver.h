#pragma once

#include <QString>

// Saves a text as a UTF-8 file. The write is atomic: a failed save leaves any old file
// whole and reports the system's error text.
class TextFileSaver
{
public:
    // Writes `text` to `path` atomically. Returns an empty text on success, otherwise the
    // system's description of the error. An existing path that is not a regular file (a
    // FIFO, a character device) is written into, not replaced.
    static QString writeAtomically(const QString &path, const QString &text);
    // The same for bytes of any kind (a PDF).
    static QString writeBytesAtomically(const QString &path, const QByteArray &bytes);

    // The reason to give for a failed file operation: `qtText` (the device's
    // errorString()), unless that is only the generic "Unknown error" that Qt gives for
    // some failed writes and commits (a full disk, a file size limit); then the system's
    // text for the error number `code` that the failing call left ("No space left on
    // device"), when there is one.
    static QString reason(const QString &qtText, int code);
};
