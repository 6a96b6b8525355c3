// Randomised stores through the file form: write, read into a fresh factory store,
// apply, and compare the whole store. And the difference of two sessions: in words,
// against the lines of their files, and applied as a file and as an upload.
#include "RandomSession.h"

#include "format/SessionDiff.h"
#include "format/SessionJson.h"
#include "model/Normaliser.h"
#include "format_test_util.h"

#include <QJsonArray>
#include <QJsonObject>

#include <algorithm>
#include <functional>
#include <set>

namespace {

// What a store reads back as: songs numbered by their position (the file carries
// positions, not Ids), the setlist by those numbers, and line breaks of song names as
// "\r\n", the way the reader stores them.
QJsonObject expectedAfterReading(const DataHandler &store)
{
    QJsonObject json = SessionJson::toJson(store);
    QJsonArray songs = json[QStringLiteral("SongList")].toArray();
    for (int p = 0; p < songs.size(); ++p) {
        QJsonObject s = songs[p].toObject();
        s[QStringLiteral("Id")] = p + 1;
        QString name = s[QStringLiteral("FullName")].toString();
        name.remove(QLatin1Char('\r'));
        name.replace(QLatin1Char('\n'), QStringLiteral("\r\n"));
        s[QStringLiteral("FullName")] = name;
        songs[p] = s;
    }
    json[QStringLiteral("SongList")] = songs;
    QJsonArray setlist;
    for (const SongRef &s : store.Setlist)
        setlist.append(store.songPosition(s.get()) + 1);
    json[QStringLiteral("Setlist")] = setlist;
    return json;
}

} // namespace

TEST(RoundTrip, RandomStoresThroughTheFileForm)
{
    CapturedLines diagnostics;
    for (quint32 seed = 100; seed < 112; ++seed) {
        SCOPED_TRACE(seed);
        DataHandler source;
        RandomSession(seed).fill(source);
        const QString text = fileForm(source);

        DataHandler store;
        ScriptedDialogs dialogs;
        SessionReader reader;
        ASSERT_EQ(reader.readText(text, dialogs, store), SessionReader::Status::Read) << reader.problem().toStdString();
        EXPECT_TRUE(dialogs.shown.isEmpty());
        EXPECT_EQ(reader.presentKeys().size(), 75u);
        reader.apply(store);
        const QJsonObject expected = expectedAfterReading(source);
        const QJsonObject actual = SessionJson::toJson(store);
        for (const QString &part : expected.keys())
            EXPECT_EQ(actual[part], expected[part]) << part.toStdString();

        // Written again, the text is the same.
        EXPECT_EQ(fileForm(store), text);
    }
    // Valid stores fit every field: nothing was clamped or left out.
    EXPECT_TRUE(diagnostics.lines.isEmpty()) << diagnostics.lines.join(QLatin1Char('\n')).toStdString();
}

TEST(RoundTrip, OpenNormalisesToTheStoreThatWasSaved)
{
    // Save (normalise, write) and open (read, apply, normalise) give back the store,
    // with song names in their "\n" form again.
    DataHandler source;
    RandomSession(200).fill(source, {30, true, false});
    Normaliser::normalise(source);
    DataHandler store;
    ScriptedDialogs dialogs;
    SessionReader reader;
    ASSERT_EQ(reader.readText(fileForm(source), dialogs, store), SessionReader::Status::Read);
    reader.apply(store);
    Normaliser::normalise(store);
    EXPECT_EQ(SessionJson::toJson(store), SessionJson::toJson(source));
}

TEST(RoundTrip, TheFactorySession)
{
    DataHandler source;
    DataHandler store;
    RandomSession(201).fill(store, {0, false, false});
    store.Setlist = {store.SongList[3]};
    ScriptedDialogs dialogs;
    SessionReader reader;
    ASSERT_EQ(reader.readText(fileForm(source), dialogs, store), SessionReader::Status::Read);
    reader.apply(store);
    EXPECT_EQ(SessionJson::toJson(store), SessionJson::toJson(source));
}

// The difference of two sessions.

namespace {

struct DiffRow
{
    const char *what;
    std::function<void(DataHandler &)> before; // applied to both sessions
    std::function<void(DataHandler &)> change; // applied to the second only
    QStringList lines;
};

// A session built from a seed and then changed `count` times at random, within what the
// editors allow: the same seed and count always give the same session.
void changeAtRandom(DataHandler &store, RandomSession &r, int count)
{
    for (int n = 0; n < count; ++n) {
        Song &song = *store.SongList[size_t(r.between(0, 127))];
        MidiStack &stack = store.MidiStackList[size_t(r.between(0, 127))];
        MidiStackMessage &message = stack.MidiStackMessageList[size_t(r.between(0, 9))];
        const SongInput &input = songInputs()[size_t(r.between(0, 13))];
        const SongJack &jack = songJacks()[size_t(r.between(0, 3))];
        const MenuField &setting = menuFields()[size_t(r.between(0, Menu::FieldCount - 1))];
        auto &library = store.MidiMessageLibrary;
        switch (r.between(0, 11)) {
        case 0: song.UpdateName(r.songName()); break;
        case 1: song.UpdateTempo(r.between(40, 300)); break;
        case 2: song.*(input.function) = r.between(0, 20); break;
        case 3: song.*(input.stack) = r.between(0, 127); break;
        case 4:
            song.*(jack.mode) = 1;
            song.*(jack.pulses) = r.between(0, 30);
            break;
        case 5: song.StopRepeatingMessage = 1 - song.StopRepeatingMessage; break;
        case 6:
            if (r.chance(50) && store.Setlist.size() > 1)
                store.Setlist.erase(store.Setlist.begin() + r.between(0, qint64(store.Setlist.size()) - 1));
            else if (store.Setlist.size() < 128)
                store.Setlist.push_back(store.SongList[size_t(r.between(0, 127))]);
            break;
        case 7:
            store.GlobalMenu.*(setting.member) = setting.rule == MenuRule::Same
                ? r.between(0, 1)
                : MenuRules::valueForPosition(setting.rule, r.between(0, 15));
            break;
        case 8: stack.Name = r.text(30, true); break;
        case 9:
            message.Typey = r.between(1, 6);
            message.Channel = r.between(1, 16);
            message.Value = r.between(0, 255);
            message.Name = r.text(30, true);
            break;
        case 10:
            library.emplace_back(r.text(20, true), r.text(20, true), r.text(20, true), r.between(0, 6),
                                 r.between(0, 255), r.between(0, 255));
            break;
        default:
            if (!library.empty())
                library.erase(library.begin() + r.between(0, qint64(library.size()) - 1));
            break;
        }
    }
}

void makeSession(DataHandler &store, quint32 seed, int changes)
{
    RandomSession(seed).fill(store);
    RandomSession r(seed * 7919u + quint32(changes));
    changeAtRandom(store, r, changes);
}

// The keys whose lines differ between two file forms, found line by line.
std::vector<int> keysWhoseLinesDiffer(const QString &a, const QString &b)
{
    std::vector<int> keys;
    for (int k = 0; k < SessionKeys::Count; ++k) {
        const QString key = QString::fromLatin1(SessionKeys::at(k).key);
        if (valueOf(a, key) != valueOf(b, key))
            keys.push_back(k);
    }
    return keys;
}

// An upload applied as the pedal reads one: each line decoded in the pedal form.
void applyUpload(DataHandler &store, const QString &upload)
{
    SessionCodec::Options options;
    options.stackPositions = true;
    for (const QString &l : upload.split(QStringLiteral("\r\n"), Qt::SkipEmptyParts)) {
        const int key = SessionKeys::indexOf(QStringView(l).left(l.indexOf(QLatin1Char(']'))));
        ASSERT_GE(key, 0) << l.left(40).toStdString();
        DecodedKey decoded;
        QString problem;
        ASSERT_TRUE(SessionCodec::decode(key, SessionCodec::lineValue(l, key), store, options, decoded, problem))
            << problem.toStdString();
        SessionCodec::store(store, decoded);
    }
}

} // namespace

TEST(Diff, SaysEachChangeInWords)
{
    const auto nothing = [](DataHandler &) {};
    const DiffRow rows[] = {
        {"tempo",
         [](DataHandler &s) { s.SongList[2]->UpdateName(QStringLiteral("Intro\nRiff")); },
         [](DataHandler &s) { s.SongList[2]->UpdateTempo(97); },
         {QStringLiteral("Song 3 (Intro_Riff): Tempo 120 → 97")}},
        {"setlist slot",
         nothing,
         [](DataHandler &s) { s.Setlist[3] = s.SongList[11]; },
         {QStringLiteral("Setlist: position 4 is now song 12")}},
        {"shorter setlist",
         nothing,
         [](DataHandler &s) { s.Setlist.resize(127); },
         {QStringLiteral("Setlist: position 128 is now empty")}},
        {"global setting",
         nothing,
         [](DataHandler &s) { s.GlobalMenu.MidiChannelOut = 5; },
         {QStringLiteral("Global: Midi Channel Out 1 → 5")}},
        {"two settings in one option number",
         nothing,
         [](DataHandler &s) {
             s.GlobalMenu.MidiThru = 0;
             s.GlobalMenu.MetroEnabled = 1;
         },
         {QStringLiteral("Global: Midi Thru 1 → 0"), QStringLiteral("Global: Metro Enabled 0 → 1")}},
        {"name with a line break",
         nothing,
         [](DataHandler &s) { s.SongList[4]->UpdateName(QStringLiteral("Verse\nTwo")); },
         {QStringLiteral("Song 5 (Verse_Two): Name \"\" → \"Verse\\nTwo\"")}},
        {"foot switch",
         nothing,
         [](DataHandler &s) { s.SongList[0]->FootTAPFunction = 4; },
         {QStringLiteral("Song 1: Foot Tap Function 1 → 4")}},
        {"jack input",
         nothing,
         [](DataHandler &s) { s.SongList[0]->Jack2RingHOLDStack = 9; },
         {QStringLiteral("Song 1: Jack 2 Ring Hold Stack 0 → 9")}},
        {"jack output",
         nothing,
         [](DataHandler &s) {
             s.SongList[0]->JackOne = 0;
             s.SongList[0]->JackOneStatic = 1;
         },
         {QStringLiteral("Song 1: Jack 1 Output tap output, 6 pulses → static high")}},
        {"a jack output the text cannot tell apart",
         nothing,
         [](DataHandler &s) {
             s.SongList[0]->JackOne = 0;
             s.SongList[0]->JackOneStatic = 2; // written as 6, as six pulses are
         },
         {}},
        {"preset options",
         nothing,
         [](DataHandler &s) {
             s.SongList[1]->StopMidiClock = 1;
             s.SongList[1]->MimicFootswitch = 1;
         },
         {QStringLiteral("Song 2: Options none → Stop Midi Clock, Mimic Footswitch")}},
        {"stack name and a message",
         nothing,
         [](DataHandler &s) {
             s.MidiStackList[1].Name = QStringLiteral("Bass");
             s.MidiStackList[1].MidiStackMessageList[2] = MidiStackMessage(3, 2, 60, 64, QStringLiteral("Low C"));
         },
         {QStringLiteral("Stack 2 (Midi Stack 2): Name \"Midi Stack 2\" → \"Bass\""),
          QStringLiteral("Stack 2 (Midi Stack 2): Row 3 Name \"EMPTY\" → \"Low C\""),
          QStringLiteral("Stack 2 (Midi Stack 2): Row 3 Type and Channel none → Note On, channel 2"),
          QStringLiteral("Stack 2 (Midi Stack 2): Row 3 Message 0 → 60"),
          QStringLiteral("Stack 2 (Midi Stack 2): Row 3 Value 0 → 64")}},
        {"library entry added",
         nothing,
         [](DataHandler &s) {
             s.MidiMessageLibrary.emplace_back(QStringLiteral("Acme"), QStringLiteral("Delay"), QStringLiteral("Tap"),
                                               0, 80, 127);
         },
         {QStringLiteral("Library entry 1: Manufacturer (none) → \"Acme\""),
          QStringLiteral("Library entry 1: Device (none) → \"Delay\""),
          QStringLiteral("Library entry 1: Action (none) → \"Tap\""),
          QStringLiteral("Library entry 1: Type (none) → 0 (Control)"),
          QStringLiteral("Library entry 1: Message (none) → 80"),
          QStringLiteral("Library entry 1: Value (none) → 127")}},
        {"the same session", nothing, nothing, {}},
    };
    for (const DiffRow &row : rows) {
        SCOPED_TRACE(row.what);
        DataHandler a, b;
        row.before(a);
        row.before(b);
        row.change(b);
        QStringList lines;
        std::set<int> keys;
        for (const SessionChange &c : SessionDiff::compare(a, b)) {
            lines << c.text();
            keys.insert(c.key);
        }
        EXPECT_EQ(lines, row.lines);
        const std::vector<int> changed = SessionDiff::changedKeys(a, b);
        EXPECT_EQ(std::vector<int>(keys.begin(), keys.end()), changed);
    }
}

TEST(Diff, RandomPairsAgreeWithTheirFilesAndTheirChangesGiveTheSecond)
{
    // Pairs of unrelated sessions, and sessions with a few changes from the same one.
    struct Pair
    {
        quint32 seedA;
        int changesA;
        quint32 seedB;
        int changesB;
    };
    std::vector<Pair> pairs;
    pairs.push_back({300, 0, 301, 0});
    pairs.push_back({301, 0, 300, 0});
    for (quint32 seed = 310; seed < 324; ++seed)
        pairs.push_back({seed, 0, seed, int(seed % 6) + 1});
    pairs.push_back({340, 3, 340, 3}); // the same session

    for (const Pair &p : pairs) {
        SCOPED_TRACE(testing::Message() << p.seedA << "+" << p.changesA << " to " << p.seedB << "+" << p.changesB);
        DataHandler a, b;
        makeSession(a, p.seedA, p.changesA);
        makeSession(b, p.seedB, p.changesB);
        const QString fileA = fileForm(a);
        const QString fileB = fileForm(b);

        // The changed keys are exactly the lines that differ, and every change names one.
        const std::vector<int> changed = SessionDiff::changedKeys(a, b);
        EXPECT_EQ(changed, keysWhoseLinesDiffer(fileA, fileB));
        const std::vector<SessionChange> changes = SessionDiff::compare(a, b);
        std::set<int> named;
        for (const SessionChange &c : changes)
            named.insert(c.key);
        EXPECT_EQ(std::vector<int>(named.begin(), named.end()), changed);
        EXPECT_EQ(changes.empty(), fileA == fileB);

        // The changed keys of the second session, opened onto the first, give the second.
        // (Opening adds library entries to those there are.)
        DataHandler opened;
        makeSession(opened, p.seedA, p.changesA);
        if (std::find(changed.begin(), changed.end(), SessionKeys::indexOf(u"LibraryTypes")) != changed.end())
            opened.MidiMessageLibrary.clear();
        if (!changed.empty())
            readInto(opened, SessionWriter::writeKeys(b, changed));
        EXPECT_EQ(fileForm(opened), fileB);

        // The upload of the changes makes the pedal's keys those of the second session,
        // and carries nothing else.
        DataHandler pedal;
        makeSession(pedal, p.seedA, p.changesA);
        const QString upload = SessionDiff::uploadText(a, b);
        applyUpload(pedal, upload);
        for (int k = 0; k < SessionKeys::Count; ++k) {
            const DataHandler &expected = SessionKeys::at(k).gated ? b : a;
            EXPECT_EQ(SessionWriter::value(pedal, k, SessionWriter::Form::File),
                      SessionWriter::value(expected, k, SessionWriter::Form::File))
                << SessionKeys::at(k).key;
        }
        const QStringList sent = keysOf(upload);
        for (const QString &key : sent)
            EXPECT_TRUE(SessionKeys::at(SessionKeys::indexOf(key)).gated) << key.toStdString();
        EXPECT_EQ(sent.size(),
                  std::count_if(changed.begin(), changed.end(), [](int k) { return SessionKeys::at(k).gated; }));
    }
}
