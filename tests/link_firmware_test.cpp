#include "link_test_util.h"

#include "link/FirmwareUpdater.h"

#include <QDir>
#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

// A stand-in flashing tool: writes its arguments beside itself, then never ends while a
// file "hang" lies there, else prints what the real tool prints on success.
const char *const StandIn = R"SH(#!/bin/sh
dir="${0%/*}"
for a in "$@"; do printf '%s\n' "$a"; done > "$dir/args.txt"
[ -e "$dir/hang" ] && exec /bin/sleep 600
echo "Write 23456 bytes to flash (92 pages)"
)SH";

// A pedal on /dev/cu.usbmodem1411 and a resources folder (a blank in its name) with the
// stand-in tool; PATH holds nothing else.
struct FirmwareRig : LinkRig
{
    QTemporaryDir temp;
    QString resources = temp.filePath("pedal resources"), tool = resources + "/bossac";
    QString image = resources + "/Kestil_V2.bin";
    QByteArray oldPath = qgetenv("PATH");
    FirmwareUpdater updater{*serial, clock};
    QStringList afterTouch; // the system's ports once the board restarted

    FirmwareRig()
    {
        QDir().mkpath(resources);
        qputenv("PEDAL_RESOURCES_DIR", resources.toLocal8Bit());
        qputenv("PATH", temp.path().toLocal8Bit());
        QFile f(tool);
        if (f.open(QIODevice::WriteOnly)) {
            f.write(StandIn);
            f.close();
            f.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        }
        port->onOpen = [this](const QString &, const SerialPortTransport::Settings &s) {
            if (s.baudRate == 1200 && !afterTouch.isEmpty())
                systemPorts = afterTouch;
        };
    }
    ~FirmwareRig()
    {
        qunsetenv("PEDAL_RESOURCES_DIR");
        qputenv("PATH", oldPath);
    }

    QStringList toolArguments() const
    {
        QFile f(resources + "/args.txt");
        return f.open(QIODevice::ReadOnly) ? QString::fromUtf8(f.readAll()).split('\n', Qt::SkipEmptyParts)
                                           : QStringList();
    }
};

} // namespace

TEST(FirmwareUpdate, PortArgumentRules)
{
    EXPECT_EQ(FirmwareUpdater::toolPortArgument("/dev/ttyACM0"), "ttyACM0");
    EXPECT_EQ(FirmwareUpdater::toolPortArgument("/dev"), "**STRING TOO SHORT");
    EXPECT_EQ(FirmwareUpdater::dropFirst("abcde", 5), "");
    const QStringList before{"A", "B", "/dev/cu.usbmodem1411"};
    EXPECT_EQ(FirmwareUpdater::bootLoaderPort("/dev/cu.usbmodem1411", before, before), "/dev/cu.usbmodem1411");
    EXPECT_EQ(FirmwareUpdater::bootLoaderPort("P", {"A", "B"}, {"X", "Y", "Z"}), "Y") << "the last wins";
}

// The update closes the pedal's port, touches it at 1200 baud, waits four seconds and runs
// the tool on the boot loader's port; a tool that never ends is stopped after the time-out,
// and the time-out of an earlier run stops no later one. The pedal is not connected
// afterwards, whatever the outcome; the link layer raises no alert. Whatever is wrong with
// the tool, the image or the port is found before the pedal is touched. The runs share a clock.
TEST(FirmwareUpdate, RunsTheToolOnTheBootLoaderPort)
{
    const QStringList gone{"/dev/ttyS0", "/dev/ttyS1"}, added = gone + QStringList{"/dev/cu.usbmodem1421"};
    const QByteArray fine(64, '\x5a'), tooLarge(FirmwareUpdater::MaxImageBytes + 1, 'x');
    enum { Refused, Failed, Flashed };
    const struct
    {
        const char *what;
        QByteArray image; // "-": none
        bool tool, pedal, hang;
        QStringList afterTouch;
        int outcome;
        QStringList toolRun; // the tool's arguments
    } rows[] = {
        {"a new port",
         fine,
         true,
         true,
         false,
         added,
         Flashed,
         {"--port=tty.usbmodem1421", "-U", "true", "-e", "-w", "-v", "-b", "%1", "-R"}},
        {"the port gone for good", fine, true, true, false, gone, Failed, {}},
        {"no tool", fine, false, true, false, added, Refused, {}},
        {"no image", "-", true, true, false, added, Refused, {}},
        {"an image too large", tooLarge, true, true, false, added, Refused, {}},
        {"no pedal", fine, true, false, false, added, Refused, {}},
        {"a tool that never ends", fine, true, true, true, added, Failed, {"--port=tty.usbmodem1421"}},
    };
    FirmwareRig rig;
    for (const auto &row : rows) {
        SCOPED_TRACE(row.what);
        rig.systemPorts = gone;
        if (row.pedal)
            rig.connectPedal("/dev/cu.usbmodem1411");
        else
            rig.serial->forgetPort();
        rig.afterTouch = row.afterTouch;
        QFile::remove(rig.resources + "/args.txt");
        QFile::remove(rig.image);
        QFile image(rig.image);
        if (row.image != "-" && image.open(QIODevice::WriteOnly))
            image.write(row.image), image.close();
        if (row.hang)
            QFile(rig.resources + "/hang").open(QIODevice::WriteOnly);
        QSignalSpy finished(&rig.updater, &FirmwareUpdater::finished);
        const qsizetype opens = rig.port->opens.size();
        QFile::rename(rig.tool, row.tool ? rig.tool : rig.tool + ".off");
        const QString problem = rig.updater.start(rig.image);
        QFile::rename(rig.tool + ".off", rig.tool);
        EXPECT_EQ(problem.isEmpty(), row.outcome != Refused) << problem.toStdString();
        if (row.outcome == Refused) {
            rig.clock.advance(FirmwareUpdater::BootLoaderWaitMs);
            EXPECT_EQ(rig.port->opens.size(), opens) << "no touch";
            EXPECT_TRUE(rig.port->isOpen()) << "the pedal stays connected";
            EXPECT_TRUE(finished.isEmpty() && !rig.updater.running());
            continue;
        }
        EXPECT_FALSE(rig.port->isOpen());
        ASSERT_EQ(rig.port->opens.size(), opens + 1);
        EXPECT_EQ(rig.port->opens.last().path, "/dev/cu.usbmodem1411");
        EXPECT_EQ(rig.port->opens.last().settings.baudRate, 1200);
        EXPECT_TRUE(rig.port->writes.isEmpty());
        EXPECT_FALSE(rig.updater.start(rig.image).isEmpty()) << "one update at a time";
        rig.clock.advance(FirmwareUpdater::BootLoaderWaitMs - 1);
        QCoreApplication::processEvents();
        EXPECT_TRUE(rig.toolArguments().isEmpty()) << "the tool runs only after the wait";
        rig.clock.advance(1);
        if (row.hang) {
            for (int i = 0; i < 2000 && rig.toolArguments().isEmpty(); ++i)
                finished.wait(10);
            rig.clock.advance(FirmwareUpdater::ToolTimeoutMs - 1); // the first run's time-out falls due
            EXPECT_FALSE(finished.wait(300)) << "stopped by an earlier run's time-out";
            rig.clock.advance(1);
        }
        ASSERT_TRUE(!finished.isEmpty() || finished.wait(20000));
        EXPECT_EQ(finished[0][0].toBool(), row.outcome == Flashed);
        QStringList expected = row.toolRun;
        expected.replaceInStrings("%1", rig.image);
        EXPECT_EQ(rig.toolArguments().mid(0, expected.isEmpty() ? -1 : expected.size()), expected);
        EXPECT_EQ(rig.serial->portName(), SerialHandler::NotConnectedName);
        EXPECT_FALSE(rig.updater.running());
        EXPECT_TRUE(rig.alerts.isEmpty());
    }
}
