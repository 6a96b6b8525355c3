#include "PedalKnownSession.h"

#include "SerialHandler.h"

#include "format/SessionCodec.h"
#include "format/SessionDiff.h"
#include "format/SessionWriter.h"
#include "model/DataHandler.h"
#include "model/Diagnostics.h"
#include "model/SessionSnapshot.h"

#include <algorithm>

namespace {

std::unique_ptr<DataHandler> copyOf(const DataHandler &store)
{
    auto copy = std::make_unique<DataHandler>();
    SessionSnapshot::of(store).restoreInto(*copy);
    return copy;
}

// The keys that travel to the pedal: those of Send All.
const std::vector<int> &pedalKeys()
{
    static const std::vector<int> keys = SessionKeys::keysOfPage(SessionKeys::Page::All);
    return keys;
}

} // namespace

PedalKnownSession::PedalKnownSession(SerialHandler &serial, PedalLink &link, DataHandler &store, QObject *parent)
    : QObject(parent), m_serial(serial), m_link(link), m_store(store), m_loaded(std::make_unique<DataHandler>())
{
    m_loadLink = std::make_unique<PedalLink>(serial, *m_loaded, serial.scheduler());
    m_loadLink->setLoadTimeout(link.loadTimeout());
    m_link.sharePortWith(*m_loadLink);

    connect(&m_link, &PedalLink::sendStarted, this, &PedalKnownSession::sendStarted);
    connect(&m_link, &PedalLink::transferEnded, this, &PedalKnownSession::transferEnded);
    connect(&m_link, &PedalLink::loadCompleted, this, &PedalKnownSession::loadCompleted);
    connect(&m_link, &PedalLink::factoryResetSent, this, [this] {
        m_known = std::make_unique<DataHandler>();
        Diagnostics::line(QStringLiteral("The pedal holds the factory session"));
        Q_EMIT knownChanged(true);
    });
    for (PedalLink *l : {&m_link, m_loadLink.get()}) {
        connect(l, &PedalLink::transferInterrupted, this, [this](const QString &message, const QString &) {
            m_sending.reset();
            forget(message);
        });
        // A cancelled transfer leaves the pedal as an interrupted one does.
        connect(l, &PedalLink::transferCancelled, this, [this](const QString &message) {
            m_sending.reset();
            forget(message);
        });
    }
    connect(m_loadLink.get(), &PedalLink::loadCompleted, this, [this](PedalLink::Load load) {
        if (load == PedalLink::Load::All)
            setKnown(*m_loaded);
    });
    connect(&m_serial, &SerialHandler::portLost, this, [this](const QString &message) { forget(message); });
    connect(&m_serial, &SerialHandler::portNameChanged, this,
            [this](const QString &name) { forget(QStringLiteral("the port is now %1").arg(name)); });
}

PedalKnownSession::~PedalKnownSession() = default;

void PedalKnownSession::setKnown(const DataHandler &session)
{
    if (&session != m_known.get())
        m_known = copyOf(session);
    Q_EMIT knownChanged(true);
}

void PedalKnownSession::forget(const QString &why)
{
    if (!m_known)
        return;
    m_known.reset();
    Diagnostics::line(QStringLiteral("The session on the pedal is no longer known: %1").arg(why));
    Q_EMIT knownChanged(false);
}

std::vector<int> PedalKnownSession::changedKeys() const
{
    std::vector<int> keys;
    if (!m_known)
        return keys;
    for (int k : SessionDiff::changedKeys(*m_known, m_store))
        if (SessionKeys::at(k).gated)
            keys.push_back(k);
    return keys;
}

PedalKnownSession::Outcome PedalKnownSession::sendChanges()
{
    if (m_link.refuseIfBusy())
        return Outcome::NotStarted;
    if (!m_known)
        return Outcome::NothingKnown;
    const std::vector<int> keys = changedKeys();
    if (keys.empty())
        return Outcome::NothingChanged;
    SessionWriter &writer = m_link.writer();
    writer.setAllKeyFlags(false);
    for (int k : keys)
        writer.setKeyFlag(k, true);
    m_sendingChanges = true;
    const bool started = m_link.sendSelection();
    if (!started)
        m_sendingChanges = false;
    return started ? Outcome::Started : Outcome::NotStarted;
}

bool PedalKnownSession::loadPedal()
{
    if (!m_serial.ready() || m_link.refuseIfBusy())
        return false;
    // What the pedal does not keep is the editor's, so only the pedal's keys can differ.
    SessionSnapshot::of(m_store).restoreInto(*m_loaded);
    return m_loadLink->startLoad(PedalLink::Load::All);
}

void PedalKnownSession::sendStarted()
{
    m_sending = copyOf(m_store);
    m_sendingKeys.clear();
    for (int k = 0; k < SessionKeys::Count; ++k)
        if (m_link.writer().keyFlag(k) && SessionKeys::at(k).gated)
            m_sendingKeys.push_back(k);
}

void PedalKnownSession::transferEnded()
{
    // An interrupted send has already been dropped (transferInterrupted comes first).
    const bool changes = std::exchange(m_sendingChanges, false);
    if (!m_sending)
        return;
    const std::unique_ptr<DataHandler> sent = std::move(m_sending);
    const std::vector<int> keys = std::move(m_sendingKeys);
    m_sendingKeys.clear();
    if (keys == pedalKeys()) {
        setKnown(*sent);
    } else if (m_known) {
        takeKeys(*sent, keys);
    }
    if (changes && m_known)
        Q_EMIT changesSent(keys);
}

void PedalKnownSession::loadCompleted(PedalLink::Load load)
{
    if (load == PedalLink::Load::All) {
        setKnown(m_store);
        return;
    }
    if (m_known)
        takeKeys(m_store, PedalLink::keysOf(load));
}

void PedalKnownSession::takeKeys(const DataHandler &from, const std::vector<int> &keys)
{
    // Each value goes over as a session file carries it: written, then read back.
    for (int k : keys) {
        DecodedKey decoded;
        QString problem;
        const QString value = SessionWriter::value(from, k, SessionWriter::Form::File);
        if (!SessionCodec::decode(k, value, *m_known, SessionCodec::Options{}, decoded, problem)) {
            forget(QStringLiteral("the value of %1 could not be taken over (%2)")
                       .arg(QLatin1String(SessionKeys::at(k).key), problem));
            return;
        }
        SessionCodec::store(*m_known, decoded);
    }
    Q_EMIT knownChanged(true);
}
