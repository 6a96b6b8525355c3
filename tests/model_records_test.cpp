// Records: the factory song, stack and settings, the two update operations of a song,
// the position rules of the settings lists and the small helpers of the records.
#include "model/DataHandler.h"
#include "model/MessageType.h"

#include <gtest/gtest.h>

#include <string>

namespace {

qint64 field(const Song &song, const char *name)
{
    for (const SongNumberField &f : songNumberFields())
        if (std::string(f.name) == name)
            return song.*(f.member);
    ADD_FAILURE() << "no song field " << name;
    return -1;
}

qint64 field(const Menu &menu, const char *name)
{
    for (const MenuField &f : menuFields())
        if (std::string(f.name) == name)
            return menu.*(f.member);
    ADD_FAILURE() << "no settings field " << name;
    return -1;
}

} // namespace

TEST(FactorySong, FirstAndLastSongOfANewSession)
{
    const Song first = Song::factory(0);
    EXPECT_EQ(first.Id, 1);
    EXPECT_EQ(first.FullName, QString());
    EXPECT_EQ(first.NameWithoutBreaks, QString());
    EXPECT_EQ(first.Tempo, 120);
    EXPECT_EQ(first.TempoInMs, 500);
    EXPECT_EQ(first.ProgramChange, 1);
    EXPECT_EQ(first.BankChange, 1);
    EXPECT_EQ(first.MidiStackReference, 0);

    const Song last = Song::factory(127);
    EXPECT_EQ(last.Id, 128);
    EXPECT_EQ(last.ProgramChange, 128);
    EXPECT_EQ(last.MidiStackReference, 127);
    for (const SongInput &input : songInputs()) {
        EXPECT_EQ(first.*(input.preset), 0) << input.stem;
        EXPECT_EQ(first.*(input.stack), 0) << input.stem;
        EXPECT_EQ(last.*(input.preset), 127) << input.stem;
        EXPECT_EQ(last.*(input.stack), 127) << input.stem;
    }
}

TEST(FactorySong, FixedFactoryValues)
{
    const Song s = Song::factory(42);
    EXPECT_EQ(field(s, "Fraction"), 0);
    EXPECT_EQ(field(s, "FontSize"), 0);
    EXPECT_EQ(field(s, "BackgroundColour"), 0);
    EXPECT_EQ(field(s, "ForegroundColour"), 1);
    EXPECT_EQ(field(s, "ExpStack"), 127);
    for (const SongJack &jack : songJacks()) {
        EXPECT_EQ(s.*(jack.mode), 1);
        EXPECT_EQ(s.*(jack.level), 0);
        EXPECT_EQ(s.*(jack.pulses), 5);
    }
    EXPECT_EQ(s.FootTAPFunction, 1);
    EXPECT_EQ(s.FootHOLDFunction, 1);
    for (size_t k = 2; k < songInputs().size(); ++k)
        EXPECT_EQ(s.*(songInputs()[k].function), 0) << songInputs()[k].stem;
    EXPECT_EQ(s.StopMidiClock, 0);
    EXPECT_EQ(s.StopRepeatingMessage, 0);
    EXPECT_EQ(s.MimicFootswitch, 0);
}

TEST(FactorySong, FieldTablesFollowTheDeclarationOrder)
{
    // 73 initialiser values: Id, FullName, Tempo and 70 numbers from Fraction to the last stack.
    const auto &fields = songNumberFields();
    ASSERT_EQ(fields.size(), 70u);
    EXPECT_STREQ(fields.front().name, "Fraction");
    EXPECT_STREQ(fields[9].name, "ExpStack");
    EXPECT_STREQ(fields[10].name, "JackOne");
    EXPECT_STREQ(fields[22].name, "MidiStackReference");
    EXPECT_STREQ(fields[28].name, "FootTAPFunction");
    EXPECT_STREQ(fields[42].name, "FootTAPPreset");
    EXPECT_STREQ(fields[56].name, "FootTAPStack");
    EXPECT_STREQ(fields.back().name, "Jack3RingHOLDStack");

    Song::NumberValues values{};
    for (size_t i = 0; i < values.size(); ++i)
        values[i] = qint64(i) + 1000;
    const Song s(7, QStringLiteral("A\nB"), 130, values);
    EXPECT_EQ(s.TempoInMs, 461);
    EXPECT_EQ(s.NameWithoutBreaks, QStringLiteral("A_B"));
    EXPECT_EQ(s.Fraction, 1000);
    EXPECT_EQ(s.Jack3RingHOLDStack, 1069);
    for (size_t i = 0; i < fields.size(); ++i)
        for (size_t j = i + 1; j < fields.size(); ++j)
            EXPECT_FALSE(fields[i].member == fields[j].member) << fields[i].name << " " << fields[j].name;
}

TEST(FactorySong, InputsPairTheirFunctionPresetAndStackFields)
{
    const auto &inputs = songInputs();
    ASSERT_EQ(inputs.size(), 14u);
    EXPECT_STREQ(inputs[0].stem, "FootTap");
    EXPECT_STREQ(inputs[1].stem, "FootHold");
    EXPECT_STREQ(inputs[13].stem, "Jack3RingHold");
    EXPECT_TRUE(inputs[5].function == &Song::Jack1RingHOLDFunction);
    EXPECT_TRUE(inputs[5].preset == &Song::Jack1RingHOLDPreset);
    EXPECT_TRUE(inputs[5].stack == &Song::Jack1RingHOLDStack);
    EXPECT_TRUE(inputs[5].hold);
    EXPECT_FALSE(inputs[6].hold);
    EXPECT_EQ(presetFunctionCode(false), 10);
    EXPECT_EQ(stackFunctionCode(false), 11);
    EXPECT_EQ(presetFunctionCode(true), 9);
    EXPECT_EQ(stackFunctionCode(true), 10);
}

TEST(SongUpdates, UpdateNameDerivesTheOneLineForm)
{
    Song s = Song::factory(0);
    s.UpdateName(QStringLiteral("A\r\nB\nC"));
    EXPECT_EQ(s.FullName, QStringLiteral("A\r\nB\nC"));
    EXPECT_EQ(s.NameWithoutBreaks, QStringLiteral("A_B_C"));
    s.UpdateName(QStringLiteral("Intro\nVerse"));
    EXPECT_EQ(s.NameWithoutBreaks, QStringLiteral("Intro_Verse"));
    s.UpdateName(QString());
    EXPECT_TRUE(s.FullName.isEmpty());
    EXPECT_TRUE(s.NameWithoutBreaks.isEmpty());
}

TEST(SongUpdates, UpdateTempoDerivesMilliseconds)
{
    Song s = Song::factory(0);
    const struct { qint64 bpm, ms; } cases[] = {{240, 250}, {40, 1500}, {300, 200}, {120, 500}, {7, 8571}, {130, 461}};
    for (const auto &c : cases) {
        s.UpdateTempo(c.bpm);
        EXPECT_EQ(s.Tempo, c.bpm);
        EXPECT_EQ(s.TempoInMs, c.ms) << c.bpm;
    }
    // 0 has no milliseconds value: refused, the song keeps its tempo.
    s.UpdateTempo(0);
    EXPECT_EQ(s.Tempo, 130);
    EXPECT_EQ(s.TempoInMs, 461);
}

TEST(SongUpdates, NameRulesOfTheNameEditor)
{
    EXPECT_TRUE(Song::nameProblem(QStringLiteral("Intro\nVerse 2 (live) #1")).isEmpty());
    EXPECT_TRUE(Song::nameProblem(QString(30, QLatin1Char('x'))).isEmpty());
    EXPECT_TRUE(Song::nameProblem(QStringLiteral("a\nb\nc\nd\ne")).isEmpty());
    EXPECT_TRUE(Song::nameProblem(QStringLiteral("!#$%&()*+,-./:<=>?@^{|}~")).isEmpty());
    EXPECT_FALSE(Song::nameProblem(QString(31, QLatin1Char('x'))).isEmpty());
    EXPECT_FALSE(Song::nameProblem(QStringLiteral("a\nb\nc\nd\ne\nf")).isEmpty());
    for (const char *bad : {"\"", "'", ";", "`", "_", "[", "]", "\\", "\r"})
        EXPECT_FALSE(Song::nameProblem(QString::fromLatin1(bad)).isEmpty()) << bad;
    EXPECT_FALSE(Song::nameProblem(QStringLiteral("caf\u00e9")).isEmpty());
}

TEST(FactoryStack, StacksAndTheirMessages)
{
    const MidiStack first = MidiStack::factory(0);
    EXPECT_EQ(first.ID, 0);
    EXPECT_EQ(first.Name, QStringLiteral("Midi Stack 1"));
    const MidiStack last = MidiStack::factory(127);
    EXPECT_EQ(last.ID, 127);
    EXPECT_EQ(last.Name, QStringLiteral("Midi Stack 128"));
    ASSERT_EQ(last.MidiStackMessageList.size(), 10u);
    for (const MidiStackMessage &m : last.MidiStackMessageList)
        EXPECT_EQ(m, MidiStackMessage(0, 0, 0, 0, QStringLiteral("EMPTY")));

    MidiStack edited = MidiStack::factory(3);
    edited.Name = QStringLiteral("Mine");
    edited.MidiStackMessageList[4] = MidiStackMessage(3, 9, 60, 100, QStringLiteral("Note"));
    edited.clearMessages();
    EXPECT_EQ(edited.Name, QStringLiteral("Mine"));
    EXPECT_EQ(edited.MidiStackMessageList[4], MidiStackMessage::empty());
}

TEST(LibraryEntry, TypeNamesAndTheStackMessageName)
{
    EXPECT_EQ(MessageType::name(0), QStringLiteral("Control"));
    EXPECT_EQ(MessageType::name(4), QStringLiteral("Polyphonic KP"));
    EXPECT_EQ(MessageType::name(6), QStringLiteral("Pitch Bend"));
    EXPECT_EQ(MessageType::name(7), QString());
    EXPECT_EQ(MessageType::name(-1), QString());

    const MidiMessage chorus(QStringLiteral("Maker"), QStringLiteral("Multi-Effects Unit"),
                             QStringLiteral("Chorus On/Off"), 0, 12, 127);
    EXPECT_EQ(chorus.stackMessageName(), QStringLiteral("Multi-Eff-Chorus On/"));
    const MidiMessage shortOnes(QString(), QStringLiteral("Amp"), QStringLiteral("Boost"), 0, 1, 2);
    EXPECT_EQ(shortOnes.stackMessageName(), QStringLiteral("Amp-Boost"));
    // Characters are code points: a cut never leaves half of a pair.
    const QString clef = QString::fromUcs4(U"\U0001D11E", 1);
    const MidiMessage wide(QString(), QStringLiteral("abcdefgh") + clef + QStringLiteral("xyz"),
                           QStringLiteral("123456789") + clef + clef, 0, 1, 2);
    EXPECT_EQ(wide.stackMessageName(), QStringLiteral("abcdefgh") + clef + QStringLiteral("-123456789") + clef);
}

TEST(FactorySettings, ValuesOfANewSession)
{
    const Menu m = Menu::factory();
    EXPECT_EQ(m.MidiPulseAmount, 31);
    EXPECT_EQ(m.LedClickAmount, 31);
    EXPECT_EQ(m.StackDelay, 60);
    EXPECT_EQ(m.OneClickLength, 33);
    EXPECT_EQ(m.FourClickLength, 33);
    EXPECT_EQ(m.SendMidiClock, 1);
    EXPECT_EQ(m.MidiThru, 1);
    EXPECT_EQ(m.DisplayInMillis, 0);
    EXPECT_EQ(m.MetroEnabled, 0);
    EXPECT_EQ(m.MidiChannelIn, 1);
    EXPECT_EQ(m.ChannelConvert1ChannelFrom, 1);
    EXPECT_EQ(m.ChannelConvert1ChannelTo, 5);
    EXPECT_EQ(m.ChannelConvert2ChannelTo, 5);
    EXPECT_EQ(m.IncomingTapType, 0);
    EXPECT_EQ(m.IncomingTapChannel, 3);
    EXPECT_EQ(m.IncomingTapMessage, 93);
    EXPECT_EQ(m.IncomingTapValue, 128);

    // The fifteen incoming messages listen on controllers 93 to 107 in declaration order.
    const auto &fields = menuFields();
    ASSERT_EQ(fields.size(), 104u);
    qint64 controller = 93;
    int groups = 0;
    for (size_t i = 0; i < fields.size(); ++i) {
        const std::string name = fields[i].name;
        if (name.rfind("Incoming", 0) == 0 && name.size() > 7 && name.compare(name.size() - 7, 7, "Message") == 0) {
            EXPECT_EQ(m.*(fields[i].member), controller) << name;
            EXPECT_EQ(field(m, (name.substr(0, name.size() - 7) + "Channel").c_str()), 3) << name;
            ++controller;
            ++groups;
        }
    }
    EXPECT_EQ(groups, 15);
    EXPECT_STREQ(fields[0].name, "SendMidiClock");
    EXPECT_STREQ(fields[84].name, "TftRotation");
    EXPECT_STREQ(fields[99].name, "StackDelay");
    EXPECT_STREQ(fields[103].name, "IncomingResetTimersValue");
}

TEST(FactorySettings, ResetRestoresEveryFieldInPlace)
{
    Menu m = Menu::factory();
    const Menu::Values factory = m.values();
    for (const MenuField &f : menuFields())
        m.*(f.member) = 555;
    const Menu *before = &m;
    m.resetToFactory();
    EXPECT_EQ(&m, before);
    EXPECT_EQ(m.values(), factory);
    EXPECT_TRUE(m == Menu::factory());
}

TEST(FactorySettings, ListPositionRules)
{
    // OffsetBpmOne -20 is the first item of its list, 0 the twenty-first.
    EXPECT_EQ(MenuRules::positionForValue(MenuRule::MinusTwenty, -20), 0);
    EXPECT_EQ(MenuRules::positionForValue(MenuRule::MinusTwenty, 0), 20);
    // StackDelay 60 is the first item ("0 ms"), 70 the second, 1000 the last.
    EXPECT_EQ(MenuRules::positionForValue(MenuRule::Delay, 60), 0);
    EXPECT_EQ(MenuRules::positionForValue(MenuRule::Delay, 70), 1);
    EXPECT_EQ(MenuRules::valueForPosition(MenuRule::Delay, 94), 1000);
    EXPECT_EQ(MenuRules::valueForPosition(MenuRule::PlusTwo, 29), 31);
    EXPECT_EQ(MenuRules::valueForPosition(MenuRule::PlusThirty, 3), 33);
    for (MenuRule rule : {MenuRule::Same, MenuRule::PlusOne, MenuRule::PlusTwo, MenuRule::PlusThirty,
                          MenuRule::MinusTwenty, MenuRule::Delay})
        for (qint64 p = 0; p < 100; ++p)
            EXPECT_EQ(MenuRules::positionForValue(rule, MenuRules::valueForPosition(rule, p)), p);
}
