#include "PedalCommands.h"
#include "PedalLinkPrivate.h"
#include "Scheduler.h"

#include <algorithm>
#include <iterator>

// The loads of the link: one request, or a chain of them framed by the chained-load
// bracket, each answered with page data that the reply parser stores.

namespace {

struct LoadTexts
{
    PedalLink::Load load;
    SessionKeys::Page page; // whose load requests it writes (All: Load All's chain)
    const char *informative;
};

// One row per load, in the order of PedalLink::Load.
constexpr LoadTexts LoadPages[] = {
    {PedalLink::Load::Songs, SessionKeys::Page::Songs,
     "Will load the \"Songs\" page from the pedal\nData in the app will be overwritten"},
    {PedalLink::Load::SetJacks, SessionKeys::Page::SetJacks,
     "Will load the \"Set Jacks\" page from the pedal\nData in the app will be overwritten"},
    {PedalLink::Load::All, SessionKeys::Page::All,
     "Will load all data from the pedal\nData in the app will be overwritten"},
    {PedalLink::Load::Setlist, SessionKeys::Page::Setlist,
     "Will load the \"Setlist\" page from the pedal\nData in the app will be overwritten"},
    {PedalLink::Load::Midi, SessionKeys::Page::Midi,
     "Will load the \"Midi Management\" page from the pedal\nData in the app will be overwritten"},
    {PedalLink::Load::Global, SessionKeys::Page::Global,
     "Will load the \"Global Settings\" page from the pedal\nData in the app will be overwritten"},
};
static_assert(std::size(LoadPages) == size_t(PedalLink::Load::Global) + 1, "one row per load");

constexpr bool loadsInOrder()
{
    for (size_t i = 0; i < std::size(LoadPages); ++i)
        if (size_t(LoadPages[i].load) != i)
            return false;
    return true;
}
static_assert(loadsInOrder(), "row i holds load i");

const LoadTexts &loadPage(PedalLink::Load load)
{
    return LoadPages[size_t(load)];
}

} // namespace

bool PedalLink::startLoad(Load load)
{
    if (!d->serial.ready() || d->refuseIfBusy())
        return false;
    d->beginLoad(load);
    return true;
}

Alert PedalLink::receiveQuestion(Load load)
{
    return Alert::question(QStringLiteral("About to receive"), QString::fromUtf8(loadPage(load).informative));
}

QStringList PedalLink::requestsOf(Load load)
{
    QStringList texts;
    for (PedalCommands::Code code : PedalCommands::loadRequests(loadPage(load).page))
        texts.append(PedalCommands::text(code));
    return texts;
}

bool PedalLink::isChained(Load load)
{
    return PedalCommands::loadRequests(loadPage(load).page).size() > 1;
}

SessionKeys::Page PedalLink::pageOf(Load load)
{
    return loadPage(load).page;
}

PedalLink::Load PedalLink::loadOf(SessionKeys::Page page)
{
    for (const LoadTexts &l : LoadPages)
        if (l.page == page)
            return l.load;
    return Load::All;
}

std::vector<int> PedalLink::keysOf(Load load)
{
    std::vector<int> keys;
    for (PedalCommands::Code code : PedalCommands::loadRequests(loadPage(load).page)) {
        const std::vector<int> part = PedalCommands::keysOfRequest(int(code));
        keys.insert(keys.end(), part.begin(), part.end());
    }
    std::sort(keys.begin(), keys.end());
    return keys;
}

void PedalLink::setLoadTimeout(int ms)
{
    d->timeoutMs = ms > 0 ? ms : LoadTimeoutMs;
}

int PedalLink::loadTimeout() const
{
    return d->timeoutMs;
}

bool PedalLink::loading() const
{
    return d->transfer == Private::Transfer::Load;
}

bool PedalLink::chainedLoadRunning() const
{
    return d->parser.chainedLoad().inProgress;
}

void PedalLink::Private::beginLoad(Load which)
{
    const QStringList requests = requestsOf(which);
    transfer = Transfer::Load;
    load = which;
    serial.log(
        PedalLogEntry::Kind::Transfer,
        QStringLiteral("load of %1 started: %2").arg(pagesInWords(pageOf(which)), requests.join(QLatin1Char(' '))));
    parser.begin(keysOf(which));
    if (isChained(which)) {
        serial.sendText(PedalCommands::text(PedalCommands::Code::ChainBracket));
        parser.chainedLoad().start(requests);
        serial.sendText(requests.first());
        armTimeout();
        Q_EMIT q->progress(1, int(requests.size()), QString::fromLatin1(LoadingWhat));
        return;
    }
    serial.sendText(requests.first());
    armTimeout();
    Q_EMIT q->progress(1, 1, QString::fromLatin1(LoadingWhat));
}

// "1 second", "1.5 seconds", "15 seconds".
QString PedalLink::Private::secondsWords(int ms)
{
    return QString::number(ms / 1000.0, 'g', 6) + (ms == 1000 ? " second" : " seconds");
}

// The load is given up when no key it asks for arrives for the time-out, however
// many other lines come.
void PedalLink::Private::armTimeout()
{
    const quint64 id = ++watchId;
    QPointer<PedalLink> self(q);
    scheduler.after(timeoutMs, [self, id] {
        if (self && self->d->watchId == id && self->d->transfer == Transfer::Load)
            self->abortTransfer(QStringLiteral("The pedal sent none of the data asked for in %1.")
                                    .arg(secondsWords(self->d->timeoutMs)));
    });
}

void PedalLink::Private::onReply(const QString &line)
{
    if (transfer != Transfer::Load) {
        if (!partnerRuns(Transfer::Load))
            parser.parseReply(line); // logs a stray end of data, stores nothing
        return;
    }
    const int keys = parser.keysReceived();
    const int position = parser.chainedLoad().position;
    parser.parseReply(line);
    if (transfer == Transfer::Load && (parser.keysReceived() != keys || parser.chainedLoad().position != position))
        armTimeout();
}

void PedalLink::Private::onFinished(bool complete, const QString &problem)
{
    if (transfer != Transfer::Load)
        return;
    transfer = Transfer::None;
    ++watchId;
    serial.log(PedalLogEntry::Kind::Transfer,
               complete ? QStringLiteral("load finished")
                        : QStringLiteral("load finished incomplete: %1").arg(problem));
    Q_EMIT q->loadFinished(complete, problem);
    if (complete)
        Q_EMIT q->loadCompleted(load);
    Q_EMIT q->transferEnded();
}

void PedalLink::Private::abandonLoad(const QString &reason, bool cancelled)
{
    const ChainedLoad chain = parser.chainedLoad();
    parser.abandon();
    if (chain.inProgress) {
        serial.log(
            PedalLogEntry::Kind::Transfer,
            QStringLiteral("chained load left at request %1 of %2").arg(chain.position + 1).arg(chain.queue.size()));
        if (serial.portHeld())
            serial.sendText(PedalCommands::text(PedalCommands::Code::ChainBracket));
    }
    if (!cancelled)
        Q_EMIT q->transferInterrupted(
            QStringLiteral("Loading stopped"),
            reason + QStringLiteral("\nWhat arrived before has been kept; load again to get the rest."));
}
