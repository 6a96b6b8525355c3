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
#include <QtEndian>

const QString FirmwareUpdater::ToolName = QStringLiteral("bossac");
const QString FirmwareUpdater::ImageName = QStringLiteral("Kestil_V2.bin");
const QString FirmwareUpdater::NotFirmware = QStringLiteral("This file is not firmware for the pedal");

namespace {
// The SRAM region of an Arm Cortex-M, where its initial stack pointer lies; code lies below.
constexpr quint32 SramStart = 0x20000000;
constexpr quint32 SramLast = 0x3FFFFFFF;

QString hexWord(quint32 word)
{
    return QStringLiteral("0x%1").arg(QString::number(word, 16).toUpper().rightJustified(8, QLatin1Char('0')));
}
} // namespace

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
    if (m_running)
        m_serial.setUpdating(false);
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
        return QStringLiteral("it does not exist");
    if (!file.isFile())
        return QStringLiteral("it is not a file");
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return QStringLiteral("it cannot be read: %1").arg(f.errorString());
    const qint64 size = f.size();
    if (size == 0)
        return QStringLiteral("it is empty");
    if (size > MaxImageBytes)
        return QStringLiteral("it holds %1 bytes; a firmware image of the pedal holds at most %2")
            .arg(size)
            .arg(MaxImageBytes);
    // The vector table: the initial stack pointer, then the reset address.
    const QByteArray head = f.read(8);
    if (head.size() < 8)
        return QStringLiteral("it holds %1 bytes, too few for the vector table a firmware image starts with").arg(size);
    const quint32 stack = qFromLittleEndian<quint32>(head.constData());
    const quint32 reset = qFromLittleEndian<quint32>(head.constData() + 4);
    if (stack < SramStart || stack > SramLast)
        return QStringLiteral("its first word %1 is no stack address in RAM (%2-%3)")
            .arg(hexWord(stack), hexWord(SramStart), hexWord(SramLast));
    if ((reset & 1) == 0)
        return QStringLiteral("its reset address %1 is not Thumb code (it is even)").arg(hexWord(reset));
    if (reset >= SramStart)
        return QStringLiteral("its reset address %1 lies outside the program memory below %2")
            .arg(hexWord(reset), hexWord(SramStart));
    if (info)
        *info = ImageInfo{file.absoluteFilePath(), size, file.lastModified()};
    return QString();
}

QString FirmwareUpdater::verdict(const QString &toolName, const QString &output, bool timedOut, bool crashed,
                                 int exitCode)
{
    if (timedOut)
        return QStringLiteral("%1 did not finish within %2 minutes and was stopped.")
            .arg(toolName)
            .arg(ToolTimeoutMs / 60000);
    if (crashed)
        return QStringLiteral("%1 ended abnormally (it crashed or was killed).").arg(toolName);
    if (exitCode != 0)
        return QStringLiteral("%1 ended with exit status %2.").arg(toolName).arg(exitCode);
    if (!output.contains(QStringLiteral("bytes to flash")))
        return QStringLiteral("%1 did not report that it wrote the firmware (no \"bytes to flash\" in its output).")
            .arg(toolName);
    return QString();
}

QString FirmwareUpdater::lastLines(const QString &output, int count)
{
    QStringList lines;
    for (QString line : output.split(QLatin1Char('\n'))) {
        while (line.endsWith(QLatin1Char('\r')))
            line.chop(1);
        line = line.section(QLatin1Char('\r'), -1);
        if (!line.trimmed().isEmpty())
            lines.append(line);
    }
    return lines.mid(qMax(qsizetype(0), lines.size() - count)).join(QLatin1Char('\n'));
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
        return QStringLiteral("%1: %2.").arg(NotFirmware, problem);
    const QString tool = findTool();
    if (tool.isEmpty())
        return QStringLiteral("The flashing tool \"%1\" was not found in %2, nor on PATH.")
            .arg(ToolName, resourceDirs().join(QStringLiteral(", ")));
    const QString image = QFileInfo(imagePath).absoluteFilePath();
    Diagnostics::line(QStringLiteral("bossacPath: ") + tool);
    Diagnostics::line(QStringLiteral("binPath: ") + image);
    m_serial.log(PedalLogEntry::Kind::Port, QStringLiteral("firmware update with %1 by %2").arg(image, tool));

    m_running = true;
    m_serial.setUpdating(true);
    m_serial.closePort();
    // A failure found from here on is told once the caller has heard that the update started.
    const auto endSoon = [this](const QString &details) {
        const quint64 id = ++m_runId;
        QPointer<FirmwareUpdater> self(this);
        m_scheduler.after(0, [self, id, details] {
            if (self && self->m_runId == id)
                self->end(false, details);
        });
        return QString();
    };
    const QStringList before = m_serial.listPortPaths();
    const QString touchError = m_serial.touchPort(portName, 1200);
    if (!touchError.isEmpty())
        return endSoon(QStringLiteral("The pedal could not be restarted into its boot loader: %1").arg(touchError));
    const QStringList after = m_serial.listPortPaths();
    if (after.size() < before.size()) {
        Diagnostics::line(QStringLiteral("Ports before the touch: %1; after: %2")
                              .arg(before.join(QLatin1Char(' ')), after.join(QLatin1Char(' '))));
        return endSoon(QStringLiteral("The pedal's port went away after the restart into its boot loader "
                                      "and no other port took its place.\nConnect the pedal again and retry."));
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
    m_logged = 0;
    m_timedOut = false;
    m_process = new QProcess(this);
    m_process->setProcessChannelMode(QProcess::ForwardedErrorChannel);
    connect(m_process, &QProcess::readyReadStandardOutput, this, [this] { takeOutput(false); });
    connect(m_process, &QProcess::finished, this, [this] { toolDone(); });
    connect(m_process, &QProcess::errorOccurred, this, [this](QProcess::ProcessError error) {
        if (error == QProcess::FailedToStart)
            toolDone(QStringLiteral("Could not run %1: %2").arg(m_tool, m_process->errorString()));
    });
    const quint64 id = m_runId;
    QPointer<FirmwareUpdater> self(this);
    m_scheduler.after(ToolTimeoutMs, [self, id] {
        if (self && self->m_runId == id && self->m_process) {
            Diagnostics::line(QStringLiteral("%1 did not finish in time; stopped").arg(self->m_tool));
            self->m_timedOut = true;
            self->m_process->kill();
        }
    });
    m_process->start(m_tool, m_arguments, QIODevice::ReadOnly);
}

void FirmwareUpdater::takeOutput(bool all)
{
    m_output += m_process->readAllStandardOutput();
    // Whole lines go to the pedal log as they arrive; the rest once the tool has ended.
    const qsizetype end = all ? m_output.size() : m_output.lastIndexOf('\n') + 1;
    if (end <= m_logged)
        return;
    const QString text = QString::fromUtf8(m_output.mid(m_logged, end - m_logged));
    m_logged = end;
    const QString name = QFileInfo(m_tool).fileName();
    for (const QString &line : lastLines(text, int(text.size()) + 1).split(QLatin1Char('\n'), Qt::SkipEmptyParts))
        m_serial.log(PedalLogEntry::Kind::Port, QStringLiteral("%1: %2").arg(name, line));
}

void FirmwareUpdater::toolDone(const QString &failedToStart)
{
    if (!m_process)
        return;
    QString failure = failedToStart;
    if (failure.isEmpty()) {
        takeOutput(true);
        failure = verdict(QFileInfo(m_tool).fileName(), QString::fromUtf8(m_output), m_timedOut,
                          m_process->exitStatus() != QProcess::NormalExit, m_process->exitCode());
    }
    QProcess *process = m_process;
    m_process = nullptr;
    process->disconnect(this);
    process->deleteLater();
    ++m_runId;

    const QString tail = lastLines(QString::fromUtf8(m_output));
    if (failure.isEmpty())
        end(true, tail);
    else
        end(false, tail.isEmpty() ? failure : failure + QStringLiteral("\n\n") + tail);
}

void FirmwareUpdater::end(bool success, const QString &details)
{
    ++m_runId;
    m_serial.log(success ? PedalLogEntry::Kind::Port : PedalLogEntry::Kind::Error,
                 success ? QStringLiteral("firmware update succeeded")
                         : QStringLiteral("firmware update failed: %1").arg(details.section(QLatin1Char('\n'), 0, 0)));
    // Whatever happened, no port is held afterwards and the pedal counts as not connected.
    m_serial.closePort();
    m_serial.forgetPort();
    m_running = false;
    m_serial.setUpdating(false);
    Q_EMIT finished(success, details);
}
