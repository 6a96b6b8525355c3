#pragma once

#include "format/SessionReader.h"

#include <QObject>
#include <QString>

#include <functional>

class DataHandler;
class Dialogs;
class SessionHistory;

// Open, save and reset of the whole session, each one step of the session history, and
// the question about unsaved changes before a session is replaced. The window refreshes
// its pages on sessionReplaced().
class SessionActions : public QObject
{
    Q_OBJECT
public:
    SessionActions(DataHandler &store, Dialogs &dialogs, SessionHistory &history, QObject *parent = nullptr);

    // With unsaved changes, asks Save / Don't Save / Cancel first. Then the open panel →
    // read (a damaged file is refused with an alert and changes nothing) → apply →
    // normalise → sessionReplaced. Returns whether a session was opened at once.
    bool open();
    // The same without the panel (a file named on the command line, a recent file).
    bool openFile(const QString &path);
    // The same for a backup: the step is named `stepText`, and the session gets no file
    // of its own (Save asks where, so the backup is never overwritten) and counts as
    // unsaved.
    bool openBackup(const QString &path, const QString &stepText);
    // Normalise → the file form of the whole session → the session's own file, or the
    // save panel when it has none. `done` is called with whether the file was written
    // (possibly later, when the panel completes).
    void save(std::function<void(bool saved)> done = nullptr);
    // The same, always through the save panel.
    void saveAs(std::function<void(bool saved)> done = nullptr);
    // The full reset. With unsaved changes the Save / Don't Save / Cancel question stands
    // for the reset's own question. sessionReplaced whether or not it was reset.
    bool reset();

    // The session differs from what was last opened or saved (its undo stack is not at
    // the clean step).
    bool isModified() const;
    // The file last opened or saved; empty for a new session.
    QString filePath() const;
    // The file name shown in the window title ("Untitled" for a new session).
    QString displayName() const;
    // Takes the session as it is now as the saved one.
    void markUnmodified();

    // Asks Save / Don't Save / Cancel when there are unsaved changes; `proceed` runs
    // (possibly later, once the save panel completed) unless the user cancelled or the
    // save failed. Returns whether `proceed` ran at once.
    bool whenChangesSettled(const QString &informative, const std::function<void()> &proceed);

    // The open panel "Open Session"; an empty path when cancelled.
    static QString chooseSessionFile(Dialogs &dialogs);
    // Reads a session file; a file of the older layout is read only after the user
    // agrees to the reader's question (Declined when the user does not).
    static SessionReader::Status readAsking(SessionReader &reader, const QString &path, Dialogs &dialogs,
                                            const DataHandler &store);
    // Saves `text` as a `txt` file (or one of `suffix`) through the save panel. A failed
    // save leaves any old file whole, is reported on the diagnostic output and shown in an
    // alert with the system's error text. `done` (optional) is called when the panel
    // completes: with the path written, or an empty path when the user cancelled or the
    // write failed.
    static void saveThroughPanel(Dialogs &dialogs, const QString &text,
                                 std::function<void(const QString &path)> done = nullptr,
                                 const QString &suffix = QStringLiteral("txt"));

Q_SIGNALS:
    // The store was replaced or reset: every page shows it again.
    void sessionReplaced();
    // The file name or the modified state changed.
    void stateChanged();
    // The list of recent files changed.
    void recentFilesChanged();
    // Something an open passed over, for the log: "FILE: line 7: unknown key Tempoz, ignored".
    void warned(const QString &line);

private:
    static QString openingInformative();
    bool openNow(const QString &path, const QString &backupStep = QString());
    bool finishOpen(const SessionReader &reader, SessionReader::Status status, const QString &backupStep = QString());
    QString prepareText();
    void saved(const QString &path, int stepWritten);

    DataHandler &m_store;
    Dialogs &m_dialogs;
    SessionHistory &m_history;
};
