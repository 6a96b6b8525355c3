#include "SerialPortTransport.h"

SerialPortTransport::SerialPortTransport(QObject *parent) : QObject(parent) {}
SerialPortTransport::~SerialPortTransport() = default;

QString SerialPortTransport::touch(const QString &path, const Settings &settings)
{
    QString error;
    if (!open(path, settings, error))
        return error.isEmpty() ? QStringLiteral("cannot open %1").arg(path) : error;
    close();
    return QString();
}
