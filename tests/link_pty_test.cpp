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

namespace {

void spinUntil(const std::function<bool()> &done, int timeoutMs)
{
    QElapsedTimer timer;
    timer.start();
    while (!done() && timer.elapsed() < timeoutMs)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
}

} // namespace

// Connect to a port that appeared after start-up, the greeting, a load answered in awkward
// chunks, a paced send, and what the pedal log says of it. (The virtual pedal's tests take
// the same path further: every page, a pedal that stops answering or goes away.)
TEST(SerialOverPty, ConnectLoadAndSend)
{
    PtyPair pty;
    ASSERT_TRUE(pty.open()) << pty.error().toStdString();
    // The pedal shows up as a port matched by PEDAL_EXTRA_PORTS once it is "plugged in":
    // a link to the pty's slave in a private folder, so other terminals do not count.
    QTemporaryDir dir;
    const QString pedalPath = dir.filePath("pedal0");
    qputenv("PEDAL_EXTRA_PORTS", dir.filePath("pedal*").toLocal8Bit());

    CapturedLines diagnostics;
    DataHandler store;
    QtScheduler scheduler;
    SerialHandler serial(scheduler, std::make_unique<QtSerialTransport>(),
                         std::make_unique<PortLister>([] { return QStringList(); }));
    PedalLink link(serial, store, scheduler);
    QStringList alerts;
    const auto hear = [&](const Alert &a) { alerts.append(a.message + "|" + a.informative); };
    QObject::connect(&serial, &SerialHandler::alertRaised, hear);
    QObject::connect(&link, &PedalLink::alertRaised, hear);
    // The pedal log: each line short, upload pieces by their size, never their text.
    QMap<PedalLogEntry::Kind, QStringList> log;
    QObject::connect(&serial, &SerialHandler::logged, [&](const PedalLogEntry &e) {
        log[e.kind].append(e.text);
        EXPECT_FALSE(e.format().size() > 400 || e.format().contains('\n')) << e.format().toStdString();
    });
    serial.recordStartupPorts();
    ASSERT_TRUE(QFile::link(pty.slavePath(), pedalPath));
    ASSERT_TRUE(serial.connectToPedal()) << alerts.join("\n").toStdString();
    EXPECT_EQ(serial.portName(), pedalPath);
    EXPECT_EQ(alerts, QStringList({"Success!|Pedal Connected"})) << "a port without RTS still connects";
    QElapsedTimer timer;
    timer.start();
    EXPECT_EQ(pty.read(3, 5000), QByteArray("]0;"));
    EXPECT_GE(timer.elapsed(), 900);

    ASSERT_TRUE(link.startLoad(PedalLink::Load::Setlist));
    EXPECT_EQ(pty.read(3, 5000), QByteArray("]6;"));
    const QByteArray reply = ("]3\r\nSetlist]003001" + repeat("255", 126) + "\r\n;\r\n").toUtf8();
    for (qsizetype at = 0; at < reply.size(); at += 7)
        ASSERT_TRUE(pty.write(reply.mid(at, 7)));
    spinUntil([&] { return alerts.size() >= 2; }, 5000);
    EXPECT_EQ(alerts.value(1), "Press the REFRESH button|Finished Receiving");
    ASSERT_EQ(store.Setlist.size(), 2u);
    EXPECT_EQ(store.Setlist[0]->Id, 3);
    EXPECT_EQ(store.Setlist[1]->Id, 1);

    SessionWriter writer;
    writer.selectPage(SessionKeys::Page::Global);
    const QByteArray expected =
        "\r\n]3;" + writer.write(store, SessionWriter::Form::Pedal).replace(' ', '_').toUtf8() + ";";
    QSignalSpy ended(&link, &PedalLink::transferEnded);
    ASSERT_TRUE(link.startSend(SessionKeys::Page::Global));
    EXPECT_EQ(pty.read(int(expected.size()), 5000), expected);
    spinUntil([&] { return !ended.isEmpty(); }, 5000);
    EXPECT_FALSE(link.busy());
    for (const QString &l : diagnostics.lines)
        EXPECT_FALSE(l.contains("encountered error")) << l.toStdString();
    diagnostics.lines.clear();

    EXPECT_EQ(log[PedalLogEntry::Kind::Sent], QStringList({"]0;", "]6;", "\\r\\n", "]3;", ";"}));
    EXPECT_EQ(log[PedalLogEntry::Kind::Received].size(), 3); // "]3", the setlist abbreviated, ";"
    EXPECT_EQ(log[PedalLogEntry::Kind::Upload].size(), 1);
    EXPECT_EQ(log[PedalLogEntry::Kind::Port].size(), 1); // opened
    EXPECT_EQ(log[PedalLogEntry::Kind::Transfer].size(), 4);

    qunsetenv("PEDAL_EXTRA_PORTS");
}
