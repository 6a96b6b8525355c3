#pragma once

#include <QSortFilterProxyModel>
#include <QStringList>

// Shows folders and the files whose extension is one of a list; an empty entry in the
// list stands for files without an extension.
class OpenPanelFilter : public QSortFilterProxyModel
{
    Q_OBJECT
public:
    explicit OpenPanelFilter(const QStringList &suffixes, QObject *parent = nullptr);

    static bool accepts(const QString &fileName, bool isFolder, const QStringList &suffixes);

protected:
    bool filterAcceptsRow(int sourceRow, const QModelIndex &sourceParent) const override;

private:
    QStringList m_suffixes;
};
