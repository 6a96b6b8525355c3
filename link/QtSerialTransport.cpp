#include "QtSerialTransport.h"

#include "PortAccess.h"

#include <QElapsedTimer>
#include <QFile>
#include <QSerialPort>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

namespace {
speed_t speedOf(qint32 baud)
{
    switch (baud) {
    case 1200: return B1200;
    case 2400: return B2400;
    case 4800: return B4800;
    case 19200: return B19200;
    case 38400: return B38400;
    case 57600: return B57600;
    case 115200: return B115200;
    default: return B9600;
    }
}
const QString InUse = QStringLiteral("the port is in use by another program");
// The longest a close waits for written bytes to leave.
constexpr qint64 DrainMs = 2000;

QString systemError(int code)
{
    return QString::fromLocal8Bit(std::strerror(code));
}
} // namespace

QtSerialTransport::QtSerialTransport(QObject *parent) : SerialPortTransport(parent), m_port(new QSerialPort(this))
{
    connect(m_port, &QSerialPort::readyRead, this, [this] {
        const QByteArray bytes = m_port->readAll();
        if (!bytes.isEmpty())
            Q_EMIT dataReceived(bytes);
    });
    connect(m_port, &QSerialPort::errorOccurred, this, [this](QSerialPort::SerialPortError e) { onError(int(e)); });
}

QtSerialTransport::~QtSerialTransport()
{
    // Closing here keeps the port's own destructor from reporting through our signals.
    m_port->disconnect(this);
    if (m_port->isOpen())
        m_port->close();
}

bool QtSerialTransport::open(const QString &path, const Settings &settings, QString &error)
{
    close();
    m_path = path;
    const QString device = PortAccess::devicePath(path);
    if (!PortAccess::isSerialDevice(device)) {
        error = QStringLiteral("not a serial device");
        return false;
    }
    m_configuring = true;
    m_port->setPortName(device);
    m_port->setBaudRate(settings.baudRate);
    m_port->setParity(QSerialPort::NoParity);
    m_port->setStopBits(QSerialPort::OneStop);
    // Data bits (8) and flow control (none) stay at their defaults.
    if (!m_port->open(QIODevice::ReadWrite)) {
        // The port's lock file (by name) is held by another program: the device itself
        // could be opened.
        const bool locked = m_port->error() == QSerialPort::PermissionError
            && ::access(QFile::encodeName(device).constData(), R_OK | W_OK) == 0;
        error = locked ? InUse : m_port->errorString();
        m_port->clearError();
        m_configuring = false;
        return false;
    }
    // One program at a time on the device, whatever path it was opened by: an exclusive
    // lock on the open file (the port's own lock file goes by the name only).
    if (::flock(m_port->handle(), LOCK_EX | LOCK_NB) != 0) {
        const int code = errno;
        error = code == EWOULDBLOCK
            ? InUse
            : QStringLiteral("the port cannot be locked: %1").arg(QString::fromLocal8Bit(std::strerror(code)));
        m_port->close();
        m_port->clearError();
        m_configuring = false;
        return false;
    }
    // Whatever waits from before (the rest of an earlier reply) is not ours.
    m_port->clear(QSerialPort::Input);
    m_port->clearError();
    if (settings.raiseRts && !m_port->setRequestToSend(true)) {
        // Pseudo-terminals and some adapters have no RTS line: carry on without it.
        Q_EMIT noted(QStringLiteral("%1 has no RTS line: %2").arg(path, m_port->errorString()));
        m_port->clearError();
    }
    m_configuring = false;
    return true;
}

QString QtSerialTransport::touch(const QString &path, const Settings &settings)
{
    close();
    m_path = path;
    const int fd =
        ::open(QFile::encodeName(PortAccess::devicePath(path)).constData(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return systemError(errno);
    QString error;
    termios line{};
    if (::tcgetattr(fd, &line) != 0) {
        error = systemError(errno);
    } else {
        ::cfsetispeed(&line, speedOf(settings.baudRate));
        ::cfsetospeed(&line, speedOf(settings.baudRate));
        if (::tcsetattr(fd, TCSANOW, &line) != 0)
            error = systemError(errno);
    }
    // A pseudo-terminal has no modem lines: that is not an error.
    int dtr = TIOCM_DTR;
    ::ioctl(fd, TIOCMBIC, &dtr);
    ::close(fd);
    return error;
}

bool QtSerialTransport::write(const QByteArray &bytes)
{
    if (!m_port->isOpen())
        return false;
    return m_port->write(bytes) == bytes.size();
}

void QtSerialTransport::close()
{
    // What was written goes out first (the end of an upload broken off), unless the
    // device stops taking it.
    QElapsedTimer clock;
    clock.start();
    while (m_port->isOpen() && m_port->bytesToWrite() > 0 && clock.elapsed() < DrainMs)
        if (!m_port->waitForBytesWritten(int(DrainMs - clock.elapsed())))
            break;
    if (m_port->isOpen())
        m_port->close();
    m_port->clearError();
}

bool QtSerialTransport::isOpen() const
{
    return m_port->isOpen();
}

void QtSerialTransport::onError(int error)
{
    const auto e = QSerialPort::SerialPortError(error);
    if (e == QSerialPort::NoError || m_configuring)
        return;
    const QString text = m_port->errorString();
    // The device is gone: unplugged (a resource error), hung up (a read that returns
    // nothing from a readable port is reported as a read error, again and again while
    // the port stays open), or failing every read or write. Release it, once.
    if (e == QSerialPort::ResourceError || e == QSerialPort::ReadError || e == QSerialPort::WriteError
        || e == QSerialPort::DeviceNotFoundError) {
        m_port->close();
        m_port->clearError();
        Q_EMIT removed(text);
        return;
    }
    m_port->clearError();
    Q_EMIT errorOccurred(text);
}
