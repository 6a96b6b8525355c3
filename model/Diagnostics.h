#pragma once

#include <QString>

#include <functional>

// One-line diagnostic messages that are never shown in the window. They go to standard
// output unless a sink is set (the command-line tools send them to standard error, the
// tests collect them).
namespace Diagnostics {
void line(const QString &text);
using Sink = std::function<void(const QString &)>;
// Sets the sink and returns the previous one. An empty sink restores standard output.
Sink setSink(Sink sink);
// A count with its noun: "1 piece", "2 pieces".
QString counted(qint64 n, const char *one, const char *many);
} // namespace Diagnostics
