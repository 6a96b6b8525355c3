#pragma once

#include <QString>

// Text widths in the session text count Unicode code points, not UTF-16 units, and a
// cut never splits a code point.
namespace CodePoints {
int length(const QString &text);
// The first n code points of text.
QString left(const QString &text, int n);
// Cuts text into pieces of `width` code points (the last may be shorter).
QStringList split(const QString &text, int width);
} // namespace CodePoints
