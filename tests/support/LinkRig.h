#pragma once

// The link tests' rig: a store, a virtual clock, a serial handler on a fake device, a trace of what passes.

#include "FakeSerialTransport.h"
#include "ManualScheduler.h"
#include "RandomSession.h"
#include "link/PedalLink.h"
#include "link/SerialHandler.h"

#include "format/SessionKeys.h"
#include "SessionText.h"

#include "link/PedalLog.h"

#include <memory>

struct LinkRig
{
    CapturedLines diagnostics;
    DataHandler store;
    ManualScheduler clock;
    QStringList systemPorts{QStringLiteral("/dev/ttyS0")};
    FakeSerialTransport *port = nullptr; // owned by serial
    std::unique_ptr<SerialHandler> serial;
    std::unique_ptr<PedalLink> link;
    QStringList trace; // the pedal log's lines and the alerts, each at its time on the clock

    LinkRig()
    {
        auto transport = std::make_unique<FakeSerialTransport>();
        port = transport.get();
        auto lister = std::make_unique<PortLister>([this] { return systemPorts; });
        serial = std::make_unique<SerialHandler>(clock, std::move(transport), std::move(lister));
        link = std::make_unique<PedalLink>(*serial, store, clock);
        const auto hear = [this](const Alert &a) {
            note(QStringLiteral("ALERT %1 %2: %3 [%4]")
                     .arg(a.kind == Alert::Kind::Failure ? "failure" : "plain", a.message,
                          PedalLogEntry::visible(a.informative, 300), a.buttons.join(", ")));
        };
        QObject::connect(serial.get(), &SerialHandler::alertRaised, hear);
        QObject::connect(link.get(), &PedalLink::alertRaised, hear);
        // The pedal log's lines stay short, whatever passes.
        QObject::connect(serial.get(), &SerialHandler::logged, [this](const PedalLogEntry &e) {
            const QString shown = e.format();
            EXPECT_LE(shown.size(), 400) << shown.toStdString();
            EXPECT_FALSE(shown.contains('\n')) << shown.toStdString();
            note(PedalLogEntry::kindName(e.kind) + ": " + e.text);
        });
        // What the link tells of its transfers.
        PedalLink *l = link.get();
        QObject::connect(l, &PedalLink::progress, [this](int done, int total, const QString &what) {
            note(QStringLiteral("PROGRESS %1/%2 %3").arg(done).arg(total).arg(what));
        });
        QObject::connect(l, &PedalLink::loadFinished, [this](bool complete, const QString &problem) {
            note(QStringLiteral("LOAD FINISHED %1 %2").arg(complete ? "complete" : "incomplete", problem));
        });
        QObject::connect(l, &PedalLink::transferInterrupted, [this](const QString &message, const QString &info) {
            note("INTERRUPTED " + message + ": " + PedalLogEntry::visible(info, 300));
        });
        QObject::connect(l, &PedalLink::transferCancelled, [this](const QString &m) { note("CANCELLED " + m); });
        QObject::connect(l, &PedalLink::loadCompleted,
                         [this](PedalLink::Load w) { note(QStringLiteral("LOADED %1").arg(int(w))); });
        QObject::connect(l, &PedalLink::sendCompleted,
                         [this](SessionKeys::Page p) { note(QStringLiteral("SENT %1").arg(int(p))); });
        QObject::connect(l, &PedalLink::transferEnded, [this] { note("ENDED"); });
        QObject::connect(l, &PedalLink::pedalSessionUnknown, [this] { note("UNKNOWN"); });
        QObject::connect(l, &PedalLink::factoryResetSent, [this] { note("RESET SENT"); });
        QObject::connect(l, &PedalLink::storeChangedByPedal, [this] { note("STORE CHANGED"); });
    }

    void note(const QString &text) { trace << QStringLiteral("%1 %2").arg(clock.now()).arg(text); }
    // The trace under the heading of a row of a reviewed transcript; the trace starts afresh.
    QString row(const QString &name)
    {
        const QString text = "== " + name + " ==\n" + trace.join('\n') + '\n';
        trace.clear();
        return text;
    }

    // Plugs a pedal in after start-up and connects; clears what that wrote and raised.
    void connectPedal(const QString &path = QStringLiteral("/dev/ttyACM0"))
    {
        serial->recordStartupPorts();
        systemPorts.append(path);
        serial->connectToPedal();
        clock.advance(SerialHandler::GreetingDelayMs);
        port->clearWrites();
        trace.clear();
    }

    // The page data lines of the given keys as the pedal sends them back, from `from`.
    static QString replyLines(const DataHandler &from, const std::vector<int> &keys)
    {
        QString text;
        for (int k : keys)
            text += line(SessionKeys::at(k).key, SessionWriter::value(from, k, SessionWriter::Form::Reply));
        return text;
    }

    void receive(const QString &text) { port->receive(text.toUtf8()); }
    // A reply to a request: "]3", the lines, ";".
    void reply(const QString &lines = {}) { receive("]3\r\n" + lines + ";\r\n"); }
};

// The page data values of a store (what a load can change).
inline QString pageData(const DataHandler &s)
{
    return LinkRig::replyLines(s, PedalLink::keysOf(PedalLink::Load::All));
}
