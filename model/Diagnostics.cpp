#include "Diagnostics.h"

#include <cstdio>

namespace {
Diagnostics::Sink &sink()
{
    static Diagnostics::Sink s;
    return s;
}
} // namespace

void Diagnostics::line(const QString &text)
{
    if (sink()) {
        sink()(text);
        return;
    }
    const QByteArray bytes = text.toUtf8();
    std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stdout);
    std::fputc('\n', stdout);
    std::fflush(stdout);
}

Diagnostics::Sink Diagnostics::setSink(Sink s)
{
    Sink old = std::move(sink());
    sink() = std::move(s);
    return old;
}

QString Diagnostics::counted(qint64 n, const char *one, const char *many)
{
    return QStringLiteral("%1 %2").arg(n).arg(QLatin1String(n == 1 ? one : many));
}
