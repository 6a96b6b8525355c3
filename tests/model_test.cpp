// The session data: records and their updates, normalisation, the store with its resets
// and list operations, and snapshots with the changes between them.
#include "QtPrinters.h"
#include "RandomSession.h"
#include "Snapshot.h"

#include "format/SessionJson.h"
#include "SessionText.h"
#include "model/CodePoints.h"
#include "model/DataHandler.h"
#include "model/Normaliser.h"
#include "model/SessionSnapshot.h"

#include <QJsonObject>

#include <algorithm>

// What updates, names, menu rules, code-point walks and the normaliser make of each value,
// compared with tests/data/transcripts/model-values.txt.
TEST(Records, UpdatesNamesAndTheNormaliser)
{
    // (Factory values are held by the golden factory session file.)
    QString text = QStringLiteral("== updates ==\n");
    Song s = Song::factory(0);
    s.UpdateName(QStringLiteral("A\r\nB\nC"));
    text += "name without breaks: " + s.NameWithoutBreaks + '\n';
    for (int bpm : {240, 40, 300, 7, 130, 0}) { // 0: no milliseconds value, refused
        s.UpdateTempo(bpm);
        text += QStringLiteral("tempo %1: %2 bpm, %3 ms\n").arg(bpm).arg(s.Tempo).arg(s.TempoInMs);
    }
    // A stack message name from a library entry: parts cut by code points, never half a pair.
    text += MidiMessage(QString(), QStringLiteral("Amp"), QStringLiteral("Boost"), 0, 1, 2).stackMessageName() + '\n'
        + MidiMessage(QString(), QStringLiteral("abcdefgh") + kClef + QStringLiteral("xyz"),
                      QStringLiteral("123456789") + kClef + kClef, 0, 1, 2)
              .stackMessageName()
        + QStringLiteral("\nmenu: -20 at %1, delay 1 is %2, delay 94 is %3\n")
              .arg(MenuRules::positionForValue(MenuRule::MinusTwenty, -20))
              .arg(MenuRules::valueForPosition(MenuRule::Delay, 1))
              .arg(MenuRules::valueForPosition(MenuRule::Delay, 94));
    for (MenuRule rule : {MenuRule::Same, MenuRule::PlusOne, MenuRule::PlusTwo, MenuRule::PlusThirty,
                          MenuRule::MinusTwenty, MenuRule::Delay}) {
        SCOPED_TRACE(int(rule));
        for (qint64 p = 0; p < 100; ++p)
            EXPECT_EQ(MenuRules::positionForValue(rule, MenuRules::valueForPosition(rule, p)), p);
    }
    // Widths count code points: a surrogate pair is one, a lone surrogate one of its own.
    const QString lone(QChar(0xd834)), cp = "a" + kClef + lone + "b" + kClef;
    const auto shown = [&lone](const QString &t) { return escaped(t).replace(lone, "{lone}"); };
    text +=
        QString::asprintf("code points of %s: %d; advances %d %d %d; left 2, left 0, split 2: ", qPrintable(shown(cp)),
                          int(CodePoints::length(cp)), int(CodePoints::advance(cp, 0, 2)),
                          int(CodePoints::advance(cp, 1, 3)), int(CodePoints::advance(cp, 5, 9)))
        + shown(CodePoints::left(cp, 2)) + " \"" + CodePoints::left(cp, 0) + "\" "
        + shown(CodePoints::split(cp, 2).join('|')) + '\n';

    // Names: at most five lines of 30 characters, none of the reserved ones.
    text += QStringLiteral("== name problems ==\n");
    for (const char *name : {"Intro\nVerse 2 (live) #1", "a\nb\nc\nd\ne", "!#$%&()*+,-./:<=>?@^{|}~",
                             "xxxxxxxxxxxxxxxxxxxxxxxxxxxxxx", "a\nb\nc\nd\ne\nf", "\"", "'", ";", "`", "_", "[", "]",
                             "\\", "\r", "caf\xc3\xa9", "xxxxxxxxxxxxxxxxxxxxxxxxxxxxxxx"})
        text += escaped(QString::fromUtf8(name)) + ": " + escaped(Song::nameProblem(QString::fromUtf8(name))) + '\n';

    // Each number set alone in a session of one library entry, and what normalising leaves.
    text += QStringLiteral("== numbers normalised ==\n");
    const struct
    {
        const char *name;
        qint64 *(*field)(DataHandler &);
        std::vector<qint64> in;
    } numbers[] = {
#define FIELD(f) [](DataHandler &d) { return &d.f; }
        {"song 128 tempo", FIELD(SongList[127]->Tempo), {20, 350, 0, 300, 40}},
        {"song 1 program", FIELD(SongList[0]->ProgramChange), {0, 129, 64}},
        {"song 128 bank", FIELD(SongList[127]->BankChange), {200, -4, 128}},
        {"stack 128 row 10 channel", FIELD(MidiStackList[127].MidiStackMessageList[9].Channel), {20, -3}},
        {"stack 1 row 1 message", FIELD(MidiStackList[0].MidiStackMessageList[0].Message), {256, -1}},
        {"stack 4 row 5 value", FIELD(MidiStackList[3].MidiStackMessageList[4].Value), {1000, -1000, 255}},
        {"library message", FIELD(MidiMessageLibrary.back().Message), {-7}},
        {"library value", FIELD(MidiMessageLibrary.back().Value), {300}},
        {"library type", FIELD(MidiMessageLibrary.back().Typey), {9}},
#undef FIELD
    };
    for (const auto &row : numbers)
        for (qint64 in : row.in) {
            DataHandler store;
            store.MidiMessageLibrary.emplace_back(QString(), QString(), QString(), 9, 0, 0);
            *row.field(store) = in;
            Normaliser::normalise(store);
            const qint64 out = *row.field(store), ms = store.SongList[127]->TempoInMs;
            // A clamped tempo takes its milliseconds value along.
            text += QString::asprintf(&row == numbers && out != in ? "%s %lld: %lld, %lld ms\n" : "%s %lld: %lld\n",
                                      row.name, in, out, ms);
        }

    // Names keep at most five lines and 30 code points, breaks included; "\r" goes.
    text += QStringLiteral("== names normalised ==\n");
    const QString notes = kClef.repeated(29);
    for (const QString &name :
         {QStringLiteral("a\nb\nc\nd\ne\nf"), QStringLiteral("1\n2\n3\n4\n5\n6\n7"), QStringLiteral("Intro\r\nVerse\r"),
          QStringLiteral("0123456789abcdefghijABCDEFGHIJklmnopqrst"),
          QStringLiteral("abcdefg\nhijklmn\nopqrstu\nvwxyzAB"), QStringLiteral("abcdefghijklmn\r\nopqrstuvwxyzABC"),
          notes + QLatin1Char('x'), notes + kClef + kClef})
        text += escaped(name) + " -> " + escaped(Normaliser::normaliseName(name)) + '\n';
    DataHandler store;
    store.SongList[0]->FullName = QStringLiteral("a\nb\nc\nd\ne\nf"); // the one-line form stale
    Normaliser::normalise(store);
    text += "one-line form: " + store.SongList[0]->NameWithoutBreaks + '\n';
    EXPECT_TRUE(Snapshot::matches(QStringLiteral("transcripts/model-values.txt"), text));
}

TEST(Normaliser, ASecondRunChangesNothing)
{
    for (quint32 seed = 1; seed <= 4; ++seed) {
        SCOPED_TRACE(seed);
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
        const QJsonObject once = SessionJson::toJson(random);
        for (const SongRef &song : random.SongList) {
            SCOPED_TRACE(song->Id);
            EXPECT_LE(CodePoints::length(song->FullName), 30);
            EXPECT_LE(song->FullName.count(QLatin1Char('\n')), 4);
            EXPECT_FALSE(song->FullName.contains(QLatin1Char('\r')));
            EXPECT_GE(song->Tempo, 40);
            EXPECT_LE(song->Tempo, 300);
            EXPECT_EQ(song->TempoInMs, 60000 / song->Tempo);
        }
        Normaliser::normalise(random);
        EXPECT_EQ(SessionJson::toJson(random), once);
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
    EXPECT_EQ(store.SongList[0].get(), song);
    EXPECT_EQ(song->Id, id);
    EXPECT_EQ(store.Setlist[0].get(), song);
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
        SCOPED_TRACE(int(row.page));
        DataHandler pages;
        RandomSession(21).fill(pages, {5, true, false});
        const QStringList before = keyImage(pages), factory = keyImage(DataHandler());
        row.reset(pages);
        const QStringList after = keyImage(pages);
        for (int k = 0; k < SessionKeys::Count; ++k) {
            const QString key = QLatin1String(SessionKeys::at(k).key);
            const bool reset = SessionKeys::at(k).page == row.page
                && std::none_of(row.kept.begin(), row.kept.end(), [&](const QString &p) { return key.startsWith(p); });
            EXPECT_EQ(after[k], reset ? factory[k] : before[k]) << key.toStdString();
        }
    }
}

TEST(Store, SetlistStackAndLibraryOperations)
{
    // Each operation with the position an entry moved to, and the setlist (song Ids) after it;
    // "fill 3" adds song 4 until the setlist is full, and a full setlist starts anew.
    DataHandler store;
    QString text;
    for (const QString &op :
         QStringLiteral("add 9|add 9|add 128|add -1|add 0|up 0|up 2|down 0|down 2|up 5|remove 1|"
                        "remove 2|insert 5 1|insert 6 9|insert 128 0|insert 2 -4|up 2|down 1|up 0|fill 3|"
                        "add 127|remove 0|insert 0 0")
             .split('|')) {
        const QStringList w = op.split(' ');
        const int n = w[1].toInt(), to = w.value(2).toInt();
        int moved = -2;
        if (w[0] == "add")
            store.addSongToSetlist(n);
        else if (w[0] == "insert")
            moved = store.insertSongIntoSetlist(n, to);
        else if (w[0] == "up")
            moved = store.moveSetlistEntryUp(n);
        else if (w[0] == "down")
            moved = store.moveSetlistEntryDown(n);
        else if (w[0] == "remove")
            store.removeSetlistEntry(n);
        while (w[0] == "fill" && store.Setlist.size() < 128)
            store.addSongToSetlist(n);
        QStringList ids;
        for (const SongRef &song : store.Setlist)
            ids << QString::number(song->Id);
        text += op + (moved > -2 ? QStringLiteral(" to %1").arg(moved) : QString()) + ": "
            + Snapshot::shortened(ids, 12, 4, 4).join(' ') + '\n';
    }
    EXPECT_TRUE(Snapshot::matches(QStringLiteral("transcripts/setlist-operations.txt"), text));

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
        EXPECT_EQ(SessionSnapshot::of(a), sb);
        EXPECT_EQ(SessionJson::toJson(a), SessionJson::toJson(b));
        EXPECT_EQ(a.SongList[0].get(), first);
        for (const SongRef &entry : a.Setlist)
            EXPECT_GE(a.songPosition(entry.get()), 0) << "song " << entry->Id;
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
