# Language resource libraries: every res/languages/<language ID>/ttres.rc becomes the
# resource-only DLL resource/<language ID>/ttres.dll in the build tree (target
# ttres_<language ID>), beside the program as the program looks for it. The script includes
# resource.h for the identifiers and the generated zeziriv_version.h for the product version,
# so a library always carries the version of the program it was built with.
#   scripts/build-language builds one of them; docs/languages.md tells translators how.
if(NOT WIN32)
    return()
endif()
enable_language(RC)

set(ZEZIRIV_LANGUAGE_IDS "")
file(GLOB language_scripts ${PROJECT_SOURCE_DIR}/res/languages/*/ttres.rc)
foreach(script IN LISTS language_scripts)
    get_filename_component(folder ${script} DIRECTORY)
    get_filename_component(language ${folder} NAME)
    if(NOT language MATCHES "^[0-9]+$")
        message(WARNING "${script}: the folder must be named by a decimal language ID")
        continue()
    endif()
    set(target ttres_${language})
    add_library(${target} SHARED ${script})
    target_include_directories(${target} PRIVATE ${PROJECT_SOURCE_DIR}/res
                               ${PROJECT_BINARY_DIR}/generated)
    set_target_properties(${target} PROPERTIES
        LINKER_LANGUAGE CXX PREFIX "" OUTPUT_NAME ttres
        RUNTIME_OUTPUT_DIRECTORY ${PROJECT_BINARY_DIR}/resource/${language}
        ARCHIVE_OUTPUT_DIRECTORY ${PROJECT_BINARY_DIR}/resource-implib/${language})
    set_source_files_properties(${script} PROPERTIES OBJECT_DEPENDS
        "${PROJECT_SOURCE_DIR}/res/resource.h;${PROJECT_BINARY_DIR}/generated/zeziriv_version.h")
    if(MSVC)
        target_link_options(${target} PRIVATE /NOENTRY)
    else()
        # Nothing runs: the program maps the library as data only.
        target_link_options(${target} PRIVATE -nostdlib -s -Wl,-e,0 -Wl,--no-insert-timestamp)
    endif()
    list(APPEND ZEZIRIV_LANGUAGE_IDS ${language})
endforeach()
