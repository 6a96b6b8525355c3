#include "CodePoints.h"

#include <QStringList>

namespace {
// Index just past the first n code points.
qsizetype unitsFor(const QString &text, qsizetype start, int n)
{
    qsizetype i = start;
    const qsizetype size = text.size();
    for (int k = 0; k < n && i < size; ++k) {
        if (text.at(i).isHighSurrogate() && i + 1 < size && text.at(i + 1).isLowSurrogate())
            i += 2;
        else
            i += 1;
    }
    return i;
}
} // namespace

int CodePoints::length(const QString &text)
{
    int n = 0;
    const qsizetype size = text.size();
    for (qsizetype i = 0; i < size; ++i) {
        if (text.at(i).isHighSurrogate() && i + 1 < size && text.at(i + 1).isLowSurrogate())
            ++i;
        ++n;
    }
    return n;
}

QString CodePoints::left(const QString &text, int n)
{
    if (n <= 0)
        return QString();
    return text.left(unitsFor(text, 0, n));
}

QStringList CodePoints::split(const QString &text, int width)
{
    QStringList out;
    qsizetype i = 0;
    while (i < text.size()) {
        const qsizetype end = unitsFor(text, i, width);
        out.append(text.mid(i, end - i));
        i = end;
    }
    return out;
}
