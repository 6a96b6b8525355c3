#pragma once

#include "EditorEvents.h"
#include "EditorState.h"
#include "SharedLists.h"

class DataHandler;
class Dialogs;
class PedalLink;
class SessionHistory;
class WindowCommands;

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
    // The pedal's command set, for the previews; null when the window runs without a pedal
    // link (tests).
    PedalLink *link = nullptr;
    // The window's commands, whose Send, Load and Reset each page shows as its buttons;
    // null for a page on its own (tests), whose buttons then do nothing.
    WindowCommands *commands = nullptr;
};
