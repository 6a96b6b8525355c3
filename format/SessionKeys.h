#pragma once

#include "ItemTexts.h"
#include "model/DataHandler.h"

#include <QStringView>

#include <array>
#include <vector>

// The 75 keys of the session text, in the order in which they are written. This one
// table drives the writer, the file reader, the reply parser and the virtual pedal.
enum class KeyKind {
    SongName,          // per song, padded name of 30
    SongNumber,        // per song, one numeric field
    SongTempo,         // per song, Tempo (TempoInMs follows); 0 is refused
    JackCode,          // per song, jack output code of `jack`
    PresetOptions,     // per song, option bits of the three MIDI options
    Setlist,           // 128 slots of song numbers, 255 for none
    Global,            // the 205-character global block
    StackNames,        // per stack, padded name of 30 (file form only)
    StackMessageNames, // per stack, 10 padded names of 30 (file form only)
    StackChannels,     // per stack, 10 status numbers
    StackMessages,     // per stack, 10 first data bytes
    StackValues,       // per stack, 10 second data bytes
    LibraryText,       // per library entry, padded name of 20 (file form only)
    LibraryNumber,     // per library entry, one number (file form only)
};

namespace SessionKeys {
// The pages of the window, each with its own send (All is Send all).
enum class Page { Songs, SetJacks, Setlist, Midi, Global, All };
} // namespace SessionKeys

struct SessionKey
{
    const char *key;
    KeyKind kind;
    int width;                                      // width of one field (the block length for Global)
    bool gated;                                     // written only while its selection flag is set
    SessionKeys::Page page;                         // the page that edits (and sends) it
    const char *label;                              // the field in words ("Tempo", "Foot Tap Function")
    qint64 Song::*songField = nullptr;              // SongNumber
    int jack = -1;                                  // JackCode: 0..3
    qint64 MidiStackMessage::*stackField = nullptr; // StackMessages, StackValues
    QString MidiMessage::*libraryText = nullptr;    // LibraryText
    qint64 MidiMessage::*libraryNumber = nullptr;   // LibraryNumber
    // A song field's values: the list whose items it holds the position of (the songs and
    // stacks by number), or a plain number; from `lowest` to `highest` where these are set
    // (a list's other fields carry any number of their width).
    ItemTexts::List items = ItemTexts::List::None;
    qint64 lowest = 0;
    qint64 highest = 0;
};

namespace SessionKeys {
constexpr int Count = 75;
constexpr int GlobalBlockLength = 205;

const std::array<SessionKey, Count> &all();
// Index of a key in the table, or -1.
int indexOf(QStringView key);
inline const SessionKey &at(int index)
{
    return all()[size_t(index)];
}

// The selections of the page sends (and of Send all): the gated keys of the page.
std::vector<int> keysOfPage(Page page);
// The tab title of a page ("Set Jacks", "Midi Management", ...).
QString pageTitle(Page page);
// Parses "songs", "setjacks", "setlist", "midi", "global", "all".
bool pageFromName(QStringView name, Page &page);

// A song's field in words, as its page and a comparison of sessions name it ("Tempo",
// "Jack 1 mode", "Foot switch tap song"); empty for a pointer that is no numeric field.
QString fieldLabel(qint64 Song::*field);

// The three MIDI options of a song as the PresetOptions key packs them: the bit of each,
// its field, its label and the text of its item when it is set.
struct OptionBit
{
    qint64 bit;
    qint64 Song::*field;
    const char *label;
    const char *onText;
    ItemTexts::List items; // its two items, off and on
};
constexpr std::array<OptionBit, 3> optionBits = {{
    {128, &Song::StopMidiClock, "MIDI clock on load", "Stop MIDI Clock", ItemTexts::List::StopMidiClock},
    {64, &Song::StopRepeatingMessage, "Repeating stack", "Stop Repeating Stack", ItemTexts::List::StopRepeating},
    {16, &Song::MimicFootswitch, "Mimic footswitch", "Mimic Footswitch", ItemTexts::List::Mimic},
}};

// The three fields of a jack that its JackCode key packs: which, the words its label adds
// to the key's ("Jack 2 pulses") and its list.
struct JackPart
{
    qint64 Song::*SongJack::*field;
    const char *suffix;
    ItemTexts::List items;
};
constexpr std::array<JackPart, 3> jackParts = {{
    {&SongJack::mode, " mode", ItemTexts::List::JackModes},
    {&SongJack::level, " static level", ItemTexts::List::StaticLevels},
    {&SongJack::pulses, " pulses", ItemTexts::List::PulseCounts},
}};
} // namespace SessionKeys

// One field of the global block: where it sits and what it holds.
struct GlobalBlockField
{
    enum Kind {
        Bits,        // option bits: members[0..7] are bits 7 down to 0 (null = always 0)
        Number,      // members[0]
        Offset,      // members[0], offset code
        Status,      // members[0] type, members[1] channel
        ConverterTo, // members[0] type (the converter's), members[1] "to" channel
    };
    int offset;
    int width;
    Kind kind;
    std::array<qint64 Menu::*, 8> members;
};

// The fields of the global block in order, covering all 205 characters.
constexpr int GlobalBlockFieldCount = 77;
const std::array<GlobalBlockField, GlobalBlockFieldCount> &globalBlockFields();
