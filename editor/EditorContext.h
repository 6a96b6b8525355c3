#pragma once

#include "EditorEvents.h"
#include "EditorState.h"
#include "PedalActions.h"
#include "PedalActions.h"
#include "SharedLists.h"

class DataHandler;
class Dialogs;
class SessionHistory;

// What every page of the window works with. The window owns all of it and hands the
// same context to each page.
struct EditorContext
{
    DataHandler &store;
    EditorState &state;
    SharedLists &lists;
    Dialogs &dialogs;
    EditorEvents &events;
    // Every change of the session goes through it (one undo step per change).
    SessionHistory &history;
    // The pedal's command set; null when the window runs without a pedal link (tests).
    // A page's Send/Load buttons do nothing when it is null.
    PedalLink *link = nullptr;
    // The Send/Load commands that ask first; null exactly when `link` is.
    PedalActions *pedal = nullptr;

    // A page's Send and Load buttons: nothing without a pedal link.
    void send(SessionKeys::Page page)
    {
        if (pedal)
            pedal->send(page);
    }
    void load(PedalLink::Load which)
    {
        if (pedal)
            pedal->load(which);
    }
};
