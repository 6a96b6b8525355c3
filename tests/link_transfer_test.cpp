#include "TestFiles.h"
#include "link_test_util.h"

#include "link/LineFramer.h"
#include "link/PedalKnownSession.h"
#include "link/PedalLog.h"
#include "link/ReplyParser.h"

#include "format/Encodings.h"

#include <QRegularExpression>
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
// apart, and ";", built when it starts; pages with songs or stacks normalise first.
TEST(Sends, EachPageGoesOutAsItsGoldenTextInPacedPieces)
{
    using P = SessionKeys::Page;
    const struct
    {
        std::optional<P> page; // none: the send routine with nothing selected
        const char *file;      // "": the empty text
        bool random;
        int tempoAfter; // of a tempo of 500 set before (pages without tempos); 0: not set
    } rows[] = {
        {P::Songs, "random-pedal-songs.txt", true, 0},       {P::SetJacks, "random-pedal-setjacks.txt", true, 300},
        {P::Setlist, "random-pedal-setlist.txt", true, 500}, {P::Midi, "random-pedal-midi.txt", true, 300},
        {P::Global, "random-pedal-global.txt", true, 500},   {P::All, "random-pedal-all.txt", true, 0},
        {P::All, "factory-pedal-all.txt", false, 0},         {std::nullopt, "", false, 500},
    };
    for (const auto &row : rows) {
        SCOPED_TRACE(row.file);
        LinkRig rig;
        if (row.random) {
            RandomSession(2026).fill(rig.store);
            rig.store.SongList[0]->UpdateName(QStringLiteral("Gig \U0001F3B8 Night"));
        }
        if (row.tempoAfter)
            rig.store.SongList[127]->UpdateTempo(500);
        rig.connectPedal();
        QList<std::pair<qint64, QString>> writes;
        rig.port->onWrite = [&](const QByteArray &b) { writes.append({rig.clock.now(), QString::fromUtf8(b)}); };
        const qint64 start = rig.clock.now();
        QSignalSpy progress(rig.link.get(), &PedalLink::progress);
        QSignalSpy completed(rig.link.get(), &PedalLink::sendCompleted);
        QSignalSpy ended(rig.link.get(), &PedalLink::transferEnded);
        QMap<PedalLogEntry::Kind, QStringList> log; // upload pieces by their size and offset, never their text
        QObject::connect(rig.serial.get(), &SerialHandler::logged,
                         [&](const PedalLogEntry &e) { log[e.kind].append(e.text); });
        ASSERT_TRUE(row.page ? rig.link->startSend(*row.page) : rig.link->sendSelection());
        EXPECT_FALSE(rig.link->writer().anyFlagSet()) << "the selection is cleared at once";
        rig.store.SongList[127]->UpdateName("Late");
        rig.clock.runAll();

        const QString golden = *row.file ? readFile(PEDAL_SOURCE_DIR "/tests/data/golden/" + QString(row.file)) : "";
        const QString text = QString(golden).replace(' ', '_');
        const int n = int((text.size() + 1023) / 1024);
        QList<std::pair<qint64, QString>> expected{{start, "]3;"}};
        for (int i = 0; i < n; ++i)
            expected.append({start + 300 * i, text.mid(1024 * i, 1024)});
        expected.append({start + 300 * n, ";"});
        EXPECT_TRUE(writes == expected) << "the pieces or their times differ from the golden file";
        EXPECT_EQ(progress.size(), n + 1);
        EXPECT_EQ(progress.last().mid(0, 2), QVariantList({n, n}));
        EXPECT_EQ(completed.size(), row.page ? 1 : 0);
        EXPECT_EQ(ended.size(), 1);
        EXPECT_EQ(log[PedalLogEntry::Kind::Sent], QStringList({"]3;", ";"}));
        EXPECT_EQ(log[PedalLogEntry::Kind::Transfer].value(0).section(':', 0, 0),
                  !row.page                 ? "send of a selection started"
                      : *row.page == P::All ? "send of all pages started"
                                            : "send of the " + SessionKeys::pageTitle(*row.page) + " page started");
        const QStringList uploads = log[PedalLogEntry::Kind::Upload];
        ASSERT_EQ(uploads.size(), n);
        EXPECT_EQ(uploads.value(1),
                  n > 1 ? QStringLiteral("piece 2 of %1: 1024 characters at offset 1024").arg(n) : "");
        EXPECT_TRUE(!row.tempoAfter || rig.store.SongList[127]->Tempo == row.tempoAfter);
    }

    // Stopped after two pieces: "\r\n;" ends the upload while the port is there.
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
        const QStringList written = rig.port->writtenTexts();
        const bool closing = rig.port->isOpen();
        EXPECT_EQ(written.size(), closing ? 4 : 3);
        EXPECT_TRUE(written.value(0) == "]3;" && written.value(1).size() == 1024);
        EXPECT_EQ(written.last(), closing ? "\r\n;" : written.value(2));
        EXPECT_FALSE(rig.link->busy());
    }
}

// A transfer ends once, with one outcome and no alert. Whole sends and loads make the
// pedal's session known, page transfers update it, anything that leaves it in doubt forgets it.
TEST(TransferOutcomes, EachEndIsReportedOnceAndDecidesWhatIsKnown)
{
    enum class End { Completed, Incomplete, Interrupted, Cancelled, NoTransfer };
    enum class Known { Nothing, Editor, Factory, Pedal };
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
        End outcome;
        Known known;
    } cases[] = {
        {"a Send All to its end", false, sendAll, none, End::Completed, Known::Editor},
        {"a send cancelled", true, sendAll, cancel, End::Cancelled, Known::Nothing},
        {"a load unplugged", false, [](KnownRig &r) { r.link->startLoad(PedalLink::Load::Setlist); },
         [](KnownRig &r) { r.receive("]3\r\n"), r.port->unplug(); }, End::Interrupted, Known::Nothing},
        {"a chained load cancelled, the answer to the request before ignored", true, loadAll,
         [&](KnownRig &r) { r.reply(), cancel(r), r.reply(); }, End::Cancelled, Known::Nothing},
        {"a page load while known", true, [](KnownRig &r) { r.link->startLoad(PedalLink::Load::Global); },
         [](KnownRig &r) { r.reply(LinkRig::replyLines(DataHandler(), {SessionKeys::indexOf(u"Global")})); },
         End::Completed, Known::Editor},
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
         },
         End::Completed, Known::Pedal},
        {"a Load All that lacks keys", true, loadAll,
         [&](KnownRig &r) { r.reply(LinkRig::replyLines(pedal, {SessionKeys::indexOf(u"Tempos")})), answerAll(r); },
         End::Incomplete, Known::Factory}, // what the pedal holds is still what was sent
        // Abandoned when no key it asks for arrives for 15 s: a key again is no new key.
        {"a Load All timed out", true, loadAll,
         [&](KnownRig &r) {
             r.receive("]3\r\n");
             for (int t = 500; t <= 15500; t += 500) {
                 r.clock.advance(500);
                 EXPECT_EQ(r.link->busy(), t < 15500) << t;
                 r.receive(LinkRig::replyLines(pedal, {SessionKeys::indexOf(u"Tempos")}));
             }
             EXPECT_EQ(r.port->writtenTexts().last(), "]12;");
         },
         End::Interrupted, Known::Nothing},
        {"an edit while a Send All goes out", false, sendAll,
         [](KnownRig &r) {
             r.clock.advance(600);
             r.store.SongList[0]->UpdateTempo(99); // not in the text being sent
             r.clock.runAll();
             EXPECT_EQ(r.known.changedKeys(), std::vector<int>({SessionKeys::indexOf(u"Tempos")}));
             r.store.SongList[0]->UpdateTempo(120);
         },
         End::Completed, Known::Editor},
        {"a page send while known", true,
         [&](KnownRig &r) {
             r.store.GlobalMenu.MidiChannelOut = 9;
             r.store.SongList[1]->UpdateTempo(99);
             sendGlobal(r);
         },
         [](KnownRig &r) { r.clock.runAll(), r.store.SongList[1]->UpdateTempo(120); }, // back to the pedal's
         End::Completed, Known::Editor},
        {"a page send while nothing is known", false, sendGlobal, none, End::Completed, Known::Nothing},
        {"Send Changes cut off", true,
         [](KnownRig &r) {
             r.store.SongList[4]->UpdateName(QStringLiteral("Intro Riff"));
             EXPECT_EQ(r.known.sendChanges(), PedalKnownSession::Outcome::Started);
         },
         unplug, End::Interrupted, Known::Nothing},
        {"a factory reset", true, [](KnownRig &r) { EXPECT_TRUE(r.link->factoryReset()); }, none, End::NoTransfer,
         Known::Factory},
        {"the port lost", true, [](KnownRig &r) { r.port->unplug(); }, none, End::NoTransfer, Known::Nothing},
        {"a new connection", true, [](KnownRig &r) { r.connectPedal("/dev/ttyACM1"); }, none, End::NoTransfer,
         Known::Nothing},
        {"a firmware update (the port forgotten)", true, [](KnownRig &r) { r.serial->forgetPort(); }, none,
         End::NoTransfer, Known::Nothing},
    };
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
        QSignalSpy knownChanged(&known, &PedalKnownSession::knownChanged);
        QSignalSpy ended(rig.link.get(), &PedalLink::transferEnded);
        QSignalSpy interrupted(rig.link.get(), &PedalLink::transferInterrupted);
        QSignalSpy cancelled(rig.link.get(), &PedalLink::transferCancelled);
        QSignalSpy unknown(rig.link.get(), &PedalLink::pedalSessionUnknown);
        QSignalSpy sent(rig.link.get(), &PedalLink::sendCompleted);
        QSignalSpy loaded(rig.link.get(), &PedalLink::loadCompleted);
        c.start(rig);
        EXPECT_EQ(rig.link->busy(), c.outcome != End::NoTransfer);
        c.end(rig);
        rig.clock.runAll();
        EXPECT_EQ(ended.size(), c.outcome != End::NoTransfer ? 1 : 0);
        EXPECT_FALSE(rig.link->busy());
        EXPECT_FALSE(rig.link->cancel()) << "nothing left to cancel";
        EXPECT_EQ(sent.size() + loaded.size(), c.outcome == End::Completed ? 1 : 0);
        EXPECT_EQ(interrupted.size(), c.outcome == End::Interrupted ? 1 : 0);
        EXPECT_EQ(cancelled.size(), c.outcome == End::Cancelled ? 1 : 0);
        EXPECT_EQ(unknown.size(), interrupted.size() + cancelled.size());
        for (const QList<QVariant> &args : interrupted + cancelled)
            EXPECT_TRUE(args[0].toString().contains(QRegularExpression("^(Sending|Loading) stopped$|cancelled$")));
        EXPECT_TRUE(rig.alerts.isEmpty()) << rig.messages().join(", ").toStdString();

        const DataHandler factory;
        const DataHandler *expected =
            std::array<const DataHandler *, 4>{nullptr, &rig.store, &factory, &pedal}[int(c.known)];
        ASSERT_EQ(known.isKnown(), expected != nullptr);
        // Told whenever what is known changed: taken over, replaced or forgotten.
        EXPECT_EQ(knownChanged.isEmpty(), (!c.sendAllFirst && !expected) || c.outcome == End::Incomplete);
        EXPECT_TRUE(knownChanged.isEmpty() || knownChanged.last()[0].toBool() == known.isKnown());
        rig.port->clearWrites();
        if (!expected) {
            EXPECT_EQ(known.sendChanges(), PedalKnownSession::Outcome::NothingKnown);
            EXPECT_TRUE(rig.port->writes.isEmpty());
            continue;
        }
        EXPECT_EQ(pageData(*known.known()), pageData(*expected));
        // What differs from the editor's session is exactly what Send Changes sends.
        std::vector<int> fromEditor;
        for (int k : PedalLink::keysOf(PedalLink::Load::All))
            if (LinkRig::replyLines(*expected, {k}) != LinkRig::replyLines(rig.store, {k}))
                fromEditor.push_back(k);
        EXPECT_EQ(known.changedKeys(), fromEditor);
        if (!rig.port->isOpen())
            continue;
        EXPECT_EQ(known.sendChanges(),
                  fromEditor.empty() ? PedalKnownSession::Outcome::NothingChanged
                                     : PedalKnownSession::Outcome::Started);
        rig.clock.runAll();
        EXPECT_EQ(rig.port->written().count(QLatin1Char(']')), fromEditor.empty() ? 0 : int(fromEditor.size()) + 1);
        EXPECT_TRUE(known.changedKeys().empty());
    }
}

// One transfer at a time; without a port, the not-connected alert.
TEST(Refusals, BusyAndNotConnectedCommandsWriteNothing)
{
    const std::pair<const char *, std::function<void(LinkRig &)>> states[] = {
        {"sending", [](LinkRig &r) { r.link->startSend(SessionKeys::Page::Midi); }},
        {"single load", [](LinkRig &r) { r.link->startLoad(PedalLink::Load::Setlist); }},
        {"not connected", [](LinkRig &r) { r.port->unplug(); }},
    };
    for (const auto &[what, enter] : states) {
        SCOPED_TRACE(what);
        LinkRig rig;
        rig.connectPedal();
        rig.store.MidiStackList[0].MidiStackMessageList[0].Value = 5; // a stack to preview
        enter(rig);
        rig.clock.advance(0);
        const bool busy = rig.link->busy();
        const qsizetype written = rig.port->writes.size();
        rig.alerts.clear();
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
        EXPECT_EQ(rig.messages(), QStringList(7, busy ? "The pedal is busy" : "Please connect to the pedal first"));
        EXPECT_EQ(rig.port->writes.size(), written);
        answerAll(rig);
        rig.clock.runAll();
        EXPECT_FALSE(rig.link->busy());
    }
}

// The requests of each load; a chained load is framed by "]12;" and writes its next
// request after each end of data. It finishes once, after the last reply, with no alert;
// a stray end of data afterwards does nothing.
TEST(Loads, EachLoadWritesItsRequestsInOrder)
{
    using L = PedalLink::Load;
    const std::pair<L, QStringList> cases[] = {
        {L::All, {"]5;", "]14;", "]6;", "]7;", "]9;", "]10;", "]11;", "]13;", "]8;"}},
        {L::Songs, {"]5;", "]14;"}},
        {L::SetJacks, {"]9;", "]10;", "]11;", "]13;"}},
        {L::Setlist, {"]6;"}},
        {L::Midi, {"]7;"}},
        {L::Global, {"]8;"}},
    };
    for (const auto &[load, requests] : cases) {
        SCOPED_TRACE(requests.join("").toStdString());
        LinkRig rig;
        rig.connectPedal();
        QSignalSpy progress(rig.link.get(), &PedalLink::progress);
        QSignalSpy finished(rig.link.get(), &PedalLink::loadFinished);
        const bool chained = requests.size() > 1;
        ASSERT_TRUE(rig.link->startLoad(load));
        QStringList expected = chained ? QStringList{"]12;"} : QStringList();
        for (const QString &request : requests) {
            expected.append(request);
            EXPECT_EQ(rig.port->writtenTexts(), expected);
            EXPECT_EQ(rig.link->chainedLoadRunning(), chained);
            rig.reply();
        }
        if (chained)
            expected.append("]12;");
        EXPECT_EQ(rig.port->writtenTexts(), expected);
        EXPECT_TRUE(rig.alerts.isEmpty()) << "the outcome is loadFinished(), not an alert";
        EXPECT_FALSE(rig.link->busy());
        EXPECT_EQ(finished.size(), 1);
        ASSERT_EQ(progress.size(), requests.size());
        EXPECT_EQ(progress.last().mid(0, 2), QVariantList({int(requests.size()), int(requests.size())}));
        rig.reply();
        EXPECT_EQ(rig.port->writtenTexts(), expected);
        EXPECT_EQ(finished.size(), 1);
    }
}

// The previews write their fields.
TEST(Commands, PreviewsWriteTheirFields)
{
    using Step = std::function<void(LinkRig &)>;
    const struct
    {
        const char *what;
        Step step;
        QStringList writes;
    } rows[] = {
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
         },
         {"]1;", "003", "1", "2", "03", "12", "Hi[A_b" + QString(24, '`'), ";"}},
        {"a stack's set messages",
         [](LinkRig &r) {
             auto &messages = r.store.MidiStackList[4].MidiStackMessageList;
             messages[1] = MidiStackMessage(1, 16, 5, 0, "a");
             messages[3].Typey = 3; // a type alone is no message
             messages[7] = MidiStackMessage(0, 1, 7, 127, "b");
             r.link->previewStack(4);
         },
         {"]2;", "207", "005", "000", ";", "]2;", "176", "007", "127", ";"}},
        {"no song, no stack, an empty stack",
         [](LinkRig &r) {
             for (int at : {-1, 128})
                 r.link->previewName(at), r.link->previewStack(at);
             r.link->previewStack(4);
         },
         {}},
    };
    for (const auto &row : rows) {
        SCOPED_TRACE(row.what);
        LinkRig rig;
        rig.connectPedal();
        row.step(rig);
        EXPECT_EQ(rig.port->writtenTexts(), row.writes);
        EXPECT_TRUE(rig.alerts.isEmpty());
    }
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
    const QString fullName = QStringLiteral("A name of thirty characters   ");
    const QString blankNames = repeat(QString(30, '`'), 127);
    using Check = std::function<void(const DataHandler &)>;
    const struct
    {
        const char *what;
        QString lines;
        int badLines;
        Check check; // none: the store is unchanged
    } rows[] = {
        {"tempos, leading blanks trimmed", "  Tempos]" + tempos, 0,
         [](const DataHandler &s) {
             EXPECT_EQ(s.SongList[0]->Tempo, 40);
             EXPECT_EQ(s.SongList[0]->TempoInMs, 1500);
             EXPECT_EQ(s.SongList[127]->Tempo, 167);
         }},
        {"text after a second bracket", "Tempos]" + repeat("099", 128) + "]Fractions]9999", 0,
         [](const DataHandler &s) {
             EXPECT_EQ(s.SongList[127]->Tempo, 99);
             EXPECT_EQ(s.SongList[0]->Fraction, 0);
         }},
        {"a last name ending in blanks keeps them", "Name]" + blankNames + fullName + "  ", 0,
         [&](const DataHandler &s) { EXPECT_EQ(s.SongList[127]->FullName, fullName); }},
        {"too short", "Tempos]" + repeat("100", 127), 1, nullptr},
        {"not digits", "Tempos]" + repeat("100", 127) + "1x0", 1, nullptr},
        {"setlist slot 0", "Setlist]001000" + repeat("255", 126), 1, nullptr},
        {"no song 129", "Setlist]129" + repeat("255", 127), 1, nullptr},
        {"a short global block", "Global]" + QString(204, '0'), 1, nullptr},
        {"a short stack key", "MidiStackMessageValues]" + repeat("000", 1279), 1, nullptr},
        {"no bracket", "Fractions" + repeat("1", 128), 1, nullptr},
        {"a line the framer dropped", "LOST", 1, nullptr},
        {"junk", QStringLiteral("\x01\x02junk\r\n]]]"), 1, nullptr},
        {"file-only and unknown keys",
         "MidiStackNames]" + repeat("Renamed" + QString(23, '`'), 128) + "\r\nLibraryTypes]1\r\nFutureKey]123\r\n]3", 0,
         nullptr},
    };
    for (const auto &row : rows) {
        SCOPED_TRACE(row.what);
        CapturedLines diagnostics;
        DataHandler store;
        const QString before = fileForm(store);
        QStringList written;
        ReplyParser parser(store, [&](const QString &t) { written.append(t); });
        QSignalSpy finished(&parser, &ReplyParser::finished);
        parser.begin({});
        // "LOST": a line the framer dropped.
        for (const QString &l : ("]3\r\n" + row.lines + "\r\n;").split("\r\n", Qt::SkipEmptyParts))
            l == "LOST" ? parser.lineLost("a test line") : parser.parseReply(l);
        EXPECT_EQ(parser.badLines(), row.badLines) << diagnostics.lines.join("\n").toStdString();
        EXPECT_GE(diagnostics.lines.size(), row.badLines);
        if (row.check)
            row.check(store);
        else
            EXPECT_EQ(fileForm(store), before);
        ASSERT_EQ(finished.size(), 1);
        EXPECT_EQ(finished[0][0].toBool(), row.badLines == 0);
        EXPECT_TRUE(written.isEmpty());
    }
}

// Lines however the bytes are chunked; one not UTF-8 or too long is dropped alone.
TEST(LineFramer, LinesComeOutWholeHoweverTheBytesArrive)
{
    const QByteArray noise(LineFramer::MaxLineBytes / 2 + 1, 'x');
    const struct
    {
        const char *what;
        QList<QByteArray> chunks;
        QStringList lines;
        int dropped;
    } rows[] = {
        {"CR and LF in different chunks", {"]3\r", "\n;\r", "\n"}, {"]3", ";"}, 0},
        {"a character split across chunks", {"Note]caf\xc3", "\xa9\n"}, {QStringLiteral("Note]caf\u00e9")}, 0},
        {"stray control bytes stay in their line", {QByteArray("\x01\x02junk\r\n", 8)}, {"\x01\x02junk"}, 0},
        {"a line not UTF-8", {"]3\r\nTempos]\xff\xfe", "120\r\n;\r\n"}, {"]3", ";"}, 1},
        {"an over-long line", {noise, noise, noise, "still noise\n;\n"}, {";"}, 1},
    };
    for (const auto &row : rows) {
        SCOPED_TRACE(row.what);
        CapturedLines diagnostics;
        LineFramer framer;
        QStringList lines;
        for (const QByteArray &chunk : row.chunks) {
            lines += framer.feed(chunk);
            EXPECT_LE(framer.pendingBytes(), LineFramer::MaxLineBytes) << "the buffer does not keep growing";
        }
        EXPECT_EQ(lines, row.lines);
        EXPECT_EQ(framer.droppedLines(), row.dropped);
        EXPECT_EQ(framer.pendingBytes(), 0);
        EXPECT_EQ(diagnostics.lines.size(), row.dropped);
    }
}
