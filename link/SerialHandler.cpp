#include "SerialHandler.h"

#include "PedalCommands.h"
#include "PortAccess.h"
#include "QtSerialTransport.h"
#include "Scheduler.h"

#include "model/Diagnostics.h"

#include <QPointer>

const QString SerialHandler::NotConnectedName = QStringLiteral("COM333");

SerialHandler::SerialHandler(Scheduler &scheduler, std::unique_ptr<SerialPortTransport> transport,
                             std::unique_ptr<PortLister> lister, QObject *parent)
    : QObject(parent),
      m_scheduler(scheduler),
      m_transport(transport ? std::move(transport) : std::make_unique<QtSerialTransport>()),
      m_lister(lister ? std::move(lister) : std::make_unique<PortLister>()),
      m_portName(NotConnectedName)
{
    connect(m_transport.get(), &SerialPortTransport::dataReceived, this, &SerialHandler::onData);
    connect(m_transport.get(), &SerialPortTransport::errorOccurred, this, [this](const QString &description) {
        log(PedalLogEntry::Kind::Error, QStringLiteral("port error: %1").arg(description));
        if (m_errorsReported.contains(description))
            return;
        m_errorsReported.append(description);
        Diagnostics::line(QStringLiteral("Serial port (") + m_transport->path()
                          + QStringLiteral(") encountered error: ") + description);
    });
    connect(m_transport.get(), &SerialPortTransport::noted, this,
            [this](const QString &text) { log(PedalLogEntry::Kind::Port, text); });
    connect(m_transport.get(), &SerialPortTransport::removed, this, [this](const QString &description) {
        m_framer.clear();
        ++m_openCount; // no greeting for a port that is gone
        const QString path = m_transport->path();
        log(PedalLogEntry::Kind::Port,
            QStringLiteral("%1 went away%2")
                .arg(path, description.isEmpty() ? QString() : QStringLiteral(": ") + description));
        Diagnostics::line(QStringLiteral("Serial port (%1) was removed%2")
                              .arg(path, description.isEmpty() ? QString() : QStringLiteral(": ") + description));
        Q_EMIT portLost(QStringLiteral("The pedal was disconnected (%1).").arg(path));
    });
}

SerialHandler::~SerialHandler()
{
    m_transport->disconnect(this);
}

QStringList SerialHandler::listPortPaths()
{
    return m_lister->paths();
}

bool SerialHandler::connectToPedal()
{
    if (refuseIfUpdating())
        return false;
    const QStringList present = listPortPaths();
    const int n = int(m_startupPorts.size());
    if (present.size() <= n) {
        Q_EMIT alertRaised(Alert::failure(QString(), QStringLiteral("Plug your pedal in after starting the app")));
        return false;
    }
    return openPort(present.at(n));
}

bool SerialHandler::openPort(const QString &path)
{
    setPortName(path);
    m_framer.clear();
    m_errorsReported.clear();
    ++m_openCount;
    QString error;
    if (!m_transport->open(path, SerialPortTransport::Settings{}, error)) {
        Diagnostics::line(QStringLiteral("Serial port (") + path + QStringLiteral(") encountered error: ") + error);
        log(PedalLogEntry::Kind::Error, QStringLiteral("could not open %1: %2").arg(path, error));
        setPortName(NotConnectedName);
        Q_EMIT alertRaised(Alert::failure(QStringLiteral("Could not open the pedal's port"),
                                          PortAccess::describeOpenFailure(path, error)));
        return false;
    }
    log(PedalLogEntry::Kind::Port, QStringLiteral("opened %1 at 9600 baud").arg(path));
    const quint64 connection = m_openCount;
    QPointer<SerialHandler> self(this);
    m_greeted = false;
    m_scheduler.after(GreetingDelayMs, [self, connection] {
        if (self && self->m_openCount == connection && self->portHeld()) {
            self->sendText(PedalCommands::text(PedalCommands::Code::Greeting));
            self->m_greeted = true;
        }
    });
    Q_EMIT alertRaised(Alert::note(QStringLiteral("Success!"), QStringLiteral("Pedal Connected")));
    return true;
}

bool SerialHandler::readyForUpload()
{
    if (!ready())
        return false;
    // An upload goes out in pieces over seconds: one begun before the greeting would have
    // the greeting written into it, and the pedal would refuse the whole upload.
    if (m_greeted)
        return true;
    Q_EMIT alertRaised(Alert::failure(QStringLiteral("The pedal is still being connected"),
                                      QStringLiteral("Try again in a moment: the pedal is greeted one second after "
                                                     "its port is opened, and a send waits for that.")));
    return false;
}

bool SerialHandler::ready()
{
    if (refuseIfUpdating())
        return false;
    if (isConnected() && portHeld())
        return true;
    Q_EMIT alertRaised(Alert::notConnected());
    return false;
}

bool SerialHandler::refuseIfUpdating()
{
    if (!m_updating)
        return false;
    Q_EMIT alertRaised(Alert::failure(QStringLiteral("A firmware update is running"),
                                      QStringLiteral("Wait until it has finished; then connect the pedal again.")));
    return true;
}

bool SerialHandler::sendText(const QString &text, const QString &logAs)
{
    const PedalLogEntry::Kind kind = logAs.isEmpty() ? PedalLogEntry::Kind::Sent : PedalLogEntry::Kind::Upload;
    const QString what = logAs.isEmpty() ? PedalLogEntry::visible(text) : logAs;
    if (!m_transport->isOpen()) {
        log(PedalLogEntry::Kind::Error, QStringLiteral("not sent (no port open): %1").arg(what));
        Diagnostics::line(QStringLiteral("Not sent (no pedal port open): %1").arg(text.left(40)));
        return false;
    }
    log(kind, what);
    return m_transport->write(text.toUtf8());
}

void SerialHandler::log(PedalLogEntry::Kind kind, const QString &text)
{
    Q_EMIT logged(PedalLogEntry{QDateTime::currentDateTime(), kind, text});
}

void SerialHandler::closePort()
{
    if (m_transport->isOpen())
        log(PedalLogEntry::Kind::Port, QStringLiteral("closed %1").arg(m_transport->path()));
    ++m_openCount;
    m_transport->close();
    m_framer.clear();
}

void SerialHandler::forgetPort()
{
    setPortName(NotConnectedName);
}

void SerialHandler::closeAtExit()
{
    if (isConnected() && portHeld())
        closePort();
}

QString SerialHandler::touchPort(const QString &path, int baud)
{
    closePort();
    log(PedalLogEntry::Kind::Port, QStringLiteral("touching %1 at %2 baud").arg(path).arg(baud));
    SerialPortTransport::Settings settings;
    settings.baudRate = baud;
    settings.raiseRts = false;
    QString error;
    error = m_transport->touch(path, settings);
    if (!error.isEmpty())
        log(PedalLogEntry::Kind::Error, QStringLiteral("the touch of %1 failed: %2").arg(path, error));
    return error;
}

void SerialHandler::setPortName(const QString &name)
{
    if (name == m_portName)
        return;
    m_portName = name;
    Q_EMIT portNameChanged(name);
}

void SerialHandler::onData(const QByteArray &bytes)
{
    QStringList lines;
    QStringList lost; // in order with the lines: an empty entry stands for the next line
    m_framer.feed(bytes, [&](const QString &line, const QString &why) {
        lines.append(line);
        lost.append(why);
    });
    QPointer<SerialHandler> self(this);
    for (qsizetype i = 0; i < lines.size(); ++i) {
        if (lost[i].isEmpty()) {
            log(PedalLogEntry::Kind::Received, PedalLogEntry::visible(lines[i]));
            Q_EMIT replyLine(lines[i]);
        } else {
            log(PedalLogEntry::Kind::Error, QStringLiteral("reply line dropped: %1").arg(lost[i]));
            Q_EMIT replyLineLost(lost[i]);
        }
        if (!self)
            return;
    }
}
