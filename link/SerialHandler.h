#pragma once

#include "LineFramer.h"
#include "PedalLog.h"
#include "PortLister.h"
#include "SerialPortTransport.h"

#include "model/Alert.h"

#include <QObject>
#include <QStringList>

#include <memory>

class Scheduler;

// The one serial link to the pedal. The program makes one SerialHandler at start-up and
// keeps it until the end; every pedal command goes through it.
//
// Port name: "COM333" (NotConnectedName) until the user connects; the pedal counts as
// connected exactly while the port name is something else (isConnected()). Besides, a
// port may or may not be held (portHeld()): the port goes away when the pedal is
// unplugged, while the port name keeps its value. Commands check both (ready()).
//
// For the window:
//   - at start-up: recordStartupPorts();
//   - the connect button: connectToPedal();
//   - the status: isConnected(), portName(), portNameChanged();
//   - at the end: closeAtExit().
// Replies arrive, one complete line at a time, through replyLine(); a line that had to be
// dropped (not UTF-8, over-long) through replyLineLost().
//
// A port that goes away (unplugged, hung up) is closed once and reported once through
// portLost() with the text a person reads; the port name keeps its value, so the
// window can say which pedal was lost. Other port errors are written to the diagnostic
// output, each distinct text once per connection.
//
// What a person should be told (the connect outcome, a command given without a pedal)
// is raised as an Alert through alertRaised(); the window shows it.
//
// While a firmware update has the port (setUpdating()), the pedal is in its boot loader
// and the flashing tool needs the port: Connect, ready() and PedalLink's busy test refuse
// with "A firmware update is running" (refuseIfUpdating()).
//
// The pedal log: every text written (an upload piece by its size and offset), every reply
// line (abbreviated), every port event and error is reported through logged(); the
// command set and the firmware update add theirs through log(). One signal carries the
// whole log.
class SerialHandler : public QObject
{
    Q_OBJECT
public:
    static const QString NotConnectedName; // "COM333"
    static constexpr int GreetingDelayMs = 1000;

    // `transport` defaults to QtSerialTransport, `lister` to the system's ports.
    SerialHandler(Scheduler &scheduler, std::unique_ptr<SerialPortTransport> transport = nullptr,
                  std::unique_ptr<PortLister> lister = nullptr, QObject *parent = nullptr);
    ~SerialHandler() override;

    // The paths of the ports present now, ports attached later after earlier ones.
    QStringList listPortPaths();

    // The ports present at start-up (the window records them once).
    void recordStartupPorts() { m_startupPorts = listPortPaths(); }
    QStringList startupPorts() const { return m_startupPorts; }

    // The connect button: opens the first port beyond as many as were present at
    // start-up. Raises: "Plug your pedal in after starting the app" when there is none,
    // "Success!" / "Pedal Connected" when the port opened, and the port's error text when
    // it could not be opened (then the pedal stays not connected). Returns whether a
    // port was opened.
    bool connectToPedal();

    // Opens the port at `path` at 9600 baud, holds it, and sends the greeting "]0;" one
    // second later. On failure raises the error alert, sets the port name back to
    // "COM333" and holds no port.
    bool openPort(const QString &path);

    QString portName() const { return m_portName; }
    bool isConnected() const { return m_portName != NotConnectedName; }
    bool portHeld() const { return m_transport->isOpen(); }
    // Connected and a port held. When not, raises the not-connected alert and returns false
    // (the firmware update's alert while one runs).
    bool ready();
    // ready(), and the pedal greeted; in the second before the greeting raises "The pedal
    // is still being connected" and returns false.
    bool readyForUpload();

    // The firmware update has the port (from its start to its end).
    void setUpdating(bool updating) { m_updating = updating; }
    bool updating() const { return m_updating; }
    // While a firmware update runs, raises "A firmware update is running" and returns true.
    bool refuseIfUpdating();

    // Writes the text as UTF-8 in one write. Returns false (and writes nothing) when no
    // port is held. The log names the text, or `logAs` in its place (kind Upload) when
    // one is given.
    bool sendText(const QString &text, const QString &logAs = QString());
    // Adds a line to the pedal log.
    void log(PedalLogEntry::Kind kind, const QString &text);

    // Closes the held port (the firmware update does this before touching the port).
    void closePort();
    // Sets the port name back to "COM333" (after a firmware update).
    void forgetPort();
    // Program end: closes the port if connected and held.
    void closeAtExit();

    // Opens `path` at `baud` and closes it again at once (the boot-loader touch). Returns
    // an empty text, or the error text when the port could not be opened.
    QString touchPort(const QString &path, int baud);

    SerialPortTransport &transport() { return *m_transport; }
    Scheduler &scheduler() { return m_scheduler; }

Q_SIGNALS:
    void portNameChanged(const QString &portName);
    // One complete line from the pedal (without its line end).
    void replyLine(const QString &line);
    // A reply line was dropped (the reason, for the diagnostic output).
    void replyLineLost(const QString &reason);
    // The held port went away (unplugged, hung up): "The pedal was disconnected (...)".
    void portLost(const QString &message);
    // One line of the pedal log.
    void logged(const PedalLogEntry &entry);
    // Something a person should be told.
    void alertRaised(const Alert &alert);

private:
    void setPortName(const QString &name);
    void onData(const QByteArray &bytes);

    Scheduler &m_scheduler;
    std::unique_ptr<SerialPortTransport> m_transport;
    std::unique_ptr<PortLister> m_lister;
    LineFramer m_framer;
    QString m_portName;
    QStringList m_startupPorts;
    quint64 m_openCount = 0;      // identifies the connection a delayed greeting belongs to
    QStringList m_errorsReported; // of this connection
    bool m_updating = false;
    bool m_greeted = false; // the greeting of the port held has been written
};
