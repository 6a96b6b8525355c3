# The virtual pedal (tools/virtual-pedal) and pedal-session, the programs themselves run
# over pseudo-terminals.

pedal_add_test(NAME vpedal_tests
  SOURCES vpedal_test.cpp support/ToolProcesses.h
  LIBS pedal_virtual pedal_format pedal_test_random pedal_test_approved)
pedal_add_test(NAME tool_session_tests
  SOURCES tool_session_test.cpp support/ToolProcesses.h
  LIBS pedal_format pedal_test_random pedal_test_approved)
foreach(t vpedal_tests tool_session_tests)
  add_dependencies(${t} virtual-pedal pedal-session)
endforeach()
