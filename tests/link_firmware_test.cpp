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
// stand-in tool and an image, or without; PATH holds nothing else.
struct FirmwareRig : LinkRig
{
    QTemporaryDir temp;
    QString resources = temp.filePath("pedal resources");
    QString image = resources + "/Kestil_V2.bin";
    QByteArray oldPath = qgetenv("PATH");
    FirmwareUpdater updater{*serial, clock};
    QStringList afterTouch; // the system's ports once the board restarted

    explicit FirmwareRig(bool tool = true, const QByteArray &imageBytes = QByteArray(64, '\x5a'))
    {
        QDir().mkpath(resources);
        qputenv("PEDAL_RESOURCES_DIR", resources.toLocal8Bit());
        qputenv("PATH", temp.path().toLocal8Bit());
        QFile f(resources + "/bossac");
        if (tool && f.open(QIODevice::WriteOnly)) {
            f.write(StandIn);
            f.close();
            f.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        }
        QFile i(image);
        if (imageBytes != "-" && i.open(QIODevice::WriteOnly))
            i.write(imageBytes);
        plugIn();
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
    void plugIn()
    {
        systemPorts = {"/dev/ttyS0", "/dev/ttyS1"};
        connectPedal("/dev/cu.usbmodem1411");
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
    EXPECT_EQ(FirmwareUpdater::toolPortArgument("/dev/cu.usbmodem1411"), "tty.usbmodem1411");
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
// afterwards, whatever the outcome; the link layer raises no alert. The runs share a clock.
TEST(FirmwareUpdate, RunsTheToolOnTheBootLoaderPort)
{
    const QStringList gone{"/dev/ttyS0", "/dev/ttyS1"}, added = gone + QStringList{"/dev/cu.usbmodem1421"};
    const struct
    {
        const char *what;
        QStringList afterTouch;
        bool hang, success;
        QStringList toolRun; // the tool's arguments
    } rows[] = {
        {"a new port",
         added,
         false,
         true,
         {"--port=tty.usbmodem1421", "-U", "true", "-e", "-w", "-v", "-b", "%1", "-R"}},
        {"the port gone for good", gone, false, false, {}},
        {"a tool that never ends", added, true, false, {"--port=tty.usbmodem1421"}},
    };
    FirmwareRig rig;
    for (const auto &row : rows) {
        SCOPED_TRACE(row.what);
        rig.plugIn();
        rig.afterTouch = row.afterTouch;
        QFile::remove(rig.resources + "/args.txt");
        if (row.hang)
            QFile(rig.resources + "/hang").open(QIODevice::WriteOnly);
        QSignalSpy finished(&rig.updater, &FirmwareUpdater::finished);
        const qsizetype opens = rig.port->opens.size();
        EXPECT_EQ(rig.updater.start(rig.image), QString());
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
        EXPECT_EQ(finished[0][0].toBool(), row.success);
        QStringList expected = row.toolRun;
        expected.replaceInStrings("%1", rig.image);
        EXPECT_EQ(rig.toolArguments().mid(0, expected.isEmpty() ? -1 : expected.size()), expected);
        EXPECT_EQ(rig.serial->portName(), SerialHandler::NotConnectedName);
        EXPECT_FALSE(rig.updater.running());
        EXPECT_TRUE(rig.alerts.isEmpty());
    }
}

// Whatever is wrong with the tool or the image is found before the pedal is touched.
TEST(FirmwareUpdate, NothingIsTouchedWhenTheToolOrImageIsWrong)
{
    const struct
    {
        bool tool;
        QByteArray image; // "-" for none
    } rows[] = {{false, QByteArray(64, 'x')}, {true, "-"}, {true, QByteArray(FirmwareUpdater::MaxImageBytes + 1, 'x')}};
    for (const auto &row : rows) {
        SCOPED_TRACE(&row - rows);
        FirmwareRig rig(row.tool, row.image);
        EXPECT_FALSE(rig.updater.start(rig.image).isEmpty());
        rig.clock.runAll();
        EXPECT_EQ(rig.port->opens.size(), 1) << "no touch";
        EXPECT_TRUE(rig.port->isOpen()) << "the pedal stays connected";
        EXPECT_FALSE(rig.updater.running());
    }
    LinkRig rig; // not connected
    FirmwareUpdater updater(*rig.serial, rig.clock);
    EXPECT_FALSE(updater.start(QStringLiteral("/nonexistent.bin")).isEmpty());
    EXPECT_TRUE(rig.port->opens.isEmpty());
}
