#include "PseudoTerminal.h"

#include "model/Diagnostics.h"

#include <QSocketNotifier>
#include <QTimer>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <pty.h>
#include <termios.h>
#include <unistd.h>

namespace {
QString systemError()
{
    return QString::fromLocal8Bit(std::strerror(errno));
}
// The pause between two chunks of a cut reply.
constexpr int ChunkPauseMs = 1;
// How often the line settings are looked at (a touch leaves the line at 1200 baud).
constexpr int LineWatchMs = 50;
} // namespace

PseudoTerminal::PseudoTerminal(QObject *parent) : QObject(parent)
{
    m_pause = new QTimer(this);
    m_pause->setSingleShot(true);
    m_pause->setInterval(ChunkPauseMs);
    connect(m_pause, &QTimer::timeout, this, &PseudoTerminal::writeSome);
    m_lineWatch = new QTimer(this);
    m_lineWatch->setInterval(LineWatchMs);
    connect(m_lineWatch, &QTimer::timeout, this, &PseudoTerminal::watchLine);
}

PseudoTerminal::~PseudoTerminal()
{
    delete m_readNotifier;
    delete m_writeNotifier;
    if (m_master >= 0)
        ::close(m_master);
    if (m_slave >= 0)
        ::close(m_slave);
}

bool PseudoTerminal::open(QString &error)
{
    char name[256] = {};
    if (::openpty(&m_master, &m_slave, name, nullptr, nullptr) != 0) {
        error = systemError();
        return false;
    }
    // Raw mode: no echo of what the pedal writes, no line-end translation.
    termios settings{};
    if (::tcgetattr(m_slave, &settings) == 0) {
        ::cfmakeraw(&settings);
        ::cfsetispeed(&settings, B9600);
        ::cfsetospeed(&settings, B9600);
        ::tcsetattr(m_slave, TCSANOW, &settings);
    }
    const int flags = ::fcntl(m_master, F_GETFL);
    ::fcntl(m_master, F_SETFL, flags | O_NONBLOCK);
    ::fcntl(m_master, F_SETFD, FD_CLOEXEC);
    ::fcntl(m_slave, F_SETFD, FD_CLOEXEC);
    m_path = QString::fromLocal8Bit(name);

    m_readNotifier = new QSocketNotifier(m_master, QSocketNotifier::Read);
    connect(m_readNotifier, &QSocketNotifier::activated, this, &PseudoTerminal::readAvailable);
    m_writeNotifier = new QSocketNotifier(m_master, QSocketNotifier::Write);
    m_writeNotifier->setEnabled(false);
    connect(m_writeNotifier, &QSocketNotifier::activated, this, &PseudoTerminal::writeSome);
    m_lineWatch->start();
    return true;
}

int PseudoTerminal::lineSpeed() const
{
    termios settings{};
    if (m_slave < 0 || ::tcgetattr(m_slave, &settings) != 0)
        return 0;
    switch (::cfgetospeed(&settings)) {
    case B1200: return 1200;
    case B2400: return 2400;
    case B4800: return 4800;
    case B9600: return 9600;
    case B19200: return 19200;
    case B38400: return 38400;
    case B57600: return 57600;
    case B115200: return 115200;
    default: return -1;
    }
}

void PseudoTerminal::watchLine()
{
    if (lineSpeed() != 1200)
        return;
    termios settings{};
    if (::tcgetattr(m_slave, &settings) == 0) {
        ::cfsetispeed(&settings, B9600);
        ::cfsetospeed(&settings, B9600);
        ::tcsetattr(m_slave, TCSANOW, &settings);
    }
    Q_EMIT touched();
}

void PseudoTerminal::readAvailable()
{
    char buffer[4096];
    for (;;) {
        const ssize_t n = ::read(m_master, buffer, sizeof buffer);
        if (n > 0) {
            Q_EMIT received(QByteArray(buffer, int(n)));
            continue;
        }
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0 && errno != EAGAIN && errno != EWOULDBLOCK) {
            // Should not happen while the slave stays open; do not spin on it.
            Diagnostics::line(QStringLiteral("reading the pseudo-terminal failed: %1").arg(systemError()));
            m_readNotifier->setEnabled(false);
            QTimer::singleShot(100, this, [this] { m_readNotifier->setEnabled(true); });
        }
        return;
    }
}

void PseudoTerminal::write(const QByteArray &bytes)
{
    if (bytes.isEmpty())
        return;
    const bool idle = m_out.isEmpty();
    m_out += bytes;
    if (idle && !m_pause->isActive())
        writeSome();
}

void PseudoTerminal::writeSome()
{
    m_writeNotifier->setEnabled(false);
    while (!m_out.isEmpty()) {
        if (m_chunker.cuts() && m_chunkLeft == 0)
            m_chunkLeft = m_chunker.next();
        const qsizetype want = m_chunker.cuts() ? qMin<qsizetype>(m_chunkLeft, m_out.size()) : m_out.size();
        const ssize_t n = ::write(m_master, m_out.constData(), size_t(want));
        if (n < 0) {
            if (errno == EINTR)
                continue;
            if (errno == EAGAIN || errno == EWOULDBLOCK) {
                m_writeNotifier->setEnabled(true);
                return;
            }
            Diagnostics::line(
                QStringLiteral("writing the reply failed, %1 bytes dropped: %2").arg(m_out.size()).arg(systemError()));
            m_out.clear();
            m_chunkLeft = 0;
            return;
        }
        m_out.remove(0, n);
        if (m_chunker.cuts()) {
            m_chunkLeft -= int(n);
            if (m_chunkLeft == 0 && !m_out.isEmpty()) {
                m_pause->start();
                return;
            }
        }
    }
    m_chunkLeft = 0;
}
