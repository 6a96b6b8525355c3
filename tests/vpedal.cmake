# The virtual pedal (tools/virtual-pedal) and pedal-session, the programs themselves run
# over pseudo-terminals.

add_library(pedal_test_vpedal STATIC vpedal_support.cpp vpedal_support.h)
target_link_libraries(pedal_test_vpedal PUBLIC pedal_format pedal_model Qt6::Core)
target_compile_definitions(pedal_test_vpedal PRIVATE PEDAL_BINARY_DIR="${PROJECT_BINARY_DIR}")

pedal_add_test(NAME vpedal_tests
  SOURCES vpedal_test.cpp
  LIBS pedal_virtual pedal_test_vpedal pedal_test_random)
pedal_add_test(NAME tool_session_tests
  SOURCES tool_session_test.cpp
  LIBS pedal_test_vpedal pedal_test_random)
foreach(t vpedal_tests tool_session_tests)
  add_dependencies(${t} virtual-pedal pedal-session)
endforeach()
