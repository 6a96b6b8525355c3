// Receiving from the virtual pedal: each page sent and received on its own, replies cut
// at random, the pedal's factory reset, a pedal that stops answering, a port that cannot
// be opened.

#include "vpedal_support.h"

#include "link/PedalKnownSession.h"
#include "link/PedalLink.h"
#include "link/QtScheduler.h"
#include "link/SerialHandler.h"
#include "model/ScriptedDialogs.h"
#include "model/SessionSnapshot.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QEventLoop>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QThread>
#include <QTimer>

#include <gtest/gtest.h>

#include <csignal>

using namespace vpedal;

namespace {

class VirtualPedalReceive : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        sessionPath = dir.filePath(QStringLiteral("session.txt"));
        randomSession(original, 21);
        ASSERT_TRUE(writeSessionFile(original, sessionPath));
        ASSERT_TRUE(openSessionFile(expected, sessionPath));
    }

    ToolResult receive(const PedalProcess &pedal, const QString &page, const QString &out, const QStringList &more = {})
    {
        return runTool(QStringList{QStringLiteral("receive"), QStringLiteral("--port"), pedal.device(),
                                   QStringLiteral("--page"), page, QStringLiteral("-o"), out}
                       + more);
    }

    QTemporaryDir dir;
    QString sessionPath;
    DataHandler original;
    DataHandler expected;
};

} // namespace

TEST_F(VirtualPedalReceive, EachPageSentAndReceivedOnItsOwn)
{
    PedalProcess pedal;
    ASSERT_TRUE(pedal.start({}));
    const QStringList pages = {QStringLiteral("setlist"), QStringLiteral("global"), QStringLiteral("songs"),
                               QStringLiteral("setjacks"), QStringLiteral("midi")};
    for (const QString &page : pages) {
        const ToolResult sent = runTool({QStringLiteral("send"), sessionPath, QStringLiteral("--port"), pedal.device(),
                                         QStringLiteral("--page"), page});
        ASSERT_EQ(sent.exitCode, 0) << qPrintable(page) << ": " << qPrintable(sent.err);
    }
    // Each receive starts from the result of the one before; after the first only the
    // setlist has arrived.
    QString base;
    for (const QString &page : pages) {
        const QString out = dir.filePath(page + QStringLiteral(".txt"));
        const ToolResult r = receive(pedal, page, out, base.isEmpty() ? QStringList() : QStringList{"--base", base});
        ASSERT_EQ(r.exitCode, 0) << qPrintable(page) << ": " << qPrintable(r.err);
        if (base.isEmpty()) {
            DataHandler partial;
            ASSERT_TRUE(openSessionFile(partial, out));
            EXPECT_EQ(differingKeys(DataHandler(), partial), QStringList({QStringLiteral("Setlist")}));
        }
        base = out;
    }
    DataHandler back;
    ASSERT_TRUE(openSessionFile(back, base));
    EXPECT_EQ(differingKeys(expected, back), QStringList());
    EXPECT_EQ(pedal.stop(), 0);
}

TEST_F(VirtualPedalReceive, RepliesCutAtRandomArriveWhole)
{
    for (int seed : {1, 2, 3}) {
        PedalProcess pedal;
        ASSERT_TRUE(pedal.start({QStringLiteral("--session"), sessionPath, QStringLiteral("--random-chunks"),
                                 QStringLiteral("--seed"), QString::number(seed), QStringLiteral("--chunk-size"),
                                 QStringLiteral("97")}));
        const QString out = dir.filePath(QStringLiteral("received-%1.txt").arg(seed));
        const ToolResult r = receive(pedal, QStringLiteral("all"), out);
        ASSERT_EQ(r.exitCode, 0) << "seed " << seed << ": " << qPrintable(r.err);
        DataHandler back;
        ASSERT_TRUE(openSessionFile(back, out));
        EXPECT_EQ(differingKeys(expected, back), QStringList()) << "seed " << seed;
        EXPECT_EQ(pedal.stop(), 0);
    }
}

TEST_F(VirtualPedalReceive, SinglePageWithSmallFixedChunksOntoABase)
{
    PedalProcess pedal;
    ASSERT_TRUE(
        pedal.start({QStringLiteral("--session"), sessionPath, QStringLiteral("--chunk-size"), QStringLiteral("5")}));
    const QString out = dir.filePath(QStringLiteral("global.txt"));
    // The base keeps everything that the Global Settings page does not carry.
    const ToolResult r = receive(pedal, QStringLiteral("global"), out, {QStringLiteral("--base"), sessionPath});
    ASSERT_EQ(r.exitCode, 0) << qPrintable(r.err);
    DataHandler back;
    ASSERT_TRUE(openSessionFile(back, out));
    EXPECT_EQ(differingKeys(expected, back), QStringList());
    EXPECT_EQ(back.MidiMessageLibrary.size(), expected.MidiMessageLibrary.size());
    EXPECT_EQ(back.MidiStackList[9].Name, expected.MidiStackList[9].Name);
}

TEST_F(VirtualPedalReceive, FactoryResetFromTheEditorsCommand)
{
    PedalProcess pedal;
    ASSERT_TRUE(pedal.start({QStringLiteral("--session"), sessionPath}));
    {
        // The window's factory reset: confirmation "Ok", then "]4;".
        ScriptedDialogs dialogs;
        QtScheduler scheduler;
        SerialHandler serial(scheduler);
        ASSERT_TRUE(serial.openPort(pedal.device()));
        DataHandler store;
        PedalLink link(serial, store, scheduler);
        if (dialogs.alert(PedalLink::factoryResetQuestion()) == 0)
            link.factoryReset();
        EXPECT_TRUE(dialogs.messages().contains(QStringLiteral("About to factory reset")));
        QEventLoop settle;
        QTimer::singleShot(300, &settle, &QEventLoop::quit);
        settle.exec();
        serial.closePort();
    }
    const QString out = dir.filePath(QStringLiteral("after-reset.txt"));
    const ToolResult r = receive(pedal, QStringLiteral("all"), out, {QStringLiteral("--base"), sessionPath});
    ASSERT_EQ(r.exitCode, 0) << qPrintable(r.err);
    DataHandler back;
    ASSERT_TRUE(openSessionFile(back, out));
    EXPECT_EQ(differingKeys(DataHandler(), back), QStringList());
}

TEST_F(VirtualPedalReceive, APedalThatStopsAnsweringWritesNothing)
{
    // Answers the first two requests of the chain, then nothing more.
    PedalProcess pedal;
    ASSERT_TRUE(
        pedal.start({QStringLiteral("--session"), sessionPath, QStringLiteral("--answer-limit"), QStringLiteral("2")}));
    const QString out = dir.filePath(QStringLiteral("never.txt"));
    ToolResult r = receive(pedal, QStringLiteral("all"), out, {QStringLiteral("--timeout"), QStringLiteral("1.5")});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_TRUE(r.err.contains(QStringLiteral("in 1.5 seconds"))) << qPrintable(r.err);
    EXPECT_FALSE(QFileInfo::exists(out));

    // A single load that gets no answer at all.
    r = receive(pedal, QStringLiteral("setlist"), out, {QStringLiteral("--timeout"), QStringLiteral("1")});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_FALSE(QFileInfo::exists(out));
    EXPECT_EQ(pedal.stop(), 0);
}

namespace {
// pedal-session running on its own, to be stopped from outside.
struct RunningTool
{
    QProcess process;
    explicit RunningTool(const QStringList &args)
    {
        process.start(sessionToolProgram(), args);
        process.waitForStarted(10000);
    }
    // Waits until the tool's handler for `signal` is in place, as /proc tells: a loaded
    // machine may take seconds to start a sanitised program.
    bool waitUntilCatching(int signal, int timeoutMs = 30000)
    {
        QElapsedTimer clock;
        clock.start();
        const QString status = QStringLiteral("/proc/%1/status").arg(process.processId());
        while (clock.elapsed() < timeoutMs) {
            QFile file(status);
            if (file.open(QIODevice::ReadOnly)) {
                for (const QByteArray &line : file.readAll().split('\n')) {
                    if (line.startsWith("SigCgt:")
                        && ((line.mid(7).trimmed().toULongLong(nullptr, 16) >> (signal - 1)) & 1))
                        return true;
                }
            }
            QThread::msleep(20);
        }
        return false;
    }
    ToolResult finish(int timeoutMs = 30000) { return finishTool(process, timeoutMs); }
};

void pause(int ms)
{
    QEventLoop loop;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    loop.exec();
}
} // namespace

// Transfers stopped from outside: by a signal (the port closed, status 128 + signal), or by
// the pedal going away (status 1 with the reason, at once, not after the time-out). A
// send stopped half-way does not spoil the next one.
TEST_F(VirtualPedalReceive, TransfersStoppedFromOutside)
{
    PedalProcess pedal;
    ASSERT_TRUE(pedal.start({}));
    const QString out = dir.filePath(QStringLiteral("never.txt"));
    const QStringList sendAll{QStringLiteral("send"),   sessionPath,          QStringLiteral("--port"), pedal.device(),
                              QStringLiteral("--page"), QStringLiteral("all")};
    const auto readLog = [](const QString &path) {
        QFile f(path);
        return f.open(QIODevice::ReadOnly) ? QString::fromUtf8(f.readAll()) : QString();
    };
    {
        // SIGINT cancels as the editor's Cancel does; the log tells what went out.
        const QString log = dir.filePath(QStringLiteral("send.log"));
        RunningTool send(sendAll + QStringList{QStringLiteral("--log"), log});
        ASSERT_TRUE(send.waitUntilCatching(SIGINT));
        pause(2000); // the greeting, then a few pieces of the upload
        ::kill(pid_t(send.process.processId()), SIGINT);
        const ToolResult r = send.finish();
        EXPECT_EQ(r.exitCode, 130) << qPrintable(r.err);
        EXPECT_TRUE(r.err.contains(QStringLiteral("SIGINT"))) << qPrintable(r.err);
        const QString lines = readLog(log);
        EXPECT_TRUE(lines.contains(QStringLiteral("  sent      ]3;\n"))) << qPrintable(lines);
        EXPECT_TRUE(lines.contains(QStringLiteral("  upload    piece 1 of "))) << qPrintable(lines);
        EXPECT_TRUE(lines.contains(QStringLiteral("  transfer  send cancelled"))) << qPrintable(lines);
        EXPECT_TRUE(lines.contains(QStringLiteral("  port      closed "))) << qPrintable(lines);
    }
    {
        RunningTool load({QStringLiteral("receive"), QStringLiteral("--port"), pedal.device(), QStringLiteral("--page"),
                          QStringLiteral("midi"), QStringLiteral("-o"), out});
        ASSERT_TRUE(load.waitUntilCatching(SIGTERM));
        pause(200);
        ::kill(pid_t(load.process.processId()), SIGTERM);
        const ToolResult r = load.finish();
        EXPECT_EQ(r.exitCode, 143) << qPrintable(r.err);
        EXPECT_FALSE(QFileInfo::exists(out));
    }
    // The next full send is the one the pedal applies.
    const ToolResult sent = runTool(sendAll);
    ASSERT_EQ(sent.exitCode, 0) << qPrintable(sent.err);
    const QString back = dir.filePath(QStringLiteral("back.txt"));
    const QString receiveLog = dir.filePath(QStringLiteral("receive.log"));
    const ToolResult r = receive(pedal, QStringLiteral("all"), back, {QStringLiteral("--log"), receiveLog});
    ASSERT_EQ(r.exitCode, 0) << qPrintable(r.err);
    const QString lines = readLog(receiveLog);
    EXPECT_EQ(lines.count(QStringLiteral("  received  ]3\n")), 9) << qPrintable(lines.left(3000));
    EXPECT_TRUE(lines.contains(QStringLiteral("  transfer  load finished\n")));
    DataHandler received;
    ASSERT_TRUE(openSessionFile(received, back));
    EXPECT_EQ(differingKeys(expected, received), QStringList());

    // The pedal goes away in the middle of a load that would otherwise wait 60 s.
    PedalProcess silent;
    ASSERT_TRUE(silent.start({QStringLiteral("--answer-limit"), QStringLiteral("0")}));
    RunningTool load({QStringLiteral("receive"), QStringLiteral("--port"), silent.device(), QStringLiteral("--page"),
                      QStringLiteral("all"), QStringLiteral("-o"), out, QStringLiteral("--timeout"),
                      QStringLiteral("60")});
    pause(1500);
    QElapsedTimer clock;
    clock.start();
    EXPECT_EQ(silent.stop(), 0);
    const ToolResult lost = load.finish();
    EXPECT_LT(clock.elapsed(), 5000);
    EXPECT_EQ(lost.exitCode, 1);
    EXPECT_TRUE(lost.err.contains(QStringLiteral("disconnected"))) << qPrintable(lost.err);
    EXPECT_LE(lost.err.count(QLatin1Char('\n')), 5) << qPrintable(lost.err.left(2000));
    EXPECT_FALSE(QFileInfo::exists(out));
    EXPECT_EQ(pedal.stop(), 0);
}

// The virtual pedal ends cleanly (its session saved) on SIGHUP, and on a signal that
// comes right after it printed its path.
TEST_F(VirtualPedalReceive, ThePedalEndsCleanlyOnEverySignal)
{
    for (int number : {SIGHUP, SIGTERM}) {
        SCOPED_TRACE(number);
        const QString saved = dir.filePath(QStringLiteral("saved-%1.txt").arg(number));
        PedalProcess pedal;
        ASSERT_TRUE(pedal.start({QStringLiteral("--save"), saved}));
        ::kill(pid_t(pedal.pid()), number);
        QElapsedTimer clock;
        clock.start();
        while (!QFileInfo::exists(saved) && clock.elapsed() < 10000)
            pause(50);
        EXPECT_TRUE(QFileInfo::exists(saved));
        pedal.stop();
    }
}

// pedal-session flash: an image refused before the pedal is touched; then the whole update
// with a stand-in flashing tool first on PATH: the virtual pedal notices the 1200-baud
// touch, the tool's output goes to standard error, exit 0 only on the tool's success.
TEST_F(VirtualPedalReceive, FirmwareFromAFile)
{
    const QString bin = dir.filePath(QStringLiteral("bin"));
    QDir().mkpath(bin);
    {
        QFile tool(bin + QStringLiteral("/bossac"));
        ASSERT_TRUE(tool.open(QIODevice::WriteOnly));
        tool.write("#!/bin/sh\nprintf '%s\\n' \"$@\" > \"${0%/*}/args.txt\"\n"
                   "if [ -f \"${0%/*}/fail\" ]; then echo 'No device found'; exit 1; fi\n"
                   "echo 'Write 64 bytes to flash (1 pages)'\n");
        tool.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    }
    const QString image = dir.filePath(QStringLiteral("pedal.bin"));
    const QString empty = dir.filePath(QStringLiteral("empty.bin"));
    QFile(empty).open(QIODevice::WriteOnly);
    {
        QFile f(image);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(QByteArray(64, '\x5a'));
    }
    const QString pedalLog = dir.filePath(QStringLiteral("pedal.log"));
    PedalProcess pedal;
    ASSERT_TRUE(pedal.start({QStringLiteral("--log"), pedalLog}));
    const QByteArray oldPath = qgetenv("PATH");
    const QByteArray oldResources = qgetenv("PEDAL_RESOURCES_DIR");
    qputenv("PATH", bin.toLocal8Bit() + ':' + oldPath);
    qputenv("PEDAL_RESOURCES_DIR", dir.filePath(QStringLiteral("no-resources")).toLocal8Bit());
    const auto touches = [&] {
        QFile f(pedalLog);
        return f.open(QIODevice::ReadOnly) ? int(f.readAll().count("1200-baud touch")) : -1;
    };
    const auto flash = [&](const QString &file) {
        return runTool({QStringLiteral("flash"), file, QStringLiteral("--port"), pedal.device()});
    };

    ToolResult r = flash(empty);
    EXPECT_EQ(r.exitCode, 1) << qPrintable(r.err);
    pause(300);
    EXPECT_EQ(touches(), 0);

    r = flash(image);
    EXPECT_EQ(r.exitCode, 0) << qPrintable(r.err);
    EXPECT_TRUE(r.err.contains(QStringLiteral("bytes to flash"))) << qPrintable(r.err);
    QFile args(bin + QStringLiteral("/args.txt"));
    ASSERT_TRUE(args.open(QIODevice::ReadOnly));
    EXPECT_TRUE(args.readAll().contains(QFileInfo(image).absoluteFilePath().toLocal8Bit()));
    pause(300);
    EXPECT_EQ(touches(), 1);

    QFile(bin + QStringLiteral("/fail")).open(QIODevice::WriteOnly);
    r = flash(image);
    EXPECT_EQ(r.exitCode, 1) << qPrintable(r.err);
    EXPECT_TRUE(r.err.contains(QStringLiteral("No device found"))) << qPrintable(r.err);
    qputenv("PATH", oldPath);
    if (oldResources.isEmpty())
        qunsetenv("PEDAL_RESOURCES_DIR");
    else
        qputenv("PEDAL_RESOURCES_DIR", oldResources);
    EXPECT_EQ(pedal.stop(), 0);
}

TEST_F(VirtualPedalReceive, APortThatCannotBeOpened)
{
    const QString missing = dir.filePath(QStringLiteral("no-such-port"));
    const QString out = dir.filePath(QStringLiteral("never.txt"));
    ToolResult r = runTool({QStringLiteral("receive"), QStringLiteral("--port"), missing, QStringLiteral("--page"),
                            QStringLiteral("songs"), QStringLiteral("-o"), out});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_TRUE(r.err.contains(missing)) << qPrintable(r.err);
    EXPECT_FALSE(QFileInfo::exists(out));
    r = runTool({QStringLiteral("send"), sessionPath, QStringLiteral("--port"), missing, QStringLiteral("--page"),
                 QStringLiteral("songs")});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_TRUE(r.err.contains(missing)) << qPrintable(r.err);
    // Usage errors are told apart.
    r = runTool({QStringLiteral("receive"), QStringLiteral("--port"), missing, QStringLiteral("--page"),
                 QStringLiteral("everything")});
    EXPECT_EQ(r.exitCode, 2);
}

TEST_F(VirtualPedalReceive, TheLinkNeverReplacesAFile)
{
    const QString taken = dir.filePath(QStringLiteral("taken"));
    ASSERT_TRUE(writeSessionFile(original, taken));
    const qint64 size = QFileInfo(taken).size();
    PedalProcess pedal;
    EXPECT_FALSE(pedal.start({QStringLiteral("--link"), taken}));
    EXPECT_EQ(pedal.stop(), 1);
    EXPECT_FALSE(QFileInfo(taken).isSymLink());
    EXPECT_EQ(QFileInfo(taken).size(), size);
}

namespace {
// The "upload applied" lines of the virtual pedal's log, without their times.
QStringList appliedUploads(const QString &logPath)
{
    QStringList lines;
    QFile file(logPath);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
        return lines;
    while (!file.atEnd()) {
        const QString line = QString::fromUtf8(file.readLine()).trimmed();
        const qsizetype at = line.indexOf(QStringLiteral("upload applied"));
        if (at >= 0)
            lines.append(line.mid(at));
    }
    return lines;
}

// Runs the event loop until the link's transfer has ended (at most 30 s).
void finish(PedalLink &link)
{
    QEventLoop loop;
    QObject::connect(&link, &PedalLink::transferEnded, &loop, &QEventLoop::quit);
    QTimer::singleShot(30000, &loop, &QEventLoop::quit);
    if (link.busy())
        loop.exec();
}
} // namespace

// Send Changes end to end: connect, Send All, change a song name and a global setting,
// Send Changes; the pedal applies an upload of those two keys only, and a Load All gives
// back the editor's session. Then pedal-session send --changes-from does the same from files.
TEST_F(VirtualPedalReceive, SendChangesUploadsOnlyTheChangedKeys)
{
    const QString logPath = dir.filePath(QStringLiteral("pedal.log"));
    const QString editedPath = dir.filePath(QStringLiteral("edited.txt"));
    PedalProcess pedal;
    ASSERT_TRUE(pedal.start({QStringLiteral("--log"), logPath}));
    {
        ScriptedDialogs dialogs;
        QtScheduler scheduler;
        SerialHandler serial(scheduler);
        ASSERT_TRUE(serial.openPort(pedal.device()));
        pause(SerialHandler::GreetingDelayMs + 200);
        DataHandler store;
        SessionSnapshot::of(expected).restoreInto(store);
        PedalLink link(serial, store, scheduler);
        PedalKnownSession known(serial, link, store);

        EXPECT_EQ(known.sendChanges(), PedalKnownSession::Outcome::NothingKnown);
        ASSERT_TRUE(link.startSend(SessionKeys::Page::All));
        finish(link);
        ASSERT_TRUE(known.isKnown());
        EXPECT_EQ(known.sendChanges(), PedalKnownSession::Outcome::NothingChanged);

        store.SongList[2]->UpdateName(QStringLiteral("Intro Riff"));
        store.GlobalMenu.MidiChannelOut = store.GlobalMenu.MidiChannelOut == 5 ? 6 : 5;
        ASSERT_EQ(known.sendChanges(), PedalKnownSession::Outcome::Started);
        finish(link);
        EXPECT_TRUE(known.changedKeys().empty());

        // Compare with Pedal: the pedal loaded whole into a session of its own.
        const QString before = QString::number(store.GlobalMenu.MidiChannelOut) + store.SongList[2]->FullName;
        ASSERT_TRUE(known.loadPedal());
        finish(known.pedalLoadLink());
        EXPECT_EQ(differingKeys(store, known.loadedSession()), QStringList());
        EXPECT_EQ(QString::number(store.GlobalMenu.MidiChannelOut) + store.SongList[2]->FullName, before);
        ASSERT_TRUE(writeSessionFile(store, editedPath));
        serial.closePort();
    }
    EXPECT_EQ(appliedUploads(logPath),
              QStringList(
                  {QStringLiteral("upload applied: 67 keys"), QStringLiteral("upload applied: 2 keys: Name, Global")}));
    DataHandler edited;
    ASSERT_TRUE(openSessionFile(edited, editedPath));
    const QString backPath = dir.filePath(QStringLiteral("back.txt"));
    ToolResult r = receive(pedal, QStringLiteral("all"), backPath);
    ASSERT_EQ(r.exitCode, 0) << qPrintable(r.err);
    DataHandler back;
    ASSERT_TRUE(openSessionFile(back, backPath));
    EXPECT_EQ(differingKeys(edited, back), QStringList());

    // From files: BASE is taken to be on the pedal; one tempo differs.
    edited.SongList[7]->UpdateTempo(edited.SongList[7]->Tempo == 97 ? 98 : 97);
    const QString nextPath = dir.filePath(QStringLiteral("next.txt"));
    ASSERT_TRUE(writeSessionFile(edited, nextPath));
    const QStringList send{QStringLiteral("send"), nextPath, QStringLiteral("--port"), pedal.device(),
                           QStringLiteral("--changes-from")};
    r = runTool(send + QStringList{editedPath});
    EXPECT_EQ(r.exitCode, 0) << qPrintable(r.err);
    EXPECT_TRUE(r.err.contains(QStringLiteral("(Tempos)"))) << qPrintable(r.err);
    r = runTool(send + QStringList{nextPath});
    EXPECT_EQ(r.exitCode, 0) << qPrintable(r.err);
    EXPECT_TRUE(r.err.contains(QStringLiteral("nothing to send"))) << qPrintable(r.err);
    EXPECT_EQ(pedal.stop(), 0);
    EXPECT_EQ(appliedUploads(logPath).mid(2), QStringList({QStringLiteral("upload applied: 1 keys: Tempos")}));
}
