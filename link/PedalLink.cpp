#include "PedalLink.h"

#include "PedalCommands.h"
#include "PedalLinkPrivate.h"
#include "Scheduler.h"

#include "format/Encodings.h"
#include "model/DataHandler.h"
#include "model/Diagnostics.h"
#include "model/Normaliser.h"

#include <algorithm>
#include <iterator>

namespace {

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

} // namespace

const QString PedalLink::UploadEnd = QStringLiteral("\r\n;");

void PedalLink::Private::logCommand(PedalCommands::Code code, const QString &detail)
{
    const PedalCommands::Command &command = PedalCommands::of(code);
    serial.log(PedalLogEntry::Kind::Transfer,
               QStringLiteral("%1 of %2").arg(QLatin1String(command.words), pagesInWords(command.page))
                   + (detail.isEmpty() ? QString() : QStringLiteral(": ") + detail));
}

bool PedalLink::Private::refuseIfBusy()
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
bool PedalLink::Private::send(SessionKeys::Page page)
{
    if (pageTexts(page).normalise)
        Normaliser::normalise(store);
    writer.selectPage(page);
    return sendRoutine(page);
}

bool PedalLink::Private::sendRoutine(std::optional<SessionKeys::Page> page)
{
    if (!serial.readyForUpload()) {
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
                   .arg(page ? pagesInWords(*page) : QStringLiteral("a selection"),
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

void PedalLink::Private::writePiece(quint64 id, int i, int n, const QString &piece)
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

void PedalLink::Private::abortTransfer(const QString &reason, bool cancelled)
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
                                          reason + QStringLiteral("\nThe pedal did not get everything; send again."));
    } else {
        abandonLoad(reason, cancelled);
    }
    if (cancelled)
        Q_EMIT q->transferCancelled(wasSend ? QStringLiteral("Send cancelled") : QStringLiteral("Load cancelled"));
    Q_EMIT q->pedalSessionUnknown();
    Q_EMIT q->transferEnded();
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
    d->logCommand(PedalCommands::Code::FactoryReset);
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
    d->logCommand(PedalCommands::Code::NamePreview, QStringLiteral("song %1").arg(songPosition + 1));
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
    const auto unset = [](const MidiStackMessage &m) { return m.Channel == 0 && m.Message == 0 && m.Value == 0; };
    const auto &messages = stack.MidiStackMessageList;
    // Numbered from 1, as the stack lists show it.
    d->logCommand(PedalCommands::Code::StackPreview,
                  QStringLiteral("stack %1, %2")
                      .arg(stackPosition + 1)
                      .arg(Diagnostics::counted(std::count_if(messages.begin(), messages.end(),
                                                              [&](const MidiStackMessage &m) { return !unset(m); }),
                                                "message", "messages")));
    for (const MidiStackMessage &m : messages) {
        if (unset(m))
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

ReplyParser &PedalLink::parser()
{
    return d->parser;
}

SessionWriter &PedalLink::writer()
{
    return d->writer;
}
