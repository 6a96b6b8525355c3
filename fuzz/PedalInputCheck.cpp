#include "PedalInputCheck.h"

#include "FuzzInput.h"
#include "StoreSnapshot.h"

#include "link/LineFramer.h"
#include "link/ReplyParser.h"
#include "model/ScriptedDialogs.h"
#include "tools/virtual-pedal/VirtualPedal.h"

namespace {
// Chunks checked against a snapshot of the session taken before them; with more chunks
// the session is compared only where an upload or a reset may have changed it.
constexpr int SnapshotChunks = 64;
// Load requests the pedal answers per input; later ones are read and left unanswered. An
// answer is a whole page (up to 30 kB written, and read back by the editor's side), and
// inputs of thousands of requests would otherwise take most of the fuzzer's time without
// reaching anything new.
constexpr int AnsweredRequests = 16;
} // namespace

QString PedalInputCheck::run(const std::uint8_t *data, std::size_t size)
{
    const FuzzInput input(data, size);
    const QList<QByteArray> chunks = input.chunks();
    const bool readReplies = input.control() & ReadReplies;

    VirtualPedal pedal;
    pedal.setAnswerLimit(AnsweredRequests);

    // The editor's side, reading what the pedal answers.
    DataHandler editorStore;
    LineFramer framer;
    ReplyParser parser(editorStore, [](const QString &) {});
    int unreadable = 0;
    // Every end of data counts the lines that could not be read; the next reply is read
    // as a load of its own.
    parser.begin({});
    QObject::connect(&parser, &ReplyParser::finished, [&unreadable, &parser](bool, const QString &) {
        unreadable += parser.badLines();
        parser.begin({});
    });

    StoreSnapshot baseline = StoreSnapshot::of(pedal.session());
    VirtualPedal::Counters last = pedal.counters();
    for (qsizetype i = 0; i < chunks.size(); ++i) {
        const QByteArray reply = pedal.receive(chunks[i]);
        const auto where = [&] { return QStringLiteral("chunk %1 of %2: ").arg(i + 1).arg(chunks.size()); };

        const VirtualPedal::Counters &now = pedal.counters();
        const bool mayChange = now.uploadsApplied != last.uploadsApplied || now.factoryResets != last.factoryResets;
        // A chunk that completed nothing (no command, upload, preview or garbage) only
        // fed the reader's buffers, which cannot reach the session.
        const bool completed = mayChange || now.commands != last.commands || now.uploadsRefused != last.uploadsRefused
            || now.garbage != last.garbage || now.namePreviews != last.namePreviews
            || now.stackPreviews != last.stackPreviews || i + 1 == chunks.size();
        if (completed) {
            if (const QString shape = StoreSnapshot::shapeProblem(pedal.session()); !shape.isEmpty())
                return where() + QStringLiteral("the pedal's session lost its shape: ") + shape;
        }
        if (mayChange) {
            baseline = StoreSnapshot::of(pedal.session());
        } else if (completed && (chunks.size() <= SnapshotChunks || i + 1 == chunks.size())) {
            const StoreSnapshot after = StoreSnapshot::of(pedal.session());
            if (after != baseline)
                return where() + QStringLiteral("the pedal's session changed without an applied upload or reset: ")
                    + StoreSnapshot::difference(baseline, after);
        }
        last = now;

        if (readReplies && !reply.isEmpty()) {
            for (const QString &line : framer.feed(reply))
                parser.parseReply(line);
            if (unreadable > 0)
                return where()
                    + QStringLiteral("the editor could not read %1 lines of the pedal's page data").arg(unreadable);
            if (framer.droppedLines() > 0)
                return where() + QStringLiteral("the pedal's reply holds a line that is not UTF-8");
        }
    }
    if (readReplies && framer.pendingBytes() > 0)
        return QStringLiteral("the pedal's last reply ends without a line end");
    return QString();
}
