#pragma once

#include <QString>
#include <QStringView>
#include <QtGlobal>

// The field encodings of the session text, shared by the writer, the file reader, the
// reply parser and the virtual pedal.
namespace Encodings {

// `value` in decimal, left-filled with "0" to `width` characters. A value that does not
// fit (negative, or too many digits) is clamped into the field with one diagnostic line
// naming the key and the item (counted from 1) it belongs to.
QString fixedNumber(qint64 value, int width, const char *key = nullptr, int item = -1);

// The same, appended to `out` without building a temporary text.
void appendNumber(QString &out, qint64 value, int width, const char *key = nullptr, int item = -1);

// A name as a field of `width` code points: carriage returns removed, line feeds turned
// into "[", then filled with "`". "]" and "`" cannot be carried and are left out, and a
// longer name is cut; either way with one diagnostic line naming the key and item.
QString paddedName(const QString &name, int width, const char *key = nullptr, int item = -1);
void appendName(QString &out, const QString &name, int width, const char *key = nullptr, int item = -1);

// A name field read back: cut at the first "`", every "[" turned into "\r\n"; a stray
// "]" or "\r" is dropped and a stray "\n" is a line break, as the writer would carry them.
QString decodeName(QStringView field);

// `text` on one line, for a message or a log: a carriage return as "\r", a line feed as
// "\n", a backslash as "\\" and any other control character as "\xHH"; the rest as it is.
QString escaped(QStringView text);

// MIDI status number of a message type and channel, and its inverse.
qint64 statusNumber(qint64 type, qint64 channel);
void decodeStatus(qint64 status, qint64 &type, qint64 &channel);

// Jack output code of jack 0..3 from its mode, static level and pulse count, and its inverse.
qint64 jackCode(int jack, qint64 mode, qint64 level, qint64 pulses);
void decodeJackCode(int jack, qint64 code, qint64 &mode, qint64 &level, qint64 &pulses);

// Tempo offsets: -12 is written 62, 5 is written 5.
qint64 offsetCode(qint64 offset);
qint64 decodeOffset(qint64 code);

// The one reader of whole numbers (session fields, the pedal's codes, typed values,
// command-line counts): true when `text` is 1 to `maxDigits` (at most 18) ASCII digits
// 0-9, without sign or space; `value` is then its number and is otherwise left alone.
inline unsigned unitOf(QChar c)
{
    return c.unicode();
}
inline unsigned unitOf(char c)
{
    return uchar(c);
}
template<typename Text>
bool parseDigits(const Text &text, qint64 &value, int maxDigits = 18)
{
    const qsizetype size = text.size();
    if (size == 0 || size > qMin(maxDigits, 18))
        return false;
    qint64 v = 0;
    for (qsizetype i = 0; i < size; ++i) {
        const unsigned d = unitOf(text[i]) - unsigned('0');
        if (d > 9)
            return false;
        v = v * 10 + d;
    }
    value = v;
    return true;
}

} // namespace Encodings
