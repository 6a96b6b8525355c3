# The session text of a full session with a 1,000-entry library: writing the file form,
# reading and applying it, and normalising the store.
pedal_add_bench(NAME bench_format
  SOURCES
    ${CMAKE_CURRENT_LIST_DIR}/bench_format.cpp
    ${PROJECT_SOURCE_DIR}/tests/support/RandomSession.cpp
  LIBS pedal_format pedal_model)
target_include_directories(bench_format PRIVATE ${PROJECT_SOURCE_DIR}/tests/support)
