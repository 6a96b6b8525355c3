#pragma once

// Helpers of the tests that run the virtual-pedal and pedal-session programs.

#include "TestFiles.h"
#include "SessionText.h"

#include "model/Normaliser.h"

#include <QProcess>
#include <QStringList>

#include <csignal>
#include <memory>

namespace vpedal {

// virtual-pedal running on its pseudo-terminal.
class PedalProcess
{
public:
    ~PedalProcess()
    {
        if (m_process && m_process->state() != QProcess::NotRunning)
            m_process->kill(), m_process->waitForFinished(5000);
    }
    // Starts it with `args` and waits for the device path on its first line.
    bool start(const QStringList &args)
    {
        m_process = std::make_unique<QProcess>();
        m_process->setProcessChannelMode(QProcess::ForwardedErrorChannel);
        m_process->start(QStringLiteral(PEDAL_BINARY_DIR "/tools/virtual-pedal/virtual-pedal"), args);
        while (!m_process->canReadLine() && m_process->waitForReadyRead(30000)) {}
        m_device = QString::fromLocal8Bit(m_process->readLine()).trimmed();
        return m_device.startsWith(QLatin1String("/dev/"));
    }
    QString device() const { return m_device; }
    qint64 pid() const { return m_process ? m_process->processId() : -1; }
    // SIGTERM, then waits for the end. Returns the exit status (-1 when it crashed).
    int stop()
    {
        if (m_process && m_process->state() != QProcess::NotRunning)
            ::kill(pid_t(m_process->processId()), SIGTERM), m_process->waitForFinished(10000);
        const bool ended = m_process && m_process->state() == QProcess::NotRunning;
        return ended && m_process->exitStatus() == QProcess::NormalExit ? m_process->exitCode() : -1;
    }

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

// Starts pedal-session with `args`; or, when they begin with "virtual-pedal", the virtual pedal.
inline void startTool(QProcess &process, QStringList args)
{
    const bool pedal = args.value(0) == QLatin1String("virtual-pedal");
    if (pedal)
        args.removeFirst();
    process.start(pedal ? QStringLiteral(PEDAL_BINARY_DIR "/tools/virtual-pedal/virtual-pedal")
                        : QStringLiteral(PEDAL_BINARY_DIR "/tools/pedal-session/pedal-session"),
                  args);
    process.waitForStarted(10000);
}

// Waits for a started pedal-session to end (killing it after 60 s) and collects its result.
inline ToolResult finishTool(QProcess &process)
{
    if (!process.waitForFinished(60000)) {
        process.kill();
        process.waitForFinished(5000);
        return {-1, {}, "pedal-session did not finish"};
    }
    return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1, process.readAllStandardOutput(),
            process.readAllStandardError()};
}

inline ToolResult runTool(const QStringList &args)
{
    QProcess process;
    startTool(process, args);
    return finishTool(process);
}

// A file opened as the editor's Open does.
inline bool openSessionFile(DataHandler &store, const QString &path, bool legacyAccepted = false)
{
    SessionReader reader;
    reader.setLegacyAccepted(legacyAccepted);
    if (reader.readFile(path, store) != SessionReader::Status::Read)
        return false;
    reader.apply(store);
    Normaliser::normalise(store);
    return true;
}

} // namespace vpedal
