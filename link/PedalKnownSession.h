#pragma once

#include "PedalLink.h"

#include <QObject>
#include <QString>

#include <memory>
#include <vector>

class DataHandler;
class SerialHandler;

// The session known to be on the pedal, kept as a session of its own beside the editor's,
// and Send Changes, which sends only the keys whose values differ from it.
//
// What is known, driven by the link's signals:
//   - a Send All that went out whole, or a Load All that brought every key: the session
//     sent or loaded (the editor's session as it was then);
//   - a page send or a page load while something is known: that page's keys as sent or
//     loaded; a Send Changes: the keys it sent;
//   - a factory reset of the pedal: the factory session;
//   - loadPedal() brought every key: the session loaded;
//   - nothing after a lost port, a transfer ended early (cancelled, interrupted, timed
//     out), a new connection or a firmware update (both change the port name), or a
//     page send or load while nothing is known.
// Only the keys that travel to the pedal count: names of stacks and messages and the
// library stay in the editor.
class PedalKnownSession : public QObject
{
    Q_OBJECT
public:
    enum class Outcome {
        Started,        // the upload of the changed keys is going out
        NothingKnown,   // nothing is known of the pedal's session: only Send All can help
        NothingChanged, // the pedal already has every value: nothing was sent
        NotStarted,     // the link refused (not connected, busy): it has said why
    };

    // `store` is the editor's session, the one `link` sends and loads.
    PedalKnownSession(SerialHandler &serial, PedalLink &link, DataHandler &store, QObject *parent = nullptr);
    ~PedalKnownSession() override;

    bool isKnown() const { return bool(m_known); }
    // The session known to be on the pedal, or null.
    const DataHandler *known() const { return m_known.get(); }
    // Takes `session` as the pedal's (e.g. a file known to have been sent).
    void setKnown(const DataHandler &session);
    void forget(const QString &why);

    // The keys that travel to the pedal whose values differ between the known session
    // and the editor's (table order); empty when nothing is known.
    std::vector<int> changedKeys() const;

    // Send Changes: one upload of the changed keys with the usual pacing, without a
    // confirmation. The caller normalises the session first, as every send does.
    Outcome sendChanges();

    // Loads the whole pedal into a session of its own (the editor's session is not
    // touched), through a second link on the same port. Returns whether the load started
    // (the link says why not). When every key arrived, the loaded session becomes the
    // one known.
    bool loadPedal();
    // The link of loadPedal(): its progress, end, interruption and loadFinished().
    PedalLink &pedalLoadLink() { return *m_loadLink; }
    // The session loadPedal() loaded into: beside what the pedal sent, the editor's
    // session as it was when the load began.
    const DataHandler &loadedSession() const { return *m_loaded; }

Q_SIGNALS:
    // What is known changed (also when it became nothing).
    void knownChanged(bool known);
    // A Send Changes went out whole: `keys` were sent and are now known.
    void changesSent(const std::vector<int> &keys);

private:
    void sendStarted();
    void transferEnded();
    void loadCompleted(PedalLink::Load load);
    // Takes these keys' values from `from` into what is known.
    void takeKeys(const DataHandler &from, const std::vector<int> &keys);

    SerialHandler &m_serial;
    PedalLink &m_link;
    DataHandler &m_store;
    std::unique_ptr<DataHandler> m_known;

    // The send under way: the session it carries and its keys.
    std::unique_ptr<DataHandler> m_sending;
    std::vector<int> m_sendingKeys;
    bool m_sendingChanges = false;

    // loadPedal(): its session and its link (whose alerts nobody shows: the window shows
    // the comparison).
    std::unique_ptr<DataHandler> m_loaded;
    std::unique_ptr<PedalLink> m_loadLink;
};
