#include "link_test_util.h"

#include "link/LineFramer.h"
#include "link/ReplyParser.h"

#include "format/Encodings.h"

#include <QSignalSpy>

#include <gtest/gtest.h>

#include <functional>

// A line of page data stores all its values or none and is counted bad; other keys do nothing.
TEST(ReplyParser, EachLineStoresWholeOrNothing)
{
    QString tempos;
    for (int i = 0; i < 128; ++i)
        tempos += Encodings::fixedNumber(40 + i, 3);
    const QString fullName = QStringLiteral("A name of thirty characters   ");
    const QString blankNames = repeat(QString(30, '`'), 127);
    using Check = std::function<void(const DataHandler &)>;
    const struct
    {
        const char *what;
        QString lines;
        int badLines;
        Check check; // none: the store is unchanged
    } rows[] = {
        {"tempos, leading blanks trimmed", "  Tempos]" + tempos, 0,
         [](const DataHandler &s) {
             EXPECT_EQ(s.SongList[0]->Tempo, 40);
             EXPECT_EQ(s.SongList[0]->TempoInMs, 1500);
             EXPECT_EQ(s.SongList[127]->Tempo, 167);
         }},
        {"text after a second bracket", "Tempos]" + repeat("099", 128) + "]Fractions]9999", 0,
         [](const DataHandler &s) {
             EXPECT_EQ(s.SongList[127]->Tempo, 99);
             EXPECT_EQ(s.SongList[0]->Fraction, 0);
         }},
        {"a last name ending in blanks keeps them", "Name]" + blankNames + fullName + "  ", 0,
         [&](const DataHandler &s) { EXPECT_EQ(s.SongList[127]->FullName, fullName); }},
        {"too short", "Tempos]" + repeat("100", 127), 1, nullptr},
        {"not digits", "Tempos]" + repeat("100", 127) + "1x0", 1, nullptr},
        {"setlist slot 0", "Setlist]001000" + repeat("255", 126), 1, nullptr},
        {"no song 129", "Setlist]129" + repeat("255", 127), 1, nullptr},
        {"a short global block", "Global]" + QString(204, '0'), 1, nullptr},
        {"a short stack key", "MidiStackMessageValues]" + repeat("000", 1279), 1, nullptr},
        {"no bracket", "Fractions" + repeat("1", 128), 1, nullptr},
        {"a line the framer dropped", "LOST", 1, nullptr},
        {"junk", QStringLiteral("\x01\x02junk\r\n]]]"), 1, nullptr},
        {"file-only and unknown keys",
         "MidiStackNames]" + repeat("Renamed" + QString(23, '`'), 128) + "\r\nLibraryTypes]1\r\nFutureKey]123\r\n]3", 0,
         nullptr},
    };
    for (const auto &row : rows) {
        SCOPED_TRACE(row.what);
        CapturedLines diagnostics;
        DataHandler store;
        const QString before = fileForm(store);
        QStringList written;
        ReplyParser parser(store, [&](const QString &t) { written.append(t); });
        QSignalSpy finished(&parser, &ReplyParser::finished);
        parser.begin({});
        // "LOST": a line the framer dropped.
        for (const QString &l : ("]3\r\n" + row.lines + "\r\n;").split("\r\n", Qt::SkipEmptyParts))
            l == "LOST" ? parser.lineLost("a test line") : parser.parseReply(l);
        EXPECT_EQ(parser.badLines(), row.badLines) << diagnostics.lines.join("\n").toStdString();
        EXPECT_GE(diagnostics.lines.size(), row.badLines);
        if (row.check)
            row.check(store);
        else
            EXPECT_EQ(fileForm(store), before);
        ASSERT_EQ(finished.size(), 1);
        EXPECT_EQ(finished[0][0].toBool(), row.badLines == 0);
        EXPECT_TRUE(written.isEmpty());
    }
}

// Lines however the bytes are chunked; one not UTF-8 or too long is dropped alone.
TEST(LineFramer, LinesComeOutWholeHoweverTheBytesArrive)
{
    const QByteArray noise(LineFramer::MaxLineBytes / 2 + 1, 'x');
    const struct
    {
        const char *what;
        QList<QByteArray> chunks;
        QStringList lines;
        int dropped;
    } rows[] = {
        {"CR and LF in different chunks", {"]3\r", "\n;\r", "\n"}, {"]3", ";"}, 0},
        {"a character split across chunks", {"Note]caf\xc3", "\xa9\n"}, {QStringLiteral("Note]caf\u00e9")}, 0},
        {"stray control bytes stay in their line", {QByteArray("\x01\x02junk\r\n", 8)}, {"\x01\x02junk"}, 0},
        {"a line not UTF-8", {"]3\r\nTempos]\xff\xfe", "120\r\n;\r\n"}, {"]3", ";"}, 1},
        {"an over-long line", {noise, noise, noise, "still noise\n;\n"}, {";"}, 1},
    };
    for (const auto &row : rows) {
        SCOPED_TRACE(row.what);
        CapturedLines diagnostics;
        LineFramer framer;
        QStringList lines;
        for (const QByteArray &chunk : row.chunks) {
            lines += framer.feed(chunk);
            EXPECT_LE(framer.pendingBytes(), LineFramer::MaxLineBytes) << "the buffer does not keep growing";
        }
        EXPECT_EQ(lines, row.lines);
        EXPECT_EQ(framer.droppedLines(), row.dropped);
        EXPECT_EQ(framer.pendingBytes(), 0);
        EXPECT_EQ(diagnostics.lines.size(), row.dropped);
    }
}
