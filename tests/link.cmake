# Tests of the pedal link (link/).

# Port list, connect, the alerts, port access texts, the pedal log; the firmware update
# with a stand-in flashing tool.
pedal_add_test(NAME link_serial_tests
  SOURCES link_serial_test.cpp support/LinkRig.h
  LIBS pedal_test_doubles pedal_test_random pedal_test_approved)

# The command set: paced sends, outcomes and what is known, refusals, loads, previews;
# the framer and the reply parser: lines stored or refused.
pedal_add_test(NAME link_transfer_tests
  SOURCES link_transfer_test.cpp support/LinkRig.h
  LIBS pedal_test_doubles pedal_test_random pedal_test_approved)

# The window's pedal commands, which ask before the link starts.
if(PEDAL_BUILD_EDITOR)
  pedal_add_test(NAME link_actions_tests
    SOURCES link_actions_test.cpp support/LinkRig.h
    LIBS pedal_editor pedal_test_doubles pedal_test_dialogs pedal_test_random pedal_test_approved)
endif()
