// The window's pedal commands: each refuses or asks first, and only then has the link
// start. The link's alerts reach the same dialogs, as in the window.

#include "link_test_util.h"

#include "editor/PedalActions.h"
#include "ScriptedDialogs.h"

#include <gtest/gtest.h>

TEST(PedalActions, AskFirstThenStart)
{
    using Action = void (PedalActions::*)();
    const QString send = "About to send", receive = "About to receive",
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
        {&PedalActions::sendSongs, 'c', 0, {send}, "\r\n", ""},
        {&PedalActions::sendSongs, 'c', 1, {send}, "", ""},
        {&PedalActions::sendMidi, 'n', 0, {send, notConnected}, "", ""}, // sends ask first
        {&PedalActions::loadSetlist, 'c', 0, {receive}, "]6;", ""},
        {&PedalActions::loadGlobal, 'n', 0, {notConnected}, "", ""}, // loads do not
        {&PedalActions::loadAll, 'c', 0, {receive}, "]12;", "Load All"},
        {&PedalActions::loadAll, 'c', 2, {receive}, "", "Load All"},
        {&PedalActions::sendAll, 'c', 0, {send}, "\r\n", "Send All"},
        {&PedalActions::sendAll, 'n', 0, {send, notConnected}, "", ""}, // nothing to guard
        {&PedalActions::factoryResetPedal, 'c', 0, {reset}, "]4;", ""},
        {&PedalActions::factoryResetPedal, 'c', 1, {reset}, "", ""},
        {&PedalActions::factoryResetPedal, 'n', 0, {notConnected}, "", ""},
        {&PedalActions::sendSetJacks, 'b', 0, {busy}, "", ""},
        {&PedalActions::loadSongs, 'b', 0, {busy}, "", ""},
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
        const auto show = [&dialogs](const Alert &a) { dialogs.alert(a); };
        QObject::connect(rig.serial.get(), &SerialHandler::alertRaised, show);
        QObject::connect(rig.link.get(), &PedalLink::alertRaised, show);
        PedalActions actions(*rig.link, dialogs);
        QStringList guarded;
        actions.setTransferGuard([&](const QString &operation) {
            guarded.append(operation);
            return row.answer != 2;
        });
        (actions.*row.action)();
        EXPECT_EQ(dialogs.messages(), row.asked);
        EXPECT_EQ(rig.port->writtenTexts().value(0), row.firstWrite);
        EXPECT_EQ(guarded, row.guarded.isEmpty() ? QStringList() : QStringList{row.guarded});
        if (row.state != 'b') {
            EXPECT_EQ(rig.link->busy(), !row.firstWrite.isEmpty() && row.firstWrite != "]4;");
        }
    }
}
