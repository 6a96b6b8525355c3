#include "link_test_util.h"

#include "link/FirmwareUpdater.h"

#include <QDir>
#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

// A stand-in flashing tool: writes its arguments, one per line, beside itself and
// prints what the real tool prints on success, or fails when a file "fail" is there.
const char *const StandIn = R"SH(#!/bin/sh
dir="${0%/*}"
for a in "$@"; do printf '%s\n' "$a"; done > "$dir/args.txt"
if [ -f "$dir/fail" ]; then
  echo "No device found on $1"
  exit 1
fi
echo "Erase flash"
echo "Write 23456 bytes to flash (92 pages)"
echo "Verify successful"
)SH";

struct EnvGuard
{
    QByteArray name, value;
    bool had;
    EnvGuard(const char *n, const QByteArray &v) : name(n), value(qgetenv(n)), had(qEnvironmentVariableIsSet(n))
    {
        qputenv(n, v);
    }
    ~EnvGuard()
    {
        if (had)
            qputenv(name.constData(), value);
        else
            qunsetenv(name.constData());
    }
};

struct FirmwareRig : LinkRig
{
    QTemporaryDir temp;
    QString resources; // a folder with a blank in its name
    std::unique_ptr<EnvGuard> resourcesEnv;
    FirmwareUpdater updater{*serial, clock};
    QStringList afterTouch; // the system's ports once the board restarted

    FirmwareRig(bool tool = true, bool image = true)
    {
        resources = temp.filePath("pedal resources");
        QDir().mkpath(resources);
        resourcesEnv = std::make_unique<EnvGuard>("PEDAL_RESOURCES_DIR", resources.toLocal8Bit());
        if (tool) {
            QFile f(resources + "/bossac");
            f.open(QIODevice::WriteOnly);
            f.write(StandIn);
            f.close();
            f.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        }
        if (image) {
            QFile f(resources + "/Kestil_V2.bin");
            f.open(QIODevice::WriteOnly);
            f.write(QByteArray(64, '\x5a'));
        }
        systemPorts = {"/dev/ttyS0", "/dev/ttyS1"};
        connectPedal("/dev/cu.usbmodem1411");
        port->onOpen = [this](const QString &, const SerialPortTransport::Settings &s) {
            if (s.baudRate == 1200 && !afterTouch.isEmpty())
                systemPorts = afterTouch;
        };
    }

    QStringList toolArguments() const
    {
        QFile f(resources + "/args.txt");
        if (!f.open(QIODevice::ReadOnly))
            return {};
        return QString::fromUtf8(f.readAll()).split('\n', Qt::SkipEmptyParts);
    }

    QString image() const { return resources + "/Kestil_V2.bin"; }

    // Runs the update up to the result; `details` gets the tool's output.
    bool run(QString *details = nullptr)
    {
        QSignalSpy finished(&updater, &FirmwareUpdater::finished);
        if (!updater.start(image()).isEmpty())
            return false;
        clock.advance(FirmwareUpdater::BootLoaderWaitMs);
        if (finished.isEmpty() && !finished.wait(20000))
            return false;
        if (details)
            *details = finished.first().at(1).toString();
        return finished.first().first().toBool();
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

TEST(FirmwareUpdate, RunsTheToolOnTheBootLoaderPortAndReportsSuccess)
{
    FirmwareRig rig;
    rig.afterTouch = {"/dev/ttyS0", "/dev/ttyS1", "/dev/cu.usbmodem1421"};
    QSignalSpy names(rig.serial.get(), &SerialHandler::portNameChanged);
    EXPECT_EQ(rig.updater.start(rig.image()), QString());
    EXPECT_TRUE(rig.dialogs.shown.isEmpty()) << "the link layer asks and shows nothing";

    // The port was closed, then touched at 1200 baud; the tool waits 4 seconds.
    EXPECT_FALSE(rig.port->isOpen());
    ASSERT_EQ(rig.port->opens.size(), 2);
    EXPECT_EQ(rig.port->opens[1].path, "/dev/cu.usbmodem1411");
    EXPECT_EQ(rig.port->opens[1].settings.baudRate, 1200);
    EXPECT_TRUE(rig.port->writes.isEmpty());
    EXPECT_TRUE(rig.updater.running());
    EXPECT_FALSE(rig.updater.start(rig.image()).isEmpty()) << "one update at a time";
    rig.clock.advance(3999);
    QCoreApplication::processEvents();
    EXPECT_TRUE(rig.toolArguments().isEmpty()) << "the tool runs only after the wait";

    QSignalSpy finished(&rig.updater, &FirmwareUpdater::finished);
    rig.clock.advance(1);
    ASSERT_TRUE(finished.wait(20000));
    EXPECT_TRUE(finished.first().first().toBool());
    EXPECT_TRUE(finished.first().at(1).toString().contains("bytes to flash"));
    EXPECT_EQ(rig.toolArguments(),
              QStringList({"--port=tty.usbmodem1421", "-U", "true", "-e", "-w", "-v", "-b",
                           rig.resources + "/Kestil_V2.bin", "-R"}));
    EXPECT_EQ(rig.serial->portName(), "COM333");
    EXPECT_EQ(names.size(), 1);
    EXPECT_FALSE(rig.updater.running());
    EXPECT_TRUE(rig.diagnostics.contains("bossacPath: " + rig.resources + "/bossac"));
    EXPECT_TRUE(rig.diagnostics.contains("binPath: " + rig.resources + "/Kestil_V2.bin"));

    // Not connected afterwards.
    rig.link->sendAll();
    EXPECT_EQ(rig.dialogs.shown.last().message, "Please connect to the pedal first");
}

TEST(FirmwareUpdate, UnchangedPortListsUseThePedalsPort)
{
    FirmwareRig rig;
    EXPECT_TRUE(rig.run());
    EXPECT_EQ(rig.toolArguments().value(0), "--port=tty.usbmodem1411");
}

TEST(FirmwareUpdate, AFailingToolGivesItsOutput)
{
    FirmwareRig rig;
    QFile(rig.resources + "/fail").open(QIODevice::WriteOnly);
    QString details;
    EXPECT_FALSE(rig.run(&details));
    EXPECT_EQ(details, "No device found on --port=tty.usbmodem1411\n");
    EXPECT_EQ(rig.serial->portName(), "COM333");
}

// Whatever is wrong with the tool or the image is found before the pedal is touched.
TEST(FirmwareUpdate, NothingIsTouchedWhenTheToolOrImageIsWrong)
{
    QTemporaryDir emptyPath;
    EnvGuard path("PATH", emptyPath.path().toLocal8Bit());
    const struct
    {
        const char *what;
        bool tool;
        QByteArray image; // "-" for none
        const char *named;
    } rows[] = {
        {"no tool", false, QByteArray(64, 'x'), "\"bossac\""},
        {"no image", true, "-", "does not exist"},
        {"an empty image", true, "", "is empty"},
        {"an image too large", true, QByteArray(FirmwareUpdater::MaxImageBytes + 1, 'x'), "at most"},
    };
    for (const auto &row : rows) {
        SCOPED_TRACE(row.what);
        FirmwareRig rig(row.tool, false);
        if (row.image != "-") {
            QFile f(rig.image());
            ASSERT_TRUE(f.open(QIODevice::WriteOnly));
            f.write(row.image);
        }
        const QString problem = rig.updater.start(rig.image());
        EXPECT_TRUE(problem.contains(QLatin1String(row.named))) << qPrintable(problem);
        rig.clock.runAll();
        EXPECT_EQ(rig.port->opens.size(), 1) << "no touch";
        EXPECT_TRUE(rig.port->isOpen()) << "the pedal stays connected";
        EXPECT_EQ(rig.serial->portName(), "/dev/cu.usbmodem1411");
        EXPECT_FALSE(rig.updater.running());
    }
    // An unreadable image (not when run as root, who reads everything).
    FirmwareRig rig;
    QFile::setPermissions(rig.image(), QFile::WriteOwner);
    QFile probe(rig.image());
    if (!probe.open(QIODevice::ReadOnly)) {
        EXPECT_TRUE(FirmwareUpdater::checkImage(rig.image()).contains("cannot be read"));
    }
}

TEST(FirmwareUpdate, TheToolIsTakenFromPathWhenNotAmongTheResources)
{
    QTemporaryDir bin;
    QFile f(bin.filePath("bossac"));
    f.open(QIODevice::WriteOnly);
    f.write(StandIn);
    f.close();
    f.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    EnvGuard path("PATH", bin.path().toLocal8Bit());
    FirmwareRig rig(false, true);
    EXPECT_EQ(FirmwareUpdater::findTool(), bin.filePath("bossac"));
    EXPECT_TRUE(rig.run());
}

TEST(FirmwareUpdate, NotConnectedAndAVanishedPort)
{
    {
        LinkRig rig;
        FirmwareUpdater updater(*rig.serial, rig.clock);
        EXPECT_FALSE(updater.start(QStringLiteral("/nonexistent.bin")).isEmpty());
        EXPECT_TRUE(rig.dialogs.shown.isEmpty());
    }
    {
        // The pedal's port goes away at the touch and nothing takes its place.
        FirmwareRig rig;
        rig.afterTouch = {"/dev/ttyS0", "/dev/ttyS1"};
        QString details;
        EXPECT_FALSE(rig.run(&details));
        EXPECT_TRUE(details.contains("went away")) << qPrintable(details);
        EXPECT_TRUE(rig.toolArguments().isEmpty());
        EXPECT_EQ(rig.serial->portName(), "COM333");
    }
}
