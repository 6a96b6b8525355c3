#pragma once

#include "format/SessionKeys.h"
#include "link/PedalLink.h"

#include <QString>

#include <functional>

class Dialogs;

// The window's pedal commands that ask first: each refuses when no pedal is connected or
// a transfer runs (the link raises why), asks its confirmation, and only then has the
// link start the transfer. Every command tests the connection before its confirmation.
//
// Send All and Load All ask the transfer guard (setTransferGuard) after their
// confirmation, when a pedal is connected: the window writes a backup of the session
// there, and may stop.
class PedalActions
{
public:
    PedalActions(PedalLink &link, Dialogs &dialogs);

    // "About to receive", then the load; "About to send", then the send.
    void load(PedalLink::Load which);
    void send(SessionKeys::Page page);

    // "About to factory reset", then "]4;".
    void factoryResetPedal();

    // Asked with the operation's name ("Send All", "Load All"); false stops it.
    void setTransferGuard(std::function<bool(const QString &operation)> guard) { m_guard = std::move(guard); }

    PedalLink &link() { return m_link; }

private:
    bool passGuard(const QString &operation);

    PedalLink &m_link;
    Dialogs &m_dialogs;
    std::function<bool(const QString &)> m_guard;
};
