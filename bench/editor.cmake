# The editor window: from nothing to the window shown, RefreshAllPages, and the memory
# and undo/redo times of the session history.
if(PEDAL_BUILD_EDITOR)
  pedal_add_bench(NAME bench_window SOURCES ${CMAKE_CURRENT_LIST_DIR}/bench_window.cpp LIBS pedal_editor pedal_test_dialogs)
endif()
