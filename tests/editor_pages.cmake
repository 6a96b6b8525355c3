# The Setlist, Midi Management and Global Settings pages, driven by their controls.
if(PEDAL_BUILD_EDITOR)
  pedal_add_test(NAME editor_pages_global GUI
    SOURCES ${CMAKE_CURRENT_LIST_DIR}/editor_pages_global.cpp
    LIBS pedal_editor)
  pedal_add_test(NAME editor_pages_midi GUI
    SOURCES ${CMAKE_CURRENT_LIST_DIR}/editor_pages_midi.cpp
    LIBS pedal_editor)
  pedal_add_test(NAME editor_pages_setlist GUI
    SOURCES ${CMAKE_CURRENT_LIST_DIR}/editor_pages_setlist.cpp
    LIBS pedal_editor)
endif()
