#pragma once

#include <QDateTime>
#include <QList>
#include <QString>

class DataHandler;

// The folder of automatic backups: the session as the editor held it before an operation
// that overwrites the pedal or the session (Send All, Send Changes, a firmware update,
// Load All). Each backup is a session file named by its date, time, reason and the name of
// the session's file then:
//   "2024-05-01 14-03-07.412 Send All (tempos.txt).txt"
// Only the newest Keep are kept; files of other names in the folder are left alone.
// Nothing here asks or shows anything: failures come back as texts.
class BackupFolder
{
public:
    static constexpr int Keep = 100;

    struct Entry
    {
        QString path;
        QDateTime time;
        QString reason;
        QString sessionName; // empty for a session without a file
    };

    // The user's backups: <application data>/backups.
    static QString defaultFolder();

    explicit BackupFolder(const QString &folder = defaultFolder());
    QString folder() const { return m_folder; }

    // Writes the whole session in the file form, then keeps the newest Keep. Returns an
    // empty text, or why the backup could not be written (then nothing was pruned).
    // `writtenPath` receives the file's path.
    QString write(const DataHandler &store, const QString &reason, const QString &sessionName,
                  QString *writtenPath = nullptr, const QDateTime &when = QDateTime::currentDateTime());

    // The backups, newest first.
    QList<Entry> list() const;

    // Removes the oldest backups beyond `keep`. Returns an empty text, or the files that
    // could not be removed.
    QString prune(int keep = Keep) const;

    // The file name of a backup, and the entry a file name stands for (false when it is
    // not the name of a backup).
    static QString fileName(const QDateTime &when, const QString &reason, const QString &sessionName);
    static bool parse(const QString &fileName, Entry &entry);

private:
    QString m_folder;
};
