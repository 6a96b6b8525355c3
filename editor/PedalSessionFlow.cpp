#include "PedalSessionFlow.h"
#include "Look.h"

#include "CompareDock.h"
#include "Dialogs.h"
#include "SessionHistory.h"
#include "TransferStatus.h"
#include "format/SessionDiff.h"
#include "link/PedalKnownSession.h"
#include "link/PedalLink.h"
#include "link/SerialHandler.h"
#include "model/DataHandler.h"
#include "model/Normaliser.h"

#include "link/Scheduler.h"

#include <QColor>
#include <QPointer>

#include <algorithm>
#include <utility>

#include "ViewController.h"

PedalSessionFlow::PedalSessionFlow(DataHandler &store, Dialogs &dialogs, SessionHistory &history, SerialHandler &serial,
                                   PedalLink &link, TransferStatus &status, std::function<bool(const QString &)> backup,
                                   ViewController *window)
    : QObject(window),
      m_store(store),
      m_dialogs(dialogs),
      m_history(history),
      m_serial(serial),
      m_link(link),
      m_status(status),
      m_backup(std::move(backup)),
      m_window(window),
      m_known(new PedalKnownSession(serial, link, store, this))
{
    connect(m_known, &PedalKnownSession::changesSent, this, [this](const std::vector<int> &keys) {
        const QString seconds = m_status.transferSeconds();
        m_status.showMessage(keys.size() == 1
                                 ? tr("Sent 1 changed key in %1 s; the pedal has this session's values.").arg(seconds)
                                 : tr("Sent %1 changed keys in %2 s; the pedal has this session's values.")
                                       .arg(int(keys.size()))
                                       .arg(seconds),
                             10000);
    });
    // Compare with Pedal loads through a link of its own, shown as every transfer is.
    PedalLink &load = m_known->pedalLoadLink();
    m_status.follow(&load, false);
    connect(&load, &PedalLink::transferInterrupted, this,
            [this](const QString &message, const QString &informative) { m_dialogs.warn(message, informative); });
    connect(&load, &PedalLink::loadFinished, this, &PedalSessionFlow::showComparison);

    connect(&m_history, &SessionHistory::stepTaken, this, &PedalSessionFlow::sessionChanged);
    connect(&m_history, &SessionHistory::changeShown, this, &PedalSessionFlow::sessionChanged);
    connect(m_known, &PedalKnownSession::knownChanged, this, &PedalSessionFlow::stateChanged);
    connect(&m_link, &PedalLink::sendStarted, this, &PedalSessionFlow::sendStarted);
    connect(&m_link, &PedalLink::transferEnded, this, [this] {
        m_sending = 0;
        Q_EMIT stateChanged();
        // What changed during the transfer goes straight after it.
        if (m_livePending)
            m_serial.scheduler().after(0, [self = QPointer<PedalSessionFlow>(this)] {
                if (self)
                    self->liveSend();
            });
    });
    // Queued: the port is opened after its name is set.
    connect(&m_serial, &SerialHandler::portNameChanged, this, &PedalSessionFlow::stateChanged, Qt::QueuedConnection);
    connect(&m_serial, &SerialHandler::portLost, this, &PedalSessionFlow::stateChanged);
    // The status bar shows the state, in words and with a mark of its colour.
    connect(this, &PedalSessionFlow::stateChanged, this, [this] {
        const PedalState now = state();
        m_status.showPedalState(stateText(),
                                now == PedalState::Matches       ? Look::good()
                                    : now == PedalState::Sending ? Look::busy()
                                    : now == PedalState::Differs ? Look::changed()
                                                                 : Look::neutral());
    });
    Q_EMIT stateChanged();
}

void PedalSessionFlow::setLiveUpdates(bool on)
{
    m_live = on;
    m_livePending = false;
    if (on)
        sessionChanged();
}

void PedalSessionFlow::sessionChanged()
{
    Q_EMIT stateChanged();
    if (!m_live)
        return;
    const quint64 change = ++m_quiet;
    m_serial.scheduler().after(QuietMs, [self = QPointer<PedalSessionFlow>(this), change] {
        if (self && change == self->m_quiet)
            self->liveSend();
    });
}

void PedalSessionFlow::liveSend()
{
    m_livePending = false;
    if (!m_live || !m_known->isKnown() || !m_serial.portHeld())
        return;
    if (m_link.busy() || m_serial.updating()) {
        m_livePending = true;
        return;
    }
    m_history.editAndShow(tr("Normalise Session"), [this] { Normaliser::normalise(m_store); });
    if (!m_known->changedKeys().empty())
        m_known->sendChanges();
}

void PedalSessionFlow::sendStarted()
{
    // The keys of this send that the pedal does not have yet (all of them when nothing is known).
    m_sending = 0;
    const std::vector<int> changed = m_known->changedKeys();
    for (int k = 0; k < SessionKeys::Count; ++k)
        if (m_link.writer().keyFlag(k) && SessionKeys::at(k).gated
            && (!m_known->isKnown() || std::find(changed.begin(), changed.end(), k) != changed.end()))
            ++m_sending;
    Q_EMIT stateChanged();
}

PedalSessionFlow::PedalState PedalSessionFlow::state() const
{
    if (!m_serial.isConnected() || !m_serial.portHeld())
        return PedalState::NotConnected;
    if (m_sending > 0) // from the start of a send to its end
        return PedalState::Sending;
    if (!m_known->isKnown())
        return PedalState::Unknown;
    return m_known->changedKeys().empty() ? PedalState::Matches : PedalState::Differs;
}

QString PedalSessionFlow::stateText() const
{
    switch (state()) {
    case PedalState::NotConnected: return tr("Not connected");
    case PedalState::Unknown: return tr("Pedal state unknown");
    case PedalState::Matches: return tr("Pedal matches");
    case PedalState::Sending:
        return m_sending == 1 ? tr("Sending 1 change…") : tr("Sending %1 changes…").arg(m_sending);
    case PedalState::Differs: {
        const size_t n = m_known->changedKeys().size();
        return n == 1 ? tr("1 change not on the pedal") : tr("%1 changes not on the pedal").arg(n);
    }
    }
    return QString();
}

void PedalSessionFlow::compareAfterConnect()
{
    m_serial.scheduler().after(SerialHandler::GreetingDelayMs + 500, [self = QPointer<PedalSessionFlow>(this)] {
        if (!self || !self->m_serial.portHeld() || self->m_link.busy() || self->m_serial.updating())
            return;
        self->m_connectCheck = self->m_known->loadPedal();
        if (self->m_connectCheck)
            self->m_status.showMessage(tr("Reading the pedal to compare it with this session…"));
    });
}

void PedalSessionFlow::showComparison(bool complete, const QString &problem)
{
    m_status.showMessage(QString());
    const bool onConnect = std::exchange(m_connectCheck, false);
    if (!complete) {
        m_dialogs.warn(tr("The pedal could not be compared"),
                       tr("Not all of the pedal's session arrived:\n%1").arg(problem));
        return;
    }
    // Only what the pedal keeps can differ (the rest is this session's own).
    std::vector<SessionChange> changes =
        SessionDiff::compare(m_store, m_known->loadedSession(), SessionDiff::Keys::Pedal);
    if (!onConnect) {
        CompareDock::compareWith(m_window, m_known->loadedSession(), tr("the pedal"), true);
        return;
    }
    // Asked once the load has ended and what it brought is the session known on the pedal.
    m_serial.scheduler().after(0, [self = QPointer<PedalSessionFlow>(this), changes = std::move(changes)]() mutable {
        if (self)
            self->askAfterConnect(std::move(changes));
    });
}

void PedalSessionFlow::askAfterConnect(std::vector<SessionChange> changes)
{
    if (changes.empty()) {
        m_dialogs.inform(tr("The pedal matches this session"), QString());
        return;
    }
    const int answer = m_dialogs.alert(
        {changes.size() == 1 ? tr("The pedal differs from this session in 1 place")
                             : tr("The pedal differs from this session in %1 places").arg(changes.size()),
         tr("Send Changes gives the pedal this session's values; Load from Pedal replaces this session's with "
            "the pedal's; Compare shows each difference."),
         {tr("Send Changes"), tr("Load from Pedal"), tr("Compare"), tr("Cancel")},
         QString()});
    if (answer == 0)
        sendChanges();
    else if (answer == 1)
        Q_EMIT loadAllAsked();
    else if (answer == 2)
        CompareDock::compareWith(m_window, m_known->loadedSession(), tr("the pedal"), true);
}

void PedalSessionFlow::sendChanges()
{
    if (!m_serial.ready() || m_link.refuseIfBusy())
        return;
    // Every send normalises the session first: a step of its own.
    const auto normalise = [this] {
        m_history.editAndShow(tr("Normalise Session"), [this] { Normaliser::normalise(m_store); });
    };
    if (!m_known->isKnown()) {
        const int answer =
            m_dialogs.alert({tr("The session on the pedal is not known"),
                             tr("Send Changes sends what differs from the session last sent to the pedal or loaded "
                                "from it whole on this connection, and there is none: the pedal was connected, or "
                                "a transfer was stopped, since.\nSend All sends the whole session."),
                             {tr("Send All"), tr("Cancel")},
                             QString()});
        if (answer == 0 && m_backup(QString::fromLatin1(QT_TRANSLATE_NOOP("SessionBackups", "Send All")))) {
            normalise();
            m_link.startSend(SessionKeys::Page::All);
        }
        return;
    }
    normalise();
    if (m_known->changedKeys().empty()) {
        m_dialogs.inform(tr("Nothing to send"), tr("The pedal already has every value of this session."));
        return;
    }
    QStringList lines;
    int count = 0;
    for (const SessionChange &c : SessionDiff::compare(*m_known->known(), m_store, SessionDiff::Keys::Pedal)) {
        if (++count <= 8)
            lines.append(c.text());
    }
    if (count > 8)
        lines.append(tr("… and %n more", nullptr, count - 8));
    if (!m_dialogs.confirm(tr("About to send"),
                           tr("Will send the changes to the pedal:\n%1\nPedal will indicate when finished")
                               .arg(lines.join(QLatin1Char('\n')))))
        return;
    if (!m_backup(QString::fromLatin1(QT_TRANSLATE_NOOP("SessionBackups", "Send Changes"))))
        return;
    m_known->sendChanges();
}

void PedalSessionFlow::compareWithPedal()
{
    if (m_known->loadPedal())
        m_status.showMessage(tr("Loading the pedal's session to compare it with this one…"));
}
