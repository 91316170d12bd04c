# Two builds of one commit give the same files, wherever the checkout lies and whenever it
# is built (the reproducible-builds practice).
#
# Time: SOURCE_DATE_EPOCH, as the packager's environment gives it, else the time of the
# checkout's last commit. It is handed to every custom command (Qt's resource compiler
# stamps embedded files with their modification time otherwise, which is when they were
# checked out) and to CPack, which dates the package's members with it.
#
# Paths: the compiler writes the source and build folders into the debug information,
# whose bytes the linker's build id sums even after stripping; they are mapped to fixed
# names. ccache's base_dir rewrites the map's paths too, so clones still share the cache.
set(TETRAKON_SOURCE_DATE_EPOCH "$ENV{SOURCE_DATE_EPOCH}")
if(TETRAKON_SOURCE_DATE_EPOCH STREQUAL "")
    find_package(Git QUIET)
    if(GIT_FOUND)
        execute_process(COMMAND ${GIT_EXECUTABLE} -C ${CMAKE_SOURCE_DIR} log -1 --format=%ct
                        OUTPUT_VARIABLE TETRAKON_SOURCE_DATE_EPOCH
                        OUTPUT_STRIP_TRAILING_WHITESPACE ERROR_QUIET)
    endif()
endif()

if(TETRAKON_SOURCE_DATE_EPOCH MATCHES "^[0-9]+$")
    set_property(GLOBAL PROPERTY RULE_LAUNCH_CUSTOM
                 "${CMAKE_COMMAND} -E env SOURCE_DATE_EPOCH=${TETRAKON_SOURCE_DATE_EPOCH}")
    message(STATUS "SOURCE_DATE_EPOCH: ${TETRAKON_SOURCE_DATE_EPOCH}")
else()
    set(TETRAKON_SOURCE_DATE_EPOCH "")
endif()

if(NOT CMAKE_BUILD_TYPE STREQUAL "Debug")
    add_compile_options(-ffile-prefix-map=${CMAKE_SOURCE_DIR}=.
                        -ffile-prefix-map=${CMAKE_BINARY_DIR}=build)
endif()
