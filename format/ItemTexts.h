#pragma once

#include <QStringList>

// The item texts of the fixed value lists of the Songs and Set Jacks pages. A stored
// value is the position of its item, so the positions the pedal gives a meaning to are
// fixed here: the 20 colours, the jack modes, and the preset and stack items of the
// function lists (10 and 11 for a tap, 9 and 10 for a hold). Every list stays within the
// width of its field in the session text.
namespace ItemTexts {
QStringList fractions();    // Fraction: one digit
QStringList fontSizes();    // FontSize: one digit
QStringList colourNames();  // BackgroundColour, ForegroundColour: the 20 colours
QStringList divisions();    // DivisionOne .. DivisionMidi: two digits
QStringList staticLevels(); // JackOneStatic ..
QStringList pulseCounts();  // JackOnePulses .. (the jack code is pulses + 1, 1 to 31)
// Jack modes of jack 0..3 (jack 4 has three).
QStringList jackModes(int jack);
// Functions of a footswitch tap or hold.
QStringList footFunctions(bool hold);
QStringList stopMidiClockOptions();
QStringList stopRepeatingOptions();
QStringList mimicOptions();

// The lists of the song fields by name, for the code that walks the fields (the key
// table says which list each field shows).
enum class List {
    None, // a plain number
    Fractions,
    FontSizes,
    Colours,
    Divisions,
    StaticLevels,
    PulseCounts,
    JackModes,
    TapFunctions,
    HoldFunctions,
    StopMidiClock,
    StopRepeating,
    Mimic,
    Songs,  // the session's songs, by number and name
    Stacks, // the session's stacks, by number and name
};
// The items of a fixed list (of jack 0..3 for JackModes); empty for None, Songs and Stacks,
// whose items are the session's own.
QStringList items(List list, int jack = 0);

// The red, green and blue parts (0 to 1) of a colour position; black outside 0 to 19.
struct Rgb
{
    double red, green, blue;
};
Rgb colourRgb(qint64 position);
} // namespace ItemTexts
