#pragma once

#include <QObject>

#include <functional>

class DataHandler;
class Dialogs;
class PedalKnownSession;
class PedalLink;
class SerialHandler;
class SessionHistory;
class TransferStatus;
class ViewController;

// Send Changes and Compare with Pedal, both built on what is known of the session on the
// pedal: the changes from it are sent, or the pedal's session is loaded through a link of
// its own and its changes shown in the Compare dock.
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

private:
    void showComparison(bool complete, const QString &problem);

    DataHandler &m_store;
    Dialogs &m_dialogs;
    SessionHistory &m_history;
    SerialHandler &m_serial;
    PedalLink &m_link;
    TransferStatus &m_status;
    std::function<bool(const QString &)> m_backup;
    ViewController *m_window;
    PedalKnownSession *m_known;
};
