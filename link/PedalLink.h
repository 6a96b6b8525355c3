#pragma once

#include "format/SessionKeys.h"
#include "format/SessionWriter.h"
#include "model/Alert.h"

#include <QObject>
#include <QString>
#include <QStringList>

#include <functional>
#include <memory>
#include <vector>

class DataHandler;
class ReplyParser;
class Scheduler;
class SerialHandler;

// The pedal's command set: every send and load, the factory reset and the two previews. It owns the paced sends, the
// loads and the reply parser (fed with every reply line of the serial handler).
//
// One transfer at a time: while a send is still going out or a load (single or chained)
// is waiting for its replies, another send, load, factory reset or preview is refused
// with the alert "The pedal is busy" (raised through alertRaised()); the window asks
// refuseIfBusy() before Connect and Upload Firmware as well. While a firmware update has
// the port, refuseIfBusy() refuses with the serial handler's "A firmware update is
// running" instead.
//
// How a transfer ends. Every transfer ends with transferEnded(), exactly once:
//   - a send whose last piece went out: sendCompleted(page) (the pedal got everything;
//     it shows by itself when it has applied it);
//   - a load whose last reply arrived: loadFinished(complete, problem); `complete` only
//     when every key the load asks for arrived whole and no line was lost (then also
//     loadCompleted(load)). What to tell a person about it is the caller's business;
//   - a transfer ended early, through abortTransfer(): transferInterrupted(message,
//     informative), the texts a person should read ("Sending stopped" / "Loading
//     stopped" and why). The link shows no alert for it; the window does.
//   - a transfer the user stopped, through cancel(): transferCancelled(message) ("Send
//     cancelled" / "Load cancelled"), and no alert at all.
// abortTransfer() is the one way a transfer ends early: the port lost, a load that makes
// no progress for the time-out (no new key asked for arrived), and Cancel (cancel() is
// abortTransfer() that says so). A transfer ended early leaves the pedal's session
// unknown: pedalSessionUnknown().
//
// An upload is "]3;", the text in pieces, ";" (uploadWrites()): nothing else. A send that
// ends early while the port is still open (Cancel, a time-out, a write that failed) ends
// the upload it opened with UploadEnd, a line end and ";", so that the pedal leaves its
// upload state and takes the next command as a command. What it holds of the cut text
// is at most the lines before the cut; the cut line itself is not whole.
//
// The factory reset, once written: factoryResetSent().
//
// Every transfer's start and end, and each upload piece (by its size and offset), go to
// the pedal log (SerialHandler::logged).
//
// The link asks nothing and shows nothing. What a person should be told (busy) is raised
// through alertRaised(), the not-connected alert through the serial handler's. The
// confirmations are offered as data (receiveQuestion(), sendQuestion(),
// factoryResetQuestion()): whoever starts a transfer asks them first, then calls
// startSend(), startLoad() or factoryReset(). Run the event loop (or advance a manual
// scheduler) until transferEnded().
class PedalLink : public QObject
{
    Q_OBJECT
public:
    static constexpr int PieceLength = 1024;
    static constexpr int PieceIntervalMs = 300;
    static constexpr int LoadTimeoutMs = 15000;
    static const QString UploadEnd; // "\r\n;": ends an upload broken off

    enum class Load { Songs, SetJacks, All, Setlist, Midi, Global };
    // The requests of a load in writing order ("]5;", "]14;" for Songs ...). Songs,
    // Set Jacks and All are chained loads; the others are single requests.
    static QStringList requestsOf(Load load);
    static bool isChained(Load load);
    // The page a load brings (All for Load All), and the load of a page.
    static SessionKeys::Page pageOf(Load load);
    static Load loadOf(SessionKeys::Page page);
    // The keys (table indexes) that a load asks for: those of its page that page data
    // carries.
    static std::vector<int> keysOf(Load load);

    PedalLink(SerialHandler &serial, DataHandler &store, Scheduler &scheduler, QObject *parent = nullptr);
    ~PedalLink() override;

    // The confirmations to ask before a load ("About to receive"), a page send ("About to
    // send") and the factory reset ("About to factory reset"); button 0 goes on.
    static Alert receiveQuestion(Load load);
    static Alert sendQuestion(SessionKeys::Page page);
    static Alert factoryResetQuestion();

    // Name preview of the song at this SongList position (the store is normalised first;
    // a negative position does nothing). Stack preview of the stack at this
    // MidiStackList position (the connected test comes first; a negative position then
    // writes nothing).
    void previewName(int songPosition);
    void previewStack(int stackPosition);

    // Start a transfer (no confirmation). Return whether it started; when not, the
    // not-connected or busy alert has been raised.
    bool startSend(SessionKeys::Page page);
    bool startLoad(Load load);
    // Writes the factory reset "]4;" (connected test, then busy test). Returns whether it
    // was written.
    bool factoryReset();
    // The send routine alone with the keys selected on writer() now (the selection is
    // cleared afterwards): no confirmation, no normalisation.
    bool sendSelection();
    // The writes of a send of `pedalText` (the pedal form of the session text), in order:
    // "]3;", the text with every blank as "_" in pieces of PieceLength characters, ";".
    static QStringList uploadWrites(const QString &pedalText);
    // The same writes as one text: exactly what a send of `pedalText` writes.
    static QString uploadText(const QString &pedalText);

    // Ends the running transfer now, with `reason` as the text a person reads. When the
    // port is still there, a send closes its upload with UploadEnd and a chained load with
    // "]12;"; nothing else is written for it. Does nothing when no transfer runs.
    void abortTransfer(const QString &reason);

    // Stops the running send or load as the user asked: abortTransfer() with
    // transferCancelled() in place of transferInterrupted(). Returns false when no
    // transfer runs.
    bool cancel();

    // A load makes no progress for this long: it is abandoned (15 s unless set).
    void setLoadTimeout(int ms);
    int loadTimeout() const;

    // A transfer is running: a send still going out or a load waiting for replies.
    bool busy() const;
    // When busy, raises "The pedal is busy" and returns true.
    bool refuseIfBusy();
    // Connected and a port held; when not, the serial handler raises the not-connected
    // alert and this returns false.
    bool ready();
    // Connected and a port held (nothing raised).
    bool portHeld() const;
    bool sending() const;
    bool loading() const;
    bool chainedLoadRunning() const;

    ReplyParser &parser();
    SessionWriter &writer();

    // Another link on the same serial handler (a load into a session of its own): each
    // counts the other's transfer as running on the port (busy(), refuseIfBusy()), and
    // leaves the replies to the other's load alone.
    void sharePortWith(PedalLink &other);

Q_SIGNALS:
    // Pieces written out of all pieces of a send, or request k of n of a load.
    void progress(int done, int total, const QString &what);
    // The transfer shown by progress() has ended (finished, refused or abandoned).
    void transferEnded();
    // The store was changed by data from the pedal.
    void storeChangedByPedal();
    // A load's last reply arrived. `problem` (one line) says
    // what is missing when it is not complete.
    void loadFinished(bool complete, const QString &problem);
    // A load brought every key it asks for, each whole.
    void loadCompleted(PedalLink::Load load);
    // Every byte of a page send (SessionKeys::Page::All: the whole session) went out.
    void sendCompleted(SessionKeys::Page page);
    // A send begins: its text has just been written from the store, with the keys
    // selected on writer(). While this signal runs, both still hold what the send carries.
    void sendStarted();
    // The factory reset "]4;" was written.
    void factoryResetSent();
    // The running transfer was ended early: the alert's message and informative text.
    void transferInterrupted(const QString &message, const QString &informative);
    // The running transfer was cancelled by the user: "Send cancelled" / "Load cancelled".
    void transferCancelled(const QString &message);
    // A transfer ended early (interrupted or cancelled): what the pedal holds is not known.
    void pedalSessionUnknown();
    // Something a person should be told: "The pedal is busy".
    void alertRaised(const Alert &alert);

private:
    struct Private;
    std::unique_ptr<Private> d;
};
