#pragma once

#include "SessionKeys.h"

#include <QJsonArray>
#include <QJsonObject>
#include <QString>

#include <vector>

class SessionWriter;

// One field whose value differs between two sessions.
struct SessionChange
{
    enum class Record { Song, Setlist, Global, Stack, Library };
    // What was done to the setlist; Changed for every other record.
    enum class Edit { Changed, Inserted, Removed, Swapped, Replaced };

    SessionKeys::Page page = SessionKeys::Page::Songs;
    Record record = Record::Song;
    // Position of the song or stack in its list, of the (first) setlist position changed,
    // or of the library entry, counted from 0; -1 for the global settings.
    int index = -1;
    // The song's or stack's name in the first session (the second's when the first has
    // none); for a song inserted into or removed from the setlist, that song's name.
    QString recordName;
    int key = -1;     // in the key table
    int message = -1; // a stack's message 0..9, for the keys that hold ten per stack
    Edit edit = Edit::Changed;
    int other = -1;                // the second position of two swapped setlist positions
    const char *setting = nullptr; // a global setting's field name ("MidiChannelOut")
    QString field;                 // in words: "Tempo", "MIDI output channel", "Row 3 Value"
    QString before;                // the values in words; "(none)" where a library entry is missing
    QString after;
    // The same values plain, for JSON: a name's text, a number as a number, null for a
    // missing library entry or setlist position; the song numbers of swapped positions or
    // of a setlist from its first change.
    QJsonValue beforeValue;
    QJsonValue afterValue;

    // "Song 3 (Intro Riff)", "Setlist", "Global", "Stack 5 (Bass)", "Library entry 2".
    QString recordTitle() const;
    // One line in words: "Song 3 (Intro Riff): Tempo 120 → 97", "Setlist: position 7 removed".
    QString text() const;
    QJsonObject toJson() const;
};

// The difference of two sessions, key by key over the key table: a key differs when
// its value text differs, and its fields are compared as the session text carries them,
// so a value the text cannot tell apart is no difference.
namespace SessionDiff {

// Which keys a comparison looks at: all, or only those that go to the pedal (the gated
// keys; the rest, such as the library, stays in the editor).
enum class Keys { All, Pedal };

// Every change from `a` to `b`, in key-table order and, within a key, in list order.
std::vector<SessionChange> compare(const DataHandler &a, const DataHandler &b, Keys keys = Keys::All);

// Exactly the keys whose value texts differ (file form), in table order.
std::vector<int> changedKeys(const DataHandler &a, const DataHandler &b);

// Sets the selection flags of the changed keys that go to the pedal (the gated keys)
// and returns how many were set. Other flags are left as they are.
int selectChangedKeys(SessionWriter &writer, const DataHandler &a, const DataHandler &b);

QJsonArray toJson(const std::vector<SessionChange> &changes);

// Takes `from`'s side of the chosen changes (found by compare(to, from)) into `to`, key by
// key as compare() found them: a field of a song, a stack, a stack row, a global setting
// or a library entry takes `from`'s value, and a setlist change takes `from`'s whole
// setlist. A library entry that only `from` has is added (with the entries before it that
// `to` lacks, so that it lands at its position); one that only `to` has is removed. Values
// pass the checks of a session file's values; nothing else of `to` changes, so `from`
// should be normalised for `to` to stay so.
void apply(const std::vector<SessionChange> &chosen, const DataHandler &from, DataHandler &to);

} // namespace SessionDiff
