# Makes the distribution of this build with scripts/package and lays it out for the package
# test: checks the sums, that a second run gives the same bytes and that the zip holds exactly
# the install tree, unpacks the zip, and mounts a small disk of its own (a tmpfs, when this
# machine allows it) for the no-space case.
#   cmake -DSOURCE_DIR=... -DBUILD_DIR=... -DVERSION=... -P package_check.cmake
#   cmake -DBUILD_DIR=... -DCLEANUP=ON -P package_check.cmake   (unmounts the disk)
set(dist ${BUILD_DIR}/dist)
set(check ${BUILD_DIR}/package-check)
set(disk ${check}/small-disk)

if(CLEANUP)
    execute_process(COMMAND mountpoint -q ${disk} RESULT_VARIABLE mounted)
    if(mounted EQUAL 0)
        execute_process(COMMAND umount ${disk})
    endif()
    return()
endif()

execute_process(COMMAND ${SOURCE_DIR}/scripts/package --build-dir ${BUILD_DIR} --no-build
                        --output ${dist}
                RESULT_VARIABLE result)
if(NOT result EQUAL 0)
    message(FATAL_ERROR "scripts/package failed: ${result}")
endif()
set(name zeziriv-${VERSION})

file(STRINGS ${dist}/${name}-SHA256SUMS sums)
list(LENGTH sums count)
if(NOT count EQUAL 2)
    message(FATAL_ERROR "${count} sums instead of 2")
endif()
foreach(line IN LISTS sums)
    if(NOT line MATCHES "^([0-9a-f]+)  (.+)$")
        message(FATAL_ERROR "not a sum: ${line}")
    endif()
    file(SHA256 ${dist}/${CMAKE_MATCH_2} actual)
    if(NOT actual STREQUAL CMAKE_MATCH_1)
        message(FATAL_ERROR "${CMAKE_MATCH_2}: sum ${actual}, listed ${CMAKE_MATCH_1}")
    endif()
endforeach()

# The package managers' manifests name these files, with their sums.
execute_process(COMMAND ${SOURCE_DIR}/scripts/check-manifests --dist ${dist} --version ${VERSION}
                RESULT_VARIABLE result)
if(NOT result EQUAL 0)
    message(FATAL_ERROR "the winget or Scoop manifests do not match the files")
endif()

# The same build packaged again gives the same bytes.
execute_process(COMMAND ${SOURCE_DIR}/scripts/package --build-dir ${BUILD_DIR} --no-build
                        --output ${check}/again
                RESULT_VARIABLE result OUTPUT_QUIET)
file(READ ${dist}/${name}-SHA256SUMS first)
file(READ ${check}/again/${name}-SHA256SUMS second)
if(NOT result EQUAL 0 OR NOT first STREQUAL second)
    message(FATAL_ERROR "packaging the same build again gave other files:\n${first}${second}")
endif()
file(REMOVE_RECURSE ${check}/again)

file(REMOVE_RECURSE ${check}/portable ${check}/tree)
file(MAKE_DIRECTORY ${check}/portable)
execute_process(COMMAND ${CMAKE_COMMAND} -E tar xf ${dist}/${name}-portable.zip
                WORKING_DIRECTORY ${check}/portable RESULT_VARIABLE result)
if(NOT result EQUAL 0)
    message(FATAL_ERROR "cannot unpack the zip: ${result}")
endif()
execute_process(COMMAND ${CMAKE_COMMAND} --install ${BUILD_DIR} --prefix ${check}/tree
                RESULT_VARIABLE result OUTPUT_QUIET)
file(GLOB_RECURSE tree RELATIVE ${check}/tree ${check}/tree/*)
file(GLOB_RECURSE zipped RELATIVE ${check}/portable/${name} ${check}/portable/${name}/*)
file(GLOB top RELATIVE ${check}/portable ${check}/portable/*)
list(SORT tree)
list(SORT zipped)
if(NOT top STREQUAL name OR NOT tree STREQUAL zipped)
    message(FATAL_ERROR "the zip (${top}: ${zipped}) is not the install tree (${tree})")
endif()
file(REMOVE_RECURSE ${check}/tree)
list(LENGTH tree count)
message(STATUS "${name}: sums match, the zip holds the install tree's ${count} files")

file(MAKE_DIRECTORY ${disk})
execute_process(COMMAND mountpoint -q ${disk} RESULT_VARIABLE mounted)
if(NOT mounted EQUAL 0)
    execute_process(COMMAND mount -t tmpfs -o size=24m tmpfs ${disk} RESULT_VARIABLE mounted
                    ERROR_QUIET)
endif()
if(mounted EQUAL 0)
    file(WRITE ${disk}/mounted "")
else()
    message(STATUS "no small disk could be mounted: the no-space case is skipped")
endif()
