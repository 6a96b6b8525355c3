#pragma once

#include <QByteArray>
#include <QStringList>

#include <functional>

// Cuts the pedal's byte stream into reply lines. Bytes accumulate; every complete line
// (ending in "\n") comes out on its own, in arrival order, decoded as UTF-8 and without
// its line end ("\r\n" or "\n"); the unfinished tail waits for the next chunk. A line
// that is not valid UTF-8 is dropped with a diagnostic line. A tail that grows beyond
// MaxLineBytes without a line feed is dropped the same way and the rest of that line is
// skipped without being kept, so a stream of noise cannot exhaust memory. (The longest
// line of page data, 128 names of 30 characters, is about 16 kB.)
class LineFramer
{
public:
    static constexpr qsizetype MaxLineBytes = 64 * 1024;

    // Called for each line in arrival order: the line, or (with a non-empty `lost`) the
    // reason a line was dropped.
    using Sink = std::function<void(const QString &line, const QString &lost)>;

    // Adds a chunk and returns the lines it completed.
    QStringList feed(const QByteArray &chunk);
    // Adds a chunk and hands each completed line, and each line dropped, to `sink`.
    void feed(const QByteArray &chunk, const Sink &sink);
    // Drops the unfinished tail (a new connection starts afresh).
    void clear()
    {
        m_buffer.clear();
        m_skipping = false;
    }
    qsizetype pendingBytes() const { return m_buffer.size(); }
    int droppedLines() const { return m_dropped; }

private:
    void dropLong(const Sink &sink);

    QByteArray m_buffer;
    bool m_skipping = false; // inside an over-long line: drop up to its line feed
    int m_dropped = 0;
};
