#include "link_test_util.h"

#include "link/PortAccess.h"
#include "link/QtSerialTransport.h"

#include <QDir>
#include <QFileInfo>
#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cerrno>
#include <sys/stat.h>
#include <unistd.h>

TEST(PortLister, KeepsTheOrderOfFirstSighting)
{
    QStringList system{"/dev/ttyS1", "/dev/ttyS0"};
    PortLister lister([&] { return system; });
    EXPECT_EQ(lister.paths(), QStringList({"/dev/ttyS1", "/dev/ttyS0"}));
    // A new device that sorts first in the system's listing still comes last.
    system = {"/dev/ttyACM0", "/dev/ttyS0", "/dev/ttyS1"};
    EXPECT_EQ(lister.paths(), QStringList({"/dev/ttyS1", "/dev/ttyS0", "/dev/ttyACM0"}));
    // Removed ports leave the list; a returning one keeps its place.
    system = {"/dev/ttyACM0", "/dev/ttyS1"};
    EXPECT_EQ(lister.paths(), QStringList({"/dev/ttyS1", "/dev/ttyACM0"}));
    system = {"/dev/ttyS0", "/dev/ttyACM0", "/dev/ttyS1", "/dev/ttyS1"};
    EXPECT_EQ(lister.paths(), QStringList({"/dev/ttyS1", "/dev/ttyS0", "/dev/ttyACM0"}));
}

TEST(PortLister, AddsThePathsOfTheExtraPortPatterns)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString a = dir.filePath("pedal-a"), b = dir.filePath("pedal-b");
    QFile(a).open(QIODevice::WriteOnly);
    qputenv("PEDAL_EXTRA_PORTS", (dir.filePath("pedal-*") + ":" + dir.filePath("none*") + "::").toLocal8Bit());
    PortLister lister([] { return QStringList{"/dev/ttyS0"}; });
    EXPECT_EQ(lister.paths(), QStringList({"/dev/ttyS0", a}));
    QFile(b).open(QIODevice::WriteOnly);
    EXPECT_EQ(lister.paths(), QStringList({"/dev/ttyS0", a, b}));
    qunsetenv("PEDAL_EXTRA_PORTS");
    EXPECT_EQ(lister.paths(), QStringList({"/dev/ttyS0"}));
}

TEST(Connect, NoPortBeyondThoseAtStartUpAsksToPlugInAfterStarting)
{
    LinkRig rig;
    rig.serial->recordStartupPorts();
    EXPECT_FALSE(rig.serial->connectToPedal());
    ASSERT_EQ(rig.dialogs.shown.size(), 1);
    EXPECT_EQ(rig.dialogs.shown[0].message, QString());
    EXPECT_EQ(rig.dialogs.shown[0].informative, "Plug your pedal in after starting the app");
    EXPECT_EQ(rig.dialogs.shown[0].buttons, QStringList({"Ok"}));
    EXPECT_TRUE(rig.port->opens.isEmpty());
    EXPECT_EQ(rig.serial->portName(), "COM333");
    EXPECT_FALSE(rig.serial->isConnected());
    rig.clock.advance(5000);
    EXPECT_TRUE(rig.port->writes.isEmpty());
}

TEST(Connect, OpensTheFirstPortAttachedAfterStartUpAndGreetsOneSecondLater)
{
    LinkRig rig;
    rig.systemPorts = {"/dev/ttyS5", "/dev/ttyS9"};
    rig.serial->recordStartupPorts();
    EXPECT_EQ(rig.serial->startupPorts(), QStringList({"/dev/ttyS5", "/dev/ttyS9"}));
    rig.systemPorts = {"/dev/ttyACM7", "/dev/ttyS5", "/dev/ttyS9"};
    QSignalSpy names(rig.serial.get(), &SerialHandler::portNameChanged);

    EXPECT_TRUE(rig.serial->connectToPedal());
    ASSERT_EQ(rig.port->opens.size(), 1);
    EXPECT_EQ(rig.port->opens[0].path, "/dev/ttyACM7");
    EXPECT_EQ(rig.port->opens[0].settings.baudRate, 9600);
    EXPECT_TRUE(rig.port->opens[0].settings.raiseRts);
    EXPECT_EQ(rig.serial->portName(), "/dev/ttyACM7");
    EXPECT_TRUE(rig.serial->isConnected());
    ASSERT_EQ(names.size(), 1);
    EXPECT_EQ(names[0][0].toString(), "/dev/ttyACM7");
    ASSERT_EQ(rig.dialogs.shown.size(), 1);
    EXPECT_EQ(rig.dialogs.shown[0].message, "Success!");
    EXPECT_EQ(rig.dialogs.shown[0].informative, "Pedal Connected");

    rig.clock.advance(999);
    EXPECT_TRUE(rig.port->writes.isEmpty());
    rig.clock.advance(1);
    EXPECT_EQ(rig.port->writtenTexts(), QStringList({"]0;"}));
    rig.clock.advance(10000);
    EXPECT_EQ(rig.port->writtenTexts(), QStringList({"]0;"})) << "one greeting per connect";

    // Connecting again replaces the port and greets once more.
    EXPECT_TRUE(rig.serial->connectToPedal());
    EXPECT_EQ(rig.port->opens.size(), 2);
    rig.clock.advance(1000);
    EXPECT_EQ(rig.port->writtenTexts(), QStringList({"]0;", "]0;"}));
}

TEST(Connect, APortThatCannotBeOpenedLeavesThePedalNotConnected)
{
    LinkRig rig;
    rig.serial->recordStartupPorts();
    rig.systemPorts.append("/dev/ttyACM0");
    rig.port->failOpenWith = "Permission denied";
    QSignalSpy names(rig.serial.get(), &SerialHandler::portNameChanged);

    EXPECT_FALSE(rig.serial->connectToPedal());
    ASSERT_EQ(rig.dialogs.shown.size(), 1);
    EXPECT_TRUE(rig.dialogs.shown[0].informative.contains("Permission denied"));
    EXPECT_TRUE(rig.dialogs.shown[0].informative.contains("/dev/ttyACM0"));
    EXPECT_EQ(rig.serial->portName(), "COM333");
    EXPECT_FALSE(rig.serial->portHeld());
    EXPECT_EQ(names.size(), 2) << "set to the path, then back";
    EXPECT_TRUE(rig.diagnostics.contains("Serial port (/dev/ttyACM0) encountered error: Permission denied"));
    rig.clock.advance(2000);
    EXPECT_TRUE(rig.port->writes.isEmpty()) << "no greeting to a port that is not open";

    // A command now shows the not-connected alert.
    rig.dialogs.shown.clear();
    rig.link->loadSetlist();
    ASSERT_EQ(rig.dialogs.shown.size(), 1);
    EXPECT_EQ(rig.dialogs.shown[0].message, "Please connect to the pedal first");
}

// The open failure's text: lack of permission names the device's group and the command
// that gives access; a missing device points at the pedal's cable; anything else passes the
// system's words on.
TEST(PortAccess, ExplainsWhyAPortCouldNotBeOpened)
{
    struct Row
    {
        int accessError;
        const char *group;
        const char *systemError;
        QStringList has;
        QStringList hasNot;
    };
    const QString dev = QStringLiteral("/dev/ttyACM0");
    const Row rows[] = {
        {EACCES,
         "dialout",
         "Permission denied",
         {"You do not have permission to open /dev/ttyACM0 (Permission denied).", "group \"dialout\"",
          "\"sudo usermod -aG dialout $USER\"", "log out and log in again"},
         {}},
        {EPERM, "uucp", "Operation not permitted", {"sudo usermod -aG uucp $USER"}, {"dialout"}},
        // No group to name, or one that must not be handed out.
        {EACCES, "", "Permission denied", {"permission", "administrator"}, {"usermod", "group"}},
        {EACCES, "root", "Permission denied", {"administrator"}, {"usermod"}},
        {ENOENT,
         "",
         "No such file or directory",
         {"/dev/ttyACM0 is not there (No such file or directory).", "plugged in", "ls /dev/ttyACM*"},
         {"permission"}},
        {0, "dialout", "Device or resource busy", {"/dev/ttyACM0: Device or resource busy"}, {"usermod", "permission"}},
    };
    for (const Row &row : rows) {
        const QString text = PortAccess::openFailureText(dev, QString::fromLatin1(row.systemError),
                                                         {row.accessError, QString::fromLatin1(row.group)});
        SCOPED_TRACE(text.toStdString());
        for (const QString &part : row.has)
            EXPECT_TRUE(text.contains(part)) << part.toStdString();
        for (const QString &part : row.hasNot)
            EXPECT_FALSE(text.contains(part, Qt::CaseInsensitive)) << part.toStdString();
    }
    EXPECT_EQ(PortAccess::openFailureText(dev, QStringLiteral("Device or resource busy"), {}),
              QStringLiteral("/dev/ttyACM0: Device or resource busy"));
}

// A real open of a device this user may not read: the alert says so and names the group.
TEST(PortAccess, APortWithoutPermissionNamesTheGroupInTheAlert)
{
    if (::geteuid() == 0)
        GTEST_SKIP() << "running as root, which may open any file: no open is refused for lack of permission";
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString path = dir.filePath("ttyACM9");
    ASSERT_TRUE(QFile(path).open(QIODevice::WriteOnly));
    ASSERT_EQ(::chmod(QFile::encodeName(path).constData(), 0), 0);
    const QString group = QFileInfo(path).group();
    EXPECT_EQ(PortAccess::inspect(path).group, group);

    ScriptedDialogs dialogs;
    ManualScheduler clock;
    SerialHandler serial(dialogs, clock, std::make_unique<QtSerialTransport>(),
                         std::make_unique<PortLister>([] { return QStringList(); }));
    EXPECT_FALSE(serial.openPort(path));
    ASSERT_EQ(dialogs.shown.size(), 1);
    const QString text = dialogs.shown[0].informative;
    EXPECT_TRUE(text.startsWith(QStringLiteral("You do not have permission to open ") + path)) << text.toStdString();
    if (!group.isEmpty() && group != QLatin1String("root")) {
        EXPECT_TRUE(text.contains(QStringLiteral("sudo usermod -aG %1 $USER").arg(group))) << text.toStdString();
    }
    EXPECT_FALSE(serial.isConnected());
}

TEST(Connect, AnUnpluggedPedalIsNotWrittenTo)
{
    LinkRig rig;
    rig.connectPedal();
    QSignalSpy lost(rig.serial.get(), &SerialHandler::portLost);
    rig.port->unplug();
    EXPECT_EQ(lost.size(), 1);
    EXPECT_EQ(rig.serial->portName(), "/dev/ttyACM0") << "the port name keeps its value";
    EXPECT_TRUE(rig.serial->isConnected());
    EXPECT_FALSE(rig.serial->portHeld());
    EXPECT_FALSE(rig.serial->sendText("]4;"));

    for (auto action : {&PedalLink::loadAll, &PedalLink::sendSongs, &PedalLink::factoryResetPedal}) {
        rig.dialogs.shown.clear();
        ((*rig.link).*action)();
        ASSERT_FALSE(rig.dialogs.shown.isEmpty());
        const Alert &last = rig.dialogs.shown.last();
        EXPECT_EQ(last.message, "Please connect to the pedal first");
        EXPECT_EQ(last.informative, QString());
        EXPECT_EQ(last.buttons, QStringList({"Ok"}));
    }
    rig.link->previewStack(0);
    rig.link->previewName(0);
    EXPECT_EQ(rig.dialogs.shown.last().message, "Please connect to the pedal first");
    EXPECT_TRUE(rig.port->writes.isEmpty());
    EXPECT_EQ(rig.port->opens.size(), 1) << "nothing tries to reopen by itself";
}

TEST(SerialHandler, PortErrorsAreOnlyLogged)
{
    LinkRig rig;
    rig.connectPedal();
    rig.port->fail("Input/output error");
    EXPECT_TRUE(rig.diagnostics.contains("Serial port (/dev/ttyACM0) encountered error: Input/output error"));
    EXPECT_TRUE(rig.dialogs.shown.isEmpty());
    EXPECT_TRUE(rig.serial->portHeld());
}

TEST(SerialHandler, SendsUtf8InOneWriteAndClosesAtTheEnd)
{
    LinkRig rig;
    rig.serial->closeAtExit();
    EXPECT_EQ(rig.port->closes, 0);
    rig.connectPedal();
    EXPECT_TRUE(rig.serial->sendText(QStringLiteral("]1;caf\u00e9")));
    ASSERT_EQ(rig.port->writes.size(), 1);
    EXPECT_EQ(rig.port->writes[0], QByteArray("]1;caf\xc3\xa9"));
    rig.serial->closeAtExit();
    EXPECT_EQ(rig.port->closes, 1);
    EXPECT_FALSE(rig.port->isOpen());
}
