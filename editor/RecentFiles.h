#pragma once

#include <QString>
#include <QStringList>

// What the editor keeps between runs (in the user's settings): the session files last
// opened or saved, newest first, and the folder the last file panel ended in.
namespace RecentFiles {
constexpr int Count = 8;

QStringList list();
// Puts `path` first (once), keeps the newest Count and takes its folder as the last one.
void add(const QString &path);
void remove(const QString &path);
void clear();

// The folder a file panel starts in: the last one used, else the home folder.
QString lastFolder();
void setLastFolder(const QString &folder);
// The folder the last firmware image was chosen in (else the last folder).
QString lastFirmwareFolder();
void setLastFirmwareFolder(const QString &folder);
} // namespace RecentFiles
