#include "link_test_util.h"

#include "link/FirmwareUpdater.h"

#include <QDir>
#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

// A stand-in flashing tool: writes its arguments, one per line, beside itself and prints
// what the real tool prints on success.
const char *const StandIn = R"SH(#!/bin/sh
dir="${0%/*}"
for a in "$@"; do printf '%s\n' "$a"; done > "$dir/args.txt"
echo "Erase flash"
echo "Write 23456 bytes to flash (92 pages)"
echo "Verify successful"
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
        systemPorts = {"/dev/ttyS0", "/dev/ttyS1"};
        connectPedal("/dev/cu.usbmodem1411");
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
    EXPECT_EQ(FirmwareUpdater::toolPortArgument("/dev/cu.usbmodem1411"), "tty.usbmodem1411");
    EXPECT_EQ(FirmwareUpdater::toolPortArgument("/dev/ttyACM0"), "ttyACM0");
    EXPECT_EQ(FirmwareUpdater::toolPortArgument("/dev"), "**STRING TOO SHORT");
    EXPECT_EQ(FirmwareUpdater::dropFirst("abcde", 5), "");
    const QStringList before{"A", "B", "/dev/cu.usbmodem1411"};
    EXPECT_EQ(FirmwareUpdater::bootLoaderPort("/dev/cu.usbmodem1411", before, before), "/dev/cu.usbmodem1411");
    EXPECT_EQ(FirmwareUpdater::bootLoaderPort("/dev/cu.usbmodem1411", before, {"A", "B", "/dev/cu.usbmodem1421"}),
              "/dev/cu.usbmodem1421");
    EXPECT_EQ(FirmwareUpdater::bootLoaderPort("P", {"A", "B"}, {"X", "Y", "Z"}), "Y") << "the last wins";
}

// The update closes the pedal's port, touches it at 1200 baud, waits four seconds and runs
// the tool on the boot loader's port. The pedal is not connected afterwards, whatever the
// outcome; the link layer asks and shows nothing.
TEST(FirmwareUpdate, RunsTheToolOnTheBootLoaderPort)
{
    const struct
    {
        const char *what;
        QStringList afterTouch;
        bool success;
        QString details;     // a part of the outcome's text
        QStringList toolRun; // the tool's arguments
    } rows[] = {
        {"a new port",
         {"/dev/ttyS0", "/dev/ttyS1", "/dev/cu.usbmodem1421"},
         true,
         "bytes to flash",
         {"--port=tty.usbmodem1421", "-U", "true", "-e", "-w", "-v", "-b", "%1", "-R"}},
        {"the port gone for good", {"/dev/ttyS0", "/dev/ttyS1"}, false, "went away", {}},
    };
    for (const auto &row : rows) {
        SCOPED_TRACE(row.what);
        FirmwareRig rig;
        rig.afterTouch = row.afterTouch;
        QSignalSpy finished(&rig.updater, &FirmwareUpdater::finished);
        EXPECT_EQ(rig.updater.start(rig.image), QString());
        EXPECT_FALSE(rig.port->isOpen());
        ASSERT_EQ(rig.port->opens.size(), 2);
        EXPECT_EQ(rig.port->opens[1].path, "/dev/cu.usbmodem1411");
        EXPECT_EQ(rig.port->opens[1].settings.baudRate, 1200);
        EXPECT_TRUE(rig.port->writes.isEmpty());
        EXPECT_FALSE(rig.updater.start(rig.image).isEmpty()) << "one update at a time";
        rig.clock.advance(FirmwareUpdater::BootLoaderWaitMs - 1);
        QCoreApplication::processEvents();
        EXPECT_TRUE(rig.toolArguments().isEmpty()) << "the tool runs only after the wait";
        rig.clock.advance(1);
        ASSERT_TRUE(!finished.isEmpty() || finished.wait(20000));
        EXPECT_EQ(finished[0][0].toBool(), row.success);
        EXPECT_TRUE(finished[0][1].toString().contains(row.details)) << qPrintable(finished[0][1].toString());
        QStringList expected = row.toolRun;
        expected.replaceInStrings("%1", rig.image);
        EXPECT_EQ(rig.toolArguments().mid(0, expected.isEmpty() ? -1 : expected.size()), expected);
        EXPECT_EQ(rig.serial->portName(), SerialHandler::NotConnectedName);
        EXPECT_FALSE(rig.updater.running());
        EXPECT_TRUE(rig.alerts.isEmpty());
        if (row.success) {
            EXPECT_TRUE(rig.diagnostics.contains("bossacPath: " + rig.resources + "/bossac"));
        }
    }
}

// Whatever is wrong with the tool or the image is found before the pedal is touched.
TEST(FirmwareUpdate, NothingIsTouchedWhenTheToolOrImageIsWrong)
{
    const struct
    {
        const char *what;
        bool tool;
        QByteArray image; // "-" for none
        const char *named;
    } rows[] = {
        {"no tool", false, QByteArray(64, 'x'), "\"bossac\""},
        {"no image", true, "-", "does not exist"},
        {"an image too large", true, QByteArray(FirmwareUpdater::MaxImageBytes + 1, 'x'), "at most"},
    };
    for (const auto &row : rows) {
        SCOPED_TRACE(row.what);
        FirmwareRig rig(row.tool, row.image);
        const QString problem = rig.updater.start(rig.image);
        EXPECT_TRUE(problem.contains(QLatin1String(row.named))) << qPrintable(problem);
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
