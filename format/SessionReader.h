#pragma once

#include "SessionCodec.h"

#include "model/Alert.h"

#include <QStringList>

// Reads session files. Reading checks the whole file and keeps what it decoded; applying
// writes it into the store. A damaged file is refused whole and changes nothing.
//
// A file cut short is damaged: when the text does not end in a line end, its last line
// must be a whole key line (a known key, "]" and a value of whole fields and full lists);
// a last line that stops inside a key's name or inside a value is refused with "… it
// looks cut short". A whole last line without the final line end still reads: files
// written by hand or by other tools may lack it.
//
// A line whose key the table does not know is passed over as before, and named in
// warnings(): one per key, with its line number.
//
// A text without any known key is the older single-line layout only when it is text.
// It counts as text unless it holds a control character other than tab, line feed,
// vertical tab, form feed and carriage return (NUL, the other C0 controls, DEL and the
// C1 controls U+0080-U+009F), or U+FFFD, which decoding leaves where the bytes were not
// valid in their encoding. Bytes that are not UTF-8 are read as single-byte Latin-1
// (older files), where the bytes 0x80-0x9F become C1 controls: random bytes, images and
// other binary files therefore hold such characters within their first few bytes,
// while a Latin-1 text with accented letters is still text. Anything else without a
// key is refused as "… is not a session file", without the older layout's question.
class SessionReader
{
public:
    static constexpr qint64 MaxFileSize = 16 * 1024 * 1024;
    // Unknown keys named one by one; the rest are counted in one last warning.
    static constexpr int MaxWarnings = 20;

    enum class Status {
        Read,         // the file was read and checked; apply() stores it
        NeedsConsent, // a file of the older layout: ask legacyQuestion(), then answerLegacy()
        Declined,     // the older layout's question was declined: nothing was read
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
    // The answer to it: with consent what was read is kept (Read); without it nothing is
    // (Declined), and applying changes nothing.
    Status answerLegacy(bool accepted);

    // The text of a file's bytes as readFile sees it: by its byte-order mark, else UTF-8,
    // else (older files) single-byte Latin-1.
    static QString decodeBytes(const QByteArray &bytes);

    // Writes what was read into the store (only the keys present).
    void apply(DataHandler &store) const;

    // What went wrong, naming the file (when read from one), the key and the problem.
    QString problem() const { return m_problem; }
    // What was passed over in a text that was read: "line 7: unknown key Tempoz, ignored".
    QStringList warnings() const { return m_warnings; }
    QString path() const { return m_path; }
    bool wasLegacy() const { return m_legacy; }
    // Keys found in the text that was read.
    std::vector<int> presentKeys() const;

private:
    Status fail(const QString &key, const QString &what);
    Status readLegacy(const QString &line, const DataHandler &store);
    // Decodes the last line of each key found (`lastLine`, -1 for none) and the library;
    // `openKey` is the key of a last line that the text stops inside of, or -1.
    Status readKeys(const QList<QStringView> &lines, const std::array<qsizetype, SessionKeys::Count> &lastLine,
                    int openKey, const DataHandler &store);

    std::vector<DecodedKey> m_keys; // only present keys
    std::vector<MidiMessage> m_library;
    QStringList m_warnings;
    bool m_hasLibrary = false;
    bool m_legacy = false;
    bool m_legacyAccepted = false;
    bool m_awaitingConsent = false;
    QString m_problem;
    QString m_path;
};
