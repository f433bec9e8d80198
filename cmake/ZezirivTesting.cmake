# Test plumbing shared by the native and the Windows configuration.
#
# Natively every test executable runs directly. In the Windows configuration ctest starts it
# through CMAKE_CROSSCOMPILING_EMULATOR (wine) inside one Wine prefix per run, made by the
# wine_prefix fixture; the whole ctest run is expected under an X server (scripts/test uses
# xvfb-run).

# Built on Windows itself (MSVC), the tests run directly on the machine's desktop: no Wine
# prefix, and the tests that need Wine's set-up are not defined.
if(WIN32 AND CMAKE_CROSSCOMPILING)
    set(ZEZIRIV_UNDER_WINE ON)
else()
    set(ZEZIRIV_UNDER_WINE OFF)
endif()

set(ZEZIRIV_WINEPREFIX ${CMAKE_BINARY_DIR}/wineprefix)
set(ZEZIRIV_WINE_ENV
    "WINEPREFIX=${ZEZIRIV_WINEPREFIX}"
    "WINEDEBUG=-all"
    "WINEDLLOVERRIDES=mscoree,mshtml="
    "WINEARCH=win64")

function(zeziriv_setup_test_fixtures)
    if(NOT ZEZIRIV_UNDER_WINE OR TARGET zeziriv_wine_fixture_done)
        return()
    endif()
    add_custom_target(zeziriv_wine_fixture_done)
    add_test(NAME wine_prefix_init
             COMMAND ${CMAKE_SOURCE_DIR}/scripts/wine-prefix init ${ZEZIRIV_WINEPREFIX})
    set_tests_properties(wine_prefix_init PROPERTIES FIXTURES_SETUP wine_prefix
                         ENVIRONMENT "${ZEZIRIV_WINE_ENV}" TIMEOUT 300)
    add_test(NAME wine_prefix_stop
             COMMAND ${CMAKE_SOURCE_DIR}/scripts/wine-prefix stop ${ZEZIRIV_WINEPREFIX})
    set_tests_properties(wine_prefix_stop PROPERTIES FIXTURES_CLEANUP wine_prefix
                         ENVIRONMENT "${ZEZIRIV_WINE_ENV}" TIMEOUT 60)
endfunction()

# Marks a test (of any kind) as one that runs under Wine in the Windows configuration.
function(zeziriv_wine_test_properties name)
    if(WIN32 AND NOT ZEZIRIV_UNDER_WINE)
        # One desktop: tests that show windows take turns.
        set_tests_properties(${name} PROPERTIES RESOURCE_LOCK wine_desktop)
    elseif(WIN32)
        set_tests_properties(${name} PROPERTIES FIXTURES_REQUIRED wine_prefix
                             ENVIRONMENT "${ZEZIRIV_WINE_ENV}" RESOURCE_LOCK wine_desktop)
    endif()
endfunction()

# zeziriv_add_gtest(NAME name SOURCES a.cpp b.cpp [LIBRARIES libs...] [TIMEOUT s] [SERIAL])
# One ctest test per executable; GoogleTest's own output lists the cases.
function(zeziriv_add_gtest)
    cmake_parse_arguments(ARG "SERIAL" "NAME;TIMEOUT" "SOURCES;LIBRARIES" ${ARGN})
    zeziriv_setup_test_fixtures()
    add_executable(${ARG_NAME} ${ARG_SOURCES})
    target_link_libraries(${ARG_NAME} PRIVATE zeziriv_core ${ARG_LIBRARIES} GTest::gtest_main)
    target_include_directories(${ARG_NAME} PRIVATE ${CMAKE_SOURCE_DIR}/tests)
    add_test(NAME ${ARG_NAME} COMMAND ${ARG_NAME} --gtest_color=no)
    if(NOT ARG_TIMEOUT)
        set(ARG_TIMEOUT 300)
    endif()
    set_tests_properties(${ARG_NAME} PROPERTIES TIMEOUT ${ARG_TIMEOUT})
    if(WIN32)
        zeziriv_wine_test_properties(${ARG_NAME})
    endif()
    if(ARG_SERIAL)
        set_tests_properties(${ARG_NAME} PROPERTIES RUN_SERIAL TRUE)
    endif()
endfunction()
