#include "RestoreBackupDialog.h"

#include <QDialogButtonBox>
#include <QHeaderView>
#include <QLocale>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

RestoreBackupDialog::RestoreBackupDialog(const QList<BackupFolder::Entry> &entries, QWidget *parent)
    : QDialog(parent), m_entries(entries)
{
    setObjectName(QStringLiteral("restoreBackupDialog"));
    setWindowTitle(tr("Restore Backup"));
    auto *layout = new QVBoxLayout(this);
    m_list = new QTreeWidget(this);
    m_list->setObjectName(QStringLiteral("backupList"));
    m_list->setRootIsDecorated(false);
    m_list->setHeaderLabels({tr("Time"), tr("Before"), tr("Session")});
    m_list->header()->setSectionResizeMode(QHeaderView::ResizeToContents);
    for (const BackupFolder::Entry &e : entries)
        new QTreeWidgetItem(m_list,
                            {QLocale().toString(e.time, QLocale::ShortFormat), e.reason,
                             e.sessionName.isEmpty() ? tr("Untitled") : e.sessionName});
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    QPushButton *restore = buttons->button(QDialogButtonBox::Ok);
    restore->setText(tr("Restore"));
    restore->setObjectName(QStringLiteral("restoreBackupButton"));
    restore->setEnabled(false);
    connect(m_list, &QTreeWidget::currentItemChanged, restore,
            [restore](QTreeWidgetItem *item) { restore->setEnabled(item != nullptr); });
    connect(m_list, &QTreeWidget::itemDoubleClicked, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(m_list);
    layout->addWidget(buttons);
    resize(640, 420);
}

BackupFolder::Entry RestoreBackupDialog::chosen() const
{
    const int row = m_list->currentItem() ? m_list->indexOfTopLevelItem(m_list->currentItem()) : -1;
    return row >= 0 && row < m_entries.size() ? m_entries.at(row) : BackupFolder::Entry();
}

void RestoreBackupDialog::select(int row)
{
    m_list->setCurrentItem(m_list->topLevelItem(row));
}
