#pragma once

#include "EditorContext.h"
#include "EditorEvents.h"
#include "EditorState.h"
#include "SessionHistory.h"
#include "SharedLists.h"
#include "format/SessionKeys.h"

#include <QMainWindow>

#include <functional>
#include <memory>

class DataHandler;
class Dialogs;
class FirmwareFlow;
class FirmwareUpdater;
class PageTabs;
class PedalActions;
class PedalLink;
class PedalLogDock;
class PedalSessionFlow;
class QMenu;
class SerialHandler;
class SessionActions;
class SessionBackups;
class TransferStatus;
class VirtualPedalProcess;
class WindowCommands;
enum class CommandId;

// The editor window. It arranges the menus and the command bar (both made from the
// window's command table), the five pages as tabs, the Pedal Log and Compare docks and
// the status bar; each flow behind a command is a class of its own. Closing it with
// unsaved changes asks first.
class ViewController : public QMainWindow
{
    Q_OBJECT
public:
    // The pedal side of the window; every part may be null (tests run without).
    struct Pedal
    {
        SerialHandler *serial;
        PedalLink *link;
        FirmwareUpdater *firmware;
    };

    ViewController(DataHandler &store, Dialogs &dialogs, Pedal pedal = Pedal(), QWidget *parent = nullptr);
    ~ViewController() override;

    EditorContext &context() { return m_ctx; }
    SessionActions &session() { return *m_session; }
    SessionHistory &history() { return m_history; }
    PageTabs &pages() const { return *m_pages; }
    PageTabs *tabs() const { return m_pages; }
    void showPage(SessionKeys::Page page);
    PedalLogDock *pedalLog() const { return m_logDock; }
    WindowCommands &commands() const { return *m_commands; }
    // Send Changes, Live Updates and where the pedal stands; null without a pedal link.
    PedalSessionFlow *pedalSession() const { return m_pedalSession; }
    // The clock that times transfers for the status bar, in milliseconds: a monotonic
    // clock unless set (tests give their scheduler's).
    void setClock(std::function<qint64()> nowMs);

    // The window's commands (see WindowCommands for their menus, keys and rules).
    void RefreshAllPages();
    void openSession();
    void resetSession();
    void compareWithFile();
    void checkSession();
    void restoreBackup();
    void connectToPedal();
    void sendPage(SessionKeys::Page page);
    void loadPage(SessionKeys::Page page);
    void resetPage(SessionKeys::Page page);
    void sendChanges();
    // A setting of the Pedal menu (Live Updates, Compare on Connect) was turned on or off:
    // it is remembered for the next start.
    void settingToggled(CommandId id);
    void compareWithPedal();
    void factoryResetPedal();
    void uploadFirmware();
    void attachVirtualPedal();
    void showAbout();
    void cancelTransfer();

    // Ends the program with `status` (a signal asked for it, nothing is asked): at once, or
    // once a running firmware update has finished, which ending now would cut off.
    void endWhenSafe(int status);

Q_SIGNALS:
    // The program should end now with this exit status.
    void endRequested(int status);

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    void buildDocksAndBars();
    void followSession();
    void followPedal();
    void updateTitle();
    void fillRecentMenu();
    // Each command enabled by its rule, for the transfer and update running now.
    void updateCommandStates();
    // While a firmware update runs: raises its alert and returns true.
    bool refuseWhileUpdating();
    void log(int kind, const QString &line);

    DataHandler &m_store;
    Dialogs &m_dialogs;
    Pedal m_pedal;
    EditorState m_state;
    EditorEvents m_events;
    SharedLists m_lists;
    SessionHistory m_history;
    EditorContext m_ctx;
    std::unique_ptr<PedalActions> m_actions; // with a pedal link
    SessionActions *m_session = nullptr;
    SessionBackups *m_backups = nullptr;
    VirtualPedalProcess *m_virtualPedal = nullptr;
    WindowCommands *m_commands = nullptr;
    PageTabs *m_pages = nullptr;
    PedalLogDock *m_logDock = nullptr;
    TransferStatus *m_status = nullptr;
    FirmwareFlow *m_firmware = nullptr;
    PedalSessionFlow *m_pedalSession = nullptr; // with a pedal link
    QMenu *m_recentMenu = nullptr;
    bool m_closeApproved = false;
};
