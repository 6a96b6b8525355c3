#pragma once

#include <QByteArray>
#include <QString>

#include <cstddef>
#include <cstdint>

// The check of the session file reader, shared by its fuzz target and the regression
// tests. The input is one control byte followed by the bytes of a file:
//   control bit 0   the answer to the question about a single-line (legacy) session:
//                   set means "Ok", clear means "Cancel".
// The file is opened into a factory store, decoded as SessionReader::readFile decodes it
// (`thorough`: through a file on disk and readFile itself). Then either
//   - it is refused: the store is exactly the factory store and the refusal says why; or
//   - it is read: applied and normalised, the store keeps its shape, and writing the
//     store as a session file and opening that file in a new factory store the same way
//     gives the same store (a fixed point), without any question to the user.
class SessionFileCheck
{
public:
    // Returns an empty text when the input passes, otherwise what went wrong.
    // `thorough` reads through a file and also compares the JSON views of the stores
    // (slower; for the tests).
    static QString run(const std::uint8_t *data, std::size_t size, bool thorough = false);

    // Checks that the factory session's file is a fixed point, which the quick check
    // relies on. Returns an empty text when it is.
    static QString selfTest();

    static QByteArray makeInput(bool legacyOk, const QByteArray &file);
};
