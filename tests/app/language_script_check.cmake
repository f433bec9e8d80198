# A translation started with scripts/build-language --new compiles into a resource library
# as it stands, before a word is translated.
#   cmake -DSOURCE_DIR=... -DBUILD_DIR=... -DRC=... -DCXX=... -DSCRATCH=... -P ...
file(REMOVE_RECURSE ${SCRATCH})
execute_process(COMMAND ${SOURCE_DIR}/scripts/build-language --new 1031 ${SCRATCH}/ttres.rc
                RESULT_VARIABLE rc OUTPUT_QUIET)
if(NOT rc EQUAL 0)
    message(FATAL_ERROR "build-language --new failed: ${rc}")
endif()
file(READ ${SCRATCH}/ttres.rc script)
foreach(expected "#pragma code_page(65001)" "LANGUAGE 7, 1" "FILETYPE VFT_DLL" "040704b0"
                 "0x407, 1200" "\"ttres.dll\"" "IDS_CLOSE \"&Close\"")
    string(FIND "${script}" "${expected}" at)
    if(at EQUAL -1)
        message(FATAL_ERROR "the new script lacks ${expected}")
    endif()
endforeach()
foreach(unwanted "RT_MANIFEST" "IDI_TRAY ICON" "IDB_SPLASH BITMAP")
    string(FIND "${script}" "${unwanted}" at)
    if(NOT at EQUAL -1)
        message(FATAL_ERROR "the new script still carries ${unwanted}")
    endif()
endforeach()
execute_process(COMMAND ${RC} -I ${SOURCE_DIR}/res -I ${BUILD_DIR}/generated -O coff
                        -i ${SCRATCH}/ttres.rc -o ${SCRATCH}/ttres.o RESULT_VARIABLE rc)
if(NOT rc EQUAL 0)
    message(FATAL_ERROR "the new script does not compile: ${rc}")
endif()
execute_process(COMMAND ${CXX} -shared -nostdlib -s -Wl,-e,0 ${SCRATCH}/ttres.o
                        -o ${SCRATCH}/ttres.dll RESULT_VARIABLE rc)
if(NOT rc EQUAL 0 OR NOT EXISTS ${SCRATCH}/ttres.dll)
    message(FATAL_ERROR "the new library does not link: ${rc}")
endif()
execute_process(COMMAND ${SOURCE_DIR}/scripts/build-language --new 1031 ${SCRATCH}/ttres.rc
                RESULT_VARIABLE rc OUTPUT_QUIET ERROR_QUIET)
if(rc EQUAL 0)
    message(FATAL_ERROR "build-language --new overwrote a translation")
endif()
file(REMOVE_RECURSE ${SCRATCH})
