#pragma once

// The window with a pedal link over a fake serial device, for the window and snapshot tests.

#include "EditorFixture.h"

#include "FakeSerialTransport.h"
#include "ManualScheduler.h"
#include "format/BackupFolder.h"
#include "format/SessionKeys.h"
#include "format/SessionWriter.h"
#include "editor/RecentFiles.h"
#include "link/FirmwareUpdater.h"
#include "link/PedalLink.h"
#include "link/SerialHandler.h"

#include <QDir>
#include <QStatusBar>

// The backups folder of this test run (QStandardPaths' test mode), emptied first.
inline QString freshBackups()
{
    const QString folder = BackupFolder::defaultFolder();
    if (!folder.contains(QLatin1String("/.qttest/"))) {
        ADD_FAILURE() << "not a folder of the test mode: " << qPrintable(folder);
        return folder;
    }
    QFile::remove(folder);
    QDir(folder).removeRecursively();
    return folder;
}

// The window with a pedal link over a fake serial device, connected.
struct PedalRig : Controls
{
    // The window reads the pedal after Connect only where a test asks for it.
    bool quietConnect = (RecentFiles::setFlag(QStringLiteral("compareOnConnectAction"), false), true);
    DataHandler store;
    ScriptedDialogs dialogs;
    ManualScheduler scheduler;
    QStringList ports{"/dev/ttyS0"};
    FakeSerialTransport *device = new FakeSerialTransport;
    SerialHandler serial{scheduler, std::unique_ptr<SerialPortTransport>(device),
                         std::make_unique<PortLister>([this] { return ports; })};
    PedalLink link{serial, store, scheduler};
    FirmwareUpdater firmware{serial, scheduler};
    ViewController vc{store, dialogs, ViewController::Pedal{&serial, &link, &firmware}};

    PedalRig()
    {
        freshBackups();
        vc.setClock([this] { return scheduler.now(); });
        vc.pages().buildAll();
        vc.show();
        ports.append("/dev/ttyACM0");
        click("connectToPedalButton");
        scheduler.runAll();
        device->clearWrites();
        dialogs.shown.clear();
    }
    ~PedalRig() override { freshBackups(); }
    QWidget &root() override { return vc; }
    void trigger(const char *name) { action(vc, name)->trigger(); }
    QString status() const { return vc.statusBar()->currentMessage(); }
    void pickSong(int row) { ::pickSong(vc, row); }
    // The pedal's answer to a load: the keys given with the first request (all when none
    // are given), then the ends of the others.
    void answer(PedalLink::Load load, const DataHandler &pedal, std::vector<int> keys = {})
    {
        if (keys.empty())
            keys = PedalLink::keysOf(load);
        QString text = "]3\r\n";
        for (int k : keys)
            text += QString::fromLatin1(SessionKeys::at(k).key) + QLatin1Char(']')
                + SessionWriter::value(pedal, k, SessionWriter::Form::Reply) + "\r\n";
        device->receive((text + ";\r\n").toUtf8());
        for (int i = 1; i < PedalLink::requestsOf(load).size(); ++i)
            device->receive(QByteArrayLiteral("]3\r\n;\r\n"));
        scheduler.runAll();
    }
};
