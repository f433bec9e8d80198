# The install tree (cmake --install): the program with its data laid out as it runs, the
# filter directories relative to the executable's own directory.
#   zeziriv.exe
#   filter/system/*.xml   the shipped filters
#   filter/system/<language ID>/*.xml   the same filters with translated display names
#   resource/<language ID>/ttres.dll    the language resource libraries
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
# Only the library itself: an import library of a resource-only DLL serves no one.
foreach(language IN LISTS ZEZIRIV_LANGUAGE_IDS)
    install(FILES $<TARGET_FILE:ttres_${language}> DESTINATION resource/${language})
endforeach()
