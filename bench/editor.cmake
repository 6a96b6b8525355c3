# The editor window: from nothing to the window shown, RefreshAllPages, and the memory
# and undo/redo times of the session history. The scripted dialogs are compiled in from
# tests/support, so that the benchmark builds without the tests.
if(PEDAL_BUILD_EDITOR)
  pedal_add_bench(NAME bench_window
    SOURCES
      ${CMAKE_CURRENT_LIST_DIR}/bench_window.cpp
      ${PROJECT_SOURCE_DIR}/tests/support/ScriptedDialogs.cpp
    LIBS pedal_editor)
  target_include_directories(bench_window PRIVATE ${PROJECT_SOURCE_DIR}/tests/support)
endif()
