// The window's pedal commands: each refuses or asks first, and only then has the link start.

#include "link_test_util.h"

#include "editor/PedalActions.h"
#include "ScriptedDialogs.h"

#include <gtest/gtest.h>

#include <functional>

TEST(PedalActions, AskFirstThenStart)
{
    using Action = std::function<void(PedalActions &)>;
    const auto send = [](SessionKeys::Page p) { return Action([p](PedalActions &a) { a.send(p); }); };
    const auto load = [](PedalLink::Load w) { return Action([w](PedalActions &a) { a.load(w); }); };
    const QString sending = "About to send", receive = "About to receive",
                  notConnected = "Please connect to the pedal first";
    const QString reset = "About to factory reset", busy = "The pedal is busy";
    const struct
    {
        Action action;
        char state; // 'c' connected, 'n' not connected, 'b' busy with a load
        int answer; // to the question; 2: "Ok", and the guard refuses
        QStringList asked;
        QString firstWrite; // "": nothing written
        QString guarded;    // the operation the guard was asked for
    } rows[] = {
        {send(SessionKeys::Page::Songs), 'c', 0, {sending}, "]3;", ""},
        {send(SessionKeys::Page::Songs), 'c', 1, {sending}, "", ""},
        {send(SessionKeys::Page::Midi), 'n', 0, {notConnected}, "", ""}, // sends do not ask first
        {load(PedalLink::Load::Setlist), 'c', 0, {receive}, "]6;", ""},
        {load(PedalLink::Load::Global), 'n', 0, {notConnected}, "", ""}, // nor do loads
        {load(PedalLink::Load::All), 'c', 0, {receive}, "]12;", "Load All"},
        {load(PedalLink::Load::All), 'c', 2, {receive}, "", "Load All"},
        {send(SessionKeys::Page::All), 'c', 0, {sending}, "]3;", "Send All"},
        {&PedalActions::factoryResetPedal, 'c', 0, {reset}, "]4;", ""},
        {&PedalActions::factoryResetPedal, 'c', 1, {reset}, "", ""},
        {&PedalActions::factoryResetPedal, 'n', 0, {notConnected}, "", ""},
        {send(SessionKeys::Page::SetJacks), 'b', 0, {busy}, "", ""},
        {load(PedalLink::Load::Songs), 'b', 0, {busy}, "", ""},
    };
    for (const auto &row : rows) {
        SCOPED_TRACE(&row - rows);
        LinkRig rig;
        if (row.state != 'n')
            rig.connectPedal();
        if (row.state == 'b')
            rig.link->startLoad(PedalLink::Load::Setlist);
        rig.port->clearWrites();
        ScriptedDialogs dialogs;
        dialogs.answers = {row.answer % 2};
        PedalActions actions(*rig.link, dialogs);
        QStringList guarded;
        actions.setTransferGuard([&](const QString &operation) {
            guarded.append(operation);
            return row.answer != 2;
        });
        row.action(actions);
        EXPECT_EQ(dialogs.messages() + rig.messages(), row.asked);
        EXPECT_EQ(rig.port->writtenTexts().value(0), row.firstWrite);
        EXPECT_EQ(guarded, row.guarded.isEmpty() ? QStringList() : QStringList{row.guarded});
        if (row.state != 'b') {
            EXPECT_EQ(rig.link->busy(), !row.firstWrite.isEmpty() && row.firstWrite != "]4;");
        }
    }
}
