pedal_add_test(NAME format_tests
  SOURCES
    ${CMAKE_CURRENT_LIST_DIR}/format_codec_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/format_file_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/format_diff_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/format_check_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/format_csv_test.cpp
  LIBS pedal_format pedal_model pedal_test_random pedal_test_approved)
