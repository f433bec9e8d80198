zeziriv_add_fuzzer(NAME picture_reader SOURCES ${CMAKE_CURRENT_SOURCE_DIR}/picture_reader.cpp
                   LIBRARIES zeziriv_authoring)
