#pragma once

#include "format/SessionKeys.h"
#include "format/SessionWriter.h"

#include <QObject>
#include <QString>
#include <QStringList>

#include <memory>

class DataHandler;
class Dialogs;
class ReplyParser;
class Scheduler;
class SerialHandler;

// The pedal's command set as the window uses it: every send and load with its
// confirmation, the factory reset and the two previews. It owns the paced sends, the
// chained loads and the reply parser (fed with every reply line of the serial handler).
//
// One transfer at a time: while a send is still going out or a chained load is still
// running, another send, load, factory reset or preview is refused with an alert.
// A chained load that gets no reply for 15 seconds, or whose port goes away, is
// abandoned with an alert ("Loading stopped").
//
// Headless use (command-line tools): startSend() and startLoad() run a transfer without
// the confirmation dialog (the not-connected and busy alerts still go through the
// Dialogs given, e.g. ScriptedDialogs). Run the event loop (or advance a ManualScheduler)
// until transferEnded(); a load's outcome comes with loadFinished(). The window actions
// below are exactly these plus their confirmations.
class PedalLink : public QObject
{
    Q_OBJECT
public:
    static constexpr int PieceLength = 1024;
    static constexpr int PieceIntervalMs = 300;
    static constexpr int LoadTimeoutMs = 15000;

    enum class Load { Songs, SetJacks, All, Setlist, Midi, Global };
    // The requests of a load in writing order ("]5;", "]14;" for Songs ...). Songs,
    // Set Jacks and All are chained loads; the others are single requests.
    static QStringList requestsOf(Load load);
    static bool isChained(Load load);

    PedalLink(SerialHandler &serial, DataHandler &store, Dialogs &dialogs, Scheduler &scheduler,
              QObject *parent = nullptr);
    ~PedalLink() override;

    // Loads ("About to receive"; the connected test comes first).
    void loadSongs();
    void loadSetJacks();
    void loadAll();
    void loadSetlist();
    void loadMidi();
    void loadGlobal();

    // Sends ("About to send"; the connected test comes after "Ok").
    void sendSongs();
    void sendSetJacks();
    void sendSetlist();
    void sendMidi();
    void sendGlobal();
    void sendAll();

    // "About to factory reset", then "]4;".
    void factoryResetPedal();

    // Name preview of the song at this SongList position (the store is normalised first;
    // a negative position does nothing). Stack preview of the stack at this
    // MidiStackList position (the connected test comes first; a negative position then
    // writes nothing).
    void previewName(int songPosition);
    void previewStack(int stackPosition);

    // Without confirmation. Return whether the transfer started.
    bool startSend(SessionKeys::Page page);
    bool startLoad(Load load);
    // The send routine alone with the keys selected on writer() now (the selection is
    // cleared afterwards): no confirmation, no normalisation.
    bool sendSelection();
    // The pieces that a send of `text` writes between "]3;" and ";".
    static QStringList pieces(const QString &text);

    // A send still going out or a chained load still running.
    bool busy() const;
    bool sending() const;
    bool chainedLoadRunning() const;

    ReplyParser &parser();
    SessionWriter &writer();

Q_SIGNALS:
    // Pieces written out of all pieces of a send, or request k of n of a load.
    void progress(int done, int total, const QString &what);
    // The transfer shown by progress() has ended (finished, refused or abandoned).
    void transferEnded();
    // The store was changed by data from the pedal.
    void storeChangedByPedal();
    // A load finished (its finish alert was shown); `badLines` could not be read.
    void loadFinished(int badLines);

private:
    struct Private;
    std::unique_ptr<Private> d;
};
