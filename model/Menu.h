#pragma once

#include <QString>
#include <QtGlobal>

#include <array>

// How the position p of the chosen item in a field's value list relates to the stored value v.
enum class MenuRule {
    Same,        // v = p
    PlusOne,     // v = p + 1
    PlusTwo,     // v = p + 2
    PlusThirty,  // v = p + 30
    MinusTwenty, // v = p - 20
    Delay,       // v = 60 + 10 p
};

// The kind of list that edits a field on the Global Settings page: its items and how many.
enum class MenuList {
    Flag,              // "Off", "On"
    Channel,           // MIDI channels "1" .. "16"
    Threshold,         // "1" .. "10"
    Polarity,          // "Positive", "Negative"
    Offset,            // "-20" .. "0" .. "+20"
    MessageType,       // the seven message kinds in their numbering
    Rotation,          // display rotation in degrees
    MonitorChannel,    // "Off", then channels "1" .. "16"
    RepeatingDivision, // the tap divisions of the songs
    ClickLength,       // "30" .. "255"
    StackDelay,        // "0 ms", "70 ms" .. "1000 ms"
    PulseAmount,       // "2" .. "30", "Infinite"
    RepeatAmount,      // "0" .. "30", "Infinite"
    IncomingNumber,    // "0" .. "127", "Any"
    StackName,         // the names of the 128 stacks
};
constexpr int MenuListCount = int(MenuList::StackName) + 1;

// The titled sections of the Global Settings page, in the order the page shows them.
enum class MenuSection {
    ClockAndThru,
    ChannelsAndThresholds,
    SongsAndTempo,
    Display,
    ClickOutputs, // a table: a row per output, columns Length, Polarity, Tempo offset
    RepeatingStack,
    ChannelConverters, // a table: a row per converter
    IncomingMessages,  // a table: a row per function, columns Type, Channel, Message, Value
    StackDelay,
};
constexpr int MenuSectionCount = int(MenuSection::StackDelay) + 1;

// The four fields of one incoming message: the function it triggers on the pedal.
// clang-format off
#define PEDAL_MENU_INCOMING(X, msg, controller, label, what)                                                    \
    X(Incoming##msg##Type, 0, Same, MessageType, IncomingMessages, label, QT_TRANSLATE_NOOP("Menu", "Type"),                               \
      QT_TRANSLATE_NOOP("Menu", "Type of the MIDI message that %1."), what)                                                                \
    X(Incoming##msg##Channel, 3, PlusOne, Channel, IncomingMessages, label, QT_TRANSLATE_NOOP("Menu", "Channel"),                          \
      QT_TRANSLATE_NOOP("Menu", "MIDI channel of the message that %1."), what)                                                             \
    X(Incoming##msg##Message, controller, Same, IncomingNumber, IncomingMessages, label, QT_TRANSLATE_NOOP("Menu", "Message"),             \
      QT_TRANSLATE_NOOP("Menu", "First data byte (controller or note) of the message that %1; Any takes every number."), what)             \
    X(Incoming##msg##Value, 128, Same, IncomingNumber, IncomingMessages, label, QT_TRANSLATE_NOOP("Menu", "Value"),                        \
      QT_TRANSLATE_NOOP("Menu", "Second data byte of the message that %1; Any takes every value."), what)
// clang-format on

// The 104 global settings in declaration order: name, factory value, position rule, and how
// the Global Settings page shows it: kind of list, section, label (the row of a table
// section), column title (table sections only), a one-line description for its tooltip and
// the subject its %1 stands for (the incoming messages' rows; empty elsewhere).
// clang-format off
#define PEDAL_MENU_FIELDS(X)                                                                                    \
    X(SendMidiClock, 1, Same, Flag, ClockAndThru, QT_TRANSLATE_NOOP("Menu", "Send MIDI clock"), "",                                        \
      QT_TRANSLATE_NOOP("Menu", "Sends MIDI clock at the current tempo from the MIDI output."), "")                                            \
    X(ReceiveMidiClock, 1, Same, Flag, ClockAndThru, QT_TRANSLATE_NOOP("Menu", "Follow incoming MIDI clock"), "",                          \
      QT_TRANSLATE_NOOP("Menu", "Takes the tempo from MIDI clock arriving at the MIDI input."), "")                                            \
    X(SendProgramChanges, 1, Same, Flag, ClockAndThru, QT_TRANSLATE_NOOP("Menu", "Send program changes"), "",                              \
      QT_TRANSLATE_NOOP("Menu", "Sends the song's program and bank change when a song is chosen."), "")                                        \
    X(MidiThru, 1, Same, Flag, ClockAndThru, QT_TRANSLATE_NOOP("Menu", "MIDI thru"), "",                                                   \
      QT_TRANSLATE_NOOP("Menu", "Passes what arrives at the MIDI input on to the MIDI output."), "")                                           \
    X(DisplayInMillis, 0, Same, Flag, Display, QT_TRANSLATE_NOOP("Menu", "Tempo in milliseconds"), "",                                     \
      QT_TRANSLATE_NOOP("Menu", "Shows the tempo as milliseconds per beat instead of beats per minute."), "")                                  \
    X(RecallOnce, 0, Same, Flag, SongsAndTempo, QT_TRANSLATE_NOOP("Menu", "Recall once"), "",                                              \
      QT_TRANSLATE_NOOP("Menu", "Recalls a song's stored settings only the first time the song is chosen."), "")                               \
    X(RecallSetlist, 0, Same, Flag, SongsAndTempo, QT_TRANSLATE_NOOP("Menu", "Recall the setlist"), "",                                    \
      QT_TRANSLATE_NOOP("Menu", "Steps through the setlist instead of all 128 songs."), "")                                                    \
    X(DiamondMod, 0, Same, Flag, SongsAndTempo, QT_TRANSLATE_NOOP("Menu", "Diamond mod"), "",                                              \
      QT_TRANSLATE_NOOP("Menu", "Turns on the diamond modification of the pedal's tap handling."), "")                                         \
    X(GlobalTempo, 0, Same, Flag, SongsAndTempo, QT_TRANSLATE_NOOP("Menu", "One tempo for all songs"), "",                                 \
      QT_TRANSLATE_NOOP("Menu", "Keeps the current tempo when another song is chosen instead of taking the song's tempo."), "")                \
    X(StopMidiClockThru, 0, Same, Flag, ClockAndThru, QT_TRANSLATE_NOOP("Menu", "Block clock on MIDI thru"), "",                           \
      QT_TRANSLATE_NOOP("Menu", "Keeps incoming MIDI clock from being passed on through MIDI thru."), "")                                      \
    X(DisplayNameOnly, 0, Same, Flag, Display, QT_TRANSLATE_NOOP("Menu", "Song name only"), "",                                            \
      QT_TRANSLATE_NOOP("Menu", "Shows only the song's name on the display."), "")                                                             \
    X(MetroEnabled, 0, Same, Flag, SongsAndTempo, QT_TRANSLATE_NOOP("Menu", "Metronome"), "",                                              \
      QT_TRANSLATE_NOOP("Menu", "Turns the pedal's metronome on."), "")                                                                        \
    X(MidiChannelIn, 1, PlusOne, Channel, ChannelsAndThresholds, QT_TRANSLATE_NOOP("Menu", "MIDI input channel"), "",                      \
      QT_TRANSLATE_NOOP("Menu", "The channel on which the pedal listens to MIDI messages."), "")                                               \
    X(MidiChannelOut, 1, PlusOne, Channel, ChannelsAndThresholds, QT_TRANSLATE_NOOP("Menu", "MIDI output channel"), "",                    \
      QT_TRANSLATE_NOOP("Menu", "The channel on which the pedal sends its program changes and MIDI messages."), "")                            \
    X(MidiThreshold, 1, PlusOne, Threshold, ChannelsAndThresholds, QT_TRANSLATE_NOOP("Menu", "MIDI threshold"), "",                        \
      QT_TRANSLATE_NOOP("Menu", "How much incoming MIDI tempo must change before the pedal follows it (1 to 10)."), "")                        \
    X(OneClickLength, 33, PlusThirty, ClickLength, ClickOutputs, QT_TRANSLATE_NOOP("Menu", "Output 1"), QT_TRANSLATE_NOOP("Menu", "Length"),                          \
      QT_TRANSLATE_NOOP("Menu", "Length of each click pulse of output 1 (30 to 255)."), "")                                                    \
    X(TwoClickLength, 33, PlusThirty, ClickLength, ClickOutputs, QT_TRANSLATE_NOOP("Menu", "Output 2"), QT_TRANSLATE_NOOP("Menu", "Length"),                          \
      QT_TRANSLATE_NOOP("Menu", "Length of each click pulse of output 2 (30 to 255)."), "")                                                    \
    X(ThreeClickLength, 33, PlusThirty, ClickLength, ClickOutputs, QT_TRANSLATE_NOOP("Menu", "Output 3"), QT_TRANSLATE_NOOP("Menu", "Length"),                        \
      QT_TRANSLATE_NOOP("Menu", "Length of each click pulse of output 3 (30 to 255)."), "")                                                    \
    X(FourClickLength, 33, PlusThirty, ClickLength, ClickOutputs, QT_TRANSLATE_NOOP("Menu", "Output 4"), QT_TRANSLATE_NOOP("Menu", "Length"),                         \
      QT_TRANSLATE_NOOP("Menu", "Length of each click pulse of output 4 (30 to 255)."), "")                                                    \
    X(OnePolarity, 0, Same, Polarity, ClickOutputs, QT_TRANSLATE_NOOP("Menu", "Output 1"), QT_TRANSLATE_NOOP("Menu", "Polarity"),                                     \
      QT_TRANSLATE_NOOP("Menu", "Whether the clicks of output 1 are positive or negative pulses."), "")                                        \
    X(TwoPolarity, 0, Same, Polarity, ClickOutputs, QT_TRANSLATE_NOOP("Menu", "Output 2"), QT_TRANSLATE_NOOP("Menu", "Polarity"),                                     \
      QT_TRANSLATE_NOOP("Menu", "Whether the clicks of output 2 are positive or negative pulses."), "")                                        \
    X(ThreePolarity, 0, Same, Polarity, ClickOutputs, QT_TRANSLATE_NOOP("Menu", "Output 3"), QT_TRANSLATE_NOOP("Menu", "Polarity"),                                   \
      QT_TRANSLATE_NOOP("Menu", "Whether the clicks of output 3 are positive or negative pulses."), "")                                        \
    X(FourPolarity, 0, Same, Polarity, ClickOutputs, QT_TRANSLATE_NOOP("Menu", "Output 4"), QT_TRANSLATE_NOOP("Menu", "Polarity"),                                    \
      QT_TRANSLATE_NOOP("Menu", "Whether the clicks of output 4 are positive or negative pulses."), "")                                        \
    X(RepeatingMidiStackReference, 0, Same, StackName, RepeatingStack, QT_TRANSLATE_NOOP("Menu", "Stack"), "",                             \
      QT_TRANSLATE_NOOP("Menu", "The MIDI stack that the pedal sends again and again."), "")                                                   \
    X(RepeatingMidiClickAmount, 0, Same, RepeatAmount, RepeatingStack, QT_TRANSLATE_NOOP("Menu", "Repeats"), "",                           \
      QT_TRANSLATE_NOOP("Menu", "How many times the stack is sent again; Infinite repeats it until it is stopped."), "")                       \
    X(OffsetBpmOne, 0, MinusTwenty, Offset, ClickOutputs, QT_TRANSLATE_NOOP("Menu", "Output 1"), QT_TRANSLATE_NOOP("Menu", "Tempo offset"),                           \
      QT_TRANSLATE_NOOP("Menu", "Beats per minute added to the tempo on output 1 (-20 to +20)."), "")                                          \
    X(OffsetBpmTwo, 0, MinusTwenty, Offset, ClickOutputs, QT_TRANSLATE_NOOP("Menu", "Output 2"), QT_TRANSLATE_NOOP("Menu", "Tempo offset"),                           \
      QT_TRANSLATE_NOOP("Menu", "Beats per minute added to the tempo on output 2 (-20 to +20)."), "")                                          \
    X(OffsetBpmThree, 0, MinusTwenty, Offset, ClickOutputs, QT_TRANSLATE_NOOP("Menu", "Output 3"), QT_TRANSLATE_NOOP("Menu", "Tempo offset"),                         \
      QT_TRANSLATE_NOOP("Menu", "Beats per minute added to the tempo on output 3 (-20 to +20)."), "")                                          \
    X(OffsetBpmFour, 0, MinusTwenty, Offset, ClickOutputs, QT_TRANSLATE_NOOP("Menu", "Output 4"), QT_TRANSLATE_NOOP("Menu", "Tempo offset"),                          \
      QT_TRANSLATE_NOOP("Menu", "Beats per minute added to the tempo on output 4 (-20 to +20)."), "")                                          \
    X(MidiPulseAmount, 31, PlusTwo, PulseAmount, ClockAndThru, QT_TRANSLATE_NOOP("Menu", "MIDI clock beats"), "",                          \
      QT_TRANSLATE_NOOP("Menu", "How many beats of MIDI clock follow a new tempo; Infinite keeps the clock running."), "")                     \
    X(AudioThreshold, 1, PlusOne, Threshold, ChannelsAndThresholds, QT_TRANSLATE_NOOP("Menu", "Audio threshold"), "",                      \
      QT_TRANSLATE_NOOP("Menu", "How loud a signal at an audio input must be to count as a tap (1 to 10)."), "")                               \
    X(LedClickAmount, 31, PlusTwo, PulseAmount, Display, QT_TRANSLATE_NOOP("Menu", "LED beats"), "",                                       \
      QT_TRANSLATE_NOOP("Menu", "How many beats the tempo LED blinks after a new tempo; Infinite keeps it blinking."), "")                     \
    X(ChannelConvert1Enabled, 0, Same, Flag, ChannelConverters, QT_TRANSLATE_NOOP("Menu", "Converter 1"), QT_TRANSLATE_NOOP("Menu", "On"),                            \
      QT_TRANSLATE_NOOP("Menu", "Turns converter 1 on: it moves messages of one type from one MIDI channel to another."), "")                  \
    X(ChannelConvert1Type, 0, Same, MessageType, ChannelConverters, QT_TRANSLATE_NOOP("Menu", "Converter 1"), QT_TRANSLATE_NOOP("Menu", "Type"),                      \
      QT_TRANSLATE_NOOP("Menu", "Type of the messages that converter 1 moves."), "")                                                           \
    X(ChannelConvert1ChannelFrom, 1, PlusOne, Channel, ChannelConverters, QT_TRANSLATE_NOOP("Menu", "Converter 1"), QT_TRANSLATE_NOOP("Menu", "From channel"),        \
      QT_TRANSLATE_NOOP("Menu", "The channel whose messages converter 1 takes."), "")                                                          \
    X(ChannelConvert1ChannelTo, 5, PlusOne, Channel, ChannelConverters, QT_TRANSLATE_NOOP("Menu", "Converter 1"), QT_TRANSLATE_NOOP("Menu", "To channel"),            \
      QT_TRANSLATE_NOOP("Menu", "The channel on which converter 1 sends them on."), "")                                                        \
    X(ChannelConvert2Enabled, 0, Same, Flag, ChannelConverters, QT_TRANSLATE_NOOP("Menu", "Converter 2"), QT_TRANSLATE_NOOP("Menu", "On"),                            \
      QT_TRANSLATE_NOOP("Menu", "Turns converter 2 on: it moves messages of one type from one MIDI channel to another."), "")                  \
    X(ChannelConvert2Type, 0, Same, MessageType, ChannelConverters, QT_TRANSLATE_NOOP("Menu", "Converter 2"), QT_TRANSLATE_NOOP("Menu", "Type"),                      \
      QT_TRANSLATE_NOOP("Menu", "Type of the messages that converter 2 moves."), "")                                                           \
    X(ChannelConvert2ChannelFrom, 1, PlusOne, Channel, ChannelConverters, QT_TRANSLATE_NOOP("Menu", "Converter 2"), QT_TRANSLATE_NOOP("Menu", "From channel"),        \
      QT_TRANSLATE_NOOP("Menu", "The channel whose messages converter 2 takes."), "")                                                          \
    X(ChannelConvert2ChannelTo, 5, PlusOne, Channel, ChannelConverters, QT_TRANSLATE_NOOP("Menu", "Converter 2"), QT_TRANSLATE_NOOP("Menu", "To channel"),            \
      QT_TRANSLATE_NOOP("Menu", "The channel on which converter 2 sends them on."), "")                                                        \
    PEDAL_MENU_INCOMING(X, Tap, 93, QT_TRANSLATE_NOOP("Menu", "Tap"), QT_TRANSLATE_NOOP("Menu", "taps the tempo"))                                                    \
    PEDAL_MENU_INCOMING(X, SetTempo, 94, QT_TRANSLATE_NOOP("Menu", "Set tempo"), QT_TRANSLATE_NOOP("Menu", "sets the tempo"))                                         \
    PEDAL_MENU_INCOMING(X, NextPreset, 95, QT_TRANSLATE_NOOP("Menu", "Next song"), QT_TRANSLATE_NOOP("Menu", "chooses the next song"))                                \
    PEDAL_MENU_INCOMING(X, PrevPreset, 96, QT_TRANSLATE_NOOP("Menu", "Previous song"), QT_TRANSLATE_NOOP("Menu", "chooses the previous song"))                        \
    PEDAL_MENU_INCOMING(X, SetPreset, 97, QT_TRANSLATE_NOOP("Menu", "Choose song"), QT_TRANSLATE_NOOP("Menu", "chooses a song by number"))                            \
    PEDAL_MENU_INCOMING(X, GlobalTempo, 98, QT_TRANSLATE_NOOP("Menu", "One tempo for all songs"),                                          \
                        QT_TRANSLATE_NOOP("Menu", "turns one tempo for all songs on or off"))                                              \
    PEDAL_MENU_INCOMING(X, Division1, 99, QT_TRANSLATE_NOOP("Menu", "Division 1"), QT_TRANSLATE_NOOP("Menu", "changes the tap division of jack 1"))                   \
    PEDAL_MENU_INCOMING(X, Division2, 100, QT_TRANSLATE_NOOP("Menu", "Division 2"), QT_TRANSLATE_NOOP("Menu", "changes the tap division of jack 2"))                  \
    PEDAL_MENU_INCOMING(X, Division3, 101, QT_TRANSLATE_NOOP("Menu", "Division 3"), QT_TRANSLATE_NOOP("Menu", "changes the tap division of jack 3"))                  \
    PEDAL_MENU_INCOMING(X, Division4, 102, QT_TRANSLATE_NOOP("Menu", "Division 4"), QT_TRANSLATE_NOOP("Menu", "changes the tap division of jack 4"))                  \
    PEDAL_MENU_INCOMING(X, DivisionMidi, 103, QT_TRANSLATE_NOOP("Menu", "MIDI clock division"),                                            \
                        QT_TRANSLATE_NOOP("Menu", "changes the division of the MIDI clock"))                                               \
    X(TftRotation, 0, Same, Rotation, Display, QT_TRANSLATE_NOOP("Menu", "Display rotation"), "",                                          \
      QT_TRANSLATE_NOOP("Menu", "Turns the picture on the display by 0, 90, 180 or 270 degrees."), "")                                         \
    X(PcMonitorChannel, 0, Same, MonitorChannel, ChannelsAndThresholds, QT_TRANSLATE_NOOP("Menu", "Program change channel"), "",           \
      QT_TRANSLATE_NOOP("Menu", "Chooses the song named by program changes arriving on this channel; Off ignores them."), "")                  \
    X(RepeatingDiv, 0, Same, RepeatingDivision, RepeatingStack, QT_TRANSLATE_NOOP("Menu", "Division"), "",                                 \
      QT_TRANSLATE_NOOP("Menu", "The beat division at which the stack is sent again."), "")                                                    \
    PEDAL_MENU_INCOMING(X, SendStack, 104, QT_TRANSLATE_NOOP("Menu", "Send stack"), QT_TRANSLATE_NOOP("Menu", "sends the song's MIDI stack"))                         \
    PEDAL_MENU_INCOMING(X, RepeatStack, 105, QT_TRANSLATE_NOOP("Menu", "Repeat stack"), QT_TRANSLATE_NOOP("Menu", "starts or stops the repeating stack"))             \
    PEDAL_MENU_INCOMING(X, MidiClock, 106, QT_TRANSLATE_NOOP("Menu", "MIDI clock"), QT_TRANSLATE_NOOP("Menu", "starts or stops the MIDI clock"))                      \
    X(StackDelay, 60, Delay, StackDelay, StackDelay, QT_TRANSLATE_NOOP("Menu", "Delay between messages"), "",                              \
      QT_TRANSLATE_NOOP("Menu", "Pause between the messages of a stack as the pedal sends them; 0 ms is the shortest."), "")                   \
    PEDAL_MENU_INCOMING(X, ResetTimers, 107, QT_TRANSLATE_NOOP("Menu", "Reset timers"), QT_TRANSLATE_NOOP("Menu", "resets the pedal's timers"))
// clang-format on

// The pedal's global settings: 104 integer fields.
class Menu
{
public:
    static constexpr int FieldCount = 104;
    using Values = std::array<qint64, FieldCount>;

    // All 104 values in declaration order.
    explicit Menu(const Values &values);

    static Menu factory();
    static Values factoryValues();
    void resetToFactory();

    Values values() const;
    bool operator==(const Menu &other) const { return values() == other.values(); }

#define PEDAL_DECLARE_MENU_FIELD(name, factory, rule, list, section, label, column, tip, subject) qint64 name = 0;
    PEDAL_MENU_FIELDS(PEDAL_DECLARE_MENU_FIELD)
#undef PEDAL_DECLARE_MENU_FIELD
};

struct MenuField
{
    const char *name;
    qint64 Menu::*member;
    qint64 factory;
    MenuRule rule;
    // How the Global Settings page shows the field.
    MenuList list;
    MenuSection section;
    const char *label;   // the setting's name; in a table section, the row's name
    const char *column;  // the column title in a table section, empty elsewhere
    const char *tip;     // one line: what the setting does; %1 stands for the subject
    const char *subject; // what an incoming message does ("taps the tempo"), empty elsewhere

    // The setting in words wherever it is named (the page, a comparison, an undo step):
    // the label, and in a table section the column title after it ("Output 1 Length").
    QString title() const;
    // The tip in words, its subject filled in.
    QString tipText() const;
};

// The title of a section of the Global Settings page.
const char *menuSectionTitle(MenuSection section);

// The 104 fields in declaration order.
const std::array<MenuField, Menu::FieldCount> &menuFields();

namespace MenuRules {
// Stored value for item position p, and item position for stored value v.
qint64 valueForPosition(MenuRule rule, qint64 p);
qint64 positionForValue(MenuRule rule, qint64 v);
} // namespace MenuRules
