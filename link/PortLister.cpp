#include "PortLister.h"

#include <QSerialPortInfo>
#include <QSet>

#include <glob.h>

PortLister::PortLister(SystemListing system) : m_system(std::move(system)) {}

QStringList PortLister::systemPorts()
{
    QStringList out;
    const auto ports = QSerialPortInfo::availablePorts();
    for (const QSerialPortInfo &info : ports)
        out.append(info.systemLocation());
    return out;
}

QStringList PortLister::extraPorts()
{
    QStringList out;
    const QString patterns = qEnvironmentVariable("PEDAL_EXTRA_PORTS");
    const auto parts = patterns.split(QLatin1Char(':'), Qt::SkipEmptyParts);
    for (const QString &pattern : parts) {
        glob_t found{};
        const QByteArray p = pattern.toLocal8Bit();
        if (::glob(p.constData(), 0, nullptr, &found) == 0) {
            for (size_t i = 0; i < found.gl_pathc; ++i)
                out.append(QString::fromLocal8Bit(found.gl_pathv[i]));
        }
        ::globfree(&found);
    }
    return out;
}

QStringList PortLister::paths()
{
    QStringList now = m_system ? m_system() : systemPorts();
    now += extraPorts();
    QSet<QString> present;
    for (const QString &path : now) {
        if (!present.contains(path) && !m_seen.contains(path))
            m_seen.append(path);
        present.insert(path);
    }
    QStringList out;
    for (const QString &path : m_seen)
        if (present.contains(path))
            out.append(path);
    return out;
}
