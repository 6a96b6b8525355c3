#pragma once

#include "format/BackupFolder.h"

#include <QDialog>

class QTreeWidget;

// File ▸ Restore Backup…: the backups, newest first, with their time, reason and the
// session's file name then. "Restore" takes the one selected.
class RestoreBackupDialog : public QDialog
{
    Q_OBJECT
public:
    RestoreBackupDialog(const QList<BackupFolder::Entry> &entries, QWidget *parent = nullptr);

    // The backup chosen (valid once accepted).
    BackupFolder::Entry chosen() const;
    // Selects row `row` (0 is the newest).
    void select(int row);

private:
    QList<BackupFolder::Entry> m_entries;
    QTreeWidget *m_list = nullptr;
};
