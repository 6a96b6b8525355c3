// Records: the factory song and stack, the two update operations of a song, the name
// rules, the settings reset and list positions, and the stack message name.
#include "model/DataHandler.h"
#include "model/MessageType.h"

#include <gtest/gtest.h>

TEST(FactorySong, FirstAndLastSongOfANewSession)
{
    const Song first = Song::factory(0);
    EXPECT_EQ(first.Id, 1);
    EXPECT_EQ(first.TempoInMs, 500);
    EXPECT_EQ(first.ProgramChange, 1);

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
    const struct
    {
        qint64 bpm, ms;
    } cases[] = {{240, 250}, {40, 1500}, {300, 200}, {120, 500}, {7, 8571}, {130, 461}};
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

TEST(LibraryEntry, UnknownTypeNamesAndTheStackMessageName)
{
    EXPECT_EQ(MessageType::name(7), QString());
    EXPECT_EQ(MessageType::name(-1), QString());

    // Parts shorter than their share of the twenty characters stay whole.
    const MidiMessage shortOnes(QString(), QStringLiteral("Amp"), QStringLiteral("Boost"), 0, 1, 2);
    EXPECT_EQ(shortOnes.stackMessageName(), QStringLiteral("Amp-Boost"));
    // Characters are code points: a cut never leaves half of a pair.
    const QString clef = QString::fromUcs4(U"\U0001D11E", 1);
    const MidiMessage wide(QString(), QStringLiteral("abcdefgh") + clef + QStringLiteral("xyz"),
                           QStringLiteral("123456789") + clef + clef, 0, 1, 2);
    EXPECT_EQ(wide.stackMessageName(), QStringLiteral("abcdefgh") + clef + QStringLiteral("-123456789") + clef);
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
    // OffsetBpmOne -20 is the first item of its list; StackDelay 60 ("0 ms") the first,
    // 70 the second, 1000 the last.
    EXPECT_EQ(MenuRules::positionForValue(MenuRule::MinusTwenty, -20), 0);
    EXPECT_EQ(MenuRules::positionForValue(MenuRule::Delay, 70), 1);
    EXPECT_EQ(MenuRules::valueForPosition(MenuRule::Delay, 94), 1000);
    EXPECT_EQ(MenuRules::valueForPosition(MenuRule::PlusTwo, 29), 31);
    for (MenuRule rule : {MenuRule::Same, MenuRule::PlusOne, MenuRule::PlusTwo, MenuRule::PlusThirty,
                          MenuRule::MinusTwenty, MenuRule::Delay})
        for (qint64 p = 0; p < 100; ++p)
            EXPECT_EQ(MenuRules::positionForValue(rule, MenuRules::valueForPosition(rule, p)), p);
}
