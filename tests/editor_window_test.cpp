// The editor window: refresh, sorting, session actions, unsaved changes, pedal wiring.

#include "editor_window_fixture.h"
