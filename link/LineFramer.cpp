#include "LineFramer.h"

#include "model/Diagnostics.h"

#include <QStringDecoder>

namespace {
bool decodeUtf8(const QByteArray &bytes, QString &out)
{
    QStringDecoder decoder(QStringConverter::Utf8, QStringConverter::Flag::Stateless);
    out = decoder.decode(bytes);
    return !decoder.hasError();
}
} // namespace

QStringList LineFramer::feed(const QByteArray &chunk)
{
    QStringList lines;
    feed(chunk, [&lines](const QString &line, const QString &lost) {
        if (lost.isEmpty())
            lines.append(line);
    });
    return lines;
}

void LineFramer::feed(const QByteArray &chunk, const Sink &sink)
{
    qsizetype start = 0;
    for (;;) {
        const qsizetype lf = chunk.indexOf('\n', start);
        if (lf < 0)
            break;
        if (m_skipping) {
            m_skipping = false;
            m_buffer.clear();
            start = lf + 1;
            continue;
        }
        if (m_buffer.size() + (lf - start) > MaxLineBytes) {
            dropLong(sink);
            m_skipping = false;
            start = lf + 1;
            continue;
        }
        m_buffer.append(chunk.constData() + start, lf - start);
        start = lf + 1;
        if (m_buffer.endsWith('\r'))
            m_buffer.chop(1);
        QString line;
        if (decodeUtf8(m_buffer, line)) {
            sink(line, QString());
        } else {
            ++m_dropped;
            const QString why = QStringLiteral("a reply line of %1 bytes that is not valid UTF-8").arg(m_buffer.size());
            Diagnostics::line(QStringLiteral("Dropped ") + why);
            sink(QString(), why);
        }
        m_buffer.clear();
    }
    if (m_skipping)
        return;
    if (m_buffer.size() + (chunk.size() - start) > MaxLineBytes) {
        dropLong(sink);
        return;
    }
    m_buffer.append(chunk.constData() + start, chunk.size() - start);
}

void LineFramer::dropLong(const Sink &sink)
{
    ++m_dropped;
    const QString why = QStringLiteral("a reply line longer than %1 bytes").arg(MaxLineBytes);
    Diagnostics::line(QStringLiteral("Dropped ") + why);
    m_buffer.clear();
    m_buffer.squeeze();
    m_skipping = true;
    sink(QString(), why);
}
