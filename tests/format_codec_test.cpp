// The field encodings of the session text and the code-point walk under them.
#include "format/Encodings.h"
#include "format_test_util.h"

#include "Snapshot.h"

namespace {

const QString kHigh(QChar(0xD834)); // half a pair, alone
const QString kLow(QChar(0xDD1E));

} // namespace

// Numbers and names written into their fields (with the number of diagnostic lines) and
// read back, compared with tests/data/transcripts/encodings.txt.
TEST(Encodings, NumbersAndNamesWrittenAndRead)
{
    // The status numbers and jack codes of every state are held by the golden files and
    // read back by the round trips of randomised sessions. Outside the status bytes: type 0
    // and the bare number. A mode of no code is written as 6; codes that name no state of
    // their jack read as mode 0, static 0, 5 pulses. Negative tempo offsets are above fifty.
    QString text = QStringLiteral("== status: type, channel ==\n");
    for (qint64 s : {0, 5, 127, 240, 999}) {
        qint64 t = -1, c = -1;
        Encodings::decodeStatus(s, t, c);
        text += QString::asprintf("%lld: %lld, %lld\n", s, t, c);
    }
    text += QStringLiteral("== jack, code: mode, static, pulses ==\n");
    for (int jack = 0; jack < 4; ++jack)
        text += QStringLiteral("jack %1, mode 4: code %2\n").arg(jack).arg(Encodings::jackCode(jack, 4, 0, 5));
    for (auto [jack, code] : {std::pair{3, 33}, {3, 34}, {0, 35}, {0, 36}, {1, 34}, {2, 36}, {1, 99}, {2, 37}}) {
        qint64 m = -1, l = -1, p = -1;
        Encodings::decodeJackCode(jack, code, m, l, p);
        text += QString::asprintf("%d, %d: %lld, %lld, %lld\n", jack, code, m, l, p);
    }
    text += QStringLiteral("== tempo offset: code, read back ==\n");
    for (int offset : {-5, 5, -1, -20, 0})
        text += QStringLiteral("%1: %2, %3\n")
                    .arg(offset)
                    .arg(Encodings::offsetCode(offset))
                    .arg(Encodings::decodeOffset(Encodings::offsetCode(offset)));
    text += QStringLiteral("code 50 reads %1\n").arg(Encodings::decodeOffset(50));
    text += QStringLiteral("== numbers written: value, width: field, diagnostics ==\n");
    for (auto [value, width] : {std::pair<qint64, int>{7, 3},
                                {120, 3},
                                {60, 4},
                                {999, 3},
                                {1000, 3},
                                {-3, 2},
                                {std::numeric_limits<qint64>::min(), 3}}) {
        CapturedLines captured;
        QString out = QStringLiteral("x");
        Encodings::appendNumber(out, value, width, "Tempos", 4);
        text += QStringLiteral("%1, %2: %3, %4\n").arg(value).arg(width).arg(out).arg(captured.lines.join(" / "));
    }

    // The one reader of whole numbers: digits only, no sign, no space, at most maxDigits.
    text += QStringLiteral("== numbers read: text, digits: value ==\n");
    for (auto [digits, max] : {std::pair{u"007", 18},
                               {u"123", 3},
                               {u"123", 2},
                               {u"999999999999999999", 18},
                               {u"1234567890123456789", 19},
                               {u"", 18},
                               {u"-1", 18},
                               {u"+1", 18},
                               {u" 1", 18},
                               {u"1a", 18},
                               {u"1:", 18},
                               {u":", 18},
                               {u"/", 18},
                               {u"\u0661", 18}}) {
        qint64 v = 77, b = 77;
        const QString t = QString::fromUtf16(digits);
        const bool read = Encodings::parseDigits(t, v, max);
        text += QStringLiteral("\"%1\", %2: %3\n")
                    .arg(t)
                    .arg(max)
                    .arg(read ? QString::number(v) : "refused, " + QString::number(v));
        // Bytes read the same as text.
        EXPECT_TRUE(QString::fromLatin1(t.toLatin1()) != t || Encodings::parseDigits(t.toLatin1(), b, max) == read);
    }

    // Each name written into a field of `width` code points, and what reading the field gives back.
    // Outside the Basic Multilingual Plane a pair is one code point, never cut in half; a lone
    // half of a pair counts as one code point of its own. The "\r" of a pair does not count.
    text += QStringLiteral("== names: name, width: field, diagnostics, read back ==\n");
    const auto shown = [](QString t) {
        return t.replace(kClef, "{clef}")
            .replace(kHigh, "{high}")
            .replace(kLow, "{low}")
            .replace("\r", "\\r")
            .replace("\n", "\\n");
    };
    const QString a29(29, QLatin1Char('a'));
    for (auto [name, width] : {std::pair{QStringLiteral("Intro"), 30},
                               {QString(), 5},
                               {QStringLiteral("abcde"), 5},
                               {QStringLiteral("Verse\r\nTwo"), 12},
                               {QStringLiteral("a\nb\rc"), 6},
                               {QStringLiteral("abcdefghijklmn\r\nopqrstuvwxyzAB"), 30},
                               {QStringLiteral("[x"), 3},
                               {QStringLiteral("a]b`c"), 10},
                               {QStringLiteral("``]]"), 4},
                               {QString(40, QLatin1Char('n')), 30},
                               {kClef, 3},
                               {kClef + a29, 30},
                               {a29 + kClef + kClef, 30},
                               {kClef + kClef + kClef + "\n", 4},
                               {kHigh + "a", 3},
                               {kLow + kHigh, 3},
                               {kHigh + kHigh + kClef, 3},
                               {kLow + kClef + kHigh + "b", 3}}) {
        CapturedLines captured;
        const QString field = Encodings::paddedName(name, width, "MidiStackNames", 2);
        text += QStringLiteral("%1, %2: %3, %4, %5\n")
                    .arg(shown(name))
                    .arg(width)
                    .arg(shown(field), shown(captured.lines.join(" / ")), shown(Encodings::decodeName(field)));
        const qsizetype diagnostics = captured.lines.size();
        QString appended = QStringLiteral("|");
        Encodings::appendName(appended, name, width, "MidiStackNames", 2);
        EXPECT_EQ(appended, "|" + field);
        EXPECT_EQ(captured.lines.size(), 2 * diagnostics);
    }
    // Reading cuts at the first backtick; stray "]" and "\r" go, "\n" is a break.
    text += shown(Encodings::decodeName(u"ab`cd`")) + ", " + shown(Encodings::decodeName(u"a]b\rc\nd")) + '\n';
    EXPECT_TRUE(Snapshot::matches(QStringLiteral("transcripts/encodings.txt"), text));
}
