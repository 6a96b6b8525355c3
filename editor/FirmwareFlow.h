#pragma once

#include <QObject>

#include <functional>

class Dialogs;
class FirmwareUpdater;
class PedalLink;
class SerialHandler;
class TransferStatus;

// Upload Firmware: the image shipped with the program or one the user picks (the shipped
// one is the default; without one the file panel opens at once); checked, confirmed
// (Cancel is the default), backed up, then written. While it runs the status bar counts
// its seconds, and ending the program waits for it or asks.
class FirmwareFlow : public QObject
{
    Q_OBJECT
public:
    // `backup` writes the session to the backups folder before the update (false: stop).
    FirmwareFlow(Dialogs &dialogs, SerialHandler *serial, PedalLink *link, FirmwareUpdater *firmware,
                 TransferStatus &status, std::function<bool(const QString &reason)> backup, QObject *parent);

    void upload();
    bool running() const;
    // Closing while the update runs: asks, and returns whether to quit all the same.
    bool mayQuit();
    // Calls `end` at once, or once the running update has finished (which ending now would
    // cut off); a second request while waiting is dropped.
    void endWhenSafe(std::function<void()> end);

Q_SIGNALS:
    // The update began or ended: the commands it refuses follow.
    void runningChanged();
    // A line for the Pedal Log.
    void logged(const QString &line);

private:
    // The image to write, asked for; empty when the user stopped.
    QString chooseImage();
    void countSeconds(quint64 run);

    Dialogs &m_dialogs;
    SerialHandler *m_serial;
    PedalLink *m_link;
    FirmwareUpdater *m_firmware;
    TransferStatus &m_status;
    std::function<bool(const QString &)> m_backup;
    bool m_endPending = false;
    int m_seconds = 0;
    quint64 m_run = 0; // identifies the update the status bar counts for
};
