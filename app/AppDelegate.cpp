#include "AppDelegate.h"

#include "editor/ViewController.h"
#include "editor/WidgetDialogs.h"
#include "link/FirmwareUpdater.h"
#include "link/PedalLink.h"
#include "link/QtScheduler.h"
#include "link/SerialHandler.h"
#include "model/DataHandler.h"
#include "tools/virtual-pedal/SignalWatcher.h"

#include <QApplication>

AppDelegate::AppDelegate(QObject *parent) : QObject(parent)
{
    DataHandler &store = DataHandler::instance();
    m_dialogs = std::make_unique<WidgetDialogs>();
    m_scheduler = std::make_unique<QtScheduler>();
    m_serial = std::make_unique<SerialHandler>(*m_scheduler);
    m_link = std::make_unique<PedalLink>(*m_serial, store, *m_scheduler);
    m_firmware = std::make_unique<FirmwareUpdater>(*m_serial, *m_scheduler);
    m_vc = std::make_unique<ViewController>(store, *m_dialogs,
                                            ViewController::Pedal{m_serial.get(), m_link.get(), m_firmware.get()});
    m_dialogs->setWindow(m_vc.get());
    connect(qApp, &QCoreApplication::aboutToQuit, this, &AppDelegate::applicationWillTerminate);
    connect(m_vc.get(), &ViewController::endRequested, qApp, [](int status) { QCoreApplication::exit(status); });
    m_signals = new SignalWatcher(this);
    if (m_signals->install())
        connect(m_signals, &SignalWatcher::stopRequested, this, &AppDelegate::endOnSignal);
}

AppDelegate::~AppDelegate()
{
    // The window goes first: its pages refer to the link.
    m_vc.reset();
}

void AppDelegate::applicationDidFinishLaunching()
{
    m_vc->show();
}

void AppDelegate::applicationWillTerminate()
{
    m_serial->closeAtExit();
}

void AppDelegate::endOnSignal(int signalNumber)
{
    // The event loop ends (once a firmware update has finished); the window goes with the
    // delegate and takes the virtual pedal with it, and the port is closed on the way out.
    m_vc->endWhenSafe(128 + signalNumber);
}
