#pragma once

#include <QObject>

#include <memory>

class FirmwareUpdater;
class PedalLink;
class QtScheduler;
class SerialHandler;
class SignalWatcher;
class ViewController;
class WidgetDialogs;

// The application: makes the window and the pedal link when it is created, shows the
// window, and closes the pedal's port when the application ends. Closing the window
// quits the application. SIGTERM, SIGINT and SIGHUP end it as Quit does, without asking
// about unsaved changes (nothing is saved), with the status 128 + the signal's number;
// during a firmware update, once the update has finished.
class AppDelegate : public QObject
{
    Q_OBJECT
public:
    explicit AppDelegate(QObject *parent = nullptr);
    ~AppDelegate() override;

    void applicationDidFinishLaunching();
    void applicationWillTerminate();
    void endOnSignal(int signalNumber);

    ViewController *vc() const { return m_vc.get(); }

private:
    std::unique_ptr<WidgetDialogs> m_dialogs;
    std::unique_ptr<QtScheduler> m_scheduler;
    std::unique_ptr<SerialHandler> m_serial;
    std::unique_ptr<PedalLink> m_link;
    std::unique_ptr<FirmwareUpdater> m_firmware;
    std::unique_ptr<ViewController> m_vc;
    SignalWatcher *m_signals = nullptr;
};
