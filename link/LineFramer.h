#pragma once

#include <QByteArray>
#include <QStringList>

// Cuts the pedal's byte stream into reply lines. Bytes accumulate; every complete line
// (ending in "\n") comes out on its own, in arrival order, decoded as UTF-8 and without
// its line end ("\r\n" or "\n"); the unfinished tail waits for the next chunk. A line
// that is not valid UTF-8 is dropped with a diagnostic line. A tail that grows beyond
// MaxLineBytes without a line feed is dropped the same way, so a stream of noise cannot
// exhaust memory.
class LineFramer
{
public:
    static constexpr qsizetype MaxLineBytes = 1024 * 1024;

    // Adds a chunk and returns the lines it completed.
    QStringList feed(const QByteArray &chunk);
    // Drops the unfinished tail (a new connection starts afresh).
    void clear() { m_buffer.clear(); m_skipping = false; }
    qsizetype pendingBytes() const { return m_buffer.size(); }
    int droppedLines() const { return m_dropped; }

private:
    QByteArray m_buffer;
    bool m_skipping = false; // inside an over-long line: drop up to its line feed
    int m_dropped = 0;
};
