#include "SessionBackups.h"

#include "Dialogs.h"
#include "RestoreBackupDialog.h"
#include "SessionActions.h"
#include "format/BackupFolder.h"

#include <QFileInfo>
#include <QLocale>

SessionBackups::SessionBackups(DataHandler &store, Dialogs &dialogs, SessionActions &session, QWidget *window)
    : QObject(window), m_store(store), m_dialogs(dialogs), m_session(session), m_window(window)
{}

bool SessionBackups::backupBefore(const QString &reason)
{
    const QString sessionName = m_session.filePath().isEmpty() ? QString() : QFileInfo(m_session.filePath()).fileName();
    BackupFolder folder;
    QString path;
    const QString problem = folder.write(m_store, reason, sessionName, &path);
    if (problem.isEmpty()) {
        Q_EMIT logged(tr("backup before %1: %2").arg(reason, path));
        return true;
    }
    return m_dialogs.confirmDestructive(
        tr("The backup could not be written"),
        tr("Before %1 the session is saved to the backups folder, and that failed:\n%2\n\n"
           "Go on without a backup?")
            .arg(tr(reason.toUtf8().constData()), problem));
}

void SessionBackups::restore()
{
    const QList<BackupFolder::Entry> entries = BackupFolder().list();
    if (entries.isEmpty()) {
        m_dialogs.inform(tr("There are no backups"),
                         tr("A backup is written before every Send All, Send Changes, firmware update and Load All, "
                            "in %1.")
                             .arg(BackupFolder::defaultFolder()));
        return;
    }
    RestoreBackupDialog dialog(entries, m_window);
    if (dialog.exec() != QDialog::Accepted)
        return;
    const BackupFolder::Entry chosen = dialog.chosen();
    if (chosen.path.isEmpty())
        return;
    m_session.openBackup(chosen.path,
                         tr("Restore Backup of %1").arg(QLocale().toString(chosen.time, QLocale::ShortFormat)));
}
