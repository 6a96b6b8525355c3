#include "FlashTool.h"
#include "link_test_util.h"

#include "link/FirmwareUpdater.h"

#include <QDir>
#include <QRandomGenerator>
#include <QSignalSpy>
#include <QtEndian>

#include <gtest/gtest.h>

namespace {

// The first 8 bytes of an image: its initial stack pointer and reset address.
QByteArray vectors(quint32 stack, quint32 reset)
{
    const quint32 words[] = {qToLittleEndian(stack), qToLittleEndian(reset)};
    return QByteArray(reinterpret_cast<const char *>(words), 8);
}

// A pedal on /dev/cu.usbmodem1411 and a resources folder (a blank in its name) with the
// stand-in tool; PATH holds nothing else.
struct FirmwareRig : LinkRig
{
    TempFiles temp;
    QString resources = temp.path("pedal resources"), tool = resources + "/bossac";
    QString image; // the row's
    QByteArray oldPath = qgetenv("PATH");
    FirmwareUpdater updater{*serial, clock};
    QStringList afterTouch; // the system's ports once the board restarted
    QStringList log;        // the pedal log

    FirmwareRig()
    {
        QDir().mkpath(resources);
        qputenv("PEDAL_RESOURCES_DIR", resources.toLocal8Bit());
        qputenv("PATH", temp.dir.path().toLocal8Bit());
        writeFlashTool(tool);
        QObject::connect(serial.get(), &SerialHandler::logged, [this](const PedalLogEntry &e) { log << e.text; });
        port->onOpen = [this](const QString &, const SerialPortTransport::Settings &s) {
            if (s.baudRate == 1200 && !afterTouch.isEmpty())
                systemPorts = afterTouch;
        };
    }
    ~FirmwareRig() { qunsetenv("PEDAL_RESOURCES_DIR"), qputenv("PATH", oldPath); }

    QStringList toolArguments() const { return readFile(resources + "/args.txt").split('\n', Qt::SkipEmptyParts); }
};

} // namespace

TEST(FirmwareUpdate, PortArgumentRulesAndVerdicts)
{
    EXPECT_EQ(FirmwareUpdater::toolPortArgument("/dev/ttyACM0"), "ttyACM0");
    EXPECT_EQ(FirmwareUpdater::toolPortArgument("/dev"), "**STRING TOO SHORT");
    EXPECT_EQ(FirmwareUpdater::dropFirst("abcde", 5), "");
    const QStringList before{"A", "B", "/dev/cu.usbmodem1411"};
    EXPECT_EQ(FirmwareUpdater::bootLoaderPort("/dev/cu.usbmodem1411", before, before), "/dev/cu.usbmodem1411");
    EXPECT_EQ(FirmwareUpdater::bootLoaderPort("P", {"A", "B"}, {"X", "Y", "Z"}), "Y") << "the last wins";

    // Success needs the tool to end by itself, with status 0, having printed the text; "": success.
    const QString wrote = "Write 64 bytes to flash (1 pages)\n";
    const std::tuple<QString, bool, const char *> runs[] = {
        {wrote, false, ""},
        {wrote, true, "bossac ended abnormally (it crashed or was killed)."},
        {"No device found on ttyACM0\n", false, "no \"bytes to flash\""},
    };
    for (const auto &[output, crashed, expected] : runs) {
        const QString verdict = FirmwareUpdater::verdict("bossac", output, false, crashed, 0);
        EXPECT_TRUE(verdict.isEmpty() == !*expected && verdict.contains(expected)) << expected;
    }
}

// An image is checked before anything is touched: it must start with the vector table of an
// Arm Cortex-M program (a stack pointer in SRAM, an odd reset address below it).
TEST(FirmwareUpdate, ImagesAreChecked)
{
    TempFiles temp;
    QByteArray noise(2048, '\0');
    QRandomGenerator random(22);
    random.fillRange(reinterpret_cast<quint32 *>(noise.data()), noise.size() / 4);
    const struct
    {
        QByteArray image;    // "-": none
        const char *refusal; // "": accepted
    } rows[] = {
        {firmwareImage(), ""},
        {vectors(0x20000000, 0x1FFFFFFF), ""},
        {vectors(0x3FFFFFFF, 0x00000001), ""},
        {"-", "it does not exist"},
        {"", "it is empty"},
        {QByteArray(FirmwareUpdater::MaxImageBytes + 1, 'x'), "at most 4194304"},
        {vectors(0x20008000, 0x00002101).left(7), "holds 7 bytes, too few for the vector table"},
        {vectors(0x1FFFFFFC, 0x00002101), "its first word 0x1FFFFFFC is no stack address in RAM"},
        {vectors(0x40000000, 0x00002101), "its first word 0x40000000 is no stack address in RAM"},
        {vectors(0x20008000, 0x00002100), "its reset address 0x00002100 is not Thumb code"},
        {vectors(0x20008000, 0x20000001), "its reset address 0x20000001 lies outside the program memory"},
        {noise, "is no stack address in RAM"},
    };
    int n = 0;
    for (const auto &row : rows) {
        SCOPED_TRACE(row.refusal);
        const QString path =
            row.image == "-" ? temp.path("none.bin") : temp.write(QString::number(++n) + ".bin", row.image);
        FirmwareUpdater::ImageInfo info;
        const QString refusal = FirmwareUpdater::checkImage(path, &info);
        EXPECT_EQ(refusal.isEmpty(), !*row.refusal) << refusal.toStdString();
        EXPECT_TRUE(refusal.contains(QString::fromUtf8(row.refusal))) << refusal.toStdString();
        EXPECT_EQ(info.size, refusal.isEmpty() ? row.image.size() : 0);
    }
}

// The update touches the port at 1200 baud, waits and runs the tool on the boot loader's
// port; what is wrong with the tool, the image or the port is found before any touch. The
// runs share a clock: the time-out of an earlier run stops no later one.
TEST(FirmwareUpdate, RunsTheToolOnTheBootLoaderPort)
{
    const QStringList gone{"/dev/ttyS0", "/dev/ttyS1"}, added = gone + QStringList{"/dev/cu.usbmodem1421"};
    const QByteArray fine = firmwareImage();
    enum { Refused, Failed, Flashed };
    const QString wrote = "[==========] 100%\nWrite 23456 bytes to flash (92 pages)";
    const struct
    {
        const char *what; // the image "hang" or "bad" (see writeFlashTool); or "touch": the touch fails
        QByteArray image; // "-": none
        int outcome;
        QString details; // a part of what finished() tells
    } rows[] = {
        {"a new port", fine, Flashed, wrote},
        {"the port gone for good", fine, Failed, "went away"},
        {"touch", fine, Failed, "The pedal could not be restarted into its boot loader: no such device"},
        {"bad", fine, Failed, "bossac ended with exit status 1.\n\nErase flash\n" + wrote + "\nVerify failed"},
        {"no tool", fine, Refused, ""},
        {"no image", "-", Refused, ""},
        {"an image that is no firmware", QByteArray(64, '\x5a'), Refused, ""},
        {"no pedal", fine, Refused, ""},
        {"hang", fine, Failed, "did not finish within 5 minutes"},
    };
    FirmwareRig rig;
    for (const auto &row : rows) {
        SCOPED_TRACE(row.what);
        const QString mode = QString::fromUtf8(row.what);
        rig.systemPorts = gone;
        if (mode != "no pedal")
            rig.connectPedal("/dev/cu.usbmodem1411");
        else
            rig.serial->forgetPort();
        rig.afterTouch = mode == "the port gone for good" ? gone : added;
        rig.log.clear();
        rig.image = rig.resources + '/' + (mode == "hang" || mode == "bad" ? mode : "Kestil_V2") + ".bin";
        for (const QString &file : {rig.resources + "/args.txt", rig.image})
            QFile::remove(file);
        if (row.image != "-")
            writeFile(rig.image, row.image);
        rig.port->failOpenWith = mode == "touch" ? "no such device" : "";
        QSignalSpy finished(&rig.updater, &FirmwareUpdater::finished);
        const qsizetype opens = rig.port->opens.size();
        QFile::rename(rig.tool, mode != "no tool" ? rig.tool : rig.tool + ".off");
        const QString problem = rig.updater.start(rig.image);
        QFile::rename(rig.tool + ".off", rig.tool);
        EXPECT_EQ(problem.isEmpty(), row.outcome != Refused) << problem.toStdString();
        if (row.outcome == Refused) {
            rig.clock.advance(FirmwareUpdater::BootLoaderWaitMs);
            EXPECT_EQ(rig.port->opens.size(), opens) << "no touch";
            EXPECT_TRUE(rig.port->isOpen()) << "the pedal stays connected";
            EXPECT_TRUE(finished.isEmpty() && !rig.updater.running());
            EXPECT_FALSE(rig.link->refuseIfBusy());
            continue;
        }
        EXPECT_FALSE(rig.port->isOpen());
        ASSERT_EQ(rig.port->opens.size(), opens + 1);
        EXPECT_EQ(rig.port->opens.last().path, "/dev/cu.usbmodem1411");
        EXPECT_EQ(rig.port->opens.last().settings.baudRate, 1200);
        EXPECT_TRUE(rig.port->writes.isEmpty());
        EXPECT_FALSE(rig.updater.start(rig.image).isEmpty()) << "one update at a time";
        // The port is the update's until it ends.
        rig.port->failOpenWith.clear();
        EXPECT_TRUE(rig.link->refuseIfBusy());
        EXPECT_FALSE(rig.serial->ready() || rig.serial->connectToPedal() || rig.port->isOpen());
        EXPECT_EQ(rig.messages(), QStringList(3, "A firmware update is running"));
        rig.alerts.clear();
        rig.clock.advance(FirmwareUpdater::BootLoaderWaitMs - 1);
        QCoreApplication::processEvents();
        EXPECT_TRUE(rig.toolArguments().isEmpty()) << "the tool runs only after the wait";
        rig.clock.advance(1);
        if (mode == "hang") {
            // The lines come as the tool prints them, while it still runs.
            for (int i = 0; i < 2000 && !rig.log.contains("bossac: Write 23456 bytes to flash (92 pages)"); ++i)
                finished.wait(10);
            EXPECT_TRUE(rig.log.contains("bossac: [==========] 100%")) << rig.log.join('\n').toStdString();
            rig.clock.advance(FirmwareUpdater::ToolTimeoutMs - 1); // the first run's time-out falls due
            EXPECT_FALSE(finished.wait(300)) << "stopped by an earlier run's time-out";
            rig.clock.advance(1);
        }
        ASSERT_TRUE(!finished.isEmpty() || finished.wait(20000));
        EXPECT_EQ(finished[0][0].toBool(), row.outcome == Flashed);
        EXPECT_TRUE(finished[0][1].toString().contains(row.details)) << finished[0][1].toString().toStdString();
        QStringList expected{"--port=tty.usbmodem1421", "-U", "true", "-e", "-w", "-v", "-b", rig.image, "-R"};
        expected = row.outcome == Flashed     ? expected
            : mode == "bad" || mode == "hang" ? expected.mid(0, 1)
                                              : QStringList();
        EXPECT_EQ(rig.toolArguments().mid(0, expected.isEmpty() ? -1 : expected.size()), expected);
        EXPECT_EQ(rig.serial->portName(), SerialHandler::NotConnectedName);
        EXPECT_FALSE(rig.updater.running() || rig.port->isOpen() || rig.link->refuseIfBusy());
        EXPECT_TRUE(rig.alerts.isEmpty());
    }
}
