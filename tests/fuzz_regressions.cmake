# Every input that once made a fuzz target fail (fuzz/regressions/<target>/), and the seed
# corpora, run through the same checks as the fuzz targets, here under the sanitizers of
# the normal test build.
pedal_add_test(NAME fuzz_regressions_test
  SOURCES
    ${CMAKE_CURRENT_LIST_DIR}/fuzz_regressions_test.cpp
    ${PROJECT_SOURCE_DIR}/fuzz/FuzzChecks.cpp
  LIBS pedal_virtual pedal_test_doubles pedal_link pedal_format pedal_model)
