#pragma once

#include <QByteArray>
#include <QString>

#include <vector>

// Frames the byte stream that the editor writes to the pedal: commands "]N;", the upload
// text that follows "]3;" up to its closing ";", and the fields of the two previews that
// follow "]1;" and "]2;". Bytes may arrive split or grouped anywhere; the reader keeps
// what it has not finished. It never interprets a command's meaning: that is the
// pedal's business.
class PedalInputReader
{
public:
    // An upload larger than this is refused (and skipped up to its end).
    static constexpr qint64 MaxUploadBytes = 4 * 1024 * 1024;
    // The fields of a name preview: song number (3), the display-name-only setting (1),
    // font size (1), two colours (2 each) and the name (30 code points).
    static constexpr int NamePreviewLength = 39;

    struct Event
    {
        enum Kind {
            Command,       // "]N;": code
            UploadPiece,   // upload text received by one feed(): bytes, offset
            Upload,        // the closing ";" of an upload arrived: bytes (the whole text)
            UploadRefused, // an upload was broken off, abandoned for a new "]3;" or too large: problem
            NamePreview,   // the fields after "]1;": bytes (without the closing ";")
            StackPreview,  // the fields after "]2;": bytes (without the closing ";")
            Garbage,       // bytes that are not part of any command: bytes, problem
        };
        explicit Event(Kind k) : kind(k) {}
        Kind kind;
        int code = -1;
        QByteArray bytes;
        qint64 offset = 0;
        QString problem;
    };

    // Takes the next bytes from the editor and returns what they completed, in order.
    std::vector<Event> feed(const QByteArray &bytes);

private:
    enum class State { Idle, Code, Upload, NamePreview, StackPreview };

    void step(char c, std::vector<Event> &out);
    // One byte in each state.
    void stepIdle(char c, std::vector<Event> &out);
    void stepCode(char c, std::vector<Event> &out);
    void stepUpload(char c, std::vector<Event> &out);
    void stepNamePreview(char c, std::vector<Event> &out);
    void stepStackPreview(char c, std::vector<Event> &out);
    void startCommand(std::vector<Event> &out);
    void flushGarbage(std::vector<Event> &out, const QString &problem);
    void flushPiece(std::vector<Event> &out);
    void finishCode(std::vector<Event> &out);
    void abandonBody(std::vector<Event> &out, const QString &problem);

    State m_state = State::Idle;
    QByteArray m_code;    // digits after "]"
    QByteArray m_body;    // upload text or preview fields
    QByteArray m_garbage; // bytes outside any command, reported when the next one starts
    QByteArray m_piece;   // upload text received in the current feed()
    QByteArray m_tail;    // the last two bytes of the upload
    qint64 m_pieceOffset = 0;
    qint64 m_uploadSize = 0;
    bool m_uploadOverflow = false;
    bool m_lineStart = true;
    int m_codePoints = 0; // of a name preview's fields
};
