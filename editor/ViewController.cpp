#include "ViewController.h"

#include "CompareDock.h"
#include "PageControls.h"
#include "PedalActions.h"
#include "PedalLogDock.h"
#include "RecentFiles.h"
#include "RestoreBackupDialog.h"
#include "SessionActions.h"
#include "SetJacksPage.h"
#include "SongsPage.h"
#include "VirtualPedalProcess.h"
#include "WheelGuard.h"
#include "link/FirmwareUpdater.h"
#include "link/PedalKnownSession.h"
#include "link/PedalLink.h"
#include "link/Scheduler.h"
#include "link/SerialHandler.h"
#include "model/DataHandler.h"
#include "Dialogs.h"
#include "format/BackupFolder.h"
#include "model/Normaliser.h"
#include "format/SessionKeys.h"
#include "PedalVersion.h"
#include "model/Menu.h"

// The Setlist, Midi Management and Global Settings pages are built on their own; the
// window shows their tabs once they are part of the program.
#if __has_include("SetlistPage.h")
#include "SetlistPage.h"
#define PEDAL_HAVE_SETLIST_PAGE 1
#endif
#if __has_include("MidiPage.h")
#include "MidiPage.h"
#define PEDAL_HAVE_MIDI_PAGE 1
#endif
#if __has_include("GlobalPage.h")
#include "GlobalPage.h"
#define PEDAL_HAVE_GLOBAL_PAGE 1
#endif

#include <QAbstractButton>
#include <QAction>
#include <QCloseEvent>
#include <QComboBox>
#include <QFileInfo>
#include <QLocale>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPointer>
#include <QProgressBar>
#include <QPushButton>
#include <QScrollArea>
#include <QStatusBar>
#include <QTabWidget>
#include <QTableView>
#include <QTextEdit>
#include <QUndoStack>
#include <QVBoxLayout>

#include <chrono>
#include <memory>

using PageControls::button;

namespace {
// How long the status bar tells of a finished or cancelled transfer.
constexpr int StatusMessageMs = 6000;
} // namespace

ViewController::ViewController(DataHandler &store, Dialogs &dialogs, Pedal pedal, QWidget *parent)
    : QMainWindow(parent),
      m_store(store),
      m_dialogs(dialogs),
      m_pedal(pedal),
      m_lists(store),
      m_history(store, m_state),
      m_ctx{store, m_state, m_lists, dialogs, m_events, m_history, pedal.link}
{
    setObjectName(QStringLiteral("ViewController"));
    m_clock = [] {
        using namespace std::chrono;
        return qint64(duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count());
    };
    if (pedal.link) {
        m_actions = std::make_unique<PedalActions>(*pedal.link, dialogs);
        m_ctx.pedal = m_actions.get();
    }
    WheelGuard::install();
    m_session = new SessionActions(store, dialogs, m_history, this);
    m_virtualPedal = new VirtualPedalProcess(this);

    m_tabs = new QTabWidget(this);
    m_tabs->setObjectName(QStringLiteral("PageTabs"));
    // The Songs page is shown at start and built at once; the others when first needed.
    addPageTab(QStringLiteral("Set Jacks"), [this] {
        m_setJacksPage = new SetJacksPage(m_ctx);
        m_setJacksPage->selectSong(m_state.SetJacksSongIndex);
        return m_setJacksPage;
    });
    m_songsPage = new SongsPage(m_ctx);
    m_tabs->addTab(m_songsPage, QStringLiteral("Songs"));
#ifdef PEDAL_HAVE_SETLIST_PAGE
    addPageTab(QStringLiteral("Setlist"), [this] { return m_setlistPage = new SetlistPage(m_ctx); });
#endif
#ifdef PEDAL_HAVE_MIDI_PAGE
    addPageTab(QStringLiteral("Midi Management"), [this] {
        auto *page = new MidiPage(m_ctx);
        page->showStackPage();
        return m_midiPage = page;
    });
#endif
#ifdef PEDAL_HAVE_GLOBAL_PAGE
    addPageTab(QStringLiteral("Global Settings"), [this] {
        auto *page = new GlobalPage(m_ctx);
        page->showSettings();
        return m_globalPage = page;
    });
#endif
    connect(m_tabs, &QTabWidget::currentChanged, this, [this](int index) { buildPage(m_tabs->widget(index)); });

    auto *central = new QWidget(this);
    auto *layout = new QVBoxLayout(central);
    layout->setContentsMargins(6, 6, 6, 0);
    layout->addWidget(buildCommandBar());
    layout->addWidget(m_tabs, 1);
    setCentralWidget(central);
    m_logDock = new PedalLogDock(dialogs, this);
    addDockWidget(Qt::BottomDockWidgetArea, m_logDock);
    m_logDock->hide();
    buildMenus();
    buildStatusBar();
    // Every alert goes to the pedal log too.
    m_dialogs.setAlertListener(
        [this](const Alert &a) { m_logDock->add(PedalLogEntry::alert(a.message, a.informative)); });

    connect(m_session, &SessionActions::sessionReplaced, this, &ViewController::RefreshAllPages);
    connect(m_session, &SessionActions::stateChanged, this, &ViewController::updateTitle);
    connect(m_session, &SessionActions::recentFilesChanged, this, &ViewController::fillRecentMenu);
    connect(m_session, &SessionActions::warned, this, [this](const QString &line) {
        m_logDock->add({QDateTime::currentDateTime(), PedalLogEntry::Kind::Error, line});
    });
    m_history.setPageProvider([this] { return m_tabs->tabText(m_tabs->currentIndex()); });
    connect(&m_history, &SessionHistory::changeShown, this, &ViewController::showChange);
    QUndoStack *stack = &m_history.undoStack();
    connect(stack, &QUndoStack::indexChanged, this, &ViewController::updateUndoActions);
    connect(stack, &QUndoStack::undoTextChanged, this, &ViewController::updateUndoActions);
    connect(stack, &QUndoStack::redoTextChanged, this, &ViewController::updateUndoActions);
    watchPedalCommands(this);
    watchKnownSession();

    if (m_pedal.link) {
        connect(m_pedal.link, &PedalLink::progress, this, &ViewController::showProgress);
        connect(m_pedal.link, &PedalLink::transferEnded, this, &ViewController::transferEnded);
        // A finished or cancelled transfer says so for a few seconds.
        connect(m_pedal.link, &PedalLink::sendCompleted, this, [this](SessionKeys::Page page) {
            const QString seconds = transferSeconds();
            statusBar()->showMessage(page == SessionKeys::Page::All
                                         ? tr("Sent all pages in %1 s").arg(seconds)
                                         : tr("Sent the %1 page in %2 s").arg(SessionKeys::pageTitle(page), seconds),
                                     StatusMessageMs);
        });
        connect(m_pedal.link, &PedalLink::loadCompleted, this, [this](PedalLink::Load load) {
            static const std::pair<PedalLink::Load, SessionKeys::Page> pages[] = {
                {PedalLink::Load::Songs, SessionKeys::Page::Songs},
                {PedalLink::Load::SetJacks, SessionKeys::Page::SetJacks},
                {PedalLink::Load::Setlist, SessionKeys::Page::Setlist},
                {PedalLink::Load::Midi, SessionKeys::Page::Midi},
                {PedalLink::Load::Global, SessionKeys::Page::Global},
            };
            // The pages show what arrived already (the load is a step that shows itself).
            QString text = tr("Loaded all pages in %1 s").arg(transferSeconds());
            for (const auto &p : pages)
                if (p.first == load)
                    text = tr("Loaded the %1 page in %2 s").arg(SessionKeys::pageTitle(p.second), transferSeconds());
            statusBar()->showMessage(text, StatusMessageMs);
        });
        // What did arrive is kept (and shown); the user is told what is missing.
        connect(m_pedal.link, &PedalLink::loadFinished, this, [this](bool complete, const QString &problem) {
            if (!complete)
                m_dialogs.warn(QStringLiteral("The load is incomplete"),
                               tr("Not all of the data asked for arrived from the pedal:\n%1\n"
                                  "What arrived has been kept; load again to get the rest.")
                                   .arg(problem));
        });
        connect(m_pedal.link, &PedalLink::transferCancelled, this,
                [this](const QString &message) { statusBar()->showMessage(message, StatusMessageMs); });
        m_actions->setTransferGuard([this](const QString &operation) { return backupBefore(operation); });
        connect(m_pedal.link, &PedalLink::alertRaised, this, [this](const Alert &a) { m_dialogs.alert(a); });
        // What a load brings is one step, taken when the transfer has ended.
        connect(m_pedal.link, &PedalLink::storeChangedByPedal, &m_history, &SessionHistory::changedOutside);
        connect(m_pedal.link, &PedalLink::transferEnded, this, [this] {
            if (m_history.outsidePending())
                m_history.commitOutside();
            m_history.expectOutside(QString());
        });
        connect(m_pedal.link, &PedalLink::transferInterrupted, this,
                [this](const QString &message, const QString &informative) { m_dialogs.warn(message, informative); });
    }
    if (m_pedal.serial) {
        connect(m_pedal.serial, &SerialHandler::logged, m_logDock, &PedalLogDock::add);
        connect(m_pedal.serial, &SerialHandler::alertRaised, this, [this](const Alert &a) { m_dialogs.alert(a); });
        // Queued: the port is opened after its name is set, and the connected alert that
        // follows runs its own event loop, in which the label then shows the new port.
        connect(
            m_pedal.serial, &SerialHandler::portNameChanged, this,
            [this] {
                m_portLost = false;
                updateConnection();
            },
            Qt::QueuedConnection);
        connect(m_pedal.serial, &SerialHandler::portLost, this, [this](const QString &message) {
            m_portLost = true;
            updateConnection();
            statusBar()->showMessage(message);
        });
    }
    connect(m_virtualPedal, &VirtualPedalProcess::attached, this, [this](const QString &path) {
        statusBar()->showMessage(tr("Virtual pedal attached at %1. Press Connect to use it.").arg(path));
    });
    connect(m_virtualPedal, &VirtualPedalProcess::failed, this, [this](const QString &problem) {
        statusBar()->clearMessage();
        m_dialogs.warn(QStringLiteral("The virtual pedal could not be started"), problem);
    });

    startUp();
    resize(1180, 820);
}

ViewController::~ViewController()
{
    m_dialogs.setAlertListener(nullptr);
}

void ViewController::startUp()
{
    if (m_pedal.serial) {
        m_pedal.serial->recordStartupPorts();
        m_state.PortList = m_pedal.serial->startupPorts();
    }
    // Both song pages start on the first song.
    m_state.SongsSongIndex = 0;
    m_state.SetJacksSongIndex = 0;
    // The shared name lists are filled by SharedLists itself.
    m_songsPage->selectSong(m_state.SongsSongIndex);
    m_tabs->setCurrentWidget(m_songsPage);
    m_session->markUnmodified();
    updateTitle();
    updateConnection();
}

void ViewController::RefreshAllPages()
{
    // Both pages go on showing the song at the position they showed (a load or an open
    // writes the songs in place), the first song when they showed none.
    for (qint64 *index : {&m_state.SetJacksSongIndex, &m_state.SongsSongIndex})
        if (*index < 0 || *index >= qint64(m_store.SongList.size()))
            *index = 0;
            // A page not built yet shows the session as it is when it is built.
#ifdef PEDAL_HAVE_MIDI_PAGE
    if (m_midiPage)
        static_cast<MidiPage *>(m_midiPage)->showStackPage();
#endif
    // A refill is one model reset of each shared list; the pages select their stored
    // positions again when it is done.
    m_lists.refillStacks();
    m_lists.refillPresets();
    if (m_setJacksPage)
        m_setJacksPage->selectSong(m_state.SetJacksSongIndex);
    m_songsPage->selectSong(m_state.SongsSongIndex);
#ifdef PEDAL_HAVE_GLOBAL_PAGE
    if (m_globalPage)
        static_cast<GlobalPage *>(m_globalPage)->showSettings();
#endif
#ifdef PEDAL_HAVE_SETLIST_PAGE
    if (m_setlistPage)
        static_cast<SetlistPage *>(m_setlistPage)->reloadTables();
#endif
#ifdef PEDAL_HAVE_MIDI_PAGE
    if (m_midiPage)
        static_cast<MidiPage *>(m_midiPage)->reloadLibrary();
#endif
    // The song tables reload on this signal.
    Q_EMIT m_events.sessionReplaced();
}

void ViewController::addPageTab(const QString &title, std::function<QWidget *()> build)
{
    auto *tab = new QWidget;
    auto *layout = new QVBoxLayout(tab);
    layout->setContentsMargins(0, 0, 0, 0);
    m_tabs->addTab(tab, title);
    m_pageBuilders.insert(tab, std::move(build));
}

void ViewController::buildPage(QWidget *tab)
{
    const auto found = m_pageBuilders.constFind(tab);
    if (found == m_pageBuilders.constEnd())
        return;
    const std::function<QWidget *()> build = *found;
    m_pageBuilders.erase(found);
    QWidget *page = build();
    tab->layout()->addWidget(page);
    if (tab->isVisible())
        page->show();
    watchPedalCommands(page);
}

void ViewController::ensureAllPages()
{
    for (int i = 0; i < m_tabs->count(); ++i)
        buildPage(m_tabs->widget(i));
}

SetJacksPage *ViewController::setJacksPage()
{
    if (!m_setJacksPage)
        ensureAllPages();
    return m_setJacksPage;
}

bool ViewController::showPage(const QString &title)
{
    for (int i = 0; i < m_tabs->count(); ++i)
        if (m_tabs->tabText(i) == title) {
            m_tabs->setCurrentIndex(i);
            return true;
        }
    return false;
}

QWidget *ViewController::buildCommandBar()
{
    auto *bar = new QWidget(this);
    bar->setObjectName(QStringLiteral("CommandBar"));
    auto *row = new QHBoxLayout(bar);
    row->setContentsMargins(0, 0, 0, 0);
    auto *connectButton = button(QStringLiteral("connectToPedalButton"), tr("Connect"), bar);
    auto *sendAll = button(QStringLiteral("SendAllCommand"), tr("Send All"), bar);
    auto *loadAll = button(QStringLiteral("LoadAllCommand"), tr("Load All"), bar);
    auto *refresh = button(QStringLiteral("RefreshCommand"), tr("Refresh"), bar);
    auto *factoryReset = button(QStringLiteral("FactoryResetPedalButton"), tr("Factory Reset Pedal"), bar);
    auto *firmware = button(QStringLiteral("UploadFirmwareButton"), tr("Upload Firmware"), bar);
    connectButton->setToolTip(tr("Plug the pedal in after starting the editor, then connect (Ctrl+K)."));
    sendAll->setToolTip(tr("Send the whole session to the pedal (Ctrl+Shift+U)."));
    loadAll->setToolTip(tr("Load the whole session from the pedal (Ctrl+Shift+L)."));
    refresh->setToolTip(tr("Show the session again on every page (F5)."));
    connect(connectButton, &QPushButton::clicked, this, &ViewController::connectToPedal);
    connect(sendAll, &QPushButton::clicked, this, [this] {
        if (m_actions)
            m_actions->send(SessionKeys::Page::All);
    });
    connect(loadAll, &QPushButton::clicked, this, [this] {
        if (m_actions)
            m_actions->load(PedalLink::Load::All);
    });
    connect(refresh, &QPushButton::clicked, this, &ViewController::RefreshAllPages);
    connect(factoryReset, &QPushButton::clicked, this, [this] {
        if (m_actions)
            m_actions->factoryResetPedal();
    });
    connect(firmware, &QPushButton::clicked, this, &ViewController::uploadFirmware);
    row->addWidget(connectButton);
    row->addSpacing(12);
    row->addWidget(sendAll);
    row->addWidget(loadAll);
    row->addWidget(refresh);
    row->addStretch();
    row->addWidget(factoryReset);
    row->addWidget(firmware);
    return bar;
}

void ViewController::buildMenus()
{
    auto action = [this](QMenu *menu, const char *objectName, const QString &text, auto slot,
                         const QKeySequence &shortcut = {}) {
        QAction *a = menu->addAction(text);
        a->setObjectName(QString::fromLatin1(objectName));
        if (!shortcut.isEmpty())
            a->setShortcut(shortcut);
        connect(a, &QAction::triggered, this, slot);
        return a;
    };
    auto clickButton = [this](const char *name) {
        return [this, name] {
            if (auto *b = findChild<QPushButton *>(QString::fromLatin1(name)))
                b->click();
        };
    };

    QMenu *file = menuBar()->addMenu(tr("&File"));
    action(
        file, "openSessionAction", tr("&Open…"),
        [this] {
            if (!refuseWhileUpdating())
                m_session->open();
        },
        QKeySequence::Open);
    m_recentMenu = file->addMenu(tr("Open &Recent"));
    m_recentMenu->setObjectName(QStringLiteral("openRecentMenu"));
    fillRecentMenu();
    file->addSeparator();
    action(
        file, "saveSessionAction", tr("&Save"), [this] { m_session->save(); }, QKeySequence::Save);
    action(
        file, "saveSessionAsAction", tr("Save &As…"), [this] { m_session->saveAs(); },
        QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_S));
    action(file, "compareWithFileAction", tr("Compare with &File…"),
           [this] { CompareDock::compareWithFile(this, m_store, m_dialogs); });
    action(file, "restoreBackupAction", tr("Restore &Backup…"), [this] { restoreBackup(); });
    file->addSeparator();
    action(file, "resetSessionAction", tr("&Reset Session…"), [this] {
        if (!refuseWhileUpdating())
            m_session->reset();
    });
    file->addSeparator();
    action(
        file, "quitAction", tr("&Quit"), [this] { close(); }, QKeySequence::Quit);

    QMenu *edit = menuBar()->addMenu(tr("&Edit"));
    m_undoAction = action(
        edit, "undoAction", tr("Undo"), [this] { m_history.undo(); }, QKeySequence::Undo);
    m_redoAction = action(edit, "redoAction", tr("Redo"), [this] { m_history.redo(); });
    m_redoAction->setShortcuts({QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z), QKeySequence(Qt::CTRL | Qt::Key_Y)});
    updateUndoActions();

    QMenu *pedal = menuBar()->addMenu(tr("&Pedal"));
    // Ctrl+K connects; Send All and Load All go to and come from the pedal (upload, load).
    action(pedal, "connectAction", tr("&Connect"), clickButton("connectToPedalButton"),
           QKeySequence(Qt::CTRL | Qt::Key_K));
    pedal->addSeparator();
    action(pedal, "sendAllAction", tr("&Send All…"), clickButton("SendAllCommand"),
           QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_U));
    action(pedal, "loadAllAction", tr("&Load All…"), clickButton("LoadAllCommand"),
           QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_L));
    action(
        pedal, "sendChangesAction", tr("Send C&hanges…"), [this] { sendChanges(); },
        QKeySequence(Qt::CTRL | Qt::Key_U));
    action(pedal, "compareWithPedalAction", tr("Com&pare with Pedal…"), [this] { compareWithPedal(); });
    pedal->addSeparator();
    action(pedal, "factoryResetAction", tr("&Factory Reset…"), clickButton("FactoryResetPedalButton"));
    action(pedal, "uploadFirmwareAction", tr("&Upload Firmware…"), clickButton("UploadFirmwareButton"));
    pedal->addSeparator();
    action(pedal, "attachVirtualPedalAction", tr("Attach &Virtual Pedal"), [this] { attachVirtualPedal(); });

    QMenu *view = menuBar()->addMenu(tr("&View"));
    action(
        view, "refreshAction", tr("&Refresh"), [this] { RefreshAllPages(); }, QKeySequence(Qt::Key_F5));
    QAction *log = m_logDock->toggleViewAction();
    log->setObjectName(QStringLiteral("pedalLogAction"));
    log->setText(tr("Pedal &Log"));
    view->addAction(log);

    QMenu *help = menuBar()->addMenu(tr("&Help"));
    action(help, "aboutAction", tr("&About Pedal Editor"), [this] {
        m_dialogs.alert(
            {QStringLiteral("Pedal Editor %1").arg(QStringLiteral(PEDAL_VERSION)),
             tr("Qt %1\nSession format of %2 keys").arg(QString::fromLatin1(qVersion())).arg(SessionKeys::Count),
             {QStringLiteral("Ok")},
             tr("About Pedal Editor")});
    });
}

void ViewController::buildStatusBar()
{
    m_connection = new QLabel(this);
    m_connection->setObjectName(QStringLiteral("connectionLabel"));
    m_progress = new QProgressBar(this);
    m_progress->setObjectName(QStringLiteral("transferProgress"));
    m_progress->setMaximumWidth(260);
    m_progress->setTextVisible(true);
    m_progress->hide();
    m_cancel = button(QStringLiteral("cancelTransferButton"), tr("Cancel"), this);
    m_cancel->setToolTip(tr("Stop the send or load (Esc)."));
    m_cancel->hide();
    connect(m_cancel, &QPushButton::clicked, this, &ViewController::cancelTransfer);
    // Esc stops a transfer; it is taken only while one runs.
    m_cancelAction = new QAction(tr("Cancel Transfer"), this);
    m_cancelAction->setObjectName(QStringLiteral("cancelTransferAction"));
    m_cancelAction->setShortcut(QKeySequence(Qt::Key_Escape));
    m_cancelAction->setEnabled(false);
    connect(m_cancelAction, &QAction::triggered, this, &ViewController::cancelTransfer);
    addAction(m_cancelAction);
    statusBar()->addPermanentWidget(m_progress);
    statusBar()->addPermanentWidget(m_cancel);
    statusBar()->addPermanentWidget(m_connection);
}

void ViewController::watchPedalCommands(QWidget *root)
{
    // A load is named by its button ("Load All"); the step is taken when its data has
    // arrived. A send normalises the session first: that is a step of its own.
    for (QPushButton *b : root->findChildren<QPushButton *>()) {
        const QString name = b->objectName();
        if (name.startsWith(QLatin1String("Load")) && name.endsWith(QLatin1String("Command"))) {
            connect(b, &QPushButton::clicked, this, [this, text = b->text()] { m_history.expectOutside(text); });
        } else if (name.startsWith(QLatin1String("Send"))) {
            // The page's own handler has run (it was connected first).
            connect(b, &QPushButton::clicked, this, [this] {
                if (m_history.outsidePending())
                    m_history.commitOutside();
                m_history.commitOutside(tr("Normalise Session"));
            });
        }
    }
}

void ViewController::updateUndoActions()
{
    const QUndoStack &stack = m_history.undoStack();
    m_undoAction->setEnabled(stack.canUndo());
    m_undoAction->setText(stack.canUndo() ? tr("Undo %1").arg(stack.undoText()) : tr("Undo"));
    m_redoAction->setEnabled(stack.canRedo());
    m_redoAction->setText(stack.canRedo() ? tr("Redo %1").arg(stack.redoText()) : tr("Redo"));
}

void ViewController::fillRecentMenu()
{
    if (!m_recentMenu)
        return;
    m_recentMenu->clear();
    const QStringList files = RecentFiles::list();
    for (int i = 0; i < files.size(); ++i) {
        const QString path = files[i];
        QAction *a = m_recentMenu->addAction(QStringLiteral("&%1 %2").arg(i + 1).arg(QFileInfo(path).fileName()));
        a->setObjectName(QStringLiteral("recentFileAction%1").arg(i + 1));
        a->setToolTip(path);
        a->setData(path);
        connect(a, &QAction::triggered, this, [this, path] {
            if (!refuseWhileUpdating())
                m_session->openFile(path);
        });
    }
    m_recentMenu->addSeparator();
    QAction *clear = m_recentMenu->addAction(tr("&Clear Menu"));
    clear->setObjectName(QStringLiteral("clearRecentAction"));
    clear->setEnabled(!files.isEmpty());
    connect(clear, &QAction::triggered, this, [this] {
        RecentFiles::clear();
        fillRecentMenu();
    });
    m_recentMenu->setEnabled(true);
}

void ViewController::showChange(const SessionDelta &change, const QString &page)
{
    if (!page.isEmpty())
        showPage(page);
    const bool songs = !change.songPositions().empty();
    if (!change.stackPositions().empty()) {
        // One refill renames every stack list; each selects its stored position again.
        m_lists.refillStacks();
#ifdef PEDAL_HAVE_MIDI_PAGE
        if (m_midiPage)
            static_cast<MidiPage *>(m_midiPage)->showStackPage();
#endif
    }
    // The pages not built yet show the session as it is when they are built.
    if (songs) {
        m_lists.refillPresets();
        Q_EMIT m_events.songsChanged();
        if (m_setJacksPage)
            m_setJacksPage->selectSong(m_state.SetJacksSongIndex);
        m_songsPage->selectSong(m_state.SongsSongIndex);
    }
#ifdef PEDAL_HAVE_SETLIST_PAGE
    if (m_setlistPage && (change.setlistChanged() || songs))
        static_cast<SetlistPage *>(m_setlistPage)->reloadTables();
#endif
#ifdef PEDAL_HAVE_MIDI_PAGE
    if (m_midiPage && change.libraryChanged())
        static_cast<MidiPage *>(m_midiPage)->reloadLibrary();
#endif
#ifdef PEDAL_HAVE_GLOBAL_PAGE
    const std::vector<int> settings = change.menuFields();
    if (m_globalPage && !settings.empty()) {
        static_cast<GlobalPage *>(m_globalPage)->showSettings();
        // The first setting the step changed is shown and has the focus.
        const QString name = QLatin1String(menuFields()[size_t(settings.front())].name) + QLatin1String("Combo");
        if (auto *combo = m_globalPage->findChild<QComboBox *>(name)) {
            if (auto *scroll = m_globalPage->findChild<QScrollArea *>(QStringLiteral("GlobalScrollView")))
                scroll->ensureWidgetVisible(combo);
            if (page == QLatin1String("Global Settings"))
                combo->setFocus(Qt::OtherFocusReason);
        }
    }
#endif
}

void ViewController::updateTitle()
{
    setWindowTitle(QStringLiteral("%1[*] — Pedal Editor").arg(m_session->displayName()));
    setWindowModified(m_session->isModified());
}

bool ViewController::refuseWhileUpdating()
{
    return m_pedal.serial && m_pedal.serial->refuseIfUpdating();
}

void ViewController::updateConnection()
{
    // While the firmware is written the port is the boot loader's: the update is shown.
    if (m_pedal.firmware && m_pedal.firmware->running()) {
        m_connection->setText(tr("Updating firmware… %1 s").arg(m_firmwareSeconds));
        return;
    }
    const bool held = m_pedal.serial && m_pedal.serial->isConnected() && m_pedal.serial->portHeld();
    if (held) {
        m_connection->setText(tr("Connected: %1").arg(m_pedal.serial->portName()));
        m_portLost = false;
        // Hints about getting connected (attach, plug in, the last loss) no longer hold.
        statusBar()->clearMessage();
    } else if (m_portLost && m_pedal.serial && m_pedal.serial->isConnected()) {
        m_connection->setText(tr("Not connected (%1 was disconnected)").arg(m_pedal.serial->portName()));
    } else {
        m_connection->setText(tr("Not connected"));
    }
}

void ViewController::showProgress(int done, int total, const QString &what)
{
    m_progress->setRange(0, qMax(total, 1));
    m_progress->setValue(qBound(0, done, qMax(total, 1)));
    m_progress->setFormat(what.isEmpty() ? QStringLiteral("%v / %m") : what + QStringLiteral(" %v / %m"));
    m_progress->show();
    if (!m_transferShown) {
        m_transferShown = true;
        m_transferStart = m_clock();
        m_cancel->show();
        m_cancelAction->setEnabled(true);
    }
}

void ViewController::transferEnded()
{
    m_transferShown = false;
    m_progress->hide();
    m_cancel->hide();
    m_cancelAction->setEnabled(false);
}

QString ViewController::transferSeconds() const
{
    return QLocale().toString(double(m_clock() - m_transferStart) / 1000.0, 'f', 1);
}

void ViewController::cancelTransfer()
{
    if (m_pedal.link)
        m_pedal.link->cancel();
    // Compare with Pedal loads through a link of its own.
    if (m_known)
        m_known->pedalLoadLink().cancel();
}

bool ViewController::backupBefore(const QString &reason)
{
    const QString sessionName =
        m_session->filePath().isEmpty() ? QString() : QFileInfo(m_session->filePath()).fileName();
    BackupFolder folder;
    QString path;
    const QString problem = folder.write(m_store, reason, sessionName, &path);
    if (problem.isEmpty()) {
        m_logDock->add({QDateTime::currentDateTime(), PedalLogEntry::Kind::Transfer,
                        tr("backup before %1: %2").arg(reason, path)});
        return true;
    }
    return m_dialogs.confirmDestructive(
        QStringLiteral("The backup could not be written"),
        tr("Before %1 the session is saved to the backups folder, and that failed:\n%2\n\n"
           "Go on without a backup?")
            .arg(reason, problem));
}

void ViewController::restoreBackup()
{
    if (refuseWhileUpdating())
        return;
    const QList<BackupFolder::Entry> entries = BackupFolder().list();
    if (entries.isEmpty()) {
        m_dialogs.inform(QStringLiteral("There are no backups"),
                         tr("A backup is written before every Send All, Send Changes, firmware update and Load All, "
                            "in %1.")
                             .arg(BackupFolder::defaultFolder()));
        return;
    }
    RestoreBackupDialog dialog(entries, this);
    if (dialog.exec() != QDialog::Accepted)
        return;
    const BackupFolder::Entry chosen = dialog.chosen();
    if (chosen.path.isEmpty())
        return;
    m_session->openBackup(chosen.path,
                          tr("Restore Backup of %1").arg(QLocale().toString(chosen.time, QLocale::ShortFormat)));
}

void ViewController::uploadFirmware()
{
    FirmwareUpdater *firmware = m_pedal.firmware;
    if (!firmware || !m_pedal.serial || refuseWhileUpdating() || (m_pedal.link && m_pedal.link->refuseIfBusy()))
        return;
    if (!m_pedal.serial->isConnected()) {
        m_dialogs.notConnected();
        return;
    }
    // The image shipped with the program is offered first; another can always be chosen.
    const QString bundled = FirmwareUpdater::findImage();
    QString image = bundled;
    if (!bundled.isEmpty()) {
        const QFileInfo file(bundled);
        const int answer = m_dialogs.alert(
            {QStringLiteral("Which firmware image?"),
             tr("The editor comes with the image %1 (%2 bytes, %3).\nA newer image can be chosen from a file.")
                 .arg(file.fileName(), QLocale().toString(file.size()),
                      QLocale().toString(file.lastModified(), QLocale::ShortFormat)),
             {QStringLiteral("Use Bundled Image"), QStringLiteral("Choose Image…"), QStringLiteral("Cancel")},
             QStringLiteral("Upload Firmware")});
        if (answer == 1)
            image.clear();
        else if (answer != 0)
            return;
    }
    if (image.isEmpty()) {
        image = m_dialogs.chooseFirmwareImage(bundled.isEmpty() ? RecentFiles::lastFirmwareFolder()
                                                                : QFileInfo(bundled).absolutePath());
        if (image.isEmpty())
            return;
        RecentFiles::setLastFirmwareFolder(QFileInfo(image).absolutePath());
    }
    FirmwareUpdater::ImageInfo info;
    const QString refused = FirmwareUpdater::checkImage(image, &info);
    if (!refused.isEmpty()) {
        m_dialogs.warn(FirmwareUpdater::NotFirmware, tr("%1: %2.").arg(QFileInfo(image).fileName(), refused));
        return;
    }
    const bool isBundled = !bundled.isEmpty() && info.path == QFileInfo(bundled).absoluteFilePath();
    const QString what = isBundled ? QStringLiteral("The firmware required for this app")
                                   : QStringLiteral("The firmware image %1").arg(QFileInfo(info.path).fileName());
    // Flashing is not undone: Return does not start it.
    if (!m_dialogs.confirmDestructive(QStringLiteral("About to upload"),
                                      what
                                          + QStringLiteral(" will be uploaded to the pedal\n"
                                                           "Make sure you save your old session before doing this\n\n")
                                          + tr("Image: %1\n%2 bytes, %3")
                                                .arg(info.path, QLocale().toString(info.size),
                                                     QLocale().toString(info.modified, QLocale::LongFormat))))
        return;
    if (!backupBefore(QStringLiteral("Firmware Update")))
        return;
    QPointer<ViewController> self(this);
    auto once = std::make_shared<QMetaObject::Connection>();
    *once = connect(firmware, &FirmwareUpdater::finished, this, [self, once](bool success, const QString &details) {
        QObject::disconnect(*once);
        if (!self)
            return;
        self->updateConnection();
        if (success)
            self->m_dialogs.inform(QStringLiteral("Success!"), QString());
        else
            self->m_dialogs.warn(QStringLiteral("Upload Failed:"), details);
        self->updateConnection();
    });
    const QString problem = firmware->start(image);
    if (!problem.isEmpty()) {
        disconnect(*once);
        m_dialogs.warn(QStringLiteral("Cannot update the firmware"), problem);
        return;
    }
    // The status bar counts the seconds of the update, once a second, until it ends.
    m_firmwareSeconds = 0;
    countFirmwareSeconds(++m_firmwareRun);
}

void ViewController::countFirmwareSeconds(quint64 run)
{
    if (run != m_firmwareRun || !m_pedal.firmware->running())
        return;
    updateConnection();
    QPointer<ViewController> self(this);
    m_pedal.serial->scheduler().after(1000, [self, run] {
        if (!self || run != self->m_firmwareRun)
            return;
        ++self->m_firmwareSeconds;
        self->countFirmwareSeconds(run);
    });
}

void ViewController::connectToPedal()
{
    if (!m_pedal.serial)
        return;
    // Opening the port again in the middle of a transfer would greet the pedal inside it.
    if (m_pedal.link && m_pedal.link->refuseIfBusy())
        return;
    // The connected alert runs its own event loop: the label shows the port meanwhile.
    QMetaObject::invokeMethod(this, &ViewController::updateConnection, Qt::QueuedConnection);
    m_pedal.serial->connectToPedal();
    updateConnection();
}

void ViewController::attachVirtualPedal()
{
    if (m_virtualPedal->running()) {
        m_dialogs.inform(QStringLiteral("The virtual pedal is already attached"),
                         m_virtualPedal->devicePath().isEmpty()
                             ? QString()
                             : tr("Its port is %1. Press Connect to use it.").arg(m_virtualPedal->devicePath()));
        return;
    }
    const QString program = VirtualPedalProcess::findProgram();
    if (program.isEmpty()) {
        m_dialogs.warn(QStringLiteral("The virtual pedal is not available"),
                       tr("The program virtual-pedal was found neither next to the editor, nor in the build "
                          "tree's tools folder, nor on PATH."));
        return;
    }
    statusBar()->showMessage(tr("Starting the virtual pedal…"));
    m_virtualPedal->start(program);
}

void ViewController::watchKnownSession()
{
    if (!m_pedal.serial || !m_pedal.link)
        return;
    m_known = new PedalKnownSession(*m_pedal.serial, *m_pedal.link, m_store, this);
    connect(m_known, &PedalKnownSession::changesSent, this, [this](const std::vector<int> &keys) {
        const QString seconds = transferSeconds();
        statusBar()->showMessage(
            keys.size() == 1 ? tr("Sent 1 changed key in %1 s; the pedal has this session's values.").arg(seconds)
                             : tr("Sent %1 changed keys in %2 s; the pedal has this session's values.")
                                   .arg(int(keys.size()))
                                   .arg(seconds),
            10000);
    });
    // Compare with Pedal loads through a link of its own, shown as every transfer is.
    PedalLink &load = m_known->pedalLoadLink();
    connect(&load, &PedalLink::progress, this, &ViewController::showProgress);
    connect(&load, &PedalLink::transferEnded, this, &ViewController::transferEnded);
    connect(&load, &PedalLink::transferCancelled, this,
            [this](const QString &message) { statusBar()->showMessage(message, StatusMessageMs); });
    connect(&load, &PedalLink::transferInterrupted, this,
            [this](const QString &message, const QString &informative) { m_dialogs.warn(message, informative); });
    connect(&load, &PedalLink::loadFinished, this, [this](bool complete, const QString &problem) {
        statusBar()->clearMessage();
        if (!complete) {
            m_dialogs.warn(QStringLiteral("The pedal could not be compared"),
                           tr("Not all of the pedal's session arrived:\n%1").arg(problem));
            return;
        }
        // Only what the pedal keeps can differ (the rest is this session's own).
        std::vector<SessionChange> changes;
        for (SessionChange &c : SessionDiff::compare(m_store, m_known->loadedSession()))
            if (SessionKeys::at(c.key).gated)
                changes.push_back(std::move(c));
        CompareDock::showIn(this, std::move(changes), tr("the pedal"));
    });
}

void ViewController::sendChanges()
{
    if (!m_known)
        return;
    if (!m_pedal.serial->ready() || m_pedal.link->refuseIfBusy())
        return;
    // Every send normalises the session first: a step of its own.
    const auto normalise = [this] {
        m_history.editAndShow(tr("Normalise Session"), [this] { Normaliser::normalise(m_store); });
    };
    if (!m_known->isKnown()) {
        const int answer = m_dialogs.alert(
            {QStringLiteral("The session on the pedal is not known"),
             QStringLiteral("Send Changes sends what differs from the session last sent to the pedal or loaded "
                            "from it whole on this connection, and there is none: the pedal was connected, or "
                            "a transfer was stopped, since.\nSend All sends the whole session."),
             {QStringLiteral("Send All"), QStringLiteral("Cancel")},
             QString()});
        if (answer == 0 && backupBefore(QStringLiteral("Send All"))) {
            normalise();
            m_pedal.link->startSend(SessionKeys::Page::All);
        }
        return;
    }
    normalise();
    if (m_known->changedKeys().empty()) {
        m_dialogs.inform(QStringLiteral("Nothing to send"),
                         QStringLiteral("The pedal already has every value of this session."));
        return;
    }
    QStringList lines;
    int count = 0;
    for (const SessionChange &c : SessionDiff::compare(*m_known->known(), m_store)) {
        if (!SessionKeys::at(c.key).gated)
            continue;
        if (++count <= 8)
            lines.append(c.text());
    }
    if (count > 8)
        lines.append(tr("… and %n more", nullptr, count - 8));
    if (!m_dialogs.confirm(QStringLiteral("About to send"),
                           QStringLiteral("Will send the changes to the pedal:\n%1\nPedal will indicate when finished")
                               .arg(lines.join(QLatin1Char('\n')))))
        return;
    if (!backupBefore(QStringLiteral("Send Changes")))
        return;
    m_known->sendChanges();
}

void ViewController::compareWithPedal()
{
    if (m_known && m_known->loadPedal())
        statusBar()->showMessage(tr("Loading the pedal's session to compare it with this one…"));
}

void ViewController::endWhenSafe(int status)
{
    if (!m_pedal.firmware || !m_pedal.firmware->running()) {
        Q_EMIT endRequested(status);
        return;
    }
    if (m_endPending)
        return;
    m_endPending = true;
    m_logDock->add({QDateTime::currentDateTime(), PedalLogEntry::Kind::Error,
                    tr("asked to end: the editor ends when the firmware update has finished")});
    connect(m_pedal.firmware, &FirmwareUpdater::finished, this, [this, status] { Q_EMIT endRequested(status); });
}

void ViewController::closeEvent(QCloseEvent *event)
{
    if (m_closeApproved) {
        m_closeApproved = false;
        event->accept();
        return;
    }
    // Ending the program ends the flashing tool: the pedal may be left without firmware.
    if (m_pedal.firmware && m_pedal.firmware->running()
        && m_dialogs.alert(Alert{QStringLiteral("A firmware update is running. Quitting now can leave the pedal "
                                                "without firmware."),
                                 QStringLiteral("Keep Running lets the update finish."),
                                 {QStringLiteral("Quit Anyway"), QStringLiteral("Keep Running")},
                                 QString(),
                                 Alert::Kind::Destructive})
            != 0) {
        event->ignore();
        return;
    }
    // The save panel may complete at once or later; the window closes once the file
    // has been written.
    auto insideThisClose = std::make_shared<bool>(true);
    QPointer<ViewController> self(this);
    const bool closeNow = m_session->whenChangesSettled(
        QStringLiteral("Your changes are lost if you close without saving them."), [self, insideThisClose] {
            if (*insideThisClose || !self)
                return;
            self->m_closeApproved = true;
            self->close();
        });
    *insideThisClose = false;
    event->setAccepted(closeNow);
}
