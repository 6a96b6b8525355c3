#include "Encodings.h"

#include "model/CodePoints.h"
#include "model/Diagnostics.h"

namespace {
QString label(const char *key, int item)
{
    QString text = key ? QString::fromLatin1(key) : QStringLiteral("field");
    if (item >= 0)
        text += QStringLiteral(" (item %1)").arg(item + 1);
    return text;
}

qint64 largestOfWidth(int width)
{
    qint64 v = 1;
    for (int i = 0; i < width && v < (qint64(1) << 60); ++i)
        v *= 10;
    return v - 1;
}
} // namespace

void Encodings::appendNumber(QString &out, qint64 value, int width, const char *key, int item)
{
    const qint64 largest = largestOfWidth(width);
    qint64 v = value;
    if (v < 0 || v > largest) {
        v = v < 0 ? 0 : largest;
        Diagnostics::line(QStringLiteral("%1: value %2 does not fit a field of %3 digits; written as %4")
                              .arg(label(key, item))
                              .arg(value)
                              .arg(width)
                              .arg(v));
    }
    // The field is built whole and appended at once: the writer appends some 40,000
    // numbers per session.
    char16_t field[24];
    const int n = width < 1 ? 1 : width > 19 ? 19 : width;
    for (int i = n - 1; i >= 0; --i) {
        field[i] = char16_t(u'0' + v % 10);
        v /= 10;
    }
    out.append(reinterpret_cast<const QChar *>(field), n);
}

QString Encodings::fixedNumber(qint64 value, int width, const char *key, int item)
{
    QString out;
    out.reserve(width);
    appendNumber(out, value, width, key, item);
    return out;
}

void Encodings::appendName(QString &out, const QString &name, int width, const char *key, int item)
{
    // The common case: a name without line ends or the two reserved characters that
    // fits its field. Its length in code points decides the padding.
    qsizetype points = 0;
    bool plain = true;
    for (qsizetype i = 0; i < name.size(); i = CodePoints::next(name, i)) {
        const char16_t u = name[i].unicode();
        if (u == u'\r' || u == u'\n' || u == u']' || u == u'`') {
            plain = false;
            break;
        }
        ++points;
    }
    if (plain && points <= width) {
        static const QString ticks(64, QLatin1Char('`'));
        out.append(name);
        if (points < width)
            out.append(ticks.constData(), qMin<qsizetype>(width - points, ticks.size()));
        for (qsizetype missing = width - points - ticks.size(); missing > 0; missing -= ticks.size())
            out.append(ticks.constData(), qMin(missing, ticks.size()));
        return;
    }
    out += paddedName(name, width, key, item);
}

QString Encodings::paddedName(const QString &name, int width, const char *key, int item)
{
    QString text = name;
    text.remove(QLatin1Char('\r'));
    text.replace(QLatin1Char('\n'), QLatin1Char('['));
    if (text.contains(QLatin1Char(']')) || text.contains(QLatin1Char('`'))) {
        text.remove(QLatin1Char(']'));
        text.remove(QLatin1Char('`'));
        Diagnostics::line(QStringLiteral("%1: \"]\" and \"`\" cannot be stored and were left out of \"%2\"")
                              .arg(label(key, item), name));
    }
    int length = CodePoints::length(text);
    if (length > width) {
        Diagnostics::line(QStringLiteral("%1: \"%2\" is longer than %3 characters and was cut")
                              .arg(label(key, item), name)
                              .arg(width));
        text = CodePoints::left(text, width);
        length = width;
    }
    return text + QString(width - length, QLatin1Char('`'));
}

QString Encodings::decodeName(QStringView field)
{
    // One pass finds the end of the name and whether it holds a line break or a stray "]"
    // at all; most names do not and are copied once.
    qsizetype end = field.size();
    bool breaks = false;
    for (qsizetype i = 0; i < field.size(); ++i) {
        const char16_t u = field[i].unicode();
        if (u == u'`') {
            end = i;
            break;
        }
        breaks = breaks || u == u'[' || u == u'\r' || u == u'\n' || u == u']';
    }
    QString text = field.left(end).toString();
    if (!breaks)
        return text;
    // A field never holds a line end of its own (names are written without "\r" and with
    // "[" for "\n") nor a "]" (which ends a value); a stray one in a damaged file (or in
    // the fixed ranges of a single-line session) is read the way it will be written back,
    // so that saving and opening the session again keeps the name.
    text.remove(QLatin1Char(']'));
    text.remove(QLatin1Char('\r'));
    text.replace(QLatin1Char('\n'), QLatin1Char('['));
    text.replace(QLatin1Char('['), QStringLiteral("\r\n"));
    return text;
}

QString Encodings::escaped(QStringView text)
{
    QString out;
    out.reserve(text.size());
    for (const QChar c : text) {
        if (c == QLatin1Char('\r'))
            out += QLatin1String("\\r");
        else if (c == QLatin1Char('\n'))
            out += QLatin1String("\\n");
        else if (c == QLatin1Char('\\'))
            out += QLatin1String("\\\\");
        else if (c.unicode() < 0x20 || c.unicode() == 0x7f)
            out += QStringLiteral("\\x%1").arg(c.unicode(), 2, 16, QLatin1Char('0'));
        else
            out += c;
    }
    return out;
}

qint64 Encodings::statusNumber(qint64 type, qint64 channel)
{
    switch (type) {
    case 0: return channel == 0 ? 0 : channel + 175;
    case 1: return channel + 191;
    case 2: return channel + 127;
    case 3: return channel + 143;
    case 4: return channel + 159;
    case 5: return channel + 207;
    case 6: return channel + 223;
    default: return channel;
    }
}

void Encodings::decodeStatus(qint64 s, qint64 &type, qint64 &channel)
{
    struct Range
    {
        qint64 first;
        qint64 type;
        qint64 offset;
    };
    static const Range ranges[] = {{128, 2, 127}, {144, 3, 143}, {160, 4, 159}, {176, 0, 175},
                                   {192, 1, 191}, {208, 5, 207}, {224, 6, 223}};
    type = 0;
    channel = s;
    for (const Range &r : ranges) {
        if (s >= r.first && s <= r.first + 15) {
            type = r.type;
            channel = s - r.offset;
        }
    }
}

qint64 Encodings::jackCode(int jack, qint64 mode, qint64 level, qint64 pulses)
{
    switch (mode) {
    case 0: return level == 0 ? 0 : (level == 1 ? 32 : 6);
    case 1: return pulses + 1;
    case 2: return jack == 3 ? 36 : 33;
    case 3: {
        static const qint64 modeThree[] = {34, 36, 35, 6};
        return modeThree[jack & 3];
    }
    default: return 6;
    }
}

void Encodings::decodeJackCode(int jack, qint64 code, qint64 &mode, qint64 &level, qint64 &pulses)
{
    mode = 0;
    level = 0;
    pulses = 5;
    if (code == 32) {
        level = 1;
    } else if (code >= 1 && code <= 31) {
        mode = 1;
        pulses = code - 1;
    } else if (code == 33 && jack != 3) {
        mode = 2;
    } else if ((code == 34 && jack == 0) || (code == 36 && jack == 1) || (code == 35 && jack == 2)) {
        mode = 3;
    } else if (code == 36 && jack == 3) {
        mode = 2;
    }
}

qint64 Encodings::offsetCode(qint64 offset)
{
    return offset >= 0 ? offset : 50 - offset;
}

qint64 Encodings::decodeOffset(qint64 code)
{
    return code > 50 ? 50 - code : code;
}
