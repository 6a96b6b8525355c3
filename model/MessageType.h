#pragma once

#include <QString>
#include <QtGlobal>

// MIDI message kinds as numbered in stacks, the library and the global settings.
namespace MessageType {
enum : qint64 {
    ControlChange = 0,
    ProgramChange = 1,
    NoteOff = 2,
    NoteOn = 3,
    PolyPressure = 4,
    ChannelPressure = 5,
    PitchBend = 6,
    Count = 7
};

// "Control", "Program", ... as the library table shows them; empty for other values.
QString name(qint64 typey);

// Program Change and Channel Pressure carry a single data byte.
inline bool hasSingleDataByte(qint64 typey)
{
    return typey == ProgramChange || typey == ChannelPressure;
}
} // namespace MessageType
