#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

#include <cstddef>
#include <cstdint>

// Splits a fuzz input into a control byte, a list of chunk sizes and the payload, and
// cuts the payload into chunks of those sizes (used round and round), so that the input
// itself decides where a byte stream is split:
//
//   byte 0        control byte (its meaning belongs to the check)
//   byte 1        n: the number of size bytes that follow (n % 32)
//   n bytes       chunk sizes: b < 0xf0 gives b + 1 bytes, b >= 0xf0 gives (b - 0xef) KiB
//   the rest      the payload
//
// No size bytes means the payload comes in one chunk. A missing part is taken as empty.
class FuzzInput
{
public:
    FuzzInput(const std::uint8_t *data, std::size_t size);

    std::uint8_t control() const { return m_control; }
    const QByteArray &payload() const { return m_payload; }
    QList<QByteArray> chunks() const;

    // What every target does: silences the diagnostic lines once, and ends the run with
    // the check's failure ("<what> check failed: ...") when there is one.
    static void quietDiagnostics();
    static void abortOnFailure(const char *what, const QString &failure);

    // The inverse, for seed files: one input from its parts.
    static QByteArray make(std::uint8_t control, const QList<std::uint8_t> &sizes, const QByteArray &payload);

private:
    std::uint8_t m_control = 0;
    QList<int> m_sizes;
    QByteArray m_payload;
};
