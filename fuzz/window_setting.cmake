zeziriv_add_fuzzer(NAME window_setting SOURCES ${CMAKE_CURRENT_SOURCE_DIR}/window_setting.cpp)
