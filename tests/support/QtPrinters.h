#pragma once

// Qt's texts in failure messages: as the text they hold, not as the bytes of the object.
// Every test file includes it, so that each comparison prints the same way.

#include <QString>

#include <ostream>

inline void PrintTo(const QString &text, std::ostream *os)
{
    *os << '"' << text.toStdString() << '"';
}
