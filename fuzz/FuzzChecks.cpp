#include "FuzzChecks.h"

#include "FakeSerialTransport.h"
#include "ManualScheduler.h"
#include "SessionFiles.h"

#include "format/SessionKeys.h"
#include "format/SessionReader.h"
#include "format/SessionWriter.h"
#include "link/ChainedLoad.h"
#include "link/LineFramer.h"
#include "link/PedalLink.h"
#include "link/PortLister.h"
#include "link/ReplyParser.h"
#include "link/SerialHandler.h"
#include "model/DataHandler.h"
#include "model/Normaliser.h"
#include "tools/virtual-pedal/VirtualPedal.h"

#include <QRegularExpression>

#include <memory>
#include <set>

namespace FuzzChecks {

namespace {
// Load requests the virtual pedal answers per input: an answer is a whole page, and inputs
// of thousands of requests would take the fuzzer's time without reaching anything new.
constexpr int AnsweredRequests = 16;
} // namespace

Input::Input(const QByteArray &raw)
{
    qsizetype at = 0;
    if (at < raw.size())
        control = std::uint8_t(raw[at++]);
    QList<qsizetype> sizes;
    for (int n = at < raw.size() ? std::uint8_t(raw[at++]) % 32 : 0; n > 0 && at < raw.size(); --n) {
        const int b = std::uint8_t(raw[at++]);
        sizes.append(b < 0xf0 ? b + 1 : (b - 0xef) * 1024);
    }
    const QByteArray payload = raw.mid(at);
    if (sizes.isEmpty())
        chunks.append(payload);
    for (qsizetype from = 0, next = 0; !sizes.isEmpty() && from < payload.size(); next = (next + 1) % sizes.size()) {
        chunks.append(payload.mid(from, sizes[next]));
        from += sizes[next];
    }
}

QByteArray Input::make(std::uint8_t control, const QList<std::uint8_t> &sizes, const QByteArray &payload)
{
    QByteArray out(1, char(control));
    out.append(char(sizes.size()));
    for (std::uint8_t size : sizes)
        out.append(char(size));
    return out + payload;
}

QString shapeProblem(const DataHandler &store)
{
    if (store.SongList.size() != size_t(DataHandler::SongCount))
        return QStringLiteral("%1 songs").arg(store.SongList.size());
    for (size_t p = 0; p < store.SongList.size(); ++p)
        if (!store.SongList[p] || store.SongList[p]->Id != qint64(p) + 1)
            return QStringLiteral("the song at position %1 is missing or has another Id").arg(p);
    if (store.Setlist.size() > size_t(DataHandler::SongCount))
        return QStringLiteral("a setlist of %1 entries").arg(store.Setlist.size());
    for (const SongRef &song : store.Setlist)
        if (store.songPosition(song.get()) < 0)
            return QStringLiteral("a setlist entry is not a song of SongList");
    if (store.MidiStackList.size() != size_t(DataHandler::StackCount))
        return QStringLiteral("%1 stacks").arg(store.MidiStackList.size());
    for (size_t s = 0; s < store.MidiStackList.size(); ++s)
        if (store.MidiStackList[s].ID != qint64(s)
            || store.MidiStackList[s].MidiStackMessageList.size() != size_t(MidiStack::MessageCount))
            return QStringLiteral("the stack at position %1 has another ID or number of messages").arg(s);
    return QString();
}

QString sessionFile(const QByteArray &raw)
{
    const bool legacyOk = !raw.isEmpty() && (raw[0] & LegacyOk);
    static const DataHandler factory;
    SessionReader reader;
    SessionReader::Status status = reader.readText(SessionReader::decodeBytes(raw.mid(1)), factory);
    if (status == SessionReader::Status::NeedsConsent)
        status = reader.answerLegacy(legacyOk);
    if (status != SessionReader::Status::Read && status != SessionReader::Status::Declined)
        return reader.problem().isEmpty() ? QStringLiteral("the file was refused without a reason") : QString();

    // Only the keys read can differ from the factory session: they are written, opened in a
    // new factory store and written again.
    DataHandler store;
    reader.apply(store);
    Normaliser::normalise(store);
    if (reader.presentKeys().empty()) {
        // A declined older-layout file: nothing is read, and the store stays as it was.
        return keyImage(store) == keyImage(factory) ? QString()
                                                    : QStringLiteral("a file of no keys changed the session");
    }
    if (const QString shape = shapeProblem(store); !shape.isEmpty())
        return QStringLiteral("the file left a store of the wrong shape: ") + shape;
    const QString text = SessionWriter::writeKeys(store, reader.presentKeys());
    DataHandler again;
    SessionReader second;
    const SessionReader::Status reread = second.readText(text, again);
    if (reread == SessionReader::Status::NeedsConsent)
        return QStringLiteral("opening the written session asked: ") + second.legacyQuestion().informative;
    if (reread != SessionReader::Status::Read)
        return QStringLiteral("the written session is refused: ") + second.problem();
    second.apply(again);
    Normaliser::normalise(again);
    if (SessionWriter::writeKeys(again, reader.presentKeys()) != text)
        return QStringLiteral("writing and opening the session again changed it");
    return QString();
}

QString receive(const QByteArray &raw)
{
    const Input input(raw);
    DataHandler store;
    ManualScheduler clock;
    QStringList ports{QStringLiteral("/dev/ttyS0")};
    auto transport = std::make_unique<FakeSerialTransport>();
    FakeSerialTransport *port = transport.get();
    SerialHandler serial(clock, std::move(transport), std::make_unique<PortLister>([&ports] { return ports; }));
    PedalLink link(serial, store, clock);

    const auto chainProblem = [&link]() -> QString {
        const ChainedLoad &chain = link.parser().chainedLoad();
        if (chain.inProgress ? chain.position >= 0 && chain.position < chain.queue.size()
                             : chain.queue.isEmpty() && chain.position == 0)
            return QString();
        return QStringLiteral("chained load at %1 of a queue of %2").arg(chain.position).arg(chain.queue.size());
    };
    // Every key whose value changes must have been stored by a line, one key per line.
    QString failure;
    int lines = 0, stored = 0;
    std::set<int> storedKeys;
    static const QStringList before = keyImage(DataHandler()); // the factory session
    QObject::connect(&link.parser(), &ReplyParser::stored, [&](int key) {
        ++stored;
        storedKeys.insert(key);
    });
    // Connected after the pedal link: the line has been handled.
    QObject::connect(&serial, &SerialHandler::replyLine, [&](const QString &line) {
        const int storedBefore = stored;
        ++lines;
        const QString where = QStringLiteral("line %1 (\"%2\"): ").arg(lines).arg(line.left(40));
        if (!failure.isEmpty() || stored == storedBefore)
            return;
        if (stored > storedBefore + 1)
            failure = where + QStringLiteral("one line stored %1 keys").arg(stored - storedBefore);
        else if (const QString shape = shapeProblem(store); !shape.isEmpty())
            failure = where + QStringLiteral("the store lost its shape: ") + shape;
    });

    // The pedal plugged in after start-up, then connected.
    serial.recordStartupPorts();
    ports.append(QStringLiteral("/dev/ttyACM0"));
    if (!serial.connectToPedal())
        return QStringLiteral("the fake pedal could not be connected");
    clock.advance(SerialHandler::GreetingDelayMs);
    port->clearWrites();
    static const PedalLink::Load loads[] = {
        PedalLink::Load::Songs, PedalLink::Load::SetJacks, PedalLink::Load::All, PedalLink::Load::Setlist,
        PedalLink::Load::Midi,  PedalLink::Load::Global,   PedalLink::Load::All};
    if ((input.control & 7) != 0 && !link.startLoad(loads[(input.control & 7) - 1]))
        return QStringLiteral("the load could not be started");

    for (const QByteArray &chunk : input.chunks) {
        port->receive(chunk);
        if (input.control & ClockRuns)
            clock.advance(1000);
        if (failure.isEmpty() && !chainProblem().isEmpty())
            failure = QStringLiteral("after a chunk: ") + chainProblem();
        if (!failure.isEmpty())
            return failure;
    }
    clock.advance(PedalLink::LoadTimeoutMs + 1000);
    const QStringList after = keyImage(store);
    for (int k = 0; k < SessionKeys::Count && failure.isEmpty(); ++k)
        if (after[k] != before[k] && !storedKeys.count(k))
            failure = QStringLiteral("%1 changed, but no line stored it").arg(QLatin1String(SessionKeys::at(k).key));
    if (failure.isEmpty() && (link.chainedLoadRunning() || link.busy()))
        failure = QStringLiteral("the link is still busy after the time-out");
    if (failure.isEmpty() && !(chainProblem() + shapeProblem(store)).isEmpty())
        failure = QStringLiteral("at the end: ") + chainProblem() + shapeProblem(store);
    static const QRegularExpression command(QStringLiteral("^\\](0|[1-9][0-9]?);$"));
    for (const QString &written : port->writtenTexts())
        if (failure.isEmpty() && !command.match(written).hasMatch())
            failure = QStringLiteral("the link wrote \"%1\", which is no pedal command").arg(written.left(40));
    return failure;
}

QString pedalInput(const QByteArray &raw)
{
    const Input input(raw);
    VirtualPedal pedal;
    pedal.setAnswerLimit(AnsweredRequests);

    // The editor's side, reading what the pedal answers; every end of data counts the
    // lines that could not be read, and the next reply is read as a load of its own.
    DataHandler editorStore;
    LineFramer framer;
    ReplyParser parser(editorStore, [](const QString &) {});
    int unreadable = 0;
    parser.begin({});
    QObject::connect(&parser, &ReplyParser::finished, [&unreadable, &parser](bool, const QString &) {
        unreadable += parser.badLines();
        parser.begin({});
    });

    // The image of the session after the last applied upload or reset.
    static const QStringList factory = keyImage(DataHandler());
    QStringList last = factory;
    VirtualPedal::Counters counted = pedal.counters();
    for (qsizetype i = 0; i < input.chunks.size(); ++i) {
        const QByteArray reply = pedal.receive(input.chunks[i]);
        const QString where = QStringLiteral("chunk %1 of %2: ").arg(i + 1).arg(input.chunks.size());
        const VirtualPedal::Counters &now = pedal.counters();
        if (now.uploadsApplied != counted.uploadsApplied || now.factoryResets != counted.factoryResets) {
            if (const QString shape = shapeProblem(pedal.session()); !shape.isEmpty())
                return where + QStringLiteral("the pedal's session lost its shape: ") + shape;
            last = keyImage(pedal.session());
        }
        counted = now;
        if (!(input.control & ReadReplies) || reply.isEmpty())
            continue;
        for (const QString &line : framer.feed(reply))
            parser.parseReply(line);
        if (unreadable > 0)
            return where
                + QStringLiteral("the editor could not read %1 lines of the pedal's page data").arg(unreadable);
        if (framer.droppedLines() > 0)
            return where + QStringLiteral("the pedal's reply holds a line that is not UTF-8");
    }
    if ((input.control & ReadReplies) && framer.pendingBytes() > 0)
        return QStringLiteral("the pedal's last reply ends without a line end");
    if (keyImage(pedal.session()) != last)
        return QStringLiteral("the pedal's session changed without an applied upload or reset");
    if (const QString shape = shapeProblem(pedal.session()); !shape.isEmpty())
        return QStringLiteral("the pedal's session lost its shape: ") + shape;
    return QString();
}

} // namespace FuzzChecks
