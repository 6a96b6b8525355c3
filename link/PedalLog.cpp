#include "PedalLog.h"

#include "format/Encodings.h"

QString PedalLogEntry::kindName(Kind kind)
{
    switch (kind) {
    case Kind::Sent: return QStringLiteral("sent");
    case Kind::Upload: return QStringLiteral("upload");
    case Kind::Received: return QStringLiteral("received");
    case Kind::Port: return QStringLiteral("port");
    case Kind::Error: return QStringLiteral("error");
    case Kind::Transfer: return QStringLiteral("transfer");
    case Kind::Alert: return QStringLiteral("alert");
    }
    return QString();
}

QString PedalLogEntry::format() const
{
    return QStringLiteral("%1  %2  %3")
        .arg(time.toLocalTime().toString(QStringLiteral("yyyy-MM-dd hh:mm:ss.zzz")), kindName(kind).leftJustified(8),
             text);
}

QString PedalLogEntry::visible(const QString &text, int limit)
{
    const qsizetype shown = qMin<qsizetype>(text.size(), limit);
    QString out = Encodings::escaped(QStringView(text).left(shown));
    if (shown < text.size())
        out += QStringLiteral("… (%1 characters)").arg(text.size());
    return out;
}

PedalLogEntry PedalLogEntry::alert(const QString &message, const QString &informative)
{
    QString text = message;
    if (!informative.isEmpty())
        text += (text.isEmpty() ? QString() : QStringLiteral(": ")) + informative;
    return {QDateTime::currentDateTime(), Kind::Alert, visible(text, 300)};
}

void PedalLog::append(const PedalLogEntry &entry)
{
    m_entries.push_back(entry);
    while (m_entries.size() > size_t(Limit))
        m_entries.pop_front();
}

QString PedalLog::text() const
{
    QString out;
    for (const PedalLogEntry &e : m_entries)
        out += e.format() + QLatin1Char('\n');
    return out;
}
