#pragma once

#include "SerialPortTransport.h"

class QSerialPort;

// The serial device on QSerialPort: the requested baud rate, no parity, one stop bit,
// data bits and flow control at their defaults, RTS raised where the device allows it
// (a pseudo-terminal does not; that is not an error). The open device is locked
// (flock, exclusive) so that a second program cannot write to it under another path, and
// input waiting from before is discarded. A device that is gone (a resource, read or
// write error: unplugged, hung up) is closed and reported once as removed().
class QtSerialTransport : public SerialPortTransport
{
    Q_OBJECT
public:
    explicit QtSerialTransport(QObject *parent = nullptr);
    ~QtSerialTransport() override;

    bool open(const QString &path, const Settings &settings, QString &error) override;
    bool write(const QByteArray &bytes) override;
    void close() override;
    bool isOpen() const override;
    QString path() const override { return m_path; }
    // Without QSerialPort, which puts the old line settings back when it closes (the board
    // would then see the line dropped at the old speed): the speed is set, DTR dropped where
    // the device has the line, and the device closed at that speed, as stty does.
    QString touch(const QString &path, const Settings &settings) override;

private:
    void onError(int error);

    QSerialPort *m_port;
    QString m_path;
    bool m_configuring = false;
};
