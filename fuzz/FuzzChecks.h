#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

#include <cstdint>

class DataHandler;

// What must hold for any input of a fuzz target. Each check returns an empty text when the
// input passes, otherwise what went wrong. The fuzz targets abort on a failure;
// tests/fuzz_regressions_test.cpp runs the same checks over every saved input.
//
// Inputs of the byte-stream checks (receive, pedal input) decide where the stream is cut:
//   byte 0        control byte (its meaning belongs to the check)
//   byte 1        n: the number of size bytes that follow (n % 32)
//   n bytes       chunk sizes: b < 0xf0 gives b + 1 bytes, b >= 0xf0 gives (b - 0xef) KiB
//   the rest      the payload, cut into chunks of those sizes used round and round (no
//                 size bytes: one chunk)
namespace FuzzChecks {

struct Input
{
    Input(const QByteArray &raw);
    std::uint8_t control = 0;
    QList<QByteArray> chunks;
    // The inverse, for seed files.
    static QByteArray make(std::uint8_t control, const QList<std::uint8_t> &sizes, const QByteArray &payload);
};

// A session file after a control byte (bit 0: the answer to the single-line session
// question, set = "Ok"). It is refused with a reason, or it is read, applied and
// normalised, the store keeps its shape, and the keys read, written and opened in a new
// store without a question, are written the same again.
QString sessionFile(const QByteArray &raw);
enum : std::uint8_t { LegacyOk = 0x01 };

// Bytes from the pedal to a connected pedal link on a fake serial device. Control bits 0-2:
// the load started first (0 none, 1 Songs, 2 Set Jacks, 3 and 7 All, 4 Setlist, 5 Midi
// Management, 6 Global Settings); bit 3: the clock moves on one second after every chunk.
// Every key that changes was stored by a line, a line stores at most one key, the store
// keeps its shape, the chained load stays inside its queue, the link writes only pedal
// commands and is idle after the time-out.
QString receive(const QByteArray &raw);
enum : std::uint8_t { ClockRuns = 0x08 };

// Bytes from the editor to the virtual pedal. Control bit 0: the editor's framer and reply
// parser read the pedal's replies, every line of them. The pedal's session keeps its shape
// and, after its last applied upload or factory reset, does not change.
QString pedalInput(const QByteArray &raw);
enum : std::uint8_t { ReadReplies = 0x01 };

// 128 songs whose Ids are their positions + 1, a setlist of up to 128 songs of SongList,
// 128 stacks with IDs 0-127 of 10 messages each. Empty when the store has that shape.
QString shapeProblem(const DataHandler &store);

} // namespace FuzzChecks
