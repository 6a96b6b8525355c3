#pragma once

// Shared set-up of the link tests: a store, scripted dialogs, a virtual clock and a
// serial handler on a fake device, with the diagnostic lines collected.

#include "link/FakeSerialTransport.h"
#include "link/ManualScheduler.h"
#include "link/PedalLink.h"
#include "link/SerialHandler.h"

#include "format/SessionKeys.h"
#include "format_test_util.h"
#include "model/DataHandler.h"
#include "model/ScriptedDialogs.h"

#include <QStringList>

#include <memory>

using DiagnosticsCapture = CapturedLines;

struct LinkRig
{
    DiagnosticsCapture diagnostics;
    DataHandler store;
    ScriptedDialogs dialogs;
    ManualScheduler clock;
    QStringList systemPorts{QStringLiteral("/dev/ttyS0")};
    FakeSerialTransport *port = nullptr; // owned by serial
    std::unique_ptr<SerialHandler> serial;
    std::unique_ptr<PedalLink> link;

    LinkRig()
    {
        auto transport = std::make_unique<FakeSerialTransport>();
        port = transport.get();
        auto lister = std::make_unique<PortLister>([this] { return systemPorts; });
        serial = std::make_unique<SerialHandler>(dialogs, clock, std::move(transport), std::move(lister));
        link = std::make_unique<PedalLink>(*serial, store, dialogs, clock);
    }

    // Plugs a pedal in after start-up and connects; clears what that wrote and showed.
    void connectPedal(const QString &path = QStringLiteral("/dev/ttyACM0"))
    {
        serial->recordStartupPorts();
        systemPorts.append(path);
        serial->connectToPedal();
        clock.advance(SerialHandler::GreetingDelayMs);
        port->clearWrites();
        dialogs.shown.clear();
    }

    // The page data text of the given keys as the pedal sends it back, from `from`.
    static QString replyLines(const DataHandler &from, const std::vector<int> &keys)
    {
        QString text;
        for (int k : keys)
            text += QString::fromLatin1(SessionKeys::at(k).key) + QLatin1Char(']')
                + SessionWriter::value(from, k, SessionWriter::Form::Reply) + QStringLiteral("\r\n");
        return text;
    }

    // The whole session as file text, for comparing stores.
    static QString fileText(const DataHandler &s) { return fileForm(s); }

    void receive(const QString &text) { port->receive(text.toUtf8()); }
};

// Keys that page data carries, in table order.
inline std::vector<int> pageDataKeys()
{
    std::vector<int> keys;
    for (int i = 0; i < SessionKeys::Count; ++i)
        if (SessionKeys::at(i).gated)
            keys.push_back(i);
    return keys;
}

// A store whose every page-data field differs from the factory session.
inline void scramble(DataHandler &s)
{
    for (size_t p = 0; p < s.SongList.size(); ++p) {
        Song &song = *s.SongList[p];
        song.UpdateName(p % 2 ? QStringLiteral("Song %1").arg(p) : QStringLiteral("Verse\r\nTwo %1").arg(p));
        song.UpdateTempo(40 + qint64(p) * 2);
        song.Fraction = qint64(p % 7);
        song.FontSize = qint64(p % 3);
        song.BackgroundColour = qint64(p % 20);
        song.ForegroundColour = qint64((p + 5) % 20);
        song.DivisionOne = qint64(p % 12);
        song.DivisionMidi = qint64(p % 9);
        song.ExpStack = qint64(127 - p);
        song.JackOne = 1;
        song.JackOnePulses = qint64(p % 30);
        song.JackTwo = qint64(p % 4);
        song.JackThree = 0;
        song.JackThreeStatic = qint64(p % 2);
        song.JackFour = qint64(p % 3);
        song.MidiStackReference = qint64((p * 3) % 128);
        song.StopMidiClock = qint64(p % 2);
        song.MimicFootswitch = qint64((p / 2) % 2);
        song.ProgramChange = qint64(128 - p);
        song.BankChange = qint64(p % 128 + 1);
        song.FootTAPFunction = qint64(p % 12);
        song.Jack3RingHOLDStack = qint64((p * 7) % 128);
        song.Jack2TipTAPPreset = qint64((p * 5) % 128);
    }
    s.Setlist.clear();
    for (int p : {4, 0, 9, 127})
        s.Setlist.push_back(s.SongList[size_t(p)]);
    for (size_t st = 0; st < s.MidiStackList.size(); ++st) {
        auto &messages = s.MidiStackList[st].MidiStackMessageList;
        for (size_t m = 0; m < messages.size(); ++m) {
            messages[m].Typey = qint64((st + m) % 7);
            messages[m].Channel = qint64((st + m) % 16 + 1);
            messages[m].Message = qint64((st * 10 + m) % 128);
            messages[m].Value = qint64((st + 3 * m) % 128);
        }
    }
    Menu &g = s.GlobalMenu;
    g.SendMidiClock = 1;
    g.MidiThru = 1;
    g.DisplayNameOnly = 1;
    g.MetroEnabled = 1;
    g.MidiChannelIn = 5;
    g.OneClickLength = 123;
    g.OffsetBpmOne = -5;
    g.OffsetBpmTwo = 7;
    g.OffsetBpmFour = -12;
    g.StackDelay = 1234;
    g.TftRotation = 2;
}
