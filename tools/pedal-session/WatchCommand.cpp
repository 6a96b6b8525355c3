#include "WatchCommand.h"

#include "SessionTool.h"
#include "TransferConnection.h"

#include "format/SessionKeys.h"
#include "link/PedalKnownSession.h"
#include "link/PedalLink.h"
#include "model/DataHandler.h"
#include "model/Diagnostics.h"
#include "model/SessionSnapshot.h"

#include <QCommandLineParser>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QFileSystemWatcher>
#include <QTimer>

#include <cstdio>
#include <memory>

namespace {

using SessionTool::err;
using Transfer::printAlerts;

enum Exit { Failed = 1, Usage = 2 };

// The saves of one moment (a write in several parts, a temporary file renamed over the
// file, two saves in a row) are read once, when they have been quiet this long.
constexpr int QuietMs = 200;

// One line of the command's result on standard output, at once.
void say(const QString &line)
{
    std::fputs((line + QLatin1Char('\n')).toLocal8Bit().constData(), stdout);
    std::fflush(stdout);
}

class Watch
{
public:
    Watch(const QString &file, const QString &port, int timeoutMs, bool acceptLegacy)
        : m_file(file), m_port(port), m_timeoutMs(timeoutMs), m_acceptLegacy(acceptLegacy)
    {
        m_quiet.setSingleShot(true);
        m_quiet.setInterval(QuietMs);
        QObject::connect(&m_quiet, &QTimer::timeout, [this] { readSave(); });
        m_guard.setSingleShot(true);
        QObject::connect(&m_guard, &QTimer::timeout,
                         [this] { m_link->abortTransfer(QStringLiteral("The port stopped taking data.")); });
    }

    // Reads FILE, and BASE when given; false after the line that says why.
    bool readFiles(const QString &base)
    {
        m_lastBytes = fileBytes();
        if (!SessionTool::openInto(m_store, m_file, m_acceptLegacy))
            return false;
        if (base.isEmpty())
            return true;
        m_base = std::make_unique<DataHandler>();
        return SessionTool::openInto(*m_base, base, m_acceptLegacy);
    }

    // Connects, makes the first upload and watches FILE until the end. Returns the status.
    int run(const QString &log)
    {
        if (!m_connection.openLog(log))
            return Failed;
        m_connection.keepDiagnosticsInLog();
        if (!m_connection.open(m_port, true))
            return Failed;
        if (const int status = m_connection.stopStatus(nullptr, stoppedWhat()); status >= 0)
            return status;
        makeLink();
        watchFile();
        if (m_base) {
            m_known->setKnown(*m_base);
            sendChanges();
        } else if (m_link->startSend(SessionKeys::Page::All)) {
            uploadStarted();
        } else {
            printAlerts(m_connection.alerts, m_connection.printed);
            return Failed;
        }
        // A save made before the watch began is read as well (the same bytes are passed over).
        m_quiet.start();
        if (m_status < 0)
            m_connection.wait(m_waiter, -1);
        if (const int status = m_connection.stopStatus(m_link.get(), stoppedWhat()); status >= 0)
            return status;
        return m_status;
    }

private:
    void makeLink()
    {
        m_link = std::make_unique<PedalLink>(m_connection.serial, m_store, m_connection.scheduler);
        m_connection.hearAlerts(*m_link);
        m_known = std::make_unique<PedalKnownSession>(m_connection.serial, *m_link, m_store);
        QObject::connect(m_link.get(), &PedalLink::progress,
                         [this](int, int total, const QString &) { m_pieces = total; });
        QObject::connect(m_link.get(), &PedalLink::sendCompleted, [this](SessionKeys::Page) { m_completed = true; });
        QObject::connect(m_known.get(), &PedalKnownSession::changesSent, [this](const std::vector<int> &keys) {
            m_sentKeys = keys;
            m_completed = true;
        });
        // After the known session's own slot: what the pedal holds is up to date here.
        QObject::connect(m_link.get(), &PedalLink::transferEnded, [this] { uploadEnded(); });
    }

    // The file, and its folder so that a file replaced by a rename, or removed and made
    // again, is found once more.
    void watchFile()
    {
        QObject::connect(&m_watcher, &QFileSystemWatcher::fileChanged, [this] { m_quiet.start(); });
        // The folder tells of every file in it: only a file no longer watched is looked for.
        QObject::connect(&m_watcher, &QFileSystemWatcher::directoryChanged, [this] {
            if (!m_watcher.files().contains(m_file))
                m_quiet.start();
        });
        m_watcher.addPath(QFileInfo(m_file).absolutePath());
        m_watcher.addPath(m_file);
    }

    QByteArray fileBytes() const
    {
        QFile f(m_file);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }

    void readSave()
    {
        if (!QFileInfo::exists(m_file))
            return; // gone for now: the folder's watch tells when it is back
        // A watch follows the file it was set on; after a rename the path names another.
        m_watcher.removePath(m_file);
        m_watcher.addPath(m_file);
        const QByteArray bytes = fileBytes();
        if (bytes == m_lastBytes)
            return;
        m_lastBytes = bytes;
        auto read = std::make_unique<DataHandler>();
        // Starts from the factory session, as send does; a file that does not read is told.
        if (!SessionTool::openInto(*read, m_file, m_acceptLegacy))
            return;
        m_next = std::move(read);
        if (!m_link->busy())
            sendNext();
    }

    // The last save read becomes the session sent.
    void sendNext()
    {
        if (!m_next)
            return;
        SessionSnapshot::of(*m_next).restoreInto(m_store);
        m_next.reset();
        sendChanges();
    }

    void sendChanges()
    {
        if (m_known->changedKeys().empty()) {
            say(QStringLiteral("no changes to send"));
            return;
        }
        if (m_known->sendChanges() != PedalKnownSession::Outcome::Started) {
            printAlerts(m_connection.alerts, m_connection.printed);
            fail(QStringLiteral("the send to %1 could not begin").arg(m_port));
            return;
        }
        uploadStarted();
    }

    void uploadStarted()
    {
        m_completed = false;
        m_sentKeys.clear();
        m_clock.start();
        // The pieces go out 0.3 s apart; the time-out only guards against a port that hangs.
        m_guard.start(m_pieces * PedalLink::PieceIntervalMs + m_timeoutMs);
    }

    void uploadEnded()
    {
        m_guard.stop();
        if (m_connection.stopped())
            return; // the signal or the port's loss ends the command
        printAlerts(m_connection.alerts, m_connection.printed);
        if (!m_completed || !m_connection.drain(m_timeoutMs)) {
            fail(QStringLiteral("the send to %1 did not finish: the port stopped taking data").arg(m_port));
            return;
        }
        const QString seconds = QString::number(double(m_clock.elapsed()) / 1000, 'f', 1);
        if (m_sentKeys.empty()) {
            say(QStringLiteral("sent all pages in %1 s").arg(seconds));
        } else {
            QStringList names;
            for (int k : m_sentKeys)
                names.append(QString::fromLatin1(SessionKeys::at(k).key));
            say(QStringLiteral("sent %1 (%2) in %3 s")
                    .arg(Diagnostics::counted(qint64(m_sentKeys.size()), "key", "keys"),
                         names.join(QStringLiteral(", ")), seconds));
        }
        sendNext();
    }

    void fail(const QString &why)
    {
        err(why);
        m_status = Failed;
        m_waiter.quit();
    }

    // What a signal or the port's loss leaves undone.
    QString stoppedWhat() const
    {
        if (m_link && m_link->busy())
            return QStringLiteral("the send to %1 was not finished: the pedal did not get everything; send again")
                .arg(m_port);
        if (m_next || (m_quiet.isActive() && fileBytes() != m_lastBytes))
            return QStringLiteral("the last save of %1 was not sent").arg(m_file);
        return QStringLiteral("every save of %1 that could be read was sent").arg(m_file);
    }

    const QString m_file;
    const QString m_port;
    const int m_timeoutMs;
    const bool m_acceptLegacy;
    int m_status = -1;

    DataHandler m_store;                 // what is being sent, then what was sent last
    std::unique_ptr<DataHandler> m_base; // --base
    std::unique_ptr<DataHandler> m_next; // a save read while an upload ran
    QByteArray m_lastBytes;              // of the last save read

    Transfer::Connection m_connection;
    std::unique_ptr<PedalLink> m_link;
    std::unique_ptr<PedalKnownSession> m_known;
    Transfer::Waiter m_waiter;
    QFileSystemWatcher m_watcher;
    QTimer m_quiet;
    QTimer m_guard;
    QElapsedTimer m_clock;
    int m_pieces = 0;
    bool m_completed = false;
    std::vector<int> m_sentKeys;
};

} // namespace

int watchCommand(const QCommandLineParser &args)
{
    const QString port = args.value(QStringLiteral("port"));
    int timeoutMs = Transfer::DefaultTimeoutMs;
    if (!Transfer::readTimeout(args, timeoutMs))
        return Usage;
    if (port.isEmpty()) {
        err(QStringLiteral("--port DEVICE is needed"));
        return Usage;
    }
    Watch watch(args.positionalArguments().at(0), port, timeoutMs, args.isSet(QStringLiteral("accept-legacy")));
    if (!watch.readFiles(args.value(QStringLiteral("base"))))
        return Failed;
    return watch.run(args.value(QStringLiteral("log")));
}
