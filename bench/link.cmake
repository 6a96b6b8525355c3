# Send Changes over the virtual pedal: a one-field change from the editor's link to the
# pedal's applying it, against the pacing limit of the bytes sent.
pedal_add_bench(NAME bench_send_changes SOURCES ${CMAKE_CURRENT_LIST_DIR}/bench_send_changes.cpp LIBS pedal_link)
target_compile_definitions(bench_send_changes PRIVATE PEDAL_BINARY_DIR="${PROJECT_BINARY_DIR}")
add_dependencies(bench_send_changes virtual-pedal)
