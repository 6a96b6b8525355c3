// The serial path end to end: the real QSerialPort transport and timers on a
// pseudo-terminal, with the test playing the pedal on the master side.

#include "link_test_util.h"

#include "link/QtScheduler.h"
#include "link/QtSerialTransport.h"
#include "support/PtyPair.h"

#include <QElapsedTimer>
#include <QSignalSpy>

#include <gtest/gtest.h>

// Connect to a port that appeared after start-up, the greeting a second later, a load
// answered in awkward chunks, a paced send, and what the pedal log says of it. (The
// virtual pedal's tests take the same path further.)
TEST(SerialOverPty, ConnectLoadAndSend)
{
    PtyPair pty;
    ASSERT_TRUE(pty.open()) << pty.error().toStdString();
    CapturedLines diagnostics;
    DataHandler store;
    QtScheduler scheduler;
    QStringList ports;
    SerialHandler serial(scheduler, std::make_unique<QtSerialTransport>(),
                         std::make_unique<PortLister>([&ports] { return ports; }));
    PedalLink link(serial, store, scheduler);
    QSignalSpy alerts(&link, &PedalLink::alertRaised);
    // The pedal log: each line short, upload pieces by their size, never their text.
    QMap<PedalLogEntry::Kind, QStringList> log;
    QObject::connect(&serial, &SerialHandler::logged, [&](const PedalLogEntry &e) {
        log[e.kind].append(e.text);
        EXPECT_FALSE(e.format().size() > 400 || e.format().contains('\n')) << e.format().toStdString();
    });
    serial.recordStartupPorts();
    ports.append(pty.slavePath());
    ASSERT_TRUE(serial.connectToPedal()) << "a port without RTS still connects";
    QElapsedTimer timer;
    timer.start();
    EXPECT_EQ(pty.read(3, 5000), QByteArray("]0;"));
    EXPECT_GE(timer.elapsed(), 900);

    ASSERT_TRUE(link.startLoad(PedalLink::Load::Setlist));
    EXPECT_EQ(pty.read(3, 5000), QByteArray("]6;"));
    const QByteArray reply = ("]3\r\nSetlist]003001" + repeat("255", 126) + "\r\n;\r\n").toUtf8();
    for (qsizetype at = 0; at < reply.size(); at += 7)
        ASSERT_TRUE(pty.write(reply.mid(at, 7)));
    ASSERT_TRUE(!alerts.isEmpty() || alerts.wait(5000)) << "the finish alert";
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
    EXPECT_TRUE(!ended.isEmpty() || ended.wait(5000));
    EXPECT_EQ(log[PedalLogEntry::Kind::Sent], QStringList({"]0;", "]6;", "\\r\\n", "]3;", ";"}));
    EXPECT_EQ(log[PedalLogEntry::Kind::Received].size(), 3); // "]3", the setlist abbreviated, ";"
    EXPECT_EQ(log[PedalLogEntry::Kind::Upload].size(), 1);
    EXPECT_EQ(log[PedalLogEntry::Kind::Port].size(), 1); // opened
    EXPECT_EQ(log[PedalLogEntry::Kind::Transfer].size(), 4);
}
