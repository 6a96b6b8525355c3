#include "OpenPanelFilter.h"

#include <QFileInfo>
#include <QFileSystemModel>

OpenPanelFilter::OpenPanelFilter(const QStringList &suffixes, QObject *parent)
    : QSortFilterProxyModel(parent), m_suffixes(suffixes)
{}

bool OpenPanelFilter::accepts(const QString &fileName, bool isFolder, const QStringList &suffixes)
{
    if (isFolder)
        return true;
    const int dot = fileName.lastIndexOf(QLatin1Char('.'));
    // A leading dot (a hidden file such as ".profile") is not an extension.
    const QString suffix = dot > 0 ? fileName.mid(dot + 1) : QString();
    for (const QString &allowed : suffixes)
        if (suffix.compare(allowed, Qt::CaseInsensitive) == 0)
            return true;
    return false;
}

bool OpenPanelFilter::filterAcceptsRow(int sourceRow, const QModelIndex &sourceParent) const
{
    const auto *files = qobject_cast<const QFileSystemModel *>(sourceModel());
    const QModelIndex index = sourceModel()->index(sourceRow, 0, sourceParent);
    if (!files)
        return true;
    return accepts(files->fileName(index), files->isDir(index), m_suffixes);
}
