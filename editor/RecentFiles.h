#pragma once

#include <QString>
#include <QStringList>

#include <functional>

// What the editor keeps between runs (in the user's settings): the session files last
// opened or saved, newest first, and the folder the last file panel ended in.
class QMenu;

namespace RecentFiles {
constexpr int Count = 8;

QStringList list();
// Puts `path` first (once), keeps the newest Count and takes its folder as the last one.
void add(const QString &path);
void remove(const QString &path);
void clear();
// A setting turned on or off (a checkable command, by its name), with its value when
// it was never set.
bool flag(const QString &name, bool fallback);
void setFlag(const QString &name, bool on);
// Fills File ▸ Open Recent: each file ("&1 name", its path as the tip) opened by `open`,
// then Clear Menu.
void fillMenu(QMenu *menu, std::function<void(const QString &path)> open);

// The folder a file panel starts in: the last one used, else the home folder.
QString lastFolder();
void setLastFolder(const QString &folder);
// The folder the last firmware image was chosen in (else the last folder).
QString lastFirmwareFolder();
void setLastFirmwareFolder(const QString &folder);
} // namespace RecentFiles
