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
# Live Updates in the window against the virtual pedal program, in real time: a typed tempo
# to the pedal's applying it, and the uploads made while a name is typed.
if(PEDAL_BUILD_EDITOR)
  pedal_add_bench(NAME bench_live_updates
    SOURCES
      ${CMAKE_CURRENT_LIST_DIR}/bench_live_updates.cpp
      ${PROJECT_SOURCE_DIR}/tests/support/ScriptedDialogs.cpp
    LIBS pedal_editor)
  target_include_directories(bench_live_updates PRIVATE ${PROJECT_SOURCE_DIR}/tests/support)
  target_compile_definitions(bench_live_updates PRIVATE PEDAL_BINARY_DIR="${PROJECT_BINARY_DIR}")
  add_dependencies(bench_live_updates virtual-pedal)
endif()
