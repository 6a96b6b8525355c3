#pragma once

// Helpers of the virtual pedal's tests: the virtual-pedal and pedal-session programs run
// as child processes, random sessions, and the comparison of what travels to the pedal.

#include "model/DataHandler.h"

#include <QProcess>
#include <QString>
#include <QStringList>

#include <memory>

namespace vpedal {

QString virtualPedalProgram();
QString sessionToolProgram();

// virtual-pedal running on its pseudo-terminal.
class PedalProcess
{
public:
    ~PedalProcess();
    // Starts it with `args` and waits for the device path on its first line.
    bool start(const QStringList &args);
    QString device() const { return m_device; }
    qint64 pid() const;
    // SIGTERM, then waits for the end. Returns the exit status (-1 when it crashed).
    int stop();

private:
    std::unique_ptr<QProcess> m_process;
    QString m_device;
};

struct ToolResult
{
    int exitCode = -1;
    QString out;
    QString err;
};
// Runs pedal-session with `args` to its end.
ToolResult runTool(const QStringList &args, int timeoutMs = 60000);
// Waits for a started pedal-session to end (killing it after `timeoutMs`) and collects its result.
ToolResult finishTool(QProcess &process, int timeoutMs);

// A session in which every value that travels to the pedal is drawn at random from what
// the session text can carry exactly (the same seed gives the same session).
void randomSession(DataHandler &store, quint32 seed);
// Writes the file form of the store; returns false when the file cannot be written.
bool writeSessionFile(const DataHandler &store, const QString &path);
// Opens a file as the editor's Open does, into `store`.
bool openSessionFile(DataHandler &store, const QString &path);

// The pedal data of a store, key by key: the value of every key that travels to the
// pedal (everything but stack names, message names and the library).
QStringList pedalData(const DataHandler &store);
// The keys whose pedal data differs (empty when the same).
QStringList differingKeys(const DataHandler &a, const DataHandler &b);

} // namespace vpedal
