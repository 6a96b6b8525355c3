// The field encodings of the session text and the code-point walk under them.
#include "format/Encodings.h"
#include "format_test_util.h"

namespace {

const QString kHigh(QChar(0xD834)); // half a pair, alone
const QString kLow(QChar(0xDD1E));

QString ticks(int n)
{
    return QString(n, QLatin1Char('`'));
}

} // namespace

TEST(Encodings, StatusNumbersJackCodesAndOffsets)
{
    // The status numbers and jack codes of every state are held by the golden files and
    // read back by the round trips of randomised sessions. Outside the status bytes: type 0
    // and the bare number.
    for (qint64 s : {0, 5, 127, 240, 999}) {
        qint64 t = -1, c = -1;
        Encodings::decodeStatus(s, t, c);
        EXPECT_TRUE(t == 0 && c == s) << s;
    }
    // A mode of no code is written as 6; codes that name no state of their jack read as
    // mode 0, static 0, 5 pulses.
    for (int jack = 0; jack < 4; ++jack)
        EXPECT_EQ(Encodings::jackCode(jack, 4, 0, 5), 6);
    for (auto [jack, code] : {std::pair{3, 33}, {3, 34}, {0, 35}, {0, 36}, {1, 34}, {2, 36}, {1, 99}, {2, 37}}) {
        qint64 m = -1, l = -1, p = -1;
        Encodings::decodeJackCode(jack, code, m, l, p);
        EXPECT_TRUE(m == 0 && l == 0 && p == 5) << jack << " " << code;
    }

    // Tempo offsets: negative ones above fifty.
    for (auto [offset, code] : {std::pair{-5, 55}, {5, 5}, {-1, 51}, {-20, 70}, {0, 0}}) {
        EXPECT_EQ(Encodings::offsetCode(offset), code);
        EXPECT_EQ(Encodings::decodeOffset(code), offset);
    }
    EXPECT_EQ(Encodings::decodeOffset(50), 50);
}

TEST(Encodings, NumbersWrittenAndRead)
{
    const struct
    {
        qint64 value;
        int width;
        const char *written;
        int diagnostics;
    } written[] = {{7, 3, "007", 0},
                   {120, 3, "120", 0},
                   {60, 4, "0060", 0},
                   {999, 3, "999", 0},
                   {1000, 3, "999", 1},
                   {-3, 2, "00", 1},
                   {std::numeric_limits<qint64>::min(), 3, "000", 1}};
    for (const auto &row : written) {
        CapturedLines captured;
        QString out = QStringLiteral("x");
        Encodings::appendNumber(out, row.value, row.width, "Tempos", 4);
        EXPECT_EQ(out, QStringLiteral("x") + QLatin1String(row.written)) << row.value;
        EXPECT_EQ(captured.lines.size(), row.diagnostics) << row.value;
        EXPECT_TRUE(!row.diagnostics || captured.contains(QStringLiteral("Tempos (item 5)")));
    }

    // The one reader of whole numbers: digits only, no sign, no space, at most maxDigits.
    struct Read
    {
        const char16_t *text;
        int maxDigits;
        qint64 value; // -1: refused
    };
    std::vector<Read> read = {{u"007", 18, 7},
                              {u"123", 3, 123},
                              {u"123", 2, -1},
                              {u"999999999999999999", 18, 999999999999999999},
                              {u"1234567890123456789", 19, -1}};
    for (const char16_t *refused : {u"", u"-1", u"+1", u" 1", u"1a", u"1:", u":", u"/", u"\u0661"})
        read.push_back({refused, 18, -1});
    for (const auto &row : read) {
        qint64 v = 77;
        const QString text = QString::fromUtf16(row.text);
        EXPECT_EQ(Encodings::parseDigits(text, v, row.maxDigits), row.value >= 0) << text.toStdString();
        EXPECT_EQ(v, row.value >= 0 ? row.value : 77) << text.toStdString();
        // Bytes read the same as text.
        qint64 b = 77;
        EXPECT_TRUE(QString::fromLatin1(text.toLatin1()) != text
                    || Encodings::parseDigits(text.toLatin1(), b, row.maxDigits) == (row.value >= 0))
            << text.toStdString();
    }
}

TEST(Encodings, NamesWrittenAndRead)
{
    // Each name written into a field of `width` code points, with the number of
    // diagnostic lines, and what reading the field gives back.
    const struct
    {
        QString name;
        int width;
        QString field;
        int diagnostics;
        QString readBack;
    } rows[] = {
        {QStringLiteral("Intro"), 30, QStringLiteral("Intro") + ticks(25), 0, QStringLiteral("Intro")},
        {QString(), 5, ticks(5), 0, QString()},
        {QStringLiteral("abcde"), 5, QStringLiteral("abcde"), 0, QStringLiteral("abcde")},
        {QStringLiteral("Verse\r\nTwo"), 12, QStringLiteral("Verse[Two```"), 0, QStringLiteral("Verse\r\nTwo")},
        {QStringLiteral("a\nb\rc"), 6, QStringLiteral("a[bc``"), 0, QStringLiteral("a\r\nbc")},
        // The "\r" of a pair does not count: 31 characters with "\r\n" fit 30.
        {QStringLiteral("abcdefghijklmn\r\nopqrstuvwxyzAB"), 30, QStringLiteral("abcdefghijklmn[opqrstuvwxyzAB`"), 0,
         QStringLiteral("abcdefghijklmn\r\nopqrstuvwxyzAB")},
        {QStringLiteral("[x"), 3, QStringLiteral("[x`"), 0, QStringLiteral("\r\nx")},
        {QStringLiteral("a]b`c"), 10, QStringLiteral("abc") + ticks(7), 1, QStringLiteral("abc")},
        {QStringLiteral("``]]"), 4, ticks(4), 1, QString()},
        {QString(40, QLatin1Char('n')), 30, QString(30, QLatin1Char('n')), 1, QString(30, QLatin1Char('n'))},
        // Outside the Basic Multilingual Plane: a pair is one code point, never cut in half.
        {kClef, 3, kClef + ticks(2), 0, kClef},
        {kClef + QString(29, QLatin1Char('a')), 30, kClef + QString(29, QLatin1Char('a')), 0,
         kClef + QString(29, QLatin1Char('a'))},
        {QString(29, QLatin1Char('a')) + kClef + kClef, 30, QString(29, QLatin1Char('a')) + kClef, 1,
         QString(29, QLatin1Char('a')) + kClef},
        {kClef + kClef + kClef + QStringLiteral("\n"), 4, kClef + kClef + kClef + QStringLiteral("["), 0,
         kClef + kClef + kClef + QStringLiteral("\r\n")},
        // A lone half of a pair counts as one code point of its own.
        {kHigh + QStringLiteral("a"), 3, kHigh + QStringLiteral("a`"), 0, kHigh + QStringLiteral("a")},
        {kLow + kHigh, 3, kLow + kHigh + ticks(1), 0, kLow + kHigh},
        {kHigh + kHigh + kClef, 3, kHigh + kHigh + kClef, 0, kHigh + kHigh + kClef},
        {kLow + kClef + kHigh + QStringLiteral("b"), 3, kLow + kClef + kHigh, 1, kLow + kClef + kHigh},
    };
    for (const auto &row : rows) {
        SCOPED_TRACE(row.name.toStdString());
        CapturedLines captured;
        EXPECT_EQ(Encodings::paddedName(row.name, row.width, "MidiStackNames", 2), row.field);
        EXPECT_EQ(captured.lines.size(), row.diagnostics);
        QString appended = QStringLiteral("|");
        Encodings::appendName(appended, row.name, row.width, "MidiStackNames", 2);
        EXPECT_EQ(appended, QStringLiteral("|") + row.field);
        EXPECT_EQ(captured.lines.size(), 2 * row.diagnostics);
        EXPECT_TRUE(!row.diagnostics || captured.contains(QStringLiteral("MidiStackNames (item 3)")));
        EXPECT_EQ(Encodings::decodeName(row.field), row.readBack);
    }
    // Reading cuts at the first backtick; stray "]" and "\r" go, "\n" is a break.
    EXPECT_EQ(Encodings::decodeName(u"ab`cd`"), QStringLiteral("ab"));
    EXPECT_EQ(Encodings::decodeName(u"a]b\rc\nd"), QStringLiteral("abc\r\nd"));
}
