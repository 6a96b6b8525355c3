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
        m_buffer.append(chunk.constData() + start, lf - start);
        start = lf + 1;
        if (m_buffer.endsWith('\r'))
            m_buffer.chop(1);
        QString line;
        if (decodeUtf8(m_buffer, line)) {
            lines.append(line);
        } else {
            ++m_dropped;
            Diagnostics::line(QStringLiteral("Dropped a reply line of %1 bytes that is not valid UTF-8")
                                  .arg(m_buffer.size()));
        }
        m_buffer.clear();
    }
    if (!m_skipping)
        m_buffer.append(chunk.constData() + start, chunk.size() - start);
    if (m_buffer.size() > MaxLineBytes) {
        ++m_dropped;
        Diagnostics::line(QStringLiteral("Dropped a reply line longer than %1 bytes").arg(MaxLineBytes));
        m_buffer.clear();
        m_skipping = true;
    }
    return lines;
}
