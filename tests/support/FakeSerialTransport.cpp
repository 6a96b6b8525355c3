#include "FakeSerialTransport.h"

FakeSerialTransport::FakeSerialTransport(QObject *parent) : SerialPortTransport(parent) {}

bool FakeSerialTransport::open(const QString &path, const Settings &settings, QString &error)
{
    close();
    m_path = path;
    const bool ok = failOpenWith.isEmpty();
    opens.append({path, settings, ok});
    if (ok)
        m_open = true;
    else
        error = failOpenWith;
    if (onOpen)
        onOpen(path, settings);
    return ok;
}

bool FakeSerialTransport::write(const QByteArray &bytes)
{
    if (!m_open)
        return false;
    if (refuseWrites > 0) {
        --refuseWrites;
        return false;
    }
    writes.append(bytes);
    if (onWrite)
        onWrite(bytes);
    return true;
}

void FakeSerialTransport::close()
{
    if (m_open)
        ++closes;
    m_open = false;
}

QString FakeSerialTransport::written() const
{
    QByteArray all;
    for (const QByteArray &w : writes)
        all += w;
    return QString::fromUtf8(all);
}

QStringList FakeSerialTransport::writtenTexts() const
{
    QStringList out;
    for (const QByteArray &w : writes)
        out.append(QString::fromUtf8(w));
    return out;
}

void FakeSerialTransport::unplug()
{
    m_open = false;
    Q_EMIT removed(QString());
}
