#include "CodePoints.h"

#include <QStringList>

qsizetype CodePoints::advance(QStringView text, qsizetype start, qsizetype n)
{
    qsizetype i = start;
    for (qsizetype k = 0; k < n && i < text.size(); ++k)
        i = next(text, i);
    return i;
}

int CodePoints::length(QStringView text)
{
    int n = 0;
    for (qsizetype i = 0; i < text.size(); i = next(text, i))
        ++n;
    return n;
}

QString CodePoints::left(const QString &text, int n)
{
    if (n <= 0)
        return QString();
    return text.left(advance(text, 0, n));
}

QStringList CodePoints::split(const QString &text, int width)
{
    QStringList out;
    qsizetype i = 0;
    while (i < text.size()) {
        const qsizetype end = advance(text, i, width);
        out.append(text.mid(i, end - i));
        i = end;
    }
    return out;
}
