pedal_add_test(NAME format_tests
  SOURCES
    ${CMAKE_CURRENT_LIST_DIR}/format_encodings_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/format_global_block_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/format_writer_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/format_reader_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/format_damaged_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/format_roundtrip_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/format_saver_test.cpp
  LIBS pedal_format pedal_model pedal_test_random)
