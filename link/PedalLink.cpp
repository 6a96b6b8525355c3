#include "PedalLink.h"

#include "PedalCommands.h"
#include "ReplyParser.h"
#include "Scheduler.h"
#include "SerialHandler.h"

#include "format/Encodings.h"
#include "model/DataHandler.h"
#include "model/Diagnostics.h"
#include "model/Normaliser.h"

#include <QPointer>

#include <algorithm>
#include <iterator>
#include <optional>

namespace {

const char *const SendingWhat = "Sending";
const char *const LoadingWhat = "Loading";

struct PageTexts
{
    SessionKeys::Page page;
    const char *sendInformative;
    bool normalise;
};

// The send confirmations (their wording, misspelling included, is what users know).
const PageTexts SendPages[] = {
    {SessionKeys::Page::Songs,
     "Will send the \"Songs\" page to the pedal\nData on the pedal will be overwritten\n"
     "Pedal will indicate when finished",
     true},
    {SessionKeys::Page::SetJacks,
     "Will send the \"Set Jacks\" page to the pedal\nData on the pedal will be overwritten\n"
     "Pedal will indicate when finished",
     true},
    {SessionKeys::Page::Midi,
     "Will send the \"Midi Managment\" page to the pedal\nData on the pedal will be "
     "overwritten\nPedal will indicate when finished",
     true},
    {SessionKeys::Page::Global,
     "Will send the \"Global Settings\" page to the pedal\nData on the pedal will be "
     "overwritten\nPedal will indicate when finished",
     false},
    {SessionKeys::Page::Setlist,
     "Will send the \"Setlist\" page to the pedal\nData on the pedal will be overwritten\n"
     "Pedal will indicate when finished",
     false},
    {SessionKeys::Page::All,
     "Will send all data to the pedal\nData on the pedal will be overwritten\n"
     "Pedal will indicate when finished",
     true},
};

static_assert(std::size(SendPages) == size_t(SessionKeys::Page::All) + 1, "one row per page");

const PageTexts &pageTexts(SessionKeys::Page page)
{
    for (const PageTexts &p : SendPages)
        if (p.page == page)
            return p;
    return SendPages[5];
}

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

const QString PedalLink::UploadEnd = QStringLiteral("\r\n;");

struct PedalLink::Private
{
    enum class Transfer { None, Send, Load };

    PedalLink *q;
    SerialHandler &serial;
    DataHandler &store;
    Scheduler &scheduler;
    SessionWriter writer;
    ReplyParser parser;

    Transfer transfer = Transfer::None;
    std::optional<SessionKeys::Page> runningPage; // the page of the running send, if any
    Load load = Load::All;                        // the running load
    int timeoutMs = LoadTimeoutMs;
    quint64 sendId = 0;          // identifies the send that scheduled piece writes
    quint64 watchId = 0;         // identifies the latest load time-out
    QPointer<PedalLink> partner; // another link on the same port, if any

    Private(PedalLink *link, SerialHandler &s, DataHandler &st, Scheduler &sc)
        : q(link), serial(s), store(st), scheduler(sc), parser(st, [this](const QString &text) {
              serial.sendText(text);
          })
    {}

    bool partnerRuns(Transfer kind) const
    {
        return partner && partner->d->transfer != Transfer::None
            && (kind == Transfer::None || partner->d->transfer == kind);
    }

    bool refuseIfBusy()
    {
        if (serial.refuseIfUpdating())
            return true;
        if (transfer == Transfer::None && !partnerRuns(Transfer::None))
            return false;
        Q_EMIT q->alertRaised(Alert::failure(QStringLiteral("The pedal is busy"),
                                             QStringLiteral("Another transfer is still running.\n"
                                                            "Try again when it has finished.")));
        return true;
    }

    // Normalise and select as the page's send does, then the send routine.
    bool send(SessionKeys::Page page)
    {
        if (pageTexts(page).normalise)
            Normaliser::normalise(store);
        writer.selectPage(page);
        return sendRoutine(page);
    }

    bool sendRoutine(std::optional<SessionKeys::Page> page)
    {
        if (!serial.ready()) {
            writer.setAllKeyFlags(false);
            return false;
        }
        const QString text = writer.write(store, SessionWriter::Form::Pedal);
        Q_EMIT q->sendStarted();
        writer.setAllKeyFlags(false);

        const QStringList writes = PedalLink::uploadWrites(text);
        const int n = int(writes.size()) - 2; // the pieces between "]3;" and ";"

        transfer = Transfer::Send;
        runningPage = page;
        const quint64 id = ++sendId;
        serial.log(PedalLogEntry::Kind::Transfer,
                   QStringLiteral("send of %1 started: %2 in %3")
                       .arg(!page ? QStringLiteral("a selection")
                                : *page == SessionKeys::Page::All
                                ? QStringLiteral("all pages")
                                : QStringLiteral("the %1 page").arg(SessionKeys::pageTitle(*page)),
                            Diagnostics::counted(text.size(), "character", "characters"),
                            Diagnostics::counted(n, "piece", "pieces")));
        serial.sendText(writes.first());
        Q_EMIT q->progress(0, n, QString::fromLatin1(SendingWhat));
        QPointer<PedalLink> self(q);
        for (int i = 0; i <= n; ++i) {
            const QString piece = writes.at(i + 1);
            scheduler.after(PieceIntervalMs * i, [self, id, i, n, piece] {
                if (self)
                    self->d->writePiece(id, i, n, piece);
            });
        }
        return true;
    }

    void writePiece(quint64 id, int i, int n, const QString &piece)
    {
        if (id != sendId || transfer != Transfer::Send)
            return;
        const QString logAs = i < n ? QStringLiteral("piece %1 of %2: %3 characters at offset %4")
                                          .arg(i + 1)
                                          .arg(n)
                                          .arg(piece.size())
                                          .arg(qint64(i) * PieceLength)
                                    : QString();
        if (!serial.sendText(piece, logAs)) {
            abortTransfer(serial.portHeld()
                              ? QStringLiteral("The pedal's port did not take piece %1 of %2.").arg(i + 1).arg(n + 1)
                              : QStringLiteral("The pedal's port went away before everything was sent."),
                          false);
            return;
        }
        if (i < n) {
            Q_EMIT q->progress(i + 1, n, QString::fromLatin1(SendingWhat));
            return;
        }
        transfer = Transfer::None;
        const std::optional<SessionKeys::Page> page = runningPage;
        runningPage.reset();
        serial.log(PedalLogEntry::Kind::Transfer, QStringLiteral("send finished"));
        if (page)
            Q_EMIT q->sendCompleted(*page);
        Q_EMIT q->transferEnded();
    }

    void beginLoad(Load which)
    {
        const QStringList requests = requestsOf(which);
        transfer = Transfer::Load;
        load = which;
        serial.log(PedalLogEntry::Kind::Transfer,
                   QStringLiteral("load started: %1").arg(requests.join(QLatin1Char(' '))));
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
    static QString secondsWords(int ms)
    {
        return QString::number(ms / 1000.0, 'g', 6) + (ms == 1000 ? " second" : " seconds");
    }

    // The load is given up when no key it asks for arrives for the time-out, however
    // many other lines come.
    void armTimeout()
    {
        const quint64 id = ++watchId;
        QPointer<PedalLink> self(q);
        scheduler.after(timeoutMs, [self, id] {
            if (self && self->d->watchId == id && self->d->transfer == Transfer::Load)
                self->abortTransfer(QStringLiteral("The pedal sent none of the data asked for in %1.")
                                        .arg(secondsWords(self->d->timeoutMs)));
        });
    }

    void abortTransfer(const QString &reason, bool cancelled)
    {
        if (transfer == Transfer::None)
            return;
        const bool wasSend = transfer == Transfer::Send;
        transfer = Transfer::None;
        runningPage.reset();
        ++sendId;
        ++watchId;
        serial.log(PedalLogEntry::Kind::Transfer,
                   QStringLiteral("%1 %2: %3")
                       .arg(wasSend ? QStringLiteral("send") : QStringLiteral("load"),
                            cancelled ? QStringLiteral("cancelled") : QStringLiteral("stopped"), reason));
        if (wasSend) {
            // The pedal would take the next command as part of the upload: end it here.
            if (serial.portHeld())
                serial.sendText(UploadEnd);
            if (!cancelled)
                Q_EMIT q->transferInterrupted(QStringLiteral("Sending stopped"),
                                              reason
                                                  + QStringLiteral("\nThe pedal did not get everything; send again."));
        } else {
            const ChainedLoad chain = parser.chainedLoad();
            parser.abandon();
            if (chain.inProgress) {
                serial.log(PedalLogEntry::Kind::Transfer,
                           QStringLiteral("chained load left at request %1 of %2")
                               .arg(chain.position + 1)
                               .arg(chain.queue.size()));
                if (serial.portHeld())
                    serial.sendText(PedalCommands::text(PedalCommands::Code::ChainBracket));
            }
            if (!cancelled)
                Q_EMIT q->transferInterrupted(
                    QStringLiteral("Loading stopped"),
                    reason + QStringLiteral("\nWhat arrived before has been kept; load again to get the rest."));
        }
        if (cancelled)
            Q_EMIT q->transferCancelled(wasSend ? QStringLiteral("Send cancelled") : QStringLiteral("Load cancelled"));
        Q_EMIT q->pedalSessionUnknown();
        Q_EMIT q->transferEnded();
    }

    void onReply(const QString &line)
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

    void onFinished(bool complete, const QString &problem)
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
};

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

PedalLink::PedalLink(SerialHandler &serial, DataHandler &store, Scheduler &scheduler, QObject *parent)
    : QObject(parent), d(std::make_unique<Private>(this, serial, store, scheduler))
{
    connect(&serial, &SerialHandler::replyLine, this, [this](const QString &line) { d->onReply(line); });
    connect(&serial, &SerialHandler::replyLineLost, this,
            [this](const QString &reason) { d->parser.lineLost(reason); });
    connect(&serial, &SerialHandler::portLost, this, [this](const QString &message) { abortTransfer(message); });
    connect(&d->parser, &ReplyParser::stored, this, [this] { Q_EMIT storeChangedByPedal(); });
    connect(&d->parser, &ReplyParser::requestWritten, this,
            [this](int k, int n) { Q_EMIT progress(k, n, QString::fromLatin1(LoadingWhat)); });
    connect(&d->parser, &ReplyParser::finished, this,
            [this](bool complete, const QString &problem) { d->onFinished(complete, problem); });
}

PedalLink::~PedalLink() = default;

void PedalLink::abortTransfer(const QString &reason)
{
    d->abortTransfer(reason, false);
}

bool PedalLink::cancel()
{
    if (!busy())
        return false;
    d->abortTransfer(QStringLiteral("Cancelled."), true);
    return true;
}

void PedalLink::setLoadTimeout(int ms)
{
    d->timeoutMs = ms > 0 ? ms : LoadTimeoutMs;
}

int PedalLink::loadTimeout() const
{
    return d->timeoutMs;
}

// ---- loads ------------------------------------------------------------------------

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

// ---- sends ------------------------------------------------------------------------

bool PedalLink::startSend(SessionKeys::Page page)
{
    if (d->refuseIfBusy())
        return false;
    return d->send(page);
}

bool PedalLink::sendSelection()
{
    if (d->refuseIfBusy()) {
        d->writer.setAllKeyFlags(false);
        return false;
    }
    return d->sendRoutine(std::nullopt);
}

QStringList PedalLink::uploadWrites(const QString &pedalText)
{
    const QString text = QString(pedalText).replace(QLatin1Char(' '), QLatin1Char('_'));
    QStringList out{PedalCommands::text(PedalCommands::Code::Upload)};
    for (qsizetype at = 0; at < text.size(); at += PieceLength)
        out.append(text.mid(at, PieceLength));
    out.append(QString(QLatin1Char(PedalCommands::End)));
    return out;
}

QString PedalLink::uploadText(const QString &pedalText)
{
    return uploadWrites(pedalText).join(QString());
}

Alert PedalLink::sendQuestion(SessionKeys::Page page)
{
    return Alert::question(QStringLiteral("About to send"), QString::fromUtf8(pageTexts(page).sendInformative));
}

// ---- factory reset and previews -------------------------------------------------------

Alert PedalLink::factoryResetQuestion()
{
    return Alert::destructive(QStringLiteral("About to factory reset"),
                              QStringLiteral("Your pedal will be reset to its factory settings.\n"
                                             "The computer data will remain the same."));
}

bool PedalLink::factoryReset()
{
    if (!d->serial.ready() || d->refuseIfBusy()
        || !d->serial.sendText(PedalCommands::text(PedalCommands::Code::FactoryReset)))
        return false;
    Q_EMIT factoryResetSent();
    return true;
}

void PedalLink::previewName(int songPosition)
{
    if (songPosition < 0 || songPosition >= int(d->store.SongList.size()))
        return;
    Normaliser::normalise(d->store);
    if (!d->serial.ready() || d->refuseIfBusy())
        return;
    const Song &song = *d->store.SongList.at(size_t(songPosition));
    QString name = song.NameWithoutBreaks;
    name.replace(QLatin1Char('_'), QLatin1Char('['));
    name = Encodings::paddedName(name, 30);
    name.replace(QLatin1Char(' '), QLatin1Char('_'));
    // The song's number on the pedal is its position in the list, counted from 1.
    const QString writes[] = {
        PedalCommands::text(PedalCommands::Code::NamePreview),
        Encodings::fixedNumber(songPosition + 1, 3),
        QString::number(d->store.GlobalMenu.DisplayNameOnly),
        Encodings::fixedNumber(song.FontSize, 1),
        Encodings::fixedNumber(song.BackgroundColour, 2),
        Encodings::fixedNumber(song.ForegroundColour, 2),
        name,
        QString(QLatin1Char(PedalCommands::End)),
    };
    for (const QString &w : writes)
        d->serial.sendText(w);
}

void PedalLink::previewStack(int stackPosition)
{
    if (!d->serial.ready() || d->refuseIfBusy())
        return;
    if (stackPosition < 0 || stackPosition >= int(d->store.MidiStackList.size()))
        return;
    const MidiStack &stack = d->store.MidiStackList.at(size_t(stackPosition));
    for (const MidiStackMessage &m : stack.MidiStackMessageList) {
        if (m.Channel == 0 && m.Message == 0 && m.Value == 0)
            continue;
        d->serial.sendText(PedalCommands::text(PedalCommands::Code::StackPreview));
        d->serial.sendText(Encodings::fixedNumber(Encodings::statusNumber(m.Typey, m.Channel), 3));
        d->serial.sendText(Encodings::fixedNumber(m.Message, 3));
        d->serial.sendText(Encodings::fixedNumber(m.Value, 3));
        d->serial.sendText(QString(QLatin1Char(PedalCommands::End)));
    }
}

// ---- state ------------------------------------------------------------------------

bool PedalLink::busy() const
{
    return d->transfer != Private::Transfer::None || d->partnerRuns(Private::Transfer::None);
}

void PedalLink::sharePortWith(PedalLink &other)
{
    d->partner = &other;
    other.d->partner = this;
}

bool PedalLink::ready()
{
    return d->serial.ready();
}

bool PedalLink::portHeld() const
{
    return d->serial.isConnected() && d->serial.portHeld();
}

bool PedalLink::refuseIfBusy()
{
    return d->refuseIfBusy();
}

bool PedalLink::sending() const
{
    return d->transfer == Private::Transfer::Send;
}

bool PedalLink::loading() const
{
    return d->transfer == Private::Transfer::Load;
}

bool PedalLink::chainedLoadRunning() const
{
    return d->parser.chainedLoad().inProgress;
}

ReplyParser &PedalLink::parser()
{
    return d->parser;
}

SessionWriter &PedalLink::writer()
{
    return d->writer;
}
