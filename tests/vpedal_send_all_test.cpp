// A whole session sent to the virtual pedal and received back, over real
// pseudo-terminals, with the pacing of the upload checked in the pedal's log.

#include "vpedal_support.h"

#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>

using namespace vpedal;

namespace {

struct LoggedPiece
{
    double time;
    qint64 offset;
    qint64 size;
};

struct UploadLog
{
    double begin = -1;    // "]3;" received
    double complete = -1; // closing ";" received
    std::vector<LoggedPiece> pieces;
};

UploadLog readUploadLog(const QString &path)
{
    UploadLog log;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
        return log;
    static const QRegularExpression piece(
        QStringLiteral("^\\+([0-9.]+) \\S+ upload piece of (\\d+) bytes at offset (\\d+)"));
    static const QRegularExpression begin(QStringLiteral("^\\+([0-9.]+) \\S+ command \\]3; upload begins"));
    static const QRegularExpression complete(QStringLiteral("^\\+([0-9.]+) \\S+ upload closed by"));
    while (!file.atEnd()) {
        const QString line = QString::fromUtf8(file.readLine());
        if (auto m = piece.match(line); m.hasMatch())
            log.pieces.push_back({m.captured(1).toDouble(), m.captured(3).toLongLong(), m.captured(2).toLongLong()});
        else if (auto b = begin.match(line); b.hasMatch())
            log.begin = b.captured(1).toDouble();
        else if (auto c = complete.match(line); c.hasMatch())
            log.complete = c.captured(1).toDouble();
    }
    return log;
}

// When the byte at `offset` of the upload arrived.
double arrivalOf(const UploadLog &log, qint64 offset)
{
    for (const LoggedPiece &p : log.pieces)
        if (offset >= p.offset && offset < p.offset + p.size)
            return p.time;
    return -1;
}

} // namespace

TEST(VirtualPedalSendAll, WholeSessionComesBackWithThePedalDataAndPacedPieces)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString sessionPath = dir.filePath(QStringLiteral("session.txt"));
    const QString logPath = dir.filePath(QStringLiteral("pedal.log"));
    const QString savedPath = dir.filePath(QStringLiteral("pedal-saved.txt"));
    const QString linkPath = dir.filePath(QStringLiteral("pedal-port"));
    const QString receivedPath = dir.filePath(QStringLiteral("received.txt"));

    DataHandler original;
    randomSession(original, 7);
    ASSERT_TRUE(writeSessionFile(original, sessionPath));
    DataHandler expected; // what the editor's Open makes of the file
    ASSERT_TRUE(openSessionFile(expected, sessionPath));

    PedalProcess pedal;
    ASSERT_TRUE(pedal.start(
        {QStringLiteral("--log"), logPath, QStringLiteral("--save"), savedPath, QStringLiteral("--link"), linkPath}));
    EXPECT_EQ(QFileInfo(linkPath).symLinkTarget(), pedal.device());

    // Send through the link (the symbolic link works as a port name).
    const ToolResult sent = runTool({QStringLiteral("send"), sessionPath, QStringLiteral("--port"), linkPath,
                                     QStringLiteral("--page"), QStringLiteral("all")});
    ASSERT_EQ(sent.exitCode, 0) << qPrintable(sent.err);

    const ToolResult received =
        runTool({QStringLiteral("receive"), QStringLiteral("--port"), pedal.device(), QStringLiteral("--page"),
                 QStringLiteral("all"), QStringLiteral("-o"), receivedPath});
    ASSERT_EQ(received.exitCode, 0) << qPrintable(received.err);
    EXPECT_TRUE(received.out.isEmpty());

    DataHandler back;
    ASSERT_TRUE(openSessionFile(back, receivedPath));
    EXPECT_EQ(differingKeys(expected, back), QStringList());
    // Stack names, message names and the library never travel: the fresh session keeps its own.
    EXPECT_EQ(back.MidiStackList[3].Name, DataHandler().MidiStackList[3].Name);
    EXPECT_TRUE(back.MidiMessageLibrary.empty());

    // SIGTERM: clean end, the pedal's session saved, the link removed.
    EXPECT_EQ(pedal.stop(), 0);
    EXPECT_FALSE(QFileInfo::exists(linkPath) || QFileInfo(linkPath).isSymLink());
    DataHandler saved;
    ASSERT_TRUE(openSessionFile(saved, savedPath));
    EXPECT_EQ(differingKeys(expected, saved), QStringList());

    // Pieces of 1024 characters, 0.3 s apart, and the closing ";" 0.3 s after the last.
    // The tolerance allows for a loaded machine running sanitizers.
    const UploadLog log = readUploadLog(logPath);
    ASSERT_GE(log.begin, 0);
    ASSERT_GE(log.complete, 0);
    ASSERT_FALSE(log.pieces.empty());
    const qint64 length = log.pieces.back().offset + log.pieces.back().size;
    const qint64 count = (length + 1023) / 1024;
    ASSERT_GE(count, 30); // a whole session is several seconds of pieces
    const double tolerance = 0.25;
    double previous = arrivalOf(log, 0);
    EXPECT_NEAR(previous, log.begin, tolerance);
    double worst = 0;
    for (qint64 k = 1; k < count; ++k) {
        const double at = arrivalOf(log, k * 1024);
        EXPECT_NEAR(at - previous, 0.3, tolerance) << "piece " << k;
        worst = std::max(worst, std::abs(at - previous - 0.3));
        previous = at;
    }
    EXPECT_NEAR(log.complete - previous, 0.3, tolerance);
    worst = std::max(worst, std::abs(log.complete - previous - 0.3));
    std::printf("upload of %lld pieces over %.3f s; largest deviation from 0.3 s: %.3f s\n", count,
                log.complete - log.begin, worst);
    EXPECT_NEAR(log.complete - log.begin, 0.3 * double(count), 0.3 + tolerance);
}
