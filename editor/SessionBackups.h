#pragma once

#include <QObject>

class DataHandler;
class Dialogs;
class QWidget;
class SessionActions;

// The backups folder seen from the window: a backup of the session before every
// operation that overwrites the pedal or the session, and File ▸ Restore Backup….
class SessionBackups : public QObject
{
    Q_OBJECT
public:
    SessionBackups(DataHandler &store, Dialogs &dialogs, SessionActions &session, QWidget *window);

    // Writes the session as it is now to the backups folder before an operation that
    // overwrites the pedal or the session (`reason`: "Send All", "Send Changes",
    // "Firmware Update", "Load All"). Returns whether the operation goes on: when the
    // backup cannot be written the user is asked, and Cancel stops it.
    bool backupBefore(const QString &reason);
    // Lists the backups and opens the chosen one as Open does.
    void restore();

Q_SIGNALS:
    // A line for the Pedal Log: where a backup went.
    void logged(const QString &line);

private:
    DataHandler &m_store;
    Dialogs &m_dialogs;
    SessionActions &m_session;
    QWidget *m_window;
};
