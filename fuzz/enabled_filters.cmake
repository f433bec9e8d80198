zeziriv_add_fuzzer(NAME enabled_filters SOURCES ${CMAKE_CURRENT_SOURCE_DIR}/enabled_filters.cpp)
