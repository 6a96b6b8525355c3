#include "FakeSerialTransport.h"

bool FakeSerialTransport::open(const QString &path, const Settings &settings, QString &error)
{
    m_path = path;
    m_open = failOpenWith.isEmpty();
    opens.append({path, settings});
    if (!m_open)
        error = failOpenWith;
    if (onOpen)
        onOpen(path, settings);
    return m_open;
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
