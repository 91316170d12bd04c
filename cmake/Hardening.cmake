# Release builds are hardened as Debian builds its packages: the flags dpkg-buildflags gives
# with every hardening feature on (fortified libc calls, stack protector, read-only
# relocations bound at start-up, a position-independent executable). The optimisation and
# debug flags stay the build type's, and the file-prefix map (it names the folder cmake was
# started in) is left out: Reproducible.cmake maps the source and build folders itself.
option(TETRAKON_HARDENING "Harden release builds with dpkg-buildflags' flags" ON)
find_program(DPKG_BUILDFLAGS dpkg-buildflags)

if(TETRAKON_HARDENING AND DPKG_BUILDFLAGS AND NOT TETRAKON_SANITIZE AND NOT TETRAKON_FUZZ
   AND CMAKE_BUILD_TYPE MATCHES "^(Release|RelWithDebInfo|MinSizeRel)$")
    foreach(kind CPPFLAGS CXXFLAGS LDFLAGS)
        execute_process(
            COMMAND ${CMAKE_COMMAND} -E env DEB_BUILD_MAINT_OPTIONS=hardening=+all
                    ${DPKG_BUILDFLAGS} --get ${kind}
            OUTPUT_VARIABLE flags OUTPUT_STRIP_TRAILING_WHITESPACE COMMAND_ERROR_IS_FATAL ANY)
        separate_arguments(flags UNIX_COMMAND "${flags}")
        list(FILTER flags EXCLUDE REGEX "^-(O.*|g.*|ffile-prefix-map=.*)$")
        set(hardening_${kind} ${flags})
    endforeach()
    add_compile_options(${hardening_CPPFLAGS} ${hardening_CXXFLAGS})
    add_link_options(${hardening_LDFLAGS})
    include(CheckPIESupported)
    check_pie_supported()
    set(CMAKE_POSITION_INDEPENDENT_CODE ON)
    message(STATUS "Hardening: ${hardening_CPPFLAGS} ${hardening_CXXFLAGS} ${hardening_LDFLAGS}")
endif()
