#pragma once

#include "SessionCodec.h"

#include "model/Alert.h"

// Reads session files. Reading checks the whole file and keeps what it decoded; applying
// writes it into the store. A damaged file is refused whole and changes nothing.
class SessionReader
{
public:
    static constexpr qint64 MaxFileSize = 16 * 1024 * 1024;

    enum class Status {
        Read,         // the file was read and checked; apply() stores it
        NeedsConsent, // a file of the older layout: ask legacyQuestion(), then answerLegacy()
        Failed,       // the file could not be read or is damaged: see problem()
    };

    // Reads a file (up to 16 MiB, UTF-8).
    Status readFile(const QString &path, const DataHandler &store);
    // Reads session text; lines end in "\r\n", "\n" or "\r". An empty text is refused. A
    // text without any key is the legacy single-line layout: when it reads as one, it
    // needs the user's consent (unless given beforehand); otherwise it is refused unasked.
    Status readText(const QString &text, const DataHandler &store);

    // Consent given beforehand: a file of the older layout is read without asking.
    void setLegacyAccepted(bool accepted) { m_legacyAccepted = accepted; }
    // The question to ask after NeedsConsent.
    Alert legacyQuestion() const;
    // The answer to it: with consent what was read is kept; without it nothing is, and
    // applying changes nothing. Either way the read counts as done.
    Status answerLegacy(bool accepted);

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
    Status readLegacy(const QString &line, const DataHandler &store);

    std::vector<DecodedKey> m_keys; // only present keys
    std::vector<MidiMessage> m_library;
    bool m_hasLibrary = false;
    bool m_legacy = false;
    bool m_legacyAccepted = false;
    bool m_awaitingConsent = false;
    QString m_problem;
    QString m_path;
};
