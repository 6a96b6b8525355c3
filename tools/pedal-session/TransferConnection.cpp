#include "TransferConnection.h"

#include "SessionTool.h"

#include "link/PedalLink.h"

#include <QCommandLineParser>
#include <QSerialPort>

#include <cmath>
#include <csignal>

namespace Transfer {

using SessionTool::err;

// Alerts have no window here: each one goes to standard error once, as one line. An alert
// with an informative text says it (the message is its title).
void printAlerts(const QList<Alert> &shown, int &printed)
{
    for (; printed < shown.size(); ++printed) {
        const Alert &a = shown.at(printed);
        err(QString(a.informative.isEmpty() ? a.message : a.informative).replace(QLatin1Char('\n'), QLatin1Char(' ')));
    }
}

bool readTimeout(const QCommandLineParser &args, int &ms)
{
    if (!args.optionNames().contains(QStringLiteral("timeout")))
        return true;
    bool number = false;
    const double seconds = args.value(QStringLiteral("timeout")).toDouble(&number);
    // Written so that "nan" is refused too.
    if (!number || !(seconds > 0 && seconds <= 3600)) {
        err(QStringLiteral("--timeout needs a number of seconds"));
        return false;
    }
    ms = int(std::ceil(seconds * 1000));
    return true;
}

QString signalName(int number)
{
    switch (number) {
    case SIGINT: return QStringLiteral("SIGINT");
    case SIGTERM: return QStringLiteral("SIGTERM");
    case SIGHUP: return QStringLiteral("SIGHUP");
    default: return QStringLiteral("signal %1").arg(number);
    }
}

Connection::Connection() : serial(scheduler)
{
    hearAlerts(serial);
    if (!signalWatcher.install())
        err(QStringLiteral("cannot watch for SIGINT and SIGTERM"));
    QObject::connect(&signalWatcher, &SignalWatcher::stopRequested, [this](int number) {
        if (!stoppedBy)
            stoppedBy = number;
        if (waiting)
            waiting->quit();
    });
    QObject::connect(&serial, &SerialHandler::portLost, [this](const QString &message) {
        lost = message;
        if (waiting)
            waiting->quit();
    });
}

Connection::~Connection()
{
    if (diagnosticsKept)
        Diagnostics::setSink(diagnostics);
}

void Connection::keepDiagnosticsInLog()
{
    diagnosticsKept = true;
    diagnostics = Diagnostics::setSink([this](const QString &line) {
        writeLog({QDateTime::currentDateTime(), PedalLogEntry::Kind::Error, line});
    });
}

bool Connection::openLog(const QString &path)
{
    if (path.isEmpty())
        return true;
    const bool opened = path == QLatin1String("-")
        ? logFile.open(stderr, QIODevice::WriteOnly | QIODevice::Unbuffered)
        : (logFile.setFileName(path),
           logFile.open(QIODevice::WriteOnly | QIODevice::Truncate | QIODevice::Text | QIODevice::Unbuffered));
    if (!opened) {
        err(QStringLiteral("cannot write the log %1: %2").arg(path, logFile.errorString()));
        return false;
    }
    QObject::connect(&serial, &SerialHandler::logged, [this](const PedalLogEntry &e) { writeLog(e); });
    return true;
}

void Connection::writeLog(const PedalLogEntry &entry)
{
    if (logFile.isOpen())
        logFile.write((entry.format() + QLatin1Char('\n')).toUtf8());
}

bool Connection::wait(Waiter &waiter, int ms)
{
    if (stopped())
        return true;
    waiting = &waiter;
    const bool ended = waiter.run(ms);
    waiting = nullptr;
    return ended;
}

bool Connection::open(const QString &port, bool awaitGreeting)
{
    const bool opened = serial.openPort(port);
    // The "Success!" alert says nothing a command-line user needs; a failure's alert
    // says which port and why.
    if (opened)
        printed = int(alerts.size());
    printAlerts(alerts, printed);
    if (!opened)
        return false;
    if (awaitGreeting) {
        Waiter greeting;
        wait(greeting, SerialHandler::GreetingDelayMs + 100);
    }
    return serial.portHeld() || stopped();
}

bool Connection::drain(int ms)
{
    auto *port = serial.transport().findChild<QSerialPort *>();
    if (!port)
        return true;
    while (port->isOpen() && port->bytesToWrite() > 0) {
        if (!port->waitForBytesWritten(ms))
            return false;
    }
    return serial.portHeld();
}

int Connection::stopStatus(PedalLink *link, const QString &what)
{
    if (stoppedBy) {
        // The same path as the editor's Cancel (which ends an upload it broke off);
        // closing the port lets what was written go out first.
        if (link)
            link->cancel();
        serial.closePort();
        printAlerts(alerts, printed);
        err(QStringLiteral("stopped by %1: %2").arg(signalName(stoppedBy), what));
        return 128 + stoppedBy;
    }
    if (!lost.isEmpty()) {
        printAlerts(alerts, printed);
        // "The pedal was disconnected (PORT): the send to PORT was not finished: ..."
        err((lost.endsWith(QLatin1Char('.')) ? lost.chopped(1) : lost) + QStringLiteral(": ") + what);
        return 1; // failed
    }
    return -1;
}

} // namespace Transfer
