// The field encodings of the session text and their inverses.
#include "format/Encodings.h"
#include "format_test_util.h"

namespace {

const QString kClef = QString::fromUcs4(U"\U0001D11E", 1);

} // namespace

TEST(StatusNumbers, EveryTypeAndChannel)
{
    const qint64 base[] = {175, 191, 127, 143, 159, 207, 223};
    for (qint64 type = 0; type <= 6; ++type) {
        for (qint64 channel = 1; channel <= 16; ++channel) {
            const qint64 status = Encodings::statusNumber(type, channel);
            EXPECT_EQ(status, base[type] + channel);
            qint64 t = -1, c = -1;
            Encodings::decodeStatus(status, t, c);
            EXPECT_EQ(t, type) << status;
            EXPECT_EQ(c, channel) << status;
        }
    }
    // Type 0 on channel 0 is "no message"; unknown types give the bare channel.
    EXPECT_EQ(Encodings::statusNumber(0, 0), 0);
    EXPECT_EQ(Encodings::statusNumber(7, 5), 5);
    EXPECT_EQ(Encodings::statusNumber(-1, 9), 9);
}

TEST(StatusNumbers, InverseOutsideTheStatusBytes)
{
    const struct
    {
        qint64 status, type, channel;
    } cases[] = {{0, 0, 0},   {5, 0, 5},    {127, 0, 127}, {128, 2, 1}, {143, 2, 16}, {159, 3, 16},  {160, 4, 1},
                 {176, 0, 1}, {191, 0, 16}, {207, 1, 16},  {208, 5, 1}, {239, 6, 16}, {240, 0, 240}, {999, 0, 999}};
    for (const auto &c : cases) {
        qint64 t = -1, ch = -1;
        Encodings::decodeStatus(c.status, t, ch);
        EXPECT_EQ(t, c.type) << c.status;
        EXPECT_EQ(ch, c.channel) << c.status;
    }
}

TEST(JackOutputCodes, EveryJackAndMode)
{
    for (int jack = 0; jack < 4; ++jack) {
        EXPECT_EQ(Encodings::jackCode(jack, 0, 0, 9), 0);
        EXPECT_EQ(Encodings::jackCode(jack, 0, 1, 9), 32);
        EXPECT_EQ(Encodings::jackCode(jack, 0, 2, 9), 6);
        for (qint64 pulses = 0; pulses <= 30; ++pulses)
            EXPECT_EQ(Encodings::jackCode(jack, 1, 3, pulses), pulses + 1);
        EXPECT_EQ(Encodings::jackCode(jack, 4, 0, 5), 6);
        EXPECT_EQ(Encodings::jackCode(jack, -1, 0, 5), 6);
    }
    // MIDI mode (2) and the fourth mode (3) by jack; jack 4 has MIDI as 36 and no mode 3.
    const qint64 midi[] = {33, 33, 33, 36}, fourth[] = {34, 36, 35, 6};
    for (int jack = 0; jack < 4; ++jack) {
        EXPECT_EQ(Encodings::jackCode(jack, 2, 0, 5), midi[jack]) << jack;
        EXPECT_EQ(Encodings::jackCode(jack, 3, 0, 5), fourth[jack]) << jack;
    }
}

TEST(JackOutputCodes, Inverse)
{
    // Codes that name no state of their jack read as mode 0, static 0, 5 pulses.
    const struct
    {
        int jack;
        qint64 code;
    } cases[] = {{3, 33}, {3, 34}, {3, 35}, {0, 35}, {0, 36}, {1, 34}, {2, 36}, {1, 99}, {2, 37}};
    for (const auto &c : cases) {
        qint64 mode = -1, level = -1, pulses = -1;
        Encodings::decodeJackCode(c.jack, c.code, mode, level, pulses);
        EXPECT_TRUE(mode == 0 && level == 0 && pulses == 5) << "jack " << c.jack + 1 << " code " << c.code;
    }
    // Every state that has a code of its own comes back from it.
    for (int jack = 0; jack < 4; ++jack) {
        for (qint64 mode = 0; mode <= (jack == 3 ? 2 : 3); ++mode) {
            for (qint64 value = 0; value <= (mode == 0 ? 1 : mode == 1 ? 30 : 0); ++value) {
                const qint64 level = mode == 0 ? value : 0;
                const qint64 pulses = mode == 1 ? value : 5;
                qint64 m = -1, l = -1, p = -1;
                Encodings::decodeJackCode(jack, Encodings::jackCode(jack, mode, level, pulses), m, l, p);
                EXPECT_EQ(m, mode);
                EXPECT_EQ(l, level);
                EXPECT_EQ(p, pulses);
            }
        }
    }
}

TEST(OffsetCodes, NegativeOffsetsAboveFifty)
{
    const struct
    {
        qint64 offset, code;
    } cases[] = {{-5, 55}, {5, 5}, {-1, 51}, {-12, 62}, {-20, 70}, {0, 0}};
    for (const auto &c : cases)
        EXPECT_EQ(Encodings::offsetCode(c.offset), c.code) << c.offset;
    EXPECT_EQ(Encodings::fixedNumber(Encodings::offsetCode(5), 2), QStringLiteral("05"));
    EXPECT_EQ(Encodings::decodeOffset(50), 50);
    for (qint64 v = -20; v <= 20; ++v)
        EXPECT_EQ(Encodings::decodeOffset(Encodings::offsetCode(v)), v);
}

TEST(FixedNumbers, PaddingAndClamping)
{
    EXPECT_EQ(Encodings::fixedNumber(7, 3), QStringLiteral("007"));
    EXPECT_EQ(Encodings::fixedNumber(120, 3), QStringLiteral("120"));
    EXPECT_EQ(Encodings::fixedNumber(0, 1), QStringLiteral("0"));
    EXPECT_EQ(Encodings::fixedNumber(60, 4), QStringLiteral("0060"));
    QString out = QStringLiteral("x");
    Encodings::appendNumber(out, 42, 3);
    EXPECT_EQ(out, QStringLiteral("x042"));

    CapturedLines captured;
    EXPECT_EQ(Encodings::fixedNumber(1000, 3, "Tempos", 4), QStringLiteral("999"));
    ASSERT_EQ(captured.lines.size(), 1);
    EXPECT_TRUE(captured.lines[0].contains(QStringLiteral("Tempos"))) << captured.lines[0].toStdString();
    EXPECT_TRUE(captured.lines[0].contains(QStringLiteral("1000")));
    EXPECT_EQ(Encodings::fixedNumber(-3, 2, "DivisionOnes", 0), QStringLiteral("00"));
    EXPECT_EQ(Encodings::fixedNumber(std::numeric_limits<qint64>::max(), 3), QStringLiteral("999"));
    EXPECT_EQ(Encodings::fixedNumber(std::numeric_limits<qint64>::min(), 3), QStringLiteral("000"));
    EXPECT_EQ(captured.lines.size(), 4);
    EXPECT_EQ(Encodings::fixedNumber(999, 3), QStringLiteral("999"));
    EXPECT_EQ(captured.lines.size(), 4);
}

TEST(FixedNumbers, ParseDigitsAcceptsOnlyDigits)
{
    qint64 v = -1;
    EXPECT_TRUE(Encodings::parseDigits(u"007", v));
    EXPECT_EQ(v, 7);
    for (const char16_t *bad : {u"", u"-1", u"+1", u" 1", u"1a", u"0x1", u"\u0661"}) {
        v = 77;
        EXPECT_FALSE(Encodings::parseDigits(QStringView(bad), v)) << QString::fromUtf16(bad).toStdString();
        EXPECT_EQ(v, 77);
    }
}

TEST(PaddedNames, WidthsAndLineBreaks)
{
    CapturedLines captured;
    EXPECT_EQ(Encodings::paddedName(QStringLiteral("Intro"), 30),
              QStringLiteral("Intro") + QString(25, QLatin1Char('`')));
    EXPECT_EQ(Encodings::paddedName(QStringLiteral("Verse\r\nTwo"), 30),
              QStringLiteral("Verse[Two") + QString(21, QLatin1Char('`')));
    EXPECT_EQ(Encodings::paddedName(QStringLiteral("a\nb\rc"), 20),
              QStringLiteral("a[bc") + QString(16, QLatin1Char('`')));
    const QString thirty = QStringLiteral("abcdefghijklmnopqrstuvwxyz0123");
    EXPECT_EQ(Encodings::paddedName(thirty, 30), thirty);
    EXPECT_EQ(Encodings::paddedName(QString(), 30), QString(30, QLatin1Char('`')));
    // The carriage return of a pair does not count, so 31 characters with "\r\n" fit.
    EXPECT_EQ(Encodings::paddedName(QStringLiteral("abcdefghijklmn\r\nopqrstuvwxyzAB"), 30),
              QStringLiteral("abcdefghijklmn[opqrstuvwxyzAB`"));
    EXPECT_TRUE(captured.lines.isEmpty());

    QString appended;
    Encodings::appendName(appended, QStringLiteral("A\nB"), 5);
    Encodings::appendName(appended, QStringLiteral("CD"), 5);
    EXPECT_EQ(appended, QStringLiteral("A[B``CD```"));
}

TEST(PaddedNames, OverLongNamesAreCutWithOneLine)
{
    CapturedLines captured;
    const QString forty = QString(40, QLatin1Char('n'));
    EXPECT_EQ(Encodings::paddedName(forty, 30, "MidiStackNames", 2), QString(30, QLatin1Char('n')));
    ASSERT_EQ(captured.lines.size(), 1);
    EXPECT_TRUE(captured.lines[0].contains(QStringLiteral("MidiStackNames")));
    QString appended;
    Encodings::appendName(appended, QString(21, QLatin1Char('d')), 20, "LibraryDevices", 0);
    EXPECT_EQ(appended, QString(20, QLatin1Char('d')));
    EXPECT_EQ(captured.lines.size(), 2);
}

TEST(PaddedNames, BracketAndBacktickAreLeftOutWithOneLine)
{
    CapturedLines captured;
    EXPECT_EQ(Encodings::paddedName(QStringLiteral("a]b`c"), 10, "MidiStackNames", 0), QStringLiteral("abc```````"));
    ASSERT_EQ(captured.lines.size(), 1);
    QString appended;
    Encodings::appendName(appended, QStringLiteral("``]]"), 4, "LibraryActions", 3);
    EXPECT_EQ(appended, QStringLiteral("````"));
    EXPECT_EQ(captured.lines.size(), 2);
    // "[" is the text form's line break and stays as it is.
    EXPECT_EQ(Encodings::paddedName(QStringLiteral("[x"), 3), QStringLiteral("[x`"));
    EXPECT_EQ(captured.lines.size(), 2);
}

TEST(PaddedNames, WidthsCountCodePoints)
{
    CapturedLines captured;
    // 30 code points, 31 UTF-16 units: fits with no padding and no message.
    const QString exact = kClef + QString(29, QLatin1Char('a'));
    EXPECT_EQ(Encodings::paddedName(exact, 30), exact);
    QString appended;
    Encodings::appendName(appended, kClef, 3);
    EXPECT_EQ(appended, kClef + QStringLiteral("``"));
    EXPECT_TRUE(captured.lines.isEmpty());
    // 31 code points whose last is outside the Basic Multilingual Plane: the cut keeps
    // 30 and never leaves half a pair.
    const QString over = QString(29, QLatin1Char('a')) + kClef + kClef;
    const QString cut = Encodings::paddedName(over, 30);
    EXPECT_EQ(cut, QString(29, QLatin1Char('a')) + kClef);
    EXPECT_EQ(captured.lines.size(), 1);
}

TEST(PaddedNames, DecodeCutsAtTheFirstBacktick)
{
    EXPECT_EQ(Encodings::decodeName(QString(30, QLatin1Char('`'))), QString());
    EXPECT_EQ(Encodings::decodeName(u"Verse[Two`````"), QStringLiteral("Verse\r\nTwo"));
    EXPECT_EQ(Encodings::decodeName(u"ab`cd`"), QStringLiteral("ab"));
    EXPECT_EQ(Encodings::decodeName(u"[["), QStringLiteral("\r\n\r\n"));
    EXPECT_EQ(Encodings::decodeName(QStringView(kClef)), kClef);
}
