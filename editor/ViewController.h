#pragma once

#include "EditorContext.h"
#include "EditorEvents.h"
#include "EditorState.h"
#include "SessionHistory.h"
#include "SharedLists.h"

#include <QHash>
#include <QMainWindow>

#include <functional>
#include <memory>

class DataHandler;
class Dialogs;
class FirmwareUpdater;
class PedalActions;
class PedalKnownSession;
class PedalLink;
class PedalLogDock;
class QPushButton;
class QAction;
class QLabel;
class QMenu;
class QProgressBar;
class QTabWidget;
class SerialHandler;
class SessionActions;
class SetJacksPage;
class SongsPage;
class VirtualPedalProcess;

// The editor window: the five pages as tabs, the window's commands (menus and buttons),
// the status bar with the connection and the progress of a transfer, the start-up
// sequence and RefreshAllPages. Closing it with unsaved changes asks first.
class ViewController : public QMainWindow
{
    Q_OBJECT
public:
    // The pedal side of the window; every part may be null (tests run without).
    // Pedal() holds three null pointers.
    struct Pedal
    {
        SerialHandler *serial;
        PedalLink *link;
        FirmwareUpdater *firmware;
    };

    ViewController(DataHandler &store, Dialogs &dialogs, Pedal pedal = Pedal(), QWidget *parent = nullptr);
    ~ViewController() override;

    // Re-reads every page from the store; both song pages keep the position they show.
    void RefreshAllPages();

    EditorContext &context() { return m_ctx; }
    SessionActions &session() { return *m_session; }
    SessionHistory &history() { return m_history; }
    SongsPage *songsPage() const { return m_songsPage; }
    // Builds the Set Jacks page when it has not been built yet.
    SetJacksPage *setJacksPage();
    // Only the Songs page, shown at start, is built with the window; every other page is
    // built when it is first needed: its tab shown, showPage(), a change shown on it.
    // This builds every page not built yet (for whoever looks up controls by name).
    void ensureAllPages();
    QTabWidget *tabs() const { return m_tabs; }
    // Shows the page with this tab title ("Songs", ...). Returns false when there is none.
    bool showPage(const QString &title);

    // Pedal ▸ Attach Virtual Pedal.
    void attachVirtualPedal();
    // Pedal ▸ Send Changes…: only what differs from the session known to be on the pedal.
    void sendChanges();
    // Pedal ▸ Compare with Pedal…: loads the pedal's session into one of its own and shows
    // the changes from this session to it.
    void compareWithPedal();
    // What is known of the pedal's session (null without a pedal link).
    PedalKnownSession *knownSession() const { return m_known; }

    // Writes the session as it is now to the backups folder before an operation that
    // overwrites the pedal or the session (`reason`: "Send All", "Send Changes",
    // "Firmware Update", "Load All"). Returns whether the operation goes on: when the
    // backup cannot be written the user is asked, and Cancel stops it.
    bool backupBefore(const QString &reason);
    // File ▸ Restore Backup…: lists the backups and opens the chosen one as Open does.
    void restoreBackup();
    // Upload Firmware: the shipped image or one the user picks (the shipped one is the
    // default; without one the file panel opens at once); checked, confirmed (Cancel is
    // the default), backed up, then written. While it runs, the status bar counts its
    // seconds, every pedal command, Open, Open Recent, Restore Backup and Reset Session
    // are refused with "A firmware update is running", and closing the window asks.
    void uploadFirmware();
    // Stops the running send or load (the Cancel button and Esc).
    void cancelTransfer();
    PedalLogDock *pedalLog() const { return m_logDock; }
    // The clock that times transfers for the status bar, in milliseconds: a monotonic
    // clock unless set (tests give their scheduler's).
    void setClock(std::function<qint64()> nowMs) { m_clock = std::move(nowMs); }

    // Ends the program with `status` (a signal asked for it, nothing is asked): at once, or
    // once a running firmware update has finished, which ending now would cut off.
    void endWhenSafe(int status);

Q_SIGNALS:
    // The program should end now with this exit status.
    void endRequested(int status);

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    void buildMenus();
    QWidget *buildCommandBar();
    void buildStatusBar();
    // Connects the load and send buttons under `root` to the session history.
    void watchPedalCommands(QWidget *root);
    // A tab whose page `build` makes when the tab is first shown.
    void addPageTab(const QString &title, std::function<QWidget *()> build);
    void buildPage(QWidget *tab);
    void watchKnownSession();
    void updateTitle();
    void updateUndoActions();
    void fillRecentMenu();
    // Shows a change the pages did not make themselves (undo, redo, data from the pedal,
    // normalisation): every page that shows a changed part shows it again, with the
    // song, stack or setting of the step selected, on the page where it was taken.
    void showChange(const SessionDelta &change, const QString &page);
    void updateConnection();
    // While a firmware update runs: raises its alert and returns true.
    bool refuseWhileUpdating();
    // Shows the seconds of the firmware update `run` and counts on while it runs.
    void countFirmwareSeconds(quint64 run);
    void showProgress(int done, int total, const QString &what);
    void transferEnded();
    // The seconds since the transfer shown began, with one decimal ("1.2").
    QString transferSeconds() const;
    void connectToPedal();
    void startUp();

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
    VirtualPedalProcess *m_virtualPedal = nullptr;
    PedalKnownSession *m_known = nullptr;

    QTabWidget *m_tabs = nullptr;
    SongsPage *m_songsPage = nullptr;
    SetJacksPage *m_setJacksPage = nullptr;
    QWidget *m_setlistPage = nullptr;
    QWidget *m_midiPage = nullptr;
    QWidget *m_globalPage = nullptr;
    // The tabs whose page is not built yet, with what builds it.
    QHash<QWidget *, std::function<QWidget *()>> m_pageBuilders;
    QLabel *m_connection = nullptr;
    QProgressBar *m_progress = nullptr;
    QPushButton *m_cancel = nullptr;
    QAction *m_cancelAction = nullptr;
    PedalLogDock *m_logDock = nullptr;
    std::function<qint64()> m_clock;
    qint64 m_transferStart = 0; // when the transfer shown began (m_clock)
    bool m_transferShown = false;
    QAction *m_undoAction = nullptr;
    QAction *m_redoAction = nullptr;
    QMenu *m_recentMenu = nullptr;
    bool m_closeApproved = false;
    bool m_endPending = false; // the program ends when the firmware update has finished
    bool m_portLost = false;   // the port held last was lost, and none was opened since
    int m_firmwareSeconds = 0; // since the firmware update shown began
    quint64 m_firmwareRun = 0; // identifies the update the status bar counts for
};
