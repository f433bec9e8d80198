# Cross-compiles the Windows program with MinGW-w64 and runs its tests under Wine.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(ZEZIRIV_MINGW_PREFIX x86_64-w64-mingw32)

# The posix thread model gives std::mutex and friends (GoogleTest needs them).
set(CMAKE_C_COMPILER ${ZEZIRIV_MINGW_PREFIX}-gcc-posix)
set(CMAKE_CXX_COMPILER ${ZEZIRIV_MINGW_PREFIX}-g++-posix)
set(CMAKE_RC_COMPILER ${ZEZIRIV_MINGW_PREFIX}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${ZEZIRIV_MINGW_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# No runtime DLLs travel with the program.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")

find_program(ZEZIRIV_WINE wine REQUIRED)
set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_CURRENT_LIST_DIR}/../scripts/wine-run)
