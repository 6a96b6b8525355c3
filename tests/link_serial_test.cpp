#include "TestFiles.h"
#include "link_test_util.h"

#include "link/PedalLog.h"
#include "link/PortAccess.h"
#include "link/QtSerialTransport.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSerialPort>
#include <QSignalSpy>

#include <gtest/gtest.h>

#include <cerrno>

TEST(PortLister, KeepsTheOrderOfFirstSightingAndAddsTheExtraPatterns)
{
    QStringList system{"/dev/ttyS1", "/dev/ttyS0"};
    PortLister lister([&] { return system; });
    const std::pair<QStringList, QStringList> steps[] = {
        {{"/dev/ttyS1", "/dev/ttyS0"}, {"/dev/ttyS1", "/dev/ttyS0"}},
        // A new device that sorts first in the system's listing still comes last.
        {{"/dev/ttyACM0", "/dev/ttyS0", "/dev/ttyS1"}, {"/dev/ttyS1", "/dev/ttyS0", "/dev/ttyACM0"}},
        // Removed ports leave the list; a returning one keeps its place.
        {{"/dev/ttyACM0", "/dev/ttyS1"}, {"/dev/ttyS1", "/dev/ttyACM0"}},
        {{"/dev/ttyS0", "/dev/ttyACM0", "/dev/ttyS1", "/dev/ttyS1"}, {"/dev/ttyS1", "/dev/ttyS0", "/dev/ttyACM0"}},
    };
    for (const auto &[present, listed] : steps) {
        system = present;
        EXPECT_EQ(lister.paths(), listed);
    }
    TempFiles dir;
    const QString a = dir.write("pedal-a", {});
    qputenv("PEDAL_EXTRA_PORTS", (dir.path("pedal-*") + ":" + dir.path("none*") + "::").toLocal8Bit());
    system = {"/dev/ttyS0"};
    EXPECT_EQ(lister.paths(), QStringList({"/dev/ttyS0", a}));
    qunsetenv("PEDAL_EXTRA_PORTS");
    EXPECT_EQ(lister.paths(), QStringList({"/dev/ttyS0"}));
}

// Connect opens the first port beyond those of start-up and greets a second later.
TEST(Connect, OpensTheFirstNewPortOrSaysWhyNot)
{
    const struct
    {
        const char *what;
        QStringList later; // the ports after start-up ({"/dev/ttyS5", "/dev/ttyS9"})
        const char *failOpen;
        const char *opened; // "" when the pedal stays not connected
    } rows[] = {
        {"a new port", {"/dev/ttyACM7", "/dev/ttyS5", "/dev/ttyS9"}, "", "/dev/ttyACM7"},
        {"none beyond those at start-up", {"/dev/ttyS9", "/dev/ttyS5"}, "", ""},
        {"a port that cannot be opened", {"/dev/ttyS5", "/dev/ttyS9", "/dev/ttyACM0"}, "Permission denied", ""},
    };
    for (const auto &row : rows) {
        SCOPED_TRACE(row.what);
        LinkRig rig;
        rig.systemPorts = {"/dev/ttyS5", "/dev/ttyS9"};
        rig.serial->recordStartupPorts();
        rig.systemPorts = row.later;
        rig.port->failOpenWith = QString::fromLatin1(row.failOpen);
        QSignalSpy names(rig.serial.get(), &SerialHandler::portNameChanged);
        const bool opened = *row.opened;
        EXPECT_EQ(rig.serial->connectToPedal(), opened);
        EXPECT_EQ(rig.port->opens.size(), opened || *row.failOpen ? 1 : 0);
        EXPECT_EQ(rig.serial->portName(), opened ? QString::fromLatin1(row.opened) : SerialHandler::NotConnectedName);
        EXPECT_EQ(rig.serial->isConnected(), opened);
        EXPECT_EQ(rig.serial->portHeld(), opened);
        EXPECT_EQ(names.size(), opened ? 1 : *row.failOpen ? 2 : 0) << "set to the path, then back";
        EXPECT_EQ(rig.alerts.size(), 1);
        rig.clock.advance(999);
        EXPECT_TRUE(rig.port->writes.isEmpty());
        rig.clock.advance(10000);
        EXPECT_EQ(rig.port->writtenTexts(), opened ? QStringList({"]0;"}) : QStringList());
        if (!opened)
            continue;
        EXPECT_EQ(rig.port->opens[0].settings.baudRate, 9600);
        EXPECT_TRUE(rig.port->opens[0].settings.raiseRts);
        // Connecting twice within the second greets only the port held then, once; text goes
        // out as UTF-8 in one write; the port is closed at the end.
        EXPECT_TRUE(rig.serial->connectToPedal());
        rig.clock.advance(500);
        EXPECT_TRUE(rig.serial->connectToPedal());
        rig.clock.advance(1000);
        EXPECT_TRUE(rig.serial->sendText(QStringLiteral("]1;caf\u00e9")));
        EXPECT_EQ(rig.port->writes.mid(1), QList<QByteArray>({"]0;", "]1;caf\xc3\xa9"}));
        rig.serial->closeAtExit();
        EXPECT_FALSE(rig.port->isOpen());
    }
}

// The alerts of a connect, a command without a pedal, a busy link and a port that will not
// open; a finished load raises none (the caller tells its outcome). The questions are in the
// window's snapshots.
TEST(Alerts, EachAlertReachesItsSignalWithItsText)
{
    LinkRig rig;
    rig.serial->recordStartupPorts();
    rig.serial->connectToPedal();
    rig.link->startLoad(PedalLink::Load::All);
    rig.systemPorts.append("/dev/ttyACM0");
    rig.serial->connectToPedal();
    rig.link->startLoad(PedalLink::Load::Global);
    rig.link->startLoad(PedalLink::Load::Global);
    rig.receive("]3\r\n;\r\n");
    rig.port->failOpenWith = "Permission denied";
    rig.serial->connectToPedal();
    QStringList texts;
    for (const Alert &a : rig.alerts) {
        texts << a.message << a.informative;
        EXPECT_EQ(a.buttons, QStringList{"Ok"});
        EXPECT_EQ(a.kind, a.message == "Success!" ? Alert::Kind::Plain : Alert::Kind::Failure);
    }
    EXPECT_EQ(texts,
              QStringList({"", "Plug your pedal in after starting the app", "Please connect to the pedal first", "",
                           "Success!", "Pedal Connected", "The pedal is busy",
                           "Another transfer is still running.\nTry again when it has finished.",
                           "Could not open the pedal's port",
                           PortAccess::describeOpenFailure("/dev/ttyACM0", "Permission denied")}));
}

// Why a port could not be opened, from the device's facts; an error that means the device
// is gone releases it, no other does.
TEST(PortAccess, ExplainsWhyAPortCouldNotBeOpenedAndReleasesADeviceThatIsGone)
{
    QtSerialTransport transport;
    auto *port = transport.findChild<QSerialPort *>();
    ASSERT_NE(port, nullptr);
    QSignalSpy removed(&transport, &SerialPortTransport::removed);
    using E = QSerialPort::SerialPortError;
    for (const E e :
         {E::ResourceError, E::ReadError, E::WriteError, E::DeviceNotFoundError, E::TimeoutError, E::PermissionError})
        Q_EMIT port->errorOccurred(e);
    EXPECT_EQ(removed.count(), 4);

    const auto text = [](int error, const char *group) {
        return PortAccess::openFailureText("/dev/ttyACM0", "No good", {error, group});
    };
    EXPECT_TRUE(text(EPERM, "uucp").contains("\"sudo usermod -aG uucp $USER\""));
    EXPECT_TRUE(text(EACCES, "root").contains("administrator") && !text(EACCES, "root").contains("usermod"));
    EXPECT_TRUE(text(EACCES, "").contains("administrator"));
    EXPECT_TRUE(text(ENOENT, "").contains("plugged in"));
    EXPECT_EQ(text(0, "dialout"), "/dev/ttyACM0: No good");
    TempFiles dir;
    const QString locked = dir.write("ttyACM9", {});
    EXPECT_EQ(PortAccess::inspect(locked).group, QFileInfo(locked).group());

    // A port is the path given, from the current folder when it is there; only a bare name
    // that is not here is looked for under /dev. What is there and no device is refused.
    const QString before = QDir::currentPath();
    ASSERT_TRUE(QDir::setCurrent(dir.dir.path()));
    ASSERT_TRUE(QFile::link("ttyACM9", "mypedal"));
    const std::pair<const char *, QString> paths[] = {
        {"mypedal", dir.path("mypedal")},         {"ttyACM9", locked},          {"ttyACM4", "/dev/ttyACM4"},
        {"sub/ttyACM4", dir.path("sub/ttyACM4")}, {"/dev/ttyS0", "/dev/ttyS0"}, {"/dev/null", "/dev/null"},
    };
    for (const auto &[given, device] : paths) {
        EXPECT_EQ(PortAccess::devicePath(given), device) << given;
        const bool file = QFileInfo(device).isFile();
        EXPECT_EQ(PortAccess::isSerialDevice(device), !file) << given;
        EXPECT_EQ(PortAccess::describeOpenFailure(given, "No good") == QString(given) + " is not a serial device",
                  file);
        QString error;
        EXPECT_FALSE(file && transport.open(given, {}, error)) << given;
        EXPECT_EQ(error, file ? "not a serial device" : "") << given;
    }
    QDir::setCurrent(before);
}

TEST(PedalLogTest, KeepsTheNewestLines)
{
    PedalLog ring;
    for (int i = 0; i < PedalLog::Limit + 5; ++i)
        ring.append({QDateTime::currentDateTime(), PedalLogEntry::Kind::Sent, QString::number(i)});
    EXPECT_EQ(ring.size(), PedalLog::Limit);
    EXPECT_EQ(ring.entries().front().text, "5");
    EXPECT_EQ(ring.text().count(QLatin1Char('\n')), PedalLog::Limit);
}
