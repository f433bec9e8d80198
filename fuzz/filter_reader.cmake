zeziriv_add_fuzzer(NAME filter_reader SOURCES ${CMAKE_CURRENT_SOURCE_DIR}/filter_reader.cpp)
