#include "link_test_util.h"

#include "link/ReplyParser.h"

#include "format/Encodings.h"

#include <gtest/gtest.h>

namespace {

// A parser on its own store, collecting what it writes.
struct ParserRig
{
    DiagnosticsCapture diagnostics;
    DataHandler store;
    ScriptedDialogs dialogs;
    QStringList written;
    ReplyParser parser{store, dialogs, [this](const QString &t) { written.append(t); }};

    // One load that asks for nothing in particular: "]3", the lines, ";".
    void page(const QString &lines)
    {
        parser.begin({});
        parser.parseReply("]3");
        for (const QString &l : lines.split("\r\n", Qt::SkipEmptyParts))
            parser.parseReply(l);
        parser.parseReply(";");
    }
    int finishAlerts() const
    {
        int n = 0;
        for (const Alert &a : dialogs.shown)
            n += a.message == "Press the REFRESH button";
        return n;
    }
};

} // namespace

TEST(ReplyParser, TemposInPageDataAreStoredAndTheFinishAlertShown)
{
    ParserRig rig;
    QString value;
    for (int i = 0; i < 128; ++i)
        value += Encodings::fixedNumber(40 + i, 3);
    rig.parser.parseReply("]3\r\n");
    rig.parser.parseReply("Tempos]" + value + "\r\n"); // no load running: ignored
    rig.parser.parseReply(";\r\n");
    rig.parser.begin({SessionKeys::indexOf(u"Tempos")});
    rig.parser.parseReply("Tempos]" + value + "\r\n"); // before the load's "]3": ignored
    rig.parser.parseReply(";\r\n");                    // (so is an end of data)
    EXPECT_EQ(rig.store.SongList[5]->Tempo, 120);
    EXPECT_TRUE(rig.dialogs.shown.isEmpty());

    rig.parser.parseReply("]3\r\n");
    EXPECT_TRUE(rig.parser.pageDataMode());
    rig.parser.parseReply("  Tempos]" + value + "\r\n");
    rig.parser.parseReply(";\r\n");
    EXPECT_FALSE(rig.parser.pageDataMode());
    EXPECT_EQ(rig.store.SongList[0]->Tempo, 40);
    EXPECT_EQ(rig.store.SongList[0]->TempoInMs, 1500);
    EXPECT_EQ(rig.store.SongList[127]->Tempo, 167);
    ASSERT_EQ(rig.dialogs.shown.size(), 1);
    EXPECT_EQ(rig.dialogs.shown[0].message, "Press the REFRESH button");
    EXPECT_EQ(rig.dialogs.shown[0].informative, "Finished Receiving");
    EXPECT_EQ(rig.dialogs.shown[0].buttons, QStringList({"Ok"}));
    EXPECT_TRUE(rig.written.isEmpty());
}

TEST(ReplyParser, EveryPageDataKeyRoundTrips)
{
    DataHandler source;
    scramble(source);
    ParserRig rig;
    rig.page(LinkRig::replyLines(source, pageDataKeys()));
    EXPECT_EQ(LinkRig::fileText(rig.store), LinkRig::fileText(source))
        << rig.diagnostics.lines.join("\n").toStdString();
    EXPECT_EQ(rig.parser.badLines(), 0);
    EXPECT_EQ(rig.dialogs.shown.last().informative, "Finished Receiving");
    // The setlist holds the very song objects of SongList.
    ASSERT_EQ(rig.store.Setlist.size(), 4u);
    EXPECT_EQ(rig.store.Setlist[0].get(), rig.store.SongList[4].get());
}

TEST(ReplyParser, OptionBitsAreBitsSevenSixAndFour)
{
    ParserRig rig;
    rig.page("PresetOptions]208128016255047" + repeat("000", 123) + "\r\n");
    const qint64 expected[][3] = {{1, 1, 1}, {1, 0, 0}, {0, 0, 1}, {1, 1, 1}, {0, 0, 0}};
    for (size_t i = 0; i < 5; ++i) {
        EXPECT_EQ(rig.store.SongList[i]->StopMidiClock, expected[i][0]) << i;
        EXPECT_EQ(rig.store.SongList[i]->StopRepeatingMessage, expected[i][1]) << i;
        EXPECT_EQ(rig.store.SongList[i]->MimicFootswitch, expected[i][2]) << i;
    }
    EXPECT_EQ(rig.parser.badLines(), 0);
}

TEST(ReplyParser, StackKeysCarryNoPositionsAndDecodeStatusNumbers)
{
    ParserRig rig;
    QString channels = repeat("000", 1280), messages = repeat("000", 1280), values = repeat("000", 1280);
    auto put = [](QString &v, int stack, int message, const char *field) {
        v.replace((stack * 10 + message) * 3, 3, QString::fromLatin1(field));
    };
    put(channels, 2, 3, "145"); // Note On, channel 2
    put(channels, 0, 0, "207"); // Program Change, channel 16
    put(channels, 5, 1, "009"); // below 128: type 0, channel 9
    put(messages, 2, 3, "064");
    put(values, 2, 3, "127");
    rig.page("MidiStackMessageChannels]" + channels + "\r\nMidiStackMessageMessages]" + messages
             + "\r\nMidiStackMessageValues]" + values + "\r\n");
    const auto &m = rig.store.MidiStackList[2].MidiStackMessageList[3];
    EXPECT_EQ(m.Typey, 3);
    EXPECT_EQ(m.Channel, 2);
    EXPECT_EQ(m.Message, 64);
    EXPECT_EQ(m.Value, 127);
    EXPECT_EQ(rig.store.MidiStackList[0].MidiStackMessageList[0].Typey, 1);
    EXPECT_EQ(rig.store.MidiStackList[0].MidiStackMessageList[0].Channel, 16);
    EXPECT_EQ(rig.store.MidiStackList[5].MidiStackMessageList[1].Channel, 9);
    EXPECT_EQ(rig.store.MidiStackList[5].MidiStackMessageList[1].Name, "EMPTY") << "names stay";

    // A status number that names no channel of its type (127: a Note Off the editor
    // wrote for channel 0) reads as a session file reads it: type 0, that channel.
    put(channels, 127, 9, "127");
    put(channels, 0, 0, "240");
    rig.page("MidiStackMessageChannels]" + channels + "\r\n");
    EXPECT_EQ(rig.store.MidiStackList[127].MidiStackMessageList[9].Channel, 127);
    EXPECT_EQ(rig.store.MidiStackList[0].MidiStackMessageList[0].Channel, 240);
    EXPECT_EQ(rig.store.MidiStackList[0].MidiStackMessageList[0].Typey, 0);
    EXPECT_EQ(rig.dialogs.shown.last().informative, "Finished Receiving");
    DataHandler fromFile;
    readInto(fromFile, "MidiStackMessageChannels]" + channels + "\r\n");
    const int channelKey = SessionKeys::indexOf(u"MidiStackMessageChannels");
    EXPECT_EQ(SessionWriter::value(fromFile, channelKey, SessionWriter::Form::Reply),
              SessionWriter::value(rig.store, channelKey, SessionWriter::Form::Reply));
}

TEST(ReplyParser, GlobalBlockOffsetsAndConverterType)
{
    DataHandler source;
    ParserRig rig;
    const int global = SessionKeys::indexOf(u"Global");
    QString block = SessionWriter::value(source, global, SessionWriter::Form::Reply);
    ASSERT_EQ(block.size(), 205);
    block.replace(33, 8, "55050062"); // offsets: -5, 5, 0, -12
    block.replace(47, 7, "1144193");  // converter 1 on: from Note On ch 1, to Program ch 2
    rig.page("Global]" + block + "\r\n");
    const Menu &g = rig.store.GlobalMenu;
    EXPECT_EQ(g.OffsetBpmOne, -5);
    EXPECT_EQ(g.OffsetBpmTwo, 5);
    EXPECT_EQ(g.OffsetBpmThree, 0);
    EXPECT_EQ(g.OffsetBpmFour, -12);
    EXPECT_EQ(g.ChannelConvert1Enabled, 1);
    EXPECT_EQ(g.ChannelConvert1ChannelFrom, 1);
    EXPECT_EQ(g.ChannelConvert1ChannelTo, 2);
    EXPECT_EQ(g.ChannelConvert1Type, 1) << "the type comes from the second status number";
}

TEST(ReplyParser, LinesThatDoNotFitStoreNothingAndAreCounted)
{
    ParserRig rig;
    const QString before = LinkRig::fileText(rig.store);
    const QString setlistBefore = QString::number(rig.store.Setlist.size());
    rig.page("Tempos]" + repeat("100", 127) + "\r\n"                    // too short
             + "Tempos]" + repeat("100", 127) + "1x0\r\n"               // not digits
             + "Setlist]001000" + repeat("255", 126) + "\r\n"           // slot 0
             + "Setlist]129" + repeat("255", 127) + "\r\n"              // no song 129
             + "Global]" + QString(204, '0') + "\r\n"                   // short block
             + "MidiStackMessageValues]" + repeat("000", 1279) + "\r\n" // short stack key
             + "Fractions" + repeat("1", 128) + "\r\n");                // no "]"
    EXPECT_EQ(LinkRig::fileText(rig.store), before);
    EXPECT_EQ(rig.store.Setlist.size(), 128u);
    ASSERT_EQ(rig.dialogs.shown.size(), 1);
    EXPECT_EQ(rig.dialogs.shown[0].message, "Press the REFRESH button");
    EXPECT_EQ(rig.dialogs.shown[0].informative, "Finished Receiving\n7 lines could not be read");
    EXPECT_EQ(rig.diagnostics.lines.size(), 7);
    EXPECT_TRUE(rig.diagnostics.contains("\"Tempos\""));
    EXPECT_TRUE(rig.diagnostics.contains("\"Setlist\""));
    EXPECT_TRUE(rig.diagnostics.contains("\"Global\""));

    // The count starts afresh with the next load; a single bad line reads "1 line".
    rig.page("Tempos]" + repeat("100", 10) + "\r\n");
    EXPECT_EQ(rig.dialogs.shown.last().informative, "Finished Receiving\n1 line could not be read");
    rig.page("");
    EXPECT_EQ(rig.dialogs.shown.last().informative, "Finished Receiving");
}

// A load is complete only when every key it asks for arrived whole and no line was
// lost; otherwise the finish alert says what is missing (what arrived stays stored).
TEST(ReplyParser, ALoadIsCompleteOnlyWithEveryKeyItAsksFor)
{
    DataHandler source;
    scramble(source);
    const int setlist = SessionKeys::indexOf(u"Setlist");
    const std::vector<int> midi = PedalLink::keysOf(PedalLink::Load::Midi);
    const struct
    {
        const char *what;
        std::vector<int> asked;
        QStringList replies; // "LOST" stands for a line the framer dropped
        bool complete;
        const char *problem;
    } cases[] = {
        {"everything", {setlist}, {LinkRig::replyLines(source, {setlist})}, true, ""},
        {"an empty page", {setlist}, {}, false, "the pedal sent none of the data asked for"},
        {"a lone end of data", {setlist}, {";"}, false, "the pedal sent none of the data asked for"},
        {"junk", {setlist}, {"\x01\x02junk", "]]]"}, false, "1 line could not be read"},
        {"another key",
         {setlist},
         {LinkRig::replyLines(source, {SessionKeys::indexOf(u"Tempos")})},
         false,
         "the pedal sent none of the data asked for"},
        {"a key short",
         midi,
         {LinkRig::replyLines(source, {midi[0], midi[1]})},
         false,
         "1 key not received: MidiStackMessageValues"},
        {"a line not UTF-8",
         {setlist},
         {LinkRig::replyLines(source, {setlist}), "LOST"},
         false,
         "1 line could not be read"},
        {"a short line", {setlist}, {"Setlist]001"}, false, "1 line could not be read"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.what);
        ParserRig rig;
        bool complete = !c.complete;
        QString problem;
        QObject::connect(&rig.parser, &ReplyParser::finished, [&](bool whole, const QString &why) {
            complete = whole;
            problem = why;
        });
        rig.parser.begin(c.asked);
        rig.parser.parseReply("]3");
        for (const QString &r : c.replies) {
            if (r == "LOST")
                rig.parser.lineLost("a test line");
            else
                for (const QString &l : r.split("\r\n", Qt::SkipEmptyParts))
                    rig.parser.parseReply(l);
        }
        rig.parser.parseReply(";");
        EXPECT_EQ(complete, c.complete);
        EXPECT_TRUE(problem.contains(QLatin1String(c.problem))) << problem.toStdString();
        ASSERT_EQ(rig.finishAlerts(), 1);
        EXPECT_EQ(rig.dialogs.shown.last().informative.contains(QLatin1String(c.problem)), true);
        EXPECT_FALSE(rig.parser.loadRunning());
    }
}

TEST(ReplyParser, UnknownAndFileOnlyKeysChangeNothingAndAreNotCounted)
{
    ParserRig rig;
    const QString before = LinkRig::fileText(rig.store);
    rig.page("MidiStackNames]" + repeat("Renamed" + QString(23, '`'), 128) + "\r\n"
             + "LibraryTypes]1\r\nFutureKey]123\r\n]3\r\n\r\n");
    EXPECT_EQ(LinkRig::fileText(rig.store), before);
    EXPECT_EQ(rig.dialogs.shown.last().informative, "Finished Receiving");
    EXPECT_TRUE(rig.diagnostics.contains("FutureKey"));
}

TEST(ReplyParser, TextAfterASecondBracketIsIgnored)
{
    ParserRig rig;
    rig.page("Tempos]" + repeat("099", 128) + "]Fractions]9999\r\n");
    EXPECT_EQ(rig.store.SongList[127]->Tempo, 99);
    EXPECT_EQ(rig.store.SongList[0]->Fraction, 0);
    EXPECT_EQ(rig.parser.badLines(), 0);
}

// The pedal sends a last name that fills its field as it is, blanks at the end included;
// the line's own trailing white space must not take them away.
TEST(ReplyParser, LastNamesEndingInWhiteSpaceKeepIt)
{
    ParserRig rig;
    const QString full = QStringLiteral("A name of thirty characters   ");
    ASSERT_EQ(full.size(), 30);
    rig.page("Name]" + repeat(QString(30, QLatin1Char('`')), 127) + full + "  \r\n");
    EXPECT_EQ(rig.store.SongList[127]->FullName, full);
    EXPECT_EQ(rig.parser.badLines(), 0);

    // Whole fields of white space are fields too.
    ParserRig other;
    other.page("Name]" + repeat(QString(30, QLatin1Char('`')), 126) + QString(60, QChar(0x0c)) + "\r\n");
    EXPECT_EQ(other.parser.badLines(), 0) << other.diagnostics.lines.join("\n").toStdString();
    EXPECT_EQ(other.store.SongList[127]->FullName, QString(30, QChar(0x0c)));
}

TEST(ReplyParser, EndOfDataMovesTheChainedLoadOn)
{
    ParserRig rig;
    QList<std::pair<int, int>> requests;
    QObject::connect(&rig.parser, &ReplyParser::requestWritten, [&](int k, int n) { requests.append({k, n}); });
    rig.parser.begin({});
    rig.parser.chainedLoad().start({"]5;", "]14;"});
    rig.parser.parseReply(";"); // not after its "]3": not this request's end
    EXPECT_TRUE(rig.written.isEmpty());
    rig.parser.parseReply("]3");
    rig.parser.parseReply(";");
    EXPECT_EQ(rig.written, QStringList({"]14;"}));
    EXPECT_EQ(rig.parser.chainedLoad().position, 1);
    EXPECT_TRUE(rig.dialogs.shown.isEmpty());
    rig.parser.parseReply("]3");
    rig.parser.parseReply(";");
    EXPECT_EQ(rig.written, QStringList({"]14;", "]12;"}));
    EXPECT_FALSE(rig.parser.chainedLoad().inProgress);
    EXPECT_TRUE(rig.parser.chainedLoad().queue.isEmpty());
    EXPECT_EQ(rig.parser.chainedLoad().position, 0);
    EXPECT_EQ(rig.finishAlerts(), 1);
    EXPECT_EQ(requests, (QList<std::pair<int, int>>{{2, 2}}));

    // A ";" that nobody asked for shows nothing and writes nothing.
    rig.parser.parseReply("]3");
    rig.parser.parseReply(";");
    EXPECT_EQ(rig.finishAlerts(), 1);
    EXPECT_EQ(rig.written.size(), 2);
}

// The same reply stream, delivered in chunks cut anywhere, gives the same store.
namespace {
QString framingStream()
{
    DataHandler source;
    scramble(source);
    const std::vector<int> keys{SessionKeys::indexOf(u"Tempos"), SessionKeys::indexOf(u"Setlist"),
                                SessionKeys::indexOf(u"Fractions"), SessionKeys::indexOf(u"Global")};
    return "]3\r\n" + LinkRig::replyLines(source, keys) + ";\r\n]3\r\nNumPulsesTwos]"
        + SessionWriter::value(source, SessionKeys::indexOf(u"NumPulsesTwos"), SessionWriter::Form::Reply)
        + "\r\n;\r\n";
}

// The values of the keys that the streams carry (cheaper to compare than the whole file).
QString framedKeys(const DataHandler &s)
{
    QString out;
    for (const char *key : {"Tempos", "Setlist", "Fractions", "Global", "NumPulsesTwos"})
        out += SessionWriter::value(s, SessionKeys::indexOf(QString::fromLatin1(key)), SessionWriter::Form::Reply);
    return out;
}

QString storeAfter(const QByteArray &stream, const std::vector<qsizetype> &cuts, int *alerts, bool whole = true,
                   PedalLink::Load load = PedalLink::Load::Songs)
{
    LinkRig rig;
    rig.connectPedal();
    EXPECT_TRUE(rig.link->startLoad(load));
    qsizetype at = 0;
    for (qsizetype cut : cuts) {
        rig.port->receive(stream.mid(at, cut - at));
        at = cut;
    }
    rig.port->receive(stream.mid(at));
    *alerts = int(rig.dialogs.shown.size());
    return whole ? LinkRig::fileText(rig.store) : framedKeys(rig.store);
}
} // namespace

TEST(ReplyFraming, EveryChunkBoundaryGivesTheSameStore)
{
    const QByteArray stream = framingStream().toUtf8();
    int alerts = 0;
    const QString whole = storeAfter(stream, {}, &alerts, false);
    EXPECT_EQ(alerts, 1) << "a chained load of two requests";
    EXPECT_NE(whole, framedKeys(DataHandler()));

    // One rig for all cuts: each run stores every key again, and the keys stored are
    // checked one by one, so a line lost by one cut cannot hide behind an earlier run.
    LinkRig rig;
    rig.connectPedal();
    std::vector<int> stored;
    QObject::connect(&rig.link->parser(), &ReplyParser::stored, [&](int key) { stored.push_back(key); });
    const std::vector<int> expected{SessionKeys::indexOf(u"Tempos"), SessionKeys::indexOf(u"Setlist"),
                                    SessionKeys::indexOf(u"Fractions"), SessionKeys::indexOf(u"Global"),
                                    SessionKeys::indexOf(u"NumPulsesTwos")};
    for (qsizetype cut = 1; cut < stream.size(); ++cut) {
        stored.clear();
        rig.dialogs.shown.clear();
        ASSERT_TRUE(rig.link->startLoad(PedalLink::Load::Songs));
        rig.port->receive(stream.left(cut));
        rig.port->receive(stream.mid(cut));
        ASSERT_EQ(stored, expected) << "cut at " << cut;
        ASSERT_EQ(framedKeys(rig.store), whole) << "cut at " << cut;
        ASSERT_EQ(rig.dialogs.shown.size(), 1) << "cut at " << cut;
    }
}

TEST(ReplyFraming, ByteByByteChunksOfAllKeys)
{
    DataHandler source;
    scramble(source);
    const QByteArray stream = ("]3\r\n" + LinkRig::replyLines(source, pageDataKeys()) + ";\r\n").toUtf8();
    std::vector<qsizetype> everyByte;
    for (qsizetype i = 1; i < stream.size(); ++i)
        everyByte.push_back(i);
    int alerts = 0;
    EXPECT_EQ(storeAfter(stream, everyByte, &alerts, true, PedalLink::Load::Setlist), LinkRig::fileText(source));
    EXPECT_EQ(alerts, 1);
}
