#pragma once

// Helpers shared by the tests of the session text and its users: collected diagnostic
// lines, the parts of a session text, and reading a text into a store (the file form of a
// store comes from SessionFiles.h, files on disk from TestFiles.h).

#include "format/SessionReader.h"
#include "model/Diagnostics.h"
#include "SessionFiles.h"

#include <gtest/gtest.h>

// A character outside the Basic Multilingual Plane (a pair of UTF-16 units).
inline const QString kClef = QString::fromUcs4(U"\U0001D11E", 1);

// `t` as a transcript shows it: that character as "{clef}", "\r" and "\n" escaped.
inline QString escaped(QString t)
{
    return t.replace(kClef, "{clef}").replace('\r', "\\r").replace('\n', "\\n");
}

// Collects diagnostic lines while it lives.
class CapturedLines
{
public:
    CapturedLines()
    {
        m_old = Diagnostics::setSink([this](const QString &l) { lines.append(l); });
    }
    ~CapturedLines() { Diagnostics::setSink(m_old); }
    QStringList lines;

private:
    Diagnostics::Sink m_old;
};

inline QString repeat(const QString &field, int times)
{
    return field.repeated(times);
}

inline QString line(const char *key, const QString &value)
{
    return QString::fromLatin1(key) + QLatin1Char(']') + value + QStringLiteral("\r\n");
}

// The value of `key` in a session text, or a null text when the key has no line.
inline QString valueOf(const QString &text, const QString &key)
{
    for (const QString &l : text.split(QStringLiteral("\r\n"))) {
        if (l.startsWith(key + QLatin1Char(']')))
            return l.mid(key.size() + 1);
    }
    return QString();
}

inline QStringList keysOf(const QString &text)
{
    QStringList keys;
    for (const QString &l : text.split(QStringLiteral("\r\n"), Qt::SkipEmptyParts))
        keys.append(l.left(l.indexOf(QLatin1Char(']'))));
    return keys;
}

// Reads `text` into `store` and applies it; fails the test when the text is refused or
// asks for consent (which `legacyAccepted` gives beforehand).
inline void readInto(DataHandler &store, const QString &text, bool legacyAccepted = false)
{
    SessionReader reader;
    reader.setLegacyAccepted(legacyAccepted);
    ASSERT_EQ(reader.readText(text, store), SessionReader::Status::Read) << reader.problem().toStdString();
    reader.apply(store);
}
