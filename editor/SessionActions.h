#pragma once

#include "SessionSnapshot.h"

#include <QObject>
#include <QString>
#include <QTimer>

#include <functional>

class DataHandler;
class Dialogs;
class SessionReader;

// Open, save and reset of the whole session, and whether the session has changes that
// are not saved. The window refreshes its pages on sessionReplaced().
class SessionActions : public QObject
{
    Q_OBJECT
public:
    SessionActions(DataHandler &store, Dialogs &dialogs, QObject *parent = nullptr);

    // Open panel → read (a damaged file is refused with an alert and changes nothing) →
    // apply → normalise → sessionReplaced. Returns whether a session was opened.
    bool open();
    // The same without the panel, for a file named on the command line.
    bool openFile(const QString &path);
    // Normalise → the file form of the whole session → the save panel. `done` is called
    // when the panel completes, with whether the file was written.
    void save(std::function<void(bool saved)> done = nullptr);
    // The full reset with its question; sessionReplaced whether or not it was confirmed.
    bool reset();

    // The session differs from what was last opened or saved (or from the factory
    // session at start).
    bool isModified() const;
    // The file last opened or saved; empty for a new session.
    QString filePath() const { return m_path; }
    // The file name shown in the window title ("Untitled" for a new session).
    QString displayName() const;

    // Something may have changed the session: re-checks the modified state once the
    // event loop turns (many calls in a row make one check).
    void sessionMayHaveChanged();
    // Takes the session as it is now as the saved one (no file).
    void markUnmodified();

Q_SIGNALS:
    // The store was replaced or reset: every page shows it again.
    void sessionReplaced();
    // The store was brought into range (before a save): the pages show it again.
    void sessionNormalised();
    // The file name or the modified state changed.
    void stateChanged();

private:
    bool finishOpen(const SessionReader &reader, int status);
    void check();

    DataHandler &m_store;
    Dialogs &m_dialogs;
    QString m_path;
    SessionSnapshot m_saved;
    bool m_modified = false;
    QTimer m_checkTimer;
};
