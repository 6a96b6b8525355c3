#include "PtyPair.h"

#include <QCoreApplication>
#include <QElapsedTimer>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <termios.h>
#include <unistd.h>

PtyPair::PtyPair() = default;

PtyPair::~PtyPair()
{
    close();
}

bool PtyPair::open()
{
    close();
    const int fd = ::posix_openpt(O_RDWR | O_NOCTTY);
    if (fd < 0) {
        m_error = QString::fromLocal8Bit(std::strerror(errno));
        return false;
    }
    if (::grantpt(fd) != 0 || ::unlockpt(fd) != 0) {
        m_error = QString::fromLocal8Bit(std::strerror(errno));
        ::close(fd);
        return false;
    }
    const char *name = ::ptsname(fd);
    if (!name) {
        m_error = QString::fromLocal8Bit(std::strerror(errno));
        ::close(fd);
        return false;
    }
    // The master end passes bytes through untouched.
    termios tio{};
    if (::tcgetattr(fd, &tio) == 0) {
        ::cfmakeraw(&tio);
        ::tcsetattr(fd, TCSANOW, &tio);
    }
    ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) | O_NONBLOCK);
    m_master = fd;
    m_slavePath = QString::fromLocal8Bit(name);
    return true;
}

void PtyPair::close()
{
    if (m_master >= 0)
        ::close(m_master);
    m_master = -1;
}

bool PtyPair::write(const QByteArray &bytes)
{
    qsizetype done = 0;
    QElapsedTimer timer;
    timer.start();
    while (done < bytes.size() && timer.elapsed() < 5000) {
        const ssize_t n = ::write(m_master, bytes.constData() + done, size_t(bytes.size() - done));
        if (n > 0) {
            done += n;
            continue;
        }
        if (n < 0 && errno != EAGAIN && errno != EINTR)
            return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    }
    return done == bytes.size();
}

QByteArray PtyPair::readAvailable()
{
    QByteArray out;
    char buf[4096];
    for (;;) {
        const ssize_t n = ::read(m_master, buf, sizeof buf);
        if (n <= 0)
            break;
        out.append(buf, n);
    }
    return out;
}

QByteArray PtyPair::readUntil(const std::function<bool(const QByteArray &)> &done, int timeoutMs)
{
    QByteArray out;
    QElapsedTimer timer;
    timer.start();
    while (!done(out) && timer.elapsed() < timeoutMs) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
        pollfd p{m_master, POLLIN, 0};
        if (::poll(&p, 1, 5) > 0)
            out += readAvailable();
    }
    return out;
}

QByteArray PtyPair::read(int atLeast, int timeoutMs)
{
    return readUntil([atLeast](const QByteArray &b) { return b.size() >= atLeast; }, timeoutMs);
}

QByteArray PtyPair::drain(int ms)
{
    return readUntil([](const QByteArray &) { return false; }, ms);
}
