#include "QtPrinters.h"
#include "Snapshot.h"
#include "TestFiles.h"
#include "LinkRig.h"

#include "link/LineFramer.h"
#include "link/PedalKnownSession.h"
#include "link/PedalLog.h"
#include "link/ReplyParser.h"

#include "format/Encodings.h"

#include <QSignalSpy>

#include <gtest/gtest.h>

#include <array>
#include <functional>
#include <optional>

namespace {

// The pedal answers every request of the running load with an empty page.
void answerAll(LinkRig &r)
{
    for (int i = 0; i < 9 && r.link->loading(); ++i)
        r.reply();
}

// A rig whose pedal session is followed.
struct KnownRig : LinkRig
{
    PedalKnownSession known{*serial, *link, store};
};

} // namespace

// A send writes "]3;", the golden text with blanks as "_" in pieces of 1024 characters 0.3 s
// apart, and ";", built when it starts; pages with songs or stacks normalise first (a tempo of
// 500 set before). Stopped after two pieces, "\r\n;" ends the upload while the port is there.
TEST(Sends, EachPageGoesOutAsItsGoldenTextInPacedPieces)
{
    using P = SessionKeys::Page;
    const std::tuple<std::optional<P>, const char *, bool> rows[] = {
        {P::Songs, "random-pedal-songs.txt", false},    {P::SetJacks, "random-pedal-setjacks.txt", true},
        {P::Setlist, "random-pedal-setlist.txt", true}, {P::Midi, "random-pedal-midi.txt", true},
        {P::Global, "random-pedal-global.txt", true},   {P::All, "random-pedal-all.txt", false},
        {P::All, "factory-pedal-all.txt", false},       {std::nullopt, "", true}, // nothing selected
    };
    QString transcript;
    for (const auto &[page, file, tempo] : rows) {
        SCOPED_TRACE(*file ? file : "the selection");
        LinkRig rig;
        if (QString(file).startsWith("random")) {
            RandomSession(2026).fill(rig.store);
            rig.store.SongList[0]->UpdateName(QStringLiteral("Gig \U0001F3B8 Night"));
        }
        if (tempo)
            rig.store.SongList[127]->UpdateTempo(500);
        rig.connectPedal();
        ASSERT_TRUE(page ? rig.link->startSend(*page) : rig.link->sendSelection());
        EXPECT_FALSE(rig.link->writer().anyFlagSet()) << "the selection is cleared at once";
        rig.store.SongList[127]->UpdateName("Late");
        rig.clock.runAll();
        const QString text = *file ? readFile(PEDAL_SOURCE_DIR "/tests/data/golden/" + QString(file)) : "";
        QStringList pieces{"]3;"};
        for (int at = 0; at < text.size(); at += 1024)
            pieces << text.mid(at, 1024).replace(' ', '_');
        EXPECT_EQ(rig.port->writtenTexts(), pieces << ";") << "the pieces differ from the golden file";
        rig.note(QStringLiteral("tempo of song 128: %1").arg(rig.store.SongList[127]->Tempo));
        transcript += rig.row(*file ? file : "the selection");
    }
    const std::pair<const char *, std::function<void(LinkRig &)>> stops[] = {
        {"cancelled", [](LinkRig &r) { r.link->cancel(); }},
        {"timed out", [](LinkRig &r) { r.link->abortTransfer("The port stopped taking data."); }},
        {"a write refused", [](LinkRig &r) { r.port->refuseWrites = 1, r.clock.advance(300); }},
        {"the port lost", [](LinkRig &r) { r.port->unplug(); }},
    };
    for (const auto &[what, stop] : stops) {
        SCOPED_TRACE(what);
        LinkRig rig;
        rig.connectPedal();
        ASSERT_TRUE(rig.link->startSend(P::Songs));
        rig.clock.advance(300);
        stop(rig);
        rig.clock.runAll();
        EXPECT_FALSE(rig.link->busy());
        for (const QString &w : rig.port->writtenTexts())
            rig.note(QStringLiteral("written: %1").arg(PedalLogEntry::visible(w, 10)));
        transcript += rig.row(QStringLiteral("Songs stopped after two pieces: ") + what);
    }
    EXPECT_TRUE(Snapshot::matches("transcripts/link-sends.txt", transcript));
}

// A transfer ends once, with one outcome and no alert. Whole sends and loads make the
// pedal's session known, page transfers update it, anything that leaves it in doubt forgets
// it. What is known then differs from the editor's session in what Send Changes sends.
TEST(TransferOutcomes, EachEndIsReportedOnceAndDecidesWhatIsKnown)
{
    using Step = std::function<void(KnownRig &)>;
    DataHandler pedal;
    RandomSession(5).fill(pedal);
    const Step none = [](KnownRig &) {};
    const Step sendAll = [](KnownRig &r) { r.link->startSend(SessionKeys::Page::All); };
    const Step sendGlobal = [](KnownRig &r) { r.link->startSend(SessionKeys::Page::Global); };
    const Step loadAll = [](KnownRig &r) { r.link->startLoad(PedalLink::Load::All); };
    const Step unplug = [](KnownRig &r) { r.clock.advance(300), r.port->unplug(); };
    const Step cancel = [](KnownRig &r) { r.clock.advance(300), r.link->cancel(); };
    const struct
    {
        const char *what;
        bool sendAllFirst;
        Step start, end;
    } cases[] = {
        {"a Send All to its end", false, sendAll, none},
        {"a send cancelled", true, sendAll, cancel},
        {"a load unplugged", false, [](KnownRig &r) { r.link->startLoad(PedalLink::Load::Setlist); },
         [](KnownRig &r) { r.receive("]3\r\n"), r.port->unplug(); }},
        {"a chained load cancelled, the answer to the request before ignored", true, loadAll,
         [&](KnownRig &r) { r.reply(), cancel(r), r.reply(); }},
        {"a page load while known", true, [](KnownRig &r) { r.link->startLoad(PedalLink::Load::Global); },
         [](KnownRig &r) { r.reply(LinkRig::replyLines(DataHandler(), {SessionKeys::indexOf(u"Global")})); }},
        {"a whole Load All, its replies byte by byte", false,
         [&](KnownRig &r) {
             r.reply(pageData(pedal)); // no load running: left alone
             loadAll(r);
             r.receive(pageData(pedal) + ";\r\n"); // before the load's own "]3": left alone
             EXPECT_EQ(pageData(r.store), pageData(DataHandler()));
         },
         [&](KnownRig &r) {
             for (char b : ("]3\r\n" + pageData(pedal) + ";\r\n").toUtf8())
                 r.port->receive(QByteArray(1, b));
             answerAll(r);
         }},
        {"a Load All that lacks keys", true, loadAll,
         [&](KnownRig &r) { r.reply(LinkRig::replyLines(pedal, {SessionKeys::indexOf(u"Tempos")})), answerAll(r); }},
        // Abandoned when no key it asks for arrives for 15 s: a key again is no new key.
        {"a Load All timed out", true, loadAll,
         [&](KnownRig &r) {
             r.receive("]3\r\n");
             for (int t = 500; t <= 15500; t += 500) {
                 r.clock.advance(500);
                 EXPECT_EQ(r.link->busy(), t < 15500) << t;
                 r.receive(LinkRig::replyLines(pedal, {SessionKeys::indexOf(u"Tempos")}));
             }
         }},
        {"an edit while a Send All goes out", false, sendAll,
         [](KnownRig &r) {
             r.clock.advance(600);
             r.store.SongList[0]->UpdateTempo(99); // not in the text being sent
             r.clock.runAll();
             EXPECT_EQ(r.known.changedKeys(), std::vector<int>({SessionKeys::indexOf(u"Tempos")}));
             r.store.SongList[0]->UpdateTempo(120);
         }},
        {"a page send while known", true,
         [&](KnownRig &r) {
             r.store.GlobalMenu.MidiChannelOut = 9;
             r.store.SongList[1]->UpdateTempo(99);
             sendGlobal(r);
         },
         [](KnownRig &r) { r.clock.runAll(), r.store.SongList[1]->UpdateTempo(120); }}, // back to the pedal's
        {"a page send while nothing is known", false, sendGlobal, none},
        {"Send Changes cut off", true,
         [](KnownRig &r) {
             r.store.SongList[4]->UpdateName(QStringLiteral("Intro Riff"));
             EXPECT_EQ(r.known.sendChanges(), PedalKnownSession::Outcome::Started);
         },
         unplug},
        {"a factory reset", true, [](KnownRig &r) { EXPECT_TRUE(r.link->factoryReset()); }, none},
        {"the port lost", true, [](KnownRig &r) { r.port->unplug(); }, none},
        {"a new connection", true,
         [](KnownRig &r) {
             r.serial->recordStartupPorts(), r.systemPorts << "/dev/ttyACM1", r.serial->connectToPedal();
         },
         none},
        {"a firmware update (the port forgotten)", true, [](KnownRig &r) { r.serial->forgetPort(); }, none},
    };
    QString transcript;
    for (const auto &c : cases) {
        SCOPED_TRACE(c.what);
        KnownRig rig;
        rig.connectPedal();
        PedalKnownSession &known = rig.known;
        if (c.sendAllFirst) {
            rig.link->startSend(SessionKeys::Page::All);
            rig.clock.runAll();
            ASSERT_TRUE(known.isKnown());
        }
        QObject::connect(&known, &PedalKnownSession::knownChanged,
                         [&](bool k) { rig.note(k ? "KNOWN" : "FORGOTTEN"); });
        rig.trace.clear();
        c.start(rig);
        rig.note(rig.link->busy() ? "busy" : "not busy");
        c.end(rig);
        rig.clock.runAll();
        EXPECT_FALSE(rig.link->busy());
        EXPECT_FALSE(rig.link->cancel()) << "nothing left to cancel";
        const DataHandler factory;
        QStringList same;
        for (const auto &[name, session] : {std::pair<const char *, const DataHandler *>{"the editor's", &rig.store},
                                            {"the factory", &factory},
                                            {"the pedal's", &pedal}})
            if (known.isKnown() && differingKeys(*known.known(), *session).empty())
                same << name;
        rig.note("known: " + (known.isKnown() ? same.join(", ") + " session" : "nothing"));
        // What differs from the editor's session is exactly what Send Changes sends.
        const std::vector<int> fromEditor =
            known.isKnown() ? differingKeys(*known.known(), rig.store) : std::vector<int>();
        EXPECT_EQ(known.changedKeys(), fromEditor);
        rig.port->clearWrites();
        const auto outcome = known.sendChanges();
        rig.note(std::array{"Send Changes started", "nothing known", "nothing changed", "not started"}[int(outcome)]);
        rig.clock.runAll();
        const bool started = outcome == PedalKnownSession::Outcome::Started;
        EXPECT_EQ(rig.port->written().count(QLatin1Char(']')), started ? int(fromEditor.size()) + 1 : 0);
        if (started) {
            EXPECT_TRUE(known.changedKeys().empty()) << "what was sent is known";
        }
        transcript += rig.row(c.what);
    }
    EXPECT_TRUE(Snapshot::matches("transcripts/link-transfer-outcomes.txt", transcript));
}

// One transfer at a time; without a port, the not-connected alert. Nothing is written.
TEST(Refusals, BusyAndNotConnectedCommandsWriteNothing)
{
    const std::pair<const char *, std::function<void(LinkRig &)>> states[] = {
        {"sending", [](LinkRig &r) { r.link->startSend(SessionKeys::Page::Midi); }},
        {"single load", [](LinkRig &r) { r.link->startLoad(PedalLink::Load::Setlist); }},
        {"not connected", [](LinkRig &r) { r.port->unplug(); }},
    };
    QString transcript;
    for (const auto &[what, enter] : states) {
        SCOPED_TRACE(what);
        LinkRig rig;
        rig.connectPedal();
        rig.store.MidiStackList[0].MidiStackMessageList[0].Value = 5; // a stack to preview
        enter(rig);
        rig.clock.advance(0);
        const bool busy = rig.link->busy();
        rig.note("refused from here:");
        rig.link->writer().selectPage(SessionKeys::Page::Songs);
        EXPECT_FALSE(rig.link->sendSelection());
        EXPECT_FALSE(rig.link->writer().anyFlagSet()) << "a refused send clears its selection";
        EXPECT_FALSE(rig.link->startLoad(PedalLink::Load::All));
        EXPECT_FALSE(rig.link->startSend(SessionKeys::Page::Global));
        EXPECT_FALSE(rig.link->factoryReset());
        rig.link->previewStack(0);
        rig.link->previewName(0);
        EXPECT_EQ(rig.link->refuseIfBusy(), busy); // the window's Connect and Upload Firmware
        EXPECT_EQ(rig.link->ready(), busy);
        rig.note("answered:");
        answerAll(rig);
        rig.clock.runAll();
        EXPECT_FALSE(rig.link->busy());
        transcript += rig.row(what);
    }
    EXPECT_TRUE(Snapshot::matches("transcripts/link-refusals.txt", transcript));
}

// The requests of each load; a chained load is framed by "]12;" and writes its next
// request after each end of data. It finishes once, after the last reply, with no alert;
// a stray end of data afterwards does nothing.
TEST(Loads, EachLoadWritesItsRequestsInOrder)
{
    using L = PedalLink::Load;
    const std::pair<L, const char *> loads[] = {{L::All, "All"},         {L::Songs, "Songs"}, {L::SetJacks, "SetJacks"},
                                                {L::Setlist, "Setlist"}, {L::Midi, "Midi"},   {L::Global, "Global"}};
    QString transcript;
    for (const auto &[load, name] : loads) {
        SCOPED_TRACE(name);
        LinkRig rig;
        rig.connectPedal();
        ASSERT_TRUE(rig.link->startLoad(load));
        for (int i = 0; i < 10 && rig.link->busy(); ++i) {
            rig.note(rig.link->chainedLoadRunning() ? "a chained load" : "a single load");
            rig.reply();
        }
        EXPECT_FALSE(rig.link->busy());
        rig.note("a stray end of data:");
        rig.reply();
        transcript += rig.row(QStringLiteral("Load ") + name);
    }
    EXPECT_TRUE(Snapshot::matches("transcripts/link-loads.txt", transcript));
}

// The previews write their fields.
TEST(Commands, PreviewsWriteTheirFields)
{
    const std::pair<const char *, std::function<void(LinkRig &)>> rows[] = {
        {"a name; its number is its position, not its id",
         [](LinkRig &r) {
             std::swap(r.store.SongList[2], r.store.SongList[6]); // as after sorting
             Song &song = *r.store.SongList[2];
             song.FontSize = 2;
             song.BackgroundColour = 3;
             song.ForegroundColour = 12;
             song.UpdateName("Hi\nA b");
             r.store.GlobalMenu.DisplayNameOnly = 1;
             r.link->previewName(2);
         }},
        {"a stack's set messages",
         [](LinkRig &r) {
             auto &messages = r.store.MidiStackList[4].MidiStackMessageList;
             messages[1] = MidiStackMessage(1, 16, 5, 0, "a");
             messages[3].Typey = 3; // a type alone is no message
             messages[7] = MidiStackMessage(0, 1, 7, 127, "b");
             r.link->previewStack(4);
         }},
        {"no song, no stack, an empty stack",
         [](LinkRig &r) {
             for (int at : {-1, 128})
                 r.link->previewName(at), r.link->previewStack(at);
             r.link->previewStack(4);
         }},
    };
    QString transcript;
    for (const auto &[what, step] : rows) {
        SCOPED_TRACE(what);
        LinkRig rig;
        rig.connectPedal();
        step(rig);
        transcript += rig.row(what);
    }
    EXPECT_TRUE(Snapshot::matches("transcripts/link-previews.txt", transcript));
    // The name preview normalises even when it cannot write.
    LinkRig rig;
    rig.store.SongList[0]->UpdateTempo(20);
    rig.link->previewName(0);
    EXPECT_EQ(rig.store.SongList[0]->Tempo, 40);
}

// A line of page data stores all its values or none and is counted bad; other keys do nothing.
TEST(ReplyParser, EachLineStoresWholeOrNothing)
{
    QString tempos;
    for (int i = 0; i < 128; ++i)
        tempos += Encodings::fixedNumber(40 + i, 3);
    const QString blankNames = repeat(QString(30, '`'), 127);
    const std::pair<const char *, QString> rows[] = {
        {"tempos, leading blanks trimmed", "  Tempos]" + tempos},
        {"text after a second bracket", "Tempos]" + repeat("099", 128) + "]Fractions]9999"},
        {"a last name ending in blanks keeps them", "Name]" + blankNames + "A name of thirty characters     "},
        {"too short", "Tempos]" + repeat("100", 127)},
        {"not digits", "Tempos]" + repeat("100", 127) + "1x0"},
        {"setlist slot 0", "Setlist]001000" + repeat("255", 126)},
        {"no song 129", "Setlist]129" + repeat("255", 127)},
        {"a short global block", "Global]" + QString(204, '0')},
        {"a short stack key", "MidiStackMessageValues]" + repeat("000", 1279)},
        {"no bracket", "Fractions" + repeat("1", 128)},
        {"a line the framer dropped", "LOST"},
        {"junk", QStringLiteral("\x01\x02junk\r\n]]]")},
        {"file-only and unknown keys",
         "MidiStackNames]" + repeat("Renamed" + QString(23, '`'), 128) + "\r\nLibraryTypes]1\r\nFutureKey]123\r\n]3"},
    };
    QString transcript;
    for (const auto &[what, lines] : rows) {
        SCOPED_TRACE(what);
        CapturedLines diagnostics;
        DataHandler store;
        const QStringList before = fileForm(store).split('\n');
        QStringList written;
        ReplyParser parser(store, [&](const QString &t) { written.append(t); });
        QSignalSpy finished(&parser, &ReplyParser::finished);
        parser.begin({});
        for (const QString &l : ("]3\r\n" + lines + "\r\n;").split("\r\n", Qt::SkipEmptyParts))
            l == "LOST" ? parser.lineLost("a test line") : parser.parseReply(l);
        ASSERT_EQ(finished.size(), 1);
        EXPECT_TRUE(written.isEmpty());
        transcript += QStringLiteral("== %1 ==\n%2 bad lines, finished %3\n")
                          .arg(what)
                          .arg(parser.badLines())
                          .arg(finished[0][0].toBool() ? "clean" : "with bad lines");
        transcript +=
            QStringLiteral("song 1: %1 bpm, %2 ms\n").arg(store.SongList[0]->Tempo).arg(store.SongList[0]->TempoInMs);
        for (const QString &l : diagnostics.lines)
            transcript += "diagnostic: " + PedalLogEntry::visible(l) + '\n';
        for (const QString &l : fileForm(store).split('\n'))
            if (!before.contains(l))
                transcript += "stored: " + (l.size() > 100 ? l.left(50) + " … " + l.right(50) : l) + '\n';
    }
    EXPECT_TRUE(Snapshot::matches("transcripts/link-reply-parser.txt", transcript));
}

// Lines however the bytes are chunked; one not UTF-8 or too long is dropped alone.
TEST(LineFramer, LinesComeOutWholeHoweverTheBytesArrive)
{
    const QByteArray noise(LineFramer::MaxLineBytes / 2 + 1, 'x');
    const std::pair<const char *, QList<QByteArray>> rows[] = {
        {"CR and LF in different chunks", {"]3\r", "\n;\r", "\n"}},
        {"a character split across chunks", {"Note]caf\xc3", "\xa9\n"}},
        {"stray control bytes stay in their line", {QByteArray("\x01\x02junk\r\n", 8)}},
        {"a line not UTF-8", {"]3\r\nTempos]\xff\xfe", "120\r\n;\r\n"}},
        {"an over-long line", {noise, noise, noise, "still noise\n;\n"}},
    };
    QString transcript;
    for (const auto &[what, chunks] : rows) {
        SCOPED_TRACE(what);
        CapturedLines diagnostics;
        LineFramer framer;
        transcript += QStringLiteral("== %1 ==\n").arg(what);
        for (const QByteArray &chunk : chunks) {
            for (const QString &l : framer.feed(chunk))
                transcript += "line: " + PedalLogEntry::visible(l) + '\n';
            EXPECT_LE(framer.pendingBytes(), LineFramer::MaxLineBytes) << "the buffer does not keep growing";
        }
        EXPECT_EQ(framer.pendingBytes(), 0);
        transcript += QStringLiteral("%1 dropped\n").arg(framer.droppedLines());
        for (const QString &l : diagnostics.lines)
            transcript += "diagnostic: " + l + '\n';
    }
    EXPECT_TRUE(Snapshot::matches("transcripts/link-line-framer.txt", transcript));
}
