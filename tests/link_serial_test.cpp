#include "QtPrinters.h"
#include "FlashTool.h"
#include "Snapshot.h"
#include "LinkRig.h"
#include "ScopedEnvironment.h"

#include "link/FirmwareUpdater.h"
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

// A new device that sorts first in the system's listing still comes last; removed ports leave
// the list, a returning one keeps its place; the extra patterns add what matches them.
TEST(PortLister, KeepsTheOrderOfFirstSightingAndAddsTheExtraPatterns)
{
    QStringList system;
    PortLister lister([&] { return system; });
    TempFiles dir;
    const QString extra = dir.path("pedal-*") + ":" + dir.path("none*") + "::";
    dir.write("pedal-a", {});
    QString transcript;
    for (const auto &[present, patterns] : std::initializer_list<std::pair<QStringList, QString>>{
             {{"/dev/ttyS1", "/dev/ttyS0"}, ""},
             {{"/dev/ttyACM0", "/dev/ttyS0", "/dev/ttyS1"}, ""},
             {{"/dev/ttyACM0", "/dev/ttyS1"}, ""},
             {{"/dev/ttyS0", "/dev/ttyACM0", "/dev/ttyS1", "/dev/ttyS1"}, ""},
             {{"/dev/ttyS0"}, extra},
             {{"/dev/ttyS0"}, ""}}) {
        system = present;
        const ScopedEnvironment extra("PEDAL_EXTRA_PORTS", patterns.toLocal8Bit());
        transcript += QStringLiteral("system %1, extra \"%2\": listed %3\n")
                          .arg(present.join(' '), patterns, lister.paths().join(' '));
    }
    EXPECT_TRUE(Snapshot::matches("transcripts/link-port-list.txt", transcript.replace(dir.dir.path(), "{temp}")));
}

// Connect opens the first port beyond those of start-up and greets a second later; the
// alerts of a connect, a command without a pedal, a busy link and a port that will not open.
TEST(Connect, OpensTheFirstNewPortOrSaysWhyNot)
{
    const std::tuple<const char *, QStringList, const char *> rows[] = {
        // the ports after start-up ({"/dev/ttyS5", "/dev/ttyS9"}); why opening fails
        {"a new port", {"/dev/ttyACM7", "/dev/ttyS5", "/dev/ttyS9"}, ""},
        {"none beyond those at start-up", {"/dev/ttyS9", "/dev/ttyS5"}, ""},
        {"a port that cannot be opened", {"/dev/ttyS5", "/dev/ttyS9", "/dev/ttyACM0"}, "Permission denied"},
    };
    QString transcript;
    for (const auto &[what, later, failOpen] : rows) {
        SCOPED_TRACE(what);
        LinkRig rig;
        rig.systemPorts = {"/dev/ttyS5", "/dev/ttyS9"};
        rig.serial->recordStartupPorts();
        rig.systemPorts = later;
        rig.port->failOpenWith = QString::fromLatin1(failOpen);
        QObject::connect(rig.serial.get(), &SerialHandler::portNameChanged,
                         [&](const QString &n) { rig.note("NAME " + n); });
        const bool opened = rig.serial->connectToPedal();
        EXPECT_EQ(rig.serial->isConnected(), opened);
        EXPECT_EQ(rig.serial->portHeld(), opened);
        for (const auto &open : rig.port->opens)
            rig.note(QStringLiteral("asked to open %1 at %2 baud, RTS %3")
                         .arg(open.path)
                         .arg(open.settings.baudRate)
                         .arg(open.settings.raiseRts));
        rig.clock.advance(999);
        rig.note(QStringLiteral("connected: %1, name %2").arg(opened).arg(rig.serial->portName()));
        rig.clock.advance(10000);
        if (opened) {
            // Connecting twice within the second greets only the port held then, once; text goes
            // out as UTF-8 in one write; the port is closed at the end.
            EXPECT_TRUE(rig.serial->connectToPedal());
            rig.clock.advance(500);
            EXPECT_TRUE(rig.serial->connectToPedal());
            rig.clock.advance(1000);
            EXPECT_TRUE(rig.serial->sendText(QStringLiteral("]1;caf\u00e9")));
            EXPECT_EQ(rig.port->writes, QList<QByteArray>({"]0;", "]0;", "]1;caf\xc3\xa9"}));
            rig.serial->closeAtExit();
            EXPECT_FALSE(rig.port->isOpen());
        }
        transcript += rig.row(what);
    }
    LinkRig rig;
    rig.serial->recordStartupPorts();
    rig.serial->connectToPedal();
    rig.link->startLoad(PedalLink::Load::All);
    rig.systemPorts.append("/dev/ttyACM0");
    rig.serial->connectToPedal();
    rig.link->startLoad(PedalLink::Load::Global);
    rig.link->startLoad(PedalLink::Load::Global);
    rig.reply();
    rig.port->failOpenWith = "Permission denied";
    rig.serial->connectToPedal();
    transcript += rig.row("connect, load, connect, load twice, connect to a port that will not open");
    // A send in the second before the greeting would carry the greeting inside its upload.
    LinkRig early;
    early.serial->recordStartupPorts();
    early.systemPorts.append("/dev/ttyACM0");
    early.serial->connectToPedal();
    EXPECT_FALSE(early.link->startSend(SessionKeys::Page::Global));
    early.clock.advance(SerialHandler::GreetingDelayMs);
    EXPECT_TRUE(early.link->startSend(SessionKeys::Page::Global));
    early.clock.runAll();
    transcript += early.row("connect, send at once, send after the greeting");
    EXPECT_TRUE(Snapshot::matches("transcripts/link-connect.txt", transcript));
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

    QString transcript = "== the device's facts ==\n";
    const std::tuple<const char *, int, const char *> facts[] = {{"EPERM", EPERM, "uucp"},
                                                                 {"EACCES", EACCES, "root"},
                                                                 {"EACCES", EACCES, ""},
                                                                 {"ENOENT", ENOENT, ""},
                                                                 {"0", 0, "dialout"}};
    for (const auto &[name, error, group] : facts)
        transcript += QStringLiteral("%1, group %2: %3\n")
                          .arg(name, group, PortAccess::openFailureText("/dev/ttyACM0", "No good", {error, group}));
    TempFiles dir;
    const QString locked = dir.write("ttyACM9", {});
    EXPECT_EQ(PortAccess::inspect(locked).group, QFileInfo(locked).group());

    // A port is the path given, from the current folder when it is there; only a bare name
    // that is not here is looked for under /dev. What is there and no device is refused.
    const QString before = QDir::currentPath();
    ASSERT_TRUE(QDir::setCurrent(dir.dir.path()));
    ASSERT_TRUE(QFile::link("ttyACM9", "mypedal"));
    transcript += "== the path given ==\n";
    for (const char *given : {"mypedal", "ttyACM9", "ttyACM4", "sub/ttyACM4", "/dev/ttyS0", "/dev/null"}) {
        SCOPED_TRACE(given);
        const QString device = PortAccess::devicePath(given);
        const bool file = QFileInfo(device).isFile();
        const QString failure = PortAccess::describeOpenFailure(given, "No good");
        QString error;
        if (file) {
            EXPECT_FALSE(transport.open(given, {}, error)) << "a plain file is no port";
        }
        transcript += QStringLiteral("%1: %2, %3\n")
                          .arg(given, device, PortAccess::isSerialDevice(device) ? "a device" : failure + "; " + error)
                          .replace(dir.dir.path(), "{temp}");
    }
    QDir::setCurrent(before);
    EXPECT_TRUE(Snapshot::matches("transcripts/link-port-access.txt", transcript));
}

TEST(PedalLogTest, KeepsTheNewestLines)
{
    PedalLog ring;
    for (int i = 0; i < PedalLog::Limit + 5; ++i)
        ring.append({QDateTime::currentDateTime(), PedalLogEntry::Kind::Sent, QString::number(i)});
    EXPECT_EQ(ring.size(), PedalLog::Limit);
    EXPECT_EQ(ring.entries().front().text, "5");
    EXPECT_EQ(ring.text().count(QLatin1Char('\n')), PedalLog::Limit);
    // An alert is logged on one line, control characters escaped, cut after 300 characters.
    EXPECT_EQ(PedalLogEntry::alert("Too long", QString(300, 'x')).text,
              "Too long: " + QString(290, 'x') + "… (310 characters)");
    EXPECT_EQ(PedalLogEntry::alert(QString(), "a\r\nb\\\x7f").text, "a\\r\\nb\\\\\\x7f");
}

namespace {

// A pedal on /dev/cu.usbmodem1411 and a resources folder (a blank in its name) with the
// stand-in tool; PATH holds nothing else.
struct FirmwareRig : LinkRig
{
    TempFiles temp;
    QString resources = temp.path("pedal resources"), tool = resources + "/bossac";
    ScopedEnvironment resourcesDir{"PEDAL_RESOURCES_DIR", resources.toLocal8Bit()};
    ScopedEnvironment path{"PATH", temp.dir.path().toLocal8Bit()};
    FirmwareUpdater updater{*serial, clock};
    QStringList afterTouch; // the system's ports once the board restarted

    FirmwareRig()
    {
        QDir().mkpath(resources);
        writeFlashTool(tool);
        port->onOpen = [this](const QString &, const SerialPortTransport::Settings &s) {
            if (s.baudRate == 1200 && !afterTouch.isEmpty())
                systemPorts = afterTouch;
        };
    }

    QStringList toolArguments() const { return readFile(resources + "/args.txt").split('\n', Qt::SkipEmptyParts); }
};

} // namespace

// An image is checked before anything is touched: it must start with the vector table of an
// Arm Cortex-M program (a stack pointer in SRAM, an odd reset address below it). The tool's
// port argument, the boot loader's port and the verdicts on a run the runs below do not show.
TEST(FirmwareUpdate, ImagesPortsAndVerdicts)
{
    TempFiles temp;
    const auto hex = [](const char *bytes) { return QByteArray::fromHex(bytes); }; // stack pointer, reset address
    const QByteArray images[] = {
        firmwareImage(),
        hex("00000020ffffff1f"),
        hex("ffffff3f01000000"),
        "-", // none
        "",
        QByteArray(FirmwareUpdater::MaxImageBytes + 1, 'x'),
        hex("00800020012100"),
        hex("fcffff1f01210000"),
        hex("0000004001210000"),
        hex("0080002000210000"),
        hex("0080002001000020"),
    };
    QString transcript = "== images ==\n";
    int n = 0;
    for (const QByteArray &image : images) {
        const QString path = image == "-" ? temp.path("none.bin") : temp.write(QString::number(++n) + ".bin", image);
        FirmwareUpdater::ImageInfo info;
        const QString refusal = FirmwareUpdater::checkImage(path, &info);
        transcript += QStringLiteral("%1: %2, size %3\n")
                          .arg(image == "-" ? "no file" : QString::number(image.size()) + " bytes")
                          .arg(refusal.isEmpty() ? "accepted" : refusal)
                          .arg(info.size)
                          .replace(temp.dir.path(), "{temp}");
    }
    transcript += "== the tool's port, the boot loader's port, verdicts ==\n";
    for (const char *device : {"/dev/ttyACM0", "/dev/", "/dev"})
        transcript += QStringLiteral("%1: --port=%2\n").arg(device, FirmwareUpdater::toolPortArgument(device));
    const QStringList before{"A", "B", "/dev/cu.usbmodem1411"};
    transcript += "no port changed: " + FirmwareUpdater::bootLoaderPort("P", before, before) + '\n';
    transcript += "the last change wins: " + FirmwareUpdater::bootLoaderPort("P", {"A", "B"}, {"X", "Y", "Z"}) + '\n';
    transcript += FirmwareUpdater::verdict("bossac", "Write 64 bytes to flash (1 pages)\n", false, true, 0) + '\n';
    transcript += FirmwareUpdater::verdict("bossac", "No device found on ttyACM0\n", false, false, 0) + '\n';
    EXPECT_TRUE(Snapshot::matches("transcripts/link-firmware-images.txt", transcript));
}

// The update touches the port at 1200 baud, waits and runs the tool on the boot loader's
// port; what is wrong with the tool, the image or the port is found before any touch. The
// runs share a clock: the time-out of an earlier run stops no later one.
TEST(FirmwareUpdate, RunsTheToolOnTheBootLoaderPort)
{
    const QStringList gone{"/dev/ttyS0", "/dev/ttyS1"}, added = gone + QStringList{"/dev/cu.usbmodem1421"};
    // The image "hang" or "bad" (see writeFlashTool); "touch": the touch fails.
    const char *rows[] = {"a new port", "the port gone for good", "touch", "bad", "no tool", "no image", "no pedal",
                          "hang"};
    FirmwareRig rig;
    QString transcript;
    for (const QString mode : rows) {
        SCOPED_TRACE(mode.toStdString());
        rig.systemPorts = gone;
        if (mode != "no pedal")
            rig.connectPedal("/dev/cu.usbmodem1411");
        else
            rig.serial->forgetPort();
        rig.afterTouch = mode == "the port gone for good" ? gone : added;
        const QString image = rig.resources + '/' + (mode == "hang" || mode == "bad" ? mode : "Kestil_V2") + ".bin";
        for (const QString &file : {rig.resources + "/args.txt", image})
            QFile::remove(file);
        if (mode != "no image")
            writeFile(image, firmwareImage());
        rig.port->failOpenWith = mode == "touch" ? "no such device" : "";
        QSignalSpy finished(&rig.updater, &FirmwareUpdater::finished);
        QFile::rename(rig.tool, mode != "no tool" ? rig.tool : rig.tool + ".off");
        const QString problem = rig.updater.start(image);
        QFile::rename(rig.tool + ".off", rig.tool);
        rig.note("start: " + (problem.isEmpty() ? "started" : problem));
        const auto state = [&] {
            const auto &open = rig.port->opens.last();
            rig.note(QStringLiteral("running %1, port open %2, busy %3, name %4, %5 opens (last %6 at %7), %8 writes")
                         .arg(rig.updater.running())
                         .arg(rig.port->isOpen())
                         .arg(rig.link->refuseIfBusy())
                         .arg(rig.serial->portName())
                         .arg(rig.port->opens.size())
                         .arg(open.path)
                         .arg(open.settings.baudRate)
                         .arg(rig.port->writes.size()));
        };
        if (problem.isEmpty()) {
            rig.note("again: " + rig.updater.start(image));
            // The port is the update's until it ends.
            rig.port->failOpenWith.clear();
            rig.note(
                QStringLiteral("ready %1, connects %2").arg(rig.serial->ready()).arg(rig.serial->connectToPedal()));
            state();
            rig.clock.advance(FirmwareUpdater::BootLoaderWaitMs - 1);
            QCoreApplication::processEvents();
            EXPECT_TRUE(rig.toolArguments().isEmpty()) << "the tool runs only after the wait";
            rig.clock.advance(1);
            if (mode == "hang") {
                // The lines come as the tool prints them, while it still runs.
                for (int i = 0; i < 2000 && !rig.trace.last().endsWith("(92 pages)"); ++i)
                    finished.wait(10);
                rig.clock.advance(FirmwareUpdater::ToolTimeoutMs - 1); // the first run's time-out falls due
                EXPECT_FALSE(finished.wait(300)) << "stopped by an earlier run's time-out";
                rig.clock.advance(1);
            }
            ASSERT_TRUE(!finished.isEmpty() || finished.wait(20000)) << "the update ends within 20 s";
            rig.note(QStringLiteral("FINISHED %1: %2").arg(finished[0][0].toBool()).arg(finished[0][1].toString()));
            rig.note("arguments: " + rig.toolArguments().join(' '));
        } else
            rig.clock.advance(FirmwareUpdater::BootLoaderWaitMs);
        EXPECT_EQ(finished.size(), problem.isEmpty() ? 1 : 0) << "an update ends once, a refused one never";
        state();
        transcript += rig.row(mode).replace(rig.temp.dir.path(), "{temp}");
    }
    EXPECT_TRUE(Snapshot::matches("transcripts/link-firmware-runs.txt", transcript));
}
