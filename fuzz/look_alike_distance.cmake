zeziriv_add_fuzzer(NAME look_alike_distance SOURCES ${CMAKE_CURRENT_SOURCE_DIR}/look_alike_distance.cpp)
