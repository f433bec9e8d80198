# The install tree (cmake --install): the program with its data laid out as it runs, the
# filter directories relative to the executable's own directory.
#   zeziriv.exe
#   filter/system/*.xml   the shipped filters
#   zeziriv-filter.exe    the filter tool, when it is built
if(NOT WIN32)
    return()
endif()
if(TARGET zeziriv)
    install(TARGETS zeziriv RUNTIME DESTINATION .)
endif()
if(EXISTS ${PROJECT_SOURCE_DIR}/data/filter/system)
    install(DIRECTORY ${PROJECT_SOURCE_DIR}/data/filter/system/ DESTINATION filter/system
            FILES_MATCHING PATTERN "*.xml")
endif()
foreach(tool zeziriv-filter zeziriv_filter)
    if(TARGET ${tool})
        install(TARGETS ${tool} RUNTIME DESTINATION .)
    endif()
endforeach()
