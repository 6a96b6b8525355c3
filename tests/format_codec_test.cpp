// The field encodings of the session text and the code-point walk under them.
#include "QtPrinters.h"
#include "format/Encodings.h"
#include "SessionText.h"

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
    // Rows "text,number" split at their last comma.
    const auto rows = [](const QString &packed) {
        QList<std::pair<QString, int>> list;
        for (const QString &row : packed.split('|'))
            list.append({row.left(row.lastIndexOf(',')), row.mid(row.lastIndexOf(',') + 1).toInt()});
        return list;
    };
    for (const auto &[number, width] : rows("7,3|120,3|60,4|999,3|1000,3|-3,2|-9223372036854775808,3")) {
        const qint64 value = number.toLongLong();
        CapturedLines captured;
        QString out = QStringLiteral("x");
        Encodings::appendNumber(out, value, width, "Tempos", 4);
        text += QStringLiteral("%1, %2: %3, %4\n").arg(value).arg(width).arg(out).arg(captured.lines.join(" / "));
    }

    // The one reader of whole numbers: digits only, no sign, no space, at most maxDigits.
    text += QStringLiteral("== numbers read: text, digits: value ==\n");
    for (const auto &[t, max] :
         rows("007,18|123,3|123,2|999999999999999999,18|1234567890123456789,19|,18|-1,18|+1,18| 1,18|1a,18|"
              "1:,18|:,18|/,18|\u0661,18")) {
        SCOPED_TRACE(t.toStdString());
        qint64 v = 77, b = 77;
        const bool read = Encodings::parseDigits(t, v, max);
        text += QStringLiteral("\"%1\", %2: %3\n")
                    .arg(t)
                    .arg(max)
                    .arg(read ? QString::number(v) : "refused, " + QString::number(v));
        // Bytes read the same as text.
        if (QString::fromLatin1(t.toLatin1()) == t) {
            EXPECT_EQ(Encodings::parseDigits(t.toLatin1(), b, max), read);
        }
    }

    // Each name written into a field of `width` code points, and what reading the field gives back.
    // Outside the Basic Multilingual Plane a pair is one code point, never cut in half; a lone
    // half of a pair counts as one code point of its own. The "\r" of a pair does not count.
    text += QStringLiteral("== names: name, width: field, diagnostics, read back ==\n");
    const auto shown = [](const QString &t) { return escaped(t).replace(kHigh, "{high}").replace(kLow, "{low}"); };
    const auto unshown = [](QString t) {
        return t.replace("{clef}", kClef)
            .replace("{high}", kHigh)
            .replace("{low}", kLow)
            .replace("\\r", "\r")
            .replace("\\n", "\n");
    };
    for (const auto &[shownName, width] :
         rows("Intro,30|,5|abcde,5|Verse\\r\\nTwo,12|a\\nb\\rc,6|abcdefghijklmn\\r\\nopqrstuvwxyzAB,30|[x,3|a]b`c,10|"
              "``]],4|nnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnn,30|{clef},3|{clef}aaaaaaaaaaaaaaaaaaaaaaaaaaaaa,30|"
              "aaaaaaaaaaaaaaaaaaaaaaaaaaaaa{clef}{clef},30|{clef}{clef}{clef}\\n,4|{high}a,3|{low}{high},3|"
              "{high}{high}{clef},3|{low}{clef}{high}b,3")) {
        SCOPED_TRACE(shownName.toStdString());
        const QString name = unshown(shownName);
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
