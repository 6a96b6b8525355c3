// The session data: records and their updates, normalisation, the store with its resets
// and list operations, and snapshots with the changes between them.
#include "RandomSession.h"

#include "format/SessionJson.h"
#include "format_test_util.h"
#include "model/CodePoints.h"
#include "model/DataHandler.h"
#include "model/Normaliser.h"
#include "model/SessionSnapshot.h"

#include <QJsonObject>

#include <algorithm>

namespace {

QJsonObject json(const DataHandler &store)
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

} // namespace

TEST(Records, FactoryValuesAndUpdates)
{
    // (Factory values are held by the golden factory session file.)
    Song s = Song::factory(0);
    s.UpdateName(QStringLiteral("A\r\nB\nC"));
    EXPECT_EQ(s.NameWithoutBreaks, QStringLiteral("A_B_C"));
    for (auto [bpm, ms] : {std::pair{240, 250}, {40, 1500}, {300, 200}, {7, 8571}, {130, 461}}) {
        s.UpdateTempo(bpm);
        EXPECT_TRUE(s.Tempo == bpm && s.TempoInMs == ms) << bpm;
    }
    s.UpdateTempo(0); // no milliseconds value: refused
    EXPECT_TRUE(s.Tempo == 130 && s.TempoInMs == 461);

    // Names: at most five lines of 30 characters, none of the reserved ones.
    for (const char *good :
         {"Intro\nVerse 2 (live) #1", "a\nb\nc\nd\ne", "!#$%&()*+,-./:<=>?@^{|}~", "xxxxxxxxxxxxxxxxxxxxxxxxxxxxxx"})
        EXPECT_TRUE(Song::nameProblem(QString::fromLatin1(good)).isEmpty()) << good;
    for (const char *bad : {"a\nb\nc\nd\ne\nf", "\"", "'", ";", "`", "_", "[", "]", "\\", "\r", "caf\xc3\xa9",
                            "xxxxxxxxxxxxxxxxxxxxxxxxxxxxxxx"})
        EXPECT_FALSE(Song::nameProblem(QString::fromUtf8(bad)).isEmpty()) << bad;
    // A stack message name from a library entry: parts cut by code points, never half a pair.
    EXPECT_EQ(MidiMessage(QString(), QStringLiteral("Amp"), QStringLiteral("Boost"), 0, 1, 2).stackMessageName(),
              QStringLiteral("Amp-Boost"));
    const MidiMessage wide(QString(), QStringLiteral("abcdefgh") + kClef + QStringLiteral("xyz"),
                           QStringLiteral("123456789") + kClef + kClef, 0, 1, 2);
    EXPECT_EQ(wide.stackMessageName(), QStringLiteral("abcdefgh") + kClef + QStringLiteral("-123456789") + kClef);

    EXPECT_TRUE(MenuRules::positionForValue(MenuRule::MinusTwenty, -20) == 0
                && MenuRules::valueForPosition(MenuRule::Delay, 1) == 70
                && MenuRules::valueForPosition(MenuRule::Delay, 94) == 1000);
    for (MenuRule rule : {MenuRule::Same, MenuRule::PlusOne, MenuRule::PlusTwo, MenuRule::PlusThirty,
                          MenuRule::MinusTwenty, MenuRule::Delay})
        for (qint64 p = 0; p < 100; ++p)
            EXPECT_EQ(MenuRules::positionForValue(rule, MenuRules::valueForPosition(rule, p)), p);
    // Widths count code points: a surrogate pair is one, a lone surrogate one of its own.
    const QString clef = QString::fromUtf8("\xf0\x9d\x84\x9e"), lone(QChar(0xd834));
    const QString text = "a" + clef + lone + "b" + clef;
    EXPECT_EQ(CodePoints::length(text), 5);
    EXPECT_EQ(CodePoints::advance(text, 0, 2), 3);
    EXPECT_EQ(CodePoints::advance(text, 1, 3), 5);
    EXPECT_EQ(CodePoints::advance(text, 5, 9), text.size());
    EXPECT_EQ(CodePoints::left(text, 2), "a" + clef);
    EXPECT_EQ(CodePoints::left(text, 0), QString());
    EXPECT_EQ(CodePoints::split(text, 2), QStringList({"a" + clef, lone + "b", clef}));
}

TEST(Normaliser, ClampsNamesAndASecondRunChangesNothing)
{
    // Each number set, and what normalising leaves.
    DataHandler store;
    auto &messages = store.MidiStackList[3].MidiStackMessageList;
    store.MidiMessageLibrary.emplace_back(QStringLiteral("M"), QStringLiteral("D"), QStringLiteral("A"), 9, 0, 0);
    MidiMessage &entry = store.MidiMessageLibrary.front();
    const struct
    {
        qint64 *field;
        qint64 in, out;
    } numbers[] = {{&store.SongList[0]->Tempo, 20, 40},
                   {&store.SongList[1]->Tempo, 350, 300},
                   {&store.SongList[2]->Tempo, 0, 40},
                   {&store.SongList[3]->Tempo, 300, 300},
                   {&store.SongList[4]->Tempo, 40, 40},
                   {&store.SongList[0]->ProgramChange, 0, 1},
                   {&store.SongList[1]->ProgramChange, 129, 128},
                   {&store.SongList[2]->ProgramChange, 64, 64},
                   {&store.SongList[0]->BankChange, 200, 128},
                   {&store.SongList[1]->BankChange, -4, 1},
                   {&store.SongList[2]->BankChange, 128, 128},
                   {&messages[0].Channel, 20, 16},
                   {&messages[1].Channel, -3, 0},
                   {&messages[2].Message, 256, 255},
                   {&messages[3].Message, -1, 0},
                   {&messages[4].Value, 1000, 255},
                   {&messages[5].Value, -1000, 0},
                   {&messages[6].Value, 255, 255},
                   {&entry.Message, -7, 0},
                   {&entry.Value, 300, 255},
                   {&entry.Typey, 9, 9}};
    for (const auto &n : numbers)
        *n.field = n.in;
    Normaliser::normalise(store);
    for (const auto &n : numbers)
        EXPECT_EQ(*n.field, n.out) << n.in;
    EXPECT_EQ(store.SongList[0]->TempoInMs, 1500);
    EXPECT_EQ(store.SongList[1]->TempoInMs, 200);

    // Names keep at most five lines and 30 code points, breaks included; "\r" goes.
    const QString notes = kClef.repeated(29);
    const struct
    {
        QString in, out;
    } names[] = {{"a\nb\nc\nd\ne\nf", "a\nb\nc\nd\nef"},
                 {"1\n2\n3\n4\n5\n6\n7", "1\n2\n3\n4\n567"},
                 {"Intro\r\nVerse\r", "Intro\nVerse"},
                 {"0123456789abcdefghijABCDEFGHIJklmnopqrst", "0123456789abcdefghijABCDEFGHIJ"},
                 {"abcdefg\nhijklmn\nopqrstu\nvwxyzAB", "abcdefg\nhijklmn\nopqrstu\nvwxyzA"},
                 {"abcdefghijklmn\r\nopqrstuvwxyzABC", "abcdefghijklmn\nopqrstuvwxyzABC"},
                 {notes + QLatin1Char('x'), notes + QLatin1Char('x')},
                 {notes + kClef + kClef, notes + kClef}};
    for (const auto &n : names)
        EXPECT_EQ(Normaliser::normaliseName(n.in), n.out) << n.in.toStdString();
    store.SongList[0]->FullName = QStringLiteral("a\nb\nc\nd\ne\nf"); // the one-line form stale
    Normaliser::normalise(store);
    EXPECT_EQ(store.SongList[0]->NameWithoutBreaks, QStringLiteral("a_b_c_d_ef"));

    for (quint32 seed = 1; seed <= 4; ++seed) {
        DataHandler random;
        RandomSession r(seed);
        r.fill(random);
        for (const SongRef &song : random.SongList) {
            if (r.chance(30))
                song->UpdateName(r.text(45, true) + QStringLiteral("\n1\n2\n3\n4\n5\r\n6"));
            if (r.chance(30))
                song->Tempo = r.chance(50) ? r.between(-10, 39) : r.between(301, 1000);
            song->BankChange = r.between(-300, 300);
        }
        for (MidiStack &stack : random.MidiStackList)
            for (MidiStackMessage &msg : stack.MidiStackMessageList)
                msg.Channel = r.between(-20, 40);
        Normaliser::normalise(random);
        const QJsonObject once = json(random);
        for (const SongRef &song : random.SongList)
            EXPECT_TRUE(CodePoints::length(song->FullName) <= 30 && song->FullName.count(QLatin1Char('\n')) <= 4
                        && !song->FullName.contains(QLatin1Char('\r')) && song->Tempo >= 40 && song->Tempo <= 300
                        && song->TempoInMs == 60000 / song->Tempo);
        Normaliser::normalise(random);
        EXPECT_EQ(json(random), once) << "seed " << seed;
    }
}

TEST(Store, FactorySessionAndResets)
{
    DataHandler store;
    store.Setlist[4]->UpdateTempo(90); // the setlist holds the very song objects
    EXPECT_EQ(store.SongList[4]->TempoInMs, 666);

    // The full reset: factory values in place, the library kept, every song the values
    // of the position it now has (the list may have been sorted).
    RandomSession(12).fill(store, {25, true, true});
    const auto library = store.MidiMessageLibrary;
    const Song *song = store.SongList[0].get();
    const MidiStackMessage *message = &store.MidiStackList[0].MidiStackMessageList[0];
    const qint64 id = song->Id;
    store.resetSessionContents();
    EXPECT_EQ(store.MidiMessageLibrary, library);
    store.MidiMessageLibrary.clear();
    EXPECT_EQ(fileForm(store), fileForm(DataHandler()));
    EXPECT_TRUE(store.SongList[0].get() == song && song->Id == id && store.Setlist[0].get() == song);
    EXPECT_EQ(&store.MidiStackList[0].MidiStackMessageList[0], message);

    // Page resets: the keys of their page take the factory values (but those kept), all others stay.
    using P = SessionKeys::Page;
    const struct
    {
        std::function<void(DataHandler &)> reset;
        P page;
        QStringList kept; // keys of the page left as they are, by the start of their name
    } resets[] = {
        {[](DataHandler &d) { d.resetSetJacksFields(); }, P::SetJacks, {}},
        {[](DataHandler &d) { d.resetSongsFields(); }, P::Songs, {"Fractions", "FontSizes"}},
        {[](DataHandler &d) { d.resetMidiStacks(); }, P::Midi, {"MidiStackNames", "Library"}},
        {[](DataHandler &d) { d.resetGlobals(); }, P::Global, {}},
        {[](DataHandler &d) { d.resetSetlist(); }, P::Setlist, {}},
    };
    for (const auto &row : resets) {
        DataHandler pages;
        RandomSession(21).fill(pages, {5, true, false});
        const QStringList before = keyImage(pages), factory = keyImage(DataHandler());
        row.reset(pages);
        const QStringList after = keyImage(pages);
        for (int k = 0; k < SessionKeys::Count; ++k) {
            const QString key = QLatin1String(SessionKeys::at(k).key);
            const bool reset = SessionKeys::at(k).page == row.page
                && std::none_of(row.kept.begin(), row.kept.end(), [&](const QString &p) { return key.startsWith(p); });
            EXPECT_EQ(after[k], reset ? factory[k] : before[k]) << key.toStdString() << " " << int(row.page);
        }
    }
}

TEST(Store, SetlistStackAndLibraryOperations)
{
    DataHandler store;
    const struct
    {
        std::function<void(DataHandler &)> step;
        std::vector<qint64> setlist; // Ids; empty: all 128 songs
    } steps[] = {
        {[](DataHandler &s) { s.addSongToSetlist(9); }, {10}},
        {[](DataHandler &s) { s.addSongToSetlist(9); }, {10, 10}},
        {[](DataHandler &s) { s.addSongToSetlist(128); }, {10, 10}},
        {[](DataHandler &s) { s.addSongToSetlist(-1); }, {10, 10}},
        {[](DataHandler &s) { s.addSongToSetlist(0); }, {10, 10, 1}},
        {[](DataHandler &s) { s.moveSetlistEntryUp(0); }, {10, 10, 1}},
        {[](DataHandler &s) { s.moveSetlistEntryUp(2); }, {10, 1, 10}},
        {[](DataHandler &s) { s.moveSetlistEntryDown(0); }, {1, 10, 10}},
        {[](DataHandler &s) { s.moveSetlistEntryDown(2); }, {1, 10, 10}},
        {[](DataHandler &s) { s.moveSetlistEntryUp(5); }, {1, 10, 10}},
        {[](DataHandler &s) { s.removeSetlistEntry(1); }, {1, 10}},
        {[](DataHandler &s) { s.removeSetlistEntry(2); }, {1, 10}},
        {[](DataHandler &s) {
             while (s.Setlist.size() < 128)
                 s.addSongToSetlist(3);
             s.addSongToSetlist(127); // a full setlist starts anew
         },
         {128}},
        {[](DataHandler &s) { s.removeSetlistEntry(0); }, {}},
    };
    for (size_t i = 0; i < std::size(steps); ++i) {
        steps[i].step(store);
        EXPECT_EQ(setlistIds(store), steps[i].setlist.empty() ? setlistIds(DataHandler()) : steps[i].setlist) << i;
    }
    EXPECT_EQ(store.moveSetlistEntryUp(2), 1);
    EXPECT_EQ(store.moveSetlistEntryDown(1), 2);
    EXPECT_EQ(store.moveSetlistEntryUp(0), 0);

    RandomSession(31).fill(store, {3, false, false});
    const QString name = store.MidiStackList[4].Name;
    const MidiStackMessage kept = store.MidiStackList[4].MidiStackMessageList[3];
    store.clearStackMessage(4, 2);
    EXPECT_EQ(store.MidiStackList[4].MidiStackMessageList[2], MidiStackMessage::empty());
    EXPECT_EQ(store.MidiStackList[4].MidiStackMessageList[3], kept);
    store.clearStack(4);
    EXPECT_EQ(store.MidiStackList[4].MidiStackMessageList[3], MidiStackMessage::empty());
    EXPECT_EQ(store.MidiStackList[4].Name, name);
    store.clearStack(128);
    store.clearStackMessage(0, 10);
    const MidiMessage second = store.MidiMessageLibrary[1];
    store.removeLibraryEntry(0);
    store.removeLibraryEntry(5);
    ASSERT_EQ(store.MidiMessageLibrary.size(), 2u);
    EXPECT_EQ(store.MidiMessageLibrary[0], second);
}

// A change between two sessions holds only what differs, turns one into the other in
// place (the song and stack objects stay) and back, and two changes in a row make one.
TEST(Store, SnapshotsAndTheChangesBetweenThem)
{
    for (quint32 seed = 1; seed <= 3; ++seed) {
        SCOPED_TRACE(seed);
        DataHandler a, b, c;
        RandomSession(seed).fill(a);
        RandomSession(seed + 1000).fill(b);
        RandomSession(seed + 2000).fill(c);
        const SessionSnapshot sa = SessionSnapshot::of(a), sb = SessionSnapshot::of(b), sc = SessionSnapshot::of(c);
        ASSERT_NE(sa, sb);
        const Song *first = a.SongList[0].get();
        SessionDelta ab = SessionDelta::between(sa, sb);
        ab.after().applyTo(a);
        EXPECT_TRUE(SessionSnapshot::of(a) == sb);
        EXPECT_EQ(json(a), json(b));
        EXPECT_EQ(a.SongList[0].get(), first);
        for (const SongRef &entry : a.Setlist)
            EXPECT_GE(a.songPosition(entry.get()), 0);
        ab.before().applyTo(a);
        EXPECT_EQ(SessionSnapshot::of(a), sa);
        ab.append(SessionDelta::between(sb, sc));
        ab.after().applyTo(a);
        EXPECT_EQ(SessionSnapshot::of(a), sc);
        ab.before().applyTo(a);
        EXPECT_EQ(SessionSnapshot::of(a), sa);
        ab.append(SessionDelta::between(sc, sa));
        EXPECT_TRUE(ab.isEmpty());
    }
}
