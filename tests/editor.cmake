# The editor window and its pages, driven by their controls.
if(PEDAL_BUILD_EDITOR)
  pedal_add_test(NAME editor_pages_tests GUI
    SOURCES ${CMAKE_CURRENT_LIST_DIR}/editor_pages_test.cpp
    LIBS pedal_editor pedal_test_dialogs pedal_test_snapshot)
  pedal_add_test(NAME editor_window_tests GUI
    SOURCES ${CMAKE_CURRENT_LIST_DIR}/editor_window_test.cpp
    LIBS pedal_editor pedal_virtual pedal_test_doubles pedal_test_dialogs pedal_test_snapshot pedal_test_random)
  # The window test starts the virtual pedal when it is built.
  if(TARGET virtual-pedal)
    add_dependencies(editor_window_tests virtual-pedal)
  endif()
  # ... and the window's own program, ended by signals.
  if(TARGET pedal-editor)
    add_dependencies(editor_window_tests pedal-editor)
  endif()
endif()
if(PEDAL_BUILD_EDITOR)
  pedal_add_test(NAME editor_snapshot_tests GUI
    SOURCES ${CMAKE_CURRENT_LIST_DIR}/editor_snapshot_test.cpp
    LIBS pedal_editor pedal_test_doubles pedal_test_dialogs pedal_test_snapshot pedal_test_random)
endif()
if(PEDAL_BUILD_EDITOR)
  pedal_add_test(NAME editor_access_tests GUI
    SOURCES ${CMAKE_CURRENT_LIST_DIR}/editor_access_test.cpp
    LIBS pedal_editor pedal_test_doubles pedal_test_dialogs)
  # The window at larger screen scales: it opens within the screen and stays readable.
  foreach(scale 1.5 2)
    add_test(NAME editor_access_tests_scale_${scale}
      COMMAND editor_access_tests --gtest_filter=Access.WindowFitsTheScreenAndEveryFieldIsReadable)
    set_tests_properties(editor_access_tests_scale_${scale} PROPERTIES
      ENVIRONMENT "QT_QPA_PLATFORM=offscreen;QT_SCALE_FACTOR=${scale};ASAN_OPTIONS=detect_leaks=1:abort_on_error=1;UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1"
      TIMEOUT 300)
  endforeach()
endif()
# Every message of every translation is translated (lupdate marks new texts unfinished).
if(PEDAL_BUILD_EDITOR)
  add_test(NAME translations_finished
    COMMAND sh -c "! grep -n -e 'type=\"unfinished\"' -e '<translation></translation>' \"$0\"/translations/*.ts"
            ${PROJECT_SOURCE_DIR})
endif()
