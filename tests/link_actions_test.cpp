// The window's pedal commands: each refuses or asks first, and only then has the link
// start. The link's alerts reach the same dialogs, as in the window.

#include "link_test_util.h"

#include "editor/PedalActions.h"
#include "model/ScriptedDialogs.h"

#include <gtest/gtest.h>

TEST(PedalActions, AskFirstThenStart)
{
    using Action = void (PedalActions::*)();
    const QString send = "About to send", receive = "About to receive",
                  notConnected = "Please connect to the pedal first";
    const struct
    {
        const char *what;
        Action action;
        bool connected, busy;
        int answer;
        bool guardAllows;
        QStringList asked;
        QString firstWrite; // "": nothing written
        QString guarded;    // the operation the guard was asked for
    } rows[] = {
        {"a send", &PedalActions::sendSongs, true, false, 0, true, {send}, "\r\n", ""},
        {"a send cancelled", &PedalActions::sendSongs, true, false, 1, true, {send}, "", ""},
        {"a send without a pedal asks first",
         &PedalActions::sendMidi,
         false,
         false,
         0,
         true,
         {send, notConnected},
         "",
         ""},
        {"a load", &PedalActions::loadSetlist, true, false, 0, true, {receive}, "]6;", ""},
        {"a load without a pedal does not ask",
         &PedalActions::loadGlobal,
         false,
         false,
         0,
         true,
         {notConnected},
         "",
         ""},
        {"Load All guarded", &PedalActions::loadAll, true, false, 0, true, {receive}, "]12;", "Load All"},
        {"Load All stopped by its guard", &PedalActions::loadAll, true, false, 0, false, {receive}, "", "Load All"},
        {"Send All guarded", &PedalActions::sendAll, true, false, 0, true, {send}, "\r\n", "Send All"},
        {"Send All without a pedal is not guarded",
         &PedalActions::sendAll,
         false,
         false,
         0,
         true,
         {send, notConnected},
         "",
         ""},
        {"a factory reset",
         &PedalActions::factoryResetPedal,
         true,
         false,
         0,
         true,
         {"About to factory reset"},
         "]4;",
         ""},
        {"a factory reset cancelled",
         &PedalActions::factoryResetPedal,
         true,
         false,
         1,
         true,
         {"About to factory reset"},
         "",
         ""},
        {"a factory reset without a pedal",
         &PedalActions::factoryResetPedal,
         false,
         false,
         0,
         true,
         {notConnected},
         "",
         ""},
        {"a send while busy", &PedalActions::sendSetJacks, true, true, 0, true, {"The pedal is busy"}, "", ""},
        {"a load while busy", &PedalActions::loadSongs, true, true, 0, true, {"The pedal is busy"}, "", ""},
    };
    for (const auto &row : rows) {
        SCOPED_TRACE(row.what);
        LinkRig rig;
        if (row.connected)
            rig.connectPedal();
        if (row.busy)
            rig.link->startLoad(PedalLink::Load::Setlist);
        rig.port->clearWrites();
        ScriptedDialogs dialogs;
        dialogs.answers = {row.answer};
        const auto show = [&dialogs](const Alert &a) { dialogs.alert(a); };
        QObject::connect(rig.serial.get(), &SerialHandler::alertRaised, show);
        QObject::connect(rig.link.get(), &PedalLink::alertRaised, show);
        PedalActions actions(*rig.link, dialogs);
        QStringList guarded;
        actions.setTransferGuard([&](const QString &operation) {
            guarded.append(operation);
            return row.guardAllows;
        });
        (actions.*row.action)();
        EXPECT_EQ(dialogs.messages(), row.asked);
        EXPECT_EQ(rig.port->writtenTexts().value(0), row.firstWrite);
        EXPECT_EQ(guarded, row.guarded.isEmpty() ? QStringList() : QStringList{row.guarded});
        if (!row.busy) {
            EXPECT_EQ(rig.link->busy(), !row.firstWrite.isEmpty() && row.firstWrite != "]4;");
        }
    }
}
