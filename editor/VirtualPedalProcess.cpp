#include "VirtualPedalProcess.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

#ifdef Q_OS_LINUX
#include <csignal>
#include <sys/prctl.h>
#include <unistd.h>
#endif

namespace {
const char *const ProgramName = "virtual-pedal";
const char *const ExtraPortsVariable = "PEDAL_EXTRA_PORTS";
} // namespace

VirtualPedalProcess::VirtualPedalProcess(QObject *parent) : QObject(parent)
{
    m_process.setProcessChannelMode(QProcess::SeparateChannels);
    m_process.setStandardErrorFile(QProcess::nullDevice());
    connect(&m_process, &QProcess::readyReadStandardOutput, this, &VirtualPedalProcess::readOutput);
    connect(&m_process, &QProcess::errorOccurred, this, [this](QProcess::ProcessError) {
        if (!m_reported) {
            m_reported = true;
            Q_EMIT failed(m_process.errorString());
        }
    });
    connect(&m_process, &QProcess::finished, this, [this](int code, QProcess::ExitStatus) {
        if (!m_reported) {
            m_reported = true;
            Q_EMIT failed(tr("The virtual pedal ended before it was ready (exit code %1).").arg(code));
        }
    });
}

VirtualPedalProcess::~VirtualPedalProcess()
{
    stop();
}

QString VirtualPedalProcess::findProgram()
{
    const QString dir = QCoreApplication::applicationDirPath();
    const QString name = QString::fromLatin1(ProgramName);
    for (const QString &candidate :
         {dir + QLatin1Char('/') + name, dir + QStringLiteral("/../tools/virtual-pedal/") + name}) {
        const QFileInfo info(candidate);
        if (info.isFile() && info.isExecutable())
            return info.canonicalFilePath();
    }
    return QStandardPaths::findExecutable(name);
}

void VirtualPedalProcess::addExtraPort(const QString &path)
{
    QStringList patterns =
        QString::fromLocal8Bit(qgetenv(ExtraPortsVariable)).split(QLatin1Char(':'), Qt::SkipEmptyParts);
    if (patterns.contains(path))
        return;
    patterns.append(path);
    qputenv(ExtraPortsVariable, patterns.join(QLatin1Char(':')).toLocal8Bit());
}

bool VirtualPedalProcess::start(const QString &program)
{
    if (m_process.state() != QProcess::NotRunning)
        return false;
    m_output.clear();
    m_devicePath.clear();
    m_reported = false;
#ifdef Q_OS_LINUX
    // The program gets SIGTERM when this process ends, even by SIGKILL or a crash; when it
    // is gone already (between the fork and here), the program does not start at all.
    const pid_t parent = ::getpid();
    m_process.setChildProcessModifier([parent] {
        ::prctl(PR_SET_PDEATHSIG, SIGTERM);
        if (::getppid() != parent)
            ::_exit(1);
    });
#endif
    m_process.start(program, {}, QIODevice::ReadOnly);
    return true;
}

bool VirtualPedalProcess::running() const
{
    return m_process.state() != QProcess::NotRunning;
}

void VirtualPedalProcess::readOutput()
{
    m_output += m_process.readAllStandardOutput();
    if (m_reported)
        return;
    const int end = int(m_output.indexOf('\n'));
    if (end < 0) {
        if (m_output.size() > 4096) {
            m_reported = true;
            Q_EMIT failed(tr("The virtual pedal did not name its device."));
        }
        return;
    }
    m_devicePath = QString::fromLocal8Bit(m_output.left(end)).trimmed();
    m_reported = true;
    if (m_devicePath.isEmpty()) {
        Q_EMIT failed(tr("The virtual pedal did not name its device."));
        return;
    }
    addExtraPort(m_devicePath);
    Q_EMIT attached(m_devicePath);
}

void VirtualPedalProcess::stop()
{
    if (m_process.state() == QProcess::NotRunning)
        return;
    m_reported = true;
    m_process.terminate();
    if (!m_process.waitForFinished(2000)) {
        m_process.kill();
        m_process.waitForFinished(1000);
    }
}
