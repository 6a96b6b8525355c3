// Check Session: each check found in a session that holds only its fault, with its words,
// its severity and where it points. What the factory and a random session give is held by
// the transcript of pedal-session check.
#include "QtPrinters.h"

#include "format/SessionCheck.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>

namespace {

// Every finding in one line: "severity: message | page song stack setlist-position",
// the positions counted from 1 (0: none).
QStringList described(const DataHandler &store)
{
    QStringList out;
    for (const CheckFinding &f : SessionCheck::run(store))
        out << f.line()
                + QStringLiteral(" | %1 %2 %3 %4")
                      .arg(SessionKeys::pageTitle(f.page))
                      .arg(f.song + 1)
                      .arg(f.stack + 1)
                      .arg(f.setlistPosition + 1);
    return out;
}

// A session with nothing to find: every song named "Tune N" at 121 BPM, the setlist all
// songs from the last to the first (so position q holds song 129 - q).
void clean(DataHandler &store)
{
    for (int p = 0; p < DataHandler::SongCount; ++p) {
        store.SongList[size_t(p)]->UpdateName(QStringLiteral("Tune %1").arg(p + 1));
        store.SongList[size_t(p)]->UpdateTempo(121);
    }
    std::reverse(store.Setlist.begin(), store.Setlist.end());
    // Inputs that call a song of the setlist or a stack with a message; an expression
    // input whose stack has one; a hold whose code would call a stack on a tap.
    Song &s = *store.SongList[0];
    s.FootTAPFunction = 10;
    s.FootTAPPreset = 5;
    s.JackOne = 3;
    s.ExpStack = 6;
    store.MidiStackList[6].MidiStackMessageList[9] = MidiStackMessage(0, 1, 7, 64, QStringLiteral("Volume"));
    s.FootHOLDFunction = 10;
    s.FootHOLDStack = 6;
    s.JackTwo = 2;
    s.Jack2TipHOLDFunction = 11; // Reset Timers on a hold
    s.Jack2TipHOLDStack = 9;
    // A Program Change on channel 0 is a message all the same (status 191).
    store.MidiStackList[7].MidiStackMessageList[0] = MidiStackMessage(1, 0, 5, 0, QStringLiteral("EMPTY"));
    s.Jack2RingTAPFunction = 11;
    s.Jack2RingTAPStack = 7;
}

Song &song(DataHandler &store, int number)
{
    return *store.SongList[size_t(number - 1)];
}

void removeFromSetlist(DataHandler &store, int number)
{
    auto &list = store.Setlist;
    list.erase(std::remove(list.begin(), list.end(), store.SongList[size_t(number - 1)]), list.end());
}

} // namespace

TEST(Check, EachPlantedFaultIsFoundWithItsWordsAndPlace)
{
    const struct
    {
        const char *fault;
        std::function<void(DataHandler &)> plant;
        QStringList found;
    } rows[] = {
        {"nothing", [](DataHandler &) {}, {}},
        {"an empty setlist",
         [](DataHandler &d) { d.Setlist.clear(); },
         {"problem: The setlist is empty: the pedal has no setlist songs to step through | Setlist 0 0 0"}},
        {"a song twice, then three times",
         [](DataHandler &d) {
             d.Setlist[0] = d.SongList[4];
             d.Setlist[2] = d.SongList[4];
         },
         {"problem: Setlist positions 1 and 3 both hold Song 5 (Tune 5): a song is played twice | Setlist 5 0 3",
          "problem: Setlist positions 1 and 124 both hold Song 5 (Tune 5): a song is played twice | Setlist 5 0 124"}},
        {"a name shared across case and line breaks, and an unnamed song",
         [](DataHandler &d) {
             song(d, 7).UpdateName(QStringLiteral("tune\n3"));
             song(d, 12).UpdateName(QStringLiteral(" \n "));
             song(d, 12).UpdateTempo(120); // no tempo note for a song without a name
         },
         {"problem: Setlist positions 122 and 126: Song 7 and Song 3 share the name \"Tune 3\", so the pedal shows "
          "them alike | Songs 3 0 126",
          "note: Setlist position 117: Song 12 has no name | Songs 12 0 117"}},
        {"a tap of the foot switch on an empty stack; the same on a song outside the setlist",
         [](DataHandler &d) {
             song(d, 9).FootTAPFunction = 11;
             song(d, 9).FootTAPStack = 20;
             removeFromSetlist(d, 10);
             song(d, 10).FootTAPFunction = 11;
         },
         {"problem: Song 9 (Tune 9): Foot switch tap function \"Send MIDI Stack\" calls stack 21 (Midi Stack 21), "
          "which has no active message, so the press sends nothing | Songs 9 21 0"}},
        {"a hold of jack 2's ring footswitch on an empty stack; jack 3 not a footswitch",
         [](DataHandler &d) {
             song(d, 20).JackTwo = 2;
             song(d, 20).Jack2RingHOLDFunction = 10;
             song(d, 20).Jack2RingHOLDStack = 0;
             song(d, 20).Jack3TipTAPFunction = 11;
         },
         {"problem: Song 20 (Tune 20): Jack 2 ring hold function \"Send MIDI Stack\" calls stack 1 (Midi Stack 1), "
          "which has no active message, so the press sends nothing | Set Jacks 20 1 0"}},
        {"the foot switch and jack 3's ring going to songs outside the setlist",
         [](DataHandler &d) {
             removeFromSetlist(d, 100);
             song(d, 1).FootHOLDFunction = 9;
             song(d, 1).FootHOLDPreset = 99;
             song(d, 30).JackThree = 2;
             song(d, 30).Jack3RingTAPFunction = 10;
             song(d, 30).Jack3RingTAPPreset = 99;
             song(d, 31).Jack1TipTAPFunction = 10; // jack 1 is a tap output
             song(d, 31).Jack1TipTAPPreset = 99;
         },
         {"problem: Song 1 (Tune 1): Foot switch hold function \"Go to Song\" goes to Song 100 (Tune 100), which is "
          "not in the setlist | Songs 1 0 0",
          "problem: Song 30 (Tune 30): Jack 3 ring tap function \"Go to Song\" goes to Song 100 (Tune 100), which is "
          "not in the setlist | Set Jacks 30 0 0"}},
        {"an expression input on an empty stack",
         [](DataHandler &d) {
             song(d, 2).JackOne = 3;
             song(d, 3).JackTwo = 3;
         },
         {"problem: Song 2 (Tune 2): jack 1 is an expression input whose stack 128 (Midi Stack 128) has no active "
          "message, so the expression pedal sends nothing | Set Jacks 2 128 0"}},
        {"a named song left at 120 BPM, outside the setlist too",
         [](DataHandler &d) {
             song(d, 40).UpdateName(QStringLiteral("100%2 live"));
             song(d, 40).UpdateTempo(120);
             removeFromSetlist(d, 40);
         },
         {"note: Song 40 (100%2 live) still has the factory tempo of 120 BPM; easy to forget when a song was named | "
          "Songs 40 0 0"}},
    };
    for (const auto &row : rows) {
        SCOPED_TRACE(row.fault);
        DataHandler store;
        clean(store);
        row.plant(store);
        EXPECT_EQ(described(store), row.found);
    }
}
