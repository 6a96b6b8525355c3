#include "TransferCommands.h"

#include "SessionTool.h"
#include "TransferConnection.h"

#include "format/SessionDiff.h"
#include "format/SessionKeys.h"
#include "format/SessionWriter.h"
#include "format/TextFileSaver.h"
#include "link/FirmwareUpdater.h"
#include "link/PedalKnownSession.h"
#include "link/PedalLink.h"
#include "link/QtScheduler.h"
#include "link/SerialHandler.h"
#include "model/Alert.h"
#include "model/DataHandler.h"
#include "model/Diagnostics.h"
#include "model/Normaliser.h"
#include "model/SessionSnapshot.h"
#include "../virtual-pedal/SignalWatcher.h"

#include <QCommandLineParser>
#include <QEventLoop>
#include <QFile>
#include <QSerialPort>
#include <QTimer>

#include <csignal>
#include <cstdio>
#include <functional>

namespace {

using Transfer::Connection;
using Transfer::printAlerts;
using Transfer::signalName;
using Transfer::Waiter;

enum Exit { Ok = 0, Failed = 1, Usage = 2 };

using SessionTool::err;

struct Options
{
    QString file;
    QString port;
    QString pageName;
    SessionKeys::Page page = SessionKeys::Page::All;
    QString changesFrom; // send: the session file taken to be on the pedal
    int timeoutMs = Transfer::DefaultTimeoutMs;
    bool acceptLegacy = false;
};

// The value of an option given, empty for one not given (or that the command does not take).
QString option(const QCommandLineParser &args, const QString &name)
{
    return args.optionNames().contains(name) ? args.value(name) : QString();
}

// The arguments send and receive share; false after a usage error.
bool readOptions(const QCommandLineParser &args, Options &o)
{
    bool ok = true;
    o.file = args.positionalArguments().value(0);
    o.port = option(args, QStringLiteral("port"));
    o.pageName = option(args, QStringLiteral("page"));
    o.changesFrom = option(args, QStringLiteral("changes-from"));
    o.acceptLegacy = args.isSet(QStringLiteral("accept-legacy"));
    if (!Transfer::readTimeout(args, o.timeoutMs))
        return false;
    if (o.port.isEmpty()) {
        err(QStringLiteral("--port DEVICE is needed"));
        ok = false;
    }
    if (!o.changesFrom.isEmpty()) {
        // The changes are what is sent: no page is chosen.
        if (!o.pageName.isEmpty()) {
            err(QStringLiteral("--page and --changes-from cannot be used together"));
            ok = false;
        }
    } else if (!SessionKeys::pageFromName(o.pageName, o.page)) {
        err(QStringLiteral("--page songs|setjacks|setlist|midi|global|all is needed"));
        ok = false;
    }
    return ok;
}

} // namespace

int sendCommand(const QCommandLineParser &args)
{
    Options o;
    if (!readOptions(args, o))
        return Usage;
    DataHandler store;
    if (!SessionTool::openInto(store, o.file, o.acceptLegacy))
        return Failed;
    // Send Changes: the keys whose values differ from the session taken to be on the pedal.
    DataHandler base;
    std::vector<int> changes;
    if (!o.changesFrom.isEmpty()) {
        if (!SessionTool::openInto(base, o.changesFrom, o.acceptLegacy))
            return Failed;
        for (int k : SessionDiff::changedKeys(base, store))
            if (SessionKeys::at(k).gated)
                changes.push_back(k);
        if (changes.empty()) {
            err(QStringLiteral("nothing to send: the pedal's values of %1 and %2 are the same")
                    .arg(o.changesFrom, o.file));
            return Ok;
        }
    }

    Connection connection;
    if (!connection.openLog(args.value(QStringLiteral("log"))))
        return Failed;
    connection.keepDiagnosticsInLog();
    if (!connection.open(o.port, true))
        return Failed;
    const QString unfinished =
        QStringLiteral("the send to %1 was not finished: the pedal did not get everything; send again").arg(o.port);
    if (const int status = connection.stopStatus(nullptr, unfinished); status >= 0)
        return status;
    PedalLink link(connection.serial, store, connection.scheduler);
    connection.hearAlerts(link);
    int pieces = 0;
    QObject::connect(&link, &PedalLink::progress, [&pieces](int, int total, const QString &) { pieces = total; });
    Waiter waiter;
    bool completed = false;
    QObject::connect(&link, &PedalLink::sendCompleted, [&completed] { completed = true; });
    QObject::connect(&link, &PedalLink::transferEnded, [&waiter] { waiter.quit(); });
    PedalKnownSession known(connection.serial, link, store);
    QObject::connect(&known, &PedalKnownSession::changesSent, [&completed] { completed = true; });
    if (!o.changesFrom.isEmpty())
        known.setKnown(base);
    const bool started =
        o.changesFrom.isEmpty() ? link.startSend(o.page) : known.sendChanges() == PedalKnownSession::Outcome::Started;
    if (!started) {
        // The alert says why (the port went away, busy).
        printAlerts(connection.alerts, connection.printed);
        return Failed;
    }
    // The pieces go out 0.3 s apart; the time-out only guards against a port that hangs.
    const bool ended = connection.wait(waiter, pieces * PedalLink::PieceIntervalMs + o.timeoutMs);
    if (const int status = connection.stopStatus(&link, unfinished); status >= 0)
        return status;
    printAlerts(connection.alerts, connection.printed);
    if (!ended || !completed || !connection.drain(o.timeoutMs)) {
        link.abortTransfer(QStringLiteral("The port stopped taking data."));
        err(QStringLiteral("the send to %1 did not finish: the port stopped taking data").arg(o.port));
        return Failed;
    }
    connection.serial.closePort();
    QStringList names;
    for (int k : changes)
        names.append(QString::fromLatin1(SessionKeys::at(k).key));
    const QString what = !changes.empty()
        ? QStringLiteral("the changed keys (%1)").arg(names.join(QStringLiteral(", ")))
        : o.page == SessionKeys::Page::All ? QStringLiteral("all pages")
                                           : QStringLiteral("the %1 page").arg(o.pageName);
    err(QStringLiteral("sent %1 to %2 in %3").arg(what, o.port, Diagnostics::counted(pieces, "piece", "pieces")));
    return Ok;
}

int receiveCommand(const QCommandLineParser &args)
{
    Options o;
    if (!readOptions(args, o))
        return Usage;
    DataHandler store;
    const QString base = args.value(QStringLiteral("base"));
    if (!base.isEmpty() && !SessionTool::openInto(store, base, o.acceptLegacy))
        return Failed;

    // A load is only commands: the greeting may come between them.
    Connection connection;
    if (!connection.openLog(args.value(QStringLiteral("log"))))
        return Failed;
    connection.keepDiagnosticsInLog();
    if (!connection.open(o.port, false))
        return Failed;
    const QString nothing = QStringLiteral("nothing was written");
    PedalLink link(connection.serial, store, connection.scheduler);
    connection.hearAlerts(link);
    link.setLoadTimeout(o.timeoutMs);
    Waiter waiter;
    bool finished = false;
    bool complete = false;
    QString problem;
    QObject::connect(&link, &PedalLink::loadFinished, [&](bool whole, const QString &what) {
        finished = true;
        complete = whole;
        problem = what;
    });
    QString interruption;
    QObject::connect(&link, &PedalLink::transferInterrupted, [&interruption](const QString &, const QString &why) {
        interruption = why.section(QLatin1Char('\n'), 0, 0);
    });
    QObject::connect(&link, &PedalLink::transferEnded, [&waiter] { waiter.quit(); });
    if (!link.startLoad(PedalLink::loadOf(o.page))) {
        printAlerts(connection.alerts, connection.printed);
        return Failed;
    }
    // The link ends the load: with its last reply, or when no key asked for arrives
    // within the time-out.
    connection.wait(waiter, -1);
    if (const int status = connection.stopStatus(&link, nothing); status >= 0)
        return status;
    printAlerts(connection.alerts, connection.printed);
    if (!finished) {
        err(QStringLiteral("the load from %1 was abandoned: %2 Nothing was written.")
                .arg(o.port, interruption.isEmpty() ? QStringLiteral("It did not end.") : interruption));
        return Failed;
    }
    if (!complete) {
        err(QStringLiteral("the pedal on %1 did not send everything asked for: %2; %3").arg(o.port, problem, nothing));
        return Failed;
    }
    connection.serial.closePort(); // after the closing "]12;" of a chained load has gone out

    // Written as Save writes it: normalised first. One line says what that changed.
    DataHandler loaded;
    SessionSnapshot::of(store).restoreInto(loaded);
    Normaliser::normalise(store);
    const std::vector<SessionChange> changes = SessionDiff::compare(loaded, store);
    SessionWriter writer;
    writer.setAllKeyFlags(true);
    const int status =
        SessionTool::writeResult(writer.write(store, SessionWriter::Form::File), args.value(QStringLiteral("o")));
    if (status == Ok && !changes.empty())
        err(QStringLiteral("normalised as Save does: %1%2")
                .arg(changes.front().text(),
                     changes.size() > 1
                         ? QStringLiteral(" (and %1)")
                               .arg(Diagnostics::counted(qint64(changes.size()) - 1, "other change", "other changes"))
                         : QString()));
    return status;
}

int flashCommand(const QCommandLineParser &args)
{
    const QString image = args.positionalArguments().at(0);
    const QString port = args.value(QStringLiteral("port"));
    if (port.isEmpty()) {
        err(QStringLiteral("--port DEVICE is needed"));
        return Usage;
    }
    // Refused before the pedal is touched.
    const QString refused = FirmwareUpdater::checkImage(image);
    if (!refused.isEmpty()) {
        err(QStringLiteral("%1 is not firmware for the pedal: %2").arg(image, refused));
        return Failed;
    }

    Connection connection;
    if (!connection.openLog(args.value(QStringLiteral("log"))))
        return Failed;
    FirmwareUpdater updater(connection.serial, connection.scheduler);
    Waiter waiter;
    bool success = false;
    QString details;
    QObject::connect(&updater, &FirmwareUpdater::finished, [&](bool succeeded, const QString &text) {
        success = succeeded;
        details = text;
        waiter.quit();
    });
    const QString problem = updater.start(image, port);
    if (!problem.isEmpty()) {
        err(QStringLiteral("cannot update the firmware: %1").arg(problem));
        return Failed;
    }
    connection.wait(waiter, -1);
    if (connection.stoppedBy) {
        err(QStringLiteral("stopped by %1: the firmware update was not finished")
                .arg(signalName(connection.stoppedBy)));
        return 128 + connection.stoppedBy;
    }
    if (success) {
        err(QStringLiteral("the firmware was written to the pedal on %1").arg(port));
        return Ok;
    }
    // One line that says why, then the tool's last lines as they are.
    QString why = details.section(QLatin1Char('\n'), 0, 0);
    if (why.size() > 1 && why.at(1).isLower())
        why[0] = why.at(0).toLower();
    err(QStringLiteral("the firmware update on %1 failed: %2").arg(port, why));
    const QString tail = details.section(QLatin1Char('\n'), 1).trimmed();
    if (!tail.isEmpty())
        std::fprintf(stderr, "%s\n", tail.toLocal8Bit().constData());
    return Failed;
}
