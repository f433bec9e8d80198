zeziriv_add_fuzzer(NAME copy_color_format SOURCES ${CMAKE_CURRENT_SOURCE_DIR}/copy_color_format.cpp)
