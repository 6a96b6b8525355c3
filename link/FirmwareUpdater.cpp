#include "FirmwareUpdater.h"

#include "Scheduler.h"
#include "SerialHandler.h"

#include "model/Diagnostics.h"
#include "model/Dialogs.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QPointer>
#include <QProcess>
#include <QStandardPaths>

const QString FirmwareUpdater::ToolName = QStringLiteral("bossac");
const QString FirmwareUpdater::ImageName = QStringLiteral("Kestil_V2.bin");

FirmwareUpdater::FirmwareUpdater(SerialHandler &serial, Dialogs &dialogs, Scheduler &scheduler,
                                 QObject *parent)
    : QObject(parent), m_serial(serial), m_dialogs(dialogs), m_scheduler(scheduler)
{
}

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

QString FirmwareUpdater::bootLoaderPort(const QString &portName, const QStringList &before,
                                        const QStringList &after)
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

void FirmwareUpdater::upload()
{
    if (m_running) {
        m_dialogs.inform(QStringLiteral("Firmware update running"),
                         QStringLiteral("Wait until the current update has finished."));
        return;
    }
    if (!m_serial.isConnected()) {
        m_dialogs.notConnected();
        return;
    }
    if (!m_dialogs.confirm(QStringLiteral("About to upload"),
                           QStringLiteral("The firmware required for this app will be uploaded to "
                                          "the pedal\nMake sure you save your old session before "
                                          "doing this")))
        return;

    // Both files must be there before the pedal is touched.
    const QString tool = findTool();
    const QString image = findImage();
    if (tool.isEmpty() || image.isEmpty()) {
        const QString places = resourceDirs().join(QStringLiteral(", "));
        QStringList missing;
        if (tool.isEmpty())
            missing.append(QStringLiteral("The flashing tool \"%1\" was not found in %2, nor on PATH.")
                               .arg(ToolName, places));
        if (image.isEmpty())
            missing.append(QStringLiteral("The firmware image \"%1\" was not found in %2.")
                               .arg(ImageName, places));
        for (const QString &line : missing)
            Diagnostics::line(line);
        m_dialogs.inform(QStringLiteral("Cannot update the firmware"), missing.join(QLatin1Char('\n')));
        return;
    }
    Diagnostics::line(QStringLiteral("bossacPath: ") + tool);
    Diagnostics::line(QStringLiteral("binPath: ") + image);

    m_running = true;
    m_serial.closePort();
    const QString portName = m_serial.portName();
    const QStringList before = m_serial.listPortPaths();
    const QString touchError = m_serial.touchPort(portName, 1200);
    if (!touchError.isEmpty())
        Diagnostics::line(QStringLiteral("1200-baud touch of %1 failed: %2").arg(portName, touchError));
    const QStringList after = m_serial.listPortPaths();
    if (after.size() < before.size()) {
        Diagnostics::line(QStringLiteral("Ports before the touch: %1; after: %2")
                              .arg(before.join(QLatin1Char(' ')), after.join(QLatin1Char(' '))));
        m_dialogs.inform(QStringLiteral("Upload Failed:"),
                         QStringLiteral("The pedal's port went away after the restart into its boot "
                                        "loader and no other port took its place.\nConnect the "
                                        "pedal again and retry."));
        end(false);
        return;
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

    const bool success = started && output.contains(QStringLiteral("bytes to flash"));
    if (success)
        m_dialogs.inform(QStringLiteral("Success!"), QString());
    else
        m_dialogs.inform(QStringLiteral("Upload Failed:"), output);
    end(success);
}

void FirmwareUpdater::end(bool success)
{
    m_serial.forgetPort();
    m_running = false;
    Q_EMIT finished(success);
}
