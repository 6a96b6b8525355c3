#pragma once

#include <QString>
#include <QStringView>

// Text widths in the session text count Unicode code points, not UTF-16 units, and a
// cut never splits a code point. A surrogate pair is one code point; a lone surrogate
// counts as one of its own.
namespace CodePoints {

// The index just past the code point that starts at `i` (i < text.size()).
inline qsizetype next(QStringView text, qsizetype i)
{
    return text[i].isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate() ? i + 2 : i + 1;
}
// The index just past `n` code points from `start` (or the end of the text).
qsizetype advance(QStringView text, qsizetype start, qsizetype n);

int length(QStringView text);
// The first n code points of text.
QString left(const QString &text, int n);
// Cuts text into pieces of `width` code points (the last may be shorter).
QStringList split(const QString &text, int width);
} // namespace CodePoints
