#include "ReceiveCheck.h"

#include "FuzzInput.h"
#include "StoreSnapshot.h"

#include "link/ChainedLoad.h"
#include "FakeSerialTransport.h"
#include "ManualScheduler.h"
#include "link/PedalLink.h"
#include "link/PortLister.h"
#include "link/ReplyParser.h"
#include "link/SerialHandler.h"
#include "model/DataHandler.h"
#include "model/ScriptedDialogs.h"

#include <QRegularExpression>

#include <memory>
#include <optional>

namespace {

// Lines checked against a snapshot of the store taken before them; later lines still get
// every other check. An image costs about as much as handling a dozen lines, so a snapshot
// per line of a long input would make the fuzzer several times slower.
constexpr int SnapshotLines = 32;

QString chainProblem(const ChainedLoad &chain)
{
    if (chain.inProgress) {
        if (chain.queue.isEmpty())
            return QStringLiteral("a chained load runs on an empty queue");
        if (chain.position < 0 || chain.position >= chain.queue.size())
            return QStringLiteral("the chained-load position %1 is outside its queue of %2")
                .arg(chain.position)
                .arg(chain.queue.size());
        return QString();
    }
    if (!chain.queue.isEmpty() || chain.position != 0)
        return QStringLiteral("an idle chained load holds a queue of %1 at position %2")
            .arg(chain.queue.size())
            .arg(chain.position);
    return QString();
}

std::optional<PedalLink::Load> loadOf(std::uint8_t control)
{
    switch (control & 7) {
    case ReceiveCheck::LoadSongs: return PedalLink::Load::Songs;
    case ReceiveCheck::LoadSetJacks: return PedalLink::Load::SetJacks;
    case ReceiveCheck::LoadAll:
    case 7: return PedalLink::Load::All;
    case ReceiveCheck::LoadSetlist: return PedalLink::Load::Setlist;
    case ReceiveCheck::LoadMidi: return PedalLink::Load::Midi;
    case ReceiveCheck::LoadGlobal: return PedalLink::Load::Global;
    default: return std::nullopt;
    }
}

} // namespace

QString ReceiveCheck::run(const std::uint8_t *data, std::size_t size)
{
    const FuzzInput input(data, size);

    DataHandler store;
    ScriptedDialogs dialogs;
    ManualScheduler clock;
    QStringList ports{QStringLiteral("/dev/ttyS0")};
    auto transport = std::make_unique<FakeSerialTransport>();
    FakeSerialTransport *port = transport.get();
    auto lister = std::make_unique<PortLister>([&ports] { return ports; });
    SerialHandler serial(clock, std::move(transport), std::move(lister));

    // The store may change only through a line that is stored. Its image is taken at the
    // start and after every stored line, and compared before every line that might be
    // stored (page data mode, a "]" in the line) and at the end; so a change by any other
    // line is caught at the latest by the next such line.
    QString failure;
    int lines = 0;
    int stored = 0;
    int storedBefore = 0;
    int checkedFrom = 1; // first line since the image was taken
    std::optional<StoreSnapshot> image;
    // Nothing has happened since the image was taken (no line handled, no time passed):
    // a comparison now could not find anything.
    bool imageFresh = false;
    const auto verify = [&](const QString &where) {
        if (!failure.isEmpty())
            return;
        const StoreSnapshot now = StoreSnapshot::of(store);
        if (image && now != *image)
            failure = where + QStringLiteral("lines that were not stored changed the store: ")
                + StoreSnapshot::difference(*image, now);
        image = now;
        imageFresh = true;
    };

    // Connected before the pedal link, so this runs before the parser sees the line.
    PedalLink *linkPointer = nullptr;
    QObject::connect(&serial, &SerialHandler::replyLine, [&](const QString &line) {
        ++lines;
        storedBefore = stored;
        if (!failure.isEmpty() || lines > SnapshotLines || !linkPointer->parser().pageDataMode()
            || !line.contains(QLatin1Char(']')))
            return;
        if (imageFresh) {
            checkedFrom = lines;
            return;
        }
        verify(QStringLiteral("lines %1 to %2: ").arg(checkedFrom).arg(lines - 1));
        checkedFrom = lines;
    });

    PedalLink link(serial, store, clock);
    linkPointer = &link;
    QObject::connect(&link.parser(), &ReplyParser::stored, [&stored](int) { ++stored; });

    // Connected after the pedal link: the line has been handled.
    QObject::connect(&serial, &SerialHandler::replyLine, [&](const QString &line) {
        if (!failure.isEmpty())
            return;
        const auto where = [&] { return QStringLiteral("line %1 (\"%2\"): ").arg(lines).arg(line.left(40)); };
        if (const QString chain = chainProblem(link.parser().chainedLoad()); !chain.isEmpty()) {
            failure = where() + chain;
            return;
        }
        if (stored > storedBefore + 1) {
            failure = where() + QStringLiteral("one line stored %1 keys").arg(stored - storedBefore);
            return;
        }
        imageFresh = false;
        if (stored != storedBefore) {
            // Changed as it should: the image starts afresh after this line.
            if (lines <= SnapshotLines) {
                image = StoreSnapshot::of(store);
                imageFresh = true;
            }
            checkedFrom = lines + 1;
            if (const QString shape = StoreSnapshot::shapeProblem(store); !shape.isEmpty())
                failure = where() + QStringLiteral("the store lost its shape: ") + shape;
        }
    });

    // Plug the pedal in after start-up and connect.
    serial.recordStartupPorts();
    ports.append(QStringLiteral("/dev/ttyACM0"));
    if (!serial.connectToPedal())
        return QStringLiteral("the fake pedal could not be connected");
    clock.advance(SerialHandler::GreetingDelayMs);
    port->clearWrites();

    const std::uint8_t control = input.control();
    if (const auto load = loadOf(control)) {
        if (!link.startLoad(*load))
            return QStringLiteral("the load could not be started");
    }

    image = StoreSnapshot::of(store);
    imageFresh = true;
    for (const QByteArray &chunk : input.chunks()) {
        port->receive(chunk);
        if (!failure.isEmpty())
            return failure;
        if (control & ClockRuns) {
            clock.advance(1000);
            imageFresh = false;
        }
        if (const QString chain = chainProblem(link.parser().chainedLoad()); !chain.isEmpty())
            return QStringLiteral("after the clock moved on: ") + chain;
    }

    if (lines <= SnapshotLines)
        verify(QStringLiteral("lines %1 to %2: ").arg(checkedFrom).arg(lines));
    if (!failure.isEmpty())
        return failure;

    clock.advance(PedalLink::LoadTimeoutMs + 1000);
    if (link.chainedLoadRunning() || link.busy())
        return QStringLiteral("the link is still busy after the time-out");
    if (const QString chain = chainProblem(link.parser().chainedLoad()); !chain.isEmpty())
        return QStringLiteral("at the end: ") + chain;
    if (const QString shape = StoreSnapshot::shapeProblem(store); !shape.isEmpty())
        return QStringLiteral("at the end the store lost its shape: ") + shape;

    static const QRegularExpression command(QStringLiteral("^\\](0|[1-9][0-9]?);$"));
    for (const QString &written : port->writtenTexts())
        if (!command.match(written).hasMatch())
            return QStringLiteral("the link wrote \"%1\", which is no pedal command").arg(written.left(40));
    return QString();
}
