// The session store: factory session, full and page resets, setlist operations, stack
// and library operations, setlists built from song numbers, and session snapshots with
// the changes between them.
#include "RandomSession.h"

#include "format/SessionJson.h"
#include "model/DataHandler.h"
#include "model/ScriptedDialogs.h"
#include "model/SessionSnapshot.h"

#include <QJsonArray>
#include <QJsonObject>

#include <algorithm>

#include <gtest/gtest.h>

namespace {

QJsonObject snapshot(const DataHandler &store)
{
    return SessionJson::toJson(store);
}

std::vector<qint64> setlistIds(const DataHandler &store)
{
    std::vector<qint64> ids;
    for (const SongRef &s : store.Setlist)
        ids.push_back(s->Id);
    return ids;
}

std::vector<qint64> slotList(std::initializer_list<qint64> first)
{
    std::vector<qint64> v(first);
    v.resize(128, 255);
    return v;
}

} // namespace

TEST(FactorySession, ShapeOfANewStore)
{
    DataHandler store;
    ASSERT_EQ(store.SongList.size(), 128u);
    ASSERT_EQ(store.MidiStackList.size(), 128u);
    EXPECT_TRUE(store.MidiMessageLibrary.empty());
    ASSERT_EQ(store.Setlist.size(), 128u);
    for (size_t p = 0; p < 128; ++p) {
        EXPECT_EQ(store.SongList[p]->Id, qint64(p) + 1);
        // The very song objects, not copies.
        EXPECT_EQ(store.Setlist[p].get(), store.SongList[p].get());
        EXPECT_EQ(store.MidiStackList[p].ID, qint64(p));
    }
}

TEST(FactorySession, EditsThroughTheSetlistReachTheSongList)
{
    DataHandler store;
    store.Setlist[4]->UpdateName(QStringLiteral("Shared"));
    store.Setlist[4]->UpdateTempo(90);
    EXPECT_EQ(store.SongList[4]->FullName, QStringLiteral("Shared"));
    EXPECT_EQ(store.SongList[4]->TempoInMs, 666);
    EXPECT_EQ(store.songPosition(store.Setlist[4].get()), 4);
    Song stranger = Song::factory(0);
    EXPECT_EQ(store.songPosition(&stranger), -1);
}

TEST(SessionReset, AsksAndCancelChangesNothing)
{
    DataHandler store;
    RandomSession(11).fill(store);
    const QJsonObject before = snapshot(store);

    ScriptedDialogs dialogs;
    dialogs.answers = {1}; // "Cancel"
    EXPECT_FALSE(store.resetSession(dialogs));
    ASSERT_EQ(dialogs.shown.size(), 1);
    const Alert &a = dialogs.shown.first();
    EXPECT_EQ(a.message, QStringLiteral("About to reset"));
    EXPECT_EQ(a.informative,
              QStringLiteral("This computer session will be reset to factory settings.\n"
                             "Your pedal will remain the same"));
    EXPECT_EQ(a.buttons, QStringList({QStringLiteral("Ok"), QStringLiteral("Cancel")}));
    EXPECT_EQ(a.kind, Alert::Kind::Destructive);
    EXPECT_EQ(snapshot(store), before);
}

TEST(SessionReset, OkRestoresTheFactorySessionInPlaceAndKeepsTheLibrary)
{
    DataHandler store;
    RandomSession(12).fill(store, {25, true, false});
    store.SongList[5]->UpdateName(QStringLiteral("Five"));
    store.SongList[5]->UpdateTempo(77);
    const auto library = store.MidiMessageLibrary;
    ASSERT_EQ(library.size(), 25u);
    std::vector<const Song *> songs;
    for (const SongRef &s : store.SongList)
        songs.push_back(s.get());
    const MidiStackMessage *firstMessage = &store.MidiStackList[0].MidiStackMessageList[0];

    ScriptedDialogs dialogs;
    dialogs.answers = {0}; // "Ok"
    EXPECT_TRUE(store.resetSession(dialogs));

    EXPECT_EQ(store.MidiMessageLibrary, library);
    DataHandler factory;
    QJsonObject expected = snapshot(factory);
    QJsonObject actual = snapshot(store);
    actual.remove(QStringLiteral("MidiMessageLibrary"));
    expected.remove(QStringLiteral("MidiMessageLibrary"));
    EXPECT_EQ(actual, expected);
    // The same objects, so references held elsewhere stay valid.
    for (size_t p = 0; p < 128; ++p) {
        EXPECT_EQ(store.SongList[p].get(), songs[p]);
        EXPECT_EQ(store.Setlist[p].get(), songs[p]);
    }
    EXPECT_EQ(&store.MidiStackList[0].MidiStackMessageList[0], firstMessage);
}

TEST(SessionReset, KeepsSongIdsAfterTheSongListWasSorted)
{
    // Sorting a song table reorders SongList; Ids stay with their songs and the reset
    // gives every song the factory values of the position it now has.
    DataHandler store;
    std::reverse(store.SongList.begin(), store.SongList.end());
    store.resetSessionContents();
    EXPECT_EQ(store.SongList[0]->Id, 128);
    EXPECT_EQ(store.SongList[0]->ProgramChange, 1);
    EXPECT_EQ(store.SongList[0]->FootTAPPreset, 0);
    EXPECT_EQ(store.Setlist[0].get(), store.SongList[0].get());
}

TEST(PageResets, SetJacksKeepsNamesTemposAndSongsPageFields)
{
    DataHandler store;
    RandomSession(21).fill(store, {0, false, false});
    const QJsonObject before = snapshot(store);
    store.resetSetJacksFields();
    for (int p = 0; p < 128; ++p) {
        const Song &s = *store.SongList[size_t(p)];
        const QJsonObject was = before[QStringLiteral("SongList")].toArray()[p].toObject();
        EXPECT_EQ(s.ExpStack, 127);
        for (const SongJack &j : songJacks()) {
            EXPECT_EQ(s.*(j.mode), 1);
            EXPECT_EQ(s.*(j.level), 0);
            EXPECT_EQ(s.*(j.pulses), 5);
        }
        for (size_t k = 0; k < songInputs().size(); ++k) {
            const SongInput &in = songInputs()[k];
            if (k < 2) { // the foot switch belongs to the Songs page
                EXPECT_EQ(s.*(in.function), was[QLatin1String(in.fieldStem) + QStringLiteral("Function")].toInteger());
                EXPECT_EQ(s.*(in.preset), was[QLatin1String(in.fieldStem) + QStringLiteral("Preset")].toInteger());
                EXPECT_EQ(s.*(in.stack), was[QLatin1String(in.fieldStem) + QStringLiteral("Stack")].toInteger());
            } else {
                EXPECT_EQ(s.*(in.function), 0);
                EXPECT_EQ(s.*(in.preset), p);
                EXPECT_EQ(s.*(in.stack), p);
            }
        }
        EXPECT_EQ(s.FullName, was[QStringLiteral("FullName")].toString());
        EXPECT_EQ(s.Tempo, was[QStringLiteral("Tempo")].toInteger());
        EXPECT_EQ(s.Fraction, was[QStringLiteral("Fraction")].toInteger());
        EXPECT_EQ(s.BackgroundColour, was[QStringLiteral("BackgroundColour")].toInteger());
        EXPECT_EQ(s.ProgramChange, was[QStringLiteral("ProgramChange")].toInteger());
        EXPECT_EQ(s.MidiStackReference, was[QStringLiteral("MidiStackReference")].toInteger());
    }
    EXPECT_EQ(snapshot(store)[QStringLiteral("GlobalMenu")], before[QStringLiteral("GlobalMenu")]);
    EXPECT_EQ(snapshot(store)[QStringLiteral("MidiStackList")], before[QStringLiteral("MidiStackList")]);
}

TEST(PageResets, SongsKeepsFractionFontSizeAndSetJacksFields)
{
    DataHandler store;
    RandomSession(22).fill(store, {0, false, false});
    const QJsonObject before = snapshot(store);
    store.resetSongsFields();
    for (int p = 0; p < 128; ++p) {
        const Song &s = *store.SongList[size_t(p)];
        const QJsonObject was = before[QStringLiteral("SongList")].toArray()[p].toObject();
        EXPECT_TRUE(s.FullName.isEmpty());
        EXPECT_TRUE(s.NameWithoutBreaks.isEmpty());
        EXPECT_EQ(s.Tempo, 120);
        EXPECT_EQ(s.TempoInMs, 500);
        EXPECT_EQ(s.BackgroundColour, 0);
        EXPECT_EQ(s.ForegroundColour, 1);
        EXPECT_EQ(s.DivisionOne + s.DivisionTwo + s.DivisionThree + s.DivisionFour + s.DivisionMidi, 0);
        EXPECT_EQ(s.StopMidiClock + s.StopRepeatingMessage + s.MimicFootswitch, 0);
        EXPECT_EQ(s.ProgramChange, p + 1);
        EXPECT_EQ(s.BankChange, 1);
        EXPECT_EQ(s.MidiStackReference, p);
        EXPECT_EQ(s.FootTAPFunction, 1);
        EXPECT_EQ(s.FootHOLDFunction, 1);
        EXPECT_EQ(s.FootTAPPreset, p);
        EXPECT_EQ(s.FootHOLDPreset, p);
        EXPECT_EQ(s.FootTAPStack, p);
        EXPECT_EQ(s.FootHOLDStack, p);
        EXPECT_EQ(s.Fraction, was[QStringLiteral("Fraction")].toInteger());
        EXPECT_EQ(s.FontSize, was[QStringLiteral("FontSize")].toInteger());
        EXPECT_EQ(s.ExpStack, was[QStringLiteral("ExpStack")].toInteger());
        EXPECT_EQ(s.JackTwo, was[QStringLiteral("JackTwo")].toInteger());
        EXPECT_EQ(s.Jack2RingHOLDFunction, was[QStringLiteral("Jack2RingHOLDFunction")].toInteger());
        EXPECT_EQ(s.Jack3TipTAPPreset, was[QStringLiteral("Jack3TipTAPPreset")].toInteger());
    }
}

TEST(PageResets, MidiStacksKeepTheirNamesAndTheLibrary)
{
    DataHandler store;
    RandomSession(23).fill(store, {5, true, false});
    const QJsonObject before = snapshot(store);
    store.MidiStackList[9].Name = QStringLiteral("Verse stack");
    store.resetMidiStacks();
    EXPECT_EQ(store.MidiStackList[9].Name, QStringLiteral("Verse stack"));
    EXPECT_EQ(store.MidiStackList[10].Name,
              before[QStringLiteral("MidiStackList")].toArray()[10][QStringLiteral("Name")].toString());
    for (const MidiStack &stack : store.MidiStackList)
        for (const MidiStackMessage &m : stack.MidiStackMessageList)
            EXPECT_EQ(m, MidiStackMessage::empty());
    EXPECT_EQ(snapshot(store)[QStringLiteral("MidiMessageLibrary")], before[QStringLiteral("MidiMessageLibrary")]);
    EXPECT_EQ(snapshot(store)[QStringLiteral("SongList")], before[QStringLiteral("SongList")]);

    // The session reset gives the stacks their factory names back.
    ScriptedDialogs ok;
    store.resetSession(ok);
    EXPECT_EQ(store.MidiStackList[9].Name, QStringLiteral("Midi Stack 10"));
    EXPECT_EQ(store.MidiStackList[127].Name, QStringLiteral("Midi Stack 128"));
    EXPECT_EQ(store.MidiStackList[127].ID, 127);
}

TEST(PageResets, GlobalsAndSetlistTouchOnlyTheirOwnData)
{
    DataHandler store;
    RandomSession(24).fill(store);
    QJsonObject before = snapshot(store);
    const Menu *menu = &store.GlobalMenu;
    store.resetGlobals();
    EXPECT_EQ(&store.GlobalMenu, menu);
    EXPECT_TRUE(store.GlobalMenu == Menu::factory());
    QJsonObject after = snapshot(store);
    after.remove(QStringLiteral("GlobalMenu"));
    before.remove(QStringLiteral("GlobalMenu"));
    EXPECT_EQ(after, before);

    store.resetSetlist();
    ASSERT_EQ(store.Setlist.size(), 128u);
    for (size_t p = 0; p < 128; ++p)
        EXPECT_EQ(store.Setlist[p].get(), store.SongList[p].get());
}

TEST(SetlistOperations, AddingToAFullSetlistStartsANewOne)
{
    DataHandler store;
    store.addSongToSetlist(9);
    ASSERT_EQ(store.Setlist.size(), 1u);
    EXPECT_EQ(store.Setlist[0].get(), store.SongList[9].get());
    store.addSongToSetlist(9); // a song may appear more than once
    store.addSongToSetlist(0);
    EXPECT_EQ(setlistIds(store), (std::vector<qint64>{10, 10, 1}));

    // Growing back to 128 entries, the next add empties it again.
    while (store.Setlist.size() < 128)
        store.addSongToSetlist(3);
    store.addSongToSetlist(127);
    EXPECT_EQ(setlistIds(store), (std::vector<qint64>{128}));

    store.addSongToSetlist(128); // no such song
    store.addSongToSetlist(-1);
    EXPECT_EQ(setlistIds(store), (std::vector<qint64>{128}));
}

TEST(SetlistOperations, RemovingTheLastEntryBringsBackAllSongs)
{
    DataHandler store;
    store.addSongToSetlist(2);
    store.addSongToSetlist(5);
    store.removeSetlistEntry(0);
    EXPECT_EQ(setlistIds(store), (std::vector<qint64>{6}));
    store.removeSetlistEntry(1); // no such entry
    EXPECT_EQ(setlistIds(store), (std::vector<qint64>{6}));
    store.removeSetlistEntry(0);
    ASSERT_EQ(store.Setlist.size(), 128u);
    EXPECT_EQ(store.Setlist.front()->Id, 1);
    EXPECT_EQ(store.Setlist.back()->Id, 128);
}

TEST(SetlistOperations, MovingEntries)
{
    DataHandler store;
    for (int p : {0, 1, 2})
        store.addSongToSetlist(p);
    EXPECT_EQ(store.moveSetlistEntryUp(0), 0);
    EXPECT_EQ(store.moveSetlistEntryDown(2), 2);
    EXPECT_EQ(setlistIds(store), (std::vector<qint64>{1, 2, 3}));
    EXPECT_EQ(store.moveSetlistEntryUp(2), 1);
    EXPECT_EQ(setlistIds(store), (std::vector<qint64>{1, 3, 2}));
    EXPECT_EQ(store.moveSetlistEntryDown(0), 1);
    EXPECT_EQ(setlistIds(store), (std::vector<qint64>{3, 1, 2}));
    EXPECT_EQ(store.moveSetlistEntryDown(1), 2);
    EXPECT_EQ(setlistIds(store), (std::vector<qint64>{3, 2, 1}));
    EXPECT_EQ(store.moveSetlistEntryUp(5), 5); // no such entry
    EXPECT_EQ(setlistIds(store), (std::vector<qint64>{3, 2, 1}));
}

TEST(SetlistFromSongNumbers, SkipsEmptySlotsWhereverTheyStand)
{
    DataHandler store;
    std::vector<SongRef> out;
    ASSERT_TRUE(store.setlistFromSongNumbers(slotList({3, 255, 1}), out));
    ASSERT_EQ(out.size(), 2u);
    EXPECT_EQ(out[0].get(), store.SongList[2].get());
    EXPECT_EQ(out[1].get(), store.SongList[0].get());

    ASSERT_TRUE(store.setlistFromSongNumbers(slotList({255, 255, 128, 255, 128}), out));
    ASSERT_EQ(out.size(), 2u);
    EXPECT_EQ(out[0]->Id, 128);
    EXPECT_EQ(out[1]->Id, 128);

    // A slot reads as a position in SongList.
    std::reverse(store.SongList.begin(), store.SongList.end());
    ASSERT_TRUE(store.setlistFromSongNumbers(slotList({1}), out));
    EXPECT_EQ(out[0].get(), store.SongList[0].get());
    EXPECT_EQ(out[0]->Id, 128);
}

TEST(SetlistFromSongNumbers, RefusesSlotsThatNameNoSong)
{
    DataHandler store;
    for (qint64 bad : {0, 129, 254, 256, -1}) {
        std::vector<SongRef> out{store.SongList[7]};
        QString problem;
        EXPECT_FALSE(store.setlistFromSongNumbers(slotList({1, 255, bad}), out, &problem)) << bad;
        EXPECT_TRUE(problem.contains(QStringLiteral("slot 3"))) << problem.toStdString();
        ASSERT_EQ(out.size(), 1u); // untouched
        EXPECT_EQ(out[0].get(), store.SongList[7].get());
    }
}

TEST(StackAndLibraryOperations, ClearingAndRemoving)
{
    DataHandler store;
    RandomSession(31).fill(store, {3, false, false});
    const QString name = store.MidiStackList[4].Name;
    const MidiStackMessage kept = store.MidiStackList[4].MidiStackMessageList[3];
    store.clearStackMessage(4, 2);
    EXPECT_EQ(store.MidiStackList[4].MidiStackMessageList[2], MidiStackMessage::empty());
    EXPECT_EQ(store.MidiStackList[4].MidiStackMessageList[3], kept);
    store.clearStack(4);
    for (const MidiStackMessage &m : store.MidiStackList[4].MidiStackMessageList)
        EXPECT_EQ(m, MidiStackMessage::empty());
    EXPECT_EQ(store.MidiStackList[4].Name, name);
    store.clearStack(128);
    store.clearStackMessage(0, 10);

    const MidiMessage second = store.MidiMessageLibrary[1];
    store.removeLibraryEntry(0);
    ASSERT_EQ(store.MidiMessageLibrary.size(), 2u);
    EXPECT_EQ(store.MidiMessageLibrary[0], second);
    store.removeLibraryEntry(5);
    store.removeLibraryEntry(0);
    store.removeLibraryEntry(0);
    EXPECT_TRUE(store.MidiMessageLibrary.empty());
    store.removeLibraryEntry(0); // nothing happens on an empty library
    EXPECT_TRUE(store.MidiMessageLibrary.empty());
}

// A snapshot sees every difference the JSON view of a session sees; a change between two
// sessions holds only what differs, turns one into the other in place (the song and stack
// objects stay, the setlist refers to SongList) and back, and two changes in a row make one.
TEST(SessionSnapshots, ChangesTurnOneSessionIntoAnotherInPlaceAndBack)
{
    for (quint32 seed = 1; seed <= 4; ++seed) {
        SCOPED_TRACE(seed);
        DataHandler a;
        DataHandler b;
        DataHandler c;
        RandomSession(seed).fill(a);
        RandomSession(seed + 1000).fill(b);
        RandomSession(seed + 2000).fill(c);
        const SessionSnapshot sa = SessionSnapshot::of(a);
        const SessionSnapshot sb = SessionSnapshot::of(b);
        const SessionSnapshot sc = SessionSnapshot::of(c);
        ASSERT_NE(sa, sb);
        EXPECT_EQ(snapshot(a) == snapshot(b), sa == sb);

        const Song *first = a.SongList[0].get();
        SessionDelta ab = SessionDelta::between(sa, sb);
        ab.after().applyTo(a);
        EXPECT_EQ(SessionSnapshot::difference(SessionSnapshot::of(a), sb), QString());
        EXPECT_EQ(snapshot(a), snapshot(b));
        EXPECT_EQ(a.SongList[0].get(), first);
        for (const SongRef &entry : a.Setlist)
            EXPECT_GE(a.songPosition(entry.get()), 0);
        ab.before().applyTo(a);
        EXPECT_EQ(SessionSnapshot::of(a), sa);

        // a -> b, then b -> c: one change a -> c; then c -> a: nothing left.
        ab.append(SessionDelta::between(sb, sc));
        ab.after().applyTo(a);
        EXPECT_EQ(SessionSnapshot::of(a), sc);
        ab.before().applyTo(a);
        EXPECT_EQ(SessionSnapshot::of(a), sa);
        ab.append(SessionDelta::between(sc, sa));
        EXPECT_TRUE(ab.isEmpty());
    }

    // One field of one song: the change holds that song only, and names it.
    DataHandler store;
    const SessionSnapshot before = SessionSnapshot::of(store);
    store.SongList[5]->UpdateTempo(99);
    store.GlobalMenu.StackDelay = 70;
    const SessionDelta change = SessionDelta::between(before, SessionSnapshot::of(store));
    EXPECT_EQ(change.songPositions(), std::vector<int>({5}));
    EXPECT_EQ(change.before().songs.size(), 1u);
    EXPECT_TRUE(change.stackPositions().empty());
    EXPECT_FALSE(change.setlistChanged());
    EXPECT_FALSE(change.libraryChanged());
    ASSERT_EQ(change.menuFields().size(), 1u);
    EXPECT_STREQ(menuFields()[size_t(change.menuFields()[0])].name, "StackDelay");
    EXPECT_EQ(SessionSnapshot::difference(before, SessionSnapshot::of(store)), "song at position 5");
}
