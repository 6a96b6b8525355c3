#include "ViewController.h"
#include "Look.h"

#include "Accessibility.h"
#include "CheckDock.h"
#include "CompareDock.h"
#include "Dialogs.h"
#include "FirmwareFlow.h"
#include "PageTabs.h"
#include "PedalActions.h"
#include "PedalLogDock.h"
#include "PedalSessionFlow.h"
#include "PedalVersion.h"
#include "RecentFiles.h"
#include "SessionActions.h"
#include "SessionBackups.h"
#include "SongsPage.h"
#include "TransferStatus.h"
#include "VirtualPedalProcess.h"
#include "WheelGuard.h"
#include "WindowCommands.h"
#include "link/FirmwareUpdater.h"
#include "link/PedalKnownSession.h"
#include "link/PedalLink.h"
#include "link/SerialHandler.h"

#include <QAction>
#include <QCloseEvent>
#include <QMenuBar>
#include <QPointer>
#include <QStatusBar>
#include <QToolBar>
#include <QUndoStack>

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
    m_events.follow(m_history);
    if (pedal.link)
        m_actions = std::make_unique<PedalActions>(*pedal.link, dialogs);
    WheelGuard::install();
    m_session = new SessionActions(store, dialogs, m_history, this);
    m_backups = new SessionBackups(store, dialogs, *m_session, this);
    m_virtualPedal = new VirtualPedalProcess(this);
    m_commands = new WindowCommands(*this, this);
    m_ctx.commands = m_commands;
    // The desktop's look unless the dark one was chosen.
    if (QAction *dark = m_commands->action(CommandId::DarkLook); RecentFiles::flag(dark->objectName(), false)) {
        dark->setChecked(true);
        Look::setDark(true);
    }
    m_commands->refreshIcons();
    m_pages = new PageTabs(m_ctx, this);
    setCentralWidget(m_pages);
    buildDocksAndBars();
    followSession();
    followPedal();

    // The start: both song pages on the first song, the Songs page shown, nothing to save.
    if (m_pedal.serial) {
        m_pedal.serial->recordStartupPorts();
        m_state.PortList = m_pedal.serial->startupPorts();
    }
    m_state.SongsSongIndex = 0;
    m_state.SetJacksSongIndex = 0;
    m_pages->songs()->selectSong(0);
    m_pages->show(SessionKeys::Page::Songs);
    m_session->markUnmodified();
    updateTitle();
    m_status->updateConnection();
    updateCommandStates();
    Accessibility::nameControls(this);
    // Within the screen, at any scale.
    Accessibility::fitToScreen(this, QSize(1180, 820));
}

ViewController::~ViewController()
{
    m_dialogs.setAlertListener(nullptr);
}

void ViewController::buildDocksAndBars()
{
    QToolBar *bar = m_commands->makeCommandBar(this);
    addToolBar(Qt::TopToolBarArea, bar);
    m_logDock = new PedalLogDock(m_dialogs, this);
    addDockWidget(Qt::BottomDockWidgetArea, m_logDock);
    m_logDock->hide();
    QAction *logAction = m_logDock->toggleViewAction();
    logAction->setObjectName(QStringLiteral("pedalLogAction"));
    logAction->setText(tr("Pedal &Log"));
    QAction *commandBar = bar->toggleViewAction();
    commandBar->setObjectName(QStringLiteral("commandBarAction"));
    commandBar->setText(tr("&Command Bar"));
    m_recentMenu = new QMenu(tr("Open &Recent"), this);
    m_recentMenu->setObjectName(QStringLiteral("openRecentMenu"));
    fillRecentMenu();
    m_commands->fillMenus(menuBar(), m_recentMenu, logAction, commandBar);
    m_status = new TransferStatus(statusBar(), m_commands->action(CommandId::CancelTransfer), m_pedal.serial,
                                  m_pedal.firmware);
    m_firmware = new FirmwareFlow(
        m_dialogs, m_pedal.serial, m_pedal.link, m_pedal.firmware, *m_status,
        [this](const QString &reason) { return m_backups->backupBefore(reason); }, this);
    connect(m_firmware, &FirmwareFlow::runningChanged, this, &ViewController::updateCommandStates);
    connect(m_status, &TransferStatus::transferStateChanged, this, &ViewController::updateCommandStates);
    connect(m_firmware, &FirmwareFlow::logged, this,
            [this](const QString &line) { log(int(PedalLogEntry::Kind::Error), line); });
    connect(m_backups, &SessionBackups::logged, this,
            [this](const QString &line) { log(int(PedalLogEntry::Kind::Transfer), line); });
    // Every alert goes to the pedal log too.
    m_dialogs.setAlertListener(
        [this](const Alert &a) { m_logDock->add(PedalLogEntry::alert(a.message, a.informative)); });
}

void ViewController::followSession()
{
    connect(m_session, &SessionActions::sessionReplaced, this, &ViewController::RefreshAllPages);
    connect(m_session, &SessionActions::stateChanged, this, &ViewController::updateTitle);
    connect(m_session, &SessionActions::recentFilesChanged, this, &ViewController::fillRecentMenu);
    connect(m_session, &SessionActions::warned, this,
            [this](const QString &line) { log(int(PedalLogEntry::Kind::Error), line); });
    m_history.setPageProvider([this] { return m_pages->current(); });
    connect(&m_history, &SessionHistory::changeShown, m_pages, &PageTabs::showChange);
    // Undo and Redo record a change made outside the steps first.
    QUndoStack *stack = &m_history.undoStack();
    for (auto [id, run] :
         {std::pair{CommandId::Undo, &SessionHistory::undo}, {CommandId::Redo, &SessionHistory::redo}}) {
        QAction *a = m_commands->action(id);
        disconnect(a, &QAction::triggered, stack, nullptr);
        connect(a, &QAction::triggered, &m_history, run);
    }
    connect(m_virtualPedal, &VirtualPedalProcess::attached, this, [this](const QString &path) {
        m_status->showMessage(tr("Virtual pedal attached at %1. Press Connect to use it.").arg(path));
    });
    connect(m_virtualPedal, &VirtualPedalProcess::failed, this, [this](const QString &problem) {
        m_status->showMessage(QString());
        m_dialogs.warn(tr("The virtual pedal could not be started"), problem);
    });
}

void ViewController::followPedal()
{
    if (m_pedal.serial) {
        connect(m_pedal.serial, &SerialHandler::logged, m_logDock, &PedalLogDock::add);
        connect(m_pedal.serial, &SerialHandler::alertRaised, this, [this](const Alert &a) { m_dialogs.alert(a); });
    }
    PedalLink *link = m_pedal.link;
    if (!link)
        return;
    m_status->follow(link, true);
    // What did arrive is kept (and shown); the user is told what is missing.
    connect(link, &PedalLink::loadFinished, this, [this](bool complete, const QString &problem) {
        if (!complete)
            m_dialogs.warn(tr("The load is incomplete"),
                           tr("Not all of the data asked for arrived from the pedal:\n%1\n"
                              "What arrived has been kept; load again to get the rest.")
                               .arg(problem));
    });
    m_actions->setTransferGuard([this](const QString &operation) { return m_backups->backupBefore(operation); });
    connect(link, &PedalLink::alertRaised, this, [this](const Alert &a) { m_dialogs.alert(a); });
    // What a load brings is one step, taken when the transfer has ended.
    connect(link, &PedalLink::storeChangedByPedal, &m_history, &SessionHistory::changedOutside);
    connect(link, &PedalLink::transferEnded, this, [this] {
        if (m_history.outsidePending())
            m_history.commitOutside();
        m_history.expectOutside(QString());
    });
    connect(link, &PedalLink::transferInterrupted, this,
            [this](const QString &message, const QString &informative) { m_dialogs.warn(message, informative); });
    if (!m_pedal.serial)
        return;
    m_pedalSession = new PedalSessionFlow(
        m_store, m_dialogs, m_history, *m_pedal.serial, *link, *m_status,
        [this](const QString &reason) { return m_backups->backupBefore(reason); }, this);
    m_status->setPedalStateAction(m_commands->action(CommandId::CompareWithPedal));
    // Live Updates is off and Compare on Connect on until the user chooses otherwise.
    for (CommandId id : {CommandId::LiveUpdates, CommandId::CompareOnConnect}) {
        QAction *setting = m_commands->action(id);
        setting->setChecked(RecentFiles::flag(setting->objectName(), id == CommandId::CompareOnConnect));
    }
    m_pedalSession->setLiveUpdates(m_commands->action(CommandId::LiveUpdates)->isChecked());
    connect(m_pedalSession, &PedalSessionFlow::loadAllAsked, this, [this] { loadPage(SessionKeys::Page::All); });
}

void ViewController::settingToggled(CommandId id)
{
    QAction *setting = m_commands->action(id);
    RecentFiles::setFlag(setting->objectName(), setting->isChecked());
    if (id == CommandId::DarkLook) {
        Look::setDark(setting->isChecked());
        m_commands->refreshIcons();
    }
    if (id == CommandId::LiveUpdates && m_pedalSession)
        m_pedalSession->setLiveUpdates(setting->isChecked());
}

void ViewController::showPage(SessionKeys::Page page)
{
    m_pages->show(page);
}

void ViewController::setClock(std::function<qint64()> nowMs)
{
    m_status->setClock(std::move(nowMs));
}

void ViewController::RefreshAllPages()
{
    m_pages->showSession();
}

void ViewController::updateCommandStates()
{
    m_commands->updateStates((m_pedal.link && m_pedal.link->busy()) || m_status->transferShown(),
                             m_firmware->running());
    m_recentMenu->setEnabled(!m_firmware->running());
}

void ViewController::log(int kind, const QString &line)
{
    m_logDock->add({QDateTime::currentDateTime(), PedalLogEntry::Kind(kind), line});
}

void ViewController::fillRecentMenu()
{
    RecentFiles::fillMenu(m_recentMenu, [this](const QString &path) {
        if (!refuseWhileUpdating())
            m_session->openFile(path);
    });
}

void ViewController::updateTitle()
{
    setWindowTitle(tr("%1[*] — Pedal Editor").arg(m_session->displayName()));
    setWindowModified(m_session->isModified());
}

bool ViewController::refuseWhileUpdating()
{
    return m_pedal.serial && m_pedal.serial->refuseIfUpdating();
}

void ViewController::openSession()
{
    if (!refuseWhileUpdating())
        m_session->open();
}

void ViewController::resetSession()
{
    if (!refuseWhileUpdating())
        m_session->reset();
}

void ViewController::compareWithFile()
{
    CompareDock::compareWithFile(this, m_store, m_dialogs);
}

void ViewController::checkSession()
{
    CheckDock::checkIn(this);
}

void ViewController::restoreBackup()
{
    if (!refuseWhileUpdating())
        m_backups->restore();
}

void ViewController::connectToPedal()
{
    if (!m_pedal.serial)
        return;
    // Opening the port again in the middle of a transfer would greet the pedal inside it.
    if (m_pedal.link && m_pedal.link->refuseIfBusy())
        return;
    // The connected alert runs its own event loop: the label shows the port meanwhile.
    QMetaObject::invokeMethod(m_status, &TransferStatus::updateConnection, Qt::QueuedConnection);
    m_pedal.serial->connectToPedal();
    m_status->updateConnection();
    if (m_pedalSession && m_pedal.serial->portHeld() && m_commands->action(CommandId::CompareOnConnect)->isChecked())
        m_pedalSession->compareAfterConnect();
}

void ViewController::sendPage(SessionKeys::Page page)
{
    if (!m_actions)
        return;
    m_actions->send(page);
    // A send normalises the session first: that is a step of its own.
    if (m_history.outsidePending())
        m_history.commitOutside();
    m_history.commitOutside(tr("Normalise Session"));
}

void ViewController::loadPage(SessionKeys::Page page)
{
    if (!m_actions)
        return;
    m_actions->load(PedalLink::loadOf(page));
    // The step is named by the command ("Load All") and taken when its data has arrived.
    const QAction *command =
        page == SessionKeys::Page::All ? m_commands->action(CommandId::LoadAll) : m_commands->pageActions(page)[1];
    m_history.expectOutside(command->iconText());
}

void ViewController::resetPage(SessionKeys::Page page)
{
    m_pages->reset(page);
}

void ViewController::sendChanges()
{
    if (m_pedalSession)
        m_pedalSession->sendChanges();
}

void ViewController::compareWithPedal()
{
    if (m_pedalSession)
        m_pedalSession->compareWithPedal();
}

void ViewController::factoryResetPedal()
{
    if (m_actions)
        m_actions->factoryResetPedal();
}

void ViewController::uploadFirmware()
{
    m_firmware->upload();
}

void ViewController::attachVirtualPedal()
{
    if (m_virtualPedal->running()) {
        m_dialogs.inform(tr("The virtual pedal is already attached"),
                         m_virtualPedal->devicePath().isEmpty()
                             ? QString()
                             : tr("Its port is %1. Press Connect to use it.").arg(m_virtualPedal->devicePath()));
        return;
    }
    const QString program = VirtualPedalProcess::findProgram();
    if (program.isEmpty()) {
        m_dialogs.warn(tr("The virtual pedal is not available"),
                       tr("The program virtual-pedal was found neither next to the editor, nor in the build "
                          "tree's tools folder, nor on PATH."));
        return;
    }
    m_status->showMessage(tr("Starting the virtual pedal…"));
    m_virtualPedal->start(program);
}

void ViewController::showAbout()
{
    m_dialogs.alert(
        {tr("Pedal Editor %1").arg(QStringLiteral(PEDAL_VERSION)),
         tr("Qt %1\nSession format of %2 keys").arg(QString::fromLatin1(qVersion())).arg(SessionKeys::Count),
         {tr("Ok")},
         tr("About Pedal Editor")});
}

void ViewController::cancelTransfer()
{
    if (m_pedal.link)
        m_pedal.link->cancel();
    // Compare with Pedal loads through a link of its own.
    if (m_pedalSession)
        m_pedalSession->known().pedalLoadLink().cancel();
}

void ViewController::endWhenSafe(int status)
{
    QPointer<ViewController> self(this);
    m_firmware->endWhenSafe([self, status] {
        if (self)
            Q_EMIT self->endRequested(status);
    });
}

void ViewController::closeEvent(QCloseEvent *event)
{
    if (m_closeApproved) {
        m_closeApproved = false;
        event->accept();
        return;
    }
    if (!m_firmware->mayQuit()) {
        event->ignore();
        return;
    }
    // The save panel may complete at once or later; the window closes once the file
    // has been written.
    auto insideThisClose = std::make_shared<bool>(true);
    QPointer<ViewController> self(this);
    const bool closeNow = m_session->whenChangesSettled(tr("Your changes are lost if you close without saving them."),
                                                        [self, insideThisClose] {
                                                            if (*insideThisClose || !self)
                                                                return;
                                                            self->m_closeApproved = true;
                                                            self->close();
                                                        });
    *insideThisClose = false;
    event->setAccepted(closeNow);
}
