#include "FirmwareUpdater.h"

#include "Scheduler.h"
#include "SerialHandler.h"

#include "model/Diagnostics.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QPointer>
#include <QProcess>
#include <QStandardPaths>

const QString FirmwareUpdater::ToolName = QStringLiteral("bossac");
const QString FirmwareUpdater::ImageName = QStringLiteral("Kestil_V2.bin");

FirmwareUpdater::FirmwareUpdater(SerialHandler &serial, Scheduler &scheduler, QObject *parent)
    : QObject(parent), m_serial(serial), m_scheduler(scheduler)
{}

FirmwareUpdater::~FirmwareUpdater()
{
    if (m_process) {
        m_process->disconnect(this);
        m_process->kill();
        m_process->waitForFinished(2000);
    }
}

QStringList FirmwareUpdater::resourceDirs()
{
    const QString overridden = qEnvironmentVariable("PEDAL_RESOURCES_DIR");
    if (!overridden.isEmpty())
        return {QDir::cleanPath(overridden)};
    const QString exeDir = QCoreApplication::applicationDirPath();
    return {QDir::cleanPath(exeDir + QStringLiteral("/../share/pedal-editor")),
            QDir::cleanPath(exeDir + QStringLiteral("/resources"))};
}

QString FirmwareUpdater::findTool()
{
    for (const QString &dir : resourceDirs()) {
        const QFileInfo info(dir + QLatin1Char('/') + ToolName);
        if (info.isFile() && info.isExecutable())
            return info.absoluteFilePath();
    }
    return QStandardPaths::findExecutable(ToolName);
}

QString FirmwareUpdater::findImage()
{
    for (const QString &dir : resourceDirs()) {
        const QFileInfo info(dir + QLatin1Char('/') + ImageName);
        if (info.isFile() && info.isReadable())
            return info.absoluteFilePath();
    }
    return QString();
}

QString FirmwareUpdater::dropFirst(const QString &text, int k)
{
    if (text.size() < k)
        return QStringLiteral("**STRING TOO SHORT");
    return text.mid(k);
}

QString FirmwareUpdater::bootLoaderPort(const QString &portName, const QStringList &before, const QStringList &after)
{
    QString port = portName;
    for (qsizetype i = 0; i < before.size() && i < after.size(); ++i)
        if (after.at(i) != before.at(i))
            port = after.at(i);
    return port;
}

QString FirmwareUpdater::toolPortArgument(const QString &devicePath)
{
    QString arg = dropFirst(devicePath, 5);
    arg.replace(QStringLiteral("cu."), QStringLiteral("tty."));
    return arg;
}

QStringList FirmwareUpdater::toolArguments(const QString &portArgument, const QString &imagePath)
{
    return {QStringLiteral("--port=") + portArgument,
            QStringLiteral("-U"),
            QStringLiteral("true"),
            QStringLiteral("-e"),
            QStringLiteral("-w"),
            QStringLiteral("-v"),
            QStringLiteral("-b"),
            imagePath,
            QStringLiteral("-R")};
}

QString FirmwareUpdater::checkImage(const QString &path, ImageInfo *info)
{
    const QFileInfo file(path);
    if (!file.exists())
        return QStringLiteral("%1 does not exist.").arg(path);
    if (!file.isFile())
        return QStringLiteral("%1 is not a file.").arg(path);
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return QStringLiteral("%1 cannot be read: %2").arg(path, f.errorString());
    const qint64 size = f.size();
    if (size == 0)
        return QStringLiteral("%1 is empty.").arg(path);
    if (size > MaxImageBytes)
        return QStringLiteral("%1 holds %2 bytes; a firmware image of the pedal holds at most %3.")
            .arg(path)
            .arg(size)
            .arg(MaxImageBytes);
    if (info)
        *info = ImageInfo{file.absoluteFilePath(), size, file.lastModified()};
    return QString();
}

QString FirmwareUpdater::start(const QString &imagePath, const QString &port)
{
    if (m_running)
        return QStringLiteral("A firmware update is running; wait until it has finished.");
    const QString portName = port.isEmpty() ? m_serial.portName() : port;
    if (port.isEmpty() && !m_serial.isConnected())
        return QStringLiteral("No pedal is connected.");
    // Everything must be in order before the pedal is touched.
    const QString problem = checkImage(imagePath);
    if (!problem.isEmpty())
        return problem;
    const QString tool = findTool();
    if (tool.isEmpty())
        return QStringLiteral("The flashing tool \"%1\" was not found in %2, nor on PATH.")
            .arg(ToolName, resourceDirs().join(QStringLiteral(", ")));
    const QString image = QFileInfo(imagePath).absoluteFilePath();
    Diagnostics::line(QStringLiteral("bossacPath: ") + tool);
    Diagnostics::line(QStringLiteral("binPath: ") + image);
    m_serial.log(PedalLogEntry::Kind::Port, QStringLiteral("firmware update with %1 by %2").arg(image, tool));

    m_running = true;
    m_serial.closePort();
    const QStringList before = m_serial.listPortPaths();
    const QString touchError = m_serial.touchPort(portName, 1200);
    if (!touchError.isEmpty())
        Diagnostics::line(QStringLiteral("1200-baud touch of %1 failed: %2").arg(portName, touchError));
    const QStringList after = m_serial.listPortPaths();
    if (after.size() < before.size()) {
        Diagnostics::line(QStringLiteral("Ports before the touch: %1; after: %2")
                              .arg(before.join(QLatin1Char(' ')), after.join(QLatin1Char(' '))));
        // Told once the caller has heard that the update started.
        const quint64 id = ++m_runId;
        QPointer<FirmwareUpdater> self(this);
        m_scheduler.after(0, [self, id] {
            if (self && self->m_runId == id)
                self->end(false,
                          QStringLiteral("The pedal's port went away after the restart into its boot loader "
                                         "and no other port took its place.\nConnect the pedal again and retry."));
        });
        return QString();
    }
    const QString bootPort = bootLoaderPort(portName, before, after);
    m_tool = tool;
    m_arguments = toolArguments(toolPortArgument(bootPort), image);

    const quint64 id = ++m_runId;
    QPointer<FirmwareUpdater> self(this);
    m_scheduler.after(BootLoaderWaitMs, [self, id] {
        if (self && self->m_runId == id)
            self->runTool();
    });
    return QString();
}

void FirmwareUpdater::runTool()
{
    m_output.clear();
    m_process = new QProcess(this);
    m_process->setProcessChannelMode(QProcess::ForwardedErrorChannel);
    connect(m_process, &QProcess::readyReadStandardOutput, this,
            [this] { m_output += m_process->readAllStandardOutput(); });
    connect(m_process, &QProcess::finished, this, [this](int, QProcess::ExitStatus) {
        m_output += m_process->readAllStandardOutput();
        toolDone(QString::fromUtf8(m_output), true);
    });
    connect(m_process, &QProcess::errorOccurred, this, [this](QProcess::ProcessError error) {
        if (error == QProcess::FailedToStart)
            toolDone(QStringLiteral("Could not run %1: %2").arg(m_tool, m_process->errorString()), false);
    });
    const quint64 id = m_runId;
    QPointer<FirmwareUpdater> self(this);
    m_scheduler.after(ToolTimeoutMs, [self, id] {
        if (self && self->m_runId == id && self->m_process) {
            Diagnostics::line(QStringLiteral("%1 did not finish in time; stopped").arg(self->m_tool));
            self->m_process->kill();
        }
    });
    m_process->start(m_tool, m_arguments, QIODevice::ReadOnly);
}

void FirmwareUpdater::toolDone(const QString &output, bool started)
{
    if (!m_process)
        return;
    QProcess *process = m_process;
    m_process = nullptr;
    process->disconnect(this);
    process->deleteLater();
    ++m_runId;

    for (const QString &line : output.split(QLatin1Char('\n'), Qt::SkipEmptyParts))
        m_serial.log(PedalLogEntry::Kind::Port, QStringLiteral("%1: %2").arg(QFileInfo(m_tool).fileName(), line));
    const bool success = started && output.contains(QStringLiteral("bytes to flash"));
    end(success, output);
}

void FirmwareUpdater::end(bool success, const QString &details)
{
    ++m_runId;
    m_serial.log(success ? PedalLogEntry::Kind::Port : PedalLogEntry::Kind::Error,
                 success ? QStringLiteral("firmware update succeeded") : QStringLiteral("firmware update failed"));
    m_serial.forgetPort();
    m_running = false;
    Q_EMIT finished(success, details);
}
