#include "RecentFiles.h"

#include <QDir>
#include <QFileInfo>
#include <QMenu>
#include <QSettings>

namespace RecentFiles {

namespace {
const char *const FilesKey = "recentFiles";
const char *const FolderKey = "lastFolder";
const char *const FirmwareFolderKey = "lastFirmwareFolder";

QSettings settings()
{
    return QSettings(QStringLiteral("pedal-editor"), QStringLiteral("pedal-editor"));
}
} // namespace

void fillMenu(QMenu *menu, std::function<void(const QString &)> open)
{
    menu->clear();
    const QStringList files = list();
    for (int i = 0; i < files.size(); ++i) {
        const QString path = files[i];
        QAction *a = menu->addAction(QStringLiteral("&%1 %2").arg(i + 1).arg(QFileInfo(path).fileName()));
        a->setObjectName(QStringLiteral("recentFileAction%1").arg(i + 1));
        a->setToolTip(path);
        a->setData(path);
        QObject::connect(a, &QAction::triggered, menu, [open, path] { open(path); });
    }
    menu->addSeparator();
    QAction *clearAction = menu->addAction(QObject::tr("&Clear Menu"));
    clearAction->setObjectName(QStringLiteral("clearRecentAction"));
    clearAction->setEnabled(!files.isEmpty());
    QObject::connect(clearAction, &QAction::triggered, menu, [menu, open] {
        clear();
        fillMenu(menu, open);
    });
}

bool flag(const QString &name, bool fallback)
{
    return settings().value(name, fallback).toBool();
}

void setFlag(const QString &name, bool on)
{
    settings().setValue(name, on);
}

QStringList list()
{
    QStringList files = settings().value(QLatin1String(FilesKey)).toStringList();
    files.removeAll(QString());
    return files.mid(0, Count);
}

void add(const QString &path)
{
    if (path.isEmpty())
        return;
    const QString absolute = QFileInfo(path).absoluteFilePath();
    QStringList files = list();
    files.removeAll(absolute);
    files.prepend(absolute);
    settings().setValue(QLatin1String(FilesKey), files.mid(0, Count));
    setLastFolder(QFileInfo(absolute).absolutePath());
}

void remove(const QString &path)
{
    QStringList files = list();
    files.removeAll(QFileInfo(path).absoluteFilePath());
    files.removeAll(path);
    settings().setValue(QLatin1String(FilesKey), files);
}

void clear()
{
    settings().remove(QLatin1String(FilesKey));
}

QString lastFolder()
{
    const QString folder = settings().value(QLatin1String(FolderKey)).toString();
    return !folder.isEmpty() && QFileInfo(folder).isDir() ? folder : QDir::homePath();
}

void setLastFolder(const QString &folder)
{
    if (!folder.isEmpty())
        settings().setValue(QLatin1String(FolderKey), folder);
}

QString lastFirmwareFolder()
{
    const QString folder = settings().value(QLatin1String(FirmwareFolderKey)).toString();
    return !folder.isEmpty() && QFileInfo(folder).isDir() ? folder : lastFolder();
}

void setLastFirmwareFolder(const QString &folder)
{
    settings().setValue(QLatin1String(FirmwareFolderKey), folder);
}

} // namespace RecentFiles
