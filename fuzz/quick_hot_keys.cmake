zeziriv_add_fuzzer(NAME quick_hot_keys SOURCES ${CMAKE_CURRENT_SOURCE_DIR}/quick_hot_keys.cpp)
