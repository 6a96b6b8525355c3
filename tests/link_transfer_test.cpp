#include "link_test_util.h"

#include "format/SessionDiff.h"
#include "link/PedalKnownSession.h"
#include "link/PedalLog.h"
#include "link/ReplyParser.h"

#include <QSignalSpy>

#include <gtest/gtest.h>

#include <functional>

namespace {

// Records each write with the virtual time at which it went out.
struct TimedWrites
{
    QList<std::pair<qint64, QString>> writes; // times from the construction of this
    explicit TimedWrites(LinkRig &rig)
    {
        const qint64 start = rig.clock.now();
        rig.port->onWrite = [this, &rig, start](const QByteArray &b) {
            writes.append({rig.clock.now() - start, QString::fromUtf8(b)});
        };
    }
};

const QString SendMessage = QStringLiteral("About to send");
const QString ReceiveMessage = QStringLiteral("About to receive");

} // namespace

TEST(PacedSend, EmptySelectionWritesOnlyTheBrackets)
{
    LinkRig rig;
    rig.connectPedal();
    TimedWrites timed(rig);
    EXPECT_TRUE(rig.link->sendSelection());
    EXPECT_TRUE(rig.link->busy());
    rig.clock.runAll();
    EXPECT_EQ(timed.writes, (QList<std::pair<qint64, QString>>{{0, "\r\n"}, {0, "]3;"}, {0, ";"}}));
    EXPECT_FALSE(rig.link->busy());
}

TEST(PacedSend, MultiPieceTextGoesOutEveryThreeTenthsOfASecond)
{
    LinkRig rig;
    rig.store.SongList[3]->UpdateName("My Song");
    rig.connectPedal();
    TimedWrites timed(rig);
    QSignalSpy progress(rig.link.get(), &PedalLink::progress);
    QSignalSpy ended(rig.link.get(), &PedalLink::transferEnded);

    // The text that the Songs page sends, as the pedal form with blanks as "_".
    SessionWriter writer;
    writer.selectPage(SessionKeys::Page::Songs);
    QString expected = writer.write(rig.store, SessionWriter::Form::Pedal);
    expected.replace(' ', '_');
    const int n = int((expected.size() + 1023) / 1024);
    ASSERT_GT(n, 3);

    rig.link->sendSongs();
    EXPECT_EQ(rig.dialogs.shown.size(), 1);
    EXPECT_FALSE(rig.link->writer().anyFlagSet()) << "the selection is cleared at once";
    rig.clock.runAll();

    // A line end first: it ends whatever the pedal holds of an upload broken off before.
    ASSERT_EQ(timed.writes.size(), n + 3);
    EXPECT_EQ(timed.writes[0], std::make_pair(qint64(0), QString("\r\n")));
    EXPECT_EQ(timed.writes[1], std::make_pair(qint64(0), QString("]3;")));
    QString body;
    for (int i = 0; i < n; ++i) {
        EXPECT_EQ(timed.writes[i + 2].first, 300 * i);
        EXPECT_EQ(timed.writes[i + 2].second.size(), i < n - 1 ? 1024 : expected.size() - 1024 * (n - 1));
        body += timed.writes[i + 2].second;
    }
    EXPECT_EQ(timed.writes.last(), std::make_pair(qint64(300 * n), QString(";")));
    EXPECT_EQ(body, expected);
    EXPECT_TRUE(body.contains("My_Song"));
    EXPECT_FALSE(body.contains(' '));
    EXPECT_TRUE(body.contains("\r\n"));

    ASSERT_EQ(progress.size(), n + 1);
    EXPECT_EQ(progress.first()[0].toInt(), 0);
    EXPECT_EQ(progress.last()[0].toInt(), n);
    EXPECT_EQ(progress.last()[1].toInt(), n);
    EXPECT_EQ(ended.size(), 1);
}

TEST(PacedSend, TheTextIsBuiltOnceAtTheStart)
{
    LinkRig rig;
    rig.connectPedal();
    rig.link->startSend(SessionKeys::Page::All);
    rig.clock.advance(0);
    rig.store.SongList[127]->UpdateName("Late");
    rig.clock.runAll();
    EXPECT_FALSE(rig.port->written().contains("Late"));
}

TEST(PacedSend, ConfirmationsAndNormalisationOfEachPage)
{
    struct Case
    {
        void (PedalLink::*action)();
        const char *informative;
        const char *firstKey;
        bool normalises;
    };
    const Case cases[] = {
        {&PedalLink::sendSongs,
         "Will send the \"Songs\" page to the pedal\nData on the pedal will be overwritten\nPedal will indicate when "
         "finished",
         "Name]", true},
        {&PedalLink::sendSetJacks,
         "Will send the \"Set Jacks\" page to the pedal\nData on the pedal will be overwritten\nPedal will indicate "
         "when finished",
         "ExpStack]", true},
        {&PedalLink::sendMidi,
         "Will send the \"Midi Managment\" page to the pedal\nData on the pedal will be overwritten\nPedal will "
         "indicate when finished",
         "MidiStackMessageChannels]", true},
        {&PedalLink::sendGlobal,
         "Will send the \"Global Settings\" page to the pedal\nData on the pedal will be overwritten\nPedal will "
         "indicate when finished",
         "Global]", false},
        {&PedalLink::sendSetlist,
         "Will send the \"Setlist\" page to the pedal\nData on the pedal will be overwritten\nPedal will indicate when "
         "finished",
         "Setlist]", false},
        {&PedalLink::sendAll,
         "Will send all data to the pedal\nData on the pedal will be overwritten\nPedal will indicate when finished",
         "Name]", true},
    };
    for (const Case &c : cases) {
        LinkRig rig;
        rig.connectPedal();
        rig.store.SongList[0]->UpdateTempo(500);
        rig.dialogs.answers = {1}; // Cancel
        ((*rig.link).*c.action)();
        rig.clock.runAll();
        ASSERT_EQ(rig.dialogs.shown.size(), 1);
        EXPECT_EQ(rig.dialogs.shown[0].message, SendMessage);
        EXPECT_EQ(rig.dialogs.shown[0].informative, QString::fromUtf8(c.informative));
        EXPECT_EQ(rig.dialogs.shown[0].buttons, QStringList({"Ok", "Cancel"}));
        EXPECT_TRUE(rig.port->writes.isEmpty());
        EXPECT_EQ(rig.store.SongList[0]->Tempo, 500) << "Cancel changes nothing";

        ((*rig.link).*c.action)();
        rig.clock.runAll();
        EXPECT_EQ(rig.dialogs.shown.size(), 2);
        EXPECT_TRUE(rig.port->written().startsWith(QString("\r\n]3;") + c.firstKey)) << c.firstKey;
        EXPECT_TRUE(rig.port->written().endsWith("\r\n;"));
        EXPECT_EQ(rig.store.SongList[0]->Tempo, c.normalises ? 300 : 500) << c.firstKey;
        EXPECT_FALSE(rig.link->writer().anyFlagSet());
    }
}

TEST(PacedSend, NotConnectedAsksFirstThenRefusesAndClearsTheSelection)
{
    LinkRig rig;
    rig.link->sendSetlist();
    ASSERT_EQ(rig.dialogs.messages(), QStringList({SendMessage, "Please connect to the pedal first"}));
    EXPECT_EQ(rig.dialogs.shown[1].informative, QString());
    EXPECT_EQ(rig.dialogs.shown[1].buttons, QStringList({"Ok"}));
    EXPECT_FALSE(rig.link->writer().anyFlagSet());
    EXPECT_FALSE(rig.link->busy());
    rig.clock.runAll();
    EXPECT_TRUE(rig.port->writes.isEmpty());
}

// However a transfer ends, it ends once, with one outcome: the window shows the alert
// of an interruption; the link shows none itself. A cancelled transfer says only that it
// was cancelled. Every early end leaves the pedal's session unknown.
TEST(TransferOutcomes, EachEndIsReportedOnce)
{
    const struct
    {
        const char *what;
        std::function<void(LinkRig &)> start;
        std::function<void(LinkRig &)> end;
        const char *interrupted; // the alert's message, or "" when not interrupted
        const char *cancelled;   // the cancel message, or ""
        int completed;           // sendCompleted + loadCompleted
    } cases[] = {
        {"a send unplugged", [](LinkRig &r) { r.link->startSend(SessionKeys::Page::All); },
         [](LinkRig &r) {
             r.clock.advance(300);
             r.port->unplug();
             r.clock.runAll();
         },
         "Sending stopped", "", 0},
        {"a send to its end", [](LinkRig &r) { r.link->startSend(SessionKeys::Page::All); },
         [](LinkRig &r) { r.clock.runAll(); }, "", "", 1},
        {"a send stopped", [](LinkRig &r) { r.link->startSend(SessionKeys::Page::Midi); },
         [](LinkRig &r) {
             r.clock.advance(300);
             r.link->abortTransfer("Stopped.");
             r.clock.runAll();
         },
         "Sending stopped", "", 0},
        {"a send cancelled", [](LinkRig &r) { r.link->startSend(SessionKeys::Page::All); },
         [](LinkRig &r) {
             r.clock.advance(600);
             EXPECT_TRUE(r.link->cancel());
             r.clock.runAll();
         },
         "", "Send cancelled", 0},
        {"a single load unplugged", [](LinkRig &r) { r.link->startLoad(PedalLink::Load::Setlist); },
         [](LinkRig &r) {
             r.receive("]3\r\n");
             r.port->unplug();
             r.clock.runAll();
         },
         "Loading stopped", "", 0},
        {"a chained load unplugged", [](LinkRig &r) { r.link->startLoad(PedalLink::Load::SetJacks); },
         [](LinkRig &r) {
             r.port->unplug();
             r.clock.runAll();
         },
         "Loading stopped", "", 0},
        {"a chained load cancelled", [](LinkRig &r) { r.link->startLoad(PedalLink::Load::All); },
         [](LinkRig &r) {
             r.receive("]3\r\n;\r\n");
             EXPECT_TRUE(r.link->cancel());
             r.receive("]3\r\n;\r\n"); // the pedal's answer to the request before: ignored
             r.clock.runAll();
         },
         "", "Load cancelled", 0},
        {"a load to its end", [](LinkRig &r) { r.link->startLoad(PedalLink::Load::Global); },
         [](LinkRig &r) {
             r.receive("]3\r\n" + LinkRig::replyLines(DataHandler(), {SessionKeys::indexOf(u"Global")}) + ";\r\n");
             r.clock.runAll();
         },
         "", "", 1},
        {"a load without its keys", [](LinkRig &r) { r.link->startLoad(PedalLink::Load::Global); },
         [](LinkRig &r) {
             r.receive("]3\r\n;\r\n");
             r.clock.runAll();
         },
         "", "", 0},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.what);
        LinkRig rig;
        rig.connectPedal();
        QSignalSpy ended(rig.link.get(), &PedalLink::transferEnded);
        QSignalSpy interrupted(rig.link.get(), &PedalLink::transferInterrupted);
        QSignalSpy cancelled(rig.link.get(), &PedalLink::transferCancelled);
        QSignalSpy unknown(rig.link.get(), &PedalLink::pedalSessionUnknown);
        QSignalSpy sent(rig.link.get(), &PedalLink::sendCompleted);
        QSignalSpy loaded(rig.link.get(), &PedalLink::loadCompleted);
        c.start(rig);
        EXPECT_TRUE(rig.link->busy());
        c.end(rig);
        EXPECT_EQ(ended.size(), 1);
        EXPECT_FALSE(rig.link->busy());
        EXPECT_FALSE(rig.link->cancel()) << "nothing left to cancel";
        EXPECT_EQ(sent.size() + loaded.size(), c.completed);
        if (*c.interrupted) {
            ASSERT_EQ(interrupted.size(), 1);
            EXPECT_EQ(interrupted[0][0].toString(), QLatin1String(c.interrupted));
            EXPECT_FALSE(interrupted[0][1].toString().isEmpty());
        } else {
            EXPECT_TRUE(interrupted.isEmpty());
        }
        ASSERT_EQ(cancelled.size(), *c.cancelled ? 1 : 0);
        if (*c.cancelled) {
            EXPECT_EQ(cancelled[0][0].toString(), QLatin1String(c.cancelled));
        }
        EXPECT_EQ(unknown.size(), *c.interrupted || *c.cancelled ? 1 : 0);
        for (const Alert &a : rig.dialogs.shown)
            EXPECT_NE(a.message, QLatin1String("Sending stopped"));
        // After an early end the next send starts clean: a line end, then the upload.
        if (!rig.port->isOpen())
            continue;
        rig.port->clearWrites();
        EXPECT_TRUE(rig.link->startSend(SessionKeys::Page::Global));
        rig.clock.runAll();
        EXPECT_TRUE(rig.port->written().startsWith(QStringLiteral("\r\n]3;")));
    }
}

// The pedal log: every write (an upload piece by its size and offset, never its text),
// every reply line (abbreviated), the port's events and errors, and each transfer's start
// and end; it keeps the newest PedalLog::Limit lines.
TEST(PedalLogTest, EveryWriteReplyAndPortEventIsLogged)
{
    LinkRig rig;
    PedalLog log;
    QObject::connect(rig.serial.get(), &SerialHandler::logged, [&log](const PedalLogEntry &e) { log.append(e); });
    rig.store.SongList[0]->UpdateName(QStringLiteral("Secret Name"));
    rig.connectPedal();
    rig.link->startSend(SessionKeys::Page::Songs);
    rig.clock.runAll();
    rig.link->startLoad(PedalLink::Load::Midi);
    rig.receive("]3\r\n" + LinkRig::replyLines(DataHandler(), {SessionKeys::indexOf(u"MidiStackMessageChannels")}));
    rig.port->receive(QByteArray("\xff\xfe\r\n;\r\n"));
    rig.port->fail(QStringLiteral("Parity error"));
    rig.port->unplug();

    QMap<PedalLogEntry::Kind, QStringList> byKind;
    for (const PedalLogEntry &e : log.entries()) {
        EXPECT_TRUE(e.time.isValid());
        byKind[e.kind].append(e.text);
        EXPECT_FALSE(e.format().contains(QStringLiteral("Secret_Name"))) << "upload text never logged";
        EXPECT_LT(e.format().size(), 400);
        EXPECT_FALSE(e.format().contains(QLatin1Char('\n')));
    }
    const QStringList pieces = byKind[PedalLogEntry::Kind::Upload];
    ASSERT_GT(pieces.size(), 3);
    EXPECT_EQ(pieces[0], QStringLiteral("piece 1 of %1: 1024 characters at offset 0").arg(pieces.size()));
    EXPECT_TRUE(pieces[1].endsWith(QStringLiteral("at offset 1024")));
    EXPECT_EQ(byKind[PedalLogEntry::Kind::Sent], QStringList({"]0;", "\\r\\n", "]3;", ";", "]7;"}));
    const QStringList replies = byKind[PedalLogEntry::Kind::Received];
    ASSERT_EQ(replies.size(), 3); // "]3", the long line abbreviated, ";"
    EXPECT_TRUE(replies[1].startsWith(QStringLiteral("MidiStackMessageChannels]000")));
    EXPECT_TRUE(replies[1].contains(QStringLiteral("characters)")));
    EXPECT_EQ(byKind[PedalLogEntry::Kind::Error].size(), 2); // the line that was not UTF-8, the port error
    EXPECT_EQ(byKind[PedalLogEntry::Kind::Port].size(), 2);  // opened, went away
    EXPECT_EQ(byKind[PedalLogEntry::Kind::Transfer].size(), 4);

    PedalLog ring;
    for (int i = 0; i < PedalLog::Limit + 5; ++i)
        ring.append({QDateTime::currentDateTime(), PedalLogEntry::Kind::Sent, QString::number(i)});
    EXPECT_EQ(ring.size(), PedalLog::Limit);
    EXPECT_EQ(ring.entries().front().text, "5");
    EXPECT_EQ(ring.text().count(QLatin1Char('\n')), PedalLog::Limit);
}

TEST(OneTransferAtATime, SendsAndLoadsAreRefusedWhileBusy)
{
    LinkRig rig;
    rig.connectPedal();
    rig.store.MidiStackList[0].MidiStackMessageList[0].Value = 5; // a stack to preview
    // Every transfer keeps the link busy until it has ended: a send until its last piece,
    // a single or chained load until its last reply.
    const std::pair<const char *, std::function<void()>> transfers[] = {
        {"send", [&] { rig.link->startSend(SessionKeys::Page::Midi); }},
        {"single load", [&] { rig.link->startLoad(PedalLink::Load::Setlist); }},
        {"chained load", [&] { rig.link->startLoad(PedalLink::Load::Songs); }},
    };
    for (const auto &t : transfers) {
        SCOPED_TRACE(t.first);
        rig.dialogs.shown.clear();
        t.second();
        rig.clock.advance(0);
        const int written = int(rig.port->writes.size());
        rig.link->sendAll();
        rig.link->loadSetlist();
        EXPECT_FALSE(rig.link->startLoad(PedalLink::Load::All));
        EXPECT_FALSE(rig.link->startSend(SessionKeys::Page::Global));
        rig.link->factoryResetPedal();
        rig.link->previewStack(0);
        rig.link->previewName(0);
        EXPECT_TRUE(rig.link->refuseIfBusy()); // the window's Connect and Upload Firmware
        EXPECT_EQ(rig.dialogs.messages(), QStringList(8, "The pedal is busy"));
        EXPECT_EQ(rig.port->writes.size(), written);
        rig.receive("]3\r\n;\r\n]3\r\n;\r\n");
        rig.clock.runAll();
        EXPECT_FALSE(rig.link->busy());
    }
    rig.dialogs.shown.clear();
    EXPECT_FALSE(rig.link->refuseIfBusy());
    EXPECT_TRUE(rig.link->startSend(SessionKeys::Page::Global));
}

TEST(Loads, ChainedLoadsWriteTheirRequestsInOrder)
{
    struct Case
    {
        void (PedalLink::*action)();
        QStringList requests;
        const char *informative;
    };
    const Case cases[] = {
        {&PedalLink::loadAll,
         {"]5;", "]14;", "]6;", "]7;", "]9;", "]10;", "]11;", "]13;", "]8;"},
         "Will load all data from the pedal\nData in the app will be overwritten"},
        {&PedalLink::loadSongs,
         {"]5;", "]14;"},
         "Will load the \"Songs\" page from the pedal\nData in the app will be overwritten"},
        {&PedalLink::loadSetJacks,
         {"]9;", "]10;", "]11;", "]13;"},
         "Will load the \"Set Jacks\" page from the pedal\nData in the app will be overwritten"},
    };
    for (const Case &c : cases) {
        LinkRig rig;
        rig.connectPedal();
        QSignalSpy progress(rig.link.get(), &PedalLink::progress);
        QSignalSpy finished(rig.link.get(), &PedalLink::loadFinished);
        ((*rig.link).*c.action)();
        ASSERT_EQ(rig.dialogs.shown.size(), 1);
        EXPECT_EQ(rig.dialogs.shown[0].message, ReceiveMessage);
        EXPECT_EQ(rig.dialogs.shown[0].informative, QString::fromUtf8(c.informative));
        EXPECT_EQ(rig.port->writtenTexts(), QStringList({"]12;", c.requests[0]}));
        EXPECT_TRUE(rig.link->chainedLoadRunning());
        for (int i = 1; i < c.requests.size(); ++i) {
            rig.receive("]3\r\n;\r\n");
            EXPECT_EQ(rig.port->writtenTexts().last(), c.requests[i]);
            EXPECT_EQ(rig.dialogs.shown.size(), 1) << "no alert before the last reply";
        }
        rig.receive("]3\r\n;\r\n");
        QStringList expected{"]12;"};
        expected += c.requests;
        expected += "]12;";
        EXPECT_EQ(rig.port->writtenTexts(), expected);
        EXPECT_EQ(rig.dialogs.messages(), QStringList({ReceiveMessage, "Press the REFRESH button"}));
        EXPECT_FALSE(rig.link->chainedLoadRunning());
        EXPECT_EQ(finished.size(), 1);
        ASSERT_EQ(progress.size(), c.requests.size());
        EXPECT_EQ(progress.last()[0].toInt(), c.requests.size());
        EXPECT_EQ(progress.last()[1].toInt(), c.requests.size());
    }
}

TEST(Loads, SingleLoadsWriteOneRequest)
{
    const std::pair<void (PedalLink::*)(), const char *> cases[] = {
        {&PedalLink::loadSetlist, "]6;"}, {&PedalLink::loadMidi, "]7;"}, {&PedalLink::loadGlobal, "]8;"}};
    for (const auto &c : cases) {
        LinkRig rig;
        rig.connectPedal();
        ((*rig.link).*c.first)();
        EXPECT_EQ(rig.port->writtenTexts(), QStringList({c.second}));
        EXPECT_TRUE(rig.link->busy());
        rig.receive("]3\r\n;\r\n");
        EXPECT_EQ(rig.port->writtenTexts(), QStringList({c.second}));
        EXPECT_EQ(rig.dialogs.messages(), QStringList({ReceiveMessage, "Press the REFRESH button"}));
    }
    LinkRig rig;
    rig.connectPedal();
    rig.link->loadMidi();
    EXPECT_EQ(rig.dialogs.shown[0].informative,
              "Will load the \"Midi Management\" page from the pedal\nData in the app will be overwritten");
}

TEST(Loads, NotConnectedShowsOnlyTheAlert)
{
    LinkRig rig;
    rig.link->loadSetlist();
    rig.link->loadAll();
    rig.link->factoryResetPedal();
    EXPECT_EQ(rig.dialogs.messages(), QStringList(3, "Please connect to the pedal first"));
    EXPECT_FALSE(rig.link->chainedLoadRunning());
}

TEST(Loads, ALoadStoresWhatThePedalSends)
{
    DataHandler pedal;
    scramble(pedal);
    LinkRig rig;
    rig.connectPedal();
    QSignalSpy changed(rig.link.get(), &PedalLink::storeChangedByPedal);
    EXPECT_TRUE(rig.link->startLoad(PedalLink::Load::Setlist));
    rig.receive("]3\r\n" + LinkRig::replyLines(pedal, {SessionKeys::indexOf(u"Setlist")}) + ";\r\n");
    ASSERT_EQ(rig.store.Setlist.size(), 4u);
    EXPECT_EQ(rig.store.Setlist[0]->Id, 5);
    EXPECT_EQ(changed.size(), 1);
}

// A load is abandoned when no key it asks for arrives for the time-out, however many
// other lines come; each new key, and each next request of a chain, starts it afresh.
TEST(Loads, ALoadThatMakesNoProgressIsAbandoned)
{
    DataHandler pedal;
    const QString tempos = LinkRig::replyLines(pedal, {SessionKeys::indexOf(u"Tempos")});
    const QString name = LinkRig::replyLines(pedal, {SessionKeys::indexOf(u"Name")});
    const struct
    {
        const char *what;
        PedalLink::Load load;
        int timeoutMs;
        QString every500ms; // arrives every 0.5 s
        int abandonedAfterMs;
        const char *seconds;
    } cases[] = {
        {"silence", PedalLink::Load::Setlist, 0, QString(), 15000, "15 seconds"},
        {"blank lines", PedalLink::Load::Setlist, 0, "\r\n", 15000, "15 seconds"},
        {"unknown keys", PedalLink::Load::Global, 0, "Future]123\r\n", 15000, "15 seconds"},
        {"a key not asked for", PedalLink::Load::Setlist, 0, tempos, 15000, "15 seconds"},
        {"the same key again and again", PedalLink::Load::All, 0, tempos, 15500, "15 seconds"}, // new once
        {"a time-out of 1.5 s", PedalLink::Load::Midi, 1500, "\r\n", 1500, "1.5 seconds"},
        {"a time-out of 40 s", PedalLink::Load::SetJacks, 40000, QString(), 40000, "40 seconds"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.what);
        LinkRig rig;
        rig.connectPedal();
        if (c.timeoutMs)
            rig.link->setLoadTimeout(c.timeoutMs);
        QSignalSpy interrupted(rig.link.get(), &PedalLink::transferInterrupted);
        ASSERT_TRUE(rig.link->startLoad(c.load));
        rig.receive("]3\r\n");
        int elapsed = 0;
        while (rig.link->busy() && elapsed < 60000) {
            rig.clock.advance(500);
            elapsed += 500;
            if (!c.every500ms.isEmpty())
                rig.receive(c.every500ms);
        }
        EXPECT_EQ(elapsed, c.abandonedAfterMs);
        ASSERT_EQ(interrupted.size(), 1);
        EXPECT_EQ(interrupted[0][0].toString(), "Loading stopped");
        EXPECT_TRUE(interrupted[0][1].toString().contains(QLatin1String(c.seconds)))
            << interrupted[0][1].toString().toStdString();
        EXPECT_FALSE(rig.link->parser().loadRunning());
        EXPECT_TRUE(rig.link->parser().chainedLoad().queue.isEmpty());
        if (PedalLink::isChained(c.load)) {
            EXPECT_EQ(rig.port->writtenTexts().last(), "]12;");
        }
    }

    // New keys and new requests keep a load going; a late reply moves nothing.
    LinkRig rig;
    rig.connectPedal();
    ASSERT_TRUE(rig.link->startLoad(PedalLink::Load::Songs));
    rig.clock.advance(14000);
    rig.receive("]3\r\n" + tempos);
    rig.clock.advance(14000);
    rig.receive(name + ";\r\n");
    EXPECT_EQ(rig.port->writtenTexts().last(), "]14;");
    rig.clock.advance(14999);
    EXPECT_TRUE(rig.link->chainedLoadRunning());
    rig.clock.advance(1);
    EXPECT_FALSE(rig.link->busy());
    rig.receive("]3\r\n;\r\n");
    EXPECT_EQ(rig.port->writtenTexts().last(), "]12;");
    EXPECT_TRUE(rig.dialogs.shown.isEmpty()) << "the window shows the interruption, not the link";
}

TEST(FactoryReset, AsksAndWritesTheCommand)
{
    LinkRig rig;
    rig.connectPedal();
    rig.dialogs.answers = {1};
    rig.link->factoryResetPedal();
    EXPECT_TRUE(rig.port->writes.isEmpty());
    rig.link->factoryResetPedal();
    EXPECT_EQ(rig.port->writtenTexts(), QStringList({"]4;"}));
    EXPECT_EQ(rig.dialogs.shown[0].message, "About to factory reset");
    EXPECT_EQ(rig.dialogs.shown[0].kind, Alert::Kind::Destructive);
    EXPECT_EQ(rig.dialogs.shown[0].informative,
              "Your pedal will be reset to its factory settings.\nThe computer data will remain the same.");
}

TEST(Preview, NameOfASongAsEightWrites)
{
    LinkRig rig;
    rig.connectPedal();
    Song &song = *rig.store.SongList[6];
    ASSERT_EQ(song.Id, 7);
    song.FontSize = 2;
    song.BackgroundColour = 3;
    song.ForegroundColour = 12;
    song.UpdateName("Hi\nYou");
    rig.store.GlobalMenu.DisplayNameOnly = 1;
    rig.link->previewName(6);
    EXPECT_EQ(rig.port->writtenTexts(),
              QStringList({"]1;", "007", "1", "2", "03", "12", "Hi[You" + QString(24, '`'), ";"}));
    EXPECT_TRUE(rig.dialogs.shown.isEmpty());

    rig.port->clearWrites();
    song.UpdateName("A b");
    rig.link->previewName(6);
    EXPECT_EQ(rig.port->writtenTexts()[6], "A_b" + QString(27, '`'));

    rig.port->clearWrites();
    rig.link->previewName(-1);
    EXPECT_TRUE(rig.port->writes.isEmpty());
}

TEST(Preview, TheSongNumberIsItsPositionNotItsId)
{
    LinkRig rig;
    rig.connectPedal();
    std::swap(rig.store.SongList[2], rig.store.SongList[6]); // as after sorting
    ASSERT_EQ(rig.store.SongList[2]->Id, 7);
    rig.link->previewName(2);
    ASSERT_EQ(rig.port->writes.size(), 8);
    EXPECT_EQ(rig.port->writtenTexts()[1], "003");
}

TEST(Preview, NameNormalisesEvenWhenNotConnected)
{
    LinkRig rig;
    rig.store.SongList[0]->UpdateTempo(20);
    rig.link->previewName(0);
    EXPECT_EQ(rig.store.SongList[0]->Tempo, 40);
    EXPECT_EQ(rig.dialogs.messages(), QStringList({"Please connect to the pedal first"}));
}

TEST(Preview, StackSendsItsSetMessages)
{
    LinkRig rig;
    rig.connectPedal();
    rig.link->previewStack(4);
    EXPECT_TRUE(rig.port->writes.isEmpty()) << "an empty stack writes nothing";

    auto &messages = rig.store.MidiStackList[4].MidiStackMessageList;
    messages[1] = MidiStackMessage(1, 16, 5, 0, "a");
    messages[3].Typey = 3; // a type alone is no message
    messages[7] = MidiStackMessage(0, 1, 7, 127, "b");
    rig.link->previewStack(4);
    EXPECT_EQ(rig.port->writtenTexts(),
              QStringList({"]2;", "207", "005", "000", ";", "]2;", "176", "007", "127", ";"}));

    rig.port->clearWrites();
    rig.link->previewStack(-1);
    EXPECT_TRUE(rig.port->writes.isEmpty());
    EXPECT_TRUE(rig.dialogs.shown.isEmpty());
}

// What is known of the pedal's session follows the link: whole sends and loads make it
// known, page transfers update it, anything that leaves the pedal in doubt forgets it.
TEST(KnownSession, WhatIsKnownFollowsTheLink)
{
    enum class Known { Nothing, Editor, Factory, Pedal };
    const auto loadAll = [](LinkRig &r, const DataHandler &pedal) {
        r.link->startLoad(PedalLink::Load::All);
        r.receive("]3\r\n" + LinkRig::replyLines(pedal, pageDataKeys()) + ";\r\n");
        for (int i = 1; i < int(PedalLink::requestsOf(PedalLink::Load::All).size()); ++i)
            r.receive("]3\r\n;\r\n");
        r.clock.runAll();
    };
    const auto sendAll = [](LinkRig &r) {
        r.link->startSend(SessionKeys::Page::All);
        r.clock.runAll();
    };
    const int tempos = SessionKeys::indexOf(u"Tempos");
    const struct
    {
        const char *what;
        std::function<void(LinkRig &, PedalKnownSession &, const DataHandler &pedal)> steps;
        Known known;
    } cases[] = {
        {"nothing yet", [](LinkRig &, PedalKnownSession &, const DataHandler &) {}, Known::Nothing},
        {"a Send All to its end", [&](LinkRig &r, PedalKnownSession &, const DataHandler &) { sendAll(r); },
         Known::Editor},
        {"an edit while a Send All goes out",
         [](LinkRig &r, PedalKnownSession &k, const DataHandler &) {
             r.link->startSend(SessionKeys::Page::All);
             r.clock.advance(600);
             r.store.SongList[0]->UpdateTempo(99); // not in the text being sent
             r.clock.runAll();
             EXPECT_EQ(k.changedKeys(), std::vector<int>({SessionKeys::indexOf(u"Tempos")}));
             r.store.SongList[0]->UpdateTempo(120);
         },
         Known::Editor},
        {"a Send All unplugged",
         [](LinkRig &r, PedalKnownSession &, const DataHandler &) {
             r.link->startSend(SessionKeys::Page::All);
             r.clock.advance(600);
             r.port->unplug();
             r.clock.runAll();
         },
         Known::Nothing},
        {"a send cancelled after a Send All",
         [&](LinkRig &r, PedalKnownSession &, const DataHandler &) {
             sendAll(r);
             r.link->startSend(SessionKeys::Page::Midi);
             r.clock.advance(600);
             r.link->abortTransfer("Cancelled.");
             r.clock.runAll();
         },
         Known::Nothing},
        {"a Send All cancelled by the user",
         [&](LinkRig &r, PedalKnownSession &, const DataHandler &) {
             sendAll(r);
             r.link->startSend(SessionKeys::Page::All);
             r.clock.advance(600);
             EXPECT_TRUE(r.link->cancel());
             r.clock.runAll();
         },
         Known::Nothing},
        {"a Load All cancelled by the user",
         [&](LinkRig &r, PedalKnownSession &, const DataHandler &) {
             sendAll(r);
             r.link->startLoad(PedalLink::Load::All);
             EXPECT_TRUE(r.link->cancel());
             r.clock.runAll();
         },
         Known::Nothing},
        {"a whole Load All", [&](LinkRig &r, PedalKnownSession &, const DataHandler &p) { loadAll(r, p); },
         Known::Pedal},
        {"a Load All that lacks keys",
         [&](LinkRig &r, PedalKnownSession &, const DataHandler &p) {
             sendAll(r);
             r.link->startLoad(PedalLink::Load::All);
             r.receive("]3\r\n" + LinkRig::replyLines(p, {tempos}) + ";\r\n");
             for (int i = 1; i < 9; ++i)
                 r.receive("]3\r\n;\r\n");
             r.clock.runAll();
         },
         Known::Factory}, // what the pedal holds is still what was sent
        {"a Load All timed out",
         [&](LinkRig &r, PedalKnownSession &, const DataHandler &) {
             sendAll(r);
             r.link->startLoad(PedalLink::Load::All);
             r.clock.runAll();
         },
         Known::Nothing},
        {"a factory reset",
         [&](LinkRig &r, PedalKnownSession &, const DataHandler &) {
             sendAll(r);
             r.link->factoryResetPedal();
         },
         Known::Factory},
        {"the port lost",
         [&](LinkRig &r, PedalKnownSession &, const DataHandler &) {
             sendAll(r);
             r.port->unplug();
         },
         Known::Nothing},
        {"a new connection",
         [&](LinkRig &r, PedalKnownSession &, const DataHandler &) {
             sendAll(r);
             r.connectPedal(QStringLiteral("/dev/ttyACM1"));
         },
         Known::Nothing},
        {"a firmware update (the port forgotten)",
         [&](LinkRig &r, PedalKnownSession &, const DataHandler &) {
             sendAll(r);
             r.serial->forgetPort();
         },
         Known::Nothing},
        {"a page send while known",
         [&](LinkRig &r, PedalKnownSession &, const DataHandler &) {
             sendAll(r);
             r.store.GlobalMenu.MidiChannelOut = 9;
             r.store.SongList[1]->UpdateTempo(99);
             r.link->startSend(SessionKeys::Page::Global);
             r.clock.runAll();
             r.store.SongList[1]->UpdateTempo(120); // back to what the pedal has
         },
         Known::Editor},
        {"a page send while nothing is known",
         [&](LinkRig &r, PedalKnownSession &, const DataHandler &) {
             r.link->startSend(SessionKeys::Page::Global);
             r.clock.runAll();
         },
         Known::Nothing},
        {"a page load while known",
         [&](LinkRig &r, PedalKnownSession &, const DataHandler &p) {
             loadAll(r, p);
             const qint64 tempo = r.store.SongList[1]->Tempo;
             r.store.SongList[1]->UpdateTempo(77); // not on the pedal, and not loaded below
             r.link->startLoad(PedalLink::Load::Setlist);
             r.receive("]3\r\n" + LinkRig::replyLines(DataHandler(), {SessionKeys::indexOf(u"Setlist")}) + ";\r\n");
             r.clock.runAll();
             r.store.SongList[1]->UpdateTempo(tempo);
         },
         Known::Editor},
        {"Send Changes to its end",
         [&](LinkRig &r, PedalKnownSession &k, const DataHandler &) {
             sendAll(r);
             r.store.SongList[4]->UpdateName(QStringLiteral("Intro Riff"));
             r.store.GlobalMenu.MidiChannelOut = 5;
             r.port->clearWrites();
             QSignalSpy sent(&k, &PedalKnownSession::changesSent);
             EXPECT_EQ(k.sendChanges(), PedalKnownSession::Outcome::Started);
             r.clock.runAll();
             // One upload of the two changed keys, nothing else.
             const QString written = r.port->written();
             EXPECT_TRUE(written.startsWith(QStringLiteral("\r\n]3;Name]"))) << qPrintable(written.left(40));
             EXPECT_EQ(written.count(QLatin1Char(']')), 3) << qPrintable(written.left(200));
             EXPECT_TRUE(written.contains(QStringLiteral("\r\nGlobal]")));
             EXPECT_TRUE(written.contains(QStringLiteral("Intro_Riff")));
             EXPECT_EQ(sent.size(), 1);
         },
         Known::Editor},
        {"Send Changes cut off",
         [&](LinkRig &r, PedalKnownSession &k, const DataHandler &) {
             sendAll(r);
             r.store.SongList[4]->UpdateName(QStringLiteral("Intro Riff"));
             EXPECT_EQ(k.sendChanges(), PedalKnownSession::Outcome::Started);
             r.clock.advance(300);
             r.port->unplug();
             r.clock.runAll();
         },
         Known::Nothing},
        {"a whole load into a session of its own",
         [&](LinkRig &r, PedalKnownSession &k, const DataHandler &p) {
             const QString before = LinkRig::fileText(r.store);
             ASSERT_TRUE(k.loadPedal());
             // The port is taken: the editor's link refuses, and leaves the replies alone.
             EXPECT_TRUE(r.link->busy());
             EXPECT_FALSE(r.link->startSend(SessionKeys::Page::All));
             r.receive("]3\r\n" + LinkRig::replyLines(p, pageDataKeys()) + ";\r\n");
             for (int i = 1; i < 9; ++i)
                 r.receive("]3\r\n;\r\n");
             r.clock.runAll();
             EXPECT_FALSE(r.link->busy());
             EXPECT_EQ(LinkRig::fileText(r.store), before);
         },
         Known::Pedal},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.what);
        LinkRig rig;
        rig.connectPedal();
        PedalKnownSession known(*rig.serial, *rig.link, rig.store);
        DataHandler pedal;
        scramble(pedal);
        c.steps(rig, known, pedal);
        const DataHandler factory;
        const DataHandler *expected = c.known == Known::Editor ? &rig.store
            : c.known == Known::Factory                        ? &factory
            : c.known == Known::Pedal                          ? &pedal
                                                               : nullptr;
        EXPECT_EQ(known.isKnown(), expected != nullptr);
        if (known.isKnown() != (expected != nullptr))
            continue;
        if (!expected) {
            rig.port->clearWrites();
            EXPECT_EQ(known.sendChanges(), PedalKnownSession::Outcome::NothingKnown);
            EXPECT_TRUE(rig.port->writes.isEmpty());
            continue;
        }
        std::vector<int> differing;
        for (int k : SessionDiff::changedKeys(*expected, *known.known()))
            if (SessionKeys::at(k).gated)
                differing.push_back(k);
        EXPECT_EQ(differing, std::vector<int>());
        // What differs from the editor's session is exactly what Send Changes would send.
        std::vector<int> fromEditor;
        for (int k : SessionDiff::changedKeys(*expected, rig.store))
            if (SessionKeys::at(k).gated)
                fromEditor.push_back(k);
        EXPECT_EQ(known.changedKeys(), fromEditor);
        if (fromEditor.empty()) {
            rig.port->clearWrites();
            EXPECT_EQ(known.sendChanges(), PedalKnownSession::Outcome::NothingChanged);
            EXPECT_TRUE(rig.port->writes.isEmpty());
        }
    }
}
