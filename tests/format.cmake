pedal_add_test(NAME format_tests
  SOURCES
    ${CMAKE_CURRENT_LIST_DIR}/format_codec_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/format_file_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/format_diff_test.cpp
  LIBS pedal_format pedal_model pedal_test_random)

# The command-line tool, run as a separate process.
if(TARGET pedal-session)
  pedal_add_test(NAME tool_session_tests
    SOURCES ${CMAKE_CURRENT_LIST_DIR}/tool_session_test.cpp
    LIBS pedal_format pedal_model pedal_test_random)
  target_compile_definitions(tool_session_tests PRIVATE PEDAL_SESSION_TOOL="$<TARGET_FILE:pedal-session>")
  add_dependencies(tool_session_tests pedal-session)
endif()
