#pragma once

#include "SessionCodec.h"

class Dialogs;

// Reads session files. Reading checks the whole file and keeps what it decoded; applying
// writes it into the store. A damaged file is refused whole and changes nothing.
class SessionReader
{
public:
    static constexpr qint64 MaxFileSize = 16 * 1024 * 1024;

    enum class Status {
        Read,      // the file was read and checked; apply() stores it
        Cancelled, // the user cancelled the open panel
        Failed,    // the file could not be read or is damaged: see problem()
    };

    // Shows the open panel "Open Session" and reads the chosen file.
    Status chooseAndRead(Dialogs &dialogs, const DataHandler &store);
    // Reads a file (up to 16 MiB, UTF-8).
    Status readFile(const QString &path, Dialogs &dialogs, const DataHandler &store);
    // Reads session text; lines end in "\r\n", "\n" or "\r". An empty text is refused. A
    // text without any key is the legacy single-line layout: when it reads as one, it is
    // kept after the user agrees through `dialogs`; otherwise it is refused unasked.
    Status readText(const QString &text, Dialogs &dialogs, const DataHandler &store);

    // The text of a file's bytes as readFile sees it: by its byte-order mark, else UTF-8,
    // else (older files) single-byte Latin-1.
    static QString decodeBytes(const QByteArray &bytes);

    // Writes what was read into the store (only the keys present).
    void apply(DataHandler &store) const;

    // What went wrong, naming the file (when read from one), the key and the problem.
    QString problem() const { return m_problem; }
    QString path() const { return m_path; }
    bool wasLegacy() const { return m_legacy; }
    // Keys found in the text that was read.
    std::vector<int> presentKeys() const;

private:
    Status fail(const QString &key, const QString &what);
    Status readLegacy(const QString &line, Dialogs &dialogs, const DataHandler &store);

    std::vector<DecodedKey> m_keys; // only present keys
    std::vector<MidiMessage> m_library;
    bool m_hasLibrary = false;
    bool m_legacy = false;
    QString m_problem;
    QString m_path;
};
