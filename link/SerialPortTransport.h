#pragma once

#include <QByteArray>
#include <QObject>
#include <QString>

// One serial device as the link layer sees it: open with line settings, write bytes,
// close, and three notifications. The real one runs on QSerialPort (QtSerialTransport),
// tests use FakeSerialTransport.
class SerialPortTransport : public QObject
{
    Q_OBJECT
public:
    struct Settings
    {
        qint32 baudRate = 9600; // no parity, one stop bit, eight data bits
        bool raiseRts = true;   // a device that refuses the RTS line still works
    };

    explicit SerialPortTransport(QObject *parent = nullptr);
    ~SerialPortTransport() override;

    // Opens the device at `path` (closing any device open before). On failure returns
    // false and sets `error` to the system's description; the transport is then closed.
    virtual bool open(const QString &path, const Settings &settings, QString &error) = 0;
    // Writes the bytes in order after everything written before. Returns false when no
    // device is open or the write is refused at once.
    virtual bool write(const QByteArray &bytes) = 0;
    virtual void close() = 0;
    virtual bool isOpen() const = 0;
    // The path of the device open (or last opened).
    virtual QString path() const = 0;
    // The boot-loader touch: opens `path` with `settings` and closes it again, leaving the
    // line at that speed (a board restarts into its boot loader when its line is dropped
    // at 1200 baud). Returns an empty text, or why it failed. The device stays closed.
    // This one opens and closes through open() and close().
    virtual QString touch(const QString &path, const Settings &settings);

Q_SIGNALS:
    // Bytes from the device, in chunks of any size.
    void dataReceived(const QByteArray &bytes);
    // A failure of an open device that leaves it open.
    void errorOccurred(const QString &description);
    // A remark about the device that changes nothing (it has no RTS line): for the log.
    void noted(const QString &text);
    // The device went away (unplugged, hung up, a read or write that fails for good);
    // the transport has closed it. `description` is the system's text, when there is one.
    void removed(const QString &description);
};
