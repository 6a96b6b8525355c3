#include "FuzzInput.h"

#include "model/Diagnostics.h"

#include <cstdio>
#include <cstdlib>

FuzzInput::FuzzInput(const std::uint8_t *data, std::size_t size)
{
    std::size_t at = 0;
    if (at < size)
        m_control = data[at++];
    std::size_t count = 0;
    if (at < size)
        count = data[at++] % 32;
    for (std::size_t i = 0; i < count && at < size; ++i) {
        const std::uint8_t b = data[at++];
        m_sizes.append(b < 0xf0 ? int(b) + 1 : (int(b) - 0xef) * 1024);
    }
    m_payload = QByteArray(reinterpret_cast<const char *>(data + at), qsizetype(size - at));
}

QList<QByteArray> FuzzInput::chunks() const
{
    QList<QByteArray> out;
    if (m_sizes.isEmpty()) {
        out.append(m_payload);
        return out;
    }
    qsizetype at = 0;
    qsizetype next = 0;
    while (at < m_payload.size()) {
        const qsizetype n = m_sizes[next];
        next = (next + 1) % m_sizes.size();
        out.append(m_payload.mid(at, n));
        at += n;
    }
    return out;
}

QByteArray FuzzInput::make(std::uint8_t control, const QList<std::uint8_t> &sizes, const QByteArray &payload)
{
    QByteArray out;
    out.append(char(control));
    out.append(char(sizes.size() % 32));
    for (qsizetype i = 0; i < sizes.size() % 32; ++i)
        out.append(char(sizes[i]));
    out.append(payload);
    return out;
}

void FuzzInput::quietDiagnostics()
{
    Diagnostics::setSink([](const QString &) {});
}

void FuzzInput::abortOnFailure(const char *what, const QString &failure)
{
    if (failure.isEmpty())
        return;
    std::fprintf(stderr, "%s check failed: %s\n", what, failure.toLocal8Bit().constData());
    std::abort();
}
