#pragma once

#include <QString>
#include <QtGlobal>

#include <array>
#include <cstddef>

// Every numeric field of a song after Id, FullName and Tempo, in declaration order,
// with its factory value for the song at list position p.
// clang-format off
#define PEDAL_SONG_NUMBER_FIELDS(X)                                                        \
    X(Fraction, 0) X(FontSize, 0) X(BackgroundColour, 0) X(ForegroundColour, 1)            \
    X(DivisionOne, 0) X(DivisionTwo, 0) X(DivisionThree, 0) X(DivisionFour, 0)             \
    X(DivisionMidi, 0) X(ExpStack, 127)                                                    \
    X(JackOne, 1) X(JackOneStatic, 0) X(JackOnePulses, 5)                                  \
    X(JackTwo, 1) X(JackTwoStatic, 0) X(JackTwoPulses, 5)                                  \
    X(JackThree, 1) X(JackThreeStatic, 0) X(JackThreePulses, 5)                            \
    X(JackFour, 1) X(JackFourStatic, 0) X(JackFourPulses, 5)                               \
    X(MidiStackReference, p) X(StopMidiClock, 0) X(StopRepeatingMessage, 0)                \
    X(MimicFootswitch, 0) X(ProgramChange, p + 1) X(BankChange, 1)                         \
    X(FootTAPFunction, 1) X(FootHOLDFunction, 1)                                           \
    X(Jack1TipTAPFunction, 0) X(Jack1TipHOLDFunction, 0) X(Jack1RingTAPFunction, 0)        \
    X(Jack1RingHOLDFunction, 0) X(Jack2TipTAPFunction, 0) X(Jack2TipHOLDFunction, 0)       \
    X(Jack2RingTAPFunction, 0) X(Jack2RingHOLDFunction, 0) X(Jack3TipTAPFunction, 0)       \
    X(Jack3TipHOLDFunction, 0) X(Jack3RingTAPFunction, 0) X(Jack3RingHOLDFunction, 0)      \
    X(FootTAPPreset, p) X(FootHOLDPreset, p)                                               \
    X(Jack1TipTAPPreset, p) X(Jack1TipHOLDPreset, p) X(Jack1RingTAPPreset, p)              \
    X(Jack1RingHOLDPreset, p) X(Jack2TipTAPPreset, p) X(Jack2TipHOLDPreset, p)             \
    X(Jack2RingTAPPreset, p) X(Jack2RingHOLDPreset, p) X(Jack3TipTAPPreset, p)             \
    X(Jack3TipHOLDPreset, p) X(Jack3RingTAPPreset, p) X(Jack3RingHOLDPreset, p)            \
    X(FootTAPStack, p) X(FootHOLDStack, p)                                                 \
    X(Jack1TipTAPStack, p) X(Jack1TipHOLDStack, p) X(Jack1RingTAPStack, p)                 \
    X(Jack1RingHOLDStack, p) X(Jack2TipTAPStack, p) X(Jack2TipHOLDStack, p)                \
    X(Jack2RingTAPStack, p) X(Jack2RingHOLDStack, p) X(Jack3TipTAPStack, p)                \
    X(Jack3TipHOLDStack, p) X(Jack3RingTAPStack, p) X(Jack3RingHOLDStack, p)
// clang-format on

// One preset of the pedal. Plain record: one public field per property.
class Song
{
public:
    static constexpr int NumberFieldCount = 70;
    using NumberValues = std::array<qint64, NumberFieldCount>;

    // Id, FullName, Tempo, then the 70 numeric fields from Fraction to
    // Jack3RingHOLDStack in declaration order. Tempo must not be 0.
    Song(qint64 id, const QString &fullName, qint64 tempo, const NumberValues &values);

    // The factory song for list position p (0 to 127).
    static Song factory(int p);
    static NumberValues factoryValues(int p);

    // Sets FullName and derives NameWithoutBreaks.
    void UpdateName(const QString &name);
    // Sets Tempo and derives TempoInMs. A tempo of 0 is refused (nothing changes).
    void UpdateTempo(qint64 tempo);

    // Resets every field except Id to the factory value of position p.
    void resetToFactory(int p);

    static QString nameWithoutBreaks(const QString &fullName);
    // The name rules of the name editor: at most 30 characters, at most 4 line breaks,
    // only letters, digits, space, line feed and the 24 allowed signs.
    // Returns an empty text when the name is valid, otherwise the reason.
    static QString nameProblem(const QString &name);

    qint64 Id;
    QString FullName;
    QString NameWithoutBreaks;
    qint64 Tempo;
    qint64 TempoInMs;
#define PEDAL_DECLARE_SONG_FIELD(name, factory) qint64 name = 0;
    PEDAL_SONG_NUMBER_FIELDS(PEDAL_DECLARE_SONG_FIELD)
#undef PEDAL_DECLARE_SONG_FIELD
};

// Descriptor of one numeric song field, for the code that walks all of them.
struct SongNumberField
{
    const char *name;
    qint64 Song::*member;
};

// The 70 numeric fields in declaration order.
const std::array<SongNumberField, Song::NumberFieldCount> &songNumberFields();

// One footswitch input (the pedal's own switch, or a contact of jacks 1-3) and a press.
struct SongInput
{
    const char *stem;      // "FootTap", "Jack1TipHold", ... as in the session text keys
    const char *fieldStem; // "FootTAP", "Jack1TipHOLD", ... as in the record fields
    qint64 Song::*function;
    qint64 Song::*preset;
    qint64 Song::*stack;
    bool hold;
};

// The 14 inputs in session-text order: Foot tap/hold, then Jack1Tip tap/hold,
// Jack1Ring tap/hold, ... Jack3Ring tap/hold.
const std::array<SongInput, 14> &songInputs();

// The function code that shows the preset list (10 for a tap, 9 for a hold) and
// the stack list (11 for a tap, 10 for a hold).
inline qint64 presetFunctionCode(bool hold)
{
    return hold ? 9 : 10;
}
inline qint64 stackFunctionCode(bool hold)
{
    return hold ? 10 : 11;
}

// The three fields of one jack output.
struct SongJack
{
    qint64 Song::*mode;
    qint64 Song::*level; // static level
    qint64 Song::*pulses;
};

const std::array<SongJack, 4> &songJacks();
