#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

#include <cstddef>
#include <cstdint>

// The check of the editor's receiving side, shared by its fuzz target and the regression
// tests. A connected pedal link on a fake serial device (virtual clock) gets the
// payload of a FuzzInput in chunks of the sizes given there; the serial handler frames
// them into lines and the pedal link hands each line to the reply parser. The control
// byte chooses what runs:
//   bits 0-2   the load started before the first chunk: 0 none, 1 Songs, 2 Set Jacks,
//              3 and 7 All, 4 Setlist, 5 Midi Management, 6 Global Settings
//   bit 3      the clock moves on one second after every chunk (so the time-out of a
//              chained load can strike in the middle)
// After every line: no line that the parser did not store changes the store; the store
// keeps its shape; the chained-load position stays inside its queue and an idle chain
// holds nothing. Whatever the link writes is a pedal command. At the end the clock runs
// past the time-out and the link must be idle.
class ReceiveCheck
{
public:
    static QString run(const std::uint8_t *data, std::size_t size);

    enum Control : std::uint8_t {
        NoLoad = 0,
        LoadSongs = 1,
        LoadSetJacks = 2,
        LoadAll = 3,
        LoadSetlist = 4,
        LoadMidi = 5,
        LoadGlobal = 6,
        ClockRuns = 0x08,
    };
};
