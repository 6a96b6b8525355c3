# Tests of the virtual pedal (tools/virtual-pedal) and of pedal-session's send and
# receive, which talk to it over real pseudo-terminals.

add_library(pedal_test_vpedal STATIC vpedal_support.cpp vpedal_support.h)
target_link_libraries(pedal_test_vpedal PUBLIC pedal_format pedal_model Qt6::Core)
target_compile_definitions(pedal_test_vpedal PRIVATE PEDAL_BINARY_DIR="${PROJECT_BINARY_DIR}")

# The pedal's protocol logic without a device: framing, uploads, replies, bad input.
pedal_add_test(NAME vpedal_protocol_tests
  SOURCES vpedal_reader_test.cpp
  LIBS pedal_virtual pedal_test_vpedal)

# End to end: the programs themselves over pseudo-terminals.
pedal_add_test(NAME vpedal_send_all_tests
  SOURCES vpedal_send_all_test.cpp
  LIBS pedal_test_vpedal)
pedal_add_test(NAME vpedal_receive_tests
  SOURCES vpedal_receive_test.cpp
  LIBS pedal_test_vpedal pedal_link)
foreach(t vpedal_send_all_tests vpedal_receive_tests)
  add_dependencies(${t} virtual-pedal pedal-session)
endforeach()
