zeziriv_add_fuzzer(NAME panel_position SOURCES ${CMAKE_CURRENT_SOURCE_DIR}/panel_position.cpp)
