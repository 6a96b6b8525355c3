// The session text writer: page selections, the two forms, the setlist slots, stack
// positions, clamping, names and the library lines.
#include "RandomSession.h"

#include "format_test_util.h"

#include <QFile>

#include <algorithm>
#include <optional>

namespace {

const char *const kKeys[] = {"Name",
                             "Tempos",
                             "Fractions",
                             "FontSizes",
                             "BackgroundColours",
                             "ForegroundColours",
                             "DivisionOnes",
                             "DivisionTwos",
                             "DivisionThrees",
                             "DivisionFours",
                             "DivisionMidis",
                             "ExpStack",
                             "NumPulsesOnes",
                             "NumPulsesTwos",
                             "NumPulsesThrees",
                             "NumPulsesFours",
                             "MidiStackReferences",
                             "PresetOptions",
                             "ProgramChanges",
                             "BankChanges",
                             "Setlist",
                             "FootTapFunction",
                             "FootHoldFunction",
                             "Jack1TipTapFunction",
                             "Jack1TipHoldFunction",
                             "Jack1RingTapFunction",
                             "Jack1RingHoldFunction",
                             "Jack2TipTapFunction",
                             "Jack2TipHoldFunction",
                             "Jack2RingTapFunction",
                             "Jack2RingHoldFunction",
                             "Jack3TipTapFunction",
                             "Jack3TipHoldFunction",
                             "Jack3RingTapFunction",
                             "Jack3RingHoldFunction",
                             "FootTapPreset",
                             "FootHoldPreset",
                             "Jack1TipTapPreset",
                             "Jack1TipHoldPreset",
                             "Jack1RingTapPreset",
                             "Jack1RingHoldPreset",
                             "Jack2TipTapPreset",
                             "Jack2TipHoldPreset",
                             "Jack2RingTapPreset",
                             "Jack2RingHoldPreset",
                             "Jack3TipTapPreset",
                             "Jack3TipHoldPreset",
                             "Jack3RingTapPreset",
                             "Jack3RingHoldPreset",
                             "FootTapStack",
                             "FootHoldStack",
                             "Jack1TipTapStack",
                             "Jack1TipHoldStack",
                             "Jack1RingTapStack",
                             "Jack1RingHoldStack",
                             "Jack2TipTapStack",
                             "Jack2TipHoldStack",
                             "Jack2RingTapStack",
                             "Jack2RingHoldStack",
                             "Jack3TipTapStack",
                             "Jack3TipHoldStack",
                             "Jack3RingTapStack",
                             "Jack3RingHoldStack",
                             "Global",
                             "MidiStackNames",
                             "MidiStackMessageNames",
                             "MidiStackMessageChannels",
                             "MidiStackMessageMessages",
                             "MidiStackMessageValues",
                             "LibraryManufacturers",
                             "LibraryDevices",
                             "LibraryActions",
                             "LibraryTypes",
                             "LibraryMessages",
                             "LibraryValues"};

std::vector<int> numbers(std::initializer_list<std::pair<int, int>> ranges)
{
    std::vector<int> out;
    for (auto r : ranges)
        for (int k = r.first; k <= r.second; ++k)
            out.push_back(k - 1); // table positions count from 0
    return out;
}

} // namespace

TEST(KeyTable, PageSelections)
{
    using P = SessionKeys::Page;
    EXPECT_EQ(SessionKeys::keysOfPage(P::Songs), numbers({{1, 11}, {17, 20}, {22, 23}, {36, 37}, {50, 51}}));
    EXPECT_EQ(SessionKeys::keysOfPage(P::SetJacks), numbers({{12, 16}, {24, 35}, {38, 49}, {52, 63}}));
    EXPECT_EQ(SessionKeys::keysOfPage(P::Midi), numbers({{67, 69}}));
    EXPECT_EQ(SessionKeys::keysOfPage(P::Global), numbers({{64, 64}}));
    EXPECT_EQ(SessionKeys::keysOfPage(P::Setlist), numbers({{21, 21}}));
    EXPECT_EQ(SessionKeys::keysOfPage(P::All), numbers({{1, 64}, {67, 69}}));
    P page = P::Songs;
    EXPECT_TRUE(SessionKeys::pageFromName(u"setjacks", page));
    EXPECT_EQ(page, P::SetJacks);
    EXPECT_FALSE(SessionKeys::pageFromName(u"Songs", page));
}

TEST(Writer, AllFlagsClear)
{
    DataHandler store;
    SessionWriter writer;
    EXPECT_EQ(writer.write(store, SessionWriter::Form::Pedal), QString());
    const QString file = writer.write(store, SessionWriter::Form::File);
    EXPECT_EQ(keysOf(file),
              QStringList({"MidiStackNames", "MidiStackMessageNames", "LibraryManufacturers", "LibraryDevices",
                           "LibraryActions", "LibraryTypes", "LibraryMessages", "LibraryValues"}));
    // An empty library still gives its six lines, each with an empty value.
    EXPECT_TRUE(file.endsWith(QStringLiteral("LibraryManufacturers]\r\nLibraryDevices]\r\nLibraryActions]\r\n"
                                             "LibraryTypes]\r\nLibraryMessages]\r\nLibraryValues]\r\n")));
}

TEST(Writer, FileAndPedalFormsAndLineShape)
{
    DataHandler store;
    RandomSession(5).fill(store, {3, true, true});
    SessionWriter writer;
    writer.setAllKeyFlags(true);
    const QString file = writer.write(store, SessionWriter::Form::File);
    const QString pedal = writer.write(store, SessionWriter::Form::Pedal);
    QStringList all;
    for (const char *k : kKeys)
        all.append(QString::fromLatin1(k));
    EXPECT_EQ(keysOf(file), all);
    QStringList sent = all;
    for (const char *k : {"MidiStackNames", "MidiStackMessageNames", "LibraryManufacturers", "LibraryDevices",
                          "LibraryActions", "LibraryTypes", "LibraryMessages", "LibraryValues"})
        sent.removeAll(QString::fromLatin1(k));
    EXPECT_EQ(keysOf(pedal), sent);
    EXPECT_TRUE(file.startsWith(QStringLiteral("Name]")));
    EXPECT_TRUE(file.endsWith(QStringLiteral("\r\n")));
    EXPECT_FALSE(file.contains(QStringLiteral("\r\n\r\n")));
    EXPECT_EQ(file.count(QStringLiteral("\r\n")), 75);
    EXPECT_EQ(file.count(QLatin1Char('\n')), 75); // names carry no bare line feeds

    const struct
    {
        const char *key;
        int length;
    } sizes[] = {{"Name", 3840},
                 {"Tempos", 384},
                 {"Fractions", 128},
                 {"ExpStack", 384},
                 {"Setlist", 384},
                 {"Global", 205},
                 {"MidiStackNames", 3840},
                 {"MidiStackMessageNames", 38400},
                 {"MidiStackMessageChannels", 3840},
                 {"LibraryManufacturers", 60},
                 {"LibraryTypes", 3},
                 {"LibraryValues", 9}};
    for (const auto &s : sizes) {
        const QString v = valueOf(file, QString::fromLatin1(s.key));
        // Widths count code points.
        EXPECT_EQ(v.toUcs4().size(), s.length) << s.key;
    }
    EXPECT_EQ(valueOf(pedal, QStringLiteral("MidiStackMessageChannels")).size(), 4224);
    EXPECT_EQ(valueOf(pedal, QStringLiteral("MidiStackMessageValues")).size(), 4224);
    EXPECT_EQ(valueOf(pedal, QStringLiteral("Name")), valueOf(file, QStringLiteral("Name")));
}

TEST(Writer, PedalFormPutsEachStacksPositionFirst)
{
    DataHandler store;
    store.MidiStackList[0].MidiStackMessageList[0] = MidiStackMessage(0, 0, 0, 0, QStringLiteral("EMPTY"));
    store.MidiStackList[0].MidiStackMessageList[1] = MidiStackMessage(1, 16, 5, 6, QStringLiteral("PC"));
    store.MidiStackList[1].MidiStackMessageList[9] = MidiStackMessage(3, 2, 60, 127, QStringLiteral("Note"));
    SessionWriter writer;
    writer.selectPage(SessionKeys::Page::Midi);
    const QString pedal = writer.write(store, SessionWriter::Form::Pedal);
    EXPECT_EQ(keysOf(pedal),
              QStringList({"MidiStackMessageChannels", "MidiStackMessageMessages", "MidiStackMessageValues"}));
    const QString channels = valueOf(pedal, QStringLiteral("MidiStackMessageChannels"));
    EXPECT_EQ(channels.left(33), QStringLiteral("000000207000000000000000000000000"));
    EXPECT_EQ(channels.mid(33, 33), QStringLiteral("001000000000000000000000000000145"));
    EXPECT_EQ(channels.right(33), QStringLiteral("127") + QString(30, QLatin1Char('0')));
    EXPECT_EQ(valueOf(pedal, QStringLiteral("MidiStackMessageValues")).mid(33, 33),
              QStringLiteral("001000000000000000000000000000127"));
    // The reply form carries the same keys without positions.
    const QString reply = writer.write(store, SessionWriter::Form::Reply);
    EXPECT_EQ(valueOf(reply, QStringLiteral("MidiStackMessageChannels")).left(60),
              QStringLiteral("000207") + QString(51, QLatin1Char('0')) + QStringLiteral("145"));
    EXPECT_EQ(valueOf(reply, QStringLiteral("MidiStackMessageChannels")).size(), 3840);
    EXPECT_EQ(keysOf(reply), keysOf(pedal));
}

TEST(Writer, SetlistSlotsHoldPositionsAfterTheSongListWasSorted)
{
    DataHandler store;
    for (const SongRef &s : store.SongList)
        s->UpdateName(QStringLiteral("Song %1").arg(s->Id));
    store.Setlist = {store.SongList[2], store.SongList[0], store.SongList[2]};
    // Sorting a table reorders SongList; the Ids stay with their songs.
    std::reverse(store.SongList.begin(), store.SongList.end());
    ASSERT_EQ(store.SongList[125]->Id, 3);
    const QString text = fileForm(store);
    EXPECT_TRUE(valueOf(text, QStringLiteral("Setlist")).startsWith(QStringLiteral("126128126255")));

    // Reading the slots back as positions names the same songs.
    ScriptedDialogs dialogs;
    SessionReader reader;
    ASSERT_EQ(reader.readText(text, dialogs, store), SessionReader::Status::Read) << reader.problem().toStdString();
    store.Setlist.clear();
    reader.apply(store);
    ASSERT_EQ(store.Setlist.size(), 3u);
    EXPECT_EQ(store.Setlist[0]->FullName, QStringLiteral("Song 3"));
    EXPECT_EQ(store.Setlist[1]->FullName, QStringLiteral("Song 1"));
    EXPECT_EQ(store.Setlist[2]->FullName, QStringLiteral("Song 3"));
    EXPECT_EQ(store.Setlist[0].get(), store.SongList[125].get());
}

TEST(Writer, ValuesOutsideTheirFieldAreClampedWithOneLine)
{
    DataHandler store;
    store.SongList[3]->ExpStack = 1000;
    store.SongList[4]->Fraction = 12;
    store.SongList[5]->DivisionOne = -1;
    store.SongList[6]->Tempo = 4000;
    store.GlobalMenu.StackDelay = 12345;
    store.GlobalMenu.OffsetBpmOne = -60; // code 110 has three digits
    CapturedLines captured;
    const QString text = fileForm(store);
    EXPECT_EQ(captured.lines.size(), 6) << captured.lines.join(QLatin1Char('\n')).toStdString();
    EXPECT_EQ(valueOf(text, QStringLiteral("ExpStack")).mid(9, 3), QStringLiteral("999"));
    EXPECT_EQ(valueOf(text, QStringLiteral("Fractions")).mid(4, 1), QStringLiteral("9"));
    EXPECT_EQ(valueOf(text, QStringLiteral("DivisionOnes")).mid(10, 2), QStringLiteral("00"));
    EXPECT_EQ(valueOf(text, QStringLiteral("Tempos")).mid(18, 3), QStringLiteral("999"));
    EXPECT_EQ(valueOf(text, QStringLiteral("Global")).size(), 205);
    EXPECT_EQ(valueOf(text, QStringLiteral("Global")).mid(192, 4), QStringLiteral("9999"));
    EXPECT_EQ(valueOf(text, QStringLiteral("Global")).mid(33, 2), QStringLiteral("99"));
    EXPECT_TRUE(captured.lines.filter(QStringLiteral("ExpStack")).size() == 1);

    // Every line keeps its width, so the text reads back.
    DataHandler other;
    ScriptedDialogs dialogs;
    SessionReader reader;
    EXPECT_EQ(reader.readText(text, dialogs, other), SessionReader::Status::Read) << reader.problem().toStdString();
}

TEST(Writer, NamesCannotBreakTheFile)
{
    DataHandler store;
    store.MidiStackList[1].Name = QStringLiteral("Verse]Chorus");
    store.MidiStackList[2].MidiStackMessageList[3].Name = QStringLiteral("a`b");
    store.MidiStackList[3].Name = QString(35, QLatin1Char('s'));
    store.MidiMessageLibrary.emplace_back(QStringLiteral("Mak]er"), QStringLiteral("Dev`ice"), QStringLiteral("]"), 2,
                                          3, 4);
    store.MidiMessageLibrary.emplace_back(QStringLiteral("Second"), QStringLiteral("D"), QStringLiteral("A"), 0, 0, 0);
    CapturedLines captured;
    const QString text = fileForm(store);
    EXPECT_EQ(captured.lines.size(), 6) << captured.lines.join(QLatin1Char('\n')).toStdString();

    DataHandler read;
    ScriptedDialogs dialogs;
    SessionReader reader;
    ASSERT_EQ(reader.readText(text, dialogs, read), SessionReader::Status::Read) << reader.problem().toStdString();
    reader.apply(read);
    EXPECT_EQ(read.MidiStackList[1].Name, QStringLiteral("VerseChorus"));
    EXPECT_EQ(read.MidiStackList[2].MidiStackMessageList[3].Name, QStringLiteral("ab"));
    EXPECT_EQ(read.MidiStackList[3].Name, QString(30, QLatin1Char('s')));
    EXPECT_EQ(read.MidiStackList[4].Name, QStringLiteral("Midi Stack 5"));
    ASSERT_EQ(read.MidiMessageLibrary.size(), 2u);
    EXPECT_EQ(read.MidiMessageLibrary[0],
              MidiMessage(QStringLiteral("Maker"), QStringLiteral("Device"), QString(), 2, 3, 4));
    EXPECT_EQ(read.MidiMessageLibrary[1].Manufacturer, QStringLiteral("Second"));
}

TEST(Writer, LibraryLines)
{
    DataHandler store;
    store.MidiMessageLibrary.emplace_back(QStringLiteral("Maker"), QStringLiteral("Amp"), QStringLiteral("Boost"), 1, 7,
                                          127);
    store.MidiMessageLibrary.emplace_back(QString(20, QLatin1Char('m')), QString(), QStringLiteral("x"), 6, 255, 0);
    const QString text = fileForm(store);
    EXPECT_EQ(valueOf(text, QStringLiteral("LibraryManufacturers")),
              QStringLiteral("Maker") + QString(15, QLatin1Char('`')) + QString(20, QLatin1Char('m')));
    EXPECT_EQ(valueOf(text, QStringLiteral("LibraryDevices")), QStringLiteral("Amp") + QString(37, QLatin1Char('`')));
    EXPECT_EQ(valueOf(text, QStringLiteral("LibraryTypes")), QStringLiteral("16"));
    EXPECT_EQ(valueOf(text, QStringLiteral("LibraryMessages")), QStringLiteral("007255"));
    EXPECT_EQ(valueOf(text, QStringLiteral("LibraryValues")), QStringLiteral("127000"));
}

TEST(Writer, ExportsWriteExactlyTheirKeys)
{
    DataHandler store;
    const QString stackNames = SessionWriter::writeKeys(store, {SessionKeys::indexOf(u"MidiStackNames")});
    EXPECT_EQ(keysOf(stackNames), QStringList({"MidiStackNames"}));
    std::vector<int> library;
    for (int k = 69; k < 75; ++k)
        library.push_back(k);
    EXPECT_EQ(keysOf(SessionWriter::writeKeys(store, library)),
              QStringList({"LibraryManufacturers", "LibraryDevices", "LibraryActions", "LibraryTypes",
                           "LibraryMessages", "LibraryValues"}));
}

TEST(Writer, WritingChangesNothing)
{
    DataHandler store;
    RandomSession(8).fill(store);
    store.SongList[0]->ExpStack = 5000; // clamped in the text only
    const QString before = fileForm(store);
    EXPECT_EQ(store.SongList[0]->ExpStack, 5000);
    EXPECT_EQ(fileForm(store), before);
}

// The session text is a contract with the pedal and with every stored file: the writer's
// output is held byte for byte against files kept in tests/data/golden. A change of the
// format fails here on purpose. PEDAL_UPDATE_GOLDEN=1 writes the files anew (then read
// the diff before committing it).
TEST(Writer, GoldenFiles)
{
    using P = SessionKeys::Page;
    DataHandler factory;
    DataHandler random;
    RandomSession(2026).fill(random);
    // A song name with a character outside the Basic Multilingual Plane, which the
    // name rules leave out, beside stack and library names that carry such characters.
    random.SongList[0]->UpdateName(QStringLiteral("Gig \U0001F3B8 Night"));
    const struct
    {
        const char *file;
        const DataHandler *store;
        SessionWriter::Form form;
        std::optional<P> page; // none: every key (the file form)
    } rows[] = {
        {"factory.txt", &factory, SessionWriter::Form::File, std::nullopt},
        {"factory-pedal-all.txt", &factory, SessionWriter::Form::Pedal, P::All},
        {"random.txt", &random, SessionWriter::Form::File, std::nullopt},
        {"random-pedal-songs.txt", &random, SessionWriter::Form::Pedal, P::Songs},
        {"random-pedal-setjacks.txt", &random, SessionWriter::Form::Pedal, P::SetJacks},
        {"random-pedal-setlist.txt", &random, SessionWriter::Form::Pedal, P::Setlist},
        {"random-pedal-midi.txt", &random, SessionWriter::Form::Pedal, P::Midi},
        {"random-pedal-global.txt", &random, SessionWriter::Form::Pedal, P::Global},
        {"random-pedal-all.txt", &random, SessionWriter::Form::Pedal, P::All},
    };
    const bool update = qEnvironmentVariableIntValue("PEDAL_UPDATE_GOLDEN") == 1;
    for (const auto &row : rows) {
        SessionWriter writer;
        if (row.page)
            writer.selectPage(*row.page);
        else
            writer.setAllKeyFlags(true);
        const QByteArray written = writer.write(*row.store, row.form).toUtf8();
        QFile golden(QStringLiteral(PEDAL_SOURCE_DIR "/tests/data/golden/") + QLatin1String(row.file));
        if (update) {
            ASSERT_TRUE(golden.open(QIODevice::WriteOnly)) << row.file;
            golden.write(written);
            continue;
        }
        ASSERT_TRUE(golden.open(QIODevice::ReadOnly)) << row.file;
        const QByteArray expected = golden.readAll();
        if (written == expected)
            continue;
        qsizetype at = 0;
        while (at < written.size() && at < expected.size() && written[at] == expected[at])
            ++at;
        ADD_FAILURE() << row.file << ": the writer's text differs from byte " << at << ": written \""
                      << written.mid(std::max<qsizetype>(0, at - 20), 60).toStdString() << "\", kept \""
                      << expected.mid(std::max<qsizetype>(0, at - 20), 60).toStdString() << "\"";
    }
}
