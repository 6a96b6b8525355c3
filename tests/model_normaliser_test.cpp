// Store normalisation: the clamps that keep every value inside its field of the session
// text, the name rules, code points, and that a second run changes nothing.
#include "RandomSession.h"

#include "format/SessionJson.h"
#include "model/CodePoints.h"
#include "model/DataHandler.h"
#include "model/Normaliser.h"

#include <QJsonObject>

#include <gtest/gtest.h>

TEST(Normaliser, TemposAreClampedAndMillisecondsFollow)
{
    DataHandler store;
    const struct
    {
        qint64 in, tempo, ms;
    } cases[] = {{20, 40, 1500}, {350, 300, 200}, {120, 120, 500}, {0, 40, 1500},
                 {-5, 40, 1500}, {40, 40, 1500},  {300, 300, 200}};
    for (size_t i = 0; i < std::size(cases); ++i) {
        store.SongList[i]->Tempo = cases[i].in;
        store.SongList[i]->TempoInMs = cases[i].in == 120 ? 500 : 1;
    }
    Normaliser::normalise(store);
    for (size_t i = 0; i < std::size(cases); ++i) {
        EXPECT_EQ(store.SongList[i]->Tempo, cases[i].tempo) << cases[i].in;
        if (cases[i].in != cases[i].tempo) {
            EXPECT_EQ(store.SongList[i]->TempoInMs, cases[i].ms) << cases[i].in;
        }
    }
    EXPECT_EQ(store.SongList[2]->TempoInMs, 500);
}

TEST(Normaliser, ProgramBankAndMidiNumbers)
{
    DataHandler store;
    store.SongList[0]->ProgramChange = 0;
    store.SongList[0]->BankChange = 200;
    store.SongList[1]->ProgramChange = 129;
    store.SongList[1]->BankChange = -4;
    store.SongList[2]->ProgramChange = 64;
    store.SongList[2]->BankChange = 128;
    auto &messages = store.MidiStackList[3].MidiStackMessageList;
    messages[0].Channel = 20;
    messages[1].Channel = -3;
    messages[2].Message = 256;
    messages[3].Message = -1;
    messages[4].Value = 1000;
    messages[5].Value = -1000;
    messages[6] = MidiStackMessage(6, 16, 255, 0, QStringLiteral("kept"));
    store.MidiMessageLibrary.emplace_back(QStringLiteral("M"), QStringLiteral("D"), QStringLiteral("A"), 9, -7, 300);

    Normaliser::normalise(store);
    EXPECT_EQ(store.SongList[0]->ProgramChange, 1);
    EXPECT_EQ(store.SongList[0]->BankChange, 128);
    EXPECT_EQ(store.SongList[1]->ProgramChange, 128);
    EXPECT_EQ(store.SongList[1]->BankChange, 1);
    EXPECT_EQ(store.SongList[2]->ProgramChange, 64);
    EXPECT_EQ(store.SongList[2]->BankChange, 128);
    EXPECT_EQ(messages[0].Channel, 16);
    EXPECT_EQ(messages[1].Channel, 0);
    EXPECT_EQ(messages[2].Message, 255);
    EXPECT_EQ(messages[3].Message, 0);
    EXPECT_EQ(messages[4].Value, 255);
    EXPECT_EQ(messages[5].Value, 0);
    EXPECT_EQ(messages[6], MidiStackMessage(6, 16, 255, 0, QStringLiteral("kept")));
    const MidiMessage &entry = store.MidiMessageLibrary.front();
    EXPECT_EQ(entry.Message, 0);
    EXPECT_EQ(entry.Value, 255);
    EXPECT_EQ(entry.Typey, 9); // not a clamped field
}

TEST(Normaliser, NamesKeepAtMostFiveLinesAndThirtyCharactersBreaksIncluded)
{
    const struct
    {
        QString in, out;
    } cases[] = {
        {"a\nb\nc\nd\ne\nf", "a\nb\nc\nd\nef"},
        {"1\n2\n3\n4\n5\n6\n7", "1\n2\n3\n4\n567"},
        {"a\nb\nc\nd\ne", "a\nb\nc\nd\ne"},
        // Carriage returns go; a "\r\n" pair is one break.
        {"Intro\r\nVerse\r", "Intro\nVerse"},
        {"", ""},
        {"0123456789abcdefghijABCDEFGHIJklmnopqrst", "0123456789abcdefghijABCDEFGHIJ"},
        // Four lines, 31 characters with their three breaks: the last one goes.
        {"abcdefg\nhijklmn\nopqrstu\nvwxyzAB", "abcdefg\nhijklmn\nopqrstu\nvwxyzA"},
        {"abcdefghijklmn\nopqrstuvwxyzABC", "abcdefghijklmn\nopqrstuvwxyzABC"},
        {"abcdefghijklmn\r\nopqrstuvwxyzABC", "abcdefghijklmn\nopqrstuvwxyzABC"},
    };
    for (const auto &c : cases)
        EXPECT_EQ(Normaliser::normaliseName(c.in), c.out) << c.in.toStdString();
}

TEST(Normaliser, NamesAreCountedAndCutByCodePoints)
{
    // 29 notes outside the Basic Multilingual Plane (58 UTF-16 units) and a letter: 30
    // code points, nothing is cut.
    QString notes;
    for (int i = 0; i < 29; ++i)
        notes += QString::fromUcs4(U"\U0001D11E", 1);
    EXPECT_EQ(Normaliser::normaliseName(notes + QLatin1Char('x')), notes + QLatin1Char('x'));
    // 31 code points: the cut keeps 30 and never splits a pair.
    const QString cut = Normaliser::normaliseName(notes + QStringLiteral("\U0001F3B5yz"));
    EXPECT_EQ(CodePoints::length(cut), 30);
    EXPECT_EQ(cut, notes + QString::fromUcs4(U"\U0001F3B5", 1));
    EXPECT_FALSE(cut.back().isHighSurrogate());
}

TEST(Normaliser, NameChangesRecomputeTheOneLineForm)
{
    DataHandler store;
    store.SongList[0]->FullName = QStringLiteral("a\nb\nc\nd\ne\nf"); // set directly, one-line form stale
    store.SongList[0]->NameWithoutBreaks = QStringLiteral("stale");
    Normaliser::normalise(store);
    EXPECT_EQ(store.SongList[0]->FullName, QStringLiteral("a\nb\nc\nd\nef"));
    EXPECT_EQ(store.SongList[0]->NameWithoutBreaks, QStringLiteral("a_b_c_d_ef"));
}

TEST(CodePointHelpers, LengthLeftAndSplit)
{
    const QString clef = QString::fromUcs4(U"\U0001D11E", 1);
    const QString text = QStringLiteral("ab") + clef + QStringLiteral("c") + clef;
    EXPECT_EQ(CodePoints::length(text), 5);
    EXPECT_EQ(CodePoints::left(text, 3), QStringLiteral("ab") + clef);
    EXPECT_EQ(CodePoints::left(text, 0), QString());
    EXPECT_EQ(CodePoints::left(text, 99), text);
    EXPECT_EQ(CodePoints::split(text, 2), QStringList({QStringLiteral("ab"), clef + QStringLiteral("c"), clef}));
    EXPECT_TRUE(CodePoints::split(QString(), 3).isEmpty());
}

TEST(Normaliser, SecondRunChangesNothing)
{
    for (quint32 seed = 1; seed <= 5; ++seed) {
        DataHandler store;
        RandomSession random(seed);
        random.fill(store);
        // Values the editors let through but the text form cannot carry.
        for (const SongRef &song : store.SongList) {
            if (random.chance(30))
                song->UpdateName(random.text(45, true) + QStringLiteral("\n1\n2\n3\n4\n5\r\n6"));
            if (random.chance(30))
                song->Tempo = random.chance(50) ? random.between(-10, 39) : random.between(301, 1000);
            song->ProgramChange = random.between(-300, 300);
            song->BankChange = random.between(-300, 300);
        }
        for (MidiStack &stack : store.MidiStackList)
            for (MidiStackMessage &m : stack.MidiStackMessageList) {
                m.Channel = random.between(-20, 40);
                m.Message = random.between(-300, 600);
            }
        Normaliser::normalise(store);
        const QJsonObject once = SessionJson::toJson(store);
        for (const SongRef &song : store.SongList) {
            EXPECT_LE(CodePoints::length(song->FullName), 30);
            EXPECT_LE(song->FullName.count(QLatin1Char('\n')), 4);
            EXPECT_FALSE(song->FullName.contains(QLatin1Char('\r')));
            EXPECT_GE(song->Tempo, 40);
            EXPECT_LE(song->Tempo, 300);
            EXPECT_EQ(song->TempoInMs, 60000 / song->Tempo);
        }
        Normaliser::normalise(store);
        EXPECT_EQ(SessionJson::toJson(store), once) << "seed " << seed;
    }
}
