#pragma once

#include "link/QtScheduler.h"
#include "link/SerialHandler.h"
#include "model/Alert.h"
#include "model/Diagnostics.h"
#include "../virtual-pedal/SignalWatcher.h"

#include <QEventLoop>
#include <QFile>
#include <QList>
#include <QTimer>

class PedalLink;
class QCommandLineParser;

// What pedal-session's transfers share: the port opened as the editor's Connect opens it,
// the wait for the link's signals, the alerts and the pedal log.
namespace Transfer {

// Alerts have no window here: each one goes to standard error once, as one line. An alert
// with an informative text says it (the message is its title).
void printAlerts(const QList<Alert> &shown, int &printed);

// Runs the event loop until quit() is called or, with a time-out, that time passes.
class Waiter
{
public:
    Waiter()
    {
        m_timer.setSingleShot(true);
        QObject::connect(&m_timer, &QTimer::timeout, &m_loop, [this] {
            m_timedOut = true;
            m_loop.quit();
        });
    }
    void quit()
    {
        m_quit = true;
        m_loop.quit();
    }
    // Returns false on time-out. A negative `ms` waits for quit() alone.
    bool run(int ms)
    {
        m_timedOut = false;
        if (m_quit)
            return true;
        if (ms >= 0)
            m_timer.start(ms);
        m_loop.exec();
        m_timer.stop();
        return !m_timedOut;
    }

private:
    QEventLoop m_loop;
    QTimer m_timer;
    bool m_timedOut = false;
    bool m_quit = false;
};

// How long the pedal may stay silent, or the port may take to take a send beyond its pacing.
constexpr int DefaultTimeoutMs = 15000;

// --timeout SECONDS into `ms` (left as it is when the option is not given); false after
// the usage error's line.
bool readTimeout(const QCommandLineParser &args, int &ms);

// "SIGINT", "SIGTERM", "SIGHUP" or "signal N".
QString signalName(int number);

// The link to the pedal of one command: the port opened as the editor's connect opens it.
// The connect greeting goes out one second after the opening. SIGINT, SIGTERM and
// SIGHUP end the command: nothing more is written, the port is closed, and the exit
// status is 128 + the signal's number.
struct Connection
{
    QList<Alert> alerts; // raised by the serial handler and the link, in order
    int printed = 0;
    QtScheduler scheduler;
    SerialHandler serial;
    SignalWatcher signalWatcher;
    int stoppedBy = 0; // the signal that ended the command
    QString lost;      // the port went away: the message
    Waiter *waiting = nullptr;
    QFile logFile;
    Diagnostics::Sink diagnostics; // the sink before keepDiagnosticsInLog()
    bool diagnosticsKept = false;

    Connection();

    // Collects the alerts `source` raises (a SerialHandler or a PedalLink); each goes to
    // the log at once and to standard error with the next printAlerts().
    template<typename Source>
    void hearAlerts(Source &source)
    {
        QObject::connect(&source, &Source::alertRaised, [this](const Alert &a) {
            alerts.append(a);
            writeLog(PedalLogEntry::alert(a.message, a.informative));
        });
    }

    ~Connection();

    // The link's diagnostic lines (a reply line not read, a port note) go to the log only:
    // standard error holds one line per outcome.
    void keepDiagnosticsInLog();

    // --log FILE: every line of the pedal log, as the editor's Pedal Log shows it ("-":
    // standard error). A log that cannot be written is an error before the port is opened.
    bool openLog(const QString &path);
    void writeLog(const PedalLogEntry &entry);

    bool stopped() const { return stoppedBy != 0 || !lost.isEmpty(); }

    // Waits in `waiter` (see Waiter::run); a signal or the port's loss ends it early.
    bool wait(Waiter &waiter, int ms);

    // With `awaitGreeting`, returns only once the greeting has gone out, so that it cannot
    // land inside an upload.
    bool open(const QString &port, bool awaitGreeting);

    // Waits until everything written has left the program (up to `ms`).
    bool drain(int ms);

    // After a signal or the port's loss: ends the transfer, closes the port, says why and
    // returns the exit status; -1 when neither happened.
    int stopStatus(PedalLink *link, const QString &what);
};

} // namespace Transfer
