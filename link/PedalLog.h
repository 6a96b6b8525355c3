#pragma once

#include <QDateTime>
#include <QString>

#include <deque>

// One line of the pedal log: what went to the pedal or came from it, what happened to the
// port, and the alerts the user saw. The window's Pedal Log and `pedal-session --log`
// write the same lines (format()).
struct PedalLogEntry
{
    enum class Kind {
        Sent,     // a command or other text written to the pedal
        Upload,   // a piece of an upload: its size and offset, not its text
        Received, // a reply line from the pedal (abbreviated)
        Port,     // the port opened, closed, lost, touched; the flashing tool
        Error,    // a port error, a reply line that could not be read
        Transfer, // a send or load started, finished, cancelled or interrupted
        Alert,    // an alert shown to the user
    };

    QDateTime time;
    Kind kind = Kind::Sent;
    QString text;

    static QString kindName(Kind kind);
    // "2024-05-01 14:03:07.412  received  Tempos]120095…": local time, kind, text.
    QString format() const;
    // The text with line ends and other control characters shown as \r, \n, \xNN, and
    // cut to `limit` characters with the full length named ("… (3840 characters)").
    static QString visible(const QString &text, int limit = 100);
    // The entry of an alert shown now: its message and informative text.
    static PedalLogEntry alert(const QString &message, const QString &informative);
};

// The last entries of the pedal log, oldest first.
class PedalLog
{
public:
    static constexpr int Limit = 10000;

    void append(const PedalLogEntry &entry);
    void clear() { m_entries.clear(); }
    const std::deque<PedalLogEntry> &entries() const { return m_entries; }
    int size() const { return int(m_entries.size()); }
    // Every entry, one formatted line each, ending in "\n".
    QString text() const;

private:
    std::deque<PedalLogEntry> m_entries;
};
