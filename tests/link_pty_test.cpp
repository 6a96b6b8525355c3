// The serial path end to end: the real QSerialPort transport on a pseudo-terminal, with
// the test playing the pedal on the master side.

#include "link_test_util.h"

#include "link/QtScheduler.h"
#include "link/QtSerialTransport.h"
#include "support/PtyPair.h"

#include <QElapsedTimer>
#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <functional>

#include <fcntl.h>
#include <termios.h>
#include <unistd.h>

namespace {

void spinUntil(const std::function<bool()> &done, int timeoutMs)
{
    QElapsedTimer timer;
    timer.start();
    while (!done() && timer.elapsed() < timeoutMs)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
}

} // namespace

TEST(SerialOverPty, ConnectGreetLoadAndSend)
{
    PtyPair pty;
    ASSERT_TRUE(pty.open()) << pty.error().toStdString();

    // The pedal shows up as a port matched by PEDAL_EXTRA_PORTS once it is "plugged in":
    // a link to the pty's slave in a private folder, so other terminals do not count.
    QTemporaryDir dir;
    const QString pedalPath = dir.filePath("pedal0");
    qputenv("PEDAL_EXTRA_PORTS", dir.filePath("pedal*").toLocal8Bit());

    DiagnosticsCapture diagnostics;
    DataHandler store;
    ScriptedDialogs dialogs;
    QtScheduler scheduler;
    SerialHandler serial(dialogs, scheduler, std::make_unique<QtSerialTransport>(),
                         std::make_unique<PortLister>([] { return QStringList(); }));
    PedalLink link(serial, store, dialogs, scheduler);
    serial.recordStartupPorts();
    EXPECT_TRUE(serial.startupPorts().isEmpty());

    ASSERT_TRUE(QFile::link(pty.slavePath(), pedalPath));
    ASSERT_TRUE(serial.connectToPedal()) << dialogs.shown.value(0).informative.toStdString();
    EXPECT_EQ(serial.portName(), pedalPath);
    EXPECT_EQ(dialogs.messages(), QStringList({"Success!"})) << "a port without RTS still connects";

    // The greeting, about one second later.
    QElapsedTimer timer;
    timer.start();
    EXPECT_EQ(pty.read(3, 5000), QByteArray("]0;"));
    EXPECT_GE(timer.elapsed(), 900);

    // A single load, answered in awkward chunks.
    link.loadSetlist();
    EXPECT_EQ(pty.read(3, 5000), QByteArray("]6;"));
    QString slotText = "003001";
    for (int i = 0; i < 126; ++i)
        slotText += "255";
    const QByteArray reply = ("]3\r\nSetl" + QString("ist]") + slotText + "\r\n;\r\n").toUtf8();
    for (qsizetype at = 0; at < reply.size(); at += 7)
        ASSERT_TRUE(pty.write(reply.mid(at, 7)));
    spinUntil([&] { return dialogs.shown.size() >= 3; }, 5000);
    EXPECT_EQ(dialogs.messages(), QStringList({"Success!", "About to receive", "Press the REFRESH button"}));
    ASSERT_EQ(store.Setlist.size(), 2u);
    EXPECT_EQ(store.Setlist[0]->Id, 3);
    EXPECT_EQ(store.Setlist[1]->Id, 1);

    // A send of the Global Settings page: every byte, in order, paced.
    SessionWriter writer;
    writer.selectPage(SessionKeys::Page::Global);
    const QByteArray expected =
        "\r\n]3;" + writer.write(store, SessionWriter::Form::Pedal).replace(' ', '_').toUtf8() + ";";
    QSignalSpy ended(&link, &PedalLink::transferEnded);
    link.sendGlobal();
    EXPECT_EQ(pty.read(int(expected.size()), 5000), expected);
    spinUntil([&] { return !ended.isEmpty(); }, 5000);
    EXPECT_FALSE(link.busy());

    serial.closeAtExit();
    EXPECT_FALSE(serial.portHeld());
    // Whether this system's pty refused RTS (it usually does) is worth seeing in the log.
    ::testing::Test::RecordProperty("rts_refused", diagnostics.contains("has no RTS line") ? "yes" : "no");
    for (const QString &l : diagnostics.lines)
        EXPECT_FALSE(l.contains("encountered error")) << l.toStdString();
    qunsetenv("PEDAL_EXTRA_PORTS");
}

// The pedal goes away under a connected link (the master end closes: the port hangs up,
// reads return nothing): one message, the link idle, no diagnostic lines in a loop.
TEST(SerialOverPty, ALostPortIsOneEvent)
{
    const struct
    {
        const char *what;
        std::function<void(PedalLink &)> start;
    } cases[] = {
        {"idle", [](PedalLink &) {}},
        {"during a load", [](PedalLink &link) { link.startLoad(PedalLink::Load::All); }},
        {"during a send", [](PedalLink &link) { link.startSend(SessionKeys::Page::All); }},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.what);
        PtyPair pty;
        ASSERT_TRUE(pty.open()) << pty.error().toStdString();
        // Like the virtual pedal, the far end keeps its own slave descriptor open, in raw
        // mode; it goes away together with the master.
        const int slave = ::open(QFile::encodeName(pty.slavePath()).constData(), O_RDWR | O_NOCTTY);
        ASSERT_GE(slave, 0);
        termios raw{};
        ::tcgetattr(slave, &raw);
        ::cfmakeraw(&raw);
        ::tcsetattr(slave, TCSANOW, &raw);
        DiagnosticsCapture diagnostics;
        DataHandler store;
        ScriptedDialogs dialogs;
        QtScheduler scheduler;
        SerialHandler serial(dialogs, scheduler);
        PedalLink link(serial, store, dialogs, scheduler);
        ASSERT_TRUE(serial.openPort(pty.slavePath()));
        QSignalSpy lost(&serial, &SerialHandler::portLost);
        QSignalSpy interrupted(&link, &PedalLink::transferInterrupted);
        QSignalSpy ended(&link, &PedalLink::transferEnded);
        c.start(link);
        pty.drain(100);
        pty.close();
        ::close(slave);
        spinUntil([&] { return !lost.isEmpty(); }, 3000);
        spinUntil([] { return false; }, 500); // anything that would follow in a loop
        ASSERT_EQ(lost.size(), 1);
        EXPECT_TRUE(lost[0][0].toString().contains("disconnected")) << lost[0][0].toString().toStdString();
        EXPECT_FALSE(serial.portHeld());
        EXPECT_FALSE(link.busy());
        EXPECT_EQ(interrupted.size(), link.busy() || QByteArray(c.what) == "idle" ? 0 : 1);
        EXPECT_EQ(ended.size(), QByteArray(c.what) == "idle" ? 0 : 1);
        EXPECT_LE(diagnostics.lines.size(), 4) << diagnostics.lines.join("\n").toStdString();
        EXPECT_EQ(dialogs.messages(), QStringList({"Success!"}));
    }
}

TEST(SerialOverPty, OpenFailureOfTheRealPortIsReported)
{
    DiagnosticsCapture diagnostics;
    ScriptedDialogs dialogs;
    QtScheduler scheduler;
    SerialHandler serial(dialogs, scheduler);
    EXPECT_FALSE(serial.openPort("/nonexistent/pedal"));
    ASSERT_EQ(dialogs.shown.size(), 1);
    // The system's reason in brackets, and where to look for the pedal's port.
    const QString text = dialogs.shown[0].informative;
    EXPECT_TRUE(text.startsWith("/nonexistent/pedal is not there (")) << text.toStdString();
    EXPECT_FALSE(text.contains("()")) << text.toStdString();
    EXPECT_TRUE(text.contains("ls /dev/ttyACM*")) << text.toStdString();
    EXPECT_EQ(serial.portName(), "COM333");
    EXPECT_FALSE(serial.portHeld());

    // A device held by one link cannot be opened by another, also under another path.
    PtyPair pty;
    ASSERT_TRUE(pty.open());
    QTemporaryDir dir;
    const QString other = dir.filePath("pedal");
    ASSERT_TRUE(QFile::link(pty.slavePath(), other));
    ScriptedDialogs firstDialogs;
    SerialHandler first(firstDialogs, scheduler);
    ASSERT_TRUE(first.openPort(pty.slavePath()));
    dialogs.shown.clear();
    EXPECT_FALSE(serial.openPort(other));
    ASSERT_EQ(dialogs.shown.size(), 1);
    EXPECT_TRUE(dialogs.shown[0].informative.contains("in use")) << dialogs.shown[0].informative.toStdString();
    first.closePort();
    EXPECT_TRUE(serial.openPort(other));
}

TEST(SerialOverPty, TheTouchAt1200BaudOpensAndClosesThePort)
{
    PtyPair pty;
    ASSERT_TRUE(pty.open());
    DiagnosticsCapture diagnostics;
    ScriptedDialogs dialogs;
    QtScheduler scheduler;
    SerialHandler serial(dialogs, scheduler);
    EXPECT_EQ(serial.touchPort(pty.slavePath(), 1200), QString());
    EXPECT_FALSE(serial.portHeld());
    EXPECT_FALSE(serial.touchPort("/nonexistent/pedal", 1200).isEmpty());
}
