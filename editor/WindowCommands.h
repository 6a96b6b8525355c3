#pragma once

#include "format/SessionKeys.h"

#include <QKeySequence>
#include <QObject>

#include <array>
#include <functional>

class QAction;
class QMenu;
class QMenuBar;
class QToolBar;
class QWidget;
class ViewController;

// Every command of the window, in the order of its menus.
enum class CommandId {
    Open,
    Save,
    SaveAs,
    CompareWithFile,
    RestoreBackup,
    CheckSession,
    PrintSetlist,
    ExportSetlistPdf,
    ExportSongsCsv,
    ImportSongsCsv,
    ResetSession,
    Quit,
    Undo,
    Redo,
    Connect,
    SendAll,
    LoadAll,
    SendChanges,
    LiveUpdates,
    CompareOnConnect,
    CompareWithPedal,
    FactoryReset,
    UploadFirmware,
    AttachVirtualPedal,
    Refresh,
    ShowSetJacks,
    ShowSongs,
    ShowSetlist,
    ShowMidi,
    ShowGlobal,
    DarkLook,
    About,
    CancelTransfer,
    SendSongs,
    LoadSongs,
    ResetSongs,
    SendSetJacks,
    LoadSetJacks,
    ResetSetJacks,
    SendSetlist,
    LoadSetlist,
    ResetSetlist,
    SendMidi,
    LoadMidi,
    ResetMidi,
    SendGlobal,
    LoadGlobal,
    ResetGlobal,
    Count
};

// When a command can be used. A command that would be refused is disabled; the refusal
// stays behind it as a guard.
enum class CommandRule {
    Always,
    NotUpdating, // not while a firmware update runs (it would replace the session or the port)
    PedalIdle,   // neither while a transfer nor while a firmware update runs
    Transferring // only while a send or load runs
};

// Where a command shows besides its action.
enum class CommandPlace { None, File, Edit, Pedal, View, Help, Page };

// One row of the window's command table.
struct WindowCommand
{
    CommandId id;
    const char *name;   // the action's object name
    const char *button; // the object name of its button (command bar or page), or null
    const char *text;   // as the menu shows it, with its mnemonic
    const char *buttonText;
    const char *tip;
    const char *icon; // the desktop theme's name for it
    QKeySequence::StandardKey standardKey;
    QKeyCombination keys[2]; // shortcuts besides the standard one; none when empty
    CommandRule rule;
    CommandPlace place;
    bool separatorBefore;
    int toolBar;            // its place on the command bar from the left (1, 2, ...); 0: not there
    SessionKeys::Page page; // a page's Send, Load or Reset: the page; else All
    void (*run)(ViewController &);
    bool checkable = false; // a setting turned on and off (its state is the action's)
};

namespace WindowCommandTable {
const std::array<WindowCommand, size_t(CommandId::Count)> &rows();
const WindowCommand &at(CommandId id);
} // namespace WindowCommandTable

// The window's actions, one per row of the command table, each enabled by its rule.
class WindowCommands : public QObject
{
    Q_OBJECT
public:
    WindowCommands(ViewController &window, QWidget *owner);

    QAction *action(CommandId id) const { return m_actions[size_t(id)]; }
    // The Send, Load and Reset commands of a page, in that order.
    std::array<QAction *, 3> pageActions(SessionKeys::Page page) const;

    // The menus of the menu bar, each command under its menu.
    void fillMenus(QMenuBar *bar, QMenu *recentFiles, QAction *pedalLog, QAction *commandBar);
    // The command bar: its commands with their icons and the text beside them.
    QToolBar *makeCommandBar(QWidget *parent);

    // Draws the icons again, as the palette they are drawn in changed.
    void refreshIcons();

    // Enables each command by its rule.
    void updateStates(bool transferRunning, bool firmwareRunning);

private:
    std::array<QAction *, size_t(CommandId::Count)> m_actions{};
};
