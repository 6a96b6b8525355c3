#pragma once

// Helpers of the tests that run the virtual-pedal and pedal-session programs.

#include "model/DataHandler.h"

#include <QProcess>
#include <QString>
#include <QStringList>

#include <memory>

namespace vpedal {

// virtual-pedal running on its pseudo-terminal.
class PedalProcess
{
public:
    ~PedalProcess();
    // Starts it with `args` and waits for the device path on its first line.
    bool start(const QStringList &args);
    QString device() const { return m_device; }
    qint64 pid() const { return m_process ? m_process->processId() : -1; }
    // SIGTERM, then waits for the end. Returns the exit status (-1 when it crashed).
    int stop();

private:
    std::unique_ptr<QProcess> m_process;
    QString m_device;
};

struct ToolResult
{
    int exitCode = -1;
    QByteArray out;
    QByteArray err;
};
// Starts pedal-session with `args`.
void startTool(QProcess &process, const QStringList &args);
// Waits for a started pedal-session to end (killing it after 60 s) and collects its result.
ToolResult finishTool(QProcess &process);
ToolResult runTool(const QStringList &args);

// The file form of a store, and a file opened as the editor's Open does.
QByteArray fileForm(const DataHandler &store);
bool writeFile(const QString &path, const QByteArray &bytes);
bool openSessionFile(DataHandler &store, const QString &path);
// The keys whose data for the pedal differs between two stores: everything but stack
// names, message names and the library.
QStringList differingKeys(const DataHandler &a, const DataHandler &b);

} // namespace vpedal
