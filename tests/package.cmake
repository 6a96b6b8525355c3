# The Debian package of this build tree, unpacked into a scratch root and run from there.
# Skipped (with the reason) where cpack or the dpkg tools are missing.
if(PEDAL_BUILD_EDITOR AND TARGET pedal-session AND TARGET virtual-pedal)
  add_test(NAME package_test
    COMMAND bash ${CMAKE_CURRENT_LIST_DIR}/package_test.sh ${PROJECT_BINARY_DIR} ${PROJECT_VERSION})
  set_tests_properties(package_test PROPERTIES
    SKIP_RETURN_CODE 77
    ENVIRONMENT "ASAN_OPTIONS=detect_leaks=1;UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1"
    TIMEOUT 600)
endif()
