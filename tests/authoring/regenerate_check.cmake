# Regenerates the shipped filter files into a scratch directory and compares them byte for byte
# with the committed ones, the language folders included: same names, same contents, nothing
# missing, nothing extra.
file(REMOVE_RECURSE ${SCRATCH})
file(MAKE_DIRECTORY ${SCRATCH})
execute_process(COMMAND ${GENERATOR} write ${SCRATCH} RESULT_VARIABLE rc)
if(NOT rc EQUAL 0)
    message(FATAL_ERROR "zeziriv-filtergen write failed: ${rc}")
endif()
file(GLOB_RECURSE generated RELATIVE ${SCRATCH} ${SCRATCH}/*)
file(GLOB_RECURSE shipped RELATIVE ${SHIPPED} ${SHIPPED}/*)
list(SORT generated)
list(SORT shipped)
if(NOT generated STREQUAL shipped)
    message(FATAL_ERROR "generated files [${generated}] differ from shipped [${shipped}]")
endif()
foreach(name IN LISTS generated)
    execute_process(COMMAND ${CMAKE_COMMAND} -E compare_files ${SCRATCH}/${name}
                            ${SHIPPED}/${name} RESULT_VARIABLE differs)
    if(differs)
        message(FATAL_ERROR "${name} differs from what zeziriv-filtergen writes; run "
                            "zeziriv-filtergen write data/filter/system")
    endif()
endforeach()
message(STATUS "all shipped filter files regenerate identically")
