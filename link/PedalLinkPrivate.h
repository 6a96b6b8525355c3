#pragma once

// What the two halves of PedalLink share: the sends (PedalLink.cpp) and the loads
// (PedalLoads.cpp). Not for use outside the link.

#include "PedalCommands.h"
#include "PedalLink.h"
#include "ReplyParser.h"
#include "SerialHandler.h"

#include <QPointer>

#include <optional>

// A page in the pedal log's words: "the Songs page", "all pages".
inline QString pagesInWords(SessionKeys::Page page)
{
    return page == SessionKeys::Page::All ? QStringLiteral("all pages")
                                          : QStringLiteral("the %1 page").arg(SessionKeys::pageTitle(page));
}

// The words of progress().
inline constexpr const char *SendingWhat = "Sending";
inline constexpr const char *LoadingWhat = "Loading";

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

    // Raises "The pedal is busy" (or the firmware update's alert) and returns true when
    // another transfer has the port.
    bool refuseIfBusy();

    // Normalise and select as the page's send does, then the send routine.
    bool send(SessionKeys::Page page);
    bool sendRoutine(std::optional<SessionKeys::Page> page);
    void writePiece(quint64 id, int i, int n, const QString &piece);

    // The load side (PedalLoads.cpp).
    void beginLoad(Load which);

    // "1 second", "1.5 seconds", "15 seconds".
    static QString secondsWords(int ms);

    // The load is given up when no key it asks for arrives for the time-out, however
    // many other lines come.
    void armTimeout();

    void onReply(const QString &line);
    void onFinished(bool complete, const QString &problem);
    // The part of abortTransfer() that ends a load: a chain left is closed with its bracket.
    void abandonLoad(const QString &reason, bool cancelled);

    // Logs a command that is no send or load as a transfer: "factory reset of all pages",
    // "name preview of the Songs page: song 3".
    void logCommand(PedalCommands::Code code, const QString &detail = QString());

    // Ends the running transfer early; `cancelled` when the user asked for it.
    void abortTransfer(const QString &reason, bool cancelled);
};
