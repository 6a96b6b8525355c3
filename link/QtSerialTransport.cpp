#include "QtSerialTransport.h"

#include "model/Diagnostics.h"

#include <QSerialPort>

QtSerialTransport::QtSerialTransport(QObject *parent)
    : SerialPortTransport(parent), m_port(new QSerialPort(this))
{
    connect(m_port, &QSerialPort::readyRead, this, [this] {
        const QByteArray bytes = m_port->readAll();
        if (!bytes.isEmpty())
            Q_EMIT dataReceived(bytes);
    });
    connect(m_port, &QSerialPort::errorOccurred, this,
            [this](QSerialPort::SerialPortError e) { onError(int(e)); });
}

QtSerialTransport::~QtSerialTransport()
{
    // Closing here keeps the port's own destructor from reporting through our signals.
    m_port->disconnect(this);
    if (m_port->isOpen())
        m_port->close();
}

bool QtSerialTransport::open(const QString &path, const Settings &settings, QString &error)
{
    close();
    m_path = path;
    m_configuring = true;
    m_port->setPortName(path);
    m_port->setBaudRate(settings.baudRate);
    m_port->setParity(QSerialPort::NoParity);
    m_port->setStopBits(QSerialPort::OneStop);
    // Data bits (8) and flow control (none) stay at their defaults.
    if (!m_port->open(QIODevice::ReadWrite)) {
        error = m_port->errorString();
        m_port->clearError();
        m_configuring = false;
        return false;
    }
    if (settings.raiseRts && !m_port->setRequestToSend(true)) {
        // Pseudo-terminals and some adapters have no RTS line: carry on without it.
        Diagnostics::line(QStringLiteral("Serial port (%1) has no RTS line: %2")
                              .arg(path, m_port->errorString()));
        m_port->clearError();
    }
    m_configuring = false;
    return true;
}

bool QtSerialTransport::write(const QByteArray &bytes)
{
    if (!m_port->isOpen())
        return false;
    return m_port->write(bytes) == bytes.size();
}

void QtSerialTransport::close()
{
    if (m_port->isOpen())
        m_port->close();
    m_port->clearError();
}

bool QtSerialTransport::isOpen() const
{
    return m_port->isOpen();
}

void QtSerialTransport::onError(int error)
{
    const auto e = QSerialPort::SerialPortError(error);
    if (e == QSerialPort::NoError || m_configuring)
        return;
    const QString text = m_port->errorString();
    if (e == QSerialPort::ResourceError) {
        // The device went away (unplugged): release it.
        m_port->close();
        m_port->clearError();
        Q_EMIT removed();
        return;
    }
    m_port->clearError();
    Q_EMIT errorOccurred(text);
}
