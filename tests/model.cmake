# Randomised but valid stores, shared by the tests and the fuzz targets.
add_library(pedal_test_random STATIC ${CMAKE_CURRENT_LIST_DIR}/support/RandomSession.cpp)
target_link_libraries(pedal_test_random PUBLIC pedal_model)
target_include_directories(pedal_test_random PUBLIC ${CMAKE_CURRENT_LIST_DIR}/support)

pedal_add_test(NAME model_tests
  SOURCES
    ${CMAKE_CURRENT_LIST_DIR}/model_test.cpp
  LIBS pedal_model pedal_format pedal_test_random pedal_test_approved)
