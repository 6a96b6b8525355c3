#pragma once

#include <QObject>

#include "format/SessionDiff.h"

#include <functional>
#include <vector>

class DataHandler;
class Dialogs;
class PedalKnownSession;
class PedalLink;
class SerialHandler;
class SessionHistory;
class TransferStatus;
class ViewController;

// Send Changes, Live Updates and Compare with Pedal, all built on what is known of the
// session on the pedal: the changes from it are sent (on request, or as they are made), or
// the pedal's session is loaded through a link of its own and its changes shown in the
// Compare dock. It also tells where the pedal stands against this session.
class PedalSessionFlow : public QObject
{
    Q_OBJECT
public:
    // `backup` writes the session to the backups folder before a send (false: stop).
    PedalSessionFlow(DataHandler &store, Dialogs &dialogs, SessionHistory &history, SerialHandler &serial,
                     PedalLink &link, TransferStatus &status, std::function<bool(const QString &)> backup,
                     ViewController *window);

    // Pedal ▸ Send Changes…: only what differs from the session known to be on the pedal.
    void sendChanges();
    // Pedal ▸ Compare with Pedal…: loads the pedal's session into one of its own and shows
    // the changes from this session to it.
    void compareWithPedal();
    PedalKnownSession &known() const { return *m_known; }

    // Live Updates: while on and the pedal's session is known, every change of the session
    // reaches the pedal through Send Changes once the session has been quiet for QuietMs.
    // Changes made while a transfer runs go straight after it; nothing is sent while the
    // pedal's session is unknown or a firmware update runs.
    static constexpr int QuietMs = 300;
    void setLiveUpdates(bool on);
    bool liveUpdates() const { return m_live; }

    // After Connect: once the pedal has been greeted, reads it into a scratch session, as
    // Compare with Pedal does, and says whether it matches this session, offering Send
    // Changes, Load from Pedal and Compare when it does not.
    void compareAfterConnect();

    // Where the pedal stands against this session.
    enum class PedalState { NotConnected, Unknown, Matches, Differs, Sending };
    PedalState state() const;
    // In words: "Pedal matches", "Sending 2 changes…", "3 changes not on the pedal",
    // "Pedal state unknown", "Not connected".
    QString stateText() const;

Q_SIGNALS:
    // state() or its count may have changed.
    void stateChanged();
    // The user chose Load from Pedal after the comparison on connect.
    void loadAllAsked();

private:
    void sessionChanged();
    void liveSend();
    void sendStarted();
    void showComparison(bool complete, const QString &problem);
    // The question after the comparison on connect, with the changes from this session to the pedal's.
    void askAfterConnect(std::vector<SessionChange> changes);

    DataHandler &m_store;
    Dialogs &m_dialogs;
    SessionHistory &m_history;
    SerialHandler &m_serial;
    PedalLink &m_link;
    TransferStatus &m_status;
    std::function<bool(const QString &)> m_backup;
    ViewController *m_window;
    PedalKnownSession *m_known;
    bool m_live = false;
    bool m_livePending = false;  // a change waits for the transfer running to end
    quint64 m_quiet = 0;         // counts the changes; a live send waits for the last one
    int m_sending = 0;           // the changed keys the upload running carries
    bool m_connectCheck = false; // the load running is the comparison on connect
};
