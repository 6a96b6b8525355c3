#include "vpedal_support.h"

#include "format/SessionKeys.h"
#include "format/SessionReader.h"
#include "format/SessionWriter.h"
#include "model/Normaliser.h"

#include <QFile>

#include <csignal>

namespace vpedal {

PedalProcess::~PedalProcess()
{
    if (m_process && m_process->state() != QProcess::NotRunning) {
        m_process->kill();
        m_process->waitForFinished(5000);
    }
}

bool PedalProcess::start(const QStringList &args)
{
    m_process = std::make_unique<QProcess>();
    m_process->setProcessChannelMode(QProcess::ForwardedErrorChannel);
    m_process->start(QStringLiteral(PEDAL_BINARY_DIR "/tools/virtual-pedal/virtual-pedal"), args);
    while (!m_process->canReadLine() && m_process->waitForReadyRead(30000)) {}
    m_device = QString::fromLocal8Bit(m_process->readLine()).trimmed();
    return m_device.startsWith(QLatin1String("/dev/"));
}

int PedalProcess::stop()
{
    if (!m_process || m_process->state() == QProcess::NotRunning)
        return m_process && m_process->exitStatus() == QProcess::NormalExit ? m_process->exitCode() : -1;
    ::kill(pid_t(m_process->processId()), SIGTERM);
    if (!m_process->waitForFinished(10000))
        return -1;
    return m_process->exitStatus() == QProcess::NormalExit ? m_process->exitCode() : -1;
}

void startTool(QProcess &process, const QStringList &args)
{
    process.start(QStringLiteral(PEDAL_BINARY_DIR "/tools/pedal-session/pedal-session"), args);
    process.waitForStarted(10000);
}

ToolResult finishTool(QProcess &process)
{
    ToolResult r;
    if (!process.waitForFinished(60000)) {
        process.kill();
        process.waitForFinished(5000);
        r.err = "pedal-session did not finish";
        return r;
    }
    r.exitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    r.out = process.readAllStandardOutput();
    r.err = process.readAllStandardError();
    return r;
}

ToolResult runTool(const QStringList &args)
{
    QProcess process;
    startTool(process, args);
    return finishTool(process);
}

QByteArray fileForm(const DataHandler &store)
{
    SessionWriter writer;
    writer.setAllKeyFlags(true);
    return writer.write(store, SessionWriter::Form::File).toUtf8();
}

bool writeFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(bytes) == bytes.size();
}

bool openSessionFile(DataHandler &store, const QString &path)
{
    SessionReader reader;
    if (reader.readFile(path, store) != SessionReader::Status::Read)
        return false;
    reader.apply(store);
    Normaliser::normalise(store);
    return true;
}

QStringList differingKeys(const DataHandler &a, const DataHandler &b)
{
    QStringList keys;
    for (int k = 0; k < SessionKeys::Count; ++k)
        if (SessionKeys::at(k).gated
            && SessionWriter::value(a, k, SessionWriter::Form::Reply)
                != SessionWriter::value(b, k, SessionWriter::Form::Reply))
            keys.append(QLatin1String(SessionKeys::at(k).key));
    return keys;
}

} // namespace vpedal
