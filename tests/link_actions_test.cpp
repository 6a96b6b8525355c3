// The window's pedal commands: each refuses or asks first, and only then has the link start.

#include "QtPrinters.h"
#include "LinkRig.h"

#include "editor/PedalActions.h"
#include "ScriptedDialogs.h"
#include "Snapshot.h"

#include <gtest/gtest.h>

#include <functional>

TEST(PedalActions, AskFirstThenStart)
{
    using Action = std::function<void(PedalActions &)>;
    const auto send = [](SessionKeys::Page p) { return Action([p](PedalActions &a) { a.send(p); }); };
    const auto load = [](PedalLink::Load w) { return Action([w](PedalActions &a) { a.load(w); }); };
    const struct
    {
        const char *what;
        Action action;
        char state; // 'c' connected, 'n' not connected, 'b' busy with a load
        int answer; // to the question; 2: "Ok", and the guard refuses
    } rows[] = {
        {"send Songs", send(SessionKeys::Page::Songs), 'c', 0},
        {"send Songs, cancelled", send(SessionKeys::Page::Songs), 'c', 1},
        {"send Midi, not connected", send(SessionKeys::Page::Midi), 'n', 0}, // sends do not ask first
        {"load Setlist", load(PedalLink::Load::Setlist), 'c', 0},
        {"load Global, not connected", load(PedalLink::Load::Global), 'n', 0}, // nor do loads
        {"load All", load(PedalLink::Load::All), 'c', 0},
        {"load All, the guard refuses", load(PedalLink::Load::All), 'c', 2},
        {"send All", send(SessionKeys::Page::All), 'c', 0},
        {"factory reset", &PedalActions::factoryResetPedal, 'c', 0},
        {"factory reset, cancelled", &PedalActions::factoryResetPedal, 'c', 1},
        {"factory reset, not connected", &PedalActions::factoryResetPedal, 'n', 0},
        {"send SetJacks, busy", send(SessionKeys::Page::SetJacks), 'b', 0},
        {"load Songs, busy", load(PedalLink::Load::Songs), 'b', 0},
    };
    QString transcript;
    for (const auto &row : rows) {
        SCOPED_TRACE(row.what);
        LinkRig rig;
        if (row.state != 'n')
            rig.connectPedal();
        if (row.state == 'b')
            rig.link->startLoad(PedalLink::Load::Setlist);
        rig.trace.clear();
        ScriptedDialogs dialogs;
        dialogs.answers = {row.answer % 2};
        dialogs.whileShown = [&](const Alert &a) { rig.note("ASKED " + a.message); };
        PedalActions actions(*rig.link, dialogs);
        actions.setTransferGuard([&](const QString &operation) {
            rig.note("GUARD " + operation);
            return row.answer != 2;
        });
        row.action(actions);
        rig.note(rig.link->busy() ? "busy" : "not busy");
        transcript += rig.row(row.what);
    }
    EXPECT_TRUE(Snapshot::matches("transcripts/link-actions.txt", transcript));
}
