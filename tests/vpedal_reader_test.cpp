// The virtual pedal's protocol logic without a device: how it frames what the editor
// writes, what it applies, what it answers, and that bad input changes nothing.

#include "tools/virtual-pedal/PedalInputReader.h"
#include "tools/virtual-pedal/ReplyChunker.h"
#include "tools/virtual-pedal/VirtualPedal.h"
#include "vpedal_support.h"

#include "format/SessionKeys.h"
#include "format/SessionWriter.h"

#include <gtest/gtest.h>

#include <set>

using namespace vpedal;
using Event = PedalInputReader::Event;

namespace {

// The events of a stream, upload pieces left out (their cuts follow the chunks).
QStringList describe(const std::vector<Event> &events, QByteArray *uploadPieces = nullptr)
{
    QStringList out;
    for (const Event &e : events) {
        switch (e.kind) {
        case Event::Command: out << QStringLiteral("command %1").arg(e.code); break;
        case Event::UploadPiece:
            if (uploadPieces)
                *uploadPieces += e.bytes;
            break;
        case Event::Upload: out << QStringLiteral("upload ") + QString::fromUtf8(e.bytes); break;
        case Event::UploadRefused: out << QStringLiteral("refused"); break;
        case Event::NamePreview: out << QStringLiteral("name ") + QString::fromUtf8(e.bytes); break;
        case Event::StackPreview: out << QStringLiteral("stack ") + QString::fromUtf8(e.bytes); break;
        case Event::Garbage: out << QStringLiteral("garbage"); break;
        }
    }
    return out;
}

std::vector<Event> feedInChunks(const QByteArray &stream, const std::vector<int> &cuts)
{
    PedalInputReader reader;
    std::vector<Event> all;
    int at = 0;
    for (int cut : cuts) {
        const auto events = reader.feed(stream.mid(at, cut - at));
        all.insert(all.end(), events.begin(), events.end());
        at = cut;
    }
    const auto events = reader.feed(stream.mid(at));
    all.insert(all.end(), events.begin(), events.end());
    return all;
}

// What the editor writes for an upload of the given keys of `store` (blanks as "_").
QByteArray uploadOf(const DataHandler &store, SessionKeys::Page page)
{
    SessionWriter writer;
    writer.selectPage(page);
    QString text = writer.write(store, SessionWriter::Form::Pedal);
    text.replace(QLatin1Char(' '), QLatin1Char('_'));
    return QByteArrayLiteral("]3;") + text.toUtf8() + ';';
}

} // namespace

TEST(VirtualPedalReader, TheSameStreamCutAnywhereGivesTheSameEvents)
{
    // A name with a ";" inside and a second line; a name preview whose name holds ";".
    const QByteArray upload =
        "Tempos]" + QByteArray("120").repeated(128) + "\r\nName]a;b[c" + QByteArray("`").repeated(25) + "\r\n";
    const QByteArray stream =
        "]0;]12;]5;]3;" + upload + ";]1;007120312Hi;[You" + QByteArray("`").repeated(23) + ";]2;176007100;]99;junk]4;";
    const std::vector<Event> whole = feedInChunks(stream, {});
    QByteArray pieces;
    const QStringList expected = describe(whole, &pieces);
    EXPECT_EQ(expected,
              QStringList({QStringLiteral("command 0"), QStringLiteral("command 12"), QStringLiteral("command 5"),
                           QStringLiteral("command 3"), QStringLiteral("upload ") + QString::fromUtf8(upload),
                           QStringLiteral("command 1"),
                           QStringLiteral("name 007120312Hi;[You") + QString(23, QLatin1Char('`')),
                           QStringLiteral("command 2"), QStringLiteral("stack 176007100"), QStringLiteral("command 99"),
                           QStringLiteral("garbage"), QStringLiteral("command 4")}));
    EXPECT_EQ(pieces, upload);

    for (int a = 1; a < stream.size(); ++a) {
        QByteArray cutPieces;
        EXPECT_EQ(describe(feedInChunks(stream, {a}), &cutPieces), expected) << "cut at " << a;
        EXPECT_EQ(cutPieces, upload);
    }
    std::vector<int> everyByte;
    for (int a = 1; a < stream.size(); ++a)
        everyByte.push_back(a);
    EXPECT_EQ(describe(feedInChunks(stream, everyByte)), expected);
}

TEST(VirtualPedalReader, UploadPiecesReportTheirOffsets)
{
    PedalInputReader reader;
    reader.feed("]3;");
    const auto first = reader.feed(QByteArray(1024, 'x'));
    const auto second = reader.feed(QByteArray(10, 'y') + "\r\n;]6;");
    ASSERT_EQ(first.size(), 1u);
    EXPECT_EQ(first[0].offset, 0);
    ASSERT_EQ(describe(second),
              QStringList({QStringLiteral("upload ") + QString(1024, QLatin1Char('x')) + QString(10, QLatin1Char('y'))
                               + QStringLiteral("\r\n"),
                           QStringLiteral("command 6")}));
    EXPECT_EQ(second[0].kind, Event::UploadPiece);
    EXPECT_EQ(second[0].offset, 1024);
    EXPECT_EQ(second[0].bytes.size(), 12);
}

TEST(VirtualPedalReader, BrokenCommandsAndUploadsDoNotSwallowWhatFollows)
{
    PedalInputReader reader;
    // "]x;" is no command; an upload cut short by a new command is refused; an empty
    // upload is fine; too many digits are no command.
    EXPECT_EQ(describe(reader.feed("]x;]8;]3;Tempos]120\r\n]7;]3;;]1234567;]0;")),
              QStringList({QStringLiteral("garbage"), QStringLiteral("command 8"), QStringLiteral("command 3"),
                           QStringLiteral("refused"), QStringLiteral("command 7"), QStringLiteral("command 3"),
                           QStringLiteral("upload "), QStringLiteral("garbage"), QStringLiteral("command 0")}));
    EXPECT_FALSE(reader.inProgress());
    // A preview cut short by a command.
    EXPECT_EQ(describe(reader.feed("]2;17]6;]1;007]5;")),
              QStringList({QStringLiteral("command 2"), QStringLiteral("garbage"), QStringLiteral("command 6"),
                           QStringLiteral("command 1"), QStringLiteral("garbage"), QStringLiteral("command 5")}));
}

TEST(VirtualPedalReader, AnOversizedUploadIsRefusedAndSkipped)
{
    PedalInputReader reader;
    reader.feed("]3;Name]");
    const QByteArray block(1024 * 1024, 'a');
    int refused = 0;
    for (int i = 0; i < 5; ++i)
        for (const Event &e : reader.feed(block))
            refused += e.kind == Event::UploadRefused;
    EXPECT_EQ(refused, 1);
    EXPECT_EQ(describe(reader.feed("\r\n;]8;")), QStringList({QStringLiteral("command 8")}));
}

TEST(VirtualPedal, StackPositionsOfAnUploadChooseTheStacks)
{
    // The stacks come last to first; each one's position says where it belongs.
    QString value;
    for (int s = DataHandler::StackCount - 1; s >= 0; --s)
        value += QStringLiteral("%1%2").arg(s, 3, 10, QLatin1Char('0')).arg(176 + s % 16, 3, 10, QLatin1Char('0'))
            + QStringLiteral("000").repeated(9);
    VirtualPedal pedal;
    pedal.receive((QStringLiteral("]3;MidiStackMessageChannels]") + value + QStringLiteral("\r\n;")).toUtf8());
    ASSERT_EQ(pedal.counters().uploadsApplied, 1);
    for (int s = 0; s < DataHandler::StackCount; ++s) {
        EXPECT_EQ(pedal.session().MidiStackList[size_t(s)].MidiStackMessageList[0].Channel, s % 16 + 1) << s;
        EXPECT_EQ(pedal.session().MidiStackList[size_t(s)].MidiStackMessageList[1].Channel, 0) << s;
    }
    // The reply carries no positions: stack 0 first.
    const QString reply = QString::fromUtf8(pedal.receive("]7;"));
    EXPECT_TRUE(reply.contains(QStringLiteral("MidiStackMessageChannels]176000000"))) << qPrintable(reply.left(60));
}

// What the editor may send after a fault, and what the pedal makes of it.
TEST(VirtualPedal, UploadsAfterFaults)
{
    const QByteArray tempos = "Tempos]" + QByteArray("099").repeated(128) + "\r\n";
    const QByteArray opening = "\r\n"; // the line end with which every send begins
    // A Note Off left on channel 0 is written as status 127, as in session files.
    QByteArray channels = "MidiStackMessageChannels]000000127" + QByteArray("000").repeated(8);
    for (int stack = 1; stack < DataHandler::StackCount; ++stack)
        channels += QByteArray::number(stack).rightJustified(3, '0') + QByteArray("000").repeated(10);
    channels += "\r\n";
    const struct
    {
        const char *what;
        QByteArray stream;
        int applied;
        int refused;
        qint64 tempo;   // of song 1 afterwards
        qint64 channel; // of stack 1, message 1
    } cases[] = {
        {"a status number of no channel", "]3;" + channels + ";", 1, 0, 120, 127},
        {"an upload broken off mid-line, then a full one", "]3;Tempos]0990" + opening + "]3;" + tempos + ";", 1, 1, 99,
         0},
        {"broken off after a whole line", "]3;" + tempos + opening + "]3;;", 1, 1, 120, 0},
        {"the greeting inside a broken-off upload", "]3;Temp]0;" + opening + "]3;" + tempos + ";", 1, 1, 99, 0},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.what);
        QStringList log;
        VirtualPedal pedal([&log](const QString &line) { log << line; });
        pedal.receive(c.stream);
        EXPECT_EQ(pedal.counters().uploadsApplied, c.applied) << qPrintable(log.join('\n'));
        EXPECT_EQ(pedal.counters().uploadsRefused, c.refused) << qPrintable(log.join('\n'));
        EXPECT_EQ(log.filter(QStringLiteral("upload refused")).size(), c.refused);
        EXPECT_EQ(pedal.session().SongList[0]->Tempo, c.tempo);
        EXPECT_EQ(pedal.session().MidiStackList[0].MidiStackMessageList[1].Channel, c.channel);
    }
}

TEST(VirtualPedal, MalformedUploadsChangeNothing)
{
    const QByteArray goodTempos = "Tempos]" + QByteArray("099").repeated(128) + "\r\n";
    const QList<QByteArray> bad = {
        goodTempos + "FontSizes]" + QByteArray("1").repeated(127) + "\r\n",     // one field short
        goodTempos + "Fractions]" + QByteArray("1").repeated(127) + "x\r\n",    // not a digit
        goodTempos + "NoSuchKey]123\r\n",                                       // unknown key
        goodTempos + "just some words\r\n",                                     // no "]"
        goodTempos + "Name]\xff\xfe" + QByteArray("`").repeated(3838) + "\r\n", // not UTF-8
        goodTempos + "Setlist]" + QByteArray("200").repeated(128) + "\r\n",     // no such song
        goodTempos + "Global]123\r\n",                                          // block too short
    };
    for (const QByteArray &body : bad) {
        QStringList log;
        VirtualPedal pedal([&log](const QString &line) { log << line; });
        pedal.receive("]3;" + body + ";");
        EXPECT_EQ(pedal.counters().uploadsRefused, 1) << body.right(40).constData();
        EXPECT_EQ(differingKeys(DataHandler(), pedal.session()), QStringList()) << body.right(40).constData();
        EXPECT_TRUE(log.filter(QStringLiteral("upload refused")).size() == 1) << qPrintable(log.join('\n'));
        // The pedal goes on as before.
        EXPECT_TRUE(pedal.receive("]8;").startsWith("]3\r\nGlobal]"));
    }
}

TEST(VirtualPedal, LoadRequestsShareOutTheKeysOfTheirPage)
{
    struct Page
    {
        SessionKeys::Page page;
        std::vector<int> codes;
    };
    const std::vector<Page> pages = {{SessionKeys::Page::Songs, {5, 14}},
                                     {SessionKeys::Page::SetJacks, {9, 10, 11, 13}},
                                     {SessionKeys::Page::Setlist, {6}},
                                     {SessionKeys::Page::Midi, {7}},
                                     {SessionKeys::Page::Global, {8}}};
    std::set<int> all;
    for (const Page &p : pages) {
        std::vector<int> together;
        for (int code : p.codes) {
            const std::vector<int> keys = VirtualPedal::keysOfRequest(code);
            EXPECT_FALSE(keys.empty()) << code;
            together.insert(together.end(), keys.begin(), keys.end());
        }
        EXPECT_EQ(together, SessionKeys::keysOfPage(p.page));
        all.insert(together.begin(), together.end());
    }
    EXPECT_EQ(all.size(), SessionKeys::keysOfPage(SessionKeys::Page::All).size());
    for (int code : {0, 1, 2, 3, 4, 12, 15, 99})
        EXPECT_TRUE(VirtualPedal::keysOfRequest(code).empty()) << code;
}

TEST(VirtualPedal, CommandsWithoutDataAreLoggedAndFactoryResetRestoresTheSession)
{
    QStringList log;
    VirtualPedal pedal([&log](const QString &line) { log << line; });
    DataHandler source;
    randomSession(source, 9);
    pedal.receive(uploadOf(source, SessionKeys::Page::All));
    ASSERT_EQ(pedal.counters().uploadsApplied, 1);
    EXPECT_TRUE(pedal.receive("]0;]12;]42;hello").isEmpty());
    EXPECT_EQ(pedal.counters().unknownCommands, 1);
    pedal.receive("]1;007120312Hi[You" + QByteArray("`").repeated(24) + ";]2;");
    EXPECT_EQ(pedal.counters().garbage, 1); // "hello", reported when the next command began
    pedal.receive("176007100;");
    EXPECT_EQ(log.filter(QStringLiteral("name preview: song 007, display name only 1, font size 2, "
                                        "background colour 03, foreground colour 12, name \"Hi / You\""))
                  .size(),
              1)
        << qPrintable(log.join('\n'));
    EXPECT_EQ(
        log.filter(QStringLiteral("stack preview: play status 176 (type 0, channel 1), message 7, value 100")).size(),
        1);

    EXPECT_TRUE(pedal.receive("]4;").isEmpty());
    EXPECT_EQ(differingKeys(DataHandler(), pedal.session()), QStringList());
}

TEST(VirtualPedal, AnswerLimitLeavesLaterRequestsUnanswered)
{
    VirtualPedal pedal;
    pedal.setAnswerLimit(1);
    EXPECT_FALSE(pedal.receive("]8;").isEmpty());
    EXPECT_TRUE(pedal.receive("]8;").isEmpty());
    EXPECT_EQ(pedal.counters().requestsUnanswered, 1);
}

TEST(VirtualPedal, ChunkerCutsAreRepeatable)
{
    ReplyChunker a = ReplyChunker::random(50, 7);
    ReplyChunker b = ReplyChunker::random(50, 7);
    for (int i = 0; i < 100; ++i) {
        const int n = a.next();
        EXPECT_EQ(n, b.next());
        EXPECT_GE(n, 1);
        EXPECT_LE(n, 50);
    }
    EXPECT_EQ(ReplyChunker::fixed(9).next(), 9);
    EXPECT_FALSE(ReplyChunker().cuts());
}
