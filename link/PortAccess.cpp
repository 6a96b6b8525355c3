#include "PortAccess.h"

#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <grp.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

QString PortAccess::devicePath(const QString &given)
{
    const QFileInfo here(given);
    if (!given.contains(QLatin1Char('/')) && !given.isEmpty() && !here.exists() && !here.isSymLink())
        return QStringLiteral("/dev/") + given;
    return here.absoluteFilePath();
}

bool PortAccess::isSerialDevice(const QString &path)
{
    struct stat info
    {};
    return ::stat(QFile::encodeName(path).constData(), &info) != 0 || S_ISCHR(info.st_mode);
}

PortAccess::DeviceFacts PortAccess::inspect(const QString &given)
{
    DeviceFacts facts;
    const QString path = devicePath(given);
    facts.notDevice = !isSerialDevice(path);
    const QByteArray name = QFile::encodeName(path);
    if (::access(name.constData(), R_OK | W_OK) != 0)
        facts.accessError = errno;
    struct stat info
    {};
    if (::stat(name.constData(), &info) != 0)
        return facts;
    long size = ::sysconf(_SC_GETGR_R_SIZE_MAX);
    std::vector<char> buffer(size_t(size > 0 ? size : 4096));
    struct group entry
    {};
    struct group *found = nullptr;
    // A long member list needs a larger buffer.
    while (::getgrgid_r(info.st_gid, &entry, buffer.data(), buffer.size(), &found) == ERANGE
           && buffer.size() < (1u << 20))
        buffer.resize(buffer.size() * 2);
    if (found && found->gr_name)
        facts.group = QString::fromLocal8Bit(found->gr_name);
    return facts;
}

QString PortAccess::openFailureText(const QString &path, const QString &systemError, const DeviceFacts &facts)
{
    if (facts.notDevice)
        return QStringLiteral("%1 is not a serial device").arg(path);
    const QString reason = systemError.isEmpty() ? QString() : QStringLiteral(" (%1)").arg(systemError);
    switch (facts.accessError) {
    case EACCES:
    case EPERM: {
        const QString head = QStringLiteral("You do not have permission to open %1%2.").arg(path, reason);
        // Joining root's group would hand out far more than the port.
        if (facts.group.isEmpty() || facts.group == QLatin1String("root"))
            return head + QStringLiteral(" Ask the administrator of this computer to give you access to it.");
        return head
            + QStringLiteral(" It belongs to the group \"%1\", and only members of that group may use it. "
                             "To join the group, run \"sudo usermod -aG %1 $USER\", then log out and log in "
                             "again (a new group counts from the next login).")
                  .arg(facts.group);
    }
    case ENOENT:
    case ENODEV:
    case ENXIO:
    case ENOTDIR:
        return QStringLiteral("%1 is not there%2. Check that the pedal is plugged in; "
                              "\"ls /dev/ttyACM*\" lists the ports it can have.")
            .arg(path, reason);
    default: return systemError.isEmpty() ? path : QStringLiteral("%1: %2").arg(path, systemError);
    }
}

QString PortAccess::describeOpenFailure(const QString &path, const QString &systemError)
{
    return openFailureText(path, systemError, inspect(path));
}
